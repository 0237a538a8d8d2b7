// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <memory>

class DesktopPresence;
class MainForm;
class PrintExport;
class Settings;
class TrayIcon;

// What the desktop program puts beside its main window. Both are called before
// MainForm::start().
namespace MainFormAttach {

// The tray icon (its menu is the window's popup menu) and the mini window, whose
// buttons go through the window's show password and close question.
std::unique_ptr<DesktopPresence> presence(MainForm &window, TrayIcon &tray, Settings &settings);

// Copy, Print and Print Setup of the window's menus and toolbar.
void printing(MainForm &window, PrintExport &exporter);

} // namespace MainFormAttach
