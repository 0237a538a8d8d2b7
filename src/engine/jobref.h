// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

#include <utility>

// A job as its run knows it: the key everything about it is read from and recorded
// under, and its sJobName, which names it in the log and in mails. The two differ only
// for a key edited outside the program.
struct Job
{
    // A job whose key is its name, as for every job the program saved itself.
    explicit Job(const QString &keyAndName)
        : key(keyAndName)
        , name(keyAndName)
    {
    }
    Job(QString key, QString name)
        : key(std::move(key))
        , name(std::move(name))
    {
    }

    QString key;
    QString name;
};
