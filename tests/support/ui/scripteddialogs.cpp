// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "support/ui/scripteddialogs.h"

#include <gtest/gtest.h>

namespace {

const char *kindName(Dialogs::Kind kind)
{
    static const char *const names[] = {"Information", "Warning", "Error", "Question", "Prompt",
        "OpenFile", "OpenFiles", "SaveFile", "Folder", "Font", "Colour"};
    return names[static_cast<int>(kind)];
}

} // namespace

ScriptedDialogs::ScriptedDialogs() : m_override(*this) {}

ScriptedDialogs::~ScriptedDialogs()
{
    for (const Expected &left : m_expected)
        ADD_FAILURE() << "expected dialog never shown: " << kindName(left.kind) << " \""
                      << left.text.toStdString() << '"';
}

ScriptedDialogs &ScriptedDialogs::expect(Kind kind, const QString &text, Reply reply)
{
    m_expected.append({kind, text, std::move(reply)});
    return *this;
}

std::optional<ScriptedDialogs::Reply> ScriptedDialogs::take(Kind kind, const QString &text)
{
    m_seen.append({kind, text});
    if (m_expected.isEmpty()) {
        ADD_FAILURE() << "unexpected dialog: " << kindName(kind) << " \"" << text.toStdString()
                      << '"';
        return std::nullopt;
    }
    const Expected next = m_expected.takeFirst();
    if (next.kind != kind || next.text != text) {
        ADD_FAILURE() << "dialog shown: " << kindName(kind) << " \"" << text.toStdString()
                      << "\"; expected: " << kindName(next.kind) << " \""
                      << next.text.toStdString() << '"';
        return std::nullopt;
    }
    return next.reply;
}

void ScriptedDialogs::message(QWidget *, Kind kind, const QString &text, const QString &)
{
    take(kind, text);
}

Dialogs::Answer ScriptedDialogs::question(QWidget *, const QString &text, Buttons buttons,
    const QString &)
{
    const auto reply = take(Kind::Question, text);
    if (reply && std::holds_alternative<Answer>(*reply))
        return std::get<Answer>(*reply);
    return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

std::optional<QString> ScriptedDialogs::prompt(QWidget *, const QString &title,
    const QString &, const QString &, bool)
{
    const auto reply = take(Kind::Prompt, title);
    if (reply && std::holds_alternative<QString>(*reply))
        return std::get<QString>(*reply);
    return std::nullopt;
}

QString ScriptedDialogs::textReply(Kind kind, const QString &text)
{
    const auto reply = take(kind, text);
    if (reply && std::holds_alternative<QString>(*reply))
        return std::get<QString>(*reply);
    return {};
}

QString ScriptedDialogs::openFileName(QWidget *, const QString &title, const QString &,
    const QString &)
{
    return textReply(Kind::OpenFile, title);
}

QStringList ScriptedDialogs::openFileNames(QWidget *, const QString &title, const QString &,
    const QString &)
{
    const auto reply = take(Kind::OpenFiles, title);
    if (reply && std::holds_alternative<QStringList>(*reply))
        return std::get<QStringList>(*reply);
    return {};
}

QString ScriptedDialogs::saveFileName(QWidget *, const QString &title, const QString &,
    const QString &)
{
    return textReply(Kind::SaveFile, title);
}

QString ScriptedDialogs::folderName(QWidget *, const QString &title, const QString &)
{
    return textReply(Kind::Folder, title);
}

std::optional<QFont> ScriptedDialogs::font(QWidget *, const QFont &)
{
    const auto reply = take(Kind::Font, QString());
    if (reply && std::holds_alternative<QFont>(*reply))
        return std::get<QFont>(*reply);
    return std::nullopt;
}

std::optional<QColor> ScriptedDialogs::colour(QWidget *, const QColor &)
{
    const auto reply = take(Kind::Colour, QString());
    if (reply && std::holds_alternative<QColor>(*reply))
        return std::get<QColor>(*reply);
    return std::nullopt;
}
