// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/jobvalues.h"

#include "store/valuecodec.h"

JobValues::JobValues(const QList<Registry::Value> &values) : m_values(values)
{
    m_byName.reserve(values.size());
    for (const auto &[name, data] : values)
        m_byName.insert(name.toUpper(), data);
}

QString JobValues::text(const QString &name, const QString &defaultValue) const
{
    return m_byName.value(name.toUpper(), defaultValue);
}

int JobValues::integer(const QString &name, int defaultValue) const
{
    const auto found = m_byName.constFind(name.toUpper());
    return found == m_byName.constEnd() ? defaultValue : ValueCodec::readInteger(*found, defaultValue);
}

bool JobValues::boolean(const QString &name, bool defaultValue) const
{
    return integer(name, defaultValue ? 1 : 0) != 0;
}
