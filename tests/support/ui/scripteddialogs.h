// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "ui/dialogs.h"

#include <QList>

#include <variant>

// A Dialogs double for tests: each expected dialog is queued with its kind, its exact text
// (the message or question; the title for prompts and file, font and colour dialogs) and
// the answer to give. An unexpected dialog, a different text, or an expectation left over
// when the double is destroyed fails the running test. Installs itself for its lifetime.
class ScriptedDialogs : public Dialogs
{
public:
    // What a dialog returns: an Answer for messages and questions, a text (or nothing for
    // cancel) for prompts and file dialogs, a list for openFileNames, a font or colour.
    using Reply = std::variant<std::monostate, Answer, QString, QStringList, QFont, QColor>;

    struct Seen
    {
        Kind kind;
        QString text;
    };

    ScriptedDialogs();
    ~ScriptedDialogs() override;

    // Queues one expected dialog. Messages need no reply (OK); a monostate reply cancels.
    ScriptedDialogs &expect(Kind kind, const QString &text, Reply reply = {});

    // Every dialog shown so far, in order.
    const QList<Seen> &seen() const { return m_seen; }
    bool allConsumed() const { return m_expected.isEmpty(); }

    void message(QWidget *parent, Kind kind, const QString &text, const QString &title) override;
    Answer question(QWidget *parent, const QString &text, Buttons buttons,
        const QString &title) override;
    std::optional<QString> prompt(QWidget *parent, const QString &title, const QString &label,
        const QString &initial, bool password) override;
    QString openFileName(QWidget *parent, const QString &title, const QString &path,
        const QString &filter) override;
    QStringList openFileNames(QWidget *parent, const QString &title, const QString &path,
        const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &title, const QString &path,
        const QString &filter) override;
    QString folderName(QWidget *parent, const QString &title, const QString &path) override;
    std::optional<QFont> font(QWidget *parent, const QFont &initial) override;
    std::optional<QColor> colour(QWidget *parent, const QColor &initial) override;

private:
    struct Expected
    {
        Kind kind;
        QString text;
        Reply reply;
    };
    // Takes the next expectation if it matches; fails the test and returns nothing otherwise.
    std::optional<Reply> take(Kind kind, const QString &text);
    QString textReply(Kind kind, const QString &text);

    QList<Expected> m_expected;
    QList<Seen> m_seen;
    Override m_override;
};
