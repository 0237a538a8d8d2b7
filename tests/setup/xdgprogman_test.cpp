// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/autostartentry.h"
#include "platform/desktopentry.h"
#include "platform/xdgprogman.h"
#include "support/tempprofile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList filesBelow(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    files.sort();
    return files;
}

// desktop-file-validate's verdict, empty when the file is valid.
QString validate(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral(DESKTOP_FILE_VALIDATE), {path});
    process.waitForFinished(-1);
    const QString out = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    return process.exitCode() == 0 && !out.contains(u"error:"_s) ? QString() : out;
}

class XdgProgmanTest : public ::testing::Test
{
protected:
    TempProfile profile;
    QString program = profile.path(u"my apps/$HOME/voltrane"_s);

    void run(XdgProgman &progman, const QString &group, bool uninstall)
    {
        ASSERT_TRUE(progman.connect());
        const QString p = u'"' + program + u'"';
        progman.execute(u"[CreateGroup("_s + group + u",)]"_s);
        progman.execute(u"[Replaceitem(Halvorn 95/NT v1.10)]"_s);
        progman.execute(u"[Replaceitem(Halvorn 95/NT v1.30)]"_s);
        progman.execute(u"[Additem("_s + p + u",Halvorn 95/NT v1.30,,,)]"_s);
        if (uninstall)
            progman.execute(u"[Additem("_s + p + u" /uninstall,Halvorn 95/NT Uninstall,,,)]"_s);
        progman.execute(u"[ShowGroup(nonexist,1)]"_s);
        progman.close();
        EXPECT_TRUE(progman.ok());
    }
};

TEST_F(XdgProgmanTest, AGroupBecomesAMenuFolderWithValidEntries)
{
    if (QStringLiteral(DESKTOP_FILE_VALIDATE).isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed (desktop-file-utils)";
    XdgProgman progman(profile.path(u"my apps/uninstall.sh"_s));
    run(progman, u"Halvorn Tools"_s, true);
    const QStringList files = XdgProgman::filesOf(u"Halvorn Tools"_s, {u"Halvorn 95/NT v1.30"_s, u"Halvorn 95/NT Uninstall"_s});
    EXPECT_EQ(files, QStringList({profile.path(u"data/applications/halvorn-halvorn-tools-halvorn-95-nt-v1-30.desktop"_s),
        profile.path(u"data/applications/halvorn-halvorn-tools-halvorn-95-nt-uninstall.desktop"_s),
        profile.path(u"data/desktop-directories/halvorn-halvorn-tools.directory"_s),
        profile.path(u"config/menus/applications-merged/halvorn-halvorn-tools.menu"_s)}));
    for (const QString &file : files.mid(0, 3)) {
        ASSERT_TRUE(QFile::exists(file)) << qPrintable(file);
        EXPECT_EQ(validate(file), QString()) << qPrintable(file);
    }
    const QString item = contents(files.at(0));
    EXPECT_TRUE(item.contains(u"Exec=\"" + profile.root() + u"/my apps/\\\\$HOME/voltrane\"\n")) << qPrintable(item);
    EXPECT_TRUE(item.contains(u"Categories=X-Halvorn-halvorn-tools;\n"_s));
    const QString uninstall = contents(files.at(1));
    EXPECT_TRUE(uninstall.contains(u"Exec=/bin/sh \"" + profile.root() + u"/my apps/uninstall.sh\"\n")) << qPrintable(uninstall);
    EXPECT_TRUE(uninstall.contains(u"Terminal=true"_s));
    EXPECT_TRUE(contents(files.at(3)).contains(u"<Category>X-Halvorn-halvorn-tools</Category>"_s));
    // No package entry to hide here.
    EXPECT_FALSE(QFile::exists(XdgProgman::packageEntryOverride()));

    // Replaceitem removes the item of that title from the current group only.
    progman.execute(u"[CreateGroup(Halvorn Tools,)]"_s);
    progman.execute(u"[Replaceitem(Halvorn 95/NT v1.30)]"_s);
    EXPECT_FALSE(QFile::exists(files.at(0)));
    EXPECT_TRUE(QFile::exists(files.at(1)));
}

TEST_F(XdgProgmanTest, TheStartUpGroupIsTheAutostartFolderBesideTheAutostartEntry)
{
    XdgProgman progman;
    run(progman, u"StartUp"_s, false);
    ASSERT_TRUE(AutostartEntry::write(program));
    EXPECT_EQ(filesBelow(profile.path(u"config/autostart"_s)),
        QStringList({profile.path(u"config/autostart/halvorn-startup-halvorn-95-nt-v1-30.desktop"_s),
            AutostartEntry::path()}));
    EXPECT_TRUE(filesBelow(profile.path(u"data"_s)).isEmpty());
    if (!QStringLiteral(DESKTOP_FILE_VALIDATE).isEmpty())
        EXPECT_EQ(validate(AutostartEntry::path()), QString());
    // Removing the autostart entry leaves the StartUp item alone.
    EXPECT_TRUE(AutostartEntry::remove());
    EXPECT_EQ(filesBelow(profile.path(u"config/autostart"_s)).size(), 1);
}

TEST_F(XdgProgmanTest, NamesCannotLeaveTheirFolders)
{
    XdgProgman progman;
    ASSERT_TRUE(progman.connect());
    progman.execute(u"[CreateGroup(../../../evil,)]"_s);
    progman.execute(u"[Additem(\"/bin/true\",../../x/..,,,)]"_s);
    EXPECT_TRUE(progman.ok());
    const QStringList files = filesBelow(profile.root());
    for (const QString &file : files) {
        const QString name = QFileInfo(file).fileName();
        EXPECT_TRUE(name.startsWith(u"halvorn-"_s) || name == u"registry.db"_s) << qPrintable(file);
    }
    EXPECT_TRUE(QFile::exists(profile.path(u"data/applications/halvorn-evil-x.desktop"_s)));
}

TEST_F(XdgProgmanTest, ThePackageLauncherIsHiddenWhileTheGroupHoldsTheProgram)
{
    const QString system = profile.path(u"system"_s);
    QDir().mkpath(system + u"/applications"_s);
    QFile entry(system + u"/applications/voltrane.desktop"_s);
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.close();
    qputenv("XDG_DATA_DIRS", QFile::encodeName(system));
    XdgProgman progman;
    run(progman, u"Halvorn"_s, false);
    qunsetenv("XDG_DATA_DIRS");
    EXPECT_TRUE(contents(XdgProgman::packageEntryOverride()).contains(u"NoDisplay=true\n"_s));
}

TEST_F(XdgProgmanTest, AMenuThatCannotBeWrittenRefusesTheConversation)
{
    QFile blocker(profile.path(u"data/applications"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    XdgProgman progman;
    EXPECT_FALSE(progman.connect());
}

TEST(DesktopEntry, ExecArgumentsAreQuotedAndEscaped)
{
    struct Row { QStringList argv; QString exec; };
    const Row rows[] = {
        {{u"/usr/bin/voltrane"_s}, u"/usr/bin/voltrane"_s},
        {{u"/opt/my app/voltrane"_s, u"/uninstall"_s}, u"\"/opt/my app/voltrane\" /uninstall"_s},
        {{u"/a\"b`c$d\\e"_s}, u"\"/a\\\\\"b\\\\`c\\\\$d\\\\\\\\e\""_s},
        {{u"/100%"_s}, u"/100%%"_s},
        {{u"x"_s, QString()}, u"x \"\""_s},
    };
    for (const Row &row : rows)
        EXPECT_EQ(DesktopEntry::execValue(row.argv), row.exec) << qPrintable(row.argv.join(u'|'));
    EXPECT_EQ(DesktopEntry::escapeValue(u"a\\b\nc"_s), u"a\\\\b\\nc"_s);
    EXPECT_EQ(DesktopEntry::fileNamePart(u"../Ä/.."_s), u"item"_s);
}

} // namespace
