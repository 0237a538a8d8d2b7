// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/successevaluator.h"
#include "platform/registry.h"
#include "store/jobstore.h"
#include "support/tempprofile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString job = u"Nightly"_s;

class SuccessTest : public ::testing::Test
{
protected:
    TempProfile profile;
    Registry registry;
    JobStore store{registry};
    SuccessEvaluator evaluator{store};

    void set(const QString &name, const QString &value) { store.writeString(job, name, value); }
    void set(const QString &name, int value) { store.writeInteger(job, name, value); }
    void set(const QString &name, bool value) { store.writeBoolean(job, name, value); }

    void touch(const QString &path)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    void writeIni(const QString &path, const QByteArray &text)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
};

struct ComparisonCase { int code; int value; int exitCode; bool holds; };

class ExitCodeTest : public SuccessTest, public ::testing::WithParamInterface<ComparisonCase> {};

TEST_P(ExitCodeTest, ComparesTheValueWithTheExitCode)
{
    const ComparisonCase &c = GetParam();
    set(u"sJobName"_s, job);
    set(u"bUseErrLevel"_s, true);
    set(u"iErrLevEqual"_s, c.code);
    set(u"iErrLevValue"_s, c.value);
    const SuccessEvaluator::Result result = evaluator.EvaluateSuccess(job, c.exitCode);
    EXPECT_EQ(result.success, c.holds);
    EXPECT_EQ(result.reason, u"errorlevel test: "_s + QString::number(c.exitCode));
}

INSTANTIATE_TEST_SUITE_P(Table, ExitCodeTest, ::testing::Values(
    ComparisonCase{0, 0, 0, true}, ComparisonCase{0, 1, 0, false},
    ComparisonCase{1, 1, 0, true}, ComparisonCase{1, 1, 1, false},
    ComparisonCase{2, 5, 3, true}, ComparisonCase{2, 5, 7, false}, ComparisonCase{2, 5, 5, false},
    ComparisonCase{3, 5, 7, true}, ComparisonCase{3, 5, 3, false}, ComparisonCase{3, 5, 5, false},
    ComparisonCase{4, 5, 5, true}, ComparisonCase{4, 5, 3, true}, ComparisonCase{4, 5, 7, false},
    ComparisonCase{5, 5, 5, true}, ComparisonCase{5, 5, 7, true}, ComparisonCase{5, 5, 3, false},
    // Signed on both sides.
    ComparisonCase{2, 0, -1, true}, ComparisonCase{3, -2, -1, true},
    ComparisonCase{6, 0, 0, false}, ComparisonCase{-1, 0, 0, false}));

// A test that is off, or on and holding or failing.
enum Test { Off, Holds, Fails };

struct CombinationCase { Test e, f, i; bool and1, and2; bool combined; };

class CombinationTest : public SuccessTest,
                        public ::testing::WithParamInterface<std::tuple<CombinationCase, bool>> {};

TEST_P(CombinationTest, JoinsTheEnabledTests)
{
    const auto &[c, holdsMeansSuccess] = GetParam();
    const QString file = profile.path(u"present"_s);
    touch(file);
    const QString ini = profile.path(u"state.ini"_s);
    writeIni(ini, "[Run]\nResult=done\n");

    set(u"sJobName"_s, job);
    set(u"bSuccessAnd1"_s, c.and1);
    set(u"bSuccessAnd2"_s, c.and2);
    set(u"bErrLevSuccess"_s, holdsMeansSuccess);
    set(u"bUseErrLevel"_s, c.e != Off);
    set(u"iErrLevEqual"_s, 0);
    set(u"iErrLevValue"_s, c.e == Holds ? 4 : 5);
    set(u"bUseFileExist"_s, c.f != Off);
    set(u"bFileExExist"_s, c.f == Holds);
    set(u"sFileExFileName"_s, file);
    set(u"bUseIniKey"_s, c.i != Off);
    set(u"sIniFileName"_s, ini);
    set(u"sSectionName"_s, u"Run"_s);
    set(u"sKeyName"_s, u"Result"_s);
    set(u"sKeyValue"_s, c.i == Holds ? u"done"_s : u"failed"_s);

    const SuccessEvaluator::Result result = evaluator.EvaluateSuccess(job, 4);
    EXPECT_EQ(result.success, c.combined == holdsMeansSuccess);
    QString reason = u"errorlevel test: 4"_s;
    if (c.f != Off)
        reason = u"file test: "_s + file + (c.f == Holds ? u" found"_s : u" not found"_s);
    if (c.i != Off)
        reason = u"ini key test: Result for: "_s + (c.i == Holds ? u"done"_s : u"failed"_s);
    EXPECT_EQ(result.reason, reason);
}

INSTANTIATE_TEST_SUITE_P(Table, CombinationTest, ::testing::Combine(::testing::Values(
    CombinationCase{Holds, Off, Off, true, true, true},
    CombinationCase{Fails, Off, Off, false, false, false},
    CombinationCase{Off, Holds, Off, true, true, true},
    CombinationCase{Off, Fails, Off, false, false, false},
    CombinationCase{Off, Off, Holds, true, true, true},
    CombinationCase{Off, Off, Fails, false, false, false},
    // e op1 f
    CombinationCase{Holds, Fails, Off, true, false, false},
    CombinationCase{Holds, Fails, Off, false, true, true},
    CombinationCase{Fails, Fails, Off, false, true, false},
    CombinationCase{Holds, Holds, Off, true, false, true},
    // e op2 i and f op2 i: the second operator joins the INI test, whatever the first says.
    CombinationCase{Holds, Off, Fails, false, true, false},
    CombinationCase{Holds, Off, Fails, true, false, true},
    CombinationCase{Off, Holds, Fails, false, true, false},
    CombinationCase{Off, Fails, Holds, true, false, true},
    CombinationCase{Off, Fails, Holds, true, true, false},
    // (e op1 f) op2 i
    CombinationCase{Fails, Holds, Holds, false, true, true},
    CombinationCase{Fails, Fails, Holds, false, true, false},
    CombinationCase{Holds, Fails, Fails, false, true, false},
    CombinationCase{Holds, Fails, Holds, true, false, true},
    CombinationCase{Holds, Fails, Fails, true, false, false},
    CombinationCase{Fails, Holds, Holds, true, true, false},
    CombinationCase{Holds, Holds, Holds, true, true, true}),
    ::testing::Bool()));

TEST_F(SuccessTest, WithNoTestEnabledTheRunHasFailed)
{
    set(u"sJobName"_s, job);
    for (const bool holdsMeansSuccess : {true, false}) {
        set(u"bErrLevSuccess"_s, holdsMeansSuccess);
        const SuccessEvaluator::Result result = evaluator.EvaluateSuccess(job, 0);
        EXPECT_FALSE(result.success);
        EXPECT_TRUE(result.reason.isEmpty());
    }
}

TEST_F(SuccessTest, ReadsTheCriteriaAtTheMomentOfEvaluation)
{
    set(u"sJobName"_s, job);
    set(u"bUseErrLevel"_s, true);
    EXPECT_TRUE(evaluator.EvaluateSuccess(job, 0).success);
    set(u"iErrLevValue"_s, 1);
    EXPECT_FALSE(evaluator.EvaluateSuccess(job, 0).success);
}

TEST_F(SuccessTest, TheFileReasonNamesTheCriterion)
{
    const QString file = profile.path(u"out.txt"_s);
    touch(file);
    set(u"sJobName"_s, job);
    set(u"bUseFileExist"_s, true);
    set(u"sFileExFileName"_s, file);
    // Must exist unless the job says otherwise.
    EXPECT_TRUE(evaluator.EvaluateSuccess(job, 0).success);
    set(u"bFileExExist"_s, false);
    const SuccessEvaluator::Result result = evaluator.EvaluateSuccess(job, 0);
    EXPECT_FALSE(result.success);
    EXPECT_EQ(result.reason, u"file test: "_s + file + u" not found"_s);
}

class FileTest : public ::testing::TestWithParam<std::pair<const char *, bool>>
{
protected:
    static void SetUpTestSuite()
    {
        folder = new QTemporaryDir;
        const QDir dir(folder->path());
        for (const char *name : {"report.log", ".hidden", "[x].txt", "a.b.c"}) {
            QFile file(dir.filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        ASSERT_TRUE(dir.mkdir(u"sub.log"_s));
        ASSERT_TRUE(dir.mkdir(u"folder"_s));
        ASSERT_TRUE(QFile::link(dir.filePath(u"gone"_s), dir.filePath(u"dangling.log"_s)));
        ASSERT_TRUE(QFile::link(dir.filePath(u"folder"_s), dir.filePath(u"folderlink"_s)));
    }
    static void TearDownTestSuite() { delete folder; }
    static inline QTemporaryDir *folder = nullptr;
};

TEST_P(FileTest, FindsFilesNotFolders)
{
    const QString name = QString::fromUtf8(GetParam().first).replace(u"<dir>"_s, folder->path());
    EXPECT_EQ(SuccessEvaluator::fileExists(name), GetParam().second) << name.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Names, FileTest, ::testing::Values(
    std::pair{"<dir>/report.log", true}, std::pair{"<dir>/sub.log", false},
    std::pair{"<dir>/folderlink", false}, std::pair{"<dir>/dangling.log", false},
    std::pair{"<dir>/missing", false}, std::pair{"", false}, std::pair{"<dir>/", false},
    // A folder among the matches does not hide a file.
    std::pair{"<dir>/*.log", true}, std::pair{"<dir>/sub*", false}, std::pair{"<dir>/fold*", false},
    std::pair{"<dir>/*.LOG", false}, std::pair{"<dir>/repor?.log", true},
    std::pair{"<dir>/rep?.log", false}, std::pair{"<dir>/*", true}, std::pair{"<dir>/.hid*", true},
    // A hidden file answers only a pattern that starts with ".", as in the file jobs.
    std::pair{"<dir>/*hidden", false}, std::pair{"<dir>/?hidden", false},
    std::pair{"<dir>/[x].txt", true}, std::pair{"<dir>/[x]*", true}, std::pair{"<dir>/[y]*", false},
    std::pair{"<dir>/a.*.c", true}, std::pair{"<dir>/missing*", false},
    std::pair{"<dir>/nowhere/*.log", false}, std::pair{"<dir>/*/report.log", false}));

TEST_F(FileTest, ARelativePatternSearchesTheCurrentFolder)
{
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder->path()));
    EXPECT_TRUE(SuccessEvaluator::fileExists(u"*.log"_s));
    EXPECT_FALSE(SuccessEvaluator::fileExists(u"*.sav"_s));
    QDir::setCurrent(before);
}

struct IniCase
{
    const char *text; // nullptr: no file
    const char16_t *section;
    const char16_t *key;
    const char16_t *value;
    bool equal;
    bool holds;
};

class IniKeyTest : public SuccessTest, public ::testing::WithParamInterface<IniCase> {};

TEST_P(IniKeyTest, ComparesTheKeysValue)
{
    const IniCase &c = GetParam();
    // A bare name is looked for in the configuration folder.
    if (c.text)
        writeIni(profile.path(u"config/status.ini"_s), c.text);
    set(u"sJobName"_s, job);
    set(u"bUseIniKey"_s, true);
    set(u"sIniFileName"_s, u"status.ini"_s);
    set(u"sSectionName"_s, QString::fromUtf16(c.section));
    set(u"sKeyName"_s, QString::fromUtf16(c.key));
    set(u"sKeyValue"_s, QString::fromUtf16(c.value));
    set(u"bIniFileEqual"_s, c.equal);
    const SuccessEvaluator::Result result = evaluator.EvaluateSuccess(job, 0);
    EXPECT_EQ(result.success, c.holds);
    EXPECT_EQ(result.reason, u"ini key test: "_s + QString::fromUtf16(c.key) + u" for: "_s
        + QString::fromUtf16(c.value));
}

INSTANTIATE_TEST_SUITE_P(Table, IniKeyTest, ::testing::Values(
    IniCase{nullptr, u"Run", u"Result", u"", true, false},
    IniCase{nullptr, u"Run", u"Result", u"", false, true},
    IniCase{"[Other]\nResult=ok\n", u"Run", u"Result", u"ok", true, false},
    IniCase{"[Other]\nResult=ok\n", u"Run", u"Result", u"ok", false, true},
    IniCase{"[Run]\nOther=ok\n", u"Run", u"Result", u"ok", true, false},
    IniCase{"[Run]\nOther=ok\n", u"Run", u"Result", u"ok", false, true},
    IniCase{"[Run]\nResult=ok\n", u"Run", u"Result", u"ok", true, true},
    IniCase{"[Run]\nResult=ok\n", u"Run", u"Result", u"ok", false, false},
    IniCase{"[Run]\nResult=ok\n", u"Run", u"Result", u"bad", false, true},
    IniCase{"[run]\nRESULT = \"ok\"\n", u"Run", u"result", u"ok", true, true},
    IniCase{"[Run]\nResult=OK\n", u"Run", u"Result", u"ok", true, false},
    IniCase{"[Run]\nResult=\n", u"Run", u"Result", u"", true, true},
    // The marker always means missing.
    IniCase{"[Run]\nResult=HALV ERROR!\n", u"Run", u"Result", u"HALV ERROR!", true, false}));

} // namespace
