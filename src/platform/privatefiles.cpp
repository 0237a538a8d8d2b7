// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/privatefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PrivateFiles {

bool makeFolder(const QString &path)
{
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).isDir())
        return true;
    const QString parent = QFileInfo(QDir::cleanPath(path)).absolutePath();
    if (parent != path && !makeFolder(parent))
        return false;
    // mkdir's mode is cut by the umask, which may only take bits away: 0700 stays 0700.
    return ::mkdir(QFile::encodeName(path).constData(), 0700) == 0 || errno == EEXIST;
}

bool makeFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
        O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    return errno == EEXIST;
}

} // namespace PrivateFiles
