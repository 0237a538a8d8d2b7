// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/uninstallscript.h"

#include "platform/desktopentry.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

const QString UninstallScript::fileName = u"uninstall.sh"_s;
const QString UninstallScript::packageHint =
    u"Halvorn 95/NT was installed as a package: remove it with  sudo apt-get remove halvorn"_s;

namespace {

QString quoted(const QString &text)
{
    QString out = text;
    out.replace(u'\'', u"'\\''"_s);
    return u'\'' + out + u'\'';
}

// Programs under /usr belong to the package manager.
bool isPackageManaged(const QString &folder, bool writable)
{
    return !writable || folder == u"/usr"_s || folder.startsWith(u"/usr/"_s);
}

} // namespace

UninstallScript::UninstallScript(QString program, QStringList userFiles)
    : m_program(std::move(program)), m_userFiles(std::move(userFiles))
{
    const QFileInfo info(m_program);
    m_folder = info.absolutePath();
    m_packageManaged = isPackageManaged(m_folder, QFileInfo(m_folder).isWritable());
}

QString UninstallScript::path() const
{
    const QString folder = m_packageManaged ? Paths::dataHome() + u"/halvorn"_s : m_folder;
    return folder + u'/' + fileName;
}

QString UninstallScript::text() const
{
    QString s = u"#!/bin/sh\n"
                u"# Written by the Halvorn 95/NT setup wizard: removes what it installed.\n"
                u"echo \"Halvorn 95/NT Uninstalled.. \"\n"
                u"echo \"All that remains is to remove the Uninstall routines...\"\n"
                u"printf '%s' 'Press Enter to continue . . . '\n"
                u"read -r answer || true\n"_s;
    QStringList files;
    if (!m_packageManaged) {
        files.append(m_program);
        for (const QString &sibling : {u"voltraned"_s, u"voltrane-reg"_s}) {
            const QString p = m_folder + u'/' + sibling;
            if (p != m_program && QFileInfo::exists(p))
                files.append(p);
        }
    }
    files.append(m_userFiles);
    files.append(path());
    for (const QString &file : std::as_const(files))
        s += u"rm -f -- "_s + quoted(file) + u'\n';
    if (m_packageManaged) {
        s += u"echo "_s + quoted(packageHint) + u'\n';
    } else if (QFileInfo(m_folder).fileName() != u"bin"_s) {
        // Only an empty folder goes, and never a shared one such as ~/.local/bin.
        s += u"rmdir -- "_s + quoted(m_folder) + u" 2>/dev/null\n"_s;
    }
    s += u"exit 0\n"_s;
    return s;
}

bool UninstallScript::write() const
{
    if (!DesktopEntry::writeFile(path(), text()))
        return false;
    return QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
