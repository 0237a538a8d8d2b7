// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QtGlobal>

// One running process as the process list names it. The start time (in clock ticks
// since boot) tells it from a later process that is given the same id.
class TProcess
{
public:
    explicit TProcess(quint32 processId, quint64 startTime = 0)
        : m_processId(processId), m_startTime(startTime)
    {
    }

    quint32 processId() const { return m_processId; }
    quint64 startTime() const { return m_startTime; }

private:
    quint32 m_processId;
    quint64 m_startTime;
};
