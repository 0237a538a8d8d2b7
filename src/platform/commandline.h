// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Splits a command line into words as a POSIX shell would quote it, without running a
// shell: single quotes, double quotes (where a backslash escapes only $ ` " \ and
// newline), a backslash outside quotes. Nothing is expanded; operators such as | ; & < >
// are ordinary characters.
class CommandLine
{
public:
    // Empty when a quote is not closed; `error`, when given, then says which.
    static std::optional<QStringList> split(const QString &text, QString *error = nullptr);

    // The words of a job's program and its arguments. A program that names an existing
    // file as it stands, or a bare name found in PATH, is one word whatever blanks it has
    // ("/opt/My Tools/run"), and only the arguments are split; otherwise the joined line
    // is split, so a quoted path or arguments kept with the program still work.
    static std::optional<QStringList> splitJob(const QString &program, const QString &arguments,
        QString *error = nullptr);
};
