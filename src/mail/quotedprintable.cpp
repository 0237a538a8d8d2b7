// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "mail/quotedprintable.h"

#include "mail/mailerror.h"

#include <QCoreApplication>
#include <QIODevice>

#include <cstring>

namespace {

constexpr int kWidth = 65;
constexpr int kCanonicalWidth = 76;
constexpr char kHex[] = "0123456789ABCDEF";

// Reads the input in chunks and knows how many bytes are left, which the paragraph form
// needs to tell the input's last byte from the others.
class ByteReader
{
public:
    explicit ByteReader(QIODevice *input) : m_input(input), m_left(input->size() - input->pos()) {}

    bool atEnd() const { return m_at == m_buffer.size() && m_left == 0; }
    // Only when !atEnd().
    unsigned char peek()
    {
        fill();
        return static_cast<unsigned char>(m_buffer.at(m_at));
    }
    unsigned char next()
    {
        const unsigned char c = peek();
        ++m_at;
        return c;
    }
    // Appends the bytes up to the next CR or LF (or the end of the buffer) to `out`.
    void takeRun(QByteArray &out)
    {
        fill();
        const char *begin = m_buffer.constData() + m_at;
        const char *end = m_buffer.constData() + m_buffer.size();
        const char *p = begin;
        while (p != end && *p != '\r' && *p != '\n')
            ++p;
        out.append(begin, p - begin);
        m_at += p - begin;
    }
    bool atLineEnd() const { return m_at < m_buffer.size(); }

private:
    void fill()
    {
        if (m_at < m_buffer.size())
            return;
        m_buffer = m_input->read(std::min<qint64>(m_left, 1 << 16));
        if (m_buffer.isEmpty())
            throw EMIMEError(m_input->errorString().isEmpty() ? QStringLiteral("Read error")
                                                              : m_input->errorString());
        m_left -= m_buffer.size();
        m_at = 0;
        QCoreApplication::processEvents();
    }

    QIODevice *m_input;
    qint64 m_left;
    QByteArray m_buffer;
    qsizetype m_at = 0;
};

// The paragraph form escapes controls, "=" and all of 128..255; blanks stay.
struct EscapeTable
{
    bool escape[256];
    constexpr EscapeTable() : escape()
    {
        for (int c = 0; c < 256; ++c)
            escape[c] = c < 32 || c == '=' || c >= 128;
    }
};
constexpr EscapeTable kEscape;

char *writeEscaped(char *out, unsigned char c)
{
    out[0] = '=';
    out[1] = kHex[c >> 4];
    out[2] = kHex[c & 15];
    return out + 3;
}

bool isLineEnd(unsigned char c) { return c == '\r' || c == '\n'; }

} // namespace

TQuotedPrintable::TQuotedPrintable(QIODevice *input, TMailLines *output)
    : Input(input), Output(output)
{
}

void TQuotedPrintable::appendEscaped(const char *p, qsizetype n, bool softBreak)
{
    qsizetype length = n + (softBreak ? 1 : 0);
    for (qsizetype i = 0; i < n; ++i)
        length += kEscape.escape[static_cast<unsigned char>(p[i])] ? 2 : 0;
    char *out = Output->appendUninitialized(length);
    for (qsizetype i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(p[i]);
        if (kEscape.escape[c])
            out = writeEscaped(out, c);
        else
            *out++ = char(c);
    }
    if (softBreak)
        *out = '=';
}

void TQuotedPrintable::appendParagraph(const QByteArray &paragraph)
{
    const char *p = paragraph.constData();
    qsizetype at = 0;
    const qsizetype size = paragraph.size();
    for (;;) {
        if (size - at < kWidth) {
            appendEscaped(p + at, size - at, false);
            return;
        }
        qsizetype cut = kWidth; // hard break unless a blank is found
        for (qsizetype k = kWidth; k >= 1; --k) {
            if (at + k < size && p[at + k] == ' ') {
                cut = k; // the blank starts the next line
                break;
            }
        }
        appendEscaped(p + at, cut, true);
        at += cut;
    }
}

void TQuotedPrintable::appendCanonicalLine(const QByteArray &line, bool ended)
{
    char out[kCanonicalWidth + 4];
    int used = 0;
    const qsizetype n = line.size();
    for (qsizetype i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(line.at(i));
        const bool last = i + 1 == n;
        const bool literal = (c >= 33 && c <= 126 && c != '=')
                             || ((c == ' ' || c == '\t') && !(last && ended));
        const int width = literal ? 1 : 3;
        // A full line keeps room for its soft break; the very last character of a line that
        // ends may use that room.
        const bool fits = used + width <= kCanonicalWidth - 1
                          || (last && ended && used + width <= kCanonicalWidth);
        if (!fits) {
            out[used++] = '=';
            Output->append(QByteArrayView(out, used));
            used = 0;
        }
        if (literal)
            out[used++] = char(c);
        else
            used = int(writeEscaped(out + used, c) - out);
    }
    if (!ended)
        out[used++] = '=';
    Output->append(QByteArrayView(out, used));
}

// A paragraph of MaxParagraph characters may only be ended by the end of the input: the
// next byte read (even a line end) finds it too large.
void TQuotedPrintable::checkLength(qsizetype length, bool more) const
{
    if (MaxParagraph > 0 && (length > MaxParagraph || (length == MaxParagraph && more)))
        throw EMIMEError(QStringLiteral("Paragraph is too large"));
}

void TQuotedPrintable::encode()
{
    ByteReader in(Input);
    QByteArray paragraph;
    if (Canonical) {
        while (!in.atEnd() && !Aborted) {
            paragraph.clear();
            bool ended = false;
            while (!in.atEnd()) {
                in.takeRun(paragraph);
                checkLength(paragraph.size(), !in.atEnd());
                if (in.atLineEnd()) {
                    if (in.next() == '\r' && !in.atEnd() && in.peek() == '\n')
                        in.next();
                    ended = true;
                    break;
                }
            }
            appendCanonicalLine(paragraph, ended);
        }
        return;
    }
    do {
        paragraph.clear();
        while (!in.atEnd()) {
            in.takeRun(paragraph);
            checkLength(paragraph.size(), !in.atEnd());
            if (in.atEnd())
                break; // ended by the end of the input
            if (!in.atLineEnd())
                continue; // the buffer ran out in mid-run
            const unsigned char c = in.next();
            if (in.atEnd()) {
                paragraph.append(char(c)); // the input's last byte is text, whatever it is
                break;
            }
            if (isLineEnd(in.peek()))
                in.next();
            break;
        }
        appendParagraph(paragraph);
    } while (!in.atEnd() && !Aborted);
}
