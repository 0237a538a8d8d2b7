// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "editortest.h"

#include "ui/editors/editortext.h"
#include "ui/editors/emailfilesform.h"
#include "ui/editors/emailjob.h"
#include "ui/editors/filejob.h"
#include "ui/editors/processform.h"
#include "ui/editors/systemjob.h"

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using Kind = Dialogs::Kind;
using Answer = Dialogs::Answer;

namespace {

class ActivityJobTest : public EditorTest
{
protected:
    template<class T>
    std::unique_ptr<T> openEditor(const QString &job = QString())
    {
        auto e = std::make_unique<T>(context, job);
        e->show();
        return e;
    }
    void addSources(QWidget *editor, const QStringList &files)
    {
        dialogs.expect(Kind::OpenFiles, u"Source files"_s, files);
        click(editor, "ButtonAddSource");
    }
    void addRecipient(QWidget *editor, const QString &address)
    {
        dialogs.expect(Kind::Prompt, EditorText::promptCaption(), address);
        click(editor, "ButtonAdd");
    }
};

TEST_F(ActivityJobTest, AFileJobWritesTheSharedValuesAroundItsOwn)
{
    auto e = openEditor<FileJob>();
    child<QLineEdit>(e.get(), "EditJobName")->setText(u"Copy"_s);
    click(e.get(), "RadioCopy");
    addSources(e.get(), { u"/data/a.txt"_s, u"/data/b.txt"_s });
    child<QLineEdit>(e.get(), "EditTarget")->setText(u"/backup/"_s);
    click(e.get(), "ButtonSave");
    ASSERT_EQ(e->result(), QDialog::Accepted);
    EXPECT_EQ(storedNames(u"Copy"_s),
        (QStringList{ u"sJobName"_s, u"iJobType"_s, u"bHold"_s, u"bSecureJob"_s, u"iHour"_s, u"iMin"_s,
            u"iSec"_s, u"iFrequency"_s, u"sFreq0"_s, u"iCustomTimeType"_s, u"iCustomTimeHourMin"_s,
            u"bSysDeleteFile"_s, u"bSysCreateFile"_s, u"bSysCopyFile"_s, u"bSysRenameFile"_s,
            u"sSysSourceFileName0"_s, u"sSysSourceFileName1"_s, u"sSysTargetFileName"_s,
            u"iPostSuccessCode"_s, u"iPostFailCode"_s }));
    EXPECT_EQ(storedWith(u"Copy"_s, { u"iJobType"_s, u"bSys"_s }),
        (QStringList{ u"iJobType=4"_s, u"bSysDeleteFile=0"_s, u"bSysCreateFile=0"_s, u"bSysCopyFile=1"_s,
            u"bSysRenameFile=0"_s }));
}

TEST_F(ActivityJobTest, FileJobChecksAndTargets)
{
    const QString folder = profile.root(); // exists, named without "/"
    const struct
    {
        const char *activity;
        QStringList sources;
        QString target;
        QString message;    // empty: saved
        const char *focus;  // the control that gets the focus after the message
        QString stored;     // the stored target when saved
    } cases[] = {
        { nullptr, { u"/a"_s }, QString(), EditorText::noFileActivity(), "RadioDelete", {} },
        { "RadioCopy", {}, u"/t/"_s, EditorText::noSources(), "ListSources", {} },
        { "RadioCopy", { u"/a"_s, u"/b"_s }, u"/backup/"_s, QString(), nullptr, u"/backup/"_s },
        { "RadioCopy", { u"/a"_s, u"/b"_s }, u"/backup/file.txt"_s, EditorText::targetMustBeFolder(), "EditTarget", {} },
        { "RadioCopy", { u"/a"_s }, folder, QString(), nullptr, folder + u'/' },
        { "RadioCopy", { u"/a"_s }, QString(), EditorText::noTarget(), "EditTarget", {} },
        { "RadioDelete", { u"/a"_s }, QString(), QString(), nullptr, QString() },
        { "RadioRename", { u"/a"_s, u"/b"_s }, u"/backup/"_s, EditorText::oneRename(), "ListSources", {} },
        { "RadioRename", { u"/a"_s, u"/b"_s }, u"/backup/x"_s, EditorText::targetMustBeFolder(), "EditTarget", {} },
    };
    int n = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(n);
        const QString job = u"F"_s + QString::number(n++);
        auto e = openEditor<FileJob>();
        child<QLineEdit>(e.get(), "EditJobName")->setText(job);
        if (c.activity)
            click(e.get(), c.activity);
        if (!c.sources.isEmpty())
            addSources(e.get(), c.sources);
        child<QLineEdit>(e.get(), "EditTarget")->setText(c.target);
        e->activateWindow();
        if (!c.message.isEmpty())
            dialogs.expect(Kind::Warning, c.message);
        click(e.get(), "ButtonSave");
        if (c.message.isEmpty()) {
            EXPECT_EQ(e->result(), QDialog::Accepted);
            EXPECT_EQ(store.readString(job, u"sSysTargetFileName"_s, u"absent"_s), c.stored);
        } else {
            EXPECT_TRUE(e->isVisible());
            EXPECT_FALSE(store.jobExists(job));
            EXPECT_EQ(e->focusWidget(), child<QWidget>(e.get(), c.focus));
        }
    }
}

TEST_F(ActivityJobTest, EmailJobChecksMoveTheFocusAndTheJobIsWrittenInOrder)
{
    auto e = openEditor<EmailJob>();
    child<QLineEdit>(e.get(), "EditJobName")->setText(u"Mail"_s);
    const struct
    {
        std::function<void()> change;
        QString message;
        const char *focus;
    } steps[] = {
        { [] {}, EditorText::noEmailMethod(), "RadioSmtp" },
        { [&] { click(e.get(), "RadioMapi"); }, EditorText::noEmailRecipient(), "ListRecipients" },
        { [&] { addRecipient(e.get(), u"ops@example.org"_s); }, EditorText::noSubject(), "EditSubject" },
    };
    for (const auto &s : steps) {
        s.change();
        dialogs.expect(Kind::Warning, s.message);
        click(e.get(), "ButtonSave");
        EXPECT_EQ(e->focusWidget(), child<QWidget>(e.get(), s.focus));
    }
    child<QLineEdit>(e.get(), "EditSubject")->setText(u"Nightly report"_s);
    click(e.get(), "ButtonSave");
    ASSERT_EQ(e->result(), QDialog::Accepted);
    EXPECT_EQ(storedWith(u"Mail"_s, { u"bEmail"_s, u"sEmail"_s, u"iPost"_s }),
        (QStringList{ u"bEmailSMTP=0"_s, u"sEmailSubject=Nightly report"_s, u"sEmailRecip0=ops@example.org"_s,
            u"iPostSuccessCode=0"_s, u"iPostFailCode=0"_s })); // no text: no sEmailText
}

TEST_F(ActivityJobTest, ThreeHundredAttachmentsKeep256WithOneMessage)
{
    QStringList files;
    for (int i = 0; i < 300; ++i)
        files.append(u"/f"_s + QString::number(i));
    auto e = openEditor<EmailJob>();
    whenShown<EmailFilesForm>([&](EmailFilesForm *f) {
        dialogs.expect(Kind::OpenFiles, u"Files to attach"_s, files);
        click(f, "ButtonBrowse");
        dialogs.expect(Kind::Warning, EditorText::tooManyAttachments());
        click(f, "ButtonOk");
    });
    click(e.get(), "ButtonAttach");
    EXPECT_EQ(child<QLabel>(e.get(), "LabelFiles")->text(), EditorText::attachmentCount(256));
    child<QLineEdit>(e.get(), "EditJobName")->setText(u"Files"_s);
    click(e.get(), "RadioSmtp");
    addRecipient(e.get(), u"a@example.org"_s);
    child<QLineEdit>(e.get(), "EditSubject")->setText(u"s"_s);
    child<QPlainTextEdit>(e.get(), "EditText")->setPlainText(u"line 1\nline 2"_s);
    click(e.get(), "ButtonSave");
    const QStringList stored = storedWith(u"Files"_s, { u"sEmailFile"_s });
    ASSERT_EQ(stored.size(), 256);
    EXPECT_EQ(stored.last(), u"sEmailFile255=/f255"_s);
    EXPECT_EQ(store.readString(u"Files"_s, u"sEmailText"_s), u"line 1\nline 2"_s);
}

TEST_F(ActivityJobTest, SystemJobWritesTheKillTypeAndProcessNameLast)
{
    auto e = std::make_unique<SystemJob>(context, QString(), nullptr, [] {
        return QList<ProcessForm::Row>{ { u"rsync"_s, u"/usr/bin/rsync"_s }, { u"sshd"_s, u"/usr/sbin/sshd"_s } };
    });
    e->show();
    child<QLineEdit>(e.get(), "EditJobName")->setText(u"Stop"_s);
    dialogs.expect(Kind::Warning, EditorText::noSystemActivity());
    click(e.get(), "ButtonSave");
    EXPECT_EQ(e->focusWidget(), child<QWidget>(e.get(), "RadioShutdown1"));

    child<QLineEdit>(e.get(), "EditProcessName")->setText(u"keep"_s);
    whenShown<ProcessForm>([](ProcessForm *f) {
        EXPECT_FALSE(child<QWidget>(f, "ButtonSelect")->isEnabled());
        f->accept(); // no row: nothing taken
        EXPECT_TRUE(f->isVisible());
        click(f, "ButtonCancel");
    });
    click(e.get(), "ButtonBrowseProcesses");
    EXPECT_EQ(child<QLineEdit>(e.get(), "EditProcessName")->text(), u"keep"_s);
    whenShown<ProcessForm>([](ProcessForm *f) {
        auto *list = child<QTreeWidget>(f, "ListProcesses");
        list->setCurrentItem(list->topLevelItem(1));
        click(f, "ButtonSelect");
    });
    click(e.get(), "ButtonBrowseProcesses");
    EXPECT_EQ(child<QLineEdit>(e.get(), "EditProcessName")->text(), u"sshd"_s);
    EXPECT_TRUE(child<QAbstractButton>(e.get(), "RadioShutdown6")->isChecked());
    click(e.get(), "CheckKillType");
    click(e.get(), "ButtonSave");
    ASSERT_EQ(e->result(), QDialog::Accepted);
    const QStringList names = storedNames(u"Stop"_s);
    ASSERT_GE(names.size(), 4);
    EXPECT_EQ(names.mid(names.size() - 6), (QStringList{ u"iShutdownType"_s, u"bForceClose"_s,
        u"iPostSuccessCode"_s, u"iPostFailCode"_s, u"sProcessKillType"_s, u"sProcessName"_s }));
    EXPECT_EQ(storedWith(u"Stop"_s, { u"iShutdownType"_s, u"bForceClose"_s, u"sProcess"_s }),
        (QStringList{ u"iShutdownType=6"_s, u"bForceClose=1"_s, u"sProcessKillType=1"_s, u"sProcessName=sshd"_s }));
}

TEST_F(ActivityJobTest, ATerminateJobWithoutAProcessNameIsAcceptedAndAnEditKeepsTheName)
{
    auto e = openEditor<SystemJob>();
    child<QLineEdit>(e.get(), "EditJobName")->setText(u"Term"_s);
    click(e.get(), "RadioShutdown6");
    click(e.get(), "ButtonSave");
    EXPECT_EQ(e->result(), QDialog::Accepted);
    auto again = openEditor<SystemJob>(u"Term"_s);
    EXPECT_FALSE(child<QWidget>(again.get(), "EditJobName")->isEnabled());
    EXPECT_TRUE(child<QAbstractButton>(again.get(), "RadioShutdown6")->isChecked());
    click(again.get(), "ButtonSave");
    EXPECT_EQ(again->result(), QDialog::Accepted);
}

TEST_F(ActivityJobTest, EscAsksBeforeDroppingChangesAndAFailedWriteKeepsTheOldJob)
{
    auto e = openEditor<EmailJob>();
    child<QLineEdit>(e.get(), "EditJobName")->setText(u"a\\b"_s);
    dialogs.expect(Kind::Question, EditorText::saveChanges(), Answer::Yes)
        .expect(Kind::Warning, EditorText::jobNameBackslash());
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(e.get(), &esc);
    EXPECT_TRUE(e->isVisible());
    dialogs.expect(Kind::Question, EditorText::saveChanges(), Answer::No);
    e->close();
    EXPECT_FALSE(e->isVisible());

    store.writeString(u"Old"_s, u"sJobName"_s, u"Old"_s);
    store.writeString(u"Old"_s, u"iJobType"_s, u"1"_s);
    store.writeString(u"Old"_s, u"iShutdownType"_s, u"4"_s);
    store.writeString(u"Old"_s, u"iFrequency"_s, u"1"_s);
    const QList<Registry::Value> before = stored(u"Old"_s);
    auto s = openEditor<SystemJob>(u"Old"_s);
    click(s.get(), "RadioShutdown2");
    refuseWrites();
    dialogs.expect(Kind::Error, EditorText::saveFailed());
    click(s.get(), "ButtonSave");
    EXPECT_TRUE(s->isVisible());
    EXPECT_EQ(stored(u"Old"_s), before);
}

TEST_F(ActivityJobTest, AFileJobMadeInTheEditorRunsInTheEngine)
{
    const QString source = profile.path(u"report.txt"_s);
    QFile f(source);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("numbers\n");
    f.close();
    const QString target = profile.path(u"archive"_s);
    QDir().mkpath(target);

    clock.set(QDateTime(QDate(2026, 12, 10), QTime(9, 0, 0)));
    auto e = openEditor<FileJob>();
    child<QLineEdit>(e.get(), "EditJobName")->setText(u"Archive"_s);
    click(e.get(), "RadioCopy");
    addSources(e.get(), { source });
    child<QLineEdit>(e.get(), "EditTarget")->setText(target);
    click(e.get(), "RadioEveryDay");
    child<QSpinBox>(e.get(), "EditHour")->setValue(10);
    child<QSpinBox>(e.get(), "EditMin")->setValue(0);
    click(e.get(), "ButtonSave");
    ASSERT_EQ(e->result(), QDialog::Accepted);

    SchedulerRun run(profile, clock);
    run.tickFrom(QDateTime(QDate(2026, 12, 10), QTime(9, 59, 59, 500)), 8);
    EXPECT_TRUE(QFile::exists(target + u"/report.txt"_s));
}

} // namespace
