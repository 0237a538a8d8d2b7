// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class ActivityLog;
class Settings;

// The settings pre-load file named on the command line after "/LOADFILE": the entries of
// its `Config` section are copied into the Config settings by the first letter of their
// names ("s" text, "i" integer, "b" boolean; anything else, upper case too, is counted and
// skipped). Run it before any setting is read, so that everything it writes counts in
// the same run; its log lines go to the log file the settings name once it has run.
class PreloadSettings
{
public:
    // Shows a message and returns when the user has closed it (the headless program prints it).
    using ShowMessage = std::function<void(const QString &text)>;

    PreloadSettings(Settings &settings, ActivityLog &log, ShowMessage showMessage);

    // The folder of names without one; the program's own unless set.
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }

    // `arguments` as QCoreApplication::arguments(), the program first. The file name when
    // the first argument is "/LOADFILE" in any letter case and a non-empty second follows;
    // otherwise empty.
    static QString fileNameFrom(const QStringList &arguments);

    // Loads the file the arguments name, if any. True when they named one.
    bool run(const QStringList &arguments);
    // Loads the file `name`, resolved against the program's folder when it has none.
    void load(const QString &name);

private:
    Settings &m_settings;
    ActivityLog &m_log;
    ShowMessage m_showMessage;
    QString m_programFolder;
};
