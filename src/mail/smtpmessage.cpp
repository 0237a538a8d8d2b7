// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// TSMTP: what goes between DATA and "." — header lines, the text, the attachment blocks.

#include "mail/smtp.h"

#include "mail/base64.h"
#include "mail/mailerror.h"
#include "mail/quotedprintable.h"
#include "mail/uucode.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMimeDatabase>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QTimeZone>

#include <type_traits>

namespace {

constexpr int kMaxLineOctets = 998;

bool isAscii(const QByteArray &text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 128)
            return false;
    return true;
}

// Controls never start a new header line.
QString withoutControls(QString text)
{
    for (QChar &c : text)
        if (c.unicode() < 32 || c.unicode() == 127)
            c = u' ';
    return text;
}

// RFC 2047 encoded words of at most 75 characters, cut between characters.
QByteArrayList encodedWords(const QString &text)
{
    QByteArrayList words;
    QByteArray chunk;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype len = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QByteArray piece = text.mid(i, len).toUtf8();
        i += len - 1;
        if ((chunk.size() + piece.size() + 2) / 3 * 4 > 75 - 12) {
            words << "=?utf-8?B?" + chunk.toBase64() + "?=";
            chunk.clear();
        }
        chunk += piece;
    }
    if (!chunk.isEmpty() || words.isEmpty())
        words << "=?utf-8?B?" + chunk.toBase64() + "?=";
    return words;
}

// A display name as a header carries it: plain names as they are, names with specials as a
// quoted string, non-ASCII names as encoded words.
QByteArray displayName(const QString &raw)
{
    const QString name = withoutControls(raw);
    const QByteArray utf8 = name.toUtf8();
    if (!isAscii(utf8))
        return encodedWords(name).join(' ');
    static const QByteArray specials = "()<>[]:;@\\,.\"";
    bool special = false;
    for (char c : utf8)
        special = special || specials.contains(c);
    if (!special)
        return utf8;
    QByteArray quoted = "\"";
    for (char c : utf8) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

QByteArray mailbox(const QString &entry)
{
    return displayName(entry.section(u'|', 1)) + '<' + entry.section(u'|', 0, 0).toUtf8() + '>';
}

// name="plain name" with `"` and `\` escaped; other names as RFC 2231 name*=utf-8''...
QByteArray parameter(const char *key, const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    bool plain = true;
    for (char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        plain = plain && u >= 32 && u < 127;
    }
    if (plain) {
        QByteArray quoted;
        for (char c : utf8) {
            if (c == '"' || c == '\\')
                quoted += '\\';
            quoted += c;
        }
        return QByteArray(key) + "=\"" + quoted + '"';
    }
    return QByteArray(key) + "*=utf-8''" + utf8.toPercentEncoding("!#$&+^`{|}~");
}

QByteArray contentType(const QString &fileName)
{
    static const QMimeDatabase database;
    const QMimeType type = database.mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    return type.isValid() && !type.isDefault() ? type.name().toLatin1()
                                               : QByteArray("application/octet-stream");
}

bool validAddress(const QString &address)
{
    if (address.isEmpty())
        return false;
    for (QChar c : address)
        if (c.unicode() <= 32 || c.unicode() == 127 || c == u'<' || c == u'>')
            return false;
    return true;
}

QByteArray rfc5322Date(const QDateTime &now)
{
    const int offset = now.offsetFromUtc() / 60;
    const int a = std::abs(offset);
    return QLocale::c().toString(now, u"ddd, dd MMM yyyy hh:mm:ss").toLatin1() + ' '
           + (offset < 0 ? '-' : '+') + QByteArray::number(a / 60 * 100 + a % 60).rightJustified(4, '0');
}

} // namespace

void TSMTP::checkAddresses() const
{
    const QString from = From.section(u'|', 0, 0);
    QStringList addresses{Recipient};
    addresses += CC;
    addresses += BCC;
    for (const QString &entry : addresses) {
        const QString address = entry.section(u'|', 0, 0);
        if (!validAddress(address))
            throw EMailError(QStringLiteral("Invalid e-mail address: \"") + withoutControls(address) + u'"');
    }
    if (!from.isEmpty() && !validAddress(from))
        throw EMailError(QStringLiteral("Invalid sender address: \"") + withoutControls(from) + u'"');
}

TSMTP::Text TSMTP::composeText() const
{
    // Every line break inside a string is a line of its own on the wire.
    QStringList lines;
    for (const QString &entry : Body) {
        QString text = entry;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        lines += text.split(u'\n');
    }
    Text result;
    result.charset = "us-ascii";
    bool ascii = true;
    bool longLine = false;
    bool latin1 = true;
    for (const QString &line : std::as_const(lines)) {
        const QByteArray utf8 = line.toUtf8();
        ascii = ascii && isAscii(utf8);
        longLine = longLine || utf8.size() > kMaxLineOctets;
        for (QChar c : line)
            latin1 = latin1 && c.unicode() < 256;
    }
    if (m_encoding == TEncoding::etUU || (ascii && !longLine && m_charSet == TCharSet::csUSASCII)) {
        for (const QString &line : std::as_const(lines))
            result.lines << line.toUtf8();
        return result;
    }
    QByteArray data;
    const bool iso = m_charSet == TCharSet::csISO8859 && latin1;
    for (const QString &line : std::as_const(lines))
        data += (iso ? line.toLatin1() : line.toUtf8()) + "\r\n";
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TMailLines encoded;
    TQuotedPrintable coder(&buffer, &encoded);
    coder.MaxParagraph = 0; // the message's own text is never refused for its length
    coder.Canonical = !iso;
    coder.encode();
    result.lines = encoded.toList();
    result.charset = iso ? "iso-8859-1" : "utf-8";
    result.quotedPrintable = true;
    return result;
}

QByteArrayList TSMTP::headerLines(const Text &text) const
{
    QByteArrayList lines;
    lines << "From:     " + mailbox(From);
    lines << "To:       " + mailbox(Recipient);
    for (qsizetype i = 0; i < CC.size(); ++i)
        lines << (i == 0 ? QByteArray("CC:       ") : QByteArray(10, ' ')) + mailbox(CC[i])
                     + (i + 1 < CC.size() ? "," : "");
    QByteArrayList standard;
    if (StandardHeaders) {
        const QDateTime now = QDateTime::currentDateTime();
        standard << "Date: " + rfc5322Date(now);
        standard << "Message-ID: <" + QByteArray::number(now.toMSecsSinceEpoch(), 36) + '.'
                        + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + '@'
                        + heloDomain() + '>';
    }
    if (Subject.isEmpty())
        lines += standard;
    if (ReturnReceipt)
        lines << "Return-Receipt-To: <" + From.section(u'|', 0, 0).toUtf8() + '>';
    if (Priority == TPriority::ptLow)
        lines << "X-Priority: 5";
    else if (Priority == TPriority::ptHigh)
        lines << "X-Priority: 1";
    if (!Subject.isEmpty()) {
        const QString subject = withoutControls(Subject);
        const QByteArray utf8 = subject.toUtf8();
        if (isAscii(utf8)) {
            lines << "Subject:  " + utf8;
        } else {
            const QByteArrayList words = encodedWords(subject);
            lines << "Subject:  " + words.first();
            for (qsizetype i = 1; i < words.size(); ++i)
                lines << ' ' + words[i];
        }
        lines += standard;
    }
    if (m_encoding == TEncoding::etUU && !Attachments.isEmpty())
        lines << "X-Encoding:      UUENCODE";
    if (m_encoding == TEncoding::etMIME) {
        lines << "Mime-Version: 1.0";
        if (!Attachments.isEmpty()) {
            lines << "Content-Type: multipart/mixed; boundary=\"" + m_boundary + '"';
            lines << "X-Encoding: MIME" << QByteArray()
                  << "This is a multi-part message in MIME format." << QByteArray()
                  << "--" + m_boundary;
        }
        lines << "Content-Type: text/plain; charset=\"" + text.charset + '"';
        lines << (text.quotedPrintable ? QByteArray("Content-Transfer-Encoding: quoted-printable")
                                       : QByteArray("Content-Transfer-Encoding: 7bit"));
    }
    return lines;
}

void TSMTP::SendHeaders()
{
    setStatus(4);
    for (const QByteArray &line : headerLines(composeText()))
        SendLine(line.startsWith('.') ? '.' + line : line);
}

void TSMTP::EncodeAttachments(bool keepLines)
{
    m_blocks.clear();
    m_encodingError.clear();
    for (qsizetype i = 0; i < Attachments.size(); ++i) {
        try {
            m_blocks.push_back(encodeAttachment(Attachments[i], i + 1 == Attachments.size(), keepLines));
        } catch (const ECanceledError &) {
            m_blocks.clear();
            throw;
        } catch (const std::exception &e) {
            m_blocks.clear();
            m_encodingError = Attachments[i] + QStringLiteral(": ") + QString::fromUtf8(e.what());
            return;
        }
    }
}

void TSMTP::runCoder(const Block &block, TMailLines &lines, const std::function<void()> &chunk,
                     bool progress)
{
    struct Running
    {
        TSMTP *client;
        ~Running() { client->m_blockCoder = nullptr; client->m_qpCoder = nullptr; }
    } running{this};
    auto run = [&](auto &coder) {
        coder.Size = block.fileSize;
        if constexpr (std::is_base_of_v<TBlockCoder, std::decay_t<decltype(coder)>>) {
            if (progress)
                coder.OnProgress = [this](TBlockCoder &c) { setProgress(c.Progress); };
            if (chunk)
                coder.OnChunk = [&chunk](TBlockCoder &) { chunk(); };
            m_blockCoder = &coder;
        } else {
            coder.Canonical = true;
            coder.OnChunk = chunk;
            m_qpCoder = &coder;
        }
        coder.encode();
        if (coder.Aborted || Canceled)
            throw ECanceledError();
    };
    QFile &file = *block.file;
    switch (block.coding) {
    case Block::Coding::UUCode: {
        TUUCode coder(&file, &lines);
        run(coder);
        break;
    }
    case Block::Coding::Base64: {
        TBase64 coder(&file, &lines);
        run(coder);
        break;
    }
    case Block::Coding::QuotedPrintable: {
        TQuotedPrintable coder(&file, &lines);
        run(coder);
        break;
    }
    }
}

TSMTP::Block TSMTP::encodeAttachment(const QString &path, bool last, bool keepLines)
{
    setStatus(9);
    const QFileInfo info(path);
    // A FIFO or a device would block or never end.
    if (!info.isFile())
        throw EMIMEError(QStringLiteral("not a readable regular file"));
    Block block;
    block.file = std::make_unique<QFile>(path);
    if (!block.file->open(QIODevice::ReadOnly))
        throw EMIMEError(block.file->errorString());
    block.fileSize = block.file->size();
    const QString name = info.fileName();
    const QByteArray type = m_encoding == TEncoding::etUU ? QByteArray() : contentType(name);
    const bool text = type.left(5).toUpper() == "TEXT/";
    block.coding = m_encoding == TEncoding::etUU ? Block::Coding::UUCode
                   : text                        ? Block::Coding::QuotedPrintable
                                                 : Block::Coding::Base64;
    TMailLines &lines = block.lines;
    // Filled once per message, into memory that has usually lain free for a while.
    lines.setHugePages(false);
    // A message that is sent needs only the count of lines now: the file is encoded again
    // as it goes out.
    QByteArray lastLine;
    auto count = [&] {
        block.encodedLines += lines.size();
        if (!lines.isEmpty())
            lastLine = lines.last().toByteArray();
        lines.clear();
    };
    runCoder(block, lines, keepLines ? std::function<void()>() : count, true);
    if (keepLines) {
        block.encodedLines = lines.size();
        lastLine = lines.isEmpty() ? QByteArray() : lines.last().toByteArray();
        block.file.reset();
    } else {
        count();
    }
    block.sentLines = block.encodedLines;

    if (m_encoding == TEncoding::etUU) {
        QString lower = withoutControls(name);
        for (QChar &c : lower)
            if (c >= u'A' && c <= u'Z')
                c = c.toLower();
        block.head << "begin 600 " + lower.toUtf8();
        // Decoders stop at the first zero-length line: a block that ends in one already
        // gets no second.
        if (lastLine == "``") {
            --block.sentLines;
            if (keepLines)
                lines.removeLast();
        }
        block.tail << "`" << "end";
        if (!last)
            block.tail << QByteArray();
        return block;
    }

    QByteArrayList &head = block.head;
    head << "--" + m_boundary << "Content-Type: " + type + "; " + parameter("name", name);
    if (text) {
        head << "Content-Transfer-Encoding: quoted-printable";
    } else {
        head << "Content-Transfer-Encoding: base64";
        head << "Content-Disposition: attachment; " + parameter("filename", name);
    }
    head << QByteArray();
    // The line end before a boundary belongs to the boundary, so a text part followed by
    // the next block's empty line must not get one more: it would decode as a line end the
    // file does not have.
    if (!text || last)
        block.tail << QByteArray();
    if (last)
        block.tail << "--" + m_boundary + "--";
    return block;
}

QByteArrayList TSMTP::composeMessage()
{
    const Text text = composeText();
    EncodeAttachments();
    QByteArrayList lines = headerLines(text);
    lines << QByteArray();
    lines += text.lines;
    appendEncodingNotice(lines);
    for (const Block &block : m_blocks) {
        lines << QByteArray();
        lines += block.head;
        lines += block.lines.toList();
        lines += block.tail;
    }
    m_blocks.clear();
    return lines;
}

void TSMTP::appendEncodingNotice(QByteArrayList &lines)
{
    if (m_encodingError.isEmpty())
        return;
    lines << QByteArray()
          << "**" + QByteArray::number(Attachments.size()) + " file(s) were attached to this"
          << QByteArray("**message.  They could not be sent due to error during encoding");
    // The header announced a multipart message: close it.
    if (m_encoding == TEncoding::etMIME && !Attachments.isEmpty()) {
        m_blocks.clear();
        m_blocks.emplace_back();
        m_blocks.back().tail << "--" + m_boundary + "--";
    }
}
