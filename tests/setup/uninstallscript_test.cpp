// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/uninstallscript.h"
#include "support/tempprofile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
}

QStringList filesBelow(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next().mid(root.size() + 1));
    files.sort();
    return files;
}

int runShell(const QStringList &arguments, QString *output = nullptr)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(u"/bin/sh"_s, arguments);
    process.waitForFinished(-1);
    if (output)
        *output = QString::fromUtf8(process.readAllStandardOutput());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

class UninstallScriptTest : public ::testing::Test
{
protected:
    TempProfile profile;
};

TEST_F(UninstallScriptTest, RemovesExactlyItsOwnFilesAndItself)
{
    // A program folder of its own, with the user's files beside the program's.
    const QString folder = profile.path(u"opt/it's halvorn"_s);
    const QString program = folder + u"/voltrane"_s;
    for (const QString &name : {u"voltrane"_s, u"voltraned"_s, u"voltrane-reg"_s, u"notes.txt"_s, u"voltrane.log"_s, u"x.bat"_s})
        touch(folder + u'/' + name);
    const QString menuItem = profile.path(u"data/applications/halvorn-halvorn-item.desktop"_s);
    const QString unrelated = profile.path(u"data/applications/halvorn-other.desktop"_s);
    touch(menuItem);
    touch(unrelated);
    touch(profile.registryPath());

    const UninstallScript script(program, {menuItem, profile.path(u"config/autostart/voltrane.desktop"_s)});
    EXPECT_FALSE(script.packageManaged());
    EXPECT_EQ(script.path(), folder + u"/uninstall.sh"_s);
    ASSERT_TRUE(script.write());
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
        | QFile::WriteOther | QFile::ExeOther;
    EXPECT_TRUE(QFile::permissions(script.path()).testFlag(QFile::ExeOwner));
    EXPECT_FALSE(QFile::permissions(script.path()) & others);
    EXPECT_FALSE(script.text().contains(u'*'));
    EXPECT_EQ(runShell({u"-n"_s, script.path()}), 0);

    QString output;
    EXPECT_EQ(runShell({script.path()}, &output), 0);
    EXPECT_TRUE(output.startsWith(u"Halvorn 95/NT Uninstalled.. \nAll that remains is to remove the Uninstall routines...\n"_s))
        << qPrintable(output);
    EXPECT_EQ(filesBelow(profile.root()), QStringList({u"config"_s, u"config/halvorn"_s, u"config/halvorn/registry.db"_s,
        u"data"_s, u"data/applications"_s, u"data/applications/halvorn-other.desktop"_s, u"opt"_s,
        u"opt/it's halvorn"_s, u"opt/it's halvorn/notes.txt"_s, u"opt/it's halvorn/voltrane.log"_s,
        u"opt/it's halvorn/x.bat"_s, u"runtime"_s, u"state"_s}));
}

TEST_F(UninstallScriptTest, AnEmptyProgramFolderGoesButNeverABinFolder)
{
    for (const QString &folder : {profile.path(u"opt/halvorn"_s), profile.path(u"local/bin"_s)}) {
        touch(folder + u"/voltrane"_s);
        const UninstallScript script(folder + u"/voltrane"_s, {});
        ASSERT_TRUE(script.write());
        EXPECT_EQ(runShell({script.path()}), 0);
        EXPECT_EQ(QFileInfo::exists(folder), folder.endsWith(u"/bin"_s)) << qPrintable(folder);
    }
}

TEST_F(UninstallScriptTest, APackagedProgramKeepsItsFilesAndTellsHowToRemoveThePackage)
{
    const QString item = profile.path(u"data/applications/halvorn-halvorn-item.desktop"_s);
    touch(item);
    const UninstallScript script(u"/usr/bin/voltrane"_s, {item});
    EXPECT_TRUE(script.packageManaged());
    EXPECT_EQ(script.path(), profile.path(u"data/halvorn/uninstall.sh"_s));
    EXPECT_FALSE(script.text().contains(u"/usr/bin"_s));
    ASSERT_TRUE(script.write());
    QString output;
    EXPECT_EQ(runShell({script.path()}, &output), 0);
    EXPECT_TRUE(output.contains(UninstallScript::packageHint));
    EXPECT_FALSE(QFile::exists(item));
    EXPECT_FALSE(QFile::exists(script.path()));
}

} // namespace
