// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>
#include <QStringList>

class MailConnection;

// What the two entry points need of the settings; the engine fills it.
struct SmtpProfile
{
    QString server;     // sSMTPServer
    int port = 80;      // iSMTPPort: used when the service look-up fails
    QString sender;     // sUserId or sSMTPUserAddress, "address|name"
    QString subject;    // sSMTPDefSubject, for notifications
    int timeOut = 60;   // seconds
    int security = 0;   // iSMTPSecurity: 0 none, 1 STARTTLS, 2 TLS
    QString authUser;   // sSMTPAuthUser
    QString authPassword;
    QString caFile;     // sSMTPCAFile
    bool standardHeaders = true; // bSMTPStandardHeaders
};

// A notification mail: one line of text to one recipient. True when sent; failures leave as
// the exceptions of mailerror.h. `connection` (owned) replaces the real one in tests.
bool SendQuickMail(const SmtpProfile &profile, const QString &recipient, const QString &text,
                   MailConnection *connection = nullptr);

// An e-mail job: the first recipient is the main one, the others are CC. An empty list is an
// EMailError before anything is sent.
bool SendJobMail(const SmtpProfile &profile, const QString &subject, const QStringList &body,
                 const QStringList &recipients, const QStringList &attachments,
                 MailConnection *connection = nullptr);
