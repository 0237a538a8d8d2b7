// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/terminateform.h"

#include "ui/editors/editortext.h"
#include "ui/editors/formhelpers.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using FormHelpers::label;
using FormHelpers::spin;

TerminateForm::TerminateForm(const TerminationValues &v, QWidget *parent) : QDialog(parent), m_values(v)
{
    setObjectName(u"TTerminateForm"_s);
    setWindowTitle(EditorText::terminateCaption());
    m_none = new QRadioButton(tr("&No termination criteria"), this);
    m_none->setObjectName(u"RadioNoTermination"_s);
    m_after = new QRadioButton(tr("Terminate after running for a certain number of &minutes"), this);
    m_after->setObjectName(u"RadioAfterMinutes"_s);
    m_at = new QRadioButton(tr("Terminate at a specific &time"), this);
    m_at->setObjectName(u"RadioAtTime"_s);
    (v.type == 1 ? m_after : v.type == 2 ? m_at : m_none)->setChecked(true);

    m_minutes = spin(this, u"EditTerminationDur"_s, 0, 1000);
    m_minutes->setValue(v.duration);
    m_hour = spin(this, u"EditTerminationHour"_s, 0, 24);
    m_hour->setValue(v.hour);
    m_minute = spin(this, u"EditTerminationMin"_s, 0, 59);
    m_minute->setValue(v.minute);
    m_second = spin(this, u"EditTerminationSec"_s, 0, 59);
    m_second->setValue(v.second);
    m_level = spin(this, u"EditTerminationLevel"_s, 0, 65535);
    m_level->setValue(v.level);

    auto *grid = new QGridLayout;
    grid->addWidget(m_none, 0, 0, 1, 6);
    grid->addWidget(m_after, 1, 0, 1, 6);
    grid->addWidget(label(tr("minutes:"), m_minutes, this), 2, 0);
    grid->addWidget(m_minutes, 2, 1);
    grid->addWidget(m_at, 3, 0, 1, 6);
    grid->addWidget(label(tr("hour"), m_hour, this), 4, 0);
    grid->addWidget(m_hour, 4, 1);
    grid->addWidget(label(tr("min"), m_minute, this), 4, 2);
    grid->addWidget(m_minute, 4, 3);
    grid->addWidget(label(tr("sec"), m_second, this), 4, 4);
    grid->addWidget(m_second, 4, 5);
    grid->addWidget(label(tr("Set termination &error code to:"), m_level, this), 5, 0, 1, 2);
    grid->addWidget(m_level, 5, 2);
    grid->addWidget(new QLabel(tr("(0 denotes normal termination)"), this), 5, 3, 1, 3);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(FormHelpers::buttons(this, tr("&Save"), u"ButtonSave"_s));
}

void TerminateForm::accept()
{
    m_values.type = m_after->isChecked() ? 1 : m_at->isChecked() ? 2 : 0;
    m_values.duration = m_minutes->value();
    m_values.hour = m_hour->value();
    m_values.minute = m_minute->value();
    m_values.second = m_second->value();
    m_values.level = m_level->value();
    QDialog::accept();
}
