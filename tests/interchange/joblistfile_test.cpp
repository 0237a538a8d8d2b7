// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "interchange/joblistfile.h"
#include "interchange/joblistuser.h"
#include "log/activitylog.h"
#include "platform/registry.h"
#include "store/jobstore.h"
#include "store/settings.h"
#include "support/fakeclock.h"
#include "support/tempprofile.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

using Question = JobListUser::Question;
using Values = QList<Registry::Value>;

// Answers from a script, in order; records what was asked and shown.
class ScriptedUser : public JobListUser
{
public:
    QStringList saveFiles; // dialog answers; when used up, the user cancels
    QStringList openFiles;
    QList<bool> answers;
    QList<Question> questions;
    QStringList asked;
    QStringList messages;
    QStringList presets;

    std::optional<QString> chooseSaveFile(const QString &preset) override
    {
        presets << preset;
        return saveFiles.isEmpty() ? std::nullopt : std::optional(saveFiles.takeFirst());
    }
    std::optional<QString> chooseOpenFile(const QString &preset) override
    {
        presets << preset;
        return openFiles.isEmpty() ? std::nullopt : std::optional(openFiles.takeFirst());
    }
    bool askYesNo(Question question, const QString &text) override
    {
        questions << question;
        asked << text;
        EXPECT_FALSE(answers.isEmpty()) << "unexpected question: " << text.toStdString();
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    void showMessage(const QString &text) override { messages << text; }
};

class JobListFileTest : public ::testing::Test
{
protected:
    TempProfile profile;
    Registry registry;
    JobStore store { registry };
    Settings settings { registry };
    FakeClock clock; // 2026-12-10 14:05:09
    ActivityLog log { settings, clock };
    JobListFile file { store, log, clock };
    ScriptedUser user;
    QString path = profile.path(u"jobs.sav"_s);

    void SetUp() override
    {
        log.setLocale(QLocale::c());
        file.setLocale(QLocale::c());
    }

    void addJob(const QString &job, const Values &values)
    {
        for (const auto &[name, data] : values)
            ASSERT_TRUE(store.writeString(job, name, data));
    }
    Values valuesOf(const QString &job)
    {
        return registry.values(JobStore::storeKey + u'\\' + job);
    }

    // The log's messages without their date and time.
    QStringList logLines()
    {
        QFile f(log.logFilePath());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList lines;
        for (const QString &line :
            QString::fromUtf8(f.readAll()).split(u"\r\n"_s, Qt::SkipEmptyParts))
            lines << line.section(u' ', 2);
        return lines;
    }
    static void writeFile(const QString &to, const QByteArray &bytes)
    {
        QFile f(to);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray readFile(const QString &from)
    {
        QFile f(from);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    static QByteArray header(const QByteArray &signature = "Halvorn Job List Save File")
    {
        return "[SaveFileInfo]\nsFileType=" + signature
            + "\nsSaveDate=2026-01-02\nsSaveTime=08:00:00\n";
    }
};

TEST_F(JobListFileTest, SavesTheSelectedRowsInDisplayOrderAsPlainLines)
{
    addJob(u"A"_s, { { u"sJobName"_s, u"A"_s }, { u"iJobType"_s, u"0"_s } });
    addJob(u"B"_s,
        { { u"sJobName"_s, u"B"_s }, { u"iHour"_s, u"0x10"_s }, { u"bHold"_s, u"2"_s },
            { u"xNotCarried"_s, u"left out"_s }, { u"sCommand Line"_s, u"-a /home/"_s } });
    addJob(u"C"_s, { { u"sJobName"_s, u"C"_s } });
    user.saveFiles = { path };

    EXPECT_EQ(file.save({ u"C"_s, u"A"_s, u"B"_s }, { u"C"_s, u"B"_s }, user),
        JobListFile::SaveResult::Saved);
    EXPECT_EQ(user.presets, QStringList { u"*.sav"_s });
    EXPECT_TRUE(user.asked.isEmpty());
    EXPECT_EQ(readFile(path),
        "[SaveFileInfo]\nsFileType=Halvorn Job List Save File\n"
        "sSaveDate=2026-12-10\nsSaveTime=14:05:09\n"
        "\n[C]\nsJobName=C\n"
        "\n[B]\nsJobName=B\niHour=16\nbHold=1\nsCommand Line=-a /home/\n");
}

// Every value a job can hold comes back exactly, in its order, however many there are.
TEST_F(JobListFileTest, ASavedJobLoadsBackWithEveryValueExactly)
{
    Values values = {
        { u"sJobName"_s, u"Mail report"_s },
        { u"iJobType"_s, u"6"_s },
        { u"sEmailText"_s, u"Dear all,\r\nsJobName=Evil\r\n[Other job]\n\n-- \nOps\n"_s },
        { u"sCarriageReturn"_s, u"a\rb"_s },
        { u"sUnicode"_s, u"Grüße, 日本語 – ✓"_s },
        { u"sBlanks"_s, u"  padded  "_s },
        { u"sTab"_s, u"\tlead"_s },
        { u"sQuoted"_s, u"\"quoted\""_s },
        { u"sSingle"_s, u"'single'"_s },
        { u"sHalfQuote"_s, u"\"open"_s },
        { u"sEquals"_s, u"a=b=c"_s },
        { u"sBracket"_s, u"[not a section]"_s },
        { u"sSemicolon"_s, u"; not a comment"_s },
        { u"sMarker"_s, u"\\:looks escaped"_s },
        { u"sBackslash"_s, u"C:\\new\\table \\n\\"_s },
        { u"sEmpty"_s, QString() },
        { u"sLong"_s, QString(20000, u'x') + u"\nend"_s },
        { u"bHold"_s, u"1"_s },
        { u"iGeneralFont.Size"_s, u"-12"_s },
    };
    for (int i = 0; i < 700; ++i) // far beyond one 8,192-character buffer of names
        values.append({ u"sFreq"_s + QString::number(i), u"2026/12/"_s + QString::number(i) });
    addJob(u"Mail report"_s, values);
    user.saveFiles = { path };
    user.answers = { true }; // save the whole list
    ASSERT_EQ(file.save({ u"Mail report"_s }, {}, user), JobListFile::SaveResult::Saved);
    EXPECT_EQ(user.questions, QList<Question> { Question::SaveWholeList });
    EXPECT_EQ(user.asked, QStringList { u"No jobs selected, save the whole job list?"_s });

    const QByteArray text = readFile(path);
    EXPECT_TRUE(text.contains(
        "sEmailText=\\:Dear all,\\r\\nsJobName=Evil\\r\\n[Other job]\\n\\n-- \\nOps\\n\n"));
    EXPECT_TRUE(text.contains("sSaveTime=14:05:09\nbEscapedValues=1\n"));
    EXPECT_TRUE(
        text.contains("sBackslash=C:\\new\\table \\n\\\n")); // untouched without a line break

    store.writeString(u"Mail report"_s, u"sExtra"_s, u"only in the store"_s);
    user.openFiles = { path };
    user.answers = { true }; // replace the entire job list
    const JobListFile::LoadResult result = file.load(user);
    EXPECT_EQ(result.outcome, JobListFile::LoadOutcome::Done);
    EXPECT_EQ(result.jobsLoaded, 1);
    EXPECT_EQ(valuesOf(u"Mail report"_s), values);
    EXPECT_EQ(user.asked.last(),
        u"Do you want to replace the entire Job List with this file dated: 2026-12-10 14:05:09?"_s);
}

TEST_F(JobListFileTest, APlainFileWrittenByHandReadsLineByLine)
{
    writeFile(path,
        "; written by hand\r\n" + header().replace("\n", "\r\n")
            + "[Hand job]\r\n"
              "sJobName=Hand job\r\n"
              "sEmailText=Dear all,\r\n"
              "the report is attached.\r\n"
              "iHour=0x10\r\n"
              "iMin=soon\r\n"
              "bHold=2\r\n"
              "bOnce=yes\r\n"
              "  sPadded =  \"  kept  \"  \r\n"
              "sMarker=\\:not escaped\\n\r\n"
              "xComment=skipped\r\n"
              "SUpper=skipped\r\n"
              " = no name\r\n"
              "[Bad\\name]\r\n"
              "sJobName=Bad\\name\r\n");

    const JobListFile::LoadResult result = file.loadWithoutQuestions(path);
    EXPECT_EQ(result.outcome, JobListFile::LoadOutcome::Done);
    EXPECT_EQ(valuesOf(u"Hand job"_s),
        (Values { { u"sJobName"_s, u"Hand job"_s }, { u"sEmailText"_s, u"Dear all,"_s },
            { u"iHour"_s, u"16"_s }, { u"iMin"_s, u"0"_s }, { u"bHold"_s, u"1"_s },
            { u"bOnce"_s, u"0"_s }, { u"sPadded"_s, u"  kept  "_s },
            { u"sMarker"_s, u"\\:not escaped\\n"_s } }));
    EXPECT_EQ(logLines(),
        (QStringList {
            u"Job List File Read: File: "_s + path
                + u" job \"Hand job\": a value without a name was skipped"_s,
            u"Job List File Read: File: "_s + path + u" read. 2 jobs added."_s,
            u"Job List File Read: File: "_s + path + u" job \"Bad\\name\" could not be stored"_s }));
    EXPECT_EQ(store.listJobs(), QStringList { u"Hand job"_s });
}

TEST_F(JobListFileTest, OnlyARegularFileIsRead)
{
    const QString fifo = profile.path(u"fifo.sav"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : {fifo, u"/dev/zero"_s}) {
        EXPECT_EQ(file.loadWithoutQuestions(path).outcome, JobListFile::LoadOutcome::InvalidFormat);
        EXPECT_EQ(logLines().last(), u"Job List File Read: File: "_s + path + u" invalid file format"_s);
    }
}

TEST_F(JobListFileTest, AWrongSignatureOrAMissingFileLoadsNothing)
{
    writeFile(path, header("halvorn job list save file") + "[A]\nsJobName=A\n");
    user.openFiles = { path, profile.path(u"missing.sav"_s) };
    EXPECT_EQ(file.load(user).outcome, JobListFile::LoadOutcome::InvalidFormat);
    EXPECT_EQ(file.load(user).outcome, JobListFile::LoadOutcome::InvalidFormat);
    EXPECT_TRUE(user.asked.isEmpty());
    EXPECT_EQ(
        user.messages, QStringList(2, u"The selected file is not a valid Halvorn Save File"_s));
    EXPECT_EQ(logLines(),
        (QStringList { u"Job List File Read: File: "_s + path + u" invalid file format"_s,
            u"Job List File Read: File: "_s + profile.path(u"missing.sav"_s)
                + u" invalid file format"_s }));
    EXPECT_TRUE(store.listJobs().isEmpty());
    EXPECT_EQ(file.load(user).outcome, JobListFile::LoadOutcome::Cancelled);
}

TEST_F(JobListFileTest, SaveAsksBeforeReplacingAFileAndAHeaderOnlyFileHasNoJobData)
{
    addJob(u"Keep me"_s, { { u"sJobName"_s, u"Keep me"_s } });
    const QString other = profile.path(u"other.sav"_s);
    writeFile(path, "old contents\n");
    user.saveFiles = { path, other };
    user.answers = { false, false }; // not that file; do not save the whole list
    EXPECT_EQ(file.save({ u"Keep me"_s }, {}, user), JobListFile::SaveResult::Stopped);
    EXPECT_EQ(user.asked,
        (QStringList {
            path + u" exists, replace it?"_s, u"No jobs selected, save the whole job list?"_s }));
    EXPECT_EQ(readFile(path), "old contents\n");
    EXPECT_EQ(readFile(other),
        "[SaveFileInfo]\nsFileType=Halvorn Job List Save File\n"
        "sSaveDate=2026-12-10\nsSaveTime=14:05:09\n");

    // Yes to replacing the whole list, then the file turns out to hold no job: the list stays.
    user.openFiles = { other };
    user.answers = { true };
    const JobListFile::LoadResult result = file.load(user);
    EXPECT_EQ(result.outcome, JobListFile::LoadOutcome::NoJobData);
    EXPECT_FALSE(result.storeChanged);
    EXPECT_EQ(user.messages, QStringList { u"There is no valid job data in this file..."_s });
    EXPECT_EQ(logLines(),
        QStringList { u"Job List File Read: File: "_s + other + u" has no job data!"_s });
    EXPECT_EQ(store.listJobs(), QStringList { u"Keep me"_s });

    user.saveFiles = { path };
    user.answers = { true };
    EXPECT_EQ(file.save({ u"Keep me"_s }, { u"Keep me"_s }, user), JobListFile::SaveResult::Saved);
    EXPECT_TRUE(readFile(path).endsWith("[Keep me]\nsJobName=Keep me\n"));
}

TEST_F(JobListFileTest, AJobWithoutValuesStopsTheSaveAndKeepsWhatWasWritten)
{
    addJob(u"A"_s, { { u"sJobName"_s, u"A"_s } });
    addJob(u"SaveFileInfo"_s, { { u"sJobName"_s, u"SaveFileInfo"_s } });
    addJob(u"B"_s, { { u"sJobName"_s, u"B"_s } });
    user.saveFiles = { path };
    const QStringList rows = { u"A"_s, u"SaveFileInfo"_s, u"Gone"_s, u"B"_s };
    EXPECT_EQ(file.save(rows, rows, user), JobListFile::SaveResult::Stopped);
    EXPECT_EQ(user.messages,
        (QStringList {
            u"The job \"SaveFileInfo\" was not saved: its name or the name of one of its values can not be written to a job list file."_s,
            u"Error retrieving data from the registry"_s }));
    const QByteArray text = readFile(path);
    EXPECT_TRUE(text.endsWith("\n[A]\nsJobName=A\n")) << text.toStdString();
    EXPECT_FALSE(text.contains("[B]"));
}

TEST_F(JobListFileTest, AFileThatCannotBeWrittenIsReported)
{
    addJob(u"A"_s, { { u"sJobName"_s, u"A"_s } });
    const QString unwritable = profile.path(u"no/such/folder/jobs.sav"_s);
    user.saveFiles = { unwritable };
    EXPECT_EQ(file.save({ u"A"_s }, { u"A"_s }, user), JobListFile::SaveResult::WriteFailed);
    EXPECT_EQ(user.messages,
        QStringList {
            u"The job list file "_s + unwritable + u" could not be written; it is as it was."_s });
    EXPECT_EQ(file.save({ u"A"_s }, { u"A"_s }, user), JobListFile::SaveResult::Cancelled);
}

TEST_F(JobListFileTest, MergingAsksAboutEachJobOfTheSameName)
{
    Values oldA = { { u"sJobName"_s, u"A"_s } };
    for (int i = 0; i < 7; ++i)
        oldA.append({ u"sFreq"_s + QString::number(i), u"old"_s });
    addJob(u"A"_s, oldA);
    addJob(u"B"_s, { { u"sJobName"_s, u"B"_s }, { u"sProgram"_s, u"old"_s } });
    addJob(u"D"_s, { { u"sJobName"_s, u"D"_s } });
    writeFile(path,
        header()
            + "[A]\nsJobName=A\nsFreq0=new\nsFreq1=new\n"
              "[B]\nsJobName=B\nsProgram=new\n"
              "[C]\nsJobName=C\n");
    user.openFiles = { path };
    user.answers = { false, true, false }; // merge; replace A; keep B

    const JobListFile::LoadResult result = file.load(user);
    EXPECT_EQ(result.outcome, JobListFile::LoadOutcome::Done);
    EXPECT_EQ(result.jobsLoaded, 2);
    EXPECT_EQ(user.questions,
        (QList<Question> { Question::ReplaceJobList, Question::ReplaceJob, Question::ReplaceJob }));
    EXPECT_EQ(user.asked[0],
        u"Do you want to replace the entire Job List with this file dated: 2026-01-02 08:00:00?"_s);
    EXPECT_EQ(user.asked[1],
        u"There is already a job in the job list by the name of \"A\". Do you want to replace it with this job?"_s);
    EXPECT_EQ(valuesOf(u"A"_s),
        (Values {
            { u"sJobName"_s, u"A"_s }, { u"sFreq0"_s, u"new"_s }, { u"sFreq1"_s, u"new"_s } }));
    EXPECT_EQ(store.readString(u"B"_s, u"sProgram"_s), u"old"_s);
    EXPECT_EQ(store.listJobs(), (QStringList { u"A"_s, u"B"_s, u"C"_s, u"D"_s }));
    // One line after each job loaded, each with the number of job sections in the file.
    const QString added = u"Job List File Read: File: "_s + path + u" read. 3 jobs added."_s;
    EXPECT_EQ(logLines(), (QStringList { added, added }));
}

TEST_F(JobListFileTest, ReplacingTheEntireListLeavesExactlyTheFilesJobs)
{
    addJob(u"Old"_s, { { u"sJobName"_s, u"Old"_s } });
    addJob(u"B"_s, { { u"sJobName"_s, u"B"_s }, { u"sExtra"_s, u"old"_s } });
    writeFile(path, header() + "[A]\nsJobName=A\n[B]\nsJobName=B\n[C]\nsJobName=C\n");
    user.openFiles = { path };
    user.answers = { true };
    EXPECT_EQ(file.load(user).jobsLoaded, 3);
    EXPECT_EQ(store.listJobs(), (QStringList { u"A"_s, u"B"_s, u"C"_s }));
    EXPECT_EQ(valuesOf(u"B"_s), (Values { { u"sJobName"_s, u"B"_s } }));
    EXPECT_EQ(logLines(),
        QStringList(3, u"Job List File Read: File: "_s + path + u" read. 3 jobs added."_s));
}

TEST_F(JobListFileTest, AJobSectionWithoutEntriesStopsTheLoadAndKeepsTheOldJob)
{
    addJob(u"B"_s, { { u"sJobName"_s, u"B"_s }, { u"sProgram"_s, u"old"_s } });
    writeFile(path, header() + "[A]\nsJobName=A\n[B]\n; nothing here\n[C]\nsJobName=C\n");
    user.openFiles = { path };
    user.answers = { false, true }; // merge; replace B

    const JobListFile::LoadResult result = file.load(user);
    EXPECT_EQ(result.outcome, JobListFile::LoadOutcome::Stopped);
    EXPECT_EQ(result.jobsLoaded, 1);
    EXPECT_EQ(user.messages, QStringList { u"Error retrieving data from job list load file"_s });
    EXPECT_EQ(store.listJobs(), (QStringList { u"A"_s, u"B"_s }));
    EXPECT_EQ(store.readString(u"B"_s, u"sProgram"_s), u"old"_s);
    EXPECT_EQ(logLines().size(), 1);

    // Without questions the same file stops as quietly.
    user.messages.clear();
    EXPECT_EQ(file.loadWithoutQuestions(path).outcome, JobListFile::LoadOutcome::Stopped);
    EXPECT_TRUE(user.messages.isEmpty());
}

} // namespace
