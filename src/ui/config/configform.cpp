// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/config/configform.h"

#include "platform/systemowner.h"
#include "store/settings.h"
#include "ui/config/configtext.h"
#include "ui/config/halvpassword.h"
#include "ui/config/newpassform.h"
#include "ui/config/windowscolor.h"
#include "ui/dialogs.h"
#include "ui_configform.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

enum FontStyle { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };

const QString encodingUU = u"UUEncode"_s;
const QString encodingMime = u"Mime"_s;
const QString charSetAscii = u"ASCII"_s;
const QString charSetIso = u"ISO"_s;

QString driveSetting(QChar letter) { return u"sDrive."_s + letter; }
QString driveDefault(QChar letter) { return letter == u'c' ? u"/"_s : QString(); }

} // namespace

ConfigForm::ConfigForm(Settings &settings, HalvPassword &password, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::ConfigForm>()), m_settings(settings),
      m_password(password)
{
    m_ui->setupUi(this);
    m_ui->SMTPSecurity->addItems({tr("None"), tr("STARTTLS"), tr("TLS on connect")});
    for (char16_t letter = u'a'; letter <= u'z'; ++letter)
        m_ui->DriveLetter->addItem(QString(QChar(letter)) + u':');

    connect(m_ui->SaveButton, &QPushButton::clicked, this, &ConfigForm::saveClicked);
    connect(m_ui->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->FontButton, &QPushButton::clicked, this, &ConfigForm::chooseFont);
    connect(m_ui->ColorButton, &QPushButton::clicked, this, &ConfigForm::chooseColour);
    connect(m_ui->GetSystemOwner, &QPushButton::clicked, this, &ConfigForm::getSystemOwner);
    connect(m_ui->LoadStartupFile, &QCheckBox::toggled, this, &ConfigForm::updateStartupFileControls);
    connect(m_ui->StartupFileBrowse, &QPushButton::clicked, this, [this] {
        browse(m_ui->StartupFileName, ConfigText::startupFileDialogTitle(),
            tr("Job list files (*.sav);;All files (*)"), false);
    });
    // The log file may not exist yet: a save dialog lets the user name a new one.
    connect(m_ui->LogFileBrowse, &QPushButton::clicked, this, [this] {
        browse(m_ui->LogFile, ConfigText::logFileDialogTitle(), tr("Log files (*.log);;All files (*)"), true);
    });
    connect(m_ui->SMTPCAFileBrowse, &QPushButton::clicked, this, [this] {
        browse(m_ui->SMTPCAFile, ConfigText::caFileDialogTitle(),
            tr("Certificates (*.pem *.crt);;All files (*)"), false);
    });
    connect(m_ui->ClearLog, &QPushButton::clicked, this, &ConfigForm::clearLog);
    connect(m_ui->SetPassword, &QPushButton::clicked, this, &ConfigForm::setPassword);
    connect(m_ui->DriveLetter, &QComboBox::currentIndexChanged, this, &ConfigForm::showDriveFolder);
    connect(m_ui->DriveFolder, &QLineEdit::textEdited, this, &ConfigForm::keepDriveFolder);

    load();
    m_ui->PageControl1->setCurrentIndex(0);
}

ConfigForm::~ConfigForm() = default;

bool ConfigForm::run(QWidget *parent, Settings &settings, HalvPassword &password,
    const std::function<void()> &reloadLogAfterCancel)
{
    ConfigForm form(settings, password, parent);
    const bool saved = form.exec() == QDialog::Accepted;
    if (!saved && form.logCleared() && reloadLogAfterCancel)
        reloadLogAfterCancel();
    return saved;
}

void ConfigForm::load()
{
    Settings &s = m_settings;
    namespace k = settings;

    m_ui->TimerInterval->setValue(s.integer(k::TimerInterval));
    m_fontName = s.text(k::GeneralFontName);
    m_fontColor = s.integer(k::GeneralFontColor);
    m_font = QFont(m_fontName);
    const int size = s.integer(k::GeneralFontSize);
    if (size > 0)
        m_font.setPointSize(size);
    const int style = s.integer(k::GeneralFontStyle);
    m_font.setBold(style & Bold);
    m_font.setItalic(style & Italic);
    m_font.setUnderline(style & Underline);
    m_font.setStrikeOut(style & StrikeOut);
    showFont();
    m_ui->UseUserId->setChecked(s.boolean(k::UseUserId));
    m_ui->UserId->setText(s.text(k::UserId));
    m_ui->UseSystemId->setChecked(s.boolean(k::UseSystemId));
    m_ui->SystemId->setText(s.text(k::SystemId));
    (s.boolean(k::MinimizeToSysTray) ? m_ui->MinimizeToTray : m_ui->MinimizeToMini)->setChecked(true);
    for (char16_t l = u'a'; l <= u'z'; ++l) {
        const QChar letter(l);
        m_drivesStored[letter] = s.readString(Settings::Section::Config, driveSetting(letter),
            driveDefault(letter));
    }
    m_drives = m_drivesStored;
    m_ui->DriveLetter->setCurrentIndex(u'c' - u'a');
    showDriveFolder();

    switch (s.integer(k::StartAsWindow)) {
    case 1:
        m_ui->StartAsIcon->setChecked(true);
        break;
    case 2:
        m_ui->StartAsMini->setChecked(true);
        break;
    default:
        m_ui->StartAsWindow->setChecked(true);
    }
    m_ui->LoadStartupFile->setChecked(s.boolean(k::LoadStartupFile));
    m_ui->StartupFileName->setText(s.text(k::StartupFileName));
    m_ui->LoadStartupFileOnce->setChecked(s.boolean(k::LoadStartupFileOnce));
    m_ui->DeleteStartupFile->setChecked(s.boolean(k::DeleteStartupFile));
    updateStartupFileControls();

    m_ui->LogFile->setText(s.text(k::LogFile));
    m_ui->LogJobStarts->setChecked(s.boolean(k::LogJobStarts));
    m_ui->LogJobEnds->setChecked(s.boolean(k::LogJobEnds));
    m_ui->LogJobPrestarts->setChecked(s.boolean(k::LogJobPrestarts));
    m_ui->LogJobListChanges->setChecked(s.boolean(k::LogJobListChanges));
    m_ui->LogEmails->setChecked(s.boolean(k::LogEmails));
    m_ui->CleanLogAtSOD->setChecked(s.boolean(k::CleanLogAtSOD));
    m_ui->DaysToKeepInLog->setValue(s.integer(k::DaysToKeepInLog));
    m_ui->LogDebugInfo->setChecked(s.boolean(k::LogDebugInfo));

    m_ui->ListStatus->setChecked(s.boolean(k::ListStatus));
    m_ui->ListSchedule->setChecked(s.boolean(k::ListSchedule));
    m_ui->ListProgram->setChecked(s.boolean(k::ListProgram));
    m_ui->ListLastStart->setChecked(s.boolean(k::ListLastStart));
    m_ui->ListLastEnd->setChecked(s.boolean(k::ListLastEnd));
    m_ui->ListLastStatus->setChecked(s.boolean(k::ListLastStatus));

    m_ui->UseMaximizePassword->setChecked(s.boolean(k::UseMaximizePassword));
    m_ui->UseClosePassword->setChecked(s.boolean(k::UseClosePassword));
    m_ui->UseConfigPassword->setChecked(s.boolean(k::UseConfigPassword));
    m_ui->UseJobSecure->setChecked(s.boolean(k::UseJobSecure));
    m_ui->UseRecycleBin->setChecked(s.boolean(k::UseRecycleBin));

    m_ui->AllowMapi->setChecked(s.boolean(k::AllowMapi));
    m_ui->MAPIDefRecip->setText(s.text(k::MAPIDefRecip));
    m_ui->MAPIDefSubject->setText(s.text(k::MAPIDefSubject));
    m_ui->SendmailCommand->setText(s.text(k::SendmailCommand));

    m_ui->AllowInternet->setChecked(s.boolean(k::AllowInternet));
    m_ui->SMTPDefRecip->setText(s.text(k::SMTPDefRecip));
    m_ui->SMTPDefSubject->setText(s.text(k::SMTPDefSubject));
    m_ui->SMTPServer->setText(s.text(k::SMTPServer));
    m_ui->SMTPPort->setValue(s.integer(k::SMTPPort));
    m_ui->SMTPUserAddress->setText(s.text(k::SMTPUserAddress));
    m_ui->SMTPSecurity->setCurrentIndex(qBound(0, s.integer(k::SMTPSecurity), 2));
    m_ui->SMTPAuthUser->setText(s.text(k::SMTPAuthUser));
    m_ui->SMTPAuthPassword->setText(s.text(k::SMTPAuthPassword));
    m_ui->SMTPCAFile->setText(s.text(k::SMTPCAFile));
    m_ui->SMTPStandardHeaders->setChecked(s.boolean(k::SMTPStandardHeaders));
    (s.text(k::Encoding) == encodingUU ? m_ui->EncodingUU : m_ui->EncodingMime)->setChecked(true);
    (s.text(k::CharSet) == charSetAscii ? m_ui->CharSetAscii : m_ui->CharSetIso)->setChecked(true);
}

bool ConfigForm::save()
{
    Settings &s = m_settings;
    namespace k = settings;
    Settings::Transaction transaction(s);
    bool ok = transaction.isActive();
    auto text = [&](const Setting &setting, const QString &value) { ok &= s.setText(setting, value); };
    auto integer = [&](const Setting &setting, int value) { ok &= s.setInteger(setting, value); };
    auto boolean = [&](const Setting &setting, bool value) { ok &= s.setBoolean(setting, value); };

    integer(k::TimerInterval, m_ui->TimerInterval->value());
    integer(k::GeneralFontColor, m_fontColor);
    text(k::GeneralFontName, m_fontName);
    integer(k::GeneralFontSize, m_font.pointSize() > 0 ? m_font.pointSize() : qRound(m_font.pointSizeF()));
    integer(k::GeneralFontStyle, (m_font.bold() ? Bold : 0) | (m_font.italic() ? Italic : 0)
            | (m_font.underline() ? Underline : 0) | (m_font.strikeOut() ? StrikeOut : 0));
    boolean(k::UseUserId, m_ui->UseUserId->isChecked());
    text(k::UserId, m_ui->UserId->text());
    boolean(k::UseSystemId, m_ui->UseSystemId->isChecked());
    text(k::SystemId, m_ui->SystemId->text());
    boolean(k::MinimizeToSysTray, m_ui->MinimizeToTray->isChecked());
    // Only the letters the user changed: unmapped letters stay absent from the store.
    for (auto it = m_drives.cbegin(); it != m_drives.cend(); ++it) {
        if (it.value() != m_drivesStored.value(it.key()))
            ok &= s.writeString(Settings::Section::Config, driveSetting(it.key()), it.value());
    }

    integer(k::StartAsWindow, m_ui->StartAsIcon->isChecked() ? 1 : m_ui->StartAsMini->isChecked() ? 2 : 0);
    boolean(k::LoadStartupFile, m_ui->LoadStartupFile->isChecked());
    if (m_ui->LoadStartupFile->isChecked())
        text(k::StartupFileName, m_ui->StartupFileName->text());
    boolean(k::LoadStartupFileOnce, m_ui->LoadStartupFileOnce->isChecked());
    boolean(k::DeleteStartupFile, m_ui->DeleteStartupFile->isChecked());

    text(k::LogFile, m_ui->LogFile->text());
    boolean(k::LogJobStarts, m_ui->LogJobStarts->isChecked());
    boolean(k::LogJobEnds, m_ui->LogJobEnds->isChecked());
    boolean(k::LogJobPrestarts, m_ui->LogJobPrestarts->isChecked());
    boolean(k::LogJobListChanges, m_ui->LogJobListChanges->isChecked());
    boolean(k::LogEmails, m_ui->LogEmails->isChecked());
    boolean(k::CleanLogAtSOD, m_ui->CleanLogAtSOD->isChecked());
    integer(k::DaysToKeepInLog, m_ui->DaysToKeepInLog->value());
    boolean(k::LogDebugInfo, m_ui->LogDebugInfo->isChecked());

    boolean(k::ListStatus, m_ui->ListStatus->isChecked());
    boolean(k::ListSchedule, m_ui->ListSchedule->isChecked());
    boolean(k::ListProgram, m_ui->ListProgram->isChecked());
    boolean(k::ListLastStart, m_ui->ListLastStart->isChecked());
    boolean(k::ListLastEnd, m_ui->ListLastEnd->isChecked());
    boolean(k::ListLastStatus, m_ui->ListLastStatus->isChecked());

    boolean(k::UseMaximizePassword, m_ui->UseMaximizePassword->isChecked());
    boolean(k::UseClosePassword, m_ui->UseClosePassword->isChecked());
    boolean(k::UseConfigPassword, m_ui->UseConfigPassword->isChecked());
    boolean(k::UseJobSecure, m_ui->UseJobSecure->isChecked());
    boolean(k::UseRecycleBin, m_ui->UseRecycleBin->isChecked());

    boolean(k::AllowMapi, m_ui->AllowMapi->isChecked());
    text(k::MAPIDefRecip, m_ui->MAPIDefRecip->text());
    text(k::MAPIDefSubject, m_ui->MAPIDefSubject->text());
    text(k::SendmailCommand, m_ui->SendmailCommand->text());

    boolean(k::AllowInternet, m_ui->AllowInternet->isChecked());
    text(k::SMTPDefRecip, m_ui->SMTPDefRecip->text());
    text(k::SMTPDefSubject, m_ui->SMTPDefSubject->text());
    text(k::SMTPServer, m_ui->SMTPServer->text());
    integer(k::SMTPPort, m_ui->SMTPPort->value());
    text(k::SMTPUserAddress, m_ui->SMTPUserAddress->text());
    integer(k::SMTPSecurity, m_ui->SMTPSecurity->currentIndex());
    text(k::SMTPAuthUser, m_ui->SMTPAuthUser->text());
    text(k::SMTPAuthPassword, m_ui->SMTPAuthPassword->text());
    text(k::SMTPCAFile, m_ui->SMTPCAFile->text());
    boolean(k::SMTPStandardHeaders, m_ui->SMTPStandardHeaders->isChecked());
    text(k::Encoding, m_ui->EncodingUU->isChecked() ? encodingUU : encodingMime);
    text(k::CharSet, m_ui->CharSetAscii->isChecked() ? charSetAscii : charSetIso);

    if (!ok) {
        transaction.fail();
        return false;
    }
    return transaction.commit();
}

void ConfigForm::showFont()
{
    m_ui->FontSample->setFont(m_font);
    m_ui->FontSample->setText(m_fontName + u' ' + QString::number(m_font.pointSize()));
    QPalette palette = m_ui->FontSample->palette();
    palette.setColor(QPalette::WindowText, WindowsColor::toColor(m_fontColor, this->palette()));
    m_ui->FontSample->setPalette(palette);
}

void ConfigForm::chooseFont()
{
    const auto font = Dialogs::current().font(this, m_font);
    if (!font)
        return;
    m_font = *font;
    m_fontName = m_font.family();
    m_fontChanged = true;
    showFont();
}

void ConfigForm::chooseColour()
{
    const auto colour = Dialogs::current().colour(this, WindowsColor::toColor(m_fontColor, palette()));
    if (!colour)
        return;
    m_fontColor = WindowsColor::fromColor(*colour);
    m_fontChanged = true;
    showFont();
}

void ConfigForm::getSystemOwner()
{
    const QString owner = SystemOwner::name();
    if (!owner.isEmpty())
        m_ui->SystemId->setText(owner);
}

void ConfigForm::updateStartupFileControls()
{
    const bool load = m_ui->LoadStartupFile->isChecked();
    m_ui->LoadStartupFileOnce->setEnabled(load);
    m_ui->DeleteStartupFile->setEnabled(load);
}

void ConfigForm::browse(QLineEdit *field, const QString &title, const QString &filter, bool forSaving)
{
    Dialogs &dialogs = Dialogs::current();
    const QString name = forSaving ? dialogs.saveFileName(this, title, field->text(), filter)
                                   : dialogs.openFileName(this, title, field->text(), filter);
    if (!name.isEmpty())
        field->setText(name);
}

void ConfigForm::clearLog()
{
    const QFileInfo file(m_ui->LogFile->text());
    // Only a regular file: a folder, device or pipe named here by mistake is left alone.
    if (m_ui->LogFile->text().isEmpty() || !file.isFile()) {
        Dialogs::current().message(this, Dialogs::Kind::Error, ConfigText::logFileMissing());
        return;
    }
    const QString path = file.absoluteFilePath();
    if (Dialogs::current().question(this, ConfigText::clearLogQuestion(path)) != Dialogs::Answer::Yes)
        return;
    QFile log(path);
    if (!log.open(QIODevice::WriteOnly | QIODevice::ExistingOnly) || !log.resize(0)) {
        Dialogs::current().message(this, Dialogs::Kind::Error,
            ConfigText::logNotCleared(path, log.errorString()));
        return;
    }
    m_logCleared = true;
}

void ConfigForm::setPassword()
{
    NewPassForm form(m_password, this);
    form.exec();
}

void ConfigForm::showDriveFolder()
{
    m_driveShown = QChar(u'a' + m_ui->DriveLetter->currentIndex());
    m_ui->DriveFolder->setText(m_drives.value(m_driveShown));
}

void ConfigForm::keepDriveFolder() { m_drives[m_driveShown] = m_ui->DriveFolder->text(); }

bool ConfigForm::guardsOnWithoutPassword() const
{
    return (m_ui->UseMaximizePassword->isChecked() || m_ui->UseClosePassword->isChecked()
               || m_ui->UseConfigPassword->isChecked() || m_ui->UseJobSecure->isChecked())
        && !m_password.isSet();
}

void ConfigForm::saveClicked()
{
    if (guardsOnWithoutPassword()
        && Dialogs::current().question(this, ConfigText::guardsWithoutPassword()) == Dialogs::Answer::Yes)
        setPassword();
    if (!save()) {
        Dialogs::current().message(this, Dialogs::Kind::Error, ConfigText::settingsNotSaved());
        return;
    }
    accept();
}
