// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/commandline.h"

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

} // namespace
