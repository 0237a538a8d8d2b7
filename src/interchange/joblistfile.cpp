// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "interchange/joblistfile.h"

#include "interchange/joblistformat.h"
#include "interchange/joblistuser.h"
#include "log/activitylog.h"
#include "platform/clock.h"
#include "platform/datetimetext.h"
#include "platform/inidocument.h"
#include "platform/registry.h"
#include "store/jobstore.h"
#include "store/valuecodec.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

const QString JobListFile::filePreset = u"*.sav"_s;

namespace {

using Question = JobListUser::Question;

const QString existsQuestion = u" exists, replace it?"_s;
const QString saveWholeListQuestion = u"No jobs selected, save the whole job list?"_s;
const QString registryErrorMessage = u"Error retrieving data from the registry"_s;

const QString notValidMessage = u"The selected file is not a valid Halvorn Save File"_s;
const QString noJobDataMessage = u"There is no valid job data in this file..."_s;
const QString noEntriesMessage = u"Error retrieving data from job list load file"_s;
const QString readLinePrefix = u"Job List File Read: File: "_s;

QString cannotHoldJobMessage(const QString &job)
{
    return u"The job \""_s + job
        + u"\" was not saved: its name or the name of one of its values can not be written to a job list file."_s;
}

QString writeFailedMessage(const QString &path)
{
    return u"The job list file "_s + path + u" could not be written; it is as it was."_s;
}

QString replaceJobListQuestion(const QString &date, const QString &time)
{
    return u"Do you want to replace the entire Job List with this file dated: "_s + date + u' '
        + time + u'?';
}

QString replaceJobQuestion(const QString &job)
{
    return u"There is already a job in the job list by the name of "_s + u'"' + job + u'"'
        + u". Do you want to replace it with this job?"_s;
}

QString notStoredLine(const QString &path, const QString &job)
{
    return readLinePrefix + path + u" job \""_s + job + u"\" could not be stored"_s;
}

QString unnamedValueLine(const QString &path, const QString &job)
{
    return readLinePrefix + path + u" job \""_s + job + u"\": a value without a name was skipped"_s;
}

QString notLoadedLine(const QString &path)
{
    return readLinePrefix + path + u" not loaded: the registry could not be written"_s;
}

// Only values of these kinds belong to the file; the kind letter is case-sensitive.
QChar kindOf(const QString &name)
{
    return name.isEmpty() ? QChar() : name.front();
}
bool isCarried(const QString &name)
{
    const QChar kind = kindOf(name);
    return kind == u's' || kind == u'i' || kind == u'b';
}

bool isHeaderName(const QString &section)
{
    return section.trimmed().compare(JobListFormat::headerSection, Qt::CaseInsensitive) == 0;
}

// Whether a job comes back from the file under its own name with every value: the INI
// reader trims names, and a section named like the header would merge into it.
bool fitsInFile(const QString &job, const QList<Registry::Value> &values)
{
    if (!IniDocument::isValidSectionName(job) || job != job.trimmed() || isHeaderName(job))
        return false;
    for (const Registry::Value &value : values) {
        if (isCarried(value.first)
            && (!IniDocument::isValidKeyName(value.first) || value.first != value.first.trimmed()))
            return false;
    }
    return true;
}

} // namespace

JobListFile::JobListFile(JobStore &store, ActivityLog &log, const Clock &clock)
    : m_store(store)
    , m_log(log)
    , m_clock(clock)
{
}

QString JobListFile::invalidFormatLine(const QString &path)
{
    return readLinePrefix + path + u" invalid file format"_s;
}

QString JobListFile::noJobDataLine(const QString &path)
{
    return readLinePrefix + path + u" has no job data!"_s;
}

QString JobListFile::jobsAddedLine(const QString &path, qsizetype jobSections)
{
    return readLinePrefix + path + u" read. "_s + QString::number(jobSections) + u" jobs added."_s;
}

JobListFile::SaveResult JobListFile::save(
    const QStringList &rows, const QStringList &selectedRows, JobListUser &user)
{
    QString path;
    for (;;) {
        const std::optional<QString> chosen = user.chooseSaveFile(filePreset);
        if (!chosen || chosen->isEmpty())
            return SaveResult::Cancelled;
        path = QFileInfo(*chosen).absoluteFilePath();
        // The old file stays until the new one replaces it whole.
        if (!QFileInfo::exists(path) || user.askYesNo(Question::ReplaceFile, path + existsQuestion))
            break;
    }

    IniDocument document;
    const QDateTime now = m_clock.now();
    document.setValue(
        JobListFormat::headerSection, JobListFormat::fileTypeKey, JobListFormat::signature);
    document.setValue(
        JobListFormat::headerSection, JobListFormat::saveDateKey, DateTimeText::date(now.date()));
    document.setValue(JobListFormat::headerSection, JobListFormat::saveTimeKey,
        DateTimeText::longTime(now.time(), m_locale));

    SaveResult result = SaveResult::Saved;
    QStringList jobs = selectedRows;
    if (jobs.isEmpty()) {
        if (user.askYesNo(Question::SaveWholeList, saveWholeListQuestion))
            jobs = rows;
        else
            result = SaveResult::Stopped;
    }

    bool escaped = false;
    for (const QString &job : std::as_const(jobs)) {
        // A name holding "\" would address another key: it has no values of its own.
        const QList<Registry::Value> values = m_store.values(job).values();
        if (values.isEmpty()) {
            user.showMessage(registryErrorMessage);
            result = SaveResult::Stopped;
            break;
        }
        if (!fitsInFile(job, values)) {
            user.showMessage(cannotHoldJobMessage(job));
            continue;
        }
        for (const Registry::Value &value : values) {
            QString text;
            switch (kindOf(value.first).unicode()) {
            case u's':
                text = value.second;
                break;
            case u'i':
                text = ValueCodec::formatInteger(ValueCodec::readInteger(value.second, 0));
                break;
            case u'b':
                text = ValueCodec::formatBoolean(ValueCodec::readBoolean(value.second, false));
                break;
            default:
                continue;
            }
            if (JobListFormat::needsEscape(text)) {
                text = JobListFormat::escape(text);
                escaped = true;
            }
            document.setValue(job, value.first, text);
        }
    }
    if (escaped)
        document.setValue(JobListFormat::headerSection, JobListFormat::escapesKey, u"1"_s);

    if (!document.save(path)) {
        user.showMessage(writeFailedMessage(path));
        return SaveResult::WriteFailed;
    }
    return result;
}

JobListFile::LoadResult JobListFile::load(JobListUser &user)
{
    const std::optional<QString> chosen = user.chooseOpenFile(filePreset);
    if (!chosen || chosen->isEmpty())
        return {};
    return load(*chosen, &user);
}

JobListFile::LoadResult JobListFile::loadWithoutQuestions(const QString &path)
{
    return load(path, nullptr);
}

JobListFile::LoadResult JobListFile::load(const QString &path, JobListUser *user)
{
    LoadResult result;
    // A missing or unreadable file has no signature either.
    IniDocument document;
    if (!document.load(path))
        document = IniDocument();

    const QString header = JobListFormat::headerSection;
    if (document.find(header, JobListFormat::fileTypeKey) != JobListFormat::signature) {
        if (user)
            user->showMessage(notValidMessage);
        m_log.logMessage(invalidFormatLine(path));
        result.outcome = LoadOutcome::InvalidFormat;
        return result;
    }

    const bool replaceAll = user
        && user->askYesNo(Question::ReplaceJobList,
            replaceJobListQuestion(document.value(header, JobListFormat::saveDateKey),
                document.value(header, JobListFormat::saveTimeKey)));

    // Every section but the header is a job, also when the header is not the first.
    QStringList jobs = document.sections();
    jobs.removeIf(isHeaderName);
    if (jobs.isEmpty()) {
        if (user)
            user->showMessage(noJobDataMessage);
        m_log.logMessage(noJobDataLine(path));
        result.outcome = LoadOutcome::NoJobData;
        return result;
    }

    // Only now that the file is known to hold jobs: a file without any must not empty
    // the job list.
    if (replaceAll && m_store.eraseAllJobs())
        result.storeChanged = true;

    const bool escaped
        = ValueCodec::readBoolean(document.find(header, JobListFormat::escapesKey), false);
    if (user) {
        // Each job commits on its own, so that no question waits while the registry is locked.
        loadJobs(document, jobs, path, escaped, user, nullptr, result);
        return result;
    }

    // Nothing waits for the user: the whole load is one transaction, one sync to disk instead
    // of one per job. Its log lines wait for the commit, so none reports a job that did not
    // reach the registry.
    QStringList lines;
    JobStore::Transaction batch(m_store);
    loadJobs(document, jobs, path, escaped, nullptr, &lines, result);
    if (!batch.commit()) {
        m_log.logMessage(notLoadedLine(path));
        return {LoadOutcome::Stopped, 0, false};
    }
    for (const QString &line : std::as_const(lines))
        m_log.logMessage(line);
    return result;
}

void JobListFile::loadJobs(const IniDocument &document, const QStringList &jobs,
    const QString &path, bool escaped, JobListUser *user, QStringList *deferredLines,
    LoadResult &result)
{
    const auto note = [&](const QString &line) {
        if (deferredLines)
            deferredLines->append(line);
        else
            m_log.logMessage(line);
    };
    const QString added = jobsAddedLine(path, jobs.size());
    for (const QString &job : jobs) {
        if (!JobStore::isValidJobName(job)) {
            note(notStoredLine(path, job));
            continue;
        }
        bool erase = false;
        if (user && m_store.jobExists(job)) {
            if (!user->askYesNo(Question::ReplaceJob, replaceJobQuestion(job)))
                continue;
            erase = true;
        }
        const QList<IniDocument::Entry> entries = document.entries(job);
        // A stop keeps the job as it was: it is erased only together with its rewrite.
        if (entries.isEmpty()) {
            if (user)
                user->showMessage(noEntriesMessage);
            result.outcome = LoadOutcome::Stopped;
            return;
        }
        for (int n = document.unnamedEntries(job); n > 0; --n)
            note(unnamedValueLine(path, job));
        if (!writeJob(job, entries, erase, escaped)) {
            // Inside a larger transaction the failure undoes it all: nothing more to try.
            if (deferredLines) {
                result.outcome = LoadOutcome::Stopped;
                return;
            }
            note(notStoredLine(path, job));
            continue;
        }
        result.storeChanged = true;
        ++result.jobsLoaded;
        note(added);
    }
    result.outcome = LoadOutcome::Done;
}

bool JobListFile::writeJob(
    const QString &job, const QList<QPair<QString, QString>> &entries, bool erase, bool escaped)
{
    JobStore::Transaction transaction(m_store);
    if (!transaction.isActive())
        return false;
    bool ok = !erase || m_store.eraseJob(job);
    for (const IniDocument::Entry &entry : entries) {
        if (!ok)
            break;
        const QString value = escaped ? JobListFormat::unescape(entry.second) : entry.second;
        switch (kindOf(entry.first).unicode()) {
        case u's':
            ok = m_store.writeString(job, entry.first, value);
            break;
        case u'i':
            ok = m_store.writeInteger(
                job, entry.first, ValueCodec::parseInteger(value).value_or(0));
            break;
        case u'b':
            ok = m_store.writeBoolean(
                job, entry.first, ValueCodec::parseInteger(value).value_or(0) != 0);
            break;
        default:
            break;
        }
    }
    if (!ok) {
        transaction.fail();
        return false;
    }
    return transaction.commit();
}
