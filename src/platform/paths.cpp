// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/paths.h"

#include <QDir>

namespace {

// XDG: a relative path in the variable is invalid and ignored.
QString xdgFolder(const char *variable, const QString &fallback)
{
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return value;
    return QDir::homePath() + fallback;
}

} // namespace

namespace Paths {

QString configHome() { return xdgFolder("XDG_CONFIG_HOME", QStringLiteral("/.config")); }
QString stateHome() { return xdgFolder("XDG_STATE_HOME", QStringLiteral("/.local/state")); }
QString dataHome() { return xdgFolder("XDG_DATA_HOME", QStringLiteral("/.local/share")); }
QString defaultLogFile() { return stateHome() + QStringLiteral("/halvorn/voltrane.log"); }

} // namespace Paths
