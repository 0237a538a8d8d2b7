// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/processdata.h"
#include "platform/processdataerror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

QList<quint32> idsNamed(const TProcessData::List &list, const QString &name)
{
    QList<quint32> ids;
    for (const auto &[entryName, process] : list) {
        if (entryName == name)
            ids.append(process.processId());
    }
    return ids;
}

TEST(ProcessDataTest, TwoInstancesOfOneProgramAreTwoEntries)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Longer than the kernel's 15-byte short name, so the name must come from the executable.
    const QString name
        = u"halvorn-sleeper-"_s + QUuid::createUuid().toString(QUuid::Id128).left(12);
    const QString program = dir.filePath(name);
    ASSERT_TRUE(QFile::copy(u"/bin/sleep"_s, program));

    std::unique_ptr<QProcess> sleepers[2];
    QList<quint32> started;
    for (auto &sleeper : sleepers) {
        sleeper = std::make_unique<QProcess>();
        sleeper->start(program, {u"60"_s});
        ASSERT_TRUE(sleeper->waitForStarted()) << sleeper->errorString().toStdString();
        started.append(quint32(sleeper->processId()));
    }

    TProcessData data;
    TProcessData::List list;
    data.GetProcessList(list);
    for (auto &sleeper : sleepers) {
        sleeper->kill();
        sleeper->waitForFinished();
    }

    std::sort(started.begin(), started.end());
    EXPECT_EQ(idsNamed(list, name), started);
    EXPECT_TRUE(idsNamed(list, QFileInfo(QCoreApplication::applicationFilePath()).fileName())
                    .contains(quint32(QCoreApplication::applicationPid())));
    for (qsizetype i = 1; i < list.size(); ++i)
        EXPECT_LT(list[i - 1].second.processId(), list[i].second.processId());
}

TEST(ProcessDataTest, NamesComeFromTheExecutableElseTheShortName)
{
    QTemporaryDir proc;
    auto process = [&](const char *id) -> QString {
        QDir().mkpath(proc.filePath(QString::fromLatin1(id)));
        return proc.filePath(QString::fromLatin1(id)) + u'/';
    };
    auto write = [](const QString &path, const QByteArray &bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    QFile::link(u"/usr/bin/backup tool"_s, process("300") + u"exe"_s);
    write(process("300") + u"comm"_s, "backup tool\n");
    // Replaced on disk since it started.
    QFile::link(u"/usr/bin/mailer (deleted)"_s, process("20") + u"exe"_s);
    write(process("20") + u"comm"_s, "mailer\n");
    // A kernel thread has no executable.
    write(process("2") + u"comm"_s, "kthreadd\n");
    // Gone while the list was read.
    process("1000");
    process("self");
    write(proc.filePath(u"uptime"_s), "1.0 2.0\n");

    TProcessData::List list;
    TProcessData::readProcesses(proc.path(), list);
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[0].first, u"kthreadd"_s);
    EXPECT_EQ(list[0].second.processId(), 2u);
    EXPECT_EQ(list[1].first, u"mailer"_s);
    EXPECT_EQ(list[1].second.processId(), 20u);
    EXPECT_EQ(list[2].first, u"backup tool"_s);
    EXPECT_EQ(list[2].second.processId(), 300u);
}

TEST(ProcessDataTest, AnotherMachineCannotBeReached)
{
    const QString machine = u"buildhost.invalid"_s;
    try {
        TProcessData data(machine);
        FAIL() << "no error";
    } catch (const EProcessDataError &error) {
        EXPECT_EQ(error.message(), u"Error "_s + QString::number(EOPNOTSUPP)
            + u" connecting to remote registry on buildhost.invalid"_s);
    }

    for (const QString &local : {QString(), u"localhost"_s, QSysInfo::machineHostName(),
             QString(u"\\\\"_s + QSysInfo::machineHostName().toUpper())}) {
        TProcessData data(local);
        TProcessData::List list;
        data.GetProcessList(list);
        EXPECT_FALSE(list.isEmpty()) << local.toStdString();
    }
}

} // namespace
