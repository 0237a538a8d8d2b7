// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "../mail/peer.h"
#include "platform/registry.h"
#include "store/jobstore.h"
#include "store/settings.h"
#include "support/files.h"
#include "support/tempprofile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Runs at the first tick: "1 minute after start-up".
void startupJob(JobStore &store, const QString &job, int type)
{
    store.writeString(job, u"sJobName"_s, job);
    store.writeInteger(job, u"iJobType"_s, type);
    store.writeInteger(job, u"iFrequency"_s, 1);
    store.writeInteger(job, u"iCustomTimeType"_s, 4);
    store.writeInteger(job, u"iCustomTimeHourMin"_s, 1);
}

bool ended(const QString &job)
{
    Registry registry;
    return JobStore(registry).readString(job, u"sLastEndDate"_s).size() == 10;
}

class VoltranedMail : public ::testing::Test
{
protected:
    TempProfile profile;
    QString log = profile.path(u"voltrane.log"_s);

    void settings(const std::function<void(Settings &)> &more)
    {
        Registry registry;
        Settings s(registry);
        s.setText(settings::LogFile, log);
        s.setBoolean(settings::LogEmails, true);
        s.setBoolean(settings::LogDebugInfo, true);
        more(s);
    }
    QStringList logLines() const
    {
        QStringList lines = QString::fromUtf8(readFile(log)).split(u"\r\n"_s, Qt::SkipEmptyParts);
        for (QString &l : lines)
            l = l.mid(20);
        return lines;
    }
    // `also`: what must hold besides the ends (a run's end is recorded before its end
    // notifications are sent).
    void runDaemonUntil(const QStringList &jobs, const std::function<bool()> &also = {})
    {
        QProcess daemon;
        daemon.start(QStringLiteral(VOLTRANED), {});
        ASSERT_TRUE(daemon.waitForStarted());
        for (const QString &job : jobs)
            EXPECT_TRUE(waitFor([&] { return ended(job); })) << job.toStdString();
        if (also) {
            EXPECT_TRUE(waitFor(also));
        }
        daemon.terminate();
        EXPECT_TRUE(daemon.waitForFinished(10000));
    }
};

TEST_F(VoltranedMail, AnEmailJobAndNotificationsArriveBySmtp)
{
    QDir().mkpath(profile.path(u"in"_s));
    Peer peer(u"smtp_server.py"_s, {profile.path(u"in"_s), u"--refuse"_s, u"nobody@example.org"_s});
    ASSERT_NE(peer.port(), 0);
    const QString bin = profile.path(u"data.bin"_s);
    const QString text = profile.path(u"notes.txt"_s);
    QByteArray bytes;
    for (int i = 0; i < 70000; ++i)
        bytes += char((i * 131) ^ (i >> 8));
    writeFile(bin, bytes);
    writeFile(text, "first line\nsecond line\r\n\nlast");
    settings([&](Settings &s) {
        s.setText(settings::SMTPServer, peer.server());
        s.setText(settings::SMTPUserAddress, u"halvorn@example.org"_s);
    });
    {
        Registry registry;
        JobStore store(registry);
        startupJob(store, u"Mail"_s, 6);
        store.writeString(u"Mail"_s, u"sEmailSubject"_s, u"Nightly report"_s);
        store.writeString(u"Mail"_s, u"sEMailText"_s, u"See the files."_s);
        store.writeString(u"Mail"_s, u"sEmailRecip0"_s, u"a@example.org"_s);
        store.writeString(u"Mail"_s, u"sEmailRecip2"_s, u"b@example.org"_s);
        store.writeString(u"Mail"_s, u"sEmailRecip5"_s, u"c@example.org"_s);
        store.writeString(u"Mail"_s, u"sEmailFile0"_s, bin);
        store.writeString(u"Mail"_s, u"sEmailFile3"_s, text);
    }
    runDaemonUntil({u"Mail"_s});
    const QStringList lines = logLines();
    EXPECT_TRUE(lines.contains(u"Email job: Mail (successful)"_s)) << lines.join(u'\n').toStdString();
    EXPECT_EQ(readFile(profile.path(u"in/1.env"_s)),
        "halvorn@example.org\na@example.org\nb@example.org\nc@example.org\n");
    EXPECT_FALSE(QFile::exists(profile.path(u"in/2.eml"_s)));
    int status = -1;
    QProcess judge;
    judge.start(u"/usr/bin/python3"_s, {QStringLiteral(MAIL_TEST_DIR "/judge_mail.py"),
        profile.path(u"in/1.eml"_s), u"See the files."_s, bin, text});
    ASSERT_TRUE(judge.waitForFinished(60000));
    status = judge.exitCode();
    EXPECT_EQ(status, 0) << judge.readAllStandardOutput().toStdString();
    Registry registry;
    EXPECT_TRUE(JobStore(registry).readBoolean(u"Mail"_s, u"bLastStartStatus"_s, false));
}

TEST_F(VoltranedMail, NotificationsAndARefusedRecipient)
{
    QDir().mkpath(profile.path(u"in"_s));
    Peer peer(u"smtp_server.py"_s, {profile.path(u"in"_s), u"--refuse"_s, u"nobody@example.org"_s});
    ASSERT_NE(peer.port(), 0);
    settings([&](Settings &s) {
        s.setText(settings::SMTPServer, peer.server());
        s.setText(settings::SMTPUserAddress, u"halvorn@example.org"_s);
    });
    {
        Registry registry;
        JobStore store(registry);
        startupJob(store, u"Prog"_s, 0);
        store.writeString(u"Prog"_s, u"sProgram"_s, u"/bin/sh"_s);
        store.writeString(u"Prog"_s, u"sCommand Line"_s, u"-c 'exit 3'"_s);
        store.writeBoolean(u"Prog"_s, u"bUseErrLevel"_s, true);
        store.writeBoolean(u"Prog"_s, u"bNotifyCode"_s, true);
        store.writeInteger(u"Prog"_s, u"iNotifyType"_s, 1);
        store.writeInteger(u"Prog"_s, u"iNotifyStart"_s, 0);
        store.writeInteger(u"Prog"_s, u"iNotifyEnd"_s, 1);
        store.writeString(u"Prog"_s, u"sNotifyRecip0"_s, u"ops@example.org"_s);
        store.writeString(u"Prog"_s, u"sNotifyRecip1"_s, u"boss@example.org"_s);
        startupJob(store, u"Refused"_s, 6);
        store.writeString(u"Refused"_s, u"sEmailRecip0"_s, u"nobody@example.org"_s);
    }
    runDaemonUntil({u"Prog"_s, u"Refused"_s}, [&] {
        return logLines().count(u"Auto SMTP email sent to: boss@example.org (successful)"_s) == 2;
    });
    const QStringList lines = logLines();
    const std::string all = lines.join(u'\n').toStdString();
    EXPECT_EQ(lines.count(u"Auto SMTP email sent to: ops@example.org (successful)"_s), 2) << all;
    EXPECT_EQ(lines.count(u"Auto SMTP email sent to: boss@example.org (successful)"_s), 2) << all;
    EXPECT_TRUE(lines.contains(u"Email job: Refused (failed)"_s)) << all;
    Registry registry;
    JobStore store(registry);
    EXPECT_FALSE(store.readBoolean(u"Refused"_s, u"bLastStartStatus"_s, true));
    EXPECT_FALSE(store.readBoolean(u"Prog"_s, u"bLastStartStatus"_s, true));
    // Four notifications, each to its own recipient, with the default subject.
    QByteArray bodies;
    for (int i = 1; i <= 4; ++i) {
        const QByteArray eml = readFile(profile.path(u"in/%1.eml"_s.arg(i)));
        EXPECT_TRUE(eml.contains("Subject:  Quennet System Information")) << i;
        bodies += eml;
    }
    EXPECT_EQ(bodies.count(" Job: Prog started status: successful "), 2);
    EXPECT_EQ(bodies.count(" Job: Prog ended status: failed "), 2);
    EXPECT_FALSE(QFile::exists(profile.path(u"in/5.eml"_s)));
}

TEST_F(VoltranedMail, StartTlsWithSignInFromTheSettings)
{
    // Our own CA and a certificate for localhost that it signed.
    const QString d = profile.path(u"certs"_s);
    QDir().mkpath(d);
    writeFile(d + u"/ext.cnf"_s, "subjectAltName=DNS:localhost,IP:127.0.0.1\nbasicConstraints=CA:FALSE\n");
    QProcess openssl;
    openssl.setWorkingDirectory(d);
    openssl.start(u"/bin/sh"_s, {u"-c"_s,
        u"set -e; E='-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes';"
        " openssl req -x509 $E -keyout ca.key -out ca.pem -days 2 -subj '/CN=Halvorn test CA'"
        " -addext basicConstraints=critical,CA:TRUE -addext keyUsage=keyCertSign,cRLSign;"
        " openssl req $E -keyout server.key -out server.csr -subj /CN=localhost;"
        " openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial"
        " -out server.pem -days 2 -extfile ext.cnf"_s});
    ASSERT_TRUE(openssl.waitForFinished(60000));
    ASSERT_EQ(openssl.exitCode(), 0) << openssl.readAllStandardError().toStdString();

    QDir().mkpath(profile.path(u"in"_s));
    Peer peer(u"smtp_server.py"_s, {profile.path(u"in"_s), u"--starttls"_s, d + u"/server.pem"_s,
        d + u"/server.key"_s, u"--auth"_s, u"me"_s, u"s3cret"_s});
    ASSERT_NE(peer.port(), 0);
    settings([&](Settings &s) {
        s.setText(settings::SMTPServer, u"localhost:"_s + QString::number(peer.port()));
        s.setBoolean(settings::UseUserId, true);
        s.setText(settings::UserId, u"me@example.org"_s);
        s.setInteger(settings::SMTPSecurity, 1);
        s.setText(settings::SMTPAuthUser, u"me"_s);
        s.setText(settings::SMTPAuthPassword, u"s3cret"_s);
        s.setText(settings::SMTPCAFile, d + u"/ca.pem"_s);
    });
    {
        Registry registry;
        JobStore store(registry);
        startupJob(store, u"Secure"_s, 6);
        store.writeString(u"Secure"_s, u"sEMailText"_s, u"over TLS"_s);
        store.writeString(u"Secure"_s, u"sEmailRecip0"_s, u"ops@example.org"_s);
    }
    runDaemonUntil({u"Secure"_s});
    EXPECT_EQ(readFile(profile.path(u"in/1.env"_s)), "me@example.org\nops@example.org\n");
    Registry registry;
    EXPECT_TRUE(JobStore(registry).readBoolean(u"Secure"_s, u"bLastStartStatus"_s, false))
        << logLines().join(u'\n').toStdString();
}

TEST_F(VoltranedMail, TheSystemMailProgramAndItsAbsence)
{
    const QString script = profile.path(u"sendmail"_s);
    writeFile(script, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + profile.path(u"args"_s).toUtf8()
        + "'\ncat > '" + profile.path(u"input"_s).toUtf8() + "'\nexit 0\n");
    QFile(script).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    settings([&](Settings &s) { s.setText(settings::SendmailCommand, script + u" -t -oi"_s); });
    {
        Registry registry;
        JobStore store(registry);
        startupJob(store, u"Sys"_s, 6);
        store.writeBoolean(u"Sys"_s, u"bEmailSMTP"_s, false);
        store.writeString(u"Sys"_s, u"sEmailSubject"_s, u"Hello"_s);
        store.writeString(u"Sys"_s, u"sEMailText"_s, u"Body text"_s);
        store.writeString(u"Sys"_s, u"sEmailRecip1"_s, u"[SMTP:a@example.org]"_s);
        startupJob(store, u"NoRecipient"_s, 6);
        store.writeBoolean(u"NoRecipient"_s, u"bEmailSMTP"_s, false);
    }
    runDaemonUntil({u"Sys"_s, u"NoRecipient"_s});
    const QByteArray input = readFile(profile.path(u"input"_s));
    EXPECT_TRUE(input.contains("To:       <a@example.org>\n")) << input.toStdString();
    EXPECT_TRUE(input.contains("Subject:  Hello\n"));
    EXPECT_TRUE(input.contains("\nBody text\n"));
    EXPECT_FALSE(input.contains("From:"));
    QStringList lines = logLines();
    EXPECT_TRUE(lines.contains(u"Email job: Sys (successful)"_s));
    EXPECT_TRUE(lines.contains(u"Email job: NoRecipient (failed)"_s));

    // Without the program: the mail error is caught and the run fails.
    settings([&](Settings &s) { s.setText(settings::SendmailCommand, profile.path(u"gone"_s)); });
    {
        Registry registry;
        JobStore store(registry);
        store.writeString(u"Sys"_s, u"sLastEndDate"_s, QString());
    }
    runDaemonUntil({u"Sys"_s});
    lines = logLines();
    EXPECT_TRUE(lines.contains(u"Debug, job: Sys email failed: MAPI services are not available on this system"_s))
        << lines.join(u'\n').toStdString();
    Registry registry;
    EXPECT_FALSE(JobStore(registry).readBoolean(u"Sys"_s, u"bLastStartStatus"_s, true));
}

TEST_F(VoltranedMail, MsmtpAsTheSystemMailProgramDeliversIntoAnSmtpServer)
{
    if (!QFile::exists(u"/usr/bin/msmtp"_s))
        GTEST_SKIP() << "msmtp is not installed";
    QDir().mkpath(profile.path(u"in"_s));
    Peer peer(u"smtp_server.py"_s, {profile.path(u"in"_s)});
    ASSERT_NE(peer.port(), 0);
    const QString config = profile.path(u"msmtprc"_s);
    writeFile(config, "");
    QFile(config).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    const QString text = profile.path(u"notes.txt"_s);
    writeFile(text, "one\ntwo\n");
    settings([&](Settings &s) {
        s.setText(settings::SendmailCommand, u"/usr/bin/msmtp --file="_s + config
            + u" --host=127.0.0.1 --port="_s + QString::number(peer.port())
            + u" --auth=off --tls=off --from=system@example.org -t"_s);
    });
    {
        Registry registry;
        JobStore store(registry);
        startupJob(store, u"ViaMsmtp"_s, 6);
        store.writeBoolean(u"ViaMsmtp"_s, u"bEmailSMTP"_s, false);
        store.writeString(u"ViaMsmtp"_s, u"sEmailSubject"_s, u"Through msmtp"_s);
        store.writeString(u"ViaMsmtp"_s, u"sEMailText"_s, u"Body text"_s);
        store.writeString(u"ViaMsmtp"_s, u"sEmailRecip0"_s, u"a@example.org"_s);
        store.writeString(u"ViaMsmtp"_s, u"sEmailRecip2"_s, u"[SMTP:b@example.org]"_s);
        store.writeString(u"ViaMsmtp"_s, u"sEmailFile0"_s, text);
    }
    runDaemonUntil({u"ViaMsmtp"_s});
    Registry registry;
    EXPECT_TRUE(JobStore(registry).readBoolean(u"ViaMsmtp"_s, u"bLastStartStatus"_s, false))
        << logLines().join(u'\n').toStdString();
    EXPECT_EQ(readFile(profile.path(u"in/1.env"_s)), "system@example.org\na@example.org\nb@example.org\n");
    QProcess judge;
    judge.start(u"/usr/bin/python3"_s, {QStringLiteral(MAIL_TEST_DIR "/judge_mail.py"),
        profile.path(u"in/1.eml"_s), u"Body text"_s, text});
    ASSERT_TRUE(judge.waitForFinished(60000));
    EXPECT_EQ(judge.exitCode(), 0) << judge.readAllStandardOutput().toStdString();
}

} // namespace
