// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

class JobStore;

// Judges a program job's run that ended by itself, by the job's success criteria as the
// job store holds them at that moment: the exit-code test, the file test and the INI key
// test, joined by "and" or "or". Keeps no state.
class SuccessEvaluator
{
public:
    struct Result
    {
        bool success = false;
        // The last enabled test's description, for the log and the job list; empty when
        // no test is enabled.
        QString reason;
    };

    // The text an INI key test reads for a missing file, section or key.
    static const QString iniMissing;

    explicit SuccessEvaluator(JobStore &store) : m_store(store) {}

    // With no test enabled the run has failed.
    Result EvaluateSuccess(const QString &job, int exitCode);

    // `iErrLevEqual` 0 "=", 1 "<>", 2 ">", 3 "<", 4 ">=", 5 "<=", comparing `iErrLevValue`
    // (left) with the exit code; any other code never holds.
    static bool exitCodeHolds(int comparison, int value, int exitCode);
    // True when a non-folder entry of that name exists. A "*" or "?" in the last path
    // component makes it a pattern over that folder's entries (hidden ones too, letter
    // case counts); then any match that is not a folder will do.
    static bool fileExists(const QString &name);

private:
    JobStore &m_store;
};
