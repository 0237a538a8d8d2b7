// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/desktopentry.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace DesktopEntry {

QString escapeValue(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (QChar c : value) {
        switch (c.unicode()) {
        case u'\\': out += u"\\\\"; break;
        case u'\n': out += u"\\n"; break;
        case u'\t': out += u"\\t"; break;
        case u'\r': out += u"\\r"; break;
        default: out += c;
        }
    }
    return out;
}

QString execValue(const QStringList &arguments)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QStringList quoted;
    for (const QString &argument : arguments) {
        QString word;
        bool needsQuotes = argument.isEmpty();
        for (QChar c : argument) {
            if (reserved.contains(c))
                needsQuotes = true;
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                word += u'\\';
            word += c;
            // A field code would be expanded by the launcher.
            if (c == u'%')
                word += u'%';
        }
        quoted.append(needsQuotes ? u'"' + word + u'"' : word);
    }
    // The string escapes apply before the quoting rules when the launcher reads it back.
    return escapeValue(quoted.join(u' '));
}

QString fileNamePart(const QString &name)
{
    QString out;
    for (QChar c : name.toLower()) {
        if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
            out += c;
        else if (!out.isEmpty() && !out.endsWith(u'-'))
            out += u'-';
    }
    while (out.endsWith(u'-'))
        out.chop(1);
    return out.isEmpty() ? QStringLiteral("item") : out;
}

bool writeFile(const QString &path, const QString &contents)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(contents.toUtf8());
    return file.commit();
}

} // namespace DesktopEntry
