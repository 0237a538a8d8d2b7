// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "mail/blockcoder.h"

// Base64 of RFC 2045: 57-byte blocks, lines of at most 76 characters.
class TBase64 : public TBlockCoder
{
public:
    TBase64(QIODevice *input, TMailLines *output);

protected:
    void encodeLine(const unsigned char *block, int n) override;
    int lineLength() const override { return 76; }
    int percent(qint64 done, qint64 size) const override;
};
