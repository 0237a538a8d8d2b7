// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "platform/processlauncher.h"

#include <chrono>
#include <vector>

// Starts programs with fork and exec, each in a process group of its own, without a shell.
// The child inherits descriptors 0, 1 and 2 only, and default signal dispositions. Only
// the launcher's own children are ever waited for, and only without blocking, except for
// the instant between a failed exec and the child's exit. Not thread-safe: one thread
// starts, polls and services.
class PosixProcessLauncher final : public ProcessLauncher
{
public:
    using Clock = std::chrono::steady_clock;

    // `gracePeriod`: how long a terminated process group has between SIGTERM and SIGKILL.
    explicit PosixProcessLauncher(std::chrono::milliseconds gracePeriod = std::chrono::seconds(5));
    // Leaves running programs running; what has ended by then is reaped.
    ~PosixProcessLauncher() override;
    PosixProcessLauncher(const PosixProcessLauncher &) = delete;
    PosixProcessLauncher &operator=(const PosixProcessLauncher &) = delete;

    LaunchResult start(const LaunchRequest &request) override;
    LaunchResult startDetached(const LaunchRequest &request) override;
    ProcessStatus poll(const ProcessHandle &handle) override;
    bool terminate(const ProcessHandle &handle) override;
    void release(const ProcessHandle &handle) override;
    void service() override;

    // Processes started and not yet reaped, supervised or not.
    int childCount() const { return int(m_children.size()); }

private:
    enum class State { Supervised, Released, Terminating, Killed };
    struct Child
    {
        quint64 id = 0;
        int pid = 0;
        State state = State::Supervised;
        Clock::time_point killAt;
    };

    LaunchResult spawn(const LaunchRequest &request, State state);
    Child *find(const ProcessHandle &handle, State state);
    // True when the child has ended and is reaped; `code` then holds its exit code.
    static bool reap(int pid, std::optional<int> *code);

    std::chrono::milliseconds m_gracePeriod;
    std::vector<Child> m_children;
    quint64 m_nextId = 1;
};
