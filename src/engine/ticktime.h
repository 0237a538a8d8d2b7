// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "log/logcategories.h"

#include <QDateTime>

// One firing of the timer: the clock read once, for everything the tick does.
struct TickTime
{
    QDateTime now;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int ms = 0;
    // Within the first second of a minute: the loop's detailed debug lines are written.
    bool debugWindow = false;

    bool logsWindowLines(const LogCategories &categories) const
    {
        return categories.debugInfo && debugWindow;
    }
};
