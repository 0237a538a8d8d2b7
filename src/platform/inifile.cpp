// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/inifile.h"

#include "platform/paths.h"

IniFile::IniFile(const QString &name) : m_path(resolve(name)) {}

QString IniFile::resolve(const QString &name)
{
    if (name.isEmpty() || name.contains(u'/'))
        return name;
    return Paths::configHome() + u'/' + name;
}

IniDocument IniFile::read() const
{
    IniDocument document;
    if (!m_path.isEmpty())
        document.load(m_path);
    return document;
}

QString IniFile::readString(
    const QString &section, const QString &key, const QString &defaultValue) const
{
    return read().value(section, key, defaultValue);
}

QStringList IniFile::sections() const
{
    return read().sections();
}

QStringList IniFile::keys(const QString &section) const
{
    return read().keys(section);
}

QList<IniDocument::Entry> IniFile::entries(const QString &section) const
{
    return read().entries(section);
}

bool IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    IniDocument document;
    if (m_path.isEmpty() || !document.load(m_path))
        return false;
    if (document.find(section, key) == value)
        return true;
    return document.setValue(section, key, value) && document.save(m_path);
}

bool IniFile::deleteKey(const QString &section, const QString &key)
{
    IniDocument document;
    if (m_path.isEmpty() || !document.load(m_path))
        return false;
    return !document.removeKey(section, key) || document.save(m_path);
}

bool IniFile::deleteSection(const QString &section)
{
    IniDocument document;
    if (m_path.isEmpty() || !document.load(m_path))
        return false;
    return !document.removeSection(section) || document.save(m_path);
}
