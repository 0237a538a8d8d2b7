// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "store/valuecodec.h"

namespace ValueCodec {

std::optional<int> parseInteger(const QString &text)
{
    bool ok = false;
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        const QStringView digits = QStringView(text).mid(2);
        // toUInt would accept a sign or blanks after the prefix.
        for (QChar c : digits)
            if (!c.isDigit() && !(c.toLower() >= u'a' && c.toLower() <= u'f'))
                return std::nullopt;
        const uint value = digits.toUInt(&ok, 16);
        return ok ? std::optional<int>(int(value)) : std::nullopt;
    }
    const int value = text.toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

int readInteger(const std::optional<QString> &stored, int defaultValue)
{
    if (!stored)
        return defaultValue;
    return parseInteger(*stored).value_or(defaultValue);
}

bool readBoolean(const std::optional<QString> &stored, bool defaultValue)
{
    return readInteger(stored, defaultValue ? 1 : 0) != 0;
}

} // namespace ValueCodec
