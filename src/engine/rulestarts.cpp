// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/rulestarts.h"

#include "engine/queueentry.h"
#include "engine/ticktime.h"

namespace {

// The custom kinds: fixed time (0), listed minutes (1), listed times (2), after start-up (4).
bool isTimeOfDayKind(int kind) { return kind >= 0 && kind <= 2; }
constexpr int afterStartupKind = 4;

} // namespace

qint64 RuleStarts::minuteStamp(const TickTime &t)
{
    return t.now.date().toJulianDay() * 1440 + t.hour * 60 + t.minute;
}

bool RuleStarts::startedIn(const QueueEntry &e, const TickTime &t) const
{
    if (e.customKind == afterStartupKind)
        return m_afterStartup.contains(e.jobName);
    if (!isTimeOfDayKind(e.customKind))
        return false;
    const auto found = m_minutes.constFind(e.jobName);
    return found != m_minutes.constEnd() && found->contains(minuteStamp(t));
}

void RuleStarts::note(const QueueEntry &e, const TickTime &t)
{
    if (e.customKind == afterStartupKind) {
        m_afterStartup.insert(e.jobName);
    } else if (isTimeOfDayKind(e.customKind)) {
        QSet<qint64> &minutes = m_minutes[e.jobName];
        // Only the last two days can come round again after a step of the clock.
        const qint64 oldest = minuteStamp(t) - 2 * 1440;
        minutes.removeIf([oldest](qint64 stamp) { return stamp < oldest; });
        minutes.insert(minuteStamp(t));
    }
}
