// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "engine/jobrow.h"
#include "engine/rowupdate.h"

#include <QString>

class JobValues;
class Settings;

// The job list as the engine hands it to its host: the cells of the columns the settings
// show, for a whole row and for the changes of a run.
class JobRows
{
public:
    // The column switches, read with the engine's other settings.
    void readColumns(Settings &settings);

    // The row of one job; no caption for a job without a name, which the list leaves out.
    JobRow rowOf(const JobValues &job) const;

    // A program has started: active, and when.
    RowUpdate runStarted(const QString &when) const;
    // A run has ended with the given status cell; `startedToo` for a run that started
    // and ended within the tick.
    RowUpdate runEnded(const QString &when, const QString &lastStatus, bool startedToo) const;

private:
    enum Column { Status, Schedule, Program, LastStart, LastEnd, LastStatus, ColumnCount };

    bool m_shown[ColumnCount] = {true, true, true, true, true, true};
};
