// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/ticktimer.h"

#include <gtest/gtest.h>

namespace {

struct Placement
{
    qint64 now;    // ms since the epoch
    int interval;
    int delay;     // to the next mark, plus the 1 ms after it
};

class TickPlacement : public ::testing::TestWithParam<Placement>
{
};

TEST_P(TickPlacement, LandsJustAfterTheNextMarkFromTheFullSecond)
{
    EXPECT_EQ(TickTimer::delayToNextTick(GetParam().now, GetParam().interval), GetParam().delay);
}

INSTANTIATE_TEST_SUITE_P(Marks, TickPlacement,
    ::testing::Values(Placement{5'000'000, 250, 251}, // on a mark: the next one
        Placement{5'000'001, 250, 250}, Placement{5'000'249, 250, 2},
        Placement{5'000'999, 250, 2}, // the quarter after 750 is the next full second
        Placement{5'000'950, 300, 51}, // 300 does not divide a second: marks restart at it
        Placement{5'000'900, 300, 101},
        Placement{5'000'010, 10, 1 + 10},
        Placement{5'000'400, 1000, 601}, Placement{5'000'400, 5000, 4601},
        Placement{7'654'321, 60000, 60000 - 34'321 + 1}));

} // namespace
