// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/jobrecord.h"

#include "store/valuecodec.h"

void JobRecord::integer(const QString &name, int value)
{
    m_values.append({ name, ValueCodec::formatInteger(value) });
}

void JobRecord::boolean(const QString &name, bool value)
{
    m_values.append({ name, ValueCodec::formatBoolean(value) });
}
