// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/logindsessioncontrol.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusObjectPath>
#include <QDBusVariant>

using namespace Qt::StringLiterals;

namespace {
const QString service = u"org.freedesktop.login1"_s;
const QString managerPath = u"/org/freedesktop/login1"_s;
const QString managerInterface = u"org.freedesktop.login1.Manager"_s;
const QString sessionInterface = u"org.freedesktop.login1.Session"_s;
const QString userInterface = u"org.freedesktop.login1.User"_s;
const QString propertiesInterface = u"org.freedesktop.DBus.Properties"_s;
const QString peerInterface = u"org.freedesktop.DBus.Peer"_s;
const QString unknownMethod = u"org.freedesktop.DBus.Error.UnknownMethod"_s;
const QString invalidArgs = u"org.freedesktop.DBus.Error.InvalidArgs"_s;

// SD_LOGIND_SKIP_INHIBITORS of the *WithFlags methods.
constexpr quint64 skipInhibitors = quint64(1) << 4;
// The calls block the timer tick; logind answers at once unless it is stuck.
constexpr int callTimeoutMs = 10000;
// PID 0 names the calling process: logind takes it from the bus, which also holds
// inside a PID namespace.
constexpr quint32 callerPid = 0;

bool accepted(const QDBusMessage &reply)
{
    return reply.type() == QDBusMessage::ReplyMessage;
}

// The session managers that log off politely, asking programs first, without a dialog.
struct SessionManager
{
    const char16_t *desktop;
    const char16_t *service;
    const char16_t *path;
    const char16_t *interface;
    const char16_t *method;
    QVariantList arguments;
};

const SessionManager &sessionManager(int i);
constexpr int sessionManagerCount = 6;

const SessionManager &sessionManager(int i)
{
    // GNOME's mode 1: no confirmation, inhibitors (unsaved work) still honoured. Xfce's
    // arguments: no dialog, allow saving. KSMServer's: no confirmation, log off, when ready.
    static const SessionManager managers[sessionManagerCount] = {
        {u"GNOME", u"org.gnome.SessionManager", u"/org/gnome/SessionManager",
            u"org.gnome.SessionManager", u"Logout", {QVariant::fromValue(quint32(1))}},
        {u"Cinnamon", u"org.cinnamon.SessionManager", u"/org/gnome/SessionManager",
            u"org.cinnamon.SessionManager", u"Logout", {QVariant::fromValue(quint32(1))}},
        {u"KDE Plasma", u"org.kde.Shutdown", u"/Shutdown", u"org.kde.Shutdown", u"logout", {}},
        {u"KDE Plasma", u"org.kde.ksmserver", u"/KSMServer", u"org.kde.KSMServerInterface",
            u"logout", {0, 0, 0}},
        {u"Xfce", u"org.xfce.SessionManager", u"/org/xfce/SessionManager",
            u"org.xfce.Session.Manager", u"Logout", {false, true}},
        {u"LXQt", u"org.lxqt.session", u"/LXQtSession", u"org.lxqt.session", u"logout", {}},
    };
    return managers[i];
}

} // namespace

LogindSessionControl::LogindSessionControl(const QDBusConnection &bus, const QDBusConnection &sessionBus)
    : m_bus(bus), m_sessionBus(sessionBus)
{
}

QDBusMessage LogindSessionControl::call(const QString &path, const QString &interface,
    const QString &method, const QVariantList &arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    // No password dialogs: the scheduler acts unattended.
    message.setInteractiveAuthorizationAllowed(false);
    return m_bus.call(message, QDBus::Block, callTimeoutMs);
}

bool LogindSessionControl::enableShutdownPrivilege()
{
    // polkit authorises each request; there is nothing to enable, only logind to reach.
    if (!m_bus.isConnected())
        return false;
    return accepted(call(managerPath, peerInterface, u"Ping"_s));
}

bool LogindSessionControl::request(Action action, bool force)
{
    m_route.clear();
    if (action == Action::LogOff && !force)
        return politeLogOff();
    if (!m_bus.isConnected())
        return false;
    switch (action) {
    case Action::LogOff:
        m_route = u"logind, the session terminated"_s;
        return terminateOwnSession();
    case Action::Halt:
        return powerAction(u"Halt"_s, force);
    case Action::PowerOff:
        return powerAction(u"PowerOff"_s, force);
    case Action::Reboot:
        return powerAction(u"Reboot"_s, force);
    }
    return false;
}

bool LogindSessionControl::powerAction(const QString &method, bool force)
{
    if (force) {
        const QDBusMessage reply = call(managerPath, managerInterface, method + u"WithFlags"_s,
            { QVariant::fromValue(skipInhibitors) });
        if (accepted(reply))
            return true;
        // Only a logind that does not know the method or the flag gets the plain call;
        // a refusal stays a refusal.
        if (reply.errorName() != unknownMethod && reply.errorName() != invalidArgs)
            return false;
    }
    // The argument is polkit's "interactive": false.
    return accepted(call(managerPath, managerInterface, method, { false }));
}

bool LogindSessionControl::politeLogOff()
{
    // logind's Terminate would kill every program of the session with its unsaved work.
    m_route = u"no session manager on the session bus"_s;
    if (!m_sessionBus.isConnected())
        return false;
    for (int i = 0; i < sessionManagerCount; ++i) {
        const SessionManager &m = sessionManager(i);
        const QString name = QString::fromUtf16(m.service);
        if (!m_sessionBus.interface() || !m_sessionBus.interface()->isServiceRegistered(name))
            continue;
        QDBusMessage message = QDBusMessage::createMethodCall(name, QString::fromUtf16(m.path),
            QString::fromUtf16(m.interface), QString::fromUtf16(m.method));
        message.setArguments(m.arguments);
        m_route = QString::fromUtf16(m.desktop) + u" session manager"_s;
        if (accepted(m_sessionBus.call(message, QDBus::Block, callTimeoutMs)))
            return true;
    }
    return false;
}

bool LogindSessionControl::terminateOwnSession()
{
    const QString path = ownSessionPath();
    if (path.isEmpty())
        return false;
    return accepted(call(path, sessionInterface, u"Terminate"_s));
}

QString LogindSessionControl::ownSessionPath()
{
    const QDBusMessage bySession = call(
        managerPath, managerInterface, u"GetSessionByPID"_s, { QVariant::fromValue(callerPid) });
    if (accepted(bySession) && !bySession.arguments().isEmpty())
        return qdbus_cast<QDBusObjectPath>(bySession.arguments().constFirst()).path();

    // Outside any session (a user service): the session the user sits at.
    const QDBusMessage byUser = call(
        managerPath, managerInterface, u"GetUserByPID"_s, { QVariant::fromValue(callerPid) });
    if (!accepted(byUser) || byUser.arguments().isEmpty())
        return QString();
    const QString userPath = qdbus_cast<QDBusObjectPath>(byUser.arguments().constFirst()).path();
    const QDBusMessage display
        = call(userPath, propertiesInterface, u"Get"_s, { userInterface, u"Display"_s });
    if (!accepted(display) || display.arguments().isEmpty())
        return QString();
    // Display is a struct (session id, session path); an empty id means none.
    const QDBusArgument argument = qdbus_cast<QDBusVariant>(display.arguments().constFirst())
                                       .variant()
                                       .value<QDBusArgument>();
    QString id;
    QDBusObjectPath path;
    argument.beginStructure();
    argument >> id >> path;
    argument.endStructure();
    return id.isEmpty() ? QString() : path.path();
}
