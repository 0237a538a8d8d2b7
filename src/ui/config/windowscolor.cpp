// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/config/windowscolor.h"

#include <QPalette>

namespace WindowsColor {

bool isSystemColor(int value) { return value < 0; }

QColor toColor(int value, const QPalette &palette)
{
    if (!isSystemColor(value)) {
        const auto bgr = static_cast<unsigned>(value);
        return QColor(int(bgr & 0xff), int((bgr >> 8) & 0xff), int((bgr >> 16) & 0xff));
    }
    // The Windows system colour indexes that have a palette counterpart; the rest read as
    // text colour, which is what they colour in practice.
    switch (static_cast<unsigned>(value) & 0xff) {
    case 1: // desktop
    case 4: // menu
    case 15: // button face
        return palette.color(QPalette::Window);
    case 5: // window
        return palette.color(QPalette::Base);
    case 13: // highlight
        return palette.color(QPalette::Highlight);
    case 14: // highlight text
        return palette.color(QPalette::HighlightedText);
    case 17: // grey text
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 18: // button text
        return palette.color(QPalette::ButtonText);
    case 23: // info text
        return palette.color(QPalette::ToolTipText);
    case 24: // info background
        return palette.color(QPalette::ToolTipBase);
    default: // 8 window text, 7 menu text, 9 caption text, ...
        return palette.color(QPalette::WindowText);
    }
}

int fromColor(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16);
}

} // namespace WindowsColor
