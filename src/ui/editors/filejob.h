// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "ui/editors/activityjobeditor.h"

class QButtonGroup;
class QListWidget;
class QPushButton;

// The file job editor ("File\Folder Job Entry"): delete, create, copy or rename files,
// with the sources and a target file or folder.
class FileJob : public ActivityJobEditor
{
    Q_OBJECT
public:
    FileJob(const EditorContext &context, const QString &jobName, QWidget *parent = nullptr);

protected:
    int jobType() const override;
    void loadOwn(JobStore &store, const QString &job) override;
    Refusal checkOwn() override;
    void prepareWrite() override;
    void writeOwn(JobRecord &record) const override;

private:
    QButtonGroup *m_activity;
    QListWidget *m_sources;
    QLineEdit *m_target;
    QPushButton *m_delete;
};
