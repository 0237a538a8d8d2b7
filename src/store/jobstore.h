// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "platform/registry.h"
#include "store/jobvalues.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// The jobs: one registry key per job under Software\Tarnwick\Halvorn\TimedJobs, named as
// the job was typed and holding the same name in `sJobName`. The six operations every
// part goes through, and the few bulk ones of the scheduler, the editors and the job list
// files; only the store knows where the jobs live. Failures are silent (reads give the
// caller's default, a write that cannot be done stores nothing and returns false).
//
// A job name that holds "\" would name a nested key: the store never creates such a key
// and reads through such a name give defaults.
class JobStore
{
public:
    static const QString storeKey;
    static const QString jobNameValue; // "sJobName"

    explicit JobStore(Registry &registry) : m_registry(registry) {}

    // Several changes as one: all of them reach the store or none does. Nested ones join
    // the outer one.
    class Transaction : public Registry::Transaction
    {
    public:
        explicit Transaction(JobStore &store) : Registry::Transaction(store.m_registry) {}
    };

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

    // Every value of a job in one look; none for a missing job or a name the store
    // cannot hold.
    JobValues values(const QString &job);

    // Every job at once: the names as listJobs() gives them, and for each key the values
    // named in `names` or starting with one of `stems` followed by a digit.
    struct Snapshot
    {
        QStringList jobs;
        QHash<QString, JobValues> byKey; // upper-case key name

        JobValues values(const QString &job) const { return byKey.value(job.toUpper()); }
    };
    // Nothing when any part of the read failed: a read cut short would look like jobs
    // removed.
    std::optional<Snapshot> readAll(const QStringList &names, const QStringList &stems);

    // Changes whenever another connection has written the store since the last call.
    qint64 changeCounter() { return m_registry.dataVersion(); }

    // The job's values replaced by `values` as one change; the old ones survive a failure.
    bool replaceJob(const QString &job, const QList<Registry::Value> &values);
    // Every key beneath the store, also keys without a name, as one change.
    bool eraseAllJobs();

    // A name that can be a key directly beneath the store.
    static bool isValidJobName(const QString &job);

private:
    QString keyOf(const QString &job) const { return storeKey + u'\\' + job; }

    Registry &m_registry;
};
