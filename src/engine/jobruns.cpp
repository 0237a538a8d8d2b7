// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/jobruns.h"

#include "engine/enginecontext.h"
#include "engine/enginehost.h"
#include "engine/enginetext.h"
#include "engine/fileactions.h"
#include "engine/jobactivity.h"
#include "engine/jobrows.h"
#include "engine/mailactions.h"
#include "engine/prestart.h"
#include "engine/queuebuilder.h"
#include "engine/successevaluator.h"
#include "engine/systemactions.h"
#include "engine/ticktime.h"
#include "engine/timerqueue.h"
#include "log/activitylog.h"
#include "platform/clock.h"
#include "platform/commandline.h"
#include "platform/datetimetext.h"
#include "platform/processlauncher.h"
#include "store/jobstore.h"

#include <tuple>

using namespace Qt::StringLiterals;

namespace {

// The date and time of a run's start or end, as the store and the row show them.
struct Stamp
{
    explicit Stamp(const QDateTime &now)
        : date(DateTimeText::date(now.date())), time(DateTimeText::longTime(now.time()))
    {
    }
    QString both() const { return date + u' ' + time; }

    QString date;
    QString time;
};

} // namespace

JobRuns::JobRuns(EngineContext &context, const JobRows &rows, QueueBuilder &builder,
    Prestart &prestart)
    : m_context(context), m_rows(rows), m_builder(builder), m_prestart(prestart),
      m_successEvaluator(std::make_unique<SuccessEvaluator>(context.store)),
      m_fileActions(std::make_unique<FileActions>(context.store, context.log, context.host)),
      m_mailActions(std::make_unique<MailActions>(context.store, context.settings, context.log,
          context.host, context.options.categories,
          [&clock = context.clock]() -> QString { return Stamp(clock.now()).both(); }))
{
    if (context.session && context.processes)
        m_systemActions = std::make_unique<SystemActions>(context.store, context.log,
            context.host, *context.session, *context.processes);
    m_evaluate = [this](const QString &job, int exitCode) {
        const SuccessEvaluator::Result result = m_successEvaluator->EvaluateSuccess(job, exitCode);
        return std::pair(result.success, result.reason);
    };
}

JobRuns::~JobRuns() = default;

void JobRuns::log(const QString &line) { m_context.log.logMessage(line); }

void JobRuns::start(int index)
{
    const QueueEntry &e = m_context.queue[index];
    const Job job{e.key, e.jobName};
    const LogCategories &categories = m_context.categories();
    switch (e.jobType) {
    case 0:
        launch(index);
        return;
    case 1: {
        bool result = false;
        if (m_systemActions) {
            const int activity = e.terminationOrShutdown;
            result = m_systemActions->perform(job, activity, e.notifyOrForce);
            // A log-off or restart has ended the program; nothing after it happens.
            if (SystemActions::endsProgram(activity)) {
                m_ending = true;
                return;
            }
        } else if (categories.debugInfo) {
            log(EngineText::activityNotAvailable(job.name, e.jobType));
        }
        finishNonProgramRun(job, result);
        return;
    }
    case 2:
    case 3:
    case 4:
    case 5: {
        // Without a first source there is nothing to act on.
        const bool result = !m_context.store.readString(job.key, u"sSysSourceFileName0"_s).isEmpty()
            && m_fileActions->perform(job, e.jobType, m_context.options.useRecycleBin);
        finishNonProgramRun(job, result);
        return;
    }
    case 6: {
        bool result = false;
        JobActivity *activity = m_activities.value(e.jobType, m_mailActions.get());
        // An error still ends the walk, but never leaves the run active: an active entry
        // without a process would later count as a success.
        try {
            result = activity->run(job, m_context.queue[index]);
        } catch (...) {
            endNonProgramRun(job, false);
            throw;
        }
        finishNonProgramRun(job, result);
        return;
    }
    default:
        if (categories.debugInfo)
            log(EngineText::unknownJobType(job.name, e.jobType));
        endNonProgramRun(job, false);
        return;
    }
}

void JobRuns::finishNonProgramRun(const Job &job, bool result)
{
    // The action may have let events run (a message, a process list) that rebuilt the
    // queue: the run's end is recorded by job, wherever its entry went.
    runPostAction(job, result);
    endNonProgramRun(job, result);
}

void JobRuns::endNonProgramRun(const Job &job, bool result)
{
    const Stamp now(m_context.clock.now());
    JobStore &store = m_context.store;
    {
        JobStore::Transaction transaction(store);
        store.writeString(job.key, u"sLastStartDate"_s, now.date);
        store.writeString(job.key, u"sLastEndDate"_s, now.date);
        store.writeString(job.key, u"sLastStartTime"_s, now.time);
        store.writeString(job.key, u"sLastEndTime"_s, now.time);
        store.writeBoolean(job.key, u"bLastStartStatus"_s, result);
        transaction.commit();
    }
    const int index = m_context.queue.findKey(job.key);
    if (index >= 0)
        m_context.queue[index].runState = QueueEntry::Complete;
    m_context.host.updateJobRow(job.key, m_rows.runEnded(now.both(),
        result ? EngineText::successful() : EngineText::failed(), true));
}

void JobRuns::launch(int index)
{
    QueueEntry &e = m_context.queue[index];
    const Job job{e.key, e.jobName};
    const bool notify = e.notifyOrForce;
    JobStore &store = m_context.store;
    const Prestart::Result prestart = m_prestart.CheckPrestart(job);
    const QString program = store.readString(job.key, u"sProgram"_s);
    const QString arguments = store.readString(job.key, u"sCommand Line"_s);
    const QString commandLine = arguments.isEmpty() ? program : program + u' ' + arguments;
    const int appearance = store.readInteger(job.key, u"iWinAppearance"_s, 0);
    const int priority = store.readInteger(job.key, u"iWinPriority"_s, 0);

    QString reason;
    std::optional<ProcessHandle> handle;
    const auto words = CommandLine::splitJob(program, arguments, &reason);
    if (words && !words->isEmpty()) {
        LaunchRequest request;
        request.arguments = *words;
        request.workingDirectory = prestart.startDirectory.value_or(QString());
        request.priority = priority;
        request.appearance = appearance;
        const LaunchResult result = m_context.launcher.start(request);
        handle = result.handle;
        reason = result.error;
    } else if (words) {
        reason = u"no program is set"_s;
    }

    const Stamp now(m_context.clock.now());
    {
        JobStore::Transaction transaction(store);
        store.writeString(job.key, u"sLastStartDate"_s, now.date);
        store.writeString(job.key, u"sLastStartTime"_s, now.time);
        transaction.commit();
    }

    if (handle) {
        m_context.host.updateJobRow(job.key, m_rows.runStarted(now.both()));
        if (m_context.categories().jobStarts)
            log(EngineText::startedOk(job.name, commandLine));
        e.process = handle;
    } else {
        e.runState = QueueEntry::Complete;
        log(EngineText::failedToStart(job.name, commandLine));
        if (m_context.categories().debugInfo)
            log(EngineText::failedToStartReason(job.name, reason));
    }
    // The send may let events run that rebuild the queue: `e` is not used after it.
    if (notify)
        m_mailActions->NotifyJob(job, true, handle.has_value());
}

void JobRuns::supervise(int index, const TickTime &t, bool minuteChanged)
{
    QueueEntry &e = m_context.queue[index];
    if (t.logsWindowLines(m_context.categories()))
        log(EngineText::jobActiveTestPassed(e.jobName));
    if (minuteChanged)
        ++e.runMinutes;
    std::optional<int> exitCode;
    if (e.process) {
        const ProcessStatus status = m_context.launcher.poll(*e.process);
        if (status.running) {
            applyTermination(index, t);
            return;
        }
        exitCode = status.exitCode;
    }
    endProgramRun(index, exitCode.value_or(0));
}

void JobRuns::endProgramRun(int index, int exitCode)
{
    TimerQueue &queue = m_context.queue;
    QueueEntry &e = queue[index];
    const Job job{e.key, e.jobName};
    const bool notify = e.notifyOrForce;
    const LogCategories &categories = m_context.categories();
    e.process.reset();
    bool success = true;
    QString reason;
    if (e.successTest && m_evaluate) {
        const auto [ok, why] = m_evaluate(job.key, exitCode);
        success = ok;
        reason = why;
    }
    if (categories.jobEnds)
        log(success ? EngineText::endedSuccessfully(job.name, exitCode)
                    : EngineText::endedFailed(job.name, reason));
    const Stamp now(m_context.clock.now());
    JobStore &store = m_context.store;
    {
        JobStore::Transaction transaction(store);
        store.writeString(job.key, u"sLastEndDate"_s, now.date);
        store.writeString(job.key, u"sLastEndTime"_s, now.time);
        store.writeBoolean(job.key, u"bLastStartStatus"_s, success);
        transaction.commit();
    }
    m_context.host.updateJobRow(job.key, m_rows.runEnded(now.both(),
        success ? EngineText::successful() : EngineText::failedBecause(reason), false));
    if (notify)
        m_mailActions->NotifyJob(job, false, success);
    runPostAction(job, success);

    // A notification lets events run (a reload may rebuild the queue) and a post-run action
    // may append to it: the entry is found again by its key.
    index = queue.findKey(job.key);
    if (index >= 0)
        queue[index].runState = QueueEntry::Complete;
    if (categories.debugInfo)
        log(EngineText::naturalTermination(job.name, index));
    if (store.readBoolean(job.key, u"bDeleteJob"_s, false)) {
        if (index >= 0)
            queue[index].inUse = false;
        store.eraseJob(job.key);
        m_builder.refreshJobList(m_context.clock.now().date());
    }
}

void JobRuns::runPostAction(const Job &job, bool success)
{
    JobStore &store = m_context.store;
    const int code = store.readInteger(job.key, success ? u"iPostSuccessCode"_s : u"iPostFailCode"_s, 0);
    if (code != 0)
        RunPostJobAction(job.name, code,
            store.readString(job.key, success ? u"sPostSuccessFile"_s : u"sPostFailFile"_s));
}

bool JobRuns::RunPostJobAction(const QString &job, int code, const QString &target)
{
    const LogCategories &categories = m_context.categories();
    if (code == 1) {
        if (m_builder.startOnRequest(target)) {
            if (categories.jobStarts)
                log(EngineText::invokedJob(job, target));
        } else {
            log(EngineText::failedToInvokeJob(job, target));
        }
        return false;
    }
    if (code != 2)
        return false;
    QString reason;
    const auto words = CommandLine::split(target, &reason);
    bool started = false;
    if (words && !words->isEmpty()) {
        LaunchRequest request;
        request.arguments = *words;
        const LaunchResult result = m_context.launcher.startDetached(request);
        started = result.handle.has_value();
        reason = result.error;
    }
    if (started) {
        if (categories.jobStarts)
            log(EngineText::kickedOffProgram(job, target));
    } else {
        log(EngineText::failedToKickOff(job, target));
        if (categories.debugInfo)
            log(EngineText::failedToStartReason(job, reason));
    }
    return started;
}

void JobRuns::applyTermination(int index, const TickTime &t)
{
    QueueEntry &e = m_context.queue[index];
    const LogCategories &categories = m_context.categories();
    const bool windowLines = t.logsWindowLines(categories);
    bool terminate = false;
    switch (e.terminationOrShutdown) {
    case 1:
        if (windowLines)
            log(EngineText::checkingTermByDuration(e.jobName, index, e.terminationDuration, e.runMinutes));
        terminate = e.terminationDuration <= e.runMinutes;
        break;
    case 2:
        if (windowLines)
            log(EngineText::checkingTermAtTime(e.jobName, index, e.terminationHour,
                e.terminationMinute, e.terminationSecond));
        terminate = std::tuple(t.hour, t.minute, t.second)
            >= std::tuple(e.terminationHour, e.terminationMinute, e.terminationSecond);
        break;
    default:
        break;
    }
    if (!terminate || !e.process)
        return;
    const int level = m_context.store.readInteger(e.key, u"iTerminationLevel"_s, 0);
    if (m_context.launcher.terminate(*e.process)) {
        if (categories.jobEnds)
            log(EngineText::scheduledTermination(e.jobName, level));
        if (categories.debugInfo)
            log(EngineText::forcedTermination(e.jobName, index));
        e.process.reset();
        e.runState = QueueEntry::Complete;
    } else {
        log(EngineText::terminationFailed(e.jobName));
    }
}
