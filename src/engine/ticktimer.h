// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QTimer>

#include <functional>

// Fires the engine's tick on the wall clock: at multiples of the interval from each full
// second (from the epoch for intervals of a second or more), so a job due at a second
// starts within a few milliseconds of it. Re-placed at every tick, so a clock step or a
// late tick costs one tick at most. The interval is asked for at every tick.
class TickTimer
{
public:
    TickTimer(std::function<int()> interval, std::function<void()> tick);
    TickTimer(const TickTimer &) = delete;
    TickTimer &operator=(const TickTimer &) = delete;

    void start();

    // Milliseconds from `msSinceEpoch` to the tick after it.
    static int delayToNextTick(qint64 msSinceEpoch, int interval);

private:
    void arm();

    std::function<int()> m_interval;
    std::function<void()> m_tick;
    QTimer m_timer;
};
