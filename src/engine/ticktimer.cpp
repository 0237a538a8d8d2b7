// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/ticktimer.h"

#include <QDateTime>

namespace {

// A tick lands this much after its mark, so that the clock it reads is past the mark even
// when the timer fires a little early.
constexpr int slackMs = 1;

} // namespace

TickTimer::TickTimer(std::function<int()> interval, std::function<void()> tick)
    : m_interval(std::move(interval)), m_tick(std::move(tick))
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        m_tick();
        arm();
    });
}

void TickTimer::start() { arm(); }

void TickTimer::arm()
{
    m_timer.start(delayToNextTick(QDateTime::currentMSecsSinceEpoch(), m_interval()));
}

int TickTimer::delayToNextTick(qint64 msSinceEpoch, int interval)
{
    interval = std::max(interval, 1);
    if (interval >= 1000)
        return int(interval - msSinceEpoch % interval) + slackMs;
    const int inSecond = int(msSinceEpoch % 1000);
    int next = (inSecond / interval + 1) * interval;
    if (next > 1000)
        next = 1000;
    return next - inSecond + slackMs;
}
