// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/queuebuilder.h"

#include "engine/enginecontext.h"
#include "engine/enginehost.h"
#include "engine/enginetext.h"
#include "engine/jobrows.h"
#include "engine/schedule.h"
#include "engine/timerqueue.h"
#include "log/activitylog.h"
#include "log/logpurge.h"
#include "platform/clock.h"
#include "store/settings.h"

using namespace Qt::StringLiterals;

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

QueueBuilder::QueueBuilder(EngineContext &context, const JobRows &rows)
    : m_context(context), m_rows(rows)
{
}

void QueueBuilder::startOfDay(StartOfDayKind kind, const QDateTime &now)
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
    if (m_context.settings.boolean(settings::CleanLogAtSOD) && m_lastPurgeDay != today.day()) {
        m_lastPurgeDay = today.day();
        purgeLog(now);
    }
    // The retry at a tick finishes the Start of Day that was asked for, and says so.
    if (kind == StartOfDayKind::Automatic && m_unreadKind)
        kind = *m_unreadKind;
    if (!refreshJobList(today)) {
        // A store that cannot be read is not a day without jobs: today's queue stays as
        // it is, and the next tick tries again.
        m_lastStartOfDayDay = previousDay;
        if (m_context.categories().debugInfo && !m_unreadKind)
            m_context.log.logMessage(EngineText::startOfDayUnread());
        m_unreadKind = kind;
        return;
    }
    m_unreadKind.reset();
    m_context.log.logMessage(EngineText::startOfDayLine(int(kind), m_context.queue.count()));
}

void QueueBuilder::purgeLog(const QDateTime &now)
{
    const ReadingClock clock(now);
    LogPurge purge(m_context.settings, m_context.log, clock);
    EngineHost &host = m_context.host;
    LogPurge::Feedback feedback;
    feedback.showStatus = [&host](const QString &text) { host.showStatus(text); };
    if (host.isMiniWindowVisible())
        feedback.showMiniJobCount = [&host](const QString &text) { host.setMiniJobCount(text); };
    feedback.reloadLog = [&host] { host.reloadLog(); };
    purge.purge(feedback);
}

bool QueueBuilder::refreshJobList(const QDate &today)
{
    EngineHost &host = m_context.host;
    const bool showsRows = host.showsJobRows();
    const auto jobs = showsRows ? m_context.store.readAll(rowValueNames, rowValueStems)
                                : m_context.store.readAll(queueValueNames, queueValueStems);
    // A read cut short would look like jobs removed: the list and the queue then stay.
    if (!jobs)
        return false;
    m_jobNames = jobs->jobs;
    if (showsRows) {
        QList<JobRow> rows;
        rows.reserve(m_jobNames.size());
        for (const QString &name : std::as_const(m_jobNames)) {
            JobRow row = m_rows.rowOf(jobs->values(name));
            if (!row.caption.isEmpty())
                rows.append(row);
        }
        host.setJobRows(rows);
    }
    buildQueue(*jobs, today);
    return true;
}

void QueueBuilder::refreshIfChangedElsewhere(const QDate &today)
{
    // Another program's write (voltrane-reg, a second editor) changes the store's change
    // counter: the job list is refreshed as after an editor's save, running entries kept.
    const qint64 version = m_context.store.changeCounter();
    if (version == m_dataVersion)
        return;
    m_dataVersion = version;
    if (!refreshJobList(today))
        m_dataVersion = -1; // tried again at the next tick
}

void QueueBuilder::buildQueue(const QDate &today)
{
    if (const auto jobs = m_context.store.readAll(queueValueNames, queueValueStems))
        buildQueue(*jobs, today);
}

void QueueBuilder::buildQueue(const JobStore::Snapshot &jobs, const QDate &today)
{
    TimerQueue &queue = m_context.queue;
    EngineHost &host = m_context.host;
    // Entries kept running through the rebuild may have filled the queue already.
    const auto stopsFull = [&queue, &host] {
        if (!queue.isFull())
            return false;
        host.showStatus(EngineText::queueFull());
        return true;
    };
    queue.keepSurvivors();
    for (const QString &key : std::as_const(m_jobNames)) {
        const JobValues job = jobs.values(key);
        if (!isDueOn(Schedule::fromValues(job.values()), today))
            continue;
        const QString jobName = job.text(u"sJobName"_s);
        if (jobName.isEmpty() || job.integer(u"iCustomTimeType"_s, 0) == -1)
            continue;
        if (queue.find(jobName) >= 0)
            continue;
        if (stopsFull())
            return;
        queue.append();
        load(queue.count() - 1, key);
        if (stopsFull())
            return;
    }
    if (host.isMiniWindowVisible())
        host.setMiniJobCount(EngineText::jobsToday(queue.count()));
    host.showStatus(EngineText::jobsInQueue(queue.count()));
    m_dataVersion = m_context.store.changeCounter();
}

void QueueBuilder::load(int index, const QString &key)
{
    // All of the job's values in one look; the queue build loads up to 256 jobs.
    const JobValues job = m_context.store.values(key);
    QueueEntry &e = m_context.queue[index];
    e.clear();
    e.inUse = true;
    e.key = key;
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

bool QueueBuilder::startOnRequest(const QString &name)
{
    TimerQueue &queue = m_context.queue;
    const int index = queue.find(name);
    if (index >= 0) {
        queue[index].runNow = true;
        return true;
    }
    for (const QString &key : std::as_const(m_jobNames)) {
        if (m_context.store.readString(key, u"sJobName"_s).compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (queue.isFull()) {
            if (m_context.categories().debugInfo)
                m_context.log.logMessage(EngineText::queueFullOnRequest(name));
            return false;
        }
        queue.append();
        load(queue.count() - 1, key);
        queue[queue.count() - 1].runNow = true;
        return true;
    }
    return false;
}
