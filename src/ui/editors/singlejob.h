// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "ui/editors/editorcontext.h"
#include "ui/editors/editorvalues.h"
#include "ui/editors/jobrecord.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class SchedulePanel;

// The program job editor ("Job entry"). Opened with a job name it edits that job, with an
// empty name it proposes a new one. Save checks the input and replaces the job's key in
// one transaction; the dialog then closes with Accepted. Cancel closes without a word; Esc
// and the close box ask first whether to save when something was changed.
class SingleJob : public QDialog
{
    Q_OBJECT
public:
    SingleJob(const EditorContext &context, const QString &jobName, QWidget *parent = nullptr);

    // The name the job is saved under.
    QString jobName() const;
    bool isNewJob() const { return m_newJob; }

    // The values a save would write now, in their order.
    JobRecord record() const;

    // Runs the checks and writes the job; true when saved. On failure the dialog has
    // shown why and stays open.
    bool save();

    void reject() override; // Esc and the close box

private:
    void load(const QString &job);
    QString firstFailedCheck();
    void editPrestart();
    void editPostJob();
    void editSystem();
    void editNotify();
    void editTermination();
    void editSuccess();
    void chooseTemplate();

    EditorContext m_context;
    bool m_newJob = true;
    QString m_keyName;
    JobRecord m_opened; // what the editor showed when it opened, to see changes

    TerminationValues m_termination;
    NotifyValues m_notify;
    PrestartValues m_prestart;
    SuccessValues m_success;
    PostJobValues m_postJob;
    SystemValues m_system;

    QLineEdit *m_name, *m_program, *m_commandLine;
    QLabel *m_programKind;
    SchedulePanel *m_schedule;
    QCheckBox *m_deleteJob, *m_hold, *m_secure;
};
