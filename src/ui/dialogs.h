// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

// Every message box, question, file, font and colour dialog and text prompt of the desktop
// program goes through this seam, so that tests script the expected texts and the answers.
// Windows and dialogs call Dialogs::current(); tests install a scripted double with
// Dialogs::Override for their scope.
class Dialogs
{
public:
    enum class Kind { Information, Warning, Error, Question, Prompt, OpenFile, OpenFiles,
        SaveFile, Folder, Font, Colour };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Dialogs() = default;

    // A message with only OK (Information, Warning or Error). Blocks until closed.
    virtual void message(QWidget *parent, Kind kind, const QString &text,
        const QString &title = QString()) = 0;
    // A message that does not wait: it stays on the screen until closed while the program
    // goes on (the engine's messages during a run). Tests see it as an Information message.
    virtual void notice(QWidget *parent, const QString &text, const QString &title = QString())
    {
        message(parent, Kind::Information, text, title);
    }
    // A question; Cancel (also Esc and the close box) when the buttons offer it, else No.
    virtual Answer question(QWidget *parent, const QString &text,
        Buttons buttons = Buttons::YesNo, const QString &title = QString()) = 0;
    // A line of text; nothing when cancelled. `password` masks what is typed.
    virtual std::optional<QString> prompt(QWidget *parent, const QString &title,
        const QString &label, const QString &initial = QString(), bool password = false) = 0;

    // File dialogs give an empty result when cancelled. `filter` is in Qt's form
    // ("Job lists (*.sav);;All files (*)").
    virtual QString openFileName(QWidget *parent, const QString &title, const QString &path,
        const QString &filter) = 0;
    virtual QStringList openFileNames(QWidget *parent, const QString &title,
        const QString &path, const QString &filter) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &path,
        const QString &filter) = 0;
    virtual QString folderName(QWidget *parent, const QString &title, const QString &path) = 0;
    // A save dialog that does not ask about replacing an existing file: the caller asks
    // with its own text. Tests see it as SaveFile.
    virtual QString saveFileNameUnconfirmed(QWidget *parent, const QString &title,
        const QString &path, const QString &filter)
    {
        return saveFileName(parent, title, path, filter);
    }

    virtual std::optional<QFont> font(QWidget *parent, const QFont &initial) = 0;
    virtual std::optional<QColor> colour(QWidget *parent, const QColor &initial) = 0;

    // The instance in use: the Qt dialogs unless a test has overridden it.
    static Dialogs &current();

    // Installs another instance for its lifetime (tests).
    class Override
    {
    public:
        explicit Override(Dialogs &dialogs);
        ~Override();
        Override(const Override &) = delete;
        Override &operator=(const Override &) = delete;

    private:
        Dialogs *m_previous;
    };

private:
    static Dialogs *s_current;
};

// The real dialogs: QMessageBox, QInputDialog, QFileDialog, QFontDialog, QColorDialog.
class QtDialogs : public Dialogs
{
public:
    void message(QWidget *parent, Kind kind, const QString &text, const QString &title) override;
    void notice(QWidget *parent, const QString &text, const QString &title) override;
    Answer question(QWidget *parent, const QString &text, Buttons buttons,
        const QString &title) override;
    std::optional<QString> prompt(QWidget *parent, const QString &title, const QString &label,
        const QString &initial, bool password) override;
    QString saveFileNameUnconfirmed(QWidget *parent, const QString &title, const QString &path,
        const QString &filter) override;
    QString openFileName(QWidget *parent, const QString &title, const QString &path,
        const QString &filter) override;
    QStringList openFileNames(QWidget *parent, const QString &title, const QString &path,
        const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &title, const QString &path,
        const QString &filter) override;
    QString folderName(QWidget *parent, const QString &title, const QString &path) override;
    std::optional<QFont> font(QWidget *parent, const QFont &initial) override;
    std::optional<QColor> colour(QWidget *parent, const QColor &initial) override;
};
