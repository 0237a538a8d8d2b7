// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/logindsessioncontrol.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QObject>
#include <QProcess>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A GNOME session manager that only notes what it was asked.
class FakeGnomeSession : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.SessionManager")
public:
    QList<quint32> modes;
public Q_SLOTS:
    void Logout(quint32 mode) { modes.append(mode); }
};

// A logind session that notes whether it was terminated.
class FakeLogindManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    int sessionAsked = 0;
public Q_SLOTS:
    QDBusObjectPath GetSessionByPID(quint32) { ++sessionAsked; return QDBusObjectPath(u"/org/freedesktop/login1/session/_1"_s); }
};

// A private bus of our own: nothing reaches the desktop this test runs on.
class PrivateBus
{
public:
    PrivateBus()
    {
        m_daemon.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address"_s});
        if (!m_daemon.waitForStarted() || !m_daemon.waitForReadyRead(10000))
            return;
        const QString address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        m_connection = QDBusConnection::connectToBus(address, u"halvorn-test"_s);
    }
    ~PrivateBus()
    {
        QDBusConnection::disconnectFromBus(u"halvorn-test"_s);
        m_daemon.kill();
        m_daemon.waitForFinished();
    }
    QDBusConnection connection() const { return m_connection; }

private:
    QProcess m_daemon;
    QDBusConnection m_connection{u"none"_s};
};

TEST(SessionControl, ALogOffAsksTheSessionManagerOnlyAForcedOneTerminates)
{
    PrivateBus bus;
    QDBusConnection connection = bus.connection();
    ASSERT_TRUE(connection.isConnected());
    // One connection for both buses: calls to our own names are delivered in-process.
    LogindSessionControl control(connection, connection);

    // No session manager: the polite log-off fails and says so; logind is not asked.
    FakeLogindManager logind;
    ASSERT_TRUE(connection.registerService(u"org.freedesktop.login1"_s));
    ASSERT_TRUE(connection.registerObject(u"/org/freedesktop/login1"_s, &logind, QDBusConnection::ExportAllSlots));
    EXPECT_FALSE(control.request(SessionControl::Action::LogOff, false));
    EXPECT_EQ(control.lastRoute(), u"no session manager on the session bus"_s);
    EXPECT_EQ(logind.sessionAsked, 0);

    FakeGnomeSession gnome;
    ASSERT_TRUE(connection.registerService(u"org.gnome.SessionManager"_s));
    ASSERT_TRUE(connection.registerObject(u"/org/gnome/SessionManager"_s, &gnome, QDBusConnection::ExportAllSlots));
    EXPECT_TRUE(control.request(SessionControl::Action::LogOff, false));
    EXPECT_EQ(gnome.modes, QList<quint32>{1}); // no dialog, programs may still save
    EXPECT_EQ(control.lastRoute(), u"GNOME session manager"_s);
    EXPECT_EQ(logind.sessionAsked, 0);

    // Forced: logind's session, never the session manager.
    control.request(SessionControl::Action::LogOff, true);
    EXPECT_EQ(logind.sessionAsked, 1);
    EXPECT_EQ(gnome.modes.size(), 1);
    EXPECT_EQ(control.lastRoute(), u"logind, the session terminated"_s);
}

} // namespace

#include "sessioncontrol_test.moc"
