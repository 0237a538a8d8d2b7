// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/engine.h"

#include "engine/enginehost.h"
#include "engine/enginetext.h"
#include "engine/fileactions.h"
#include "engine/jobactivity.h"
#include "engine/jobvalues.h"
#include "engine/mailactions.h"
#include "engine/schedule.h"
#include "engine/successevaluator.h"
#include "engine/systemactions.h"
#include "log/activitylog.h"
#include "log/logpurge.h"
#include "platform/clock.h"
#include "platform/commandline.h"
#include "platform/datetimetext.h"
#include "platform/processlauncher.h"
#include "platform/registry.h"
#include "store/jobstore.h"
#include "store/settings.h"
#include "store/valuecodec.h"

#include <algorithm>
#include <exception>

using namespace Qt::StringLiterals;

namespace {

enum Column { StatusColumn, ScheduleColumn, ProgramColumn, LastStartColumn, LastEndColumn, LastStatusColumn };

// Clears the busy flag however the tick ends.
class BusyGuard
{
public:
    explicit BusyGuard(bool &flag) : m_flag(flag) { m_flag = true; }
    ~BusyGuard() { m_flag = false; }

private:
    bool &m_flag;
};

} // namespace

Engine::Engine(const Services &services)
    : m_store(services.store), m_settings(services.settings), m_log(services.log),
      m_clock(services.clock), m_launcher(services.launcher), m_host(services.host),
      m_prestart(services.store, services.settings, services.log, m_categories, services.freeBytes),
      m_successEvaluator(std::make_unique<SuccessEvaluator>(services.store)),
      m_fileActions(std::make_unique<FileActions>(services.store, services.log, services.host)),
      m_mailActions(std::make_unique<MailActions>(services.store, services.settings, services.log,
          services.host, m_categories, [this]() -> QString {
              const QDateTime now = m_clock.now();
              return dateText(now) + u' ' + timeText(now);
          }))
{
    if (services.session && services.processes)
        m_systemActions = std::make_unique<SystemActions>(services.store, services.log,
            services.host, *services.session, *services.processes);
    m_evaluate = [this](const QString &job, int exitCode) {
        const SuccessEvaluator::Result result = m_successEvaluator->EvaluateSuccess(job, exitCode);
        return std::pair(result.success, result.reason);
    };
}

Engine::~Engine() = default;

void Engine::readSettings()
{
    // A timer that fires without pause would take a whole core; one of 2^31 ms never fires.
    m_timerInterval = std::clamp(m_settings.integer(settings::TimerInterval), minTimerInterval,
        maxTimerInterval);
    m_startAsWindow = m_settings.integer(settings::StartAsWindow);
    m_categories = LogCategories::load(m_settings);
    m_columns[StatusColumn] = m_settings.boolean(settings::ListStatus);
    m_columns[ScheduleColumn] = m_settings.boolean(settings::ListSchedule);
    m_columns[ProgramColumn] = m_settings.boolean(settings::ListProgram);
    m_columns[LastStartColumn] = m_settings.boolean(settings::ListLastStart);
    m_columns[LastEndColumn] = m_settings.boolean(settings::ListLastEnd);
    m_columns[LastStatusColumn] = m_settings.boolean(settings::ListLastStatus);
    m_useRecycleBin = m_settings.boolean(settings::UseRecycleBin);
}

void Engine::reloadSettingsAndRefresh()
{
    readSettings();
    refreshJobList();
}

void Engine::setActivity(int jobType, JobActivity *activity) { m_activities.insert(jobType, activity); }

void Engine::log(const QString &line) { m_log.logMessage(line); }

QString Engine::dateText(const QDateTime &when) const { return DateTimeText::date(when.date()); }
QString Engine::timeText(const QDateTime &when) const { return DateTimeText::longTime(when.time()); }

// --- Start of Day and the queue -----------------------------------------------------

void Engine::startOfDay(StartOfDayKind kind) { startOfDay(kind, m_clock.now()); }

namespace {

// The tick's one reading of the clock, for the parts of its work that ask a clock.
class ReadingClock final : public Clock
{
public:
    explicit ReadingClock(const QDateTime &now) : m_now(now) {}
    QDateTime now() const override { return m_now; }

private:
    QDateTime m_now;
};

} // namespace

void Engine::startOfDay(StartOfDayKind kind, const QDateTime &now)
{
    const QDate today = now.date();
    if (kind == StartOfDayKind::Forced) {
        m_lastStartOfDayDay = 0;
        m_lastPurgeDay = 0;
    }
    if (today.day() == m_lastStartOfDayDay)
        return;
    const int previousDay = m_lastStartOfDayDay;
    m_lastStartOfDayDay = today.day();
    // Once a day, also when the rest of Start of Day has to be tried again.
    if (m_settings.boolean(settings::CleanLogAtSOD) && m_lastPurgeDay != today.day()) {
        m_lastPurgeDay = today.day();
        const ReadingClock clock(now);
        LogPurge purge(m_settings, m_log, clock);
        LogPurge::Feedback feedback;
        feedback.showStatus = [this](const QString &text) { m_host.showStatus(text); };
        if (m_host.isMiniWindowVisible())
            feedback.showMiniJobCount = [this](const QString &text) { m_host.setMiniJobCount(text); };
        feedback.reloadLog = [this] { m_host.reloadLog(); };
        purge.purge(feedback);
    }
    if (!refreshJobList(today)) {
        // A store that cannot be read is not a day without jobs: today's queue stays as
        // it is, and the next tick tries again.
        m_lastStartOfDayDay = previousDay;
        if (m_categories.debugInfo && !m_startOfDayRetrying)
            log(EngineText::startOfDayUnread());
        m_startOfDayRetrying = true;
        return;
    }
    m_startOfDayRetrying = false;
    log(EngineText::startOfDayLine(int(kind), m_queue.count()));
}

namespace {

// What the day rule needs of a job, and what its row shows besides.
const QStringList queueValueNames = {u"sJobName"_s, u"iFrequency"_s, u"sFrequency Data"_s,
    u"iCustomTimeType"_s};
const QStringList queueValueStems = {u"sFreq"_s};
const QStringList rowValueNames = queueValueNames + QStringList{u"bHold"_s, u"iJobType"_s,
    u"iShutdownType"_s, u"sProgram"_s, u"sLastStartDate"_s, u"sLastStartTime"_s,
    u"sLastEndDate"_s, u"sLastEndTime"_s, u"bLastStartStatus"_s, u"iHour"_s, u"iMin"_s,
    u"iSec"_s, u"iCustomTimeHourMin"_s};
const QStringList rowValueStems = {u"sFreq"_s, u"sCustomTime"_s};

} // namespace

Engine::JobsByName Engine::fetchJobs(const QStringList &names, const QStringList &stems)
{
    // One look at the store for every job, however many there are.
    JobsByName byName;
    for (auto &[key, values] : m_store.registry().subKeyValues(JobStore::storeKey, names, stems))
        byName.insert(key.toUpper(), std::move(values));
    return byName;
}

void Engine::refreshJobList() { refreshJobList(m_clock.now().date()); }

bool Engine::refreshJobList(const QDate &today)
{
    // A read cut short would look like jobs removed: the list and the queue then stay.
    Registry &registry = m_store.registry();
    const quint64 failures = registry.failureCount();
    QStringList names = m_store.listJobs();
    const bool showsRows = m_host.showsJobRows();
    const JobsByName jobs = showsRows ? fetchJobs(rowValueNames, rowValueStems)
                                      : fetchJobs(queueValueNames, queueValueStems);
    if (registry.failureCount() != failures)
        return false;
    m_jobNames = std::move(names);
    if (showsRows) {
        QList<JobRow> rows;
        rows.reserve(m_jobNames.size());
        for (const QString &name : std::as_const(m_jobNames)) {
            JobRow row = rowOf(JobValues(jobs.value(name.toUpper())));
            if (!row.caption.isEmpty())
                rows.append(row);
        }
        m_host.setJobRows(rows);
    }
    buildQueue(jobs, today);
    return true;
}

JobRow Engine::rowOf(const QString &name)
{
    return rowOf(JobValues(m_store.registry().values(JobStore::storeKey + u'\\' + name)));
}

JobRow Engine::rowOf(const JobValues &job) const
{
    JobRow row;
    row.caption = job.text(u"sJobName"_s);
    if (row.caption.isEmpty())
        return row;
    if (m_columns[StatusColumn]) {
        if (job.integer(u"iCustomTimeType"_s, 0) == -1)
            row.cells.append(EngineText::statusDemand());
        else
            row.cells.append(job.boolean(u"bHold"_s, false) ? EngineText::statusHold()
                                                           : EngineText::statusWaiting());
    }
    if (m_columns[ScheduleColumn])
        row.cells.append(scheduleText(Schedule::fromValues(job.values())));
    const int jobType = job.integer(u"iJobType"_s, 0);
    if (m_columns[ProgramColumn]) {
        const auto cell = EngineText::programCell(jobType, job.integer(u"iShutdownType"_s, 0),
            jobType == 0 ? job.text(u"sProgram"_s) : QString());
        if (cell)
            row.cells.append(*cell);
    }
    if (m_columns[LastStartColumn])
        row.cells.append(job.text(u"sLastStartDate"_s) + u' ' + job.text(u"sLastStartTime"_s));
    if (m_columns[LastEndColumn])
        row.cells.append(job.text(u"sLastEndDate"_s) + u' ' + job.text(u"sLastEndTime"_s));
    if (m_columns[LastStatusColumn])
        row.cells.append(job.boolean(u"bLastStartStatus"_s, true) ? EngineText::successful()
                                                                  : EngineText::failed());
    return row;
}

void Engine::load(int index, const QString &name)
{
    // All of the job's values in one look; the queue build loads up to 256 jobs.
    const JobValues job(m_store.registry().values(JobStore::storeKey + u'\\' + name));
    QueueEntry &e = m_queue[index];
    e.clear();
    e.inUse = true;
    e.hold = job.boolean(u"bHold"_s, false);
    e.jobType = job.integer(u"iJobType"_s, 0);
    e.hour = job.integer(u"iHour"_s, 0);
    e.minute = job.integer(u"iMin"_s, 0);
    e.second = job.integer(u"iSec"_s, 0);
    e.customKind = job.integer(u"iCustomTimeType"_s, 0);
    e.jobName = job.text(u"sJobName"_s);
    e.successTest = job.boolean(u"bUseErrLevel"_s, false) || job.boolean(u"bUseFileExist"_s, false)
        || job.boolean(u"bUseIniKey"_s, false);
    if (e.jobType == 0) {
        e.notifyOrForce = job.boolean(u"bNotifyCode"_s, false);
        e.terminationOrShutdown = job.integer(u"iTerminationType"_s, 0);
    } else if (e.jobType == 1) {
        e.notifyOrForce = job.boolean(u"bForceClose"_s, true);
        e.terminationOrShutdown = job.integer(u"iShutdownType"_s, 0);
    }
    e.terminationDuration = job.integer(u"iTerminationDur"_s, 0);
    e.terminationHour = job.integer(u"iTerminationHour"_s, 0);
    e.terminationMinute = job.integer(u"iTerminationMin"_s, 0);
    e.terminationSecond = job.integer(u"iTerminationSec"_s, 0);
    e.schedule = Schedule::fromValues(job.values());
}

void Engine::buildQueue()
{
    buildQueue(fetchJobs(queueValueNames, queueValueStems), m_clock.now().date());
}

void Engine::buildQueue(const JobsByName &jobs, const QDate &today)
{
    m_queue.keepSurvivors();
    for (const QString &name : std::as_const(m_jobNames)) {
        const JobValues job(jobs.value(name.toUpper()));
        if (!isDueOn(Schedule::fromValues(job.values()), today))
            continue;
        const QString jobName = job.text(u"sJobName"_s);
        if (jobName.isEmpty() || job.integer(u"iCustomTimeType"_s, 0) == -1)
            continue;
        if (m_queue.find(jobName) >= 0)
            continue;
        // Entries kept running through the rebuild may have filled the queue already.
        if (m_queue.isFull()) {
            m_host.showStatus(EngineText::queueFull());
            return;
        }
        m_queue.append();
        load(m_queue.count() - 1, name);
        if (m_queue.isFull()) {
            m_host.showStatus(EngineText::queueFull());
            return;
        }
    }
    if (m_host.isMiniWindowVisible())
        m_host.setMiniJobCount(EngineText::jobsToday(m_queue.count()));
    m_host.showStatus(EngineText::jobsInQueue(m_queue.count()));
    m_dataVersion = m_store.registry().dataVersion();
}

void Engine::suspendAll()
{
    m_suspended = true;
    if (m_host.isMiniWindowVisible())
        m_host.setMiniJobCount(EngineText::allJobsSuspendedMini());
    m_host.showStatus(EngineText::allSuspendedStatus());
}

void Engine::restartAll()
{
    m_suspended = false;
    m_host.showStatus(EngineText::allRestartedStatus());
}

bool Engine::startOnRequest(const QString &name)
{
    const int index = m_queue.find(name);
    if (index >= 0) {
        m_queue[index].runNow = true;
        return true;
    }
    for (const QString &key : std::as_const(m_jobNames)) {
        if (m_store.readString(key, u"sJobName"_s).compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (m_queue.isFull()) {
            if (m_categories.debugInfo)
                log(EngineText::queueFullOnRequest(name));
            return false;
        }
        m_queue.append();
        load(m_queue.count() - 1, key);
        m_queue[m_queue.count() - 1].runNow = true;
        return true;
    }
    return false;
}

// --- The timer loop -------------------------------------------------------------------

void Engine::tick()
{
    TickTime t;
    t.now = m_clock.now();
    const QTime time = t.now.time();
    t.hour = time.hour();
    t.minute = time.minute();
    t.second = time.second();
    t.ms = time.msec();

    if (t.second != m_lastSecond) {
        m_host.showClock(timeText(t.now));
        m_lastSecond = t.second;
        m_debugWindow = false;
    }
    if (m_startAsWindow == 2 && m_firstShow) {
        m_startAsWindow = -1;
        m_host.showMiniWindow();
    }
    if (m_host.isMiniWindowVisible())
        m_host.setMiniCaption(timeText(t.now));

    bool minuteChanged = false;
    if (t.minute != m_lastMinute) {
        ++m_startupMinutes;
        for (int i = 0; i < m_queue.count(); ++i) {
            QueueEntry &e = m_queue[i];
            if (e.customKind == 3) {
                ++e.waitCounter;
                if (m_categories.debugInfo)
                    log(EngineText::incrementWait(e.jobName, i, e.waitCounter));
            }
            if (e.runState == QueueEntry::Complete) {
                e.runState = QueueEntry::Waiting;
                e.runMinutes = 0;
                if (m_categories.debugInfo)
                    log(EngineText::resettingComplete(e.jobName, i));
            }
        }
        minuteChanged = true;
        m_debugWindow = true;
        m_lastMinute = t.minute;
    }

    if (m_busy || m_ending)
        return;
    BusyGuard busy(m_busy);
    try {
        m_launcher.service();
        // The tick's own time: every look at the local clock costs a check of the zone file.
        startOfDay(StartOfDayKind::Automatic, t.now);
        if (!m_suspended) {
            m_trayFrame = (m_trayFrame + 1) % 8;
            m_host.setTrayFrame(m_trayFrame);
            refreshIfChangedElsewhere(t.now.date());
            walk(t, minuteChanged);
        }
    } catch (const std::exception &error) {
        if (m_categories.debugInfo)
            log(EngineText::actionError(QString(), QString::fromLocal8Bit(error.what())));
    } catch (...) {
        if (m_categories.debugInfo)
            log(EngineText::actionError(QString(), u"unknown error"_s));
    }
}

void Engine::refreshIfChangedElsewhere(const QDate &today)
{
    // Another program's write (voltrane-reg, a second editor) shows in the registry's data
    // version: the job list is refreshed as after an editor's save, running entries kept.
    const qint64 version = m_store.registry().dataVersion();
    if (version == m_dataVersion)
        return;
    m_dataVersion = version;
    if (!refreshJobList(today))
        m_dataVersion = -1; // tried again at the next tick
}

qint64 Engine::minuteStamp(const TickTime &t)
{
    return t.now.date().toJulianDay() * 1440 + t.hour * 60 + t.minute;
}

bool Engine::startedByRuleIn(const QueueEntry &e, const TickTime &t) const
{
    if (e.customKind == 4)
        return m_startedAfterStartup.contains(e.jobName);
    if (e.customKind < 0 || e.customKind > 2)
        return false;
    const auto found = m_ruleStarts.constFind(e.jobName);
    return found != m_ruleStarts.constEnd() && found->contains(minuteStamp(t));
}

void Engine::noteRuleStart(const QueueEntry &e, const TickTime &t)
{
    if (e.customKind == 4) {
        m_startedAfterStartup.insert(e.jobName);
    } else if (e.customKind >= 0 && e.customKind <= 2) {
        QSet<qint64> &minutes = m_ruleStarts[e.jobName];
        // Only the last two days can come round again after a step of the clock.
        const qint64 oldest = minuteStamp(t) - 2 * 1440;
        minutes.removeIf([oldest](qint64 stamp) { return stamp < oldest; });
        minutes.insert(minuteStamp(t));
    }
}

void Engine::walk(const TickTime &t, bool minuteChanged)
{
    const int count = m_queue.count();
    for (int i = 0; i < count && !m_ending; ++i) {
        const QString job = m_queue[i].jobName;
        try {
            treat(i, t, minuteChanged);
        } catch (const std::exception &error) {
            if (m_categories.debugInfo)
                log(EngineText::actionError(job, QString::fromLocal8Bit(error.what())));
            return;
        } catch (...) {
            if (m_categories.debugInfo)
                log(EngineText::actionError(job, u"unknown error"_s));
            return;
        }
    }
}

void Engine::treat(int index, const TickTime &t, bool minuteChanged)
{
    QueueEntry &e = m_queue[index];
    if (!e.inUse || e.hold)
        return;
    const QString job = e.jobName;
    if (debugWindow())
        log(EngineText::checkJobIndex(job, index));
    if (e.runState == QueueEntry::Active) {
        supervise(index, t, minuteChanged);
        return;
    }
    if (debugWindow())
        log(EngineText::jobInactive(job));
    const bool byRequest = e.runNow;
    if (!decideStart(index, t))
        return;
    if (debugWindow())
        log(EngineText::passedStartTest(job));

    const Prestart::Result prestart = m_prestart.CheckPrestart(job);
    if (!prestart.passed) {
        if (m_categories.jobPrestarts)
            log(EngineText::prestartFailed(job));
        return;
    }
    if (m_categories.jobPrestarts)
        log(EngineText::prestartPassed(job));

    if (!byRequest)
        noteRuleStart(e, t);
    e.runState = QueueEntry::Active;
    startByType(index, t);
}

bool Engine::decideStart(int index, const TickTime &t)
{
    QueueEntry &e = m_queue[index];
    if (e.runNow) {
        e.runNow = false;
        return true;
    }
    if (e.runState == QueueEntry::Complete)
        return false;
    bool holds = false;
    if (e.customKind != 0) {
        if (e.customKind == -1)
            return false;
        if (debugWindow())
            log(EngineText::checkingCustom(e.jobName, index, e.customKind, t.ms));
        ScheduleDebug debugLine;
        if (debugWindow())
            debugLine = [this](const QString &line) { m_log.logMessage(line); };
        holds = timeRuleHolds(e.schedule, e.customKind, e.hour, e.minute, e.second, t.hour, t.minute,
            t.second, e.waitCounter, m_startupMinutes, e.jobName, debugLine);
        if (holds && e.customKind == 3)
            e.waitCounter = 0;
    } else {
        if (debugWindow())
            log(EngineText::checkingScheduled(e.jobName, index, e.hour, e.minute, e.second,
            t.hour, t.minute, t.second, t.ms));
        holds = timeRuleHolds(e.schedule, 0, e.hour, e.minute, e.second, t.hour, t.minute,
            t.second, e.waitCounter, m_startupMinutes, e.jobName);
    }
    return holds && !startedByRuleIn(e, t);
}

void Engine::startByType(int index, const TickTime &t)
{
    Q_UNUSED(t);
    QueueEntry &e = m_queue[index];
    const QString job = e.jobName;
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
        } else if (m_categories.debugInfo) {
            log(EngineText::activityNotAvailable(job, e.jobType));
        }
        finishNonProgramRun(index, job, result);
        return;
    }
    case 2:
    case 3:
    case 4:
    case 5: {
        // Without a first source there is nothing to act on.
        const bool result = !m_store.readString(job, u"sSysSourceFileName0"_s).isEmpty()
            && m_fileActions->perform(job, e.jobType, m_useRecycleBin);
        finishNonProgramRun(index, job, result);
        return;
    }
    case 6: {
        bool result = false;
        JobActivity *activity = m_activities.value(e.jobType, m_mailActions.get());
        // An error still ends the walk, but never leaves the run active: an active entry
        // without a process would later count as a success.
        try {
            result = activity->run(job, e);
        } catch (...) {
            endNonProgramRun(job, false);
            throw;
        }
        finishNonProgramRun(index, job, result);
        return;
    }
    default:
        if (m_categories.debugInfo)
            log(EngineText::unknownJobType(job, e.jobType));
        endNonProgramRun(job, false);
        return;
    }
}

void Engine::finishNonProgramRun(int index, const QString &job, bool result)
{
    Q_UNUSED(index);
    // The action may have let events run (a message, a process list) that rebuilt the
    // queue: the run's end is recorded by job, wherever its entry went.
    runPostAction(job, result);
    endNonProgramRun(job, result);
}

void Engine::endNonProgramRun(const QString &job, bool result)
{
    const QDateTime now = m_clock.now();
    const QString date = dateText(now);
    const QString time = timeText(now);
    {
        Registry::Transaction transaction(m_store.registry());
        m_store.writeString(job, u"sLastStartDate"_s, date);
        m_store.writeString(job, u"sLastEndDate"_s, date);
        m_store.writeString(job, u"sLastStartTime"_s, time);
        m_store.writeString(job, u"sLastEndTime"_s, time);
        m_store.writeBoolean(job, u"bLastStartStatus"_s, result);
        transaction.commit();
    }
    const int index = m_queue.find(job);
    if (index >= 0)
        m_queue[index].runState = QueueEntry::Complete;
    RowUpdate update;
    if (m_columns[StatusColumn])
        update.status = EngineText::statusComplete();
    if (m_columns[LastStartColumn])
        update.lastStarted = date + u' ' + time;
    if (m_columns[LastEndColumn])
        update.lastEnded = date + u' ' + time;
    if (m_columns[LastStatusColumn])
        update.lastStatus = result ? EngineText::successful() : EngineText::failed();
    m_host.updateJobRow(job, update);
}

// --- Launch and supervision -------------------------------------------------------------

void Engine::launch(int index)
{
    QueueEntry &e = m_queue[index];
    const QString job = e.jobName;
    const bool notify = e.notifyOrForce;
    const Prestart::Result prestart = m_prestart.CheckPrestart(job);
    const QString program = m_store.readString(job, u"sProgram"_s);
    const QString arguments = m_store.readString(job, u"sCommand Line"_s);
    const QString commandLine = arguments.isEmpty() ? program : program + u' ' + arguments;
    const int appearance = m_store.readInteger(job, u"iWinAppearance"_s, 0);
    const int priority = m_store.readInteger(job, u"iWinPriority"_s, 0);

    QString reason;
    std::optional<ProcessHandle> handle;
    const auto words = CommandLine::splitJob(program, arguments, &reason);
    if (words && !words->isEmpty()) {
        LaunchRequest request;
        request.arguments = *words;
        request.workingDirectory = prestart.startDirectory.value_or(QString());
        request.priority = priority;
        request.appearance = appearance;
        const LaunchResult result = m_launcher.start(request);
        handle = result.handle;
        reason = result.error;
    } else if (words) {
        reason = u"no program is set"_s;
    }

    const QDateTime now = m_clock.now();
    const QString date = dateText(now);
    const QString time = timeText(now);
    {
        Registry::Transaction transaction(m_store.registry());
        m_store.writeString(job, u"sLastStartDate"_s, date);
        m_store.writeString(job, u"sLastStartTime"_s, time);
        transaction.commit();
    }

    if (handle) {
        RowUpdate update;
        if (m_columns[StatusColumn])
            update.status = EngineText::statusActive();
        if (m_columns[LastStartColumn])
            update.lastStarted = date + u' ' + time;
        m_host.updateJobRow(job, update);
        if (m_categories.jobStarts)
            log(EngineText::startedOk(job, commandLine));
        e.process = handle;
    } else {
        e.runState = QueueEntry::Complete;
        log(EngineText::failedToStart(job, commandLine));
        if (m_categories.debugInfo)
            log(EngineText::failedToStartReason(job, reason));
    }
    // The send may let events run that rebuild the queue: `e` is not used after it.
    if (notify)
        m_mailActions->NotifyJob(job, true, handle.has_value());
}

void Engine::supervise(int index, const TickTime &t, bool minuteChanged)
{
    QueueEntry &e = m_queue[index];
    if (debugWindow())
        log(EngineText::jobActiveTestPassed(e.jobName));
    if (minuteChanged)
        ++e.runMinutes;
    std::optional<int> exitCode;
    if (e.process) {
        const ProcessStatus status = m_launcher.poll(*e.process);
        if (status.running) {
            applyTermination(index, t);
            return;
        }
        exitCode = status.exitCode;
    }
    endProgramRun(index, exitCode.value_or(0));
}

void Engine::endProgramRun(int index, int exitCode)
{
    QueueEntry &e = m_queue[index];
    const QString job = e.jobName;
    const bool notify = e.notifyOrForce;
    e.process.reset();
    bool success = true;
    QString reason;
    if (e.successTest && m_evaluate) {
        const auto [ok, why] = m_evaluate(job, exitCode);
        success = ok;
        reason = why;
    }
    if (m_categories.jobEnds)
        log(success ? EngineText::endedSuccessfully(job, exitCode) : EngineText::endedFailed(job, reason));
    const QDateTime now = m_clock.now();
    const QString date = dateText(now);
    const QString time = timeText(now);
    {
        Registry::Transaction transaction(m_store.registry());
        m_store.writeString(job, u"sLastEndDate"_s, date);
        m_store.writeString(job, u"sLastEndTime"_s, time);
        m_store.writeBoolean(job, u"bLastStartStatus"_s, success);
        transaction.commit();
    }
    RowUpdate update;
    if (m_columns[StatusColumn])
        update.status = EngineText::statusComplete();
    if (m_columns[LastEndColumn])
        update.lastEnded = date + u' ' + time;
    if (m_columns[LastStatusColumn])
        update.lastStatus = success ? EngineText::successful() : EngineText::failedBecause(reason);
    m_host.updateJobRow(job, update);
    if (notify)
        m_mailActions->NotifyJob(job, false, success);
    runPostAction(job, success);

    // A notification lets events run (a reload may rebuild the queue) and a post-run action
    // may append to it: the entry is found again by name.
    if (m_queue.find(job) != index)
        index = m_queue.find(job);
    if (index >= 0)
        m_queue[index].runState = QueueEntry::Complete;
    if (m_categories.debugInfo)
        log(EngineText::naturalTermination(job, index));
    if (m_store.readBoolean(job, u"bDeleteJob"_s, false)) {
        if (index >= 0)
            m_queue[index].inUse = false;
        m_store.eraseJob(job);
        refreshJobList();
    }
}

void Engine::runPostAction(const QString &job, bool success)
{
    const int code = m_store.readInteger(job, success ? u"iPostSuccessCode"_s : u"iPostFailCode"_s, 0);
    if (code != 0)
        RunPostJobAction(job, code,
            m_store.readString(job, success ? u"sPostSuccessFile"_s : u"sPostFailFile"_s));
}

bool Engine::RunPostJobAction(const QString &job, int code, const QString &target)
{
    if (code == 1) {
        if (startOnRequest(target)) {
            if (m_categories.jobStarts)
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
        const LaunchResult result = m_launcher.startDetached(request);
        started = result.handle.has_value();
        reason = result.error;
    }
    if (started) {
        if (m_categories.jobStarts)
            log(EngineText::kickedOffProgram(job, target));
    } else {
        log(EngineText::failedToKickOff(job, target));
        if (m_categories.debugInfo)
            log(EngineText::failedToStartReason(job, reason));
    }
    return started;
}

void Engine::applyTermination(int index, const TickTime &t)
{
    QueueEntry &e = m_queue[index];
    bool terminate = false;
    switch (e.terminationOrShutdown) {
    case 1:
        if (debugWindow())
            log(EngineText::checkingTermByDuration(e.jobName, index, e.terminationDuration, e.runMinutes));
        terminate = e.terminationDuration <= e.runMinutes;
        break;
    case 2:
        if (debugWindow())
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
    const int level = m_store.readInteger(e.jobName, u"iTerminationLevel"_s, 0);
    if (m_launcher.terminate(*e.process)) {
        if (m_categories.jobEnds)
            log(EngineText::scheduledTermination(e.jobName, level));
        if (m_categories.debugInfo)
            log(EngineText::forcedTermination(e.jobName, index));
        e.process.reset();
        e.runState = QueueEntry::Complete;
    } else {
        log(EngineText::terminationFailed(e.jobName));
    }
}
