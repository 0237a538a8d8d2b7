// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/engine.h"
#include "engine/enginehost.h"
#include "log/activitylog.h"
#include "platform/registry.h"
#include "store/jobstore.h"
#include "store/settings.h"
#include "support/fakeclock.h"
#include "support/fakeprocesslauncher.h"
#include "support/tempprofile.h"
#include "support/ui/faketrayicon.h"
#include "ui/desktoppresence.h"
#include "ui/miniform.h"
#include "ui/presencetext.h"

#include <QApplication>
#include <QMainWindow>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Click = TrayIcon::Click;
using Page = DesktopPresence::Page;

namespace {

class DesktopPresenceTest : public ::testing::Test
{
protected:
    DesktopPresenceTest()
    {
        hooks.showMain = [this](std::optional<Page> page) {
            shown.append(page);
            window.show();
        };
        hooks.allowShow = [this] {
            ++showPasswordsAsked;
            return showPassword;
        };
        hooks.askClose = [this] { return closeAllowed; };
        hooks.closeWithoutAsking = [this] { ++closes; };
        hooks.jobsToday = [this] { return jobsToday; };
    }

    DesktopPresence &presence()
    {
        if (!m_presence)
            m_presence = std::make_unique<DesktopPresence>(&window, tray, settings, hooks);
        return *m_presence;
    }
    QToolButton *button(const char *name)
    {
        return presence().miniForm().findChild<QToolButton *>(QString::fromLatin1(name));
    }

    TempProfile profile;
    Registry registry{Registry::Role::ShortLived, profile.registryPath()};
    Settings settings{registry};
    QMainWindow window;
    FakeTrayIcon tray;
    DesktopPresence::Hooks hooks;
    QList<std::optional<Page>> shown;
    bool showPassword = true;
    int showPasswordsAsked = 0;
    bool closeAllowed = true;
    int closes = 0;
    int jobsToday = 0;

private:
    std::unique_ptr<DesktopPresence> m_presence;
};

// Forwards the engine's tray frames to the presence, as the main window does.
class TrayHost final : public EngineHost
{
public:
    explicit TrayHost(DesktopPresence &presence) : m_presence(presence) {}
    void showStatus(const QString &) override {}
    void showMessage(const QString &) override {}
    void processPendingEvents() override {}
    void quit() override {}
    void setTrayFrame(int frame) override { m_presence.setTrayFrame(frame); }

private:
    DesktopPresence &m_presence;
};

} // namespace

TEST_F(DesktopPresenceTest, TheIconGoesRoundItsEightCachedFramesAndStandsStillWhileSuspended)
{
    presence().addTrayIcon();
    ASSERT_TRUE(tray.shown);
    EXPECT_EQ(tray.tip, u"Halvorn"_s);
    TrayHost host(presence());
    FakeClock clock;
    FakeProcessLauncher launcher;
    JobStore store(registry);
    ActivityLog log(settings, clock);
    settings.setText(settings::LogFile, profile.path(u"test.log"_s));
    Engine engine({store, settings, log, clock, launcher, host, [](const QString &) { return std::nullopt; }});
    engine.readSettings();
    engine.setFirstShow(false);
    for (int i = 0; i < 9; ++i) {
        clock.advanceMs(250);
        engine.tick();
    }
    ASSERT_EQ(tray.icons.size(), 10);
    // Eight different icons in turn, then the first again; each frame is one icon made once.
    EXPECT_EQ(QSet<qint64>(tray.icons.begin(), tray.icons.begin() + 8).size(), 8);
    EXPECT_EQ(tray.icons[8], tray.icons[0]);
    EXPECT_EQ(tray.icons[9], tray.icons[1]);

    engine.suspendAll();
    for (int i = 0; i < 8; ++i) {
        clock.advanceMs(250);
        engine.tick();
    }
    EXPECT_EQ(tray.icons.size(), 10);
    engine.restartAll();
    engine.tick();
    EXPECT_EQ(tray.icons.size(), 11);

    // Handing over the frame it already shows costs nothing.
    presence().setTrayFrame(presence().trayFrame());
    EXPECT_EQ(tray.icons.size(), 11);
}

TEST_F(DesktopPresenceTest, ALeftClickShowsTheHiddenWindowOnlyPastTheShowPassword)
{
    presence().addTrayIcon();
    showPassword = false;
    tray.click(Click::Left);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_FALSE(window.isVisible());

    showPassword = true;
    tray.click(Click::Left);
    EXPECT_EQ(shown, QList<std::optional<Page>>{std::nullopt});
    EXPECT_TRUE(window.isVisible());

    // Already showing: brought forward, no password.
    tray.click(Click::Left);
    EXPECT_EQ(showPasswordsAsked, 2);
    EXPECT_EQ(shown.size(), 1);
}

TEST_F(DesktopPresenceTest, ARightClickNeverShowsTheWindowAndTheMenuIsThePanels)
{
    presence().addTrayIcon();
    tray.click(Click::Right);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(showPasswordsAsked, 0);
    ASSERT_TRUE(tray.menu);
    QStringList items;
    for (QAction *action : tray.menu->actions())
        items.append(action->text());
    EXPECT_EQ(items, QStringList({PresenceText::openItem(), QString(), PresenceText::exitItem()}));

    // "&Exit" goes through the close question.
    closeAllowed = false;
    tray.menu->actions().last()->trigger();
    EXPECT_EQ(closes, 0);
    closeAllowed = true;
    tray.menu->actions().last()->trigger();
    EXPECT_EQ(closes, 1);
}

TEST_F(DesktopPresenceTest, MinimisingHidesTheWindowIntoTheTrayOrTheMiniWindow)
{
    presence().addTrayIcon();
    jobsToday = 1;
    window.show();
    window.showMinimized();
    QApplication::processEvents();
    // Hidden, not minimised: no task-bar button can restore it past the password.
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());
    EXPECT_FALSE(presence().isMiniWindowVisible());

    settings.setBoolean(settings::MinimizeToSysTray, false);
    window.show();
    presence().minimise();
    EXPECT_FALSE(window.isVisible());
    ASSERT_TRUE(presence().isMiniWindowVisible());
    EXPECT_EQ(presence().miniForm().jobCount(), u"1 job today"_s);
    jobsToday = 0;
    presence().closeMiniWindow();
    presence().minimise();
    EXPECT_EQ(presence().miniForm().jobCount(), u"0 jobs today"_s);

    // With a tray to come back by, the window manager's close hides the mini window.
    presence().miniForm().close();
    EXPECT_FALSE(presence().isMiniWindowVisible());
}

TEST_F(DesktopPresenceTest, WithoutATrayTheMiniWindowIsTheWayBackAndStays)
{
    tray.available = false;
    presence().addTrayIcon();
    EXPECT_FALSE(presence().hasTrayIcon());

    // "As an icon" and minimising to the tray both fall back to the mini window.
    presence().startAs(1);
    EXPECT_TRUE(presence().isMiniWindowVisible());
    presence().closeMiniWindow();
    window.show();
    presence().minimise();
    EXPECT_FALSE(window.isVisible());
    ASSERT_TRUE(presence().isMiniWindowVisible());

    presence().miniForm().close();
    QApplication::processEvents();
    EXPECT_TRUE(presence().isMiniWindowVisible());
}

TEST_F(DesktopPresenceTest, TheMiniWindowsButtonsAskThePasswordsAndGoToTheirPages)
{
    presence().addTrayIcon();
    presence().showMiniWindow();
    showPassword = false;
    button("RestoreButton")->click();
    button("LogButton")->click();
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(presence().isMiniWindowVisible());

    showPassword = true;
    button("LogButton")->click();
    EXPECT_EQ(shown, QList<std::optional<Page>>{Page::Log});
    EXPECT_FALSE(presence().isMiniWindowVisible());
    presence().showMiniWindow();
    button("RestoreButton")->click();
    EXPECT_EQ(shown.last(), Page::Scheduler);
}

TEST_F(DesktopPresenceTest, ClosingFromTheMiniWindowBringsItBackWhenRefused)
{
    settings.setInteger(settings::MiniFormLeft, 150);
    settings.setInteger(settings::MiniFormTop, 120);
    presence().addTrayIcon();
    presence().showMiniWindow();
    EXPECT_EQ(presence().miniForm().pos(), QPoint(150, 120));
    presence().miniForm().move(170, 130);

    closeAllowed = false;
    button("CloseButton")->click();
    EXPECT_EQ(closes, 0);
    EXPECT_TRUE(presence().isMiniWindowVisible());
    EXPECT_EQ(settings.integer(settings::MiniFormLeft), 170);
    EXPECT_EQ(settings.integer(settings::MiniFormTop), 130);

    closeAllowed = true;
    button("CloseButton")->click();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(presence().isMiniWindowVisible());
}

TEST_F(DesktopPresenceTest, TheMiniWindowKeepsItsStoredSizeWithoutGrowing)
{
    presence().addTrayIcon();
    presence().showMiniWindow();
    const QSize designed = presence().miniForm().size();
    EXPECT_GE(designed.width(), 104);
    EXPECT_GE(designed.height(), 41);
    for (int i = 0; i < 3; ++i) {
        presence().closeMiniWindow();
        presence().showMiniWindow();
    }
    EXPECT_EQ(presence().miniForm().size(), designed);
    EXPECT_EQ(settings.integer(settings::MiniFormWidth), designed.width());
}
