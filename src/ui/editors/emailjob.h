// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "ui/editors/activityjobeditor.h"

#include <QStringList>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// The e-mail job editor ("Email Job Entry"): SMTP or the system mail program, recipients,
// subject, text and attachments (at most 256 recipients and 256 files).
class EmailJob : public ActivityJobEditor
{
    Q_OBJECT
public:
    EmailJob(const EditorContext &context, const QString &jobName, QWidget *parent = nullptr);

protected:
    int jobType() const override { return 6; }
    void loadOwn(JobStore &store, const QString &job) override;
    Refusal checkOwn() override;
    void writeOwn(JobRecord &record) const override;

private:
    void addRecipient();
    void showCount();

    QStringList m_files;
    QRadioButton *m_smtp, *m_system;
    QListWidget *m_recipients;
    QPushButton *m_delete;
    QLineEdit *m_subject;
    QPlainTextEdit *m_text;
    QLabel *m_count;
};
