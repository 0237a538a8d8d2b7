// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "platform/registry.h"

#include <QHash>
#include <QString>

// Values of one job fetched in one look at the store, read by the store's encoding:
// names without regard to case, defaults for absent or unreadable values.
class JobValues
{
public:
    explicit JobValues(const QList<Registry::Value> &values);

    const QList<Registry::Value> &values() const { return m_values; }
    QString text(const QString &name, const QString &defaultValue = QString()) const;
    int integer(const QString &name, int defaultValue) const;
    bool boolean(const QString &name, bool defaultValue) const;

private:
    QList<Registry::Value> m_values;
    QHash<QString, QString> m_byName; // upper-case name → data
};
