// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/commandline.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

const QString unterminatedSingle = u"a single quote is not closed"_s;
const QString unterminatedDouble = u"a double quote is not closed"_s;

bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n'; }

} // namespace

std::optional<QStringList> CommandLine::split(const QString &text, QString *error)
{
    QStringList words;
    QString word;
    // A word exists once any of its characters or quotes has been seen, so '' is a word.
    bool inWord = false;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (isBlank(c)) {
            if (inWord)
                words.append(std::exchange(word, QString()));
            inWord = false;
            continue;
        }
        if (c == u'\\') {
            if (i + 1 == n) {
                // As sh does: a backslash at the very end stands for itself.
                word += c;
                inWord = true;
            } else if (text.at(i + 1) == u'\n') {
                ++i; // line continuation
            } else {
                word += text.at(++i);
                inWord = true;
            }
            continue;
        }
        inWord = true;
        if (c == u'\'') {
            const qsizetype close = text.indexOf(u'\'', i + 1);
            if (close < 0) {
                if (error)
                    *error = unterminatedSingle;
                return std::nullopt;
            }
            word += QStringView(text).sliced(i + 1, close - i - 1);
            i = close;
        } else if (c == u'"') {
            for (++i;; ++i) {
                if (i == n) {
                    if (error)
                        *error = unterminatedDouble;
                    return std::nullopt;
                }
                const QChar d = text.at(i);
                if (d == u'"')
                    break;
                if (d == u'\\' && i + 1 < n) {
                    const QChar next = text.at(i + 1);
                    if (next == u'\n') {
                        ++i;
                        continue;
                    }
                    if (next == u'$' || next == u'`' || next == u'"' || next == u'\\') {
                        word += next;
                        ++i;
                        continue;
                    }
                }
                word += d;
            }
        } else {
            word += c;
        }
    }
    if (inWord)
        words.append(word);
    return words;
}

std::optional<QStringList> CommandLine::splitJob(const QString &program, const QString &arguments,
    QString *error)
{
    const bool whole = !program.isEmpty()
        && (program.contains(u'/') ? QFileInfo(program).isFile()
                                   : !QStandardPaths::findExecutable(program).isEmpty());
    if (!whole)
        return split(arguments.isEmpty() ? program : program + u' ' + arguments, error);
    auto words = split(arguments, error);
    if (words)
        words->prepend(program);
    return words;
}
