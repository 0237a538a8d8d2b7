// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "ui/trayicon.h"

#include <QIcon>
#include <QList>
#include <QMenu>
#include <QPointer>

// A tray icon for tests: records what it was given; click() plays a mouse click.
class FakeTrayIcon final : public TrayIcon
{
public:
    bool available = true;
    bool shown = false;
    QString tip;
    // cacheKey of every icon shown, the added one first.
    QList<qint64> icons;
    QPointer<QMenu> menu;

    bool isSystemTrayAvailable() const override { return available; }
    bool add(const QIcon &icon, const QString &text) override
    {
        icons.append(icon.cacheKey());
        tip = text;
        shown = available;
        return available;
    }
    void change(const QIcon &icon) override { icons.append(icon.cacheKey()); }
    void remove() override { shown = false; }
    void setContextMenu(QMenu *m) override { menu = m; }

    void click(Click which) { emit clicked(which); }
};
