// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "platform/sessioncontrol.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QVariantList>

// Session control through systemd-logind on the system bus. Never asks the user
// (polkit's interactive authorisation stays off): a request that would need a password
// is refused. Without a system bus or without logind every request is refused.
//
// Log off asks the desktop's session manager on the session bus (GNOME and those that
// share its interface, Cinnamon, KDE Plasma, Xfce, LXQt) for a log-off that lets programs
// save their work; without one it fails. Only a forced log-off terminates the logind
// session of this process, or for a program outside any session (a user service) the
// user's display session. Force skips logind's block
// inhibitors where logind offers that (systemd 257 and later, still subject to polkit);
// older logind ignores them itself for root and for the user who holds them. Delay
// inhibitors are always waited for, up to logind's own limit; log off has none.
class LogindSessionControl final : public SessionControl
{
public:
    // `bus` is the system bus unless a test gives another one.
    // `sessionBus` is the user's session bus, with the desktop's session manager.
    explicit LogindSessionControl(const QDBusConnection &bus = QDBusConnection::systemBus(),
        const QDBusConnection &sessionBus = QDBusConnection::sessionBus());

    bool enableShutdownPrivilege() override;
    bool request(Action action, bool force) override;
    QString lastRoute() const override { return m_route; }

private:
    QDBusMessage call(const QString &path, const QString &interface, const QString &method,
        const QVariantList &arguments = {});
    bool powerAction(const QString &method, bool force);
    bool terminateOwnSession();
    bool politeLogOff();
    QString ownSessionPath();

    QDBusConnection m_bus;
    QDBusConnection m_sessionBus;
    QString m_route;
};
