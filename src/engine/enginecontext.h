// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "log/logcategories.h"

class ActivityLog;
class Clock;
class EngineHost;
class JobStore;
class ProcessLauncher;
class Settings;
class TimerQueue;

// The engine's settings as last read: at start-up and after the configuration is saved.
struct EngineSettings
{
    int timerInterval = 250;
    // 2 shows the mini window at the first tick after the first show; -1 once it has.
    int startAsWindow = 0;
    LogCategories categories;
    bool useRecycleBin = true;
};

// What every part of the engine works with; owned by the engine, outliving its parts.
struct EngineContext
{
    JobStore &store;
    Settings &settings;
    ActivityLog &log;
    const Clock &clock;
    ProcessLauncher &launcher;
    EngineHost &host;
    TimerQueue &queue;
    EngineSettings &options;

    const LogCategories &categories() const { return options.categories; }
};
