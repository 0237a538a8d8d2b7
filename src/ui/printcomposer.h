// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class JobValues;

// What a printout or a clipboard copy says, without any printer or widget: the tests
// compare its lines one by one.
namespace PrintComposer {

// The five lines of one job, from its stored values. The job type is named whether or not
// the job list shows its Program column: a block without it would not say what the job does.
QStringList jobBlock(const JobValues &job);

// The heading: title + " (" + date + " " + long time + ")".
QString titleLine(const QString &title, const QDateTime &now);

// What goes to the printer: the heading unless the title is empty, one blank line, the lines.
QStringList document(const QString &title, const QStringList &lines, const QDateTime &now);

} // namespace PrintComposer
