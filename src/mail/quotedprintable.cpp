// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "mail/quotedprintable.h"

#include "mail/mailerror.h"

#include <QCoreApplication>
#include <QIODevice>

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

void appendEscaped(QByteArray &out, unsigned char c)
{
    const char e[3] = {'=', kHex[c >> 4], kHex[c & 15]};
    out.append(e, 3);
}

bool isLineEnd(unsigned char c) { return c == '\r' || c == '\n'; }

} // namespace

TQuotedPrintable::TQuotedPrintable(QIODevice *input, QByteArrayList *output)
    : Input(input), Output(output)
{
}

void TQuotedPrintable::appendParagraph(const QByteArray &paragraph)
{
    auto escape = [](const char *p, qsizetype n) {
        QByteArray line;
        line.reserve(n + 8);
        for (qsizetype i = 0; i < n; ++i) {
            const auto c = static_cast<unsigned char>(p[i]);
            if (c < 32 || c == '=' || c >= 128)
                appendEscaped(line, c);
            else
                line.append(char(c));
        }
        return line;
    };
    const char *p = paragraph.constData();
    qsizetype at = 0;
    const qsizetype size = paragraph.size();
    for (;;) {
        if (size - at < kWidth) {
            Output->append(escape(p + at, size - at));
            return;
        }
        qsizetype cut = kWidth; // hard break unless a blank is found
        qsizetype next = at + kWidth;
        for (qsizetype k = kWidth; k >= 1; --k) {
            if (at + k < size && p[at + k] == ' ') {
                cut = k;
                next = at + k; // the blank starts the next line
                break;
            }
        }
        Output->append(escape(p + at, cut) + '=');
        at = next;
    }
}

void TQuotedPrintable::appendCanonicalLine(const QByteArray &line, bool ended)
{
    QByteArray out;
    out.reserve(kCanonicalWidth + 4);
    const qsizetype n = line.size();
    for (qsizetype i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(line.at(i));
        const bool last = i + 1 == n;
        const bool literal = (c >= 33 && c <= 126 && c != '=')
                             || ((c == ' ' || c == '\t') && !(last && ended));
        const int width = literal ? 1 : 3;
        // Room for the soft break "=" at the end of a full line.
        if (out.size() + width > kCanonicalWidth - 1 && !(last && ended && out.size() + width <= kCanonicalWidth)) {
            Output->append(out + '=');
            out.clear();
        }
        if (literal)
            out.append(char(c));
        else
            appendEscaped(out, c);
    }
    if (!ended)
        out.append('=');
    Output->append(out);
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
                if (MaxParagraph > 0 && paragraph.size() >= MaxParagraph)
                    throw EMIMEError(QStringLiteral("Paragraph is too large"));
                const unsigned char c = in.next();
                if (isLineEnd(c)) {
                    if (c == '\r' && !in.atEnd() && in.peek() == '\n')
                        in.next();
                    ended = true;
                    break;
                }
                paragraph.append(char(c));
            }
            appendCanonicalLine(paragraph, ended);
        }
        return;
    }
    do {
        paragraph.clear();
        while (!in.atEnd()) {
            if (MaxParagraph > 0 && paragraph.size() >= MaxParagraph)
                throw EMIMEError(QStringLiteral("Paragraph is too large"));
            const unsigned char c = in.next();
            if (in.atEnd()) {
                paragraph.append(char(c)); // the input's last byte is text, whatever it is
                break;
            }
            if (isLineEnd(c)) {
                if (isLineEnd(in.peek()))
                    in.next();
                break;
            }
            paragraph.append(char(c));
        }
        appendParagraph(paragraph);
    } while (!in.atEnd() && !Aborted);
}
