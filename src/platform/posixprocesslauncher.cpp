// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/posixprocesslauncher.h"
#include "platform/systemerror.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#ifndef CLOSE_RANGE_CLOEXEC
#define CLOSE_RANGE_CLOEXEC (1U << 2)
#endif

extern char **environ;

using namespace Qt::StringLiterals;

namespace {

enum Priority { Normal = 0, High = 1, Idle = 2, RealTime = 3 };
constexpr int highNice = -5;
constexpr int idleNice = 19;

// What the child sends back through its close-on-exec pipe when it cannot become the
// program. Nothing arrives when the exec succeeded.
struct ChildFailure
{
    enum Stage : int { StartDirectory = 1, Exec = 2 };
    int stage;
    int error;
};


// Where the program may be, in the order of execvp: its own path when it names a folder,
// else every PATH entry (an empty entry is the current directory).
std::vector<QByteArray> candidates(const QByteArray &program)
{
    if (program.contains('/'))
        return {program};
    QByteArray path = qgetenv("PATH");
    if (path.isNull())
        path = "/bin:/usr/bin";
    std::vector<QByteArray> result;
    for (const QByteArray &folder : path.split(':'))
        result.push_back((folder.isEmpty() ? QByteArray(".") : folder) + '/' + program);
    return result;
}

// Runs between fork and exec: async-signal-safe calls only, no allocation, nothing of Qt.
[[noreturn]] void becomeProgram(int reportFd, char *const *argv, const char *const *paths,
    const char *directory, int priority, int realTimePriority)
{
    for (int sig = 1; sig < NSIG; ++sig) {
        if (sig != SIGKILL && sig != SIGSTOP)
            ::signal(sig, SIG_DFL);
    }
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);

    ::setpgid(0, 0);

    // Never the scheduler's input: a program that reads its terminal from a background
    // group would be stopped for good, and the scheduler's input is not the job's.
    const int nullFd = ::open("/dev/null", O_RDONLY);
    if (nullFd > 0) {
        ::dup2(nullFd, 0);
        ::close(nullFd);
    }

    // A refused priority leaves the program at the scheduler's own.
    if (priority == RealTime) {
        sched_param param {};
        param.sched_priority = realTimePriority;
        if (::sched_setscheduler(0, SCHED_RR, &param) != 0)
            ::setpriority(PRIO_PROCESS, 0, highNice);
    } else if (priority == High) {
        ::setpriority(PRIO_PROCESS, 0, highNice);
    } else if (priority == Idle) {
        ::setpriority(PRIO_PROCESS, 0, idleNice);
        sched_param param {};
        ::sched_setscheduler(0, SCHED_IDLE, &param);
    }

    auto fail = [reportFd](int stage, int error) {
        const ChildFailure failure {stage, error};
        ssize_t n;
        do
            n = ::write(reportFd, &failure, sizeof failure);
        while (n < 0 && errno == EINTR);
        ::_exit(127);
    };

    if (directory && ::chdir(directory) != 0)
        fail(ChildFailure::StartDirectory, errno);

    // Every descriptor above 2 closes at exec, the report pipe included.
    if (::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) != 0) {
        rlimit limit {};
        int top = 65536;
        if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
            top = int(std::min<rlim_t>(limit.rlim_cur, 1 << 20));
        for (int fd = 3; fd < top; ++fd)
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }

    // As execvp: a candidate that is missing or not permitted does not end the search, but
    // "not permitted" wins over "missing" in the report.
    bool denied = false;
    int error = ENOENT;
    for (const char *const *path = paths; *path; ++path) {
        ::execve(*path, argv, environ);
        error = errno;
        switch (error) {
        case EACCES:
            denied = true;
            continue;
        case ENOENT:
        case ENOTDIR:
        case ESTALE:
        case ENODEV:
        case ETIMEDOUT:
            continue;
        default:
            fail(ChildFailure::Exec, error);
        }
    }
    fail(ChildFailure::Exec, denied ? EACCES : error);
    ::_exit(127); // not reached
}

int exitCodeOf(int status)
{
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return WEXITSTATUS(status);
}

} // namespace

PosixProcessLauncher::PosixProcessLauncher(std::chrono::milliseconds gracePeriod)
    : m_gracePeriod(gracePeriod)
{
}

PosixProcessLauncher::~PosixProcessLauncher()
{
    for (const Child &child : m_children)
        reap(child.pid, nullptr);
}

LaunchResult PosixProcessLauncher::start(const LaunchRequest &request)
{
    return spawn(request, State::Supervised);
}

LaunchResult PosixProcessLauncher::startDetached(const LaunchRequest &request)
{
    return spawn(request, State::Released);
}

LaunchResult PosixProcessLauncher::spawn(const LaunchRequest &request, State state)
{
    LaunchResult result;
    if (request.arguments.isEmpty() || request.arguments.first().isEmpty()) {
        result.error = systemError(ENOENT);
        return result;
    }

    // Everything the child needs is built here: it may not allocate.
    std::vector<QByteArray> words;
    words.reserve(size_t(request.arguments.size()));
    for (const QString &word : request.arguments)
        words.push_back(QFile::encodeName(word));
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const std::vector<QByteArray> paths = candidates(words.front());
    std::vector<const char *> pathv;
    for (const QByteArray &path : paths)
        pathv.push_back(path.constData());
    pathv.push_back(nullptr);
    const QByteArray directory = QFile::encodeName(request.workingDirectory);
    const int realTimePriority = ::sched_get_priority_min(SCHED_RR);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        result.error = systemError(errno);
        return result;
    }

    // No handler of ours may run in the child before its dispositions are reset.
    sigset_t all, previous;
    sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &previous);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(report[0]);
        becomeProgram(report[1], argv.data(), pathv.data(),
            directory.isEmpty() ? nullptr : directory.constData(), request.priority,
            realTimePriority);
    }
    const int forkError = errno;
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    ::close(report[1]);
    if (pid < 0) {
        ::close(report[0]);
        result.error = systemError(forkError);
        return result;
    }
    // Also set here, so the group exists before anyone signals it.
    ::setpgid(pid, pid);

    ChildFailure failure {};
    ssize_t n;
    do
        n = ::read(report[0], &failure, sizeof failure);
    while (n < 0 && errno == EINTR);
    ::close(report[0]);
    if (n == ssize_t(sizeof failure)) {
        // The child is exiting already; this wait is brief.
        int status;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
        if (failure.stage == ChildFailure::StartDirectory)
            result.error = u"cannot enter the start directory "_s + request.workingDirectory
                + u": "_s + systemError(failure.error);
        else
            result.error = systemError(failure.error);
        return result;
    }

    Child child;
    child.id = m_nextId++;
    child.pid = pid;
    child.state = state;
    m_children.push_back(child);
    result.handle = ProcessHandle {child.id, pid};
    return result;
}

PosixProcessLauncher::Child *PosixProcessLauncher::find(const ProcessHandle &handle, State state)
{
    const auto it = std::find_if(m_children.begin(), m_children.end(),
        [&](const Child &c) { return c.id == handle.id && c.state == state; });
    return it == m_children.end() ? nullptr : &*it;
}

bool PosixProcessLauncher::reap(int pid, std::optional<int> *code)
{
    int status = 0;
    pid_t rc;
    do
        rc = ::waitpid(pid, &status, WNOHANG);
    while (rc < 0 && errno == EINTR);
    if (rc == 0)
        return false;
    // ECHILD: someone reaped it behind our back (SIGCHLD ignored); its code is lost.
    if (code)
        *code = rc == pid ? std::optional<int>(exitCodeOf(status)) : std::nullopt;
    return true;
}

ProcessStatus PosixProcessLauncher::poll(const ProcessHandle &handle)
{
    ProcessStatus status;
    Child *child = find(handle, State::Supervised);
    if (!child)
        return status;
    if (!reap(child->pid, &status.exitCode)) {
        status.running = true;
        return status;
    }
    m_children.erase(m_children.begin() + (child - m_children.data()));
    return status;
}

bool PosixProcessLauncher::terminate(const ProcessHandle &handle)
{
    Child *child = find(handle, State::Supervised);
    if (!child)
        return false;
    // An unreaped leader keeps the group's id from being reused, so signalling the group
    // reaches only the job's processes. ESRCH cannot happen while it is unreaped.
    if (::kill(-child->pid, SIGTERM) != 0 && errno != ESRCH)
        return false;
    child->state = State::Terminating;
    child->killAt = Clock::now() + m_gracePeriod;
    return true;
}

void PosixProcessLauncher::release(const ProcessHandle &handle)
{
    if (Child *child = find(handle, State::Supervised))
        child->state = State::Released;
}

void PosixProcessLauncher::service()
{
    const Clock::time_point now = Clock::now();
    std::erase_if(m_children, [now](Child &child) {
        switch (child.state) {
        case State::Supervised:
            return false;
        case State::Released:
        case State::Killed:
            return reap(child.pid, nullptr);
        case State::Terminating:
            // The leader stays unreaped until the deadline, even when it has ended, so
            // that the group's id still names only the job's processes when SIGKILL
            // follows for whatever of the group is left.
            if (now < child.killAt)
                return false;
            ::kill(-child.pid, SIGKILL);
            child.state = State::Killed;
            return reap(child.pid, nullptr);
        }
        return false;
    });
}
