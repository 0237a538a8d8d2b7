// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/systemowner.h"
#include "support/ui/scripteddialogs.h"
#include "ui/config/configform.h"
#include "ui/config/configtext.h"
#include "ui/config/halvpassword.h"
#include "ui/config/configprofile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Every setting the dialog edits, with a stored value other than its default.
struct Edited
{
    const Setting *setting;
    const char16_t *other;
};

const Edited edited[] = {
    {&settings::TimerInterval, u"1000"}, {&settings::GeneralFontColor, u"255"},
    {&settings::GeneralFontName, u"DejaVu Serif"}, {&settings::GeneralFontSize, u"14"},
    {&settings::GeneralFontStyle, u"3"}, {&settings::UseUserId, u"1"},
    {&settings::UserId, u"ops@example.org"}, {&settings::UseSystemId, u"1"},
    {&settings::SystemId, u"WS-12"}, {&settings::MinimizeToSysTray, u"0"},
    {&settings::StartAsWindow, u"2"}, {&settings::LoadStartupFile, u"1"},
    {&settings::StartupFileName, u"jobs.sav"}, {&settings::LoadStartupFileOnce, u"0"},
    {&settings::DeleteStartupFile, u"1"}, {&settings::LogFile, u"/var/tmp/h.log"},
    {&settings::LogJobStarts, u"0"}, {&settings::LogJobEnds, u"0"},
    {&settings::LogJobPrestarts, u"1"}, {&settings::LogJobListChanges, u"1"},
    {&settings::LogEmails, u"1"}, {&settings::CleanLogAtSOD, u"1"},
    {&settings::DaysToKeepInLog, u"30"}, {&settings::LogDebugInfo, u"1"},
    {&settings::ListStatus, u"0"}, {&settings::ListSchedule, u"0"},
    {&settings::ListProgram, u"0"}, {&settings::ListLastStart, u"0"},
    {&settings::ListLastEnd, u"0"}, {&settings::ListLastStatus, u"0"},
    {&settings::UseMaximizePassword, u"1"}, {&settings::UseClosePassword, u"1"},
    {&settings::UseConfigPassword, u"1"}, {&settings::UseJobSecure, u"1"},
    {&settings::UseRecycleBin, u"0"}, {&settings::AllowMapi, u"1"},
    {&settings::MAPIDefRecip, u"boss@example.org"}, {&settings::MAPIDefSubject, u"MAPI subject"},
    {&settings::SendmailCommand, u"/usr/bin/msmtp -t"}, {&settings::AllowInternet, u"1"},
    {&settings::SMTPDefRecip, u"root@example.org"}, {&settings::SMTPDefSubject, u"SMTP subject"},
    {&settings::SMTPServer, u"mail.example.org"}, {&settings::SMTPPort, u"587"},
    {&settings::SMTPUserAddress, u"me@example.org"}, {&settings::SMTPSecurity, u"1"},
    {&settings::SMTPAuthUser, u"me"}, {&settings::SMTPAuthPassword, u"p4ss word"},
    {&settings::SMTPCAFile, u"/etc/ssl/local.pem"}, {&settings::SMTPStandardHeaders, u"0"},
    {&settings::Encoding, u"Mime"}, {&settings::CharSet, u"ISO"},
};

class ConfigFormTest : public ::testing::Test, protected ConfigProfile
{
protected:
    ScriptedDialogs dialogs;

    template<typename T>
    static T *find(ConfigForm &form, const char16_t *name)
    {
        T *widget = form.findChild<T *>(QString::fromUtf16(name));
        EXPECT_NE(widget, nullptr) << QString::fromUtf16(name).toStdString();
        return widget;
    }
    static void click(ConfigForm &form, const char16_t *name) { find<QPushButton>(form, name)->click(); }
    std::optional<QString> stored(const Setting &setting)
    {
        return registry.readValue(Settings::sectionKey(setting.section), setting.nameText());
    }
    std::optional<QString> storedConfig(const QString &name)
    {
        return registry.readValue(Settings::sectionKey(Setting::Section::Config), name);
    }
};

TEST_F(ConfigFormTest, SaveWritesEverySettingWithItsDefault)
{
    {
        ConfigForm form(settings, password);
        EXPECT_EQ(form.windowTitle(), u"ConfigForm"_s);
        ASSERT_TRUE(form.save());
    }
    for (const Edited &row : edited) {
        if (row.setting == &settings::StartupFileName)
            continue;
        EXPECT_EQ(stored(*row.setting), Settings::defaultText(*row.setting))
            << row.setting->nameText().toStdString();
    }
    // The start-up file name is written only while "Load File:" is ticked.
    EXPECT_FALSE(stored(settings::StartupFileName));
    // Drive letters nobody touched stay unmapped in the store.
    EXPECT_FALSE(storedConfig(u"sDrive.c"_s));
}

TEST_F(ConfigFormTest, EverySettingRoundTripsThroughItsControl)
{
    for (const Edited &row : edited)
        settings.setText(*row.setting, QString::fromUtf16(row.other));
    {
        ConfigForm form(settings, password);
        // What the controls show.
        EXPECT_EQ(find<QSpinBox>(form, u"TimerInterval")->value(), 1000);
        EXPECT_TRUE(find<QRadioButton>(form, u"MinimizeToMini")->isChecked());
        EXPECT_TRUE(find<QRadioButton>(form, u"StartAsMini")->isChecked());
        EXPECT_EQ(find<QLabel>(form, u"FontSample")->text(), u"DejaVu Serif 14"_s);
        EXPECT_TRUE(find<QLabel>(form, u"FontSample")->font().bold());
        EXPECT_EQ(find<QSpinBox>(form, u"SMTPPort")->value(), 587);
        EXPECT_EQ(find<QComboBox>(form, u"SMTPSecurity")->currentIndex(), 1);
        EXPECT_EQ(find<QLineEdit>(form, u"SMTPAuthPassword")->echoMode(), QLineEdit::Password);
        EXPECT_TRUE(find<QRadioButton>(form, u"CharSetIso")->isChecked());
        for (const Setting *other : {&settings::TimerInterval, &settings::SMTPServer})
            settings.setText(*other, u"7"_s); // the dialog writes what it shows, not the store
        ASSERT_TRUE(form.save());
    }
    for (const Edited &row : edited) {
        EXPECT_EQ(stored(*row.setting), QString::fromUtf16(row.other))
            << row.setting->nameText().toStdString();
    }
}

TEST_F(ConfigFormTest, CancelWritesNothing)
{
    {
        ConfigForm form(settings, password);
        find<QCheckBox>(form, u"ListStatus")->setChecked(false);
        find<QLineEdit>(form, u"SMTPServer")->setText(u"changed"_s);
        form.reject();
    }
    EXPECT_FALSE(registry.keyExists(Settings::sectionKey(Setting::Section::Config)));
    EXPECT_FALSE(registry.keyExists(Settings::sectionKey(Setting::Section::Email)));
}

TEST_F(ConfigFormTest, EncodingAndCharacterSetOtherThanTheExactDefaultReadAsTheSecondChoice)
{
    settings.setText(settings::Encoding, u"uuencode"_s);
    settings.setText(settings::CharSet, u"ascii"_s);
    {
        ConfigForm form(settings, password);
        EXPECT_TRUE(find<QRadioButton>(form, u"EncodingMime")->isChecked());
        EXPECT_TRUE(find<QRadioButton>(form, u"CharSetIso")->isChecked());
        ASSERT_TRUE(form.save());
    }
    EXPECT_EQ(stored(settings::Encoding), u"Mime"_s);
    EXPECT_EQ(stored(settings::CharSet), u"ISO"_s);
}

TEST_F(ConfigFormTest, LoadFileBoxGovernsItsOptionsAndTheStoredName)
{
    settings.setBoolean(settings::LoadStartupFile, true);
    settings.setText(settings::StartupFileName, u"first.sav"_s);
    ConfigForm form(settings, password);
    auto *load = find<QCheckBox>(form, u"LoadStartupFile");
    auto *once = find<QCheckBox>(form, u"LoadStartupFileOnce");
    auto *remove = find<QCheckBox>(form, u"DeleteStartupFile");
    EXPECT_TRUE(once->isEnabled());
    load->setChecked(false);
    EXPECT_FALSE(once->isEnabled());
    EXPECT_FALSE(remove->isEnabled());
    find<QLineEdit>(form, u"StartupFileName")->setText(u"second.sav"_s);
    ASSERT_TRUE(form.save());
    EXPECT_EQ(stored(settings::StartupFileName), u"first.sav"_s);
    EXPECT_EQ(stored(settings::LoadStartupFile), u"0"_s);
}

TEST_F(ConfigFormTest, FontColoursKeepTheirWindowsNumbers)
{
    // A system colour from a pre-load file stays a system colour.
    settings.setInteger(settings::GeneralFontColor, -2147483634); // highlight text
    {
        ConfigForm form(settings, password);
        EXPECT_EQ(find<QLabel>(form, u"FontSample")->palette().color(QPalette::WindowText),
            form.palette().color(QPalette::HighlightedText));
        ASSERT_TRUE(form.save());
        EXPECT_FALSE(form.fontChanged());
    }
    EXPECT_EQ(stored(settings::GeneralFontColor), u"-2147483634"_s);

    // 0x00BBGGRR both ways.
    settings.setText(settings::GeneralFontColor, u"0x00563412"_s);
    {
        ConfigForm form(settings, password);
        EXPECT_EQ(find<QLabel>(form, u"FontSample")->palette().color(QPalette::WindowText),
            QColor(0x12, 0x34, 0x56));
        dialogs.expect(Dialogs::Kind::Colour, QString(), QColor(0xab, 0xcd, 0xef));
        click(form, u"ColorButton");
        EXPECT_TRUE(form.fontChanged());
        ASSERT_TRUE(form.save());
    }
    EXPECT_EQ(stored(settings::GeneralFontColor), QString::number(0xefcdab));
}

TEST_F(ConfigFormTest, APickedFontIsShownAndStored)
{
    ConfigForm form(settings, password);
    // A name the system lacks is kept as stored until the user picks another.
    EXPECT_EQ(find<QLabel>(form, u"FontSample")->text(), u"MS Sans Serif 10"_s);
    QFont picked(u"DejaVu Sans Mono"_s, 12);
    picked.setItalic(true);
    picked.setStrikeOut(true);
    dialogs.expect(Dialogs::Kind::Font, QString(), picked);
    click(form, u"FontButton");
    EXPECT_TRUE(form.fontChanged());
    EXPECT_EQ(find<QLabel>(form, u"FontSample")->text(), u"DejaVu Sans Mono 12"_s);
    ASSERT_TRUE(form.save());
    EXPECT_EQ(stored(settings::GeneralFontName), u"DejaVu Sans Mono"_s);
    EXPECT_EQ(stored(settings::GeneralFontSize), u"12"_s);
    EXPECT_EQ(stored(settings::GeneralFontStyle), u"10"_s);
}

TEST_F(ConfigFormTest, ClearingTheLogEmptiesOnlyAnExistingFileAndStandsAfterCancel)
{
    const QString log = profile.path(u"voltrane.log"_s);
    {
        QFile file(log);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("2026-12-10 line\r\n");
    }
    {
        ConfigForm form(settings, password);
        auto *field = find<QLineEdit>(form, u"LogFile");

        field->setText(profile.path(u"missing.log"_s));
        dialogs.expect(Dialogs::Kind::Error, ConfigText::logFileMissing());
        click(form, u"ClearLog");
        EXPECT_FALSE(QFile::exists(profile.path(u"missing.log"_s)));

        field->setText(profile.root()); // a folder is no log file
        dialogs.expect(Dialogs::Kind::Error, ConfigText::logFileMissing());
        click(form, u"ClearLog");

        // The question names the full path of the file it will empty.
        const QString previous = QDir::currentPath();
        QDir::setCurrent(profile.root());
        field->setText(u"voltrane.log"_s);
        dialogs.expect(Dialogs::Kind::Question, ConfigText::clearLogQuestion(log), Dialogs::Answer::No);
        click(form, u"ClearLog");
        EXPECT_GT(QFile(log).size(), 0);
        EXPECT_FALSE(form.logCleared());
        field->setText(log);
        QDir::setCurrent(previous);

        dialogs.expect(Dialogs::Kind::Question, ConfigText::clearLogQuestion(log), Dialogs::Answer::Yes);
        click(form, u"ClearLog");
        EXPECT_TRUE(form.logCleared());
        form.reject();
    }
    EXPECT_TRUE(QFile::exists(log));
    EXPECT_EQ(QFile(log).size(), 0);
    EXPECT_FALSE(registry.keyExists(Settings::sectionKey(Setting::Section::Config)));
}

TEST_F(ConfigFormTest, GetSystemOwnerFillsTheIdentifier)
{
    ConfigForm form(settings, password);
    auto *field = find<QLineEdit>(form, u"SystemId");
    field->setText(u"before"_s);
    click(form, u"GetSystemOwner");
    // A user without an entry in the password database leaves the field as it was.
    const QString owner = SystemOwner::name();
    EXPECT_EQ(field->text(), owner.isEmpty() ? u"before"_s : owner);
}

TEST_F(ConfigFormTest, ARegistryThatRefusesTheSaveKeepsTheDialogOpen)
{
    Registry broken(Registry::Role::ShortLived, profile.root()); // a folder is no database
    ASSERT_FALSE(broken.isUsable());
    Settings brokenSettings(broken);
    HalvPassword brokenPassword(brokenSettings, cheap);
    ConfigForm form(brokenSettings, brokenPassword);
    form.show();
    dialogs.expect(Dialogs::Kind::Error, ConfigText::settingsNotSaved());
    click(form, u"SaveButton");
    EXPECT_TRUE(form.isVisible());
    EXPECT_NE(form.result(), QDialog::Accepted);
}

TEST_F(ConfigFormTest, DriveLettersMapToFolders)
{
    settings.writeString(Setting::Section::Config, u"sDrive.d"_s, u"/data"_s);
    {
        ConfigForm form(settings, password);
        auto *letter = find<QComboBox>(form, u"DriveLetter");
        auto *folder = find<QLineEdit>(form, u"DriveFolder");
        EXPECT_EQ(letter->currentText(), u"c:"_s);
        EXPECT_EQ(folder->text(), u"/"_s);
        letter->setCurrentIndex(3);
        EXPECT_EQ(folder->text(), u"/data"_s);
        folder->setText(u"/srv"_s);
        emit folder->textEdited(folder->text());
        letter->setCurrentIndex(4);
        folder->setText(u"/media/e"_s);
        emit folder->textEdited(folder->text());
        ASSERT_TRUE(form.save());
    }
    EXPECT_EQ(storedConfig(u"sDrive.d"_s), u"/srv"_s);
    EXPECT_EQ(storedConfig(u"sDrive.e"_s), u"/media/e"_s);
    EXPECT_FALSE(storedConfig(u"sDrive.c"_s));
    EXPECT_FALSE(storedConfig(u"sDrive.f"_s));
}

TEST_F(ConfigFormTest, GuardsWithoutAPasswordAreNamedOnSave)
{
    {
        ConfigForm form(settings, password);
        find<QCheckBox>(form, u"UseClosePassword")->setChecked(true);
        dialogs.expect(Dialogs::Kind::Question, ConfigText::guardsWithoutPassword(), Dialogs::Answer::No);
        click(form, u"SaveButton");
        EXPECT_EQ(form.result(), QDialog::Accepted);
    }
    EXPECT_EQ(stored(settings::UseClosePassword), u"1"_s);

    // With a password set, nothing is asked.
    password.set(u"pw"_s);
    ConfigForm form(settings, password);
    click(form, u"SaveButton");
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

} // namespace
