// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/systemactions.h"

#include "engine/enginehost.h"
#include "engine/processlister.h"
#include "log/activitylog.h"
#include "platform/processdata.h"
#include "platform/sessioncontrol.h"
#include "store/jobstore.h"

#include <csignal>
#include <limits>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// The request flags of the activities, in the shutdown call's terms.
constexpr int ewxLogoff = 0;
constexpr int ewxShutdown = 1;
constexpr int ewxReboot = 2;
constexpr int ewxForce = 4;
constexpr int ewxPoweroff = 8;

struct ActivityRow
{
    int activity;
    int flags;
    int forcedFlags;
    bool requests; // makes the first request; Restart goes straight to the second attempt
    bool secondAttempt; // a refused first request is followed by the log-off request
    bool endsProgram;
};

constexpr ActivityRow activityTable[] = {
    { SystemActions::Shutdown, ewxShutdown, ewxShutdown | ewxForce, true, true, false },
    { SystemActions::PowerOff, ewxShutdown | ewxPoweroff, ewxShutdown | ewxPoweroff | ewxForce,
        true, true, false },
    { SystemActions::Reboot, ewxReboot, ewxReboot | ewxForce, true, true, false },
    { SystemActions::LogOff, ewxLogoff, ewxLogoff | ewxForce, true, false, true },
    { SystemActions::Restart, 0, 0, false, true, true },
};

const ActivityRow *rowOf(int activity)
{
    for (const ActivityRow &row : activityTable)
        if (row.activity == activity)
            return &row;
    return nullptr;
}

QString shutdownSuccessful(const QString &job)
{
    return u"Job: "_s + job + u" shutdown windows successful."_s;
}
QString shutdownFailed(const QString &job)
{
    return u"Job: "_s + job + u" shutdown windows failed."_s;
}
QString routeLine(const QString &route, bool accepted)
{
    return u"System action: request through "_s + route + (accepted ? u", accepted"_s : u", refused"_s);
}
const QString secondaryUsed = u"ExitWindowsEx failed, secondary exitwindows used..."_s;

const QString processNameValue = u"sProcessName"_s;
const QString processKillTypeValue = u"sProcessKillType"_s;
const QString forcedExit = u"(Forced exit)"_s;
const QString normalExit = u"(Normal exit)"_s;
QString terminatedLine(const QString &job, const QString &name, const QString &suffix)
{
    return u"Job: "_s + job + u". Process: "_s + name + u" terminated successfully "_s + suffix;
}
QString terminationFailedLine(const QString &job, const QString &name, const QString &suffix)
{
    return u"Job: "_s + job + u". Process: "_s + name + u" termination failed "_s + suffix;
}

} // namespace

SystemActions::SystemActions(JobStore &store, ActivityLog &log, EngineHost &host,
    SessionControl &session, ProcessLister &processes)
    : m_store(store)
    , m_log(log)
    , m_host(host)
    , m_session(session)
    , m_processes(processes)
{
}

bool SystemActions::endsProgram(int activity)
{
    const ActivityRow *row = rowOf(activity);
    return row && row->endsProgram;
}

bool SystemActions::perform(const Job &job, int shutdownType, bool forceClose)
{
    if (shutdownType == TerminateProcess)
        return TerminateProcessJob(job);
    return ShutdownWindows(job, shutdownType, forceClose);
}

bool SystemActions::EnableShutdownPrivilege()
{
    return m_session.enableShutdownPrivilege();
}

bool SystemActions::exitWindowsEx(int flags)
{
    SessionControl::Action action = SessionControl::Action::LogOff;
    if (flags & ewxPoweroff)
        action = SessionControl::Action::PowerOff;
    else if (flags & ewxReboot)
        action = SessionControl::Action::Reboot;
    else if (flags & ewxShutdown)
        action = SessionControl::Action::Halt;
    const bool accepted = m_session.request(action, (flags & ewxForce) != 0);
    // Which way a log-off took matters: a session manager lets programs save their work.
    if (const QString route = m_session.lastRoute(); !route.isEmpty())
        m_log.logMessage(routeLine(route, accepted));
    return accepted;
}

// The fallback the shutdown activities have always had: a plain log-off request.
bool SystemActions::exitWindows()
{
    return exitWindowsEx(ewxLogoff);
}

bool SystemActions::ShutdownWindows(const Job &job, int activity, bool forceClose)
{
    const ActivityRow *row = rowOf(activity);
    if (!row)
        return false;

    bool success = false;
    if (row->requests) {
        EnableShutdownPrivilege();
        success = exitWindowsEx(forceClose ? row->forcedFlags : row->flags);
        if (success && activity == LogOff) {
            m_log.logMessage(shutdownSuccessful(job.name));
            m_host.quit();
            return true;
        }
    }

    m_host.processPendingEvents();

    if (!success) {
        // Restart closes no programs of its own first: the end of the session does.
        if (row->secondAttempt)
            success = exitWindows();
        if (activity != Restart)
            m_log.logMessage(secondaryUsed);
    }

    m_log.logMessage(success ? shutdownSuccessful(job.name) : shutdownFailed(job.name));
    if (row->endsProgram)
        m_host.quit();
    return success;
}

bool SystemActions::TerminateProcessJob(const Job &job)
{
    const QString name = m_store.readString(job.key, processNameValue);
    if (name.isEmpty())
        return false;
    const bool forced = m_store.readBoolean(job.key, processKillTypeValue, false);

    const QString wanted = name.toUpper();
    const quint32 self = quint32(::getpid());
    bool success = false;
    for (const ProcessLister::Entry &entry : m_processes.processes()) {
        // Never this program: the run's end could not be recorded. Nor an id that names no
        // single process: 0 is our own group, and past INT_MAX an id turns negative (a
        // group, or with -1 every process there is).
        if (entry.name.toUpper() != wanted || entry.pid == self)
            continue;
        if (entry.pid == 0 || entry.pid > quint32(std::numeric_limits<pid_t>::max())) {
            success = false;
            continue;
        }
        success = TProcessData::signalProcess(
            TProcess(entry.pid, entry.startTime), forced ? SIGKILL : SIGTERM);
    }

    const QString &suffix = forced ? forcedExit : normalExit;
    m_log.logMessage(success ? terminatedLine(job.name, name, suffix)
                             : terminationFailedLine(job.name, name, suffix));
    return success;
}
