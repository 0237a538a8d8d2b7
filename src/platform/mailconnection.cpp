// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/mailconnection.h"

#include <utility>

namespace {
// Our own texts for the codes this layer reports and the common Winsock ones.
constexpr std::pair<int, const char *> kTexts[] = {
    {10004, "Interrupted function call"},
    {10013, "Permission denied"},
    {10022, "Invalid argument"},
    {10024, "Too many open files"},
    {10035, "Resource temporarily unavailable"},
    {10048, "Address already in use"},
    {10049, "Cannot assign requested address"},
    {10050, "Network is down"},
    {10051, "Network is unreachable"},
    {10053, "Software caused connection abort"},
    {10054, "Connection reset by peer"},
    {10060, "Connection timed out"},
    {10061, "Connection refused"},
    {10064, "Host is down"},
    {10065, "No route to host"},
    {10101, "Connection closed by the server"},
    {11001, "Host not found"},
    {11002, "Non-authoritative host not found, or server failure"},
    {20001, "TLS failed"},
};
} // namespace

QString winsockErrorText(int code)
{
    if (code == 0)
        return {};
    for (const auto &[known, text] : kTexts)
        if (known == code)
            return QString::fromLatin1(text);
    return QStringLiteral("Winsock Error No. ") + QString::number(code);
}
