// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>
#include <QStringList>

// The working copies of a job's criteria, one per criteria dialog. An editor hands a copy
// to the dialog and takes it back only when the dialog closes with OK. The member
// initialisers are the values of a new job.

struct TerminationValues
{
    int type = 0;
    int duration = 15;
    int hour = 12;
    int minute = 30;
    int second = 0;
    int level = 0;
    friend bool operator==(const TerminationValues &, const TerminationValues &) = default;
};

struct NotifyValues
{
    static constexpr int maxRecipients = 256;
    bool notify = false;
    int type = -1;  // 0 system mail, 1 SMTP, -1 not chosen
    int start = -1; // 0 on a good start, 1 on a failed start, -1 neither
    int end = -1;   // 0 on success, 1 on failure, -1 neither
    QStringList recipients;
    friend bool operator==(const NotifyValues &, const NotifyValues &) = default;
};

struct CustomTimeValues
{
    static constexpr int maxSlots = 25;
    int type = 0;    // -1 on demand, 0 none, 1 minutes, 2 times, 3 every N, 4 N after start-up
    int hourMin = 0; // N of kinds 3 and 4
    QStringList entries; // the non-empty entries, at most maxSlots
    friend bool operator==(const CustomTimeValues &, const CustomTimeValues &) = default;
};

struct PrestartValues
{
    bool checkPreStart = false;
    bool checkStartDir = false;
    bool checkDiskFree = false;
    QString startDir;
    int diskFreeMb = 0;
    QString drive; // one letter; empty until the disk test is set
    friend bool operator==(const PrestartValues &, const PrestartValues &) = default;
};

struct SuccessValues
{
    bool useErrLevel = true;
    bool useFileExist = false;
    int errLevEqual = 0;
    int errLevValue = 0;
    bool errLevSuccess = true;
    QString fileExFileName;
    bool fileExExist = false;
    bool fileExSuccess = true; // no control: kept as loaded
    bool successAnd1 = true;
    bool successAnd2 = true;
    bool useIniKey = false;
    QString keyName;
    QString sectionName;
    QString keyValue;
    QString iniFileName;
    bool iniFileEqual = true;
    friend bool operator==(const SuccessValues &, const SuccessValues &) = default;
};

struct PostJobValues
{
    int successCode = 0; // 0 nothing, 1 start a job, 2 run a program
    int failCode = 0;
    QString successFile;
    QString failFile;
    friend bool operator==(const PostJobValues &, const PostJobValues &) = default;
};

struct SystemValues
{
    int appearance = 0;
    int priority = 0;
    friend bool operator==(const SystemValues &, const SystemValues &) = default;
};
