// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "interchange/startupjoblist.h"

#include "interchange/joblistfile.h"
#include "interchange/programfolder.h"
#include "store/settings.h"

StartupJobList::StartupJobList(
    JobStore &store, Settings &settings, ActivityLog &log, const Clock &clock)
    : m_store(store)
    , m_settings(settings)
    , m_log(log)
    , m_clock(clock)
    , m_programFolder(ProgramFolder::path())
{
}

bool StartupJobList::run()
{
    if (!m_settings.boolean(settings::LoadStartupFile))
        return false;
    const bool once = m_settings.boolean(settings::LoadStartupFileOnce);
    if (once && m_settings.boolean(settings::StartupFileLoaded))
        return false;

    const QString name = m_settings.text(settings::StartupFileName);
    JobListFile::LoadResult result;
    result.outcome = JobListFile::LoadOutcome::Done; // nothing to load counts as done
    if (!name.isEmpty()) {
        JobListFile file(m_store, m_log, m_clock);
        result = file.loadWithoutQuestions(ProgramFolder::resolve(name, m_programFolder));
    }
    // A file that could not be loaded to its end is tried again at the next start.
    if (once && result.outcome == JobListFile::LoadOutcome::Done)
        m_settings.setBoolean(settings::StartupFileLoaded, true);
    return result.storeChanged;
}
