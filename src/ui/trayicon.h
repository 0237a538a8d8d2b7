// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QObject>

class QIcon;
class QMenu;

// The icon in the panel's notification area. One implementation on QSystemTrayIcon;
// tests use a double that records what is shown and clicks on demand.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    enum class Click { Left, Right };

    using QObject::QObject;

    // Whether the desktop has a notification area at all (X11 tray or a
    // StatusNotifier host on D-Bus).
    virtual bool isSystemTrayAvailable() const = 0;
    // Shows the icon; false when there is no notification area to take it.
    virtual bool add(const QIcon &icon, const QString &tip) = 0;
    virtual void change(const QIcon &icon) = 0;
    virtual void remove() = 0;
    // The menu of a right click. Many panels export it over D-Bus and open it themselves,
    // so it is handed over rather than shown by the program. Not owned.
    virtual void setContextMenu(QMenu *menu) = 0;

signals:
    void clicked(TrayIcon::Click click);
};
