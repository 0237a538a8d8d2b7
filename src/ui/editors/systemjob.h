// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "ui/editors/activityjobeditor.h"
#include "ui/editors/processform.h"

#include <functional>

class QButtonGroup;

// The system job editor ("System Level Job Entry"): shut down, power off, reboot, log off,
// restart the session, or terminate a process by name.
class SystemJob : public ActivityJobEditor
{
    Q_OBJECT
public:
    using ProcessSource = std::function<QList<ProcessForm::Row>()>;
    // `processes` feeds the process chooser; the running processes when not given.
    SystemJob(const EditorContext &context, const QString &jobName, QWidget *parent = nullptr,
        ProcessSource processes = &ProcessForm::runningProcesses);

protected:
    int jobType() const override { return 1; }
    void loadOwn(JobStore &store, const QString &job) override;
    Refusal checkOwn() override;
    void writeOwn(JobRecord &record) const override;
    void writeLast(JobRecord &record) const override;

private:
    ProcessSource m_processes;
    QButtonGroup *m_activity;
    QLineEdit *m_process;
    QCheckBox *m_force, *m_kill;
};
