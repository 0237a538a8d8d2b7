// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QCoreApplication>
#include <QString>

// Every text of the setup wizard, its messages and the program manager commands.
// Window texts name the Linux counterparts where the original named Windows facilities
// (docs/platform.md, "Windows wording").
namespace WizardText {

// "1.30": the program's major and minor version, as stored in sInstalledVersion.
QString version();

QString caption();
QString continueButton();
QString finishButton();
QString cancelButton();
QString nextButton();
QString prevButton();

QString welcome();
QString bypass();
QString platform();
QString versionLine();
QString notifyQuestion();
QString notifyMapi();
QString notifyInternet();
QString appearQuestion();
QString appearGroup();
QString appearNormal();
QString appearTray();
QString appearMini();
QString miniNote();
QString userIdQuestion();
QString systemIdQuestion();
QString groupQuestion();
QString groupNameQuestion();
QString uninstallQuestion();
QString yes();
QString no();
QString startupQuestion();
QString autostartQuestion();
QString done();
QString remember();
QString commitHint();

QString groupNameMissing();
QString bothAutostarts();
QString progmanUnavailable();
QString uninstallScriptFailed(const QString &path);

// Stored values and program manager texts: never translated.
QString defaultGroupName(); // "Halvorn"
QString startUpGroup();     // "StartUp"
QString programTitle();     // "Halvorn 95/NT v1.30"
QString previousProgramTitle(); // "Halvorn 95/NT v1.10"
QString uninstallTitle();   // "Halvorn 95/NT Uninstall"

struct Favorite
{
    const char16_t *name;
    const char16_t *command;
};
// The three default favorites, written only when absent.
inline constexpr Favorite favorites[] = {
    {u"Stop Server", u"NET STOP SERVER /YES&&"},
    {u"Start Server", u"NET START SERVER /YES&&"},
    {u"Set Workstation Time to Server (replace \\\\server!)", u"NET TIME \\\\server /YES&&"},
};

} // namespace WizardText
