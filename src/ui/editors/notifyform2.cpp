// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/notifyform2.h"

#include "platform/commandline.h"
#include "store/settings.h"
#include "ui/dialogs.h"
#include "ui/editors/programkind.h"
#include "ui/editors/editortext.h"
#include "ui/editors/formhelpers.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// A pair of exclusive choices that may also both be off (an unset choice is -1).
QButtonGroup *pair(QObject *parent, QRadioButton *first, QRadioButton *second, int value)
{
    auto *group = new QButtonGroup(parent);
    group->addButton(first, 0);
    group->addButton(second, 1);
    if (value == 0)
        first->setChecked(true);
    else if (value == 1)
        second->setChecked(true);
    return group;
}

QRadioButton *radio(const QString &text, const QString &name, QWidget *parent)
{
    auto *r = new QRadioButton(text, parent);
    r->setObjectName(name);
    return r;
}

int chosen(QRadioButton *first, QRadioButton *second)
{
    return first->isChecked() ? 0 : second->isChecked() ? 1 : -1;
}

} // namespace

NotifyForm2::NotifyForm2(const NotifyValues &values, bool systemMailAvailable, QWidget *parent)
    : QDialog(parent), m_values(values), m_systemMail(systemMailAvailable)
{
    setObjectName(u"TNotifyForm2"_s);
    setWindowTitle(EditorText::notifyCaption());
    m_off = radio(tr("No notification criteria"), u"RadioNoNotify"_s, this);
    m_on = radio(tr("&Use the following notification criteria"), u"RadioNotify"_s, this);
    (values.notify ? m_on : m_off)->setChecked(true);

    m_mapi = radio(EditorText::systemMailChoice(), u"RadioMapi"_s, this);
    m_smtp = radio(tr("S&MTP Email"), u"RadioSmtp"_s, this);
    m_startOk = radio(tr("If job starts successfully"), u"RadioStartOk"_s, this);
    m_startFail = radio(tr("If job fails to start"), u"RadioStartFail"_s, this);
    m_endOk = radio(tr("If job ends successfully"), u"RadioEndOk"_s, this);
    m_endFail = radio(tr("If job ends in failure"), u"RadioEndFail"_s, this);
    pair(this, m_mapi, m_smtp, values.type);
    pair(this, m_startOk, m_startFail, values.start);
    pair(this, m_endOk, m_endFail, values.end);

    m_recipients = new QListWidget(this);
    m_recipients->setObjectName(u"ListRecipients"_s);
    m_recipients->addItems(values.recipients);
    auto *add = FormHelpers::button(tr("&Add"), u"ButtonAdd"_s, this);
    m_delete = FormHelpers::button(tr("&Delete"), u"ButtonDelete"_s, this);

    auto *typeBox = new QGroupBox(tr("Email Type"), this);
    auto *typeLayout = new QVBoxLayout(typeBox);
    typeLayout->addWidget(m_mapi);
    typeLayout->addWidget(m_smtp);
    auto *startBox = new QGroupBox(tr("Send email"), this);
    auto *startLayout = new QVBoxLayout(startBox);
    startLayout->addWidget(m_startOk);
    startLayout->addWidget(m_startFail);
    auto *endBox = new QGroupBox(tr("Send email"), this);
    auto *endLayout = new QVBoxLayout(endBox);
    endLayout->addWidget(m_endOk);
    endLayout->addWidget(m_endFail);
    auto *listBox = new QGroupBox(tr("Recipient List"), this);
    auto *listLayout = new QGridLayout(listBox);
    listLayout->addWidget(m_recipients, 0, 0, 3, 1);
    listLayout->addWidget(add, 0, 1);
    listLayout->addWidget(m_delete, 1, 1);

    auto *grid = new QGridLayout;
    grid->addWidget(m_off, 0, 0, 1, 2);
    grid->addWidget(m_on, 1, 0, 1, 2);
    grid->addWidget(typeBox, 2, 0);
    grid->addWidget(listBox, 2, 1, 3, 1);
    grid->addWidget(startBox, 3, 0);
    grid->addWidget(endBox, 4, 0);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(FormHelpers::buttons(this, tr("&Ok"), u"ButtonOk"_s));

    connect(add, &QPushButton::clicked, this, &NotifyForm2::addRecipient);
    connect(m_delete, &QPushButton::clicked, this, [this] {
        delete m_recipients->currentItem();
        updateEnabled();
    });
    connect(m_recipients, &QListWidget::itemSelectionChanged, this, &NotifyForm2::updateEnabled);
    updateEnabled();
}

void NotifyForm2::updateEnabled()
{
    m_delete->setEnabled(!m_recipients->selectedItems().isEmpty());
}

void NotifyForm2::addRecipient()
{
    if (m_recipients->count() >= NotifyValues::maxRecipients) {
        Dialogs::current().message(this, Dialogs::Kind::Warning, EditorText::tooManyRecipients(),
            windowTitle());
        return;
    }
    const auto text = Dialogs::current().prompt(this, EditorText::promptCaption(),
        EditorText::recipientPrompt());
    if (text && !text->isEmpty())
        m_recipients->addItem(*text);
}

void NotifyForm2::accept()
{
    const auto refuse = [this](const QString &text) {
        Dialogs::current().message(this, Dialogs::Kind::Warning, text, windowTitle());
    };
    // The checks run whether notification is on or off, so a later switch-on finds a
    // complete setting.
    if (m_mapi->isChecked() && !m_systemMail)
        return refuse(EditorText::systemMailMissing());
    if (!m_mapi->isChecked() && !m_smtp->isChecked())
        return refuse(EditorText::noMailMethod());
    if (m_recipients->count() == 0)
        return refuse(EditorText::noRecipient());
    if (chosen(m_startOk, m_startFail) < 0 && chosen(m_endOk, m_endFail) < 0)
        return refuse(EditorText::noNotifyChoice());
    m_values.notify = m_on->isChecked();
    m_values.type = chosen(m_mapi, m_smtp);
    m_values.start = chosen(m_startOk, m_startFail);
    m_values.end = chosen(m_endOk, m_endFail);
    m_values.recipients.clear();
    for (int i = 0; i < m_recipients->count(); ++i)
        m_values.recipients.append(m_recipients->item(i)->text());
    QDialog::accept();
}

bool NotifyForm2::systemMailAvailable(Settings &settings)
{
    const QStringList words = CommandLine::split(settings.text(settings::SendmailCommand)).value_or(QStringList());
    if (words.isEmpty())
        return false;
    const QFileInfo program(ProgramKind::resolve(words.first()));
    return program.isFile() && program.isExecutable();
}
