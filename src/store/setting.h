// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

#include <span>

// One row of the settings table: where a value lives, its kind and what its readers pass
// when it is missing. `alternateDefault` is set where two readers pass different defaults.
struct Setting
{
    enum class Section { Config, Email, Favorites };
    enum class Kind { Text, Integer, Boolean };
    enum class Default {
        Fixed,         // `defaultValue` as written
        LogFilePath,   // the platform's default log file, worked out at run time
        None,          // the reader passes no default: the value is absent until written
    };

    Section section;
    const char16_t *name;
    Kind kind;
    const char16_t *defaultValue; // in the stored encoding: "250", "1", "MS Sans Serif"
    const char16_t *alternateDefault = nullptr;
    Default defaultKind = Default::Fixed;

    QString nameText() const { return QString::fromUtf16(name); }
};

// Every value of the Config and Email sections with its default.
namespace settings {

using S = Setting::Section;
using K = Setting::Kind;

// Config: engine, logging, list columns, start-up, security, window geometry.
inline constexpr Setting TimerInterval{S::Config, u"iTimerInterval", K::Integer, u"250"};
inline constexpr Setting GeneralFontColor{S::Config, u"iGeneralFont.Color", K::Integer, u"-2147483640"};
inline constexpr Setting GeneralFontName{S::Config, u"sGeneralFont.Name", K::Text, u"MS Sans Serif"};
inline constexpr Setting GeneralFontSize{S::Config, u"iGeneralFont.Size", K::Integer, u"10"};
inline constexpr Setting GeneralFontStyle{S::Config, u"iGeneralFont.Style", K::Integer, u"0"};
inline constexpr Setting StartAsWindow{S::Config, u"iStartAsWindow", K::Integer, u"0"};
inline constexpr Setting MinimizeToSysTray{S::Config, u"bMinimizeToSysTray", K::Boolean, u"1"};
inline constexpr Setting LogFile{S::Config, u"sLogFile", K::Text, u"", nullptr, Setting::Default::LogFilePath};
inline constexpr Setting LogJobStarts{S::Config, u"bLogJobStarts", K::Boolean, u"1"};
inline constexpr Setting LogJobEnds{S::Config, u"bLogJobEnds", K::Boolean, u"1"};
inline constexpr Setting LogJobPrestarts{S::Config, u"bLogJobPrestarts", K::Boolean, u"0"};
inline constexpr Setting LogJobListChanges{S::Config, u"bLogJobListChanges", K::Boolean, u"0"};
inline constexpr Setting LogEmails{S::Config, u"bLogEmails", K::Boolean, u"0"};
inline constexpr Setting LogDebugInfo{S::Config, u"bLogDebugInfo", K::Boolean, u"0"};
inline constexpr Setting CleanLogAtSOD{S::Config, u"bCleanLogAtSOD", K::Boolean, u"0"};
inline constexpr Setting DaysToKeepInLog{S::Config, u"iDaysToKeepInLog", K::Integer, u"7"};
inline constexpr Setting UseSystemId{S::Config, u"bUseSystemId", K::Boolean, u"0"};
inline constexpr Setting SystemId{S::Config, u"sSystemId", K::Text, u""};
inline constexpr Setting UseUserId{S::Config, u"bUseUserId", K::Boolean, u"0"};
inline constexpr Setting UserId{S::Config, u"sUserId", K::Text, u""};
inline constexpr Setting ListStatus{S::Config, u"bListStatus", K::Boolean, u"1"};
inline constexpr Setting ListSchedule{S::Config, u"bListSchedule", K::Boolean, u"1"};
inline constexpr Setting ListProgram{S::Config, u"bListProgram", K::Boolean, u"1"};
inline constexpr Setting ListLastStart{S::Config, u"bListLastStart", K::Boolean, u"1"};
inline constexpr Setting ListLastEnd{S::Config, u"bListLastEnd", K::Boolean, u"1"};
inline constexpr Setting ListLastStatus{S::Config, u"bListLastStatus", K::Boolean, u"1"};
inline constexpr Setting UseRecycleBin{S::Config, u"bUseRecycleBin", K::Boolean, u"1"};
inline constexpr Setting LoadStartupFile{S::Config, u"bLoadStartupFile", K::Boolean, u"0"};
inline constexpr Setting StartupFileName{S::Config, u"sStartupFileName", K::Text, u""};
inline constexpr Setting LoadStartupFileOnce{S::Config, u"bLoadStartupFileOnce", K::Boolean, u"1"};
inline constexpr Setting StartupFileLoaded{S::Config, u"bStartupFileLoaded", K::Boolean, u"0"};
inline constexpr Setting DeleteStartupFile{S::Config, u"bDeleteStartupFile", K::Boolean, u"0"};
inline constexpr Setting UseMaximizePassword{S::Config, u"bUseMaximizePassword", K::Boolean, u"0"};
inline constexpr Setting UseClosePassword{S::Config, u"bUseClosePassword", K::Boolean, u"0"};
inline constexpr Setting UseConfigPassword{S::Config, u"bUseConfigPassword", K::Boolean, u"0"};
inline constexpr Setting UseJobSecure{S::Config, u"bUseJobSecure", K::Boolean, u"0"};
inline constexpr Setting HalvPass{S::Config, u"sHalvPass", K::Text, u""};
inline constexpr Setting PositionLeft{S::Config, u"iPosition Left", K::Integer, u"100"};
inline constexpr Setting PositionTop{S::Config, u"iPosition Top", K::Integer, u"100"};
inline constexpr Setting PositionWidth{S::Config, u"iPosition Width", K::Integer, u"530"};
inline constexpr Setting PositionHeight{S::Config, u"iPosition Height", K::Integer, u"370"};
inline constexpr Setting MiniFormLeft{S::Config, u"iMiniForm Left", K::Integer, u"100"};
inline constexpr Setting MiniFormTop{S::Config, u"iMiniForm Top", K::Integer, u"100"};
inline constexpr Setting MiniFormWidth{S::Config, u"iMiniForm Width", K::Integer, u"112"};
inline constexpr Setting MiniFormHeight{S::Config, u"iMiniForm Height", K::Integer, u"68"};
inline constexpr Setting HelpLeft{S::Config, u"iHelpLeft", K::Integer, u"0"};
inline constexpr Setting HelpTop{S::Config, u"iHelpTop", K::Integer, u"0"};
inline constexpr Setting HelpWidth{S::Config, u"iHelpWidth", K::Integer, u"0"};
inline constexpr Setting HelpHeight{S::Config, u"iHelpHeight", K::Integer, u"0"};
inline constexpr Setting HelpFontColor{S::Config, u"iHelpFont.Color", K::Integer, u"-2147483640"};
inline constexpr Setting HelpFontName{S::Config, u"sHelpFont.Name", K::Text, u"MS Sans Serif"};
inline constexpr Setting HelpFontSize{S::Config, u"iHelpFont.Size", K::Integer, u"10"};
inline constexpr Setting HelpFontStyle{S::Config, u"iHelpFont.Style", K::Integer, u"0"};
inline constexpr Setting InstalledVersion{S::Config, u"sInstalledVersion", K::Text, u""};
inline constexpr Setting InstallGroup{S::Config, u"sInstallGroup", K::Text, u"", nullptr, Setting::Default::None};
inline constexpr Setting InStartUpGroup{S::Config, u"bInStartUpGroup", K::Boolean, u"0", nullptr, Setting::Default::None};
// iTimedListCol<n>: 100 for column 0, 55 for the others (see Settings::timedListColumn).
inline constexpr Setting TimedListColFirst{S::Config, u"iTimedListCol0", K::Integer, u"100"};
inline constexpr Setting TimedListColOther{S::Config, u"iTimedListCol", K::Integer, u"55"};

// Email: mail defaults.
inline constexpr Setting AllowMapi{S::Email, u"bAllowMapi", K::Boolean, u"0"};
inline constexpr Setting AllowInternet{S::Email, u"bAllowInternet", K::Boolean, u"0"};
inline constexpr Setting SMTPServer{S::Email, u"sSMTPServer", K::Text, u""};
inline constexpr Setting SMTPPort{S::Email, u"iSMTPPort", K::Integer, u"80"};
inline constexpr Setting SMTPUserAddress{S::Email, u"sSMTPUserAddress", K::Text, u""};
inline constexpr Setting SMTPDefRecip{S::Email, u"sSMTPDefRecip", K::Text, u""};
// The configuration dialog shows the first, the SMTP notification uses the second.
inline constexpr Setting SMTPDefSubject{S::Email, u"sSMTPDefSubject", K::Text,
    u"Halvorn automatic job notification", u"Quennet System Information"};
inline constexpr Setting Encoding{S::Email, u"sEncoding", K::Text, u"UUEncode"};
inline constexpr Setting CharSet{S::Email, u"sCharSet", K::Text, u"ASCII"};
inline constexpr Setting MAPIDefRecip{S::Email, u"sMAPIDefRecip", K::Text, u""};
inline constexpr Setting MAPIDefSubject{S::Email, u"sMAPIDefSubject", K::Text, u"Halvorn automatic job notification"};
inline constexpr Setting SendmailCommand{S::Email, u"sSendmailCommand", K::Text, u"/usr/sbin/sendmail -t -oi"};
// SMTP beyond the plain dialogue: 0 none, 1 STARTTLS, 2 TLS on connect; AUTH; an extra CA
// file; the Date and Message-ID headers.
inline constexpr Setting SMTPSecurity{S::Email, u"iSMTPSecurity", K::Integer, u"0"};
inline constexpr Setting SMTPAuthUser{S::Email, u"sSMTPAuthUser", K::Text, u""};
inline constexpr Setting SMTPAuthPassword{S::Email, u"sSMTPAuthPassword", K::Text, u""};
inline constexpr Setting SMTPCAFile{S::Email, u"sSMTPCAFile", K::Text, u""};
inline constexpr Setting SMTPStandardHeaders{S::Email, u"bSMTPStandardHeaders", K::Boolean, u"1"};

// Every row above, for tools and tests that walk the table.
std::span<const Setting *const> all();

} // namespace settings
