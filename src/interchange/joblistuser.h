// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

#include <optional>

// What the job list file asks of the user while saving and loading interactively: the
// main window implements it with its dialogs, tests with scripted answers. Every text
// comes ready-made from the caller.
class JobListUser
{
public:
    enum class Question {
        ReplaceFile, // the chosen save file exists
        SaveWholeList, // nothing is selected
        ReplaceJobList, // replace all jobs by the file's, or merge
        ReplaceJob, // a job of the same name exists
    };

    virtual ~JobListUser() = default;

    // File dialogs with the name field preset to `preset`. The chosen path, or nothing
    // when the user cancels. The save dialog must not ask about replacing an existing
    // file itself: the caller asks.
    virtual std::optional<QString> chooseSaveFile(const QString &preset) = 0;
    virtual std::optional<QString> chooseOpenFile(const QString &preset) = 0;
    // Yes is true, No false.
    virtual bool askYesNo(Question question, const QString &text) = 0;
    // A modal message: returns when the user has closed it.
    virtual void showMessage(const QString &text) = 0;
};
