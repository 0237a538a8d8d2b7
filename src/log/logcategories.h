// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

class Settings;

// The six category switches. A snapshot: loaded at start-up and again after the
// configuration is saved; callers test it before they compose a line.
struct LogCategories
{
    bool jobStarts = true;
    bool jobEnds = true;
    bool jobPrestarts = false;
    bool jobListChanges = false;
    bool emails = false;
    bool debugInfo = false;

    static LogCategories load(Settings &settings);
};
