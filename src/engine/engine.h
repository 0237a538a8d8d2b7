// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "engine/enginecontext.h"
#include "engine/jobrow.h"
#include "engine/jobruns.h"
#include "engine/jobrows.h"
#include "engine/prestart.h"
#include "engine/queuebuilder.h"
#include "engine/timerloop.h"
#include "engine/timerqueue.h"
#include "log/logcategories.h"

#include <QString>
#include <QStringList>

class JobActivity;
class JobValues;
class MailActions;

// The scheduling engine: Start of Day and today's timer queue, the timer loop, program
// launch and supervision. Owned by the main window or the headless program, which call
// tick() from a timer every timerInterval() milliseconds. Not a widget: everything it does
// to windows goes through its host. One thread. Each concern is a part of its own; the
// engine holds them and the settings they share.
class Engine
{
public:
    using StartOfDayKind = ::StartOfDayKind;

    using Services = EngineServices;

    explicit Engine(const Services &services);
    ~Engine();
    Engine(const Engine &) = delete;
    Engine &operator=(const Engine &) = delete;

    // The settings read at start-up and after the configuration is saved.
    void readSettings();
    // After another process changed the settings or jobs (SIGHUP, a reload): the settings
    // read again and the job list refreshed, running entries kept.
    void reloadSettingsAndRefresh();
    // The bounds of the timer interval; values outside take the nearest.
    static constexpr int minTimerInterval = 10;
    static constexpr int maxTimerInterval = 60000;
    int timerInterval() const { return m_options.timerInterval; }
    int startAsWindow() const { return m_options.startAsWindow; }
    const LogCategories &categories() const { return m_options.categories; }
    bool useRecycleBin() const { return m_options.useRecycleBin; }

    // The work of a job type other than a program (1 system, 2–5 file, 6 e-mail). Not owned.
    void setActivity(int jobType, JobActivity *activity) { m_runs.setActivity(jobType, activity); }
    // E-mail jobs and notifications; type 6 runs here unless another activity is set.
    MailActions &mail() { return m_runs.mail(); }

    // Judges a program run that has success criteria: success, and the reason of a failure.
    // The job's own criteria unless a test puts another judge in place.
    using SuccessEvaluation = JobRuns::SuccessEvaluation;
    void setSuccessEvaluation(SuccessEvaluation evaluate) { m_runs.setSuccessEvaluation(std::move(evaluate)); }

    void startOfDay(StartOfDayKind kind);
    // Re-reads the job names, hands the rows to the host and rebuilds the queue.
    void refreshJobList();
    void buildQueue();
    int find(const QString &name) const { return m_queue.find(name); }
    // The job stored under the key `name` into entry `index`.
    void load(int index, const QString &name) { m_builder.load(index, name); }

    void suspendAll() { m_loop.suspendAll(); }
    void restartAll() { m_loop.restartAll(); }
    bool isSuspended() const { return m_loop.isSuspended(); }

    // Makes a job start at the timer loop's next look at it; false when the job is
    // neither queued nor listed, or the queue is full.
    bool startOnRequest(const QString &name) { return m_builder.startOnRequest(name); }

    // One follow-up action after a run: 1 starts the job `target` on request, 2 starts
    // the program `target` unsupervised (it is still reaped). True when it was performed.
    bool RunPostJobAction(const QString &job, int code, const QString &target)
    {
        return m_runs.RunPostJobAction(job, code, target);
    }

    // One firing of the timer.
    void tick() { m_loop.tick(); }

    // Cleared when the main window is first activated; the headless program clears it
    // after its start-up.
    void setFirstShow(bool firstShow) { m_loop.setFirstShow(firstShow); }

    const TimerQueue &queue() const { return m_queue; }
    TimerQueue &queue() { return m_queue; }
    qint64 startupMinuteCount() const { return m_loop.startupMinuteCount(); }
    const QStringList &jobNames() const { return m_builder.jobNames(); }

    // The row of one job as the list shows it.
    JobRow rowOf(const QString &name);
    JobRow rowOf(const JobValues &job) const { return m_rows.rowOf(job); }

private:
    EngineSettings m_options;
    TimerQueue m_queue;
    EngineContext m_context;
    JobRows m_rows;
    Prestart m_prestart;
    QueueBuilder m_builder;
    JobRuns m_runs;
    TimerLoop m_loop;
};
