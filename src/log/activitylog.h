// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

class Clock;
class LogSink;
class Settings;

// The activity log: the one writer of log lines. Each line is one open, append and close
// of the file named by `sLogFile`, so other programs can read it and the purge can
// replace it between two lines. A line that cannot be written goes nowhere, also not to
// the sink; nothing is reported.
class ActivityLog
{
public:
    ActivityLog(Settings &settings, const Clock &clock);

    // The on-screen copy; may be null. Not owned.
    void setSink(LogSink *sink) { m_sink = sink; }
    // The locale whose long time format the lines use; the system's unless set.
    void setLocale(const QLocale &locale);

    void logMessage(const QString &message);

    // "<date> <time> [\"<id>\" ]<message>", the line without its line end.
    static QString composeLine(const QString &date, const QString &time, bool useSystemId,
        const QString &systemId, const QString &message);

    // The log file named by the settings now.
    QString logFilePath();

private:
    Settings &m_settings;
    const Clock &m_clock;
    QLocale m_locale;
    // The date and time texts of the last line: several lines a second share them.
    qint64 m_stampSecond = -1;
    QString m_stampDate;
    QString m_stampTime;

    void stamp(const QDateTime &when);
    LogSink *m_sink = nullptr;
};
