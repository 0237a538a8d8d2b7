// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/instancelock.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString lockFileName = u"Halvorn.lock"_s;

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

} // namespace

InstanceLock::InstanceLock()
    : m_path(defaultPath()), m_privateFolder(qEnvironmentVariable("XDG_RUNTIME_DIR").isEmpty())
{
}

InstanceLock::InstanceLock(const QString &path) : m_path(path) { }

InstanceLock::~InstanceLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString InstanceLock::defaultPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return runtime + u'/' + lockFileName;
    return QDir::tempPath() + u"/halvorn-"_s + QString::number(::getuid()) + u'/' + lockFileName;
}

bool InstanceLock::tryAcquire()
{
    if (m_fd >= 0)
        return true;
    m_error.clear();

    // A folder in the shared temporary folder must be ours alone, or another user could
    // hold the lock for us.
    if (m_privateFolder) {
        const QString folder = m_path.section(u'/', 0, -2);
        const QByteArray name = QFile::encodeName(folder);
        if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST) {
            m_error = folder + u": "_s + systemError(errno);
            return false;
        }
        struct stat info;
        if (::lstat(name.constData(), &info) != 0) {
            m_error = folder + u": "_s + systemError(errno);
            return false;
        }
        if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid() || (info.st_mode & 0077) != 0) {
            m_error = folder + u": not a private folder of this user"_s;
            return false;
        }
    }

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
    return true;
}
