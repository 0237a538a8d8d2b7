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

// Replaces a key's values as one change: the key is erased and rewritten in one registry
// transaction, every write checked. When any step fails (a busy or damaged registry file)
// nothing changes and the old values survive.
class JobWriter
{
public:
    explicit JobWriter(Registry &registry) : m_registry(registry) {}

    // The job `job` of the job store; false for a name the store cannot hold.
    bool writeJob(const QString &job, const JobRecord &record);
    // Any key: the Favorites section is saved this way. An empty list leaves the key empty.
    bool replaceKey(const QString &key, const QList<Registry::Value> &values);

private:
    Registry &m_registry;
};
