// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

// Ends the user's session or the machine's run: the system actions of system jobs go
// through this and nothing else, so tests can put a double in its place.
class SessionControl
{
public:
    enum class Action {
        LogOff, // ends the session this program runs in
        Halt,
        PowerOff,
        Reboot,
    };

    virtual ~SessionControl() = default;

    // Readies the program to ask for a shutdown; true when it can ask at all. Where the
    // system authorises every request by itself there is nothing to adjust.
    virtual bool enableShutdownPrivilege() = 0;

    // Asks the system for the action without asking the user anything. True when the
    // request was accepted, which is not the same as done: the system may still take a
    // while. `force`: programs that hold the action up are not waited for, as far as the
    // system lets this user override them.
    virtual bool request(Action action, bool force) = 0;

    // How the last request was carried, for the log ("GNOME session manager", ...); empty
    // when there is nothing to tell.
    virtual QString lastRoute() const { return QString(); }
};
