// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/processlister.h"
#include "engine/systemactions.h"
#include "log/activitylog.h"
#include "log/logsink.h"
#include "platform/processdata.h"
#include "platform/registry.h"
#include "store/jobstore.h"
#include "store/settings.h"
#include "support/fakeclock.h"
#include "support/fakesessioncontrol.h"
#include "support/recordinghost.h"
#include "support/tempprofile.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

using Action = SessionControl::Action;
using Request = FakeSessionControl::Request;

const QString job = u"Night"_s;
const QString ok = u"Job: Night shutdown windows successful."_s;
const QString failed = u"Job: Night shutdown windows failed."_s;
const QString secondary = u"ExitWindowsEx failed, secondary exitwindows used..."_s;

struct MessageRecorder : LogSink
{
    QStringList messages;
    void logLineAdded(const QString &line) override { messages.append(line.section(u' ', 2)); }
};

// The process list the test decides on.
struct FixedProcessList : ProcessLister
{
    QList<Entry> entries;
    QList<Entry> processes() override { return entries; }
};

class SystemActionTest : public ::testing::Test
{
protected:
    TempProfile profile;
    Registry registry;
    JobStore store { registry };
    Settings settings { registry };
    FakeClock clock;
    ActivityLog log { settings, clock };
    MessageRecorder recorder;
    RecordingHost host;
    FakeSessionControl session;
    FixedProcessList processList;
    SystemActions actions { store, log, host, session, processList };

    void SetUp() override
    {
        log.setSink(&recorder);
        log.setLocale(QLocale(QLocale::C));
    }
};

struct ShutdownCase
{
    const char *name;
    int activity;
    bool force;
    int refuseFirst;
    QList<Request> requests;
    bool result;
    QStringList lines;
    int quits;
    int pendingRuns;
};

void PrintTo(const ShutdownCase &c, std::ostream *os)
{
    *os << c.name;
}

class ShutdownTest : public SystemActionTest, public ::testing::WithParamInterface<ShutdownCase>
{
};

TEST_P(ShutdownTest, RequestsLinesAndTheProgramsEnd)
{
    const ShutdownCase &c = GetParam();
    session.refuseFirst = c.refuseFirst;
    // The pending events run between the first request and the second attempt.
    qsizetype requestsAtPending = -1;
    host.onPendingEvents = [&] { requestsAtPending = session.requests.size(); };
    // The program ends after everything is logged.
    qsizetype linesAtQuit = -1;
    host.onQuit = [&] { linesAtQuit = recorder.messages.size(); };

    EXPECT_EQ(actions.perform(Job(job), c.activity, c.force), c.result);
    EXPECT_EQ(session.requests, c.requests);
    EXPECT_EQ(recorder.messages, c.lines);
    EXPECT_EQ(host.quitCalls, c.quits);
    EXPECT_EQ(SystemActions::endsProgram(c.activity), c.quits > 0);
    EXPECT_EQ(host.pendingEventRuns, c.pendingRuns);
    if (c.pendingRuns > 0) {
        EXPECT_EQ(requestsAtPending, c.activity == SystemActions::Restart ? 0 : 1);
    }
    if (c.quits > 0) {
        EXPECT_EQ(linesAtQuit, c.lines.size());
    }
    // The privilege is enabled once, before the first request, by the requesting activities.
    const bool requests = c.activity >= 1 && c.activity <= 4;
    EXPECT_EQ(session.privilegeCalls, requests ? 1 : 0);
    if (requests) {
        EXPECT_EQ(session.requestsAtPrivilege, 0);
    }
}

constexpr int all = 1000;

INSTANTIATE_TEST_SUITE_P(Activities, ShutdownTest,
    ::testing::Values(
        ShutdownCase { "Halt", 1, false, 0, { { Action::Halt, false } }, true, { ok }, 0, 1 },
        ShutdownCase { "HaltForced", 1, true, 0, { { Action::Halt, true } }, true, { ok }, 0, 1 },
        ShutdownCase {
            "PowerOff", 2, false, 0, { { Action::PowerOff, false } }, true, { ok }, 0, 1 },
        ShutdownCase {
            "PowerOffForced", 2, true, 0, { { Action::PowerOff, true } }, true, { ok }, 0, 1 },
        ShutdownCase { "Reboot", 3, false, 0, { { Action::Reboot, false } }, true, { ok }, 0, 1 },
        ShutdownCase {
            "RebootForced", 3, true, 0, { { Action::Reboot, true } }, true, { ok }, 0, 1 },
        // A refused shutdown falls back on a plain log-off request.
        ShutdownCase { "RebootRefusedLogOffAccepted", 3, false, 1,
            { { Action::Reboot, false }, { Action::LogOff, false } }, true, { secondary, ok }, 0,
            1 },
        ShutdownCase { "PowerOffForcedBothRefused", 2, true, all,
            { { Action::PowerOff, true }, { Action::LogOff, false } }, false, { secondary, failed },
            0, 1 },
        ShutdownCase { "HaltBothRefused", 1, false, all,
            { { Action::Halt, false }, { Action::LogOff, false } }, false, { secondary, failed }, 0,
            1 },
        // Log off ends the program at once when accepted: one line, no pending events.
        ShutdownCase { "LogOff", 4, false, 0, { { Action::LogOff, false } }, true, { ok }, 1, 0 },
        ShutdownCase {
            "LogOffForced", 4, true, 0, { { Action::LogOff, true } }, true, { ok }, 1, 0 },
        // Refused: no second request, but the same line as the others, and the end.
        ShutdownCase { "LogOffRefused", 4, true, all, { { Action::LogOff, true } }, false,
            { secondary, failed }, 1, 1 },
        ShutdownCase { "Restart", 5, true, 0, { { Action::LogOff, false } }, true, { ok }, 1, 1 },
        ShutdownCase { "RestartRefused", 5, false, all, { { Action::LogOff, false } }, false,
            { failed }, 1, 1 },
        ShutdownCase { "Zero", 0, false, 0, {}, false, {}, 0, 0 },
        ShutdownCase { "Seven", 7, true, 0, {}, false, {}, 0, 0 },
        ShutdownCase { "Negative", -1, false, 0, {}, false, {}, 0, 0 }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SystemActionTest, TerminateProcessOutsideTheRangeOfShutdownWindows)
{
    EXPECT_FALSE(actions.ShutdownWindows(Job(job), SystemActions::TerminateProcess, false));
    EXPECT_TRUE(session.requests.isEmpty());
    EXPECT_TRUE(recorder.messages.isEmpty());
    EXPECT_EQ(host.quitCalls, 0);
}

// Processes of a program with a name of its own: a copy of sleep.
class ProcessTest : public SystemActionTest
{
protected:
    QTemporaryDir bin;
    QString name = u"halvorn-test-"_s + QUuid::createUuid().toString(QUuid::Id128).left(12);
    std::vector<std::unique_ptr<QProcess>> children;

    QProcess *start(const QString &program)
    {
        const QString path = bin.path() + u'/' + program;
        if (!QFileInfo::exists(path) && !QFile::copy(u"/bin/sleep"_s, path))
            return nullptr;
        auto child = std::make_unique<QProcess>();
        child->start(path, { u"60"_s });
        if (!child->waitForStarted())
            return nullptr;
        children.push_back(std::move(child));
        return children.back().get();
    }
    static quint32 pidOf(QProcess *p) { return quint32(p->processId()); }
    // The child as the process list shows it.
    static ProcessLister::Entry listed(const QString &name, QProcess *p)
    {
        return { name, pidOf(p), TProcessData::startTimeOf(pidOf(p)) };
    }
    // The signal that ended a child; 0 while it runs.
    static int endingSignal(QProcess *p)
    {
        if (!p->waitForFinished(5000))
            return 0;
        return p->exitStatus() == QProcess::CrashExit ? p->exitCode() : -1;
    }

    void TearDown() override
    {
        for (auto &child : children) {
            child->kill();
            child->waitForFinished();
        }
    }
};

class TerminateTest : public ProcessTest, public ::testing::WithParamInterface<bool>
{
};

TEST_P(TerminateTest, EveryProcessOfTheNameGetsTheSignalOfTheKillType)
{
    const bool forced = GetParam();
    QProcess *first = start(name);
    QProcess *other = start(name + u"-other"_s);
    QProcess *second = start(name);
    ASSERT_TRUE(first && other && second);
    processList.entries
        = { listed(name, first), listed(name + u"-other"_s, other), listed(name, second) };
    // Typed in another case than the process's name.
    store.writeString(job, u"sProcessName"_s, name.toUpper());
    if (forced)
        store.writeBoolean(job, u"sProcessKillType"_s, true);

    EXPECT_TRUE(actions.perform(Job(job), SystemActions::TerminateProcess, false));
    const int signal = forced ? SIGKILL : SIGTERM;
    EXPECT_EQ(endingSignal(first), signal);
    EXPECT_EQ(endingSignal(second), signal);
    EXPECT_EQ(other->state(), QProcess::Running);
    EXPECT_EQ(recorder.messages,
        QStringList(u"Job: Night. Process: "_s + name.toUpper() + u" terminated successfully "_s
            + (forced ? u"(Forced exit)"_s : u"(Normal exit)"_s)));
    EXPECT_TRUE(session.requests.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(KillType, TerminateTest, ::testing::Values(false, true),
    [](const auto &info) { return info.param ? "Forced" : "Normal"; });

// Beyond the kernel's highest process id (4194304): kill() finds no such process.
constexpr quint32 noSuchPid = 2147483646;

TEST_F(ProcessTest, TheLastMatchDecides)
{
    QProcess *child = start(name);
    ASSERT_TRUE(child);
    store.writeString(job, u"sProcessName"_s, name);

    processList.entries = { { name, noSuchPid }, listed(name, child) };
    EXPECT_TRUE(actions.TerminateProcessJob(Job(job)));
    EXPECT_EQ(endingSignal(child), SIGTERM);

    QProcess *next = start(name);
    ASSERT_TRUE(next);
    processList.entries = { listed(name, next), { name, noSuchPid } };
    EXPECT_FALSE(actions.TerminateProcessJob(Job(job)));
    EXPECT_EQ(endingSignal(next), SIGTERM);
    EXPECT_EQ(recorder.messages,
        QStringList(
            { u"Job: Night. Process: "_s + name + u" terminated successfully (Normal exit)"_s,
                u"Job: Night. Process: "_s + name + u" termination failed (Normal exit)"_s }));
}

TEST_F(ProcessTest, AnIdGivenToAnotherProcessSinceTheListIsNotSignalled)
{
    QProcess *child = start(name);
    ASSERT_TRUE(child);
    store.writeString(job, u"sProcessName"_s, name);
    // The listed process ended and its id went to this child, which started later.
    ProcessLister::Entry gone = listed(name, child);
    ASSERT_GT(gone.startTime, 1u);
    --gone.startTime;
    processList.entries = { gone };

    EXPECT_FALSE(actions.TerminateProcessJob(Job(job)));
    EXPECT_EQ(child->state(), QProcess::Running);
    EXPECT_EQ(recorder.messages,
        QStringList(u"Job: Night. Process: "_s + name + u" termination failed (Normal exit)"_s));
}

TEST_F(ProcessTest, NoMatchFailsAndThisProgramIsNeverSignalled)
{
    store.writeString(job, u"sProcessName"_s, name);
    processList.entries = { { name + u"x"_s, noSuchPid }, { name, quint32(::getpid()) } };
    EXPECT_FALSE(actions.TerminateProcessJob(Job(job)));
    EXPECT_EQ(recorder.messages,
        QStringList(u"Job: Night. Process: "_s + name + u" termination failed (Normal exit)"_s));
}

TEST_F(ProcessTest, AnEmptyProcessNameFailsSilently)
{
    processList.entries = { { QString(), noSuchPid } };
    EXPECT_FALSE(actions.TerminateProcessJob(Job(job)));
    EXPECT_TRUE(recorder.messages.isEmpty());
}

} // namespace
