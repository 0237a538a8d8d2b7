// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/enginetext.h"

using namespace Qt::StringLiterals;

namespace EngineText {

namespace {
QString n(qint64 value) { return QString::number(value); }
QString idx(const QString &job, int index) { return u"Debug, job: "_s + job + u" (idx "_s + n(index) + u"): "_s; }
} // namespace

QString startOfDayUnread()
{
    return u"Start of day: the job store could not be read; the queue is kept and read again at the next tick"_s;
}

QString startOfDayLine(int kind, int count)
{
    static const QString prefixes[] = {u"Auto Start of day procedure. "_s,
        u"Forced Start of day procedure. "_s, u"Halvorn startup procedure. "_s};
    const QString prefix = prefixes[kind >= 0 && kind <= 2 ? kind : 0];
    if (count > 0)
        return prefix + u"There are "_s + n(count) + u" jobs for this day."_s;
    return prefix + u"There are no jobs today"_s;
}

QString queueFull() { return u"Warning: there are more than 256 jobs for today..."_s; }
QString jobsInQueue(int count) { return n(count) + (count == 1 ? u" job"_s : u" jobs"_s) + u" in todays timer queue"_s; }
QString jobsToday(int count) { return n(count) + (count == 1 ? u" job"_s : u" jobs"_s) + u" today"_s; }
QString allJobsSuspendedMini() { return u"all jobs susp."_s; }
QString allSuspendedStatus() { return u"User action: All jobs suspended"_s; }
QString allRestartedStatus() { return u"User action: All jobs restarted"_s; }

QString statusActive() { return u"active"_s; }
QString statusComplete() { return u"complete"_s; }
QString statusDemand() { return u"demand"_s; }
QString statusHold() { return u"hold"_s; }
QString statusWaiting() { return u"waiting"_s; }
QString successful() { return u"successful"_s; }
QString failed() { return u"failed"_s; }
QString failedBecause(const QString &reason) { return u"failed, "_s + reason; }

std::optional<QString> programCell(int jobType, int shutdownType, const QString &program)
{
    static const QString shutdownNames[] = {u"Unknown"_s, u"Windows shutdown"_s,
        u"Shutdown & Poweroff"_s, u"Shutdown & Reboot"_s, u"Close Programs & Logoff"_s,
        u"Restart Windows"_s, u"Terminate a Process"_s};
    switch (jobType) {
    case 0:
        return program;
    case 1:
        if (shutdownType >= 0 && shutdownType <= 6)
            return shutdownNames[shutdownType];
        return std::nullopt;
    case 2:
        return u"Delete file"_s;
    case 3:
        return u"Create file"_s;
    case 4:
        return u"Copy file"_s;
    case 5:
        return u"Rename file"_s;
    case 6:
        return u"Send Email"_s;
    default:
        return std::nullopt;
    }
}

QString checkJobIndex(const QString &job, int index) { return u"Debug, job: "_s + job + u": Timerloop, check job index "_s + n(index); }
QString jobInactive(const QString &job) { return u"Debug, job: "_s + job + u": job inactive, testing to start"_s; }
QString checkingCustom(const QString &job, int index, int kind, int ms)
{
    return idx(job, index) + u"checking custom schedule (type "_s + n(kind) + u")(ms "_s + n(ms) + u")"_s;
}
QString checkingScheduled(const QString &job, int index, int h, int m, int s, int th, int tm, int ts, int ms)
{
    return idx(job, index) + u"checking scheduled time: "_s + n(h) + u':' + n(m) + u':' + n(s)
        + u" against real time: "_s + n(th) + u':' + n(tm) + u':' + n(ts) + u" (ms "_s + n(ms) + u')';
}
QString passedStartTest(const QString &job) { return u"Debug, job: "_s + job + u": passed start test, preparing..."_s; }
QString jobActiveTestPassed(const QString &job) { return u"Debug, job: "_s + job + u": job active test passed."_s; }
QString incrementWait(const QString &job, int index, qint64 wait)
{
    return u"Debug, job "_s + job + u" (idx "_s + n(index) + u"): increment wait mins, now: "_s + n(wait);
}
QString resettingComplete(const QString &job, int index)
{
    return u"Debug, job "_s + job + u" (idx "_s + n(index) + u"): resetting job complete flag, job waiting.."_s;
}
QString naturalTermination(const QString &job, int index) { return idx(job, index) + u"natural termination, reset job flag in 1 minute."_s; }
QString prestartFailed(const QString &job) { return u"Job: "_s + job + u" prestart: drive FAILED disk availability test"_s; }
QString prestartPassed(const QString &job) { return u"Job: "_s + job + u" prestart: drive passed disk availability test"_s; }
QString endedSuccessfully(const QString &job, int code) { return u"Job: "_s + job + u" ended successfully, exit code: "_s + n(code); }
QString endedFailed(const QString &job, const QString &reason) { return u"Job: "_s + job + u" failed, "_s + reason; }
QString activityNotAvailable(const QString &job, int jobType)
{
    return u"Debug, job: "_s + job + u": the activity of job type "_s + n(jobType)
        + u" is not available in this version; the run counts as failed."_s;
}
QString unknownJobType(const QString &job, int jobType)
{
    return u"Debug, job: "_s + job + u": unknown job type "_s + n(jobType) + u"; the run counts as failed."_s;
}
QString actionError(const QString &job, const QString &what)
{
    return u"Debug, job: "_s + job + u": error during the run, this tick's walk ends: "_s + what;
}

QString startedOk(const QString &job, const QString &commandLine) { return u"Job: "_s + job + u" started ok \""_s + commandLine + u'"'; }
QString failedToStart(const QString &job, const QString &commandLine) { return u"Job: "_s + job + u" failed to start \""_s + commandLine + u'"'; }
QString failedToStartReason(const QString &job, const QString &reason) { return u"Debug, job: "_s + job + u": the program could not be started: "_s + reason; }
QString checkingTermByDuration(const QString &job, int index, int duration, qint64 run)
{
    return idx(job, index) + u"checking term by duration: Dur: "_s + n(duration) + u" Run: "_s + n(run);
}
QString checkingTermAtTime(const QString &job, int index, int h, int m, int s)
{
    return idx(job, index) + u"checking term at time: Hr: "_s + n(h) + u" Min: "_s + n(m) + u" Sec: "_s + n(s);
}
QString scheduledTermination(const QString &job, int level) { return u"Job: "_s + job + u" scheduled termination, exit code: "_s + n(level); }
QString forcedTermination(const QString &job, int index) { return idx(job, index) + u"forced termination, reset job flag in 1 minute."_s; }
QString terminationFailed(const QString &job) { return u"Job: "_s + job + u" scheduled termination failed."_s; }
QString queueFullOnRequest(const QString &job)
{
    return u"Debug, job: "_s + job + u": today's timer queue is full (256 entries); the request is refused."_s;
}

QString invokedJob(const QString &job, const QString &other) { return u"Job: "_s + job + u" invoked job: "_s + other + u" ok."_s; }
QString failedToInvokeJob(const QString &job, const QString &other) { return u"Job: "_s + job + u" failed to invoke job: "_s + other; }
QString kickedOffProgram(const QString &job, const QString &command) { return u"Job: "_s + job + u" kicked off program: "_s + command + u" ok."_s; }
QString failedToKickOff(const QString &job, const QString &command) { return u"Job: "_s + job + u" failed to kick off program: "_s + command; }

QString prestartChecking(const QString &job) { return u"Debug, job "_s + job + u": Prestart: Checking for prestart activities."_s; }
QString prestartCheckingDir(const QString &job) { return u"Debug, job "_s + job + u": Prestart: Checking set start directory flag."_s; }
QString prestartAttemptDir(const QString &job, const QString &dir) { return u"Debug, job "_s + job + u": Prestart: Attempt to set dir to "_s + dir; }
QString prestartDirChanged(const QString &job, const QString &dir) { return u"Job: "_s + job + u" prestart: Directory changed to: "_s + dir; }
QString prestartDirNotChanged(const QString &job, const QString &dir) { return u"Job: "_s + job + u" prestart: Directory could not be changed to: "_s + dir; }
QString prestartDrive(const QString &job, QChar letter, qint64 freeMb, int requiredMb)
{
    return u"Debug, job: "_s + job + u" prestart: Drive: "_s + letter + u' ' + n(freeMb)
        + u"mb, test against: "_s + n(requiredMb) + u"mb"_s;
}

} // namespace EngineText
