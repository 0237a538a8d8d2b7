// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "ui/editors/editorvalues.h"

#include <QDialog>

class QButtonGroup;

// How a job's program window appears and at which priority the program runs.
class SystemForm : public QDialog
{
    Q_OBJECT
public:
    explicit SystemForm(const SystemValues &values, QWidget *parent = nullptr);

    SystemValues values() const { return m_values; }

    void accept() override;

private:
    SystemValues m_values;
    QButtonGroup *m_appearance, *m_priority;
};
