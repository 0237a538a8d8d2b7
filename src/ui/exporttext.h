// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

// Texts of printing and clipboard export, each kept here once.
namespace ExportText {

QString printing();
QString copied();
QString nothingCopied();
QString printWholeList();
QString copyWholeList();
QString printError();
QString logTitle();
QString jobListTitle();

// The five lines of a printed or copied job.
QString jobNameLine(const QString &name, bool hold);
QString jobTypeLine(const QString &typeText);
QString runProgram(const QString &program);
QString lastRunLine(const QString &startDate, const QString &startTime, const QString &endDate,
    const QString &endTime, bool successful);
QString scheduleLine(const QString &schedule);
QString blockEnd();

} // namespace ExportText
