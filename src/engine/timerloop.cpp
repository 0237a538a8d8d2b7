// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/timerloop.h"

#include "engine/enginecontext.h"
#include "engine/enginehost.h"
#include "engine/enginetext.h"
#include "engine/jobruns.h"
#include "engine/prestart.h"
#include "engine/queuebuilder.h"
#include "engine/schedule.h"
#include "engine/ticktime.h"
#include "engine/timerqueue.h"
#include "log/activitylog.h"
#include "platform/clock.h"
#include "platform/datetimetext.h"
#include "platform/processlauncher.h"

#include <exception>

using namespace Qt::StringLiterals;

namespace {

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

TimerLoop::TimerLoop(EngineContext &context, QueueBuilder &builder, JobRuns &runs, Prestart &prestart)
    : m_context(context), m_builder(builder), m_runs(runs), m_prestart(prestart)
{
}

void TimerLoop::log(const QString &line) { m_context.log.logMessage(line); }

void TimerLoop::tick()
{
    TickTime t = readClock();
    showTime(t);
    const bool minuteChanged = countMinute(t);
    t.debugWindow = m_debugWindow;

    if (m_busy || m_runs.hasEndedProgram())
        return;
    BusyGuard busy(m_busy);
    const LogCategories &categories = m_context.categories();
    try {
        m_context.launcher.service();
        // The tick's own time: every look at the local clock costs a check of the zone file.
        m_builder.startOfDay(StartOfDayKind::Automatic, t.now);
        if (!m_suspended) {
            m_trayFrame = (m_trayFrame + 1) % 8;
            m_context.host.setTrayFrame(m_trayFrame);
            m_builder.refreshIfChangedElsewhere(t.now.date());
            walk(t, minuteChanged);
        }
    } catch (const std::exception &error) {
        if (categories.debugInfo)
            log(EngineText::actionError(QString(), QString::fromLocal8Bit(error.what())));
    } catch (...) {
        if (categories.debugInfo)
            log(EngineText::actionError(QString(), u"unknown error"_s));
    }
}

TickTime TimerLoop::readClock()
{
    TickTime t;
    t.now = m_context.clock.now();
    const QTime time = t.now.time();
    t.hour = time.hour();
    t.minute = time.minute();
    t.second = time.second();
    t.ms = time.msec();
    return t;
}

void TimerLoop::showTime(const TickTime &t)
{
    EngineHost &host = m_context.host;
    if (t.second != m_lastSecond) {
        host.showClock(DateTimeText::longTime(t.now.time()));
        m_lastSecond = t.second;
        m_debugWindow = false;
    }
    int &startAsWindow = m_context.options.startAsWindow;
    if (startAsWindow == 2 && m_firstShow) {
        startAsWindow = -1;
        host.showMiniWindow();
    }
    if (host.isMiniWindowVisible())
        host.setMiniCaption(DateTimeText::longTime(t.now.time()));
}

bool TimerLoop::countMinute(const TickTime &t)
{
    if (t.minute == m_lastMinute)
        return false;
    ++m_startupMinutes;
    const bool debugInfo = m_context.categories().debugInfo;
    TimerQueue &queue = m_context.queue;
    for (int i = 0; i < queue.count(); ++i) {
        QueueEntry &e = queue[i];
        if (e.customKind == 3) {
            ++e.waitCounter;
            if (debugInfo)
                log(EngineText::incrementWait(e.jobName, i, e.waitCounter));
        }
        if (e.runState == QueueEntry::Complete) {
            e.runState = QueueEntry::Waiting;
            e.runMinutes = 0;
            if (debugInfo)
                log(EngineText::resettingComplete(e.jobName, i));
        }
    }
    m_debugWindow = true;
    m_lastMinute = t.minute;
    return true;
}

void TimerLoop::walk(const TickTime &t, bool minuteChanged)
{
    const int count = m_context.queue.count();
    for (int i = 0; i < count && !m_runs.hasEndedProgram(); ++i) {
        const QString job = m_context.queue[i].jobName;
        try {
            treat(i, t, minuteChanged);
        } catch (const std::exception &error) {
            if (m_context.categories().debugInfo)
                log(EngineText::actionError(job, QString::fromLocal8Bit(error.what())));
            return;
        } catch (...) {
            if (m_context.categories().debugInfo)
                log(EngineText::actionError(job, u"unknown error"_s));
            return;
        }
    }
}

void TimerLoop::treat(int index, const TickTime &t, bool minuteChanged)
{
    QueueEntry &e = m_context.queue[index];
    if (!e.inUse || e.hold)
        return;
    // Nothing before the run's start lets events move the queue: the entry stays put.
    const QString &job = e.jobName;
    const LogCategories &categories = m_context.categories();
    if (t.logsWindowLines(categories))
        log(EngineText::checkJobIndex(job, index));
    if (e.runState == QueueEntry::Active) {
        m_runs.supervise(index, t, minuteChanged);
        return;
    }
    if (t.logsWindowLines(categories))
        log(EngineText::jobInactive(job));
    const bool byRequest = e.runNow;
    if (!decideStart(index, t))
        return;
    if (t.logsWindowLines(categories))
        log(EngineText::passedStartTest(job));

    const Prestart::Result prestart = m_prestart.CheckPrestart(Job { e.key, e.jobName });
    if (!prestart.passed) {
        if (categories.jobPrestarts)
            log(EngineText::prestartFailed(job));
        return;
    }
    if (categories.jobPrestarts)
        log(EngineText::prestartPassed(job));

    if (!byRequest)
        m_ruleStarts.note(e, t);
    e.runState = QueueEntry::Active;
    m_runs.start(index);
}

bool TimerLoop::decideStart(int index, const TickTime &t)
{
    QueueEntry &e = m_context.queue[index];
    if (e.runNow) {
        e.runNow = false;
        return true;
    }
    if (e.runState == QueueEntry::Complete)
        return false;
    const bool windowLines = t.logsWindowLines(m_context.categories());
    bool holds = false;
    if (e.customKind != 0) {
        if (e.customKind == -1)
            return false;
        if (windowLines)
            log(EngineText::checkingCustom(e.jobName, index, e.customKind, t.ms));
        ScheduleDebug debugLine;
        if (windowLines)
            debugLine = [this](const QString &line) { log(line); };
        holds = timeRuleHolds(e.schedule, e.customKind, e.hour, e.minute, e.second, t.hour,
            t.minute, t.second, e.waitCounter, m_startupMinutes, e.jobName, debugLine);
        if (holds && e.customKind == 3)
            e.waitCounter = 0;
    } else {
        if (windowLines)
            log(EngineText::checkingScheduled(e.jobName, index, e.hour, e.minute, e.second,
                t.hour, t.minute, t.second, t.ms));
        holds = timeRuleHolds(e.schedule, 0, e.hour, e.minute, e.second, t.hour, t.minute,
            t.second, e.waitCounter, m_startupMinutes, e.jobName);
    }
    return holds && !m_ruleStarts.startedIn(e, t);
}

void TimerLoop::suspendAll()
{
    m_suspended = true;
    EngineHost &host = m_context.host;
    if (host.isMiniWindowVisible())
        host.setMiniJobCount(EngineText::allJobsSuspendedMini());
    host.showStatus(EngineText::allSuspendedStatus());
}

void TimerLoop::restartAll()
{
    m_suspended = false;
    m_context.host.showStatus(EngineText::allRestartedStatus());
}
