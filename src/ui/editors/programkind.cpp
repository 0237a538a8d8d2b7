// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/programkind.h"

#include "platform/commandline.h"
#include "ui/editors/editortext.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

QString ProgramKind::resolve(const QString &program)
{
    if (program.contains(u'/'))
        return program;
    // As execvp: the folders of PATH in order, an empty entry meaning the current folder.
    const QString path = qEnvironmentVariable("PATH", u"/usr/local/bin:/usr/bin:/bin"_s);
    for (const QString &folder : path.split(u':')) {
        const QString candidate = (folder.isEmpty() ? u"."_s : folder) + u'/' + program;
        const QFileInfo info(candidate);
        if (info.isFile() && info.isExecutable())
            return candidate;
    }
    return program;
}

QString ProgramKind::quote(const QString &path)
{
    static const QString special = u" \t\n'\"\\$`"_s;
    if (std::none_of(path.begin(), path.end(), [](QChar c) { return special.contains(c); }))
        return path;
    QString quoted = path;
    quoted.replace(u"'"_s, u"'\\''"_s);
    return u'\'' + quoted + u'\'';
}

QString ProgramKind::describe(const QString &programText)
{
    const QStringList words = CommandLine::split(programText).value_or(QStringList());
    if (words.isEmpty() || words.first().isEmpty())
        return QString();
    const QString program = resolve(words.first());
    const QFileInfo info(program);
    if (!info.exists())
        return EditorText::fileMissing();
    if (info.isDir())
        return EditorText::folderNotProgram();
    if (info.suffix().compare(u"inf"_s, Qt::CaseInsensitive) == 0)
        return EditorText::setupInf();
    if (!info.isExecutable())
        return EditorText::notExecutable();
    QFile file(program);
    if (!file.open(QIODevice::ReadOnly))
        return EditorText::notExecutable();
    const QByteArray head = file.read(256);
    if (head.startsWith("\x7f" "ELF"))
        return EditorText::elfExecutable();
    if (head.startsWith("#!")) {
        QByteArray line = head.mid(2);
        const qsizetype end = line.indexOf('\n');
        if (end >= 0)
            line.truncate(end);
        const QString interpreter = QString::fromUtf8(line.trimmed());
        if (!interpreter.isEmpty())
            return EditorText::scriptFor(interpreter);
    }
    // Without "#!" the launcher's exec refuses it: it does not fall back to a shell.
    return EditorText::notExecutable();
}
