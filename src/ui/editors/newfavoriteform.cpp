// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/newfavoriteform.h"

#include "ui/dialogs.h"
#include "ui/editors/editortext.h"
#include "ui/editors/formhelpers.h"

#include <QLabel>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

NewFavoriteForm::NewFavoriteForm(const JobTemplate &initial, const QStringList &others, QWidget *parent)
    : QDialog(parent), m_others(others)
{
    setObjectName(u"TNewFavoriteForm"_s);
    setWindowTitle(EditorText::newFavoriteCaption());
    m_command = new QLineEdit(initial.command, this);
    m_command->setObjectName(u"EditCommand"_s);
    m_parameters = new QLineEdit(initial.parameters, this);
    m_parameters->setObjectName(u"EditParameters"_s);
    m_description = new QLineEdit(initial.description, this);
    m_description->setObjectName(u"EditDescription"_s);
    auto *browse = FormHelpers::button(tr("..."), u"ButtonBrowse"_s, this,
        tr("Browse for a folder \\ program to open"));
    browse->setAccessibleName(tr("Browse"));

    auto *grid = new QGridLayout;
    grid->addWidget(FormHelpers::label(tr("C&ommand:"), m_command, this), 0, 0);
    grid->addWidget(m_command, 0, 1);
    grid->addWidget(browse, 0, 2);
    grid->addWidget(FormHelpers::label(tr("&Parameters:"), m_parameters, this), 1, 0);
    grid->addWidget(m_parameters, 1, 1, 1, 2);
    grid->addWidget(FormHelpers::label(tr("&Description:"), m_description, this), 2, 0);
    grid->addWidget(m_description, 2, 1, 1, 2);
    grid->setColumnMinimumWidth(1, 280);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(FormHelpers::buttons(this, tr("&Save"), u"ButtonSave"_s));

    connect(browse, &QPushButton::clicked, this, [this] {
        const QString name = Dialogs::current().openFileName(this, tr("Program to open"),
            m_command->text(), tr("All files (*)"));
        if (!name.isEmpty())
            m_command->setText(name);
    });
}

JobTemplate NewFavoriteForm::value() const
{
    return { m_description->text(), m_command->text(), m_parameters->text() };
}

void NewFavoriteForm::accept()
{
    QString refusal;
    const JobTemplate t = value();
    if (t.command.isEmpty())
        refusal = EditorText::templateNoCommand();
    else if (t.command.contains(JobTemplate::separator))
        refusal = EditorText::templateSeparator();
    else if (t.description.isEmpty())
        refusal = EditorText::templateNoDescription();
    else if (m_others.contains(t.description, Qt::CaseInsensitive))
        refusal = EditorText::templateDuplicate();
    if (!refusal.isEmpty()) {
        Dialogs::current().message(this, Dialogs::Kind::Warning, refusal, windowTitle());
        return;
    }
    QDialog::accept();
}
