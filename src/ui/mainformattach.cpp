// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/mainformattach.h"

#include "ui/desktoppresence.h"
#include "ui/joblistmodel.h"
#include "ui/mainform.h"
#include "ui/printexport.h"

#include <QPlainTextEdit>

namespace MainFormAttach {

std::unique_ptr<DesktopPresence> presence(MainForm &window, TrayIcon &tray, Settings &settings)
{
    DesktopPresence::Hooks hooks;
    hooks.showFromTray = [&window] { window.showFromTray(); };
    hooks.restore = [&window](DesktopPresence::Page page) {
        return window.showFromMiniWindow(page == DesktopPresence::Page::Log);
    };
    hooks.close = [&window] { return window.closeWithQuestion(); };
    auto presence = std::make_unique<DesktopPresence>(&window, tray, settings, std::move(hooks));
    presence->setTrayMenu(window.popupMenu());
    window.setTrayHooks(presence.get());
    return presence;
}

void printing(MainForm &window, PrintExport &exporter)
{
    exporter.setStatus([&window](const QString &text) { window.showStatus(text); });
    window.setPrintHandler([&window, &exporter](MainForm::Output output, bool logPage) {
        QPlainTextEdit *log = window.logView();
        if (output == MainForm::Output::PrintSetup) {
            exporter.printSetup();
            return;
        }
        if (logPage) {
            if (output == MainForm::Output::Print)
                exporter.printLog(log, log->font());
            else
                exporter.copyLog(log);
            return;
        }
        QStringList all;
        for (int row = 0; row < window.jobList()->rowCount(); ++row)
            all.append(window.jobList()->keyAt(row));
        // The Log page's font, as the printout of the log.
        if (output == MainForm::Output::Print)
            exporter.printJobs(window.selectedKeys(), all, log->font());
        else
            exporter.copyJobs(window.selectedKeys(), all);
    });
}

} // namespace MainFormAttach
