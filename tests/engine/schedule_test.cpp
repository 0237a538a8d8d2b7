// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/schedule.h"
#include "platform/registry.h"
#include "store/jobstore.h"
#include "support/tempprofile.h"

#include <gtest/gtest.h>

#include <vector>
#include <optional>
#include <ostream>

using namespace Qt::StringLiterals;

namespace {

QStringList texts(std::vector<const char16_t *> items)
{
    QStringList list;
    for (const char16_t *item : items)
        list.append(QString::fromUtf16(item));
    return list;
}

// Day rule

struct DayCase
{
    std::optional<int> frequency;
    const char16_t *frequencyData;
    std::vector<const char16_t *> dates;
    QDate date;
    bool due;
};

void PrintTo(const DayCase &c, std::ostream *os)
{
    *os << "kind " << c.frequency.value_or(-99) << " on " << c.date.toString(Qt::ISODate).toStdString();
}

class DayRule : public ::testing::TestWithParam<DayCase> {};

TEST_P(DayRule, DecidesWhetherTheJobIsDue)
{
    const DayCase &c = GetParam();
    Schedule s;
    s.frequency = c.frequency;
    s.frequencyData = QString::fromUtf16(c.frequencyData);
    s.setDates(texts(c.dates));
    EXPECT_EQ(isDueOn(s, c.date), c.due) << c.date.toString(Qt::ISODate).toStdString();
}

// 1997-06-13 is a Friday, 2026-12-06 a Sunday, 2026-12-12 a Saturday.
INSTANTIATE_TEST_SUITE_P(Kinds, DayRule, ::testing::Values(
    DayCase{std::nullopt, u"1111111", {u"1997/06/13"}, QDate(1997, 6, 13), false},
    DayCase{0, u"1111111", {}, QDate(1997, 6, 13), false},
    DayCase{1, u"", {}, QDate(1997, 6, 13), true},
    // Odd and even go by the day of the month: the 31st and the 1st are both odd.
    DayCase{2, u"", {}, QDate(1997, 5, 31), true},
    DayCase{2, u"", {}, QDate(1997, 6, 1), true},
    DayCase{2, u"", {}, QDate(1997, 6, 2), false},
    DayCase{3, u"", {}, QDate(1997, 6, 2), true},
    DayCase{3, u"", {}, QDate(1997, 5, 31), false},
    // Weekdays: position 1 is Sunday, 7 Saturday; past the end counts as "0".
    DayCase{4, u"1000000", {}, QDate(2026, 12, 6), true},
    DayCase{4, u"1000000", {}, QDate(2026, 12, 7), false},
    DayCase{4, u"0000001", {}, QDate(2026, 12, 12), true},
    DayCase{4, u"0100010", {}, QDate(2026, 12, 11), true},
    DayCase{4, u"0000000", {}, QDate(2026, 12, 11), false},
    DayCase{4, u"01", {}, QDate(2026, 12, 7), true},
    DayCase{4, u"01", {}, QDate(2026, 12, 12), false},
    DayCase{4, u"", {}, QDate(2026, 12, 6), false},
    // Dates: positions 5 and 8 are not looked at; a bad entry does not stop the walk.
    DayCase{5, u"", {u"1997/06/13"}, QDate(1997, 6, 13), true},
    DayCase{5, u"", {u"1997/06/13"}, QDate(1997, 6, 14), false},
    DayCase{5, u"", {u"1997/06/13"}, QDate(1998, 6, 13), false},
    DayCase{5, u"", {u"1997-06-13"}, QDate(1997, 6, 13), true},
    DayCase{5, u"", {u"1997x06y13"}, QDate(1997, 6, 13), true},
    DayCase{5, u"", {u"1997/6/13"}, QDate(1997, 6, 13), false},
    DayCase{5, u"", {u"1997/06/12", u"junk", u"1997/06/13"}, QDate(1997, 6, 13), true},
    DayCase{5, u"", {u"1997/06/12", u"", u"1997/06/13"}, QDate(1997, 6, 13), false},
    DayCase{5, u"", {}, QDate(1997, 6, 13), false},
    // Days of the month, read as decimal numbers.
    DayCase{6, u"", {u"1", u"15"}, QDate(1997, 6, 15), true},
    DayCase{6, u"", {u"07"}, QDate(1997, 6, 7), true},
    DayCase{6, u"", {u"abc", u"31"}, QDate(1997, 5, 31), true},
    DayCase{6, u"", {u"1", u"15"}, QDate(1997, 6, 16), false},
    DayCase{6, u"", {u"0x0F"}, QDate(1997, 6, 15), false},
    // Any other kind is always due.
    DayCase{7, u"", {}, QDate(1997, 6, 13), true},
    DayCase{-3, u"", {}, QDate(1997, 6, 13), true},
    DayCase{1000, u"0000000", {}, QDate(1997, 6, 13), true}));

TEST(DayRuleDate, InvalidDateIsNeverDue)
{
    Schedule s;
    s.frequency = 1;
    EXPECT_FALSE(isDueOn(s, QDate()));
}

// Time rule

struct TimeCase
{
    int kind;
    int hour, minute, second;
    std::vector<const char16_t *> times;
    std::optional<int> n;
    int tickHour, tickMinute, tickSecond;
    qint64 wait;
    qint64 startup;
    bool holds;
};

void PrintTo(const TimeCase &c, std::ostream *os)
{
    *os << "kind " << c.kind << " at " << c.tickHour << ':' << c.tickMinute << ':' << c.tickSecond;
}

class TimeRule : public ::testing::TestWithParam<TimeCase> {};

TEST_P(TimeRule, DecidesWhetherTheEntryStarts)
{
    const TimeCase &c = GetParam();
    Schedule s;
    s.customTimeHourMin = c.n;
    s.setCustomTimes(texts(c.times));
    EXPECT_EQ(timeRuleHolds(s, c.kind, c.hour, c.minute, c.second, c.tickHour, c.tickMinute,
                  c.tickSecond, c.wait, c.startup),
        c.holds);
}

INSTANTIATE_TEST_SUITE_P(Kinds, TimeRule, ::testing::Values(
    // Time of day: second 0 means the whole minute, another second only that second.
    TimeCase{0, 10, 0, 0, {}, {}, 10, 0, 0, 0, 0, true},
    TimeCase{0, 10, 0, 0, {}, {}, 10, 0, 59, 0, 0, true},
    TimeCase{0, 10, 0, 0, {}, {}, 10, 1, 0, 0, 0, false},
    TimeCase{0, 10, 0, 0, {}, {}, 11, 0, 0, 0, 0, false},
    TimeCase{0, 10, 0, 30, {}, {}, 10, 0, 30, 0, 0, true},
    TimeCase{0, 10, 0, 30, {}, {}, 10, 0, 31, 0, 0, false},
    TimeCase{0, 10, 0, 30, {}, {}, 10, 0, 0, 0, 0, false},
    // On demand and unknown kinds never start by time.
    TimeCase{-1, 10, 0, 0, {}, {}, 10, 0, 0, 0, 0, false},
    TimeCase{5, 10, 0, 0, {u"0"}, 1, 10, 0, 0, 1, 1, false},
    // Listed minutes of every hour, read as decimal numbers.
    TimeCase{1, 0, 0, 0, {u"0", u"30"}, {}, 10, 30, 15, 0, 0, true},
    TimeCase{1, 0, 0, 0, {u"0", u"30"}, {}, 11, 0, 0, 0, 0, true},
    TimeCase{1, 0, 0, 0, {u"0", u"30"}, {}, 10, 15, 0, 0, 0, false},
    TimeCase{1, 0, 0, 0, {u"05"}, {}, 10, 5, 0, 0, 0, true},
    TimeCase{1, 0, 0, 0, {u"abc", u"15"}, {}, 10, 15, 0, 0, 0, true},
    TimeCase{1, 0, 0, 0, {u"-1"}, {}, 10, 59, 0, 0, 0, false},
    TimeCase{1, 0, 0, 0, {}, {}, 10, 0, 0, 0, 0, false},
    // Listed times: due while the tick's second is not past the entry's.
    TimeCase{2, 0, 0, 0, {u"10:15:30"}, {}, 10, 15, 0, 0, 0, true},
    TimeCase{2, 0, 0, 0, {u"10:15:30"}, {}, 10, 15, 30, 0, 0, true},
    TimeCase{2, 0, 0, 0, {u"10:15:30"}, {}, 10, 15, 31, 0, 0, false},
    TimeCase{2, 0, 0, 0, {u"10:15:30"}, {}, 11, 15, 0, 0, 0, false},
    TimeCase{2, 0, 0, 0, {u"10:15:30"}, {}, 10, 16, 0, 0, 0, false},
    TimeCase{2, 0, 0, 0, {u"ab:cd:ef", u"08:00:00"}, {}, 8, 0, 0, 0, 0, true},
    TimeCase{2, 0, 0, 0, {u"08:00"}, {}, 8, 0, 0, 0, 0, false},
    // Every N minutes: the wait counter must have reached N; N 0 never starts.
    TimeCase{3, 0, 0, 0, {}, 5, 10, 0, 0, 4, 0, false},
    TimeCase{3, 0, 0, 0, {}, 5, 10, 0, 0, 5, 0, true},
    TimeCase{3, 0, 0, 0, {}, 5, 10, 0, 0, 6, 0, true},
    TimeCase{3, 0, 0, 0, {}, std::nullopt, 10, 0, 0, 100, 0, false},
    TimeCase{3, 0, 0, 0, {}, 0, 10, 0, 0, 100, 0, false},
    TimeCase{3, 0, 0, 0, {}, -5, 10, 0, 0, 0, 0, false},
    // N minutes after start-up: only when the count equals N.
    TimeCase{4, 0, 0, 0, {}, 3, 10, 19, 0, 0, 3, true},
    TimeCase{4, 0, 0, 0, {}, 3, 10, 18, 0, 0, 2, false},
    TimeCase{4, 0, 0, 0, {}, 3, 10, 20, 0, 0, 4, false},
    TimeCase{4, 0, 0, 0, {}, std::nullopt, 10, 0, 0, 0, 0, false}));

TEST(TimeRuleDebug, WritesTheLinesOfTheEntriesItWalks)
{
    QStringList lines;
    const ScheduleDebug sink = [&lines](const QString &line) { lines.append(line); };
    Schedule s;

    s.setCustomTimes(texts({u"0", u"x", u"30", u"45"}));
    EXPECT_TRUE(timeRuleHolds(s, 1, 0, 0, 0, 10, 30, 0, 0, 0, u"J"_s, sink));
    EXPECT_EQ(lines, texts({u"Debug, job J custom min: 0 time min: 30",
        u"Debug, job J custom min: x time min: 30", u"Debug, job J custom min: 30 time min: 30"}));

    lines.clear();
    s.setCustomTimes(texts({u"10:15:30"}));
    EXPECT_FALSE(timeRuleHolds(s, 2, 0, 0, 0, 9, 5, 7, 0, 0, u"J %1"_s, sink));
    EXPECT_EQ(lines, texts({u"Debug, job J %1 custom time: 10:15:30 actual time : 9:5:7"}));

    lines.clear();
    s.customTimeHourMin = 5;
    timeRuleHolds(s, 3, 0, 0, 0, 10, 0, 0, 2, 7, u"J"_s, sink);
    timeRuleHolds(s, 4, 0, 0, 0, 10, 0, 0, 2, 7, u"J"_s, sink);
    timeRuleHolds(s, 0, 10, 0, 0, 10, 0, 0, 2, 7, u"J"_s, sink);
    EXPECT_EQ(lines, texts({u"Debug, job J every min: 5 wait min: 2",
        u"Debug, job J min after startup: 5 actual min: 7"}));

    lines.clear();
    s.customTimeHourMin = 0;
    timeRuleHolds(s, 3, 0, 0, 0, 10, 0, 0, 2, 7, u"J"_s, sink);
    timeRuleHolds(s, 4, 0, 0, 0, 10, 0, 0, 2, 7, u"J"_s, sink);
    EXPECT_TRUE(lines.isEmpty());
}

// Schedule text

struct TextCase
{
    std::optional<int> frequency;
    const char16_t *frequencyData;
    std::vector<const char16_t *> dates;
    int customKind;
    int hour, minute, second;
    std::optional<int> n;
    const char16_t *expected;
};

void PrintTo(const TextCase &c, std::ostream *os) { *os << QString::fromUtf16(c.expected).toStdString(); }

class ScheduleTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ScheduleTextTest, ShowsTheScheduleOnOneLine)
{
    const TextCase &c = GetParam();
    Schedule s;
    s.frequency = c.frequency;
    s.frequencyData = QString::fromUtf16(c.frequencyData);
    s.setDates(texts(c.dates));
    s.customTimeType = c.customKind;
    s.hour = c.hour;
    s.minute = c.minute;
    s.second = c.second;
    s.customTimeHourMin = c.n;
    EXPECT_EQ(scheduleText(s), QString::fromUtf16(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Examples, ScheduleTextTest, ::testing::Values(
    TextCase{1, u"", {}, 0, 14, 5, 0, {}, u"every day at 2:05:00pm"},
    TextCase{4, u"0100010", {}, 0, 0, 30, 15, {}, u"mon,fri  at 0:30:15am"},
    TextCase{6, u"", {u"1", u"15"}, 3, 0, 0, 0, 10, u"day: 1,15  every 10 mins."},
    TextCase{1, u"", {}, -1, 9, 0, 0, {}, u"on demand only"}));

INSTANTIATE_TEST_SUITE_P(Parts, ScheduleTextTest, ::testing::Values(
    TextCase{2, u"", {}, 0, 12, 0, 0, {}, u"odd days at 12:00:00pm"},
    TextCase{3, u"", {}, 0, 23, 59, 9, {}, u"even days at 11:59:09pm"},
    TextCase{4, u"1111111", {}, 1, 0, 0, 0, {}, u"sun,mon,tue,wed,thu,fri,sat  every hr on selected mins"},
    TextCase{4, u"0000000", {}, 0, 11, 0, 0, {}, u" at 11:00:00am"},
    TextCase{5, u"", {u"1997/06/13", u"1997/07/01"}, 2, 0, 0, 0, {}, u"1997/06/13 at custom times"},
    // Absent kinds: the day part shows the first date; absent N shows as 1.
    TextCase{std::nullopt, u"", {u"1997/06/13"}, 4, 0, 0, 0, {}, u"1997/06/13 1 mins after startup"},
    TextCase{1, u"", {}, 3, 0, 0, 0, {}, u"every day every 1 mins."},
    TextCase{9, u"", {}, 7, 0, 0, 0, {}, u" at custom times"},
    TextCase{6, u"", {}, 0, 0, 0, 0, {}, u"day:  at 0:00:00am"}));

TEST(ScheduleTextLength, IsCutTo255Characters)
{
    Schedule s;
    s.frequency = 6;
    QStringList days;
    for (int i = 0; i < 100; ++i)
        days.append(QString::number(i % 31 + 1));
    s.setDates(days);
    const QString text = scheduleText(s);
    EXPECT_EQ(text.size(), 255);
    EXPECT_TRUE(text.startsWith(u"day: 1,2,3,"_s));

    // A character outside the basic plane is dropped whole, not split.
    s.frequency = 5;
    s.setDates({QString(254, u'x') + QString::fromUtf8("\xF0\x9F\x98\x80")});
    EXPECT_EQ(scheduleText(s), QString(254, u'x'));
}

// Reading from the job store

class ScheduleRead : public ::testing::Test
{
protected:
    TempProfile profile;
    Registry registry;
    JobStore store{registry};

    void raw(const QString &name, const QString &data)
    {
        registry.writeValue(JobStore::storeKey + u"\\Backup"_s, name, data);
    }
};

TEST_F(ScheduleRead, ReadsTheValuesByTheStoreEncoding)
{
    raw(u"sJobName"_s, u"Backup"_s);
    raw(u"IFREQUENCY"_s, u"4"_s);
    raw(u"sFrequency Data"_s, u"0100010"_s);
    raw(u"iHour"_s, u"0x0A"_s);
    raw(u"iMin"_s, u"15"_s);
    raw(u"iSec"_s, u"abc"_s);
    raw(u"iCustomTimeType"_s, u"2"_s);
    raw(u"iCustomTimeHourMin"_s, u"7"_s);
    raw(u"sFreq0"_s, u"1997/06/13"_s);
    raw(u"sFreq1"_s, u""_s);
    raw(u"sFreq2"_s, u"1997/06/14"_s);
    raw(u"sCustomTime1"_s, u"10:30:00"_s);
    raw(u"scustomtime0"_s, u"10:15:30"_s);
    raw(u"sCustomTime3"_s, u"11:00:00"_s);
    raw(u"sCustomTime02"_s, u"12:00:00"_s);

    const Schedule s = Schedule::read(store, u"backup"_s);
    EXPECT_EQ(s.frequency, 4);
    EXPECT_EQ(s.frequencyData, u"0100010"_s);
    EXPECT_EQ(s.hour, 10);
    EXPECT_EQ(s.minute, 15);
    EXPECT_EQ(s.second, 0);
    EXPECT_EQ(s.customTimeType, 2);
    EXPECT_EQ(s.customTimeHourMin, 7);
    EXPECT_EQ(s.dates(), texts({u"1997/06/13"}));
    EXPECT_EQ(s.customTimes(), texts({u"10:15:30", u"10:30:00"}));
    EXPECT_EQ(s.parsedCustomTimes().at(0), (Schedule::CustomTime{-1, 10, 15, 30}));
}

TEST_F(ScheduleRead, MissingValuesGiveTheDefaults)
{
    EXPECT_EQ(Schedule::read(store, u"Nobody"_s), Schedule());
    raw(u"sJobName"_s, u"Backup"_s);
    raw(u"iFrequency"_s, u"x"_s);
    raw(u"iCustomTimeHourMin"_s, u""_s);
    const Schedule s = Schedule::read(store, u"Backup"_s);
    EXPECT_EQ(s, Schedule());
    EXPECT_EQ(s.frequencyData, u"0000000"_s);
    EXPECT_FALSE(isDueOn(s, QDate(1997, 6, 13)));
}

TEST_F(ScheduleRead, CustomTimesStopAfterIndex998)
{
    Registry::Transaction transaction(registry);
    for (int i = 0; i <= 1000; ++i)
        raw(u"sCustomTime"_s + QString::number(i), QString::number(i % 60));
    transaction.commit();
    const Schedule s = Schedule::read(store, u"Backup"_s);
    EXPECT_EQ(s.customTimes().size(), Schedule::lastCustomTimeIndex + 1);
    EXPECT_EQ(s.customTimes().last(), QString::number(998 % 60));
}

} // namespace
