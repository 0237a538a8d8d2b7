// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QDateTime>

// The time of day as the program sees it; tests put a clock of their own in its place.
class Clock
{
public:
    virtual ~Clock() = default;
    // Local time.
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
