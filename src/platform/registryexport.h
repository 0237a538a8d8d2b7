// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

class Registry;

// The registry export file: a plain UTF-8 text that holds a key's subtree and reads back
// into exactly the same keys and values (docs/registry-export.md describes it).
namespace RegistryExport {

inline constexpr char16_t header[] = u"Halvorn registry export 1";

// The subtree of `key` (the key itself first, then its sub-keys depth first).
QString exportTree(Registry &registry, const QString &key);

// Adds the keys and values of `text`, as one transaction: all of it or nothing. On a
// fault in the text, nothing is changed and `error` says where.
bool importText(Registry &registry, const QString &text, QString *error);

// The escaping used for names and data, exposed for the registry tool's listing.
QString escape(const QString &text, bool isName);
bool unescape(const QString &text, QString *result);

} // namespace RegistryExport
