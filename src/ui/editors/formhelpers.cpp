// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/formhelpers.h"

#include "ui/dialogs.h"
#include "store/jobstore.h"
#include "ui/editors/editortext.h"
#include "ui/editors/jobrecord.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace FormHelpers {

QDialogButtonBox *buttons(QDialog *dialog, const QString &acceptText, const QString &acceptName,
    const QString &cancelName)
{
    auto *box = new QDialogButtonBox(dialog);
    QPushButton *ok = box->addButton(acceptText, QDialogButtonBox::AcceptRole);
    ok->setObjectName(acceptName);
    ok->setDefault(true);
    QPushButton *cancel = box->addButton(QDialog::tr("&Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(cancelName);
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

QSpinBox *spin(QWidget *parent, const QString &name, int minimum, int maximum, const QString &hint)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(minimum, maximum);
    if (!hint.isEmpty())
        box->setToolTip(hint);
    return box;
}

QLabel *label(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setBuddy(buddy);
    if (buddy) {
        QString plain = text;
        plain.remove(u'&');
        buddy->setAccessibleName(plain);
    }
    return l;
}

QPushButton *button(const QString &text, const QString &name, QWidget *parent, const QString &hint)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    if (!hint.isEmpty())
        b->setToolTip(hint);
    // The browse buttons stay small beside their fields.
    if (text == u"...")
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(text) + 24);
    return b;
}

void rejectAsking(QDialog *dialog, bool changed, const std::function<bool()> &save,
    const std::function<void()> &close)
{
    if (!changed)
        return close();
    switch (Dialogs::current().question(dialog, EditorText::saveChanges(), Dialogs::Buttons::YesNoCancel,
        dialog->windowTitle())) {
    case Dialogs::Answer::Yes:
        if (save())
            dialog->accept();
        return;
    case Dialogs::Answer::No:
        return close();
    default:
        return;
    }
}

bool writeJob(QDialog *editor, JobStore &store, const QString &key, const JobRecord &record)
{
    if (store.replaceJob(key, record.values()))
        return true;
    Dialogs::current().message(editor, Dialogs::Kind::Error, EditorText::saveFailed(), editor->windowTitle());
    return false;
}

} // namespace FormHelpers
