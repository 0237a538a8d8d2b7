// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "store/jobvalues.h"
#include "ui/printcomposer.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

JobValues job(const QList<Registry::Value> &values) { return JobValues(values); }

} // namespace

TEST(PrintComposer, JobBlockOfAJobThatHasRun)
{
    const QStringList block = PrintComposer::jobBlock(job({{u"sJobName"_s, u"Nightly backup"_s},
        {u"iJobType"_s, u"0"_s}, {u"sProgram"_s, u"/usr/bin/rsync"_s}, {u"iFrequency"_s, u"1"_s},
        {u"iHour"_s, u"14"_s}, {u"iMin"_s, u"5"_s}, {u"sLastStartDate"_s, u"2026-12-09"_s},
        {u"sLastStartTime"_s, u"14:05:00"_s}, {u"sLastEndDate"_s, u"2026-12-09"_s},
        {u"sLastEndTime"_s, u"14:06:10"_s}, {u"bLastStartStatus"_s, u"0"_s}, {u"bHold"_s, u"1"_s}}));
    EXPECT_EQ(block,
        QStringList({u"Job Name:  Nightly backup  <Job is on Hold>"_s,
            u"Job Type:  Run Program: /usr/bin/rsync"_s,
            u"Last Start Date: 2026-12-09 14:05:00  Last End Date:   2026-12-09 14:06:10  Last Status: failed"_s,
            u"Schedule: every day at 2:05:00pm"_s, u" "_s}));
}

TEST(PrintComposer, JobThatHasNeverRunIsInQueueAndSuccessful)
{
    const QStringList block = PrintComposer::jobBlock(job({{u"sJobName"_s, u"New"_s},
        {u"iCustomTimeType"_s, u"-1"_s}}));
    ASSERT_EQ(block.size(), 5);
    EXPECT_EQ(block[0], u"Job Name:  New  <Job is in Queue>"_s);
    // Start and end are blank: the date, a blank and the time, each empty.
    EXPECT_EQ(block[2], u"Last Start Date:    Last End Date:       Last Status: successful"_s);
    EXPECT_EQ(block[3], u"Schedule: on demand only"_s);
}

struct TypeCase
{
    const char16_t *jobType;
    const char16_t *shutdownType;
    const char16_t *line;
};

class PrintComposerType : public ::testing::TestWithParam<TypeCase>
{
};

TEST_P(PrintComposerType, NamesTheJobType)
{
    const TypeCase c = GetParam();
    QList<Registry::Value> values = {{u"sJobName"_s, u"J"_s}, {u"iJobType"_s, QString::fromUtf16(c.jobType)},
        {u"sProgram"_s, u"/bin/true"_s}};
    if (c.shutdownType)
        values.append({u"iShutdownType"_s, QString::fromUtf16(c.shutdownType)});
    EXPECT_EQ(PrintComposer::jobBlock(job(values))[1], QString::fromUtf16(c.line));
}

INSTANTIATE_TEST_SUITE_P(Types, PrintComposerType,
    ::testing::Values(TypeCase{u"0", nullptr, u"Job Type:  Run Program: /bin/true"},
        TypeCase{u"1", nullptr, u"Job Type:  Unknown"},
        TypeCase{u"1", u"2", u"Job Type:  Shutdown & Poweroff"},
        TypeCase{u"1", u"6", u"Job Type:  Terminate a Process"},
        TypeCase{u"1", u"9", u"Job Type:  "}, TypeCase{u"2", nullptr, u"Job Type:  Delete file"},
        TypeCase{u"5", nullptr, u"Job Type:  Rename file"},
        TypeCase{u"6", nullptr, u"Job Type:  Send Email"}, TypeCase{u"7", nullptr, u"Job Type:  "}));

TEST(PrintComposer, DocumentHasTheHeadingABlankLineAndTheLines)
{
    const QDateTime now(QDate(2026, 12, 10), QTime(14, 5, 9));
    EXPECT_EQ(PrintComposer::document(u"Halvorn Job List"_s, {u"a"_s, u"b"_s}, now),
        QStringList({u"Halvorn Job List (2026-12-10 14:05:09)"_s, u" "_s, u"a"_s, u"b"_s}));
    EXPECT_EQ(PrintComposer::document(QString(), {u"a"_s}, now), QStringList({u" "_s, u"a"_s}));
}
