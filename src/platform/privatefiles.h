// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

// The registry and the log hold mail credentials and every command line started: the files
// and folders the program makes for them are the user's alone.
namespace PrivateFiles {

// Makes the folder and its missing parents with mode 0700; folders that exist are left
// as they are. True when the folder exists afterwards.
bool makeFolder(const QString &path);

// Makes an empty file with mode 0600 unless something is there already. True when a
// file exists afterwards.
bool makeFile(const QString &path);

} // namespace PrivateFiles
