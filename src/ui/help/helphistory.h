// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <array>

// The topics gone through with "Next", newest first; 0 marks an empty place (topic 000 is
// never pushed from a chain, as no link leads to it). Holds the 25 newest.
class HelpHistory
{
public:
    static constexpr int size = 25;

    void clear() { m_topics.fill(0); }
    void push(int topic);
    // The newest topic, taken off; 0 when empty.
    int pop();
    int newest() const { return m_topics[0]; }
    bool isEmpty() const { return m_topics[0] == 0; }

private:
    std::array<int, size> m_topics{};
};
