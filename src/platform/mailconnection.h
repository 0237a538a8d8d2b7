// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>

// The mail client's one connection: name look-up, TCP, TLS. Everything is asynchronous and
// reported by signals, so the client's waits can be event loops woken by them. Failures carry
// Winsock-style codes (see winsockErrorText) and Qt's own description.
class MailConnection : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Port of a TCP service from the services database; 0 when it is not known.
    virtual quint16 servicePort(const QString &service) = 0;

    // Answered by hostLookedUp; a new look-up or abortLookup() drops the pending one.
    virtual void lookupHost(const QString &name) = 0;
    virtual void abortLookup() = 0;

    // Answered by connected() (after the TLS handshake when `tls`) or failed().
    // `peerName` is the name the server's certificate must carry.
    virtual void connectToHost(const QHostAddress &address, quint16 port, bool tls,
                               const QString &peerName) = 0;
    // Starts TLS on the open connection (STARTTLS); answered by encrypted() or failed().
    virtual void startTls(const QString &peerName) = 0;
    // An extra file of trusted CA certificates (PEM), beside the system's trust store.
    virtual bool addCaFile(const QString &path) = 0;
    virtual bool isEncrypted() const = 0;

    virtual void write(const QByteArray &data) = 0;
    virtual qint64 bytesToWrite() const = 0;
    virtual QByteArray readAll() = 0;
    // Drops the connection at once; no signal follows.
    virtual void abort() = 0;

signals:
    void hostLookedUp(const QList<QHostAddress> &addresses, int errorCode);
    void connected();
    void encrypted();
    void readyRead();
    void bytesWritten();
    void failed(int errorCode, const QString &detail);
};

// Text for a Winsock-style error code: our own table, else "Winsock Error No. " and the code;
// empty for 0.
QString winsockErrorText(int code);

namespace winsock {
inline constexpr int ConnectionAborted = 10053;
inline constexpr int ConnectionReset = 10054;
inline constexpr int TimedOut = 10060;
inline constexpr int ConnectionRefused = 10061;
inline constexpr int NetworkUnreachable = 10051;
inline constexpr int HostUnreachable = 10065;
inline constexpr int Disconnected = 10101;
inline constexpr int HostNotFound = 11001;
inline constexpr int TryAgain = 11002;
// Not Winsock's: TLS failures, which that interface never knew.
inline constexpr int TlsFailed = 20001;
} // namespace winsock
