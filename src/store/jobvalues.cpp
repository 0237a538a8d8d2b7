// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "store/jobvalues.h"

#include "store/valuecodec.h"

JobValues::JobValues(QList<Registry::Value> values) : m_values(std::move(values)) {}

namespace {

bool isAscii(const QString &text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

// The registry's own identity of names: upper case.
bool sameName(const QString &a, const QString &b)
{
    if (isAscii(a) && isAscii(b))
        return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
    return a.toUpper() == b.toUpper();
}

} // namespace

const QString *JobValues::find(const QString &name) const
{
    // The last of equal names counts, as a later write would.
    for (qsizetype i = m_values.size() - 1; i >= 0; --i)
        if (sameName(m_values.at(i).first, name))
            return &m_values.at(i).second;
    return nullptr;
}

QString JobValues::text(const QString &name, const QString &defaultValue) const
{
    const QString *found = find(name);
    return found ? *found : defaultValue;
}

int JobValues::integer(const QString &name, int defaultValue) const
{
    const QString *found = find(name);
    return found ? ValueCodec::readInteger(*found, defaultValue) : defaultValue;
}

bool JobValues::boolean(const QString &name, bool defaultValue) const
{
    return integer(name, defaultValue ? 1 : 0) != 0;
}
