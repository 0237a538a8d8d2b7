// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>
#include <QStringList>

// Writing freedesktop Desktop Entry files (.desktop, .directory) that validate.
namespace DesktopEntry {

// A value of type string or localestring: backslash, newline, tab and CR escaped.
QString escapeValue(const QString &value);
// An Exec= value: each argument quoted where it needs it (quote, backquote, dollar and
// backslash escaped inside the quotes, % doubled), then escaped as a string value.
QString execValue(const QStringList &arguments);
// A file name part made of [a-z0-9-] only, so no name can leave its folder or clash with
// the desktop's own files; "item" when nothing is left.
QString fileNamePart(const QString &name);
// Writes a file through a temporary file renamed into place; creates its folder.
bool writeFile(const QString &path, const QString &contents);

} // namespace DesktopEntry
