// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "platform/registry.h"
#include "store/settings.h"
#include "support/tempprofile.h"
#include "ui/config/halvpassword.h"

// A temporary registry with its settings and the password at a small hash cost, which
// keeps the tests quick (the stored form carries its cost, so checks read it from there).
struct ConfigProfile
{
    static constexpr int cheap = 64;

    TempProfile profile;
    Registry registry;
    Settings settings{registry};
    HalvPassword password{settings, cheap};
};
