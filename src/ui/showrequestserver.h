// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// A second start of the desktop program asks the running one to show its window through a
// local socket named, like the lock, after the registry file: one per registry, private to
// the user ($XDG_RUNTIME_DIR).
class ShowRequestServer : public QObject
{
    Q_OBJECT
public:
    explicit ShowRequestServer(QObject *parent = nullptr);

    // The socket's path for the registry file at `registryPath`.
    static QString socketPath(const QString &registryPath);

    // Starts listening; call only while holding the instance lock, as a stale socket of
    // an ended program is removed first.
    bool listen(const QString &path);

    // Asks the program listening at `path` to show its window. False when nobody answers
    // within `timeoutMs`.
    static bool requestShow(const QString &path, int timeoutMs = 3000);

signals:
    void showRequested();

private:
    QLocalServer *m_server;
};
