// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <sqlite3.h>

// Another connection renames a table of the registry file: with "vals" away every read of
// values fails, and comes back when it is renamed again. Needs SQLite among the links.
inline void renameRegistryTable(const QString &registryPath, const char *from, const char *to)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(registryPath).constData(), &db), SQLITE_OK);
    const QByteArray sql = QByteArray("ALTER TABLE ") + from + " RENAME TO " + to;
    EXPECT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    sqlite3_close(db);
}
