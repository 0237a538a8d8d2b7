// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "engine/enginehost.h"
#include "log/logsink.h"

#include <QString>

// The engine's host without a desktop: log lines, status texts and messages go to
// standard output; windows, rows and the tray have no counterpart.
class ConsoleHost final : public EngineHost, public LogSink
{
public:
    static const QString statusPrefix;
    static const QString messagePrefix;

    void logLineAdded(const QString &line) override;

    void showStatus(const QString &text) override;
    void showMessage(const QString &text) override;
    void processPendingEvents() override;
    void quit() override;

private:
    void print(const QString &text);

    QString m_lastStatus;
};
