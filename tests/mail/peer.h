// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A Python peer of tests/mail on loopback: started in the constructor, stopped in the
// destructor. Debian's own interpreter, which has aiosmtpd.
class Peer
{
public:
    Peer(const QString &script, const QStringList &arguments)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral("/usr/bin/python3"),
                        QStringList{QStringLiteral(MAIL_TEST_DIR "/") + script} + arguments);
        while (m_process.waitForReadyRead(30000)) {
            const QByteArray line = m_process.readLine().trimmed();
            if (line.startsWith("PORT ")) {
                m_port = line.mid(5).toUShort();
                break;
            }
        }
    }
    ~Peer()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    quint16 port() const { return m_port; }
    QString server() const { return QStringLiteral("127.0.0.1:") + QString::number(m_port); }

private:
    QProcess m_process;
    quint16 m_port = 0;
};

// The scripted fault peer: one connection in one mode, every byte it got in record().
class FaultPeer : public Peer
{
public:
    FaultPeer(const QString &mode, const QTemporaryDir &dir)
        : Peer(QStringLiteral("fault_peer.py"), {mode, dir.filePath(QStringLiteral("record"))}),
          m_record(dir.filePath(QStringLiteral("record")))
    {
    }
    QByteArray record() const
    {
        QFile f(m_record);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QString m_record;
};
