// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "support/tempprofile.h"
#include "ui/editors/editortext.h"
#include "ui/editors/programkind.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

void writeFile(const QString &path, const QByteArray &data, bool executable)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
    f.close();
    if (executable)
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
}

TEST(ProgramKindTest, SaysWhatTheLauncherWouldFind)
{
    TempProfile profile;
    const QString dir = profile.path(u"my programs"_s);
    QDir().mkpath(dir);
    writeFile(dir + u"/job.sh"_s, "#!/bin/sh -e\necho hi\n", true);
    writeFile(dir + u"/notes.sh"_s, "#!/bin/sh\n", false);
    writeFile(dir + u"/plain"_s, "echo hi\n", true);
    writeFile(dir + u"/setup.inf"_s, "[Version]\n", false);
    const auto quoted = [&](const QString &name) { return ProgramKind::quote(dir + u'/' + name); };
    const struct
    {
        QString program, kind;
    } cases[] = {
        { QString(), QString() },
        { u"/bin/sh"_s, EditorText::elfExecutable() },
        { u"sh -c true"_s, EditorText::elfExecutable() }, // a bare name found in PATH
        { u"no-such-program-here"_s, EditorText::fileMissing() },
        { quoted(u"job.sh"_s) + u" --now"_s, EditorText::scriptFor(u"/bin/sh -e"_s) },
        { dir + u"/job.sh"_s, EditorText::fileMissing() }, // unquoted, the blank splits it
        { quoted(u"notes.sh"_s), EditorText::notExecutable() },
        { quoted(u"plain"_s), EditorText::notExecutable() }, // no "#!": exec refuses it
        { quoted(u"setup.inf"_s), EditorText::setupInf() },
        { u"/tmp"_s, EditorText::folderNotProgram() },
    };
    for (const auto &c : cases)
        EXPECT_EQ(ProgramKind::describe(c.program).toStdString(), c.kind.toStdString()) << c.program.toStdString();
    EXPECT_EQ(ProgramKind::quote(u"/opt/it's here"_s), u"'/opt/it'\\''s here'"_s);
}

} // namespace
