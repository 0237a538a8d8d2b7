// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "support/fakeprocesslauncher.h"

namespace {
// Far above real pids, so a fake handle never names a real process.
constexpr qint64 firstFakePid = 1'000'000'000;
} // namespace

LaunchResult FakeProcessLauncher::start(const LaunchRequest &request)
{
    return launch(request, false);
}

LaunchResult FakeProcessLauncher::startDetached(const LaunchRequest &request)
{
    return launch(request, true);
}

LaunchResult FakeProcessLauncher::launch(const LaunchRequest &request, bool detached)
{
    m_requests.append(request);
    LaunchResult result;
    if (!m_startFailure.isEmpty()) {
        result.error = m_startFailure;
        return result;
    }
    Process process;
    process.handle = ProcessHandle {m_nextId, firstFakePid + qint64(m_nextId)};
    ++m_nextId;
    process.request = request;
    process.detached = detached;
    m_processes.append(process);
    result.handle = process.handle;
    return result;
}

FakeProcessLauncher::Process *FakeProcessLauncher::findProcess(const ProcessHandle &handle)
{
    for (Process &process : m_processes) {
        if (process.handle == handle)
            return &process;
    }
    return nullptr;
}

const FakeProcessLauncher::Process *FakeProcessLauncher::find(const ProcessHandle &handle) const
{
    for (const Process &process : m_processes) {
        if (process.handle == handle)
            return &process;
    }
    return nullptr;
}

ProcessStatus FakeProcessLauncher::poll(const ProcessHandle &handle)
{
    ProcessStatus status;
    Process *process = findProcess(handle);
    if (!process || process->detached || process->terminated || process->released
        || process->reaped)
        return status;
    ++process->polls;
    if (process->running) {
        status.running = true;
        return status;
    }
    process->reaped = true;
    status.exitCode = process->exitCode;
    return status;
}

bool FakeProcessLauncher::terminate(const ProcessHandle &handle)
{
    ++m_terminateCalls;
    Process *process = findProcess(handle);
    if (m_terminationRefused || !process || process->detached || process->terminated
        || process->released || process->reaped)
        return false;
    process->terminated = true;
    process->running = false;
    return true;
}

void FakeProcessLauncher::release(const ProcessHandle &handle)
{
    if (Process *process = findProcess(handle))
        process->released = true;
}

void FakeProcessLauncher::finish(const ProcessHandle &handle, int code)
{
    if (Process *process = findProcess(handle)) {
        process->running = false;
        process->exitCode = code;
    }
}

void FakeProcessLauncher::finishLast(int code)
{
    if (!m_processes.isEmpty())
        finish(m_processes.last().handle, code);
}
