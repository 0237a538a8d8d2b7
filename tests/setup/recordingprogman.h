// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "platform/progman.h"

#include <QStringList>

// Records the command texts instead of carrying them out.
class RecordingProgman : public Progman
{
public:
    bool reachable = true;
    QStringList commands;
    int closes = 0;

    bool connect() override { return reachable; }
    void execute(const QString &command) override { commands.append(command); }
    void close() override { ++closes; }
};
