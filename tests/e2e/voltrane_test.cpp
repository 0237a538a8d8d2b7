// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/registry.h"
#include "store/jobstore.h"
#include "store/setting.h"
#include "store/settings.h"
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

TEST(Voltrane, EndsOnSigtermWithoutQuestionsAndSavesItsState)
{
    TempProfile profile;
    {
        Registry registry;
        JobStore store(registry);
        store.writeString(u"Backup"_s, u"sJobName"_s, u"Backup"_s);
        store.writeInteger(u"Backup"_s, u"iFrequency"_s, 1);
        Settings settings(registry);
        settings.setText(settings::InstalledVersion, u"1.30"_s);
        settings.setBoolean(settings::UseClosePassword, true); // a log-out is not stopped by it
    }
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(VOLTRANE), {});
    ASSERT_TRUE(program.waitForStarted());
    const QString logFile = profile.path(u"state/halvorn/voltrane.log"_s);
    ASSERT_TRUE(waitFor([&] { return readFile(logFile).contains("Halvorn startup procedure"); }));

    // A second start asks this one to show its window, and ends.
    QProcess second;
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(VOLTRANE), {});
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().constData();
    EXPECT_EQ(program.state(), QProcess::Running);

    ::kill(pid_t(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(15000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().constData();

    Registry registry;
    Settings settings(registry);
    EXPECT_TRUE(settings.contains(Settings::Section::Config, u"iPosition Width"_s));
    EXPECT_TRUE(settings.contains(Settings::Section::Config, u"iTimedListCol0"_s));
    EXPECT_TRUE(JobStore(registry).jobExists(u"Backup"_s));
}

TEST(Voltrane, SaysSoWhenTheHeadlessSchedulerHoldsTheRegistry)
{
    TempProfile profile;
    QProcess daemon;
    daemon.start(QStringLiteral(VOLTRANED), {});
    ASSERT_TRUE(daemon.waitForStarted());
    ASSERT_TRUE(waitFor([&] {
        return readFile(profile.path(u"state/halvorn/voltrane.log"_s)).contains("Halvorn startup procedure");
    }));

    QProcess desktop;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    desktop.setProcessEnvironment(env);
    desktop.start(QStringLiteral(VOLTRANE), {});
    ASSERT_TRUE(desktop.waitForStarted());
    QByteArray err;
    // Standard error first; the message box then waits for a click nobody gives here.
    EXPECT_TRUE(waitFor([&] {
        desktop.waitForReadyRead(100);
        err += desktop.readAllStandardError();
        return err.contains("voltraned");
    })) << err.constData();
    EXPECT_TRUE(err.contains("systemctl --user stop voltraned"));
    EXPECT_TRUE(err.contains(QByteArray("(process " + QByteArray::number(daemon.processId()) + ")"))) << err.constData();
    desktop.kill();
    desktop.waitForFinished();
    ::kill(pid_t(daemon.processId()), SIGTERM);
    ASSERT_TRUE(daemon.waitForFinished(10000));
}

} // namespace
