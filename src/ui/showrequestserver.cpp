// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/showrequestserver.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
const QByteArray showCommand = "show\n";
const QByteArray okReply = "ok\n";
} // namespace

ShowRequestServer::ShowRequestServer(QObject *parent) : QObject(parent), m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return;
                const QByteArray line = socket->readLine(64);
                if (line == showCommand) {
                    socket->write(okReply);
                    socket->flush();
                    // Queued: the show may ask a password, which must not run inside this slot.
                    QMetaObject::invokeMethod(this, &ShowRequestServer::showRequested, Qt::QueuedConnection);
                }
                socket->disconnectFromServer();
            });
        }
    });
}

QString ShowRequestServer::socketPath(const QString &registryPath)
{
    QFileInfo info(registryPath);
    QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty())
        canonical = QFileInfo(info.absolutePath()).canonicalFilePath() + u'/' + info.fileName();
    const QByteArray hash = QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty())
        folder = QDir::tempPath() + u"/halvorn-"_s + QString::number(::getuid());
    return folder + u"/halvorn-"_s + QString::fromLatin1(hash) + u".show"_s;
}

bool ShowRequestServer::listen(const QString &path)
{
    QLocalServer::removeServer(path);
    return m_server->listen(path);
}

bool ShowRequestServer::requestShow(const QString &path, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    // The running program may be starting: it listens a moment after it took the lock.
    while (true) {
        QLocalSocket socket;
        socket.connectToServer(path);
        if (socket.waitForConnected(int(std::max<qint64>(1, deadline.remainingTime())))) {
            socket.write(showCommand);
            socket.waitForBytesWritten(int(std::max<qint64>(1, deadline.remainingTime())));
            while (!socket.canReadLine() && socket.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime()))))
                ;
            return socket.readLine(64) == okReply;
        }
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
}
