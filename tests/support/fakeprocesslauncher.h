// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "platform/processlauncher.h"

#include <QList>

// A launcher that starts nothing: it records each request, and the test decides when a
// program ends, whether a start fails and whether a termination is refused. Handles and
// their lifetime follow the real launcher: an exit is reported once, a delivered
// termination or a release spends the handle.
class FakeProcessLauncher final : public ProcessLauncher
{
public:
    struct Process
    {
        ProcessHandle handle;
        LaunchRequest request;
        bool detached = false;
        bool running = true;
        int exitCode = 0;
        bool terminated = false;
        bool released = false;
        // Set once poll() has reported the exit.
        bool reaped = false;
        int polls = 0;
    };

    LaunchResult start(const LaunchRequest &request) override;
    LaunchResult startDetached(const LaunchRequest &request) override;
    ProcessStatus poll(const ProcessHandle &handle) override;
    bool terminate(const ProcessHandle &handle) override;
    void release(const ProcessHandle &handle) override;
    void service() override { ++m_services; }

    // Every later start fails with this text; an empty text lets starts succeed again.
    void setStartFailure(const QString &error) { m_startFailure = error; }
    // Every later termination is refused while true.
    void setTerminationRefused(bool refused) { m_terminationRefused = refused; }
    // The program ends with `code`; the next poll reports it.
    void finish(const ProcessHandle &handle, int code);
    void finishLast(int code);

    // Every successful start, detached ones included, in order.
    const QList<Process> &processes() const { return m_processes; }
    const Process *find(const ProcessHandle &handle) const;
    const Process *last() const { return m_processes.isEmpty() ? nullptr : &m_processes.last(); }
    // Every request, failed starts included.
    const QList<LaunchRequest> &requests() const { return m_requests; }
    int serviceCount() const { return m_services; }
    int terminateCalls() const { return m_terminateCalls; }

private:
    LaunchResult launch(const LaunchRequest &request, bool detached);
    Process *findProcess(const ProcessHandle &handle);

    QList<Process> m_processes;
    QList<LaunchRequest> m_requests;
    QString m_startFailure;
    bool m_terminationRefused = false;
    int m_services = 0;
    int m_terminateCalls = 0;
    quint64 m_nextId = 1;
};
