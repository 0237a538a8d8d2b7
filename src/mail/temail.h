// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "mail/mailerror.h"

#include <QString>
#include <QStringList>

class EMAPIunavailable : public EMailBaseError
{
public:
    EMAPIunavailable() : EMailBaseError(QStringLiteral("MAPI services are not available on this system")) {}
};

// Mail through the system's mail program (sendmail(8) or a compatible one): the message is
// composed here (MIME) and piped to the program, which supplies the sender. Result codes
// keep the Simple MAPI meanings callers know.
class TEmail
{
public:
    enum Result {
        Success = 0,
        UserAbort = 1,
        Failure = 2,
        LoginFailure = 3,
        TooManyFiles = 9,
        TooManyRecipients = 10,
        AttachmentNotFound = 11,
    };

    bool Acknowledge = false;
    QStringList Attachment;
    QStringList Bcc;
    QStringList CC;
    QStringList Recipient;
    QString Password;
    QString Profile;
    QString Subject;
    QString Text;
    bool UseDefProfile = false;

    // The mail program and its arguments, split as a shell would without running one.
    QString SendmailCommand = QStringLiteral("/usr/sbin/sendmail -t -oi");
    // Seconds the program may take before it is killed and the send fails.
    int TimeOut = 60;
    // Without a recipient, the desktop's compose window may open (xdg-email); the headless
    // program has no desktop and fails at once.
    bool AllowComposeWindow = false;

    // The mail program exists and is executable.
    bool MAPIavail() const;
    void CheckMAPI() const;
    // There is no session with a mail program: these only check it is there.
    int Logon();
    void Logoff();
    // 0 when the program accepted the message. Throws EMAPIunavailable without a program,
    // EMailError for an address that cannot go into a header.
    int SendMail();

    // Why the last SendMail did not return 0, for the debug log; empty after a success.
    QString lastError() const { return m_lastError; }
    // The last SendMail opened the desktop's compose window instead of sending.
    bool composeWindowOpened() const { return m_composeOpened; }

    // "[TYPE:address]" as the Windows mail system took it: brackets and a leading "SMTP:" go.
    static QString plainAddress(const QString &entry);

private:
    int fail(int code, const QString &why);
    int openComposeWindow();
    QString m_lastError;
    bool m_composeOpened = false;
};
