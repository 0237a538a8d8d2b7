// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// voltrane: the scheduler on the desktop.

#include "engine/processdatalister.h"
#include "log/activitylog.h"
#include "platform/clock.h"
#include "platform/diskspace.h"
#include "platform/instancelock.h"
#include "platform/logindsessioncontrol.h"
#include "platform/posixprocesslauncher.h"
#include "platform/registry.h"
#include "platform/signalwatcher.h"
#include "store/jobstore.h"
#include "store/settings.h"
#include "ui/mainform.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("voltrane"));
    QApplication::setApplicationDisplayName(MainForm::caption);

    // One scheduler at a time, desktop or headless: a second start ends at once, silently.
    InstanceLock lock;
    if (!lock.tryAcquire()) {
        if (lock.errorString().isEmpty())
            return 0;
        std::fprintf(stderr, "voltrane: %s\n", lock.errorString().toLocal8Bit().constData());
        return 1;
    }
    Registry registry(Registry::Role::Scheduler);
    Settings settings(registry);
    JobStore store(registry);
    SystemClock clock;
    ActivityLog log(settings, clock);
    PosixProcessLauncher launcher;
    LogindSessionControl session;
    ProcessDataLister processes;
    MainForm window({store, settings, log, clock, launcher,
        [](const QString &folder) { return DiskSpace::freeBytes(folder); }, &session, &processes});

    // SIGTERM and SIGINT end the program as the end of the session does: no questions,
    // the state saved.
    SignalWatcher watcher;
    QObject::connect(&watcher, &SignalWatcher::terminationRequested, &window, &MainForm::closeWithoutQuestions);
    QObject::connect(&window, &MainForm::closed, &app, [] { QApplication::quit(); });
    QApplication::setQuitOnLastWindowClosed(false);

    window.start(QApplication::arguments());
    return app.exec();
}
