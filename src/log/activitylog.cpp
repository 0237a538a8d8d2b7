// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "log/activitylog.h"

#include "log/logsink.h"
#include "platform/clock.h"
#include "platform/datetimetext.h"
#include "platform/paths.h"
#include "store/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

ActivityLog::ActivityLog(Settings &settings, const Clock &clock)
    : m_settings(settings), m_clock(clock)
{
    setLocale(QLocale::system());
}

void ActivityLog::setLocale(const QLocale &locale)
{
    m_locale = locale;
    m_timeFormat = DateTimeText::longTimeFormat(locale);
    m_stampSecond = -1;
}

QString ActivityLog::composeLine(const QString &date, const QString &time, bool useSystemId,
    const QString &systemId, const QString &message)
{
    if (useSystemId)
        return date + u' ' + time + QStringLiteral(" \"") + systemId + QStringLiteral("\" ") + message;
    return date + u' ' + time + u' ' + message;
}

void ActivityLog::stamp(const QDateTime &when)
{
    const qint64 second = when.toSecsSinceEpoch();
    if (second == m_stampSecond && m_stampSecond >= 0)
        return;
    m_stampSecond = second;
    m_stampDate = DateTimeText::date(when.date());
    m_stampTime = m_locale.toString(when.time(), m_timeFormat);
}

QString ActivityLog::logFilePath() { return m_settings.text(settings::LogFile); }

void ActivityLog::logMessage(const QString &message)
{
    const QString defaultPath = Paths::defaultLogFile();
    const QString path = m_settings.readString(
        settings::LogFile.section, settings::LogFile.nameText(), defaultPath);
    // Only the default folder is ours to make; a folder the user named must exist.
    if (path == defaultPath && !QFileInfo::exists(path))
        QDir().mkpath(QFileInfo(path).absolutePath());

    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return;

    const bool useSystemId = m_settings.boolean(settings::UseSystemId);
    const QString systemId = useSystemId ? m_settings.text(settings::SystemId) : QString();

    // The screen's copy and the file's are stamped apart, each with the time it is made.
    if (m_sink) {
        stamp(m_clock.now());
        m_sink->logLineAdded(composeLine(m_stampDate, m_stampTime, useSystemId, systemId, message));
    }
    stamp(m_clock.now());
    const QString line = composeLine(m_stampDate, m_stampTime, useSystemId, systemId, message);
    // One write, so lines of two writers never interleave inside a line.
    file.write((line + QStringLiteral("\r\n")).toUtf8());
    file.close();
}
