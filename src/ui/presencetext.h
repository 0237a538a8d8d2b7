// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

// Texts of the tray icon and its menu, each kept here once.
namespace PresenceText {

QString trayTip();
QString openItem();
QString exitItem();

} // namespace PresenceText
