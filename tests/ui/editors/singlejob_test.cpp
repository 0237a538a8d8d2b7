// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "editortest.h"

#include "ui/editors/customtimeform.h"
#include "ui/editors/editortext.h"
#include "ui/editors/filterdlg.h"
#include "ui/editors/jobrecord.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>

using namespace Qt::StringLiterals;
using Kind = Dialogs::Kind;
using Answer = Dialogs::Answer;

namespace {

class SingleJobTest : public EditorTest
{
public:
    void fill(SingleJob *editor, const QString &name, const QString &program)
    {
        child<QLineEdit>(editor, "EditJobName")->setText(name);
        child<QLineEdit>(editor, "EditProgram")->setText(program);
    }
    void addDate(SingleJob *editor, QDate date)
    {
        whenShown<FilterDlg>([date](FilterDlg *d) {
            d->setDate(date);
            d->accept();
        });
        click(editor, "ButtonAddDate");
    }
    void storeJob(const QString &job, std::initializer_list<std::pair<QString, QString>> values)
    {
        for (const auto &[name, data] : values)
            store.writeString(job, name, data);
    }
};

TEST_F(SingleJobTest, ANewJobWritesEveryValueInItsOrderAndLeavesTheOptionalOnesOut)
{
    auto editor = open();
    fill(editor.get(), u"Backup"_s, u"/usr/bin/rsync"_s);
    child<QLineEdit>(editor.get(), "EditCommandLine")->setText(u"-a /home/ /backup/"_s);
    click(editor.get(), "RadioEveryDay");
    click(editor.get(), "CheckHold");
    click(editor.get(), "ButtonSave");

    EXPECT_EQ(editor->result(), QDialog::Accepted);
    const QList<Registry::Value> expected{ { u"sJobName"_s, u"Backup"_s }, { u"iJobType"_s, u"0"_s },
        { u"bHold"_s, u"1"_s }, { u"iHour"_s, u"14"_s }, { u"iMin"_s, u"6"_s }, { u"iSec"_s, u"0"_s },
        { u"iFrequency"_s, u"1"_s }, { u"sProgram"_s, u"/usr/bin/rsync"_s },
        { u"sCommand Line"_s, u"-a /home/ /backup/"_s }, { u"bCheckPreStart"_s, u"0"_s },
        { u"bCheckStartDir"_s, u"0"_s }, { u"bCheckDiskFree"_s, u"0"_s }, { u"iDiskFreeMb"_s, u"0"_s },
        { u"sDiskFreeDrive"_s, u"c"_s }, { u"sStartDir"_s, u""_s }, { u"bDeleteJob"_s, u"0"_s },
        { u"bSecureJob"_s, u"0"_s }, { u"bNotifyCode"_s, u"0"_s }, { u"iNotifyType"_s, u"-1"_s },
        { u"iNotifyStart"_s, u"-1"_s }, { u"iNotifyEnd"_s, u"-1"_s }, { u"iCustomTimeType"_s, u"0"_s },
        { u"iCustomTimeHourMin"_s, u"0"_s }, { u"iTerminationType"_s, u"0"_s },
        { u"bErrLevSuccess"_s, u"1"_s }, { u"bUseErrLevel"_s, u"1"_s }, { u"iErrLevEqual"_s, u"0"_s },
        { u"iErrLevValue"_s, u"0"_s }, { u"bUseFileExist"_s, u"0"_s }, { u"iPostSuccessCode"_s, u"0"_s },
        { u"iPostFailCode"_s, u"0"_s }, { u"bSuccessAnd1"_s, u"1"_s }, { u"bSuccessAnd2"_s, u"1"_s },
        { u"bUseIniKey"_s, u"0"_s }, { u"sKeyName"_s, u""_s }, { u"sSectionName"_s, u""_s },
        { u"sKeyValue"_s, u""_s }, { u"sIniFileName"_s, u""_s }, { u"bIniFileEqual"_s, u"1"_s },
        { u"iWinAppearance"_s, u"0"_s }, { u"iWinPriority"_s, u"0"_s } };
    EXPECT_EQ(stored(u"Backup"_s), expected);
}

TEST_F(SingleJobTest, EachScheduleKindStoresOnlyItsOwnData)
{
    const QStringList schedule{ u"iFrequency"_s, u"sFreq"_s };
    const struct
    {
        const char *radio;
        std::function<void(SingleJobTest *, SingleJob *)> setUp;
        QStringList expected;
    } cases[] = {
        { "RadioEveryDay", nullptr, { u"iFrequency=1"_s } },
        { "RadioOddDays", nullptr, { u"iFrequency=2"_s } },
        { "RadioEvenDays", nullptr, { u"iFrequency=3"_s } },
        { "RadioTheseDays", [](SingleJobTest *, SingleJob *e) { click(e, "CheckSat"); },
            { u"iFrequency=4"_s, u"sFrequency Data=0000001"_s } },
        { "RadioTheseDates",
            [](SingleJobTest *t, SingleJob *e) { t->addDate(e, QDate(2027, 1, 5)); },
            { u"iFrequency=5"_s, u"sFreq0=2026/12/10"_s, u"sFreq1=2027/01/05"_s } },
        { "RadioDaysOfMonth",
            [](SingleJobTest *, SingleJob *e) {
                for (int day : { 3, 15, 3 }) {
                    child<QSpinBox>(e, "EditMonthDay")->setValue(day);
                    click(e, "ButtonAddMonthDay");
                }
            },
            { u"iFrequency=6"_s, u"sFreq0=15"_s, u"sFreq1=3"_s } }, // sorted as text, no repeats
    };
    int n = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.radio);
        const QString job = u"Job"_s + QString::number(n++);
        auto editor = open();
        fill(editor.get(), job, u"/bin/true"_s);
        click(editor.get(), c.radio);
        if (c.setUp)
            c.setUp(this, editor.get());
        click(editor.get(), "ButtonSave");
        EXPECT_EQ(editor->result(), QDialog::Accepted);
        EXPECT_EQ(storedWith(job, schedule), c.expected);
    }
}

TEST_F(SingleJobTest, ASaveErasesWhatAnEarlierStateLeft)
{
    storeJob(u"Old"_s, { { u"sJobName"_s, u"Old"_s }, { u"sProgram"_s, u"/bin/true"_s },
        { u"iFrequency"_s, u"5"_s }, { u"sFreq0"_s, u"2026/12/10"_s }, { u"sFreq1"_s, u"2026/12/11"_s },
        { u"sFreq2"_s, u"2026/12/12"_s }, { u"sFreq3"_s, u"2026/12/13"_s }, { u"sFreq4"_s, u"2026/12/14"_s },
        { u"sLastStartDate"_s, u"2026-12-01"_s }, { u"iTerminationDur"_s, u"9"_s } });
    auto editor = open(u"Old"_s);
    EXPECT_FALSE(child<QLineEdit>(editor.get(), "EditJobName")->isEnabled());
    auto *dates = child<QListWidget>(editor.get(), "ListDates");
    ASSERT_EQ(dates->count(), 5);
    EXPECT_FALSE(child<QWidget>(editor.get(), "ButtonDeleteDate")->isEnabled()) << "nothing selected";
    for (int i = 0; i < 3; ++i) {
        dates->setCurrentRow(2);
        click(editor.get(), "ButtonDeleteDate");
    }
    click(editor.get(), "ButtonSave");
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_EQ(storedWith(u"Old"_s, { u"sFreq"_s, u"sLast"_s, u"iTermination"_s }),
        (QStringList{ u"sFreq0=2026/12/10"_s, u"sFreq1=2026/12/11"_s, u"iTerminationType=0"_s }));
}

TEST_F(SingleJobTest, TheChecksRunInOrderAndOnlyAPassingJobIsWritten)
{
    store.writeString(u"Taken"_s, u"sJobName"_s, u"Taken"_s);
    auto editor = open();
    SingleJob *e = editor.get();
    const struct
    {
        std::function<void()> change;
        QString message;
    } steps[] = {
        { [] {}, EditorText::jobNameMissing() },
        { [&] { fill(e, u"a\\b"_s, QString()); }, EditorText::jobNameBackslash() },
        { [&] { fill(e, u"TAKEN"_s, QString()); }, EditorText::jobNameTaken() },
        { [&] { fill(e, u"Fresh"_s, QString()); }, EditorText::programMissing() },
        { [&] {
             fill(e, u"Fresh"_s, u"/bin/true"_s);
             click(e, "RadioTheseDays");
         },
            EditorText::noWeekday() },
        { [&] {
             click(e, "RadioTheseDates");
             child<QListWidget>(e, "ListDates")->setCurrentRow(0);
             click(e, "ButtonDeleteDate");
         },
            EditorText::noDates() },
        { [&] { click(e, "RadioDaysOfMonth"); }, EditorText::noMonthDays() },
        { [&] {
             click(e, "RadioEveryDay");
             click(e, "CheckDeleteJob");
         },
            EditorText::deleteNeedsOneDate() },
        { [&] {
             addDate(e, QDate(2026, 12, 24));
             addDate(e, QDate(2026, 12, 31));
         },
            EditorText::deleteNeedsOneDate() },
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.message.toStdString());
        step.change();
        dialogs.expect(Kind::Warning, step.message);
        click(e, "ButtonSave");
        EXPECT_TRUE(e->isVisible());
        EXPECT_TRUE(dialogs.allConsumed());
        EXPECT_TRUE(store.listJobs() == QStringList{ u"Taken"_s });
    }
    auto *dates = child<QListWidget>(e, "ListDates");
    dates->setCurrentRow(0);
    click(e, "ButtonDeleteDate");
    click(e, "ButtonSave");
    EXPECT_EQ(e->result(), QDialog::Accepted);
    EXPECT_EQ(storedWith(u"Fresh"_s, { u"sFreq"_s, u"bDeleteJob"_s }),
        (QStringList{ u"sFreq0=2026/12/31"_s, u"bDeleteJob=1"_s }));
}

TEST_F(SingleJobTest, AnEditedJobKeepsItsNameWithoutTheDuplicateCheck)
{
    store.writeString(u"Mine"_s, u"sJobName"_s, u"Mine"_s);
    store.writeString(u"Mine"_s, u"sProgram"_s, u"/bin/true"_s);
    store.writeString(u"Mine"_s, u"iFrequency"_s, u"1"_s);
    auto editor = open(u"Mine"_s);
    click(editor.get(), "ButtonSave");
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_EQ(store.readString(u"Mine"_s, u"sJobName"_s), u"Mine"_s);
}

TEST_F(SingleJobTest, AnOnDemandJobSavesWithoutADayRule)
{
    auto editor = open();
    fill(editor.get(), u"Demand"_s, u"/bin/true"_s);
    click(editor.get(), "RadioTheseDays"); // no day ticked
    whenShown<CustomTimeForm>([](CustomTimeForm *f) {
        click(f, "RadioDemand");
        click(f, "ButtonSave");
    });
    click(editor.get(), "ButtonCustomTime");
    EXPECT_FALSE(child<QWidget>(editor.get(), "GroupSchedule")->isEnabled());
    EXPECT_EQ(child<QLabel>(editor.get(), "LabelCustomTime")->text(), EditorText::onDemandPanel());
    click(editor.get(), "ButtonSave");
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_EQ(store.readInteger(u"Demand"_s, u"iCustomTimeType"_s), -1);
}

TEST_F(SingleJobTest, AFailedWriteRollsBackAndKeepsTheEditorOpen)
{
    storeJob(u"Nightly"_s, { { u"sJobName"_s, u"Nightly"_s }, { u"sProgram"_s, u"/bin/old"_s },
        { u"iFrequency"_s, u"1"_s }, { u"sLastEndDate"_s, u"2026-12-09"_s } });
    const QList<Registry::Value> before = stored(u"Nightly"_s);
    auto editor = open(u"Nightly"_s);
    child<QLineEdit>(editor.get(), "EditProgram")->setText(u"/bin/new"_s);
    refuseWrites(u"iWinPriority"_s); // the very last value of the job
    dialogs.expect(Kind::Error, EditorText::saveFailed());
    click(editor.get(), "ButtonSave");
    EXPECT_TRUE(editor->isVisible());
    EXPECT_NE(editor->result(), QDialog::Accepted);
    EXPECT_EQ(stored(u"Nightly"_s), before);
}

TEST_F(SingleJobTest, EscAndTheCloseBoxAskWhenSomethingChanged)
{
    const auto esc = [](QWidget *w) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
    };
    { // unchanged: closes at once
        auto editor = open();
        esc(editor.get());
        EXPECT_FALSE(editor->isVisible());
        EXPECT_EQ(editor->result(), QDialog::Rejected);
    }
    { // No: closes, nothing stored
        auto editor = open();
        fill(editor.get(), u"Esc"_s, u"/bin/true"_s);
        dialogs.expect(Kind::Question, EditorText::saveChanges(), Answer::No);
        esc(editor.get());
        EXPECT_FALSE(editor->isVisible());
        EXPECT_TRUE(store.listJobs().isEmpty());
    }
    { // Cancel stays; Yes on a failing check stays; Yes on a good job saves with OK
        auto editor = open();
        fill(editor.get(), u"Closed"_s, QString());
        dialogs.expect(Kind::Question, EditorText::saveChanges(), Answer::Cancel);
        editor->close();
        EXPECT_TRUE(editor->isVisible());
        dialogs.expect(Kind::Question, EditorText::saveChanges(), Answer::Yes)
            .expect(Kind::Warning, EditorText::programMissing());
        editor->close();
        EXPECT_TRUE(editor->isVisible());
        child<QLineEdit>(editor.get(), "EditProgram")->setText(u"/bin/true"_s);
        dialogs.expect(Kind::Question, EditorText::saveChanges(), Answer::Yes);
        editor->close();
        EXPECT_FALSE(editor->isVisible());
        EXPECT_EQ(editor->result(), QDialog::Accepted);
        EXPECT_TRUE(store.jobExists(u"Closed"_s));
    }
    { // the Cancel button asks nothing
        auto editor = open();
        fill(editor.get(), u"Dropped"_s, u"/bin/true"_s);
        click(editor.get(), "ButtonCancel");
        EXPECT_FALSE(editor->isVisible());
        EXPECT_FALSE(store.jobExists(u"Dropped"_s));
    }
}

TEST_F(SingleJobTest, ANewJobIsProposedForTheNextMinuteNeverAPastOne)
{
    const struct
    {
        QTime now;
        int hour, minute;
        QString date;
    } cases[] = {
        { QTime(14, 5, 9), 14, 6, u"2026/12/10"_s },
        { QTime(10, 59, 30), 11, 0, u"2026/12/10"_s },
        { QTime(23, 59, 30), 0, 0, u"2026/12/11"_s },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.now.toString().toStdString());
        clock.set(QDateTime(QDate(2026, 12, 10), c.now));
        auto editor = open();
        EXPECT_EQ(child<QSpinBox>(editor.get(), "EditHour")->value(), c.hour);
        EXPECT_EQ(child<QSpinBox>(editor.get(), "EditMin")->value(), c.minute);
        EXPECT_EQ(child<QSpinBox>(editor.get(), "EditSec")->value(), 0);
        EXPECT_TRUE(child<QAbstractButton>(editor.get(), "RadioTheseDates")->isChecked());
        auto *dates = child<QListWidget>(editor.get(), "ListDates");
        ASSERT_EQ(dates->count(), 1);
        EXPECT_EQ(dates->item(0)->text(), c.date);
        EXPECT_TRUE(child<QLineEdit>(editor.get(), "EditJobName")->isEnabled());
    }
}

} // namespace
