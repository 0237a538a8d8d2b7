// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// A panel for the tray benchmark: a StatusNotifierWatcher and host on the session bus that
// fetches the icon at every NewIcon, as a panel does. After the given number of seconds it
// prints what it received and ends.
// Usage: fakepanel SECONDS

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

class Panel : public QObject
{
    Q_OBJECT
public:
    qint64 newIcons = 0;
    qint64 fetches = 0;
    qint64 bytes = 0;
    QString item;

public slots:
    void newIcon()
    {
        ++newIcons;
        QDBusMessage get = QDBusMessage::createMethodCall(item, QStringLiteral("/StatusNotifierItem"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get << QStringLiteral("org.kde.StatusNotifierItem") << QStringLiteral("IconPixmap");
        auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(get), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
            w->deleteLater();
            const QDBusMessage reply = w->reply();
            if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
                return;
            ++fetches;
            const QDBusArgument arg =
                reply.arguments().at(0).value<QDBusVariant>().variant().value<QDBusArgument>();
            arg.beginArray();
            while (!arg.atEnd()) {
                int width = 0, height = 0;
                QByteArray data;
                arg.beginStructure();
                arg >> width >> height >> data;
                arg.endStructure();
                bytes += data.size();
            }
            arg.endArray();
        });
    }
};

class Watcher : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
public:
    Watcher(QObject *parent, Panel &panel) : QDBusAbstractAdaptor(parent), m_panel(panel) {}
    bool isHostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList items() const { return m_panel.item.isEmpty() ? QStringList() : QStringList{m_panel.item}; }

public slots:
    void RegisterStatusNotifierItem(const QString &service)
    {
        // Qt registers with its unique bus name.
        m_panel.item = service.startsWith(u'/') ? QString() : service;
        QDBusConnection::sessionBus().connect(m_panel.item, QStringLiteral("/StatusNotifierItem"),
            QStringLiteral("org.kde.StatusNotifierItem"), QStringLiteral("NewIcon"), &m_panel,
            SLOT(newIcon()));
        std::printf("item registered: %s\n", qPrintable(service));
        std::fflush(stdout);
    }
    void RegisterStatusNotifierHost(const QString &) {}

signals:
    void StatusNotifierItemRegistered(const QString &);
    void StatusNotifierHostRegistered();

private:
    Panel &m_panel;
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? QByteArray(argv[1]).toInt() : 30;
    Panel panel;
    QObject root;
    new Watcher(&root, panel);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &root)
        || !bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"))) {
        std::fprintf(stderr, "fakepanel: cannot take the watcher's name on the session bus\n");
        return 1;
    }
    std::printf("watcher ready\n");
    std::fflush(stdout);
    QTimer::singleShot(seconds * 1000, &app, [&] {
        std::printf("NewIcon signals: %lld in %d s\nicon fetches: %lld, %lld bytes each\n",
            panel.newIcons, seconds, panel.fetches, panel.fetches ? panel.bytes / panel.fetches : 0);
        QCoreApplication::quit();
    });
    return app.exec();
}

#include "fakepanel.moc"
