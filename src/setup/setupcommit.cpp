// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "setup/setupcommit.h"

#include "platform/autostartentry.h"
#include "platform/progman.h"
#include "platform/uninstallscript.h"
#include "platform/xdgprogman.h"
#include "setup/wizardtext.h"
#include "store/settings.h"

#include <QFile>

using namespace Qt::StringLiterals;

SetupCommit::SetupCommit(Settings &settings, Progman &progman, QString program)
    : m_settings(settings), m_progman(progman), m_program(std::move(program))
{
}

bool SetupCommit::isNeeded(Settings &settings)
{
    return settings.text(settings::InstalledVersion) != WizardText::version();
}

void SetupCommit::writeFavorites()
{
    // A favorite the user has edited keeps its command.
    for (const auto &favorite : WizardText::favorites) {
        const QString name = QString::fromUtf16(favorite.name);
        if (!m_settings.contains(Settings::Section::Favorites, name))
            m_settings.writeString(Settings::Section::Favorites, name, QString::fromUtf16(favorite.command));
    }
}

void SetupCommit::cancel()
{
    m_settings.setText(settings::InstalledVersion, WizardText::version());
    writeFavorites();
}

SetupCommit::Result SetupCommit::finish(const Answers &answers)
{
    const bool group = answers.wantGroup && !answers.groupName.isEmpty();
    m_settings.setText(settings::InstalledVersion, WizardText::version());
    m_settings.setInteger(settings::StartAsWindow, answers.startAsWindow);
    m_settings.setText(settings::UserId, answers.userId);
    m_settings.setText(settings::SystemId, answers.systemId);
    m_settings.setBoolean(settings::AllowMapi, answers.allowMapi);
    m_settings.setBoolean(settings::AllowInternet, answers.allowInternet);
    if (group)
        m_settings.setText(settings::InstallGroup, answers.groupName);
    // A rerun with "No" must not leave a stale true behind: the entry goes below too.
    m_settings.setBoolean(settings::InStartUpGroup, answers.startupGroup);
    writeFavorites();

    const UninstallScript probe(m_program, {});
    m_scriptPath = probe.path();

    QStringList userFiles;
    if (group || answers.startupGroup) {
        if (!m_progman.connect())
            return Result::ProgmanUnavailable;
        if (group) {
            createGroup(answers.groupName, answers.uninstallIcon);
            userFiles += XdgProgman::filesOf(answers.groupName,
                {WizardText::programTitle(), WizardText::uninstallTitle()});
            userFiles += XdgProgman::packageEntryOverride();
        }
        if (answers.startupGroup)
            createGroup(WizardText::startUpGroup(), false);
        m_progman.close();
    }
    // Our start-up item is removed whenever the Startup group is not chosen.
    const QStringList startUpFiles = XdgProgman::filesOf(WizardText::startUpGroup(), {WizardText::programTitle()});
    if (!answers.startupGroup) {
        for (const QString &file : startUpFiles)
            QFile::remove(file);
    }
    userFiles += startUpFiles;

    if (answers.autostart)
        AutostartEntry::write(m_program);
    else
        AutostartEntry::remove();
    userFiles += AutostartEntry::path();

    const UninstallScript script(m_program, userFiles);
    return script.write() ? Result::Done : Result::UninstallScriptFailed;
}

void SetupCommit::createGroup(const QString &group, bool uninstallIcon)
{
    const QString program = u'"' + m_program + u'"';
    m_progman.execute(u"[CreateGroup("_s + group + u",)]"_s);
    m_progman.execute(u"[Replaceitem("_s + WizardText::previousProgramTitle() + u")]"_s);
    m_progman.execute(u"[Replaceitem("_s + WizardText::programTitle() + u")]"_s);
    m_progman.execute(u"[Additem("_s + program + u',' + WizardText::programTitle() + u",,,)]"_s);
    if (uninstallIcon)
        m_progman.execute(u"[Additem("_s + program + u" /uninstall,"_s + WizardText::uninstallTitle() + u",,,)]"_s);
    m_progman.execute(u"[ShowGroup(nonexist,1)]"_s);
}
