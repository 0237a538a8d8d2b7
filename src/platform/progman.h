// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

// The program manager conversation of the setup wizard: it takes the command texts
// "[CreateGroup(...)]", "[Replaceitem(...)]", "[Additem(...)]" and "[ShowGroup(...)]" and
// carries them out on the desktop. XdgProgman is the real one; tests record the texts.
class Progman
{
public:
    virtual ~Progman() = default;

    // False when the desktop cannot take program groups; nothing is then carried out.
    virtual bool connect() = 0;
    // Carries out one command, without waiting for the desktop to show it.
    virtual void execute(const QString &command) = 0;
    // Ends the conversation (no automatic reconnection).
    virtual void close() = 0;
};
