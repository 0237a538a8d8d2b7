// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/singlejob.h"

#include "platform/clock.h"
#include "store/jobstore.h"
#include "store/settings.h"
#include "ui/dialogs.h"
#include "ui/editors/editortext.h"
#include "ui/editors/favoritesform.h"
#include "ui/editors/formhelpers.h"
#include "ui/editors/notifyform2.h"
#include "ui/editors/postjobform.h"
#include "ui/editors/prestartform.h"
#include "ui/editors/programkind.h"
#include "ui/editors/schedulepanel.h"
#include "ui/editors/successform.h"
#include "ui/editors/systemform.h"
#include "ui/editors/terminateform.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using FormHelpers::button;

SingleJob::SingleJob(const EditorContext &context, const QString &jobName, QWidget *parent)
    : QDialog(parent), m_context(context), m_keyName(jobName)
{
    setObjectName(u"TSingleJob"_s);
    setWindowTitle(EditorText::singleJobCaption());

    m_name = new QLineEdit(this);
    m_name->setObjectName(u"EditJobName"_s);
    m_schedule = new SchedulePanel(this);
    m_schedule->setObjectName(u"SchedulePanel"_s);
    m_program = new QLineEdit(this);
    m_program->setObjectName(u"EditProgram"_s);
    auto *browse = button(tr("..."), u"ButtonBrowseProgram"_s, this,
        tr("Browse for a program or file to run"));
    browse->setAccessibleName(tr("Browse"));
    auto *templates = button(tr("&Fav"), u"ButtonTemplates"_s, this, tr("Invoke the Job Template list"));
    templates->setAccessibleName(tr("Job templates"));
    m_programKind = new QLabel(this);
    m_programKind->setObjectName(u"LabelProgramKind"_s);
    m_commandLine = new QLineEdit(this);
    m_commandLine->setObjectName(u"EditCommandLine"_s);

    auto *options = new QGroupBox(tr("Options"), this);
    options->setObjectName(u"GroupOptions"_s);
    m_deleteJob = new QCheckBox(tr("Delete job after &running it"), options);
    m_deleteJob->setObjectName(u"CheckDeleteJob"_s);
    m_hold = new QCheckBox(tr("Put job on &hold"), options);
    m_hold->setObjectName(u"CheckHold"_s);
    m_secure = new QCheckBox(tr("Ma&ke this a secure job"), options);
    m_secure->setObjectName(u"CheckSecure"_s);
    auto *optionsLayout = new QVBoxLayout(options);
    for (QCheckBox *c : { m_deleteJob, m_hold, m_secure })
        optionsLayout->addWidget(c);

    auto *prePost = new QGroupBox(tr("Pre && Post Job Actions"), this);
    auto *prestart = button(tr("&PreStart Actions"), u"ButtonPrestart"_s, prePost,
        tr("Set prestart criteria.. ie: Starting Directory"));
    auto *postJob = button(tr("Post-Jo&b Actions"), u"ButtonPostJob"_s, prePost,
        tr("Set actions that will be taken when this job ends"));
    auto *system = button(tr("S&ystem Settings"), u"ButtonSystem"_s, prePost);
    auto *prePostLayout = new QVBoxLayout(prePost);
    for (QPushButton *b : { prestart, postJob, system })
        prePostLayout->addWidget(b);

    auto *other = new QGroupBox(tr("Other Options"), this);
    auto *notify = button(tr("&Notification Criteria"), u"ButtonNotify"_s, other);
    auto *terminate = button(tr("&Termination Criteria"), u"ButtonTerminate"_s, other);
    auto *success = button(tr("S&uccess && Failure Criteria"), u"ButtonSuccess"_s, other,
        tr("Set criteria to test to determine if the job was successful or failed"));
    auto *otherLayout = new QVBoxLayout(other);
    for (QPushButton *b : { notify, terminate, success })
        otherLayout->addWidget(b);

    auto *saveButton = button(tr("&Save"), u"ButtonSave"_s, this, tr("Attempt to save the data and close this form"));
    saveButton->setDefault(true);
    auto *cancelButton = button(tr("&Cancel"), u"ButtonCancel"_s, this, tr("Close this form without saving the data"));

    auto *form = new QGridLayout;
    form->addWidget(FormHelpers::label(tr("&Job Name:"), m_name, this), 0, 0);
    form->addWidget(m_name, 0, 1, 1, 3);
    form->addWidget(m_schedule, 1, 0, 1, 4);
    form->addWidget(FormHelpers::label(tr("Pro&gram:"), m_program, this), 2, 0);
    form->addWidget(m_program, 2, 1);
    form->addWidget(browse, 2, 2);
    form->addWidget(templates, 2, 3);
    form->addWidget(m_programKind, 3, 1, 1, 3);
    form->addWidget(FormHelpers::label(tr("Co&mmand Options:"), m_commandLine, this), 4, 0);
    form->addWidget(m_commandLine, 4, 1, 1, 3);
    form->setColumnStretch(1, 1);

    auto *groups = new QHBoxLayout;
    groups->addWidget(options);
    groups->addWidget(prePost);
    groups->addWidget(other);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(groups);
    layout->addLayout(buttons);

    connect(m_program, &QLineEdit::textChanged, this,
        [this](const QString &text) { m_programKind->setText(ProgramKind::describe(text)); });
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString name = Dialogs::current().openFileName(this, tr("Program to run"),
            ProgramKind::resolve(m_program->text()), tr("All files (*)"));
        if (!name.isEmpty())
            m_program->setText(ProgramKind::quote(name));
    });
    connect(templates, &QPushButton::clicked, this, &SingleJob::chooseTemplate);
    connect(prestart, &QPushButton::clicked, this, &SingleJob::editPrestart);
    connect(postJob, &QPushButton::clicked, this, &SingleJob::editPostJob);
    connect(system, &QPushButton::clicked, this, &SingleJob::editSystem);
    connect(notify, &QPushButton::clicked, this, &SingleJob::editNotify);
    connect(terminate, &QPushButton::clicked, this, &SingleJob::editTermination);
    connect(success, &QPushButton::clicked, this, &SingleJob::editSuccess);
    connect(saveButton, &QPushButton::clicked, this, [this] {
        if (save())
            accept();
    });
    connect(cancelButton, &QPushButton::clicked, this, [this] { done(Rejected); });

    if (!jobName.isEmpty() && m_context.store.jobExists(jobName)) {
        m_newJob = false;
        load(jobName);
    } else {
        // A job gone since the list showed it is made again as a new one, so no other
        // job can be overwritten under its name.
        m_keyName.clear();
        m_schedule->proposeNew(m_context.clock.now());
    }
    m_name->setEnabled(m_newJob);
    (m_newJob ? static_cast<QWidget *>(m_name) : m_program)->setFocus();
    m_opened = record();
}

void SingleJob::load(const QString &job)
{
    JobStore &s = m_context.store;
    m_name->setText(s.readString(job, u"sJobName"_s));
    const QString warning = m_schedule->load(s, job);
    m_program->setText(s.readString(job, u"sProgram"_s));
    m_commandLine->setText(s.readString(job, u"sCommand Line"_s));
    m_prestart.startDir = s.readString(job, u"sStartDir"_s);
    m_prestart.checkPreStart = s.readBoolean(job, u"bCheckPreStart"_s, false);
    m_prestart.checkStartDir = s.readBoolean(job, u"bCheckStartDir"_s, false);
    m_prestart.checkDiskFree = s.readBoolean(job, u"bCheckDiskFree"_s, false);
    m_prestart.diskFreeMb = s.readInteger(job, u"iDiskFreeMb"_s, 10);
    m_prestart.drive = s.readString(job, u"sDiskFreeDrive"_s, u"c"_s).left(1);
    m_deleteJob->setChecked(s.readBoolean(job, u"bDeleteJob"_s, false));
    m_hold->setChecked(s.readBoolean(job, u"bHold"_s, false));
    m_secure->setChecked(s.readBoolean(job, u"bSecureJob"_s, false));

    m_termination.type = s.readInteger(job, u"iTerminationType"_s, 0);
    m_termination.duration = s.readInteger(job, u"iTerminationDur"_s, 0);
    m_termination.hour = s.readInteger(job, u"iTerminationHour"_s, 0);
    m_termination.minute = s.readInteger(job, u"iTerminationMin"_s, 0);
    m_termination.second = s.readInteger(job, u"iTerminationSec"_s, 0);
    m_termination.level = s.readInteger(job, u"iTerminationLevel"_s, 0);

    m_notify.notify = s.readBoolean(job, u"bNotifyCode"_s, false);
    m_notify.type = s.readInteger(job, u"iNotifyType"_s, -1);
    m_notify.start = s.readInteger(job, u"iNotifyStart"_s, -1);
    m_notify.end = s.readInteger(job, u"iNotifyEnd"_s, -1);
    for (int i = 0; i < NotifyValues::maxRecipients; ++i) {
        const QString r = s.readString(job, u"sNotifyRecip"_s + QString::number(i));
        if (!r.isEmpty())
            m_notify.recipients.append(r);
    }

    SuccessValues &v = m_success;
    v.useErrLevel = s.readBoolean(job, u"bUseErrLevel"_s, false);
    v.useFileExist = s.readBoolean(job, u"bUseFileExist"_s, false);
    v.errLevEqual = s.readInteger(job, u"iErrLevEqual"_s, 0);
    v.errLevValue = s.readInteger(job, u"iErrLevValue"_s, 0);
    v.errLevSuccess = s.readBoolean(job, u"bErrLevSuccess"_s, true);
    v.fileExFileName = s.readString(job, u"sFileExFileName"_s);
    v.fileExExist = s.readBoolean(job, u"bFileExExist"_s, false);
    v.fileExSuccess = s.readBoolean(job, u"bFileExSuccess"_s, false);
    v.successAnd1 = s.readBoolean(job, u"bSuccessAnd1"_s, true);
    v.successAnd2 = s.readBoolean(job, u"bSuccessAnd2"_s, true);
    v.useIniKey = s.readBoolean(job, u"bUseIniKey"_s, false);
    v.keyName = s.readString(job, u"sKeyName"_s);
    v.sectionName = s.readString(job, u"sSectionName"_s);
    v.keyValue = s.readString(job, u"sKeyValue"_s);
    v.iniFileName = s.readString(job, u"sIniFileName"_s);
    v.iniFileEqual = s.readBoolean(job, u"bIniFileEqual"_s, true);

    m_postJob.successCode = s.readInteger(job, u"iPostSuccessCode"_s, 0);
    m_postJob.failCode = s.readInteger(job, u"iPostFailCode"_s, 0);
    m_postJob.successFile = s.readString(job, u"sPostSuccessFile"_s);
    m_postJob.failFile = s.readString(job, u"sPostFailFile"_s);
    m_system.appearance = s.readInteger(job, u"iWinAppearance"_s, 0);
    m_system.priority = s.readInteger(job, u"iWinPriority"_s, 0);

    if (!warning.isEmpty())
        Dialogs::current().message(this, Dialogs::Kind::Warning, warning, windowTitle());
}

QString SingleJob::jobName() const { return m_name->text(); }

JobRecord SingleJob::record() const
{
    JobRecord r;
    r.text(u"sJobName"_s, m_name->text());
    r.integer(u"iJobType"_s, 0);
    r.boolean(u"bHold"_s, m_hold->isChecked());
    m_schedule->writeTime(r);
    m_schedule->writeFrequency(r);
    r.text(u"sProgram"_s, m_program->text());
    r.text(u"sCommand Line"_s, m_commandLine->text());
    r.boolean(u"bCheckPreStart"_s, m_prestart.checkPreStart);
    r.boolean(u"bCheckStartDir"_s, m_prestart.checkStartDir);
    r.boolean(u"bCheckDiskFree"_s, m_prestart.checkDiskFree);
    r.integer(u"iDiskFreeMb"_s, m_prestart.diskFreeMb);
    // A disk test never set has no letter: the engine's own default drive.
    r.text(u"sDiskFreeDrive"_s, m_prestart.drive.isEmpty() ? u"c"_s : m_prestart.drive);
    r.text(u"sStartDir"_s, m_prestart.startDir);
    r.boolean(u"bDeleteJob"_s, m_deleteJob->isChecked());
    r.boolean(u"bSecureJob"_s, m_secure->isChecked());
    r.boolean(u"bNotifyCode"_s, m_notify.notify);
    r.integer(u"iNotifyType"_s, m_notify.type);
    r.integer(u"iNotifyStart"_s, m_notify.start);
    r.integer(u"iNotifyEnd"_s, m_notify.end);
    for (int i = 0; i < m_notify.recipients.size(); ++i)
        r.text(u"sNotifyRecip"_s + QString::number(i), m_notify.recipients[i]);
    m_schedule->writeCustomTime(r);
    r.integer(u"iTerminationType"_s, m_termination.type);
    if (m_termination.type != 0) {
        r.integer(u"iTerminationDur"_s, m_termination.duration);
        r.integer(u"iTerminationHour"_s, m_termination.hour);
        r.integer(u"iTerminationMin"_s, m_termination.minute);
        r.integer(u"iTerminationSec"_s, m_termination.second);
        r.integer(u"iTerminationLevel"_s, m_termination.level);
    }
    const SuccessValues &v = m_success;
    r.boolean(u"bErrLevSuccess"_s, v.errLevSuccess);
    r.boolean(u"bUseErrLevel"_s, v.useErrLevel);
    if (v.useErrLevel) {
        r.integer(u"iErrLevEqual"_s, v.errLevEqual);
        r.integer(u"iErrLevValue"_s, v.errLevValue);
    }
    r.boolean(u"bUseFileExist"_s, v.useFileExist);
    if (v.useFileExist) {
        r.text(u"sFileExFileName"_s, v.fileExFileName);
        r.boolean(u"bFileExExist"_s, v.fileExExist);
        r.boolean(u"bFileExSuccess"_s, v.fileExSuccess);
    }
    r.integer(u"iPostSuccessCode"_s, m_postJob.successCode);
    r.integer(u"iPostFailCode"_s, m_postJob.failCode);
    if (!m_postJob.successFile.isEmpty())
        r.text(u"sPostSuccessFile"_s, m_postJob.successFile);
    if (!m_postJob.failFile.isEmpty())
        r.text(u"sPostFailFile"_s, m_postJob.failFile);
    r.boolean(u"bSuccessAnd1"_s, v.successAnd1);
    r.boolean(u"bSuccessAnd2"_s, v.successAnd2);
    r.boolean(u"bUseIniKey"_s, v.useIniKey);
    r.text(u"sKeyName"_s, v.keyName);
    r.text(u"sSectionName"_s, v.sectionName);
    r.text(u"sKeyValue"_s, v.keyValue);
    r.text(u"sIniFileName"_s, v.iniFileName);
    r.boolean(u"bIniFileEqual"_s, v.iniFileEqual);
    r.integer(u"iWinAppearance"_s, m_system.appearance);
    r.integer(u"iWinPriority"_s, m_system.priority);
    return r;
}

QString SingleJob::firstFailedCheck()
{
    const QString name = m_name->text();
    if (name.isEmpty())
        return EditorText::jobNameMissing();
    if (m_newJob && !JobStore::isValidJobName(name))
        return EditorText::jobNameBackslash();
    if (m_newJob && m_context.store.jobExists(name))
        return EditorText::jobNameTaken();
    if (m_program->text().isEmpty())
        return EditorText::programMissing();
    const QString schedule = m_schedule->check();
    if (!schedule.isEmpty())
        return schedule;
    if (m_deleteJob->isChecked() && !(m_schedule->frequency() == 5 && m_schedule->dates().size() == 1))
        return EditorText::deleteNeedsOneDate();
    return QString();
}

bool SingleJob::save()
{
    const QString refusal = firstFailedCheck();
    if (!refusal.isEmpty()) {
        Dialogs::current().message(this, Dialogs::Kind::Warning, refusal, windowTitle());
        return false;
    }
    const QString key = m_newJob ? m_name->text() : m_keyName;
    const JobRecord written = record();
    if (!FormHelpers::writeJob(this, m_context.store, key, written))
        return false;
    m_opened = written;
    return true;
}

void SingleJob::reject()
{
    FormHelpers::rejectAsking(this, !(record() == m_opened), [this] { return save(); },
        [this] { QDialog::reject(); });
}

void SingleJob::editPrestart()
{
    PrestartForm::Drives drives;
    for (char16_t c = u'a'; c <= u'z'; ++c) {
        const QString folder = m_context.settings.readString(Settings::Section::Config,
            u"sDrive."_s + QChar(c), c == u'c' ? u"/"_s : QString());
        if (!folder.isEmpty())
            drives.append({ QChar(c), folder });
    }
    PrestartForm form(m_prestart, drives, this);
    if (form.exec() == Accepted)
        m_prestart = form.values();
}

void SingleJob::editPostJob()
{
    PostJobForm form(m_postJob, m_context.store.listJobs(), this);
    if (form.exec() == Accepted)
        m_postJob = form.values();
}

void SingleJob::editSystem()
{
    SystemForm form(m_system, this);
    if (form.exec() == Accepted)
        m_system = form.values();
}

void SingleJob::editNotify()
{
    NotifyForm2 form(m_notify, NotifyForm2::systemMailAvailable(m_context.settings), this);
    if (form.exec() == Accepted)
        m_notify = form.values();
}

void SingleJob::editTermination()
{
    TerminateForm form(m_termination, this);
    if (form.exec() == Accepted)
        m_termination = form.values();
}

void SingleJob::editSuccess()
{
    SuccessForm form(m_success, this);
    if (form.exec() == Accepted)
        m_success = form.values();
}

void SingleJob::chooseTemplate()
{
    FavoritesForm form(m_context.settings, this);
    if (form.exec() != Accepted)
        return;
    m_program->setText(form.selected().command);
    m_commandLine->setText(form.selected().parameters);
}
