// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "mail/blockcoder.h"

#include "mail/mailerror.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QtEndian>

#include <cstring>
#include <vector>

namespace {
// Input is read in chunks of whole blocks; events are processed once per chunk, which keeps
// the window responsive without paying for an event-loop pass per line.
constexpr int kBlocksPerChunk = 1024;
} // namespace

TBlockCoder::TBlockCoder(QIODevice *input, TMailLines *output, int blockSize,
                         const char *alphabet)
    : Input(input), Output(output), Alphabet(alphabet), m_blockSize(blockSize)
{
    for (int v = 0; v < 4096; ++v) {
        const char pair[2] = {Alphabet.at(v >> 6), Alphabet.at(v & 63)};
        std::memcpy(&m_pairs[size_t(v)], pair, 2);
    }
}

void TBlockCoder::writeSextets(const unsigned char *block, int count, char *out) const
{
    const char *a = Alphabet.constData();
    const quint16 *pairs = m_pairs.data();
    int i = 0;
    auto writeGroup = [&](quint32 v) {
        std::memcpy(out, pairs + (v >> 12), 2);
        std::memcpy(out + 2, pairs + (v & 4095), 2);
    };
    // Every group but the last loads four bytes at once (the fourth is shifted out); the last
    // reads only its own three, so nothing past the block's buffer is read.
    for (; count > 4; i += 3, count -= 4, out += 4) {
        quint32 word;
        std::memcpy(&word, block + i, 4);
        writeGroup(qFromBigEndian(word) >> 8);
    }
    if (count == 4) {
        writeGroup(quint32(block[i] << 16 | block[i + 1] << 8 | block[i + 2]));
    } else if (count > 0) {
        const unsigned v = (block[i] << 16) | (block[i + 1] << 8) | block[i + 2];
        const char quad[4] = {a[v >> 18], a[(v >> 12) & 63], a[(v >> 6) & 63], a[v & 63]};
        std::copy(quad, quad + count, out);
    }
}

void TBlockCoder::encode()
{
    if (OnStart)
        OnStart(*this);
    Output->clear();
    Progress = 0;
    Aborted = false;

    // The size seen now is what gets encoded, even if the file grows meanwhile.
    const qint64 size = Size >= 0 ? Size : Input->size() - Input->pos();
    Output->reserve(size / m_blockSize + 2, (size / m_blockSize + 2) * lineLength());
    const int chunkSize = m_blockSize * kBlocksPerChunk;
    // Three spare zero bytes so that the last group of a short block reads zero bits.
    std::vector<unsigned char> chunk(chunkSize + 3);
    qint64 total = 0;
    bool more = true;
    while (more) {
        const qint64 want = std::min<qint64>(chunkSize, size - total);
        const qint64 got = want > 0 ? Input->read(reinterpret_cast<char *>(chunk.data()), want) : 0;
        if (got < 0)
            throw EMIMEError(Input->errorString());
        std::fill(chunk.begin() + got, chunk.end(), 0);
        // A chunk always ends on a block boundary, so only its last block can be short.
        for (qint64 at = 0; more; at += m_blockSize) {
            const int n = int(std::min<qint64>(m_blockSize, got - at < 0 ? 0 : got - at));
            total += n;
            encodeLine(chunk.data() + at, n);
            // An empty input is all done at once rather than a division by zero.
            Progress = size > 0 ? percent(total, size) : 100;
            if (OnProgress && ProgressStep > 0 && Progress % ProgressStep == 0)
                OnProgress(*this);
            if (n < m_blockSize || Aborted)
                more = false;
            else if (at + m_blockSize >= got)
                break; // chunk used up: read the next one
        }
        if (OnChunk && !Aborted)
            OnChunk(*this);
        QCoreApplication::processEvents();
    }
    Progress = 100;
    if (OnProgress)
        OnProgress(*this);
    if (Aborted)
        Output->clear();
    if (OnEnd)
        OnEnd(*this);
}
