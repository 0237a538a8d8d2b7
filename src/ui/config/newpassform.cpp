// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/config/newpassform.h"

#include "ui/config/configtext.h"
#include "ui/config/halvpassword.h"
#include "ui/dialogs.h"
#include "ui_newpassform.h"

NewPassForm::NewPassForm(HalvPassword &password, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::NewPassForm>()), m_password(password)
{
    m_ui->setupUi(this);
    connect(m_ui->OkButton, &QPushButton::clicked, this, &NewPassForm::okClicked);
    connect(m_ui->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // A check costs a slow hash: it runs once typing pauses, or at once when the user
    // leaves the field or presses Enter, so that typing never stalls.
    m_oldPasswordPause.setSingleShot(true);
    m_oldPasswordPause.setInterval(300);
    connect(m_ui->OldPassword, &QLineEdit::textChanged, &m_oldPasswordPause, qOverload<>(&QTimer::start));
    connect(&m_oldPasswordPause, &QTimer::timeout, this, &NewPassForm::checkOldPassword);
    connect(m_ui->OldPassword, &QLineEdit::editingFinished, this, &NewPassForm::checkOldPassword);

    const bool set = m_password.isSet();
    m_ui->OldPasswordLabel->setEnabled(set);
    m_ui->OldPassword->setEnabled(set);
    setNewFieldsEnabled(!set);
    if (set)
        m_ui->OldPassword->setFocus();
    else
        m_ui->NewPassword->setFocus();
}

NewPassForm::~NewPassForm() = default;

void NewPassForm::setNewFieldsEnabled(bool enabled)
{
    m_ui->NewPasswordLabel->setEnabled(enabled);
    m_ui->NewPassword->setEnabled(enabled);
    m_ui->RetypeNewLabel->setEnabled(enabled);
    m_ui->RetypeNew->setEnabled(enabled);
}

void NewPassForm::checkOldPassword()
{
    m_oldPasswordPause.stop();
    // Once open, the fields stay open: the old password has been shown to be known.
    const QString text = m_ui->OldPassword->text();
    if (m_ui->NewPassword->isEnabled() || text.isEmpty() || !m_password.check(text))
        return;
    setNewFieldsEnabled(true);
    m_ui->NewPassword->setFocus();
}

void NewPassForm::okClicked()
{
    if (m_ui->RetypeNew->text().isEmpty()) {
        Dialogs::current().message(this, Dialogs::Kind::Warning, ConfigText::retypeNewPassword());
        m_ui->RetypeNew->setFocus();
        return;
    }
    if (m_ui->NewPassword->text() != m_ui->RetypeNew->text()) {
        Dialogs::current().message(this, Dialogs::Kind::Warning, ConfigText::notRetypedCorrectly());
        m_ui->NewPassword->clear();
        m_ui->RetypeNew->clear();
        m_ui->NewPassword->setFocus();
        return;
    }
    if (!m_password.set(m_ui->NewPassword->text())) {
        Dialogs::current().message(this, Dialogs::Kind::Error, ConfigText::passwordNotStored());
        return;
    }
    accept();
}
