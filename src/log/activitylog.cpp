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
    : m_settings(settings), m_clock(clock), m_locale(QLocale::system())
{
}

QString ActivityLog::composeLine(const QDateTime &when, const QLocale &locale, bool useSystemId,
    const QString &systemId, const QString &message)
{
    QString line = DateTimeText::date(when.date()) + u' ' + DateTimeText::longTime(when.time(), locale);
    if (useSystemId)
        line += QStringLiteral(" \"") + systemId + QStringLiteral("\" ");
    else
        line += u' ';
    return line + message;
}

QString ActivityLog::logFilePath() { return m_settings.text(settings::LogFile); }

void ActivityLog::logMessage(const QString &message)
{
    const QString path = logFilePath();
    // Only the default folder is ours to make; a folder the user named must exist.
    if (path == Paths::defaultLogFile())
        QDir().mkpath(QFileInfo(path).absolutePath());

    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return;

    const bool useSystemId = m_settings.boolean(settings::UseSystemId);
    const QString systemId = useSystemId ? m_settings.text(settings::SystemId) : QString();

    if (m_sink)
        m_sink->logLineAdded(composeLine(m_clock.now(), m_locale, useSystemId, systemId, message));
    const QString line = composeLine(m_clock.now(), m_locale, useSystemId, systemId, message);
    // One write, so lines of two writers never interleave inside a line.
    file.write((line + QStringLiteral("\r\n")).toUtf8());
    file.close();
}
