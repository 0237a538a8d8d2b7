// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/help/helptext.h"

#include <QCoreApplication>

namespace HelpText {

namespace {
QString tr(const char *text) { return QCoreApplication::translate("TipsForm", text); }
} // namespace

QString caption() { return tr("Halvorn 95/NT Embedded Help"); }
QString indexHeading() { return tr("Help Index"); }
QString indexButton() { return tr("&Index"); }
QString previousButton() { return tr("&Previous"); }
QString nextButton() { return tr("&Next"); }
QString copyButton() { return tr("&Copy"); }
QString printButton() { return tr("P&rint"); }
QString fontButton() { return tr("&Font"); }
QString openHelpButton() { return tr("Open &Help"); }
QString closeButton() { return tr("&Close"); }
QString nextHint(const QString &words) { return tr("click on next for help on ") + words; }
QString printIndexTitle() { return tr("Halvorn Help - Index"); }
QString printed() { return tr("Help text printed..."); }
QString printFailed() { return tr("The help text could not be printed."); }
QString noPrinter() { return tr("No printer is set up: the help text was not printed."); }
QString openHelpTitle() { return tr("Open a help file"); }
QString openHelpFilter()
{
    return tr("Help files (*.hlp *.chm *.html *.htm *.pdf *.txt *.md);;All files (*)");
}
QString cannotOpen(const QString &file)
{
    return tr("No program on this desktop can open %1.").arg(file);
}

} // namespace HelpText
