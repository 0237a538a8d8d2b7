// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/appendfile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

AppendFile::AppendFile(const QString &path)
{
    if (path.isEmpty())
        return;
    do {
        m_fd = ::open(QFile::encodeName(path).constData(),
            O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600);
    } while (m_fd < 0 && errno == EINTR);
}

AppendFile::~AppendFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool AppendFile::write(const QByteArray &bytes)
{
    if (m_fd < 0)
        return false;
    const off_t end = ::lseek(m_fd, 0, SEEK_END);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    // A disk that filled up halfway: the file ends with its last whole write again.
    if (done > 0 && done < bytes.size() && end >= 0) {
        int rc;
        do
            rc = ::ftruncate(m_fd, end);
        while (rc != 0 && errno == EINTR);
    }
    return done == bytes.size();
}
