// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "engine/jobactivity.h"
#include "mail/smtpprofile.h"

#include <QString>
#include <QStringList>

#include <functional>

class ActivityLog;
class EngineHost;
class JobStore;
class Settings;
class TEmail;
struct LogCategories;

// Where mail leaves the program; tests put a fake in place. Failures may throw.
class MailSender
{
public:
    virtual ~MailSender() = default;
    virtual bool sendJobMail(const SmtpProfile &profile, const QString &subject,
        const QStringList &body, const QStringList &recipients, const QStringList &attachments);
    virtual bool sendQuickMail(const SmtpProfile &profile, const QString &recipient,
        const QString &text);
    // The system mail program's result code, 0 when sent.
    virtual int sendSystemMail(TEmail &email);
};

// E-mail jobs (type 6) and the start and end notifications of program jobs, by SMTP or
// through the system mail program. Every mail error is caught here and ends as a failed
// send with its log lines: a send never escapes into the timer loop.
class MailActions final : public JobActivity
{
public:
    static constexpr int maxEntries = 256;

    // `now` gives the date and time texts of a notification's line.
    MailActions(JobStore &store, Settings &settings, ActivityLog &log, EngineHost &host,
        const LogCategories &categories, std::function<QString()> now);
    ~MailActions() override;

    // Not owned; null restores the real senders.
    void setSender(MailSender *sender);
    // The desktop may open its compose window for a system mail without a recipient.
    void setComposeWindowAllowed(bool allowed) { m_composeAllowed = allowed; }

    bool run(const Job &job, QueueEntry &) override { return SendEmailJob(job); }

    bool SendEmailJob(const Job &job);
    void NotifyJob(const Job &job, bool isStart, bool success);
    bool SendSMTPNotification(const QString &message, const QString &recipient);
    bool SendMAPINotification(const QString &message, const QString &recipient);

    // The settings as the SMTP client needs them; `subject` is the notifications' one.
    SmtpProfile profile();
    // "<date> <time> Job: <job> started status: successful ".
    static QString notificationText(const QString &stamp, const QString &job, bool isStart,
        bool success);
    // Control characters (also C1) become "?": what comes from outside reaches neither the
    // log's line structure nor a terminal raw.
    static QString printable(const QString &text);

private:
    // One notification by `via` ("SMTP" or "MAPI"): every error caught, the outcome logged.
    bool notify(const QString &via, const QString &recipient,
        const std::function<bool(QString &reason)> &send);
    TEmail &email();
    void log(const QString &line);

    JobStore &m_store;
    Settings &m_settings;
    ActivityLog &m_log;
    EngineHost &m_host;
    const LogCategories &m_categories;
    std::function<QString()> m_now;
    MailSender m_realSender;
    MailSender *m_sender;
    TEmail *m_email = nullptr;
    bool m_composeAllowed = false;
};
