// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QDialog>

#include <memory>

class HalvPassword;
namespace Ui {
class PasswordForm;
}

// `TPasswordForm`: the password prompt. "&Ok" checks the typed text and closes the dialog
// with Accepted whether or not it matched; the caller then asks isPasswordAccepted().
// Cancel, Esc and the close box give Rejected.
class PasswordForm : public QDialog
{
    Q_OBJECT
public:
    explicit PasswordForm(HalvPassword &password, QWidget *parent = nullptr);
    ~PasswordForm() override;

    bool isPasswordAccepted() const { return m_passwordAccepted; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void okClicked();

    std::unique_ptr<Ui::PasswordForm> m_ui;
    HalvPassword &m_password;
    bool m_passwordAccepted = false;
};
