// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "ui/mainformtext.h"

#include <QCoreApplication>
#include <QString>

// The texts of the job editors that code and tests compare: check messages, questions,
// panel and status texts, captions of the dialogs. Captions of single controls live with
// the dialog that shows them.
namespace EditorText {

inline QString tr(const char *text) { return QCoreApplication::translate("EditorText", text); }

// Captions.
inline QString singleJobCaption() { return tr("Job entry"); }
inline QString customTimeCaption() { return tr("Halvorn Custom Time Schedule"); }
inline QString prestartCaption() { return tr("Halvorn Prestart Criteria"); }
inline QString successCaption() { return tr("Success\\Failure criteria"); }
inline QString postJobCaption() { return tr("Halvorn Post-Job Actions"); }
inline QString notifyCaption() { return tr("Email Notification Form"); }
inline QString terminateCaption() { return tr("Halvorn Termination Criteria"); }
inline QString systemCaption() { return tr("System Settings"); }
inline QString favoritesCaption() { return tr("Halvorn Templates"); }
inline QString newFavoriteCaption() { return tr("Favorite Entry Form"); }
inline QString promptCaption() { return tr("Halvorn"); }
inline QString filterCaption() { return tr("Filter Date"); }

// The checks of the program job editor, in the order they run.
inline QString jobNameMissing() { return tr("Please enter a job name..."); }
inline QString jobNameTaken()
{
    return tr("A job by this name already exists, please enter a different job name...");
}
// The main window refuses such a name in a rename with the same words.
inline QString jobNameBackslash() { return MainFormText::jobNameHasBackslash(); }
inline QString programMissing() { return tr("Please enter a program to run..."); }
inline QString noWeekday() { return tr("Please select at least 1 day of the week for \"These Days\".."); }
inline QString noDates() { return tr("There are not dates entered for \"Specific Dates\".."); }
inline QString noMonthDays() { return tr("There are not days entered for \"Days of Month\".."); }
inline QString deleteNeedsOneDate()
{
    return tr("The option to delete the job after running can only be set when there is a "
              "single calendar date job...");
}

// Our own: the save that did not reach the registry, and the close question.
inline QString saveFailed()
{
    return tr("The job could not be saved: the registry file is busy or cannot be written. "
              "The job is unchanged; please try again.");
}
inline QString saveChanges() { return tr("Save the changes to this job?"); }

// Time panel in place of the time fields.
inline QString onDemandPanel() { return tr("Run on demand only.."); }
inline QString customTimesPanel() { return tr("Click here for custom times ->"); }

// Custom times.
inline QString tooManyCustomTimes()
{
    return tr("A job can hold at most 25 custom times; delete one before adding another.");
}
inline QString customTimesTruncated()
{
    return tr("This job holds more than 25 custom times. Only the first 25 are shown, and "
              "only they are kept when the job is saved.");
}
inline QString noCustomMinutes() { return tr("Please add at least 1 minute to run the job on..."); }
inline QString noCustomTimes() { return tr("Please add at least 1 time to run the job at..."); }

// Prestart.
inline QString validDirectory() { return tr("valid directory..."); }
inline QString invalidDirectory() { return tr("invalid directory"); }
inline QString startDirMissing(const QString &dir)
{
    return tr("The starting directory %1 does not exist now. It is kept, and checked again "
              "each time the job starts.").arg(dir);
}
inline QString driveNotMapped() { return tr("(not mapped)"); }

// Notification. "MAPI" mail is the system mail program here (docs/platform.md, wording).
inline QString systemMailChoice() { return tr("&System mail program (sendmail)"); }
inline QString systemMailMissing()
{
    return tr("Your system does not support email through the system mail program (sendmail), "
              "check for existance of sendmail or install this feature..");
}
inline QString noMailMethod() { return tr("Please select an email method..."); }
inline QString noRecipient() { return tr("Please enter at least 1 email recipient..."); }
inline QString noNotifyChoice() { return tr("Choose at least 1 notification parameter, ie: start or end"); }
inline QString recipientPrompt() { return tr("Please enter an email address to add:"); }
inline QString tooManyRecipients()
{
    return tr("A list can hold at most 256 email recipients; delete one before adding another.");
}

// Post-job actions: a target job that is not in the list any more.
inline QString jobNotListed(const QString &job) { return tr("%1 (not in the job list)").arg(job); }

// Templates.
inline QString templatesNotSaved()
{
    return tr("The templates could not be saved: the registry file is busy or cannot be "
              "written. The stored templates are unchanged; try again, or Cancel to close without "
              "the changes.");
}
inline QString templateNoCommand() { return tr("Please enter a command..."); }
inline QString templateSeparator() { return tr("A command cannot contain \"&&\"; put the options under Parameters."); }
inline QString templateNoDescription() { return tr("Please enter a description..."); }
inline QString templateDuplicate()
{
    return tr("A template by this description already exists, please enter a different description...");
}

// The program-kind label.
inline QString fileMissing() { return tr("File does not exist"); }
inline QString notExecutable() { return tr("Not an executable file"); }
inline QString elfExecutable() { return tr("ELF executable"); }
inline QString scriptFor(const QString &interpreter) { return tr("Script run by %1").arg(interpreter); }
inline QString setupInf() { return tr("Setup .INF file"); }
inline QString folderNotProgram() { return tr("A folder, not a program"); }

} // namespace EditorText

namespace EditorText {

// File, e-mail and system job editors.
inline QString fileJobCaption() { return tr("File\\Folder Job Entry"); }
inline QString emailJobCaption() { return tr("Email Job Entry"); }
inline QString systemJobCaption() { return tr("System Level Job Entry"); }
inline QString emailFilesCaption() { return tr("Attach Files to Email"); }
inline QString processCaption() { return tr("Process Browser"); }

inline QString noFileActivity()
{
    return tr("Please select a file\\folder activity to schedule or click on \"Cancel\"");
}
inline QString noSources() { return tr("Please select source file(s)..."); }
inline QString targetMustBeFolder()
{
    return tr("With more than 1 source file, target must be a folder\\directory, try adding a "
              "\"/\" at the end of the string...");
}
inline QString noTarget() { return tr("Please enter a target file name..."); }
inline QString oneRename() { return tr("Only 1 file can be renamed per job..."); }

inline QString noEmailMethod() { return tr("Please select either SMTP or system mail program (sendmail) email.."); }
inline QString noEmailRecipient() { return tr("You must have at least 1 recipient.."); }
inline QString noSubject() { return tr("You must enter a subject for the email.."); }
inline QString attachmentCount(int n) { return tr("Files: ") + QString::number(n); }
inline QString tooManyAttachments() { return tr("can only store the first 256 files for this email.."); }

inline QString noSystemActivity()
{
    return tr("Please select a system activity to schedule or click on \"Cancel\"");
}

} // namespace EditorText
