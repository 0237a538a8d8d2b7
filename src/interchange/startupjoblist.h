// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

class ActivityLog;
class Clock;
class JobStore;
class Settings;

// The start-up job list file: merged into the job store without questions after the
// first Start of Day when `bLoadStartupFile` is set. With `bLoadStartupFileOnce` it is
// read until one load has run to its end (then `bStartupFileLoaded` is set, also when no
// file is named); without it, at every start. A name without a folder lives in the
// program's folder.
class StartupJobList
{
public:
    StartupJobList(JobStore &store, Settings &settings, ActivityLog &log, const Clock &clock);

    // The folder of names without one; the program's own unless set.
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }

    // True when the job store was changed: the caller refreshes the job list and today's
    // timer queue.
    bool run();

private:
    JobStore &m_store;
    Settings &m_settings;
    ActivityLog &m_log;
    const Clock &m_clock;
    QString m_programFolder;
};
