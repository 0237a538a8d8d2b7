// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// One log line: settings read, open, append, close.

#include "log/activitylog.h"
#include "log/logpurge.h"
#include "support/fakeclock.h"
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

// A 100 MB log of 1,000,000 lines, half of them older than the days to keep.
void BM_Purge100MB(benchmark::State &state)
{
    TempProfile profile;
    Registry registry(Registry::Role::Scheduler);
    Settings settings(registry);
    const QString path = profile.path(u"big.log"_s);
    settings.setText(settings::LogFile, path);
    FakeClock clock(QDateTime(QDate(2026, 12, 10), QTime(0, 0, 1)));
    ActivityLog log(settings, clock);
    LogPurge purge(settings, log, clock);
    QByteArray content;
    const QByteArray padding(80, 'x');
    content.reserve(105'000'000);
    for (int i = 0; i < 1'000'000; ++i) {
        const QDate date = QDate(2026, 12, 10).addDays(i < 500'000 ? -30 : -1);
        content += date.toString(u"yyyy-MM-dd"_s).toLatin1() + " 10:00:00 Job: line " + padding + "\r\n";
    }
    for (auto _ : state) {
        state.PauseTiming();
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(content);
        file.close();
        state.ResumeTiming();
        benchmark::DoNotOptimize(purge.purge());
    }
    state.counters["MB"] = double(content.size()) / 1e6;
}
BENCHMARK(BM_Purge100MB)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
