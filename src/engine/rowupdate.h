// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

#include <optional>

// A change of some cells of one job's row during a run. Only the cells of shown columns
// are set; the host redraws the row afterwards.
struct RowUpdate
{
    std::optional<QString> status;
    std::optional<QString> lastStarted;
    std::optional<QString> lastEnded;
    std::optional<QString> lastStatus;

    bool operator==(const RowUpdate &) const = default;
};
