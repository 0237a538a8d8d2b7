// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "mail/base64.h"

namespace {
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
static_assert(sizeof(kAlphabet) == 65);
} // namespace

TBase64::TBase64(QIODevice *input, TMailLines *output)
    : TBlockCoder(input, output, 57, kAlphabet)
{
}

void TBase64::encodeLine(const unsigned char *block, int n)
{
    const int count = n % 3 == 0 ? n * 4 / 3 : n * 4 / 3 + 1;
    const int length = (count + 3) / 4 * 4;
    char *line = Output->appendUninitialized(length);
    writeSextets(block, count, line);
    std::fill(line + count, line + length, '=');
}

// Rounded to nearest, halves to even.
int TBase64::percent(qint64 done, qint64 size) const
{
    const qint64 q = done * 100 / size;
    const qint64 twiceRest = 2 * (done * 100 % size);
    return int(q + (twiceRest > size || (twiceRest == size && (q & 1)) ? 1 : 0));
}
