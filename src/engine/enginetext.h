// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

#include <optional>

// The engine's own texts: log lines, debug lines, status-line and row texts. Each text
// lives here once, so the tests compare against what the program writes.
namespace EngineText {

// Start of Day and the queue build.
QString startOfDayLine(int kind, int count);
QString startOfDayUnread();
QString queueFull();
QString jobsInQueue(int count);
QString jobsToday(int count);
QString allJobsSuspendedMini();
QString allSuspendedStatus();
QString allRestartedStatus();

// Row cells.
QString statusActive();
QString statusComplete();
QString statusDemand();
QString statusHold();
QString statusWaiting();
QString successful();
QString failed();
QString failedBecause(const QString &reason);
// The Program cell of a job: the program for type 0, else the type's own text; nothing
// for an unknown job type or shutdown type.
std::optional<QString> programCell(int jobType, int shutdownType, const QString &program);

// Timer loop (window lines first).
QString checkJobIndex(const QString &job, int index);
QString jobInactive(const QString &job);
QString checkingCustom(const QString &job, int index, int kind, int ms);
QString checkingScheduled(const QString &job, int index, int h, int m, int s, int th, int tm, int ts, int ms);
QString passedStartTest(const QString &job);
QString jobActiveTestPassed(const QString &job);
QString incrementWait(const QString &job, int index, qint64 wait);
QString resettingComplete(const QString &job, int index);
QString naturalTermination(const QString &job, int index);
QString prestartFailed(const QString &job);
QString prestartPassed(const QString &job);
QString endedSuccessfully(const QString &job, int code);
QString endedFailed(const QString &job, const QString &reason);
QString activityNotAvailable(const QString &job, int jobType);
QString unknownJobType(const QString &job, int jobType);
QString actionError(const QString &job, const QString &what);

// Launch and supervision.
QString startedOk(const QString &job, const QString &commandLine);
QString failedToStart(const QString &job, const QString &commandLine);
QString failedToStartReason(const QString &job, const QString &reason);
QString checkingTermByDuration(const QString &job, int index, int duration, qint64 run);
QString checkingTermAtTime(const QString &job, int index, int h, int m, int s);
QString scheduledTermination(const QString &job, int level);
QString forcedTermination(const QString &job, int index);
QString terminationFailed(const QString &job);
QString queueFullOnRequest(const QString &job);

// Post-run actions.
QString invokedJob(const QString &job, const QString &other);
QString failedToInvokeJob(const QString &job, const QString &other);
QString kickedOffProgram(const QString &job, const QString &command);
QString failedToKickOff(const QString &job, const QString &command);

// Prestart.
QString prestartChecking(const QString &job);
QString prestartCheckingDir(const QString &job);
QString prestartAttemptDir(const QString &job, const QString &dir);
QString prestartDirChanged(const QString &job, const QString &dir);
QString prestartDirNotChanged(const QString &job, const QString &dir);
QString prestartDrive(const QString &job, QChar letter, qint64 freeMb, int requiredMb);

} // namespace EngineText
