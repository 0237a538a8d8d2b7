// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The help's topic list and topic texts. Each text is a resource (:/help/topics/<n>.txt,
// n without leading zeros): its first line is the title, its last line the link to the next
// topic ("160 using a custom schedule", or "000" where the chain ends).
namespace HelpTopics {

struct Entry
{
    int number;
    QString title; // as the index shows it, sub-entries indented by two spaces
};

// The index in its order.
const QList<Entry> &entries();

struct Topic
{
    QString heading;
    QString body; // without the first and last lines
    int next = 0;
    QString nextWords; // the link line from its fifth character on
};

// Nothing when the topic has no text.
std::optional<Topic> topic(int number);
// The text as stored, for the structure test.
QString rawText(int number);

} // namespace HelpTopics
