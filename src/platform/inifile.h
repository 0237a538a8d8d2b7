// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "platform/inidocument.h"

#include <QString>
#include <QStringList>

// One INI file used through profile-string calls: each call reads the file, and each
// change rewrites it whole (crash-safe, see IniDocument::save). Many changes to one file
// belong in an IniDocument, loaded and saved once.
class IniFile
{
public:
    // `name` is resolved by resolve().
    explicit IniFile(const QString &name);

    // A name without a folder lives in $XDG_CONFIG_HOME; any other name is used as it
    // stands (a relative one from the current directory). Empty stays empty.
    static QString resolve(const QString &name);

    QString path() const { return m_path; }

    // A missing or unreadable file, section or key gives the default.
    QString readString(
        const QString &section, const QString &key, const QString &defaultValue = QString()) const;
    QStringList sections() const;
    QStringList keys(const QString &section) const;
    QList<IniDocument::Entry> entries(const QString &section) const;

    // Creates the file when missing (not its folder). False when the name or value cannot
    // be held by a line, or the file cannot be read or written; the file is then unchanged.
    bool writeString(const QString &section, const QString &key, const QString &value);
    // True also when there was nothing to delete.
    bool deleteKey(const QString &section, const QString &key);
    bool deleteSection(const QString &section);

private:
    IniDocument read() const;

    QString m_path;
};
