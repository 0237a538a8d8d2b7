// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "editortest.h"

#include "ui/editors/customtimeform.h"
#include "ui/editors/editortext.h"
#include "ui/editors/notifyform2.h"
#include "ui/editors/postjobform.h"
#include "ui/editors/prestartform.h"
#include "ui/editors/successform.h"
#include "ui/editors/systemform.h"
#include "ui/editors/terminateform.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>

using namespace Qt::StringLiterals;
using Kind = Dialogs::Kind;

namespace {

// Each criteria dialog opened from the editor of the stored job "J", driven, and the job
// saved; the test then looks at the values the dialog produced.
class CriteriaTest : public EditorTest
{
protected:
    void SetUp() override
    {
        store.writeString(u"J"_s, u"sJobName"_s, u"J"_s);
        store.writeString(u"J"_s, u"sProgram"_s, u"/bin/true"_s);
        store.writeString(u"J"_s, u"iFrequency"_s, u"1"_s);
    }
    template<class T>
    QStringList edit(const char *button, std::function<void(T *)> drive, const QStringList &prefixes)
    {
        auto editor = open(u"J"_s);
        whenShown<T>(drive);
        click(editor.get(), button);
        click(editor.get(), "ButtonSave");
        EXPECT_EQ(editor->result(), QDialog::Accepted);
        return storedWith(u"J"_s, prefixes);
    }
};

TEST_F(CriteriaTest, TerminationWritesItsTimesOnlyWhenAKindIsChosen)
{
    const QStringList values = edit<TerminateForm>("ButtonTerminate", [](TerminateForm *f) {
        click(f, "RadioAfterMinutes");
        child<QSpinBox>(f, "EditTerminationDur")->setValue(30);
        child<QSpinBox>(f, "EditTerminationLevel")->setValue(5);
        click(f, "ButtonSave");
    }, { u"iTermination"_s });
    EXPECT_EQ(values, (QStringList{ u"iTerminationType=1"_s, u"iTerminationDur=30"_s,
                          u"iTerminationHour=0"_s, u"iTerminationMin=0"_s, u"iTerminationSec=0"_s,
                          u"iTerminationLevel=5"_s }));
}

TEST_F(CriteriaTest, SuccessCriteriaWriteTheirGroupsInOrder)
{
    store.writeString(u"J"_s, u"bFileExSuccess"_s, u"1"_s); // no control: kept as loaded
    const QStringList values = edit<SuccessForm>("ButtonSuccess", [](SuccessForm *f) {
        EXPECT_FALSE(child<QAbstractButton>(f, "CheckErrLevel")->isChecked()); // stored job: off
        click(f, "CheckFileExist");
        child<QComboBox>(f, "ComboFileExist")->setCurrentIndex(0);
        child<QLineEdit>(f, "EditFileExName")->setText(u"/tmp/done"_s);
        child<QComboBox>(f, "ComboAnd2")->setCurrentIndex(1);
        click(f, "CheckIniKey");
        child<QLineEdit>(f, "EditKeyName")->setText(u"State"_s);
        child<QLineEdit>(f, "EditSectionName")->setText(u"Run"_s);
        child<QComboBox>(f, "ComboIniEqual")->setCurrentIndex(1);
        child<QLineEdit>(f, "EditKeyValue")->setText(u"bad"_s);
        child<QLineEdit>(f, "EditIniFileName")->setText(u"/tmp/run.ini"_s);
        child<QComboBox>(f, "ComboStatus")->setCurrentIndex(1);
        click(f, "ButtonSave");
    }, { u"bErrLev"_s, u"bUse"_s, u"iErrLev"_s, u"sFileEx"_s, u"bFileEx"_s, u"bSuccess"_s, u"sKey"_s,
        u"sSection"_s, u"sIni"_s, u"bIni"_s });
    EXPECT_EQ(values, (QStringList{ u"bErrLevSuccess=0"_s, u"bUseErrLevel=0"_s, u"bUseFileExist=1"_s,
                          u"sFileExFileName=/tmp/done"_s, u"bFileExExist=1"_s, u"bFileExSuccess=1"_s,
                          u"bSuccessAnd1=1"_s, u"bSuccessAnd2=0"_s, u"bUseIniKey=1"_s, u"sKeyName=State"_s,
                          u"sSectionName=Run"_s, u"sKeyValue=bad"_s, u"sIniFileName=/tmp/run.ini"_s,
                          u"bIniFileEqual=0"_s }));
}

TEST_F(CriteriaTest, APostRunTargetThatIsNoLongerListedIsShownAndKept)
{
    store.writeString(u"J"_s, u"iPostSuccessCode"_s, u"1"_s);
    store.writeString(u"J"_s, u"sPostSuccessFile"_s, u"Gone"_s);
    const QStringList values = edit<PostJobForm>("ButtonPostJob", [](PostJobForm *f) {
        auto *jobs = child<QComboBox>(f, "ComboJobSuccess");
        EXPECT_EQ(jobs->currentText(), EditorText::jobNotListed(u"Gone"_s));
        EXPECT_GE(jobs->findText(u"J"_s), 0);
        click(f, "RadioProgramFail");
        child<QLineEdit>(f, "EditProgramFail")->setText(u"/usr/bin/notify"_s);
        click(f, "ButtonSave");
    }, { u"iPost"_s, u"sPost"_s });
    EXPECT_EQ(values, (QStringList{ u"iPostSuccessCode=1"_s, u"iPostFailCode=2"_s,
                          u"sPostSuccessFile=Gone"_s, u"sPostFailFile=/usr/bin/notify"_s }));
}

TEST_F(CriteriaTest, SystemSettingsWriteAppearanceAndPriority)
{
    const QStringList values = edit<SystemForm>("ButtonSystem", [](SystemForm *f) {
        click(f, "RadioAppearance3");
        click(f, "RadioPriority2");
        click(f, "ButtonSave");
    }, { u"iWin"_s });
    EXPECT_EQ(values, (QStringList{ u"iWinAppearance=3"_s, u"iWinPriority=2"_s }));
}

TEST_F(CriteriaTest, AMissingStartDirectoryIsKeptWithAWarningAndDrivesAreTheMappedOnes)
{
    settings.writeString(Settings::Section::Config, u"sDrive.d"_s, u"/srv/data"_s);
    const QString missing = profile.path(u"unmounted/share"_s);
    dialogs.expect(Kind::Warning, EditorText::startDirMissing(missing));
    const QStringList values = edit<PrestartForm>("ButtonPrestart", [missing](PrestartForm *f) {
        auto *drives = child<QComboBox>(f, "ComboDrive");
        EXPECT_FALSE(drives->isEnabled());
        EXPECT_EQ(drives->count(), 2);
        EXPECT_EQ(drives->itemText(0), u"c:  /"_s);
        EXPECT_EQ(drives->itemText(1), u"d:  /srv/data"_s);
        click(f, "CheckStartDir");
        EXPECT_TRUE(child<QAbstractButton>(f, "RadioPrestart")->isChecked());
        child<QLineEdit>(f, "EditStartDir")->setText(missing);
        EXPECT_EQ(child<QLabel>(f, "LabelDirStatus")->text(), EditorText::invalidDirectory());
        click(f, "CheckDiskFree");
        child<QSpinBox>(f, "EditDiskFreeMb")->setValue(500);
        drives->setCurrentIndex(1);
        click(f, "ButtonSave");
    }, { u"bCheck"_s, u"iDiskFree"_s, u"sDiskFree"_s, u"sStartDir"_s });
    EXPECT_EQ(values, (QStringList{ u"bCheckPreStart=1"_s, u"bCheckStartDir=1"_s, u"bCheckDiskFree=1"_s,
                          u"iDiskFreeMb=500"_s, u"sDiskFreeDrive=d"_s, u"sStartDir="_s + missing }));
}

TEST_F(CriteriaTest, NotificationChecksRunInOrderWhicheverTopChoiceIsMade)
{
    settings.writeString(Settings::Section::Email, u"sSendmailCommand"_s, u"/nonexistent/sendmail -t"_s);
    NotifyForm2 form(NotifyValues(), NotifyForm2::systemMailAvailable(settings));
    form.show();
    EXPECT_TRUE(child<QAbstractButton>(&form, "RadioNoNotify")->isChecked());
    EXPECT_FALSE(child<QWidget>(&form, "ButtonDelete")->isEnabled());
    dialogs.expect(Kind::Warning, EditorText::noMailMethod());
    form.accept();
    click(&form, "RadioMapi");
    dialogs.expect(Kind::Warning, EditorText::systemMailMissing());
    form.accept();
    click(&form, "RadioSmtp");
    dialogs.expect(Kind::Warning, EditorText::noRecipient());
    form.accept();
    dialogs.expect(Kind::Prompt, EditorText::promptCaption(), u""_s); // empty: not added
    dialogs.expect(Kind::Prompt, EditorText::promptCaption(), u"ops@example.org"_s);
    click(&form, "ButtonAdd");
    click(&form, "ButtonAdd");
    dialogs.expect(Kind::Warning, EditorText::noNotifyChoice());
    form.accept();
    click(&form, "RadioEndFail");
    form.accept();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    const NotifyValues v = form.values();
    EXPECT_FALSE(v.notify);
    EXPECT_EQ(v.type, 1);
    EXPECT_EQ(v.start, -1);
    EXPECT_EQ(v.end, 1);
    EXPECT_EQ(v.recipients, QStringList{ u"ops@example.org"_s });
}

TEST_F(CriteriaTest, TheRecipientListStopsAt256)
{
    NotifyValues full;
    for (int i = 0; i < NotifyValues::maxRecipients; ++i)
        full.recipients.append(u"r"_s + QString::number(i) + u"@example.org"_s);
    NotifyForm2 form(full, true);
    dialogs.expect(Kind::Warning, EditorText::tooManyRecipients());
    click(&form, "ButtonAdd");
    EXPECT_EQ(child<QListWidget>(&form, "ListRecipients")->count(), 256);
}

TEST_F(CriteriaTest, NotificationIsWrittenWithItsRecipientsInOrder)
{
    settings.writeString(Settings::Section::Email, u"sSendmailCommand"_s, u"true"_s); // found in PATH
    dialogs.expect(Kind::Prompt, EditorText::promptCaption(), u"a@example.org"_s)
        .expect(Kind::Prompt, EditorText::promptCaption(), u"b@example.org"_s);
    const QStringList values = edit<NotifyForm2>("ButtonNotify", [](NotifyForm2 *f) {
        click(f, "RadioNotify");
        click(f, "RadioMapi");
        click(f, "RadioStartFail");
        click(f, "ButtonAdd");
        click(f, "ButtonAdd");
        click(f, "ButtonOk");
    }, { u"bNotify"_s, u"iNotify"_s, u"sNotify"_s });
    EXPECT_EQ(values, (QStringList{ u"bNotifyCode=1"_s, u"iNotifyType=0"_s, u"iNotifyStart=1"_s,
                          u"iNotifyEnd=-1"_s, u"sNotifyRecip0=a@example.org"_s,
                          u"sNotifyRecip1=b@example.org"_s }));
}

TEST_F(CriteriaTest, CustomTimesAreListedUniqueAndStopAt25)
{
    const QStringList values = edit<CustomTimeForm>("ButtonCustomTime", [this](CustomTimeForm *f) {
        auto *minute = child<QSpinBox>(f, "EditMinute");
        for (int m = 0; m < 25; ++m) {
            minute->setValue(m * 2);
            click(f, "ButtonAddMinute");
        }
        click(f, "ButtonAddMinute"); // 48 again: not added, no message
        dialogs.expect(Kind::Warning, EditorText::tooManyCustomTimes());
        minute->setValue(59);
        click(f, "ButtonAddMinute");
        EXPECT_TRUE(dialogs.allConsumed());
        EXPECT_EQ(child<QListWidget>(f, "ListMinutes")->count(), 25);
        click(f, "ButtonSave");
    }, { u"iCustomTime"_s, u"sCustomTime"_s });
    ASSERT_EQ(values.size(), 27);
    EXPECT_EQ(values[0], u"iCustomTimeType=1"_s);
    EXPECT_EQ(values[2], u"sCustomTime0=0"_s);
    EXPECT_EQ(values[26], u"sCustomTime24=48"_s);
}

TEST_F(CriteriaTest, CustomTimesOfDayAreTwoDigitTimesAndEveryNMinutesKeepsN)
{
    QStringList values = edit<CustomTimeForm>("ButtonCustomTime", [](CustomTimeForm *f) {
        child<QSpinBox>(f, "EditTimeHour")->setValue(7);
        child<QSpinBox>(f, "EditTimeMin")->setValue(5);
        child<QSpinBox>(f, "EditTimeSec")->setValue(9);
        click(f, "ButtonAddTime");
        EXPECT_TRUE(child<QAbstractButton>(f, "RadioTimes")->isChecked());
        click(f, "ButtonSave");
    }, { u"iCustomTime"_s, u"sCustomTime"_s });
    EXPECT_EQ(values, (QStringList{ u"iCustomTimeType=2"_s, u"iCustomTimeHourMin=0"_s, u"sCustomTime0=07:05:09"_s }));

    values = edit<CustomTimeForm>("ButtonCustomTime", [](CustomTimeForm *f) {
        EXPECT_EQ(child<QListWidget>(f, "ListTimes")->count(), 1);
        click(f, "RadioEvery");
        child<QSpinBox>(f, "EditEveryMinutes")->setValue(10);
        click(f, "ButtonSave");
    }, { u"iCustomTime"_s, u"sCustomTime"_s });
    EXPECT_EQ(values, (QStringList{ u"iCustomTimeType=3"_s, u"iCustomTimeHourMin=10"_s }));
}

TEST_F(CriteriaTest, AJobWithMoreThan25CustomTimesIsTruncatedWithAWarning)
{
    store.writeString(u"J"_s, u"iCustomTimeType"_s, u"1"_s);
    for (int i = 0; i < 30; ++i)
        store.writeString(u"J"_s, u"sCustomTime"_s + QString::number(i), QString::number(i));
    dialogs.expect(Kind::Warning, EditorText::customTimesTruncated());
    auto editor = open(u"J"_s);
    EXPECT_EQ(editor->record().values().last().first, u"iWinPriority"_s);
    click(editor.get(), "ButtonSave");
    EXPECT_EQ(storedWith(u"J"_s, { u"sCustomTime"_s }).size(), 25);
}

TEST_F(CriteriaTest, ACancelledCriteriaDialogLeavesTheEditorsValues)
{
    auto editor = open(u"J"_s);
    const JobRecord before = editor->record();
    whenShown<TerminateForm>([](TerminateForm *f) {
        click(f, "RadioAtTime");
        click(f, "ButtonCancel");
    });
    click(editor.get(), "ButtonTerminate");
    EXPECT_TRUE(editor->record() == before);
}

} // namespace
