// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "engine/jobref.h"

struct QueueEntry;

// The work of a system, file or e-mail job, done inside one tick. Returns the result of
// the run; writes its own log lines, naming the job by its name. May throw: the engine
// then ends that tick's walk.
class JobActivity
{
public:
    virtual ~JobActivity() = default;
    virtual bool run(const Job &job, QueueEntry &entry) = 0;
};
