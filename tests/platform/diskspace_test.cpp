// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/diskspace.h"

#include <QStorageInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(DiskSpace, GivesTheBytesAvailableToTheUser)
{
    QTemporaryDir dir;
    const std::optional<qint64> bytes = DiskSpace::freeBytes(dir.path());
    ASSERT_TRUE(bytes);
    // Another view of the same figure; other writers may move it a little in between.
    const qint64 expected = QStorageInfo(dir.path()).bytesAvailable();
    EXPECT_NEAR(double(*bytes), double(expected), 64.0 * 1024 * 1024);
    EXPECT_GT(*bytes, 0);
}

TEST(DiskSpace, AFolderThatCannotBeQueriedGivesNothing)
{
    EXPECT_FALSE(DiskSpace::freeBytes(u"/nonexistent/folder"_s));
    EXPECT_FALSE(DiskSpace::freeBytes(QString()));
}

} // namespace
