// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

class Progman;
class Settings;

// What the wizard writes when it closes, without any window: the settings, the default
// favorites, the program groups, the autostart entry and the uninstall script.
class SetupCommit
{
public:
    struct Answers
    {
        bool allowMapi = false;
        bool allowInternet = false;
        int startAsWindow = 0;
        QString userId;
        QString systemId;
        bool wantGroup = true;
        QString groupName;
        bool uninstallIcon = true;
        bool startupGroup = false;
        bool autostart = false;
    };

    enum class Result {
        Done,
        ProgmanUnavailable,    // settings and favorites written, nothing after them
        UninstallScriptFailed, // everything but the script
    };

    // `program`: the program's full path; `progman` carries out the group commands.
    SetupCommit(Settings &settings, Progman &progman, QString program);

    // Cancel: the installed version and the default favorites only.
    void cancel();
    Result finish(const Answers &answers);

    // Where the uninstall script went (or should have gone) in the last finish.
    QString uninstallScriptPath() const { return m_scriptPath; }

    // True when the installed version recorded is not this program's.
    static bool isNeeded(Settings &settings);

private:
    void writeFavorites();
    void createGroup(const QString &group, bool uninstallIcon);

    Settings &m_settings;
    Progman &m_progman;
    QString m_program;
    QString m_scriptPath;
};
