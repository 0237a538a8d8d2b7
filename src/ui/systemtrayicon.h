// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "ui/trayicon.h"

class QSystemTrayIcon;

class SystemTrayIcon final : public TrayIcon
{
    Q_OBJECT
public:
    explicit SystemTrayIcon(QObject *parent = nullptr);

    bool isSystemTrayAvailable() const override;
    bool add(const QIcon &icon, const QString &tip) override;
    void change(const QIcon &icon) override;
    void remove() override;
    void setContextMenu(QMenu *menu) override;

private:
    QSystemTrayIcon *m_icon;
};
