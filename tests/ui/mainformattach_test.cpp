// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/engine.h"
#include "log/activitylog.h"
#include "platform/registry.h"
#include "store/jobstore.h"
#include "store/settings.h"
#include "support/schedulerfixture.h"
#include "support/ui/faketrayicon.h"
#include "support/ui/scripteddialogs.h"
#include "ui/desktoppresence.h"
#include "ui/exporttext.h"
#include "ui/joblistmodel.h"
#include "ui/mainform.h"
#include "ui/mainformattach.h"
#include "ui/mainformtext.h"
#include "ui/miniform.h"
#include "ui/passwordguard.h"
#include "ui/printexport.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Click = TrayIcon::Click;
using Action = PasswordGuard::Action;

namespace {

class AnsweringGuard : public PasswordGuard
{
public:
    bool answer = true;
    QList<Action> asked;
    bool allow(QWidget *, Action action, const QString &) override
    {
        asked.append(action);
        return answer;
    }
};

// The main window with the tray icon and the mini window beside it, as the program has them.
class MainFormAttachTest : public SchedulerFixture
{
protected:
    MainFormAttachTest() : SchedulerFixture(QDateTime(QDate(2026, 12, 10), QTime(14, 5, 9))) {}

    FakeTrayIcon tray;
    AnsweringGuard guard;
    // The show password of the tray icon and the mini window.
    bool showAnswer = true;
    int showAsks = 0;
    std::unique_ptr<MainForm> form;
    std::unique_ptr<DesktopPresence> presence;

    void SetUp() override
    {
        SchedulerFixture::SetUp();
        settings.setText(settings::InstalledVersion, MainFormText::version());
    }
    void TearDown() override
    {
        if (form)
            form->closeWithoutQuestions();
    }
    void open(int startAs)
    {
        settings.setInteger(settings::StartAsWindow, startAs);
        form = std::make_unique<MainForm>(MainForm::Services{store, settings, log, clock, launcher,
            [](const QString &) { return std::optional<qint64>(qint64(1) << 40); }});
        form->setPasswordGuard(&guard);
        presence = MainFormAttach::presence(*form, tray, settings, [this](QWidget *) {
            ++showAsks;
            return showAnswer;
        });
        form->start({u"voltrane"_s});
    }
    void minimise()
    {
        form->showMinimized();
        QApplication::processEvents();
    }
    MiniForm &mini() { return presence->miniForm(); }
    void job(const QString &name)
    {
        store.writeString(name, u"sJobName"_s, name);
        store.writeInteger(name, u"iJobType"_s, 3);
        store.writeInteger(name, u"iFrequency"_s, 1);
        store.writeInteger(name, u"iHour"_s, 23);
    }
};

} // namespace

TEST_F(MainFormAttachTest, AsAnIconOnlyTheTrayIconIsThereAndALeftClickAsksThePassword)
{
    open(1);
    EXPECT_TRUE(tray.shown);
    EXPECT_EQ(tray.menu, form->popupMenu());
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(presence->isMiniWindowVisible());

    tray.click(Click::Right);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(showAsks, 0);

    showAnswer = false;
    tray.click(Click::Left);
    EXPECT_FALSE(form->isVisible());
    showAnswer = true;
    tray.click(Click::Left);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(showAsks, 2);
    // Showing already: brought forward without a password.
    tray.click(Click::Left);
    EXPECT_EQ(showAsks, 2);
    // The menu's "&Open" asks the window's own show password.
    form->hide();
    guard.answer = false;
    form->popupMenu()->actions().first()->trigger();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(guard.asked, QList<Action>{Action::Show});
    guard.answer = true;
    form->showFromTray();

    // Minimised, it goes back into the tray: hidden, not minimised, so no task-bar button
    // brings it back past the show password.
    QApplication::processEvents();
    minimise();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(presence->isMiniWindowVisible());
    // Shown again, it is an ordinary window.
    tray.click(Click::Left);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());
}

TEST_F(MainFormAttachTest, MinimisingToTheMiniWindowShowsTodaysJobCount)
{
    job(u"Today"_s);
    settings.setBoolean(settings::MinimizeToSysTray, false);
    open(0);
    QApplication::processEvents();
    minimise();
    EXPECT_FALSE(form->isVisible());
    ASSERT_TRUE(presence->isMiniWindowVisible());
    EXPECT_EQ(mini().jobCount(), u"1 job today"_s);

    // The log button: the show password, then the Log page.
    mini().findChild<QToolButton *>(u"LogButton"_s)->click();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->findChild<QTabWidget *>(u"PageControl1"_s)->currentIndex(), 1);
    EXPECT_FALSE(presence->isMiniWindowVisible());
}

TEST_F(MainFormAttachTest, WithoutATrayTheMiniWindowStandsInForIt)
{
    tray.available = false;
    open(1);
    // "As an icon" falls back to the mini window.
    EXPECT_FALSE(form->isVisible());
    ASSERT_TRUE(presence->isMiniWindowVisible());
    EXPECT_EQ(mini().jobCount(), u"0 jobs today"_s);

    // Minimising "to the tray" goes to the mini window too.
    form->showOnPage(false);
    presence->closeMiniWindow();
    // The first activation closes the mini window: let it pass first.
    QApplication::processEvents();
    minimise();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(presence->isMiniWindowVisible());
}

TEST_F(MainFormAttachTest, ClosingFromTheMiniWindowGoesThroughTheCloseQuestion)
{
    open(2);
    form->engine().tick();
    ASSERT_TRUE(presence->isMiniWindowVisible());
    EXPECT_EQ(mini().windowTitle(), u"14:05:09"_s);
    EXPECT_EQ(mini().jobCount(), u"0 jobs today"_s);

    guard.answer = false;
    mini().findChild<QToolButton *>(u"CloseButton"_s)->click();
    EXPECT_TRUE(presence->isMiniWindowVisible());
    EXPECT_EQ(guard.asked.last(), Action::Close);

    // A refused show password keeps the mini window as it is.
    showAnswer = false;
    mini().findChild<QToolButton *>(u"RestoreButton"_s)->click();
    EXPECT_TRUE(presence->isMiniWindowVisible());
    EXPECT_FALSE(form->isVisible());

    guard.answer = true;
    int closed = 0;
    QObject::connect(form.get(), &MainForm::closed, [&closed] { ++closed; });
    mini().findChild<QToolButton *>(u"CloseButton"_s)->click();
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(presence->isMiniWindowVisible());
    EXPECT_FALSE(tray.shown);
}

TEST_F(MainFormAttachTest, PrintAndCopyActOnThePageThatIsShowing)
{
    job(u"Alpha"_s);
    job(u"Beta"_s);
    job(u"Gamma"_s);
    open(0);
    PrintExport exporter(store, clock, form.get());
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(profile.path(u"out.pdf"_s));
    exporter.setPrinter(&pdf);
    MainFormAttach::printing(*form, exporter);
    QApplication::clipboard()->setText(u"keep me"_s);

    form->selectKey(u"Gamma"_s);
    form->listView()->selectionModel()->select(form->jobList()->index(0, 0),
        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    form->copyToClipboard();
    EXPECT_EQ(QApplication::clipboard()->text(),
        (exporter.jobLines({u"Alpha"_s, u"Gamma"_s}).join(u'\n') + u'\n'));
    form->print();
    EXPECT_TRUE(QFile::exists(profile.path(u"out.pdf"_s)));
    EXPECT_EQ(form->statusText(), QString());

    // The Log page with nothing selected: nothing is copied, and the status line says so.
    QApplication::clipboard()->setText(u"keep me"_s);
    form->findChild<QTabWidget *>(u"PageControl1"_s)->setCurrentIndex(1);
    form->copyToClipboard();
    EXPECT_EQ(QApplication::clipboard()->text(), u"keep me"_s);
    EXPECT_EQ(form->statusText(), ExportText::nothingCopied());
}
