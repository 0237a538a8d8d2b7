// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/schedule.h"

#include "store/jobstore.h"
#include "store/valuecodec.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace {

const QString customMinLine = u"Debug, job %1 custom min: %2 time min: %3"_s;
const QString customTimeLine = u"Debug, job %1 custom time: %2 actual time : %3:%4:%5"_s;
const QString everyMinLine = u"Debug, job %1 every min: %2 wait min: %3"_s;
const QString afterStartupLine = u"Debug, job %1 min after startup: %2 actual min: %3"_s;

// List entries are "read as a decimal number": no hexadecimal here, unlike `i` values.
int decimalOr(QStringView text, int fallback)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : fallback;
}

Schedule::CustomTime parseCustomTime(const QString &text)
{
    const QStringView view(text);
    return { decimalOr(view, -1), decimalOr(view.mid(0, 2), -1), decimalOr(view.mid(3, 2), -1),
        decimalOr(view.mid(6, 2), -1) };
}

// Index of `name` in the list `stem` + decimal index without leading zeros, else -1.
int listIndex(const QString &name, const QString &stem)
{
    if (name.size() <= stem.size() || !name.startsWith(stem, Qt::CaseInsensitive))
        return -1;
    const QStringView digits = QStringView(name).mid(stem.size());
    if (digits.size() > 9 || (digits.size() > 1 && digits.front() == u'0'))
        return -1;
    for (QChar c : digits)
        if (c < u'0' || c > u'9')
            return -1;
    return digits.toInt();
}

QStringList listUpToFirstEmpty(const QHash<int, QString> &entries, int lastIndex)
{
    QStringList list;
    for (int i = 0; i <= lastIndex; ++i) {
        const QString text = entries.value(i);
        if (text.isEmpty())
            break;
        list.append(text);
    }
    return list;
}

// Day of the week as the rules count it: 1 Sunday … 7 Saturday.
int sundayFirstDayOfWeek(const QDate &date)
{
    return date.dayOfWeek() % 7 + 1;
}

bool dateEntryMatches(const QString &entry, const QDate &date)
{
    // Positions 5 and 8 are separators and not looked at.
    const QStringView view(entry);
    return decimalOr(view.mid(0, 4), -1) == date.year()
        && decimalOr(view.mid(5, 2), -1) == date.month()
        && decimalOr(view.mid(8, 2), -1) == date.day();
}

} // namespace

void Schedule::setDates(const QStringList &dates)
{
    m_dates.clear();
    for (const QString &date : dates) {
        if (date.isEmpty())
            break;
        m_dates.append(date);
    }
}

void Schedule::setCustomTimes(const QStringList &times)
{
    m_customTimes.clear();
    m_parsed.clear();
    for (const QString &time : times) {
        if (time.isEmpty() || m_customTimes.size() > lastCustomTimeIndex)
            break;
        m_customTimes.append(time);
        m_parsed.append(parseCustomTime(time));
    }
}

Schedule Schedule::read(JobStore &store, const QString &job)
{
    return fromValues(store.values(job).values());
}

Schedule Schedule::fromValues(const QList<Registry::Value> &values)
{
    static const QString frequencyName = u"iFrequency"_s;
    static const QString frequencyDataName = u"sFrequency Data"_s;
    static const QString hourName = u"iHour"_s;
    static const QString minuteName = u"iMin"_s;
    static const QString secondName = u"iSec"_s;
    static const QString customTypeName = u"iCustomTimeType"_s;
    static const QString hourMinName = u"iCustomTimeHourMin"_s;
    static const QString datesStem = u"sFreq"_s;
    static const QString customTimesStem = u"sCustomTime"_s;

    Schedule schedule;
    QHash<int, QString> dates;
    QHash<int, QString> customTimes;
    const auto is = [](const QString &name, const QString &wanted) {
        return name.compare(wanted, Qt::CaseInsensitive) == 0;
    };
    for (const Registry::Value &value : values) {
        const QString &name = value.first;
        const QString &data = value.second;
        if (is(name, frequencyName))
            schedule.frequency = ValueCodec::parseInteger(data);
        else if (is(name, frequencyDataName))
            schedule.frequencyData = data;
        else if (is(name, hourName))
            schedule.hour = ValueCodec::readInteger(data, 0);
        else if (is(name, minuteName))
            schedule.minute = ValueCodec::readInteger(data, 0);
        else if (is(name, secondName))
            schedule.second = ValueCodec::readInteger(data, 0);
        else if (is(name, customTypeName))
            schedule.customTimeType = ValueCodec::readInteger(data, 0);
        else if (is(name, hourMinName))
            schedule.customTimeHourMin = ValueCodec::parseInteger(data);
        else if (const int index = listIndex(name, datesStem); index >= 0)
            dates.insert(index, data);
        else if (const int index = listIndex(name, customTimesStem);
                 index >= 0 && index <= lastCustomTimeIndex)
            customTimes.insert(index, data);
    }
    schedule.m_dates = listUpToFirstEmpty(dates, std::numeric_limits<int>::max());
    schedule.setCustomTimes(listUpToFirstEmpty(customTimes, lastCustomTimeIndex));
    return schedule;
}

bool isDueOn(const Schedule &schedule, const QDate &date)
{
    if (!date.isValid())
        return false;
    switch (schedule.frequency.value_or(0)) {
    case 0:
        return false;
    case 1:
        return true;
    case 2:
        return date.day() % 2 == 1;
    case 3:
        return date.day() % 2 == 0;
    case 4: {
        const qsizetype position = sundayFirstDayOfWeek(date) - 1;
        return position < schedule.frequencyData.size()
            && schedule.frequencyData.at(position) == u'1';
    }
    case 5:
        for (const QString &entry : schedule.dates())
            if (dateEntryMatches(entry, date))
                return true;
        return false;
    case 6:
        for (const QString &entry : schedule.dates())
            if (decimalOr(entry, -1) == date.day())
                return true;
        return false;
    default:
        return true;
    }
}

bool timeRuleHolds(const Schedule &schedule, int customKind, int hour, int minute, int second,
    int tickHour, int tickMinute, int tickSecond, qint64 waitCounter, qint64 startupMinutes,
    const QString &job, const ScheduleDebug &debug)
{
    switch (customKind) {
    case 0:
        return tickHour == hour && tickMinute == minute && (second == 0 || tickSecond == second);
    case 1: {
        const QList<Schedule::CustomTime> &times = schedule.parsedCustomTimes();
        for (qsizetype i = 0; i < times.size(); ++i) {
            if (debug)
                debug(customMinLine.arg(
                    job, schedule.customTimes().at(i), QString::number(tickMinute)));
            if (times.at(i).asMinute >= 0 && times.at(i).asMinute == tickMinute)
                return true;
        }
        return false;
    }
    case 2: {
        const QList<Schedule::CustomTime> &times = schedule.parsedCustomTimes();
        for (qsizetype i = 0; i < times.size(); ++i) {
            if (debug)
                debug(
                    customTimeLine.arg(job, schedule.customTimes().at(i), QString::number(tickHour),
                        QString::number(tickMinute), QString::number(tickSecond)));
            const Schedule::CustomTime &t = times.at(i);
            if (t.hour >= 0 && t.hour == tickHour && t.minute == tickMinute && t.second >= 0
                && t.second >= tickSecond)
                return true;
        }
        return false;
    }
    case 3: {
        const int n = schedule.customTimeHourMin.value_or(0);
        if (n == 0)
            return false;
        if (debug)
            debug(everyMinLine.arg(job, QString::number(n), QString::number(waitCounter)));
        // A negative N would make the wait always long enough: a start at every minute.
        return n > 0 && waitCounter >= n;
    }
    case 4: {
        const int n = schedule.customTimeHourMin.value_or(0);
        if (n == 0)
            return false;
        if (debug)
            debug(afterStartupLine.arg(job, QString::number(n), QString::number(startupMinutes)));
        return startupMinutes == n;
    }
    default:
        return false;
    }
}
