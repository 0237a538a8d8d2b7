// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "support/ui/scripteddialogs.h"

#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

using Kind = Dialogs::Kind;
using Answer = Dialogs::Answer;

TEST(ScriptedDialogs, AnswersInOrderThroughTheCurrentInstance)
{
    ScriptedDialogs dialogs;
    dialogs.expect(Kind::Question, QStringLiteral("Sure?"), Answer::Yes)
        .expect(Kind::Error, QStringLiteral("Bad."))
        .expect(Kind::SaveFile, QStringLiteral("Save As"), QStringLiteral("/tmp/x.sav"))
        .expect(Kind::Prompt, QStringLiteral("Password"));
    Dialogs &current = Dialogs::current();
    EXPECT_EQ(&current, &dialogs);
    EXPECT_EQ(current.question(nullptr, QStringLiteral("Sure?"), Dialogs::Buttons::YesNo, {}),
        Answer::Yes);
    current.message(nullptr, Kind::Error, QStringLiteral("Bad."), {});
    EXPECT_EQ(current.saveFileName(nullptr, QStringLiteral("Save As"), {}, {}),
        QStringLiteral("/tmp/x.sav"));
    EXPECT_FALSE(current.prompt(nullptr, QStringLiteral("Password"), {}, {}, true).has_value());
    EXPECT_TRUE(dialogs.allConsumed());
}

TEST(ScriptedDialogs, FailsOnAnUnexpectedOrDifferentDialog)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            Dialogs::current().message(nullptr, Kind::Information, QStringLiteral("Hi"), {});
        },
        "unexpected dialog");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            dialogs.expect(Kind::Question, QStringLiteral("A?"), Answer::Yes);
            EXPECT_EQ(Dialogs::current().question(nullptr, QStringLiteral("B?"),
                          Dialogs::Buttons::YesNoCancel, {}),
                Answer::Cancel);
        },
        "expected: Question \"A?\"");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            dialogs.expect(Kind::Warning, QStringLiteral("Left over"));
        },
        "never shown");
}
