// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QByteArray>
#include "mail/maillines.h"

#include <array>
#include <functional>

class QIODevice;

// What uuencode and base64 share: fixed input blocks, one output line per block, a
// percentage with hooks, and an abort flag polled once per line.
class TBlockCoder
{
public:
    using Hook = std::function<void(TBlockCoder &sender)>;

    // Neither object is owned; both must outlive encode().
    TBlockCoder(QIODevice *input, TMailLines *output, int blockSize, const char *alphabet);
    virtual ~TBlockCoder() = default;

    // Runs the whole conversion. Read errors pass through as EMIMEError.
    void encode();

    QIODevice *Input;
    TMailLines *Output;
    QByteArray Alphabet;
    int Progress = 0;
    int ProgressStep = 10;
    bool Aborted = false;
    // Bytes to encode; -1: what the input holds from its position when encode() starts.
    qint64 Size = -1;
    Hook OnStart, OnProgress, OnEnd;
    // After each chunk of input: Output holds the lines made so far, and may be emptied.
    Hook OnChunk;

protected:
    // Appends the line for the n bytes at block (zero bytes follow them up to a whole group).
    virtual void encodeLine(const unsigned char *block, int n) = 0;
    // Characters per output line of a whole block, for reserving room.
    virtual int lineLength() const = 0;
    virtual int percent(qint64 done, qint64 size) const = 0;

    // Writes `count` characters of the block's sextets, most significant bits first.
    void writeSextets(const unsigned char *block, int count, char *out) const;

private:
    int m_blockSize;
    // The two characters of every 12-bit value: half the look-ups of one per sextet.
    std::array<quint16, 4096> m_pairs;
};
