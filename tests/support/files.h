// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QFile>
#include <QString>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

// Polls `condition` until it holds or `ms` milliseconds have gone by; for tests that wait on
// another process.
inline bool waitFor(const std::function<bool()> &condition, int ms = 30000)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (condition())
            return true;
        QThread::msleep(50);
    }
    return condition();
}

// The whole file, or nothing when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(data);
}
