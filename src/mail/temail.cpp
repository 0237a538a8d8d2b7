// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "mail/temail.h"

#include "mail/smtp.h"
#include "platform/commandline.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace {

constexpr qsizetype maxEntries = 100000;

QString programPath(const QString &command)
{
    const auto words = CommandLine::split(command);
    if (!words || words->isEmpty())
        return {};
    const QString program = words->first();
    if (program.contains(u'/'))
        return program;
    return QStandardPaths::findExecutable(program);
}

} // namespace

QString TEmail::plainAddress(const QString &entry)
{
    QString address = entry.trimmed();
    const qsizetype open = address.indexOf(u'[');
    const qsizetype close = address.indexOf(u']');
    if (open < 0 || close < 0)
        return address;
    address.remove(close, 1);
    address.remove(open, 1);
    if (address.startsWith(QStringLiteral("SMTP:"), Qt::CaseInsensitive))
        address.remove(0, 5);
    return address.trimmed();
}

bool TEmail::MAPIavail() const
{
    const QString path = programPath(SendmailCommand);
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

void TEmail::CheckMAPI() const
{
    if (!MAPIavail())
        throw EMAPIunavailable();
}

int TEmail::Logon()
{
    CheckMAPI();
    return 0;
}

void TEmail::Logoff() { CheckMAPI(); }

int TEmail::fail(int code, const QString &why)
{
    m_lastError = why;
    return code;
}

int TEmail::SendMail()
{
    m_lastError.clear();
    m_composeOpened = false;
    CheckMAPI();
    if (Recipient.size() + CC.size() + Bcc.size() > maxEntries)
        return fail(TooManyRecipients, QStringLiteral("too many recipients"));
    if (Attachment.size() > maxEntries)
        return fail(TooManyFiles, QStringLiteral("too many attachments"));

    QStringList to;
    for (const QString &entry : Recipient + CC)
        if (!entry.trimmed().isEmpty())
            to << plainAddress(entry);
    QStringList bcc;
    for (const QString &entry : Bcc)
        if (!entry.trimmed().isEmpty())
            bcc << plainAddress(entry);

    // Before anything is started, as the mail system would refuse it.
    for (const QString &path : Attachment) {
        const QFileInfo info(path);
        if (!info.isFile() || !info.isReadable())
            return fail(AttachmentNotFound, QStringLiteral("attachment not found: ") + path);
    }

    if (to.isEmpty() && bcc.isEmpty())
        return openComposeWindow();

    TSMTP message;
    message.Recipient = to.first();
    message.CC = to.mid(1);
    message.BCC = bcc;
    message.Subject = Subject;
    message.Body = QStringList{Text};
    message.Attachments = Attachment;
    message.ReturnReceipt = false;
    message.checkAddresses();
    QByteArrayList lines = message.composeMessage();

    // The system supplies the sender; every main and copy recipient goes into To:, the
    // blind copies into Bcc: (which the program removes).
    QByteArray data;
    bool inHeader = true;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (inHeader) {
            if (line.isEmpty()) {
                inHeader = false;
                if (!bcc.isEmpty())
                    data += "Bcc: " + bcc.join(QStringLiteral(", ")).toUtf8() + '\n';
            } else if (line.startsWith("From:")) {
                continue;
            } else if (line.startsWith("To:") && to.size() > 1) {
                line += ',';
            } else if (line.startsWith("CC:")) {
                line = QByteArray(10, ' ') + line.mid(10);
            }
        }
        data += line;
        data += '\n';
    }

    auto words = CommandLine::split(SendmailCommand);
    QProcess process;
    process.setProgram(words->takeFirst());
    process.setArguments(*words);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start();
    if (!process.waitForStarted(10000))
        return fail(LoginFailure, QStringLiteral("the mail program could not be started: ")
            + process.errorString());
    process.write(data);
    process.closeWriteChannel();

    // The timer keeps ticking meanwhile; the engine is busy and later ticks return.
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    timer.start(TimeOut * 1000);
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    // The loop also ends when the program quits (SIGTERM): that is no success either.
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
        return fail(Failure, timedOut
            ? QStringLiteral("the mail program did not end within %1 seconds").arg(TimeOut)
            : QStringLiteral("Operation has been canceled"));
    }
    const QString output = QString::fromLocal8Bit(process.readAll()).trimmed().left(500);
    if (process.exitStatus() != QProcess::NormalExit)
        return fail(Failure, QStringLiteral("the mail program crashed"));
    if (process.exitCode() != 0)
        return fail(Failure, QStringLiteral("the mail program ended with status %1%2")
            .arg(process.exitCode()).arg(output.isEmpty() ? QString() : QStringLiteral(": ") + output));
    return 0;
}

int TEmail::openComposeWindow()
{
    if (!AllowComposeWindow)
        return fail(Failure, QStringLiteral("no recipient, and no desktop to open a compose window on"));
    QStringList arguments;
    if (!Subject.isEmpty())
        arguments << QStringLiteral("--subject") << Subject;
    if (!Text.isEmpty())
        arguments << QStringLiteral("--body") << Text;
    for (const QString &path : Attachment)
        arguments << QStringLiteral("--attach") << path;
    if (!QProcess::startDetached(QStringLiteral("xdg-email"), arguments))
        return fail(LoginFailure, QStringLiteral("no recipient, and xdg-email could not be started"));
    m_composeOpened = true;
    // Nobody knows whether the user sends it.
    return fail(UserAbort, QStringLiteral("no recipient: the desktop's compose window was opened, "
        "whether the mail is sent is not known"));
}
