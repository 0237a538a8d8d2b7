// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "setup/setupcommit.h"

#include <QDialog>

#include <memory>

class Progman;
class Settings;
namespace Ui {
class WizardForm;
}

// The first-run setup wizard: seven pages, Finish writes the answers and sets the program
// up on the desktop, Cancel only marks this version as installed. Shown modally by the
// main window one second after its first activation, and on demand.
class WizardForm : public QDialog
{
    Q_OBJECT
public:
    // `progman` carries out the group commands; without one the desktop menu is used.
    // `program` is the program's full path (the running program's unless given).
    WizardForm(Settings &settings, QWidget *parent = nullptr, Progman *progman = nullptr,
        const QString &program = QString());
    ~WizardForm() override;

    int page() const { return m_page; }

    // Shows the wizard modally if this version is not installed yet; true when it ran.
    static bool runIfNeeded(Settings &settings, QWidget *parent);

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    void setTexts();
    void readSettings();
    void showPage(int page);
    void okClicked();
    SetupCommit::Answers answers() const;
    void groupChosen();

    std::unique_ptr<Ui::WizardForm> m_ui;
    Settings &m_settings;
    std::unique_ptr<Progman> m_ownProgman;
    Progman *m_progman;
    QString m_program;
    int m_page = 1;
};
