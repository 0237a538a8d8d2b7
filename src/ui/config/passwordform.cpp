// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/config/passwordform.h"

#include "ui/config/halvpassword.h"
#include "ui_passwordform.h"

PasswordForm::PasswordForm(HalvPassword &password, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::PasswordForm>()), m_password(password)
{
    m_ui->setupUi(this);
    connect(m_ui->OkButton, &QPushButton::clicked, this, &PasswordForm::okClicked);
    connect(m_ui->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

PasswordForm::~PasswordForm() = default;

void PasswordForm::showEvent(QShowEvent *event)
{
    m_passwordAccepted = false;
    m_ui->PasswordEdit->clear();
    m_ui->PasswordEdit->setFocus();
    QDialog::showEvent(event);
}

void PasswordForm::okClicked()
{
    m_passwordAccepted = m_password.check(m_ui->PasswordEdit->text());
    // Nothing of the typed text outlives the check.
    m_ui->PasswordEdit->clear();
    accept();
}
