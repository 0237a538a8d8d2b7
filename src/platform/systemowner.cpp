// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/systemowner.h"

#include <QByteArray>

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace SystemOwner {

QString name()
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd *found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return QString();
    // GECOS: full name, room, work phone, home phone, other, separated by commas.
    const QString fullName = QString::fromLocal8Bit(QByteArray(found->pw_gecos ? found->pw_gecos : ""))
                                 .section(u',', 0, 0)
                                 .trimmed();
    return fullName.isEmpty() ? QString::fromLocal8Bit(found->pw_name) : fullName;
}

} // namespace SystemOwner
