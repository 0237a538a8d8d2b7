// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/datetimetext.h"

#include <QRegularExpression>

namespace DateTimeText {

QString date(const QDate &date) { return date.toString(QStringLiteral("yyyy-MM-dd")); }

namespace {

QString deriveLongTimeFormat(const QLocale &locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    // Drop the zone ("t", "tttt" and the like, outside quotes) with the blanks, brackets
    // and separator around it: Spanish and others write "H:mm:ss (t)".
    static const QRegularExpression zone(
        QStringLiteral("[\\s,]*[(\\[]?\\s*(?<!')\\bt+\\b(?!')\\s*[)\\]]?\\s*"));
    format.replace(zone, QStringLiteral(" "));
    format = format.trimmed();
    // A locale whose long format lacks seconds still gets them.
    if (!format.contains(u's'))
        format.replace(QStringLiteral("mm"), QStringLiteral("mm:ss"));
    return format;
}

} // namespace

QString longTimeFormat(const QLocale &locale)
{
    // Worked out once per locale: the clock and the log ask for it every second or more.
    thread_local QLocale lastLocale(QLocale::C);
    thread_local QString lastFormat = deriveLongTimeFormat(lastLocale);
    if (locale != lastLocale) {
        lastLocale = locale;
        lastFormat = deriveLongTimeFormat(locale);
    }
    return lastFormat;
}

QString longTime(const QTime &time, const QLocale &locale)
{
    return locale.toString(time, longTimeFormat(locale));
}

} // namespace DateTimeText
