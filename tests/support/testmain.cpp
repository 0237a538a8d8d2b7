// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// The main of the test programs that need no widgets: an application object for event
// loops, timers and QProcess.

#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
