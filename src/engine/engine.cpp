// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/engine.h"

#include "platform/clock.h"
#include "store/jobstore.h"
#include "store/settings.h"

#include <algorithm>

Engine::Engine(const Services &services)
    : m_context{services, m_queue, m_options},
      m_prestart(services.store, services.settings, services.log, m_options.categories,
          services.freeBytes),
      m_builder(m_context, m_rows),
      m_runs(m_context, m_rows, m_builder, m_prestart),
      m_loop(m_context, m_builder, m_runs, m_prestart)
{
}

Engine::~Engine() = default;

void Engine::readSettings()
{
    Settings &settings = m_context.settings;
    // A timer that fires without pause would take a whole core; one of 2^31 ms never fires.
    m_options.timerInterval = std::clamp(settings.integer(settings::TimerInterval),
        minTimerInterval, maxTimerInterval);
    m_options.startAsWindow = settings.integer(settings::StartAsWindow);
    m_options.categories = LogCategories::load(settings);
    m_options.useRecycleBin = settings.boolean(settings::UseRecycleBin);
    m_rows.readColumns(settings);
}

void Engine::reloadSettingsAndRefresh()
{
    readSettings();
    refreshJobList();
}

void Engine::startOfDay(StartOfDayKind kind) { m_builder.startOfDay(kind, m_context.clock.now()); }

void Engine::refreshJobList() { m_builder.refreshJobList(m_context.clock.now().date()); }

void Engine::buildQueue() { m_builder.buildQueue(m_context.clock.now().date()); }

JobRow Engine::rowOf(const QString &name) { return m_rows.rowOf(m_context.store.values(name)); }
