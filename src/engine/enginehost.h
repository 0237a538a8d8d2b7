// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "engine/jobrow.h"
#include "engine/rowupdate.h"

#include <QList>
#include <QString>

// Everything the engine does to windows goes through its host: the main window on the
// desktop, standard output in the headless program. All calls come on the engine's thread.
// The window parts (clock, rows, mini window, tray, log page) do nothing unless a host has
// them.
class EngineHost
{
public:
    virtual ~EngineHost() = default;

    // The right-hand panel of the status bar: the latest engine message, not logged.
    virtual void showStatus(const QString &text) = 0;
    // The clock panel of the status bar.
    virtual void showClock(const QString &) {}
    // Whether the host shows the job list at all; without it the engine builds no rows.
    virtual bool showsJobRows() const { return false; }
    // The job list after a refresh, in store order.
    virtual void setJobRows(const QList<JobRow> &) {}
    // Some cells of one job's row changed; redraw it. The job is named by its store key.
    virtual void updateJobRow(const QString &, const RowUpdate &) {}

    virtual bool isMiniWindowVisible() const { return false; }
    virtual void showMiniWindow() {}
    virtual void setMiniJobCount(const QString &) {}
    virtual void setMiniCaption(const QString &) {}
    // The tray icon's animation frame, 0 to 7.
    virtual void setTrayFrame(int /*frame*/) {}

    // A message the user must see. The desktop waits for OK; the headless program prints it.
    virtual void showMessage(const QString &text) = 0;
    // Lets queued window events run (mail and process listing wait this way).
    virtual void processPendingEvents() = 0;
    // Ends the program without questions (after a log-off or restart).
    virtual void quit() = 0;
    // The Log page is cleared and loaded again from the log file (after a purge).
    virtual void reloadLog() {}
    // A send is under way (a busy cursor on the desktop); always taken back with false.
    virtual void setBusy(bool) {}
};
