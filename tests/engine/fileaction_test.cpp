// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/fileactions.h"
#include "log/activitylog.h"
#include "log/logsink.h"
#include "platform/registry.h"
#include "store/jobstore.h"
#include "store/settings.h"
#include "support/fakeclock.h"
#include "support/recordinghost.h"
#include "support/tempprofile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString job = u"Files"_s;

// The messages of the log lines, without their date and time.
struct MessageRecorder : LogSink
{
    QStringList messages;
    void logLineAdded(const QString &line) override { messages.append(line.section(u' ', 2)); }
};

// A tmpfs of its own for a test: another file system, and a small one fills up.
class TmpfsMount
{
public:
    explicit TmpfsMount(const char *options)
    {
        if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs",
                MS_NOSUID | MS_NODEV, options)
            == 0)
            m_mounted = true;
        else
            m_problem = std::strerror(errno);
    }
    ~TmpfsMount()
    {
        if (m_mounted && ::umount2(QFile::encodeName(m_dir.path()).constData(), 0) != 0)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    std::string problem() const { return m_problem; }
    QString path(const QString &name) const { return m_dir.path() + u'/' + name; }
    QStringList entries() const
    {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    std::string m_problem;
};

class FileActionTest : public ::testing::Test
{
protected:
    TempProfile profile;
    Registry registry;
    JobStore store { registry };
    Settings settings { registry };
    FakeClock clock;
    ActivityLog log { settings, clock };
    MessageRecorder recorder;
    RecordingHost host;
    FileActions actions { store, log, host };
    // Beside the profile's data folder, so that the trash there is the one for the tree.
    QString treePath = profile.path(u"tree"_s);

    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(treePath));
        log.setSink(&recorder);
        log.setLocale(QLocale(QLocale::C));
    }

    QString path(const QString &relative) const { return treePath + u'/' + relative; }

    void write(const QString &file, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(out.write(bytes), bytes.size());
    }
    static QByteArray read(const QString &file)
    {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<missing>");
    }
    void setSources(const QStringList &sources)
    {
        for (int n = 0; n < sources.size(); ++n)
            store.writeString(job, u"sSysSourceFileName"_s + QString::number(n), sources[n]);
    }
    QString trashed(const QString &name) const
    {
        return profile.path(u"data/Trash/files/"_s + name);
    }
    QString line(const QString &source, const char *outcome) const
    {
        return u"Job: "_s + job + u". File: "_s + source + QString::fromUtf8(outcome);
    }
};

class DeleteTest : public FileActionTest, public ::testing::WithParamInterface<bool>
{
protected:
    // The trash of $XDG_DATA_HOME serves the files of the home's file system only, so the
    // home is the profile for this test.
    QByteArray savedHome = qgetenv("HOME");
    void SetUp() override
    {
        FileActionTest::SetUp();
        qputenv("HOME", QFile::encodeName(profile.root()));
    }
    void TearDown() override { qputenv("HOME", savedHome); }
};

TEST_P(DeleteTest, EachSourceIsLoggedAndTheLastOneDecides)
{
    const bool useBin = GetParam();
    write(path(u"one.log"_s), "1");
    write(path(u"three.log"_s), "3");
    setSources({ path(u"one.log"_s), path(u"two.log"_s), path(u"three.log"_s) });

    EXPECT_TRUE(actions.perform(Job(job), FileActions::Delete, useBin));
    EXPECT_EQ(recorder.messages,
        QStringList(
            { line(path(u"one.log"_s), " deleted!"), line(path(u"two.log"_s), " deletion failed!"),
                line(path(u"three.log"_s), " deleted!") }));
    EXPECT_FALSE(QFileInfo::exists(path(u"one.log"_s)));
    EXPECT_FALSE(QFileInfo::exists(path(u"three.log"_s)));
    // The trash keeps what it was given; without it nothing is kept.
    EXPECT_EQ(QFileInfo::exists(trashed(u"one.log"_s)), useBin);
    EXPECT_EQ(QFileInfo::exists(trashed(u"three.log"_s)), useBin);
    if (useBin) {
        EXPECT_EQ(read(trashed(u"three.log"_s)), "3");
    }
}

INSTANTIATE_TEST_SUITE_P(RecycleBin, DeleteTest, ::testing::Values(true, false),
    [](const auto &info) { return info.param ? "Trash" : "Remove"; });

TEST_F(FileActionTest, WildcardDeletesEveryMatchingFileAndNothingElse)
{
    for (const char *name : { "a.tmp", "b.tmp", "keep.txt", ".hidden.tmp", "sub/c.tmp" })
        write(path(u"t/"_s + QString::fromUtf8(name)), "x");
    QDir().mkpath(path(u"t/dir.tmp"_s));
    setSources({ path(u"t/*.tmp"_s), path(u"t/*.none"_s) });

    EXPECT_FALSE(actions.DeleteOrCreateFiles(Job(job), FileActions::Delete, false));
    EXPECT_EQ(recorder.messages,
        QStringList({ line(path(u"t/*.tmp"_s), " deleted!"),
            line(path(u"t/*.none"_s), " deletion failed!") }));
    EXPECT_EQ(QDir(path(u"t"_s))
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
        QStringList({ u".hidden.tmp"_s, u"dir.tmp"_s, u"keep.txt"_s, u"sub"_s }));
    EXPECT_TRUE(QFileInfo::exists(path(u"t/sub/c.tmp"_s)));
}

TEST_F(FileActionTest, CreateMakesEmptyFilesAndTruncatesExistingOnes)
{
    write(path(u"full.txt"_s), "contents");
    setSources(
        { path(u"new.txt"_s), path(u"full.txt"_s), path(u"no/such/dir.txt"_s), path(u"*.txt"_s) });

    EXPECT_FALSE(actions.DeleteOrCreateFiles(Job(job), FileActions::Create, true));
    EXPECT_EQ(recorder.messages,
        QStringList({ line(path(u"new.txt"_s), " created!"), line(path(u"full.txt"_s), " created!"),
            line(path(u"no/such/dir.txt"_s), " creation failed!"),
            line(path(u"*.txt"_s), " creation failed!") }));
    EXPECT_EQ(read(path(u"new.txt"_s)), "");
    EXPECT_EQ(read(path(u"full.txt"_s)), "");
    EXPECT_FALSE(QFileInfo::exists(path(u"*.txt"_s)));
}

TEST_F(FileActionTest, CopyToAFolderAppendsTheFileNameAndShowsTheMessageFirst)
{
    write(path(u"data/A.TXT"_s), "alpha");
    QDir().mkpath(path(u"backup"_s));
    setSources({ path(u"data/A.TXT"_s) });
    store.writeString(job, u"sSysTargetFileName"_s, path(u"backup/"_s));
    bool targetAtMessage = true;
    host.onMessage
        = [&](const QString &) { targetAtMessage = QFileInfo::exists(path(u"backup/A.TXT"_s)); };

    EXPECT_TRUE(actions.perform(Job(job), FileActions::Copy, true));
    EXPECT_EQ(host.messages,
        QStringList(u"s: "_s + path(u"data/A.TXT"_s) + u" t: "_s + path(u"backup/A.TXT"_s)));
    EXPECT_FALSE(targetAtMessage);
    EXPECT_EQ(read(path(u"backup/A.TXT"_s)), "alpha");
    EXPECT_EQ(read(path(u"data/A.TXT"_s)), "alpha");
    EXPECT_EQ(recorder.messages, QStringList(line(path(u"data/A.TXT"_s), " copied!")));
}

TEST_F(FileActionTest, WildcardCopyHandlesEachMatchAndOneFileTargetKeepsTheLast)
{
    write(path(u"in/a.txt"_s), "a");
    write(path(u"in/b.txt"_s), "b");
    write(path(u"in/c.log"_s), "c");
    setSources({ path(u"in/*.txt"_s) });

    EXPECT_TRUE(actions.CopyOrRenameFiles(Job(job), path(u"one.txt"_s), FileActions::Copy));
    EXPECT_EQ(host.messages.size(), 2);
    EXPECT_EQ(recorder.messages,
        QStringList(
            { line(path(u"in/a.txt"_s), " copied!"), line(path(u"in/b.txt"_s), " copied!") }));
    EXPECT_EQ(read(path(u"one.txt"_s)), "b");
}

struct StopCase
{
    const char *name;
    int jobType;
    QStringList sources; // relative to the tree; "a" and "b" exist
    QString target; // relative; empty for none
    QStringList lines; // with <job>
};

void PrintTo(const StopCase &c, std::ostream *os)
{
    *os << c.name;
}

class CopyRenameStopTest : public FileActionTest, public ::testing::WithParamInterface<StopCase>
{
};

TEST_P(CopyRenameStopTest, AMissingSourceOrTargetEndsTheJob)
{
    const StopCase &c = GetParam();
    write(path(u"a"_s), "a");
    write(path(u"b"_s), "b");
    QDir().mkpath(path(u"out"_s));
    QStringList sources;
    for (const QString &s : c.sources)
        sources.append(path(s));
    setSources(sources);
    const QString target = c.target.isEmpty() ? QString() : path(c.target);

    EXPECT_FALSE(actions.CopyOrRenameFiles(Job(job), target, c.jobType));
    QStringList expected;
    for (QString l : c.lines)
        expected.append(l.replace(u"<a>"_s, path(u"a"_s)).replace(u"<job>"_s, job));
    EXPECT_EQ(recorder.messages, expected);
    // Nothing after the stop is handled.
    EXPECT_TRUE(QFileInfo::exists(path(u"b"_s)));
    EXPECT_FALSE(QFileInfo::exists(path(u"out/b"_s)));
}

INSTANTIATE_TEST_SUITE_P(Cases, CopyRenameStopTest,
    ::testing::Values(
        StopCase { "CopySourceMissing", FileActions::Copy, { u"gone"_s, u"b"_s }, u"out/"_s,
            { u"Job: <job>. copy\\rename failure, source file not found"_s } },
        StopCase { "RenameSourceMissing", FileActions::Rename, { u"gone"_s, u"b"_s }, u"out/b"_s,
            { u"Job: <job>. copy\\rename failure, source file not found"_s } },
        StopCase { "SourceCheckedBeforeTarget", FileActions::Copy, { u"*.none"_s }, QString(),
            { u"Job: <job>. copy\\rename failure, source file not found"_s } },
        StopCase { "CopyNoTarget", FileActions::Copy, { u"a"_s, u"b"_s }, QString(),
            { u"Job: <job>. copy\\rename failure, no target found..."_s } },
        StopCase { "RenameNoTarget", FileActions::Rename, { u"b"_s }, QString(),
            { u"Job: <job>. copy\\rename failure, no target found..."_s } },
        StopCase { "DirectoryIsNoSource", FileActions::Copy, { u"out"_s, u"b"_s }, u"out/"_s,
            { u"Job: <job>. copy\\rename failure, source file not found"_s } },
        StopCase { "StopAfterAGoodCopy", FileActions::Copy, { u"a"_s, u"gone"_s, u"b"_s },
            u"out/"_s,
            { u"Job: <job>. File: <a> copied!"_s,
                u"Job: <job>. copy\\rename failure, source file not found"_s } }),
    [](const auto &info) { return std::string(info.param.name); });

class CopySizeTest : public FileActionTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(CopySizeTest, EveryByteArrives)
{
    QByteArray bytes(GetParam(), Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i * 7 + i / 251);
    write(path(u"src.bin"_s), bytes);
    write(path(u"dst.bin"_s), QByteArray(40000, 'o')); // longer than any source: truncated

    ASSERT_TRUE(FileActions::CopyFileContents(path(u"src.bin"_s), path(u"dst.bin"_s)));
    EXPECT_EQ(read(path(u"dst.bin"_s)), bytes);
}

INSTANTIATE_TEST_SUITE_P(
    AroundTheBuffer, CopySizeTest, ::testing::Values(0, 1, 8191, 8192, 8193, 3 * 8192 + 5));

// A pipe put under the source's name between a look at it and its opening: the copy must
// neither wait for a writer nor copy the pipe. The name is swapped without pause, and any
// copy left waiting in open() is let go, so a fault shows as a copy of the pipe's nothing.
TEST_F(FileActionTest, ACopyNeverOpensAPipeSwappedInUnderTheSource)
{
    const QString source = path(u"source"_s);
    const QString spare = path(u"spare"_s);
    const QString target = path(u"target"_s);
    write(source, "data");
    ASSERT_EQ(::mkfifo(QFile::encodeName(spare).constData(), 0600), 0);
    const QByteArray sourceName = QFile::encodeName(source);
    const QByteArray spareName = QFile::encodeName(spare);

    std::atomic<bool> done = false;
    int copied = 0;
    int pipesCopied = 0;
    std::thread copier([&] {
        for (int n = 0; n < 2000; ++n) {
            if (!FileActions::CopyFileContents(source, target))
                continue;
            ++copied;
            if (read(target) != "data")
                ++pipesCopied;
        }
        done = true;
    });
    while (!done) {
        if (::renameat2(AT_FDCWD, sourceName.constData(), AT_FDCWD, spareName.constData(),
                RENAME_EXCHANGE)
            != 0) {
            ADD_FAILURE() << "cannot swap names: " << std::strerror(errno);
            break;
        }
        for (const QByteArray &name : { sourceName, spareName }) {
            const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0)
                ::close(fd);
        }
    }
    copier.join();
    EXPECT_EQ(pipesCopied, 0);
    EXPECT_GT(copied, 0);
}

TEST_F(FileActionTest, CopyFromASourceThatCannotBeOpenedKeepsTheTarget)
{
    write(path(u"dst.txt"_s), "kept");
    EXPECT_FALSE(FileActions::CopyFileContents(path(u"missing.txt"_s), path(u"dst.txt"_s)));
    EXPECT_FALSE(FileActions::CopyFileContents(path(u"dst.txt"_s), path(u"no/dir/x.txt"_s)));
    EXPECT_EQ(read(path(u"dst.txt"_s)), "kept");
}

struct SameFileCase
{
    const char *name;
    std::function<QString(const QString &dir, const QString &file)> alias;
};

void PrintTo(const SameFileCase &c, std::ostream *os)
{
    *os << c.name;
}

class SameFileCopyTest : public FileActionTest, public ::testing::WithParamInterface<SameFileCase>
{
};

TEST_P(SameFileCopyTest, FailsAndKeepsTheContents)
{
    write(path(u"self.txt"_s), "precious");
    const QString target = GetParam().alias(treePath, path(u"self.txt"_s));
    setSources({ path(u"self.txt"_s) });

    EXPECT_FALSE(actions.CopyOrRenameFiles(Job(job), target, FileActions::Copy));
    EXPECT_EQ(recorder.messages, QStringList(line(path(u"self.txt"_s), " copy failed!")));
    EXPECT_EQ(read(path(u"self.txt"_s)), "precious");
    EXPECT_EQ(read(target.endsWith(u'/') ? target + u"self.txt"_s : target), "precious");
}

INSTANTIATE_TEST_SUITE_P(Aliases, SameFileCopyTest,
    ::testing::Values(
        SameFileCase { "SamePath", [](const QString &, const QString &f) { return f; } },
        SameFileCase {
            "FolderTarget", [](const QString &d, const QString &) -> QString { return d + u'/'; } },
        SameFileCase { "DotPath",
            [](const QString &d, const QString &) -> QString { return d + u"/./self.txt"_s; } },
        SameFileCase { "HardLink",
            [](const QString &d, const QString &f) -> QString {
                const QString l = d + u"/hard.txt"_s;
                return ::link(QFile::encodeName(f).constData(), QFile::encodeName(l).constData())
                        == 0
                    ? l
                    : QString();
            } },
        SameFileCase { "SymbolicLink",
            [](const QString &d, const QString &f) -> QString {
                const QString l = d + u"/soft.txt"_s;
                return QFile::link(f, l) ? l : QString();
            } }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(FileActionTest, ACopyThatRunsOutOfSpaceFailsAndLeavesTheOldTarget)
{
    TmpfsMount small("size=64k");
    if (!small.mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here (" << small.problem()
                     << "); run as root to test a full disk";
    write(small.path(u"target.bin"_s), "old contents");
    write(path(u"big.bin"_s), QByteArray(256 * 1024, 'b'));
    write(path(u"small.bin"_s), QByteArray(1024, 's'));
    // What fits is copied: the failure below is the full disk's.
    ASSERT_TRUE(FileActions::CopyFileContents(path(u"small.bin"_s), small.path(u"probe.bin"_s)));
    ASSERT_TRUE(QFile::remove(small.path(u"probe.bin"_s)));
    setSources({ path(u"big.bin"_s) });

    EXPECT_FALSE(actions.CopyOrRenameFiles(Job(job), small.path(u"target.bin"_s), FileActions::Copy));
    EXPECT_EQ(recorder.messages, QStringList(line(path(u"big.bin"_s), " copy failed!")));
    EXPECT_EQ(read(small.path(u"target.bin"_s)), "old contents");
    EXPECT_EQ(small.entries(), QStringList(u"target.bin"_s)); // no partial file left behind
}

TEST_F(FileActionTest, RenameMovesTheFileAndNeverReplacesATarget)
{
    write(path(u"from.txt"_s), "moving");
    write(path(u"other.txt"_s), "other");
    write(path(u"taken.txt"_s), "taken");
    setSources({ path(u"from.txt"_s), path(u"other.txt"_s) });
    store.writeString(job, u"sSysTargetFileName"_s, path(u"to.txt"_s));

    // The second source finds the target the first one made.
    EXPECT_FALSE(actions.perform(Job(job), FileActions::Rename, true));
    EXPECT_EQ(recorder.messages,
        QStringList({ line(path(u"from.txt"_s), " renamed!"),
            line(path(u"other.txt"_s), " rename failed!") }));
    EXPECT_FALSE(QFileInfo::exists(path(u"from.txt"_s)));
    EXPECT_EQ(read(path(u"to.txt"_s)), "moving");
    EXPECT_EQ(read(path(u"other.txt"_s)), "other");
    EXPECT_TRUE(host.messages.isEmpty());

    EXPECT_FALSE(FileActions::moveFile(path(u"other.txt"_s), path(u"taken.txt"_s)));
    EXPECT_EQ(read(path(u"taken.txt"_s)), "taken");
    EXPECT_EQ(read(path(u"other.txt"_s)), "other");
}

TEST_F(FileActionTest, RenameToAnotherFileSystemKeepsContentsModeAndTime)
{
    TmpfsMount other("size=1m");
    if (!other.mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here (" << other.problem()
                     << "); run as root to test a move across file systems";
    const QByteArray bytes(20000, 'm');
    write(path(u"move.bin"_s), bytes);
    const QDateTime modified(QDate(2020, 1, 2), QTime(3, 4, 5));
    {
        QFile f(path(u"move.bin"_s));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(modified, QFileDevice::FileModificationTime));
    }
    const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(path(u"move.bin"_s), mode));
    ASSERT_TRUE(QFile::link(path(u"move.bin"_s), path(u"link"_s)));
    setSources({ path(u"move.bin"_s) });

    EXPECT_TRUE(actions.CopyOrRenameFiles(Job(job), other.path(u"moved.bin"_s), FileActions::Rename));
    EXPECT_EQ(recorder.messages, QStringList(line(path(u"move.bin"_s), " renamed!")));
    EXPECT_FALSE(QFileInfo::exists(path(u"move.bin"_s)));
    const QFileInfo moved(other.path(u"moved.bin"_s));
    EXPECT_EQ(read(moved.filePath()), bytes);
    EXPECT_EQ(moved.permissions() & 0x7077, mode & 0x7077);
    EXPECT_EQ(moved.lastModified(), modified);
    EXPECT_EQ(other.entries(), QStringList(u"moved.bin"_s));

    // A link is moved as a link.
    EXPECT_TRUE(FileActions::moveFile(path(u"link"_s), other.path(u"link"_s)));
    EXPECT_EQ(QFileInfo(other.path(u"link"_s)).symLinkTarget(), path(u"move.bin"_s));
    EXPECT_FALSE(QFileInfo(path(u"link"_s)).isSymLink());
}

} // namespace
