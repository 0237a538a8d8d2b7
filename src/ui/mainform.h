// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "engine/enginehost.h"
#include "engine/prestart.h"
#include "log/logsink.h"
#include "ui/joblistmodel.h"
#include "ui/passwordguard.h"

#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <memory>

class ActivityLog;
class CaptionDelegate;
class Clock;
class Engine;
class JobEditorFactory;
class JobStore;
class ProcessLauncher;
class ProcessLister;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QTreeView;
class SessionControl;
class Settings;
class TickTimer;
class TrayHooks;
class WhatsThisPopup;

namespace Ui {
class MainForm;
}

// The main window: the job list and the log, every user action on jobs, and the owner of
// the scheduling engine and its timer. It is the engine's host on the desktop.
//
// Life cycle: the constructor builds the window; start() does what creation does (pre-load
// file, tray icon, settings) and shows the window when the settings say so; the first show
// (or the end of start() when the window stays hidden) loads the log, builds the columns,
// runs Start of Day and the start-up job list; the first activation may start the setup
// wizard; closing saves the geometry and column widths and emits closed().
class MainForm : public QMainWindow, public EngineHost, public LogSink
{
    Q_OBJECT
public:
    static const QString caption;

    struct Services
    {
        JobStore &store;
        Settings &settings;
        ActivityLog &log;
        const Clock &clock;
        ProcessLauncher &launcher;
        Prestart::FreeBytes freeBytes;
        SessionControl *session = nullptr;
        ProcessLister *processes = nullptr;
    };

    // What the Copy, Print and Print Setup items ask of the print handler.
    enum class Output { Copy, Print, PrintSetup };

    explicit MainForm(const Services &services, QWidget *parent = nullptr);
    ~MainForm() override;

    // Creation. `arguments` as QCoreApplication::arguments() (for "/LOADFILE").
    void start(const QStringList &arguments);

    Engine &engine() { return *m_engine; }
    JobListModel *jobList() const { return m_model; }
    QTreeView *listView() const;
    QPlainTextEdit *logView() const;

    // Seams for the dialogs and windows that live beside this one. None is owned; each may
    // be null (or empty), in which case the action says so in the status line.
    void setEditorFactory(JobEditorFactory *factory) { m_editors = factory; }
    void setPasswordGuard(PasswordGuard *guard) { m_guard = guard; }
    // Shows the configuration dialog modally; true for OK.
    void setConfigurationDialog(std::function<bool(QWidget *parent)> dialog) { m_configure = std::move(dialog); }
    // Opens the embedded help at `topic` (empty: its contents).
    void setHelpHandler(std::function<void(QWidget *parent, const QString &topic)> help) { m_help = std::move(help); }
    // Called once, a second after the first activation, when the installed version recorded
    // in the settings is not this program's: it runs the setup wizard.
    void setFirstActivationHook(std::function<void()> hook) { m_firstActivation = std::move(hook); }
    // "&Rerun Setup Wizard...": runs the wizard modally.
    void setSetupWizard(std::function<void(QWidget *parent)> wizard) { m_wizard = std::move(wizard); }
    // Copy, Print and Print Setup; `logPage` tells which page is current.
    void setPrintHandler(std::function<void(Output output, bool logPage)> handler) { m_print = std::move(handler); }
    // The tray icon and the mini window. Set before start().
    void setTrayHooks(TrayHooks *hooks) { m_tray = hooks; }
    // The job-type chooser (1 program, 2 system, 3 file, 4 e-mail, 0 none); the dialog
    // unless a test replaces it.
    void setJobTypeChooser(std::function<int(QWidget *parent)> chooser) { m_chooseType = std::move(chooser); }

    // "&Open" and "&Exit": the window's popup menu, also the tray icon's menu.
    QMenu *popupMenu() const { return m_popup; }

    // The keys of the selected rows in display order, and of the current row.
    QStringList selectedKeys() const;
    QString currentKey() const;
    void selectKey(const QString &key);

    // LogSink
    void logLineAdded(const QString &line) override;

    // EngineHost
    void showStatus(const QString &text) override;
    QString statusText() const;
    void showClock(const QString &time) override;
    bool showsJobRows() const override { return true; }
    void setJobRows(const QList<JobRow> &rows) override;
    void updateJobRow(const QString &job, const RowUpdate &update) override;
    bool isMiniWindowVisible() const override;
    void showMiniWindow() override;
    void setMiniJobCount(const QString &text) override;
    void setMiniCaption(const QString &text) override;
    void setTrayFrame(int frame) override;
    // Does not wait: the timer keeps running while the message is on the screen.
    void showMessage(const QString &text) override;
    void processPendingEvents() override;
    void quit() override;
    void reloadLog() override;
    void setBusy(bool busy) override;

public slots:
    // A user's request to see the window (tray, mini window, a second start): asks the
    // show password; while a modal dialog is open it raises that dialog instead.
    void showFromTray();
    // Shows the window once the caller has passed its own show password (a click on the
    // tray icon, a mini window button): on the "&Scheduler" or "&Log" page, or as it was.
    void showOnPage(std::optional<bool> logPage);
    // While a modal dialog is open, a request to see the window raises that dialog instead;
    // true when it did.
    bool raiseModalDialog();
    // SIGTERM, the end of the desktop session, a log-off by a system job: no questions.
    void closeWithoutQuestions();
    // The close question (the close password), then the end; false when refused.
    bool closeWithQuestion();

    void createJob();
    void editJob();
    void removeJob();
    void holdJob();
    void restartJob();
    void runJobNow();
    void suspendAll();
    void restartAll();
    void forceStartOfDay();
    void saveJobList();
    void loadJobList();
    void configure();
    void showAbout();
    void showHelp();
    void rerunSetupWizard();
    void copyToClipboard();
    void print();
    void printSetup();

    void buildColumns();
    void refreshJobList();
    // After another process changed the settings (SIGHUP): as after an accepted
    // configuration dialog.
    void reloadSettings();
    // In-place rename of the job `key`; refused names leave everything as it was.
    void renameJob(const QString &key, const QString &from, const QString &to);
    // Shows the "What's This" text of `helpNumber` beside `button`.
    void showWhatsThis(QWidget *button, int helpNumber);

signals:
    // The window has closed and saved its state: the program ends.
    void closed();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool event(QEvent *event) override;

private:
    void buildMenus();
    void buildButtons();
    void readListSettings();
    void applyGeneralFont();
    void restoreGeometry();
    void saveState();
    void firstShow();
    void firstActivation();
    void loadLog();
    void startTimer();
    void updateButtons();
    void applyRows(QList<JobListModel::Row> rows);
    void applyPendingRows();
    bool useOutput(Output output);
    void setHold(bool hold);
    // The job name an editor saved: its own word, else the one new key, else `key`.
    QString savedName(const QStringList &before, const QString &key) const;
    void openEditor(const QString &key, int jobType, bool isNew);
    QString firstSelectedKey() const;
    QString captionOf(const QString &key) const;

    Services m_services;
    std::unique_ptr<Ui::MainForm> m_ui;
    std::unique_ptr<Engine> m_engine;
    JobListModel *m_model;
    CaptionDelegate *m_delegate = nullptr;
    QLabel *m_clock;
    QLabel *m_status;
    QMenu *m_popup;
    WhatsThisPopup *m_whatsThis = nullptr;
    QList<QAction *> m_rowActions;
    std::unique_ptr<TickTimer> m_ticks;
    QTimer m_wizardTimer;

    JobEditorFactory *m_editors = nullptr;
    PasswordGuard *m_guard = nullptr;
    TrayHooks *m_tray = nullptr;
    std::function<bool(QWidget *)> m_configure;
    std::function<void(QWidget *, const QString &)> m_help;
    std::function<void()> m_firstActivation;
    std::function<void(QWidget *)> m_wizard;
    std::function<void(Output, bool)> m_print;
    std::function<int(QWidget *)> m_chooseType;

    bool m_firstShowPending = true; // the first-show steps have not run yet
    bool m_firstShowFlag = true; // cleared at the end of the first activation
    bool m_noQuestions = false;
    bool m_closed = false;
    bool m_minimizeToTray = true;
    bool m_columns[JobListModel::OptionalCount] = {true, true, true, true, true, true};
    int m_sortColumn = -1;
    bool m_sortAscending = true;
    // Rows that arrived while a caption was being edited; applied when the edit ends.
    std::optional<QList<JobListModel::Row>> m_pendingRows;
};
