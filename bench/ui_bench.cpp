// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// The main window with many jobs: from creation to the shown list, the refresh after one
// edit, and the row updates of 256 running jobs in one tick. Offscreen platform.

#include "engine/engine.h"
#include "engine/rowupdate.h"
#include "log/activitylog.h"
#include "platform/posixprocesslauncher.h"
#include "platform/registry.h"
#include "store/jobstore.h"
#include "store/setting.h"
#include "store/settings.h"
#include "support/fakeclock.h"
#include "support/tempprofile.h"
#include "ui/joblistmodel.h"
#include "ui/mainform.h"
#include "ui/mainformtext.h"

#include <QApplication>
#include <QTreeView>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

void writeJobs(JobStore &store, int count)
{
    JobStore::Transaction transaction(store);
    for (int j = 0; j < count; ++j) {
        const QString job = u"Job "_s + QString::number(j);
        store.writeString(job, u"sJobName"_s, job);
        store.writeInteger(job, u"iJobType"_s, 0);
        store.writeInteger(job, u"iFrequency"_s, 1);
        store.writeInteger(job, u"iHour"_s, 23);
        store.writeString(job, u"sProgram"_s, u"/usr/bin/program-"_s + QString::number(j));
        store.writeString(job, u"sLastStartDate"_s, u"2026-12-09"_s);
        store.writeString(job, u"sLastStartTime"_s, u"02:30:00"_s);
    }
    transaction.commit();
}

struct Fixture
{
    TempProfile profile;
    Registry registry{Registry::Role::Scheduler};
    JobStore store{registry};
    Settings settings{registry};
    FakeClock clock;
    PosixProcessLauncher launcher;
    ActivityLog log{settings, clock};

    explicit Fixture(int jobs)
    {
        settings.setText(settings::LogFile, profile.path(u"bench.log"_s));
        settings.setText(settings::InstalledVersion, MainFormText::version());
        writeJobs(store, jobs);
    }
    std::unique_ptr<MainForm> open()
    {
        auto form = std::make_unique<MainForm>(MainForm::Services{store, settings, log, clock, launcher,
            [](const QString &) { return std::optional<qint64>(qint64(1) << 40); }});
        form->start({u"voltrane"_s});
        QCoreApplication::processEvents();
        return form;
    }
};

// From creation to a painted window with its list (the start-up's Start of Day included).
void BM_WindowShown(benchmark::State &state)
{
    Fixture fixture(int(state.range(0)));
    for (auto _ : state) {
        auto form = fixture.open();
        form->listView()->viewport()->repaint();
        benchmark::DoNotOptimize(form->jobList()->rowCount());
        state.PauseTiming();
        form->closeWithoutQuestions();
        form.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WindowShown)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

// One job written by an editor, then the list refreshed and repainted.
void BM_RefreshAfterOneEdit(benchmark::State &state)
{
    Fixture fixture(int(state.range(0)));
    auto form = fixture.open();
    int n = 0;
    for (auto _ : state) {
        fixture.store.writeString(u"Job 7"_s, u"sProgram"_s, u"/usr/bin/edited-"_s + QString::number(++n));
        form->refreshJobList();
        form->listView()->viewport()->repaint();
    }
    form->closeWithoutQuestions();
}
BENCHMARK(BM_RefreshAfterOneEdit)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The window's own share of a refresh: the rows the engine built, handed to the list.
void BM_SetRowsOnly(benchmark::State &state)
{
    Fixture fixture(int(state.range(0)));
    auto form = fixture.open();
    QList<JobRow> rows;
    for (const QString &name : form->engine().jobNames())
        rows.append(form->engine().rowOf(name));
    for (auto _ : state) {
        form->setJobRows(rows);
        form->listView()->viewport()->repaint();
    }
    form->closeWithoutQuestions();
}
BENCHMARK(BM_SetRowsOnly)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// What 256 running rows add to one tick in the worst case, every one changing its status
// in the same tick: the cell updates (the repaint that follows is one per event-loop pass,
// whatever the count, and is measured by the refresh above).
void BM_TickRowUpdates256(benchmark::State &state)
{
    Fixture fixture(256);
    auto form = fixture.open();
    RowUpdate active;
    active.status = u"active"_s;
    RowUpdate waiting;
    waiting.status = u"waiting"_s;
    int flip = 0;
    for (auto _ : state) {
        const RowUpdate &update = (++flip & 1) ? active : waiting;
        for (int j = 0; j < 256; ++j)
            form->updateJobRow(u"Job "_s + QString::number(j), update);
    }
    form->closeWithoutQuestions();
}
BENCHMARK(BM_TickRowUpdates256)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
