// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>
#include <QStringList>

class Registry;

// The jobs: one registry key per job under Software\Tarnwick\Halvorn\TimedJobs, named as
// the job was typed and holding the same name in `sJobName`. Exactly the six operations
// every part goes through; failures are silent (reads give the caller's default, a write
// that cannot be done stores nothing and returns false).
//
// A job name that holds "\" would name a nested key: the store never creates such a key
// and reads through such a name give defaults.
class JobStore
{
public:
    static const QString storeKey;
    static const QString jobNameValue; // "sJobName"

    explicit JobStore(Registry &registry) : m_registry(registry) {}

    Registry &registry() { return m_registry; }

    // 1. Names of the keys whose `sJobName` is not empty, in registry order.
    QStringList listJobs();

    // 2. Reads; a missing job or value, or an unreadable number, gives the default.
    QString readString(const QString &job, const QString &name, const QString &defaultValue = QString());
    int readInteger(const QString &job, const QString &name, int defaultValue = 0);
    bool readBoolean(const QString &job, const QString &name, bool defaultValue = false);

    // 3. Writes, creating the job's key when missing.
    bool writeString(const QString &job, const QString &name, const QString &value);
    bool writeInteger(const QString &job, const QString &name, int value);
    bool writeBoolean(const QString &job, const QString &name, bool value);

    // 4. Deletes the job's key with everything beneath it.
    bool eraseJob(const QString &job);

    // 5. True when the job's `sJobName` reads as a non-empty text.
    bool jobExists(const QString &job);

    // 6. Moves the job to a key of the new name and sets its `sJobName`, as one change.
    // Refused when another key of that name exists, or for a name the store cannot hold.
    bool renameJob(const QString &from, const QString &to);

    // A name that can be a key directly beneath the store.
    static bool isValidJobName(const QString &job);

private:
    QString keyOf(const QString &job) const { return storeKey + u'\\' + job; }

    Registry &m_registry;
};
