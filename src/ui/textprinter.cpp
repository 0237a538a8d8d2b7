// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/textprinter.h"

#include "ui/dialogs.h"
#include "ui/exporttext.h"
#include "ui/printcomposer.h"

#include <QPainter>
#include <QPrinter>
#include <QTextLayout>

bool TextPrinter::print(QPrinter &printer, QWidget *parent, const QString &title,
    const QStringList &lines, const QFont &font, const QDateTime &now, const Status &status)
{
    if (status)
        status(ExportText::printing());
    const bool printed = render(printer, PrintComposer::document(title, lines, now), font);
    if (!printed)
        Dialogs::current().message(parent, Dialogs::Kind::Error, ExportText::printError());
    if (status)
        status(QString());
    return printed;
}

bool TextPrinter::render(QPrinter &printer, const QStringList &document, const QFont &font)
{
    // A native printer without a name is no printer at all: nothing is set up in CUPS.
    if (printer.outputFormat() == QPrinter::NativeFormat
        && (printer.printerName().isEmpty() || !printer.isValid()))
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    painter.setFont(QFont(font, painter.device()));
    painter.setPen(Qt::black);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const qreal width = page.width();
    const qreal height = page.height();
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const qreal lineSpacing = QFontMetricsF(painter.font(), painter.device()).lineSpacing();

    qreal y = 0;
    for (const QString &text : document) {
        QTextLayout layout(text, painter.font(), painter.device());
        layout.setTextOption(option);
        layout.beginLayout();
        QList<QTextLine> parts;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            parts.append(line);
        }
        layout.endLayout();
        const int count = qMax(1, int(parts.size()));
        for (int i = 0; i < count; ++i) {
            if (y > 0 && y + lineSpacing > height) {
                if (!printer.newPage())
                    return false;
                y = 0;
            }
            if (i < parts.size()) {
                parts[i].setPosition(QPointF(0, 0));
                parts[i].draw(&painter, QPointF(0, y));
            }
            y += lineSpacing;
        }
    }
    return painter.end() && printer.printerState() != QPrinter::Error;
}
