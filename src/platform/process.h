// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QtGlobal>

// One running process as the process list names it.
class TProcess
{
public:
    explicit TProcess(quint32 processId) : m_processId(processId) {}

    quint32 processId() const { return m_processId; }

private:
    quint32 m_processId;
};
