// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

// The program's autostart entry, $XDG_CONFIG_HOME/autostart/voltrane.desktop: the
// counterpart of the Run value "Halvorn". The wizard's "StartUp" group item has another
// file name, so neither removes the other.
namespace AutostartEntry {

QString path();
// Writes the entry for `program` (its full path), creating the folder when missing.
bool write(const QString &program);
// Removes the entry; true when it is gone.
bool remove();

} // namespace AutostartEntry
