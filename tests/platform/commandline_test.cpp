// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/commandline.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct SplitCase
{
    const char *name;
    const char *text;
    QStringList words;
};

void PrintTo(const SplitCase &c, std::ostream *os) { *os << c.name; }

class CommandLineSplit : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(CommandLineSplit, GivesTheWordsAShellWouldPass)
{
    QString error = u"untouched"_s;
    const auto words = CommandLine::split(QString::fromUtf8(GetParam().text), &error);
    ASSERT_TRUE(words.has_value()) << error.toStdString();
    EXPECT_EQ(*words, GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(Table, CommandLineSplit,
    ::testing::Values(SplitCase {"empty", "", {}}, SplitCase {"blanks", " \t\n ", {}},
        SplitCase {"program", "/usr/bin/backup", {u"/usr/bin/backup"_s}},
        SplitCase {"separators", "  a  b\tc\nd  ", {u"a"_s, u"b"_s, u"c"_s, u"d"_s}},
        SplitCase {"singleQuotedBlank", "'/opt/My Tools/run' -v", {u"/opt/My Tools/run"_s, u"-v"_s}},
        SplitCase {"quotesInsideAWord", "a'b c'd", {u"ab cd"_s}},
        // Empty quotes are a word of their own.
        SplitCase {"emptyQuotes", "x '' \"\"", {u"x"_s, u""_s, u""_s}},
        // Nothing is special inside single quotes, the backslash included.
        SplitCase {"singleQuotesKeepAll", R"('a\b "c" $d')", {uR"(a\b "c" $d)"_s}},
        // In double quotes a backslash escapes only $ ` " \ and newline.
        SplitCase {"doubleQuoteEscapes", R"("a\$b\`c\"d\\e\f\'g")", {uR"(a$b`c"d\e\f\'g)"_s}},
        SplitCase {"doubleQuotedContinuation", "\"one\\\ntwo\"", {u"onetwo"_s}},
        SplitCase {"quotesInsideOtherQuotes", "\"it's\" 'say \"hi\"'", {u"it's"_s, u"say \"hi\""_s}},
        SplitCase {"backslashOutsideQuotes", R"(a\ b \'c \"d \\e)", {u"a b"_s, u"'c"_s, u"\"d"_s, u"\\e"_s}},
        SplitCase {"continuation", "one\\\ntwo", {u"onetwo"_s}},
        SplitCase {"trailingBackslash", R"(trailing\)", {uR"(trailing\)"_s}},
        // No expansion and no operators: the program sees these as they are.
        SplitCase {"noExpansion", "$HOME *.txt ~ a|b;c&d >out", {u"$HOME"_s, u"*.txt"_s, u"~"_s, u"a|b;c&d"_s, u">out"_s}},
        SplitCase {"nonAscii", "\"Übung ö\" é", {u"Übung ö"_s, u"é"_s}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CommandLine, ReportsAQuoteThatIsNotClosed)
{
    for (const QString &text : {u"prog 'abc"_s, u"prog \"abc"_s, uR"(prog "abc\")"_s,
             u"prog 'a\" b"_s, u"prog \"a' b"_s}) {
        SCOPED_TRACE(text.toStdString());
        QString error;
        EXPECT_FALSE(CommandLine::split(text, &error).has_value());
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_FALSE(CommandLine::split(u"'"_s).has_value()); // no error text wanted
}

TEST(CommandLine, AProgramThatNamesAFileIsOneWordWhateverItsBlanks)
{
    QTemporaryDir dir;
    const QString program = dir.path() + u"/My Tools/run it"_s;
    QDir().mkpath(dir.path() + u"/My Tools"_s);
    QFile file(program);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    struct Case { QString program; QString arguments; QStringList words; };
    const Case cases[] = {
        {program, u"-v 'a b'"_s, {program, u"-v"_s, u"a b"_s}},
        {program, QString(), {program}},
        // Stored jobs that quote the path, or keep arguments with the program.
        {u'\'' + program + u'\'', u"x"_s, {program, u"x"_s}},
        {u"/bin/echo -n"_s, u"hi"_s, {u"/bin/echo"_s, u"-n"_s, u"hi"_s}},
        {u"sh"_s, u"-c 'exit 3'"_s, {u"sh"_s, u"-c"_s, u"exit 3"_s}},
        {u"/no such/prog"_s, QString(), {u"/no"_s, u"such/prog"_s}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CommandLine::splitJob(c.program, c.arguments), c.words) << c.program.toStdString();
}

} // namespace
