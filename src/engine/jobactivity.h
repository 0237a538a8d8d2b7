// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

struct QueueEntry;

// The work of a system, file or e-mail job, done inside one tick. Returns the result of
// the run; writes its own log lines. `job` is the job's key in the store. May throw: the
// engine then ends that tick's walk.
class JobActivity
{
public:
    virtual ~JobActivity() = default;
    virtual bool run(const QString &job, QueueEntry &entry) = 0;
};
