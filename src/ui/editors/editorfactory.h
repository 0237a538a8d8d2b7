// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "ui/editors/editorcontext.h"
#include "ui/jobeditorfactory.h"

// The job editors behind the main window: one editor per job type, each opened modally.
class EditorFactory : public JobEditorFactory
{
public:
    explicit EditorFactory(const EditorContext &context) : m_context(context) {}

    bool canEdit(int jobType) const override;
    bool edit(QWidget *parent, const QString &keyName, int jobType) override;
    QString savedJobName() const override { return m_saved; }

private:
    EditorContext m_context;
    QString m_saved;
};
