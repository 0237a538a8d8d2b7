// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/processdata.h"

#include "platform/processdataerror.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>

#include <algorithm>
#include <cerrno>

#include <csignal>

#include <sys/syscall.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QString connectionError(int code, const QString &machine)
{
    return u"Error %1 connecting to remote registry on %2"_s.arg(code).arg(machine);
}

bool isLocalMachine(const QString &name)
{
    QString host = name.trimmed();
    if (host.startsWith(u"\\\\"_s))
        host = host.sliced(2);
    return host.isEmpty() || host.compare(u"localhost"_s, Qt::CaseInsensitive) == 0
        || host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0;
}

QString fileNamePart(const QString &path)
{
    return path.sliced(path.lastIndexOf(u'/') + 1);
}

// The file name of the executable; empty for processes without one (kernel threads)
// or whose link we may not read (other users' processes).
QString executableName(const QString &processFolder)
{
    const QByteArray link = QFile::encodeName(processFolder + u"/exe"_s);
    QByteArray target(4096, Qt::Uninitialized);
    const ssize_t length = ::readlink(link.constData(), target.data(), target.size());
    if (length <= 0)
        return QString();
    target.truncate(length);
    // The kernel marks a program replaced on disk since its start (an upgrade).
    static const QByteArray deleted = " (deleted)"_ba;
    if (target.endsWith(deleted))
        target.chop(deleted.size());
    return fileNamePart(QFile::decodeName(target));
}

// The kernel's short name (at most 15 bytes); empty when the process has gone.
QString commandName(const QString &processFolder)
{
    QFile file(processFolder + u"/comm"_s);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QByteArray name = file.readAll();
    if (name.endsWith('\n'))
        name.chop(1);
    return QString::fromUtf8(name);
}

// Field 22 of the stat file; the name before it is in brackets and may hold anything.
quint64 startTime(const QString &processFolder)
{
    QFile file(processFolder + u"/stat"_s);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray stat = file.readAll();
    const qsizetype nameEnd = stat.lastIndexOf(')');
    if (nameEnd < 0)
        return 0;
    const QList<QByteArray> fields = stat.mid(nameEnd + 1).simplified().split(' ');
    constexpr int startTimeField = 22 - 3; // counted from the state, the third field
    return fields.size() > startTimeField ? fields[startTimeField].toULongLong() : 0;
}

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

TProcessData::TProcessData(const QString &machineName) : m_machineName(machineName)
{
    // Reading another machine's processes has no counterpart here.
    if (!isLocalMachine(machineName))
        throw EProcessDataError(connectionError(EOPNOTSUPP, machineName));
}

void TProcessData::GetProcessList(List &list) const
{
    readProcesses(u"/proc"_s, list);
}

void TProcessData::readProcesses(const QString &procFolder, List &list)
{
    QList<std::pair<quint32, QString>> processes;
    const QStringList folders = QDir(procFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &folder : folders) {
        bool isNumber = false;
        const quint32 id = folder.toUInt(&isNumber);
        if (isNumber)
            processes.append({id, procFolder + u'/' + folder});
    }
    std::sort(processes.begin(), processes.end());
    for (const auto &[id, folder] : std::as_const(processes)) {
        QString name = executableName(folder);
        if (name.isEmpty())
            name = commandName(folder);
        if (!name.isEmpty())
            list.append({name, TProcess(id, startTime(folder))});
    }
}

quint64 TProcessData::startTimeOf(quint32 processId)
{
    return startTime(u"/proc/"_s + QString::number(processId));
}

bool TProcessData::signalProcess(const TProcess &process, int signal)
{
    // The descriptor holds on to whichever process has the id now; if that one still
    // started when the listed one did, it is the listed one, and the signal cannot reach
    // another whatever happens to the id meanwhile.
    if (process.processId() == 0 || process.startTime() == 0)
        return false;
    const FileDescriptor pidfd(int(::syscall(SYS_pidfd_open, pid_t(process.processId()), 0)));
    if (pidfd.get() < 0 || startTimeOf(process.processId()) != process.startTime())
        return false;
    return ::syscall(SYS_pidfd_send_signal, pidfd.get(), signal, nullptr, 0) == 0;
}
