// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "editortest.h"

#include <sqlite3.h>

using namespace Qt::StringLiterals;

void EditorTest::refuseWrites(const QString &valueName)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(registry.path().toUtf8().constData(), &db), SQLITE_OK);
    const QString when = valueName.isEmpty() ? QString() : u" WHEN NEW.name = '"_s + valueName + u"'"_s;
    const QString sql = u"CREATE TRIGGER refuse BEFORE INSERT ON vals"_s + when
        + u" BEGIN SELECT RAISE(ABORT, 'refused'); END;"_s;
    char *error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error), SQLITE_OK) << error;
    sqlite3_free(error);
    sqlite3_close(db);
}
