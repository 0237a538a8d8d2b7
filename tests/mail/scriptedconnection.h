// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "platform/mailconnection.h"

#include <QTimer>

// A mail connection that plays a script: the look-up's answer, which addresses stay silent,
// the greeting and one reply per command line written.
class ScriptedConnection : public MailConnection
{
public:
    QList<QHostAddress> lookupAnswer;
    int lookupError = 0;
    QList<QHostAddress> silent;
    QByteArray greeting = "220 ready\r\n";
    QByteArrayList replies;

    QList<QHostAddress> tried;
    QByteArray written;

    quint16 servicePort(const QString &) override { return 0; }
    void lookupHost(const QString &) override
    {
        QTimer::singleShot(0, this, [this] { emit hostLookedUp(lookupAnswer, lookupError); });
    }
    void abortLookup() override {}
    void connectToHost(const QHostAddress &address, quint16, bool, const QString &) override
    {
        tried << address;
        if (silent.contains(address))
            return;
        QTimer::singleShot(0, this, [this] {
            emit connected();
            answer(greeting);
        });
    }
    void startTls(const QString &) override {}
    bool addCaFile(const QString &) override { return true; }
    bool isEncrypted() const override { return false; }
    void write(const QByteArray &data) override
    {
        written += data;
        // One reply per command; the message between DATA and "." gets one at its end.
        int due = 0;
        for (const QByteArray &line : data.split('\n')) {
            if (!line.endsWith('\r'))
                continue;
            const QByteArray text = line.chopped(1);
            if (m_inData) {
                m_inData = text != ".";
                due += m_inData ? 0 : 1;
            } else {
                m_inData = text == "DATA";
                ++due;
            }
        }
        QTimer::singleShot(0, this, [this, due] {
            emit bytesWritten();
            for (int i = 0; i < due && !replies.isEmpty(); ++i)
                answer(replies.takeFirst());
        });
    }
    qint64 bytesToWrite() const override { return 0; }
    QByteArray readAll() override { return std::exchange(m_pending, {}); }
    void abort() override {}

private:
    void answer(const QByteArray &reply)
    {
        m_pending += reply;
        emit readyRead();
    }
    QByteArray m_pending;
    bool m_inData = false;
};
