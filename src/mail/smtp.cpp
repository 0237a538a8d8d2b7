// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "mail/smtp.h"

#include "mail/blockcoder.h"
#include "mail/mailerror.h"
#include "mail/quotedprintable.h"
#include "platform/mailconnection.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSysInfo>

#include <cmath>
#include <cstring>

namespace {

// Lines are handed to the socket in batches of about this size, and a batch waits only
// while the socket still holds more than this much unsent; the time-out applies to each wait.
constexpr qsizetype kBatchBytes = 64 * 1024;
constexpr qint64 kBacklogBytes = 512 * 1024;
// A reply longer than this is not a mail server talking.
constexpr qsizetype kMaxReplyBytes = 64 * 1024;

QByteArrayList splitReply(const QByteArray &data)
{
    QByteArray text = data;
    text.replace("\r\n", "\n").replace('\r', '\n');
    QByteArrayList lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

TSMTP::TSMTP(MailConnection *connection, QObject *parent) : TMailBase(connection, parent)
{
    Service = QStringLiteral("smtp");
    DefaultPort = 25;
    m_boundary.reserve(8);
    for (int i = 0; i < 8; ++i)
        m_boundary.append(char('0' + QRandomGenerator::global()->bounded(9)));
}

TSMTP::~TSMTP() = default;

void TSMTP::setEncoding(TEncoding encoding)
{
    m_encoding = encoding;
    if (encoding == TEncoding::etUU)
        m_charSet = TCharSet::csUSASCII;
}

void TSMTP::setCharSet(TCharSet charSet)
{
    if (m_encoding == TEncoding::etMIME)
        m_charSet = charSet;
}

void TSMTP::setStatus(int status)
{
    Status = status;
    if (OnStatusChange)
        OnStatusChange(*this);
    else
        QCoreApplication::processEvents();
}

void TSMTP::setProgress(int progress)
{
    Progress = progress;
    if (OnProgress)
        OnProgress(*this);
}

void TSMTP::ResetState()
{
    TMailBase::ResetState();
    m_blocks.clear();
    m_encodingError.clear();
    m_out.clear();
    QuitError.clear();
    SendFailed = false;
}

void TSMTP::Cancel()
{
    if (Status == 9) {
        if (m_blockCoder)
            m_blockCoder->Aborted = true;
        if (m_qpCoder)
            m_qpCoder->Aborted = true;
    }
    TMailBase::Cancel();
    setProgress(0);
    setStatus(8);
}

void TSMTP::Connect()
{
    setStatus(1);
    ResetState();
    if (SecurityMode == SecurityStartTls)
        Service = QStringLiteral("submission");
    else if (SecurityMode == SecurityTls)
        Service = QStringLiteral("submissions");
    TlsOnConnect = SecurityMode == SecurityTls;
    if (!CAFile.isEmpty() && !connection().addCaFile(CAFile))
        throw EMailError(QStringLiteral("No certificate could be read from the CA file ") + CAFile);
    TMailBase::Connect();
}

void TSMTP::Send()
{
    try {
        checkAddresses();
        if (!AuthUser.isEmpty() && SecurityMode == SecurityNone)
            throw EMailError(QStringLiteral(
                "Authentication is only done over TLS: choose STARTTLS or TLS for the server"));
        Connect();
        logIn();
        const Text text = composeText();
        EncodeAttachments(false);
        sendEnvelope();
        SendHeaders();
        Block body;
        body.head = QByteArrayList{QByteArray()} + text.lines;
        appendEncodingNotice(body.head);
        sendData(body, 6);
        if (!Attachments.isEmpty()) {
            setStatus(7);
            QCoreApplication::processEvents();
            for (Block &block : m_blocks) {
                block.head.prepend(QByteArray());
                sendData(block, 7);
            }
        }
        SendLine(".");
        WaitReply();
        setProgress(0);
        quit();
    } catch (...) {
        Disconnect();
        m_blocks.clear();
        throw;
    }
    Disconnect();
    m_blocks.clear();
    if (!m_encodingError.isEmpty())
        throw EMailError(QStringLiteral("The message was sent without its attachments: ")
                         + m_encodingError);
}

QByteArray TSMTP::heloDomain() const
{
    const QString address = From.section(u'|', 0, 0);
    const qsizetype at = address.indexOf(u'@');
    QString domain = at >= 0 ? address.mid(at + 1) : QString();
    // HELO with nothing after it is refused by servers; name this machine instead.
    if (domain.isEmpty())
        domain = QSysInfo::machineHostName();
    if (domain.isEmpty())
        domain = QStringLiteral("localhost");
    return domain.toUtf8();
}

void TSMTP::logIn()
{
    ConnectSocket();
    setStatus(2);
    WaitReply();
    const QByteArray domain = heloDomain();
    if (SecurityMode == SecurityNone) {
        SendLine(UseDomainAddress ? "HELO " + domain : "HELO " + QSysInfo::machineHostName().toUtf8());
        WaitReply();
    } else {
        ehlo(domain);
        if (SecurityMode == SecurityStartTls) {
            startTls();
            ehlo(domain);
        }
    }
    if (!AuthUser.isEmpty())
        authenticate();
}

void TSMTP::ehlo(const QByteArray &domain)
{
    SendLine("EHLO " + domain);
    WaitReply();
    m_capabilities.clear();
    for (const QByteArray &line : std::as_const(m_replyLines))
        m_capabilities << line.mid(4).trimmed().toUpper();
}

void TSMTP::startTls()
{
    if (!m_capabilities.contains("STARTTLS"))
        throw EMailError(QStringLiteral("The server does not offer STARTTLS"));
    SendLine("STARTTLS");
    WaitReply();
    connection().startTls(hostName());
    StartTimer();
    wait([this] { return connection().isEncrypted(); });
    StopTimer();
    if (Canceled)
        throw ECanceledError();
    if (ErrorFlag) {
        SendFailed = true;
        raiseSocketError();
    }
    if (TimedOut)
        throw ETimedOutError();
}

void TSMTP::authenticate()
{
    QByteArrayList mechanisms;
    for (const QByteArray &capability : std::as_const(m_capabilities))
        if (capability.startsWith("AUTH ") || capability.startsWith("AUTH="))
            mechanisms += capability.mid(5).split(' ');
    const QByteArray user = AuthUser.toUtf8();
    const QByteArray password = AuthPassword.toUtf8();
    m_accept334 = true;
    try {
        if (mechanisms.contains("PLAIN")) {
            SendLine("AUTH PLAIN " + QByteArray(QByteArray(1, 0) + user + char(0) + password).toBase64());
            WaitReply();
        } else if (mechanisms.contains("LOGIN")) {
            SendLine("AUTH LOGIN");
            WaitReply();
            SendLine(user.toBase64());
            WaitReply();
            SendLine(password.toBase64());
            WaitReply();
        } else {
            throw EMailError(QStringLiteral("The server offers no sign-in that this program knows (PLAIN, LOGIN)"));
        }
    } catch (...) {
        m_accept334 = false;
        throw;
    }
    m_accept334 = false;
    // A 334 here means the server still wants something: the sign-in did not complete.
    if (!m_replyLines.isEmpty() && m_replyLines.last().startsWith("334")) {
        SendFailed = true;
        throw EMailError(QStringLiteral("The server did not accept the sign-in"));
    }
}

void TSMTP::sendEnvelope()
{
    setStatus(5);
    const QByteArray from = From.section(u'|', 0, 0).toUtf8();
    if (!from.isEmpty()) {
        SendLine("MAIL FROM:<" + from + '>');
        WaitReply();
    }
    const QStringList recipients = QStringList{Recipient} + CC + BCC;
    for (const QString &entry : recipients) {
        SendLine("RCPT TO:<" + entry.section(u'|', 0, 0).toUtf8() + '>');
        WaitReply();
    }
    SendLine("DATA");
    WaitReply();
}

void TSMTP::sendData(const Block &block, int status)
{
    if (Status != status)
        setStatus(status);
    const qsizetype n = block.size();
    qsizetype i = 0;
    auto send = [&](QByteArrayView line) {
        // A line that starts with "." gets one more, so nothing can end the data early.
        if (line.startsWith('.'))
            m_out += '.';
        queueLine(line);
        if (OnProgress) {
            const int progress = n > 1 ? int(std::lround(double(i) * 100.0 / double(n - 1))) : 0;
            if (progress % 10 == 0)
                setProgress(progress);
        }
        ++i;
    };
    for (const QByteArray &line : block.head)
        send(line);
    if (block.file) {
        sendEncoded(block, send);
    } else {
        for (qsizetype k = 0; k < block.lines.size(); ++k)
            send(block.lines.at(k));
    }
    for (const QByteArray &line : block.tail)
        send(line);
}

void TSMTP::sendEncoded(const Block &block, const std::function<void(QByteArrayView)> &send)
{
    TMailLines lines;
    lines.setHugePages(false);
    qsizetype made = 0;
    auto take = [&] {
        for (qsizetype k = 0; k < lines.size(); ++k, ++made)
            if (made < block.sentLines)
                send(lines.at(k));
        lines.clear();
    };
    // Without its ".", the message is dropped by the server when the connection closes.
    auto changed = [&](const QString &why) {
        SendFailed = true;
        return EMailError(QStringLiteral("The attachment changed while it was sent: ")
                          + block.file->fileName() + why);
    };
    try {
        if (!block.file->seek(0))
            throw EMIMEError(block.file->errorString());
        runCoder(block, lines, take, false);
    } catch (const EMIMEError &e) {
        throw changed(QStringLiteral(": ") + e.message());
    }
    take();
    if (made != block.encodedLines)
        throw changed(QString());
}

void TSMTP::quit()
{
    QCoreApplication::processEvents();
    setStatus(3);
    // The message was accepted with its "."; a QUIT that goes wrong changes nothing.
    try {
        SendLine("QUIT");
        WaitReply();
    } catch (const EMailBaseError &e) {
        QuitError = e.message();
    }
    if (!NoMessage && !SendFailed && OnMessage)
        OnMessage(QString::fromLatin1(SuccessText));
    setStatus(0);
    setProgress(0);
}

void TSMTP::queueLine(QByteArrayView line)
{
    // One copy per line into a batch that has its room already.
    const qsizetype at = m_out.size();
    m_out.resize(at + line.size() + 2);
    char *out = m_out.data() + at;
    if (!line.isEmpty()) // an empty view may have no data at all
        std::memcpy(out, line.data(), size_t(line.size()));
    std::memcpy(out + line.size(), "\r\n", 2);
    if (m_out.size() >= kBatchBytes)
        flush(kBacklogBytes);
}

void TSMTP::flush(qint64 backlog)
{
    if (m_out.isEmpty() && connection().bytesToWrite() <= backlog)
        return;
    connection().write(m_out);
    m_out.clear();
    m_out.reserve(kBatchBytes + 1024);
    StartTimer();
    wait([this, backlog] { return connection().bytesToWrite() <= backlog; });
    StopTimer();
    if (connection().bytesToWrite() <= backlog && !Canceled)
        return;
    if (ErrorFlag) {
        SendFailed = true;
        raiseSocketError();
    }
    if (TimedOut) {
        Disconnect();
        throw ETimedOutError();
    }
    Disconnect();
    throw ECanceledError();
}

void TSMTP::WaitReply()
{
    flush();
    m_reply.clear();
    m_replyLines.clear();
    StartTimer();
    for (;;) {
        wait([this] { return Readable; });
        Readable = false;
        // Data that came before an error or a close still counts.
        m_reply += connection().readAll();
        if (m_reply.size() > kMaxReplyBytes) {
            StopTimer();
            SendFailed = true;
            throw EMailError(QStringLiteral("The server's reply is too long"));
        }
        if (m_reply.endsWith('\n')) {
            m_replyLines = splitReply(m_reply);
            const QByteArray last = m_replyLines.isEmpty() ? QByteArray() : m_replyLines.last();
            if (last.size() >= 3) {
                try {
                    CheckReply(last);
                } catch (...) {
                    StopTimer();
                    throw;
                }
                // "250" alone ends a reply as well as "250 text" does.
                if (last.size() == 3 || last.at(3) != '-')
                    break;
            }
        }
        if (Canceled) {
            StopTimer();
            Disconnect();
            throw ECanceledError();
        }
        if (TimedOut) {
            SendFailed = true;
            throw ETimedOutError();
        }
        if (ErrorFlag) {
            StopTimer();
            SendFailed = true;
            raiseSocketError();
        }
    }
    StopTimer();
}

void TSMTP::CheckReply(const QByteArray &line)
{
    if (line.startsWith('2') || line.startsWith("354") || (m_accept334 && line.startsWith("334")))
        return;
    SendFailed = true;
    throw EMailError(QString::fromUtf8(line.mid(3)));
}
