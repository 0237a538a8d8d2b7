// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// One log line: settings read, open, append, close.

#include "log/activitylog.h"
#include "platform/clock.h"
#include "platform/registry.h"
#include "store/settings.h"
#include "support/tempprofile.h"

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

void BM_LogMessage(benchmark::State &state)
{
    TempProfile profile;
    Registry registry(Registry::Role::Scheduler);
    Settings settings(registry);
    settings.setText(settings::LogFile, profile.path(u"bench.log"_s));
    SystemClock clock;
    ActivityLog log(settings, clock);
    const QString message = u"Job: Nightly backup started ok \"/usr/bin/rsync -a /home /backup\""_s;
    for (auto _ : state)
        log.logMessage(message);
}
BENCHMARK(BM_LogMessage)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
