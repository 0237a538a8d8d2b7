// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/jobrows.h"

#include "engine/enginetext.h"
#include "engine/schedule.h"
#include "store/jobvalues.h"
#include "store/settings.h"

using namespace Qt::StringLiterals;

void JobRows::readColumns(Settings &settings)
{
    m_shown[Status] = settings.boolean(settings::ListStatus);
    m_shown[Schedule] = settings.boolean(settings::ListSchedule);
    m_shown[Program] = settings.boolean(settings::ListProgram);
    m_shown[LastStart] = settings.boolean(settings::ListLastStart);
    m_shown[LastEnd] = settings.boolean(settings::ListLastEnd);
    m_shown[LastStatus] = settings.boolean(settings::ListLastStatus);
}

JobRow JobRows::rowOf(const JobValues &job) const
{
    JobRow row;
    row.caption = job.text(u"sJobName"_s);
    if (row.caption.isEmpty())
        return row;
    if (m_shown[Status]) {
        if (job.integer(u"iCustomTimeType"_s, 0) == -1)
            row.cells.append(EngineText::statusDemand());
        else
            row.cells.append(job.boolean(u"bHold"_s, false) ? EngineText::statusHold()
                                                           : EngineText::statusWaiting());
    }
    if (m_shown[Schedule])
        row.cells.append(scheduleText(Schedule::fromValues(job.values())));
    const int jobType = job.integer(u"iJobType"_s, 0);
    if (m_shown[Program]) {
        const auto cell = EngineText::programCell(jobType, job.integer(u"iShutdownType"_s, 0),
            jobType == 0 ? job.text(u"sProgram"_s) : QString());
        if (cell)
            row.cells.append(*cell);
    }
    if (m_shown[LastStart])
        row.cells.append(job.text(u"sLastStartDate"_s) + u' ' + job.text(u"sLastStartTime"_s));
    if (m_shown[LastEnd])
        row.cells.append(job.text(u"sLastEndDate"_s) + u' ' + job.text(u"sLastEndTime"_s));
    if (m_shown[LastStatus])
        row.cells.append(job.boolean(u"bLastStartStatus"_s, true) ? EngineText::successful()
                                                                  : EngineText::failed());
    return row;
}

RowUpdate JobRows::runStarted(const QString &when) const
{
    RowUpdate update;
    if (m_shown[Status])
        update.status = EngineText::statusActive();
    if (m_shown[LastStart])
        update.lastStarted = when;
    return update;
}

RowUpdate JobRows::runEnded(const QString &when, const QString &lastStatus, bool startedToo) const
{
    RowUpdate update;
    if (m_shown[Status])
        update.status = EngineText::statusComplete();
    if (startedToo && m_shown[LastStart])
        update.lastStarted = when;
    if (m_shown[LastEnd])
        update.lastEnded = when;
    if (m_shown[LastStatus])
        update.lastStatus = lastStatus;
    return update;
}
