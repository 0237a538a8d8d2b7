// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/xdgprogman.h"

#include "platform/commandline.h"
#include "platform/desktopentry.h"
#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

const QString prefix = u"halvorn-"_s;
const QString icon = u"voltrane"_s;

// "Name(a,b,c)" inside the brackets; commas inside double quotes belong to the argument.
bool parse(const QString &command, QString *name, QStringList *arguments)
{
    if (!command.startsWith(u'[') || !command.endsWith(u")]"))
        return false;
    const qsizetype open = command.indexOf(u'(');
    if (open < 0)
        return false;
    *name = command.mid(1, open - 1).trimmed().toLower();
    const QString inside = command.mid(open + 1, command.size() - open - 3);
    arguments->clear();
    QString current;
    bool quoted = false;
    for (QChar c : inside) {
        if (c == u'"')
            quoted = !quoted;
        if (c == u',' && !quoted) {
            arguments->append(current);
            current.clear();
        } else {
            current += c;
        }
    }
    arguments->append(current);
    return true;
}

QString groupCategory(const QString &group) { return u"X-Halvorn-"_s + DesktopEntry::fileNamePart(group); }

QString xmlEscaped(const QString &text) { return text.toHtmlEscaped(); }

} // namespace

XdgProgman::XdgProgman(QString uninstallScript) : m_uninstallScript(std::move(uninstallScript)) {}

QString XdgProgman::applicationsFolder() { return Paths::dataHome() + u"/applications"_s; }
QString XdgProgman::directoriesFolder() { return Paths::dataHome() + u"/desktop-directories"_s; }
QString XdgProgman::mergedMenusFolder() { return Paths::configHome() + u"/menus/applications-merged"_s; }
QString XdgProgman::autostartFolder() { return Paths::configHome() + u"/autostart"_s; }
QString XdgProgman::packageEntryOverride() { return applicationsFolder() + u"/voltrane.desktop"_s; }

QString XdgProgman::packageEntry()
{
    QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dirs.isEmpty())
        dirs = u"/usr/local/share:/usr/share"_s;
    // A copy under $XDG_DATA_HOME (an install into ~/.local) counts too.
    for (const QString &dir : QString(Paths::dataHome() + u':' + dirs).split(u':', Qt::SkipEmptyParts)) {
        const QString path = dir + u"/applications/voltrane.desktop"_s;
        if (QFileInfo::exists(path))
            return path;
    }
    return QString();
}

bool XdgProgman::isStartUp(const QString &group) { return group.compare(u"StartUp"_s, Qt::CaseInsensitive) == 0; }

QString XdgProgman::itemPath(const QString &group, const QString &title)
{
    if (isStartUp(group))
        return autostartFolder() + u'/' + prefix + u"startup-"_s + DesktopEntry::fileNamePart(title) + u".desktop"_s;
    return applicationsFolder() + u'/' + prefix + DesktopEntry::fileNamePart(group) + u'-'
        + DesktopEntry::fileNamePart(title) + u".desktop"_s;
}

QStringList XdgProgman::filesOf(const QString &group, const QStringList &titles)
{
    QStringList files;
    for (const QString &title : titles)
        files.append(itemPath(group, title));
    if (!isStartUp(group)) {
        const QString id = prefix + DesktopEntry::fileNamePart(group);
        files.append(directoriesFolder() + u'/' + id + u".directory"_s);
        files.append(mergedMenusFolder() + u'/' + id + u".menu"_s);
    }
    return files;
}

bool XdgProgman::connect()
{
    m_ok = true;
    for (const QString &folder : {applicationsFolder(), directoriesFolder(), mergedMenusFolder(), autostartFolder()}) {
        if (!QDir().mkpath(folder) || !QFileInfo(folder).isWritable())
            return false;
    }
    return true;
}

void XdgProgman::execute(const QString &command)
{
    QString name;
    QStringList arguments;
    if (!parse(command, &name, &arguments)) {
        m_ok = false;
        return;
    }
    if (name == u"creategroup") {
        // The group name may hold commas; only the last argument (the group file) is split off.
        const qsizetype comma = arguments.size() > 1 ? command.lastIndexOf(u',') : -1;
        const qsizetype open = command.indexOf(u'(');
        createGroup(comma > open ? command.mid(open + 1, comma - open - 1) : arguments.value(0));
    } else if (name == u"replaceitem") {
        replaceItem(arguments.join(u','));
    } else if (name == u"additem" && arguments.size() >= 2) {
        addItem(arguments.at(0), arguments.at(1));
    } else if (name != u"showgroup") {
        m_ok = false;
    }
}

void XdgProgman::createGroup(const QString &name)
{
    m_group = name;
    if (isStartUp(name))
        return;
    const QString id = prefix + DesktopEntry::fileNamePart(name);
    const QString directory = u"[Desktop Entry]\nType=Directory\nName="_s + DesktopEntry::escapeValue(name)
        + u"\nIcon="_s + icon + u'\n';
    const QString menu = uR"(<!DOCTYPE Menu PUBLIC "-//freedesktop//DTD Menu 1.0//EN"
 "http://www.freedesktop.org/standards/menu-spec/1.0/menu.dtd">
<Menu>
  <Name>Applications</Name>
  <Menu>
    <Name>)"_s + xmlEscaped(name) + uR"(</Name>
    <Directory>)"_s + id + uR"(.directory</Directory>
    <Include>
      <Category>)"_s + groupCategory(name) + uR"(</Category>
    </Include>
  </Menu>
</Menu>
)"_s;
    if (!DesktopEntry::writeFile(directoriesFolder() + u'/' + id + u".directory"_s, directory)
        || !DesktopEntry::writeFile(mergedMenusFolder() + u'/' + id + u".menu"_s, menu))
        m_ok = false;
}

void XdgProgman::replaceItem(const QString &title)
{
    if (m_group.isEmpty())
        return;
    const QString path = itemPath(m_group, title);
    if (QFileInfo::exists(path) && !QFile::remove(path))
        m_ok = false;
}

void XdgProgman::addItem(const QString &commandLine, const QString &title)
{
    const std::optional<QStringList> argv = CommandLine::split(commandLine);
    if (m_group.isEmpty() || !argv || argv->isEmpty()) {
        m_ok = false;
        return;
    }
    QString exec = DesktopEntry::execValue(*argv);
    bool terminal = false;
    const bool uninstall = argv->size() == 2 && argv->at(1) == u"/uninstall";
    if (uninstall && !m_uninstallScript.isEmpty()) {
        // The program itself has nothing to do with "/uninstall"; the script does the work.
        exec = DesktopEntry::execValue({u"/bin/sh"_s, m_uninstallScript});
        terminal = true;
    }
    QString entry = u"[Desktop Entry]\nType=Application\nName="_s + DesktopEntry::escapeValue(title)
        + u"\nExec="_s + exec + u"\nIcon="_s + icon + u"\nTerminal="_s
        + (terminal ? u"true"_s : u"false"_s) + u'\n';
    if (!isStartUp(m_group))
        entry += u"Categories="_s + groupCategory(m_group) + u";\n"_s;
    if (!DesktopEntry::writeFile(itemPath(m_group, title), entry)) {
        m_ok = false;
        return;
    }
    // The package's own launcher would stand beside the group's.
    if (!uninstall && argv->size() == 1 && !isStartUp(m_group) && !packageEntry().isEmpty()) {
        const QString hidden = u"[Desktop Entry]\nType=Application\nName=Halvorn 95/NT\nExec=voltrane\n"
                               u"Icon=voltrane\nNoDisplay=true\n"_s;
        if (!DesktopEntry::writeFile(packageEntryOverride(), hidden))
            m_ok = false;
    }
}
