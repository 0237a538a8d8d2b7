// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "engine/jobrow.h"
#include "engine/prestart.h"
#include "engine/timerqueue.h"
#include "log/logcategories.h"

#include <QDate>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class ActivityLog;
class Clock;
class EngineHost;
class JobActivity;
class JobValues;
class JobStore;
class FileActions;
class MailActions;
class ProcessLauncher;
class ProcessLister;
class SessionControl;
class Settings;
class SuccessEvaluator;
class SystemActions;

// The scheduling engine: Start of Day and today's timer queue, the timer loop, program
// launch and supervision. Owned by the main window or the headless program, which call
// tick() from a timer every timerInterval() milliseconds. Not a widget: everything it does
// to windows goes through its host. One thread.
class Engine
{
public:
    enum class StartOfDayKind { Automatic = 0, Forced = 1, StartUp = 2 };

    struct Services
    {
        JobStore &store;
        Settings &settings;
        ActivityLog &log;
        const Clock &clock;
        ProcessLauncher &launcher;
        EngineHost &host;
        Prestart::FreeBytes freeBytes;
        // For system jobs; without them a system job's run fails with a debug line.
        SessionControl *session = nullptr;
        ProcessLister *processes = nullptr;
    };

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
    int timerInterval() const { return m_timerInterval; }
    int startAsWindow() const { return m_startAsWindow; }
    const LogCategories &categories() const { return m_categories; }
    bool useRecycleBin() const { return m_useRecycleBin; }

    // The work of a job type other than a program (1 system, 2–5 file, 6 e-mail). Not owned.
    void setActivity(int jobType, JobActivity *activity);
    // E-mail jobs and notifications; type 6 runs here unless another activity is set.
    MailActions &mail() { return *m_mailActions; }

    // Judges a program run that has success criteria: success, and the reason of a failure.
    // The job's own criteria unless a test puts another judge in place.
    using SuccessEvaluation = std::function<std::pair<bool, QString>(const QString &job, int exitCode)>;
    void setSuccessEvaluation(SuccessEvaluation evaluate) { m_evaluate = std::move(evaluate); }

    void startOfDay(StartOfDayKind kind);
    // Re-reads the job names, hands the rows to the host and rebuilds the queue.
    void refreshJobList();
    void buildQueue();
    int find(const QString &name) const { return m_queue.find(name); }
    void load(int index, const QString &name);

    void suspendAll();
    void restartAll();
    bool isSuspended() const { return m_suspended; }

    // Makes a job start at the timer loop's next look at it; false when the job is
    // neither queued nor listed, or the queue is full.
    bool startOnRequest(const QString &name);

    // One follow-up action after a run: 1 starts the job `target` on request, 2 starts
    // the program `target` unsupervised (it is still reaped). True when it was performed.
    bool RunPostJobAction(const QString &job, int code, const QString &target);

    // One firing of the timer.
    void tick();

    // Cleared when the main window is first activated; the headless program clears it
    // after its start-up.
    void setFirstShow(bool firstShow) { m_firstShow = firstShow; }

    const TimerQueue &queue() const { return m_queue; }
    TimerQueue &queue() { return m_queue; }
    qint64 startupMinuteCount() const { return m_startupMinutes; }
    const QStringList &jobNames() const { return m_jobNames; }

    // The row of one job as the list shows it.
    JobRow rowOf(const QString &name);
    JobRow rowOf(const JobValues &job) const;

private:
    struct TickTime
    {
        QDateTime now;
        int hour = 0;
        int minute = 0;
        int second = 0;
        int ms = 0;
    };

    // Chosen values of every stored job, by upper-case key name.
    using JobsByName = QHash<QString, QList<QPair<QString, QString>>>;
    JobsByName fetchJobs(const QStringList &names, const QStringList &stems);
    void buildQueue(const JobsByName &jobs, const QDate &today);
    void startOfDay(StartOfDayKind kind, const QDateTime &now);
    // False, with nothing changed, when the store could not be read.
    bool refreshJobList(const QDate &today);
    void walk(const TickTime &t, bool minuteChanged);
    void treat(int index, const TickTime &t, bool minuteChanged);
    bool decideStart(int index, const TickTime &t);
    void startByType(int index, const TickTime &t);
    void finishNonProgramRun(int index, const QString &job, bool result);
    void endNonProgramRun(const QString &job, bool result);
    void runPostAction(const QString &job, bool success);
    void launch(int index);
    void supervise(int index, const TickTime &t, bool minuteChanged);
    void endProgramRun(int index, int exitCode);
    void applyTermination(int index, const TickTime &t);
    void refreshIfChangedElsewhere(const QDate &today);
    static qint64 minuteStamp(const TickTime &t);
    bool startedByRuleIn(const QueueEntry &e, const TickTime &t) const;
    void noteRuleStart(const QueueEntry &e, const TickTime &t);
    bool debugWindow() const { return m_categories.debugInfo && m_debugWindow; }
    void log(const QString &line);
    QString timeText(const QDateTime &when) const;
    QString dateText(const QDateTime &when) const;

    JobStore &m_store;
    Settings &m_settings;
    ActivityLog &m_log;
    const Clock &m_clock;
    ProcessLauncher &m_launcher;
    EngineHost &m_host;
    Prestart m_prestart;
    QHash<int, JobActivity *> m_activities;
    SuccessEvaluation m_evaluate;
    std::unique_ptr<SuccessEvaluator> m_successEvaluator;
    std::unique_ptr<FileActions> m_fileActions;
    std::unique_ptr<SystemActions> m_systemActions;
    std::unique_ptr<MailActions> m_mailActions;
    // Set once a system job has ended the program: nothing more happens in it.
    bool m_ending = false;

    TimerQueue m_queue;
    QStringList m_jobNames;
    // The wall-clock minutes (by minuteStamp) in which each job started by its time rule,
    // and the jobs started by their after-start-up rule: a rebuild of the queue, the
    // repeated hour at the end of daylight saving time or a clock stepped back never
    // starts a job twice for one minute of one date, nor twice per program run.
    QHash<QString, QSet<qint64>> m_ruleStarts;
    QSet<QString> m_startedAfterStartup;

    bool m_firstShow = true;
    bool m_suspended = false;
    bool m_busy = false;
    bool m_debugWindow = false;
    qint64 m_startupMinutes = 0;
    int m_lastStartOfDayDay = 0;
    int m_lastPurgeDay = 0;
    bool m_startOfDayRetrying = false;
    int m_lastSecond = 0;
    // No minute yet: the first tick counts a minute change, whatever the minute.
    int m_lastMinute = -1;
    int m_trayFrame = 0;
    qint64 m_dataVersion = -1;

    int m_timerInterval = 250;
    int m_startAsWindow = 0;
    LogCategories m_categories;
    bool m_useRecycleBin = true;
    bool m_columns[6] = {true, true, true, true, true, true};
};
