// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/mainformtext.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace MainFormText {
namespace {

QString tr(const char *text) { return QCoreApplication::translate("MainForm", text); }

struct Button
{
    const char *caption;
    const char *hint;
    int helpNumber;
};

const Button tools[] = {
    {"Exit", QT_TRANSLATE_NOOP("MainForm", "Exit Halvorn"), 0},
    {"Configuration", QT_TRANSLATE_NOOP("MainForm", "Run the Halvorn configuration function"), 1},
    {"Suspend", QT_TRANSLATE_NOOP("MainForm", "Suspend all jobs"), 2},
    {"Restart all", QT_TRANSLATE_NOOP("MainForm", "Restart all jobs"), 3},
    {"Start of Day", QT_TRANSLATE_NOOP("MainForm", "Force a StartofDay (re-read of all jobs)"), 8},
    {"Copy", QT_TRANSLATE_NOOP("MainForm", "Copy schedule list or log entries to the clipboard"), 14},
    {"Print", QT_TRANSLATE_NOOP("MainForm", "Print schedule list or log entries"), 15},
    {"About", QT_TRANSLATE_NOOP("MainForm", "Load the About form"), 10},
    {"Help", QT_TRANSLATE_NOOP("MainForm", "Load the embedded help"), 9},
};

const Button sides[] = {
    {QT_TRANSLATE_NOOP("MainForm", "Create a New Job"), QT_TRANSLATE_NOOP("MainForm", "Creates a new schedule job"), 4},
    {QT_TRANSLATE_NOOP("MainForm", "&Remove a job"), QT_TRANSLATE_NOOP("MainForm", "Removes the selected single-step job"), 5},
    {QT_TRANSLATE_NOOP("MainForm", "&Edit a job"), QT_TRANSLATE_NOOP("MainForm", "Edits the selected single-step job"), 6},
    {QT_TRANSLATE_NOOP("MainForm", "&Hold"), QT_TRANSLATE_NOOP("MainForm", "Put the selected job on hold"), 11},
    {QT_TRANSLATE_NOOP("MainForm", "R&estart"), QT_TRANSLATE_NOOP("MainForm", "Take the selected job off of hold"), 13},
    {QT_TRANSLATE_NOOP("MainForm", "Run job &now!"), QT_TRANSLATE_NOOP("MainForm", "run the selected job now"), 7},
};

// Window labels name Linux things (docs/platform.md, "Windows wording").
const char *const help[] = {
    QT_TRANSLATE_NOOP("MainForm", "0000 Press this button to 1. Save all Scheduler changes, 2. Exit the Halvorn program."),
    QT_TRANSLATE_NOOP("MainForm", "0001 Click here to load the configuration panel which will allow you to change the parameters under which Halvorn runs."),
    QT_TRANSLATE_NOOP("MainForm", "0002 Click here to suspend all single-step and multi-step jobs from kicking off. Any jobs already running will continue to do so."),
    QT_TRANSLATE_NOOP("MainForm", "0003 Click here to restart all single-step and multi-step jobs that were earlier suspended."),
    QT_TRANSLATE_NOOP("MainForm", "0004 Click here to add a new single-step Halvorn job."),
    QT_TRANSLATE_NOOP("MainForm", "0005 Click here to remove a job from the job list. Frist select the job by clicking on its name."),
    QT_TRANSLATE_NOOP("MainForm", "0006 Click here to edit an existing job on the job list. First select the job on the list by clicking on its name."),
    QT_TRANSLATE_NOOP("MainForm", "0007 Click here to force any job on the job list to start immediately. Use this to test how a job will run."),
    QT_TRANSLATE_NOOP("MainForm", "0008 Click here to force a Start-of-Day to run. This routine will reset all jobs and will reload the job list from the registry values."),
    QT_TRANSLATE_NOOP("MainForm", "0009 Click here to load the embedded help.  Halvorn's embedded help gives you detailed information on all Halvorn functions."),
    QT_TRANSLATE_NOOP("MainForm", "0010 Click here to load the About window, which shows the version of Halvorn you are running."),
    QT_TRANSLATE_NOOP("MainForm", "0011 Click here to place a job on hold. That job will not be invoked when its scheduled time slot occurs."),
    QT_TRANSLATE_NOOP("MainForm", "0012 Click here to create a new job based on performing system related activities, ie: Network logouts, file deletion"),
    QT_TRANSLATE_NOOP("MainForm", "0013 Click here to restart a job that had been placed on hold earlier"),
    QT_TRANSLATE_NOOP("MainForm", "0014 Click here to copy the schedule or selected text from the log to the clipboard"),
    QT_TRANSLATE_NOOP("MainForm", "0015 Click here to print the schedule or print selected text from the log"),
    QT_TRANSLATE_NOOP("MainForm", "0016 Click on column headers to sort the data by the selected column in either ascending or descending order"),
};

} // namespace

QString caption() { return u"Halvorn 95/NT"_s; }
QString version() { return u"1.30"_s; }
QString schedulerPage() { return tr("&Scheduler"); }
QString logPage() { return tr("&Log"); }
QString clockInitial() { return tr("Clock"); }
QString listHint() { return tr("Click on the Column Headers to sort ascending or descending"); }

QString toolHint(Tool tool) { return tr(tools[int(tool)].hint); }
int toolHelpNumber(Tool tool) { return tools[int(tool)].helpNumber; }
QString sideCaption(Side side) { return tr(sides[int(side)].caption); }
QString sideHint(Side side) { return tr(sides[int(side)].hint); }
int sideHelpNumber(Side side) { return sides[int(side)].helpNumber; }

QStringList columnCaptions()
{
    return {tr("Job Name"), tr("Status"), tr("Schedule"), tr("Program"), tr("Last Started"),
        tr("Last Ended"), tr("Last Status")};
}

QString fileMenu() { return tr("&File"); }
QString printItem() { return tr("&Print..."); }
QString printSetupItem() { return tr("Print &Setup..."); }
QString parametersItem() { return tr("P&arameters..."); }
QString exitItem() { return tr("&Exit"); }
QString editMenu() { return tr("&Edit"); }
QString copyItem() { return tr("&Copy To Clipboard"); }
QString startOfDayItem() { return tr("&Run Start-of-Day"); }
QString jobsMenu() { return tr("&Jobs"); }
QString createItem() { return tr("&Create a New Job..."); }
QString saveListItem() { return tr("Sa&ve Job list to File"); }
QString readListItem() { return tr("&Read Job list from file"); }
QString windowMenu() { return tr("&Window"); }
QString aboutItem() { return tr("&About..."); }
QString setupWizardItem() { return tr("&Rerun Setup Wizard..."); }
QString helpItem() { return tr("&Help..."); }
QString openItem() { return tr("&Open"); }
QString whatsThisItem() { return tr("What's This"); }

QStringList helpEntries()
{
    QStringList entries;
    for (const char *entry : help)
        entries.append(tr(entry));
    return entries;
}

QString helpText(int helpNumber)
{
    for (const QString &entry : helpEntries()) {
        bool ok = false;
        if (entry.left(4).toInt(&ok) == helpNumber && ok)
            return entry.mid(5);
    }
    return helpApology();
}

QString helpApology()
{
    return tr("We are sorry, the detailed information you seek is not available at this time. "
              "(Programmers are known for their weak documentation and help skills) Drop us a note..");
}

QString aboutTitle() { return tr("About Halvorn"); }
QString aboutText()
{
    return tr("Halvorn 95/NT\nVersion %1 (%2)\nA resident job scheduler for Linux desktops.")
        .arg(version(), QStringLiteral(HALVORN_VERSION));
}

QString newJobCaption() { return tr("Halvorn New Job"); }
QStringList newJobButtons()
{
    return {tr("Create a job that schedules programs, batch files and other disk based routines"),
        tr("Create a job that schedules system activities such as shutdown and process termination"),
        tr("Create a job that schedules file activities such as file copying, deletion or renaming"),
        tr("Create a job that schedules automatic emails to be sent. Includes attaching files to the email"),
        tr("Return without creating a new Halvorn job")};
}
QString newJobProgramHint() { return tr("Schedule a new program job"); }

QString renameQuestion(const QString &from, const QString &to)
{
    return tr("Do you want to rename: ") + from + tr(" to: ") + to + u'?';
}
QString enterJobName() { return tr("Please enter a job name..."); }
QString jobNameExists() { return tr("A job by this name already exists, please enter a different job name..."); }
QString jobNameHasBackslash() { return tr("A job name cannot hold a \"\\\", please enter a different job name..."); }

QString editorMissing() { return tr("The editor for this kind of job is not part of this build yet."); }
QString printingMissing() { return tr("Printing and copying are not part of this build yet."); }
QString helpMissing() { return tr("The embedded help is not part of this build yet."); }
QString wizardMissing() { return tr("The setup wizard is not part of this build yet."); }
QString configurationMissing() { return tr("The configuration dialog is not part of this build yet."); }

QString jobAdded(const QString &job) { return u"Job: "_s + job + u" added to the scheduler."_s; }
QString jobModified(const QString &job) { return u"Job: "_s + job + u" has been modified."_s; }
QString jobDeleted(const QString &job) { return u"Job: "_s + job + u" deleted."_s; }
QString jobRenamed(const QString &from, const QString &to)
{
    return u"Job: "_s + from + u" has been renamed to: "_s + to;
}
QString userInvoked(const QString &job) { return u"User manually invoked job: "_s + job + u" ok."_s; }
QString userFailedToInvoke(const QString &job) { return u" User failed to invoke job: "_s + job; }

QString schedulerRunning(const QString &program, qint64 pid, const QString &registry)
{
    return tr("Another scheduler, %1 (process %2), already runs on the registry file %3. "
              "Only one scheduler may run at a time; stop it first (for the user service: "
              "systemctl --user stop voltraned).")
        .arg(program, QString::number(pid), registry);
}

QString otherSchedulerRunning(const QString &registry)
{
    return tr("Another scheduler already runs on the registry file %1 and has no window to show: "
              "most likely voltraned, the headless scheduler. Only one scheduler may run at a "
              "time; stop it first (for the user service: systemctl --user stop voltraned).")
        .arg(registry);
}

} // namespace MainFormText
