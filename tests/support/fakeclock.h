// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "platform/clock.h"

// A clock that stands still until the test moves it.
class FakeClock final : public Clock
{
public:
    explicit FakeClock(const QDateTime &start = QDateTime(QDate(2026, 12, 10), QTime(14, 5, 9)))
        : m_now(start)
    {
    }
    QDateTime now() const override { return m_now; }
    void set(const QDateTime &now) { m_now = now; }
    void advanceMs(qint64 ms) { m_now = m_now.addMSecs(ms); }

private:
    QDateTime m_now;
};
