// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class NewJobForm;
}

// The job-type chooser: 1 program, 2 system, 3 file, 4 e-mail, 0 nothing.
class NewJobForm : public QDialog
{
    Q_OBJECT
public:
    explicit NewJobForm(QWidget *parent = nullptr);
    ~NewJobForm() override;

    int choice() const { return m_choice; }

    // Shows the chooser modally and returns the choice.
    static int choose(QWidget *parent);

private:
    std::unique_ptr<Ui::NewJobForm> m_ui;
    int m_choice = 0;
};
