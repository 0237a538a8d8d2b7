// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "ui/editors/editorvalues.h"

#include <QDialog>
#include <QList>
#include <QPair>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

// Prestart criteria: a start directory and free space on a drive. Drive letters are those
// mapped to folders in the settings (sDrive.a … sDrive.z).
class PrestartForm : public QDialog
{
    Q_OBJECT
public:
    // `drives`: the mapped letters with their folders, in letter order.
    using Drives = QList<QPair<QChar, QString>>;
    PrestartForm(const PrestartValues &values, const Drives &drives, QWidget *parent = nullptr);

    PrestartValues values() const { return m_values; }

    void accept() override;

private:
    void updateState();

    PrestartValues m_values;
    QRadioButton *m_none, *m_perform;
    QCheckBox *m_checkDir, *m_checkDisk;
    QLineEdit *m_dir;
    QLabel *m_dirStatus;
    QSpinBox *m_megabytes;
    QComboBox *m_drive;
};
