// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/mailactions.h"

#include "engine/enginehost.h"
#include "log/activitylog.h"
#include "log/logcategories.h"
#include "mail/temail.h"
#include "store/jobstore.h"
#include "store/settings.h"

#include <exception>

using namespace Qt::StringLiterals;

namespace {

// Shows the host busy for as long as a send lasts, also when it throws.
class BusyIndication
{
public:
    explicit BusyIndication(EngineHost &host) : m_host(host) { m_host.setBusy(true); }
    ~BusyIndication() { m_host.setBusy(false); }

private:
    EngineHost &m_host;
};

QString errorText(const std::exception &error) { return QString::fromUtf8(error.what()); }

} // namespace

bool MailSender::sendJobMail(const SmtpProfile &profile, const QString &subject,
    const QStringList &body, const QStringList &recipients, const QStringList &attachments)
{
    return SendJobMail(profile, subject, body, recipients, attachments);
}

bool MailSender::sendQuickMail(const SmtpProfile &profile, const QString &recipient,
    const QString &text)
{
    return SendQuickMail(profile, recipient, text);
}

int MailSender::sendSystemMail(TEmail &email) { return email.SendMail(); }

MailActions::MailActions(JobStore &store, Settings &settings, ActivityLog &log, EngineHost &host,
    const LogCategories &categories, std::function<QString()> now)
    : m_store(store), m_settings(settings), m_log(log), m_host(host), m_categories(categories),
      m_now(std::move(now)), m_sender(&m_realSender)
{
}

MailActions::~MailActions() { delete m_email; }

void MailActions::setSender(MailSender *sender) { m_sender = sender ? sender : &m_realSender; }

TEmail &MailActions::email()
{
    if (!m_email)
        m_email = new TEmail;
    m_email->SendmailCommand = m_settings.text(settings::SendmailCommand);
    m_email->AllowComposeWindow = m_composeAllowed;
    return *m_email;
}

void MailActions::log(const QString &line) { m_log.logMessage(line); }

QString MailActions::printable(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7f && u < 0xa0) || u == 0x2028 || u == 0x2029)
            c = u'?';
    }
    return result;
}

SmtpProfile MailActions::profile()
{
    SmtpProfile p;
    p.server = m_settings.text(settings::SMTPServer);
    p.port = m_settings.integer(settings::SMTPPort);
    p.sender = m_settings.boolean(settings::UseUserId) ? m_settings.text(settings::UserId)
                                                        : m_settings.text(settings::SMTPUserAddress);
    p.subject = m_settings.text(settings::SMTPDefSubject, Settings::Variant::Alternate);
    p.security = m_settings.integer(settings::SMTPSecurity);
    p.authUser = m_settings.text(settings::SMTPAuthUser);
    p.authPassword = m_settings.text(settings::SMTPAuthPassword);
    p.caFile = m_settings.text(settings::SMTPCAFile);
    p.standardHeaders = m_settings.boolean(settings::SMTPStandardHeaders);
    return p;
}

QString MailActions::notificationText(const QString &stamp, const QString &job, bool isStart,
    bool success)
{
    return stamp + u" Job: "_s + job + (isStart ? u" started "_s : u" ended "_s) + u"status:"_s
        + (success ? u" successful "_s : u" failed "_s);
}

bool MailActions::SendEmailJob(const Job &job)
{
    BusyIndication busy(m_host);
    const bool smtp = m_store.readBoolean(job.key, u"bEmailSMTP"_s, true);
    const QString subject = m_store.readString(job.key, u"sEmailSubject"_s);
    const QString text = m_store.readString(job.key, u"sEMailText"_s);
    QStringList recipients;
    QStringList attachments;
    for (int n = 0; n < maxEntries; ++n) {
        const QString recipient
            = m_store.readString(job.key, u"sEmailRecip"_s + QString::number(n));
        if (!recipient.isEmpty())
            recipients << recipient;
        const QString file = m_store.readString(job.key, u"sEmailFile"_s + QString::number(n));
        if (!file.isEmpty())
            attachments << file;
    }

    bool success = false;
    QString reason;
    try {
        if (smtp) {
            if (recipients.isEmpty())
                reason = u"the e-mail job has no recipient, nothing was sent"_s;
            else
                success = m_sender->sendJobMail(profile(), subject, QStringList{text}, recipients,
                    attachments);
        } else {
            TEmail &mail = email();
            mail.Text = text;
            mail.Recipient = recipients;
            mail.CC.clear();
            mail.Bcc.clear();
            mail.Subject = subject;
            mail.Attachment = attachments;
            const int code = m_sender->sendSystemMail(mail);
            success = code == 0;
            if (!success)
                reason = u"the mail program's result %1: %2"_s.arg(code).arg(mail.lastError());
        }
    } catch (const std::exception &error) {
        success = false;
        reason = errorText(error);
    } catch (...) {
        success = false;
        reason = u"unknown error"_s;
    }

    const QString name = printable(job.name);
    if (m_categories.debugInfo) {
        log(u"Debug, job: "_s + name + u" email: "_s + (smtp ? u"SMTP"_s : u"MAPI"_s)
            + u" - recipients: "_s + QString::number(recipients.size()) + u" attached files: "_s
            + QString::number(attachments.size()) + (success ? u" successful!"_s : u" failed!"_s));
        if (!success)
            log(u"Debug, job: "_s + name + u" email failed: "_s + printable(reason));
    }
    if (m_categories.emails)
        log(u"Email job: "_s + name + (success ? u" (successful)"_s : u" (failed)"_s));
    return success;
}

void MailActions::NotifyJob(const Job &job, bool isStart, bool success)
{
    if (!m_store.readBoolean(job.key, u"bNotifyCode"_s, false))
        return;
    const int type = m_store.readInteger(job.key, u"iNotifyType"_s, 0);
    const int when
        = m_store.readInteger(job.key, isStart ? u"iNotifyStart"_s : u"iNotifyEnd"_s, -1);
    if (!((when == 0 && success) || (when == 1 && !success)))
        return;
    const QString message = notificationText(m_now(), job.name, isStart, success);
    for (int n = 0; n < maxEntries; ++n) {
        const QString recipient
            = m_store.readString(job.key, u"sNotifyRecip"_s + QString::number(n));
        if (recipient.isEmpty())
            break;
        if (type == 1)
            SendSMTPNotification(message, recipient);
        else
            SendMAPINotification(message, recipient);
    }
}

bool MailActions::SendSMTPNotification(const QString &message, const QString &recipient)
{
    return notify(u"SMTP"_s, recipient, [&](QString &) {
        return m_sender->sendQuickMail(profile(), recipient, message);
    });
}

bool MailActions::SendMAPINotification(const QString &message, const QString &recipient)
{
    return notify(u"MAPI"_s, recipient, [&](QString &reason) {
        TEmail &mail = email();
        mail.Text = message;
        mail.Recipient = QStringList{recipient};
        mail.CC.clear();
        mail.Bcc.clear();
        mail.Attachment.clear();
        mail.Subject = m_settings.text(settings::MAPIDefSubject);
        const int code = m_sender->sendSystemMail(mail);
        if (code != 0)
            reason = u"the mail program's result %1: %2"_s.arg(code).arg(mail.lastError());
        return code == 0;
    });
}

bool MailActions::notify(const QString &via, const QString &recipient,
    const std::function<bool(QString &reason)> &send)
{
    bool success = false;
    QString reason;
    try {
        success = send(reason);
    } catch (const std::exception &error) {
        reason = errorText(error);
    } catch (...) {
        reason = u"unknown error"_s;
    }
    if (m_categories.emails)
        log(u"Auto "_s + via + u" email sent to: "_s + printable(recipient)
            + (success ? u" (successful)"_s : u" (failed)"_s));
    if (!success && m_categories.debugInfo && !reason.isEmpty())
        log(u"Debug, "_s + via + u" notification to "_s + printable(recipient) + u" failed: "_s
            + printable(reason));
    return success;
}
