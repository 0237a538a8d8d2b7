// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>
#include <QStringList>

// One row of the job list as the engine builds it: the caption, then the cells of the
// shown columns that the job has, in column order. A job without a Program cell has its
// later cells one place to the left, as the list has always shown them.
struct JobRow
{
    QString caption;
    QStringList cells;

    bool operator==(const JobRow &) const = default;
};
