// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

// The one-scheduler-per-user rule: an exclusive flock on the lock file, held for the
// lifetime of the object (or of the process, whichever ends first). The file itself is left
// in place, as removing it would let two holders lock two different files.
class InstanceLock
{
public:
    // The lock file named by defaultPath().
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

    // "Halvorn.lock" in $XDG_RUNTIME_DIR; without one, in a folder of the user's own in the
    // temporary folder, as that one is shared by every user of the machine.
    static QString defaultPath();

private:
    QString m_path;
    QString m_error;
    bool m_privateFolder = false;
    int m_fd = -1;
};
