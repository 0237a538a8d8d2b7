// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "mail/mailbase.h"

#include "mail/mailerror.h"
#include "platform/mailconnection.h"
#include "platform/qtmailconnection.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace {
// An address that does not answer gets this long before the next one is tried (RFC 8305
// asks for a short attempt delay; a loaded server may need a moment).
constexpr int kAttemptSeconds = 3;
} // namespace

TMailBase::TMailBase(MailConnection *connection, QObject *parent)
    : QObject(parent),
      m_connection(connection ? connection : new QtMailConnection),
      m_timer(new QTimer(this))
{
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, [this] {
        if (--m_countdown <= 0) {
            m_connection->abortLookup();
            StopTimer();
            TimedOut = true;
        }
        wake(); // waits that also watch the countdown look again
    });
    MailConnection *c = m_connection.get();
    connect(c, &MailConnection::hostLookedUp, this,
            [this](const QList<QHostAddress> &addresses, int code) {
                HostLookupDone = true;
                ErrorCode = code;
                ErrorFlag = code != 0;
                Addresses = addresses;
                wake();
            });
    connect(c, &MailConnection::connected, this, [this] { Connected = true; wake(); });
    connect(c, &MailConnection::readyRead, this, [this] { Readable = true; wake(); });
    connect(c, &MailConnection::bytesWritten, this, [this] { wake(); });
    connect(c, &MailConnection::encrypted, this, [this] { wake(); });
    connect(c, &MailConnection::failed, this, [this](int code, const QString &detail) {
        ErrorCode = code;
        ErrorFlag = true;
        ErrorDetail = detail;
        wake();
    });
}

TMailBase::~TMailBase() = default;

void TMailBase::wake()
{
    if (m_loop) {
        m_woken = true;
        m_loop->quit();
    }
}

void TMailBase::ResetState()
{
    Canceled = TimedOut = false;
    ErrorFlag = HostLookupDone = Connected = Readable = false;
    ErrorDetail.clear();
}

void TMailBase::Cancel()
{
    Canceled = true;
    m_connection->abortLookup();
    wake();
}

void TMailBase::StartTimer()
{
    m_countdown = TimeOut;
    m_timer->start();
}

void TMailBase::StopTimer() { m_timer->stop(); }

QString TMailBase::WinsockErrorText(int code) { return winsockErrorText(code); }

void TMailBase::wait(const std::function<bool()> &done)
{
    while (!done() && !TimedOut && !Canceled && !ErrorFlag) {
        QEventLoop loop;
        m_loop = &loop;
        m_woken = false;
        loop.exec();
        m_loop = nullptr;
        // Only wake() ends the loop on our behalf; anything else is the program quitting.
        if (!m_woken)
            Canceled = true;
    }
}

void TMailBase::raiseSocketError()
{
    QString text = WinsockErrorText(ErrorCode);
    if (!ErrorDetail.isEmpty() && ErrorCode == winsock::TlsFailed)
        text += QStringLiteral(": ") + ErrorDetail;
    throw ESocketError(text);
}

std::pair<QString, quint16> TMailBase::splitServer(const QString &server)
{
    const QString s = server.trimmed();
    auto port = [](QStringView text) -> quint16 {
        bool ok = false;
        const uint p = text.toUInt(&ok);
        return ok && p > 0 && p < 65536 ? quint16(p) : 0;
    };
    if (s.startsWith(u'[')) {
        const qsizetype close = s.indexOf(u']');
        if (close > 0) {
            const QString host = s.mid(1, close - 1);
            if (s.mid(close + 1).startsWith(u':'))
                return {host, port(QStringView(s).mid(close + 2))};
            return {host, 0};
        }
    }
    // One colon: host and port; more: an IPv6 address without a port.
    if (s.count(u':') == 1) {
        const qsizetype colon = s.indexOf(u':');
        return {s.left(colon), port(QStringView(s).mid(colon + 1))};
    }
    return {s, 0};
}

void TMailBase::Connect()
{
    const auto [host, explicitPort] = splitServer(Server);
    m_host = host;
    Addresses.clear();
    QHostAddress literal;
    if (literal.setAddress(host)) {
        Addresses = {literal};
    } else {
        if (host.isEmpty())
            throw EMailError(QStringLiteral("Error resolving remote host"));
        m_connection->lookupHost(host);
        StartTimer();
        wait([this] { return HostLookupDone; });
        StopTimer();
        m_connection->abortLookup();
        if (ErrorFlag)
            raiseSocketError();
        if (TimedOut)
            throw ETimedOutError();
        if (Canceled)
            throw ECanceledError();
        if (Addresses.isEmpty())
            throw EMailError(QStringLiteral("Error resolving remote host"));
    }
    AddressText = Addresses.first().toString();

    if (explicitPort != 0) {
        Port = explicitPort;
        return;
    }
    if (Service.isEmpty())
        throw EMailError(QStringLiteral("Service name is not specified"));
    const quint16 found = m_connection->servicePort(Service);
    Port = found != 0 ? found : DefaultPort;
}

void TMailBase::ConnectSocket()
{
    // Every address in turn, each but the last for a few seconds at most, all within
    // TimeOut; a refusal moves on at once.
    StartTimer();
    for (qsizetype i = 0; i < Addresses.size(); ++i) {
        const bool last = i + 1 == Addresses.size();
        const int startCountdown = m_countdown;
        ErrorFlag = false;
        Connected = false;
        AddressText = Addresses[i].toString();
        m_connection->connectToHost(Addresses[i], Port, TlsOnConnect, m_host);
        bool gaveUp = false;
        wait([&] {
            gaveUp = !last && startCountdown - m_countdown >= kAttemptSeconds;
            return Connected || gaveUp;
        });
        if (Connected || Canceled || TimedOut)
            break;
        if (last)
            break;
        m_connection->abort();
    }
    StopTimer();
    if (Canceled)
        throw ECanceledError();
    if (TimedOut && !Connected)
        throw ETimedOutError();
    if (!Connected)
        raiseSocketError();
}

void TMailBase::Disconnect()
{
    StopTimer();
    m_connection->abort();
}
