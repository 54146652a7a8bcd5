#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace kx {

class DatabaseLock;

/** A column of a statement's result and, when it is a plain column, the base table it comes from. */
struct ColumnInfo
{
    /** The name the statement gives the column (its alias). */
    QString name;
    /** Base table and column behind it, seen through views; empty for an expression. */
    QString table;
    QString origin;
    QString declaredType;
};

/** The rows of a query, each value a QVariant (Null is an invalid QVariant). */
struct QueryResult
{
    QList<ColumnInfo> columns;
    QList<QVariantList> rows;
};

/** A statement about to change the database, with its values; empty when that is not known. */
struct PendingChange
{
    QString sql;
    QVariantList params;
};

/**
 * Told before the connection changes the database, rolls a change back or closes: a reader that put
 * off its reading reads now, so that it sees the database as it was when it asked.
 */
class ChangeObserver
{
public:
    virtual void beforeChange(const PendingChange &change) = 0;

protected:
    ~ChangeObserver() = default;
};

/**
 * The connection to the program's database: one SQLCipher file keyed with the program's password,
 * opened shared or exclusive. The mode is held by a lock on a side file beside the database
 * ("<file>.lck"): a shared connection holds a read lock, an exclusive one the write lock, so an
 * exclusive opening fails while anyone else is connected and a shared one fails while someone holds
 * the database exclusively. The locks belong to the open file, so two connections of one process
 * conflict as two programs would.
 *
 * Every failure is a RoutineError with the old engine's number and an Italian description.
 */
class Connection
{
public:
    enum class Mode
    {
        Shared,
        Exclusive
    };

    /** The provider name the INI file has always held; no other is accepted. */
    static QString providerName();

    Connection();
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    /** Opens the database of the connection string's pieces; fails on another provider name. */
    void open(const QString &provider, const QString &path, Mode mode);
    void open(const QString &path, Mode mode);
    /** Closes the connection and drops its lock; an already closed connection fails with 3704. */
    void close();
    bool isOpen() const { return m_db != nullptr; }
    const QString &path() const { return m_path; }
    Mode mode() const { return m_mode; }

    /** True when another connection, of this or another program, has the database open. */
    bool othersConnected() const;

    /** Runs one statement with bound parameters; the number of rows it changed. */
    int execute(const QString &sql, const QVariantList &params = {});
    /** Runs one statement and returns all its rows with the description of its columns. */
    QueryResult query(const QString &sql, const QVariantList &params = {});
    /** Runs one statement and returns its rows alone: for a reading repeated record by record. */
    QList<QVariantList> rows(const QString &sql, const QVariantList &params = {});
    /** Runs one statement and hands each row to `row` as it comes, without holding them all. */
    void forEachRow(const QString &sql, const QVariantList &params,
                    const std::function<void(const QVariantList &)> &row);
    /** The description of a query's columns, without running it. */
    QList<ColumnInfo> describe(const QString &sql);
    /** The first value of the first row, Null when there is no row. */
    QVariant scalar(const QString &sql, const QVariantList &params = {});
    /** Runs several statements separated by ";", without parameters (a schema, for instance). */
    void executeScript(const QString &sql);
    qint64 lastInsertRowId() const;
    /** The engine's own handle, for timing tools that set the layer beside the engine; null when closed. */
    sqlite3 *engineHandle() const { return m_db; }

    /** Copies the whole database, consistent and keyed, to a file (replaced when it exists). */
    void backupTo(const QString &path);

    /** The primary-key columns of a table in key order; empty for a view or a table without one. */
    QStringList primaryKey(const QString &table);
    bool inTransaction() const;

    /** Adds an observer told before every change; one added twice is told once. */
    void watch(ChangeObserver *observer);
    void unwatch(ChangeObserver *observer);

    /** Makes a new, empty, keyed database file and runs the schema on it; fails when the file exists. */
    static void createDatabase(const QString &path, const QString &schemaSql);
    /**
     * What the schema makes, in the order it makes it, as the engine stores it: per object its type
     * ("table", "index", "view", ...), name and statement (empty for the indexes of keys).
     */
    static QList<QStringList> schemaObjects(const QString &schemaSql);

private:
    friend class Transaction;
    friend class PreparedStatement;
    class Statement;

    void requireOpen() const;
    std::unique_ptr<Statement> prepare(const QString &sql, const QVariantList &params);
    /** The statement of the text, from the cache or prepared now. */
    std::unique_ptr<Statement> statementFor(const QString &sql);
    /** Binds the values, after telling the observers of a change the statement is about to make. */
    void bind(sqlite3_stmt *statement, const QString &sql, const QVariantList &params);
    /** Finalizes every cached statement, as the connection closes. */
    void finalizeCached();
    /** Finalizes the cached statements not running now, to make room. */
    void finalizeIdle();
    /** Tells the observers, when the statement about to run changes what this connection reads. */
    void beforeRunning(sqlite3_stmt *statement, const QString &sql, const QVariantList &params);
    void notifyObservers(const PendingChange &change = {});

    sqlite3 *m_db = nullptr;
    std::unique_ptr<DatabaseLock> m_lock;
    QString m_path;
    Mode m_mode = Mode::Shared;
    struct CachedStatement
    {
        sqlite3_stmt *statement = nullptr;
        /** Taken by a running statement, which gives it back when done. */
        bool inUse = false;
    };
    QHash<QString, CachedStatement> m_cache;
    QHash<QString, QStringList> m_primaryKeys;
    QList<ChangeObserver *> m_observers;
    int m_savepointDepth = 0;
    /** Counts openings, so that a guard never touches a later opening's transaction. */
    quint64 m_generation = 0;
};

/**
 * One statement prepared once and run for many rows with new values, as a loader runs its INSERT or
 * UPDATE for every line of a file: the text is neither looked up nor prepared again. After the
 * connection was opened again, the next run prepares it on the new opening.
 */
class PreparedStatement
{
public:
    PreparedStatement(Connection &connection, const QString &sql);
    ~PreparedStatement();
    PreparedStatement(const PreparedStatement &) = delete;
    PreparedStatement &operator=(const PreparedStatement &) = delete;

    /** Runs the statement with these values; the rows it changed. */
    int execute(const QVariantList &params);

private:
    Connection &m_connection;
    QString m_sql;
    std::unique_ptr<Connection::Statement> m_statement;
};

/** An identifier (table, column) ready to stand in SQL text: in double quotes, its own ones doubled. */
QString quotedIdentifier(const QString &name);

/**
 * A transaction that rolls back unless committed. Nested guards become savepoints of the outer
 * transaction, so a routine can open one whatever its caller did.
 */
class Transaction
{
public:
    explicit Transaction(Connection &connection);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();
    /**
     * Rolls back at once instead of at the end of the guard. An error of the engine, such as a
     * transaction that was ended behind the guard's back, is passed on: the changes may then stand.
     * A closed connection has rolled back by itself.
     */
    void rollback();

private:
    Connection &m_connection;
    quint64 m_generation;
    QString m_savepoint;
    bool m_done = false;
};

} // namespace kx
