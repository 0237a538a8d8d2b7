// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/fileactions.h"

#include "engine/enginehost.h"
#include "log/activitylog.h"
#include "store/jobstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString sourceValue = u"sSysSourceFileName"_s;
const QString targetValue = u"sSysTargetFileName"_s;

QString fileLine(const QString &job, const QString &source, const QString &outcome)
{
    return u"Job: "_s + job + u". File: "_s + source + outcome;
}
const QString deleted = u" deleted!"_s;
const QString deletionFailed = u" deletion failed!"_s;
const QString created = u" created!"_s;
const QString creationFailed = u" creation failed!"_s;
const QString copied = u" copied!"_s;
const QString copyFailed = u" copy failed!"_s;
const QString renamed = u" renamed!"_s;
const QString renameFailed = u" rename failed!"_s;
QString sourceNotFound(const QString &job)
{
    return u"Job: "_s + job + u". copy\\rename failure, source file not found"_s;
}
QString noTarget(const QString &job)
{
    return u"Job: "_s + job + u". copy\\rename failure, no target found..."_s;
}
QString copyMessage(const QString &source, const QString &target)
{
    return u"s: "_s + source + u" t: "_s + target;
}

bool isWildcard(QStringView component)
{
    return component.contains(u'*') || component.contains(u'?');
}

// "*" any run of characters, "?" exactly one; everything else stands for itself.
bool wildcardMatch(const QList<uint> &pattern, const QList<uint> &name)
{
    qsizetype p = 0, n = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size()
            && (pattern[p] == u'?' || (pattern[p] != u'*' && pattern[p] == name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

// A directory entry that is not a directory; a dangling link counts, so it can go.
bool isFileEntry(const QFileInfo &info)
{
    return (info.exists() || info.isSymLink()) && !info.isDir();
}

QString fileNamePart(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

// Reads the source in blocks of the copy buffer's size until a block comes back short.
bool copyBytes(QFile &in, QFileDevice &out)
{
    QByteArray buffer(FileActions::copyBufferSize, Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(buffer.data(), FileActions::copyBufferSize);
        if (n < 0)
            return false;
        if (n > 0 && out.write(buffer.constData(), n) != n)
            return false;
        if (n < FileActions::copyBufferSize)
            return true;
    }
}

// Opens `path` only when it is a regular file, and never waits in open(): a pipe or a
// device may be put under the name after any look at it, and opening one would hold the
// tick. -1 for anything else.
int openRegular(const QString &path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
        flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0)
        return -1;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

bool openRegularForReading(QFile &file, const QString &path)
{
    const int fd = openRegular(path, O_RDONLY);
    if (fd < 0)
        return false;
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    return false;
}

bool sameFile(int openFd, const QString &path)
{
    struct stat a, b;
    if (::fstat(openFd, &a) != 0 || ::stat(QFile::encodeName(path).constData(), &b) != 0)
        return false;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool entryExists(const QByteArray &path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0;
}

// 0 when `from` now has the name `to`; otherwise the error. Never replaces `to`.
int renameNoReplace(const QByteArray &from, const QByteArray &to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // The file system cannot be told not to replace; a hard link refuses by itself.
    if (::link(from.constData(), to.constData()) == 0) {
        if (::unlink(from.constData()) == 0)
            return 0;
        const int error = errno;
        ::unlink(to.constData());
        return error;
    }
    if (errno == EEXIST || errno == EXDEV)
        return errno;
    // No hard links either: look once more, then rename.
    if (entryExists(to))
        return EEXIST;
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

// The move to another file system: a link is made anew; a file's bytes, mode, owner and
// times go to a hidden file beside the target, which takes the target's name only when
// it is complete on disk; only then does the source go.
bool moveAcross(const QString &source, const QString &target)
{
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(target);
    const QFileInfo info(source);
    if (info.isSymLink()) {
        QByteArray link(4096, Qt::Uninitialized);
        const ssize_t length = ::readlink(from.constData(), link.data(), link.size());
        if (length < 0 || length == link.size())
            return false;
        link.truncate(length);
        if (::symlink(link.constData(), to.constData()) != 0)
            return false;
        if (::unlink(from.constData()) != 0) {
            ::unlink(to.constData());
            return false;
        }
        return true;
    }
    QFile in;
    if (!openRegularForReading(in, source))
        return false;
    const QFileInfo targetInfo(target);
    QTemporaryFile out(targetInfo.absolutePath() + u"/."_s + targetInfo.fileName() + u".XXXXXX"_s);
    if (!out.open())
        return false;
    if (!copyBytes(in, out) || !out.flush())
        return false;
    // Owner first: a change of owner clears the set-id bits that the mode restores. Only
    // root may give a file away; anyone else owns the moved file, as with mv.
    [[maybe_unused]] const int owned = ::fchown(out.handle(), info.ownerId(), info.groupId());
    out.setPermissions(info.permissions());
    out.setFileTime(info.lastRead(), QFileDevice::FileAccessTime);
    out.setFileTime(info.lastModified(), QFileDevice::FileModificationTime);
    if (::fsync(out.handle()) != 0)
        return false;
    const QByteArray temporary = QFile::encodeName(out.fileName());
    out.close();
    if (renameNoReplace(temporary, to) != 0)
        return false; // the temporary goes with `out`
    out.setAutoRemove(false);
    if (::unlink(from.constData()) != 0) {
        ::unlink(to.constData());
        return false;
    }
    return true;
}

} // namespace

FileActions::FileActions(JobStore &store, ActivityLog &log, EngineHost &host)
    : m_store(store)
    , m_log(log)
    , m_host(host)
{
}

QStringList FileActions::sources(const QString &key)
{
    QStringList names;
    for (int n = 0; n < maxSources; ++n) {
        const QString name = m_store.readString(key, sourceValue + QString::number(n));
        if (name.isEmpty())
            break;
        names.append(name);
    }
    return names;
}

QStringList FileActions::matchingFiles(const QString &name)
{
    const qsizetype slash = name.lastIndexOf(u'/');
    const QString pattern = name.mid(slash + 1);
    if (!isWildcard(pattern))
        return isFileEntry(QFileInfo(name)) ? QStringList { name } : QStringList();

    const QString prefix = name.left(slash + 1);
    const QDir folder(slash < 0 ? u"."_s : slash == 0 ? u"/"_s : name.left(slash));
    const QList<uint> wanted = pattern.toUcs4();
    const bool dotWanted = pattern.startsWith(u'.');
    QStringList files;
    const QStringList entries = folder.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.startsWith(u'.') && !dotWanted)
            continue;
        if (!wildcardMatch(wanted, entry.toUcs4()))
            continue;
        if (isFileEntry(QFileInfo(folder.filePath(entry))))
            files.append(prefix + entry);
    }
    return files;
}

bool FileActions::DeleteFileToBin(const QString &name, bool useRecycleBin)
{
    const QStringList files = matchingFiles(name);
    if (files.isEmpty())
        return false;
    bool allGone = true;
    for (const QString &file : files)
        if (!(useRecycleBin ? QFile::moveToTrash(file) : QFile::remove(file)))
            allGone = false;
    return allGone;
}

bool FileActions::CopyFileContents(const QString &source, const QString &target)
{
    // Only regular files: renaming over a device would replace it.
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() && !targetInfo.isFile())
        return false;
    QFile in;
    if (!openRegularForReading(in, source))
        return false;
    // Creating the target would empty the source before a byte was read.
    if (sameFile(in.handle(), target))
        return false;
    // Written beside the target and renamed over it once complete on disk: a failure
    // part-way (a full disk) leaves no partial target. An existing target's mode is kept.
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (!copyBytes(in, out))
        return false; // discarded with `out`
    return out.commit();
}

bool FileActions::moveFile(const QString &source, const QString &target)
{
    if (source.isEmpty() || target.isEmpty() || !isFileEntry(QFileInfo(source)))
        return false;
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(target);
    if (entryExists(to))
        return false;
    const int error = renameNoReplace(from, to);
    if (error == 0)
        return true;
    return error == EXDEV && moveAcross(source, target);
}

bool FileActions::DeleteOrCreateFiles(const Job &job, int jobType, bool useRecycleBin)
{
    if (jobType != Delete && jobType != Create)
        return false;
    bool success = false;
    for (const QString &source : sources(job.key)) {
        if (jobType == Delete) {
            success = DeleteFileToBin(source, useRecycleBin);
            m_log.logMessage(fileLine(job.name, source, success ? deleted : deletionFailed));
        } else {
            // A wildcard name is a pattern, never a name to create; and only a regular
            // file is emptied, once open and known to be one.
            success = false;
            if (!isWildcard(fileNamePart(source))) {
                const int fd = openRegular(source, O_WRONLY | O_CREAT);
                success = fd >= 0 && ::ftruncate(fd, 0) == 0;
                if (fd >= 0)
                    ::close(fd);
            }
            m_log.logMessage(fileLine(job.name, source, success ? created : creationFailed));
        }
    }
    return success;
}

bool FileActions::CopyOrRenameFiles(const Job &job, const QString &target, int jobType)
{
    if (jobType != Copy && jobType != Rename)
        return false;
    bool success = false;
    for (const QString &source : sources(job.key)) {
        const QStringList files = matchingFiles(source);
        if (files.isEmpty()) {
            m_log.logMessage(sourceNotFound(job.name));
            return false;
        }
        if (target.isEmpty()) {
            m_log.logMessage(noTarget(job.name));
            return false;
        }
        for (const QString &file : files) {
            if (jobType == Copy) {
                const QString effective
                    = target.endsWith(u'/') ? target + fileNamePart(file) : target;
                m_host.showMessage(copyMessage(file, effective));
                success = CopyFileContents(file, effective);
                m_log.logMessage(fileLine(job.name, file, success ? copied : copyFailed));
            } else {
                success = moveFile(file, target);
                m_log.logMessage(fileLine(job.name, file, success ? renamed : renameFailed));
            }
        }
    }
    return success;
}

bool FileActions::perform(const Job &job, int jobType, bool useRecycleBin)
{
    switch (jobType) {
    case Delete:
    case Create:
        return DeleteOrCreateFiles(job, jobType, useRecycleBin);
    case Copy:
    case Rename:
        return CopyOrRenameFiles(job, m_store.readString(job.key, targetValue), jobType);
    default:
        return false;
    }
}
