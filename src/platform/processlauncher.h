// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

// Names one started program for as long as its launcher supervises it. `id` is never
// reused by a launcher, so a stale handle never reaches a later program with the same pid.
struct ProcessHandle
{
    quint64 id = 0;
    qint64 pid = 0;
    friend bool operator==(const ProcessHandle &, const ProcessHandle &) = default;
};

struct LaunchRequest
{
    // The program first, then its arguments, already split into words. A program without
    // "/" is searched in PATH.
    QStringList arguments;
    // Empty: the program starts in the scheduler's current directory.
    QString workingDirectory;
    // `iWinPriority`: 0 normal, 1 high, 2 idle, 3 real-time; other values count as 0.
    int priority = 0;
    // `iWinAppearance`; recorded only, the desktop decides how a window shows.
    int appearance = 0;
};

struct LaunchResult
{
    // Empty when the program could not be created; `error` then says why.
    std::optional<ProcessHandle> handle;
    QString error;
};

struct ProcessStatus
{
    bool running = false;
    // The exit status, or 128 + the signal number. Empty when the exit could not be
    // learned: the handle is not (or no longer) supervised.
    std::optional<int> exitCode;
};

// Starts programs and watches them without ever waiting for one. One thread; the engine
// calls service() once per tick, which performs delayed kills and reaps what nobody polls.
class ProcessLauncher
{
public:
    virtual ~ProcessLauncher() = default;

    // A supervised program, in a process group of its own.
    virtual LaunchResult start(const LaunchRequest &request) = 0;
    // A program nobody polls (post-run actions); the launcher still reaps it. The handle
    // is for the caller's log only.
    virtual LaunchResult startDetached(const LaunchRequest &request) = 0;

    // Reports an exit once; afterwards the handle is spent and polls give no exit code.
    virtual ProcessStatus poll(const ProcessHandle &handle) = 0;

    // Asks the program's process group to end (SIGTERM), and kills it (SIGKILL) from a
    // later service() call when it is still there after the grace period. Never blocks.
    // True when the request was delivered; the handle is then spent. False when the system
    // refused it; the program stays supervised.
    virtual bool terminate(const ProcessHandle &handle) = 0;

    // Stops supervising a program that keeps running; it is reaped when it ends.
    virtual void release(const ProcessHandle &handle) = 0;

    virtual void service() = 0;
};
