// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/registry.h"

#include "platform/paths.h"
#include "platform/privatefiles.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int busyTimeoutMs = 10000;

const char *const schemaSql =
    "CREATE TABLE IF NOT EXISTS keys("
    " id INTEGER PRIMARY KEY, parent INTEGER NOT NULL, name TEXT NOT NULL,"
    " fold TEXT NOT NULL, path TEXT NOT NULL UNIQUE);"
    "CREATE INDEX IF NOT EXISTS keys_parent ON keys(parent, fold);"
    "CREATE TABLE IF NOT EXISTS vals("
    " id INTEGER PRIMARY KEY, key INTEGER NOT NULL, name TEXT NOT NULL,"
    " fold TEXT NOT NULL, data TEXT NOT NULL, UNIQUE(key, fold));";

// Case-insensitive identity of a name. Upper case, as the Windows registry compares and
// orders, so that "a_b" lists after "ab".
QString fold(QStringView name)
{
    for (QChar c : name)
        if (c.unicode() >= 0x80)
            return name.toString().toUpper();
    // Plain ASCII, the usual case, without the full Unicode machinery.
    QString folded(name.size(), Qt::Uninitialized);
    QChar *out = folded.data();
    for (QChar c : name) {
        const char16_t u = c.unicode();
        *out++ = QChar(u >= u'a' && u <= u'z' ? char16_t(u - 32) : u);
    }
    return folded;
}

// A key path without the "\" at its ends; nullopt for a path with an empty name inside.
std::optional<QStringView> trimmedPath(const QString &key)
{
    QStringView view(key);
    while (view.startsWith(u'\\'))
        view = view.mid(1);
    while (view.endsWith(u'\\'))
        view.chop(1);
    if (view.contains(u"\\\\"))
        return std::nullopt;
    return view;
}

// The names of a key path, from the root; empty for the root itself.
std::optional<QStringList> splitPath(const QString &key)
{
    const auto path = trimmedPath(key);
    if (!path)
        return std::nullopt;
    return path->isEmpty() ? QStringList() : path->toString().split(u'\\');
}

QString foldedPath(const QStringList &parts) { return fold(parts.join(u'\\')); }

// The folded form of a whole key path, without splitting it: the hot path of every read.
std::optional<QString> foldedKeyPath(const QString &key)
{
    const auto path = trimmedPath(key);
    return path ? std::optional<QString>(fold(*path)) : std::nullopt;
}

void bindText(sqlite3_stmt *stmt, int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

QString columnText(sqlite3_stmt *stmt, int column)
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    return QString::fromUtf8(data, sqlite3_column_bytes(stmt, column));
}

enum Slot {
    FindKey,
    InsertKey,
    ReadValue,
    WriteValue,
    DeleteValue,
    ListValues,
    ListSubKeys,
    ListSubKeysWithValue,
    DataVersion,
    ReadFourValues,
    SlotCount
};

} // namespace

// Resets a cached statement when it goes out of scope, so it never holds a read lock.
class Registry::Statement
{
public:
    Statement(quint64 *failures, sqlite3_stmt *stmt) : m_failures(failures), m_stmt(stmt) {}
    ~Statement()
    {
        if (m_stmt) {
            sqlite3_reset(m_stmt);
            sqlite3_clear_bindings(m_stmt);
        }
    }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    explicit operator bool() const { return m_stmt != nullptr; }
    sqlite3_stmt *get() const { return m_stmt; }
    int step()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            ++*m_failures;
        return rc;
    }

private:
    quint64 *m_failures;
    sqlite3_stmt *m_stmt;
};

Registry::Registry(Role role, const QString &path)
    : m_path(path.isEmpty() ? defaultPath() : path)
{
    m_statements.resize(SlotCount, nullptr);
    if (!open(role)) {
        if (m_db) {
            sqlite3_close_v2(m_db);
            m_db = nullptr;
        }
        reportOnce();
    }
}

Registry::~Registry()
{
    for (sqlite3_stmt *stmt : std::as_const(m_statements))
        sqlite3_finalize(stmt);
    if (m_db)
        sqlite3_close_v2(m_db);
}

QString Registry::defaultPath()
{
    const QString fromEnv = qEnvironmentVariable("HALVORN_REGISTRY");
    if (!fromEnv.isEmpty())
        return fromEnv;
    return Paths::configHome() + u"/halvorn/registry.db"_s;
}

bool Registry::open(Role role)
{
    const QFileInfo info(m_path);
    const bool existed = info.exists();
    if (!existed && !PrivateFiles::makeFolder(info.absolutePath())) {
        m_problem = u"its folder cannot be created"_s;
        return false;
    }
    // Made here, so that it (and SQLite's -wal and -shm, which take its mode) is private.
    if (!existed && !PrivateFiles::makeFile(m_path)) {
        m_problem = u"it cannot be created"_s;
        return false;
    }
    // Existing files are opened read-write without create, so nothing is made where a
    // file vanished under us; the checks below run before anything is written. A file we
    // may not write is still read: its jobs run, and nothing is recorded.
    m_readOnly = existed && ::access(QFile::encodeName(m_path).constData(), W_OK) != 0;
    const int flags = (m_readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE)
        | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI | (existed ? 0 : SQLITE_OPEN_CREATE);
    QByteArray name = QUrl::fromLocalFile(QFileInfo(m_path).absoluteFilePath()).toEncoded();
    // Reading a WAL file needs its -shm made or written, which a read-only mount forbids;
    // with no journal to apply, the file alone is the whole registry.
    if (m_readOnly && QFileInfo(m_path + u"-wal"_s).size() == 0)
        name += "?immutable=1";
    if (sqlite3_open_v2(name.constData(), &m_db, flags, nullptr)
        != SQLITE_OK) {
        m_problem = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : u"out of memory"_s;
        return false;
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, busyTimeoutMs);
    if (role == Role::ShortLived) {
        // A connection that closes last would otherwise checkpoint on close.
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    }

    if (existed) {
        sqlite3_stmt *check = nullptr;
        if (sqlite3_prepare_v2(m_db, "PRAGMA quick_check", -1, &check, nullptr) != SQLITE_OK) {
            m_problem = QString::fromUtf8(sqlite3_errmsg(m_db));
            return false;
        }
        int rc = sqlite3_step(check);
        QString verdict = rc == SQLITE_ROW ? columnText(check, 0) : QString();
        if (rc != SQLITE_ROW)
            m_problem = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_finalize(check);
        if (rc != SQLITE_ROW)
            return false;
        if (verdict != u"ok") {
            m_problem = verdict;
            return false;
        }
    }
    // SQLite opens a file it may not write read-only without saying so.
    if (sqlite3_db_readonly(m_db, "main") == 1)
        m_readOnly = true;
    if (m_readOnly) {
        reportReadOnlyOnce();
        return true;
    }
    if (!exec("PRAGMA journal_mode=WAL") || !exec("PRAGMA synchronous=FULL")
        || (role == Role::ShortLived && !exec("PRAGMA wal_autocheckpoint=0"))) {
        m_problem = QString::fromUtf8(sqlite3_errmsg(m_db));
        return false;
    }
    // The schema is created under a write lock so that two first starts do not race.
    if (!exec("BEGIN IMMEDIATE")) {
        m_problem = QString::fromUtf8(sqlite3_errmsg(m_db));
        return false;
    }
    if (!exec(schemaSql) || !exec("COMMIT")) {
        m_problem = QString::fromUtf8(sqlite3_errmsg(m_db));
        exec("ROLLBACK");
        return false;
    }
    return true;
}

void Registry::reportOnce()
{
    static bool reported = false;
    if (reported)
        return;
    reported = true;
    const QString text = u"halvorn: the registry file "_s + m_path
        + u" cannot be used ("_s + m_problem
        + u"). It is left as it is; the program runs on default settings and does not store changes."_s;
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

void Registry::reportReadOnlyOnce()
{
    static bool reported = false;
    if (reported)
        return;
    reported = true;
    const QString text = u"halvorn: the registry file "_s + m_path
        + u" cannot be written. The stored jobs run, but nothing is recorded: no changes, "
          "no run times, no settings."_s;
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

bool Registry::exec(const char *sql)
{
    return m_db && sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

sqlite3_stmt *Registry::prepare(int slot, const char *sql)
{
    if (!m_db)
        return nullptr;
    sqlite3_stmt *&stmt = m_statements[slot];
    if (!stmt && sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr)
            != SQLITE_OK) {
        stmt = nullptr;
        ++m_failures;
    }
    return stmt;
}

std::optional<qint64> Registry::findKey(const QString &key)
{
    const auto path = foldedKeyPath(key);
    if (!path || !m_db)
        return std::nullopt;
    if (path->isEmpty())
        return 0;
    Statement stmt(&m_failures, prepare(FindKey, "SELECT id FROM keys WHERE path = ?1"));
    if (!stmt)
        return std::nullopt;
    bindText(stmt.get(), 1, *path);
    if (stmt.step() != SQLITE_ROW)
        return std::nullopt;
    return sqlite3_column_int64(stmt.get(), 0);
}

std::optional<qint64> Registry::ensureKey(const QString &key)
{
    const auto parts = splitPath(key);
    if (!parts || !m_db)
        return std::nullopt;
    qint64 parent = 0;
    for (qsizetype i = 0; i < parts->size(); ++i) {
        const QStringList upTo = parts->mid(0, i + 1);
        const QString path = foldedPath(upTo);
        {
            Statement find(&m_failures, prepare(FindKey, "SELECT id FROM keys WHERE path = ?1"));
            if (!find)
                return std::nullopt;
            bindText(find.get(), 1, path);
            const int rc = find.step();
            if (rc == SQLITE_ROW) {
                parent = sqlite3_column_int64(find.get(), 0);
                continue;
            }
            if (rc != SQLITE_DONE)
                return std::nullopt;
        }
        Statement insert(&m_failures, prepare(InsertKey,
            "INSERT INTO keys(parent, name, fold, path) VALUES(?1, ?2, ?3, ?4)"));
        if (!insert)
            return std::nullopt;
        sqlite3_bind_int64(insert.get(), 1, parent);
        bindText(insert.get(), 2, parts->at(i));
        bindText(insert.get(), 3, fold(parts->at(i)));
        bindText(insert.get(), 4, path);
        if (insert.step() != SQLITE_DONE)
            return std::nullopt;
        parent = sqlite3_last_insert_rowid(m_db);
    }
    return parent;
}

bool Registry::refuse()
{
    // Inside a transaction, a refused step fails the whole.
    if (m_depth > 0)
        m_outerFailed = true;
    return false;
}

bool Registry::beginWrite()
{
    if (!m_db || m_readOnly)
        return false;
    if (m_depth++ > 0)
        return true;
    m_outerFailed = false;
    if (!exec("BEGIN IMMEDIATE")) {
        m_depth = 0;
        return false;
    }
    return true;
}

bool Registry::endWrite(bool ok)
{
    if (!ok)
        m_outerFailed = true;
    if (--m_depth > 0)
        return ok;
    if (!m_outerFailed && exec("COMMIT"))
        return true;
    exec("ROLLBACK");
    return false;
}

bool Registry::keyExists(const QString &key) { return findKey(key).has_value(); }

bool Registry::createKey(const QString &key)
{
    if (!beginWrite())
        return false;
    return endWrite(ensureKey(key).has_value());
}

bool Registry::deleteKey(const QString &key)
{
    const auto folded = foldedKeyPath(key);
    if (!folded || !m_db)
        return refuse();
    // The root holds every job and setting: an empty name, as an unset shell variable
    // gives, must never wipe them.
    if (folded->isEmpty())
        return refuse();
    if (!beginWrite())
        return false;
    bool ok = true;
    {
        const QString &path = *folded;
        sqlite3_stmt *stmt = nullptr;
        const char *sql =
            "WITH doomed(id) AS (SELECT id FROM keys WHERE path = ?1"
            " OR substr(path, 1, length(?1) + 1) = ?1 || '\\')"
            " DELETE FROM vals WHERE key IN doomed;";
        const char *sql2 =
            "DELETE FROM keys WHERE path = ?1 OR substr(path, 1, length(?1) + 1) = ?1 || '\\'";
        for (const char *text : {sql, sql2}) {
            if (!ok)
                break;
            ok = sqlite3_prepare_v2(m_db, text, -1, &stmt, nullptr) == SQLITE_OK;
            if (ok) {
                bindText(stmt, 1, path);
                ok = sqlite3_step(stmt) == SQLITE_DONE;
            }
            sqlite3_finalize(stmt);
            stmt = nullptr;
        }
    }
    return endWrite(ok);
}

bool Registry::renameKey(const QString &from, const QString &to)
{
    const auto src = splitPath(from);
    const auto dst = splitPath(to);
    if (!src || !dst || src->isEmpty() || dst->isEmpty() || !m_db)
        return refuse();
    const QString srcPath = foldedPath(*src);
    const QString dstPath = foldedPath(*dst);
    // A key cannot move beneath itself.
    if (dstPath.startsWith(srcPath + u'\\'))
        return refuse();
    if (!beginWrite())
        return false;
    const auto srcId = findKey(from);
    if (!srcId || *srcId == 0)
        return endWrite(false);
    if (srcPath != dstPath && findKey(to))
        return endWrite(false);
    const QStringList parentParts = dst->mid(0, dst->size() - 1);
    const auto parentId = ensureKey(parentParts.join(u'\\'));
    if (!parentId)
        return endWrite(false);

    bool ok = true;
    sqlite3_stmt *stmt = nullptr;
    const char *moveChildren =
        "UPDATE keys SET path = ?2 || substr(path, length(?1) + 1)"
        " WHERE substr(path, 1, length(?1) + 1) = ?1 || '\\'";
    if (sqlite3_prepare_v2(m_db, moveChildren, -1, &stmt, nullptr) == SQLITE_OK) {
        bindText(stmt, 1, srcPath);
        bindText(stmt, 2, dstPath);
        ok = sqlite3_step(stmt) == SQLITE_DONE;
    } else {
        ok = false;
    }
    sqlite3_finalize(stmt);
    stmt = nullptr;
    if (ok && sqlite3_prepare_v2(m_db,
                  "UPDATE keys SET parent = ?2, name = ?3, fold = ?4, path = ?5 WHERE id = ?1",
                  -1, &stmt, nullptr) == SQLITE_OK) {
        sqlite3_bind_int64(stmt, 1, *srcId);
        sqlite3_bind_int64(stmt, 2, *parentId);
        bindText(stmt, 3, dst->last());
        bindText(stmt, 4, fold(dst->last()));
        bindText(stmt, 5, dstPath);
        ok = sqlite3_step(stmt) == SQLITE_DONE;
    } else {
        ok = false;
    }
    sqlite3_finalize(stmt);
    return endWrite(ok);
}

QStringList Registry::subKeys(const QString &key)
{
    QStringList names;
    const auto id = findKey(key);
    if (!id)
        return names;
    Statement stmt(&m_failures, prepare(ListSubKeys, "SELECT name FROM keys WHERE parent = ?1 ORDER BY fold"));
    if (!stmt)
        return names;
    sqlite3_bind_int64(stmt.get(), 1, *id);
    while (stmt.step() == SQLITE_ROW)
        names.append(columnText(stmt.get(), 0));
    return names;
}

QStringList Registry::subKeysWithValue(const QString &key, const QString &valueName)
{
    QStringList names;
    const auto id = findKey(key);
    if (!id)
        return names;
    Statement stmt(&m_failures, prepare(ListSubKeysWithValue,
        "SELECT k.name FROM keys k JOIN vals v ON v.key = k.id AND v.fold = ?2"
        " WHERE k.parent = ?1 AND v.data <> '' ORDER BY k.fold"));
    if (!stmt)
        return names;
    sqlite3_bind_int64(stmt.get(), 1, *id);
    bindText(stmt.get(), 2, fold(valueName));
    while (stmt.step() == SQLITE_ROW)
        names.append(columnText(stmt.get(), 0));
    return names;
}

std::optional<QString> Registry::readValue(const QString &key, const QString &name)
{
    const auto path = foldedKeyPath(key);
    if (!path || path->isEmpty() || name.isEmpty() || !m_db)
        return std::nullopt; // the root holds no values
    Statement stmt(&m_failures, prepare(ReadValue,
        "SELECT v.data FROM vals v JOIN keys k ON k.id = v.key"
        " WHERE k.path = ?1 AND v.fold = ?2"));
    if (!stmt)
        return std::nullopt;
    bindText(stmt.get(), 1, *path);
    bindText(stmt.get(), 2, fold(name));
    if (stmt.step() != SQLITE_ROW)
        return std::nullopt;
    return columnText(stmt.get(), 0);
}

QList<std::optional<QString>> Registry::readValues(const QString &key, const QStringList &names)
{
    QList<std::optional<QString>> result(names.size());
    const auto path = foldedKeyPath(key);
    if (!path || path->isEmpty() || !m_db)
        return result;
    // Up to four values in one statement, so in one read transaction of the shared file.
    for (qsizetype first = 0; first < names.size(); first += 4) {
        Statement stmt(&m_failures, prepare(ReadFourValues,
            "SELECT v.fold, v.data FROM vals v JOIN keys k ON k.id = v.key"
            " WHERE k.path = ?1 AND v.fold IN (?2, ?3, ?4, ?5)"));
        if (!stmt)
            return result;
        bindText(stmt.get(), 1, *path);
        QStringList wanted;
        for (qsizetype i = first; i < first + 4 && i < names.size(); ++i) {
            wanted.append(fold(names[i]));
            // The padding stays NULL, which IN never matches.
            if (!names[i].isEmpty())
                bindText(stmt.get(), int(2 + i - first), wanted.last());
        }
        while (stmt.step() == SQLITE_ROW) {
            const QString folded = columnText(stmt.get(), 0);
            const qsizetype at = folded.isEmpty() ? -1 : wanted.indexOf(folded);
            if (at >= 0)
                result[first + at] = columnText(stmt.get(), 1);
        }
    }
    return result;
}

bool Registry::writeValue(const QString &key, const QString &name, const QString &data)
{
    const auto path = foldedKeyPath(key);
    if (!path || path->isEmpty() || name.isEmpty())
        return refuse();
    if (!beginWrite())
        return false;
    const auto id = ensureKey(key);
    if (!id)
        return endWrite(false);
    Statement stmt(&m_failures, prepare(WriteValue,
        "INSERT INTO vals(key, name, fold, data) VALUES(?1, ?2, ?3, ?4)"
        " ON CONFLICT(key, fold) DO UPDATE SET data = excluded.data"));
    if (!stmt)
        return endWrite(false);
    sqlite3_bind_int64(stmt.get(), 1, *id);
    bindText(stmt.get(), 2, name);
    bindText(stmt.get(), 3, fold(name));
    bindText(stmt.get(), 4, data);
    const bool ok = stmt.step() == SQLITE_DONE;
    return endWrite(ok);
}

bool Registry::deleteValue(const QString &key, const QString &name)
{
    if (name.isEmpty())
        return refuse();
    if (!beginWrite())
        return false;
    const auto id = findKey(key);
    if (!id)
        return endWrite(true);
    Statement stmt(&m_failures, prepare(DeleteValue, "DELETE FROM vals WHERE key = ?1 AND fold = ?2"));
    if (!stmt)
        return endWrite(false);
    sqlite3_bind_int64(stmt.get(), 1, *id);
    bindText(stmt.get(), 2, fold(name));
    const bool ok = stmt.step() == SQLITE_DONE;
    return endWrite(ok);
}

Registry::SubKeyValues Registry::subKeyValues(const QString &key, const QStringList &names,
    const QStringList &stems)
{
    SubKeyValues result;
    const auto id = findKey(key);
    if (!id)
        return result;
    // One pass over the sub-keys in list order (the parent's index gives it, so nothing is
    // sorted in SQL); each key's wanted values come from its own index, by name or by the
    // range of a stem. ?1 the parent, then one parameter per name, then for each stem its
    // first and last possible name and its pattern.
    QStringList wanted;
    int parameter = 2;
    if (!names.isEmpty()) {
        QString in;
        for (qsizetype i = 0; i < names.size(); ++i)
            in += (i ? u", ?"_s : u"?"_s) + QString::number(parameter++);
        wanted.append(u"v.fold IN ("_s + in + u')');
    }
    for (qsizetype i = 0; i < stems.size(); ++i) {
        const QString low = QString::number(parameter++);
        const QString high = QString::number(parameter++);
        const QString pattern = QString::number(parameter++);
        wanted.append(u"(v.fold >= ?"_s + low + u" AND v.fold < ?"_s + high
            + u" AND v.fold GLOB ?"_s + pattern + u')');
    }
    if (wanted.isEmpty())
        return result;
    const QString sql = u"SELECT k.id, k.name, v.id, v.name, v.data FROM keys k"
                        " JOIN vals v ON v.key = k.id WHERE k.parent = ?1 AND ("_s
        + wanted.join(u" OR "_s) + u") ORDER BY k.fold"_s;
    sqlite3_stmt *stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (!m_db)
        return result;
    if (sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK) {
        ++m_failures;
        return result;
    }
    sqlite3_bind_int64(stmt, 1, *id);
    parameter = 2;
    for (const QString &name : names)
        bindText(stmt, parameter++, fold(name));
    for (const QString &stem : stems) {
        const QString folded = fold(stem);
        // GLOB is case-sensitive and the folded names are upper case; escape its specials.
        QString pattern;
        for (QChar c : folded)
            pattern += (c == u'*' || c == u'?' || c == u'[') ? u'[' + QString(c) + u']' : QString(c);
        bindText(stmt, parameter++, folded + u'0');
        bindText(stmt, parameter++, folded + u':');
        bindText(stmt, parameter++, pattern + u"[0-9]*"_s);
    }
    // Values in first-written order: sorted by id within each key, a few at a time.
    QList<std::pair<qint64, Value>> keyValues;
    const auto closeKey = [&] {
        std::sort(keyValues.begin(), keyValues.end(),
            [](const auto &a, const auto &b) { return a.first < b.first; });
        QList<Value> &values = result.last().second;
        values.reserve(keyValues.size());
        for (auto &entry : keyValues)
            values.append(std::move(entry.second));
        keyValues.clear();
    };
    qint64 currentKey = -1;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const qint64 keyId = sqlite3_column_int64(stmt, 0);
        if (keyId != currentKey) {
            if (currentKey >= 0)
                closeKey();
            result.append({columnText(stmt, 1), {}});
            currentKey = keyId;
        }
        keyValues.append({sqlite3_column_int64(stmt, 2), {columnText(stmt, 3), columnText(stmt, 4)}});
    }
    if (currentKey >= 0)
        closeKey();
    if (rc != SQLITE_DONE)
        ++m_failures;
    sqlite3_finalize(stmt);
    return result;
}

QList<Registry::Value> Registry::values(const QString &key)
{
    QList<Value> result;
    const auto id = findKey(key);
    if (!id)
        return result;
    Statement stmt(&m_failures, prepare(ListValues, "SELECT name, data FROM vals WHERE key = ?1 ORDER BY id"));
    if (!stmt)
        return result;
    sqlite3_bind_int64(stmt.get(), 1, *id);
    while (stmt.step() == SQLITE_ROW)
        result.append({columnText(stmt.get(), 0), columnText(stmt.get(), 1)});
    return result;
}

bool Registry::replaceKey(const QString &key, const QList<Value> &values)
{
    Transaction transaction(*this);
    if (!transaction.isActive())
        return false;
    bool ok = deleteKey(key);
    for (qsizetype i = 0; ok && i < values.size(); ++i)
        ok = writeValue(key, values[i].first, values[i].second);
    if (!ok) {
        transaction.fail();
        return false;
    }
    return transaction.commit();
}

qint64 Registry::dataVersion()
{
    Statement stmt(&m_failures, prepare(DataVersion, "PRAGMA data_version"));
    if (!stmt || stmt.step() != SQLITE_ROW)
        return -1;
    return sqlite3_column_int64(stmt.get(), 0);
}

Registry::Transaction::Transaction(Registry &registry) : m_registry(registry)
{
    m_active = m_registry.beginWrite();
}

Registry::Transaction::~Transaction()
{
    if (m_active && !m_done)
        m_registry.endWrite(false);
}

bool Registry::Transaction::commit()
{
    if (!m_active || m_done)
        return false;
    m_done = true;
    return m_registry.endWrite(!m_failed);
}
