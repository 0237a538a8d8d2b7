// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/posixprocesslauncher.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>

#include <fcntl.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

QString errorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

bool waitFor(const std::function<bool()> &condition, int ms = 10000)
{
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
    return true;
}

// The state letter of /proc/<pid>/stat, or 0 when the process is gone.
char processState(qint64 pid)
{
    QFile stat(u"/proc/"_s + QString::number(pid) + u"/stat"_s);
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close >= 0 && close + 2 < text.size() ? text.at(close + 2) : 0;
}

// An orphaned grandchild is reaped by whoever adopts it, which we do not control: a zombie
// counts as ended.
bool hasEnded(qint64 pid)
{
    const char state = processState(pid);
    return state == 0 || state == 'Z' || state == 'X';
}

// Field `n` (1-based, as proc(5) counts) of /proc/<pid>/stat.
long long statField(qint64 pid, int n)
{
    QFile stat(u"/proc/"_s + QString::number(pid) + u"/stat"_s);
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> rest = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return n - 3 < rest.size() ? rest.at(n - 3).toLongLong() : -1;
}

class ProcessLauncherTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        // Whatever a failed test left running, and only our own unreaped children.
        for (qint64 pid : m_pids) {
            int status;
            if (::waitpid(pid_t(pid), &status, WNOHANG) == 0) {
                ::kill(-pid_t(pid), SIGKILL);
                ::waitpid(pid_t(pid), &status, 0);
            }
        }
    }

    LaunchResult start(const QStringList &arguments, const QString &directory = {}, int priority = 0)
    {
        LaunchRequest request;
        request.arguments = arguments;
        request.workingDirectory = directory;
        request.priority = priority;
        const LaunchResult result = launcher.start(request);
        if (result.handle)
            m_pids.push_back(result.handle->pid);
        return result;
    }

    // The exit code of a program run to its end, polled as the engine polls.
    std::optional<int> run(const QStringList &arguments, const QString &directory = {})
    {
        const LaunchResult result = start(arguments, directory);
        EXPECT_TRUE(result.handle) << result.error.toStdString();
        if (!result.handle)
            return std::nullopt;
        ProcessStatus status;
        EXPECT_TRUE(waitFor([&] { return !(status = launcher.poll(*result.handle)).running; }));
        return status.exitCode;
    }

    QString file(const QString &name) const { return dir.path() + u'/' + name; }
    QByteArray read(const QString &name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed() : QByteArray();
    }
    // A pid the program wrote into a file once it is ready.
    qint64 waitForPid(const QString &name)
    {
        qint64 pid = 0;
        EXPECT_TRUE(waitFor([&] { return (pid = read(name).toLongLong()) > 0; }));
        m_pids.push_back(pid);
        return pid;
    }
    bool serviceUntilNoChildren()
    {
        return waitFor([&] {
            launcher.service();
            return launcher.childCount() == 0;
        });
    }

    QTemporaryDir dir;
    // Long enough that a loaded machine never passes it between two calls of one test.
    PosixProcessLauncher launcher {1500ms};

private:
    std::vector<qint64> m_pids;
};

struct ExitCase
{
    const char *name;
    QStringList arguments;
    int code;
};

void PrintTo(const ExitCase &c, std::ostream *os) { *os << c.name; }

class ProcessExitCode : public ProcessLauncherTest, public ::testing::WithParamInterface<ExitCase>
{
};

TEST_P(ProcessExitCode, IsTheExitStatusOr128PlusTheSignal)
{
    EXPECT_EQ(run(GetParam().arguments), GetParam().code);
    EXPECT_EQ(launcher.childCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Table, ProcessExitCode,
    ::testing::Values(ExitCase {"true", {u"/bin/true"_s}, 0},
        ExitCase {"false", {u"/bin/false"_s}, 1},
        ExitCase {"exit 200", {u"/bin/sh"_s, u"-c"_s, u"exit 200"_s}, 200},
        ExitCase {"SIGKILL", {u"/bin/sh"_s, u"-c"_s, u"kill -KILL $$"_s}, 128 + SIGKILL},
        ExitCase {"SIGTERM", {u"/bin/sh"_s, u"-c"_s, u"kill -TERM $$"_s}, 128 + SIGTERM}),
    [](const auto &info) {
        QString name = QString::fromLatin1(info.param.name);
        name.replace(u' ', u'_');
        return name.toStdString();
    });

TEST_F(ProcessLauncherTest, APollAfterTheExitGivesNoCode)
{
    const LaunchResult result = start({u"/bin/true"_s});
    ASSERT_TRUE(result.handle);
    ASSERT_TRUE(waitFor([&] { return !launcher.poll(*result.handle).running; }));
    const ProcessStatus again = launcher.poll(*result.handle);
    EXPECT_FALSE(again.running);
    EXPECT_FALSE(again.exitCode);
}

TEST_F(ProcessLauncherTest, AProgramThatCannotBeCreatedReportsTheSystemsReason)
{
    QFile plain(file(u"notes.txt"_s));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("echo hello\n");
    plain.close();
    plain.setPermissions(QFile::ReadOwner | QFile::WriteOwner);

    struct Case
    {
        QStringList arguments;
        QString directory;
        QString error;
    };
    const Case cases[] = {
        {{u"/nonexistent/program"_s}, {}, errorText(ENOENT)},
        {{u"halvorn-no-such-program"_s, u"-x"_s}, {}, errorText(ENOENT)},
        {{file(u"notes.txt"_s)}, {}, errorText(EACCES)},
        {{dir.path()}, {}, errorText(EACCES)},
        {{u"/bin/true"_s}, file(u"missing"_s),
            u"cannot enter the start directory "_s + file(u"missing"_s) + u": "_s + errorText(ENOENT)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const LaunchResult result = start(c.arguments, c.directory);
        EXPECT_FALSE(result.handle);
        EXPECT_EQ(result.error, c.error);
    }
    // The children that failed to exec are reaped already.
    EXPECT_EQ(launcher.childCount(), 0);
}

TEST_F(ProcessLauncherTest, StartsInTheStartDirectoryOrInOurs)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"work dir"_s));
    const QString work = file(u"work dir"_s);
    EXPECT_EQ(run({u"sh"_s, u"-c"_s, u"pwd -P > ../where"_s}, work), 0);
    EXPECT_EQ(read(u"where"_s), QFile::encodeName(QFileInfo(work).canonicalFilePath()));

    EXPECT_EQ(run({u"sh"_s, u"-c"_s, u"pwd -P > \"$0\""_s, file(u"here"_s)}), 0);
    EXPECT_EQ(read(u"here"_s), QFile::encodeName(QDir::current().canonicalPath()));
}

TEST_F(ProcessLauncherTest, SearchesPathLikeExecvp)
{
    // First folder: a same-named file that may not be run, which the search passes over.
    QDir(dir.path()).mkpath(u"a"_s);
    QDir(dir.path()).mkpath(u"b"_s);
    for (const QString &folder : {u"a"_s, u"b"_s}) {
        QFile probe(file(folder + u"/halvorn-probe"_s));
        ASSERT_TRUE(probe.open(QIODevice::WriteOnly));
        probe.write("#!/bin/sh\necho " + folder.toLatin1() + " > \"$1\"\n");
        probe.close();
        probe.setPermissions(folder == u"a"_s
                ? QFile::ReadOwner | QFile::WriteOwner
                : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(file(u"a"_s) + u':' + file(u"b"_s)) + ':' + savedPath);
    EXPECT_EQ(run({u"halvorn-probe"_s, file(u"found"_s)}), 0);
    EXPECT_EQ(read(u"found"_s), "b");

    // Only the one that may not be run: "not permitted" rather than "missing".
    qputenv("PATH", QFile::encodeName(file(u"a"_s)) + ":/nonexistent");
    const LaunchResult denied = start({u"halvorn-probe"_s});
    qputenv("PATH", savedPath);
    EXPECT_FALSE(denied.handle);
    EXPECT_EQ(denied.error, errorText(EACCES));
}

TEST_F(ProcessLauncherTest, TheChildInheritsOnlyStandardDescriptors)
{
    // Descriptors the test opens without close-on-exec, as a careless library would.
    const int leaky = ::open("/dev/null", O_RDONLY);
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    ASSERT_GE(leaky, 0);

    // ls opens /proc/self/fd itself, at the lowest free number: 3 when nothing leaked.
    EXPECT_EQ(run({u"sh"_s, u"-c"_s, u"exec ls /proc/self/fd > \"$0\""_s, file(u"fds"_s)}), 0);
    ::close(leaky);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    EXPECT_EQ(read(u"fds"_s).split('\n'), (QList<QByteArray> {"0", "1", "2", "3"}));
}

TEST_F(ProcessLauncherTest, TheProgramsInputIsTheNullDeviceNotTheSchedulers)
{
    // The scheduler's own input is a pipe with data waiting, as a terminal would have.
    int input[2];
    ASSERT_EQ(::pipe(input), 0);
    ASSERT_EQ(::write(input[1], "typed\n", 6), 6);
    const int saved = ::dup(0);
    ::dup2(input[0], 0);
    const auto code = run({u"sh"_s, u"-c"_s,
        u"readlink /proc/self/fd/0 > \"$0\"; read line; echo \"[$line]\" >> \"$0\""_s, file(u"in"_s)});
    ::dup2(saved, 0);
    ::close(saved);
    ::close(input[0]);
    ::close(input[1]);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(read(u"in"_s), "/dev/null\n[]");
}

TEST_F(ProcessLauncherTest, PrioritiesApplyWhereAllowedAndNeverStopTheStart)
{
    const long long ownNice = statField(::getpid(), 19);
    for (int priority : {0, 1, 2, 3, 7}) {
        SCOPED_TRACE(priority);
        const LaunchResult result = start({u"sleep"_s, u"30"_s}, {}, priority);
        ASSERT_TRUE(result.handle) << result.error.toStdString();
        const qint64 pid = result.handle->pid;
        const long long nice = statField(pid, 19);
        const long long policy = statField(pid, 41);
        switch (priority) {
        case 1:
            EXPECT_TRUE(nice == -5 || nice == ownNice) << nice;
            EXPECT_EQ(policy, SCHED_OTHER);
            break;
        case 2:
            EXPECT_EQ(nice, 19);
            EXPECT_EQ(policy, SCHED_IDLE);
            break;
        case 3:
            EXPECT_TRUE(policy == SCHED_RR || (policy == SCHED_OTHER && (nice == -5 || nice == ownNice)))
                << policy << " " << nice;
            break;
        default:
            EXPECT_EQ(nice, ownNice);
            EXPECT_EQ(policy, SCHED_OTHER);
        }
        EXPECT_TRUE(launcher.terminate(*result.handle));
    }
    EXPECT_TRUE(serviceUntilNoChildren());
}

TEST_F(ProcessLauncherTest, TerminationEndsTheWholeGroup)
{
    const LaunchResult result = start(
        {u"sh"_s, u"-c"_s, u"sleep 100 & echo $! > \"$0\"; wait"_s, file(u"pid"_s)});
    ASSERT_TRUE(result.handle);
    const qint64 grandchild = waitForPid(u"pid"_s);

    EXPECT_TRUE(launcher.terminate(*result.handle));
    // The handle is spent: the run has been ended by the termination.
    EXPECT_FALSE(launcher.poll(*result.handle).running);
    EXPECT_FALSE(launcher.terminate(*result.handle));

    EXPECT_TRUE(serviceUntilNoChildren());
    EXPECT_EQ(processState(result.handle->pid), 0);
    EXPECT_TRUE(waitFor([&] { return hasEnded(grandchild); }));
}

TEST_F(ProcessLauncherTest, AGroupThatIgnoresSigtermIsKilledAfterTheGracePeriod)
{
    const LaunchResult result = start({u"sh"_s, u"-c"_s,
        u"trap '' TERM; sleep 100 & echo $! > \"$0\"; wait"_s, file(u"pid"_s)});
    ASSERT_TRUE(result.handle);
    const qint64 grandchild = waitForPid(u"pid"_s);

    ASSERT_TRUE(launcher.terminate(*result.handle));
    launcher.service();
    // Neither call waited out the grace period: both still live.
    EXPECT_FALSE(hasEnded(result.handle->pid));
    EXPECT_FALSE(hasEnded(grandchild));

    EXPECT_TRUE(serviceUntilNoChildren());
    EXPECT_EQ(processState(result.handle->pid), 0);
    EXPECT_TRUE(waitFor([&] { return hasEnded(grandchild); }));
}

TEST_F(ProcessLauncherTest, UnsupervisedProgramsAreReapedAndOthersChildrenLeftAlone)
{
    // A child of someone else in this process, ended before ours: service() must not
    // take its exit.
    const pid_t foreign = ::fork();
    ASSERT_GE(foreign, 0);
    if (foreign == 0)
        ::_exit(42);
    ASSERT_TRUE(waitFor([&] { return processState(foreign) == 'Z'; }));

    LaunchRequest request;
    request.arguments = QStringList {u"sleep"_s, u"0.2"_s};
    const LaunchResult detached = launcher.startDetached(request);
    const LaunchResult released = start({u"sh"_s, u"-c"_s, u"sleep 0.2; exit 3"_s});
    ASSERT_TRUE(detached.handle);
    ASSERT_TRUE(released.handle);
    launcher.release(*released.handle);
    EXPECT_FALSE(launcher.poll(*released.handle).running);
    EXPECT_FALSE(launcher.poll(*detached.handle).running);

    EXPECT_TRUE(serviceUntilNoChildren());
    EXPECT_EQ(processState(detached.handle->pid), 0);
    EXPECT_EQ(processState(released.handle->pid), 0);

    int status = 0;
    EXPECT_EQ(::waitpid(foreign, &status, 0), foreign);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 42);
}

TEST_F(ProcessLauncherTest, SignalsTheSchedulerIgnoresOrBlocksReachTheProgram)
{
    struct sigaction ignore {}, previous {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGTERM, &ignore, &previous);
    sigset_t term, mask;
    sigemptyset(&term);
    sigaddset(&term, SIGTERM);
    ::pthread_sigmask(SIG_BLOCK, &term, &mask);

    EXPECT_EQ(run({u"sh"_s, u"-c"_s, u"kill -TERM $$"_s}), 128 + SIGTERM);

    ::pthread_sigmask(SIG_SETMASK, &mask, nullptr);
    ::sigaction(SIGTERM, &previous, nullptr);
}

TEST_F(ProcessLauncherTest, HandlesAreNeverReused)
{
    const LaunchResult first = start({u"/bin/true"_s});
    ASSERT_TRUE(first.handle);
    ASSERT_TRUE(waitFor([&] { return !launcher.poll(*first.handle).running; }));
    const LaunchResult second = start({u"/bin/true"_s});
    ASSERT_TRUE(second.handle);
    EXPECT_NE(first.handle->id, second.handle->id);
    // Even were the pid reused, the old handle names nothing.
    const ProcessHandle stale {first.handle->id, second.handle->pid};
    EXPECT_FALSE(launcher.poll(stale).exitCode);
    EXPECT_FALSE(launcher.terminate(stale));
    ASSERT_TRUE(waitFor([&] { return !launcher.poll(*second.handle).running; }));
}

} // namespace
