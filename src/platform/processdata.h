// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "platform/process.h"

#include <QList>
#include <QString>

#include <utility>

// The running processes of a machine, read from /proc: one entry per process, named by
// the file name of its executable (no extension to strip on Linux), in ascending id
// order. Two processes of one program are two entries of the same name.
class TProcessData
{
public:
    using List = QList<std::pair<QString, TProcess>>;

    // An empty name, "localhost" or this machine's host name (also as "\\name") is the
    // local machine. Any other machine cannot be reached: throws EProcessDataError.
    explicit TProcessData(const QString &machineName = QString());

    QString machineName() const { return m_machineName; }

    // Appends an entry for every process to the caller's list. Processes that end while
    // the list is read are left out.
    void GetProcessList(List &list) const;

    // The same from a folder laid out like /proc; tests give their own.
    static void readProcesses(const QString &procFolder, List &list);

    // The start time of the process with this id; 0 when there is none.
    static quint64 startTimeOf(quint32 processId);

    // Sends the signal to the process listed, and only to it: never to a later process
    // that has been given its id since. False when it has gone or may not be signalled.
    static bool signalProcess(const TProcess &process, int signal);

private:
    QString m_machineName;
};
