// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/emailjob.h"

#include "store/jobstore.h"
#include "ui/dialogs.h"
#include "ui/editors/editortext.h"
#include "ui/editors/editorvalues.h"
#include "ui/editors/emailfilesform.h"
#include "ui/editors/formhelpers.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;
using FormHelpers::button;

namespace {
constexpr int listLimit = 256;
}

EmailJob::EmailJob(const EditorContext &context, const QString &jobName, QWidget *parent)
    : ActivityJobEditor(context, EditorText::emailJobCaption(), parent)
{
    setObjectName(u"TEmailJob"_s);
    auto *group = new QGroupBox(tr("Email Activity"), this);
    m_smtp = new QRadioButton(tr("Use S&MTP Email"), group);
    m_smtp->setObjectName(u"RadioSmtp"_s);
    m_system = new QRadioButton(tr("Use s&ystem mail program (sendmail)"), group);
    m_system->setObjectName(u"RadioMapi"_s);
    m_recipients = new QListWidget(group);
    m_recipients->setObjectName(u"ListRecipients"_s);
    m_recipients->setMaximumHeight(110);
    auto *add = button(tr("&Add"), u"ButtonAdd"_s, group, tr("Add a new recipient"));
    m_delete = button(tr("&Delete"), u"ButtonDelete"_s, group, tr("Delete a recipient from the recipient list"));
    m_subject = new QLineEdit(group);
    m_subject->setObjectName(u"EditSubject"_s);
    m_text = new QPlainTextEdit(group);
    m_text->setObjectName(u"EditText"_s);
    m_text->setTabChangesFocus(true);
    auto *attach = button(tr("A&ttach files"), u"ButtonAttach"_s, group, tr("Attach Files to the Email"));
    m_count = new QLabel(group);
    m_count->setObjectName(u"LabelFiles"_s);

    auto *grid = new QGridLayout(group);
    grid->addWidget(m_smtp, 0, 0);
    grid->addWidget(m_system, 1, 0);
    grid->addWidget(FormHelpers::label(tr("Recipients"), m_recipients, group), 0, 1);
    grid->addWidget(m_recipients, 1, 1, 3, 1);
    grid->addWidget(add, 1, 2);
    grid->addWidget(m_delete, 2, 2);
    grid->addWidget(FormHelpers::label(tr("S&ubject:"), m_subject, group), 4, 0);
    grid->addWidget(m_subject, 4, 1, 1, 2);
    grid->addWidget(FormHelpers::label(tr("Message Te&xt:"), m_text, group), 5, 0);
    grid->addWidget(m_text, 5, 1, 2, 2);
    grid->addWidget(attach, 7, 1);
    grid->addWidget(m_count, 7, 2);
    grid->setColumnStretch(1, 1);
    setActivityWidget(group);

    connect(add, &QPushButton::clicked, this, &EmailJob::addRecipient);
    connect(m_delete, &QPushButton::clicked, this, [this] {
        delete m_recipients->currentItem();
        m_delete->setEnabled(!m_recipients->selectedItems().isEmpty());
    });
    connect(m_recipients, &QListWidget::itemSelectionChanged, this,
        [this] { m_delete->setEnabled(!m_recipients->selectedItems().isEmpty()); });
    connect(attach, &QPushButton::clicked, this, [this] {
        EmailFilesForm form(m_files, this);
        if (form.exec() == Accepted) {
            m_files = form.files();
            showCount();
        }
    });
    m_delete->setEnabled(false);
    open(jobName);
    showCount();
}

void EmailJob::showCount() { m_count->setText(EditorText::attachmentCount(int(m_files.size()))); }

void EmailJob::addRecipient()
{
    if (m_recipients->count() >= listLimit) {
        Dialogs::current().message(this, Dialogs::Kind::Warning, EditorText::tooManyRecipients(), windowTitle());
        return;
    }
    const auto text = Dialogs::current().prompt(this, EditorText::promptCaption(), EditorText::recipientPrompt());
    if (text && !text->isEmpty())
        m_recipients->addItem(*text);
}

void EmailJob::loadOwn(JobStore &store, const QString &job)
{
    (store.readBoolean(job, u"bEmailSMTP"_s, true) ? m_smtp : m_system)->setChecked(true);
    m_subject->setText(store.readString(job, u"sEmailSubject"_s));
    m_text->setPlainText(store.readString(job, u"sEMailText"_s));
    for (int i = 0; i < listLimit; ++i) {
        const QString r = store.readString(job, u"sEmailRecip"_s + QString::number(i));
        if (!r.isEmpty())
            m_recipients->addItem(r);
        const QString f = store.readString(job, u"sEmailFile"_s + QString::number(i));
        if (!f.isEmpty())
            m_files.append(f);
    }
}

ActivityJobEditor::Refusal EmailJob::checkOwn()
{
    if (!m_smtp->isChecked() && !m_system->isChecked())
        return { EditorText::noEmailMethod(), m_smtp };
    if (m_recipients->count() == 0)
        return { EditorText::noEmailRecipient(), m_recipients };
    if (m_subject->text().isEmpty())
        return { EditorText::noSubject(), m_subject };
    return {};
}

void EmailJob::writeOwn(JobRecord &record) const
{
    record.boolean(u"bEmailSMTP"_s, m_smtp->isChecked());
    record.text(u"sEmailSubject"_s, m_subject->text());
    for (int i = 0; i < m_files.size(); ++i)
        record.text(u"sEmailFile"_s + QString::number(i), m_files[i]);
    const QString text = m_text->toPlainText();
    if (!text.isEmpty())
        record.text(u"sEmailText"_s, text);
    for (int i = 0; i < m_recipients->count(); ++i)
        record.text(u"sEmailRecip"_s + QString::number(i), m_recipients->item(i)->text());
}
