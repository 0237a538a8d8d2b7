// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/config/passwordcheck.h"

#include "store/jobstore.h"
#include "store/settings.h"
#include "ui/config/configtext.h"
#include "ui/config/halvpassword.h"
#include "ui/config/passwordform.h"
#include "ui/dialogs.h"

using namespace Qt::StringLiterals;

PasswordCheck::PasswordCheck(Settings &settings, JobStore &store, HalvPassword &password,
    Prompt prompt)
    : m_settings(settings), m_store(store), m_password(password), m_prompt(std::move(prompt))
{
    if (!m_prompt) {
        m_prompt = [this](QWidget *parent) -> std::optional<bool> {
            PasswordForm form(m_password, parent);
            if (form.exec() != QDialog::Accepted)
                return std::nullopt;
            return form.isPasswordAccepted();
        };
    }
}

bool PasswordCheck::allow(QWidget *parent, Action action, const QString &keyName)
{
    switch (action) {
    case Action::Show:
        if (!m_settings.boolean(settings::UseMaximizePassword))
            return true;
        return ask(parent, ConfigText::incorrectToShow());
    case Action::Close:
        if (!m_settings.boolean(settings::UseClosePassword))
            return true;
        return ask(parent, ConfigText::incorrectToClose());
    case Action::Configure:
        if (!m_settings.boolean(settings::UseConfigPassword))
            return true;
        return ask(parent, ConfigText::incorrectToConfigure());
    case Action::EditSecureJob:
    case Action::RemoveSecureJob:
        if (!m_settings.boolean(settings::UseJobSecure)
            || !m_store.readBoolean(keyName, u"bSecureJob"_s, false))
            return true;
        return ask(parent, ConfigText::incorrectToModifyJob());
    }
    return false;
}

bool PasswordCheck::allowShowFromTray(QWidget *parent)
{
    if (!m_settings.boolean(settings::UseMaximizePassword))
        return true;
    return ask(parent, ConfigText::incorrectToShowFromTray());
}

bool PasswordCheck::ask(QWidget *parent, const QString &refusal)
{
    if (!m_password.isSet())
        return true;
    const std::optional<bool> matched = m_prompt(parent);
    if (!matched)
        return false;
    if (!*matched)
        Dialogs::current().message(parent, Dialogs::Kind::Warning, refusal);
    return *matched;
}
