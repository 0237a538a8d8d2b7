// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "interchange/joblistuser.h"

class QWidget;

// The job list file's questions and file dialogs, through the dialog seam.
class DialogJobListUser : public JobListUser
{
public:
    explicit DialogJobListUser(QWidget *parent) : m_parent(parent) {}

    static QString saveTitle();
    static QString openTitle();
    static QString filter();

    std::optional<QString> chooseSaveFile(const QString &preset) override;
    std::optional<QString> chooseOpenFile(const QString &preset) override;
    bool askYesNo(Question question, const QString &text) override;
    void showMessage(const QString &text) override;

private:
    QWidget *m_parent;
};
