// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/jobwriter.h"

#include "store/jobstore.h"
#include "store/valuecodec.h"

void JobRecord::integer(const QString &name, int value)
{
    m_values.append({ name, ValueCodec::formatInteger(value) });
}

void JobRecord::boolean(const QString &name, bool value)
{
    m_values.append({ name, ValueCodec::formatBoolean(value) });
}

bool JobWriter::writeJob(const QString &job, const JobRecord &record)
{
    if (!JobStore::isValidJobName(job))
        return false;
    return replaceKey(JobStore::storeKey + u'\\' + job, record.values());
}

bool JobWriter::replaceKey(const QString &key, const QList<Registry::Value> &values)
{
    Registry::Transaction transaction(m_registry);
    if (!transaction.isActive())
        return false;
    bool ok = m_registry.deleteKey(key);
    for (qsizetype i = 0; ok && i < values.size(); ++i)
        ok = m_registry.writeValue(key, values[i].first, values[i].second);
    if (!ok) {
        transaction.fail();
        return false;
    }
    return transaction.commit();
}
