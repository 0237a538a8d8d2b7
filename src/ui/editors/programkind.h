// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

// What the "Program:" text names, for the label under it: an ELF executable, a script and
// its "#!" interpreter, a file that cannot be run, or nothing at all. The first word of the
// text is the program, split as the launcher splits it; a bare name is looked up in PATH as
// the launcher does.
class ProgramKind
{
public:
    static QString describe(const QString &programText);
    // The file the launcher would start for a bare name, else the name itself.
    static QString resolve(const QString &program);
    // A chosen file as one word of a command line: quoted when it holds blanks, quotes or
    // backslashes, as the launcher splits the line.
    static QString quote(const QString &path);
};
