// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/autostartentry.h"

#include "platform/desktopentry.h"
#include "platform/paths.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace AutostartEntry {

QString path() { return Paths::configHome() + u"/autostart/voltrane.desktop"_s; }

bool write(const QString &program)
{
    return DesktopEntry::writeFile(path(),
        u"[Desktop Entry]\nType=Application\nName=Halvorn 95/NT\nExec="_s
            + DesktopEntry::execValue({program}) + u"\nIcon=voltrane\nTerminal=false\n"_s);
}

bool remove() { return !QFile::exists(path()) || QFile::remove(path()); }

} // namespace AutostartEntry
