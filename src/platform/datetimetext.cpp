// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/datetimetext.h"

#include <QRegularExpression>

namespace DateTimeText {

QString date(const QDate &date) { return date.toString(QStringLiteral("yyyy-MM-dd")); }

QString longTimeFormat(const QLocale &locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    // Drop the zone ("t", "tttt" and the like, outside quotes) with the blanks around it.
    static const QRegularExpression zone(QStringLiteral("\\s*(?<!')\\bt+\\b(?!')\\s*"));
    format.replace(zone, QStringLiteral(" "));
    format = format.trimmed();
    // A locale whose long format lacks seconds still gets them.
    if (!format.contains(u's'))
        format.replace(QStringLiteral("mm"), QStringLiteral("mm:ss"));
    return format;
}

QString longTime(const QTime &time, const QLocale &locale)
{
    return locale.toString(time, longTimeFormat(locale));
}

} // namespace DateTimeText
