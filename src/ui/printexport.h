// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QFont>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class Clock;
class JobStore;
class QPrinter;
class QWidget;

// Print and Copy of the main window: the log's text, or the jobs of the job list as blocks
// of five lines. Every print goes to one printer: the default printer, or the one chosen in
// "Print &Setup...". Printing never touches the clipboard.
class PrintExport
{
public:
    using Status = std::function<void(const QString &text)>;

    PrintExport(JobStore &store, const Clock &clock, QWidget *parent);
    ~PrintExport();

    // The printer of later prints (tests hand in a PDF printer); not owned. Null returns
    // to the default printer.
    void setPrinter(QPrinter *printer);
    QPrinter &printer();
    // The status line of the main window.
    void setStatus(Status status) { m_status = std::move(status); }

    // The log page (a QPlainTextEdit or QTextEdit): its selection, else all of it. The
    // selection is cleared afterwards, the caret put at the start.
    bool printLog(QWidget *logView, const QFont &font);
    // Copies the log's selection; with nothing selected nothing is copied and the status
    // line says so.
    bool copyLog(QWidget *logView);

    // The jobs of the "&Scheduler" page: `selected` and `all` hold the job keys in the
    // list's display order. With none selected the user is asked about the whole list.
    bool printJobs(const QStringList &selected, const QStringList &all, const QFont &font);
    bool copyJobs(const QStringList &selected, const QStringList &all);

    // The lines of the given jobs, one block each, in the given order.
    QStringList jobLines(const QStringList &keys);

    // "Print &Setup...": the system's print dialog on the printer of later prints.
    void printSetup();

private:
    // The keys to act on, or nothing when the user declined the whole list.
    std::optional<QStringList> chooseJobs(const QStringList &selected, const QStringList &all,
        const QString &question);
    void status(const QString &text);

    JobStore &m_store;
    const Clock &m_clock;
    QWidget *m_parent;
    Status m_status;
    QPrinter *m_printer = nullptr;
    std::unique_ptr<QPrinter> m_defaultPrinter;
};
