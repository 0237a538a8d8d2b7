// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

#include <cstring>

// The system's text for an errno value, in the user's language.
inline QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }
