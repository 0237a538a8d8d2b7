// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/timerqueue.h"

int TimerQueue::find(const QString &name) const
{
    for (int i = 0; i < m_count; ++i)
        if (m_entries[size_t(i)].jobName == name)
            return i;
    return -1;
}

int TimerQueue::findKey(const QString &key) const
{
    for (int i = 0; i < m_count; ++i)
        if (m_entries[size_t(i)].key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void TimerQueue::keepSurvivors()
{
    int kept = 0;
    for (int i = 0; i < capacity; ++i) {
        QueueEntry &entry = m_entries[size_t(i)];
        // Running programs stay supervised; create-file jobs of the every-N-minutes kind
        // keep their counters.
        const bool keep = entry.inUse
            && (entry.runState == QueueEntry::Active || (entry.jobType == 3 && entry.waitCounter > 0));
        if (keep) {
            if (kept != i) {
                m_entries[size_t(kept)] = std::move(entry);
                entry.clear();
            }
            ++kept;
        } else {
            entry.clear();
        }
    }
    m_count = kept;
}

QueueEntry *TimerQueue::append()
{
    if (isFull())
        return nullptr;
    QueueEntry &entry = m_entries[size_t(m_count++)];
    entry.clear();
    return &entry;
}

void TimerQueue::clear()
{
    for (QueueEntry &entry : m_entries)
        entry.clear();
    m_count = 0;
}
