// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QColor>

class QPalette;

// Font colours are stored as Windows colour numbers, so values from older pre-load files
// keep their meaning: 0x00BBGGRR for a fixed colour, 0x80000000 plus an index for a
// system colour (-2147483640 is the window text colour), taken from the palette here.
namespace WindowsColor {

inline constexpr int windowText = -2147483640;

bool isSystemColor(int value);
QColor toColor(int value, const QPalette &palette);
// A fixed colour: 0x00BBGGRR, alpha dropped.
int fromColor(const QColor &color);

} // namespace WindowsColor
