// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "store/jobstore.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

struct EngineContext;
class JobRows;

enum class StartOfDayKind { Automatic = 0, Forced = 1, StartUp = 2 };

// Today's timer queue and the job list behind it: Start of Day, the refresh after a change
// of the jobs (by the user, a job list file or another process), and the loading of one
// job into the queue. Every rebuild keeps the running entries.
class QueueBuilder
{
public:
    QueueBuilder(EngineContext &context, const JobRows &rows);

    // Once a day (at the first tick of a day, or forced): the log purge, then the job list
    // and the queue. A store that cannot be read is tried again at the next tick.
    void startOfDay(StartOfDayKind kind, const QDateTime &now);
    // Re-reads the job names, hands the rows to the host and rebuilds the queue; false,
    // with nothing changed, when the store could not be read.
    bool refreshJobList(const QDate &today);
    // Another process wrote the store since the last build: the job list is refreshed.
    void refreshIfChangedElsewhere(const QDate &today);
    // Rebuilds the queue from the job names of the last refresh.
    void buildQueue(const QDate &today);
    // The job stored under `key` into entry `index`.
    void load(int index, const QString &key);
    // Makes a job start at the timer loop's next look at it; false when the job is
    // neither queued nor listed, or the queue is full.
    bool startOnRequest(const QString &name);

    const QStringList &jobNames() const { return m_jobNames; }

private:
    void buildQueue(const JobStore::Snapshot &jobs, const QDate &today);
    void purgeLog(const QDateTime &now);

    EngineContext &m_context;
    const JobRows &m_rows;
    QStringList m_jobNames;
    int m_lastStartOfDayDay = 0;
    int m_lastPurgeDay = 0;
    // The kind of a Start of Day that could not read the store, until a retry succeeds.
    std::optional<StartOfDayKind> m_unreadKind;
    qint64 m_dataVersion = -1;
};
