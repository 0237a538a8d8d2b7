// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/registry.h"
#include "store/jobstore.h"
#include "support/files.h"
#include "support/tempprofile.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

// A job "1 minute after start-up" runs at the first tick, as the first tick counts a minute.
void writeStartupJob(JobStore &store, const QString &job, const QString &script)
{
    store.writeString(job, u"sJobName"_s, job);
    store.writeInteger(job, u"iFrequency"_s, 1);
    store.writeInteger(job, u"iCustomTimeType"_s, 4);
    store.writeInteger(job, u"iCustomTimeHourMin"_s, 1);
    store.writeString(job, u"sProgram"_s, u"/bin/sh"_s);
    store.writeString(job, u"sCommand Line"_s, u"-c '"_s + script + u'\'');
}

TEST(Voltraned, RunsAJobRecordsItAndLeavesARunningProgramRunning)
{
    TempProfile profile;
    const QString marker = profile.path(u"ran"_s);
    const QString pidFile = profile.path(u"sleeper.pid"_s);
    {
        Registry registry;
        JobStore store(registry);
        writeStartupJob(store, u"Quick"_s, u"echo ran > "_s + marker + u"; exit 4"_s);
        writeStartupJob(store, u"Sleeper"_s, u"echo $$ > "_s + pidFile + u"; exec sleep 30"_s);
        writeStartupJob(store, u"Missing"_s, QString());
        store.writeString(u"Missing"_s, u"sProgram"_s, u"/nonexistent/program"_s);
        store.writeString(u"Missing"_s, u"sCommand Line"_s, QString());
        writeStartupJob(store, u"Stopper"_s, u"exec sleep 30"_s);
        store.writeInteger(u"Stopper"_s, u"iTerminationType"_s, 1);
        store.writeInteger(u"Stopper"_s, u"iTerminationDur"_s, 0);
        store.writeInteger(u"Stopper"_s, u"iTerminationLevel"_s, 9);
    }
    QProcess daemon;
    daemon.start(QStringLiteral(VOLTRANED), {});
    ASSERT_TRUE(daemon.waitForStarted());
    ASSERT_TRUE(waitFor([&] { return QFile::exists(pidFile) && !readFile(pidFile).isEmpty(); }));
    ASSERT_TRUE(waitFor([&] {
        Registry registry;
        return JobStore(registry).readString(u"Quick"_s, u"sLastEndDate"_s).size() == 10;
    }));
    EXPECT_EQ(readFile(marker), "ran\n");

    // A second scheduler ends at once, silently, with status 0.
    QProcess second;
    second.start(QStringLiteral(VOLTRANED), {});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardOutput().isEmpty());

    ::kill(pid_t(daemon.processId()), SIGTERM);
    ASSERT_TRUE(daemon.waitForFinished(10000));
    EXPECT_EQ(daemon.exitCode(), 0);
    const QByteArray out = daemon.readAllStandardOutput();
    EXPECT_TRUE(out.contains("Halvorn startup procedure. There are 4 jobs for this day.")) << out.constData();
    EXPECT_TRUE(out.contains("Job: Missing failed to start \"/nonexistent/program\"")) << out.constData();
    EXPECT_TRUE(out.contains("Job: Stopper scheduled termination, exit code: 9")) << out.constData();
    EXPECT_TRUE(out.contains("Job: Quick ended successfully, exit code: 4")) << out.constData();
    EXPECT_TRUE(readFile(profile.path(u"state/halvorn/voltrane.log"_s)).contains("Job: Sleeper started ok"));

    const pid_t sleeper = pid_t(readFile(pidFile).trimmed().toInt());
    ASSERT_GT(sleeper, 0);
    EXPECT_EQ(::kill(sleeper, 0), 0) << "the program ended with the scheduler";
    ::kill(-sleeper, SIGKILL);
    ::kill(sleeper, SIGKILL);
}

} // namespace
