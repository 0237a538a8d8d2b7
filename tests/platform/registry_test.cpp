// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/registry.h"
#include "support/tempprofile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString jobs = u"Software\\Tarnwick\\Halvorn\\TimedJobs"_s;

class RegistryTest : public ::testing::Test
{
protected:
    TempProfile profile;
    Registry registry{Registry::Role::Scheduler};
};

TEST_F(RegistryTest, NamesIgnoreCaseAndKeepTheirFirstSpelling)
{
    ASSERT_TRUE(registry.isUsable());
    EXPECT_EQ(registry.path(), profile.registryPath());
    ASSERT_TRUE(registry.writeValue(jobs + u"\\Backup"_s, u"sEmailText"_s, u"one"_s));
    ASSERT_TRUE(registry.writeValue(u"SOFTWARE\\tarnwick\\HALVORN\\timedjobs\\BACKUP"_s,
        u"sEMailText"_s, u"two"_s));
    EXPECT_EQ(registry.readValue(jobs + u"\\backup"_s, u"SEMAILTEXT"_s), u"two"_s);
    EXPECT_EQ(registry.subKeys(jobs), QStringList{u"Backup"_s});
    const auto values = registry.values(jobs + u"\\Backup"_s);
    ASSERT_EQ(values.size(), 1);
    EXPECT_EQ(values[0].first, u"sEmailText"_s);
    // Non-ASCII names fold too.
    registry.writeValue(jobs + u"\\Übung"_s, u"sJobName"_s, u"Übung"_s);
    EXPECT_TRUE(registry.keyExists(jobs + u"\\üBUNG"_s));
}

TEST_F(RegistryTest, SubKeysListInCaseInsensitiveOrderValuesInFirstWrittenOrder)
{
    // Upper-case order, as the Windows registry lists: "_" sorts after the letters.
    for (const QString &name : {u"delta"_s, u"Alpha"_s, u"charlie"_s, u"Bravo"_s, u"a_b"_s, u"ab"_s})
        registry.createKey(jobs + u'\\' + name);
    EXPECT_EQ(registry.subKeys(jobs),
        (QStringList{u"ab"_s, u"Alpha"_s, u"a_b"_s, u"Bravo"_s, u"charlie"_s, u"delta"_s}));

    const QString key = jobs + u"\\Alpha"_s;
    registry.writeValue(key, u"sZ"_s, u"1"_s);
    registry.writeValue(key, u"sA"_s, u"2"_s);
    registry.writeValue(key, u"sM"_s, u"3"_s);
    registry.writeValue(key, u"SZ"_s, u"4"_s); // a rewrite keeps its place
    QStringList order;
    for (const auto &v : registry.values(key))
        order << v.first + u'=' + v.second;
    EXPECT_EQ(order, (QStringList{u"sZ=4"_s, u"sA=2"_s, u"sM=3"_s}));
    ASSERT_TRUE(registry.deleteValue(key, u"sa"_s));
    EXPECT_FALSE(registry.readValue(key, u"sA"_s).has_value());
}

TEST_F(RegistryTest, DeleteKeyTakesEverythingBeneathButNotItsNeighbours)
{
    registry.writeValue(jobs + u"\\A"_s, u"s"_s, u"1"_s);
    registry.writeValue(jobs + u"\\A\\Nested\\Deeper"_s, u"s"_s, u"1"_s);
    registry.writeValue(jobs + u"\\AB"_s, u"s"_s, u"1"_s);
    ASSERT_TRUE(registry.deleteKey(jobs + u"\\a"_s));
    EXPECT_FALSE(registry.keyExists(jobs + u"\\A\\Nested\\Deeper"_s));
    EXPECT_FALSE(registry.readValue(jobs + u"\\A\\Nested\\Deeper"_s, u"s"_s));
    EXPECT_EQ(registry.subKeys(jobs), QStringList{u"AB"_s});
}

TEST_F(RegistryTest, TheRootAndEmptyValueNamesAreRefused)
{
    const QString key = jobs + u"\\Backup"_s;
    ASSERT_TRUE(registry.writeValue(key, u"sJobName"_s, u"Backup"_s));
    for (const QString &root : {QString(), u"\\"_s, u"\\\\"_s})
        EXPECT_FALSE(registry.deleteKey(root)) << root.toStdString();
    EXPECT_EQ(registry.readValue(key, u"sJobName"_s), u"Backup"_s);

    EXPECT_FALSE(registry.writeValue(key, QString(), u"x"_s));
    EXPECT_FALSE(registry.deleteValue(key, QString()));
    EXPECT_EQ(registry.values(key).size(), 1);
}

TEST_F(RegistryTest, TheBulkReadNeverMatchesItsPadding)
{
    // A file written before empty names were refused may still hold one.
    const QString key = jobs + u"\\Backup"_s;
    ASSERT_TRUE(registry.writeValue(key, u"sJobName"_s, u"Backup"_s));
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(profile.registryPath()).constData(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db,
                  "INSERT INTO vals(key, name, fold, data) SELECT key, '', '', 'x' FROM vals LIMIT 1",
                  nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(db);
    // Five names leave three padding slots in the second group of four.
    const QStringList names = {u"sJobName"_s, u"a"_s, u"b"_s, u"c"_s, u"d"_s};
    const auto values = registry.readValues(key, names);
    ASSERT_EQ(values.size(), names.size());
    EXPECT_EQ(values[0], u"Backup"_s);
    for (qsizetype i = 1; i < values.size(); ++i)
        EXPECT_FALSE(values[i].has_value());
}

TEST(RegistryFiles, TheFileItsJournalAndTheFolderItMakesArePrivate)
{
    TempProfile profile;
    const mode_t previous = ::umask(022);
    {
        Registry registry(Registry::Role::Scheduler);
        ASSERT_TRUE(registry.writeValue(jobs + u"\\A"_s, u"sJobName"_s, u"A"_s));
        auto modeOf = [](const QString &path) {
            struct stat info;
            return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0u;
        };
        EXPECT_EQ(modeOf(profile.path(u"config/halvorn"_s)), 0700u);
        for (const char *suffix : {"", "-wal", "-shm"})
            EXPECT_EQ(modeOf(profile.registryPath() + QLatin1StringView(suffix)), 0600u) << suffix;
    }
    ::umask(previous);
}

TEST_F(RegistryTest, RenameMovesTheSubtreeAndNeverMerges)
{
    registry.writeValue(jobs + u"\\Old"_s, u"sX"_s, u"x"_s);
    registry.writeValue(jobs + u"\\Old\\Child"_s, u"sY"_s, u"y"_s);
    registry.writeValue(jobs + u"\\Other"_s, u"sZ"_s, u"z"_s);

    EXPECT_FALSE(registry.renameKey(jobs + u"\\Old"_s, jobs + u"\\OTHER"_s));
    EXPECT_EQ(registry.readValue(jobs + u"\\Other"_s, u"sX"_s), std::nullopt);
    EXPECT_FALSE(registry.renameKey(jobs + u"\\Old"_s, jobs + u"\\Old\\Child\\X"_s));

    ASSERT_TRUE(registry.renameKey(jobs + u"\\Old"_s, jobs + u"\\New"_s));
    EXPECT_FALSE(registry.keyExists(jobs + u"\\Old"_s));
    EXPECT_EQ(registry.readValue(jobs + u"\\New\\Child"_s, u"sY"_s), u"y"_s);
    // A change of letter case renames in place.
    ASSERT_TRUE(registry.renameKey(jobs + u"\\New"_s, jobs + u"\\NEW"_s));
    EXPECT_EQ(registry.subKeys(jobs), (QStringList{u"NEW"_s, u"Other"_s}));
}

TEST_F(RegistryTest, AFailedTransactionLeavesNothingBehind)
{
    registry.writeValue(jobs + u"\\Job"_s, u"sA"_s, u"old"_s);
    {
        Registry::Transaction transaction(registry);
        registry.deleteKey(jobs + u"\\Job"_s);
        registry.writeValue(jobs + u"\\Job"_s, u"sB"_s, u"new"_s);
        // A failing step inside (no empty key names) fails the whole.
        EXPECT_FALSE(registry.writeValue(jobs + u"\\\\Bad"_s, u"s"_s, u"1"_s));
        EXPECT_FALSE(transaction.commit());
    }
    EXPECT_EQ(registry.readValue(jobs + u"\\Job"_s, u"sA"_s), u"old"_s);
    EXPECT_FALSE(registry.readValue(jobs + u"\\Job"_s, u"sB"_s));
    {
        Registry::Transaction transaction(registry); // dropped without commit
        registry.writeValue(jobs + u"\\Job"_s, u"sA"_s, u"lost"_s);
    }
    EXPECT_EQ(registry.readValue(jobs + u"\\Job"_s, u"sA"_s), u"old"_s);
}

TEST_F(RegistryTest, DataVersionTellsOfWritesByOtherConnections)
{
    const qint64 before = registry.dataVersion();
    registry.writeValue(jobs + u"\\Mine"_s, u"s"_s, u"1"_s);
    EXPECT_EQ(registry.dataVersion(), before);
    {
        Registry other;
        other.writeValue(jobs + u"\\Theirs"_s, u"s"_s, u"1"_s);
    }
    EXPECT_NE(registry.dataVersion(), before);
}

// A file we cannot read as a registry is never written to or replaced.
TEST(RegistryDamage, DamagedOrUnreadableFilesAreLeftByteForByte)
{
    TempProfile profile;
    QByteArray garbage("SQLite format 3");
    garbage.append(4096 * 3, '\x5a');
    const QByteArray samples[] = {garbage, QByteArray("plain text, not a database\n")};
    for (const QByteArray &content : samples) {
        QFile file(profile.registryPath());
        QDir().mkpath(QFileInfo(file).absolutePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        {
            Registry registry(Registry::Role::Scheduler);
            EXPECT_FALSE(registry.isUsable());
            EXPECT_FALSE(registry.problem().isEmpty());
            EXPECT_FALSE(registry.writeValue(jobs + u"\\J"_s, u"s"_s, u"1"_s));
            EXPECT_FALSE(registry.readValue(jobs + u"\\J"_s, u"s"_s).has_value());
            EXPECT_TRUE(registry.subKeys(jobs).isEmpty());
        }
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), content);
        file.close();
        EXPECT_FALSE(QFile::exists(profile.registryPath() + u"-wal"_s));
    }
}

TEST(RegistryDamage, ADatabaseWithACorruptPageIsRefused)
{
    TempProfile profile;
    {
        Registry registry(Registry::Role::Scheduler); // checkpoints into the main file
        for (int i = 0; i < 300; ++i)
            registry.writeValue(jobs + u"\\Job"_s + QString::number(i), u"sJobName"_s, QString(200, u'x'));
    }
    QFile file(profile.registryPath());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    ASSERT_GT(bytes.size(), 3 * 4096);
    // Scribble over an interior page, keeping the header intact.
    for (int i = 2 * 4096; i < 3 * 4096; ++i)
        bytes[i] = char(i * 7);
    file.seek(0);
    file.write(bytes);
    file.close();
    {
        Registry registry;
        EXPECT_FALSE(registry.isUsable());
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), bytes);
}

// What the code under test writes to standard error.
class StandardErrorCapture
{
public:
    StandardErrorCapture()
    {
        std::fflush(stderr);
        m_saved = ::dup(STDERR_FILENO);
        m_file = ::open(QFile::encodeName(m_dir.filePath(u"stderr"_s)).constData(),
            O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ::dup2(m_file, STDERR_FILENO);
    }
    ~StandardErrorCapture() { restore(); }
    QString text()
    {
        restore();
        QFile file(m_dir.filePath(u"stderr"_s));
        return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
        ::close(m_file);
        m_saved = -1;
    }
    QTemporaryDir m_dir;
    int m_saved = -1;
    int m_file = -1;
};

// A registry on a file system mounted read-only (root may write any file whatever its mode,
// so the mount is what stops the writes).
TEST(RegistryReadOnly, AFileThatCannotBeWrittenIsReadAndSaysOnceThatNothingIsRecorded)
{
    QTemporaryDir dir;
    const QByteArray mountPoint = QFile::encodeName(dir.path());
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=4m") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here (" << std::strerror(errno) << ")";
    const QString path = dir.filePath(u"registry.db"_s);
    {
        Registry registry(Registry::Role::Scheduler, path);
        ASSERT_TRUE(registry.writeValue(jobs + u"\\Backup"_s, u"sJobName"_s, u"Backup"_s));
    }
    ASSERT_FALSE(QFile::exists(path + u"-wal"_s)); // checkpointed on close
    if (::mount(nullptr, mountPoint.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
        ::umount2(mountPoint.constData(), MNT_DETACH);
        GTEST_SKIP() << "cannot remount read-only (" << std::strerror(errno) << ")";
    }
    QString said;
    {
        StandardErrorCapture capture;
        {
            Registry registry(Registry::Role::Scheduler, path);
            Registry second(Registry::Role::ShortLived, path);
            EXPECT_TRUE(registry.isUsable());
            EXPECT_TRUE(registry.isReadOnly());
            EXPECT_EQ(registry.subKeysWithValue(jobs, u"sJobName"_s), QStringList(u"Backup"_s));
            EXPECT_EQ(registry.readValue(jobs + u"\\Backup"_s, u"sJobName"_s), u"Backup"_s);
            EXPECT_FALSE(registry.writeValue(jobs + u"\\Backup"_s, u"sLastStartDate"_s, u"x"_s));
            EXPECT_EQ(second.readValue(jobs + u"\\Backup"_s, u"sJobName"_s), u"Backup"_s);
        }
        said = capture.text();
    }
    ::umount2(mountPoint.constData(), MNT_DETACH);
    EXPECT_EQ(said.count(u"cannot be written"_s), 1) << said.toStdString();
    EXPECT_TRUE(said.contains(path)) << said.toStdString();
}

QProcess *startWriter(const QString &file, const QStringList &args)
{
    auto *process = new QProcess;
    process->start(QStringLiteral(REGISTRY_WRITER), QStringList{file} + args);
    return process;
}

// Killing a writer at any instant leaves the old or the new job, never a mixture or nothing;
// readers meanwhile see one whole version.
TEST(RegistryProcesses, KillDuringRewritesLeavesOneWholeVersion)
{
    TempProfile profile;
    const QString key = jobs + u"\\Rewritten"_s;
    Registry reader(Registry::Role::Scheduler);
    auto checkWhole = [&](const char *when) {
        const auto values = reader.values(key);
        ASSERT_EQ(values.size(), 60) << when;
        for (const auto &v : values)
            ASSERT_EQ(v.second, values[0].second) << when;
    };
    {
        // The old job that every kill must leave whole, if not the new one.
        Registry::Transaction transaction(reader);
        for (int i = 0; i < 60; ++i)
            reader.writeValue(key, u"sValue"_s + QString::number(i), u"0"_s);
        ASSERT_TRUE(transaction.commit());
    }
    for (int round = 0; round < 8; ++round) {
        std::unique_ptr<QProcess> writer(startWriter(profile.registryPath(), {u"rewrite"_s, key}));
        ASSERT_TRUE(writer->waitForReadyRead(10000));
        for (int i = 0; i < 20; ++i) {
            QThread::usleep(QRandomGenerator::global()->bounded(2000));
            checkWhole("while writing");
        }
        ::kill(pid_t(writer->processId()), SIGKILL);
        writer->waitForFinished();
        checkWhole("after kill -9");
    }
}

TEST(RegistryProcesses, TwoProcessesWriteOneFileWithoutLosingValues)
{
    TempProfile profile;
    std::unique_ptr<QProcess> a(startWriter(profile.registryPath(), {u"fill"_s, jobs + u"\\A"_s, u"300"_s}));
    std::unique_ptr<QProcess> b(startWriter(profile.registryPath(), {u"fill"_s, jobs + u"\\B"_s, u"300"_s}));
    Registry mine(Registry::Role::Scheduler);
    for (int i = 0; i < 300; ++i)
        ASSERT_TRUE(mine.writeValue(jobs + u"\\C"_s, u"v"_s + QString::number(i), u"x"_s));
    ASSERT_TRUE(a->waitForFinished(60000));
    ASSERT_TRUE(b->waitForFinished(60000));
    EXPECT_EQ(a->exitCode(), 0);
    EXPECT_EQ(b->exitCode(), 0);
    for (const QString &k : {u"A"_s, u"B"_s, u"C"_s})
        EXPECT_EQ(mine.values(jobs + u'\\' + k).size(), 300) << k.toStdString();
}

} // namespace

namespace {

TEST_F(RegistryTest, SubKeyValuesReadsChosenValuesOfEveryJobAtOnce)
{
    registry.writeValue(jobs + u"\\b"_s, u"sJobName"_s, u"b"_s);
    registry.writeValue(jobs + u"\\b"_s, u"sFreq0"_s, u"2026/12/10"_s);
    registry.writeValue(jobs + u"\\b"_s, u"sFreq1"_s, u"2026/12/11"_s);
    registry.writeValue(jobs + u"\\b"_s, u"sFreqX"_s, u"not a list entry"_s);
    registry.writeValue(jobs + u"\\b"_s, u"sProgram"_s, u"/bin/true"_s);
    registry.writeValue(jobs + u"\\A"_s, u"ifrequency"_s, u"1"_s);
    registry.createKey(jobs + u"\\C"_s);
    const auto all = registry.subKeyValues(jobs, {u"iFrequency"_s, u"sJobName"_s}, {u"sFreq"_s});
    ASSERT_EQ(all.size(), 2);
    EXPECT_EQ(all[0].first, u"A"_s);
    EXPECT_EQ(all[0].second, (QList<Registry::Value>{{u"ifrequency"_s, u"1"_s}}));
    EXPECT_EQ(all[1].first, u"b"_s);
    EXPECT_EQ(all[1].second, (QList<Registry::Value>{{u"sJobName"_s, u"b"_s},
                                  {u"sFreq0"_s, u"2026/12/10"_s}, {u"sFreq1"_s, u"2026/12/11"_s}}));
}

} // namespace
