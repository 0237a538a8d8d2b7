// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/inidocument.h"
#include "platform/inifile.h"
#include "support/tempprofile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

struct ReadCase
{
    const char *text;
    const char16_t *section;
    const char16_t *key;
    const char16_t *expected; // nullptr: missing
};

class IniReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniReading, FollowsTheProfileRules)
{
    const ReadCase &c = GetParam();
    const IniDocument document = IniDocument::fromUtf8(c.text);
    const auto found = document.find(QString::fromUtf16(c.section), QString::fromUtf16(c.key));
    if (c.expected)
        EXPECT_EQ(found, QString::fromUtf16(c.expected)) << c.text;
    else
        EXPECT_FALSE(found.has_value()) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Cases, IniReading, ::testing::Values(
    ReadCase{"[Config]\nsName=x\n", u"config", u"SNAME", u"x"},
    ReadCase{"  [ Config ]  \n  sName  =  two words  \n", u"Config", u"sName", u"two words"},
    ReadCase{"[a]\nk=1\nk=2\n", u"a", u"k", u"1"},
    ReadCase{"[a]\nk=1\n[b]\nk=3\n[A]\nk=2\nonly=later\n", u"a", u"k", u"1"},
    ReadCase{"[a]\n[A]\nonly=later\n", u"a", u"only", nullptr},
    ReadCase{"[a]\nk=\" padded \"\n", u"a", u"k", u" padded "},
    ReadCase{"[a]\nk='single'\n", u"a", u"k", u"single"},
    ReadCase{"[a]\nk=\"\"quoted twice\"\"\n", u"a", u"k", u"\"quoted twice\""},
    ReadCase{"[a]\nk=\"unmatched'\n", u"a", u"k", u"\"unmatched'"},
    ReadCase{"[a]\nk=\"\n", u"a", u"k", u"\""},
    ReadCase{"[a]\nk=\n", u"a", u"k", u""},
    ReadCase{"[a]\nk=a=b\n", u"a", u"k", u"a=b"},
    ReadCase{"[a]\n;k=1\n", u"a", u"k", nullptr},
    ReadCase{"[a]\n  ; [b]\nk=1\n", u"a", u"k", u"1"},
    ReadCase{"[a]\n=1\nno equals here\nk=2\n", u"a", u"no equals here", nullptr},
    ReadCase{"k=1\n[a]\n", u"", u"k", nullptr},
    ReadCase{"[]\nk=1\n", u"", u"k", u"1"},
    ReadCase{"[Backup [daily]]\nk=1\n", u"Backup [daily]", u"k", u"1"},
    ReadCase{"[a] ; the first\nk=1\n", u"a", u"k", u"1"},
    ReadCase{"\xEF\xBB\xBF[a]\r\nk=v\r\n", u"a", u"k", u"v"},
    ReadCase{"[a]\nk=last line without end", u"a", u"k", u"last line without end"},
    ReadCase{"[Ä]\nschlüssel=wert ✓\n", u"ä", u"SCHLÜSSEL", u"wert ✓"},
    ReadCase{"[a]\nk=1\n", u"b", u"k", nullptr}));

TEST(IniDocumentTest, ListsSectionsKeysAndPairsOnceInFileOrder)
{
    const IniDocument document = IniDocument::fromUtf8("; header\nstray=1\n"
                                                       "[Info]\nz=1\nA = 2\nnot a key\nz=3\n"
                                                       "[Job 1]\n[info]\nlater=4\n[Job 2]\nk=v\n");
    EXPECT_EQ(document.sections(), (QStringList{u"Info"_s, u"Job 1"_s, u"Job 2"_s}));
    EXPECT_EQ(document.keys(u"INFO"_s), (QStringList{u"z"_s, u"A"_s}));
    const QList<IniDocument::Entry> expected{{u"z"_s, u"1"_s}, {u"A"_s, u"2"_s}};
    EXPECT_EQ(document.entries(u"info"_s), expected);
    EXPECT_TRUE(document.keys(u"Job 1"_s).isEmpty());
    EXPECT_TRUE(document.hasSection(u"job 1"_s));
    EXPECT_FALSE(document.hasSection(u"Job 3"_s));
    EXPECT_TRUE(document.entries(u"Job 3"_s).isEmpty());
}

TEST(IniDocumentTest, WritingChangesOnlyWhatItMust)
{
    // Comments, blank lines, lines without "=", a later duplicate section, odd spacing
    // and bytes that are not UTF-8 all survive.
    const QByteArray original = "; made by hand\n"
                                "\n"
                                "[Config]\n"
                                "  sLogFile  =  /tmp/a.log   ; kept as the value\n"
                                "just some words\n"
                                "sOther=\xFF\xFE latin\n"
                                "; belongs to the next section\n"
                                "\n"
                                "[Email]\n"
                                "sHost=mail\n"
                                "[config]\n"
                                "sLogFile=ignored\n";
    IniDocument document = IniDocument::fromUtf8(original);
    EXPECT_EQ(document.toUtf8(), original);

    ASSERT_TRUE(document.setValue(u"CONFIG"_s, u"slogfile"_s, u"/var/b.log"_s));
    ASSERT_TRUE(document.setValue(u"Config"_s, u"iTimerInterval"_s, u"500"_s));
    ASSERT_TRUE(document.setValue(u"New"_s, u"k"_s, u"v"_s));
    ASSERT_TRUE(document.setValue(u"New"_s, u"k2"_s, u"v2"_s));
    EXPECT_EQ(document.toUtf8(), "; made by hand\n"
                                 "\n"
                                 "[Config]\n"
                                 "sLogFile=/var/b.log\n"
                                 "just some words\n"
                                 "sOther=\xFF\xFE latin\n"
                                 "iTimerInterval=500\n"
                                 "; belongs to the next section\n"
                                 "\n"
                                 "[Email]\n"
                                 "sHost=mail\n"
                                 "[config]\n"
                                 "sLogFile=ignored\n"
                                 "\n"
                                 "[New]\n"
                                 "k=v\n"
                                 "k2=v2\n");
}

TEST(IniDocumentTest, KeysGoBelowTheLastKeyOrTheSectionsText)
{
    IniDocument document = IniDocument::fromUtf8("[a]\n; about a\n\n\n[b]\n");
    ASSERT_TRUE(document.setValue(u"a"_s, u"k"_s, u"1"_s));
    EXPECT_EQ(document.toUtf8(), "[a]\n; about a\nk=1\n\n\n[b]\n");
}

TEST(IniDocumentTest, KeepsCrLfAndTheByteOrderMark)
{
    IniDocument document = IniDocument::fromUtf8("\xEF\xBB\xBF[a]\r\nk=1\r\n");
    ASSERT_TRUE(document.setValue(u"a"_s, u"j"_s, u"2"_s));
    EXPECT_EQ(document.toUtf8(), "\xEF\xBB\xBF[a]\r\nk=1\r\nj=2\r\n");
}

TEST(IniDocumentTest, EveryValueReadsBackAsWritten)
{
    const QString values[] = {u""_s, u"  padded  "_s, u"\"quoted\""_s, u"'single'"_s,
        u"\"half"_s, u"\""_s, u"a = b ; c"_s, u"ünïcødé ✓"_s, u"\t"_s, u"x\"y\""_s};
    IniDocument document;
    int n = 0;
    for (const QString &value : values)
        ASSERT_TRUE(document.setValue(u"s"_s, u"k"_s + QString::number(n++), value));
    const IniDocument reread = IniDocument::fromUtf8(document.toUtf8());
    n = 0;
    for (const QString &value : values)
        EXPECT_EQ(reread.find(u"s"_s, u"k"_s + QString::number(n++)), value) << value.toStdString();
}

TEST(IniDocumentTest, RefusesWhatALineCannotHold)
{
    IniDocument document = IniDocument::fromUtf8("[a]\nk=1\n");
    const QByteArray before = document.toUtf8();
    EXPECT_FALSE(document.setValue(u"a"_s, u"k"_s, u"two\nlines"_s));
    EXPECT_FALSE(document.setValue(u"a"_s, u"k"_s, u"cr\r"_s));
    EXPECT_FALSE(document.setValue(u"a\nb"_s, u"k"_s, u"1"_s));
    for (const QString &key : {u""_s, u"  "_s, u"a=b"_s, u"[x]"_s, u";x"_s, u"two\nlines"_s})
        EXPECT_FALSE(document.setValue(u"a"_s, key, u"1"_s)) << key.toStdString();
    EXPECT_EQ(document.toUtf8(), before);
}

TEST(IniDocumentTest, RemovedKeysAndSectionsReadAsMissing)
{
    IniDocument document = IniDocument::fromUtf8(
        "[a]\nk=1\n; note\nK=2\nother=3\n[b]\nk=4\n[A]\nk=5\n[c]\n");
    EXPECT_TRUE(document.removeKey(u"a"_s, u"k"_s));
    EXPECT_EQ(document.toUtf8(), "[a]\n; note\nother=3\n[b]\nk=4\n[A]\nk=5\n[c]\n");
    EXPECT_FALSE(document.find(u"a"_s, u"k"_s));
    EXPECT_FALSE(document.removeKey(u"a"_s, u"k"_s));
    EXPECT_FALSE(document.removeKey(u"nowhere"_s, u"k"_s));

    EXPECT_TRUE(document.removeSection(u"A"_s));
    EXPECT_EQ(document.toUtf8(), "[b]\nk=4\n[c]\n");
    EXPECT_FALSE(document.hasSection(u"a"_s));
    EXPECT_EQ(document.sections(), (QStringList{u"b"_s, u"c"_s}));
    EXPECT_EQ(document.find(u"b"_s, u"k"_s), u"4"_s);
    EXPECT_FALSE(document.removeSection(u"a"_s));

    // A key added after the removals lands where the rules say.
    ASSERT_TRUE(document.setValue(u"b"_s, u"j"_s, u"6"_s));
    EXPECT_EQ(document.toUtf8(), "[b]\nk=4\nj=6\n[c]\n");
}

TEST(IniDocumentTest, ABatchOfManyJobsRoundTrips)
{
    IniDocument document;
    for (int job = 0; job < 2000; ++job)
        for (int value = 0; value < 20; ++value)
            ASSERT_TRUE(document.setValue(u"Job "_s + QString::number(job),
                u"sValue"_s + QString::number(value), QString::number(job * value)));
    const IniDocument reread = IniDocument::fromUtf8(document.toUtf8());
    EXPECT_EQ(reread.sections().size(), 2000);
    EXPECT_EQ(reread.keys(u"job 1999"_s).size(), 20);
    EXPECT_EQ(reread.find(u"Job 1999"_s, u"svalue19"_s), u"37981"_s);
}

class IniFileTest : public ::testing::Test
{
protected:
    TempProfile profile;
    QString path = profile.path(u"jobs.sav"_s);
};

TEST_F(IniFileTest, ABareNameLivesInTheConfigFolder)
{
    EXPECT_EQ(IniFile::resolve(u"win.ini"_s), profile.path(u"config/win.ini"_s));
    EXPECT_EQ(IniFile::resolve(u"/etc/x.ini"_s), u"/etc/x.ini"_s);
    EXPECT_EQ(IniFile::resolve(u"sub/x.ini"_s), u"sub/x.ini"_s);
    EXPECT_EQ(IniFile::resolve(QString()), QString());

    IniFile file(u"win.ini"_s);
    ASSERT_TRUE(file.writeString(u"Windows"_s, u"Load"_s, u"x"_s));
    EXPECT_EQ(readAll(profile.path(u"config/win.ini"_s)), "[Windows]\nLoad=x\n");
}

TEST_F(IniFileTest, MissingFileSectionOrKeyGiveTheDefault)
{
    IniFile file(path);
    EXPECT_EQ(file.readString(u"a"_s, u"k"_s, u"dflt"_s), u"dflt"_s);
    EXPECT_TRUE(file.sections().isEmpty());
    EXPECT_TRUE(file.deleteKey(u"a"_s, u"k"_s));
    EXPECT_TRUE(file.deleteSection(u"a"_s));
    EXPECT_FALSE(QFile::exists(path));

    writeAll(path, "[a]\nk=1\n");
    EXPECT_EQ(file.readString(u"b"_s, u"k"_s, u"dflt"_s), u"dflt"_s);
    EXPECT_EQ(file.readString(u"a"_s, u"j"_s, u"dflt"_s), u"dflt"_s);
    EXPECT_EQ(file.readString(u"A"_s, u"K"_s, u"dflt"_s), u"1"_s);
}

TEST_F(IniFileTest, EachCallReadsAndWritesTheFile)
{
    IniFile file(path);
    ASSERT_TRUE(file.writeString(u"SaveFileInfo"_s, u"sFileType"_s, u"Halvorn"_s));
    ASSERT_TRUE(file.writeString(u"Job"_s, u"sJobName"_s, u"Job"_s));
    ASSERT_TRUE(file.writeString(u"Job"_s, u"iJobType"_s, u"0"_s));
    writeAll(path, readAll(path) + "; added by another program\nbJunk=1\n");
    EXPECT_EQ(file.readString(u"job"_s, u"bjunk"_s), u"1"_s);
    EXPECT_EQ(file.sections(), (QStringList{u"SaveFileInfo"_s, u"Job"_s}));
    EXPECT_EQ(file.keys(u"Job"_s), (QStringList{u"sJobName"_s, u"iJobType"_s, u"bJunk"_s}));

    ASSERT_TRUE(file.deleteKey(u"Job"_s, u"iJobType"_s));
    ASSERT_TRUE(file.deleteSection(u"SaveFileInfo"_s));
    EXPECT_EQ(readAll(path), "[Job]\nsJobName=Job\n; added by another program\nbJunk=1\n");
    const QList<IniDocument::Entry> expected{{u"sJobName"_s, u"Job"_s}, {u"bJunk"_s, u"1"_s}};
    EXPECT_EQ(file.entries(u"job"_s), expected);
}

TEST_F(IniFileTest, AFailedWriteLeavesTheFileAsItWas)
{
    // A name that is a folder cannot be read, so a write must not replace it with a
    // file of only the new key.
    const QString folder = profile.path(u"folder.ini"_s);
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_FALSE(IniFile(folder).writeString(u"a"_s, u"k"_s, u"v"_s));
    EXPECT_TRUE(QFileInfo(folder).isDir());

    IniFile nowhere(profile.path(u"no/such/folder/x.ini"_s));
    EXPECT_FALSE(nowhere.writeString(u"a"_s, u"k"_s, u"v"_s));

    writeAll(path, "[a]\nk=1\n");
    EXPECT_FALSE(IniFile(path).writeString(u"a"_s, u"k"_s, u"two\nlines"_s));
    EXPECT_EQ(readAll(path), "[a]\nk=1\n");
    // Nothing of the temporary file is left beside it.
    EXPECT_EQ(QDir(profile.root()).entryList(QDir::Files), QStringList{u"jobs.sav"_s});
}

TEST_F(IniFileTest, ADocumentLoadsAndSavesWholeFiles)
{
    writeAll(path, "; mine\n[a]\nk=1\n");
    IniDocument document;
    ASSERT_TRUE(document.load(path));
    ASSERT_TRUE(document.setValue(u"a"_s, u"k"_s, u"2"_s));
    ASSERT_TRUE(document.save(path));
    EXPECT_EQ(readAll(path), "; mine\n[a]\nk=2\n");

    ASSERT_TRUE(document.load(profile.path(u"missing.ini"_s)));
    EXPECT_TRUE(document.sections().isEmpty());
    EXPECT_FALSE(document.load(profile.root()));
}

} // namespace
