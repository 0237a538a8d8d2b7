// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

class Clock;
class JobStore;
class Settings;

// What every job editor works with; owned by the main window (or a test) and outliving
// the editors.
struct EditorContext
{
    JobStore &store;
    Settings &settings;
    const Clock &clock;
};
