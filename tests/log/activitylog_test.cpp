// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "log/activitylog.h"
#include "log/logcategories.h"
#include "log/logsink.h"
#include "platform/datetimetext.h"
#include "platform/registry.h"
#include "store/settings.h"
#include "support/fakeclock.h"
#include "support/tempprofile.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

struct RecordingSink : LogSink
{
    QStringList lines;
    void logLineAdded(const QString &line) override { lines.append(line); }
};

class ActivityLogTest : public ::testing::Test
{
protected:
    TempProfile profile;
    Registry registry;
    Settings settings{registry};
    FakeClock clock;
    RecordingSink sink;
    ActivityLog log{settings, clock};

    void SetUp() override
    {
        log.setSink(&sink);
        log.setLocale(QLocale(QLocale::C));
    }

    QByteArray fileContents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(ActivityLogTest, FirstLineCreatesTheDefaultFileAndItsFolder)
{
    const QString path = profile.path(u"state/halvorn/voltrane.log"_s);
    ASSERT_FALSE(QDir(profile.path(u"state/halvorn"_s)).exists());
    log.logMessage(u"Job: Backup started ok \"/bin/true\""_s);
    log.logMessage(u"second"_s);
    EXPECT_EQ(fileContents(path),
        "2026-12-10 14:05:09 Job: Backup started ok \"/bin/true\"\r\n2026-12-10 14:05:09 second\r\n");
    EXPECT_EQ(sink.lines, (QStringList{u"2026-12-10 14:05:09 Job: Backup started ok \"/bin/true\""_s,
                              u"2026-12-10 14:05:09 second"_s}));
    // Every command line started is in it: the user's alone, whatever the umask.
    EXPECT_EQ(QFileInfo(path).permissions() & 0x0FFF /* user, group, other */, QFile::ReadUser | QFile::WriteUser);
    EXPECT_EQ(QFileInfo(profile.path(u"state/halvorn"_s)).permissions() & 0x0FFF /* user, group, other */,
        QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
}

TEST_F(ActivityLogTest, SystemIdFormAndTheTextUnchanged)
{
    settings.setBoolean(settings::UseSystemId, true);
    log.logMessage(u"empty id"_s);
    settings.setText(settings::SystemId, u"WS-7"_s);
    log.logMessage(u"two\r\nlines ü"_s);
    EXPECT_EQ(fileContents(settings.text(settings::LogFile)),
        QString(u"2026-12-10 14:05:09 \"\" empty id\r\n"
                u"2026-12-10 14:05:09 \"WS-7\" two\r\nlines ü\r\n"_s).toUtf8());
}

TEST_F(ActivityLogTest, LogFileIsReadForEveryLineAndAppendedNeverTruncated)
{
    const QString first = profile.path(u"first.log"_s);
    const QString second = profile.path(u"second.log"_s);
    QFile existing(first);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("old line\r\n");
    existing.close();
    settings.setText(settings::LogFile, first);
    log.logMessage(u"a"_s);
    settings.setText(settings::LogFile, second);
    log.logMessage(u"b"_s);
    EXPECT_EQ(fileContents(first), "old line\r\n2026-12-10 14:05:09 a\r\n");
    EXPECT_EQ(fileContents(second), "2026-12-10 14:05:09 b\r\n");
}

TEST_F(ActivityLogTest, ALineThatCannotBeWrittenGoesNowhere)
{
    settings.setText(settings::LogFile, profile.path(u"no/such/folder/x.log"_s));
    log.logMessage(u"lost"_s);
    EXPECT_TRUE(sink.lines.isEmpty());
    EXPECT_FALSE(QDir(profile.path(u"no"_s)).exists());

    if (::geteuid() != 0) { // root may write anywhere
        const QString readOnly = profile.path(u"ro.log"_s);
        QFile file(readOnly);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        ::chmod(QFile::encodeName(readOnly).constData(), 0444);
        settings.setText(settings::LogFile, readOnly);
        log.logMessage(u"lost too"_s);
        EXPECT_TRUE(sink.lines.isEmpty());
    }
    settings.setText(settings::LogFile, profile.path(u"ok.log"_s));
    log.logMessage(u"next tries again"_s);
    EXPECT_EQ(sink.lines.size(), 1);
}

TEST(LongTimeFormat, HasSecondsAndNoZone)
{
    const QTime time(14, 5, 9);
    EXPECT_EQ(DateTimeText::longTime(time, QLocale(QLocale::C)), u"14:05:09"_s);
    EXPECT_EQ(DateTimeText::longTime(time, QLocale(u"en_US"_s)), u"2:05:09\u202fPM"_s.replace(u'\u202f', u' '))
        << DateTimeText::longTimeFormat(QLocale(u"en_US"_s)).toStdString();
    EXPECT_EQ(DateTimeText::longTime(time, QLocale(u"de_DE"_s)), u"14:05:09"_s);
    EXPECT_EQ(DateTimeText::date(QDate(1997, 6, 12)), u"1997-06-12"_s);
}

TEST(LogCategoriesTest, SnapshotOfTheSixSwitches)
{
    TempProfile profile;
    Registry registry;
    Settings settings(registry);
    LogCategories defaults = LogCategories::load(settings);
    EXPECT_TRUE(defaults.jobStarts && defaults.jobEnds);
    EXPECT_FALSE(defaults.jobPrestarts || defaults.jobListChanges || defaults.emails || defaults.debugInfo);
    settings.setBoolean(settings::LogDebugInfo, true);
    settings.setBoolean(settings::LogJobStarts, false);
    EXPECT_FALSE(defaults.debugInfo); // a snapshot until reloaded
    const LogCategories reloaded = LogCategories::load(settings);
    EXPECT_TRUE(reloaded.debugInfo);
    EXPECT_FALSE(reloaded.jobStarts);
}

} // namespace
