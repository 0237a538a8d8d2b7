// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "mail/temail.h"

#include "judge.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A stand-in for sendmail: records its arguments and its input, then exits with `status`
// (after `sleep` seconds).
class FakeMailProgram
{
public:
    explicit FakeMailProgram(int status = 0, int sleep = 0)
    {
        m_path = m_dir.filePath(u"sendmail"_s);
        QFile script(m_path);
        script.open(QIODevice::WriteOnly);
        script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + m_dir.filePath(u"args"_s).toUtf8()
            + "'\ncat > '" + m_dir.filePath(u"input"_s).toUtf8() + "'\n"
            + (sleep ? "sleep " + QByteArray::number(sleep) + "\n" : QByteArray())
            + "echo 'refused by policy'\nexit " + QByteArray::number(status) + "\n");
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
    }
    QString command() const { return m_path + u" -t -oi"_s; }
    QByteArray read(const QString &name) const
    {
        QFile f(m_dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString path(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

QByteArray header(const QByteArray &message)
{
    return message.left(message.indexOf("\n\n") + 1);
}

TEST(SystemMail, TheProgramGetsTheWholeMessageWithEveryRecipientInToAndNoFrom)
{
    FakeMailProgram program;
    const QString longText = QString(600, u'x') + u"\n.\nend"_s;
    const QString bin = program.path(u"data.bin"_s);
    QFile f(bin);
    f.open(QIODevice::WriteOnly);
    QByteArray bytes;
    for (int i = 0; i < 3000; ++i)
        bytes += char(i * 7);
    f.write(bytes);
    f.close();

    TEmail mail;
    mail.SendmailCommand = program.command();
    EXPECT_TRUE(mail.MAPIavail());
    mail.Recipient = {u"[SMTP:a@example.org]"_s, u""_s, u"b@example.org"_s,
        u"c" + QString(300, u'c') + u"@example.org"_s};
    mail.Subject = QString(300, u's');
    mail.Text = longText;
    mail.Attachment = {bin};
    EXPECT_EQ(mail.SendMail(), 0) << mail.lastError().toStdString();

    EXPECT_EQ(program.read(u"args"_s), "-t\n-oi\n");
    const QByteArray message = program.read(u"input"_s);
    const QByteArray head = header(message);
    EXPECT_FALSE(head.contains("From:"));
    EXPECT_TRUE(head.contains("To:       <a@example.org>,\n          <b@example.org>,\n          <c"));
    EXPECT_TRUE(head.contains(QByteArray(QByteArray(300, 'c') + "@example.org>")));
    EXPECT_FALSE(head.contains("CC:"));
    EXPECT_TRUE(head.contains(QByteArray("Subject:  " + QByteArray(300, 's'))));

    QFile saved(program.path(u"message.eml"_s));
    saved.open(QIODevice::WriteOnly);
    saved.write(message);
    saved.close();
    int status = -1;
    const QByteArray verdict = runJudge(u"/usr/bin/python3"_s,
        {QStringLiteral(MAIL_TEST_DIR "/judge_mail.py"), saved.fileName(), longText, bin}, {}, &status);
    EXPECT_EQ(status, 0) << verdict.toStdString();
}

TEST(SystemMail, ResultCodesKeepTheirMeaning)
{
    {
        FakeMailProgram program(75);
        TEmail mail;
        mail.SendmailCommand = program.command();
        mail.Recipient = {u"a@example.org"_s};
        EXPECT_EQ(mail.SendMail(), TEmail::Failure);
        EXPECT_TRUE(mail.lastError().contains(u"status 75: refused by policy"_s)) << mail.lastError().toStdString();
    }
    {
        // A missing attachment is found before the program runs.
        FakeMailProgram program;
        TEmail mail;
        mail.SendmailCommand = program.command();
        mail.Recipient = {u"a@example.org"_s};
        mail.Attachment = {program.path(u"missing.txt"_s)};
        EXPECT_EQ(mail.SendMail(), TEmail::AttachmentNotFound);
        EXPECT_TRUE(program.read(u"args"_s).isEmpty());
    }
    {
        // No recipient and no desktop: failure at once, nothing run.
        FakeMailProgram program;
        TEmail mail;
        mail.SendmailCommand = program.command();
        EXPECT_EQ(mail.SendMail(), TEmail::Failure);
        EXPECT_FALSE(mail.composeWindowOpened());
        EXPECT_TRUE(program.read(u"args"_s).isEmpty());
    }
    {
        // An address that would break the header is refused before the program runs.
        FakeMailProgram program;
        TEmail mail;
        mail.SendmailCommand = program.command();
        mail.Recipient = {u"a@example.org\nBcc: evil@example.org"_s};
        EXPECT_THROW(mail.SendMail(), EMailError);
        EXPECT_TRUE(program.read(u"args"_s).isEmpty());
    }
}

TEST(SystemMail, WithoutTheProgramMailIsUnavailable)
{
    TEmail mail;
    for (const QString &command : {u"/nonexistent/sendmail -t"_s, u"no-such-mailer-here"_s, u"/etc/passwd"_s, u""_s}) {
        mail.SendmailCommand = command;
        EXPECT_FALSE(mail.MAPIavail()) << command.toStdString();
        mail.Recipient = {u"a@example.org"_s};
        try {
            mail.SendMail();
            ADD_FAILURE() << "no exception";
        } catch (const EMAPIunavailable &e) {
            EXPECT_EQ(e.message(), u"MAPI services are not available on this system"_s);
        }
    }
}

TEST(SystemMail, AProgramThatHangsIsKilledAfterTheTimeOut)
{
    FakeMailProgram program(0, 30);
    TEmail mail;
    mail.SendmailCommand = program.command();
    mail.TimeOut = 1;
    mail.Recipient = {u"a@example.org"_s};
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(mail.SendMail(), TEmail::Failure);
    EXPECT_LT(timer.elapsed(), 20000);
    EXPECT_TRUE(mail.lastError().contains(u"did not end within 1 seconds"_s));
}

TEST(SystemMail, BracketedEntriesLoseTheirBracketsAndTheSmtpType)
{
    EXPECT_EQ(TEmail::plainAddress(u"[SMTP:joe@example.org]"_s), u"joe@example.org"_s);
    EXPECT_EQ(TEmail::plainAddress(u"[smtp:joe@example.org]"_s), u"joe@example.org"_s);
    EXPECT_EQ(TEmail::plainAddress(u"joe@example.org"_s), u"joe@example.org"_s);
    EXPECT_EQ(TEmail::plainAddress(u"[joe@example.org]"_s), u"joe@example.org"_s);
}

TEST(SystemMail, WithoutARecipientTheDesktopComposeWindowOpensAndNothingCountsAsSent)
{
    FakeMailProgram program;
    // A stand-in xdg-email first on the PATH records what it was asked to open.
    QFile script(program.path(u"xdg-email"_s));
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + program.path(u"compose"_s).toUtf8() + ".tmp'\n"
        "mv '" + program.path(u"compose"_s).toUtf8() + ".tmp' '" + program.path(u"compose"_s).toUtf8() + "'\n");
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", program.path(QString()).toUtf8() + ":" + path);

    TEmail mail;
    mail.SendmailCommand = program.command();
    mail.AllowComposeWindow = true;
    mail.Subject = u"Weekly"_s;
    mail.Text = u"See attached"_s;
    mail.Attachment = {program.path(u"sendmail"_s)};
    EXPECT_EQ(mail.SendMail(), TEmail::UserAbort);
    qputenv("PATH", path);
    EXPECT_TRUE(mail.composeWindowOpened());
    EXPECT_TRUE(mail.lastError().contains(u"compose window was opened"_s));
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(program.path(u"compose"_s)) && timer.elapsed() < 10000)
        QThread::msleep(20);
    EXPECT_EQ(program.read(u"compose"_s), "--subject\nWeekly\n--body\nSee attached\n--attach\n"
        + program.path(u"sendmail"_s).toUtf8() + "\n");
    EXPECT_TRUE(program.read(u"args"_s).isEmpty());
}

TEST(SystemMail, AQuitWhileTheProgramRunsIsNoSuccess)
{
    FakeMailProgram program(0, 30);
    TEmail mail;
    mail.SendmailCommand = program.command();
    mail.Recipient = {u"a@example.org"_s};
    // The program's own quit ends every running event loop, the send's too. The send runs
    // inside the application's loop, as in the program: a quit outside it would stay pending
    // and end the waits of the tests that follow.
    int result = -1;
    QTimer::singleShot(0, [&] { result = mail.SendMail(); });
    QTimer::singleShot(300, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    EXPECT_EQ(result, TEmail::Failure);
    EXPECT_EQ(mail.lastError(), u"Operation has been canceled"_s);
}

} // namespace
