// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "engine/schedule.h"
#include "platform/processlauncher.h"

#include <QString>

#include <optional>

// One entry of today's timer queue: a job due today with its run state. Counters are
// wide enough never to wrap during a program run.
struct QueueEntry
{
    enum RunState { Waiting = 0, Active = 1, Complete = 2 };

    bool inUse = false;
    bool runNow = false;
    bool hold = false;
    int jobType = 0;
    qint64 runMinutes = 0;
    qint64 waitCounter = 0;
    int runState = Waiting;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int customKind = 0;
    QString jobName;
    std::optional<ProcessHandle> process;
    bool successTest = false;
    bool notifyOrForce = false;
    int terminationOrShutdown = 0;
    int terminationDuration = 0;
    int terminationHour = 0;
    int terminationMinute = 0;
    int terminationSecond = 0;

    // The job's schedule as read at load, for the time rule of every tick.
    Schedule schedule;

    // The job's key in the store, where its runs are recorded; `jobName` (its sJobName)
    // names it in the log and finds it on request, and may differ from the key. Last: the
    // timer loop's look at every entry never reads it.
    QString key;

    void clear() { *this = QueueEntry(); }
};
