// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/help/helphistory.h"

#include <algorithm>

void HelpHistory::push(int topic)
{
    std::move_backward(m_topics.begin(), m_topics.end() - 1, m_topics.end());
    m_topics[0] = topic;
}

int HelpHistory::pop()
{
    const int topic = m_topics[0];
    std::move(m_topics.begin() + 1, m_topics.end(), m_topics.begin());
    m_topics[size - 1] = 0;
    return topic;
}
