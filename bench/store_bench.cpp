// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// The job store on a real registry file (WAL, synchronous=FULL), as the scheduler uses it.

#include "platform/registry.h"
#include "store/jobstore.h"
#include "support/tempprofile.h"

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

void writeJob(JobStore &store, const QString &job, int values)
{
    store.writeString(job, u"sJobName"_s, job);
    for (int i = 1; i < values; ++i)
        store.writeString(job, u"sValue"_s + QString::number(i), u"some text of a job value"_s);
}

void BM_ReadValue(benchmark::State &state)
{
    TempProfile profile;
    Registry registry(Registry::Role::Scheduler);
    JobStore store(registry);
    for (int j = 0; j < 100; ++j)
        writeJob(store, u"Job "_s + QString::number(j), 60);
    for (auto _ : state)
        benchmark::DoNotOptimize(store.readInteger(u"Job 42"_s, u"sValue30"_s, 0));
}
BENCHMARK(BM_ReadValue);

void BM_WriteValue(benchmark::State &state)
{
    TempProfile profile;
    Registry registry(Registry::Role::Scheduler);
    JobStore store(registry);
    writeJob(store, u"Job"_s, 60);
    int n = 0;
    for (auto _ : state)
        store.writeString(u"Job"_s, u"sLastStartTime"_s, QString::number(++n));
}
BENCHMARK(BM_WriteValue)->Unit(benchmark::kMicrosecond);

// An editor's save: erase the job and write its values again, as one transaction.
void BM_EraseAndRewriteJob60(benchmark::State &state)
{
    TempProfile profile;
    Registry registry(Registry::Role::Scheduler);
    JobStore store(registry);
    writeJob(store, u"Job"_s, 60);
    for (auto _ : state) {
        Registry::Transaction transaction(registry);
        store.eraseJob(u"Job"_s);
        writeJob(store, u"Job"_s, 60);
        transaction.commit();
    }
}
BENCHMARK(BM_EraseAndRewriteJob60)->Unit(benchmark::kMicrosecond);

void BM_ListJobs10000(benchmark::State &state)
{
    TempProfile profile;
    Registry registry(Registry::Role::Scheduler);
    JobStore store(registry);
    {
        Registry::Transaction transaction(registry);
        for (int j = 0; j < 10000; ++j)
            writeJob(store, u"Job "_s + QString::number(j), 5);
        transaction.commit();
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(store.listJobs());
}
BENCHMARK(BM_ListJobs10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
