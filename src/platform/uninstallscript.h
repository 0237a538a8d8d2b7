// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>
#include <QStringList>

// The uninstall script the setup wizard leaves behind: a POSIX shell script that removes,
// each by its exact name, the program's own files and the per-user entries the wizard made,
// then itself. It never touches the user's registry file or log, and never uses a wildcard.
// When a package manager owns the program, it removes only the per-user entries and says
// how to remove the package.
class UninstallScript
{
public:
    // `program`: the program's full path. Its siblings voltraned and voltrane-reg go too
    // when they are there.
    UninstallScript(QString program, QStringList userFiles);

    // The program's folder when the user may write there and no package owns the program,
    // else $XDG_DATA_HOME/halvorn.
    QString path() const;
    bool packageManaged() const { return m_packageManaged; }
    QString text() const;
    // Replaces any earlier script; executable by its owner only.
    bool write() const;

    static const QString fileName;
    static const QString packageHint;

private:
    QString m_program;
    QString m_folder;
    QStringList m_userFiles;
    bool m_packageManaged;
};
