// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

// Dates and times as the user reads them in the log, the job list and the run status.
namespace DateTimeText {

// "yyyy-mm-dd", fixed: the log purge parses it back.
QString date(const QDate &date);
// The locale's long time format with hours, minutes and seconds and no time zone.
QString longTime(const QTime &time, const QLocale &locale = QLocale::system());
// The format string behind longTime().
QString longTimeFormat(const QLocale &locale = QLocale::system());

} // namespace DateTimeText
