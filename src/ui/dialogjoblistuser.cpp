// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/dialogjoblistuser.h"

#include "ui/dialogs.h"

#include <QCoreApplication>

QString DialogJobListUser::saveTitle()
{
    return QCoreApplication::translate("MainForm", "Save Job list to File");
}

QString DialogJobListUser::openTitle()
{
    return QCoreApplication::translate("MainForm", "Read Job list from file");
}

QString DialogJobListUser::filter()
{
    return QCoreApplication::translate("MainForm", "Job lists (*.sav);;All files (*)");
}

std::optional<QString> DialogJobListUser::chooseSaveFile(const QString &preset)
{
    const QString path = Dialogs::current().saveFileNameUnconfirmed(m_parent, saveTitle(), preset, filter());
    return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
}

std::optional<QString> DialogJobListUser::chooseOpenFile(const QString &preset)
{
    const QString path = Dialogs::current().openFileName(m_parent, openTitle(), preset, filter());
    return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
}

bool DialogJobListUser::askYesNo(Question, const QString &text)
{
    return Dialogs::current().question(m_parent, text) == Dialogs::Answer::Yes;
}

void DialogJobListUser::showMessage(const QString &text)
{
    Dialogs::current().message(m_parent, Dialogs::Kind::Information, text);
}
