// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

class QWidget;

// Opens the job editors for the main window. The editors read and write the job store
// themselves; the window refreshes the list and logs the change when edit() returns true.
class JobEditorFactory
{
public:
    virtual ~JobEditorFactory() = default;

    // Whether an editor exists for `jobType` (the stored iJobType, 0 to 6).
    virtual bool canEdit(int jobType) const = 0;
    // Opens the editor modally. `keyName` empty: a new job of `jobType`. True when saved.
    virtual bool edit(QWidget *parent, const QString &keyName, int jobType) = 0;
    // The name under which the last edit() saved its job. Empty: the window works it out
    // from the job store (the one new key, else `keyName`).
    virtual QString savedJobName() const { return QString(); }
};
