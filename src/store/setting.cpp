// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "store/setting.h"

namespace settings {

namespace {
constexpr const Setting *table[] = {
    &TimerInterval, &GeneralFontColor, &GeneralFontName, &GeneralFontSize, &GeneralFontStyle,
    &StartAsWindow, &MinimizeToSysTray, &LogFile, &LogJobStarts, &LogJobEnds, &LogJobPrestarts,
    &LogJobListChanges, &LogEmails, &LogDebugInfo, &CleanLogAtSOD, &DaysToKeepInLog,
    &UseSystemId, &SystemId, &UseUserId, &UserId, &ListStatus, &ListSchedule, &ListProgram,
    &ListLastStart, &ListLastEnd, &ListLastStatus, &UseRecycleBin, &LoadStartupFile,
    &StartupFileName, &LoadStartupFileOnce, &StartupFileLoaded, &DeleteStartupFile,
    &UseMaximizePassword, &UseClosePassword, &UseConfigPassword, &UseJobSecure, &HalvPass,
    &PositionLeft, &PositionTop, &PositionWidth, &PositionHeight, &MiniFormLeft, &MiniFormTop,
    &MiniFormWidth, &MiniFormHeight, &HelpLeft, &HelpTop, &HelpWidth, &HelpHeight,
    &HelpFontColor, &HelpFontName, &HelpFontSize, &HelpFontStyle, &InstalledVersion,
    &InstallGroup, &InStartUpGroup, &TimedListColFirst, &TimedListColOther,
    &AllowMapi, &AllowInternet, &SMTPServer, &SMTPPort, &SMTPUserAddress, &SMTPDefRecip,
    &SMTPDefSubject, &Encoding, &CharSet, &MAPIDefRecip, &MAPIDefSubject, &SendmailCommand,
    &SMTPSecurity, &SMTPAuthUser, &SMTPAuthPassword, &SMTPCAFile, &SMTPStandardHeaders,
};
} // namespace

std::span<const Setting *const> all() { return table; }

} // namespace settings
