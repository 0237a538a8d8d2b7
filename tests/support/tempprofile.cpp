// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "support/tempprofile.h"

#include <QDir>

namespace {
const char *const variables[] = {"HALVORN_REGISTRY", "XDG_CONFIG_HOME", "XDG_STATE_HOME",
    "XDG_DATA_HOME", "XDG_RUNTIME_DIR", "TMPDIR"};
}

TempProfile::TempProfile()
{
    for (const char *name : variables)
        m_saved.append({name, qgetenv(name)});
    const QString base = m_dir.path();
    QDir().mkpath(base + QStringLiteral("/config"));
    QDir().mkpath(base + QStringLiteral("/state"));
    QDir().mkpath(base + QStringLiteral("/data"));
    QDir().mkpath(base + QStringLiteral("/runtime"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(base + QStringLiteral("/config")));
    qputenv("XDG_STATE_HOME", QFile::encodeName(base + QStringLiteral("/state")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(base + QStringLiteral("/data")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(base + QStringLiteral("/runtime")));
    qputenv("HALVORN_REGISTRY", QFile::encodeName(registryPath()));
}

TempProfile::~TempProfile()
{
    for (const auto &[name, value] : std::as_const(m_saved)) {
        if (value.isNull())
            qunsetenv(name.constData());
        else
            qputenv(name.constData(), value);
    }
}
