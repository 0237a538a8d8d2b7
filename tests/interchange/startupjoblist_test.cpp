// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "interchange/startupjoblist.h"
#include "log/activitylog.h"
#include "platform/registry.h"
#include "store/jobstore.h"
#include "store/settings.h"
#include "support/fakeclock.h"
#include "support/tempprofile.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class StartupJobListTest : public ::testing::Test
{
protected:
    TempProfile profile;
    Registry registry;
    JobStore store { registry };
    Settings settings { registry };
    FakeClock clock;
    ActivityLog log { settings, clock };
    StartupJobList startup { store, settings, log, clock };
    QString folder = profile.path(u"bin"_s);
    QString file = folder + u"/start.sav"_s;

    void SetUp() override
    {
        QDir().mkpath(folder);
        log.setLocale(QLocale::c());
        startup.setProgramFolder(folder);
        settings.setBoolean(settings::LoadStartupFile, true);
        settings.setText(settings::StartupFileName, u"start.sav"_s);
        writeJobList("new");
    }
    void writeJobList(const QByteArray &program)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("[SaveFileInfo]\nsFileType=Halvorn Job List Save File\n"
                "[Backup]\nsJobName=Backup\nsProgram="
            + program + "\n");
    }
    QStringList logLines()
    {
        QFile f(log.logFilePath());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList lines;
        for (const QString &line :
            QString::fromUtf8(f.readAll()).split(u"\r\n"_s, Qt::SkipEmptyParts))
            lines << line.section(u' ', 2);
        return lines;
    }
};

TEST_F(StartupJobListTest, OnlyWhenAsked)
{
    settings.setBoolean(settings::LoadStartupFile, false);
    EXPECT_FALSE(startup.run());
    EXPECT_TRUE(store.listJobs().isEmpty());
    EXPECT_FALSE(settings.boolean(settings::StartupFileLoaded));
}

// A name without a folder is found in the program's folder; jobs already there are
// overwritten value by value, without a question.
TEST_F(StartupJobListTest, LoadsOnceFromTheProgramsFolder)
{
    store.writeString(u"Backup"_s, u"sJobName"_s, u"Backup"_s);
    store.writeString(u"Backup"_s, u"sProgram"_s, u"old"_s);
    store.writeString(u"Backup"_s, u"sFreq6"_s, u"2026/12/24"_s);

    EXPECT_TRUE(startup.run());
    EXPECT_EQ(store.readString(u"Backup"_s, u"sProgram"_s), u"new"_s);
    EXPECT_EQ(store.readString(u"Backup"_s, u"sFreq6"_s), u"2026/12/24"_s);
    EXPECT_TRUE(settings.boolean(settings::StartupFileLoaded));
    EXPECT_EQ(logLines(),
        QStringList { u"Job List File Read: File: "_s + file + u" read. 1 jobs added."_s });

    writeJobList("newer");
    EXPECT_FALSE(startup.run());
    EXPECT_EQ(store.readString(u"Backup"_s, u"sProgram"_s), u"new"_s);
    EXPECT_EQ(logLines().size(), 1);
}

TEST_F(StartupJobListTest, WithoutOnceLoadsAtEveryStart)
{
    settings.setBoolean(settings::LoadStartupFileOnce, false);
    settings.setText(settings::StartupFileName, file); // a full path is used as it stands
    startup.setProgramFolder(profile.path(u"elsewhere"_s));
    EXPECT_TRUE(startup.run());
    writeJobList("newer");
    EXPECT_TRUE(startup.run());
    EXPECT_EQ(store.readString(u"Backup"_s, u"sProgram"_s), u"newer"_s);
    EXPECT_FALSE(settings.boolean(settings::StartupFileLoaded));
}

TEST_F(StartupJobListTest, NoNameCountsAsLoadedAndABadFileIsTriedAgain)
{
    settings.setText(settings::StartupFileName, u"missing.sav"_s);
    EXPECT_FALSE(startup.run());
    EXPECT_FALSE(settings.boolean(settings::StartupFileLoaded));
    EXPECT_EQ(logLines(),
        QStringList {
            u"Job List File Read: File: "_s + folder + u"/missing.sav invalid file format"_s });

    settings.setText(settings::StartupFileName, QString());
    EXPECT_FALSE(startup.run());
    EXPECT_TRUE(settings.boolean(settings::StartupFileLoaded));
    EXPECT_EQ(logLines().size(), 1);
}

} // namespace
