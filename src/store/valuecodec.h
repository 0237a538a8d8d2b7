// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

#include <optional>

// The text encoding shared by jobs and settings: every value is a string, its name's first
// letter tells how to read it (s text, i integer, b boolean).
namespace ValueCodec {

// Signed decimal; a text longer than 2 characters that begins with "0x" or "0X" is
// hexadecimal (32 bits, so "0xFFFFFFFF" is -1). Empty or unreadable text gives nullopt.
std::optional<int> parseInteger(const QString &text);
int readInteger(const std::optional<QString> &stored, int defaultValue);
// Read as an integer (default 1 or 0), true when not zero: "2" reads true.
bool readBoolean(const std::optional<QString> &stored, bool defaultValue);

inline QString formatInteger(int value) { return QString::number(value); }
inline QString formatBoolean(bool value) { return value ? QStringLiteral("1") : QStringLiteral("0"); }

} // namespace ValueCodec
