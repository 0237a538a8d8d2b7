// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// The mail classes' exceptions: each carries only its message.
class EMailBaseError : public std::exception
{
public:
    explicit EMailBaseError(const QString &message)
        : m_message(message), m_what(message.toUtf8())
    {
    }

    QString message() const { return m_message; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    QString m_message;
    QByteArray m_what;
};

// Protocol and name errors; a refused reply carries the server's text.
class EMailError : public EMailBaseError
{
public:
    using EMailBaseError::EMailBaseError;
};

// Socket failures, with the Winsock-style texts of winsockerror.h.
class ESocketError : public EMailBaseError
{
public:
    using EMailBaseError::EMailBaseError;
};

class ECanceledError : public EMailBaseError
{
public:
    ECanceledError() : EMailBaseError(QStringLiteral("Operation has been canceled")) {}
};

class ETimedOutError : public EMailBaseError
{
public:
    ETimedOutError() : EMailBaseError(QStringLiteral("Operation timed out")) {}
};

// The content coders' failures.
class EMIMEError : public EMailBaseError
{
public:
    using EMailBaseError::EMailBaseError;
};
