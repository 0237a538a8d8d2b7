// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

// What the main window asks of the tray icon and the mini window, which live beside it.
// Every call comes on the user-interface thread. Without hooks the window is the only way
// back to the program, so it never hides itself.
class TrayHooks
{
public:
    virtual ~TrayHooks() = default;

    // When the window is created, and when it closes.
    virtual void addTrayIcon() {}
    virtual void removeTrayIcon() {}
    // True while a tray icon is there to bring the window back.
    virtual bool hasTrayIcon() const { return false; }
    // The animation frame of a running scheduler, 0 to 7.
    virtual void setTrayFrame(int /*frame*/) {}

    // True when the mini window can be shown at all.
    virtual bool hasMiniWindow() const { return false; }
    virtual bool isMiniWindowVisible() const { return false; }
    virtual void showMiniWindow() {}
    virtual void closeMiniWindow() {}
    virtual void setMiniJobCount(const QString & /*text*/) {}
    virtual void setMiniCaption(const QString & /*text*/) {}
};
