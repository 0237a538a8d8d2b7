// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/programoptions.h"

#include <cstdio>
#include <cstring>

namespace ProgramOptions {

std::optional<int> handle(int argc, char **argv, const Program &program)
{
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            std::printf("%s\n%s", program.usage, program.details);
            return 0;
        }
        if (std::strcmp(arg, "--version") == 0) {
            std::printf("%s %s\n", program.name, HALVORN_VERSION);
            return 0;
        }
    }
    if (program.acceptsQtOptions)
        return std::nullopt;
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-' && argv[i][1] != '\0') {
            std::fprintf(stderr, "%s: unknown option: %s\n%s\n", program.name, argv[i], program.usage);
            return 2;
        }
    }
    return std::nullopt;
}

} // namespace ProgramOptions
