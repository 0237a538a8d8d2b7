// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "engine/prestart.h"
#include "log/logcategories.h"

class ActivityLog;
class Clock;
class EngineHost;
class JobStore;
class ProcessLauncher;
class ProcessLister;
class SessionControl;
class Settings;
class TimerQueue;

// What the engine is given to work with; none of it owned.
struct EngineServices
{
    JobStore &store;
    Settings &settings;
    ActivityLog &log;
    const Clock &clock;
    ProcessLauncher &launcher;
    EngineHost &host;
    Prestart::FreeBytes freeBytes;
    // For system jobs; without them a system job's run fails with a debug line.
    SessionControl *session = nullptr;
    ProcessLister *processes = nullptr;
};

// The engine's settings as last read: at start-up and after the configuration is saved.
struct EngineSettings
{
    int timerInterval = 250;
    // 2 shows the mini window at a tick before the main window was first shown; -1 after.
    int startAsWindow = 0;
    LogCategories categories;
    bool useRecycleBin = true;
};

// What every part of the engine works with: the services, today's queue and the settings;
// owned by the engine, outliving its parts.
struct EngineContext : EngineServices
{
    TimerQueue &queue;
    EngineSettings &options;

    const LogCategories &categories() const { return options.categories; }
};
