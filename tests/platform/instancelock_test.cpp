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

TEST(InstanceLock, OneHolderPerRegistryFileWhoeverItIs)
{
    TempProfile profile;
    EXPECT_EQ(InstanceLock::defaultPath(), profile.registryPath() + u".lock"_s);
    EXPECT_EQ(secondStart(), Acquired);
    {
        InstanceLock lock;
        ASSERT_TRUE(lock.tryAcquire()) << lock.errorString().toStdString();
        EXPECT_TRUE(lock.tryAcquire());
        EXPECT_EQ(secondStart(), HeldElsewhere);

        InstanceLock again;
        EXPECT_FALSE(again.tryAcquire());
        EXPECT_TRUE(again.errorString().isEmpty());
        EXPECT_FALSE(again.isHeld());
        const auto holder = again.holder();
        ASSERT_TRUE(holder);
        EXPECT_EQ(holder->pid, qint64(::getpid()));
        EXPECT_FALSE(holder->program.isEmpty());

        // Started from cron: no runtime folder, another temporary folder. Same registry,
        // same lock.
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", QFile::encodeName(profile.path(u"elsewhere"_s)));
        EXPECT_EQ(secondStart(), HeldElsewhere);
    }
    EXPECT_EQ(secondStart(), Acquired);
}

TEST(InstanceLock, APathThroughALinkIsTheSameRegistry)
{
    TempProfile profile;
    InstanceLock lock;
    ASSERT_TRUE(lock.tryAcquire());
    ASSERT_TRUE(QFile::link(profile.path(u"config/halvorn"_s), profile.path(u"linked"_s)));
    const QString viaLink = profile.path(u"linked/registry.db"_s);
    EXPECT_EQ(InstanceLock::pathForRegistry(viaLink), lock.path());
    qputenv("HALVORN_REGISTRY", QFile::encodeName(viaLink));
    EXPECT_EQ(secondStart(), HeldElsewhere);
    // Another registry file has a scheduler of its own.
    qputenv("HALVORN_REGISTRY", QFile::encodeName(profile.path(u"other/registry.db"_s)));
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

TEST(InstanceLock, ALockFileThatCannotBeMadeIsAnError)
{
    InstanceLock lock(u"/nonexistent/folder/Halvorn.lock"_s);
    EXPECT_FALSE(lock.tryAcquire());
    EXPECT_FALSE(lock.errorString().isEmpty());
}

} // namespace
