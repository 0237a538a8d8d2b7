// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

// The counterpart of the Windows "registered owner": the user's full name from the
// password database (the first field of GECOS), else the login name. Empty when the user
// has no entry at all.
namespace SystemOwner {

QString name();

} // namespace SystemOwner
