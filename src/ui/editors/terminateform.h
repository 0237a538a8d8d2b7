// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "ui/editors/editorvalues.h"

#include <QDialog>

class QRadioButton;
class QSpinBox;

// When a running program is ended: never, after a number of minutes, or at a time of day,
// and the exit code its run then records.
class TerminateForm : public QDialog
{
    Q_OBJECT
public:
    explicit TerminateForm(const TerminationValues &values, QWidget *parent = nullptr);

    TerminationValues values() const { return m_values; }

    void accept() override;

private:
    TerminationValues m_values;
    QRadioButton *m_none, *m_after, *m_at;
    QSpinBox *m_minutes, *m_hour, *m_minute, *m_second, *m_level;
};
