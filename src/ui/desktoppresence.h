// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "ui/trayframes.h"
#include "ui/trayicon.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

class MiniForm;
class QMenu;
class QWidget;
class Settings;

// How the program stays reachable while its main window is hidden: the tray icon and the
// mini window. It catches the main window's minimising and hides the window instead, so
// no task-bar button can bring it back past the show password; where the desktop has no
// tray, the mini window takes the tray icon's place.
class DesktopPresence : public QObject
{
    Q_OBJECT
public:
    enum class Page { Scheduler, Log };

    // What it asks of the main window. Unset hooks: the window shows as it is, nothing
    // is guarded, closing is allowed and closes the window.
    struct Hooks
    {
        // Shows the main window, on the given page or as it was.
        std::function<void(std::optional<Page>)> showMain;
        // The show password of a left click on the tray icon and of the mini window.
        std::function<bool()> allowShow;
        // The show password of the menu item "&Open".
        std::function<bool()> allowOpen;
        // The close question (close password): true when the program may end.
        std::function<bool()> askClose;
        // Closes the main window without asking again; the program ends.
        std::function<void()> closeWithoutAsking;
        // The number of jobs in today's timer queue.
        std::function<int()> jobsToday;
    };

    DesktopPresence(QWidget *mainWindow, TrayIcon &tray, Settings &settings, Hooks hooks,
        QObject *parent = nullptr);
    ~DesktopPresence() override;

    void addTrayIcon();
    void removeTrayIcon();
    // True while a tray icon is there to bring the window back.
    bool hasTrayIcon() const;
    // The animation frame, 0 to 7; the icon changes only when the frame does.
    void setTrayFrame(int frame);
    int trayFrame() const { return m_frame; }

    MiniForm &miniForm() { return *m_mini; }
    bool isMiniWindowVisible() const;
    void showMiniWindow();
    void closeMiniWindow();
    void setMiniJobCount(const QString &text);
    void setMiniCaption(const QString &text);

    // The main window was minimised: hide it, and show the mini window unless the tray
    // icon is to be the way back (bMinimizeToSysTray and a tray to hold it).
    void minimise();
    // After the start-up, for iStartAsWindow: 0 the window is shown by its owner, 2 the
    // engine's first tick shows the mini window; any other value leaves only the tray
    // icon, or the mini window where there is no tray.
    void startAs(int mode);

    // "&Open", separator, "&Exit": the menu of a right click on the tray icon.
    QMenu *trayMenu() const { return m_menu; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void trayClicked(TrayIcon::Click click);
    void showMain(std::optional<Page> page);
    bool allow(const std::function<bool()> &check) const { return !check || check(); }
    void restoreFromMini(Page page);
    void closeFromMini();
    void exitProgram();

    QPointer<QWidget> m_main;
    TrayIcon &m_tray;
    Settings &m_settings;
    Hooks m_hooks;
    TrayFrames m_frames;
    MiniForm *m_mini;
    QMenu *m_menu;
    bool m_registered = false;
    int m_frame = 0;
    bool m_minimisePending = false;
};
