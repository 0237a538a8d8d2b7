// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/editorfactory.h"

#include "ui/editors/singlejob.h"

bool EditorFactory::canEdit(int jobType) const { return jobType == 0; }

bool EditorFactory::edit(QWidget *parent, const QString &keyName, int jobType)
{
    m_saved.clear();
    if (!canEdit(jobType))
        return false;
    SingleJob editor(m_context, keyName, parent);
    if (editor.exec() != QDialog::Accepted)
        return false;
    m_saved = editor.jobName();
    return true;
}
