// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "engine/processlister.h"

// The processes of this machine, from the platform's process list.
class ProcessDataLister final : public ProcessLister
{
public:
    QList<Entry> processes() override;
};
