// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// voltrane: the scheduler on the desktop.

#include "engine/engine.h"
#include "engine/processdatalister.h"
#include "log/activitylog.h"
#include "platform/clock.h"
#include "platform/diskspace.h"
#include "platform/instancelock.h"
#include "platform/logindsessioncontrol.h"
#include "platform/posixprocesslauncher.h"
#include "platform/programoptions.h"
#include "platform/registry.h"
#include "platform/signalwatcher.h"
#include "setup/setupcommit.h"
#include "setup/wizardform.h"
#include "store/jobstore.h"
#include "store/settings.h"
#include "ui/config/configform.h"
#include "ui/config/halvpassword.h"
#include "ui/config/passwordcheck.h"
#include "ui/desktoppresence.h"
#include "ui/dialogs.h"
#include "ui/editors/editorfactory.h"
#include "ui/help/tipsform.h"
#include "ui/mainform.h"
#include "ui/mainformattach.h"
#include "ui/mainformtext.h"
#include "ui/printexport.h"
#include "ui/showrequestserver.h"
#include "ui/systemtrayicon.h"

#include <QApplication>

#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const ProgramOptions::Program program{"voltrane", "Usage: voltrane [/LOADFILE FILE]",
    "\n"
    "Runs Halvorn's job scheduler on the desktop: the main window with the job list and the\n"
    "log, the tray icon and the mini window.\n"
    "\n"
    "  /LOADFILE FILE   load the settings pre-load file FILE before the settings are read\n"
    "  --help           show this text\n"
    "  --version        show the version\n"
    "\n"
    "One scheduler runs per registry file: a second start shows the running one's window and\n"
    "ends; when voltraned holds the registry, it says so and ends with status 1.\n",
    true};

} // namespace

int main(int argc, char *argv[])
{
    if (const auto status = ProgramOptions::handle(argc, argv, program))
        return *status;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("voltrane"));
    // No display name: X11 would append it to every window's title, and the titles are
    // exact texts of their own.

    // One scheduler at a time, desktop or headless. A second voltrane asks the first to
    // show its window and ends; when the scheduler is not a voltrane that answers (the
    // headless voltraned), the user is told, as it would otherwise vanish without a word.
    InstanceLock lock;
    const QString showPath = ShowRequestServer::socketPath(Registry::defaultPath());
    if (!lock.tryAcquire()) {
        if (lock.errorString().isEmpty()) {
            // The holder names itself in the lock file, unless it has only just started.
            const std::optional<InstanceLock::Holder> holder = lock.holder();
            const bool headless = holder && holder->program == u"voltraned"_s;
            if (!headless && ShowRequestServer::requestShow(showPath))
                return 0;
            const QString text = holder
                ? MainFormText::schedulerRunning(holder->program, holder->pid, Registry::defaultPath())
                : MainFormText::otherSchedulerRunning(Registry::defaultPath());
            std::fprintf(stderr, "voltrane: %s\n", text.toLocal8Bit().constData());
            Dialogs::current().message(nullptr, Dialogs::Kind::Error, text);
            return 1;
        }
        std::fprintf(stderr, "voltrane: %s\n", lock.errorString().toLocal8Bit().constData());
        return 1;
    }
    ShowRequestServer showRequests;
    if (!showRequests.listen(showPath))
        std::fprintf(stderr, "voltrane: a second start cannot reach this one: %s\n", showPath.toLocal8Bit().constData());
    Registry registry(Registry::Role::Scheduler);
    Settings settings(registry);
    JobStore store(registry);
    SystemClock clock;
    ActivityLog log(settings, clock);
    PosixProcessLauncher launcher;
    LogindSessionControl session;
    ProcessDataLister processes;
    HalvPassword password(settings);
    PasswordCheck passwordCheck(settings, store, password);
    MainForm window({store, settings, log, clock, launcher,
        [](const QString &folder) { return DiskSpace::freeBytes(folder); }, &session, &processes});
    EditorFactory editors({store, settings, clock});
    window.setEditorFactory(&editors);

    // SIGTERM and SIGINT end the program as the end of the session does: no questions,
    // the state saved.
    SignalWatcher watcher;
    QObject::connect(&watcher, &SignalWatcher::terminationRequested, &window, &MainForm::closeWithoutQuestions);
    // exit(), not quit(): quit() first asks every window to close, and an open editor would
    // refuse, leaving SIGTERM unanswered.
    QObject::connect(&window, &MainForm::closed, &app, [] { QApplication::exit(0); });
    QApplication::setQuitOnLastWindowClosed(false);

    QObject::connect(&showRequests, &ShowRequestServer::showRequested, &window, &MainForm::showFromTray);
    // SIGHUP: the settings read again and the job list refreshed, as after the configuration.
    QObject::connect(&watcher, &SignalWatcher::reloadRequested, &window, &MainForm::reloadSettings);
    window.setPasswordGuard(&passwordCheck);
    window.setConfigurationDialog([&](QWidget *parent) {
        return ConfigForm::run(parent, settings, password, [&window] { window.reloadLog(); });
    });
    SystemTrayIcon tray;
    const auto presence = MainFormAttach::presence(window, tray, settings,
        [&passwordCheck](QWidget *parent) { return passwordCheck.allowShowFromTray(parent); });
    PrintExport exporter(store, clock, &window);
    MainFormAttach::printing(window, exporter);
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
    // The engine takes the wizard's answers (the notification switches among them) at once.
    const auto runWizard = [&settings, &window](QWidget *parent) {
        WizardForm wizard(settings, parent);
        wizard.exec();
        window.engine().reloadSettingsAndRefresh();
    };
    window.setSetupWizard(runWizard);
    window.setFirstActivationHook([&settings, &window, runWizard] {
        if (SetupCommit::isNeeded(settings))
            runWizard(&window);
    });

    window.start(QApplication::arguments());
    return app.exec();
}
