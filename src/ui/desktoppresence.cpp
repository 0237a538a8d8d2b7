// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/desktoppresence.h"

#include "ui/miniform.h"
#include "ui/presencetext.h"

#include <QWidget>

DesktopPresence::DesktopPresence(QWidget *mainWindow, TrayIcon &tray, Settings &settings,
    Hooks hooks, QObject *parent)
    : QObject(parent), m_main(mainWindow), m_tray(tray), m_hooks(std::move(hooks)),
      m_mini(new MiniForm(settings))
{
    m_mini->setWindowTitle(QString());
    m_mini->setMayHide([this] { return hasTrayIcon() || (m_main && m_main->isVisible()); });
    connect(m_mini, &MiniForm::restoreClicked, this, [this] { restoreFromMini(Page::Scheduler); });
    connect(m_mini, &MiniForm::logClicked, this, [this] { restoreFromMini(Page::Log); });
    connect(m_mini, &MiniForm::closeClicked, this, &DesktopPresence::closeFromMini);
    connect(&m_tray, &TrayIcon::clicked, this, &DesktopPresence::trayClicked);
}

DesktopPresence::~DesktopPresence()
{
    m_tray.setContextMenu(nullptr);
    delete m_mini;
}

void DesktopPresence::setTrayMenu(QMenu *menu) { m_tray.setContextMenu(menu); }

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

void DesktopPresence::trayClicked(TrayIcon::Click click)
{
    // A right click only opens the menu, which the panel or QSystemTrayIcon shows.
    if (click != TrayIcon::Click::Left || !m_main)
        return;
    if (m_main->isVisible() && !m_main->isMinimized()) {
        m_main->raise();
        m_main->activateWindow();
    } else if (m_hooks.showFromTray) {
        m_hooks.showFromTray();
    } else {
        m_main->showNormal();
    }
}

void DesktopPresence::restoreFromMini(Page page)
{
    // A refused password leaves the mini window as it is.
    if (m_hooks.restore) {
        if (!m_hooks.restore(page))
            return;
    } else if (m_main) {
        m_main->showNormal();
    }
    closeMiniWindow();
}

void DesktopPresence::closeFromMini()
{
    m_mini->closeStored();
    const bool closed = m_hooks.close ? m_hooks.close() : (m_main && m_main->close());
    if (!closed)
        m_mini->showStored();
}
