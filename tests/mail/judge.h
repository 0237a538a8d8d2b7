// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringList>

// Runs an outside decoder over `input` and returns what it wrote; empty program name when the
// tool is missing, so a test can skip.
inline QByteArray runJudge(const QString &program, const QStringList &arguments,
                           const QByteArray &input, int *exitCode = nullptr)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForStarted(30000))
        return {};
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(120000);
    if (exitCode)
        *exitCode = p.exitCode();
    return p.readAllStandardOutput();
}

inline QByteArray joinLines(const QByteArrayList &lines, const char *end = "\n")
{
    QByteArray out;
    for (const QByteArray &l : lines)
        out += l + end;
    return out;
}

inline QByteArray randomBytes(qsizetype n, quint32 seed)
{
    QRandomGenerator g(seed);
    QByteArray b(n, Qt::Uninitialized);
    for (auto &c : b)
        c = char(g.bounded(256));
    return b;
}
