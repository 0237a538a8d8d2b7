// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/engine.h"
#include "engine/mailactions.h"
#include "mail/mailerror.h"
#include "log/activitylog.h"
#include "platform/registry.h"
#include "store/jobstore.h"
#include "store/setting.h"
#include "store/settings.h"
#include "support/schedulerfixture.h"
#include "support/ui/scripteddialogs.h"
#include "ui/jobeditorfactory.h"
#include "ui/joblistmodel.h"
#include "ui/mainform.h"
#include "ui/mainformtext.h"
#include "ui/passwordguard.h"
#include "ui/trayhooks.h"
#include "ui/whatsthispopup.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QDialog>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
namespace T = MainFormText;
using Kind = Dialogs::Kind;
using Answer = Dialogs::Answer;

namespace {

class MainFormTest : public SchedulerFixture
{
protected:
    MainFormTest() : SchedulerFixture(QDateTime(QDate(2026, 12, 10), QTime(14, 5, 9))) {}

    std::unique_ptr<MainForm> form;

    void SetUp() override
    {
        SchedulerFixture::SetUp();
        settings.setText(settings::InstalledVersion, T::version());
    }
    void TearDown() override
    {
        if (form)
            form->closeWithoutQuestions();
    }
    void open()
    {
        form = std::make_unique<MainForm>(MainForm::Services{store, settings, log, clock, launcher,
            [](const QString &) { return std::optional<qint64>(qint64(1) << 40); }});
        form->start({u"voltrane"_s});
    }
    void job(const QString &name, int type, std::initializer_list<std::pair<QString, QString>> extra = {})
    {
        store.writeString(name, u"sJobName"_s, name);
        store.writeInteger(name, u"iJobType"_s, type);
        store.writeInteger(name, u"iFrequency"_s, 1);
        store.writeInteger(name, u"iHour"_s, 23);
        store.writeInteger(name, u"iMin"_s, 59);
        for (const auto &[value, data] : extra)
            store.writeString(name, value, data);
    }
    QStringList row(int r) const
    {
        QStringList cells;
        JobListModel *m = form->jobList();
        for (int c = 0; c < m->columnCount(); ++c)
            cells.append(m->data(m->index(r, c), Qt::DisplayRole).toString());
        return cells;
    }
    QStringList captions() const
    {
        QStringList names;
        for (int r = 0; r < form->jobList()->rowCount(); ++r)
            names.append(form->jobList()->captionAt(r));
        return names;
    }
    QString logText() const
    {
        QFile file(profile.path(u"test.log"_s));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    void onlyColumns(bool status, bool schedule, bool program, bool start, bool end, bool last)
    {
        settings.setBoolean(settings::ListStatus, status);
        settings.setBoolean(settings::ListSchedule, schedule);
        settings.setBoolean(settings::ListProgram, program);
        settings.setBoolean(settings::ListLastStart, start);
        settings.setBoolean(settings::ListLastEnd, end);
        settings.setBoolean(settings::ListLastStatus, last);
    }
    void clickHeader(int column)
    {
        QHeaderView *h = form->listView()->header();
        emit h->sectionClicked(column);
    }
};

TEST_F(MainFormTest, RowsShowTheEngineCellsByKeyAndSkipKeysWithoutAName)
{
    onlyColumns(true, false, true, true, true, true);
    job(u"Backup"_s, 0, {{u"sProgram"_s, u"/usr/bin/rsync"_s}, {u"sLastStartDate"_s, u"2026-12-09"_s},
        {u"sLastStartTime"_s, u"02:30:00"_s}, {u"sLastEndDate"_s, u"2026-12-09"_s},
        {u"sLastEndTime"_s, u"02:31:00"_s}, {u"bLastStartStatus"_s, u"0"_s}});
    job(u"Power"_s, 1, {{u"iShutdownType"_s, u"2"_s}, {u"bHold"_s, u"1"_s}});
    job(u"Odd"_s, 9, {{u"iCustomTimeType"_s, u"-1"_s}});
    store.writeInteger(u"Nameless"_s, u"iJobType"_s, 0);
    open();

    EXPECT_EQ(form->jobList()->headers(), (QStringList{u"Job Name"_s, u"Status"_s, u"Program"_s,
        u"Last Started"_s, u"Last Ended"_s, u"Last Status"_s}));
    ASSERT_EQ(form->jobList()->rowCount(), 3);
    EXPECT_EQ(row(0), (QStringList{u"Backup"_s, u"waiting"_s, u"/usr/bin/rsync"_s,
        u"2026-12-09 02:30:00"_s, u"2026-12-09 02:31:00"_s, u"failed"_s}));
    // An unknown job type has no Program cell: its later cells move one place left.
    EXPECT_EQ(row(1), (QStringList{u"Odd"_s, u"demand"_s, u" "_s, u" "_s, u"successful"_s, QString()}));
    EXPECT_EQ(row(2), (QStringList{u"Power"_s, u"hold"_s, u"Shutdown & Poweroff"_s, u" "_s, u" "_s,
        u"successful"_s}));
    EXPECT_EQ(form->jobList()->keyAt(2), u"Power"_s);
}

TEST_F(MainFormTest, WidthsBelongToPositionsAndAreSavedOnClose)
{
    onlyColumns(false, true, true, false, false, false);
    settings.writeInteger(Settings::Section::Config, u"iTimedListCol0"_s, 120);
    settings.writeInteger(Settings::Section::Config, u"iTimedListCol1"_s, 77);
    job(u"A"_s, 0);
    open();
    QHeaderView *h = form->listView()->header();
    EXPECT_EQ(form->jobList()->headers(), (QStringList{u"Job Name"_s, u"Schedule"_s, u"Program"_s}));
    // Status is off: the width stored for the second position goes to Schedule.
    EXPECT_EQ(h->sectionSize(0), 120);
    EXPECT_EQ(h->sectionSize(1), 77);
    EXPECT_EQ(h->sectionSize(2), 55);
    h->resizeSection(2, 91);
    form->resize(600, 450);
    form->move(30, 40);
    form->closeWithoutQuestions();
    EXPECT_EQ(settings.timedListColumn(2), 91);
    EXPECT_EQ(settings.integer(settings::PositionWidth), 600);
    EXPECT_EQ(settings.integer(settings::PositionHeight), 450);

    form = nullptr;
    open();
    EXPECT_EQ(form->listView()->header()->sectionSize(2), 91);
    EXPECT_EQ(form->size(), QSize(600, 450));
}

TEST_F(MainFormTest, WithEveryColumnOffOnlyTheNameIsShownAndStoredAsColumnZero)
{
    onlyColumns(false, false, false, false, false, false);
    job(u"A"_s, 0);
    open();
    EXPECT_EQ(form->jobList()->columnCount(), 1);
    form->listView()->header()->resizeSection(0, 133);
    form->closeWithoutQuestions();
    EXPECT_EQ(settings.timedListColumn(0), 133);
    EXPECT_FALSE(settings.contains(Settings::Section::Config, u"iTimedListCol1"_s));
}

TEST_F(MainFormTest, HeaderClicksSortAscendingThenReverseNumbersAsNumbers)
{
    onlyColumns(false, false, true, false, false, false);
    job(u"b"_s, 0, {{u"sProgram"_s, u"10"_s}});
    job(u"a"_s, 0, {{u"sProgram"_s, u"9"_s}});
    job(u"c"_s, 0, {{u"sProgram"_s, u"x"_s}});
    open();
    clickHeader(1);
    EXPECT_EQ(captions(), (QStringList{u"a"_s, u"b"_s, u"c"_s})); // 9 < 10 < "x"
    clickHeader(1);
    EXPECT_EQ(captions(), (QStringList{u"c"_s, u"b"_s, u"a"_s}));
    clickHeader(0);
    EXPECT_EQ(captions(), (QStringList{u"a"_s, u"b"_s, u"c"_s}));
    // The order stays after a refresh.
    clickHeader(0);
    form->refreshJobList();
    EXPECT_EQ(captions(), (QStringList{u"c"_s, u"b"_s, u"a"_s}));
}

TEST(JobListModelCompare, NonZeroIntegersAsNumbersElseAsText)
{
    EXPECT_LT(JobListModel::compareCells(u"9"_s, u"10"_s), 0);
    EXPECT_GT(JobListModel::compareCells(u"-3"_s, u"-12"_s), 0);
    // "0" is not a number for the rule: both compare as text.
    EXPECT_LT(JobListModel::compareCells(u"0"_s, u"10"_s), 0);
    EXPECT_GT(JobListModel::compareCells(u"0"_s, u"-5"_s), 0);
    EXPECT_LT(JobListModel::compareCells(u"10"_s, u"9x"_s), 0);
}

TEST_F(MainFormTest, HoldAndRestartWriteTheFlagTheCellAndTheQueueAtOnce)
{
    job(u"Daily"_s, 0);
    job(u"OnDemand"_s, 0, {{u"iCustomTimeType"_s, u"-1"_s}});
    open();
    const QString logBefore = logText();
    const int daily = form->engine().find(u"Daily"_s);
    ASSERT_GE(daily, 0);
    form->selectKey(u"Daily"_s);
    form->holdJob();
    EXPECT_TRUE(store.readBoolean(u"Daily"_s, u"bHold"_s));
    EXPECT_EQ(row(form->jobList()->rowOfKey(u"Daily"_s)).at(1), u"hold"_s);
    EXPECT_TRUE(form->engine().queue()[daily].hold);
    form->restartJob();
    EXPECT_FALSE(store.readBoolean(u"Daily"_s, u"bHold"_s, true));
    EXPECT_EQ(row(form->jobList()->rowOfKey(u"Daily"_s)).at(1), u"waiting"_s);
    EXPECT_FALSE(form->engine().queue()[daily].hold);

    form->selectKey(u"OnDemand"_s);
    form->holdJob();
    form->restartJob();
    EXPECT_EQ(row(form->jobList()->rowOfKey(u"OnDemand"_s)).at(1), u"demand"_s);
    EXPECT_EQ(logText(), logBefore); // nothing is logged
}

TEST_F(MainFormTest, RunNowLogsTheRefusalEvenWhenStartsAreNotLogged)
{
    settings.setBoolean(settings::LogJobStarts, false);
    job(u"Daily"_s, 0, {{u"sProgram"_s, u"/bin/true"_s}});
    open();
    form->selectKey(u"Daily"_s);
    store.eraseJob(u"Daily"_s); // gone behind the window's back: the engine refuses
    form->engine().queue().clear();
    form->runJobNow();
    EXPECT_TRUE(logText().contains(u" User failed to invoke job: Daily"_s));
}

TEST_F(MainFormTest, RunNowAsksTheEngineAndLogsTheStart)
{
    job(u"Daily"_s, 0, {{u"sProgram"_s, u"/bin/true"_s}});
    open();
    form->selectKey(u"Daily"_s);
    form->runJobNow();
    EXPECT_TRUE(form->engine().queue()[form->engine().find(u"Daily"_s)].runNow);
    EXPECT_TRUE(logText().contains(u"User manually invoked job: Daily ok."_s));
}

TEST_F(MainFormTest, RemoveAsksNothingAndLogsOnlyWhenListChangesAreLogged)
{
    job(u"One"_s, 0);
    job(u"Two"_s, 0);
    open();
    ScriptedDialogs dialogs; // no dialog expected
    form->selectKey(u"One"_s);
    form->removeJob();
    EXPECT_FALSE(store.jobExists(u"One"_s));
    EXPECT_EQ(captions(), QStringList{u"Two"_s});
    EXPECT_FALSE(logText().contains(u"deleted"_s));

    settings.setBoolean(settings::LogJobListChanges, true);
    form->engine().readSettings();
    form->selectKey(u"Two"_s);
    form->removeJob();
    EXPECT_TRUE(logText().contains(u"Job: Two deleted."_s));
    EXPECT_EQ(form->jobList()->rowCount(), 0);
}

TEST_F(MainFormTest, ActionsWithoutASelectionDoNothingAndTheirButtonsAreDisabled)
{
    job(u"One"_s, 0);
    open();
    ScriptedDialogs dialogs;
    form->listView()->selectionModel()->clear();
    EXPECT_FALSE(form->findChild<QPushButton *>(u"RemoveJobButton"_s)->isEnabled());
    EXPECT_FALSE(form->findChild<QPushButton *>(u"RunNowButton"_s)->isEnabled());
    EXPECT_TRUE(form->findChild<QPushButton *>(u"NewJobButton"_s)->isEnabled());
    form->removeJob();
    form->editJob();
    form->holdJob();
    form->restartJob();
    form->runJobNow();
    EXPECT_TRUE(store.jobExists(u"One"_s));
    EXPECT_FALSE(store.readBoolean(u"One"_s, u"bHold"_s));
    form->selectKey(u"One"_s);
    EXPECT_TRUE(form->findChild<QPushButton *>(u"RemoveJobButton"_s)->isEnabled());
}

TEST_F(MainFormTest, SuspendAndRestartAllShowTheirStatus)
{
    open();
    form->suspendAll();
    EXPECT_TRUE(form->engine().isSuspended());
    EXPECT_EQ(form->statusText(), u"User action: All jobs suspended"_s);
    form->restartAll();
    EXPECT_FALSE(form->engine().isSuspended());
    EXPECT_EQ(form->statusText(), u"User action: All jobs restarted"_s);
}

struct RenameCase
{
    const char *name;
    QString to;
    QString refusal; // empty: the question is asked
    Answer answer;
    QString expectedKey; // the key of the renamed job afterwards
};

class RenameTest : public MainFormTest, public ::testing::WithParamInterface<RenameCase>
{
};

TEST_P(RenameTest, RenamesOnlyWhatIsSafe)
{
    const RenameCase &c = GetParam();
    settings.setBoolean(settings::LogJobListChanges, true);
    job(u"Backup"_s, 0);
    job(u"Report"_s, 0);
    open();
    form->selectKey(u"Backup"_s);
    {
        ScriptedDialogs dialogs;
        if (!c.refusal.isEmpty())
            dialogs.expect(Kind::Warning, c.refusal);
        else if (c.to != u"Backup"_s)
            dialogs.expect(Kind::Question, T::renameQuestion(u"Backup"_s, c.to), c.answer);
        form->renameJob(u"Backup"_s, u"Backup"_s, c.to);
    }
    EXPECT_TRUE(store.jobExists(c.expectedKey));
    EXPECT_EQ(store.readString(c.expectedKey, u"sJobName"_s), c.expectedKey);
    EXPECT_EQ(store.readString(u"Report"_s, u"sJobName"_s), u"Report"_s); // never merged
    EXPECT_EQ(store.listJobs().size(), 2);
    EXPECT_GE(form->jobList()->rowOfKey(c.expectedKey), 0);
    EXPECT_EQ(form->jobList()->captionAt(form->jobList()->rowOfKey(c.expectedKey)), c.expectedKey);
    const bool renamed = c.expectedKey != u"Backup"_s || c.to == u"BACKUP"_s;
    EXPECT_EQ(logText().contains(u"has been renamed to:"_s), renamed && c.to != u"Backup"_s);
    if (c.expectedKey != u"Backup"_s)
        EXPECT_GE(form->engine().find(c.expectedKey), 0);
    EXPECT_EQ(form->currentKey(), c.expectedKey);
}

INSTANTIATE_TEST_SUITE_P(Table, RenameTest,
    ::testing::Values(RenameCase{"AnotherJobInAnotherCase", u"report"_s, T::jobNameExists(), Answer::Yes, u"Backup"_s},
        RenameCase{"Empty", QString(), T::enterJobName(), Answer::Yes, u"Backup"_s},
        RenameCase{"Blanks", u"  "_s, T::enterJobName(), Answer::Yes, u"Backup"_s},
        RenameCase{"Backslash", u"a\\b"_s, T::jobNameHasBackslash(), Answer::Yes, u"Backup"_s},
        RenameCase{"No", u"Nightly"_s, QString(), Answer::No, u"Backup"_s},
        RenameCase{"Yes", u"Nightly"_s, QString(), Answer::Yes, u"Nightly"_s},
        RenameCase{"CaseOnly", u"BACKUP"_s, QString(), Answer::Yes, u"BACKUP"_s},
        RenameCase{"SameName", u"Backup"_s, QString(), Answer::Yes, u"Backup"_s}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(MainFormTest, ARefreshDuringACaptionEditKeepsTheEditAndItsJob)
{
    job(u"Backup"_s, 0);
    job(u"Report"_s, 0);
    open();
    QTreeView *list = form->listView();
    form->selectKey(u"Report"_s);
    const QModelIndex index = form->jobList()->index(form->jobList()->rowOfKey(u"Backup"_s), 0);
    list->edit(index);
    auto *editor = list->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    editor->setText(u"Nightly"_s);
    job(u"Aardvark"_s, 0); // arrives first in store order: every row moves down
    form->refreshJobList();
    ASSERT_NE(list->findChild<QLineEdit *>(), nullptr);
    EXPECT_EQ(editor->text(), u"Nightly"_s);

    ScriptedDialogs dialogs;
    dialogs.expect(Kind::Question, T::renameQuestion(u"Backup"_s, u"Nightly"_s), Answer::Yes);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(store.jobExists(u"Nightly"_s));
    EXPECT_FALSE(store.jobExists(u"Backup"_s));
    EXPECT_TRUE(store.jobExists(u"Aardvark"_s));
    EXPECT_EQ(form->jobList()->rowCount(), 3);
    EXPECT_EQ(form->selectedKeys(), QStringList{u"Report"_s}); // the selection follows its key
}

class FakeEditors : public JobEditorFactory
{
public:
    std::function<bool(const QString &, int)> onEdit;
    QList<std::pair<QString, int>> calls;
    bool canEdit(int jobType) const override { return jobType == 0 || jobType == 2; }
    bool edit(QWidget *, const QString &key, int jobType) override
    {
        calls.append({key, jobType});
        return onEdit(key, jobType);
    }
};

TEST_F(MainFormTest, CreateAndEditGoThroughTheFactoryAndLogTheChange)
{
    settings.setBoolean(settings::LogJobListChanges, true);
    job(u"Copy"_s, 4);
    open();
    FakeEditors editors;
    editors.onEdit = [this](const QString &key, int) {
        job(key.isEmpty() ? u"Fresh"_s : key, 0);
        return true;
    };
    form->setEditorFactory(&editors);
    int choice = 1;
    form->setJobTypeChooser([&choice](QWidget *) { return choice; });
    form->createJob();
    EXPECT_TRUE(logText().contains(u"Job: Fresh added to the scheduler."_s));
    EXPECT_GE(form->jobList()->rowOfKey(u"Fresh"_s), 0);

    form->selectKey(u"Copy"_s);
    form->editJob();
    EXPECT_TRUE(logText().contains(u"Job: Copy has been modified."_s));
    EXPECT_EQ(editors.calls.last(), (std::pair<QString, int>(u"Copy"_s, 2))); // copy: the file editor

    // No editor for e-mail jobs yet: nothing opens, the status line says so.
    choice = 4;
    form->createJob();
    EXPECT_EQ(editors.calls.size(), 2);
    EXPECT_EQ(form->statusText(), T::editorMissing());
    choice = 0;
    form->createJob();
    EXPECT_EQ(editors.calls.size(), 2);
}

TEST_F(MainFormTest, TheConfigurationHookRebuildsColumnsAfterOkAndCancel)
{
    job(u"A"_s, 0);
    open();
    form->configure();
    EXPECT_EQ(form->statusText(), T::configurationMissing());
    const bool ok = true;
    int shown = 0;
    form->setConfigurationDialog([&](QWidget *parent) {
        EXPECT_EQ(parent, form.get());
        ++shown;
        settings.setBoolean(settings::ListStatus, false);
        settings.setBoolean(settings::LogJobListChanges, true);
        return ok;
    });
    form->configure();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(form->jobList()->headers().at(1), u"Schedule"_s);
    EXPECT_TRUE(form->engine().categories().jobListChanges); // the settings read again

    // Cancel: nothing read again, but the columns rebuilt (with the stored widths).
    form->setConfigurationDialog([&](QWidget *) {
        settings.setBoolean(settings::ListStatus, true);
        settings.setBoolean(settings::LogJobListChanges, false);
        settings.writeInteger(Settings::Section::Config, u"iTimedListCol1"_s, 99);
        return false;
    });
    form->configure();
    EXPECT_EQ(form->jobList()->headers().at(1), u"Schedule"_s);
    EXPECT_EQ(form->listView()->header()->sectionSize(1), 99);
    EXPECT_NE(row(0).at(1), u"waiting"_s); // the engine builds no Status cell either
    EXPECT_TRUE(form->engine().categories().jobListChanges);
}

class RefusingGuard : public PasswordGuard
{
public:
    QList<Action> asked;
    bool allow(QWidget *, Action action, const QString &) override
    {
        asked.append(action);
        return false;
    }
};

TEST_F(MainFormTest, ARefusedPasswordStopsTheActionButNotTheEndOfTheSession)
{
    job(u"Secure"_s, 0);
    open();
    RefusingGuard guard;
    form->setPasswordGuard(&guard);
    FakeEditors editors;
    editors.onEdit = [](const QString &, int) { return true; };
    form->setEditorFactory(&editors);
    form->selectKey(u"Secure"_s);
    form->removeJob();
    form->editJob();
    EXPECT_TRUE(store.jobExists(u"Secure"_s));
    EXPECT_TRUE(editors.calls.isEmpty());
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(guard.asked, (QList<PasswordGuard::Action>{PasswordGuard::Action::RemoveSecureJob,
        PasswordGuard::Action::EditSecureJob, PasswordGuard::Action::Close}));
    form->closeWithoutQuestions();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(settings.contains(Settings::Section::Config, u"iPosition Width"_s));
}

TEST_F(MainFormTest, WhileAModalDialogIsOpenShowAndCloseRaiseIt)
{
    open();
    RefusingGuard guard;
    form->setPasswordGuard(&guard);
    QDialog dialog(form.get());
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    EXPECT_FALSE(form->close());
    form->showFromTray();
    EXPECT_TRUE(guard.asked.isEmpty()); // nothing asked over the open dialog
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(dialog.isVisible());
    dialog.hide();
}

TEST_F(MainFormTest, CopyLeavesCtrlCToAnEditedCaption)
{
    job(u"Backup"_s, 0);
    open();
    int copies = 0;
    form->setPrintHandler([&copies](MainForm::Output output, bool) { copies += output == MainForm::Output::Copy; });
    form->copyToClipboard();
    EXPECT_EQ(copies, 1);
    form->activateWindow();
    form->listView()->edit(form->jobList()->index(0, 0));
    auto *editor = form->listView()->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(copies, 1);
}

TEST_F(MainFormTest, SaveAndLoadTheJobListThroughTheDialogs)
{
    job(u"Backup"_s, 0, {{u"sProgram"_s, u"/usr/bin/rsync"_s}});
    open();
    const QString file = profile.path(u"jobs.sav"_s);
    {
        ScriptedDialogs dialogs;
        dialogs.expect(Kind::SaveFile, u"Save Job list to File"_s, file)
            .expect(Kind::Question, u"No jobs selected, save the whole job list?"_s, Answer::Yes);
        form->saveJobList();
    }
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    QString date;
    QString time;
    for (const QString &line : QString::fromUtf8(saved.readAll()).split(u'\n')) {
        if (line.startsWith(u"sSaveDate="_s))
            date = line.mid(10).trimmed();
        if (line.startsWith(u"sSaveTime="_s))
            time = line.mid(10).trimmed();
    }
    form->selectKey(u"Backup"_s);
    form->removeJob();
    EXPECT_EQ(form->jobList()->rowCount(), 0);
    {
        ScriptedDialogs dialogs;
        dialogs.expect(Kind::OpenFile, u"Read Job list from file"_s, file)
            .expect(Kind::Question, u"Do you want to replace the entire Job List with this file dated: "_s
                    + date + u' ' + time + u'?', Answer::Yes);
        form->loadJobList();
    }
    EXPECT_EQ(captions(), QStringList{u"Backup"_s});
    EXPECT_EQ(row(0).at(3), u"/usr/bin/rsync"_s);
}

TEST_F(MainFormTest, AnEngineMessageDoesNotWaitForItsClick)
{
    open();
    QtDialogs real;
    Dialogs::Override useReal(real);
    form->showMessage(u"s: /a t: /b"_s);
    // Returned at once: the box is still on the screen, with the same text.
    bool shown = false;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible() && box->text() == u"s: /a t: /b"_s) {
            shown = true;
            box->close();
        }
    }
    EXPECT_TRUE(shown);
}

TEST_F(MainFormTest, ANewVersionRunsTheWizardHookAfterTheFirstActivation)
{
    settings.setText(settings::InstalledVersion, u"1.20"_s);
    int runs = 0;
    form = std::make_unique<MainForm>(MainForm::Services{store, settings, log, clock, launcher,
        [](const QString &) { return std::optional<qint64>(); }});
    form->setFirstActivationHook([&runs] { ++runs; });
    form->start({u"voltrane"_s});
    form->activateWindow();
    QApplication::setActiveWindow(form.get());
    QDeadlineTimer deadline(10000);
    while (runs == 0 && !deadline.hasExpired())
        QTest::qWait(50);
    EXPECT_EQ(runs, 1);
    form->activateWindow();
    QTest::qWait(50);
    EXPECT_EQ(runs, 1); // once only
}

class FakeTray : public TrayHooks
{
public:
    bool tray = true;
    bool mini = true;
    bool miniShown = false;
    QString jobCount;
    QStringList calls;
    void addTrayIcon() override { calls.append(u"add"_s); }
    void removeTrayIcon() override { calls.append(u"remove"_s); }
    bool hasTrayIcon() const override { return tray; }
    bool hasMiniWindow() const override { return mini; }
    bool isMiniWindowVisible() const override { return miniShown; }
    void showMiniWindow() override { miniShown = true; }
    void setMiniJobCount(const QString &text) override { jobCount = text; }
};

TEST_F(MainFormTest, MinimiseHidesOnlyWhenSomethingCanBringTheWindowBack)
{
    job(u"A"_s, 0);
    FakeTray tray;
    tray.tray = false;
    tray.mini = false;
    form = std::make_unique<MainForm>(MainForm::Services{store, settings, log, clock, launcher,
        [](const QString &) { return std::optional<qint64>(); }});
    form->setTrayHooks(&tray);
    form->start({u"voltrane"_s});
    EXPECT_EQ(tray.calls, QStringList{u"add"_s});
    form->setWindowState(Qt::WindowMinimized);
    QTest::qWait(20);
    EXPECT_TRUE(form->isVisible()); // nothing to come back through: an ordinary minimised window

    tray.tray = true;
    form->showNormal();
    form->setWindowState(Qt::WindowMinimized);
    QTest::qWait(20);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(tray.miniShown);

    settings.setBoolean(settings::MinimizeToSysTray, false);
    tray.mini = true;
    form = nullptr;
    tray.calls.clear();
    form = std::make_unique<MainForm>(MainForm::Services{store, settings, log, clock, launcher,
        [](const QString &) { return std::optional<qint64>(); }});
    form->setTrayHooks(&tray);
    form->start({u"voltrane"_s});
    form->setWindowState(Qt::WindowMinimized);
    QTest::qWait(20);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(tray.miniShown);
    EXPECT_EQ(tray.jobCount, u"1 job today"_s);
    form->closeWithoutQuestions();
    EXPECT_EQ(tray.calls, (QStringList{u"add"_s, u"remove"_s}));
}

TEST_F(MainFormTest, ControlsCarryTheCatalogueTextsUnderTheirNames)
{
    job(u"A"_s, 0);
    open();
    EXPECT_EQ(form->windowTitle(), u"Halvorn 95/NT"_s);
    const std::pair<const char *, T::Side> sides[] = {{"NewJobButton", T::Side::Create},
        {"RemoveJobButton", T::Side::Remove}, {"EditJobButton", T::Side::Edit},
        {"HoldButton", T::Side::Hold}, {"RestartButton", T::Side::Restart}, {"RunNowButton", T::Side::RunNow}};
    for (const auto &[name, side] : sides) {
        auto *button = form->findChild<QPushButton *>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->text(), T::sideCaption(side));
        EXPECT_EQ(button->toolTip(), T::sideHint(side));
        EXPECT_EQ(button->whatsThis(), T::helpText(T::sideHelpNumber(side)));
    }
    EXPECT_EQ(T::sideCaption(T::Side::RunNow), u"Run job &now!"_s);
    EXPECT_EQ(form->listView()->objectName(), u"ListView1"_s);
    EXPECT_EQ(form->listView()->toolTip(), u"Click on the Column Headers to sort ascending or descending"_s);
    auto *pages = form->findChild<QTabWidget *>(u"PageControl1"_s);
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->tabText(0), u"&Scheduler"_s);
    EXPECT_EQ(pages->tabText(1), u"&Log"_s);
    QStringList menus;
    for (QAction *a : form->menuBar()->actions())
        menus.append(a->text());
    EXPECT_EQ(menus, (QStringList{u"&File"_s, u"&Edit"_s, u"&Jobs"_s, u"&Window"_s}));
    QStringList popup;
    for (QAction *a : form->popupMenu()->actions())
        popup.append(a->text());
    EXPECT_EQ(popup, (QStringList{u"&Open"_s, QString(), u"&Exit"_s}));
    // The Delete key removes nothing.
    form->selectKey(u"A"_s);
    QTest::keyClick(form->listView(), Qt::Key_Delete);
    EXPECT_TRUE(store.jobExists(u"A"_s));
}

TEST(WhatsThis, TextsByHelpNumberAndTheApology)
{
    EXPECT_EQ(T::helpText(0), u"Press this button to 1. Save all Scheduler changes, 2. Exit the Halvorn program."_s);
    EXPECT_EQ(T::helpText(16), u"Click on column headers to sort the data by the selected column in either ascending or descending order"_s);
    EXPECT_EQ(T::helpText(17), T::helpApology());
    EXPECT_TRUE(T::helpApology().startsWith(u"We are sorry, the detailed information"_s));
    for (const QString &entry : T::helpEntries())
        EXPECT_EQ(entry.at(4), u' ');
}

TEST(WhatsThis, PlacedBelowThePointAndKeptOnTheScreen)
{
    const QRect screen(0, 0, 800, 600);
    EXPECT_EQ(WhatsThisPopup::placement(QSize(100, 40), QPoint(300, 100), screen), QRect(250, 120, 100, 40));
    EXPECT_EQ(WhatsThisPopup::placement(QSize(100, 40), QPoint(10, 100), screen).left(), 4);
    EXPECT_EQ(WhatsThisPopup::placement(QSize(100, 40), QPoint(790, 100), screen).right(), 795);
    EXPECT_LE(WhatsThisPopup::placement(QSize(100, 40), QPoint(300, 590), screen).bottom(), 595);
}

// Shows the cursor it met while sending, then fails as a refusing server would.
struct CursorWatchingSender : MailSender
{
    bool busyMeanwhile = false;
    bool sendJobMail(const SmtpProfile &, const QString &, const QStringList &, const QStringList &,
        const QStringList &) override
    {
        busyMeanwhile = QApplication::overrideCursor()
            && QApplication::overrideCursor()->shape() == Qt::BusyCursor;
        throw EMailError(u"550 refused"_s);
    }
};

TEST_F(MainFormTest, AnEmailJobShowsABusyCursorThatAFailureTakesBack)
{
    job(u"Mail"_s, 6, {{u"sEmailRecip0"_s, u"ops@example.org"_s}, {u"iCustomTimeType"_s, u"-1"_s}});
    open();
    CursorWatchingSender sender;
    form->engine().mail().setSender(&sender);
    EXPECT_TRUE(form->engine().mail().SendEmailJob(Job(u"Mail"_s)) == false);
    EXPECT_TRUE(sender.busyMeanwhile);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    form->engine().mail().setSender(nullptr);
}

} // namespace
