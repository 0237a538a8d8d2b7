// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// Job list files of 1,000 jobs: save, and load at start-up (each job one transaction).

#include "interchange/joblistfile.h"
#include "interchange/joblistuser.h"
#include "log/activitylog.h"
#include "platform/clock.h"
#include "platform/registry.h"
#include "store/jobstore.h"
#include "store/settings.h"
#include "support/tempprofile.h"

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int jobCount = 1000;

// Saves to one file and says Yes to everything.
class SaveToFile final : public JobListUser
{
public:
    explicit SaveToFile(const QString &path)
        : m_path(path)
    {
    }
    std::optional<QString> chooseSaveFile(const QString &) override { return m_path; }
    std::optional<QString> chooseOpenFile(const QString &) override { return m_path; }
    bool askYesNo(Question, const QString &) override { return true; }
    void showMessage(const QString &) override { }

private:
    QString m_path;
};

// About as many values as a program job with a schedule and notifications has; every
// tenth job is an e-mail job whose text has several lines.
void addJobs(JobStore &store, QStringList &rows)
{
    JobStore::Transaction transaction(store);
    for (int n = 0; n < jobCount; ++n) {
        const QString job = u"Job number "_s + QString::number(n);
        rows << job;
        store.writeString(job, u"sJobName"_s, job);
        store.writeInteger(job, u"iJobType"_s, n % 10 == 0 ? 6 : 0);
        store.writeString(job, u"sProgram"_s, u"/usr/bin/rsync"_s);
        store.writeString(job, u"sCommand Line"_s, u"-a /home/ /backup/home/"_s);
        store.writeString(job, u"sStartDir"_s, u"/var/tmp"_s);
        for (const char16_t *name : { u"iFrequency", u"iHour", u"iMin", u"iSec", u"iCustomTimeType",
                 u"iTerminationType", u"iTerminationDur", u"iWinAppearance", u"iWinPriority",
                 u"iSuccessPostAction", u"iFailPostAction" })
            store.writeInteger(job, QString::fromUtf16(name), n % 60);
        for (const char16_t *name : { u"bHold", u"bUseErrLevel", u"bUseFileExist", u"bUseIniKey",
                 u"bNotifyStart", u"bNotifyEnd", u"bDeleteAfterRun", u"bCheckStartDir" })
            store.writeBoolean(job, QString::fromUtf16(name), n % 2 == 0);
        for (int f = 0; f < 7; ++f)
            store.writeString(
                job, u"sFreq"_s + QString::number(f), u"2026/12/1"_s + QString::number(f));
        store.writeString(job, u"sLastStartDate"_s, u"2026-12-09"_s);
        store.writeString(job, u"sLastStartTime"_s, u"02:30:00"_s);
        store.writeString(job, u"sLastStatus"_s, u"ok"_s);
        if (n % 10 == 0)
            store.writeString(job, u"sEmailText"_s,
                u"Dear all,\r\nthe nightly backup has run.\r\n\r\nRegards,\r\nthe scheduler\r\n"_s);
    }
    transaction.commit();
}

struct Fixture
{
    TempProfile profile;
    Registry registry { Registry::Role::Scheduler };
    JobStore store { registry };
    Settings settings { registry };
    SystemClock clock;
    ActivityLog log { settings, clock };
    JobListFile file { store, log, clock };
    QString path = profile.path(u"jobs.sav"_s);
    SaveToFile user { path };
    QStringList rows;

    Fixture() { addJobs(store, rows); }
};

void BM_Save1000Jobs(benchmark::State &state)
{
    Fixture f;
    for (auto _ : state)
        benchmark::DoNotOptimize(f.file.save(f.rows, f.rows, f.user));
}
BENCHMARK(BM_Save1000Jobs)->Unit(benchmark::kMillisecond);

// Into an empty job list, as on a freshly prepared workstation.
void BM_Load1000Jobs(benchmark::State &state)
{
    Fixture f;
    f.file.save(f.rows, f.rows, f.user);
    for (auto _ : state) {
        state.PauseTiming();
        f.registry.deleteKey(JobStore::storeKey);
        state.ResumeTiming();
        const JobListFile::LoadResult result = f.file.loadWithoutQuestions(f.path);
        if (result.jobsLoaded != jobCount)
            state.SkipWithError("not every job was loaded");
    }
}
BENCHMARK(BM_Load1000Jobs)->Unit(benchmark::kMillisecond);

// From the menu, replacing the entire list: each job commits on its own.
void BM_LoadInteractive1000Jobs(benchmark::State &state)
{
    Fixture f;
    f.file.save(f.rows, f.rows, f.user);
    for (auto _ : state) {
        const JobListFile::LoadResult result = f.file.load(f.user);
        if (result.jobsLoaded != jobCount)
            state.SkipWithError("not every job was loaded");
    }
}
BENCHMARK(BM_LoadInteractive1000Jobs)->Unit(benchmark::kMillisecond);

// Over the same jobs: every value is rewritten in place.
void BM_Reload1000Jobs(benchmark::State &state)
{
    Fixture f;
    f.file.save(f.rows, f.rows, f.user);
    for (auto _ : state)
        benchmark::DoNotOptimize(f.file.loadWithoutQuestions(f.path));
}
BENCHMARK(BM_Reload1000Jobs)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
