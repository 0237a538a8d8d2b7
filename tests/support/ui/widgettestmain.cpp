// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// The main of the test programs with widgets (run under the offscreen platform).

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char *argv[])
{
    // Also when ctest lists the tests, which it does without the tests' environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
