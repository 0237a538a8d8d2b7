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
#include "setup/setupcommit.h"
#include "setup/wizardform.h"
#include "store/jobstore.h"
#include "store/settings.h"
#include "ui/help/tipsform.h"
#include "ui/mainform.h"

#include <QApplication>

#include <cstdio>
#include <memory>

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

    // One help window for the whole run, made on first use.
    std::unique_ptr<TipsForm> help;
    window.setHelpHandler([&help, &settings](QWidget *, const QString &topic) {
        if (!help)
            help = std::make_unique<TipsForm>(settings);
        help->show();
        help->raise();
        help->activateWindow();
        bool isNumber = false;
        if (const int number = topic.toInt(&isNumber); isNumber)
            help->showTopic(number);
    });
    const auto runWizard = [&settings](QWidget *parent) {
        WizardForm wizard(settings, parent);
        wizard.exec();
    };
    window.setSetupWizard(runWizard);
    window.setFirstActivationHook([&settings, &window, runWizard] {
        if (SetupCommit::isNeeded(settings))
            runWizard(&window);
    });

    window.start(QApplication::arguments());
    return app.exec();
}
