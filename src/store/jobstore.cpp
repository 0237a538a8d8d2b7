// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "store/jobstore.h"

#include "store/valuecodec.h"

const QString JobStore::storeKey = QStringLiteral("Software\\Tarnwick\\Halvorn\\TimedJobs");
const QString JobStore::jobNameValue = QStringLiteral("sJobName");

bool JobStore::isValidJobName(const QString &job)
{
    return !job.isEmpty() && !job.contains(u'\\');
}

QStringList JobStore::listJobs() { return m_registry.subKeysWithValue(storeKey, jobNameValue); }

QString JobStore::readString(const QString &job, const QString &name, const QString &defaultValue)
{
    if (!isValidJobName(job))
        return defaultValue;
    return m_registry.readValue(keyOf(job), name).value_or(defaultValue);
}

int JobStore::readInteger(const QString &job, const QString &name, int defaultValue)
{
    if (!isValidJobName(job))
        return defaultValue;
    return ValueCodec::readInteger(m_registry.readValue(keyOf(job), name), defaultValue);
}

bool JobStore::readBoolean(const QString &job, const QString &name, bool defaultValue)
{
    if (!isValidJobName(job))
        return defaultValue;
    return ValueCodec::readBoolean(m_registry.readValue(keyOf(job), name), defaultValue);
}

bool JobStore::writeString(const QString &job, const QString &name, const QString &value)
{
    if (!isValidJobName(job) || name.isEmpty())
        return false;
    return m_registry.writeValue(keyOf(job), name, value);
}

bool JobStore::writeInteger(const QString &job, const QString &name, int value)
{
    return writeString(job, name, ValueCodec::formatInteger(value));
}

bool JobStore::writeBoolean(const QString &job, const QString &name, bool value)
{
    return writeString(job, name, ValueCodec::formatBoolean(value));
}

bool JobStore::eraseJob(const QString &job)
{
    if (!isValidJobName(job))
        return false;
    return m_registry.deleteKey(keyOf(job));
}

bool JobStore::jobExists(const QString &job)
{
    return !readString(job, jobNameValue).isEmpty();
}

bool JobStore::renameJob(const QString &from, const QString &to)
{
    if (!isValidJobName(from) || !isValidJobName(to))
        return false;
    Registry::Transaction transaction(m_registry);
    if (!transaction.isActive())
        return false;
    if (!m_registry.renameKey(keyOf(from), keyOf(to))
        || !m_registry.writeValue(keyOf(to), jobNameValue, to)) {
        transaction.fail();
        return false;
    }
    return transaction.commit();
}

JobValues JobStore::values(const QString &job)
{
    if (!isValidJobName(job))
        return JobValues();
    return JobValues(m_registry.values(keyOf(job)));
}

std::optional<JobStore::Snapshot> JobStore::readAll(const QStringList &names, const QStringList &stems)
{
    const quint64 failures = m_registry.failureCount();
    Snapshot snapshot;
    snapshot.jobs = listJobs();
    // One look at the store for every job, however many there are.
    for (auto &[key, values] : m_registry.subKeyValues(storeKey, names, stems))
        snapshot.byKey.insert(key.toUpper(), JobValues(std::move(values)));
    if (m_registry.failureCount() != failures)
        return std::nullopt;
    return snapshot;
}

bool JobStore::replaceJob(const QString &job, const QList<Registry::Value> &values)
{
    if (!isValidJobName(job))
        return false;
    return m_registry.replaceKey(keyOf(job), values);
}

bool JobStore::eraseAllJobs()
{
    Transaction transaction(*this);
    if (!transaction.isActive())
        return false;
    for (const QString &key : m_registry.subKeys(storeKey)) {
        if (!m_registry.deleteKey(keyOf(key))) {
            transaction.fail();
            return false;
        }
    }
    return transaction.commit();
}
