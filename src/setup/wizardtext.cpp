// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "setup/wizardtext.h"

using namespace Qt::StringLiterals;

namespace WizardText {

namespace {
QString tr(const char *text) { return QCoreApplication::translate("WizardForm", text); }
} // namespace

QString version() { return QStringLiteral(HALVORN_VERSION_TEXT); }

QString caption() { return tr("Halvorn 95/NT Setup Wizard"); }
QString continueButton() { return tr("&Continue"); }
QString finishButton() { return tr("&Finish"); }
QString cancelButton() { return tr("&Cancel"); }
QString nextButton() { return tr("&Next"); }
QString prevButton() { return tr("&Prev"); }

QString welcome()
{
    return tr("Welcome to the Halvorn 95/NT Setup Wizard. Through the next several questions, we will "
              "help you setup this new or updated version of Halvorn 95/NT.");
}
QString bypass()
{
    return tr("If you would like to bypass using the Wizard, please click on the Cancel button now, "
              "otherwise click on the Continue button.");
}
QString platform() { return tr("As you have determined by now, this version of Halvorn is for Linux desktops.  "); }
QString versionLine() { return u"Halvorn v"_s + version(); }
QString notifyQuestion() { return tr("Do you want job notification by either of these methods?"); }
QString notifyMapi() { return tr("Notify by MAPI email"); }
QString notifyInternet() { return tr("Notify by INTERNET email"); }
QString appearQuestion() { return tr("When Halvorn is started, how do you want it to appear on your desktop?"); }
QString appearGroup() { return tr("Appear as a"); }
QString appearNormal() { return tr("&Normal Window"); }
QString appearTray() { return tr("&Icon in the System Tray"); }
QString appearMini() { return tr("Mini Status window"); }
QString miniNote()
{
    return tr("Note: The mini status window provides an alternative to the system tray for operating systems "
              "that do not provide a system tray, ie: GNOME without a tray extension");
}
QString userIdQuestion()
{
    return tr("For the purpose of emails and identification, what name do you want to use. "
              "(ie: Jane Smith, Accounts Server)");
}
QString systemIdQuestion()
{
    return tr("For use in logs and error reports, what shortened identifier do you want to use. "
              "(ie: JSMITH, ACCT1, SRV)");
}
QString groupQuestion()
{
    return tr("Do you want to set up a menu folder for Halvorn 95/NT and add the Halvorn icon to it?");
}
QString groupNameQuestion() { return tr("Please specify the group name for the icons:"); }
QString uninstallQuestion() { return tr("Do you want an uninstall icon added to the Halvorn group?"); }
QString yes() { return tr("&Yes"); }
QString no() { return tr("&No"); }
QString startupQuestion() { return tr("Do you want to add Halvorn to your Startup group?"); }
QString autostartQuestion()
{
    return tr("Do you want Halvorn placed as an autostart process in the the desktop autostart?");
}
QString done() { return tr("Congratulations! You are done..."); }
QString remember()
{
    return tr("Remember, all the information gathered in this wizard can be modified at any time by "
              "using the configuration panel in Halvorn 95/NT.");
}
QString commitHint()
{
    return tr("In order to commit this information to the Registry click on the 'Finish' button now. "
              "To exit without changing current configuration data click on the 'Cancel' button now.");
}

QString groupNameMissing() { return tr("Please enter a Group Name for Halvorn 95/NT"); }
QString bothAutostarts()
{
    return tr("You can not add Halvorn to the Startup group and have it autostart from the desktop autostart. "
              "Choose one option...");
}
QString progmanUnavailable() { return tr("Unable to connect to the desktop menu"); }
QString uninstallScriptFailed(const QString &path)
{
    return tr("The uninstall script %1 could not be written.").arg(path);
}

QString defaultGroupName() { return u"Halvorn"_s; }
QString startUpGroup() { return u"StartUp"_s; }
QString programTitle() { return u"Halvorn 95/NT v"_s + version(); }
QString previousProgramTitle() { return u"Halvorn 95/NT v1.10"_s; }
QString uninstallTitle() { return u"Halvorn 95/NT Uninstall"_s; }

} // namespace WizardText
