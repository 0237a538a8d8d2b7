// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "engine/jobref.h"

#include <QString>

class ActivityLog;
class EngineHost;
class JobStore;
class ProcessLister;
class SessionControl;

// The work of a system job: shut down, power off, reboot, log off, restart the session,
// or terminate the processes of one name. Each operation returns the run's success and
// writes its own log lines, whatever the log switches say. No state between calls.
class SystemActions
{
public:
    // `iShutdownType` values.
    enum Activity {
        Shutdown = 1,
        PowerOff = 2,
        Reboot = 3,
        LogOff = 4,
        Restart = 5,
        TerminateProcess = 6,
    };

    SystemActions(JobStore &store, ActivityLog &log, EngineHost &host, SessionControl &session,
        ProcessLister &processes);

    // The run of a system job: activities 1 to 5 through ShutdownWindows, 6 through
    // TerminateProcessJob; any other value does nothing and fails.
    bool perform(const Job &job, int shutdownType, bool forceClose);

    // Activities 1 to 5. After LogOff and Restart the host has been told to quit: the
    // caller must do nothing more for this run (see endsProgram).
    bool ShutdownWindows(const Job &job, int activity, bool forceClose);
    // Signals every process whose name matches `sProcessName` without regard to case:
    // SIGTERM, or SIGKILL when `sProcessKillType` is true. The result is that of the last
    // match; false when nothing matches. This program itself is never signalled.
    bool TerminateProcessJob(const Job &job);
    // Callers ignore the result.
    bool EnableShutdownPrivilege();

    // True for the activities after which ShutdownWindows has ended the program.
    static bool endsProgram(int activity);

private:
    bool exitWindowsEx(int flags);
    bool exitWindows();

    JobStore &m_store;
    ActivityLog &m_log;
    EngineHost &m_host;
    SessionControl &m_session;
    ProcessLister &m_processes;
};
