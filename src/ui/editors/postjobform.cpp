// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/postjobform.h"

#include "ui/dialogs.h"
#include "ui/editors/editortext.h"
#include "ui/editors/formhelpers.h"
#include "ui/editors/programkind.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

PostJobForm::PostJobForm(const PostJobValues &values, const QStringList &jobs, QWidget *parent)
    : QDialog(parent), m_values(values)
{
    setObjectName(u"TPostJobForm"_s);
    setWindowTitle(EditorText::postJobCaption());
    m_success = makeSide(u"Success"_s, tr("No post-job actions if job is successful"),
        values.successCode, values.successFile, jobs);
    m_fail = makeSide(u"Fail"_s, tr("No post-job actions if job fails"), values.failCode,
        values.failFile, jobs);

    auto *layout = new QVBoxLayout(this);
    const struct
    {
        QString title;
        Side *side;
    } groups[] = { { tr("If job is &successful"), &m_success }, { tr("If job &fails"), &m_fail } };
    for (const auto &g : groups) {
        auto *box = new QGroupBox(g.title, this);
        auto *grid = new QGridLayout(box);
        grid->addWidget(g.side->none, 0, 0, 1, 3);
        grid->addWidget(g.side->job, 1, 0);
        grid->addWidget(g.side->jobs, 1, 1, 1, 2);
        grid->addWidget(g.side->program, 2, 0);
        grid->addWidget(g.side->path, 2, 1);
        auto *browse = FormHelpers::button(tr("..."), g.side->path->objectName() + u"Browse"_s, box);
        browse->setAccessibleName(tr("Browse"));
        grid->addWidget(browse, 2, 2);
        QLineEdit *path = g.side->path;
        QRadioButton *program = g.side->program;
        connect(browse, &QPushButton::clicked, this, [this, path, program] {
            const QString name = Dialogs::current().openFileName(this, tr("Program to run"),
                path->text(), tr("All files (*)"));
            if (!name.isEmpty()) {
                path->setText(ProgramKind::quote(name));
                program->setChecked(true);
            }
        });
        layout->addWidget(box);
    }
    layout->addWidget(FormHelpers::buttons(this, tr("&Save"), u"ButtonSave"_s));
    // Only now, with each side in its own group: radio buttons exclude their siblings.
    for (const auto &[side, code] : { std::pair{ &m_success, values.successCode }, std::pair{ &m_fail, values.failCode } })
        (code == 1 ? side->job : code == 2 ? side->program : side->none)->setChecked(true);
}

PostJobForm::Side PostJobForm::makeSide(const QString &prefix, const QString &noneText, int code,
    const QString &target, const QStringList &jobs)
{
    Side s;
    s.none = new QRadioButton(noneText, this);
    s.none->setObjectName(u"RadioNo"_s + prefix);
    s.job = new QRadioButton(tr("Start this job immediately:"), this);
    s.job->setObjectName(u"RadioJob"_s + prefix);
    s.program = new QRadioButton(tr("Run this program immediately:"), this);
    s.program->setObjectName(u"RadioProgram"_s + prefix);
    s.jobs = new QComboBox(this);
    s.jobs->setObjectName(u"ComboJob"_s + prefix);
    s.jobs->setAccessibleName(tr("Job to start"));
    for (const QString &job : jobs)
        s.jobs->addItem(job, job);
    s.path = new QLineEdit(code == 2 ? target : QString(), this);
    s.path->setObjectName(u"EditProgram"_s + prefix);
    s.path->setAccessibleName(tr("Program to run"));
    if (code == 1 && !target.isEmpty()) {
        int index = s.jobs->findData(target, Qt::UserRole, Qt::MatchFixedString);
        // A target renamed or removed since: shown and kept until the user picks another.
        if (index < 0) {
            s.jobs->addItem(EditorText::jobNotListed(target), target);
            index = s.jobs->count() - 1;
        }
        s.jobs->setCurrentIndex(index);
    } else {
        s.jobs->setCurrentIndex(-1);
    }
    QRadioButton *job = s.job, *program = s.program;
    connect(s.jobs, &QComboBox::activated, job, [job] { job->setChecked(true); });
    connect(s.path, &QLineEdit::textEdited, program, [program] { program->setChecked(true); });
    return s;
}

int PostJobForm::code(const Side &side)
{
    return side.job->isChecked() ? 1 : side.program->isChecked() ? 2 : 0;
}

QString PostJobForm::target(const Side &side)
{
    switch (code(side)) {
    case 1: return side.jobs->currentData().toString();
    case 2: return side.path->text();
    default: return QString();
    }
}

void PostJobForm::accept()
{
    m_values.successCode = code(m_success);
    m_values.successFile = target(m_success);
    m_values.failCode = code(m_fail);
    m_values.failFile = target(m_fail);
    QDialog::accept();
}
