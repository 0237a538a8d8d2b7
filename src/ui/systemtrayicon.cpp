// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/systemtrayicon.h"

#include <QSystemTrayIcon>

SystemTrayIcon::SystemTrayIcon(QObject *parent) : TrayIcon(parent), m_icon(new QSystemTrayIcon(this))
{
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        switch (reason) {
        case QSystemTrayIcon::Trigger:
        case QSystemTrayIcon::DoubleClick:
            emit clicked(Click::Left);
            break;
        case QSystemTrayIcon::Context:
            emit clicked(Click::Right);
            break;
        default:
            break;
        }
    });
}

bool SystemTrayIcon::isSystemTrayAvailable() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

bool SystemTrayIcon::add(const QIcon &icon, const QString &tip)
{
    m_icon->setIcon(icon);
    m_icon->setToolTip(tip);
    m_icon->show();
    return isSystemTrayAvailable();
}

void SystemTrayIcon::change(const QIcon &icon) { m_icon->setIcon(icon); }

void SystemTrayIcon::remove() { m_icon->hide(); }

void SystemTrayIcon::setContextMenu(QMenu *menu) { m_icon->setContextMenu(menu); }
