// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "mail/smtpprofile.h"

#include "mail/mailerror.h"
#include "mail/smtp.h"

namespace {

void fill(TSMTP &smtp, const SmtpProfile &profile)
{
    smtp.Server = profile.server;
    smtp.DefaultPort = quint16(std::clamp(profile.port, 0, 65535));
    smtp.From = profile.sender;
    smtp.TimeOut = profile.timeOut;
    smtp.SecurityMode = profile.security;
    smtp.AuthUser = profile.authUser;
    smtp.AuthPassword = profile.authPassword;
    smtp.CAFile = profile.caFile;
    smtp.StandardHeaders = profile.standardHeaders;
    smtp.NoMessage = true;
}

} // namespace

bool SendQuickMail(const SmtpProfile &profile, const QString &recipient, const QString &text,
                   MailConnection *connection)
{
    TSMTP smtp(connection);
    fill(smtp, profile);
    smtp.Recipient = recipient;
    smtp.Subject = profile.subject;
    smtp.Body = QStringList{text};
    smtp.Send();
    return true;
}

bool SendJobMail(const SmtpProfile &profile, const QString &subject, const QStringList &body,
                 const QStringList &recipients, const QStringList &attachments,
                 MailConnection *connection)
{
    TSMTP smtp(connection);
    if (recipients.isEmpty())
        throw EMailError(QStringLiteral("The mail has no recipient"));
    fill(smtp, profile);
    smtp.Recipient = recipients.first();
    smtp.CC = recipients.mid(1);
    smtp.Subject = subject;
    smtp.Body = body;
    smtp.Attachments = attachments;
    smtp.Send();
    return true;
}
