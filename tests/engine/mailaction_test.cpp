// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/engine.h"
#include "engine/mailactions.h"
#include "log/activitylog.h"
#include "mail/mailerror.h"
#include "mail/temail.h"
#include "platform/registry.h"
#include "store/jobstore.h"
#include "store/settings.h"
#include "support/schedulerfixture.h"
#include "support/fakeclock.h"
#include "support/fakeprocesslauncher.h"
#include "support/recordinghost.h"
#include "support/tempprofile.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QDateTime at(int h, int m, int s) { return QDateTime(QDate(2026, 12, 10), QTime(h, m, s)); }

// Records every send; a recipient in `failing` makes the send fail, by a false result or an
// exception as `throwing` says.
struct FakeSender : MailSender
{
    struct Sent
    {
        QString kind;
        QStringList recipients;
        QString subject;
        QString text;
        QStringList attachments;
        SmtpProfile profile;
    };
    QList<Sent> sent;
    QStringList failing;
    bool throwing = true;
    // These fail without an exception, whatever `throwing` says.
    QStringList quiet;
    int systemResult = 0;
    std::function<void()> meanwhile;

    bool outcome(const QString &recipient)
    {
        if (meanwhile)
            meanwhile();
        if (!failing.contains(recipient))
            return true;
        if (throwing && !quiet.contains(recipient))
            throw EMailError(u"550 no such user\r\nJob: forged line"_s);
        return false;
    }
    bool sendJobMail(const SmtpProfile &profile, const QString &subject, const QStringList &body,
        const QStringList &recipients, const QStringList &attachments) override
    {
        sent.append({u"job"_s, recipients, subject, body.join(u'\n'), attachments, profile});
        return outcome(recipients.value(0));
    }
    bool sendQuickMail(const SmtpProfile &profile, const QString &recipient, const QString &text) override
    {
        sent.append({u"quick"_s, {recipient}, profile.subject, text, {}, profile});
        return outcome(recipient);
    }
    int sendSystemMail(TEmail &email) override
    {
        sent.append({u"system"_s, email.Recipient, email.Subject, email.Text, email.Attachment, {}});
        if (failing.contains(email.Recipient.value(0)) && throwing && !quiet.contains(email.Recipient.value(0)))
            throw EMAPIunavailable();
        return failing.contains(email.Recipient.value(0)) ? systemResult : 0;
    }
};

class MailActionTest : public EngineFixture
{
protected:
    MailActionTest() : EngineFixture(at(9, 59, 59)) {}

    FakeSender sender;

    void SetUp() override
    {
        EngineFixture::SetUp();
        settings.setBoolean(settings::LogEmails, true);
        settings.setBoolean(settings::LogDebugInfo, true);
    }
    void start()
    {
        startEngine(Engine::StartOfDayKind::StartUp,
            [](const QString &) { return std::optional<qint64>(qint64(1) << 30); });
        engine->mail().setSender(&sender);
    }
    void job(const QString &name, int type, std::initializer_list<std::pair<QString, QString>> values)
    {
        store.writeString(name, u"sJobName"_s, name);
        store.writeInteger(name, u"iJobType"_s, type);
        store.writeInteger(name, u"iFrequency"_s, 1);
        store.writeInteger(name, u"iHour"_s, 10);
        if (type == 0)
            store.writeString(name, u"sProgram"_s, u"/bin/prog"_s);
        for (const auto &[key, value] : values)
            store.writeString(name, key, value);
    }
    int detachedStarts(const QString &program)
    {
        int n = 0;
        for (const auto &p : launcher.processes())
            n += p.detached && p.request.arguments.value(0) == program;
        return n;
    }
    const QueueEntry &entry(const QString &name) { return engine->queue()[engine->find(name)]; }
};

TEST_F(MailActionTest, AnSmtpEmailJobSendsToEveryRecipientSlotWithTheProfileFromTheSettings)
{
    settings.setText(settings::SMTPServer, u"mail.example:2525"_s);
    settings.setBoolean(settings::UseUserId, true);
    settings.setText(settings::UserId, u"ops@example.org"_s);
    settings.setText(settings::SMTPUserAddress, u"unused@example.org"_s);
    settings.setInteger(settings::SMTPSecurity, 1);
    settings.setText(settings::SMTPAuthUser, u"ops"_s);
    settings.setText(settings::SMTPAuthPassword, u"secret"_s);
    job(u"Mail"_s, 6, {{u"sEmailSubject"_s, u"Report"_s}, {u"sEMailText"_s, u"line 1\nline 2"_s},
        {u"sEmailRecip0"_s, u"a@x"_s}, {u"sEmailRecip2"_s, u"b@x"_s}, {u"sEmailRecip5"_s, u"c@x"_s},
        {u"sEmailFile1"_s, u"/tmp/f1"_s}, {u"sEmailFile255"_s, u"/tmp/f2"_s},
        {u"iPostSuccessCode"_s, u"2"_s}, {u"sPostSuccessFile"_s, u"/bin/after"_s}});
    start();
    runUntil(at(10, 0, 1));

    ASSERT_EQ(sender.sent.size(), 1);
    const auto &s = sender.sent[0];
    EXPECT_EQ(s.recipients, QStringList({u"a@x"_s, u"b@x"_s, u"c@x"_s}));
    EXPECT_EQ(s.attachments, QStringList({u"/tmp/f1"_s, u"/tmp/f2"_s}));
    EXPECT_EQ(s.subject, u"Report"_s);
    EXPECT_EQ(s.text, u"line 1\nline 2"_s);
    EXPECT_EQ(s.profile.server, u"mail.example:2525"_s);
    EXPECT_EQ(s.profile.sender, u"ops@example.org"_s);
    EXPECT_EQ(s.profile.security, 1);
    EXPECT_EQ(s.profile.authUser, u"ops"_s);
    EXPECT_EQ(s.profile.authPassword, u"secret"_s);
    EXPECT_EQ(s.profile.subject, u"Quennet System Information"_s);
    EXPECT_TRUE(s.profile.standardHeaders);

    const QStringList lines = logLines();
    EXPECT_TRUE(lines.contains(u"Debug, job: Mail email: SMTP - recipients: 3 attached files: 2 successful!"_s));
    EXPECT_TRUE(lines.contains(u"Email job: Mail (successful)"_s));
    EXPECT_TRUE(store.readBoolean(u"Mail"_s, u"bLastStartStatus"_s, false));
    EXPECT_EQ(entry(u"Mail"_s).runState, QueueEntry::Complete);
    EXPECT_EQ(detachedStarts(u"/bin/after"_s), 1);
    EXPECT_EQ(host.busyCalls, QList<bool>({true, false}));

    settings.setBoolean(settings::UseUserId, false);
    EXPECT_EQ(engine->mail().profile().sender, u"unused@example.org"_s);
}

// Keys whose sJobName differs from them: the mail is read from the key, and the mail and
// its lines name the job.
TEST_F(MailActionTest, MailsNameTheJobNotItsKey)
{
    job(u"nightly"_s, 0, {{u"sJobName"_s, u"Nightly backup"_s}, {u"bNotifyCode"_s, u"1"_s},
        {u"iNotifyType"_s, u"1"_s}, {u"iNotifyStart"_s, u"0"_s}, {u"sNotifyRecip0"_s, u"ops@x"_s}});
    job(u"weekly"_s, 6, {{u"sJobName"_s, u"Weekly report"_s}, {u"sEmailRecip0"_s, u"boss@x"_s}});
    start();
    runUntil(at(10, 0, 1));

    ASSERT_EQ(sender.sent.size(), 2);
    for (const auto &s : sender.sent) {
        if (s.kind == u"quick")
            EXPECT_TRUE(s.text.endsWith(u" Job: Nightly backup started status: successful "_s)) << s.text.toStdString();
        else
            EXPECT_EQ(s.recipients, QStringList(u"boss@x"_s));
    }
    const QStringList lines = logLines();
    EXPECT_TRUE(lines.contains(u"Email job: Weekly report (successful)"_s));
    for (const QString &line : lines)
        EXPECT_FALSE(line.contains(u"nightly"_s) || line.contains(u"weekly"_s)) << line.toStdString();
    for (const QString &key : {u"nightly"_s, u"weekly"_s})
        EXPECT_FALSE(store.readString(key, u"sLastStartDate"_s).isEmpty()) << key.toStdString();
}

TEST_F(MailActionTest, EveryFailedEmailJobIsRecordedOnceAsFailedAndNeverLeftActive)
{
    struct Case
    {
        const char *name;
        bool smtp;
        bool throwing;
        bool recipient;
        const char *reason;
    };
    const Case cases[] = {
        {"refused", true, true, true, "550 no such user??Job: forged line"},
        {"false", true, false, true, nullptr},
        {"none", true, false, false, "the e-mail job has no recipient, nothing was sent"},
        {"sysfail", false, false, true, "the mail program's result 2: "},
        {"sysgone", false, true, true, "MAPI services are not available on this system"},
    };
    for (const Case &c : cases) {
        const QString name = QString::fromLatin1(c.name);
        job(name, 6, {{u"bEmailSMTP"_s, c.smtp ? u"1"_s : u"0"_s}, {u"iPostFailCode"_s, u"2"_s},
            {u"sPostFailFile"_s, u"/bin/on-fail-"_s + name}});
        if (c.recipient)
            store.writeString(name, u"sEmailRecip3"_s, u"bad-"_s + name);
        sender.failing << u"bad-"_s + name;
        if (!c.throwing)
            sender.quiet << u"bad-"_s + name;
    }
    sender.systemResult = 2;
    start();
    runUntil(at(10, 0, 0));
    for (const Case &c : cases) {
        const QString name = QString::fromLatin1(c.name);
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(store.readBoolean(name, u"bLastStartStatus"_s, true));
        EXPECT_EQ(entry(name).runState, QueueEntry::Complete);
        EXPECT_EQ(detachedStarts(u"/bin/on-fail-"_s + name), 1);
        const QStringList lines = logLines();
        EXPECT_EQ(lines.count(u"Email job: "_s + name + u" (failed)"_s), 1);
        EXPECT_TRUE(lines.contains(u"Debug, job: "_s + name + u" email: "_s + (c.smtp ? u"SMTP"_s : u"MAPI"_s)
            + u" - recipients: "_s + (c.recipient ? u"1"_s : u"0"_s) + u" attached files: 0 failed!"_s));
        if (c.reason) {
            bool found = false;
            for (const QString &line : lines)
                found = found || line.startsWith(u"Debug, job: "_s + name + u" email failed: "_s + QString::fromUtf8(c.reason));
            EXPECT_TRUE(found);
        }
        for (const QString &line : lines)
            EXPECT_FALSE(line.startsWith(u"Job: forged"_s));
    }
    // The job without a recipient never reached the sender; the throwing one did not stop the walk.
    int none = 0;
    for (const auto &s : sender.sent)
        none += s.recipients.isEmpty();
    EXPECT_EQ(none, 0);
    EXPECT_EQ(sender.sent.size(), 4);
    EXPECT_EQ(host.busyCalls.count(true), 5);
    EXPECT_EQ(host.busyCalls.count(false), 5);
    EXPECT_FALSE(host.busyCalls.last());
}

TEST_F(MailActionTest, NotificationsGoToEachRecipientUpToTheFirstGapBeforeThePostRunAction)
{
    job(u"P"_s, 0, {{u"bNotifyCode"_s, u"1"_s}, {u"iNotifyType"_s, u"1"_s}, {u"iNotifyStart"_s, u"0"_s},
        {u"iNotifyEnd"_s, u"1"_s}, {u"sNotifyRecip0"_s, u"one@x"_s}, {u"sNotifyRecip1"_s, u"two@x"_s},
        {u"sNotifyRecip3"_s, u"never@x"_s}, {u"bUseErrLevel"_s, u"1"_s},
        {u"iPostFailCode"_s, u"2"_s}, {u"sPostFailFile"_s, u"/bin/after"_s}});
    start();
    engine->setSuccessEvaluation([](const QString &, int code) { return std::pair(code == 0, u"exit code 3"_s); });
    sender.failing << u"one@x"_s;
    sender.throwing = false;
    runUntil(at(10, 0, 0));
    ASSERT_EQ(sender.sent.size(), 2);
    EXPECT_EQ(sender.sent[0].recipients, QStringList{u"one@x"_s});
    EXPECT_EQ(sender.sent[1].recipients, QStringList{u"two@x"_s});
    EXPECT_TRUE(sender.sent[0].text.startsWith(u"2026-12-10 "_s));
    EXPECT_TRUE(sender.sent[0].text.endsWith(u" Job: P started status: successful "_s));
    EXPECT_EQ(sender.sent[0].kind, u"quick"_s);

    // The end, a failure: the first recipient's send throws, the second still gets its own.
    sender.throwing = true;
    int afterAtSend = -1;
    sender.meanwhile = [&] { afterAtSend = detachedStarts(u"/bin/after"_s); };
    launcher.finishLast(3);
    engine->tick();
    ASSERT_EQ(sender.sent.size(), 4);
    EXPECT_TRUE(sender.sent[2].text.endsWith(u" Job: P ended status: failed "_s));
    EXPECT_EQ(sender.sent[3].recipients, QStringList{u"two@x"_s});
    EXPECT_EQ(afterAtSend, 0);
    EXPECT_EQ(detachedStarts(u"/bin/after"_s), 1);
    EXPECT_FALSE(store.readBoolean(u"P"_s, u"bLastStartStatus"_s, true));
    EXPECT_EQ(entry(u"P"_s).runState, QueueEntry::Complete);

    const QStringList lines = logLines();
    EXPECT_EQ(lines.count(u"Auto SMTP email sent to: one@x (failed)"_s), 2);
    EXPECT_EQ(lines.count(u"Auto SMTP email sent to: two@x (successful)"_s), 2);
    EXPECT_EQ(lines.count(u"Job: P failed, exit code 3"_s), 1);
    EXPECT_TRUE(lines.contains(u"Debug, SMTP notification to one@x failed: 550 no such user??Job: forged line"_s));
}

TEST_F(MailActionTest, NotificationCriteriaChooseByStartAndOutcome)
{
    // iNotifyStart 1 with a program that starts: nothing; iNotifyEnd -1: nothing at the end.
    job(u"Quiet"_s, 0, {{u"bNotifyCode"_s, u"1"_s}, {u"iNotifyType"_s, u"1"_s}, {u"iNotifyStart"_s, u"1"_s},
        {u"iNotifyEnd"_s, u"-1"_s}, {u"sNotifyRecip0"_s, u"q@x"_s}});
    start();
    runUntil(at(10, 0, 0));
    launcher.finishLast(0);
    engine->tick();
    EXPECT_TRUE(sender.sent.isEmpty());

    // A program that cannot start: one message per recipient, by the system mail program.
    job(u"Broken"_s, 0, {{u"bNotifyCode"_s, u"1"_s}, {u"iNotifyType"_s, u"0"_s}, {u"iNotifyStart"_s, u"1"_s},
        {u"sNotifyRecip0"_s, u"a@x"_s}, {u"sNotifyRecip1"_s, u"b@x"_s}, {u"iHour"_s, u"11"_s}});
    store.writeInteger(u"Broken"_s, u"iHour"_s, 11);
    engine->refreshJobList();
    launcher.setStartFailure(u"no such file"_s);
    runUntil(at(11, 0, 0));
    ASSERT_EQ(sender.sent.size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(sender.sent[i].kind, u"system"_s);
        EXPECT_EQ(sender.sent[i].recipients.size(), 1);
        EXPECT_TRUE(sender.sent[i].attachments.isEmpty());
        EXPECT_EQ(sender.sent[i].subject, u"Halvorn automatic job notification"_s);
        EXPECT_TRUE(sender.sent[i].text.endsWith(u" Job: Broken started status: failed "_s));
    }
    EXPECT_TRUE(logLines().contains(u"Auto MAPI email sent to: b@x (successful)"_s));
}

TEST_F(MailActionTest, SystemMailNotificationsCarryNoAttachmentAfterAnEmailJobWithOnes)
{
    job(u"Mail"_s, 6, {{u"bEmailSMTP"_s, u"0"_s}, {u"sEmailRecip0"_s, u"a@x"_s},
        {u"sEmailFile0"_s, u"/tmp/report"_s}});
    start();
    runUntil(at(10, 0, 0));
    engine->mail().SendMAPINotification(u"hello"_s, u"b@x"_s);
    ASSERT_EQ(sender.sent.size(), 2);
    EXPECT_EQ(sender.sent[0].attachments, QStringList{u"/tmp/report"_s});
    EXPECT_EQ(sender.sent[1].recipients, QStringList{u"b@x"_s});
    EXPECT_TRUE(sender.sent[1].attachments.isEmpty());
    EXPECT_TRUE(logLines().contains(u"Email job: Mail (successful)"_s));
}

TEST_F(MailActionTest, ControlCharactersFromOutsideNeverReachTheLogRaw)
{
    EXPECT_EQ(MailActions::printable(u"a\r\nb\x1b[31m\u0085c"_s), u"a??b?[31m?c"_s);
}

} // namespace
