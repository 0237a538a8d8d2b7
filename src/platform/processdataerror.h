// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "platform/messageerror.h"

// Raised when the process list cannot be had.
class EProcessDataError : public MessageError
{
public:
    using MessageError::MessageError;
};
