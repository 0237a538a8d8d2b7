// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QHostAddress>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class MailConnection;
class QEventLoop;
class QTimer;

// The socket layer under the SMTP client: resolves the server and the port, connects, and
// runs every wait as a nested event loop woken by the connection's signals, the one-second
// countdown or a cancel. Failures leave as the exceptions of mailerror.h.
class TMailBase : public QObject
{
public:
    // `connection` is owned; null means the real one.
    explicit TMailBase(MailConnection *connection = nullptr, QObject *parent = nullptr);
    ~TMailBase() override;

    // Host name, IPv4 or IPv6 address; "host:port" or "[IPv6]:port" names the port as well.
    QString Server;
    int TimeOut = 60; // seconds, for every single wait
    quint16 DefaultPort = 0;
    QString Service;
    // Connect with TLS from the first byte.
    bool TlsOnConnect = false;

    // What Connect found.
    QList<QHostAddress> Addresses;
    QString AddressText;
    quint16 Port = 0;

    bool TimedOut = false;
    bool Canceled = false;
    bool HostLookupDone = false;
    bool Connected = false;
    bool Readable = false;
    bool ErrorFlag = false;
    int ErrorCode = 0;
    QString ErrorDetail;

    virtual void ResetState();
    virtual void Cancel();
    // Resolves host and port; ConnectSocket then connects.
    virtual void Connect();
    void ConnectSocket();
    virtual void Disconnect();

    void StartTimer();
    void StopTimer();
    static QString WinsockErrorText(int code);

    // The host part and the port (0: none) of a Server value.
    static std::pair<QString, quint16> splitServer(const QString &server);

protected:
    // Runs the event loop until `done` holds, the countdown runs out or a cancel comes.
    // A loop ended by the application's quit counts as a cancel.
    void wait(const std::function<bool()> &done);
    // Raises ESocketError for ErrorFlag, with Qt's description where ours is generic.
    [[noreturn]] void raiseSocketError();
    MailConnection &connection() { return *m_connection; }
    QString hostName() const { return m_host; }

private:
    void wake();

    std::unique_ptr<MailConnection> m_connection;
    QTimer *m_timer;
    int m_countdown = 0;
    QEventLoop *m_loop = nullptr;
    bool m_woken = false;
    QString m_host;
};
