// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/systemjob.h"

#include "store/jobstore.h"
#include "ui/editors/editortext.h"
#include "ui/editors/formhelpers.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;

SystemJob::SystemJob(const EditorContext &context, const QString &jobName, QWidget *parent,
    ProcessSource processes)
    : ActivityJobEditor(context, EditorText::systemJobCaption(), parent), m_processes(std::move(processes))
{
    setObjectName(u"TSystemJob"_s);
    auto *group = new QGroupBox(tr("Activity"), this);
    m_activity = new QButtonGroup(this);
    const QStringList texts{ tr("&Shut down"), tr("Shutdown && P&owerOff"), tr("Shutdown && &Reboot"),
        tr("C&lose programs && logoff"), tr("Restart the sess&ion"), tr("&Terminate this process:") };
    auto *grid = new QGridLayout(group);
    for (int i = 0; i < texts.size(); ++i) {
        auto *r = new QRadioButton(texts[i], group);
        r->setObjectName(u"RadioShutdown"_s + QString::number(i + 1));
        m_activity->addButton(r, i + 1);
        grid->addWidget(r, i, 0);
    }
    m_process = new QLineEdit(group);
    m_process->setObjectName(u"EditProcessName"_s);
    m_process->setAccessibleName(tr("Process name"));
    m_process->setToolTip(tr("Enter a process name, ie: firefox or rsync"));
    auto *browse = FormHelpers::button(tr("Bro&wse Processes"), u"ButtonBrowseProcesses"_s, group,
        tr("Click here to list the processes that are currently running on your system"));
    grid->addWidget(m_process, 5, 1);
    grid->addWidget(browse, 5, 2);
    grid->setColumnStretch(1, 1);
    setActivityWidget(group);

    m_force = optionsBox();
    m_force->setText(tr("&Force all programs to close without user input"));
    m_force->setObjectName(u"CheckForceClose"_s);
    m_force->setChecked(true);
    m_kill = optionsBox();
    m_kill->setText(tr("Kill the process at once (SIGKI&LL)"));
    m_kill->setObjectName(u"CheckKillType"_s);
    m_kill->setToolTip(tr("Without it the process is asked to end (SIGTERM)"));

    connect(browse, &QPushButton::clicked, this, [this] {
        ProcessForm form(m_processes(), this);
        if (form.exec() == Accepted) {
            m_process->setText(form.chosen());
            m_activity->button(6)->setChecked(true);
        }
    });
    open(jobName);
}

void SystemJob::loadOwn(JobStore &store, const QString &job)
{
    if (QAbstractButton *b = m_activity->button(store.readInteger(job, u"iShutdownType"_s, 0)))
        b->setChecked(true);
    m_force->setChecked(store.readBoolean(job, u"bForceClose"_s, true));
    m_kill->setChecked(store.readBoolean(job, u"sProcessKillType"_s, false));
    m_process->setText(store.readString(job, u"sProcessName"_s));
}

ActivityJobEditor::Refusal SystemJob::checkOwn()
{
    if (m_activity->checkedId() < 1)
        return { EditorText::noSystemActivity(), m_activity->button(1) };
    return {};
}

void SystemJob::writeOwn(JobRecord &record) const
{
    record.integer(u"iShutdownType"_s, qMax(0, m_activity->checkedId()));
    record.boolean(u"bForceClose"_s, m_force->isChecked());
}

void SystemJob::writeLast(JobRecord &record) const
{
    record.boolean(u"sProcessKillType"_s, m_kill->isChecked());
    record.text(u"sProcessName"_s, m_process->text());
}
