// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "log/activitylog.h"
#include "log/logpurge.h"
#include "platform/registry.h"
#include "store/settings.h"
#include "support/fakeclock.h"
#include "support/tempprofile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class LogPurgeTest : public ::testing::Test
{
protected:
    TempProfile profile;
    Registry registry;
    Settings settings{registry};
    FakeClock clock{QDateTime(QDate(2026, 12, 10), QTime(0, 0, 1))};
    ActivityLog log{settings, clock};
    LogPurge purge{settings, log, clock};
    QString logFile = profile.path(u"logs/voltrane.log"_s);
    QStringList statuses;
    int reloads = 0;
    LogPurge::Feedback feedback{[this](const QString &s) { statuses << s; }, {}, [this] { ++reloads; }};

    void SetUp() override
    {
        QDir().mkpath(profile.path(u"logs"_s));
        settings.setText(settings::LogFile, logFile);
        log.setLocale(QLocale(QLocale::C));
    }
    void writeLog(const QByteArray &bytes)
    {
        QFile f(logFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    static QByteArray line(int daysAgo, const QByteArray &text)
    {
        return QDate(2026, 12, 10).addDays(-daysAgo).toString(u"yyyy-MM-dd"_s).toLatin1() + " 10:00:00 " + text + "\r\n";
    }
};

TEST_F(LogPurgeTest, DropsLinesOlderThanTheDaysToKeepAndBacksUpTheWholeLog)
{
    QByteArray old;
    for (int d = 9; d >= 0; --d)
        old += line(d, "day " + QByteArray::number(d));
    old += "no date on this line\r\n";
    writeLog(old);

    const LogPurge::Result r = purge.purge(feedback);
    EXPECT_TRUE(r.done);
    EXPECT_EQ(r.purged, 2); // 9 and 8 days ago; 7 days ago is kept
    EXPECT_EQ(r.kept, 8);
    EXPECT_EQ(read(LogPurge::backupPath(logFile)), old);
    QByteArray expected;
    for (int d = 7; d >= 0; --d)
        expected += line(d, "day " + QByteArray::number(d));
    expected += "no date on this line\r\n";
    expected += "2026-12-10 00:00:01 Log purge: 2 log records purged, 8 records kept.\r\n";
    EXPECT_EQ(read(logFile), expected);
    EXPECT_EQ(reloads, 1);
    EXPECT_EQ(statuses.first(), u"please wait, cleaning the log..."_s);
    EXPECT_EQ(statuses.last(), u"scanning log message #11"_s);
    EXPECT_EQ(LogPurge::backupPath(logFile), profile.path(u"logs/voltrane.bak"_s));
}

TEST_F(LogPurgeTest, ZeroDaysKeepsTodayOnlyAndLongLinesStayWhole)
{
    settings.setInteger(settings::DaysToKeepInLog, 0);
    const QByteArray longText(300, 'x');
    writeLog(line(1, "yesterday") + line(0, longText));
    const LogPurge::Result r = purge.purge(feedback);
    EXPECT_EQ(r.purged, 1);
    EXPECT_TRUE(read(logFile).startsWith(line(0, longText)));
}

TEST_F(LogPurgeTest, NothingOldMeansNoReloadAndNoLogMeansAnEmptyBackup)
{
    const QByteArray recent = line(0, "fresh");
    writeLog(recent);
    EXPECT_EQ(purge.purge(feedback).purged, 0);
    EXPECT_EQ(reloads, 0);
    EXPECT_TRUE(read(logFile).endsWith("Log purge: 0 log records purged, 1 records kept.\r\n"));

    QFile::remove(logFile);
    EXPECT_TRUE(purge.purge(feedback).done);
    EXPECT_EQ(read(LogPurge::backupPath(logFile)), QByteArray());
    EXPECT_EQ(read(logFile), "2026-12-10 00:00:01 Log purge: 0 log records purged, 0 records kept.\r\n");
    EXPECT_EQ(QFileInfo(LogPurge::backupPath(logFile)).permissions() & 0x0FFF /* user, group, other */,
        QFile::ReadUser | QFile::WriteUser);
}

TEST_F(LogPurgeTest, ABackupThatCannotBeMadeLeavesTheLogAsItWas)
{
    const QByteArray old = line(30, "old") + line(0, "new");
    writeLog(old);
    QDir().mkpath(LogPurge::backupPath(logFile)); // a folder where the backup should go
    const LogPurge::Result r = purge.purge(feedback);
    EXPECT_FALSE(r.done);
    const QByteArray now = read(logFile);
    EXPECT_TRUE(now.startsWith(old));
    EXPECT_TRUE(now.contains("Log purge: the backup "));
    EXPECT_TRUE(now.contains("the log is left as it is."));
}

TEST_F(LogPurgeTest, CountsDoNotWrapAt65536)
{
    QByteArray many;
    const QByteArray oldLine = line(20, "old");
    many.reserve(oldLine.size() * 70000);
    for (int i = 0; i < 70000; ++i)
        many += oldLine;
    writeLog(many);
    EXPECT_EQ(purge.purge(feedback).purged, 70000);
    EXPECT_TRUE(read(logFile).endsWith("Log purge: 70000 log records purged, 0 records kept.\r\n"));
}

} // namespace
