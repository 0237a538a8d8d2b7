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
// Log off ends the logind session of this process; a program outside any session (a
// user service) ends the user's display session instead. Force skips logind's block
// inhibitors where logind offers that (systemd 257 and later, still subject to polkit);
// older logind ignores them itself for root and for the user who holds them. Delay
// inhibitors are always waited for, up to logind's own limit; log off has none.
class LogindSessionControl final : public SessionControl
{
public:
    // `bus` is the system bus unless a test gives another one.
    explicit LogindSessionControl(const QDBusConnection &bus = QDBusConnection::systemBus());

    bool enableShutdownPrivilege() override;
    bool request(Action action, bool force) override;

private:
    QDBusMessage call(const QString &path, const QString &interface, const QString &method,
        const QVariantList &arguments = {});
    bool powerAction(const QString &method, bool force);
    bool terminateOwnSession();
    QString ownSessionPath();

    QDBusConnection m_bus;
};
