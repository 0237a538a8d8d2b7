// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

#include <functional>

class ActivityLog;
class Clock;
class Settings;

// The daily trim of the log: lines older than `iDaysToKeepInLog` days are dropped, all
// others kept whole and in order. The old log is first copied completely to
// "voltrane.bak" beside it; the new log is written to a temporary file and renamed into
// place, so a crash leaves the old log or the new one, and no line is ever lost.
class LogPurge
{
public:
    static const QString cleaningStatus;   // "please wait, cleaning the log..."
    static const QString cleaningMini;     // "cleaning log.."
    static const QString scanningStatus;   // "scanning log message #"
    static const QString backupFileName;   // "voltrane.bak"

    struct Feedback
    {
        std::function<void(const QString &)> showStatus;
        // Called only when the mini window is visible.
        std::function<void(const QString &)> showMiniJobCount;
        // The Log page of the main window is cleared and loaded again from the file.
        std::function<void()> reloadLog;
    };

    struct Result
    {
        bool done = false; // false: the log was left as it was (see the log line)
        qint64 scanned = 0;
        qint64 purged = 0;
        qint64 kept = 0;
    };

    LogPurge(Settings &settings, ActivityLog &log, const Clock &clock);

    Result purge(const Feedback &feedback = {});

    // The backup beside `logFile`.
    static QString backupPath(const QString &logFile);
    static QString purgedLine(qint64 purged, qint64 kept);
    static QString backupFailedLine(const QString &backup, const QString &why);

private:
    Settings &m_settings;
    ActivityLog &m_log;
    const Clock &m_clock;
};
