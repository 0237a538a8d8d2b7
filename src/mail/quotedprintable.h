// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "mail/maillines.h"

#include <functional>

class QIODevice;

// Quoted-printable. Two forms:
// - paragraphs (the default): a run of bytes up to a line end is a paragraph, cut at blanks
//   into lines of 65 characters with soft breaks; CR LF, LF CR, CR CR and LF LF are each
//   one line end, and blanks are never escaped. This is the message-text form.
// - canonical: the form for text attachments and non-ASCII texts. Every CR LF, lone CR and
//   lone LF is one line end (so blank lines survive and the decoded text has CR LF line
//   ends, as RFC 2046 wants of text), trailing blanks are escaped, encoded lines stay within
//   76 characters, and a last line without a line end ends in a soft break.
class TQuotedPrintable
{
public:
    // Neither object is owned. Output is appended to, not cleared.
    TQuotedPrintable(QIODevice *input, TMailLines *output);

    // EMIMEError "Paragraph is too large" when a paragraph reaches MaxParagraph characters
    // (0: no limit); lines appended before stay in Output.
    void encode();

    QIODevice *Input;
    TMailLines *Output;
    bool Aborted = false;
    bool Canonical = false;
    int MaxParagraph = 24576;
    // Bytes to encode; -1: what the input holds from its position when encode() starts.
    qint64 Size = -1;
    // Before each chunk of input is read: Output holds the lines made so far, and may be
    // emptied. The lines of the last chunk are left in Output.
    std::function<void()> OnChunk;

private:
    void writeParagraph(const char *p, qsizetype n);
    void writeCanonicalLine(const char *p, qsizetype n, bool ended);
};
