// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "judge.h"
#include "mail/smtp.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class Composition : public ::testing::Test
{
protected:
    void SetUp() override
    {
        smtp.StandardHeaders = false;
        smtp.From = QStringLiteral("me@example.org");
        smtp.Recipient = QStringLiteral("you@example.org");
    }
    QString file(const QString &name, const QByteArray &data)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(data);
        return path;
    }
    QByteArray message() { return joinLines(smtp.composeMessage(), "\r\n"); }

    QTemporaryDir dir;
    TSMTP smtp;
};

TEST_F(Composition, MimeWithoutAttachmentsCarriesTheTextPartInItsHeader)
{
    smtp.CC = QStringList{QStringLiteral("a@x.org|A"), QStringLiteral("b@x.org"), QStringLiteral("c@x.org|C")};
    smtp.ReturnReceipt = true;
    smtp.Priority = TPriority::ptHigh;
    smtp.Subject = QStringLiteral("Hi");
    smtp.Body = QStringList{QStringLiteral("text")};
    EXPECT_EQ(message(), "From:     <me@example.org>\r\n"
                         "To:       <you@example.org>\r\n"
                         "CC:       A<a@x.org>,\r\n"
                         "          <b@x.org>,\r\n"
                         "          C<c@x.org>\r\n"
                         "Return-Receipt-To: <me@example.org>\r\n"
                         "X-Priority: 1\r\n"
                         "Subject:  Hi\r\n"
                         "Mime-Version: 1.0\r\n"
                         "Content-Type: text/plain; charset=\"us-ascii\"\r\n"
                         "Content-Transfer-Encoding: 7bit\r\n"
                         "\r\n"
                         "text\r\n");
}

TEST_F(Composition, StandardHeadersFollowTheSubjectElseTheRecipients)
{
    smtp.StandardHeaders = true;
    smtp.Priority = TPriority::ptLow;
    QByteArrayList lines = smtp.composeMessage();
    EXPECT_TRUE(lines[2].startsWith("Date: ")) << lines[2].constData();
    EXPECT_TRUE(lines[3].startsWith("Message-ID: <") && lines[3].endsWith("@example.org>"));
    EXPECT_EQ(lines[4], "X-Priority: 5");
    smtp.Subject = QStringLiteral("S");
    lines = smtp.composeMessage();
    EXPECT_EQ(lines[3], "Subject:  S");
    EXPECT_TRUE(lines[4].startsWith("Date: "));
}

TEST_F(Composition, MimeAttachmentBlocksAndOneBoundaryPerClient)
{
    const QByteArray boundary = smtp.boundary();
    ASSERT_EQ(boundary.size(), 8);
    for (char c : boundary)
        EXPECT_TRUE(c >= '0' && c <= '8');
    smtp.Attachments = QStringList{file(QStringLiteral("Empty.BIN"), {}), file(QStringLiteral("Notes.TXT"), "a=b\n")};
    smtp.Body = QStringList{QStringLiteral("body")};
    const QByteArray first = message();
    EXPECT_TRUE(first.endsWith(QByteArray("\r\nbody\r\n"
                               "\r\n--" + boundary + "\r\n"
                               "Content-Type: application/octet-stream; name=\"Empty.BIN\"\r\n"
                               "Content-Transfer-Encoding: base64\r\n"
                               "Content-Disposition: attachment; filename=\"Empty.BIN\"\r\n"
                               "\r\n\r\n\r\n"
                               "\r\n--" + boundary + "\r\n"
                               "Content-Type: text/plain; name=\"Notes.TXT\"\r\n"
                               "Content-Transfer-Encoding: quoted-printable\r\n"
                               "\r\n"
                               "a=3Db\r\n"
                               "\r\n--" + boundary + "--\r\n")))
        << first.constData();
    EXPECT_TRUE(first.contains(QByteArray("Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n"
                               "X-Encoding: MIME\r\n\r\nThis is a multi-part message in MIME format.\r\n\r\n--"
                               + boundary + "\r\nContent-Type: text/plain; charset=\"us-ascii\"\r\n")));
    EXPECT_TRUE(message().contains(boundary)); // the same client keeps its boundary
}

TEST_F(Composition, UUencodeBlocks)
{
    smtp.setEncoding(TEncoding::etUU);
    smtp.Attachments = QStringList{file(QStringLiteral("One.TXT"), "abc"), file(QStringLiteral("TWO.bin"), QByteArray(45, 'x'))};
    const QByteArray m = message();
    EXPECT_FALSE(m.contains("Mime-Version"));
    EXPECT_TRUE(m.contains("\r\nX-Encoding:      UUENCODE\r\n"));
    // A block whose data ends in the zero-length line gets no second one.
    EXPECT_TRUE(m.contains("\r\n\r\nbegin 600 one.txt\r\n#86)C`\r\n`\r\nend\r\n\r\n\r\nbegin 600 two.bin\r\nM"));
    EXPECT_TRUE(m.endsWith("\r\n`\r\nend\r\n"));
    EXPECT_FALSE(m.contains("``\r\n`\r\n"));
}

TEST_F(Composition, EncodingFailureNoticeClosesTheMultipart)
{
    smtp.Attachments = QStringList{file(QStringLiteral("ok.bin"), "x"), dir.filePath(QStringLiteral("gone.bin")),
                                   dir.path() /* not a regular file */};
    smtp.Body = QStringList{QStringLiteral("b")};
    const QByteArray m = message();
    EXPECT_TRUE(m.endsWith(QByteArray("\r\nb\r\n\r\n**3 file(s) were attached to this\r\n"
                           "**message.  They could not be sent due to error during encoding\r\n"
                           "\r\n--" + smtp.boundary() + "--\r\n"))) << m.constData();
    EXPECT_FALSE(m.contains("ok.bin"));
}

TEST_F(Composition, NothingInjectsAHeaderAndNamesAreQuotedOrEncoded)
{
    smtp.From = QStringLiteral("me@example.org|Doe, John \"JD\"");
    smtp.Recipient = QStringLiteral("you@example.org|Zoë\r\nBcc: evil@x.org");
    smtp.Subject = QStringLiteral("Report\r\nBcc: evil@x.org");
    smtp.Attachments = QStringList{file(QStringLiteral("a\"b\\c.bin"), "1"), file(QStringLiteral("résumé.bin"), "2")};
    const QByteArrayList lines = smtp.composeMessage();
    EXPECT_EQ(lines[0], "From:     \"Doe, John \\\"JD\\\"\"<me@example.org>");
    EXPECT_EQ(lines[1], "To:       =?utf-8?B?" + QStringLiteral("Zoë  Bcc: evil@x.org").toUtf8().toBase64() + "?=<you@example.org>");
    EXPECT_EQ(lines[2], "Subject:  Report  Bcc: evil@x.org");
    for (const QByteArray &line : lines)
        EXPECT_FALSE(line.startsWith("Bcc"));
    const QByteArray m = joinLines(lines);
    EXPECT_TRUE(m.contains("name=\"a\\\"b\\\\c.bin\""));
    EXPECT_TRUE(m.contains("filename*=utf-8''r%C3%A9sum%C3%A9.bin"));
}

TEST_F(Composition, TextFormChosenByContent)
{
    smtp.Body = QStringList{QStringLiteral("Grüße")};
    QByteArray m = message();
    EXPECT_TRUE(m.contains("charset=\"utf-8\"\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\nGr=C3=BC=C3=9Fe\r\n"));

    smtp.Body = QStringList{QString(1200, u'a')};
    m = message();
    EXPECT_TRUE(m.contains("Content-Transfer-Encoding: quoted-printable"));
    for (const QByteArray &line : smtp.composeMessage())
        EXPECT_LE(line.size(), 998);

    smtp.setCharSet(TCharSet::csISO8859);
    smtp.Body = QStringList{QStringLiteral("caf\u00e9 = ok")};
    m = message();
    EXPECT_TRUE(m.contains("charset=\"iso-8859-1\"\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\ncaf=E9 =3D ok\r\n"));

    smtp.setEncoding(TEncoding::etUU);
    EXPECT_EQ(smtp.charSet(), TCharSet::csUSASCII);
}

} // namespace
