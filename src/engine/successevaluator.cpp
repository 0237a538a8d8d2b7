// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/successevaluator.h"

#include "engine/fileactions.h"
#include "platform/inifile.h"
#include "store/jobstore.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

const QString SuccessEvaluator::iniMissing = u"HALV ERROR!"_s;

namespace {

// The values of the criteria with the defaults of an absent value.
struct Criteria
{
    bool useExitCode = false;
    int comparison = 0;
    int value = 0;
    bool useFile = false;
    bool fileMustExist = true;
    QString fileName;
    bool useIniKey = false;
    QString iniFileName;
    QString sectionName;
    QString keyName;
    QString keyValue;
    bool iniMustEqual = true;
    bool and1 = true;
    bool and2 = true;
    bool holdsMeansSuccess = true;
};

Criteria readCriteria(JobStore &store, const QString &job)
{
    Criteria c;
    c.useExitCode = store.readBoolean(job, u"bUseErrLevel"_s, c.useExitCode);
    c.comparison = store.readInteger(job, u"iErrLevEqual"_s, c.comparison);
    c.value = store.readInteger(job, u"iErrLevValue"_s, c.value);
    c.useFile = store.readBoolean(job, u"bUseFileExist"_s, c.useFile);
    c.fileMustExist = store.readBoolean(job, u"bFileExExist"_s, c.fileMustExist);
    c.fileName = store.readString(job, u"sFileExFileName"_s, c.fileName);
    c.useIniKey = store.readBoolean(job, u"bUseIniKey"_s, c.useIniKey);
    c.iniFileName = store.readString(job, u"sIniFileName"_s, c.iniFileName);
    c.sectionName = store.readString(job, u"sSectionName"_s, c.sectionName);
    c.keyName = store.readString(job, u"sKeyName"_s, c.keyName);
    c.keyValue = store.readString(job, u"sKeyValue"_s, c.keyValue);
    c.iniMustEqual = store.readBoolean(job, u"bIniFileEqual"_s, c.iniMustEqual);
    c.and1 = store.readBoolean(job, u"bSuccessAnd1"_s, c.and1);
    c.and2 = store.readBoolean(job, u"bSuccessAnd2"_s, c.and2);
    c.holdsMeansSuccess = store.readBoolean(job, u"bErrLevSuccess"_s, c.holdsMeansSuccess);
    return c;
}

QString exitCodeReason(int exitCode) { return u"errorlevel test: "_s + QString::number(exitCode); }

QString fileReason(const QString &name, bool mustExist)
{
    return u"file test: "_s + name + (mustExist ? u" found"_s : u" not found"_s);
}

QString iniReason(const QString &key, const QString &value)
{
    return u"ini key test: "_s + key + u" for: "_s + value;
}

bool isFile(const QFileInfo &info) { return info.exists() && !info.isDir(); }

std::optional<bool> join(std::optional<bool> left, bool useAnd, std::optional<bool> right)
{
    if (!left)
        return right;
    if (!right)
        return left;
    return useAnd ? (*left && *right) : (*left || *right);
}

} // namespace

bool SuccessEvaluator::exitCodeHolds(int comparison, int value, int exitCode)
{
    switch (comparison) {
    case 0: return value == exitCode;
    case 1: return value != exitCode;
    case 2: return value > exitCode;
    case 3: return value < exitCode;
    case 4: return value >= exitCode;
    case 5: return value <= exitCode;
    default: return false;
    }
}

bool SuccessEvaluator::fileExists(const QString &name)
{
    if (name.isEmpty())
        return false;
    const qsizetype slash = name.lastIndexOf(u'/');
    const QString last = name.sliced(slash + 1);
    if (!last.contains(u'*') && !last.contains(u'?'))
        return isFile(QFileInfo(name));

    // The file jobs' matcher, with their rule for hidden files: "*" never finds ".x".
    const QStringList matches = FileActions::matchingFiles(name);
    return std::any_of(matches.cbegin(), matches.cend(),
        [](const QString &path) { return isFile(QFileInfo(path)); });
}

SuccessEvaluator::Result SuccessEvaluator::EvaluateSuccess(const QString &job, int exitCode)
{
    const Criteria c = readCriteria(m_store, job);
    Result result;
    std::optional<bool> exitTest, fileTest, iniTest;

    if (c.useExitCode) {
        exitTest = exitCodeHolds(c.comparison, c.value, exitCode);
        result.reason = exitCodeReason(exitCode);
    }
    if (c.useFile) {
        fileTest = fileExists(c.fileName) == c.fileMustExist;
        result.reason = fileReason(c.fileName, c.fileMustExist);
    }
    if (c.useIniKey) {
        const QString read
            = IniFile(c.iniFileName).readString(c.sectionName, c.keyName, iniMissing);
        const bool missing = read == iniMissing;
        iniTest = c.iniMustEqual ? !missing && read == c.keyValue
                                 : missing || read != c.keyValue;
        result.reason = iniReason(c.keyName, c.keyValue);
    }

    const std::optional<bool> combined = join(join(exitTest, c.and1, fileTest), c.and2, iniTest);
    if (!combined)
        return result;
    result.success = *combined == c.holdsMeansSuccess;
    return result;
}
