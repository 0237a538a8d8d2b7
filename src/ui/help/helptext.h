// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

// The window texts and messages of the embedded help.
namespace HelpText {

QString caption();
QString indexHeading();
QString indexButton();
QString previousButton();
QString nextButton();
QString copyButton();
QString printButton();
QString fontButton();
QString openHelpButton();
QString closeButton();
QString nextHint(const QString &words); // "click on next for help on " + words
QString printIndexTitle();              // "Halvorn Help - Index"
QString printed();                      // "Help text printed..."
QString printFailed();
QString noPrinter();
QString openHelpTitle();
QString openHelpFilter();
QString cannotOpen(const QString &file);

} // namespace HelpText
