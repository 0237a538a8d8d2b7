// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/registryexport.h"

#include "platform/registry.h"

#include <QList>
#include <QStringList>

#include <cctype>

using namespace Qt::StringLiterals;

namespace RegistryExport {

namespace {

bool isControl(char16_t c) { return c < 0x20 || c == 0x7f; }

void percent(QString &out, QChar c)
{
    const QByteArray bytes = QString(c).toUtf8();
    for (const char b : bytes)
        out += u'%' + QString::number(uchar(b), 16).toUpper().rightJustified(2, u'0');
}

void exportKey(Registry &registry, const QString &key, QString &out)
{
    out += u'[';
    const QStringList names = key.split(u'\\');
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (i)
            out += u'\\';
        out += escape(names[i], false);
    }
    out += u"]\n"_s;
    for (const Registry::Value &value : registry.values(key))
        out += escape(value.first, true) + u'=' + escape(value.second, false) + u'\n';
    for (const QString &child : registry.subKeys(key))
        exportKey(registry, key + u'\\' + child, out);
}

struct Entry
{
    QString key;
    QList<Registry::Value> values;
};

} // namespace

QString escape(const QString &text, bool isName)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool special = c == u'%' || isControl(c.unicode())
            || (isName && (c == u'=' || (i == 0 && (c == u'[' || c == u';' || c.isSpace()))));
        if (special)
            percent(out, c);
        else
            out += c;
    }
    return out;
}

bool unescape(const QString &text, QString *result)
{
    if (!text.contains(u'%')) {
        *result = text;
        return true;
    }
    QByteArray bytes;
    const QByteArray utf8 = text.toUtf8();
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        if (utf8[i] != '%') {
            bytes += utf8[i];
            continue;
        }
        bool ok = i + 2 < utf8.size() && std::isxdigit(uchar(utf8[i + 1]))
            && std::isxdigit(uchar(utf8[i + 2]));
        const int value = ok ? utf8.mid(i + 1, 2).toInt(&ok, 16) : 0;
        if (!ok)
            return false;
        bytes += char(value);
        i += 2;
    }
    *result = QString::fromUtf8(bytes);
    return true;
}

QString exportTree(Registry &registry, const QString &key)
{
    QString out = QString::fromUtf16(header) + u'\n';
    QString trimmed = key;
    while (trimmed.endsWith(u'\\'))
        trimmed.chop(1);
    while (trimmed.startsWith(u'\\'))
        trimmed.remove(0, 1);
    if (trimmed.isEmpty()) {
        for (const QString &child : registry.subKeys(QString()))
            exportKey(registry, child, out);
    } else if (registry.keyExists(trimmed)) {
        // Names as first written, not as the caller typed them.
        QStringList parts = trimmed.split(u'\\');
        QString path;
        for (const QString &part : parts) {
            const QStringList siblings = registry.subKeys(path);
            QString actual = part;
            for (const QString &s : siblings)
                if (s.toUpper() == part.toUpper())
                    actual = s;
            path = path.isEmpty() ? actual : path + u'\\' + actual;
        }
        exportKey(registry, path, out);
    }
    return out;
}

bool importText(Registry &registry, const QString &text, QString *error)
{
    auto fail = [&](qsizetype line, const QString &why) {
        if (error)
            *error = u"line "_s + QString::number(line) + u": "_s + why;
        return false;
    };

    QStringList lines = text.split(u'\n');
    if (lines.isEmpty() || QString(lines[0]).remove(u'\r') != QString::fromUtf16(header))
        return fail(1, u"not a Halvorn registry export (the first line must be \""_s
            + QString::fromUtf16(header) + u"\")"_s);

    QList<Entry> entries;
    for (qsizetype n = 1; n < lines.size(); ++n) {
        QString line = lines[n];
        // Carriage returns in the data are escaped, so one here is an editor's line end.
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            if (!line.endsWith(u']'))
                return fail(n + 1, u"a key line must end with \"]\""_s);
            QStringList names = line.mid(1, line.size() - 2).split(u'\\');
            for (QString &name : names) {
                QString plain;
                if (name.isEmpty() || !unescape(name, &plain) || plain.isEmpty())
                    return fail(n + 1, u"the key path is not valid"_s);
                name = plain;
            }
            entries.append({names.join(u'\\'), {}});
            continue;
        }
        if (entries.isEmpty())
            return fail(n + 1, u"a value before the first key"_s);
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            return fail(n + 1, u"expected name=data"_s);
        if (eq == 0)
            return fail(n + 1, u"a value name cannot be empty"_s);
        QString name;
        QString data;
        if (!unescape(line.left(eq), &name) || !unescape(line.mid(eq + 1), &data))
            return fail(n + 1, u"a \"%\" must be followed by two hexadecimal digits"_s);
        entries.last().values.append({name, data});
    }

    Registry::Transaction transaction(registry);
    if (!transaction.isActive())
        return fail(0, u"the registry file cannot be written"_s);
    for (const Entry &entry : std::as_const(entries)) {
        bool ok = registry.createKey(entry.key);
        for (const Registry::Value &value : entry.values)
            ok = ok && registry.writeValue(entry.key, value.first, value.second);
        if (!ok) {
            transaction.fail();
            return fail(0, u"the registry file cannot be written"_s);
        }
    }
    if (!transaction.commit())
        return fail(0, u"the registry file cannot be written"_s);
    return true;
}

} // namespace RegistryExport
