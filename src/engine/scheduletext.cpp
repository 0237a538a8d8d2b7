// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/schedule.h"

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype maxScheduleText = 255;

QString dayPart(const Schedule &schedule)
{
    static const QString everyDay = u"every day"_s;
    static const QString oddDays = u"odd days"_s;
    static const QString evenDays = u"even days"_s;
    static const QString weekdays[]
        = { u"sun,"_s, u"mon,"_s, u"tue,"_s, u"wed,"_s, u"thu,"_s, u"fri,"_s, u"sat,"_s };
    static const QString dayOfMonth = u"day: "_s;

    switch (schedule.frequency.value_or(5)) {
    case 1:
        return everyDay;
    case 2:
        return oddDays;
    case 3:
        return evenDays;
    case 4: {
        QString text;
        for (int i = 0; i < 7; ++i)
            if (i < schedule.frequencyData.size() && schedule.frequencyData.at(i) == u'1')
                text += weekdays[i];
        return text;
    }
    case 5:
        return schedule.dates().value(0);
    case 6: {
        QString text = dayOfMonth;
        for (const QString &day : schedule.dates())
            text += day + u',';
        return text;
    }
    default:
        return QString();
    }
}

QString timePart(const Schedule &schedule)
{
    static const QString onDemand = u"on demand only"_s;
    static const QString at = u" at "_s;
    static const QString am = u"am"_s;
    static const QString pm = u"pm"_s;
    static const QString everyHour = u" every hr on selected mins"_s;
    static const QString customTimes = u" at custom times"_s;
    static const QString every = u" every "_s;
    static const QString mins = u" mins."_s;
    static const QString afterStartup = u" mins after startup"_s;

    const auto twoDigits = [](int value) { return u"%1"_s.arg(value, 2, 10, QChar(u'0')); };
    const int n = schedule.customTimeHourMin.value_or(1);
    switch (schedule.customTimeType) {
    case -1:
        return onDemand;
    case 0: {
        const int h = schedule.hour;
        const int shownHour = h <= 12 ? h : h - 12;
        return at + QString::number(shownHour) + u':' + twoDigits(schedule.minute) + u':'
            + twoDigits(schedule.second) + (h < 12 ? am : pm);
    }
    case 1:
        return everyHour;
    case 3:
        return every + QString::number(n) + mins;
    case 4:
        return u' ' + QString::number(n) + afterStartup;
    default: // 2 and any other kind
        return customTimes;
    }
}

} // namespace

QString scheduleText(const Schedule &schedule)
{
    QString text = schedule.customTimeType == -1 ? QString() : dayPart(schedule);
    if (text.endsWith(u','))
        text[text.size() - 1] = u' ';
    text += timePart(schedule);
    if (text.size() > maxScheduleText) {
        // Never leave half of a surrogate pair at the end.
        qsizetype cut = maxScheduleText;
        if (text.at(cut - 1).isHighSurrogate())
            --cut;
        text.truncate(cut);
    }
    return text;
}
