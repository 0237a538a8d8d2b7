// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

// The XDG folders the program's own files live in.
namespace Paths {

// $XDG_CONFIG_HOME, else ~/.config (also the counterpart of the Windows directory).
QString configHome();
// $XDG_STATE_HOME, else ~/.local/state.
QString stateHome();
// $XDG_DATA_HOME, else ~/.local/share.
QString dataHome();
// Where the log lives unless `sLogFile` says otherwise.
QString defaultLogFile();

} // namespace Paths
