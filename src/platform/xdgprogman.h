// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "platform/progman.h"

#include <QStringList>

// Program groups on the XDG desktop menu. A group is a menu folder: a .directory file under
// $XDG_DATA_HOME/desktop-directories and a merged .menu file under
// $XDG_CONFIG_HOME/menus/applications-merged that gathers the group's items by a category of
// its own. An item is a .desktop entry under $XDG_DATA_HOME/applications. The group
// "StartUp" is the autostart folder. Every file name carries the vendor prefix "halvorn-"
// and only [a-z0-9-] from the group and item names.
class XdgProgman : public Progman
{
public:
    // `uninstallScript`: what the item with the single argument "/uninstall" runs (in a
    // terminal); without it such an item starts the program with that argument.
    explicit XdgProgman(QString uninstallScript = QString());

    bool connect() override;
    void execute(const QString &command) override;
    void close() override {}

    // False when a command could not be carried out (bad text, a file not written).
    bool ok() const { return m_ok; }

    static QString applicationsFolder();
    static QString directoriesFolder();
    static QString mergedMenusFolder();
    static QString autostartFolder();
    // The user's copy of the package's desktop entry that hides its launcher while the
    // group holds the program, so the menu never shows two.
    static QString packageEntryOverride();
    // Where the package's desktop entry is, empty when no package installed one.
    static QString packageEntry();

    // Every file a group and the named items in it can have, for the uninstall script.
    static QStringList filesOf(const QString &group, const QStringList &titles);
    static bool isStartUp(const QString &group);

private:
    static QString itemPath(const QString &group, const QString &title);
    void createGroup(const QString &name);
    void replaceItem(const QString &title);
    void addItem(const QString &commandLine, const QString &title);

    QString m_uninstallScript;
    QString m_group;
    bool m_ok = true;
};
