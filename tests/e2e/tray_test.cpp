// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/registry.h"
#include "store/setting.h"
#include "store/settings.h"
#include "support/tempprofile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

bool waitUntil(const std::function<bool()> &condition, int ms = 30000)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (condition())
            return true;
        QThread::msleep(100);
    }
    return condition();
}

// An X display of its own with a window manager and a tray host.
class Desktop
{
public:
    static QStringList missingTools()
    {
        QStringList missing;
        for (const QString &tool : {u"Xvfb"_s, u"jwm"_s, u"trayer"_s, u"xdotool"_s, u"xwininfo"_s, u"xprop"_s})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                missing.append(tool);
        return missing;
    }

    explicit Desktop(const TempProfile &profile)
    {
        for (m_number = 600; m_number < 700; ++m_number)
            if (!QFile::exists(u"/tmp/.X%1-lock"_s.arg(m_number)))
                break;
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(u"DISPLAY"_s, u":%1"_s.arg(m_number));
        // The XEmbed tray of the panel, not a StatusNotifier host on some session bus.
        m_env.remove(u"DBUS_SESSION_BUS_ADDRESS"_s);
        m_env.remove(u"QT_QPA_PLATFORM"_s);
        m_env.insert(u"HOME"_s, profile.root());
        QFile rc(profile.path(u".jwmrc"_s));
        if (rc.open(QIODevice::WriteOnly))
            rc.write("<?xml version=\"1.0\"?><JWM></JWM>\n");
        start(m_server, u"Xvfb"_s, {u":%1"_s.arg(m_number), u"-screen"_s, u"0"_s, u"800x600x24"_s});
        m_ready = waitUntil([this] { return QFile::exists(u"/tmp/.X11-unix/X%1"_s.arg(m_number)); });
        start(m_manager, u"jwm"_s, {});
        start(m_tray, u"trayer"_s, {u"--edge"_s, u"top"_s, u"--align"_s, u"right"_s, u"--widthtype"_s,
            u"pixel"_s, u"--width"_s, u"100"_s, u"--height"_s, u"32"_s});
    }
    ~Desktop()
    {
        for (QProcess *p : {&m_tray, &m_manager, &m_server}) {
            p->terminate();
            p->waitForFinished(10000);
        }
    }

    bool ready() const { return m_ready; }
    const QProcessEnvironment &environment() const { return m_env; }

    // Output of an X tool on this display.
    QString run(const QString &tool, const QStringList &arguments) const
    {
        QProcess p;
        p.setProcessEnvironment(m_env);
        p.start(tool, arguments);
        p.waitForFinished(20000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    QStringList windows(const QStringList &search) const
    {
        return run(u"xdotool"_s, QStringList{u"search"_s} + search).split(u'\n', Qt::SkipEmptyParts);
    }
    bool viewable(const QString &window) const
    {
        return run(u"xwininfo"_s, {u"-id"_s, window}).contains(u"IsViewable"_s);
    }

private:
    void start(QProcess &process, const QString &program, const QStringList &arguments)
    {
        process.setProcessEnvironment(m_env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(program, arguments);
        process.waitForStarted();
    }

    int m_number = 600;
    bool m_ready = false;
    QProcessEnvironment m_env;
    QProcess m_server;
    QProcess m_manager;
    QProcess m_tray;
};

TEST(Tray, TheIconAppearsInThePanelAndTheMinimisedWindowHidesIntoIt)
{
    const QStringList missing = Desktop::missingTools();
    if (!missing.isEmpty())
        GTEST_SKIP() << "needs " << missing.join(u", "_s).toStdString();
    TempProfile profile;
    {
        Registry registry;
        Settings settings(registry);
        settings.setText(settings::InstalledVersion, u"1.30"_s);
    }
    Desktop desktop(profile);
    ASSERT_TRUE(desktop.ready());
    ASSERT_TRUE(waitUntil([&] { return !desktop.windows({u"--class"_s, u"trayer"_s}).isEmpty(); }));
    const auto inPanel = [&] {
        for (const QString &panel : desktop.windows({u"--class"_s, u"trayer"_s}))
            if (desktop.run(u"xwininfo"_s, {u"-tree"_s, u"-id"_s, panel}).contains(u"voltrane"_s))
                return true;
        return false;
    };

    QProcess program;
    program.setProcessEnvironment(desktop.environment());
    program.start(QStringLiteral(VOLTRANE), {});
    ASSERT_TRUE(program.waitForStarted());

    // The icon is a window embedded in the panel; the main window is the big one.
    QString icon;
    QString window;
    ASSERT_TRUE(waitUntil([&] {
        // Qt's helper windows are 1 pixel wide; the icon is panel-sized.
        static const QRegularExpression widthLine(u"Width: (\\d+)"_s);
        for (const QString &id : desktop.windows({u"--onlyvisible"_s, u"--classname"_s, u"voltrane"_s})) {
            const int width = widthLine.match(desktop.run(u"xwininfo"_s, {u"-id"_s, id})).captured(1).toInt();
            if (width >= 8 && width < 64)
                icon = id;
            else if (width >= 200)
                window = id;
        }
        return !icon.isEmpty() && !window.isEmpty() && inPanel();
    })) << "no icon in the panel, or no main window";

    // Hidden (withdrawn), not iconified: no task-bar entry can bring it back past the
    // show password.
    desktop.run(u"xdotool"_s, {u"windowminimize"_s, window});
    EXPECT_TRUE(waitUntil([&] {
        return !desktop.viewable(window)
            && !desktop.run(u"xprop"_s, {u"-id"_s, window, u"WM_STATE"_s}).contains(u"Iconic"_s);
    }));
    EXPECT_TRUE(desktop.viewable(icon));
    EXPECT_TRUE(inPanel());

    // A left click on the icon brings the window back.
    desktop.run(u"xdotool"_s, {u"mousemove"_s, u"--window"_s, icon, u"8"_s, u"8"_s, u"click"_s, u"1"_s});
    EXPECT_TRUE(waitUntil([&] { return desktop.viewable(window); }));

    ::kill(pid_t(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(15000));
    EXPECT_EQ(program.exitCode(), 0);
}

} // namespace
