// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QDialog>
#include <QFont>
#include <QMap>

#include <functional>
#include <memory>

class HalvPassword;
class QLineEdit;
class Settings;
namespace Ui {
class ConfigForm;
}

// `TConfigForm`: the editor of every Config and Email setting. Reads them all when
// created; "&Save" writes them all in one transaction and closes with Accepted; "&Cancel"
// writes nothing. Clearing the log file and setting the password act at once, whatever
// the dialog's end. Created for one showing.
class ConfigForm : public QDialog
{
    Q_OBJECT
public:
    ConfigForm(Settings &settings, HalvPassword &password, QWidget *parent = nullptr);
    ~ConfigForm() override;

    // The main window's configuration action: shows the dialog modally, true for Save.
    // A log file emptied before Cancel still calls `reloadLogAfterCancel`, so the log page
    // does not keep showing lines the file no longer has.
    static bool run(QWidget *parent, Settings &settings, HalvPassword &password,
        const std::function<void()> &reloadLogAfterCancel);

    // The user picked a font or colour (the main window then applies the general font).
    bool fontChanged() const { return m_fontChanged; }
    // The user emptied the log file (the main window then reloads its log page, also
    // after Cancel).
    bool logCleared() const { return m_logCleared; }

    // Writes every setting in one transaction; false when the registry refused it, in
    // which case nothing was written.
    bool save();

private:
    void load();
    void showFont();
    void chooseFont();
    void chooseColour();
    void getSystemOwner();
    void updateStartupFileControls();
    void browse(QLineEdit *field, const QString &title, const QString &filter, bool forSaving);
    void clearLog();
    void setPassword();
    void showDriveFolder();
    void keepDriveFolder();
    void saveClicked();
    bool guardsOnWithoutPassword() const;

    std::unique_ptr<Ui::ConfigForm> m_ui;
    Settings &m_settings;
    HalvPassword &m_password;
    QFont m_font;
    QString m_fontName;  // as stored: a name the system lacks is kept, not its substitute
    int m_fontColor = 0; // Windows colour number, as stored
    bool m_fontChanged = false;
    bool m_logCleared = false;
    QMap<QChar, QString> m_drives;        // letter → folder as edited
    QMap<QChar, QString> m_drivesStored;  // as read
    QChar m_driveShown;
};
