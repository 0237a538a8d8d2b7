// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "engine/jobref.h"

#include <QHash>
#include <QString>

#include <functional>
#include <memory>
#include <utility>

struct EngineContext;
class FileActions;
class JobActivity;
class JobRows;
class MailActions;
class Prestart;
class QueueBuilder;
class SuccessEvaluator;
class SystemActions;
struct TickTime;

// The runs of queued jobs: a start by job type, the supervision of a started program
// (its end, its termination), and what every run's end records and sets off. A run is
// recorded under its entry's store key, named in the log by its job name.
class JobRuns
{
public:
    // Judges a program run that has success criteria, by the job's store key: success,
    // and the reason of a failure.
    using SuccessEvaluation = std::function<std::pair<bool, QString>(const QString &job, int exitCode)>;

    JobRuns(EngineContext &context, const JobRows &rows, QueueBuilder &builder, Prestart &prestart);
    ~JobRuns();
    JobRuns(const JobRuns &) = delete;
    JobRuns &operator=(const JobRuns &) = delete;

    // The work of a job type other than a program; not owned.
    void setActivity(int jobType, JobActivity *activity) { m_activities.insert(jobType, activity); }
    MailActions &mail() { return *m_mailActions; }
    void setSuccessEvaluation(SuccessEvaluation evaluate) { m_evaluate = std::move(evaluate); }

    // Starts the entry's run, which the loop has just made active.
    void start(int index);
    // An active entry at a tick: its program's end, or its termination when due.
    void supervise(int index, const TickTime &t, bool minuteChanged);
    // One follow-up action after a run: 1 starts the job `target` on request, 2 starts
    // the program `target` unsupervised (it is still reaped). True when it was performed.
    bool RunPostJobAction(const QString &job, int code, const QString &target);

    // Set once a system job has ended the program: nothing more happens in it.
    bool hasEndedProgram() const { return m_ending; }

private:
    void finishNonProgramRun(const Job &job, bool result);
    void endNonProgramRun(const Job &job, bool result);
    void runPostAction(const Job &job, bool success);
    void launch(int index);
    void endProgramRun(int index, int exitCode);
    void applyTermination(int index, const TickTime &t);
    void log(const QString &line);

    EngineContext &m_context;
    const JobRows &m_rows;
    QueueBuilder &m_builder;
    Prestart &m_prestart;
    QHash<int, JobActivity *> m_activities;
    SuccessEvaluation m_evaluate;
    std::unique_ptr<SuccessEvaluator> m_successEvaluator;
    std::unique_ptr<FileActions> m_fileActions;
    std::unique_ptr<SystemActions> m_systemActions;
    std::unique_ptr<MailActions> m_mailActions;
    bool m_ending = false;
};
