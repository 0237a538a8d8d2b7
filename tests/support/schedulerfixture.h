// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "engine/engine.h"
#include "log/activitylog.h"
#include "platform/registry.h"
#include "store/jobstore.h"
#include "store/settings.h"
#include "support/fakeclock.h"
#include "support/fakeprocesslauncher.h"
#include "support/recordinghost.h"
#include "support/tempprofile.h"

#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

#include <memory>

// What a scheduler works with, private to the test: a registry with its job store and
// settings, a log in a temporary folder, a clock and processes that only the test moves.
class SchedulerFixture : public ::testing::Test
{
protected:
    explicit SchedulerFixture(const QDateTime &start) : clock(start) {}

    TempProfile profile;
    Registry registry{Registry::Role::Scheduler};
    JobStore store{registry};
    Settings settings{registry};
    FakeClock clock;
    FakeProcessLauncher launcher;
    ActivityLog log{settings, clock};

    void SetUp() override
    {
        log.setLocale(QLocale(QLocale::C));
        settings.setText(settings::LogFile, profile.path(QStringLiteral("test.log")));
    }
    // The log's lines without their "yyyy-mm-dd hh:mm:ss " stamps.
    QStringList logLines() const
    {
        QFile f(profile.path(QStringLiteral("test.log")));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        for (QString &l : lines)
            l = l.mid(20);
        return lines;
    }
};

// The engine on those services, with a host that records what it is shown.
class EngineFixture : public SchedulerFixture
{
protected:
    using SchedulerFixture::SchedulerFixture;

    RecordingHost host;
    std::unique_ptr<Engine> engine;

    // Before the test's own members go: the engine may hold some of them.
    void TearDown() override { engine.reset(); }
    // The engine as the programs start it, with `freeBytes` for the disk space checks.
    void startEngine(Engine::StartOfDayKind kind, Prestart::FreeBytes freeBytes)
    {
        engine = std::make_unique<Engine>(
            Engine::Services{store, settings, log, clock, launcher, host, std::move(freeBytes)});
        engine->readSettings();
        engine->startOfDay(kind);
        engine->setFirstShow(false);
    }
    // Ticks every 250 ms until `until` (inclusive).
    void runUntil(const QDateTime &until)
    {
        while (clock.now() < until) {
            clock.advanceMs(250);
            engine->tick();
        }
    }
};
