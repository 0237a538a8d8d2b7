// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "engine/jobref.h"

#include <QString>
#include <QStringList>

class ActivityLog;
class EngineHost;
class JobStore;

// The work of a file job: delete, create, copy or rename the files named by
// `sSysSourceFileName<n>`. Each operation returns the run's success and writes its own
// log lines, whatever the log switches say. Names use "/" as separator; a name whose last
// component holds "*" or "?" stands for the files of its folder that match it ("*" any
// run of characters, "?" one; a leading "." only matched by a "."). Directories are
// never deleted, copied or moved. No state between calls.
class FileActions
{
public:
    // `iJobType` values.
    enum JobType { Delete = 2, Create = 3, Copy = 4, Rename = 5 };
    static constexpr qint64 copyBufferSize = 8192;
    // Sources are `sSysSourceFileName0` up to this many, ending at the first empty one.
    static constexpr int maxSources = 256;

    FileActions(JobStore &store, ActivityLog &log, EngineHost &host);

    // The run of a file job of type 2 to 5 (copy and rename with `sSysTargetFileName`);
    // any other type does nothing and fails.
    bool perform(const Job &job, int jobType, bool useRecycleBin);

    // Every source is handled; the result is that of the last one. Types 2 and 3.
    bool DeleteOrCreateFiles(const Job &job, int jobType, bool useRecycleBin);
    // Stops at the first source that matches no file, or at once when `target` is
    // empty. A copy shows the host a message for each file and waits for it. Types 4, 5.
    bool CopyOrRenameFiles(const Job &job, const QString &target, int jobType);

    // Deletes a file, or every file a wildcard name matches, into the freedesktop trash
    // or for good. False when nothing matches or any of them stays; a file the trash
    // cannot take (no trash on its file system) stays where it is.
    static bool DeleteFileToBin(const QString &name, bool useRecycleBin);
    // Copies the bytes of `source` over `target`, creating it. The new contents appear
    // complete or not at all: on any failure an existing target keeps what it had. A
    // target that is the source itself (also through a link) fails untouched.
    static bool CopyFileContents(const QString &source, const QString &target);
    // Moves a file as mv(1) does, also to another file system (the source goes only once
    // the copy is complete on disk); fails when `target` exists.
    static bool moveFile(const QString &source, const QString &target);

    // The files a source name stands for: the name itself when it is a file, else none;
    // for a wildcard name the matching non-directory entries in name order, each with
    // the folder part as the name gave it.
    static QStringList matchingFiles(const QString &name);

private:
    QStringList sources(const QString &key);

    JobStore &m_store;
    ActivityLog &m_log;
    EngineHost &m_host;
};
