// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

class QWidget;

// Asks the show, close, configuration and secure-job passwords before the main window
// acts. The guard decides whether an action needs a password at all (settings, a job's
// bSecureJob) and shows the refusal itself. No guard: everything is allowed.
class PasswordGuard
{
public:
    enum class Action { Show, Close, Configure, EditSecureJob, RemoveSecureJob };

    virtual ~PasswordGuard() = default;

    // `keyName` is the job's key for the two job actions, empty otherwise.
    virtual bool allow(QWidget *parent, Action action, const QString &keyName = QString()) = 0;
};
