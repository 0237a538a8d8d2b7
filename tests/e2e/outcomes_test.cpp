// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// The outcomes of every job type but e-mail, through the real headless scheduler.

#include "platform/registry.h"
#include "store/jobstore.h"
#include "support/tempprofile.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

void job(JobStore &store, const QString &name, int type, std::initializer_list<std::pair<QString, QString>> values)
{
    store.writeString(name, u"sJobName"_s, name);
    store.writeInteger(name, u"iJobType"_s, type);
    store.writeInteger(name, u"iFrequency"_s, 1);
    // "1 minute after start-up": the first tick counts a minute, so the job runs at once.
    store.writeInteger(name, u"iCustomTimeType"_s, 4);
    store.writeInteger(name, u"iCustomTimeHourMin"_s, 1);
    for (const auto &[key, value] : values)
        store.writeString(name, key, value);
}

void touch(const QString &path, const QByteArray &content = "x")
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

TEST(Outcomes, ProgramFileAndSystemJobsRunHeadlessAndRecordTheirOutcome)
{
    TempProfile profile;
    const QString work = profile.path(u"work"_s);
    QDir().mkpath(work + u"/tmpfiles"_s);
    QDir().mkpath(work + u"/into"_s);
    touch(work + u"/tmpfiles/a.tmp"_s);
    touch(work + u"/tmpfiles/b.tmp"_s);
    touch(work + u"/tmpfiles/keep.txt"_s);
    touch(work + u"/report.txt"_s, "report");
    touch(work + u"/old-name.txt"_s, "moved");

    // A process with a name nobody else has, for the system job to terminate.
    const QString uniqueName = u"halvorn-victim-"_s + QString::number(QCoreApplication::applicationPid());
    const QString victimPath = work + u'/' + uniqueName;
    ASSERT_TRUE(QFile::copy(u"/bin/sleep"_s, victimPath));
    QProcess victim;
    victim.start(victimPath, {u"60"_s});
    ASSERT_TRUE(victim.waitForStarted());

    {
        Registry registry;
        JobStore store(registry);
        job(store, u"Check"_s, 0, {{u"sProgram"_s, u"/bin/sh"_s}, {u"sCommand Line"_s, u"-c 'exit 3'"_s},
                                    {u"bUseErrLevel"_s, u"1"_s}, {u"iErrLevEqual"_s, u"0"_s},
                                    {u"iErrLevValue"_s, u"0"_s}, {u"bErrLevSuccess"_s, u"1"_s},
                                    {u"iPostFailCode"_s, u"1"_s}, {u"sPostFailFile"_s, u"Repair"_s}});
        store.writeString(u"Repair"_s, u"sJobName"_s, u"Repair"_s);
        store.writeInteger(u"Repair"_s, u"iCustomTimeType"_s, -1);
        store.writeString(u"Repair"_s, u"sProgram"_s, u"/bin/sh"_s);
        store.writeString(u"Repair"_s, u"sCommand Line"_s, u"-c 'echo repaired > "_s + work + u"/repaired'"_s);
        job(store, u"Clean"_s, 2, {{u"bSysDeleteFile"_s, u"1"_s}, {u"sSysSourceFileName0"_s, work + u"/tmpfiles/*.tmp"_s}});
        job(store, u"Copy"_s, 4, {{u"bSysCopyFile"_s, u"1"_s}, {u"sSysSourceFileName0"_s, work + u"/report.txt"_s},
                                   {u"sSysTargetFileName"_s, work + u"/into/"_s}});
        job(store, u"Move"_s, 5, {{u"bSysRenameFile"_s, u"1"_s}, {u"sSysSourceFileName0"_s, work + u"/old-name.txt"_s},
                                   {u"sSysTargetFileName"_s, work + u"/new-name.txt"_s}});
        job(store, u"Kill"_s, 1, {{u"iShutdownType"_s, u"6"_s}, {u"sProcessName"_s, uniqueName}});
    }

    QProcess daemon;
    daemon.start(QStringLiteral(VOLTRANED), {});
    ASSERT_TRUE(daemon.waitForStarted());
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired() && !QFile::exists(work + u"/repaired"_s))
        QThread::msleep(50);
    QThread::msleep(500);
    ::kill(pid_t(daemon.processId()), SIGTERM);
    ASSERT_TRUE(daemon.waitForFinished(10000));
    const QString out = QString::fromUtf8(daemon.readAllStandardOutput());

    EXPECT_TRUE(out.contains(u"Job: Check failed, errorlevel test: 3"_s)) << out.toStdString();
    EXPECT_TRUE(QFile::exists(work + u"/repaired"_s));
    EXPECT_TRUE(out.contains(u"Job: Clean. File: "_s + work + u"/tmpfiles/*.tmp deleted!"_s)) << out.toStdString();
    EXPECT_FALSE(QFile::exists(work + u"/tmpfiles/a.tmp"_s));
    EXPECT_FALSE(QFile::exists(work + u"/tmpfiles/b.tmp"_s));
    EXPECT_TRUE(QFile::exists(work + u"/tmpfiles/keep.txt"_s));
    EXPECT_TRUE(QFile::exists(profile.path(u"data/Trash/files/a.tmp"_s)));
    QFile copied(work + u"/into/report.txt"_s);
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), "report");
    EXPECT_TRUE(QFile::exists(work + u"/report.txt"_s));
    EXPECT_FALSE(QFile::exists(work + u"/old-name.txt"_s));
    EXPECT_TRUE(QFile::exists(work + u"/new-name.txt"_s));
    EXPECT_TRUE(out.contains(u"Job: Kill. Process: "_s + uniqueName + u" terminated successfully (Normal exit)"_s))
        << out.toStdString();
    EXPECT_TRUE(victim.waitForFinished(5000));

    Registry registry;
    JobStore store(registry);
    EXPECT_FALSE(store.readBoolean(u"Check"_s, u"bLastStartStatus"_s, true));
    for (const QString &name : {u"Clean"_s, u"Copy"_s, u"Move"_s, u"Kill"_s, u"Repair"_s}) {
        EXPECT_TRUE(store.readBoolean(name, u"bLastStartStatus"_s, false)) << name.toStdString();
        EXPECT_EQ(store.readString(name, u"sLastEndDate"_s).size(), 10) << name.toStdString();
    }
}

} // namespace
