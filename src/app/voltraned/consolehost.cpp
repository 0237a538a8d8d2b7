// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "consolehost.h"

#include <QCoreApplication>

#include <cstdio>

const QString ConsoleHost::statusPrefix = QStringLiteral("Status: ");
const QString ConsoleHost::messagePrefix = QStringLiteral("Message: ");

void ConsoleHost::print(const QString &text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

void ConsoleHost::logLineAdded(const QString &line) { print(line); }

void ConsoleHost::showStatus(const QString &text)
{
    // The status line shows only the latest text; repeating it every tick says nothing.
    if (text == m_lastStatus)
        return;
    m_lastStatus = text;
    print(statusPrefix + text);
}

void ConsoleHost::showMessage(const QString &text) { print(messagePrefix + text); }

void ConsoleHost::processPendingEvents() { QCoreApplication::processEvents(); }

void ConsoleHost::quit() { QCoreApplication::exit(0); }
