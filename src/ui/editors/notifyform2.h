// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "ui/editors/editorvalues.h"

#include <QDialog>

class QListWidget;
class QPushButton;
class QRadioButton;
class Settings;

// E-mail notification of a program job's start and end: on or off, the mail method, the
// occasions and the recipients (at most 256).
class NotifyForm2 : public QDialog
{
    Q_OBJECT
public:
    // `systemMailAvailable`: whether the system's mail program can be used.
    NotifyForm2(const NotifyValues &values, bool systemMailAvailable, QWidget *parent = nullptr);

    NotifyValues values() const { return m_values; }

    // Whether the mail program of the Email setting sSendmailCommand can be started.
    static bool systemMailAvailable(Settings &settings);

    void accept() override;

private:
    void addRecipient();
    void updateEnabled();

    NotifyValues m_values;
    bool m_systemMail;
    QRadioButton *m_off, *m_on, *m_mapi, *m_smtp, *m_startOk, *m_startFail, *m_endOk, *m_endFail;
    QListWidget *m_recipients;
    QPushButton *m_delete;
};
