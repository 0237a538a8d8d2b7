// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>
#include <QTemporaryDir>

// A temporary home for one test: XDG folders and HALVORN_REGISTRY point into it, so
// nothing touches the developer's own files. Restores the environment when destroyed.
class TempProfile
{
public:
    TempProfile();
    ~TempProfile();
    TempProfile(const TempProfile &) = delete;
    TempProfile &operator=(const TempProfile &) = delete;

    QString root() const { return m_dir.path(); }
    QString registryPath() const { return m_dir.path() + QStringLiteral("/config/halvorn/registry.db"); }
    QString path(const QString &relative) const { return m_dir.path() + u'/' + relative; }

private:
    QTemporaryDir m_dir;
    QList<QPair<QByteArray, QByteArray>> m_saved;
};
