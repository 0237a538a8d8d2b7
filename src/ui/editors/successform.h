// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "ui/editors/editorvalues.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

// Success and failure criteria: the exit code, a file's existence and an INI key's value,
// joined by "and" or "or", and whether a match means success or failure.
class SuccessForm : public QDialog
{
    Q_OBJECT
public:
    explicit SuccessForm(const SuccessValues &values, QWidget *parent = nullptr);

    SuccessValues values() const { return m_values; }

    void accept() override;

private:
    void updateEnabled();

    SuccessValues m_values;
    QCheckBox *m_useErrLevel, *m_useFile, *m_useIni;
    QComboBox *m_errLevEqual, *m_and1, *m_and2, *m_fileExist, *m_iniEqual, *m_status;
    QSpinBox *m_errLevValue;
    QLineEdit *m_file, *m_key, *m_section, *m_value, *m_iniFile;
};
