// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "engine/queueentry.h"

#include <array>

// Today's timer queue: a fixed table of 256 entries, of which the first `count` are in use.
class TimerQueue
{
public:
    static constexpr int capacity = 256;

    int count() const { return m_count; }
    bool isFull() const { return m_count >= capacity; }
    QueueEntry &operator[](int index) { return m_entries[size_t(index)]; }
    const QueueEntry &operator[](int index) const { return m_entries[size_t(index)]; }

    // Index of the first entry among 0 … count − 1 whose job name equals `name` exactly, or −1.
    int find(const QString &name) const;
    // Index of the first entry loaded from the store key `key` (without regard to case,
    // as the store names keys), or −1.
    int findKey(const QString &key) const;

    // The first step of a rebuild: entries that must survive move to the front in their
    // order, every other entry is cleared; the count becomes the number kept.
    void keepSurvivors();

    // Appends an entry; nullptr when the queue is full.
    QueueEntry *append();

    void clear();

private:
    std::array<QueueEntry, capacity> m_entries;
    int m_count = 0;
};
