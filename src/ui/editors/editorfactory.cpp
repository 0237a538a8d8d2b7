// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/editorfactory.h"

#include "ui/editors/emailjob.h"
#include "ui/editors/filejob.h"
#include "ui/editors/singlejob.h"
#include "ui/editors/systemjob.h"

#include <memory>

bool EditorFactory::canEdit(int jobType) const { return jobType >= 0 && jobType <= 6; }

bool EditorFactory::edit(QWidget *parent, const QString &keyName, int jobType)
{
    m_saved.clear();
    if (!canEdit(jobType))
        return false;
    if (jobType == 0) {
        SingleJob editor(m_context, keyName, parent);
        if (editor.exec() != QDialog::Accepted)
            return false;
        m_saved = editor.jobName();
        return true;
    }
    std::unique_ptr<ActivityJobEditor> editor;
    if (jobType == 1)
        editor = std::make_unique<SystemJob>(m_context, keyName, parent);
    else if (jobType == 6)
        editor = std::make_unique<EmailJob>(m_context, keyName, parent);
    else
        editor = std::make_unique<FileJob>(m_context, keyName, parent);
    if (editor->exec() != QDialog::Accepted)
        return false;
    m_saved = editor->jobName();
    return true;
}
