// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// An exception that carries only its message, for the families of errors the program
// raises and shows to the user.
class MessageError : public std::exception
{
public:
    explicit MessageError(const QString &message)
        : m_message(message), m_what(message.toUtf8())
    {
    }

    QString message() const { return m_message; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    QString m_message;
    QByteArray m_what;
};
