// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/instancelock.h"
#include "support/tempprofile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

enum SecondStart { Acquired = 10, HeldElsewhere = 20, Failed = 30 };

// What a second process makes of the default lock: the scheduler's own code, run in a
// child that holds nothing of ours but the environment.
int secondStart()
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        InstanceLock lock;
        const bool acquired = lock.tryAcquire();
        ::_exit(acquired ? Acquired : lock.errorString().isEmpty() ? HeldElsewhere : Failed);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

TEST(InstanceLock, OneHolderAtATime)
{
    TempProfile profile;
    EXPECT_EQ(InstanceLock::defaultPath(), profile.path(u"runtime/Halvorn.lock"_s));
    EXPECT_EQ(secondStart(), Acquired);
    {
        InstanceLock lock;
        ASSERT_TRUE(lock.tryAcquire()) << lock.errorString().toStdString();
        EXPECT_TRUE(lock.tryAcquire());
        EXPECT_TRUE(QFileInfo::exists(profile.path(u"runtime/Halvorn.lock"_s)));
        EXPECT_EQ(secondStart(), HeldElsewhere);

        InstanceLock again;
        EXPECT_FALSE(again.tryAcquire());
        EXPECT_TRUE(again.errorString().isEmpty());
        EXPECT_FALSE(again.isHeld());
    }
    EXPECT_EQ(secondStart(), Acquired);
}

TEST(InstanceLock, AProgramStartedWhileHoldingItDoesNotKeepIt)
{
    TempProfile profile;
    QProcess program;
    {
        InstanceLock lock;
        ASSERT_TRUE(lock.tryAcquire());
        // QProcess keeps every descriptor that is not close-on-exec.
        program.start(u"sleep"_s, {u"30"_s});
        ASSERT_TRUE(program.waitForStarted());
    }
    EXPECT_EQ(secondStart(), Acquired);
    program.kill();
    program.waitForFinished();
}

TEST(InstanceLock, WithoutARuntimeFolderUsesAPrivateFolderInTemp)
{
    TempProfile profile; // restores XDG_RUNTIME_DIR
    QTemporaryDir temp;
    struct RestoreTmpDir
    {
        QByteArray saved = qgetenv("TMPDIR");
        ~RestoreTmpDir() { saved.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", saved); }
    } restore;
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    qunsetenv("XDG_RUNTIME_DIR");

    const QString folder = temp.path() + u"/halvorn-"_s + QString::number(::getuid());
    EXPECT_EQ(InstanceLock::defaultPath(), folder + u"/Halvorn.lock"_s);
    {
        InstanceLock lock;
        EXPECT_TRUE(lock.tryAcquire()) << lock.errorString().toStdString();
        struct stat info;
        ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        EXPECT_EQ(secondStart(), HeldElsewhere);
    }

    // A folder that others may write to is not trusted: an error, not "another instance".
    ::chmod(QFile::encodeName(folder).constData(), 0777);
    InstanceLock lock;
    EXPECT_FALSE(lock.tryAcquire());
    EXPECT_FALSE(lock.errorString().isEmpty());
    EXPECT_EQ(secondStart(), Failed);
}

TEST(InstanceLock, ALockFileThatCannotBeMadeIsAnError)
{
    InstanceLock lock(u"/nonexistent/folder/Halvorn.lock"_s);
    EXPECT_FALSE(lock.tryAcquire());
    EXPECT_FALSE(lock.errorString().isEmpty());
}

} // namespace
