// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

#include <optional>

// One scheduler per registry file, whatever the environment: an exclusive flock on a lock
// file beside the registry file, held for the lifetime of the object (or of the process,
// whichever ends first). The holder writes "<program> <pid>" into it. The file itself is
// left in place, as removing it would let two holders lock two different files.
class InstanceLock
{
public:
    struct Holder
    {
        QString program;
        qint64 pid = 0;
    };

    // The lock file of the registry file that Registry opens by default.
    InstanceLock();
    explicit InstanceLock(const QString &path);
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    // True when this object holds the lock (also when it already did). False when another
    // holder has it, or when the lock file cannot be used: errorString() then tells which.
    bool tryAcquire();
    bool isHeld() const { return m_fd >= 0; }
    // Empty after a success and when another holder has the lock.
    QString errorString() const { return m_error; }
    QString path() const { return m_path; }
    // Who holds the lock, as the holder wrote it; nothing when that cannot be read.
    std::optional<Holder> holder() const;

    // "<canonical registry path>.lock": a path through a symbolic link names the same
    // registry, and so the same lock. A missing folder of the registry is created (0700).
    static QString pathForRegistry(const QString &registryPath);
    // pathForRegistry() of the default registry file.
    static QString defaultPath();

private:
    QString m_path;
    QString m_error;
    int m_fd = -1;
};
