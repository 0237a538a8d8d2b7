// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "ui/editors/editorvalues.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QRadioButton;

// What follows a run: nothing, start another job, or run a program, chosen separately for
// success and for failure.
class PostJobForm : public QDialog
{
    Q_OBJECT
public:
    // `jobs`: the names of the jobs in the store, offered as targets.
    PostJobForm(const PostJobValues &values, const QStringList &jobs, QWidget *parent = nullptr);

    PostJobValues values() const { return m_values; }

    void accept() override;

private:
    struct Side
    {
        QRadioButton *none, *job, *program;
        QComboBox *jobs;
        QLineEdit *path;
    };
    Side makeSide(const QString &prefix, const QString &noneText, int code, const QString &target,
        const QStringList &jobs);
    static int code(const Side &side);
    static QString target(const Side &side);

    PostJobValues m_values;
    Side m_success, m_fail;
};
