// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/config/configtext.h"

#include <QCoreApplication>

namespace {
QString tr(const char *text) { return QCoreApplication::translate("ConfigText", text); }
} // namespace

namespace ConfigText {

QString incorrectToShowFromTray() { return tr("Password incorrect to show Halvorn..."); }
QString incorrectToShow() { return tr("Password incorrect to show Halvorn"); }
QString incorrectToClose() { return tr("Password incorrect to close Halvorn"); }
QString incorrectToConfigure() { return tr("Password incorrect to change configuration..."); }
QString incorrectToModifyJob() { return tr("Password incorrect to modify or delete job.."); }

QString retypeNewPassword() { return tr("Please retype your new password now.."); }
QString notRetypedCorrectly() { return tr("New Password was not retyped correctly, try again..."); }
QString passwordNotStored() { return tr("The new password could not be stored in the registry file."); }

QString logFileMissing() { return tr("Error: cannot clear. File does not exist.."); }

// The path is part of the question: a mistyped "Log file:" must not empty another file
// unseen.
QString clearLogQuestion(const QString &path)
{
    return tr("Clear contents of log. Are you sure?") + u"\n\n" + path;
}

QString logNotCleared(const QString &path, const QString &reason)
{
    return tr("The log file %1 could not be cleared: %2").arg(path, reason);
}

QString settingsNotSaved()
{
    return tr("The settings could not be saved in the registry file; nothing was changed.");
}

QString guardsWithoutPassword()
{
    return tr("No security password is set, so the password checks you switched on guard "
              "nothing. Set a password now?");
}

QString logFileDialogTitle() { return tr("Log file"); }
QString startupFileDialogTitle() { return tr("Load File"); }
QString caFileDialogTitle() { return tr("CA certificates file"); }

} // namespace ConfigText
