// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QDialog>
#include <QTimer>

#include <memory>

class HalvPassword;
namespace Ui {
class NewPassForm;
}

// `TNewPassForm`: sets the password. With a password already set, the new-password fields
// open only once the old one has been typed correctly (checked when typing pauses, the
// field is left or Enter is pressed). "&Ok" stores the new password and
// closes; a missing or differing retype keeps the dialog open with its message.
class NewPassForm : public QDialog
{
    Q_OBJECT
public:
    explicit NewPassForm(HalvPassword &password, QWidget *parent = nullptr);
    ~NewPassForm() override;

private:
    void setNewFieldsEnabled(bool enabled);
    void checkOldPassword();
    void okClicked();

    std::unique_ptr<Ui::NewPassForm> m_ui;
    HalvPassword &m_password;
    QTimer m_oldPasswordPause;
};
