// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <optional>

// The manners every Linux program has: --help and --version print and end with 0, an
// unknown option prints a usage line on standard error and ends with 2. The "/" switches
// of the programs (/LOADFILE file, /uninstall) are not options here. Read before any Qt
// application object exists, so it works without a display.
namespace ProgramOptions {

struct Program
{
    const char *name;
    const char *usage;    // the first line of --help, also the usage line of an error
    const char *details;  // the rest of --help
    // The desktop program also takes Qt's own options (-platform, -style, ...).
    bool acceptsQtOptions = false;
};

// The exit status to end with at once, or nothing when the program should run.
std::optional<int> handle(int argc, char **argv, const Program &program);

} // namespace ProgramOptions
