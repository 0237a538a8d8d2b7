// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/printexport.h"

#include "store/jobvalues.h"
#include "platform/clock.h"
#include "store/jobstore.h"
#include "ui/dialogs.h"
#include "ui/exporttext.h"
#include "ui/printcomposer.h"
#include "ui/textprinter.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocumentFragment>
#include <QTextEdit>

namespace {

// The log view's cursor, whichever kind of text view it is.
QTextCursor cursorOf(QWidget *view)
{
    if (auto *plain = qobject_cast<QPlainTextEdit *>(view))
        return plain->textCursor();
    if (auto *rich = qobject_cast<QTextEdit *>(view))
        return rich->textCursor();
    return {};
}

void setCursorOf(QWidget *view, const QTextCursor &cursor)
{
    if (auto *plain = qobject_cast<QPlainTextEdit *>(view))
        plain->setTextCursor(cursor);
    else if (auto *rich = qobject_cast<QTextEdit *>(view))
        rich->setTextCursor(cursor);
}

} // namespace

PrintExport::PrintExport(JobStore &store, const Clock &clock, QWidget *parent)
    : m_store(store), m_clock(clock), m_parent(parent)
{
}

PrintExport::~PrintExport() = default;

void PrintExport::setPrinter(QPrinter *printer) { m_printer = printer; }

QPrinter &PrintExport::printer()
{
    if (m_printer)
        return *m_printer;
    // Made at the first print: looking up the default printer asks CUPS.
    if (!m_defaultPrinter)
        m_defaultPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_defaultPrinter;
}

void PrintExport::status(const QString &text)
{
    if (m_status)
        m_status(text);
}

bool PrintExport::printLog(QWidget *logView, const QFont &font)
{
    QTextCursor cursor = cursorOf(logView);
    if (cursor.isNull())
        return false;
    status(ExportText::printing());
    // Taken from the view itself: the user's clipboard is no scratch area.
    const QString text = cursor.hasSelection() ? cursor.selection().toPlainText()
                                               : cursor.document()->toPlainText();
    QStringList lines = text.split(u'\n');
    if (text.isEmpty())
        lines.clear();
    const bool printed = TextPrinter::print(printer(), m_parent, ExportText::logTitle(), lines,
        font, m_clock.now());
    cursor.clearSelection();
    cursor.movePosition(QTextCursor::Start);
    setCursorOf(logView, cursor);
    status(QString());
    return printed;
}

bool PrintExport::copyLog(QWidget *logView)
{
    const QTextCursor cursor = cursorOf(logView);
    if (cursor.isNull() || !cursor.hasSelection()) {
        status(ExportText::nothingCopied());
        return false;
    }
    QApplication::clipboard()->setText(cursor.selection().toPlainText());
    status(ExportText::copied());
    return true;
}

std::optional<QStringList> PrintExport::chooseJobs(const QStringList &selected,
    const QStringList &all, const QString &question)
{
    if (!selected.isEmpty())
        return selected;
    if (Dialogs::current().question(m_parent, question) != Dialogs::Answer::Yes)
        return std::nullopt;
    return all;
}

QStringList PrintExport::jobLines(const QStringList &keys)
{
    QStringList lines;
    lines.reserve(keys.size() * 5);
    for (const QString &key : keys)
        lines.append(PrintComposer::jobBlock(m_store.values(key)));
    return lines;
}

bool PrintExport::printJobs(const QStringList &selected, const QStringList &all, const QFont &font)
{
    status(ExportText::printing());
    const auto jobs = chooseJobs(selected, all, ExportText::printWholeList());
    bool printed = false;
    if (jobs)
        printed = TextPrinter::print(printer(), m_parent, ExportText::jobListTitle(),
            jobLines(*jobs), font, m_clock.now());
    status(QString());
    return printed;
}

bool PrintExport::copyJobs(const QStringList &selected, const QStringList &all)
{
    const auto jobs = chooseJobs(selected, all, ExportText::copyWholeList());
    if (!jobs)
        return false;
    const QStringList lines = jobLines(*jobs);
    if (lines.isEmpty())
        return false;
    QApplication::clipboard()->setText(lines.join(u'\n') + u'\n');
    return true;
}

void PrintExport::printSetup()
{
    QPrintDialog dialog(&printer(), m_parent);
    dialog.exec();
}
