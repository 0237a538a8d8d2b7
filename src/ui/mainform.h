// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "engine/enginehost.h"
#include "log/logsink.h"

#include <QMainWindow>

class QLabel;
class QPlainTextEdit;

// The main window. For now the frame with its status bar and the log view; the job list
// follows. It is the engine's host on the desktop.
class MainForm : public QMainWindow, public EngineHost, public LogSink
{
    Q_OBJECT
public:
    static const QString caption;

    explicit MainForm(QWidget *parent = nullptr);

    // LogSink
    void logLineAdded(const QString &line) override;

    // EngineHost
    void showStatus(const QString &text) override;
    void showClock(const QString &time) override;
    void showMessage(const QString &text) override;
    void processPendingEvents() override;
    void quit() override;
    void reloadLog() override;

    // Fills the log view from the log file.
    void loadLog(const QString &path);

private:
    QLabel *m_clock;
    QLabel *m_status;
    QPlainTextEdit *m_log;
    QString m_logPath;
};
