// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/newjobform.h"

#include "ui/mainformtext.h"
#include "ui_newjobform.h"

#include <QPushButton>

NewJobForm::NewJobForm(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::NewJobForm>())
{
    m_ui->setupUi(this);
    setWindowTitle(MainFormText::newJobCaption());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    const QStringList captions = MainFormText::newJobButtons();
    QPushButton *buttons[] = {m_ui->ProgramJobButton, m_ui->SystemJobButton, m_ui->FileJobButton,
        m_ui->EmailJobButton, m_ui->CancelButton};
    const int choices[] = {1, 2, 3, 4, 0};
    for (int i = 0; i < 5; ++i) {
        buttons[i]->setText(captions.at(i));
        buttons[i]->setAutoDefault(false);
        connect(buttons[i], &QPushButton::clicked, this, [this, choice = choices[i]] {
            m_choice = choice;
            choice ? accept() : reject();
        });
    }
    m_ui->ProgramJobButton->setToolTip(MainFormText::newJobProgramHint());
    m_ui->ProgramJobButton->setDefault(true);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

NewJobForm::~NewJobForm() = default;

int NewJobForm::choose(QWidget *parent)
{
    NewJobForm form(parent);
    form.exec();
    return form.choice();
}
