// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/registry.h"
#include "store/jobstore.h"
#include "support/tempprofile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

struct Result
{
    int status;
    QByteArray out;
    QByteArray err;
};

Result run(const char *program, const QStringList &args, const QByteArray &input = QByteArray())
{
    QProcess process;
    process.start(QString::fromUtf8(program), args);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(30000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        process.readAllStandardOutput(), process.readAllStandardError()};
}

const QString job = u"Software\\Tarnwick\\Halvorn\\TimedJobs\\Nightly backup"_s;

TEST(VoltraneReg, SetGetListDeleteAndTheirExitStatus)
{
    TempProfile profile;
    EXPECT_EQ(run(VOLTRANE_REG, {u"set"_s, job, u"sJobName"_s, u"Nightly backup"_s}).status, 0);
    EXPECT_EQ(run(VOLTRANE_REG, {u"set"_s, job, u"iJobType"_s, u"0"_s}).status, 0);
    const Result got = run(VOLTRANE_REG, {u"get"_s, job.toUpper(), u"SJOBNAME"_s});
    EXPECT_EQ(got.status, 0);
    EXPECT_EQ(got.out, "Nightly backup\n");
    EXPECT_EQ(run(VOLTRANE_REG, {u"list"_s, u"Software\\Tarnwick\\Halvorn\\TimedJobs"_s}).out,
        "Nightly backup\\\n");
    EXPECT_EQ(run(VOLTRANE_REG, {u"list"_s, job}).out, "sJobName=Nightly backup\niJobType=0\n");

    const Result missing = run(VOLTRANE_REG, {u"get"_s, job, u"sNothing"_s});
    EXPECT_EQ(missing.status, 1);
    EXPECT_FALSE(missing.err.isEmpty());
    EXPECT_EQ(run(VOLTRANE_REG, {u"delete"_s, job, u"iJobType"_s}).status, 0);
    EXPECT_EQ(run(VOLTRANE_REG, {u"delete"_s, job, u"iJobType"_s}).status, 1);
    EXPECT_EQ(run(VOLTRANE_REG, {u"delete"_s, u"Software"_s}).status, 0);
    EXPECT_EQ(run(VOLTRANE_REG, {u"list"_s, job}).status, 1);

    for (const QStringList &wrong : {QStringList{}, QStringList{u"frobnicate"_s},
             QStringList{u"get"_s, job}, QStringList{u"--bogus"_s, u"list"_s, u"x"_s}}) {
        const Result r = run(VOLTRANE_REG, wrong);
        EXPECT_EQ(r.status, 2) << wrong.join(u' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    const Result help = run(VOLTRANE_REG, {u"--help"_s});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: voltrane-reg"));
}

TEST(VoltraneReg, RefusesTheRootAndEmptyValueNamesAndSaysWhy)
{
    TempProfile profile;
    ASSERT_EQ(run(VOLTRANE_REG, {u"set"_s, job, u"sJobName"_s, u"Nightly backup"_s}).status, 0);
    // What `voltrane-reg delete "$K"` makes of an unset K, and its neighbours.
    for (const QStringList &args : {QStringList{u"delete"_s, QString()},
             QStringList{u"delete"_s, u"\\"_s}, QStringList{u"delete"_s, u"\\\\"_s},
             QStringList{u"set"_s, job, QString(), u"x"_s}, QStringList{u"delete"_s, job, QString()}}) {
        const Result r = run(VOLTRANE_REG, args);
        EXPECT_EQ(r.status, 1) << args.join(u'|').toStdString();
        EXPECT_FALSE(r.err.isEmpty());
    }
    EXPECT_EQ(run(VOLTRANE_REG, {u"get"_s, job, u"sJobName"_s}).out, "Nightly backup\n");
    EXPECT_EQ(run(VOLTRANE_REG, {u"list"_s, job}).out, "sJobName=Nightly backup\n");
}

TEST(VoltraneReg, ExportAndImportRoundTripThroughFilesAndPipes)
{
    TempProfile profile;
    const QString text = u"Zeile eins\r\nZeile zwei – äöü % ="_s;
    ASSERT_EQ(run(VOLTRANE_REG, {u"set"_s, job, u"sEmailText"_s, text}).status, 0);
    const QString file = profile.path(u"jobs.txt"_s);
    ASSERT_EQ(run(VOLTRANE_REG, {u"export"_s, u"Software"_s, file}).status, 0);
    const Result toStdout = run(VOLTRANE_REG, {u"export"_s, u"Software"_s});
    QFile exported(file);
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    EXPECT_EQ(exported.readAll(), toStdout.out);

    ASSERT_EQ(run(VOLTRANE_REG, {u"delete"_s, u"Software"_s}).status, 0);
    ASSERT_EQ(run(VOLTRANE_REG, {u"import"_s}, toStdout.out).status, 0);
    EXPECT_EQ(run(VOLTRANE_REG, {u"get"_s, job, u"sEMailText"_s}).out, (text + u'\n').toUtf8());

    const Result bad = run(VOLTRANE_REG, {u"import"_s, u"-"_s}, "not an export\n");
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.err.contains("line 1"));
}

TEST(VoltraneReg, AJobItCreatesReadsBackThroughTheJobStore)
{
    TempProfile profile;
    const QByteArray file = "Halvorn registry export 1\n"
                            "[Software\\Tarnwick\\Halvorn\\TimedJobs\\Mail report]\n"
                            "sJobName=Mail report\n"
                            "iJobType=6\n"
                            "bHold=0\n"
                            "iHour=0x1F\n"
                            "sEmailText=Hallo,%0D%0A  die Zahlen – 100%25.\n";
    ASSERT_EQ(run(VOLTRANE_REG, {u"import"_s}, file).status, 0);
    ASSERT_EQ(run(VOLTRANE_REG, {u"set"_s, u"Software\\Tarnwick\\Halvorn\\TimedJobs\\Mail report"_s,
                  u"sEmailSubject"_s, u"Zahlen "_s}).status, 0);
    Registry registry;
    JobStore store(registry);
    EXPECT_EQ(store.listJobs(), QStringList{u"Mail report"_s});
    EXPECT_EQ(store.readInteger(u"mail REPORT"_s, u"iJobType"_s, 0), 6);
    EXPECT_EQ(store.readInteger(u"Mail report"_s, u"iHour"_s, 0), 31);
    EXPECT_FALSE(store.readBoolean(u"Mail report"_s, u"bHold"_s, true));
    EXPECT_EQ(store.readString(u"Mail report"_s, u"sEMailText"_s), u"Hallo,\r\n  die Zahlen – 100%."_s);
    EXPECT_EQ(store.readString(u"Mail report"_s, u"sEmailSubject"_s), u"Zahlen "_s);
}

TEST(VoltraneReg, RefusesADamagedRegistryAndLeavesIt)
{
    TempProfile profile;
    QFile file(profile.registryPath());
    QDir().mkpath(profile.path(u"config/halvorn"_s));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("definitely not sqlite");
    file.close();
    const Result r = run(VOLTRANE_REG, {u"set"_s, job, u"sJobName"_s, u"x"_s});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("cannot be used"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "definitely not sqlite");
}

TEST(Voltraned, LogsItsStartAndEndsOnSigterm)
{
    TempProfile profile;
    QProcess daemon;
    daemon.start(QStringLiteral(VOLTRANED), {});
    QByteArray out;
    while (!out.contains("Halvorn startup procedure. There are no jobs today") && daemon.waitForReadyRead(10000))
        out += daemon.readAll();
    EXPECT_TRUE(out.contains("Status: 0 jobs in todays timer queue\n")) << out.constData();
    EXPECT_TRUE(out.contains("Halvorn startup procedure. There are no jobs today")) << out.constData();
    ::kill(pid_t(daemon.processId()), SIGTERM);
    ASSERT_TRUE(daemon.waitForFinished(10000));
    EXPECT_EQ(daemon.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(daemon.exitCode(), 0);
    QFile log(profile.path(u"state/halvorn/voltrane.log"_s));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().endsWith("Halvorn startup procedure. There are no jobs today\r\n"));
}

TEST(Programs, HelpVersionAndUnknownOptionsAsEveryLinuxProgram)
{
    TempProfile profile;
    for (const char *program : {VOLTRANED, VOLTRANE}) {
        // No display: the desktop program must answer before it needs one.
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(u"DISPLAY"_s);
        env.remove(u"WAYLAND_DISPLAY"_s);
        env.remove(u"QT_QPA_PLATFORM"_s);
        auto runBare = [&](const QStringList &args) {
            process.setProcessEnvironment(env);
            process.start(QString::fromUtf8(program), args);
            process.waitForFinished(30000);
            return Result{process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
        };
        const Result help = runBare({u"--help"_s});
        EXPECT_EQ(help.status, 0) << program;
        EXPECT_TRUE(help.out.startsWith("Usage: ")) << help.out.constData();
        const Result version = runBare({u"--version"_s});
        EXPECT_EQ(version.status, 0);
        EXPECT_TRUE(version.out.endsWith(" 1.30.0\n")) << version.out.constData();
    }
    const Result unknown = run(VOLTRANED, {u"--frobnicate"_s});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(unknown.out.isEmpty());
    EXPECT_TRUE(unknown.err.contains("Usage: voltraned")) << unknown.err.constData();
    // Nothing was started: no log, no registry.
    EXPECT_FALSE(QFile::exists(profile.path(u"state/halvorn/voltrane.log"_s)));
}

// A started voltraned and what it printed up to a line that contains `until`.
struct Daemon
{
    QProcess process;
    QByteArray out;
    bool readUntil(const QByteArray &until, int ms = 15000)
    {
        while (!out.contains(until) && process.waitForReadyRead(ms))
            out += process.readAll();
        return out.contains(until);
    }
    void stop()
    {
        ::kill(pid_t(process.processId()), SIGTERM);
        process.waitForFinished(10000);
    }
};

TEST(Voltraned, AJobAnotherProcessAddsStartsWithoutARestart)
{
    TempProfile profile;
    Daemon daemon;
    daemon.process.start(QStringLiteral(VOLTRANED), {});
    ASSERT_TRUE(daemon.readUntil("Halvorn startup procedure"));
    // Due in a few seconds, by hour, minute and second: no dependence on the minute.
    const QDateTime due = QDateTime::currentDateTime().addSecs(3);
    const QString touched = profile.path(u"touched"_s);
    for (const auto &[name, value] : {std::pair{u"sJobName"_s, u"Late"_s}, {u"iFrequency"_s, u"1"_s},
             {u"iHour"_s, QString::number(due.time().hour())}, {u"iMin"_s, QString::number(due.time().minute())},
             {u"iSec"_s, QString::number(std::max(due.time().second(), 1))},
             {u"sProgram"_s, u"/usr/bin/touch"_s}, {u"sCommand Line"_s, touched}})
        ASSERT_EQ(run(VOLTRANE_REG, {u"set"_s, u"Software\\Tarnwick\\Halvorn\\TimedJobs\\Late"_s, name, value}).status, 0);
    EXPECT_TRUE(daemon.readUntil("Job: Late started ok")) << daemon.out.constData();
    daemon.stop();
}

TEST(Voltraned, OutlivesAReaderThatLeftAndReloadsOnSighup)
{
    TempProfile profile;
    Daemon daemon;
    daemon.process.start(QStringLiteral(VOLTRANED), {});
    ASSERT_TRUE(daemon.readUntil("Halvorn startup procedure"));
    daemon.process.closeReadChannel(QProcess::StandardOutput); // as `voltraned | head -n 1`
    // SIGHUP once ended the program; now it reloads.
    ::kill(pid_t(daemon.process.processId()), SIGHUP);
    // A job due today changes the status line, which goes to the closed output.
    for (const auto &[name, value] : {std::pair{u"sJobName"_s, u"Nightly backup"_s}, {u"iFrequency"_s, u"1"_s}})
        ASSERT_EQ(run(VOLTRANE_REG, {u"set"_s, job, name, value}).status, 0);
    QThread::msleep(3000);
    EXPECT_EQ(daemon.process.state(), QProcess::Running);
    daemon.stop();
    EXPECT_EQ(daemon.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(daemon.process.exitCode(), 0);
}

} // namespace
