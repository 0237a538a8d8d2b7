// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QHash>
#include <QSet>
#include <QString>

struct QueueEntry;
struct TickTime;

// The starts made by a job's own time rule: a rebuild of the queue, the repeated hour at
// the end of daylight saving time or a clock stepped back never starts a job twice for one
// minute of one date, nor an after-start-up job twice per program run. Requests to start
// a job now are not counted.
class RuleStarts
{
public:
    // Whether the entry's rule has already started it for the tick's minute (or, after
    // start-up, at all).
    bool startedIn(const QueueEntry &entry, const TickTime &t) const;
    void note(const QueueEntry &entry, const TickTime &t);

private:
    static qint64 minuteStamp(const TickTime &t);

    // By job name, the wall-clock minutes (by minuteStamp) of its starts.
    QHash<QString, QSet<qint64>> m_minutes;
    QSet<QString> m_afterStartup;
};
