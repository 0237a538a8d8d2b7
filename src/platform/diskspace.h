// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// Free space of the file system that holds a folder.
class DiskSpace
{
public:
    // Bytes an ordinary user may still write there (what `df` shows as available, without
    // the blocks reserved for root). Empty when the folder cannot be queried.
    static std::optional<qint64> freeBytes(const QString &folder);
};
