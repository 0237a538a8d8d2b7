// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// voltraned: the scheduler without a desktop. Runs the engine on its timer, echoes every
// log line to standard output, ends on SIGTERM or SIGINT and leaves running programs running;
// SIGHUP reads the settings and the job list again.

#include "consolehost.h"
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

#include <QCoreApplication>

#include <cstdio>

namespace {

const ProgramOptions::Program program{"voltraned", "Usage: voltraned [/LOADFILE FILE]",
    "\n"
    "Runs Halvorn's job scheduler without a desktop: the jobs of the registry file start on\n"
    "their schedules and every log line is echoed to standard output.\n"
    "\n"
    "  /LOADFILE FILE   load the settings pre-load file FILE before the settings are read\n"
    "  --help           show this text\n"
    "  --version        show the version\n"
    "\n"
    "SIGTERM or SIGINT end the scheduler and leave running programs running; SIGHUP reads\n"
    "the settings and the job list again. One scheduler runs per registry file: a second\n"
    "start ends at once with status 0.\n"};

} // namespace

int main(int argc, char *argv[])
{
    if (const auto status = ProgramOptions::handle(argc, argv, program))
        return *status;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("voltraned"));

    // One scheduler at a time, desktop or headless: a second start ends at once, silently.
    InstanceLock lock;
    if (!lock.tryAcquire()) {
        if (lock.errorString().isEmpty())
            return 0;
        // Not another scheduler: the lock itself cannot be used, and two schedulers must
        // never run at once.
        std::fprintf(stderr, "voltraned: %s\n", lock.errorString().toLocal8Bit().constData());
        return 1;
    }

    SignalWatcher watcher;
    QObject::connect(&watcher, &SignalWatcher::terminationRequested, &app, [] {
        QCoreApplication::quit();
    });

    Registry registry(Registry::Role::Scheduler);
    Settings settings(registry);
    JobStore store(registry);
    SystemClock clock;
    ConsoleHost host;
    ActivityLog log(settings, clock);
    log.setSink(&host);
    PosixProcessLauncher launcher;
    LogindSessionControl session;
    ProcessDataLister processes;
    Engine engine({store, settings, log, clock, launcher, host,
        [](const QString &folder) { return DiskSpace::freeBytes(folder); }, &session, &processes});

    // The settings pre-load file comes before any setting is read.
    PreloadSettings preload(settings, log, [&host](const QString &text) { host.showMessage(text); });
    preload.run(QCoreApplication::arguments());
    engine.readSettings();
    engine.startOfDay(Engine::StartOfDayKind::StartUp);
    // Machines without a desktop get their jobs this way: the start-up job list file.
    StartupJobList startupJobs(store, settings, log, clock);
    if (startupJobs.run())
        engine.refreshJobList();
    engine.setFirstShow(false);

    QObject::connect(&watcher, &SignalWatcher::reloadRequested, &app,
        [&engine] { engine.reloadSettingsAndRefresh(); });

    TickTimer timer([&engine] { return engine.timerInterval(); }, [&engine] { engine.tick(); });
    timer.start();

    return app.exec();
}
