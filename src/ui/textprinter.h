// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QDateTime>
#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>

class QPrinter;
class QWidget;

// Prints plain lines: the heading with date and time, a blank line, then the lines, with
// page breaks where a page is full. The printer comes from the caller, so tests print into
// a PDF file. Lines wider than the page go on over the next line rather than being cut
// off at the paper's edge.
class TextPrinter
{
public:
    using Status = std::function<void(const QString &text)>;

    // False after "Error Printing text." was shown (no printer, a printer error, a file that
    // cannot be written); the rest of the document is dropped. `status`, when given, shows
    // "please wait, printing..." meanwhile and is cleared in every case.
    static bool print(QPrinter &printer, QWidget *parent, const QString &title,
        const QStringList &lines, const QFont &font, const QDateTime &now,
        const Status &status = {});

private:
    static bool render(QPrinter &printer, const QStringList &document, const QFont &font);
};
