// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

#include <functional>

class JobRecord;
class JobStore;
class QDialog;
class QDialogButtonBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QWidget;

// Small builders shared by the editor forms, so that every form gets the same keyboard
// behaviour: the accepting button is the default (Enter), the cancelling one answers Esc.
namespace FormHelpers {

// A button box with `acceptText` ("&Save", "&Ok") and "&Cancel", wired to the dialog's
// accept() and reject(). The buttons are named `accept` + "Button" by the caller.
QDialogButtonBox *buttons(QDialog *dialog, const QString &acceptText, const QString &acceptName,
    const QString &cancelName = QStringLiteral("ButtonCancel"));

QSpinBox *spin(QWidget *parent, const QString &name, int minimum, int maximum,
    const QString &hint = QString());

// A label whose mnemonic moves to `buddy`; also gives the buddy its accessible name.
QLabel *label(const QString &text, QWidget *buddy, QWidget *parent);

QPushButton *button(const QString &text, const QString &name, QWidget *parent,
    const QString &hint = QString());

// Esc and the close box of a job editor: closes through `close` when nothing changed,
// else asks whether to save (Yes runs `save` and accepts when it succeeds, No closes,
// Cancel stays).
void rejectAsking(QDialog *dialog, bool changed, const std::function<bool()> &save,
    const std::function<void()> &close);

// A job editor's save: the job `key` becomes `record` as one change; a failure is shown
// with the editor's title and leaves the stored job as it was.
bool writeJob(QDialog *editor, JobStore &store, const QString &key, const JobRecord &record);

} // namespace FormHelpers
