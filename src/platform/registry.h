// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

struct sqlite3;
struct sqlite3_stmt;

// The registry file: a tree of keys with string values in one SQLite file, shared by
// several processes. Key paths are relative to the current user's root and use "\" as
// separator ("Software\Tarnwick\Halvorn\TimedJobs\Backup"). Key and value names compare
// without regard to case; sub-keys list in case-insensitive name order, values in the
// order first written.
//
// Failures are silent: a read that cannot be done yields nothing, a write that cannot be
// done returns false and stores nothing. A file that cannot be opened or is damaged is
// never written to; the user is told once on standard error.
//
// One object is one connection and belongs to one thread. Do not use it in a child
// process after fork().
class Registry
{
public:
    enum class Role {
        // The scheduler's long-lived connection: the only one that checkpoints the WAL.
        Scheduler,
        // Every other connection (the registry tool, tests, helpers): never checkpoints,
        // working around SQLite 3.40's WAL corruption with concurrent checkpoints.
        ShortLived,
    };

    using Value = QPair<QString, QString>; // name as first written, data

    // Opens the file at `path`, or at defaultPath() when empty.
    explicit Registry(Role role = Role::ShortLived, const QString &path = QString());
    ~Registry();
    Registry(const Registry &) = delete;
    Registry &operator=(const Registry &) = delete;

    // HALVORN_REGISTRY, else $XDG_CONFIG_HOME/halvorn/registry.db.
    static QString defaultPath();

    QString path() const { return m_path; }
    // False when the file could not be opened or is damaged; every operation then fails.
    bool isUsable() const { return m_db != nullptr; }
    // True when the file can be read but not written (its mode, a read-only mount): every
    // write then fails. The user is told once on standard error.
    bool isReadOnly() const { return m_readOnly; }
    // Why the file is not usable; empty when it is.
    QString problem() const { return m_problem; }

    bool keyExists(const QString &key);
    bool createKey(const QString &key);
    // Deletes the key with every value and key beneath it. True also when it did not exist;
    // refused for the root.
    bool deleteKey(const QString &key);
    // Moves a key with everything beneath it to a new path; refused when the target
    // exists as another key. A change of letter case only renames the key in place.
    bool renameKey(const QString &from, const QString &to);
    // Names of the direct sub-keys as first written, in case-insensitive order.
    QStringList subKeys(const QString &key);
    // Names of the direct sub-keys whose value `valueName` is present and not empty.
    QStringList subKeysWithValue(const QString &key, const QString &valueName);

    std::optional<QString> readValue(const QString &key, const QString &name);
    // Several values of one key in one look, in the order of `names`.
    QList<std::optional<QString>> readValues(const QString &key, const QStringList &names);
    // Creates the key path when missing. A rewritten value keeps its place and the
    // letter case of its first name. Value names are never empty.
    bool writeValue(const QString &key, const QString &name, const QString &data);
    bool deleteValue(const QString &key, const QString &name);
    // For every direct sub-key of `key` (in sub-key order), the values whose names are in
    // `names` or start with one of `stems` followed by a digit, in first-written order:
    // one statement for the whole list, for builds over thousands of jobs.
    using SubKeyValues = QList<QPair<QString, QList<Value>>>;
    SubKeyValues subKeyValues(const QString &key, const QStringList &names, const QStringList &stems);
    QList<Value> values(const QString &key);
    // Erases the key and writes `values` into it, as one change: when any step fails the
    // old values survive. An empty list leaves the key empty.
    bool replaceKey(const QString &key, const QList<Value> &values);

    // Counts the operations on a usable file that failed (a read cut short, a write
    // refused). Two readings that differ mean the reads between them may be incomplete.
    quint64 failureCount() const { return m_failures; }

    // Changes by other connections since the last call make this number change.
    qint64 dataVersion();

    // Several changes as one: either all of them reach the file or none does, also when
    // the process is killed at any instant. Nested transactions join the outer one.
    class Transaction
    {
    public:
        explicit Transaction(Registry &registry);
        ~Transaction(); // rolls back unless committed
        Transaction(const Transaction &) = delete;
        Transaction &operator=(const Transaction &) = delete;
        bool isActive() const { return m_active; }
        // Marks the transaction as failed: the outer commit then rolls everything back.
        void fail() { m_failed = true; }
        bool commit();

    private:
        Registry &m_registry;
        bool m_active = false;
        bool m_done = false;
        bool m_failed = false;
    };

private:
    class Statement;
    friend class Transaction;

    bool open(Role role);
    void reportOnce();
    void reportReadOnlyOnce();
    bool exec(const char *sql);
    sqlite3_stmt *prepare(int slot, const char *sql);
    std::optional<qint64> findKey(const QString &key);
    std::optional<qint64> ensureKey(const QString &key);
    bool refuse();
    bool beginWrite();
    bool endWrite(bool ok);

    QString m_path;
    QString m_problem;
    sqlite3 *m_db = nullptr;
    QList<sqlite3_stmt *> m_statements;
    int m_depth = 0;
    quint64 m_failures = 0;
    bool m_readOnly = false;
    bool m_outerFailed = false;
};
