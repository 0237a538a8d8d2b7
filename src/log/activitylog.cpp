// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "log/activitylog.h"

#include "log/logsink.h"
#include "platform/appendfile.h"
#include "platform/clock.h"
#include "platform/datetimetext.h"
#include "platform/paths.h"
#include "platform/privatefiles.h"
#include "store/settings.h"
#include "store/valuecodec.h"

#include <QDir>
#include <QFileInfo>

ActivityLog::ActivityLog(Settings &settings, const Clock &clock)
    : m_settings(settings), m_clock(clock)
{
    setLocale(QLocale::system());
}

void ActivityLog::setLocale(const QLocale &locale)
{
    m_locale = locale;
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
    m_stampTime = DateTimeText::longTime(when.time(), m_locale);
}

QString ActivityLog::logFilePath() { return m_settings.text(settings::LogFile); }

void ActivityLog::logMessage(const QString &message)
{
    // The three values every line needs, in one look at the registry.
    static const QStringList names = {settings::LogFile.nameText(),
        settings::UseSystemId.nameText(), settings::SystemId.nameText()};
    const auto values = m_settings.readValues(settings::LogFile.section, names);
    const QString defaultPath = Paths::defaultLogFile();
    const QString path = values[0].value_or(defaultPath);
    // Only the default folder is ours to make; a folder the user named must exist.
    if (path == defaultPath && !QFileInfo::exists(path))
        PrivateFiles::makeFolder(QFileInfo(path).absolutePath());

    AppendFile file(path);
    if (!file.isOpen())
        return;

    const bool useSystemId = ValueCodec::readBoolean(values[1], false);
    const QString systemId = useSystemId ? values[2].value_or(QString()) : QString();

    // The screen's copy and the file's are stamped apart, each with the time it is made.
    if (m_sink) {
        stamp(m_clock.now());
        m_sink->logLineAdded(composeLine(m_stampDate, m_stampTime, useSystemId, systemId, message));
    }
    stamp(m_clock.now());
    const QString line = composeLine(m_stampDate, m_stampTime, useSystemId, systemId, message);
    // Errors while writing are ignored: the line is as good as it can be, and the file
    // is closed all the same.
    file.write((line + QStringLiteral("\r\n")).toUtf8());
}
