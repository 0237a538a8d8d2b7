// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// Job list files (filled in by the job list file work).

#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
