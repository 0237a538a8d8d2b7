// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QByteArray>
#include <QString>

// A file opened for appending for the length of one scope: other programs may read and
// replace it between two such scopes. Opening creates the file empty and private (0600)
// when it is missing; an existing file is never truncated.
class AppendFile
{
public:
    explicit AppendFile(const QString &path);
    ~AppendFile();
    AppendFile(const AppendFile &) = delete;
    AppendFile &operator=(const AppendFile &) = delete;

    // False when the file can be neither appended to nor created.
    bool isOpen() const { return m_fd >= 0; }
    // One write at the end of the file, whole even with other writers (O_APPEND); a write
    // cut short (a full disk) is taken back, so no half line is left.
    bool write(const QByteArray &bytes);

private:
    int m_fd = -1;
};
