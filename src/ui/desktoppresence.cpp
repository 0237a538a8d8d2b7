// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/desktoppresence.h"

#include "engine/enginetext.h"
#include "store/settings.h"
#include "ui/miniform.h"
#include "ui/presencetext.h"

#include <QEvent>
#include <QMenu>
#include <QTimer>
#include <QWidget>

DesktopPresence::DesktopPresence(QWidget *mainWindow, TrayIcon &tray, Settings &settings,
    Hooks hooks, QObject *parent)
    : QObject(parent), m_main(mainWindow), m_tray(tray), m_settings(settings),
      m_hooks(std::move(hooks)), m_mini(new MiniForm(settings)), m_menu(new QMenu)
{
    m_mini->setWindowTitle(QString());
    m_mini->setMayHide([this] { return hasTrayIcon() || (m_main && m_main->isVisible()); });
    connect(m_mini, &MiniForm::restoreClicked, this, [this] { restoreFromMini(Page::Scheduler); });
    connect(m_mini, &MiniForm::logClicked, this, [this] { restoreFromMini(Page::Log); });
    connect(m_mini, &MiniForm::closeClicked, this, &DesktopPresence::closeFromMini);

    m_menu->addAction(PresenceText::openItem(), this, [this] {
        if (allow(m_hooks.allowOpen))
            showMain(std::nullopt);
    });
    m_menu->addSeparator();
    m_menu->addAction(PresenceText::exitItem(), this, &DesktopPresence::exitProgram);
    m_tray.setContextMenu(m_menu);
    connect(&m_tray, &TrayIcon::clicked, this, &DesktopPresence::trayClicked);
    if (m_main)
        m_main->installEventFilter(this);
}

DesktopPresence::~DesktopPresence()
{
    m_tray.setContextMenu(nullptr);
    delete m_menu;
    delete m_mini;
}

void DesktopPresence::addTrayIcon()
{
    m_frame = 0;
    m_registered = m_tray.add(m_frames.frame(0), PresenceText::trayTip());
}

void DesktopPresence::removeTrayIcon()
{
    if (m_registered)
        m_tray.remove();
    m_registered = false;
}

bool DesktopPresence::hasTrayIcon() const { return m_registered && m_tray.isSystemTrayAvailable(); }

void DesktopPresence::setTrayFrame(int frame)
{
    frame = ((frame % TrayFrames::count) + TrayFrames::count) % TrayFrames::count;
    if (!m_registered || frame == m_frame)
        return;
    m_frame = frame;
    m_tray.change(m_frames.frame(frame));
}

bool DesktopPresence::isMiniWindowVisible() const { return m_mini->isVisible(); }

void DesktopPresence::showMiniWindow()
{
    if (!m_mini->isVisible())
        m_mini->showStored();
}

void DesktopPresence::closeMiniWindow()
{
    if (m_mini->isVisible())
        m_mini->closeStored();
}

void DesktopPresence::setMiniJobCount(const QString &text) { m_mini->setJobCount(text); }

void DesktopPresence::setMiniCaption(const QString &text) { m_mini->setWindowTitle(text); }

void DesktopPresence::minimise()
{
    m_minimisePending = false;
    if (m_main) {
        m_main->setWindowState(m_main->windowState() & ~Qt::WindowMinimized);
        m_main->hide();
    }
    if (m_settings.boolean(settings::MinimizeToSysTray) && hasTrayIcon())
        return;
    setMiniJobCount(EngineText::jobsToday(m_hooks.jobsToday ? m_hooks.jobsToday() : 0));
    showMiniWindow();
}

void DesktopPresence::startAs(int mode)
{
    if (mode == 0 || mode == 2 || hasTrayIcon())
        return;
    setMiniJobCount(EngineText::jobsToday(m_hooks.jobsToday ? m_hooks.jobsToday() : 0));
    showMiniWindow();
}

bool DesktopPresence::eventFilter(QObject *watched, QEvent *event)
{
    // Minimised by the window manager or by the user: hidden at once instead, after the
    // state change has been handled.
    if (watched == m_main && event->type() == QEvent::WindowStateChange && m_main->isMinimized()
        && !m_minimisePending) {
        m_minimisePending = true;
        QTimer::singleShot(0, this, &DesktopPresence::minimise);
    }
    return QObject::eventFilter(watched, event);
}

void DesktopPresence::trayClicked(TrayIcon::Click click)
{
    // A right click only opens the menu, which the panel or QSystemTrayIcon shows.
    if (click != TrayIcon::Click::Left || !m_main)
        return;
    if (m_main->isVisible() && !m_main->isMinimized()) {
        m_main->raise();
        m_main->activateWindow();
        return;
    }
    if (allow(m_hooks.allowShow))
        showMain(std::nullopt);
}

void DesktopPresence::showMain(std::optional<Page> page)
{
    if (m_hooks.showMain) {
        m_hooks.showMain(page);
        return;
    }
    if (!m_main)
        return;
    m_main->showNormal();
    m_main->raise();
    m_main->activateWindow();
}

void DesktopPresence::restoreFromMini(Page page)
{
    // A refused password leaves the mini window as it is.
    if (!allow(m_hooks.allowShow))
        return;
    closeMiniWindow();
    showMain(page);
}

void DesktopPresence::closeFromMini()
{
    m_mini->closeStored();
    if (!allow(m_hooks.askClose)) {
        m_mini->showStored();
        return;
    }
    if (m_hooks.closeWithoutAsking)
        m_hooks.closeWithoutAsking();
    else if (m_main)
        m_main->close();
}

void DesktopPresence::exitProgram()
{
    if (!allow(m_hooks.askClose))
        return;
    if (m_hooks.closeWithoutAsking)
        m_hooks.closeWithoutAsking();
    else if (m_main)
        m_main->close();
}
