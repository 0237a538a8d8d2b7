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

#include <QApplication>
#include <QCloseEvent>
#include <QMainWindow>
#include <QMenu>
#include <QToolButton>
#include <QtTest/qtestspontaneevent.h>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Click = TrayIcon::Click;
using Page = DesktopPresence::Page;

namespace {

// A close by the window manager, as opposed to one by the program.
bool closeByWindowManager(QWidget &window)
{
    QCloseEvent event;
    QSpontaneKeyEvent::setSpontaneous(&event);
    // Straight to the handler: sendEvent would mark the event as the program's own.
    static_cast<QObject &>(window).event(&event);
    return event.isAccepted();
}

class DesktopPresenceTest : public ::testing::Test
{
protected:
    DesktopPresenceTest()
    {
        hooks.showFromTray = [this] {
            ++trayShows;
            window.show();
        };
        hooks.restore = [this](Page page) {
            restores.append(page);
            if (showPassword)
                window.show();
            return showPassword;
        };
        hooks.close = [this] {
            ++closeQuestions;
            return closeAllowed;
        };
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
    int trayShows = 0;
    QList<Page> restores;
    bool showPassword = true;
    bool closeAllowed = true;
    int closeQuestions = 0;

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

TEST_F(DesktopPresenceTest, ALeftClickShowsTheHiddenWindowARightClickNever)
{
    presence().addTrayIcon();
    tray.click(Click::Right);
    EXPECT_FALSE(window.isVisible());
    tray.click(Click::Left);
    EXPECT_EQ(trayShows, 1);
    EXPECT_TRUE(window.isVisible());
    // Already showing: brought forward without asking again.
    tray.click(Click::Left);
    EXPECT_EQ(trayShows, 1);
    QMenu menu;
    presence().setTrayMenu(&menu);
    EXPECT_EQ(tray.menu, &menu);
}

TEST_F(DesktopPresenceTest, AWindowManagerCloseHidesTheMiniWindowOnlyWithATrayToComeBackBy)
{
    tray.available = false;
    presence().addTrayIcon();
    EXPECT_FALSE(presence().hasTrayIcon());
    presence().showMiniWindow();
    EXPECT_FALSE(closeByWindowManager(presence().miniForm()));
    EXPECT_TRUE(presence().isMiniWindowVisible());

    tray.available = true;
    presence().addTrayIcon();
    closeByWindowManager(presence().miniForm());
    EXPECT_FALSE(presence().isMiniWindowVisible());

    // The program's end closes it in any case: QApplication::quit closes every window.
    tray.available = false;
    presence().showMiniWindow();
    presence().miniForm().move(130, 140);
    EXPECT_TRUE(presence().miniForm().close());
    EXPECT_FALSE(presence().isMiniWindowVisible());
    EXPECT_EQ(settings.integer(settings::MiniFormLeft), 130);
}

TEST_F(DesktopPresenceTest, TheMiniWindowsButtonsGoToTheirPagesAndARefusalKeepsIt)
{
    presence().addTrayIcon();
    presence().showMiniWindow();
    showPassword = false;
    button("RestoreButton")->click();
    button("LogButton")->click();
    EXPECT_EQ(restores, QList<Page>({Page::Scheduler, Page::Log}));
    EXPECT_TRUE(presence().isMiniWindowVisible());
    EXPECT_FALSE(window.isVisible());

    showPassword = true;
    button("LogButton")->click();
    EXPECT_EQ(restores.last(), Page::Log);
    EXPECT_FALSE(presence().isMiniWindowVisible());
    EXPECT_TRUE(window.isVisible());
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
    EXPECT_EQ(closeQuestions, 1);
    EXPECT_TRUE(presence().isMiniWindowVisible());
    EXPECT_EQ(settings.integer(settings::MiniFormLeft), 170);
    EXPECT_EQ(settings.integer(settings::MiniFormTop), 130);

    closeAllowed = true;
    button("CloseButton")->click();
    EXPECT_EQ(closeQuestions, 2);
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
