// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "ui/trayframes.h"
#include "ui/trayhooks.h"
#include "ui/trayicon.h"

#include <QObject>
#include <QPointer>

#include <functional>

class MiniForm;
class QMenu;
class QWidget;
class Settings;

// The tray icon and the mini window beside the main window: how the program stays
// reachable while the main window is hidden. Passwords and the close question stay with
// the main window; this class asks for them through its hooks.
class DesktopPresence : public QObject, public TrayHooks
{
    Q_OBJECT
public:
    enum class Page { Scheduler, Log };

    // What it asks of the main window. Unset hooks: the window shows as it is and
    // closing is allowed.
    struct Hooks
    {
        // A left click on the icon while the window is hidden (asks the show password).
        std::function<void()> showFromTray;
        // A mini window button: asks the show password, then shows the window on `page`;
        // false when refused.
        std::function<bool(Page page)> restore;
        // The mini window's close button: the close question, and the end of the program
        // when it is allowed; false when refused.
        std::function<bool()> close;
    };

    DesktopPresence(QWidget *mainWindow, TrayIcon &tray, Settings &settings, Hooks hooks,
        QObject *parent = nullptr);
    ~DesktopPresence() override;

    // The menu of a right click ("&Open", "&Exit"). Not owned.
    void setTrayMenu(QMenu *menu);

    void addTrayIcon() override;
    void removeTrayIcon() override;
    bool hasTrayIcon() const override;
    // The icon changes only when the frame does.
    void setTrayFrame(int frame) override;
    int trayFrame() const { return m_frame; }

    MiniForm &miniForm() { return *m_mini; }
    bool hasMiniWindow() const override { return true; }
    bool isMiniWindowVisible() const override;
    void showMiniWindow() override;
    void closeMiniWindow() override;
    void setMiniJobCount(const QString &text) override;
    void setMiniCaption(const QString &text) override;

private:
    void trayClicked(TrayIcon::Click click);
    void restoreFromMini(Page page);
    void closeFromMini();

    QPointer<QWidget> m_main;
    TrayIcon &m_tray;
    Hooks m_hooks;
    TrayFrames m_frames;
    MiniForm *m_mini;
    bool m_registered = false;
    int m_frame = 0;
};
