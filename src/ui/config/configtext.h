// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

// The messages and questions of the configuration dialog and the password dialogs, in one
// place; tests compare against these. Captions and labels live in the .ui files.
namespace ConfigText {

// Refusals of the password check.
QString incorrectToShowFromTray(); // tray icon click, mini window buttons
QString incorrectToShow();         // "&Open"
QString incorrectToClose();
QString incorrectToConfigure();
QString incorrectToModifyJob();

// The password-setting dialog.
QString retypeNewPassword();
QString notRetypedCorrectly();
QString passwordNotStored();

// The configuration dialog.
QString logFileMissing();
QString clearLogQuestion(const QString &path);
QString logNotCleared(const QString &path, const QString &reason);
QString settingsNotSaved();
QString guardsWithoutPassword();
QString logFileDialogTitle();
QString startupFileDialogTitle();
QString caFileDialogTitle();

} // namespace ConfigText
