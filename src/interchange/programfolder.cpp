// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "interchange/programfolder.h"

#include <QCoreApplication>

namespace ProgramFolder {

QString path()
{
    return QCoreApplication::applicationDirPath();
}

QString resolve(const QString &name, const QString &folder)
{
    if (name.isEmpty() || name.contains(u'/'))
        return name;
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

} // namespace ProgramFolder
