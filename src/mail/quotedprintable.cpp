// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "mail/quotedprintable.h"

#include "mail/mailerror.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QtEndian>

#include <bit>
#include <cstring>
#include <vector>

namespace {

constexpr int kWidth = 65;
constexpr int kCanonicalWidth = 76;
constexpr qint64 kChunkBytes = 1 << 16;
constexpr char kHex[] = "0123456789ABCDEF";

// Text is scanned a word of eight bytes at a time: most of it needs no escape, and a run of
// it is copied whole. The first byte of the input is the least significant of the word.
using Word = quint64;
constexpr qsizetype kWordBytes = sizeof(Word);
constexpr Word kOnes = 0x0101010101010101;
constexpr Word kHigh = 0x8080808080808080;

Word load(const char *p)
{
    Word w;
    std::memcpy(&w, p, sizeof w);
    return qFromLittleEndian(w);
}

// These mark a byte by its high bit. A borrow can mark bytes after a marked one as well,
// so only the first mark is sure; it is the only one used.
Word below(Word w, unsigned char n) { return (w - kOnes * n) & ~w & kHigh; }
Word equal(Word w, unsigned char c) { return below(w ^ (kOnes * c), 1); }
// The index of the first marked byte; kWordBytes when none is.
qsizetype firstMarked(Word marks) { return std::countr_zero(marks) / 8; }

Word lineEnds(Word w) { return equal(w, '\r') | equal(w, '\n'); }
// The paragraph form escapes controls, "=" and all of 128..255; blanks stay.
Word paragraphEscapes(Word w) { return below(w, 32) | equal(w, '=') | (w & kHigh); }
// What the canonical form may escape: controls (a tab only at a line's end), "=", 127..255.
Word canonicalEscapes(Word w) { return paragraphEscapes(w) | equal(w, 127); }

char *writeEscaped(char *out, unsigned char c)
{
    out[0] = '=';
    out[1] = kHex[c >> 4];
    out[2] = kHex[c & 15];
    return out + 3;
}

// The n bytes at p, escaped as the paragraph form wants. Reads up to a word past p + n and
// writes up to a word past the end it returns; at most 3 * n bytes are kept.
char *writeParagraphText(char *out, const char *p, qsizetype n)
{
    const char *end = p + n;
    while (p < end) {
        std::memcpy(out, p, kWordBytes);
        const qsizetype plain = std::min<qsizetype>(firstMarked(paragraphEscapes(load(p))), end - p);
        out += plain;
        p += plain;
        if (plain < kWordBytes && p < end)
            out = writeEscaped(out, static_cast<unsigned char>(*p++));
    }
    return out;
}

const char *findLineEnd(const char *p, const char *end)
{
    for (; p < end; p += kWordBytes) {
        const qsizetype k = firstMarked(lineEnds(load(p)));
        if (k < kWordBytes)
            return std::min(p + k, end);
    }
    return end;
}

// The input in chunks, in one buffer that keeps the unfinished line at its front. A word of
// zero bytes always follows what is held, so scans may read whole words.
class LineReader
{
public:
    struct Line
    {
        const char *text;
        qsizetype length;
        bool ended; // text[length] is a CR or an LF
    };

    LineReader(QIODevice *input, qint64 size, int maxLength, const std::function<void()> &beforeRead)
        : m_input(input), m_left(size >= 0 ? size : input->size() - input->pos()),
          m_maxLength(maxLength), m_beforeRead(beforeRead), m_buffer(kWordBytes, 0)
    {
    }

    bool atEnd() const { return m_begin == m_end && m_left == 0; }
    bool moreInput() const { return m_left > 0; }
    const char *end() const { return m_buffer.data() + m_end; }
    void skip(qsizetype n) { m_begin += n; }

    // The text up to the next CR or LF, or to the end of the input. A line end is read with
    // the byte after it unless it is the input's last byte.
    Line next()
    {
        qsizetype scanned = 0;
        for (;;) {
            const char *text = m_buffer.data() + m_begin;
            const char *lineEnd = findLineEnd(text + scanned, end());
            const qsizetype length = lineEnd - text;
            const bool ended = lineEnd != end();
            checkLength(length, ended || m_left > 0);
            if ((ended && lineEnd + 1 != end()) || m_left == 0)
                return {text, length, ended};
            scanned = length;
            fill();
        }
    }

private:
    // A paragraph of m_maxLength characters may only be ended by the end of the input: the
    // next byte read (even a line end) finds it too large.
    void checkLength(qsizetype length, bool more) const
    {
        if (m_maxLength > 0 && (length > m_maxLength || (length == m_maxLength && more)))
            throw EMIMEError(QStringLiteral("Paragraph is too large"));
    }

    void fill()
    {
        if (m_beforeRead)
            m_beforeRead();
        char *data = m_buffer.data();
        if (m_begin > 0) {
            std::memmove(data, data + m_begin, size_t(m_end - m_begin));
            m_end -= m_begin;
            m_begin = 0;
        }
        const qint64 want = std::min(m_left, kChunkBytes);
        const size_t needed = size_t(m_end + want + kWordBytes);
        if (m_buffer.size() < needed)
            m_buffer.resize(std::max(needed, 2 * m_buffer.size()));
        data = m_buffer.data();
        const qint64 got = m_input->read(data + m_end, want);
        if (got <= 0)
            throw EMIMEError(m_input->errorString().isEmpty() ? QStringLiteral("Read error")
                                                              : m_input->errorString());
        m_left -= got;
        m_end += got;
        std::memset(data + m_end, 0, kWordBytes);
        QCoreApplication::processEvents();
    }

    QIODevice *m_input;
    qint64 m_left;
    int m_maxLength;
    const std::function<void()> &m_beforeRead;
    std::vector<char> m_buffer;
    qsizetype m_begin = 0;
    qsizetype m_end = 0;
};

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

} // namespace

TQuotedPrintable::TQuotedPrintable(QIODevice *input, TMailLines *output)
    : Input(input), Output(output)
{
}

void TQuotedPrintable::writeParagraph(const char *p, qsizetype n)
{
    for (;;) {
        if (n < kWidth) {
            Output->endLine(writeParagraphText(Output->beginLine(3 * n + kWordBytes), p, n));
            return;
        }
        // The last blank within the next kWidth characters starts the next line; without
        // one the line is cut hard.
        const auto *blank = static_cast<const char *>(memrchr(p + 1, ' ', size_t(std::min<qsizetype>(kWidth, n - 1))));
        const qsizetype cut = blank ? blank - p : kWidth;
        char *out = writeParagraphText(Output->beginLine(3 * cut + 1 + kWordBytes), p, cut);
        *out++ = '=';
        Output->endLine(out);
        p += cut;
        n -= cut;
    }
}

void TQuotedPrintable::writeCanonicalLine(const char *p, qsizetype n, bool ended)
{
    constexpr qsizetype room = kCanonicalWidth + 1 + kWordBytes;
    const char *end = p + n;
    char *line = Output->beginLine(room);
    char *out = line;
    while (p < end) {
        // Plain characters up to the room a soft break leaves, never the line's last
        // character, go in whole words.
        for (qsizetype limit = std::min<qsizetype>(kCanonicalWidth - 1 - (out - line), end - 1 - p); limit > 0;) {
            std::memcpy(out, p, kWordBytes);
            const qsizetype plain = std::min<qsizetype>(firstMarked(canonicalEscapes(load(p))), limit);
            out += plain;
            p += plain;
            limit -= plain;
            if (plain < kWordBytes)
                break;
        }
        const auto c = static_cast<unsigned char>(*p);
        const bool last = p + 1 == end;
        const bool literal = (c >= 33 && c <= 126 && c != '=')
                             || ((c == ' ' || c == '\t') && !(last && ended));
        const qsizetype width = literal ? 1 : 3;
        const qsizetype used = out - line;
        // A full line keeps room for its soft break; the very last character of a line that
        // ends may use that room.
        if (used + width > kCanonicalWidth - 1 && !(last && ended && used + width <= kCanonicalWidth)) {
            *out++ = '=';
            Output->endLine(out);
            line = out = Output->beginLine(room);
        }
        if (literal)
            *out++ = char(c);
        else
            out = writeEscaped(out, c);
        ++p;
    }
    if (!ended)
        *out++ = '=';
    Output->endLine(out);
}

void TQuotedPrintable::encode()
{
    LineReader in(Input, Size, MaxParagraph, OnChunk);
    if (Canonical) {
        // CR LF, a lone CR and a lone LF each end a line; a line end at the input's end too.
        while (!in.atEnd() && !Aborted) {
            const LineReader::Line line = in.next();
            writeCanonicalLine(line.text, line.length, line.ended);
            const char *after = line.text + line.length;
            qsizetype taken = line.length;
            if (line.ended)
                taken += after[0] == '\r' && after + 1 != in.end() && after[1] == '\n' ? 2 : 1;
            in.skip(taken);
        }
        return;
    }
    // Any two of CR and LF in a row are one line end; the input's last byte is text,
    // whatever it is.
    do {
        const LineReader::Line line = in.next();
        const char *after = line.text + line.length;
        if (!line.ended) {
            writeParagraph(line.text, line.length);
            in.skip(line.length);
        } else if (after + 1 == in.end() && !in.moreInput()) {
            writeParagraph(line.text, line.length + 1);
            in.skip(line.length + 1);
        } else {
            writeParagraph(line.text, line.length);
            in.skip(line.length + (isLineEnd(after[1]) ? 2 : 1));
        }
    } while (!in.atEnd() && !Aborted);
}
