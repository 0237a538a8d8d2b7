// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "engine/jobref.h"

#include <QString>

#include <functional>
#include <optional>

class ActivityLog;
class JobStore;
class Settings;
struct LogCategories;

// The prestart checks of a job: make its start directory current, and require free space
// on a drive. Drive letters map to folders through the Config values sDrive.a … sDrive.z
// (sDrive.c is "/" unless set); an unmapped letter is a drive that cannot be queried.
class Prestart
{
public:
    struct Result
    {
        bool passed = true;
        std::optional<QString> startDirectory;
    };
    // Bytes available to the user in a folder; nullopt when it cannot be queried.
    using FreeBytes = std::function<std::optional<qint64>(const QString &folder)>;

    Prestart(JobStore &store, Settings &settings, ActivityLog &log,
        const LogCategories &categories, FreeBytes freeBytes);

    Result CheckPrestart(const Job &job);

    // The folder behind a drive letter "a" to "z"; nullopt when none is mapped.
    std::optional<QString> driveFolder(QChar letter);

private:
    JobStore &m_store;
    Settings &m_settings;
    ActivityLog &m_log;
    const LogCategories &m_categories;
    FreeBytes m_freeBytes;
};
