// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

class ActivityLog;
class Clock;
class IniDocument;
class JobListUser;
class JobStore;

// The job list save file (docs/joblist-file.md): whole jobs written to an INI file and read
// back, interactively or at start-up without questions. Log lines are written whatever the
// log categories say. The caller refreshes the job list after every load.
//
// A save builds the whole file in memory and writes it once through a temporary file, so
// a crash leaves the old file or the new one; a save that stops midway still writes what
// it has. Each job is loaded as one registry transaction (at start-up the whole load is
// one): a crash or a stop leaves the old job or the new one.
class JobListFile
{
public:
    static const QString filePreset; // "*.sav", the file dialogs' name field

    enum class SaveResult {
        Cancelled, // the user cancelled the file dialog: nothing written
        Saved, // every job to save is in the file
        Stopped, // written up to a stop: No to saving the whole list, or a job without values
        WriteFailed, // the file could not be written and is as it was; the user was told
    };

    enum class LoadOutcome {
        Cancelled, // the user cancelled the file dialog
        InvalidFormat, // no signature (also a missing or unreadable file)
        NoJobData, // no job section
        Stopped, // a job section without entries; the jobs before it are loaded
        Done,
    };

    struct LoadResult
    {
        LoadOutcome outcome = LoadOutcome::Cancelled;
        int jobsLoaded = 0;
        // The job store was changed (jobs written or deleted): the list needs a refresh.
        bool storeChanged = false;
    };

    JobListFile(JobStore &store, ActivityLog &log, const Clock &clock);

    // The locale whose long time format `sSaveTime` uses; the system's unless set.
    void setLocale(const QLocale &locale) { m_locale = locale; }

    // `rows` are the job list's rows in display order, `selectedRows` the selected ones,
    // also in display order.
    SaveResult save(const QStringList &rows, const QStringList &selectedRows, JobListUser &user);
    // Interactive load: the file dialog and the questions.
    LoadResult load(JobListUser &user);
    // Start-up load of the file at `path`: no questions, no messages, jobs of the same
    // name overwritten value by value.
    LoadResult loadWithoutQuestions(const QString &path);

    // The log lines, for callers and tests that look for them.
    static QString invalidFormatLine(const QString &path);
    static QString noJobDataLine(const QString &path);
    static QString jobsAddedLine(const QString &path, qsizetype jobSections);

private:
    LoadResult load(const QString &path, JobListUser *user);
    void loadJobs(const IniDocument &document, const QStringList &jobs, const QString &path,
        bool escaped, JobListUser *user, QStringList *deferredLines, LoadResult &result);
    bool writeJob(const QString &job, const QList<QPair<QString, QString>> &entries, bool erase,
        bool escaped);

    JobStore &m_store;
    ActivityLog &m_log;
    const Clock &m_clock;
    QLocale m_locale = QLocale::system();
};
