// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/autostartentry.h"
#include "platform/registry.h"
#include "platform/xdgprogman.h"
#include "recordingprogman.h"
#include "setup/wizardform.h"
#include "setup/wizardtext.h"
#include "store/settings.h"
#include "support/tempprofile.h"
#include "support/ui/scripteddialogs.h"

#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Section = Settings::Section;

namespace {

class WizardTest : public ::testing::Test
{
protected:
    TempProfile profile;
    Registry registry;
    Settings settings{registry};
    RecordingProgman progman;
    QString program = profile.path(u"opt/halvorn/voltrane"_s);
    std::unique_ptr<WizardForm> wizard;

    void SetUp() override
    {
        QDir().mkpath(profile.path(u"opt/halvorn"_s));
        QFile file(program);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        open();
    }

    void open()
    {
        wizard = std::make_unique<WizardForm>(settings, nullptr, &progman, program);
        wizard->show();
    }

    template<class T> T *find(const char *name)
    {
        T *widget = wizard->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void click(const char *name) { find<QPushButton>(name)->click(); }
    void choose(const char *name) { find<QRadioButton>(name)->setChecked(true); }
    void toLastPage()
    {
        click("OkButton");
        while (wizard->page() < 7)
            click("NextButton");
    }
    QString config(const QString &name) { return settings.readString(Section::Config, name, u"<none>"_s); }
    // Every file below the temporary XDG data and config folders.
    QStringList xdgFiles()
    {
        QStringList files;
        for (const QString &root : {profile.path(u"data"_s), profile.path(u"config/autostart"_s),
                 profile.path(u"config/menus"_s)}) {
            QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext())
                files.append(it.next().mid(profile.root().size() + 1));
        }
        files.sort();
        return files;
    }
    QStringList groupCommands(const QString &group, bool uninstall)
    {
        QStringList c{u"[CreateGroup("_s + group + u",)]"_s, u"[Replaceitem(Halvorn 95/NT v1.10)]"_s,
            u"[Replaceitem(Halvorn 95/NT v"_s + WizardText::version() + u")]"_s,
            u"[Additem(\""_s + program + u"\",Halvorn 95/NT v"_s + WizardText::version() + u",,,)]"_s};
        if (uninstall)
            c.append(u"[Additem(\""_s + program + u"\" /uninstall,Halvorn 95/NT Uninstall,,,)]"_s);
        c.append(u"[ShowGroup(nonexist,1)]"_s);
        return c;
    }
};

TEST_F(WizardTest, CancelOnTheFirstPageWritesOnlyTheVersionAndTheDefaultFavorites)
{
    EXPECT_TRUE(SetupCommit::isNeeded(settings));
    EXPECT_EQ(wizard->page(), 1);
    click("CancelButton");
    EXPECT_FALSE(wizard->isVisible());
    QStringList config;
    for (const auto &value : settings.values(Section::Config))
        config.append(value.first + u'=' + value.second);
    EXPECT_EQ(config, QStringList{u"sInstalledVersion="_s + WizardText::version()});
    EXPECT_TRUE(settings.values(Section::Email).isEmpty());
    const auto favorites = settings.values(Section::Favorites);
    ASSERT_EQ(favorites.size(), 3);
    EXPECT_EQ(favorites.at(2).first, u"Set Workstation Time to Server (replace \\\\server!)"_s);
    EXPECT_EQ(favorites.at(2).second, u"NET TIME \\\\server /YES&&"_s);
    EXPECT_TRUE(progman.commands.isEmpty());
    EXPECT_TRUE(xdgFiles().isEmpty());
    EXPECT_FALSE(SetupCommit::isNeeded(settings));
}

TEST_F(WizardTest, ButtonsFollowThePages)
{
    struct Row { int page; bool next, prev, ok; QString okText; };
    const Row rows[] = {{1, false, false, true, WizardText::continueButton()},
        {2, true, true, false, WizardText::continueButton()}, {6, true, true, false, WizardText::continueButton()},
        {7, false, true, true, WizardText::finishButton()}};
    for (const Row &row : rows) {
        // Next is disabled on page 1: Continue leads on from there.
        if (wizard->page() == 1 && row.page > 1)
            click("OkButton");
        while (wizard->page() < row.page)
            click("NextButton");
        SCOPED_TRACE(row.page);
        EXPECT_EQ(find<QPushButton>("NextButton")->isEnabled(), row.next);
        EXPECT_EQ(find<QPushButton>("PrevButton")->isEnabled(), row.prev);
        EXPECT_EQ(find<QPushButton>("OkButton")->isEnabled(), row.ok);
        EXPECT_EQ(find<QPushButton>("OkButton")->text(), row.okText);
    }
    // Back from the last page the caption returns; Prev down to page 1 disables itself.
    while (wizard->page() > 1)
        click("PrevButton");
    EXPECT_EQ(find<QPushButton>("OkButton")->text(), WizardText::continueButton());
    EXPECT_FALSE(find<QPushButton>("PrevButton")->isEnabled());
}

TEST_F(WizardTest, NoGroupDisablesItsNameAndTheUninstallQuestion)
{
    choose("GroupNoRadio");
    EXPECT_FALSE(find<QLineEdit>("GroupNameEdit")->isEnabled());
    EXPECT_FALSE(find<QRadioButton>("UninstallYesRadio")->isEnabled());
    choose("GroupYesRadio");
    EXPECT_TRUE(find<QLineEdit>("GroupNameEdit")->isEnabled());
    EXPECT_TRUE(find<QRadioButton>("UninstallNoRadio")->isEnabled());
}

TEST_F(WizardTest, FinishWritesTheAnswersCreatesTheGroupAndTheUninstallScript)
{
    settings.writeString(Section::Config, u"sUserId"_s, u"Old name"_s);
    wizard.reset();
    open();
    EXPECT_EQ(find<QLineEdit>("UserIdEdit")->text(), u"Old name"_s);
    find<QCheckBox>("NotifyInternetCheck")->setChecked(true);
    choose("AppearMiniRadio");
    find<QLineEdit>("UserIdEdit")->setText(u"Jane Smith"_s);
    find<QLineEdit>("SystemIdEdit")->setText(u"JS1"_s);
    toLastPage();
    click("OkButton");
    EXPECT_FALSE(wizard->isVisible());

    EXPECT_EQ(config(u"sInstalledVersion"_s), WizardText::version());
    EXPECT_EQ(config(u"iStartAsWindow"_s), u"2"_s);
    EXPECT_EQ(config(u"sUserId"_s), u"Jane Smith"_s);
    EXPECT_EQ(config(u"sSystemId"_s), u"JS1"_s);
    EXPECT_EQ(config(u"sInstallGroup"_s), u"Halvorn"_s);
    EXPECT_EQ(config(u"bInStartUpGroup"_s), u"0"_s);
    EXPECT_FALSE(settings.boolean(settings::AllowMapi));
    EXPECT_TRUE(settings.boolean(settings::AllowInternet));
    EXPECT_EQ(settings.values(Section::Favorites).size(), 3);
    EXPECT_EQ(progman.commands, groupCommands(u"Halvorn"_s, true));
    EXPECT_EQ(progman.closes, 1);
    EXPECT_FALSE(QFile::exists(AutostartEntry::path()));
    EXPECT_TRUE(QFile::exists(profile.path(u"opt/halvorn/uninstall.sh"_s)));
}

TEST_F(WizardTest, StartupGroupAloneSendsOnlyTheStartUpCommandsWithoutUninstallIcon)
{
    toLastPage();
    choose("GroupNoRadio");
    choose("StartupYesRadio");
    click("OkButton");
    EXPECT_EQ(progman.commands, groupCommands(u"StartUp"_s, false));
    EXPECT_EQ(config(u"sInstallGroup"_s), u"<none>"_s);
    EXPECT_EQ(config(u"bInStartUpGroup"_s), u"1"_s);
}

TEST_F(WizardTest, AnEmptyGroupNameKeepsTheWizardOnTheLastPageWithNothingWritten)
{
    ScriptedDialogs dialogs;
    dialogs.expect(Dialogs::Kind::Warning, WizardText::groupNameMissing());
    toLastPage();
    find<QLineEdit>("GroupNameEdit")->clear();
    click("OkButton");
    EXPECT_TRUE(wizard->isVisible());
    EXPECT_EQ(wizard->page(), 7);
    EXPECT_FALSE(settings.contains(Section::Config, u"sInstalledVersion"_s));
    EXPECT_TRUE(progman.commands.isEmpty());
}

TEST_F(WizardTest, BothAutostartsGoBackToTheirPage)
{
    ScriptedDialogs dialogs;
    dialogs.expect(Dialogs::Kind::Warning, WizardText::bothAutostarts());
    toLastPage();
    choose("StartupYesRadio");
    choose("AutostartYesRadio");
    click("OkButton");
    EXPECT_TRUE(wizard->isVisible());
    EXPECT_EQ(wizard->page(), 6);
    EXPECT_FALSE(settings.contains(Section::Config, u"sInstalledVersion"_s));
}

TEST_F(WizardTest, AnUnreachableMenuStopsAfterTheSettingsAndFavorites)
{
    ScriptedDialogs dialogs;
    dialogs.expect(Dialogs::Kind::Error, WizardText::progmanUnavailable());
    progman.reachable = false;
    toLastPage();
    choose("AutostartYesRadio");
    click("OkButton");
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_EQ(config(u"sInstallGroup"_s), u"Halvorn"_s);
    EXPECT_EQ(settings.values(Section::Favorites).size(), 3);
    EXPECT_TRUE(progman.commands.isEmpty());
    EXPECT_FALSE(QFile::exists(AutostartEntry::path()));
    EXPECT_FALSE(QFile::exists(profile.path(u"opt/halvorn/uninstall.sh"_s)));
}

TEST_F(WizardTest, ARerunKeepsEditedFavoritesAndUndoesEarlierAutostartChoices)
{
    // The first run: autostart entry; the second: the StartUp item; the third: neither.
    toLastPage();
    choose("AutostartYesRadio");
    click("OkButton");
    ASSERT_TRUE(QFile::exists(AutostartEntry::path()));
    settings.writeString(Section::Favorites, u"Stop Server"_s, u"systemctl stop smbd"_s);

    XdgProgman real;
    wizard = std::make_unique<WizardForm>(settings, nullptr, &real, program);
    wizard->show();
    toLastPage();
    choose("GroupNoRadio");
    choose("StartupYesRadio");
    click("OkButton");
    EXPECT_EQ(settings.readString(Section::Favorites, u"Stop Server"_s, {}), u"systemctl stop smbd"_s);
    EXPECT_FALSE(QFile::exists(AutostartEntry::path()));
    const QString startUpItem = XdgProgman::filesOf(u"StartUp"_s, {WizardText::programTitle()}).at(0);
    EXPECT_TRUE(QFile::exists(startUpItem));
    EXPECT_EQ(config(u"bInStartUpGroup"_s), u"1"_s);

    open();
    toLastPage();
    choose("GroupNoRadio");
    click("OkButton");
    EXPECT_FALSE(QFile::exists(startUpItem));
    EXPECT_EQ(config(u"bInStartUpGroup"_s), u"0"_s);
}

} // namespace
