// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "mail/base64.h"
#include "mail/mailerror.h"
#include "mail/quotedprintable.h"
#include "mail/uucode.h"
#include "judge.h"

#include <QBuffer>
#include <QFile>

#include <gtest/gtest.h>

#include <cstring>

namespace {

template <typename Coder>
QByteArrayList encodeWith(const QByteArray &data, std::vector<int> *progress = nullptr)
{
    QBuffer in;
    in.setData(data);
    in.open(QIODevice::ReadOnly);
    TMailLines out;
    out.append("stale");
    Coder coder(&in, &out);
    if (progress)
        coder.OnProgress = [progress](TBlockCoder &c) { progress->push_back(c.Progress); };
    coder.encode();
    EXPECT_EQ(coder.Progress, 100);
    return out.toList();
}

QByteArrayList qp(const QByteArray &data, bool canonical = false)
{
    QBuffer in;
    in.setData(data);
    in.open(QIODevice::ReadOnly);
    TMailLines out;
    TQuotedPrintable coder(&in, &out);
    coder.Canonical = canonical;
    coder.encode();
    return out.toList();
}

TEST(UUCode, LineLayoutAndZeroPadding)
{
    const QByteArrayList one = encodeWith<TUUCode>("a");
    ASSERT_EQ(one.size(), 1);
    EXPECT_EQ(one[0], "!80");

    // 3 bytes: length "#", 4 data characters and a fifth of padding bits, which are zero.
    EXPECT_EQ(encodeWith<TUUCode>("abc"), QByteArrayList{"#86)C`"});

    const QByteArrayList full = encodeWith<TUUCode>(QByteArray(45, 'x'));
    ASSERT_EQ(full.size(), 2);
    EXPECT_EQ(full[0].size(), 61);
    EXPECT_EQ(full[0].at(0), 'M');
    EXPECT_EQ(full[1], "``"); // the short read of 0 bytes still gives a line
    EXPECT_FALSE(full[0].contains(' '));

    const QByteArrayList of44 = encodeWith<TUUCode>(QByteArray(44, 'y'));
    EXPECT_EQ(of44[0].size(), 1 + 59);
}

TEST(UUCode, ProgressFiresAtEveryMultipleAndAtTheEnd)
{
    std::vector<int> progress;
    encodeWith<TUUCode>(QByteArray(45 * 100, 'z'), &progress);
    // 100 lines of 1 % each, then the 0-byte line (still 100), then the final 100.
    ASSERT_EQ(progress.size(), 10u + 2u);
    EXPECT_EQ(progress.front(), 10);
    EXPECT_EQ(progress.back(), 100);

    std::vector<int> large;
    encodeWith<TUUCode>(QByteArray(45 * 1000, 'z'), &large);
    EXPECT_EQ(std::count(large.begin(), large.end(), 0), 9); // lines 1..9 stay at 0 %
}

TEST(Base64, PaddingAndLineLengths)
{
    EXPECT_EQ(encodeWith<TBase64>("abc"), QByteArrayList{"YWJj"});
    EXPECT_EQ(encodeWith<TBase64>("ab"), QByteArrayList{"YWI="});
    EXPECT_EQ(encodeWith<TBase64>("a"), QByteArrayList{"YQ=="});
    const QByteArrayList full = encodeWith<TBase64>(QByteArray(57, 'q'));
    ASSERT_EQ(full.size(), 2);
    EXPECT_EQ(full[0].size(), 76);
    EXPECT_EQ(full[1], "");
}

TEST(Base64, ProgressRoundsHalvesToEven)
{
    QBuffer in;
    in.setData(QByteArray(57 * 8, 'p'));
    in.open(QIODevice::ReadOnly);
    TMailLines out;
    TBase64 coder(&in, &out);
    coder.ProgressStep = 1;
    std::vector<int> seen;
    coder.OnProgress = [&](TBlockCoder &c) { seen.push_back(c.Progress); };
    coder.encode();
    // 12.5 %, 25, 37.5, 50, 62.5, 75, 87.5, 100, the 0-byte line, the end
    EXPECT_EQ(seen, (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100, 100, 100}));
}

TEST(BlockCoders, EmptyInputGivesOneLineWithoutDividingByZero)
{
    EXPECT_EQ(encodeWith<TBase64>({}), QByteArrayList{""});
    EXPECT_EQ(encodeWith<TUUCode>({}), QByteArrayList{"``"});
}

TEST(BlockCoders, AbortFinishesTheLineThenClearsTheOutput)
{
    QBuffer in;
    in.setData(QByteArray(57 * 5000, 'a'));
    in.open(QIODevice::ReadOnly);
    TMailLines out;
    TBase64 coder(&in, &out);
    int lines = 0;
    bool ended = false;
    coder.OnProgress = [&](TBlockCoder &c) { if (++lines == 3) c.Aborted = true; };
    coder.OnEnd = [&](TBlockCoder &) { ended = true; };
    coder.encode();
    EXPECT_TRUE(coder.Aborted);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(coder.Progress, 100);
    EXPECT_TRUE(ended);
    EXPECT_LT(in.pos(), in.size());
}

// Sizes around the block and chunk edges, judged by the standard decoders.
class BlockCoderJudges : public ::testing::TestWithParam<int>
{
};

TEST_P(BlockCoderJudges, StandardDecodersGetTheInputBack)
{
    const QByteArray data = randomBytes(GetParam(), GetParam() + 7);
    const QByteArray b64 = joinLines(encodeWith<TBase64>(data));
    EXPECT_EQ(runJudge(QStringLiteral("base64"), {QStringLiteral("-d")}, b64), data);

    QByteArrayList uu = encodeWith<TUUCode>(data);
    if (uu.last() == "``") // the composer ends a block in a zero-length line once
        uu.removeLast();
    const QByteArray text = "begin 600 f\n" + joinLines(uu) + "`\nend\n";
    int rc = -1;
    const QByteArray decoded =
        runJudge(QStringLiteral("uudecode"), {QStringLiteral("-o"), QStringLiteral("/dev/stdout")},
                 text, &rc);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(decoded, data);
}

INSTANTIATE_TEST_SUITE_P(Sizes, BlockCoderJudges,
                         ::testing::Values(0, 1, 2, 3, 44, 45, 46, 56, 57, 58, 171, 57 * 1024,
                                           57 * 1024 + 1, 45 * 1024 * 3, 200001,
                                           3 * 1024 * 1024 + 5)); // output in a mapping of its own


// Lines appended one by one, without a reservation, while the storage moves from the heap
// into a mapping of its own: every line keeps its text, and copies and cuts stay exact.
TEST(MailLines, GrowthAcrossStorageKinds)
{
    TMailLines lines;
    auto lineText = [](qsizetype i) -> QByteArray {
        return QByteArray::number(i) + QByteArray(int(i % 97), 'x');
    };
    qsizetype i = 0;
    for (; i < 200000; ++i) {
        if (i % 2)
            lines.append(lineText(i));
        else
            std::memcpy(lines.appendUninitialized(lineText(i).size()), lineText(i).constData(),
                        size_t(lineText(i).size()));
    }
    lines.removeLast();
    const TMailLines copy = lines;
    lines.append("again");
    ASSERT_EQ(copy.size(), i - 1);
    for (qsizetype k = 0; k < copy.size(); k += 997)
        ASSERT_EQ(copy.at(k), lineText(k)) << k;
    EXPECT_EQ(copy.last(), lineText(i - 2));
    EXPECT_EQ(lines.last(), "again");
    EXPECT_EQ(lines.at(i - 2), lineText(i - 2));
}

struct QpCase
{
    const char *name;
    QByteArray input;
    QByteArrayList lines;
};

class QuotedPrintableParagraphs : public ::testing::TestWithParam<QpCase>
{
};

TEST_P(QuotedPrintableParagraphs, Lines) { EXPECT_EQ(qp(GetParam().input), GetParam().lines); }

const QByteArray seventy = QByteArray(60, 'a') + ' ' + QByteArray(9, 'b');

INSTANTIATE_TEST_SUITE_P(
    Cases, QuotedPrintableParagraphs,
    ::testing::Values(
        QpCase{"equals", "a=b", {"a=3Db"}}, QpCase{"tab", "x\ty", {"x=09y"}},
        QpCase{"twoEquals", "==", {"=3D=3D"}},
        QpCase{"high", "caf\xe9 \x7f", {"caf=E9 \x7f"}},
        QpCase{"crlfBlank", "one\r\n\r\ntwo", {"one", "", "two"}},
        QpCase{"lflfIsOneEnd", "one\n\ntwo", {"one", "two"}},
        QpCase{"lastLf", "end\n", {"end=0A"}}, QpCase{"lastCrLf", "end\r\n", {"end"}},
        QpCase{"empty", "", {""}}, QpCase{"trailingBlank", "a \r\nb", {"a ", "b"}},
        QpCase{"cutAtBlank", seventy, {QByteArray(60, 'a') + '=', ' ' + QByteArray(9, 'b')}},
        QpCase{"exactWidth", QByteArray(65, 'c'), {QByteArray(65, 'c') + '=', ""}},
        QpCase{"hardBreak", QByteArray(70, 'd'), {QByteArray(65, 'd') + '=', QByteArray(5, 'd')}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(QuotedPrintable, ParagraphLimit)
{
    const QByteArray fits = QByteArray(24575, 'a') + "\r\nb";
    EXPECT_NO_THROW(qp(fits));
    EXPECT_NO_THROW(qp(QByteArray(24576, 'a'))); // ended by the end of the input
    EXPECT_THROW(qp(QByteArray(24576, 'a') + "\r\nb"), EMIMEError);
}

TEST(QuotedPrintable, AppendsToOutput)
{
    QBuffer in;
    in.setData("x");
    in.open(QIODevice::ReadOnly);
    TMailLines out;
    out.append("kept");
    TQuotedPrintable(&in, &out).encode();
    EXPECT_EQ(out.toList(), (QByteArrayList{"kept", "x"}));
}

TEST(QuotedPrintableCanonical, LineEndsBlankLinesAndTrailingBlanks)
{
    EXPECT_EQ(qp("one\n\ntwo\r\rthree\r\nfour", true),
              (QByteArrayList{"one", "", "two", "", "three", "four="}));
    EXPECT_EQ(qp("tail \nt\t\n", true), (QByteArrayList{"tail=20", "t=09"}));
    EXPECT_EQ(qp("", true), QByteArrayList{});
    for (const QByteArray &line : qp(QByteArray(300, '=') + "\n" + QByteArray(300, 'x'), true))
        EXPECT_LE(line.size(), 76);
}

// The input is read 64 KiB at a time: a line end that a read splits is still read as one.
TEST(QuotedPrintable, LineEndAcrossReads)
{
    for (const qsizetype at : {65534, 65535, 65536}) {
        for (const QByteArray end : {"\r\n", "\r\r", "\n\n", "\r"}) {
            QByteArray text;
            QByteArrayList lines;
            while (text.size() + 60 < at) {
                lines << QByteArray(50, char('a' + lines.size() % 26));
                text += lines.last() + '\n';
            }
            lines << QByteArray(at - text.size(), 'z');
            text += lines.last() + end + "tail";
            const bool twoEnds = end == "\r\r" || end == "\n\n";
            SCOPED_TRACE(at);
            SCOPED_TRACE(end.toPercentEncoding().toStdString());
            EXPECT_EQ(qp(text), lines + QByteArrayList{"tail"});
            EXPECT_EQ(qp(text, true), lines + (twoEnds ? QByteArrayList{"", "tail="} : QByteArrayList{"tail="}));
        }
    }
}

TEST(QuotedPrintableCanonical, QprintDecodesToCanonicalText)
{
    QByteArray text;
    QByteArray expected;
    for (int i = 0; i < 400; ++i) {
        const QByteArray line = QByteArray(i % 130, char('a' + i % 26)) + (i % 3 ? " =\t" : "\xc3\xa9 ");
        text += line + (i % 4 == 0 ? "\n" : i % 4 == 1 ? "\r\n" : i % 4 == 2 ? "\r" : "\n\n");
        expected += line + (i % 4 == 3 ? "\r\n\r\n" : "\r\n");
    }
    text += "no end ";
    expected += "no end ";
    const QByteArray decoded =
        runJudge(QStringLiteral("qprint"), {QStringLiteral("-d")}, joinLines(qp(text, true), "\r\n"));
    // qprint writes the decoded line ends in the local form.
    EXPECT_EQ(decoded, QByteArray(expected).replace("\r\n", "\n"));
}

} // namespace
