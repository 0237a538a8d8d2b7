// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "ui/passwordguard.h"

#include <functional>
#include <optional>

class HalvPassword;
class JobStore;
class Settings;

// The password check of the guarded actions. An action whose switch is off (for a job:
// bUseJobSecure off or the job not secure) proceeds at once, as does every action while no
// password is set: there is nothing to ask. Otherwise the prompt is shown; cancelled, the
// action is refused silently; a wrong password is refused with the action's message.
class PasswordCheck : public PasswordGuard
{
public:
    // Shows the prompt: nothing when cancelled, else whether the password matched.
    using Prompt = std::function<std::optional<bool>(QWidget *parent)>;

    // Without a prompt, `PasswordForm` is shown modally.
    PasswordCheck(Settings &settings, JobStore &store, HalvPassword &password,
        Prompt prompt = {});

    // Show is the "&Open" item of the window and tray menus.
    bool allow(QWidget *parent, Action action, const QString &keyName = QString()) override;
    // Showing the window by a click on the tray icon or the mini window's buttons, whose
    // refusal reads slightly differently.
    bool allowShowFromTray(QWidget *parent);

private:
    bool ask(QWidget *parent, const QString &refusal);

    Settings &m_settings;
    JobStore &m_store;
    HalvPassword &m_password;
    Prompt m_prompt;
};
