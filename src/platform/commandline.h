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
};
