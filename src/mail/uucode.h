// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "mail/blockcoder.h"

// uuencode: 45-byte blocks, a length character and up to 60 data characters per line.
// A zero sextet is the grave accent, never a blank.
class TUUCode : public TBlockCoder
{
public:
    TUUCode(QIODevice *input, TMailLines *output);

protected:
    void encodeLine(const unsigned char *block, int n) override;
    int lineLength() const override { return 61; }
    int percent(qint64 done, qint64 size) const override;
};
