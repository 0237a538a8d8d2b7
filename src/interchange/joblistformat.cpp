// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "interchange/joblistformat.h"

namespace JobListFormat {

const QString headerSection = QStringLiteral("SaveFileInfo");
const QString fileTypeKey = QStringLiteral("sFileType");
const QString signature = QStringLiteral("Halvorn Job List Save File");
const QString saveDateKey = QStringLiteral("sSaveDate");
const QString saveTimeKey = QStringLiteral("sSaveTime");
const QString escapesKey = QStringLiteral("bEscapedValues");
const QString escapeMarker = QStringLiteral("\\:");

bool needsEscape(const QString &value)
{
    return value.contains(u'\n') || value.contains(u'\r') || value.startsWith(escapeMarker);
}

QString escape(const QString &value)
{
    QString out = escapeMarker;
    out.reserve(escapeMarker.size() + value.size() + value.size() / 8);
    for (const QChar c : value) {
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else
            out += c;
    }
    return out;
}

QString unescape(const QString &text)
{
    if (!text.startsWith(escapeMarker))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = escapeMarker.size(); i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\\' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar next = text[++i];
        if (next == u'\\')
            out += u'\\';
        else if (next == u'n')
            out += u'\n';
        else if (next == u'r')
            out += u'\r';
        else {
            out += c;
            out += next;
        }
    }
    return out;
}

} // namespace JobListFormat
