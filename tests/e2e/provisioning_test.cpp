// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// A machine without a desktop gets its settings and jobs from a pre-load file and a job
// list file, and its log is purged at Start of Day with the backup beside it.

#include "platform/registry.h"
#include "store/jobstore.h"
#include "store/settings.h"
#include "support/files.h"
#include "support/tempprofile.h"

#include <QDate>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

// Runs voltraned until `done` shows in its output (or 15 s pass), then stops it.
QByteArray runDaemon(const QStringList &args, const QByteArray &done)
{
    QProcess daemon;
    daemon.start(QStringLiteral(VOLTRANED), args);
    if (!daemon.waitForStarted())
        return {};
    QByteArray out;
    QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired() && !out.contains(done)) {
        daemon.waitForReadyRead(200);
        out += daemon.readAll();
    }
    ::kill(pid_t(daemon.processId()), SIGTERM);
    daemon.waitForFinished(10000);
    return out + daemon.readAll();
}

TEST(Provisioning, PreloadAndStartupJobListRunJobsHeadlessAndMergeOnce)
{
    TempProfile profile;
    const QString etc = profile.path(u"etc"_s);
    const QString logDir = profile.path(u"logs"_s);
    QDir().mkpath(etc);
    QDir().mkpath(logDir);
    const QString logFile = logDir + u"/voltrane.log"_s;
    const QString marker = profile.path(u"ran"_s);

    // An old log, with lines older than the 7 days kept.
    const QByteArray oldLine = QDate::currentDate().addDays(-30).toString(u"yyyy-MM-dd"_s).toLatin1()
        + " 10:00:00 an old line\r\n";
    const QByteArray recentLine = QDate::currentDate().toString(u"yyyy-MM-dd"_s).toLatin1()
        + " 00:00:01 a recent line\r\n";
    writeFile(logFile, oldLine + recentLine);

    writeFile(etc + u"/jobs.sav"_s,
        "[SaveFileInfo]\n"
        "sFileType=Halvorn Job List Save File\n"
        "\n"
        "[Provisioned]\n"
        "sJobName=Provisioned\n"
        "iJobType=0\n"
        "iFrequency=1\n"
        "iCustomTimeType=4\n"
        "iCustomTimeHourMin=1\n"
        "sProgram=/bin/sh\n"
        "sCommand Line=-c 'echo ran >> " + marker.toUtf8() + "'\n");
    const QString preload = etc + u"/preload.ini"_s;
    writeFile(preload,
        "[Config]\n"
        "bLoadStartupFile=1\n"
        "sStartupFileName=" + (etc + u"/jobs.sav"_s).toUtf8() + "\n"
        "sLogFile=" + logFile.toUtf8() + "\n"
        "bCleanLogAtSOD=1\n");

    const QByteArray first = runDaemon({u"/loadfile"_s, preload}, "Job: Provisioned ended successfully");
    EXPECT_TRUE(first.contains("Pre-load: File: ")) << first.constData();
    EXPECT_TRUE(first.contains("Job List File Read: File: ")) << first.constData();
    // Kept: the recent line and the pre-load lines written before Start of Day.
    EXPECT_TRUE(first.contains("Log purge: 1 log records purged, ")) << first.constData();
    EXPECT_TRUE(first.contains("Job: Provisioned started ok")) << first.constData();
    EXPECT_EQ(readFile(marker), "ran\n");

    // The settings came from the pre-load file, the log went where it said, the backup beside it.
    {
        Registry registry;
        Settings settings(registry);
        EXPECT_EQ(settings.text(settings::LogFile), logFile);
        EXPECT_TRUE(settings.boolean(settings::StartupFileLoaded));
        JobStore store(registry);
        EXPECT_EQ(store.listJobs(), QStringList{u"Provisioned"_s});
    }
    const QByteArray log = readFile(logFile);
    EXPECT_FALSE(log.contains("an old line"));
    EXPECT_TRUE(log.startsWith(recentLine));
    EXPECT_TRUE(log.contains("Job List File Read: File: "));
    EXPECT_TRUE(readFile(logDir + u"/voltrane.bak"_s).startsWith(QByteArray(oldLine + recentLine)));

    // The next start does not merge the file again: a job removed since stays removed.
    {
        Registry registry;
        JobStore(registry).eraseJob(u"Provisioned"_s);
    }
    const QByteArray second = runDaemon({}, "Halvorn startup procedure.");
    EXPECT_FALSE(second.contains("Job List File Read")) << second.constData();
    Registry registry;
    EXPECT_TRUE(JobStore(registry).listJobs().isEmpty());
}

} // namespace
