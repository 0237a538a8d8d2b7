// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>
#include <QStringList>

// The texts of the main window, the job-type chooser and the job list, in one place:
// window texts are translatable, log lines are not. Tests compare against these.
namespace MainFormText {

QString caption(); // "Halvorn 95/NT"
QString version(); // "1.30", the version the setup wizard records
QString schedulerPage();
QString logPage();
QString clockInitial();
QString listHint();

// Toolbar buttons, left to right.
enum class Tool { Exit, Configuration, Suspend, RestartAll, StartOfDay, Copy, Print, About, Help };
QString toolHint(Tool tool);
int toolHelpNumber(Tool tool);

// Side bar buttons, top to bottom.
enum class Side { Create, Remove, Edit, Hold, Restart, RunNow };
QString sideCaption(Side side);
QString sideHint(Side side);
int sideHelpNumber(Side side);
inline constexpr int listHelpNumber = 16;

// Column captions in their fixed order: "Job Name" first, then the six optional ones.
QStringList columnCaptions();

// Menus.
QString fileMenu();
QString printItem();
QString printSetupItem();
QString parametersItem();
QString exitItem();
QString editMenu();
QString copyItem();
QString startOfDayItem();
QString jobsMenu();
QString createItem();
QString saveListItem();
QString readListItem();
QString windowMenu();
QString aboutItem();
QString setupWizardItem();
QString helpItem();
QString openItem();
QString whatsThisItem();

// "What's This": the hidden list of help texts ("0000 text"), and the text for a number.
QStringList helpEntries();
QString helpText(int helpNumber);
QString helpApology();

QString aboutTitle();
QString aboutText();

// The job-type chooser.
QString newJobCaption();
QStringList newJobButtons(); // choices 1 to 4, then 0
QString newJobProgramHint();

// Rename and the editors' name checks.
QString renameQuestion(const QString &from, const QString &to);
QString enterJobName();
QString jobNameExists();
QString jobNameHasBackslash();

// Status line texts of our own.
QString editorMissing();
QString printingMissing();
QString helpMissing();
QString wizardMissing();
QString configurationMissing();

// Log lines: never translated.
QString jobAdded(const QString &job);
QString jobModified(const QString &job);
QString jobDeleted(const QString &job);
QString jobRenamed(const QString &from, const QString &to);
QString userInvoked(const QString &job);
QString userFailedToInvoke(const QString &job);

// Another scheduler holds the registry (standard error and a message box).
QString schedulerRunning(const QString &program, qint64 pid, const QString &registry);
// The same when the holder is not known: a scheduler that does not answer a show request.
QString otherSchedulerRunning(const QString &registry);

} // namespace MainFormText
