// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/prestart.h"

#include "engine/enginetext.h"
#include "log/activitylog.h"
#include "log/logcategories.h"
#include "store/jobstore.h"
#include "store/settings.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {
constexpr qint64 megabyte = 1048576;
}

Prestart::Prestart(JobStore &store, Settings &settings, ActivityLog &log,
    const LogCategories &categories, FreeBytes freeBytes)
    : m_store(store), m_settings(settings), m_log(log), m_categories(categories),
      m_freeBytes(std::move(freeBytes))
{
}

std::optional<QString> Prestart::driveFolder(QChar letter)
{
    const QString name = u"sDrive."_s + letter;
    const QString folder = m_settings.readString(Settings::Section::Config, name,
        letter == u'c' ? u"/"_s : QString());
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

Prestart::Result Prestart::CheckPrestart(const Job &job)
{
    Result result;
    if (!m_store.readBoolean(job.key, u"bCheckPreStart"_s, false))
        return result;
    const bool debug = m_categories.debugInfo;
    if (debug)
        m_log.logMessage(EngineText::prestartChecking(job.name));

    if (m_store.readBoolean(job.key, u"bCheckStartDir"_s, false)) {
        if (debug)
            m_log.logMessage(EngineText::prestartCheckingDir(job.name));
        const QString dir = m_store.readString(job.key, u"sStartDir"_s);
        if (!dir.isEmpty()) {
            result.startDirectory = dir;
            if (debug)
                m_log.logMessage(EngineText::prestartAttemptDir(job.name, dir));
            // The program's own current directory changes too: later relative paths
            // are taken from it.
            const bool changed = QDir::setCurrent(dir);
            if (m_categories.jobPrestarts)
                m_log.logMessage(changed ? EngineText::prestartDirChanged(job.name, dir)
                                         : EngineText::prestartDirNotChanged(job.name, dir));
        }
    }

    if (m_store.readBoolean(job.key, u"bCheckDiskFree"_s, false)) {
        const QString drive = m_store.readString(job.key, u"sDiskFreeDrive"_s, u"c"_s);
        const QChar letter = drive.isEmpty() ? QChar() : drive.at(0);
        // Only the lower-case letters name drives; anything else skips the test.
        if (letter >= u'a' && letter <= u'z') {
            const auto folder = driveFolder(letter);
            const std::optional<qint64> bytes = folder && m_freeBytes ? m_freeBytes(*folder) : std::nullopt;
            const qint64 freeBytes = bytes.value_or(0);
            const qint64 freeMb = freeBytes > megabyte ? freeBytes / megabyte : 0;
            const int required = m_store.readInteger(job.key, u"iDiskFreeMb"_s, 10);
            if (required > freeMb)
                result.passed = false;
            if (debug)
                m_log.logMessage(EngineText::prestartDrive(job.name, letter, freeMb, required));
        }
    }
    return result;
}
