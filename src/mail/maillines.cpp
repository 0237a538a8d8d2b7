// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "mail/maillines.h"

#include <sys/mman.h>

#include <cstdlib>
#include <new>

namespace {
// From this size on a buffer gets a mapping of its own, in whole huge pages.
constexpr qsizetype kMappedBytes = 4 * 1024 * 1024;
constexpr qsizetype kHugePage = 2 * 1024 * 1024;

qsizetype mappedSize(qsizetype capacity) { return (capacity + kHugePage - 1) / kHugePage * kHugePage; }
} // namespace

void TMailBuffer::reallocate(qsizetype capacity)
{
    char *data = nullptr;
    if (m_capacity >= kMappedBytes) {
        // Moving the pages costs neither a copy nor touching them again.
        capacity = mappedSize(capacity);
        void *p = mremap(m_data, size_t(m_capacity), size_t(capacity), MREMAP_MAYMOVE);
        if (p == MAP_FAILED)
            throw std::bad_alloc();
        m_data = static_cast<char *>(p);
        m_capacity = capacity;
        return;
    }
    if (capacity >= kMappedBytes) {
        capacity = mappedSize(capacity);
        void *p = mmap(nullptr, size_t(capacity), PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED)
            throw std::bad_alloc();
        if (m_hugePages)
            madvise(p, size_t(capacity), MADV_HUGEPAGE); // a hint: refused, it costs nothing
        data = static_cast<char *>(p);
    } else {
        data = static_cast<char *>(std::malloc(size_t(capacity)));
        if (!data)
            throw std::bad_alloc();
    }
    if (m_size > 0)
        std::memcpy(data, m_data, size_t(m_size));
    release(m_data, m_capacity);
    m_data = data;
    m_capacity = capacity;
}

void TMailBuffer::release(char *data, qsizetype capacity)
{
    if (!data)
        return;
    if (capacity >= kMappedBytes)
        munmap(data, size_t(capacity));
    else
        std::free(data);
}
