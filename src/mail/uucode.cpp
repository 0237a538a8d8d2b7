// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "mail/uucode.h"

namespace {
constexpr char kAlphabet[] =
    "`!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_";
static_assert(sizeof(kAlphabet) == 65);
} // namespace

TUUCode::TUUCode(QIODevice *input, TMailLines *output)
    : TBlockCoder(input, output, 45, kAlphabet)
{
}

void TUUCode::encodeLine(const unsigned char *block, int n)
{
    // The bits after the n-th byte are zero: strict decoders reject stale ones.
    const int count = n == 45 ? 60 : n * 4 / 3 + 1;
    char *line = Output->appendUninitialized(count + 1);
    line[0] = Alphabet.at(n);
    writeSextets(block, count, line + 1);
}

int TUUCode::percent(qint64 done, qint64 size) const { return int(done * 100 / size); }
