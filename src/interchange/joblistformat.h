// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

// The names and the value escape of the job list file (docs/joblist-file.md).
namespace JobListFormat {

extern const QString headerSection; // "SaveFileInfo"
extern const QString fileTypeKey; // "sFileType"
extern const QString signature; // "Halvorn Job List Save File"
extern const QString saveDateKey; // "sSaveDate"
extern const QString saveTimeKey; // "sSaveTime"
// In the header of a file that holds escaped values; without it no value is unescaped,
// so files in the plain format read exactly as written.
extern const QString escapesKey; // "bEscapedValues"
extern const QString escapeMarker; // "\:" at the start of an escaped value

// A line cannot hold CR or LF, and a value that begins with the marker would read as
// escaped: those are escaped, every other value is written as it is.
bool needsEscape(const QString &value);
// The marker, then the value with "\" as "\\", LF as "\n" and CR as "\r".
QString escape(const QString &value);
// The reverse of escape() for a text that begins with the marker; any other text is
// returned as it is. An unknown escape stands for itself.
QString unescape(const QString &text);

} // namespace JobListFormat
