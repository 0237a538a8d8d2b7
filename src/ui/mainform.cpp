// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/mainform.h"

#include "engine/engine.h"
#include "engine/enginetext.h"
#include "engine/mailactions.h"
#include "engine/ticktimer.h"
#include "interchange/joblistfile.h"
#include "interchange/preloadsettings.h"
#include "interchange/startupjoblist.h"
#include "log/activitylog.h"
#include "store/jobstore.h"
#include "store/setting.h"
#include "store/settings.h"
#include "ui/dialogjoblistuser.h"
#include "ui/dialogs.h"
#include "ui/jobeditorfactory.h"
#include "ui/joblistmodel.h"
#include "ui/mainformtext.h"
#include "ui/newjobform.h"
#include "ui/trayhooks.h"
#include "ui/whatsthispopup.h"
#include "ui_mainform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

using namespace Qt::StringLiterals;
namespace T = MainFormText;

const QString MainForm::caption = MainFormText::caption();

namespace {

constexpr int designWidth = 524;
constexpr int designHeight = 396;
// The value that stands for the system's window-text colour.
constexpr int systemWindowText = -2147483640;

// Editor types by iJobType: 2 to 5 share the file job editor.
int editorType(int jobType) { return jobType >= 2 && jobType <= 5 ? 2 : jobType; }

void attachWhatsThis(MainForm *form, QWidget *button, int helpNumber)
{
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    button->setWhatsThis(T::helpText(helpNumber));
    QObject::connect(button, &QWidget::customContextMenuRequested, form, [form, button, helpNumber](const QPoint &at) {
        QMenu menu(button);
        menu.addAction(T::whatsThisItem(), form, [form, button, helpNumber] { form->showWhatsThis(button, helpNumber); });
        menu.exec(button->mapToGlobal(at));
    });
}

} // namespace

// Knows whether a caption editor is open, so that a refresh can wait for it.
class CaptionDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool isEditing() const { return m_open > 0; }
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        ++m_open;
        return QStyledItemDelegate::createEditor(parent, option, index);
    }
    void destroyEditor(QWidget *editor, const QModelIndex &index) const override
    {
        --m_open;
        QStyledItemDelegate::destroyEditor(editor, index);
    }

private:
    mutable int m_open = 0;
};

MainForm::MainForm(const Services &services, QWidget *parent)
    : QMainWindow(parent), m_services(services), m_ui(std::make_unique<Ui::MainForm>()),
      m_model(new JobListModel(this)), m_clock(new QLabel(this)), m_status(new QLabel(this)),
      m_popup(new QMenu(this))
{
    // Creation, step 1: the engine, its lists and today's timer queue.
    m_engine = std::make_unique<Engine>(Engine::Services{services.store, services.settings,
        services.log, services.clock, services.launcher, *this, services.freeBytes,
        services.session, services.processes});
    // The desktop can open its compose window for a system mail without a recipient.
    m_engine->mail().setComposeWindowAllowed(true);

    auto *central = new QWidget(this);
    m_ui->setupUi(central);
    setCentralWidget(central);
    setWindowTitle(caption);
    resize(designWidth, designHeight);

    m_ui->PageControl1->setTabText(0, T::schedulerPage());
    m_ui->PageControl1->setTabText(1, T::logPage());
    QTreeView *list = m_ui->ListView1;
    list->setModel(m_model);
    m_delegate = new CaptionDelegate(list);
    list->setItemDelegate(m_delegate);
    list->setToolTip(T::listHint());
    list->setWhatsThis(T::helpText(T::listHelpNumber));
    list->header()->setSectionsClickable(true);
    list->header()->setSortIndicatorShown(false);
    list->header()->setStretchLastSection(false);
    connect(list->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        m_sortAscending = column == m_sortColumn ? !m_sortAscending : true;
        m_sortColumn = column;
        m_ui->ListView1->header()->setSortIndicatorShown(true);
        m_ui->ListView1->header()->setSortIndicator(column, m_sortAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
        m_model->sort(column, m_sortAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
    });
    connect(list, &QTreeView::doubleClicked, this, [this](const QModelIndex &) { editJob(); });
    connect(m_model, &JobListModel::renameRequested, this, &MainForm::renameJob, Qt::QueuedConnection);
    connect(list->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
        [this] { QTimer::singleShot(0, this, &MainForm::applyPendingRows); });
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this, &MainForm::updateButtons);
    connect(m_model, &QAbstractItemModel::modelReset, this, &MainForm::updateButtons);

    m_clock->setText(T::clockInitial());
    m_clock->setFixedWidth(70);
    m_clock->setAlignment(Qt::AlignCenter);
    statusBar()->addWidget(m_clock);
    statusBar()->addWidget(m_status, 1);

    buildMenus();
    buildButtons();
    updateButtons();

    m_wizardTimer.setSingleShot(true);
    connect(&m_wizardTimer, &QTimer::timeout, this, [this] {
        if (m_firstActivation)
            m_firstActivation();
    });
    // The desktop session may end at any time: no question may stop it, and the state is
    // saved on the way out whatever ends the program.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { m_noQuestions = true; });
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (!m_closed)
            closeWithoutQuestions();
    });
}

MainForm::~MainForm()
{
    m_services.log.setSink(nullptr);
}

QTreeView *MainForm::listView() const { return m_ui->ListView1; }
QPlainTextEdit *MainForm::logView() const { return m_ui->RichEdit1; }

void MainForm::buildMenus()
{
    QMenu *file = menuBar()->addMenu(T::fileMenu());
    file->addAction(T::printItem(), this, &MainForm::print);
    file->addAction(T::printSetupItem(), this, &MainForm::printSetup);
    file->addAction(T::parametersItem(), this, &MainForm::configure);
    file->addSeparator();
    file->addAction(T::exitItem(), this, &QWidget::close);

    QMenu *edit = menuBar()->addMenu(T::editMenu());
    QAction *copy = edit->addAction(T::copyItem(), this, &MainForm::copyToClipboard);
    // Window-wide, but a focused text field takes its own Ctrl+C first (shortcut override).
    copy->setShortcut(QKeySequence::Copy);
    edit->addAction(T::startOfDayItem(), this, &MainForm::forceStartOfDay);

    QMenu *jobs = menuBar()->addMenu(T::jobsMenu());
    jobs->addAction(T::createItem(), this, &MainForm::createJob);
    jobs->addSeparator();
    jobs->addAction(T::saveListItem(), this, &MainForm::saveJobList);
    jobs->addAction(T::readListItem(), this, &MainForm::loadJobList);

    QMenu *window = menuBar()->addMenu(T::windowMenu());
    window->addAction(T::aboutItem(), this, &MainForm::showAbout);
    window->addAction(T::setupWizardItem(), this, &MainForm::rerunSetupWizard);
    QAction *help = window->addAction(T::helpItem(), this, &MainForm::showHelp);
    help->setShortcut(QKeySequence(Qt::Key_F1));

    m_popup->addAction(T::openItem(), this, &MainForm::showFromTray);
    m_popup->addSeparator();
    m_popup->addAction(T::exitItem(), this, &QWidget::close);
}

void MainForm::buildButtons()
{
    QToolBar *bar = addToolBar(QString());
    bar->setObjectName(u"ToolBar1"_s);
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    struct Tool
    {
        T::Tool tool;
        const char *name;
        const char *theme;
        QStyle::StandardPixmap fallback;
        void (MainForm::*slot)();
    };
    const Tool tools[] = {
        {T::Tool::Exit, "ExitButton", "application-exit", QStyle::SP_DialogCloseButton, nullptr},
        {T::Tool::Configuration, "ConfigButton", "preferences-system", QStyle::SP_FileDialogDetailedView, &MainForm::configure},
        {T::Tool::Suspend, "SuspendButton", "media-playback-pause", QStyle::SP_MediaPause, &MainForm::suspendAll},
        {T::Tool::RestartAll, "RestartAllButton", "media-playback-start", QStyle::SP_MediaPlay, &MainForm::restartAll},
        {T::Tool::StartOfDay, "StartOfDayButton", "view-refresh", QStyle::SP_BrowserReload, &MainForm::forceStartOfDay},
        {T::Tool::Copy, "CopyButton", "edit-copy", QStyle::SP_FileIcon, &MainForm::copyToClipboard},
        {T::Tool::Print, "PrintButton", "document-print", QStyle::SP_DriveFDIcon, &MainForm::print},
        {T::Tool::About, "AboutButton", "help-about", QStyle::SP_MessageBoxInformation, &MainForm::showAbout},
        {T::Tool::Help, "HelpButton", "help-contents", QStyle::SP_DialogHelpButton, &MainForm::showHelp},
    };
    for (const Tool &t : tools) {
        auto *button = new QToolButton(bar);
        button->setObjectName(QString::fromLatin1(t.name));
        button->setIcon(QIcon::fromTheme(QString::fromLatin1(t.theme), style()->standardIcon(t.fallback)));
        button->setToolTip(T::toolHint(t.tool));
        button->setAccessibleName(T::toolHint(t.tool));
        button->setAutoRaise(true);
        if (t.slot)
            connect(button, &QToolButton::clicked, this, t.slot);
        else
            connect(button, &QToolButton::clicked, this, &QWidget::close);
        attachWhatsThis(this, button, T::toolHelpNumber(t.tool));
        bar->addWidget(button);
    }

    struct Side
    {
        T::Side side;
        QPushButton *button;
        void (MainForm::*slot)();
        bool needsRow;
    };
    const Side sides[] = {
        {T::Side::Create, m_ui->NewJobButton, &MainForm::createJob, false},
        {T::Side::Remove, m_ui->RemoveJobButton, &MainForm::removeJob, true},
        {T::Side::Edit, m_ui->EditJobButton, &MainForm::editJob, true},
        {T::Side::Hold, m_ui->HoldButton, &MainForm::holdJob, true},
        {T::Side::Restart, m_ui->RestartButton, &MainForm::restartJob, true},
        {T::Side::RunNow, m_ui->RunNowButton, &MainForm::runJobNow, true},
    };
    for (const Side &s : sides) {
        s.button->setText(T::sideCaption(s.side));
        s.button->setToolTip(T::sideHint(s.side));
        s.button->setAutoDefault(false);
        connect(s.button, &QPushButton::clicked, this, s.slot);
        attachWhatsThis(this, s.button, T::sideHelpNumber(s.side));
    }
}

void MainForm::updateButtons()
{
    const bool hasRow = m_ui->ListView1->selectionModel()->hasSelection();
    for (QPushButton *b : {m_ui->RemoveJobButton, m_ui->EditJobButton, m_ui->HoldButton,
             m_ui->RestartButton, m_ui->RunNowButton})
        b->setEnabled(hasRow);
}

// ---- life cycle

void MainForm::start(const QStringList &arguments)
{
    // The settings pre-load file comes before any setting is read.
    PreloadSettings preload(m_services.settings, m_services.log,
        [this](const QString &text) { Dialogs::current().message(this, Dialogs::Kind::Information, text, caption); });
    preload.run(arguments);
    if (m_tray)
        m_tray->addTrayIcon();
    m_engine->readSettings();
    readListSettings();

    const int startAs = m_engine->startAsWindow();
    const bool trayOnly = startAs == 1 && m_tray && m_tray->hasTrayIcon();
    // On a desktop without a tray, "as an icon" starts as the mini window instead.
    const bool miniInstead = startAs == 1 && !trayOnly && m_tray && m_tray->hasMiniWindow();
    const bool hidden = trayOnly || miniInstead || (startAs == 2 && m_tray && m_tray->hasMiniWindow());
    // Without a tray icon or a mini window the window is the only way back to the program.
    if (!hidden)
        show();
    else
        firstShow();
    if (miniInstead) {
        m_tray->setMiniJobCount(EngineText::jobsToday(m_engine->queue().count()));
        m_tray->showMiniWindow();
    }
    startTimer();
}

void MainForm::startTimer()
{
    // The interval is asked at every tick, so a new one takes effect at the next.
    if (!m_ticks) {
        m_ticks = std::make_unique<TickTimer>([this] { return m_engine->timerInterval(); }, [this] {
            if (!m_closed)
                m_engine->tick();
        });
    }
    m_ticks->start();
}

void MainForm::readListSettings()
{
    Settings &s = m_services.settings;
    m_minimizeToTray = s.boolean(settings::MinimizeToSysTray);
    // Read with the engine's own copy, so that the columns and the engine's cells agree.
    const Setting *flags[JobListModel::OptionalCount] = {&settings::ListStatus, &settings::ListSchedule,
        &settings::ListProgram, &settings::ListLastStart, &settings::ListLastEnd, &settings::ListLastStatus};
    for (int c = 0; c < JobListModel::OptionalCount; ++c)
        m_columns[c] = s.boolean(*flags[c]);
}

void MainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_firstShowPending)
        firstShow();
}

void MainForm::firstShow()
{
    m_firstShowPending = false;
    applyGeneralFont();
    restoreGeometry();
    loadLog();
    m_services.log.setSink(this);
    buildColumns();
    m_engine->startOfDay(Engine::StartOfDayKind::StartUp);
    if (m_services.settings.boolean(settings::LoadStartupFile)) {
        StartupJobList startupJobs(m_services.store, m_services.settings, m_services.log, m_services.clock);
        if (startupJobs.run())
            refreshJobList();
    }
}

bool MainForm::event(QEvent *event)
{
    const bool result = QMainWindow::event(event);
    if (event->type() == QEvent::WindowActivate && m_firstShowFlag)
        firstActivation();
    return result;
}

void MainForm::firstActivation()
{
    m_firstShowFlag = false;
    m_engine->setFirstShow(false);
    if (m_services.settings.text(settings::InstalledVersion) != T::version())
        m_wizardTimer.start(1000);
    if (m_tray && m_tray->isMiniWindowVisible())
        m_tray->closeMiniWindow();
}

void MainForm::applyGeneralFont()
{
    Settings &s = m_services.settings;
    QFont font = QApplication::font();
    const QString name = s.text(settings::GeneralFontName);
    // A family the system lacks falls back to the desktop's font; the stored name is kept.
    if (!name.isEmpty() && QFontInfo(QFont(name)).family().compare(name, Qt::CaseInsensitive) == 0)
        font.setFamily(name);
    const int size = s.integer(settings::GeneralFontSize);
    if (size > 0)
        font.setPointSize(size);
    const int style = s.integer(settings::GeneralFontStyle);
    font.setBold(style & 1);
    font.setItalic(style & 2);
    font.setUnderline(style & 4);
    font.setStrikeOut(style & 8);
    const int color = s.integer(settings::GeneralFontColor);
    for (QWidget *w : {static_cast<QWidget *>(m_ui->ListView1), static_cast<QWidget *>(m_ui->RichEdit1)}) {
        w->setFont(font);
        QPalette p = w->palette();
        // Stored as 0x00BBGGRR; the system colour is the palette's own.
        p.setColor(QPalette::Text, color == systemWindowText || color < 0
                ? QApplication::palette().color(QPalette::Text)
                : QColor(color & 0xff, (color >> 8) & 0xff, (color >> 16) & 0xff));
        w->setPalette(p);
    }
}

void MainForm::restoreGeometry()
{
    Settings &s = m_services.settings;
    move(s.integer(settings::PositionLeft), s.integer(settings::PositionTop));
    const bool hasWidth = s.contains(Settings::Section::Config, QString::fromUtf16(settings::PositionWidth.name));
    const bool hasHeight = s.contains(Settings::Section::Config, QString::fromUtf16(settings::PositionHeight.name));
    resize(hasWidth ? s.integer(settings::PositionWidth) : designWidth,
        hasHeight ? s.integer(settings::PositionHeight) : designHeight);
}

void MainForm::saveState()
{
    Settings &s = m_services.settings;
    const QRect bounds = isMaximized() || isMinimized() ? normalGeometry() : QRect(pos(), size());
    s.setInteger(settings::PositionLeft, bounds.x());
    s.setInteger(settings::PositionTop, bounds.y());
    s.setInteger(settings::PositionWidth, bounds.width());
    s.setInteger(settings::PositionHeight, bounds.height());
    QHeaderView *header = m_ui->ListView1->header();
    for (int i = 0; i < m_model->columnCount(); ++i)
        s.writeInteger(Settings::Section::Config, u"iTimedListCol"_s + QString::number(i), header->sectionSize(i));
}

void MainForm::closeEvent(QCloseEvent *event)
{
    if (m_closed) {
        event->accept();
        return;
    }
    if (!m_noQuestions) {
        if (raiseModalDialog()) {
            event->ignore();
            return;
        }
        if (m_guard && !m_guard->allow(this, PasswordGuard::Action::Close)) {
            event->ignore();
            return;
        }
    }
    m_closed = true;
    if (m_tray)
        m_tray->removeTrayIcon();
    saveState();
    event->accept();
    emit closed();
}

void MainForm::closeWithoutQuestions()
{
    m_noQuestions = true;
    if (!m_closed) {
        // close() refuses a window that is not shown; the state is saved all the same.
        QCloseEvent event;
        closeEvent(&event);
        hide();
    }
}

void MainForm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isMinimized())
        return;
    const bool toTray = m_minimizeToTray && m_tray && m_tray->hasTrayIcon();
    // Without a tray, minimising to the tray goes to the mini window instead.
    const bool toMini = !toTray && m_tray && m_tray->hasMiniWindow();
    // With nothing to bring it back, the window stays an ordinary minimised window.
    if (!toTray && !toMini)
        return;
    QTimer::singleShot(0, this, [this, toMini] {
        // Hidden while still minimised: clearing the state of a hidden window makes some
        // window managers map an empty frame again. Showing it clears the state.
        hide();
        if (toMini) {
            m_tray->setMiniJobCount(EngineText::jobsToday(m_engine->queue().count()));
            m_tray->showMiniWindow();
        }
    });
}

bool MainForm::raiseModalDialog()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal)
        return false;
    modal->show();
    modal->raise();
    modal->activateWindow();
    return true;
}

void MainForm::showFromTray()
{
    if (raiseModalDialog())
        return;
    if (!isVisible() && m_guard && !m_guard->allow(this, PasswordGuard::Action::Show))
        return;
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void MainForm::showOnPage(std::optional<bool> logPage)
{
    if (logPage)
        m_ui->PageControl1->setCurrentIndex(*logPage ? 1 : 0);
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

bool MainForm::closeWithQuestion()
{
    if (!m_closed) {
        // close() refuses a window that is not shown.
        QCloseEvent event;
        closeEvent(&event);
        if (m_closed)
            hide();
    }
    return m_closed;
}

void MainForm::loadLog()
{
    QFile file(m_services.log.logFilePath());
    if (!file.open(QIODevice::ReadOnly)) {
        m_ui->RichEdit1->clear();
        return;
    }
    QString text = QString::fromUtf8(file.readAll());
    text.remove(u'\r');
    if (text.endsWith(u'\n'))
        text.chop(1);
    m_ui->RichEdit1->setPlainText(text);
    m_ui->RichEdit1->moveCursor(QTextCursor::End);
}

void MainForm::reloadLog() { loadLog(); }

void MainForm::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
}

// ---- the list

void MainForm::buildColumns()
{
    Settings &s = m_services.settings;
    m_model->setColumns(m_columns);
    QHeaderView *header = m_ui->ListView1->header();
    for (int i = 0; i < m_model->columnCount(); ++i)
        header->resizeSection(i, s.timedListColumn(i));
    m_sortColumn = -1;
    m_sortAscending = true;
    header->setSortIndicatorShown(false);
}

void MainForm::refreshJobList() { m_engine->refreshJobList(); }

void MainForm::setJobRows(const QList<JobRow> &rows)
{
    // The engine skips keys without a caption; pair the rest with their keys in store
    // order, now, while the engine's names belong to these rows. A caption that differs
    // from its key is checked against the store.
    const QStringList &names = m_engine->jobNames();
    QList<JobListModel::Row> keyed;
    keyed.reserve(rows.size());
    qsizetype r = 0;
    for (const QString &name : names) {
        if (r >= rows.size())
            break;
        const bool same = rows.at(r).caption.compare(name, Qt::CaseInsensitive) == 0;
        if (same || m_services.store.readString(name, u"sJobName"_s) == rows.at(r).caption)
            keyed.append({name, rows.at(r++)});
    }
    // Replacing the rows would close an open caption editor and lose what is typed.
    if (m_delegate->isEditing()) {
        m_pendingRows = std::move(keyed);
        return;
    }
    applyRows(std::move(keyed));
}

void MainForm::applyPendingRows()
{
    if (!m_pendingRows || m_delegate->isEditing())
        return;
    QList<JobListModel::Row> rows = std::move(*m_pendingRows);
    m_pendingRows.reset();
    applyRows(std::move(rows));
}

void MainForm::applyRows(QList<JobListModel::Row> keyed)
{
    m_pendingRows.reset();
    const QStringList selected = selectedKeys();
    const QString current = currentKey();
    m_model->setRows(std::move(keyed));
    if (m_sortColumn >= 0)
        m_model->sort(m_sortColumn, m_sortAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
    QItemSelectionModel *sel = m_ui->ListView1->selectionModel();
    QItemSelection restored;
    for (const QString &key : selected) {
        const int row = m_model->rowOfKey(key);
        if (row >= 0)
            restored.select(m_model->index(row, 0), m_model->index(row, m_model->columnCount() - 1));
    }
    sel->select(restored, QItemSelectionModel::ClearAndSelect);
    const int currentRow = m_model->rowOfKey(current);
    if (currentRow >= 0)
        sel->setCurrentIndex(m_model->index(currentRow, 0), QItemSelectionModel::NoUpdate);
    updateButtons();
}

void MainForm::updateJobRow(const QString &job, const RowUpdate &update) { m_model->update(job, update); }

QStringList MainForm::selectedKeys() const
{
    QList<int> rows;
    for (const QModelIndex &i : m_ui->ListView1->selectionModel()->selectedRows())
        rows.append(i.row());
    std::sort(rows.begin(), rows.end());
    QStringList keys;
    for (int row : rows)
        keys.append(m_model->keyAt(row));
    return keys;
}

QString MainForm::currentKey() const { return m_model->keyAt(m_ui->ListView1->currentIndex().row()); }

void MainForm::selectKey(const QString &key)
{
    const int row = m_model->rowOfKey(key);
    if (row < 0)
        return;
    m_ui->ListView1->selectionModel()->setCurrentIndex(m_model->index(row, 0),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QString MainForm::firstSelectedKey() const
{
    const QStringList keys = selectedKeys();
    return keys.isEmpty() ? QString() : keys.first();
}

QString MainForm::captionOf(const QString &key) const { return m_model->captionAt(m_model->rowOfKey(key)); }

// ---- actions

QString MainForm::savedName(const QStringList &before, const QString &key) const
{
    if (m_editors && !m_editors->savedJobName().isEmpty())
        return m_editors->savedJobName();
    for (const QString &name : m_services.store.listJobs()) {
        if (!before.contains(name, Qt::CaseInsensitive))
            return name;
    }
    return key;
}

void MainForm::openEditor(const QString &key, int jobType, bool isNew)
{
    if (!m_editors || !m_editors->canEdit(jobType)) {
        showStatus(T::editorMissing());
        return;
    }
    const QStringList before = m_services.store.listJobs();
    if (!m_editors->edit(this, key, jobType))
        return;
    const QString name = savedName(before, key);
    refreshJobList();
    if (m_engine->categories().jobListChanges)
        m_services.log.logMessage(isNew ? T::jobAdded(name) : T::jobModified(name));
}

void MainForm::createJob()
{
    const int choice = m_chooseType ? m_chooseType(this) : NewJobForm::choose(this);
    static const int types[] = {-1, 0, 1, 2, 6};
    if (choice < 1 || choice > 4)
        return;
    openEditor(QString(), types[choice], true);
}

void MainForm::editJob()
{
    const QString key = firstSelectedKey();
    if (key.isEmpty())
        return;
    if (m_guard && !m_guard->allow(this, PasswordGuard::Action::EditSecureJob, key))
        return;
    const int jobType = m_services.store.readInteger(key, u"iJobType"_s, 0);
    if (jobType < 0 || jobType > 6)
        return;
    openEditor(key, editorType(jobType), false);
}

void MainForm::removeJob()
{
    const QString key = firstSelectedKey();
    if (key.isEmpty())
        return;
    if (m_guard && !m_guard->allow(this, PasswordGuard::Action::RemoveSecureJob, key))
        return;
    const QString name = captionOf(key);
    if (!m_services.store.eraseJob(key))
        return;
    if (m_engine->categories().jobListChanges)
        m_services.log.logMessage(T::jobDeleted(name));
    refreshJobList();
}

void MainForm::setHold(bool hold)
{
    const QString key = firstSelectedKey();
    if (key.isEmpty())
        return;
    m_services.store.writeBoolean(key, u"bHold"_s, hold);
    if (m_model->cellIndex(JobListModel::Status) >= 0) {
        QString status = EngineText::statusHold();
        if (!hold)
            status = m_services.store.readInteger(key, u"iCustomTimeType"_s, 0) == -1
                ? EngineText::statusDemand() : EngineText::statusWaiting();
        m_model->setStatus(key, status);
    }
    // Takes effect at once, without a Start of Day.
    TimerQueue &queue = m_engine->queue();
    for (int i = 0; i < queue.count(); ++i) {
        if (queue[i].inUse && queue[i].jobName == key)
            queue[i].hold = hold;
    }
}

void MainForm::holdJob() { setHold(true); }
void MainForm::restartJob() { setHold(false); }

void MainForm::runJobNow()
{
    const QString key = firstSelectedKey();
    if (key.isEmpty())
        return;
    if (!m_engine->startOnRequest(key))
        m_services.log.logMessage(T::userFailedToInvoke(key));
    else if (m_engine->categories().jobStarts)
        m_services.log.logMessage(T::userInvoked(key));
}

void MainForm::suspendAll() { m_engine->suspendAll(); }
void MainForm::restartAll() { m_engine->restartAll(); }
void MainForm::forceStartOfDay() { m_engine->startOfDay(Engine::StartOfDayKind::Forced); }

void MainForm::renameJob(const QString &key, const QString &from, const QString &to)
{
    if (to == from || m_model->rowOfKey(key) < 0)
        return;
    Dialogs &dialogs = Dialogs::current();
    // Never merge, overwrite or lose a job: the editors' checks, before the question.
    QString refusal;
    if (to.trimmed().isEmpty())
        refusal = T::enterJobName();
    else if (to.contains(u'\\'))
        refusal = T::jobNameHasBackslash();
    else if (!JobStore::isValidJobName(to))
        refusal = T::enterJobName();
    else {
        for (const QString &other : m_services.store.listJobs()) {
            if (other.compare(to, Qt::CaseInsensitive) == 0 && other.compare(key, Qt::CaseInsensitive) != 0)
                refusal = T::jobNameExists();
        }
    }
    if (!refusal.isEmpty()) {
        dialogs.message(this, Dialogs::Kind::Warning, refusal, caption);
        return;
    }
    if (dialogs.question(this, T::renameQuestion(from, to)) != Dialogs::Answer::Yes)
        return;
    if (!m_services.store.renameJob(key, to)) {
        dialogs.message(this, Dialogs::Kind::Warning, T::jobNameExists(), caption);
        return;
    }
    TimerQueue &queue = m_engine->queue();
    for (int i = 0; i < queue.count(); ++i) {
        if (queue[i].inUse && queue[i].jobName == key) {
            queue[i].jobName = to;
            break;
        }
    }
    if (m_engine->categories().jobListChanges)
        m_services.log.logMessage(T::jobRenamed(from, to));
    const bool wasCurrent = currentKey().compare(key, Qt::CaseInsensitive) == 0;
    refreshJobList();
    if (wasCurrent)
        selectKey(to);
}

void MainForm::saveJobList()
{
    QStringList rows;
    for (int i = 0; i < m_model->rowCount(); ++i)
        rows.append(m_model->keyAt(i));
    DialogJobListUser user(this);
    JobListFile file(m_services.store, m_services.log, m_services.clock);
    file.save(rows, selectedKeys(), user);
}

void MainForm::loadJobList()
{
    DialogJobListUser user(this);
    JobListFile file(m_services.store, m_services.log, m_services.clock);
    if (file.load(user).storeChanged)
        refreshJobList();
}

void MainForm::configure()
{
    if (!m_configure) {
        showStatus(T::configurationMissing());
        return;
    }
    if (m_guard && !m_guard->allow(this, PasswordGuard::Action::Configure))
        return;
    if (m_configure(this)) {
        reloadSettings();
        return;
    }
    buildColumns();
    refreshJobList();
}

void MainForm::reloadSettings()
{
    m_engine->readSettings();
    readListSettings();
    loadLog();
    applyGeneralFont();
    startTimer();
    buildColumns();
    refreshJobList();
}

void MainForm::showAbout()
{
    Dialogs::current().message(this, Dialogs::Kind::Information, T::aboutText(), T::aboutTitle());
    setWindowTitle(caption);
}

void MainForm::showHelp()
{
    if (m_help)
        m_help(this, QString());
    else
        showStatus(T::helpMissing());
}

void MainForm::rerunSetupWizard()
{
    if (m_wizard)
        m_wizard(this);
    else
        showStatus(T::wizardMissing());
}

bool MainForm::useOutput(Output output)
{
    if (!m_print) {
        showStatus(T::printingMissing());
        return false;
    }
    m_print(output, m_ui->PageControl1->currentIndex() == 1);
    return true;
}

void MainForm::copyToClipboard()
{
    // A caption being edited keeps its own Ctrl+C.
    if (auto *edit = qobject_cast<QLineEdit *>(QApplication::focusWidget())) {
        edit->copy();
        return;
    }
    useOutput(Output::Copy);
}

void MainForm::print() { useOutput(Output::Print); }
void MainForm::printSetup() { useOutput(Output::PrintSetup); }

void MainForm::showWhatsThis(QWidget *button, int helpNumber)
{
    if (!m_whatsThis)
        m_whatsThis = new WhatsThisPopup(this);
    m_whatsThis->showText(T::helpText(helpNumber), button->mapToGlobal(QPoint(0, button->height() - 20)));
}

// ---- engine host

void MainForm::logLineAdded(const QString &line) { m_ui->RichEdit1->appendPlainText(line); }

void MainForm::showStatus(const QString &text) { m_status->setText(text); }
QString MainForm::statusText() const { return m_status->text(); }

void MainForm::showClock(const QString &time) { m_clock->setText(time); }

bool MainForm::isMiniWindowVisible() const { return m_tray && m_tray->isMiniWindowVisible(); }

void MainForm::showMiniWindow()
{
    if (m_tray && m_tray->hasMiniWindow()) {
        // Today's queue was built at start-up, before the mini window was there to show
        // its count; an empty panel would say nothing.
        if (!m_tray->isMiniWindowVisible())
            m_tray->setMiniJobCount(m_engine->isSuspended() ? EngineText::allJobsSuspendedMini()
                                                            : EngineText::jobsToday(m_engine->queue().count()));
        m_tray->showMiniWindow();
    }
    else if (!isVisible())
        show();
}

void MainForm::setMiniJobCount(const QString &text)
{
    if (m_tray)
        m_tray->setMiniJobCount(text);
}

void MainForm::setMiniCaption(const QString &text)
{
    if (m_tray)
        m_tray->setMiniCaption(text);
}

void MainForm::setTrayFrame(int frame)
{
    if (m_tray)
        m_tray->setTrayFrame(frame);
}

void MainForm::showMessage(const QString &text) { Dialogs::current().notice(this, text, caption); }

void MainForm::processPendingEvents() { QApplication::processEvents(); }

void MainForm::quit() { closeWithoutQuestions(); }
