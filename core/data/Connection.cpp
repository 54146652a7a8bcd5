#include "core/data/Connection.h"

#include "core/data/DatabaseLock.h"
#include "core/data/EngineErrors.h"
#include "core/services/RoutineError.h"

#include <QDate>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>

// The SQLCipher header declares sqlite3_key only for a build with the codec.
#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

/** The program's fixed database password: part of the program, not of the configuration. */
constexpr char Password[] = "MB94SELTA";
constexpr int BusyTimeoutMs = 5000;
/** Prepared statements kept for reuse; the recordsets' writes repeat a handful of texts. */
constexpr int StatementCacheSize = 64;

QString engineMessage(sqlite3 *db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
}

void bindValue(sqlite3_stmt *statement, int index, const QVariant &value)
{
    if (!value.isValid() || value.isNull()) {
        sqlite3_bind_null(statement, index);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
        sqlite3_bind_int(statement, index, value.toBool() ? 1 : 0);
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        sqlite3_bind_int64(statement, index, value.toLongLong());
        break;
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        sqlite3_bind_int64(statement, index, qint64(value.toULongLong()));
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(statement, index, value.toDouble());
        break;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        sqlite3_bind_blob(statement, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        break;
    }
    case QMetaType::QDate:
        sqlite3_bind_text16(statement, index, value.toDate().toString(Qt::ISODate).utf16(), -1,
                            SQLITE_TRANSIENT);
        break;
    case QMetaType::QDateTime:
        sqlite3_bind_text16(statement, index, value.toDateTime().toString(Qt::ISODate).utf16(), -1,
                            SQLITE_TRANSIENT);
        break;
    default: {
        // constData(), not utf16(): that copies a literal's characters to end them with a zero.
        const QString text = value.toString();
        sqlite3_bind_text16(statement, index, text.constData(), int(text.size() * sizeof(char16_t)),
                            SQLITE_TRANSIENT);
        break;
    }
    }
}

QVariant columnValue(sqlite3_stmt *statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement, column));
    case SQLITE_TEXT: {
        const auto *text = static_cast<const char16_t *>(sqlite3_column_text16(statement, column));
        const int bytes = sqlite3_column_bytes16(statement, column);
        return QVariant(QString(reinterpret_cast<const QChar *>(text), bytes / int(sizeof(char16_t))));
    }
    case SQLITE_BLOB: {
        const auto *data = static_cast<const char *>(sqlite3_column_blob(statement, column));
        return QVariant(QByteArray(data, sqlite3_column_bytes(statement, column)));
    }
    default:
        return QVariant();
    }
}

QString text(const char *utf8)
{
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

sqlite3 *openKeyed(const QString &path, int flags, int &rc)
{
    sqlite3 *db = nullptr;
    rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_key(db, Password, int(sizeof(Password) - 1));
    if (db) {
        sqlite3_extended_result_codes(db, 1);
        sqlite3_busy_timeout(db, BusyTimeoutMs);
    }
    return db;
}

} // namespace

/**
 * A prepared statement with its parameters bound. One taken from the cache goes back to it when done;
 * a new one joins the cache when its text has no statement there yet.
 */
class Connection::Statement
{
public:
    Statement(Connection &connection, const QString &sql, sqlite3_stmt *statement, bool cached)
        : m_connection(connection), m_sql(sql), m_statement(statement), m_cached(cached),
          m_generation(connection.m_generation)
    {
    }
    ~Statement()
    {
        if (!m_connection.m_db || m_generation != m_connection.m_generation) {
            // The connection was closed meanwhile; it finalized the cached statements itself.
            if (!m_cached)
                sqlite3_finalize(m_statement);
            return;
        }
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
        QHash<QString, CachedStatement> &cache = m_connection.m_cache;
        const auto found = cache.find(m_sql);
        if (m_cached && found != cache.end() && found->statement == m_statement) {
            found->inUse = false;
            return;
        }
        if (m_cached || found != cache.end()) {
            sqlite3_finalize(m_statement);
            return;
        }
        if (cache.size() >= StatementCacheSize)
            m_connection.finalizeIdle();
        cache.insert(m_sql, {m_statement, false});
    }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    sqlite3_stmt *get() const { return m_statement; }
    /** False once the connection was closed, or opened again, since the statement was prepared. */
    bool isCurrent() const { return m_connection.m_db && m_generation == m_connection.m_generation; }

    /** Steps once: true with a row, false when done; a failure throws. */
    bool step(bool deleting = false)
    {
        const int rc = sqlite3_step(m_statement);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        const int detailed = sqlite3_extended_errcode(m_connection.m_db);
        sqlite3_reset(m_statement);
        throw engineError(detailed ? detailed : rc, engineMessage(m_connection.m_db), deleting);
    }

private:
    Connection &m_connection;
    QString m_sql;
    sqlite3_stmt *m_statement;
    bool m_cached;
    quint64 m_generation;
};

QString Connection::providerName()
{
    return u"Microsoft.Jet.OLEDB.4.0"_s;
}

Connection::Connection() = default;

Connection::~Connection()
{
    if (isOpen())
        close();
}

void Connection::open(const QString &provider, const QString &path, Mode mode)
{
    if (provider.trimmed().compare(providerName(), Qt::CaseInsensitive) != 0) {
        throw RoutineError(ErrorCode::ProviderNotFound,
                           RoutineError::standardDescription(ErrorCode::ProviderNotFound) + u" ("_s +
                               provider + u")"_s);
    }
    open(path, mode);
}

void Connection::open(const QString &path, Mode mode)
{
    if (isOpen())
        throw RoutineError(ErrorCode::ObjectOpen);
    if (path.trimmed().isEmpty() || !QFileInfo(path).isFile()) {
        throw RoutineError(ErrorCode::Unspecified, u"Impossibile trovare il file '"_s + path + u"'."_s);
    }

    auto lock = std::make_unique<DatabaseLock>(path, mode);
    int rc = SQLITE_OK;
    sqlite3 *db = openKeyed(path, SQLITE_OPEN_READWRITE, rc);
    if (rc == SQLITE_OK) {
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK)
            rc = sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA foreign_keys=ON", nullptr, nullptr,
                              nullptr);
    }
    if (rc != SQLITE_OK) {
        RoutineError error =
            (rc & 0xff) == SQLITE_NOTADB
                ? RoutineError(ErrorCode::Unspecified, u"Formato di database non riconosciuto '"_s + path +
                                                           u"'. Il file non è una base dati del programma "
                                                           u"oppure è danneggiato."_s)
                : RoutineError(ErrorCode::Unspecified, u"Impossibile aprire la base dati '"_s + path +
                                                           u"'. "_s +
                                                           engineError(rc, engineMessage(db)).description());
        sqlite3_close(db);
        throw error;
    }
    m_lock = std::move(lock);
    m_db = db;
    m_path = path;
    m_mode = mode;
    ++m_generation;
}

void Connection::close()
{
    if (!isOpen())
        throw RoutineError(ErrorCode::ObjectClosed);
    try {
        notifyObservers();
    } catch (const RoutineError &) {
        // A reader that cannot read now keeps what it has; the connection closes all the same.
    }
    finalizeCached();
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_primaryKeys.clear();
    m_savepointDepth = 0;
    m_lock.reset();
}

void Connection::finalizeCached()
{
    for (const CachedStatement &cached : std::as_const(m_cache))
        sqlite3_finalize(cached.statement);
    m_cache.clear();
}

void Connection::finalizeIdle()
{
    for (auto cached = m_cache.begin(); cached != m_cache.end();) {
        if (cached->inUse) {
            ++cached;
        } else {
            sqlite3_finalize(cached->statement);
            cached = m_cache.erase(cached);
        }
    }
}

bool Connection::othersConnected() const
{
    if (!isOpen() || m_mode == Mode::Exclusive)
        return false;
    return m_lock->othersHoldIt();
}

void Connection::requireOpen() const
{
    if (!isOpen())
        throw RoutineError(ErrorCode::ConnectionClosed);
}

std::unique_ptr<Connection::Statement> Connection::prepare(const QString &sql, const QVariantList &params)
{
    std::unique_ptr<Statement> result = statementFor(sql);
    bind(result->get(), sql, params);
    return result;
}

std::unique_ptr<Connection::Statement> Connection::statementFor(const QString &sql)
{
    requireOpen();
    sqlite3_stmt *statement = nullptr;
    bool cached = false;
    const auto found = m_cache.find(sql);
    if (found != m_cache.end() && !found->inUse) {
        statement = found->statement;
        found->inUse = true;
        cached = true;
    }
    if (!statement) {
        const void *tail = nullptr;
        const int rc =
            sqlite3_prepare16_v2(m_db, sql.utf16(), int(sql.size() * sizeof(char16_t)), &statement, &tail);
        if (rc != SQLITE_OK) {
            sqlite3_finalize(statement);
            throw engineError(sqlite3_extended_errcode(m_db), engineMessage(m_db));
        }
        if (!statement)
            throw RoutineError(ErrorCode::SyntaxError, u"Istruzione SQL vuota."_s);
        // One statement per call: a second one would otherwise be dropped without a word.
        const qsizetype used = static_cast<const QChar *>(tail) - sql.constData();
        for (qsizetype i = used; i < sql.size(); ++i) {
            if (!sql[i].isSpace() && sql[i] != u';') {
                sqlite3_finalize(statement);
                throw RoutineError(ErrorCode::SyntaxError,
                                   RoutineError::standardDescription(ErrorCode::SyntaxError) +
                                       u" (una sola istruzione per volta)"_s);
            }
        }
    }
    return std::make_unique<Statement>(*this, sql, statement, cached);
}

void Connection::bind(sqlite3_stmt *statement, const QString &sql, const QVariantList &params)
{
    beforeRunning(statement, sql, params);
    const int expected = sqlite3_bind_parameter_count(statement);
    if (expected != params.size()) {
        throw RoutineError(ErrorCode::ParameterMissing,
                           RoutineError::standardDescription(ErrorCode::ParameterMissing) + u" ("_s +
                               QString::number(params.size()) + u"/"_s + QString::number(expected) + u")"_s);
    }
    for (int i = 0; i < params.size(); ++i)
        bindValue(statement, i + 1, params.at(i));
}

PreparedStatement::PreparedStatement(Connection &connection, const QString &sql)
    : m_connection(connection), m_sql(sql)
{
}

PreparedStatement::~PreparedStatement() = default;

int PreparedStatement::execute(const QVariantList &params)
{
    if (!m_statement || !m_statement->isCurrent()) {
        m_statement.reset();
        m_statement = m_connection.statementFor(m_sql);
    }
    sqlite3_stmt *raw = m_statement->get();
    sqlite3_reset(raw);
    m_connection.bind(raw, m_sql, params);
    while (m_statement->step()) {
    }
    const int changed = sqlite3_stmt_readonly(raw) ? 0 : sqlite3_changes(m_connection.m_db);
    sqlite3_reset(raw);
    return changed;
}

int Connection::execute(const QString &sql, const QVariantList &params)
{
    auto statement = prepare(sql, params);
    const bool deleting = sqlite3_stmt_readonly(statement->get()) == 0 &&
                          QStringView(sql).trimmed().startsWith(u"DELETE", Qt::CaseInsensitive);
    while (statement->step(deleting)) {
    }
    return sqlite3_stmt_readonly(statement->get()) ? 0 : sqlite3_changes(m_db);
}

namespace {

QList<ColumnInfo> columnsOf(sqlite3_stmt *raw)
{
    QList<ColumnInfo> columns;
    const int count = sqlite3_column_count(raw);
    columns.reserve(count);
    for (int i = 0; i < count; ++i) {
        columns.append({text(sqlite3_column_name(raw, i)), text(sqlite3_column_table_name(raw, i)),
                        text(sqlite3_column_origin_name(raw, i)), text(sqlite3_column_decltype(raw, i))});
    }
    return columns;
}

} // namespace

QList<ColumnInfo> Connection::describe(const QString &sql)
{
    return columnsOf(prepare(sql, {})->get());
}

QueryResult Connection::query(const QString &sql, const QVariantList &params)
{
    auto statement = prepare(sql, params);
    sqlite3_stmt *raw = statement->get();
    QueryResult result;
    result.columns = columnsOf(raw);
    const int count = int(result.columns.size());
    while (statement->step()) {
        QVariantList row;
        row.reserve(count);
        for (int i = 0; i < count; ++i)
            row.append(columnValue(raw, i));
        result.rows.append(std::move(row));
    }
    return result;
}

void Connection::forEachRow(const QString &sql, const QVariantList &params,
                            const std::function<void(const QVariantList &)> &row)
{
    auto statement = prepare(sql, params);
    sqlite3_stmt *raw = statement->get();
    const int count = sqlite3_column_count(raw);
    QVariantList values;
    while (statement->step()) {
        values.clear();
        values.reserve(count);
        for (int i = 0; i < count; ++i)
            values.append(columnValue(raw, i));
        row(values);
    }
}

QList<QVariantList> Connection::rows(const QString &sql, const QVariantList &params)
{
    // The columns' description costs more than a short row: it is left to query().
    QList<QVariantList> result;
    forEachRow(sql, params, [&result](const QVariantList &row) { result.append(row); });
    return result;
}

QVariant Connection::scalar(const QString &sql, const QVariantList &params)
{
    auto statement = prepare(sql, params);
    if (!statement->step() || sqlite3_column_count(statement->get()) == 0)
        return {};
    const QVariant value = columnValue(statement->get(), 0);
    while (statement->step()) {
    }
    return value;
}

void Connection::executeScript(const QString &sql)
{
    requireOpen();
    notifyObservers();
    char *message = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        throw engineError(sqlite3_extended_errcode(m_db), engineMessage(m_db));
}

qint64 Connection::lastInsertRowId() const
{
    requireOpen();
    return sqlite3_last_insert_rowid(m_db);
}

void Connection::backupTo(const QString &path)
{
    requireOpen();
    QFile::remove(path);
    // The copy is read through a handle of its own: the engine refuses to copy from a connection in
    // the middle of a transaction, and a descriptor of ours closed on the file would drop its locks.
    // So it holds what is committed, also while this connection keeps others from writing.
    int rc = SQLITE_OK;
    sqlite3 *source = openKeyed(m_path, SQLITE_OPEN_READONLY, rc);
    sqlite3 *target = nullptr;
    if (rc == SQLITE_OK)
        target = openKeyed(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, rc);
    if (rc == SQLITE_OK) {
        sqlite3_backup *backup = sqlite3_backup_init(target, "main", source, "main");
        if (backup) {
            // Another installation's commit is waited for as long as any statement would wait.
            QDeadlineTimer deadline(BusyTimeoutMs);
            for (;;) {
                rc = sqlite3_backup_step(backup, -1);
                if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || deadline.hasExpired())
                    break;
                sqlite3_sleep(50);
            }
            sqlite3_backup_finish(backup);
            if (rc == SQLITE_DONE)
                rc = SQLITE_OK;
        } else {
            rc = sqlite3_extended_errcode(target);
        }
    }
    if (rc != SQLITE_OK) {
        const QString reason = (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED
                                   ? u"La base dati è bloccata da un'altra installazione."_s
                                   : engineError(rc, QString::fromUtf8(sqlite3_errstr(rc))).description();
        const RoutineError error(ErrorCode::Unspecified,
                                 u"Impossibile copiare la base dati in '"_s + path + u"'. "_s + reason);
        sqlite3_close(source);
        sqlite3_close(target);
        QFile::remove(path);
        throw error;
    }
    sqlite3_close(source);
    sqlite3_close(target);
}

QStringList Connection::primaryKey(const QString &table)
{
    requireOpen();
    const QString cacheKey = table.toLower();
    auto found = m_primaryKeys.constFind(cacheKey);
    if (found != m_primaryKeys.constEnd())
        return *found;
    const QueryResult info = query(u"PRAGMA table_info("_s + quotedIdentifier(table) + u")"_s);
    QList<std::pair<qlonglong, QString>> keyColumns;
    for (const QVariantList &row : info.rows) {
        if (row.at(5).toLongLong() > 0)
            keyColumns.append({row.at(5).toLongLong(), row.at(1).toString()});
    }
    std::sort(keyColumns.begin(), keyColumns.end());
    QStringList key;
    for (const auto &column : std::as_const(keyColumns))
        key.append(column.second);
    m_primaryKeys.insert(cacheKey, key);
    return key;
}

void Connection::watch(ChangeObserver *observer)
{
    if (!m_observers.contains(observer))
        m_observers.append(observer);
}

void Connection::unwatch(ChangeObserver *observer)
{
    m_observers.removeAll(observer);
}

void Connection::beforeRunning(sqlite3_stmt *statement, const QString &sql, const QVariantList &params)
{
    if (m_observers.isEmpty())
        return;
    // A rollback writes nothing of its own but takes back what this connection wrote and read.
    if (QStringView(sql).trimmed().startsWith(u"ROLLBACK"_s, Qt::CaseInsensitive))
        notifyObservers();
    else if (!sqlite3_stmt_readonly(statement))
        notifyObservers({sql, params});
}

void Connection::notifyObservers(const PendingChange &change)
{
    const QList<ChangeObserver *> observers = m_observers;
    for (ChangeObserver *observer : observers) {
        if (m_observers.contains(observer))
            observer->beforeChange(change);
    }
}

bool Connection::inTransaction() const
{
    return isOpen() && !sqlite3_get_autocommit(m_db);
}

void Connection::createDatabase(const QString &path, const QString &schemaSql)
{
    if (QFileInfo::exists(path))
        throw RoutineError(ErrorCode::FileAlreadyExists, u"La base dati '"_s + path + u"' esiste già."_s);
    int rc = SQLITE_OK;
    sqlite3 *db = openKeyed(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, rc);
    if (rc == SQLITE_OK) {
        const QByteArray script = u"PRAGMA journal_mode=DELETE; PRAGMA foreign_keys=ON; BEGIN; "_s.toUtf8() +
                                  schemaSql.toUtf8() + "\n;COMMIT;";
        rc = sqlite3_exec(db, script.constData(), nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        const RoutineError error(
            ErrorCode::Unspecified,
            u"Impossibile creare la base dati '"_s + path + u"'. "_s +
                engineError(sqlite3_extended_errcode(db), engineMessage(db)).description());
        sqlite3_close(db);
        QFile::remove(path);
        throw error;
    }
    sqlite3_close(db);
}

QList<QStringList> Connection::schemaObjects(const QString &schemaSql)
{
    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, schemaSql.toUtf8().constData(), nullptr, nullptr, nullptr);
    sqlite3_stmt *statement = nullptr;
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(db, "SELECT type, name, sql FROM sqlite_master ORDER BY rowid", -1,
                                &statement, nullptr);
    QList<QStringList> objects;
    if (rc == SQLITE_OK) {
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            QStringList object;
            for (int column = 0; column < 3; ++column) {
                object.append(
                    QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, column)),
                                      sqlite3_column_bytes(statement, column)));
            }
            objects.append(object);
        }
        if (rc == SQLITE_DONE)
            rc = SQLITE_OK;
    }
    const QString failure = rc == SQLITE_OK ? QString() : engineError(rc, engineMessage(db)).description();
    sqlite3_finalize(statement);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        throw RoutineError(ErrorCode::Unspecified, u"Lo schema della base dati non è valido. "_s + failure);
    return objects;
}

QString quotedIdentifier(const QString &name)
{
    return u'"' + QString(name).replace(u'"', u"\"\""_s) + u'"';
}

Transaction::Transaction(Connection &connection)
    : m_connection(connection), m_generation(connection.m_generation)
{
    if (m_connection.m_savepointDepth == 0) {
        m_connection.execute(u"BEGIN IMMEDIATE"_s);
    } else {
        m_savepoint = u"guard"_s + QString::number(m_connection.m_savepointDepth);
        m_connection.execute(u"SAVEPOINT "_s + m_savepoint);
    }
    ++m_connection.m_savepointDepth;
}

void Transaction::rollback()
{
    if (m_done || !m_connection.isOpen() || m_connection.m_generation != m_generation)
        return;
    m_done = true;
    --m_connection.m_savepointDepth;
    if (m_savepoint.isEmpty()) {
        m_connection.execute(u"ROLLBACK"_s);
    } else {
        m_connection.execute(u"ROLLBACK TO "_s + m_savepoint);
        m_connection.execute(u"RELEASE "_s + m_savepoint);
    }
}

Transaction::~Transaction()
{
    try {
        rollback();
    } catch (const RoutineError &) {
        // A failed rollback leaves SQLite to undo the transaction when the connection closes.
    }
}

void Transaction::commit()
{
    if (m_done)
        return;
    if (!m_connection.isOpen() || m_connection.m_generation != m_generation)
        throw RoutineError(ErrorCode::ConnectionClosed);
    m_connection.execute(m_savepoint.isEmpty() ? u"COMMIT"_s : u"RELEASE "_s + m_savepoint);
    m_done = true;
    --m_connection.m_savepointDepth;
}

} // namespace kx
