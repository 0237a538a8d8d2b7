// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/qtmailconnection.h"

#include <QHostInfo>
#include <QSslConfiguration>
#include <QSslSocket>

#include <netdb.h>

namespace {

int codeOf(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return winsock::ConnectionRefused;
    case QAbstractSocket::RemoteHostClosedError:
        return winsock::Disconnected;
    case QAbstractSocket::HostNotFoundError:
        return winsock::HostNotFound;
    case QAbstractSocket::SocketTimeoutError:
        return winsock::TimedOut;
    case QAbstractSocket::NetworkError:
        return winsock::NetworkUnreachable;
    case QAbstractSocket::SslHandshakeFailedError:
    case QAbstractSocket::SslInternalError:
    case QAbstractSocket::SslInvalidUserDataError:
        return winsock::TlsFailed;
    default:
        return winsock::ConnectionAborted;
    }
}

} // namespace

QtMailConnection::QtMailConnection(QObject *parent) : MailConnection(parent) { newSocket(); }

QtMailConnection::~QtMailConnection() { abortLookup(); }

quint16 QtMailConnection::servicePort(const QString &service)
{
    const QByteArray name = service.toLocal8Bit();
    servent entry{};
    servent *found = nullptr;
    char buffer[4096];
    if (getservbyname_r(name.constData(), "tcp", &entry, buffer, sizeof buffer, &found) != 0
        || !found)
        return 0;
    return ntohs(quint16(found->s_port));
}

void QtMailConnection::lookupHost(const QString &name)
{
    abortLookup();
    m_lookupId = QHostInfo::lookupHost(name, this, [this](const QHostInfo &info) {
        m_lookupId = -1;
        int code = 0;
        if (info.error() == QHostInfo::HostNotFound)
            code = winsock::HostNotFound;
        else if (info.error() != QHostInfo::NoError)
            code = winsock::TryAgain;
        emit hostLookedUp(info.addresses(), code);
    });
}

void QtMailConnection::abortLookup()
{
    if (m_lookupId != -1)
        QHostInfo::abortHostLookup(m_lookupId);
    m_lookupId = -1;
}

void QtMailConnection::newSocket()
{
    // A fresh socket per attempt: an aborted TLS socket keeps state we do not want.
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket->deleteLater();
    }
    m_socket = new QSslSocket(this);
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    if (!m_extraCas.isEmpty()) {
        config.addCaCertificates(m_extraCas);
        m_socket->setSslConfiguration(config);
    }
    m_socket->setPeerVerifyMode(QSslSocket::VerifyPeer);
    connect(m_socket, &QSslSocket::connected, this, [this] {
        if (!m_tlsOnConnect)
            emit connected();
    });
    connect(m_socket, &QSslSocket::encrypted, this, [this] {
        if (m_tlsOnConnect)
            emit connected();
        else
            emit encrypted();
    });
    connect(m_socket, &QSslSocket::readyRead, this, &MailConnection::readyRead);
    connect(m_socket, &QSslSocket::bytesWritten, this, &MailConnection::bytesWritten);
    connect(m_socket, &QSslSocket::encryptedBytesWritten, this, &MailConnection::bytesWritten);
    connect(m_socket, &QSslSocket::errorOccurred, this, &QtMailConnection::socketError);
}

void QtMailConnection::socketError()
{
    QString detail = m_socket->errorString();
    const auto errors = m_socket->sslHandshakeErrors();
    for (const QSslError &e : errors)
        detail += QStringLiteral("; ") + e.errorString();
    emit failed(codeOf(m_socket->error()), detail);
}

void QtMailConnection::connectToHost(const QHostAddress &address, quint16 port, bool tls,
                                     const QString &peerName)
{
    newSocket();
    m_tlsOnConnect = tls;
    if (tls)
        m_socket->connectToHostEncrypted(address.toString(), port, peerName);
    else
        m_socket->connectToHost(address, port);
}

void QtMailConnection::startTls(const QString &peerName)
{
    m_socket->setPeerVerifyName(peerName);
    m_socket->startClientEncryption();
}

bool QtMailConnection::addCaFile(const QString &path)
{
    const QList<QSslCertificate> certificates = QSslCertificate::fromPath(path);
    if (certificates.isEmpty())
        return false;
    m_extraCas += certificates;
    return true;
}

bool QtMailConnection::isEncrypted() const { return m_socket->isEncrypted(); }

void QtMailConnection::write(const QByteArray &data) { m_socket->write(data); }

qint64 QtMailConnection::bytesToWrite() const
{
    return m_socket->bytesToWrite() + m_socket->encryptedBytesToWrite();
}

QByteArray QtMailConnection::readAll() { return m_socket->readAll(); }

void QtMailConnection::abort()
{
    m_socket->disconnect(this);
    m_socket->abort();
    newSocket();
}
