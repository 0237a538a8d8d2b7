// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "platform/registry.h"

#include <QList>
#include <QString>

// The values an editor writes for one job, in the order they are to be written (the order
// shows in job list files).
class JobRecord
{
public:
    void text(const QString &name, const QString &value) { m_values.append({ name, value }); }
    void integer(const QString &name, int value);
    void boolean(const QString &name, bool value);

    const QList<Registry::Value> &values() const { return m_values; }
    friend bool operator==(const JobRecord &, const JobRecord &) = default;

private:
    QList<Registry::Value> m_values;
};
