// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "engine/enginehost.h"

#include <QList>
#include <QPair>
#include <QStringList>

#include <functional>

// An engine host without windows: records every call. The hooks let a test look at
// the world at the moment the engine waits for the host.
class RecordingHost final : public EngineHost
{
public:
    QStringList statuses;
    QStringList clocks;
    QList<QList<JobRow>> jobRowSets;
    QList<QPair<QString, RowUpdate>> rowUpdates;
    bool miniWindowVisible = false;
    int miniWindowShows = 0;
    QStringList miniJobCounts;
    QStringList miniCaptions;
    QList<int> trayFrames;
    QStringList messages;
    int pendingEventRuns = 0;
    int quitCalls = 0;
    int logReloads = 0;
    QList<bool> busyCalls;

    std::function<void(const QString &text)> onMessage;
    std::function<void()> onPendingEvents;
    std::function<void()> onQuit;

    void showStatus(const QString &text) override { statuses.append(text); }
    void showClock(const QString &time) override { clocks.append(time); }
    bool showsJobRows() const override { return true; }
    void setJobRows(const QList<JobRow> &rows) override { jobRowSets.append(rows); }
    void updateJobRow(const QString &job, const RowUpdate &update) override
    {
        rowUpdates.append({ job, update });
    }
    bool isMiniWindowVisible() const override { return miniWindowVisible; }
    void showMiniWindow() override
    {
        ++miniWindowShows;
        miniWindowVisible = true;
    }
    void setMiniJobCount(const QString &text) override { miniJobCounts.append(text); }
    void setMiniCaption(const QString &text) override { miniCaptions.append(text); }
    void setTrayFrame(int frame) override { trayFrames.append(frame); }
    void showMessage(const QString &text) override
    {
        messages.append(text);
        if (onMessage)
            onMessage(text);
    }
    void processPendingEvents() override
    {
        ++pendingEventRuns;
        if (onPendingEvents)
            onPendingEvents();
    }
    void quit() override
    {
        ++quitCalls;
        if (onQuit)
            onQuit();
    }
    void reloadLog() override { ++logReloads; }
    void setBusy(bool busy) override { busyCalls.append(busy); }
};
