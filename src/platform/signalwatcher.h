// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT (end) and SIGHUP (reload) into signals of the event loop, so the
// program acts between two ticks and never inside one; ignores SIGPIPE. One object per
// process.
class SignalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit SignalWatcher(QObject *parent = nullptr);
    ~SignalWatcher() override;

Q_SIGNALS:
    void terminationRequested(int signalNumber);
    void reloadRequested();

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};
