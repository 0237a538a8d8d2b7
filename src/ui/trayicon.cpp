// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// The meta-object code of the interface is built with this file.
#include "ui/trayicon.h"
