// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "platform/registry.h"

#include <QString>

// Values of one job fetched in one look at the store, read by the store's encoding:
// names without regard to case, defaults for absent or unreadable values.
class JobValues
{
public:
    JobValues() = default;
    explicit JobValues(QList<Registry::Value> values);

    const QList<Registry::Value> &values() const { return m_values; }
    QString text(const QString &name, const QString &defaultValue = QString()) const;
    int integer(const QString &name, int defaultValue) const;
    bool boolean(const QString &name, bool defaultValue) const;

private:
    // A job has a few dozen values and a reader asks for a handful: a look along the list
    // costs less than building an index for every job of a refresh.
    const QString *find(const QString &name) const;

    QList<Registry::Value> m_values;
};
