// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "platform/messageerror.h"

// The mail classes' exceptions: each carries only its message.
class EMailBaseError : public MessageError
{
public:
    using MessageError::MessageError;
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
