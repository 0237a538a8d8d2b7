// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// The cost of the password hash: one check is one derivation at the stored cost. It runs
// at every password prompt and at every keystroke in "old password:" until it matches.

#include "ui/config/halvpassword.h"

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

void BM_CheckPassword(benchmark::State &state)
{
    const QString stored = HalvPassword::hash(u"Correct horse"_s, int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(HalvPassword::matches(stored, u"correct horse"_s));
}
BENCHMARK(BM_CheckPassword)->Arg(HalvPassword::defaultIterations)->Arg(200000)->Unit(benchmark::kMillisecond);

void BM_CheckScrambled(benchmark::State &state)
{
    const QString stored = HalvPassword::scramble(u"Correct horse"_s);
    for (auto _ : state)
        benchmark::DoNotOptimize(HalvPassword::matches(stored, u"correct horse"_s));
}
BENCHMARK(BM_CheckScrambled);

} // namespace

BENCHMARK_MAIN();
