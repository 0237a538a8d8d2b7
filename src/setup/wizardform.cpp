// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "setup/wizardform.h"

#include "platform/uninstallscript.h"
#include "platform/xdgprogman.h"
#include "setup/wizardtext.h"
#include "store/settings.h"
#include "ui/dialogs.h"
#include "ui_wizardform.h"

#include <QCoreApplication>
#include <QIcon>
#include <QPushButton>

WizardForm::WizardForm(Settings &settings, QWidget *parent, Progman *progman, const QString &program)
    : QDialog(parent), m_ui(std::make_unique<Ui::WizardForm>()), m_settings(settings),
      m_program(program.isEmpty() ? QCoreApplication::applicationFilePath() : program)
{
    m_ui->setupUi(this);
    if (!progman) {
        m_ownProgman = std::make_unique<XdgProgman>(UninstallScript(m_program, {}).path());
        progman = m_ownProgman.get();
    }
    m_progman = progman;
    setTexts();
    const QIcon icon = QIcon::fromTheme(QStringLiteral("voltrane"), QIcon(QStringLiteral(":/setup/voltrane.svg")));
    m_ui->Picture->setPixmap(icon.pixmap(96, 96));
    m_ui->OkButton->setDefault(true);

    connect(m_ui->NextButton, &QPushButton::clicked, this, [this] {
        if (m_page < 7)
            showPage(m_page + 1);
    });
    connect(m_ui->PrevButton, &QPushButton::clicked, this, [this] {
        if (m_page > 1)
            showPage(m_page - 1);
    });
    connect(m_ui->OkButton, &QPushButton::clicked, this, &WizardForm::okClicked);
    connect(m_ui->CancelButton, &QPushButton::clicked, this, &WizardForm::reject);
    connect(m_ui->GroupYesRadio, &QRadioButton::toggled, this, &WizardForm::groupChosen);
}

WizardForm::~WizardForm() = default;

bool WizardForm::runIfNeeded(Settings &settings, QWidget *parent)
{
    if (!SetupCommit::isNeeded(settings))
        return false;
    WizardForm wizard(settings, parent);
    wizard.exec();
    return true;
}

void WizardForm::setTexts()
{
    using namespace WizardText;
    setWindowTitle(caption());
    m_ui->OkButton->setText(continueButton());
    m_ui->CancelButton->setText(cancelButton());
    m_ui->NextButton->setText(nextButton());
    m_ui->PrevButton->setText(prevButton());
    m_ui->WelcomeLabel->setText(welcome());
    m_ui->BypassLabel->setText(bypass());
    m_ui->PlatformLabel->setText(platform());
    m_ui->VersionLabel->setText(versionLine());
    m_ui->NotifyLabel->setText(notifyQuestion());
    m_ui->NotifyMapiCheck->setText(notifyMapi());
    m_ui->NotifyInternetCheck->setText(notifyInternet());
    m_ui->AppearLabel->setText(appearQuestion());
    m_ui->AppearGroup->setTitle(appearGroup());
    m_ui->AppearNormalRadio->setText(appearNormal());
    m_ui->AppearTrayRadio->setText(appearTray());
    m_ui->AppearMiniRadio->setText(appearMini());
    m_ui->MiniNoteLabel->setText(miniNote());
    m_ui->UserIdLabel->setText(userIdQuestion());
    m_ui->SystemIdLabel->setText(systemIdQuestion());
    m_ui->GroupLabel->setText(groupQuestion());
    m_ui->GroupNameLabel->setText(groupNameQuestion());
    m_ui->UninstallLabel->setText(uninstallQuestion());
    m_ui->StartupLabel->setText(startupQuestion());
    m_ui->AutostartLabel->setText(autostartQuestion());
    for (QRadioButton *radio : {m_ui->GroupYesRadio, m_ui->UninstallYesRadio, m_ui->StartupYesRadio, m_ui->AutostartYesRadio})
        radio->setText(yes());
    for (QRadioButton *radio : {m_ui->GroupNoRadio, m_ui->UninstallNoRadio, m_ui->StartupNoRadio, m_ui->AutostartNoRadio})
        radio->setText(no());
    m_ui->DoneLabel->setText(WizardText::done());
    m_ui->RememberLabel->setText(remember());
    m_ui->CommitLabel->setText(commitHint());
}

void WizardForm::readSettings()
{
    m_ui->NotifyMapiCheck->setChecked(m_settings.boolean(settings::AllowMapi));
    m_ui->NotifyInternetCheck->setChecked(m_settings.boolean(settings::AllowInternet));
    switch (m_settings.integer(settings::StartAsWindow)) {
    case 1: m_ui->AppearTrayRadio->setChecked(true); break;
    case 2: m_ui->AppearMiniRadio->setChecked(true); break;
    default: m_ui->AppearNormalRadio->setChecked(true);
    }
    m_ui->UserIdEdit->setText(m_settings.text(settings::UserId));
    m_ui->SystemIdEdit->setText(m_settings.text(settings::SystemId));
    m_ui->GroupYesRadio->setChecked(true);
    m_ui->GroupNameEdit->setText(WizardText::defaultGroupName());
    m_ui->UninstallYesRadio->setChecked(true);
    m_ui->StartupNoRadio->setChecked(true);
    m_ui->AutostartNoRadio->setChecked(true);
    groupChosen();
}

void WizardForm::showEvent(QShowEvent *event)
{
    readSettings();
    showPage(1);
    QDialog::showEvent(event);
}

void WizardForm::groupChosen()
{
    const bool group = m_ui->GroupYesRadio->isChecked();
    for (QWidget *widget : {static_cast<QWidget *>(m_ui->GroupNameLabel), static_cast<QWidget *>(m_ui->GroupNameEdit),
             static_cast<QWidget *>(m_ui->UninstallLabel), static_cast<QWidget *>(m_ui->UninstallChoice)})
        widget->setEnabled(group);
}

void WizardForm::showPage(int page)
{
    m_page = page;
    m_ui->Pages->setCurrentIndex(page - 1);
    if (page >= 2)
        m_ui->NextButton->setEnabled(true);
    if (page == 1) {
        m_ui->NextButton->setEnabled(false);
        m_ui->PrevButton->setEnabled(false);
        m_ui->OkButton->setEnabled(true);
    } else if (page == 2) {
        m_ui->PrevButton->setEnabled(true);
        m_ui->OkButton->setEnabled(false);
    } else if (page == 7) {
        m_ui->NextButton->setEnabled(false);
        m_ui->PrevButton->setEnabled(true);
        m_ui->OkButton->setEnabled(true);
        m_ui->OkButton->setText(WizardText::finishButton());
    }
    // Pages 3 to 6 keep the buttons of the page before them.
    if (page < 7)
        m_ui->OkButton->setText(WizardText::continueButton());
    // The default button and the keyboard stay usable when Continue is disabled.
    if (m_ui->OkButton->isEnabled())
        m_ui->OkButton->setDefault(true);
    else
        m_ui->NextButton->setDefault(true);
    if (QWidget *first = m_ui->Pages->currentWidget()->nextInFocusChain();
        first && m_ui->Pages->currentWidget()->isAncestorOf(first) && first->focusPolicy() != Qt::NoFocus)
        first->setFocus();
}

SetupCommit::Answers WizardForm::answers() const
{
    SetupCommit::Answers a;
    a.allowMapi = m_ui->NotifyMapiCheck->isChecked();
    a.allowInternet = m_ui->NotifyInternetCheck->isChecked();
    a.startAsWindow = m_ui->AppearTrayRadio->isChecked() ? 1 : m_ui->AppearMiniRadio->isChecked() ? 2 : 0;
    a.userId = m_ui->UserIdEdit->text();
    a.systemId = m_ui->SystemIdEdit->text();
    a.wantGroup = m_ui->GroupYesRadio->isChecked();
    a.groupName = m_ui->GroupNameEdit->text();
    a.uninstallIcon = m_ui->UninstallYesRadio->isChecked();
    a.startupGroup = m_ui->StartupYesRadio->isChecked();
    a.autostart = m_ui->AutostartYesRadio->isChecked();
    return a;
}

void WizardForm::okClicked()
{
    if (m_page < 7) {
        showPage(m_page + 1);
        return;
    }
    const SetupCommit::Answers a = answers();
    if (a.wantGroup && a.groupName.isEmpty()) {
        Dialogs::current().message(this, Dialogs::Kind::Warning, WizardText::groupNameMissing());
        return;
    }
    if (a.startupGroup && a.autostart) {
        Dialogs::current().message(this, Dialogs::Kind::Warning, WizardText::bothAutostarts());
        showPage(6);
        return;
    }
    SetupCommit commit(m_settings, *m_progman, m_program);
    switch (commit.finish(a)) {
    case SetupCommit::Result::Done:
        break;
    case SetupCommit::Result::ProgmanUnavailable:
        Dialogs::current().message(this, Dialogs::Kind::Error, WizardText::progmanUnavailable());
        break;
    case SetupCommit::Result::UninstallScriptFailed:
        Dialogs::current().message(this, Dialogs::Kind::Error,
            WizardText::uninstallScriptFailed(commit.uninstallScriptPath()));
        break;
    }
    QDialog::accept();
}

void WizardForm::reject()
{
    // Cancel, Esc and the close box all commit as Cancel, so the wizard does not come back.
    SetupCommit(m_settings, *m_progman, m_program).cancel();
    QDialog::reject();
}
