// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/engine.h"
#include "engine/jobactivity.h"
#include "engine/schedule.h"
#include "log/activitylog.h"
#include "log/logsink.h"
#include "platform/registry.h"
#include "store/jobstore.h"
#include "store/settings.h"
#include "support/fakeclock.h"
#include "support/fakeprocesslauncher.h"
#include "support/schedulerfixture.h"
#include "support/fakesessioncontrol.h"
#include "engine/processlister.h"
#include "support/recordinghost.h"
#include "support/registrytables.h"
#include "support/tempprofile.h"

#include <QFile>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>


using namespace Qt::StringLiterals;

namespace {

QDateTime at(int h, int m, int s, int ms = 0, QDate date = QDate(2026, 12, 10))
{
    return QDateTime(date, QTime(h, m, s, ms));
}

class EngineTest : public EngineFixture
{
protected:
    EngineTest() : EngineFixture(at(9, 59, 59, 500)) {}

    std::optional<qint64> freeBytes = qint64(100) * 1048576;

    void start(Engine::StartOfDayKind kind = Engine::StartOfDayKind::StartUp)
    {
        startEngine(kind, [this](const QString &) { return freeBytes; });
    }
    void program(const QString &job, int h, int m, int s, std::initializer_list<std::pair<QString, QString>> extra = {})
    {
        store.writeString(job, u"sJobName"_s, job);
        store.writeInteger(job, u"iJobType"_s, 0);
        store.writeInteger(job, u"iFrequency"_s, 1);
        store.writeInteger(job, u"iHour"_s, h);
        store.writeInteger(job, u"iMin"_s, m);
        store.writeInteger(job, u"iSec"_s, s);
        store.writeString(job, u"sProgram"_s, u"/bin/prog-"_s + job);
        for (const auto &[name, value] : extra)
            store.writeString(job, name, value);
    }
    int startsOf(const QString &job) const
    {
        int n = 0;
        for (const auto &p : launcher.processes())
            n += p.request.arguments.value(0) == u"/bin/prog-"_s + job;
        return n;
    }
    const QueueEntry &entry(const QString &job) { return engine->queue()[engine->find(job)]; }
};

TEST_F(EngineTest, StartOfDayLinesAndTheQueueCountTexts)
{
    start();
    EXPECT_EQ(logLines().value(0), u"Halvorn startup procedure. There are no jobs today"_s);
    program(u"A"_s, 10, 0, 0);
    store.writeString(u"Demand"_s, u"sJobName"_s, u"Demand"_s);
    store.writeInteger(u"Demand"_s, u"iFrequency"_s, 1);
    store.writeInteger(u"Demand"_s, u"iCustomTimeType"_s, -1);
    store.writeString(u"Never"_s, u"sJobName"_s, u"Never"_s);
    engine->startOfDay(Engine::StartOfDayKind::Automatic); // same day: nothing
    EXPECT_EQ(engine->queue().count(), 0);
    engine->startOfDay(Engine::StartOfDayKind::Forced);
    EXPECT_EQ(logLines().value(1), u"Forced Start of day procedure. There are 1 jobs for this day."_s);
    EXPECT_EQ(host.statuses.last(), u"1 job in todays timer queue"_s);
    ASSERT_EQ(host.jobRowSets.last().size(), 3);
    EXPECT_EQ(host.jobRowSets.last()[1].cells.value(0), u"demand"_s);

    clock.set(at(23, 59, 59, 900));
    engine->tick();
    clock.set(at(0, 0, 0, 100, QDate(2026, 12, 11)));
    engine->tick();
    EXPECT_EQ(logLines().last(), u"Auto Start of day procedure. There are 1 jobs for this day."_s);
}

// The messages of the log lines, also while the log's settings cannot be read.
struct MessageRecorder : LogSink
{
    QStringList messages;
    void logLineAdded(const QString &line) override { messages.append(line.section(u' ', 2)); }
};

TEST_F(EngineTest, AStoreThatCannotBeReadAtStartOfDayKeepsTheQueueAndIsReadAgain)
{
    program(u"A"_s, 10, 0, 0);
    settings.setBoolean(settings::LogDebugInfo, true);
    MessageRecorder recorder;
    log.setSink(&recorder);
    start();
    ASSERT_EQ(engine->queue().count(), 1);

    renameRegistryTable(registry.path(), "vals", "vals_away");
    clock.set(at(0, 0, 0, 100, QDate(2026, 12, 11)));
    engine->tick();
    engine->tick();
    EXPECT_EQ(engine->queue().count(), 1);
    EXPECT_EQ(recorder.messages.filter(u"Start of day"_s),
        QStringList(u"Start of day: the job store could not be read; the queue is kept and read "
                    "again at the next tick"_s));
    EXPECT_TRUE(recorder.messages.filter(u"no jobs today"_s).isEmpty());

    renameRegistryTable(registry.path(), "vals_away", "vals");
    engine->tick();
    EXPECT_EQ(recorder.messages.filter(u"procedure"_s).last(),
        u"Auto Start of day procedure. There are 1 jobs for this day."_s);
    EXPECT_EQ(engine->queue().count(), 1);
}

TEST_F(EngineTest, ARetriedStartOfDayLogsTheKindThatWasAskedFor)
{
    program(u"A"_s, 10, 0, 0);
    MessageRecorder recorder;
    log.setSink(&recorder);
    const auto procedureLines = [&recorder] { return recorder.messages.filter(u"procedure"_s); };

    renameRegistryTable(registry.path(), "vals", "vals_away");
    start(Engine::StartOfDayKind::StartUp);
    renameRegistryTable(registry.path(), "vals_away", "vals");
    engine->tick();
    EXPECT_EQ(procedureLines(), QStringList(u"Halvorn startup procedure. There are 1 jobs for this day."_s));

    renameRegistryTable(registry.path(), "vals", "vals_away");
    engine->startOfDay(Engine::StartOfDayKind::Forced);
    engine->tick(); // still unreadable: the request stays a forced one
    renameRegistryTable(registry.path(), "vals_away", "vals");
    engine->tick();
    EXPECT_EQ(procedureLines(), (QStringList{u"Halvorn startup procedure. There are 1 jobs for this day."_s,
        u"Forced Start of day procedure. There are 1 jobs for this day."_s}));
}

// Hands out the readings it is given, one per look, then keeps the last.
class ReadingsClock final : public Clock
{
public:
    mutable QList<QDateTime> readings;
    QDateTime now() const override
    {
        return readings.size() > 1 ? readings.takeFirst() : readings.first();
    }
};

TEST_F(EngineTest, StartOfDayBuildsTheQueueForTheDateTheTickRead)
{
    // Due on the 11th only; the clock is stepped back across midnight within the tick.
    program(u"A"_s, 10, 0, 0, {{u"iFrequency"_s, u"6"_s}, {u"sFreq0"_s, u"11"_s}});
    ReadingsClock stepped;
    stepped.readings = {at(12, 0, 0)};
    Engine engine(Engine::Services{store, settings, log, stepped, launcher, host,
        [this](const QString &) { return freeBytes; }});
    engine.readSettings();
    engine.startOfDay(Engine::StartOfDayKind::StartUp);
    engine.setFirstShow(false);
    ASSERT_EQ(engine.queue().count(), 0);

    stepped.readings = {at(0, 0, 0, 100, QDate(2026, 12, 11)), at(23, 59, 59, 900)};
    engine.tick();
    EXPECT_EQ(engine.queue().count(), 1);
    EXPECT_EQ(logLines().last(), u"Auto Start of day procedure. There are 1 jobs for this day."_s);
}

TEST_F(EngineTest, RowsShowTheJobsAsTheListDoes)
{
    program(u"Backup"_s, 2, 30, 0, {{u"sLastStartDate"_s, u"2026-12-09"_s}, {u"sLastStartTime"_s, u"02:30:00"_s},
                                       {u"bLastStartStatus"_s, u"0"_s}, {u"bHold"_s, u"1"_s}});
    store.writeString(u"Kill"_s, u"sJobName"_s, u"Kill"_s);
    store.writeInteger(u"Kill"_s, u"iJobType"_s, 1);
    store.writeInteger(u"Kill"_s, u"iShutdownType"_s, 6);
    store.writeString(u"Odd"_s, u"sJobName"_s, u"Odd"_s);
    store.writeInteger(u"Odd"_s, u"iJobType"_s, 9);
    store.writeInteger(u"Odd"_s, u"iCustomTimeType"_s, -1);
    start();
    const QList<JobRow> rows = host.jobRowSets.last();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].caption, u"Backup"_s);
    EXPECT_EQ(rows[0].cells.value(0), u"hold"_s);
    EXPECT_EQ(rows[0].cells.value(1), scheduleText(Schedule::read(store, u"Backup"_s)));
    EXPECT_EQ(rows[0].cells.mid(2), (QStringList{u"/bin/prog-Backup"_s, u"2026-12-09 02:30:00"_s, u" "_s, u"failed"_s}));
    EXPECT_EQ(rows[1].cells.value(2), u"Terminate a Process"_s);
    // No Program cell for an unknown type: the later cells move one place to the left.
    EXPECT_EQ(rows[2].cells.value(0), u"demand"_s);
    EXPECT_EQ(rows[2].cells.mid(2), (QStringList{u" "_s, u" "_s, u"successful"_s}));
    EXPECT_EQ(engine->rowOf(u"Backup"_s), rows[0]);
}

TEST_F(EngineTest, TheQueueHoldsAtMost256AndARequestBeyondIsRefused)
{
    {
        Registry::Transaction t(registry);
        for (int i = 0; i < 257; ++i)
            program(u"J"_s + QString::number(1000 + i), 23, 0, 0);
        t.commit();
    }
    host.miniWindowVisible = true;
    start();
    EXPECT_EQ(engine->queue().count(), 256);
    EXPECT_EQ(host.statuses.last(), u"Warning: there are more than 256 jobs for today..."_s);
    EXPECT_TRUE(host.miniJobCounts.isEmpty());
    EXPECT_EQ(logLines().value(0), u"Halvorn startup procedure. There are 256 jobs for this day."_s);
    EXPECT_FALSE(engine->startOnRequest(u"J1256"_s));
    EXPECT_EQ(engine->queue().count(), 256);
    EXPECT_TRUE(engine->startOnRequest(u"J1000"_s));
}

// A rebuild of a full queue: running entries keep their place and state, whatever new jobs
// come first in the list; the build stops at 256 with the warning.
TEST_F(EngineTest, ARebuildOfAFullQueueNeverOverwritesARunningEntry)
{
    {
        Registry::Transaction t(registry);
        for (int i = 0; i < 257; ++i)
            program(u"J"_s + QString::number(1000 + i), 23, 0, 0);
        t.commit();
    }
    start();
    ASSERT_EQ(engine->queue().count(), 256);
    const auto markRunning = [this](int from, int to) {
        for (int i = from; i < to; ++i) {
            QueueEntry &e = engine->queue()[i];
            e.runState = QueueEntry::Active;
            e.runMinutes = 1000 + i; // what a reload would lose
        }
    };
    const auto expectRunning = [this](int from, int to) {
        for (int i = from; i < to; ++i) {
            const int at = engine->find(u"J"_s + QString::number(1000 + i));
            ASSERT_GE(at, 0) << i;
            EXPECT_EQ(engine->queue()[at].runState, QueueEntry::Active) << i;
            EXPECT_EQ(engine->queue()[at].runMinutes, 1000 + i) << i;
        }
    };
    const auto expectNamesOnce = [this] {
        QSet<QString> names;
        for (int i = 0; i < engine->queue().count(); ++i)
            names.insert(engine->queue()[i].jobName);
        EXPECT_EQ(names.size(), engine->queue().count());
    };

    // New jobs that sort before every queued one.
    {
        Registry::Transaction t(registry);
        for (int i = 0; i < 10; ++i)
            program(u"A"_s + QString::number(100 + i), 23, 0, 0);
        t.commit();
    }
    markRunning(250, 256);
    host.statuses.clear();
    engine->refreshJobList();
    EXPECT_EQ(engine->queue().count(), 256);
    expectRunning(250, 256);
    EXPECT_GE(engine->find(u"A100"_s), 0);
    expectNamesOnce();
    EXPECT_EQ(host.statuses.value(0), u"Warning: there are more than 256 jobs for today..."_s);

    // Every entry running, and a new job first in the list: nothing is replaced.
    program(u"A000"_s, 23, 0, 0);
    QSet<QString> running;
    for (int i = 0; i < 256; ++i) {
        QueueEntry &e = engine->queue()[i];
        e.runState = QueueEntry::Active;
        e.runMinutes = 7;
        running.insert(e.jobName);
    }
    host.statuses.clear();
    engine->refreshJobList();
    ASSERT_EQ(engine->queue().count(), 256);
    for (int i = 0; i < 256; ++i) {
        const QueueEntry &e = engine->queue()[i];
        EXPECT_TRUE(running.contains(e.jobName)) << e.jobName.toStdString();
        EXPECT_EQ(e.runState, QueueEntry::Active) << i;
        EXPECT_EQ(e.runMinutes, 7) << i;
    }
    expectNamesOnce();
    EXPECT_EQ(host.statuses.value(0), u"Warning: there are more than 256 jobs for today..."_s);
}

TEST_F(EngineTest, AFixedTimeJobRunsOnceInItsMinuteAndWaitsAgainAtTheNext)
{
    program(u"Ten"_s, 10, 0, 0);
    start();
    runUntil(at(10, 0, 0));
    ASSERT_EQ(startsOf(u"Ten"_s), 1);
    EXPECT_EQ(entry(u"Ten"_s).runState, QueueEntry::Active);
    EXPECT_EQ(host.rowUpdates.last().second.status, u"active"_s);
    runUntil(at(10, 0, 20));
    launcher.finishLast(0);
    runUntil(at(10, 0, 30));
    EXPECT_EQ(entry(u"Ten"_s).runState, QueueEntry::Complete);
    EXPECT_EQ(startsOf(u"Ten"_s), 1);
    runUntil(at(10, 1, 0));
    EXPECT_EQ(entry(u"Ten"_s).runState, QueueEntry::Waiting);
    EXPECT_EQ(startsOf(u"Ten"_s), 1);
    EXPECT_TRUE(logLines().contains(u"Job: Ten started ok \"/bin/prog-Ten\""_s));
    EXPECT_TRUE(logLines().contains(u"Job: Ten ended successfully, exit code: 0"_s));
    EXPECT_EQ(store.readString(u"Ten"_s, u"sLastStartTime"_s), u"10:00:00"_s);
    EXPECT_EQ(store.readString(u"Ten"_s, u"sLastEndDate"_s), u"2026-12-10"_s);
    EXPECT_EQ(host.rowUpdates.last().second.lastStatus, u"successful"_s);
}

TEST_F(EngineTest, StartUpMinutesAndEveryNMinutesCountAsTheLoopSeesThem)
{
    program(u"After3"_s, 0, 0, 0, {{u"iCustomTimeType"_s, u"4"_s}, {u"iCustomTimeHourMin"_s, u"3"_s}});
    program(u"Every5"_s, 0, 0, 0, {{u"iCustomTimeType"_s, u"3"_s}, {u"iCustomTimeHourMin"_s, u"5"_s}});
    clock.set(at(10, 17, 30));
    start();
    engine->tick(); // counts a minute change: 1
    runUntil(at(10, 18, 59, 750));
    EXPECT_EQ(startsOf(u"After3"_s), 0);
    runUntil(at(10, 19, 0));
    EXPECT_EQ(startsOf(u"After3"_s), 1);
    EXPECT_EQ(startsOf(u"Every5"_s), 0);
    launcher.finish(launcher.processes().last().handle, 0);
    runUntil(at(10, 21, 0));
    EXPECT_EQ(startsOf(u"Every5"_s), 1);
    // A long run: the minute count never wraps, so the start-up job never comes back. The
    // repeating job leaves first: its 14,000 runs would only time the disk's syncs.
    for (const auto &p : launcher.processes())
        if (p.running)
            launcher.finish(p.handle, 0);
    engine->tick();
    ASSERT_TRUE(store.eraseJob(u"Every5"_s));
    engine->refreshJobList();
    for (int minute = 0; minute < 70000; ++minute) {
        clock.advanceMs(60000);
        engine->tick();
        for (const auto &p : launcher.processes())
            if (p.running)
                launcher.finish(p.handle, 0);
    }
    EXPECT_EQ(startsOf(u"After3"_s), 1);
    EXPECT_GT(engine->startupMinuteCount(), 65536);
}

TEST_F(EngineTest, RequestsWaitForTheActiveRunTheHoldAndTheSuspension)
{
    program(u"Job"_s, 23, 0, 0);
    start();
    EXPECT_TRUE(engine->startOnRequest(u"Job"_s));
    runUntil(at(10, 0, 0));
    EXPECT_EQ(startsOf(u"Job"_s), 1);
    EXPECT_TRUE(engine->startOnRequest(u"Job"_s)); // while active: waits
    runUntil(at(10, 0, 5));
    EXPECT_EQ(startsOf(u"Job"_s), 1);
    launcher.finishLast(0);
    engine->tick(); // records the end
    EXPECT_EQ(startsOf(u"Job"_s), 1);
    engine->tick();
    EXPECT_EQ(startsOf(u"Job"_s), 2);
    launcher.finishLast(0);

    engine->suspendAll();
    EXPECT_EQ(host.statuses.last(), u"User action: All jobs suspended"_s);
    engine->startOnRequest(u"Job"_s);
    runUntil(at(10, 0, 10));
    EXPECT_EQ(startsOf(u"Job"_s), 2);
    engine->restartAll();
    EXPECT_EQ(host.statuses.last(), u"User action: All jobs restarted"_s);
    engine->tick();
    EXPECT_EQ(startsOf(u"Job"_s), 2); // the end of the second run is recorded first
    engine->tick();
    EXPECT_EQ(startsOf(u"Job"_s), 3);
}

TEST_F(EngineTest, TerminationByDurationCountsMinuteChangesAndARefusalIsRetried)
{
    program(u"Long"_s, 10, 0, 50, {{u"iTerminationType"_s, u"1"_s}, {u"iTerminationDur"_s, u"1"_s},
                                       {u"iTerminationLevel"_s, u"77"_s}});
    start();
    runUntil(at(10, 0, 50));
    ASSERT_EQ(startsOf(u"Long"_s), 1);
    launcher.setTerminationRefused(true);
    runUntil(at(10, 1, 0));
    EXPECT_EQ(logLines().last(), u"Job: Long scheduled termination failed."_s);
    launcher.setTerminationRefused(false);
    engine->tick();
    EXPECT_TRUE(launcher.last()->terminated);
    EXPECT_EQ(logLines().last(), u"Job: Long scheduled termination, exit code: 77"_s);
    EXPECT_EQ(entry(u"Long"_s).runState, QueueEntry::Complete);
    // No end-of-run step: the store keeps only the start.
    EXPECT_TRUE(store.readString(u"Long"_s, u"sLastEndTime"_s).isEmpty());
}

TEST_F(EngineTest, TerminationAtATimeOfDay)
{
    program(u"Evening"_s, 16, 30, 0, {{u"iTerminationType"_s, u"2"_s}, {u"iTerminationHour"_s, u"17"_s}});
    clock.set(at(16, 29, 59));
    start();
    runUntil(at(16, 59, 59, 750));
    EXPECT_FALSE(launcher.last()->terminated);
    runUntil(at(17, 0, 0));
    EXPECT_TRUE(launcher.last()->terminated);
}

TEST_F(EngineTest, AProgramThatCannotStartSaysWhyAndCountsNoRun)
{
    settings.setBoolean(settings::LogDebugInfo, true);
    program(u"Bad"_s, 10, 0, 0);
    launcher.setStartFailure(u"No such file or directory"_s);
    start();
    runUntil(at(10, 0, 0));
    const QStringList lines = logLines();
    EXPECT_TRUE(lines.contains(u"Job: Bad failed to start \"/bin/prog-Bad\""_s));
    EXPECT_TRUE(lines.contains(u"Debug, job: Bad: the program could not be started: No such file or directory"_s));
    EXPECT_EQ(entry(u"Bad"_s).runState, QueueEntry::Complete);
    EXPECT_FALSE(store.readString(u"Bad"_s, u"sLastStartDate"_s).isEmpty());
    EXPECT_TRUE(store.readBoolean(u"Bad"_s, u"bLastStartStatus"_s, true));
}

TEST_F(EngineTest, PostRunStartsLaterEntriesInTheSameTickAndEarlierOnesInTheNext)
{
    program(u"A-early"_s, 23, 0, 0);
    program(u"B-main"_s, 10, 0, 0, {{u"iPostSuccessCode"_s, u"1"_s}, {u"sPostSuccessFile"_s, u"C-late"_s},
                                       {u"iPostFailCode"_s, u"1"_s}, {u"sPostFailFile"_s, u"A-early"_s}});
    program(u"C-late"_s, 23, 0, 0);
    settings.setBoolean(settings::LogJobStarts, true);
    start();
    runUntil(at(10, 0, 0));
    launcher.finishLast(0);
    engine->tick();
    EXPECT_EQ(startsOf(u"C-late"_s), 1); // same tick
    EXPECT_TRUE(logLines().contains(u"Job: B-main invoked job: C-late ok."_s));

    store.writeString(u"B-main"_s, u"sPostSuccessFile"_s, u"No such job"_s);
    engine->startOnRequest(u"B-main"_s);
    runUntil(at(10, 1, 0));
    for (const auto &p : launcher.processes())
        if (p.running && p.request.arguments.value(0) == u"/bin/prog-B-main")
            launcher.finish(p.handle, 0);
    engine->tick();
    EXPECT_TRUE(logLines().contains(u"Job: B-main failed to invoke job: No such job"_s));

    // A failed run starts the earlier entry at the next tick, and a program directly.
    store.writeString(u"B-main"_s, u"bUseErrLevel"_s, u"1"_s);
    engine->refreshJobList();
    engine->startOnRequest(u"B-main"_s);
    engine->tick();
    launcher.finishLast(0);
    const int before = startsOf(u"A-early"_s);
    engine->setSuccessEvaluation([](const QString &, int) { return std::pair(false, u"errorlevel test: 0"_s); });
    engine->tick();
    EXPECT_EQ(startsOf(u"A-early"_s), before);
    engine->tick();
    EXPECT_EQ(startsOf(u"A-early"_s), before + 1);
    EXPECT_TRUE(logLines().contains(u"Job: B-main failed, errorlevel test: 0"_s));
}

TEST_F(EngineTest, AJobThatStartsItselfRunsAgainAtTheNextScan)
{
    program(u"Loop"_s, 10, 0, 0, {{u"iPostSuccessCode"_s, u"1"_s}, {u"sPostSuccessFile"_s, u"Loop"_s}});
    start();
    runUntil(at(10, 0, 0));
    launcher.finishLast(0);
    engine->tick();
    EXPECT_EQ(startsOf(u"Loop"_s), 1);
    engine->tick();
    EXPECT_EQ(startsOf(u"Loop"_s), 2);
}

TEST_F(EngineTest, PostRunProgramIsStartedUnsupervised)
{
    program(u"Then"_s, 10, 0, 0, {{u"iPostSuccessCode"_s, u"2"_s}, {u"sPostSuccessFile"_s, u"/bin/echo 'a b'"_s}});
    start();
    runUntil(at(10, 0, 0));
    launcher.finishLast(0);
    engine->tick();
    ASSERT_TRUE(launcher.last()->detached);
    EXPECT_EQ(launcher.last()->request.arguments, (QStringList{u"/bin/echo"_s, u"a b"_s}));
    EXPECT_TRUE(logLines().contains(u"Job: Then kicked off program: /bin/echo 'a b' ok."_s));
}

TEST_F(EngineTest, ASelfDeletingJobIsErasedAfterItsRun)
{
    program(u"Once"_s, 10, 0, 0, {{u"bDeleteJob"_s, u"1"_s}});
    start();
    runUntil(at(10, 0, 0));
    launcher.finishLast(0);
    engine->tick();
    EXPECT_FALSE(store.jobExists(u"Once"_s));
    EXPECT_EQ(engine->find(u"Once"_s), -1);
    EXPECT_TRUE(host.jobRowSets.last().isEmpty());
}

TEST_F(EngineTest, PrestartFreeSpaceIsExactAndRetriedEveryTickOfTheMinute)
{
    program(u"Disk"_s, 10, 0, 0, {{u"bCheckPreStart"_s, u"1"_s}, {u"bCheckDiskFree"_s, u"1"_s},
                                     {u"iDiskFreeMb"_s, u"100"_s}});
    settings.setBoolean(settings::LogJobPrestarts, true);
    freeBytes = qint64(100) * 1048576 - 1;
    start();
    runUntil(at(10, 0, 0, 750));
    EXPECT_EQ(startsOf(u"Disk"_s), 0);
    EXPECT_EQ(logLines().count(u"Job: Disk prestart: drive FAILED disk availability test"_s), 4);
    freeBytes = qint64(100) * 1048576;
    runUntil(at(10, 0, 1));
    EXPECT_EQ(startsOf(u"Disk"_s), 1);
    EXPECT_TRUE(logLines().contains(u"Job: Disk prestart: drive passed disk availability test"_s));
}

TEST(PrestartDrives, LettersAndTheirFolders)
{
    TempProfile profile;
    Registry registry;
    JobStore store(registry);
    Settings settings(registry);
    FakeClock clock;
    ActivityLog log(settings, clock);
    LogCategories categories;
    QStringList asked;
    Prestart prestart(store, settings, log, categories, [&](const QString &folder) {
        asked << folder;
        return std::optional<qint64>(qint64(5) * 1048576);
    });
    store.writeBoolean(u"J"_s, u"bCheckPreStart"_s, true);
    store.writeBoolean(u"J"_s, u"bCheckDiskFree"_s, true);
    struct Case { const char16_t *drive; int required; bool passed; };
    const Case cases[] = {{u"c", 5, true}, {u"c", 6, false}, {u"C", 500, true}, {u"d", 1, false},
        {u"d", 0, true}};
    for (const Case &c : cases) {
        store.writeString(u"J"_s, u"sDiskFreeDrive"_s, QString::fromUtf16(c.drive));
        store.writeInteger(u"J"_s, u"iDiskFreeMb"_s, c.required);
        EXPECT_EQ(prestart.CheckPrestart(Job(u"J"_s)).passed, c.passed) << QString::fromUtf16(c.drive).toStdString() << c.required;
    }
    EXPECT_TRUE(asked.count(u"/"_s) >= 2);
    settings.writeString(Settings::Section::Config, u"sDrive.d"_s, u"/data"_s);
    store.writeString(u"J"_s, u"sDiskFreeDrive"_s, u"d"_s);
    prestart.CheckPrestart(Job(u"J"_s));
    EXPECT_EQ(asked.last(), u"/data"_s);
}

struct ThrowingActivity : JobActivity
{
    int runs = 0;
    bool run(const Job &, QueueEntry &) override
    {
        ++runs;
        throw std::runtime_error("boom");
    }
};

// An action that lets events run meanwhile, as a copy's message box does: here an
// editor's save rebuilds the queue, and the job's entry moves.
struct RebuildingActivity : JobActivity
{
    std::function<void()> meanwhile;
    int runs = 0;
    bool run(const Job &, QueueEntry &) override
    {
        ++runs;
        meanwhile();
        return true;
    }
};

TEST_F(EngineTest, ARunEndsByJobWhateverTheQueueDidMeanwhile)
{
    program(u"Aaa"_s, 12, 0, 0); // sorts first, so the mail entry moves when Aaa leaves
    store.writeString(u"Mail"_s, u"sJobName"_s, u"Mail"_s);
    store.writeInteger(u"Mail"_s, u"iJobType"_s, 6);
    store.writeInteger(u"Mail"_s, u"iFrequency"_s, 1);
    store.writeInteger(u"Mail"_s, u"iHour"_s, 10);
    store.writeInteger(u"Mail"_s, u"iPostSuccessCode"_s, 2);
    store.writeString(u"Mail"_s, u"sPostSuccessFile"_s, u"/bin/follow-up"_s);
    RebuildingActivity activity;
    activity.meanwhile = [this] {
        store.eraseJob(u"Aaa"_s);
        engine->refreshJobList();
    };
    start();
    engine->setActivity(6, &activity);
    runUntil(at(10, 0, 5));
    EXPECT_EQ(activity.runs, 1);
    EXPECT_EQ(entry(u"Mail"_s).runState, QueueEntry::Complete);
    EXPECT_FALSE(store.readString(u"Mail"_s, u"sLastEndDate"_s).isEmpty());
    EXPECT_TRUE(store.readBoolean(u"Mail"_s, u"bLastStartStatus"_s, false));
    int followUps = 0;
    for (const auto &p : launcher.processes())
        followUps += p.request.arguments.value(0) == u"/bin/follow-up"_s;
    EXPECT_EQ(followUps, 1);
    for (const QString &line : logLines())
        EXPECT_FALSE(line.contains(u"Mail ended"_s)) << line.toStdString();
}

// A key whose sJobName differs from it (the registry tool can store one): the runs are
// recorded and the rows updated under the key, the log names the job, and no key of
// that name appears.
TEST_F(EngineTest, RunsAreRecordedUnderTheKeyTheJobWasLoadedFrom)
{
    program(u"nightly"_s, 10, 0, 0, {{u"sJobName"_s, u"Nightly backup"_s}});
    store.writeString(u"odd"_s, u"sJobName"_s, u"Odd one"_s);
    store.writeInteger(u"odd"_s, u"iJobType"_s, 9);
    store.writeInteger(u"odd"_s, u"iFrequency"_s, 1);
    store.writeInteger(u"odd"_s, u"iHour"_s, 10);
    start();
    runUntil(at(10, 0, 0));
    ASSERT_EQ(startsOf(u"nightly"_s), 1);
    launcher.finishLast(0);
    runUntil(at(10, 0, 1));

    EXPECT_EQ(entry(u"Nightly backup"_s).runState, QueueEntry::Complete);
    EXPECT_EQ(entry(u"Odd one"_s).runState, QueueEntry::Complete);
    for (const QString &key : {u"nightly"_s, u"odd"_s})
        EXPECT_EQ(store.readString(key, u"sLastEndDate"_s), u"2026-12-10"_s) << key.toStdString();
    for (const QString &name : {u"Nightly backup"_s, u"Odd one"_s})
        EXPECT_TRUE(store.values(name).values().isEmpty()) << name.toStdString();
    QStringList updatedRows;
    for (const auto &[job, update] : std::as_const(host.rowUpdates))
        updatedRows.append(job);
    EXPECT_EQ(updatedRows, (QStringList{u"nightly"_s, u"odd"_s, u"nightly"_s}));
    EXPECT_TRUE(logLines().contains(u"Job: Nightly backup ended successfully, exit code: 0"_s));
}

TEST_F(EngineTest, AnErrorInsideAnActionEndsThatWalkNotTheEngine)
{
    store.writeString(u"Mail"_s, u"sJobName"_s, u"Mail"_s);
    store.writeInteger(u"Mail"_s, u"iJobType"_s, 6);
    store.writeInteger(u"Mail"_s, u"iFrequency"_s, 1);
    store.writeInteger(u"Mail"_s, u"iHour"_s, 10);
    program(u"Next"_s, 10, 0, 0);
    ThrowingActivity thrower;
    settings.setBoolean(settings::LogDebugInfo, true);
    start();
    engine->setActivity(6, &thrower);
    runUntil(at(10, 0, 0));
    EXPECT_EQ(thrower.runs, 1);
    EXPECT_EQ(startsOf(u"Next"_s), 0); // the walk ended at the mail entry
    EXPECT_TRUE(logLines().contains(u"Debug, job: Mail: error during the run, this tick's walk ends: boom"_s));
    engine->tick();
    EXPECT_EQ(startsOf(u"Next"_s), 1);
}

TEST_F(EngineTest, ActivitiesNotYetAvailableAndUnknownTypesFail)
{
    settings.setBoolean(settings::LogDebugInfo, true);
    for (int type : {1, 7}) {
        const QString job = u"Type"_s + QString::number(type);
        store.writeString(job, u"sJobName"_s, job);
        store.writeInteger(job, u"iJobType"_s, type);
        store.writeInteger(job, u"iFrequency"_s, 1);
        store.writeInteger(job, u"iHour"_s, 10);
    }
    start();
    runUntil(at(10, 0, 0));
    EXPECT_FALSE(store.readBoolean(u"Type1"_s, u"bLastStartStatus"_s, true));
    EXPECT_FALSE(store.readBoolean(u"Type7"_s, u"bLastStartStatus"_s, true));
    EXPECT_TRUE(logLines().contains(u"Debug, job: Type7: unknown job type 7; the run counts as failed."_s));
}

TEST_F(EngineTest, ClockStepsBackNeverStartATimedJobTwiceForOneMinute)
{
    program(u"Ten"_s, 10, 0, 0);
    start();
    runUntil(at(10, 0, 0));
    launcher.finishLast(0);
    engine->tick();
    clock.set(at(10, 0, 0).addSecs(-3600)); // an hour back, as NTP after a wrong boot time
    engine->tick();
    clock.set(at(9, 59, 30)); // back into the minute before: the entry waits again
    engine->tick();
    runUntil(at(10, 0, 30));
    EXPECT_EQ(startsOf(u"Ten"_s), 1);
    // A request is no time rule.
    ASSERT_TRUE(engine->startOnRequest(u"Ten"_s));
    engine->tick();
    EXPECT_EQ(startsOf(u"Ten"_s), 2);
}

TEST_F(EngineTest, ARebuildWithinTheMinuteStartsNoCompletedJobAgain)
{
    program(u"Backup"_s, 10, 0, 0); // second 0: the whole minute
    program(u"Early"_s, 0, 0, 0, {{u"iCustomTimeType"_s, u"4"_s}, {u"iCustomTimeHourMin"_s, u"1"_s}});
    clock.set(at(10, 0, 5));
    start();
    runUntil(at(10, 0, 10));
    ASSERT_EQ(startsOf(u"Backup"_s), 1);
    ASSERT_EQ(startsOf(u"Early"_s), 1); // at the first tick, whatever its minute
    for (const auto &p : launcher.processes())
        launcher.finish(p.handle, 0);
    engine->tick();
    // Another job edited, the configuration saved, a change from another process.
    program(u"Other"_s, 11, 0, 0);
    engine->refreshJobList();
    engine->reloadSettingsAndRefresh();
    runUntil(at(10, 0, 40));
    EXPECT_EQ(startsOf(u"Backup"_s), 1);
    EXPECT_EQ(startsOf(u"Early"_s), 1);
}

// The hour repeated when daylight saving time ends shows 02:30 twice; a job at 02:30
// starts in the first pass only.
TEST_F(EngineTest, TheRepeatedHourOfDaylightSavingTimeStartsAFixedTimeOnce)
{
    const QByteArray oldTz = qgetenv("TZ");
    qputenv("TZ", "Europe/Berlin");
    tzset();
    program(u"Night"_s, 2, 30, 0);
    program(u"Listed"_s, 0, 0, 0, {{u"iCustomTimeType"_s, u"2"_s}, {u"sCustomTime0"_s, u"02:45:00"_s}});
    // 2026-10-25: 03:00 CEST falls back to 02:00 CET.
    const qint64 firstPass = QDateTime(QDate(2026, 10, 25), QTime(2, 0, 0), QTimeZone(7200)).toSecsSinceEpoch();
    clock.set(QDateTime::fromSecsSinceEpoch(firstPass - 1));
    start();
    for (qint64 t = 0; t < 2 * 3600 * 4; ++t) {
        clock.set(QDateTime::fromSecsSinceEpoch(firstPass).addMSecs(t * 250));
        engine->tick();
        for (const auto &p : launcher.processes())
            if (p.running)
                launcher.finish(p.handle, 0);
    }
    EXPECT_EQ(clock.now().time().hour(), 2); // the second pass has run through
    EXPECT_EQ(startsOf(u"Night"_s), 1);
    EXPECT_EQ(startsOf(u"Listed"_s), 1);
    if (oldTz.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", oldTz);
    tzset();
}

struct NoProcesses : ProcessLister
{
    QList<Entry> processes() override { return {}; }
};

TEST_F(EngineTest, ALogOffEndsTheProgramAndNothingAfterItHappens)
{
    FakeSessionControl session;
    NoProcesses processes;
    auto system = [&](const QString &job, int activity) {
        store.writeString(job, u"sJobName"_s, job);
        store.writeInteger(job, u"iJobType"_s, 1);
        store.writeInteger(job, u"iFrequency"_s, 1);
        store.writeInteger(job, u"iHour"_s, 10);
        store.writeInteger(job, u"iShutdownType"_s, activity);
        store.writeInteger(job, u"iPostSuccessCode"_s, 1);
        store.writeString(job, u"sPostSuccessFile"_s, u"Later"_s);
    };
    system(u"A-reboot"_s, 3);
    system(u"B-logoff"_s, 4);
    program(u"C-after"_s, 10, 0, 0);
    program(u"Later"_s, 23, 0, 0);
    session.refuseFirst = 1; // the reboot is refused, its second attempt (log off) accepted
    engine = std::make_unique<Engine>(Engine::Services{store, settings, log, clock, launcher, host,
        [](const QString &) { return std::optional<qint64>(); }, &session, &processes});
    engine->readSettings();
    engine->startOfDay(Engine::StartOfDayKind::StartUp);
    runUntil(at(10, 0, 0));
    EXPECT_EQ(host.quitCalls, 1);
    const QStringList lines = logLines();
    EXPECT_TRUE(lines.contains(u"ExitWindowsEx failed, secondary exitwindows used..."_s));
    EXPECT_TRUE(lines.contains(u"Job: A-reboot shutdown windows successful."_s));
    EXPECT_TRUE(lines.contains(u"Job: B-logoff shutdown windows successful."_s));
    EXPECT_TRUE(store.readBoolean(u"A-reboot"_s, u"bLastStartStatus"_s, false));
    // After the log-off: no end of its run, no follow-up, no later entry, no later tick.
    EXPECT_TRUE(store.readString(u"B-logoff"_s, u"sLastEndDate"_s).isEmpty());
    EXPECT_EQ(startsOf(u"C-after"_s), 0);
    EXPECT_EQ(startsOf(u"Later"_s), 0); // A's follow-up was only requested
    runUntil(at(10, 0, 5));
    EXPECT_EQ(startsOf(u"Later"_s), 0);
    EXPECT_EQ(startsOf(u"C-after"_s), 0);
}

// Keys whose sJobName differs from them, one for each kind of action: the actions read and
// record under the key, and every line names the job.
TEST_F(EngineTest, ActionsKeepToTheKeyAndNameTheJob)
{
    FakeSessionControl session;
    NoProcesses processes;
    settings.setBoolean(settings::LogDebugInfo, true);
    const QString made = profile.path(u"made.txt"_s);
    struct Case
    {
        QString key;
        QString name;
        QList<std::pair<QString, QString>> values;
        QString line;
        bool runs;
    };
    const Case cases[] = {
        {u"nightly"_s, u"Nightly backup"_s, {{u"iJobType"_s, u"3"_s}, {u"sSysSourceFileName0"_s, made}},
            u"Job: Nightly backup. File: "_s + made + u" created!"_s, true},
        {u"tidy"_s, u"Tidy up"_s,
            {{u"iJobType"_s, u"1"_s}, {u"iShutdownType"_s, u"6"_s}, {u"sProcessName"_s, u"absent"_s}},
            u"Job: Tidy up. Process: absent termination failed (Normal exit)"_s, true},
        {u"gated"_s, u"Gated report"_s,
            {{u"sProgram"_s, u"/bin/report"_s}, {u"bCheckPreStart"_s, u"1"_s},
                {u"bCheckDiskFree"_s, u"1"_s}, {u"iDiskFreeMb"_s, u"101"_s}},
            u"Debug, job: Gated report prestart: Drive: c 100mb, test against: 101mb"_s, false},
    };
    for (const Case &c : cases) {
        store.writeString(c.key, u"sJobName"_s, c.name);
        store.writeInteger(c.key, u"iFrequency"_s, 1);
        store.writeInteger(c.key, u"iHour"_s, 10);
        for (const auto &[value, text] : c.values)
            store.writeString(c.key, value, text);
    }
    engine = std::make_unique<Engine>(Engine::Services{store, settings, log, clock, launcher, host,
        [this](const QString &) { return freeBytes; }, &session, &processes});
    engine->readSettings();
    engine->startOfDay(Engine::StartOfDayKind::StartUp);
    runUntil(at(10, 0, 1));

    const QStringList lines = logLines();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.key.toStdString());
        EXPECT_TRUE(lines.contains(c.line));
        for (const QString &line : lines)
            EXPECT_FALSE(line.contains(c.key)) << line.toStdString();
        EXPECT_EQ(store.readString(c.key, u"sLastStartDate"_s).isEmpty(), !c.runs);
        EXPECT_TRUE(store.values(c.name).values().isEmpty());
    }
    EXPECT_TRUE(QFile::exists(made));
    EXPECT_TRUE(launcher.processes().isEmpty());
}

TEST_F(EngineTest, RealSuccessCriteriaDecideTheRunAndItsFollowUp)
{
    program(u"Check"_s, 10, 0, 0, {{u"bUseErrLevel"_s, u"1"_s}, {u"iErrLevEqual"_s, u"0"_s},
                                      {u"iErrLevValue"_s, u"0"_s}, {u"bErrLevSuccess"_s, u"1"_s},
                                      {u"iPostFailCode"_s, u"1"_s}, {u"sPostFailFile"_s, u"Repair"_s}});
    program(u"Repair"_s, 23, 0, 0);
    start();
    runUntil(at(10, 0, 0));
    launcher.finishLast(3);
    engine->tick();
    EXPECT_TRUE(logLines().contains(u"Job: Check failed, errorlevel test: 3"_s));
    EXPECT_FALSE(store.readBoolean(u"Check"_s, u"bLastStartStatus"_s, true));
    std::optional<QString> lastStatus;
    for (const auto &[job, update] : host.rowUpdates)
        if (job == u"Check" && update.lastStatus)
            lastStatus = update.lastStatus;
    EXPECT_EQ(lastStatus, u"failed, errorlevel test: 3"_s);
    EXPECT_EQ(startsOf(u"Repair"_s), 1); // a later entry: the same tick
}

} // namespace
