// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// The timer tick, the hot path of a program that runs all day: 256 queued entries of
// mixed kinds, custom kinds 1 and 2 with 25 times each, a tick that starts nothing.

#include "engine/engine.h"
#include "engine/enginehost.h"
#include "log/activitylog.h"
#include "platform/posixprocesslauncher.h"
#include "platform/registry.h"
#include "store/jobstore.h"
#include "store/settings.h"
#include "support/fakeclock.h"
#include "support/tempprofile.h"

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

// A host that shows nothing: the tick's own cost, not a window's.
class QuietHost final : public EngineHost
{
public:
    bool rows = false;
    void showStatus(const QString &) override {}
    bool showsJobRows() const override { return rows; }
    void showMessage(const QString &) override {}
    void processPendingEvents() override {}
    void quit() override {}
};

// Jobs that never start during the measured ticks: fixed times at 23:00, minutes and
// times of another hour, every and after a million minutes.
void writeJobs(JobStore &store, int count)
{
    JobStore::Transaction transaction(store);
    for (int j = 0; j < count; ++j) {
        const QString job = u"Job "_s + QString::number(j);
        store.writeString(job, u"sJobName"_s, job);
        store.writeInteger(job, u"iJobType"_s, 0);
        store.writeInteger(job, u"iFrequency"_s, 1);
        store.writeString(job, u"sProgram"_s, u"/bin/true"_s);
        const int kind = j % 5;
        store.writeInteger(job, u"iCustomTimeType"_s, kind);
        store.writeInteger(job, u"iHour"_s, 23);
        if (kind == 1 || kind == 2) {
            for (int n = 0; n < 25; ++n)
                store.writeString(job, u"sCustomTime"_s + QString::number(n),
                    kind == 1 ? QString::number(30 + n) : u"22:%1:00"_s.arg(30 + n, 2, 10, QChar(u'0')));
        }
        if (kind >= 3)
            store.writeInteger(job, u"iCustomTimeHourMin"_s, 1000000); // never reached here
    }
    transaction.commit();
}

// The engine on a real registry file holding `jobs` jobs.
struct Bench
{
    explicit Bench(int jobs, bool rows = false)
    {
        writeJobs(store, jobs);
        host.rows = rows;
        engine.readSettings();
    }
    TempProfile profile;
    Registry registry{Registry::Role::Scheduler};
    JobStore store{registry};
    Settings settings{registry};
    FakeClock clock{QDateTime(QDate(2026, 12, 10), QTime(10, 0, 0))};
    ActivityLog log{settings, clock};
    PosixProcessLauncher launcher;
    QuietHost host;
    Engine engine{{store, settings, log, clock, launcher, host, {}}};
};

void BM_IdleTick256(benchmark::State &state)
{
    Bench b(256);
    b.engine.startOfDay(Engine::StartOfDayKind::StartUp);
    b.engine.tick();
    // The seconds and minutes pass as in a real day, within 10:00 to 10:20 where none
    // of the jobs is due.
    const QDateTime base = b.clock.now();
    qint64 step = 0;
    for (auto _ : state) {
        b.clock.set(base.addMSecs((++step * 250) % (20 * 60 * 1000)));
        b.engine.tick();
    }
    state.counters["queued"] = b.engine.queue().count();
    state.counters["started"] = double(b.launcher.childCount());
}
BENCHMARK(BM_IdleTick256)->Unit(benchmark::kMicrosecond);

// The headless refresh: the queue only.
void BM_QueueBuild10000(benchmark::State &state)
{
    Bench b(10000);
    for (auto _ : state)
        b.engine.refreshJobList();
}
BENCHMARK(BM_QueueBuild10000)->Unit(benchmark::kMillisecond);

// The desktop's refresh: the rows of 10,000 jobs as well as the queue.
void BM_RefreshWithRows10000(benchmark::State &state)
{
    Bench b(10000, true);
    for (auto _ : state)
        b.engine.refreshJobList();
}
BENCHMARK(BM_RefreshWithRows10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
