// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>

#include <vector>

// The coders' output: lines of mail text in one buffer, so that a large attachment costs no
// allocation per line.
class TMailLines
{
public:
    void reserve(qsizetype lines, qsizetype bytes)
    {
        m_ends.reserve(size_t(lines));
        m_text.reserve(bytes);
    }
    void append(QByteArrayView line)
    {
        m_text.append(line);
        m_ends.push_back(m_text.size());
    }
    // Room for a line of n characters, to be written at once.
    char *appendUninitialized(qsizetype n)
    {
        const qsizetype at = m_text.size();
        m_text.resize(at + n);
        m_ends.push_back(at + n);
        return m_text.data() + at;
    }
    void removeLast()
    {
        m_ends.pop_back();
        m_text.truncate(m_ends.empty() ? 0 : m_ends.back());
    }
    void clear()
    {
        m_text.clear();
        m_ends.clear();
    }
    qsizetype size() const { return qsizetype(m_ends.size()); }
    bool isEmpty() const { return m_ends.empty(); }
    QByteArrayView at(qsizetype i) const
    {
        const qsizetype begin = i == 0 ? 0 : m_ends[size_t(i - 1)];
        return QByteArrayView(m_text.constData() + begin, m_ends[size_t(i)] - begin);
    }
    QByteArrayView last() const { return at(size() - 1); }

    QByteArrayList toList() const
    {
        QByteArrayList list;
        list.reserve(size());
        for (qsizetype i = 0; i < size(); ++i)
            list << at(i).toByteArray();
        return list;
    }

private:
    QByteArray m_text;
    std::vector<qsizetype> m_ends;
};
