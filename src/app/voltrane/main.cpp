// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// voltrane: the scheduler on the desktop.

#include "engine/engine.h"
#include "engine/processdatalister.h"
#include "engine/ticktimer.h"
#include "interchange/preloadsettings.h"
#include "interchange/startupjoblist.h"
#include "log/activitylog.h"
#include "platform/clock.h"
#include "platform/diskspace.h"
#include "platform/instancelock.h"
#include "platform/logindsessioncontrol.h"
#include "platform/posixprocesslauncher.h"
#include "platform/programoptions.h"
#include "platform/registry.h"
#include "platform/signalwatcher.h"
#include "store/jobstore.h"
#include "store/settings.h"
#include "ui/mainform.h"

#include <QApplication>

#include <cstdio>

namespace {

const ProgramOptions::Program program{"voltrane", "Usage: voltrane [/LOADFILE FILE | /uninstall]",
    "\n"
    "Halvorn's job scheduler on the desktop: runs the jobs of the registry file on their\n"
    "schedules, with a window, a tray icon and a mini window.\n"
    "\n"
    "  /LOADFILE FILE   load the settings pre-load file FILE before the settings are read\n"
    "  --help           show this text\n"
    "  --version        show the version\n"
    "\n"
    "SIGHUP reads the settings and the job list again. One scheduler runs per registry file.\n",
    true};

} // namespace

int main(int argc, char *argv[])
{
    // Before the application object, which needs a display.
    if (const auto status = ProgramOptions::handle(argc, argv, program))
        return *status;
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
    SignalWatcher watcher;
    QObject::connect(&watcher, &SignalWatcher::terminationRequested, &app, [] { QApplication::quit(); });

    Registry registry(Registry::Role::Scheduler);
    Settings settings(registry);
    JobStore store(registry);
    SystemClock clock;
    MainForm window;
    ActivityLog log(settings, clock);
    PosixProcessLauncher launcher;
    LogindSessionControl session;
    ProcessDataLister processes;
    Engine engine({store, settings, log, clock, launcher, window,
        [](const QString &folder) { return DiskSpace::freeBytes(folder); }, &session, &processes});
    // The settings pre-load file comes before any setting is read.
    PreloadSettings preload(settings, log, [&window](const QString &text) { window.showMessage(text); });
    preload.run(QApplication::arguments());
    engine.readSettings();

    // The first showing: the log page from the file, then Start of Day and the start-up
    // job list file.
    window.loadLog(log.logFilePath());
    log.setSink(&window);
    if (engine.startAsWindow() == 0)
        window.show();
    engine.startOfDay(Engine::StartOfDayKind::StartUp);
    StartupJobList startupJobs(store, settings, log, clock);
    if (startupJobs.run())
        engine.refreshJobList();
    engine.setFirstShow(false);
    // Without a tray or mini window yet, the window is the only way back to the program.
    if (!window.isVisible())
        window.show();

    QObject::connect(&watcher, &SignalWatcher::reloadRequested, &app,
        [&engine] { engine.reloadSettingsAndRefresh(); });
    TickTimer timer([&engine] { return engine.timerInterval(); }, [&engine] { engine.tick(); });
    timer.start();
    return app.exec();
}
