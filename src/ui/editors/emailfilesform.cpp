// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/emailfilesform.h"

#include "ui/dialogs.h"
#include "ui/editors/editortext.h"
#include "ui/editors/formhelpers.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using namespace Qt::StringLiterals;

EmailFilesForm::EmailFilesForm(const QStringList &files, QWidget *parent) : QDialog(parent), m_files(files)
{
    setObjectName(u"TEmailFilesForm"_s);
    setWindowTitle(EditorText::emailFilesCaption());
    m_list = new QListWidget(this);
    m_list->setObjectName(u"ListFiles"_s);
    m_list->addItems(files);
    auto *browse = FormHelpers::button(tr("&Browse"), u"ButtonBrowse"_s, this, tr("Browse for files to add"));
    m_delete = FormHelpers::button(tr("&Delete"), u"ButtonDelete"_s, this);
    auto *grid = new QGridLayout(this);
    grid->addWidget(FormHelpers::label(tr("Files attached to this email:"), m_list, this), 0, 0);
    grid->addWidget(m_list, 1, 0, 3, 1);
    grid->addWidget(browse, 1, 1);
    grid->addWidget(m_delete, 2, 1);
    grid->addWidget(FormHelpers::buttons(this, tr("&Ok"), u"ButtonOk"_s), 4, 0, 1, 2);
    m_list->setMinimumWidth(360);

    connect(browse, &QPushButton::clicked, this, [this] {
        m_list->addItems(Dialogs::current().openFileNames(this, tr("Files to attach"), QString(),
            tr("All files (*)")));
    });
    connect(m_delete, &QPushButton::clicked, this, [this] {
        delete m_list->currentItem();
        m_delete->setEnabled(!m_list->selectedItems().isEmpty());
    });
    connect(m_list, &QListWidget::itemSelectionChanged, this,
        [this] { m_delete->setEnabled(!m_list->selectedItems().isEmpty()); });
    m_delete->setEnabled(false);
}

void EmailFilesForm::accept()
{
    m_files.clear();
    for (int i = 0; i < m_list->count(); ++i)
        m_files.append(m_list->item(i)->text());
    if (m_files.size() > maxFiles) {
        m_files = m_files.mid(0, maxFiles);
        Dialogs::current().message(this, Dialogs::Kind::Warning, EditorText::tooManyAttachments(), windowTitle());
    }
    QDialog::accept();
}
