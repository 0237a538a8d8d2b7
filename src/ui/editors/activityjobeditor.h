// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "ui/editors/editorcontext.h"
#include "ui/editors/editorvalues.h"
#include "ui/editors/jobrecord.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QVBoxLayout;
class SchedulePanel;

// What the file, e-mail and system job editors share: the name, the schedule panel, hold,
// secure and the post-job actions, the shared checks, the write of the shared values around
// the editor's own, and the closing rules of the program job editor (Esc and the close box
// ask before dropping changes; a failed write keeps the dialog open).
//
// A subclass builds its own group, hands it to setActivityWidget() and then calls open().
class ActivityJobEditor : public QDialog
{
    Q_OBJECT
public:
    QString jobName() const;
    bool isNewJob() const { return m_newJob; }
    JobRecord record() const;
    bool save();
    void reject() override;

protected:
    struct Refusal
    {
        QString message;
        QWidget *focus = nullptr;
    };

    ActivityJobEditor(const EditorContext &context, const QString &caption, QWidget *parent);

    void setActivityWidget(QWidget *widget);
    // Reads the job or proposes a new one; call at the end of the subclass's constructor.
    void open(const QString &jobName);

    virtual int jobType() const = 0;
    virtual void loadOwn(JobStore &store, const QString &job) = 0;
    // The editor's own checks, after the shared ones; an empty message passes.
    virtual Refusal checkOwn() = 0;
    // Called once every check has passed, before the values are taken.
    virtual void prepareWrite() {}
    virtual void writeOwn(JobRecord &record) const = 0;
    // Values written after the post-job values.
    virtual void writeLast(JobRecord &) const {}

    const EditorContext &context() const { return m_context; }
    QCheckBox *optionsBox(); // a box for the "Options" group, below hold and secure

private:
    Refusal firstFailedCheck();
    void editPostJob();

    EditorContext m_context;
    bool m_newJob = true;
    QString m_keyName;
    JobRecord m_opened;
    PostJobValues m_postJob;
    QLineEdit *m_name;
    SchedulePanel *m_schedule;
    QCheckBox *m_hold, *m_secure;
    QVBoxLayout *m_layout, *m_options;
};
