#pragma once

#include "core/data/Connection.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

/**
 * A keyed database for a test, made from the program's schema (or from a schema the test gives) and
 * filled with the rows the test lists. Every call opens its own shared connection and closes it, so
 * the database is free for the code under test, exclusive opening included.
 */
class FixtureDatabase
{
public:
    /** Makes the database file at the path; it must not exist yet. */
    explicit FixtureDatabase(const QString &path);
    FixtureDatabase(const QString &path, const QString &schemaSql);

    const QString &path() const { return m_path; }

    /** Adds rows to a table: the columns named once, then one list of values per row. */
    void insert(const QString &table, const QStringList &columns, const QList<QVariantList> &rows);
    int execute(const QString &sql, const QVariantList &params = {});
    kx::QueryResult query(const QString &sql, const QVariantList &params = {});
    QVariant scalar(const QString &sql, const QVariantList &params = {});
    /** The number of rows of a table. */
    int count(const QString &table);

private:
    QString m_path;
};
