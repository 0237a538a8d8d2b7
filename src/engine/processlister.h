// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QList>
#include <QString>

// The running processes of this machine as the termination of system jobs sees them:
// the name a user types in `sProcessName` (without extension) and the process id, in
// the order the system lists them. Two processes of one program are two entries.
class ProcessLister
{
public:
    struct Entry
    {
        QString name;
        quint32 pid = 0;
        quint64 startTime = 0; // tells the process from a later one given the same id
    };

    virtual ~ProcessLister() = default;
    // May throw the list's own errors; the caller lets them reach the engine's tick.
    virtual QList<Entry> processes() = 0;
};
