// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/diskspace.h"

#include <QFile>

#include <cerrno>
#include <limits>

#include <sys/statvfs.h>

std::optional<qint64> DiskSpace::freeBytes(const QString &folder)
{
    if (folder.isEmpty())
        return std::nullopt;
    struct statvfs info;
    int rc;
    do
        rc = ::statvfs(QFile::encodeName(folder).constData(), &info);
    while (rc != 0 && errno == EINTR);
    if (rc != 0)
        return std::nullopt;
    const unsigned long long blocks = info.f_bavail;
    const unsigned long long size = info.f_frsize ? info.f_frsize : info.f_bsize;
    constexpr auto most = static_cast<unsigned long long>(std::numeric_limits<qint64>::max());
    if (size != 0 && blocks > most / size)
        return std::numeric_limits<qint64>::max();
    return static_cast<qint64>(blocks * size);
}
