#pragma once

#include "core/data/Recordset.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace kx {

class Connection;
class PreparedStatement;
class RecordsetColumns;

/** A row being edited: its values and which of its fields the edit changed. */
struct RowEdit
{
    QVariantList values;
    std::vector<bool> changed;
};

/** One statement on a base table with the values it binds. */
struct WriteStatement
{
    QString sql;
    QVariantList values;
};

/**
 * Turns an edit of a recordset's row into statements on its base tables, and runs them. Only the
 * changed fields are written, each to its base table: a new row gets one insert per table, a changed
 * one an update per table matched by the table's primary key (the rowid of a table without one) and,
 * by the update criteria, by the values the other columns had when read. An update or delete that
 * changes no row fails with -2147217864. An edit of several tables is one transaction.
 */
class RecordsetWriter
{
public:
    /** The source is the recordset's, a table or view name when `sourceIsTable`, else SQL text. */
    RecordsetWriter(const RecordsetColumns &columns, const QString &source, bool sourceIsTable);

    /** The base tables of the changed fields in field order; a field the view computes fails. */
    QStringList changedTables(const RowEdit &edit) const;
    WriteStatement insertion(const QString &table, const RowEdit &edit) const;
    /** Fails when the fields lack a column of the table's key. */
    WriteStatement updating(const QString &table, const QVariantList &original, const RowEdit &edit,
                            Recordset::UpdateCriteria criteria) const;
    /** The row's deletion from the source table, or from the first base table of the fields. */
    WriteStatement deletion(const QVariantList &original) const;

    /** Writes a new row; a key the database numbers itself is read back into the edit's values. */
    void insert(Connection &connection, RowEdit &edit) const;
    void update(Connection &connection, const QVariantList &original, const RowEdit &edit,
                Recordset::UpdateCriteria criteria) const;
    void remove(Connection &connection, const QVariantList &original) const;

private:
    /** True for the source table read with its rowid, whose rows are found by it. */
    bool readWithRowid(const QString &table) const;
    /** The changed columns of a base table with their new values; two fields of one column give the later. */
    QList<std::pair<QString, QVariant>> changedColumnsOf(const QString &table, const RowEdit &edit) const;

    /** One insert of a new row into a base table: its statement and the fields it binds. */
    struct Insertion
    {
        QString table;
        QString sql;
        /** Prepared once for the rows added in a loop, without looking its text up for each. */
        std::shared_ptr<PreparedStatement> statement;
        std::vector<int> fields;
        /** The field of a key the database numbers itself, read back after the insert; -1 when none. */
        int numberedKey = -1;
        bool withRowid = false;
    };
    /** The inserts of a new row whose changed fields are those of the key, made once per set of fields. */
    const QList<Insertion> &insertions(Connection &connection, const RowEdit &edit) const;

    const RecordsetColumns &m_columns;
    QString m_source;
    bool m_sourceIsTable;
    mutable QHash<QByteArray, QList<Insertion>> m_insertions;
    /** The changed fields of the last new row and their inserts: rows added in a loop repeat them. */
    mutable std::vector<bool> m_lastChanged;
    mutable const QList<Insertion> *m_lastInsertions = nullptr;
    mutable QVariantList m_values;
};

} // namespace kx
