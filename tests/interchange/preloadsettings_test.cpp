// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "interchange/preloadsettings.h"
#include "log/activitylog.h"
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

class PreloadSettingsTest : public ::testing::Test
{
protected:
    TempProfile profile;
    Registry registry;
    Settings settings { registry };
    FakeClock clock;
    ActivityLog log { settings, clock };
    QStringList messages;
    PreloadSettings preload { settings, log, [this](const QString &text) { messages << text; } };
    QString folder = profile.path(u"bin"_s);

    void SetUp() override
    {
        QDir().mkpath(folder);
        preload.setProgramFolder(folder);
        log.setLocale(QLocale::c());
    }
    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QStringList linesOf(const QString &path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList lines;
        for (const QString &line :
            QString::fromUtf8(f.readAll()).split(u"\r\n"_s, Qt::SkipEmptyParts))
            lines << line.section(u' ', 2);
        return lines;
    }
    QString config(const QString &name)
    {
        return settings.readString(Setting::Section::Config, name, u"<none>"_s);
    }
};

struct ArgumentsCase
{
    QStringList arguments;
    QString fileName;
};

void PrintTo(const ArgumentsCase &c, std::ostream *os)
{
    *os << c.arguments.join(u' ').toStdString();
}

class PreloadArgumentsTest : public ::testing::TestWithParam<ArgumentsCase>
{
};

TEST_P(PreloadArgumentsTest, NamesTheFileAfterTheSwitch)
{
    EXPECT_EQ(PreloadSettings::fileNameFrom(GetParam().arguments), GetParam().fileName);
}

INSTANTIATE_TEST_SUITE_P(CommandLines, PreloadArgumentsTest,
    ::testing::Values(
        ArgumentsCase { { u"voltraned"_s, u"/LOADFILE"_s, u"pre.ini"_s }, u"pre.ini"_s },
        ArgumentsCase { { u"voltraned"_s, u"/loadfile"_s, u"pre.ini"_s }, u"pre.ini"_s },
        ArgumentsCase {
            { u"voltraned"_s, u"/LoadFile"_s, u"/etc/pre.ini"_s, u"more"_s }, u"/etc/pre.ini"_s },
        ArgumentsCase { { u"voltraned"_s, u"/LOADFILE"_s }, QString() },
        ArgumentsCase { { u"voltraned"_s, u"/LOADFILE"_s, QString() }, QString() },
        ArgumentsCase { { u"voltraned"_s, u"-v"_s, u"/LOADFILE"_s, u"pre.ini"_s }, QString() },
        ArgumentsCase { { u"voltraned"_s }, QString() }));

// Each entry by the first letter of its name, in the same run: the "loaded" line already
// goes to the log file that the pre-load names.
TEST_F(PreloadSettingsTest, CopiesTheConfigEntriesByTheirFirstLetter)
{
    const QString newLog = profile.path(u"new.log"_s);
    writeFile(folder + u"/pre.ini"_s,
        "[Email]\nsSMTPServer=mail.example.org\n"
        "[config]\n"
        "sLogFile="
            + newLog.toUtf8()
            + "\n"
              "iTimerInterval=500\n"
              "iDaysToKeepInLog=soon\n"
              "bLogDebugInfo=7\n"
              "bLogEmails=yes\n"
              "sSystemId=\n"
              "sUnknownEntry=copied all the same\n"
              "SUpperCase=ignored\n"
              "=no name\n"
              "xOther=ignored\n");
    EXPECT_TRUE(preload.run({ u"voltraned"_s, u"/LOADFILE"_s, u"pre.ini"_s }));

    EXPECT_EQ(settings.text(settings::LogFile), newLog);
    EXPECT_EQ(settings.integer(settings::TimerInterval), 500);
    EXPECT_EQ(config(u"iDaysToKeepInLog"_s), u"0"_s);
    EXPECT_EQ(config(u"bLogDebugInfo"_s), u"1"_s);
    EXPECT_EQ(config(u"bLogEmails"_s), u"0"_s);
    EXPECT_EQ(config(u"sSystemId"_s), QString());
    EXPECT_EQ(config(u"sUnknownEntry"_s), u"copied all the same"_s);
    EXPECT_EQ(config(u"SUpperCase"_s), u"<none>"_s);
    EXPECT_EQ(config(u"xOther"_s), u"<none>"_s);
    EXPECT_EQ(settings.text(settings::SMTPServer), QString());
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(linesOf(newLog),
        (QStringList { u"Pre-load: File: "_s + folder + u"/pre.ini loaded. 9 lines"_s,
            u"Pre-load: File: "_s + folder + u"/pre.ini: a value without a name was skipped"_s }));
    EXPECT_TRUE(QFile::exists(folder + u"/pre.ini"_s));
}

TEST_F(PreloadSettingsTest, AMissingFileIsReportedAndChangesNothing)
{
    preload.load(u"absent.ini"_s);
    const QString path = folder + u"/absent.ini"_s;
    EXPECT_EQ(
        messages, QStringList { u"The pre-load file: "_s + path + u" can not be found..."_s });
    EXPECT_EQ(
        linesOf(log.logFilePath()), QStringList { u"Pre-load: File: "_s + path + u" not found"_s });
    EXPECT_TRUE(settings.values(Setting::Section::Config).isEmpty());
}

TEST_F(PreloadSettingsTest, OnlyARegularFileIsRead)
{
    // A FIFO would block the start for good, a device would fill the memory.
    const QString fifo = folder + u"/fifo.ini"_s;
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : {fifo, u"/dev/zero"_s}) {
        preload.load(path);
        EXPECT_TRUE(messages.last().endsWith(u" can not be found..."_s)) << messages.last().toStdString();
    }
    EXPECT_TRUE(settings.values(Setting::Section::Config).isEmpty());
}

TEST_F(PreloadSettingsTest, AnEmptyConfigSectionStillCountsItsLines)
{
    const QString path = profile.path(u"elsewhere/pre.ini"_s);
    QDir().mkpath(profile.path(u"elsewhere"_s));
    writeFile(path, "; nothing\n[Config]\n[Other]\nsLogFile=/nowhere\n");
    preload.load(path);
    EXPECT_EQ(messages, QStringList { u"There is no pre-load data in the file..."_s });
    EXPECT_EQ(linesOf(log.logFilePath()),
        QStringList { u"Pre-load: File: "_s + path + u" loaded. 0 lines"_s });
    EXPECT_TRUE(QFile::exists(path));
}

TEST_F(PreloadSettingsTest, AFileThatAsksForItsDeletionIsDeleted)
{
    const QString path = folder + u"/pre.ini"_s;
    writeFile(
        path, "[Config]\nbDeleteStartupFile=1\nbLoadStartupFile=1\nsStartupFileName=jobs.sav\n");
    preload.load(u"pre.ini"_s);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(settings.boolean(settings::LoadStartupFile));
    EXPECT_EQ(settings.text(settings::StartupFileName), u"jobs.sav"_s);
    EXPECT_EQ(linesOf(log.logFilePath()),
        (QStringList { u"Pre-load: File: "_s + path + u" loaded. 3 lines"_s,
            u"Pre-load: File: "_s + path + u" deleted"_s }));
}

} // namespace
