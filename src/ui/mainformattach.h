// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <functional>
#include <memory>

class DesktopPresence;
class MainForm;
class PrintExport;
class Settings;
class QWidget;
class TrayIcon;

// What the desktop program puts beside its main window. Both are called before
// MainForm::start().
namespace MainFormAttach {

// The tray icon (its menu is the window's popup menu) and the mini window. A left click
// on the icon and the mini window's restore and log buttons ask `allowShow` (the show
// password with its tray wording; unset: allowed); its close button asks the window's
// close question.
std::unique_ptr<DesktopPresence> presence(MainForm &window, TrayIcon &tray, Settings &settings,
    std::function<bool(QWidget *parent)> allowShow = {});

// Copy, Print and Print Setup of the window's menus and toolbar.
void printing(MainForm &window, PrintExport &exporter);

} // namespace MainFormAttach
