// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

// Where a copy of each written log line goes: the on-screen log of the main window, or
// standard output for the headless program.
class LogSink
{
public:
    virtual ~LogSink() = default;
    virtual void logLineAdded(const QString &line) = 0;
};
