// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "log/logpurge.h"

#include "log/activitylog.h"
#include "platform/clock.h"
#include "store/settings.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

const QString LogPurge::cleaningStatus = u"please wait, cleaning the log..."_s;
const QString LogPurge::cleaningMini = u"cleaning log.."_s;
const QString LogPurge::scanningStatus = u"scanning log message #"_s;
const QString LogPurge::backupFileName = u"voltrane.bak"_s;

namespace {

constexpr qint64 blockSize = 1 << 20;
// The running count is shown now and then, not for every line.
constexpr qint64 statusEvery = 10000;

// The date at the start of a log line ("yyyy-mm-dd"), or an invalid date.
QDate lineDate(const QByteArray &line)
{
    if (line.size() < 10 || line[4] != '-' || line[7] != '-')
        return QDate();
    auto number = [&](int from, int length) {
        int value = 0;
        for (int i = from; i < from + length; ++i) {
            const char c = line[i];
            if (c < '0' || c > '9')
                return -1;
            value = value * 10 + (c - '0');
        }
        return value;
    };
    const int year = number(0, 4);
    const int month = number(5, 2);
    const int day = number(8, 2);
    if (year < 0 || month < 0 || day < 0)
        return QDate();
    return QDate(year, month, day);
}

// Copies the whole log to the backup; the backup is replaced only by a complete copy.
bool copyWhole(const QString &from, const QString &to, QString *why)
{
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly)) {
        *why = out.errorString();
        return false;
    }
    // As private as the log it copies.
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile in(from);
    if (in.exists()) {
        if (!in.open(QIODevice::ReadOnly)) {
            *why = in.errorString();
            return false;
        }
        while (!in.atEnd()) {
            const QByteArray block = in.read(blockSize);
            if (block.isEmpty() && in.error() != QFileDevice::NoError) {
                *why = in.errorString();
                return false;
            }
            if (out.write(block) != block.size()) {
                *why = out.errorString();
                return false;
            }
        }
    }
    if (!out.commit()) {
        *why = out.errorString();
        return false;
    }
    return true;
}

} // namespace

LogPurge::LogPurge(Settings &settings, ActivityLog &log, const Clock &clock)
    : m_settings(settings), m_log(log), m_clock(clock)
{
}

QString LogPurge::backupPath(const QString &logFile)
{
    const QFileInfo info(logFile);
    return info.path() + u'/' + backupFileName;
}

QString LogPurge::purgedLine(qint64 purged, qint64 kept)
{
    return u"Log purge: "_s + QString::number(purged) + u" log records purged, "_s
        + QString::number(kept) + u" records kept."_s;
}

QString LogPurge::backupFailedLine(const QString &backup, const QString &why)
{
    return u"Log purge: the backup "_s + backup + u" could not be written ("_s + why
        + u"); the log is left as it is."_s;
}

LogPurge::Result LogPurge::purge(const Feedback &feedback)
{
    Result result;
    if (feedback.showMiniJobCount)
        feedback.showMiniJobCount(cleaningMini);
    if (feedback.showStatus)
        feedback.showStatus(cleaningStatus);

    const int days = m_settings.integer(settings::DaysToKeepInLog);
    const QString logFile = m_log.logFilePath();
    const QString backup = backupPath(logFile);

    QString why;
    if (!copyWhole(logFile, backup, &why)) {
        m_log.logMessage(backupFailedLine(backup, why));
        return result;
    }

    // The new log is read from the complete backup and replaces the old log in one rename.
    QFile in(backup);
    QSaveFile out(logFile);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) {
        m_log.logMessage(backupFailedLine(logFile, in.isOpen() ? out.errorString() : in.errorString()));
        return result;
    }
    const QDate today = m_clock.now().date();
    QByteArray pending; // kept lines, written in blocks
    bool writeFailed = false;
    while (!in.atEnd()) {
        const QByteArray line = in.readLine();
        if (line.isEmpty() && in.error() != QFileDevice::NoError) {
            writeFailed = true;
            break;
        }
        ++result.scanned;
        if (feedback.showStatus && result.scanned % statusEvery == 1)
            feedback.showStatus(scanningStatus + QString::number(result.scanned));
        const QDate date = lineDate(line);
        if (date.isValid() && date.daysTo(today) > days) {
            ++result.purged;
            continue;
        }
        if (date.isValid())
            ++result.kept;
        pending += line;
        if (pending.size() >= blockSize) {
            if (out.write(pending) != pending.size()) {
                writeFailed = true;
                break;
            }
            pending.clear();
        }
    }
    if (!writeFailed && out.write(pending) != pending.size())
        writeFailed = true;
    if (writeFailed) {
        // Nothing has replaced the log: it stands as it was.
        out.cancelWriting();
        m_log.logMessage(backupFailedLine(logFile, out.errorString()));
        return Result{};
    }
    in.close();
    if (!out.commit()) {
        m_log.logMessage(backupFailedLine(logFile, out.errorString()));
        return Result{};
    }
    if (feedback.showStatus)
        feedback.showStatus(scanningStatus + QString::number(result.scanned));
    result.done = true;
    if (result.purged > 0 && feedback.reloadLog)
        feedback.reloadLog();
    m_log.logMessage(purgedLine(result.purged, result.kept));
    return result;
}
