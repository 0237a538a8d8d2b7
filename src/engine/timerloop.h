// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "engine/rulestarts.h"

struct EngineContext;
class JobRuns;
class Prestart;
class QueueBuilder;
struct TickTime;

// The timer loop: at every firing the clock and the mini window, the minute count, Start
// of Day when the date has changed, and a walk over the queue that starts what is due and
// supervises what runs. A tick that comes while another is busy only keeps the clock.
class TimerLoop
{
public:
    TimerLoop(EngineContext &context, QueueBuilder &builder, JobRuns &runs, Prestart &prestart);

    void tick();

    void suspendAll();
    void restartAll();
    bool isSuspended() const { return m_suspended; }
    void setFirstShow(bool firstShow) { m_firstShow = firstShow; }
    qint64 startupMinuteCount() const { return m_startupMinutes; }

private:
    TickTime readClock();
    void showTime(const TickTime &t);
    // Counts a change of minute; false when the minute is the last tick's.
    bool countMinute(const TickTime &t);
    void walk(const TickTime &t, bool minuteChanged);
    void treat(int index, const TickTime &t, bool minuteChanged);
    bool decideStart(int index, const TickTime &t);
    void log(const QString &line);

    EngineContext &m_context;
    QueueBuilder &m_builder;
    JobRuns &m_runs;
    Prestart &m_prestart;
    RuleStarts m_ruleStarts;

    bool m_firstShow = true;
    bool m_suspended = false;
    bool m_busy = false;
    bool m_debugWindow = false;
    qint64 m_startupMinutes = 0;
    int m_lastSecond = 0;
    // No minute yet: the first tick counts a minute change, whatever the minute.
    int m_lastMinute = -1;
    int m_trayFrame = 0;
};
