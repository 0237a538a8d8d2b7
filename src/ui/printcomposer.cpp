// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/printcomposer.h"

#include "engine/enginetext.h"
#include "store/jobvalues.h"
#include "engine/schedule.h"
#include "platform/datetimetext.h"
#include "ui/exporttext.h"

using namespace Qt::StringLiterals;

namespace PrintComposer {

QStringList jobBlock(const JobValues &job)
{
    const int jobType = job.integer(u"iJobType"_s, 0);
    QString typeText;
    if (jobType == 0)
        typeText = ExportText::runProgram(job.text(u"sProgram"_s));
    else
        typeText = EngineText::programCell(jobType, job.integer(u"iShutdownType"_s, 0), QString())
                       .value_or(QString());
    return {
        ExportText::jobNameLine(job.text(u"sJobName"_s), job.boolean(u"bHold"_s, false)),
        ExportText::jobTypeLine(typeText),
        ExportText::lastRunLine(job.text(u"sLastStartDate"_s), job.text(u"sLastStartTime"_s),
            job.text(u"sLastEndDate"_s), job.text(u"sLastEndTime"_s),
            job.boolean(u"bLastStartStatus"_s, true)),
        ExportText::scheduleLine(scheduleText(Schedule::fromValues(job.values()))),
        ExportText::blockEnd(),
    };
}

QString titleLine(const QString &title, const QDateTime &now)
{
    return title + u" ("_s + DateTimeText::date(now.date()) + u' ' + DateTimeText::longTime(now.time())
        + u')';
}

QStringList document(const QString &title, const QStringList &lines, const QDateTime &now)
{
    QStringList out;
    out.reserve(lines.size() + 2);
    if (!title.isEmpty())
        out.append(titleLine(title, now));
    out.append(u" "_s);
    out.append(lines);
    return out;
}

} // namespace PrintComposer
