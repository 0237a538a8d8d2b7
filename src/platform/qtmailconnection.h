// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "platform/mailconnection.h"

class QSslSocket;
class QSslCertificate;

// The mail connection on Qt Network: QHostInfo, QSslSocket, getservbyname.
class QtMailConnection : public MailConnection
{
    Q_OBJECT

public:
    explicit QtMailConnection(QObject *parent = nullptr);
    ~QtMailConnection() override;

    quint16 servicePort(const QString &service) override;
    void lookupHost(const QString &name) override;
    void abortLookup() override;
    void connectToHost(const QHostAddress &address, quint16 port, bool tls,
                       const QString &peerName) override;
    void startTls(const QString &peerName) override;
    bool addCaFile(const QString &path) override;
    bool isEncrypted() const override;
    void write(const QByteArray &data) override;
    qint64 bytesToWrite() const override;
    QByteArray readAll() override;
    void abort() override;

private:
    void newSocket();
    void socketError();

    QSslSocket *m_socket = nullptr;
    int m_lookupId = -1;
    bool m_tlsOnConnect = false;
    QList<QSslCertificate> m_extraCas;
};
