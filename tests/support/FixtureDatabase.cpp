#include "FixtureDatabase.h"

#include "core/data/Schema.h"

using namespace Qt::StringLiterals;
using namespace kx;

FixtureDatabase::FixtureDatabase(const QString &path) : m_path(path)
{
    createEmptyDatabase(path);
}

FixtureDatabase::FixtureDatabase(const QString &path, const QString &schemaSql) : m_path(path)
{
    Connection::createDatabase(path, schemaSql);
}

void FixtureDatabase::insert(const QString &table, const QStringList &columns,
                             const QList<QVariantList> &rows)
{
    Connection connection;
    connection.open(m_path, Connection::Mode::Shared);
    QStringList names;
    QStringList marks;
    for (const QString &column : columns) {
        names.append(quotedIdentifier(column));
        marks.append(u"?"_s);
    }
    const QString sql = u"INSERT INTO "_s + quotedIdentifier(table) + u" ("_s + names.join(u", "_s) +
                        u") VALUES ("_s + marks.join(u", "_s) + u")"_s;
    Transaction transaction(connection);
    for (const QVariantList &row : rows)
        connection.execute(sql, row);
    transaction.commit();
}

int FixtureDatabase::execute(const QString &sql, const QVariantList &params)
{
    Connection connection;
    connection.open(m_path, Connection::Mode::Shared);
    return connection.execute(sql, params);
}

QueryResult FixtureDatabase::query(const QString &sql, const QVariantList &params)
{
    Connection connection;
    connection.open(m_path, Connection::Mode::Shared);
    return connection.query(sql, params);
}

QVariant FixtureDatabase::scalar(const QString &sql, const QVariantList &params)
{
    Connection connection;
    connection.open(m_path, Connection::Mode::Shared);
    return connection.scalar(sql, params);
}

int FixtureDatabase::count(const QString &table)
{
    return scalar(u"SELECT count(*) FROM "_s + quotedIdentifier(table)).toInt();
}
