// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/dialogs.h"

#include "ui/mainformtext.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>

Dialogs *Dialogs::s_current = nullptr;

Dialogs &Dialogs::current()
{
    static QtDialogs real;
    return s_current ? *s_current : real;
}

Dialogs::Override::Override(Dialogs &dialogs) : m_previous(s_current) { s_current = &dialogs; }

Dialogs::Override::~Override() { s_current = m_previous; }

namespace {

QString titleOr(const QString &title)
{
    return title.isEmpty() ? MainFormText::caption() : title;
}

} // namespace

void QtDialogs::message(QWidget *parent, Kind kind, const QString &text, const QString &title)
{
    QMessageBox::Icon icon = QMessageBox::Information;
    if (kind == Kind::Warning)
        icon = QMessageBox::Warning;
    else if (kind == Kind::Error)
        icon = QMessageBox::Critical;
    QMessageBox box(icon, titleOr(title), text, QMessageBox::Ok, parent);
    box.exec();
}

void QtDialogs::notice(QWidget *parent, const QString &text, const QString &title)
{
    auto *box = new QMessageBox(QMessageBox::Information, titleOr(title), text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

Dialogs::Answer QtDialogs::question(QWidget *parent, const QString &text, Buttons buttons,
    const QString &title)
{
    QMessageBox::StandardButtons standard;
    switch (buttons) {
    case Buttons::Ok: standard = QMessageBox::Ok; break;
    case Buttons::OkCancel: standard = QMessageBox::Ok | QMessageBox::Cancel; break;
    case Buttons::YesNo: standard = QMessageBox::Yes | QMessageBox::No; break;
    case Buttons::YesNoCancel:
        standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    }
    QMessageBox box(QMessageBox::Question, titleOr(title), text, standard, parent);
    switch (box.exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default:
        // Esc or the close box on a box without Cancel counts as No.
        return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
}

std::optional<QString> QtDialogs::prompt(QWidget *parent, const QString &title,
    const QString &label, const QString &initial, bool password)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, titleOr(title), label,
        password ? QLineEdit::Password : QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString QtDialogs::openFileName(QWidget *parent, const QString &title, const QString &path,
    const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, title, path, filter);
}

QStringList QtDialogs::openFileNames(QWidget *parent, const QString &title,
    const QString &path, const QString &filter)
{
    return QFileDialog::getOpenFileNames(parent, title, path, filter);
}

QString QtDialogs::saveFileName(QWidget *parent, const QString &title, const QString &path,
    const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, title, path, filter);
}

QString QtDialogs::saveFileNameUnconfirmed(QWidget *parent, const QString &title,
    const QString &path, const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, title, path, filter, nullptr,
        QFileDialog::DontConfirmOverwrite);
}

QString QtDialogs::folderName(QWidget *parent, const QString &title, const QString &path)
{
    return QFileDialog::getExistingDirectory(parent, title, path);
}

std::optional<QFont> QtDialogs::font(QWidget *parent, const QFont &initial)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, parent);
    if (!ok)
        return std::nullopt;
    return chosen;
}

std::optional<QColor> QtDialogs::colour(QWidget *parent, const QColor &initial)
{
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}
