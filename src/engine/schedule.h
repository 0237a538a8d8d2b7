// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "platform/registry.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class JobStore;

// What a job's schedule is made of, as read from the job store: the day rule's kind and
// data, the time of day, and the custom time kind with its list or N. The custom times
// are parsed once into numbers here, so the time rule of every tick compares integers;
// their texts are kept for the debug lines.
class Schedule
{
public:
    // The custom-time list is read from index 0 up to this index.
    static constexpr int lastCustomTimeIndex = 998;

    // nullopt when absent, empty or not a number: the day rule reads it as 0 and the
    // schedule text as 5.
    std::optional<int> frequency; // iFrequency
    QString frequencyData = QStringLiteral("0000000"); // sFrequency Data
    int hour = 0; // iHour
    int minute = 0; // iMin
    int second = 0; // iSec
    int customTimeType = 0; // iCustomTimeType
    // nullopt when absent, empty or not a number: the time rule reads it as 0 and the
    // schedule text as 1.
    std::optional<int> customTimeHourMin; // iCustomTimeHourMin

    // sFreq<n>: dates "yyyy/mm/dd" (kind 5) or day numbers (kind 6), up to the first empty.
    const QStringList &dates() const { return m_dates; }
    void setDates(const QStringList &dates);

    // sCustomTime<n>: minutes (custom kind 1) or "hh:mm:ss" (kind 2). Entries from the
    // first empty one on, and beyond lastCustomTimeIndex, are dropped.
    const QStringList &customTimes() const { return m_customTimes; }
    void setCustomTimes(const QStringList &times);

    // The job's values by the job store's encoding and defaults; a job that does not
    // exist gives the defaults. One look at the store.
    static Schedule read(JobStore &store, const QString &job);
    // The same from values already fetched (for example by Registry::subKeyValues with
    // the stems "sFreq" and "sCustomTime"); names compare without regard to case.
    static Schedule fromValues(const QList<Registry::Value> &values);

    bool operator==(const Schedule &other) const = default;

    // A custom-time entry as numbers; -1 where that part is not a number.
    struct CustomTime
    {
        int asMinute = -1; // the entry as a decimal number (kind 1)
        int hour = -1; // characters 1-2 (kind 2)
        int minute = -1; // characters 4-5
        int second = -1; // characters 7-8
        bool operator==(const CustomTime &) const = default;
    };
    const QList<CustomTime> &parsedCustomTimes() const { return m_parsed; }

private:
    QStringList m_dates;
    QStringList m_customTimes;
    QList<CustomTime> m_parsed; // one per entry of m_customTimes
};

// The day rule: whether the job is due on `date` (queued at Start of Day). An invalid
// date is never a due day.
bool isDueOn(const Schedule &schedule, const QDate &date);

// Receives the debug lines of the time rule. The engine passes one only while the lines
// are to be written (its first-second window with debug logging on); without one the
// rule allocates nothing.
using ScheduleDebug = std::function<void(const QString &line)>;

// The time rule: whether a waiting queue entry starts at this tick. `customKind` and
// hour/minute/second are the entry's copies taken when the queue was built; the custom
// times and N come from `schedule`. `waitCounter` is the entry's count of minute changes
// (custom kind 3; the caller sets it to 0 when the rule holds), `startupMinutes` the
// engine's count of minute changes since start (kind 4). `job` names the job in the
// debug lines.
bool timeRuleHolds(const Schedule &schedule, int customKind, int hour, int minute, int second,
    int tickHour, int tickMinute, int tickSecond, qint64 waitCounter, qint64 startupMinutes,
    const QString &job = QString(), const ScheduleDebug &debug = {});

// The one-line text of the job list's "Schedule" column, at most 255 characters.
QString scheduleText(const Schedule &schedule);
