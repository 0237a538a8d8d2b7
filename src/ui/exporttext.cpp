// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/exporttext.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace ExportText {

QString printing() { return QCoreApplication::translate("Export", "please wait, printing..."); }
QString copied() { return QCoreApplication::translate("Export", "selected data copied to the clipboard..."); }
QString nothingCopied() { return QCoreApplication::translate("Export", "nothing selected in the log, nothing copied..."); }
QString printWholeList() { return QCoreApplication::translate("Export", "No jobs selected, print the whole job list?"); }
QString copyWholeList()
{
    return QCoreApplication::translate("Export", "No jobs selected, copy the whole job list to the clipboard?");
}
QString printError() { return QCoreApplication::translate("Export", "Error Printing text."); }
QString logTitle() { return u"Halvorn Log"_s; }
QString jobListTitle() { return u"Halvorn Job List"_s; }

// The printed job text is a record of the store, like the log: never translated.
QString jobNameLine(const QString &name, bool hold)
{
    return u"Job Name:  "_s + name + (hold ? u"  <Job is on Hold>"_s : u"  <Job is in Queue>"_s);
}
QString jobTypeLine(const QString &typeText) { return u"Job Type:  "_s + typeText; }
QString runProgram(const QString &program) { return u"Run Program: "_s + program; }
QString lastRunLine(const QString &startDate, const QString &startTime, const QString &endDate,
    const QString &endTime, bool successful)
{
    return u"Last Start Date: "_s + startDate + u' ' + startTime + u"  Last End Date:   "_s + endDate
        + u' ' + endTime + (successful ? u"   Last Status: successful"_s : u"  Last Status: failed"_s);
}
QString scheduleLine(const QString &schedule) { return u"Schedule: "_s + schedule; }
QString blockEnd() { return u" "_s; }

} // namespace ExportText
