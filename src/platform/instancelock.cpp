// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/instancelock.h"
#include "platform/systemerror.h"

#include "platform/privatefiles.h"
#include "platform/registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {


QString programName()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QString::fromLocal8Bit(program_invocation_short_name) : name;
}

} // namespace

InstanceLock::InstanceLock() : m_path(defaultPath()) { }

InstanceLock::InstanceLock(const QString &path) : m_path(path) { }

InstanceLock::~InstanceLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString InstanceLock::pathForRegistry(const QString &registryPath)
{
    const QFileInfo info(registryPath);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical + u".lock"_s;
    // Not there yet: the folder, made now as the registry would make it, names it.
    PrivateFiles::makeFolder(info.absolutePath());
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + u'/' + info.fileName() + u".lock"_s;
}

QString InstanceLock::defaultPath() { return pathForRegistry(Registry::defaultPath()); }

bool InstanceLock::tryAcquire()
{
    if (m_fd >= 0)
        return true;
    m_error.clear();

    // Close-on-exec, so no started program keeps the scheduler's lock alive.
    const int fd = ::open(QFile::encodeName(m_path).constData(),
        O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        m_error = m_path + u": "_s + systemError(errno);
        return false;
    }
    int rc;
    do
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int error = errno;
        ::close(fd);
        if (error != EWOULDBLOCK)
            m_error = m_path + u": "_s + systemError(error);
        return false;
    }
    m_fd = fd;
    // For whoever finds the lock taken: which program holds it. Only a courtesy, so a
    // failed write changes nothing.
    const QByteArray text = (programName() + u' ' + QString::number(::getpid()) + u'\n').toLocal8Bit();
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const ssize_t written = ::pwrite(fd, text.constData(), size_t(text.size()), 0);
    }
    return true;
}

std::optional<InstanceLock::Holder> InstanceLock::holder() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QString text = QString::fromLocal8Bit(file.read(4096)).trimmed();
    const qsizetype blank = text.lastIndexOf(u' ');
    if (blank <= 0)
        return std::nullopt;
    bool ok = false;
    const qint64 pid = text.mid(blank + 1).toLongLong(&ok);
    if (!ok || pid <= 0)
        return std::nullopt;
    return Holder{text.left(blank), pid};
}
