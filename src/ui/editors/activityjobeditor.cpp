// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/activityjobeditor.h"

#include "platform/clock.h"
#include "store/jobstore.h"
#include "ui/dialogs.h"
#include "ui/editors/editortext.h"
#include "ui/editors/formhelpers.h"
#include "ui/editors/postjobform.h"
#include "ui/editors/schedulepanel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using FormHelpers::button;

ActivityJobEditor::ActivityJobEditor(const EditorContext &context, const QString &caption, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setWindowTitle(caption);
    m_name = new QLineEdit(this);
    m_name->setObjectName(u"EditJobName"_s);
    m_schedule = new SchedulePanel(this);
    m_schedule->setObjectName(u"SchedulePanel"_s);

    auto *options = new QGroupBox(tr("Options"), this);
    options->setObjectName(u"GroupOptions"_s);
    m_hold = new QCheckBox(tr("Put job on &hold"), options);
    m_hold->setObjectName(u"CheckHold"_s);
    m_secure = new QCheckBox(tr("Ma&ke this a Secure Job"), options);
    m_secure->setObjectName(u"CheckSecure"_s);
    auto *postJob = button(tr("Post-Jo&b Actions"), u"ButtonPostJob"_s, options,
        tr("Click here to set actions that will occur when this job is complete"));
    m_options = new QVBoxLayout(options);
    m_options->addWidget(m_hold);
    m_options->addWidget(m_secure);
    m_options->addWidget(postJob);

    auto *save = button(tr("&Save"), u"ButtonSave"_s, this, tr("Attempt to save the data and close this form"));
    save->setDefault(true);
    auto *cancel = button(tr("&Cancel"), u"ButtonCancel"_s, this, tr("Close this form without saving the data"));

    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(FormHelpers::label(tr("&Job Name:"), m_name, this));
    nameRow->addWidget(m_name, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    m_layout = new QVBoxLayout(this);
    m_layout->addLayout(nameRow);
    m_layout->addWidget(m_schedule);
    m_layout->addWidget(options);
    m_layout->addLayout(buttons);

    connect(postJob, &QPushButton::clicked, this, &ActivityJobEditor::editPostJob);
    connect(save, &QPushButton::clicked, this, [this] {
        if (this->save())
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] { done(Rejected); });
}

void ActivityJobEditor::setActivityWidget(QWidget *widget) { m_layout->insertWidget(2, widget); }

QCheckBox *ActivityJobEditor::optionsBox()
{
    auto *box = new QCheckBox(this);
    m_options->insertWidget(2, box);
    return box;
}

void ActivityJobEditor::open(const QString &jobName)
{
    JobStore &s = m_context.store;
    if (!jobName.isEmpty() && s.jobExists(jobName)) {
        m_newJob = false;
        m_keyName = jobName;
        m_name->setText(s.readString(jobName, u"sJobName"_s));
        const QString warning = m_schedule->load(s, jobName);
        m_hold->setChecked(s.readBoolean(jobName, u"bHold"_s, false));
        m_secure->setChecked(s.readBoolean(jobName, u"bSecureJob"_s, false));
        loadOwn(s, jobName);
        m_postJob.successCode = s.readInteger(jobName, u"iPostSuccessCode"_s, 0);
        m_postJob.successFile = s.readString(jobName, u"sPostSuccessFile"_s);
        m_postJob.failCode = s.readInteger(jobName, u"iPostFailCode"_s, 0);
        m_postJob.failFile = s.readString(jobName, u"sPostFailFile"_s);
        if (!warning.isEmpty())
            Dialogs::current().message(this, Dialogs::Kind::Warning, warning, windowTitle());
    } else {
        m_schedule->proposeNew(m_context.clock.now());
    }
    m_name->setEnabled(m_newJob);
    if (m_newJob)
        m_name->setFocus();
    m_opened = record();
}

QString ActivityJobEditor::jobName() const { return m_name->text(); }

JobRecord ActivityJobEditor::record() const
{
    JobRecord r;
    r.text(u"sJobName"_s, m_name->text());
    r.integer(u"iJobType"_s, jobType());
    r.boolean(u"bHold"_s, m_hold->isChecked());
    r.boolean(u"bSecureJob"_s, m_secure->isChecked());
    m_schedule->writeTime(r);
    m_schedule->writeFrequency(r);
    m_schedule->writeCustomTime(r);
    writeOwn(r);
    r.integer(u"iPostSuccessCode"_s, m_postJob.successCode);
    if (!m_postJob.successFile.isEmpty())
        r.text(u"sPostSuccessFile"_s, m_postJob.successFile);
    r.integer(u"iPostFailCode"_s, m_postJob.failCode);
    if (!m_postJob.failFile.isEmpty())
        r.text(u"sPostFailFile"_s, m_postJob.failFile);
    writeLast(r);
    return r;
}

ActivityJobEditor::Refusal ActivityJobEditor::firstFailedCheck()
{
    const QString name = m_name->text();
    if (name.isEmpty())
        return { EditorText::jobNameMissing(), m_name };
    if (m_newJob && !JobStore::isValidJobName(name))
        return { EditorText::jobNameBackslash(), m_name };
    if (m_newJob && m_context.store.jobExists(name))
        return { EditorText::jobNameTaken(), m_name };
    const QString schedule = m_schedule->check();
    if (!schedule.isEmpty())
        return { schedule, m_schedule->kindButton() };
    return checkOwn();
}

bool ActivityJobEditor::save()
{
    const Refusal refusal = firstFailedCheck();
    if (!refusal.message.isEmpty()) {
        Dialogs::current().message(this, Dialogs::Kind::Warning, refusal.message, windowTitle());
        if (refusal.focus)
            refusal.focus->setFocus();
        return false;
    }
    prepareWrite();
    const QString key = m_newJob ? m_name->text() : m_keyName;
    const JobRecord written = record();
    if (!FormHelpers::writeJob(this, m_context.store, key, written))
        return false;
    m_opened = written;
    return true;
}

void ActivityJobEditor::reject()
{
    FormHelpers::rejectAsking(this, !(record() == m_opened), [this] { return save(); },
        [this] { QDialog::reject(); });
}

void ActivityJobEditor::editPostJob()
{
    PostJobForm form(m_postJob, m_context.store.listJobs(), this);
    if (form.exec() == Accepted)
        m_postJob = form.values();
}
