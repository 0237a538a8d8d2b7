// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>

#include <cstring>

// Raw growable storage for TMailLines. A large buffer is mapped on its own and, unless told
// otherwise, asks for huge pages: text written once into fresh memory costs more to fault in
// 4 KiB pages than to encode.
class TMailBuffer
{
public:
    TMailBuffer() = default;
    TMailBuffer(TMailBuffer &&other) noexcept { swap(other); }
    TMailBuffer &operator=(TMailBuffer &&other) noexcept
    {
        TMailBuffer(std::move(other)).swap(*this);
        return *this;
    }
    TMailBuffer(const TMailBuffer &other) { append(other.m_data, other.m_size); }
    TMailBuffer &operator=(const TMailBuffer &other)
    {
        if (this != &other) {
            TMailBuffer copy(other);
            swap(copy);
        }
        return *this;
    }
    ~TMailBuffer() { release(m_data, m_capacity); }

    void swap(TMailBuffer &other) noexcept
    {
        std::swap(m_data, other.m_data);
        std::swap(m_size, other.m_size);
        std::swap(m_capacity, other.m_capacity);
        std::swap(m_hugePages, other.m_hugePages);
    }
    void setHugePages(bool on) { m_hugePages = on; }
    void reserve(qsizetype bytes)
    {
        if (bytes > m_capacity)
            reallocate(bytes);
    }
    // Room for n more bytes after the used ones, not yet counted as used.
    char *room(qsizetype n)
    {
        if (m_size + n > m_capacity)
            reallocate(std::max(m_size + n, m_capacity * 2));
        return m_data + m_size;
    }
    // Room for n more bytes, counted as used.
    char *grow(qsizetype n)
    {
        char *at = room(n);
        m_size += n;
        return at;
    }
    // Counts the bytes up to `end` (inside the last room given) as used.
    void setEnd(const char *end) { m_size = end - m_data; }
    void append(const char *p, qsizetype n)
    {
        if (n > 0)
            std::memcpy(grow(n), p, size_t(n));
    }
    void truncate(qsizetype n) { m_size = std::min(m_size, n); }
    void clear() { m_size = 0; }
    qsizetype size() const { return m_size; }
    const char *data() const { return m_data; }
    char *data() { return m_data; }

private:
    void reallocate(qsizetype capacity);
    static void release(char *data, qsizetype capacity);

    char *m_data = nullptr;
    qsizetype m_size = 0;
    qsizetype m_capacity = 0;
    bool m_hugePages = true;
};

// The coders' output: lines of mail text in one buffer, so that a large attachment costs no
// allocation per line.
class TMailLines
{
public:
    // Huge pages pay when the memory was freed a moment ago, as in a run of encodings. Memory
    // that lay free a while may have been handed back to a virtual machine's host, and then a
    // huge page costs several times what its small pages do: a buffer filled once in a while
    // does better without.
    void setHugePages(bool on)
    {
        m_text.setHugePages(on);
        m_ends.setHugePages(on);
    }
    void reserve(qsizetype lines, qsizetype bytes)
    {
        m_ends.reserve(lines * qsizetype(sizeof(qsizetype)));
        m_text.reserve(bytes);
    }
    void append(QByteArrayView line)
    {
        m_text.append(line.data(), line.size());
        pushEnd();
    }
    // Room for a line of n characters, to be written at once.
    char *appendUninitialized(qsizetype n)
    {
        char *at = m_text.grow(n);
        pushEnd();
        return at;
    }
    // Room for a line of at most n characters, written in place and finished by endLine(): the
    // coders write whole words at a time and need not know a line's length beforehand.
    char *beginLine(qsizetype n) { return m_text.room(n); }
    void endLine(const char *end)
    {
        m_text.setEnd(end);
        pushEnd();
    }
    void removeLast()
    {
        m_ends.truncate(m_ends.size() - qsizetype(sizeof(qsizetype)));
        m_text.truncate(isEmpty() ? 0 : end(size() - 1));
    }
    void clear()
    {
        m_text.clear();
        m_ends.clear();
    }
    qsizetype size() const { return m_ends.size() / qsizetype(sizeof(qsizetype)); }
    bool isEmpty() const { return m_ends.size() == 0; }
    QByteArrayView at(qsizetype i) const
    {
        const qsizetype begin = i == 0 ? 0 : end(i - 1);
        return QByteArrayView(m_text.data() + begin, end(i) - begin);
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
    qsizetype end(qsizetype i) const
    {
        qsizetype e;
        std::memcpy(&e, m_ends.data() + i * qsizetype(sizeof e), sizeof e);
        return e;
    }
    void pushEnd()
    {
        const qsizetype e = m_text.size();
        std::memcpy(m_ends.grow(sizeof e), &e, sizeof e);
    }

    TMailBuffer m_text;
    TMailBuffer m_ends; // the end offset of every line
};
