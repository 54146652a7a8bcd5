#pragma once

#include "core/data/Connection.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <vector>

namespace kx {

/** How a column stores its values, read from its declared type the way SQLite reads it. */
enum class ColumnAffinity
{
    Integer,
    Real,
    Text,
    Other
};

/** A column of a recordset: its name, the base table and column behind it, and its affinity. */
struct RecordsetColumn : ColumnInfo
{
    ColumnAffinity affinity = ColumnAffinity::Other;
};

/**
 * A value as the column stores it, converted the way the old engine converted what a routine
 * assigned: text read as a number (a decimal comma too) for a numeric column, a number written out
 * for a text one, yes/no as 1/0 (-1/0 in text). What does not read as a number for a numeric column
 * fails with -2147217887, naming the field.
 */
QVariant valueForColumn(const RecordsetColumn &column, const QVariant &value);

/** A name without the brackets or double quotes around it. */
QString bareName(QString name);

/**
 * The columns of a recordset's rows: what each shows, its base table and type, the keys of the base
 * tables, and the fields by name (without regard to case; "Table.Column" finds the column of that
 * origin table, a plain name the one column whose dotted name ends with it).
 */
class RecordsetColumns
{
public:
    /** The primary-key columns of a base table in key order; empty when it has none. */
    using PrimaryKey = std::function<QStringList(const QString &table)>;

    /** Takes the columns of a result; with `withRowid` its last one is the rowid, hidden from fields. */
    void reset(const QList<ColumnInfo> &columns, bool withRowid, const PrimaryKey &primaryKey);
    void clear();

    /** Every column, the hidden rowid included. */
    int count() const { return int(m_columns.size()); }
    /** The columns shown as fields: every one but the rowid. */
    int visibleCount() const { return m_visibleCount; }
    /** The hidden rowid's column; -1 when there is none. */
    int rowidColumn() const { return m_rowidColumn; }
    const RecordsetColumn &at(int column) const { return m_columns[column]; }

    /** True when a field comes from that base table. */
    bool hasTable(const QString &table) const;
    /** The primary key of one of the columns' base tables; empty when it has none. */
    QStringList keyOf(const QString &table) const;
    /** The columns whose values find a row again: the base tables' keys, the rowid, or else every field. */
    const std::vector<int> &identityColumns() const { return m_identityColumns; }

    /** The column of a field name; fails with 3265 when there is none. */
    int resolve(const QString &field) const;
    /** The field showing a base table's column, by preference the one of the same name; -1 when none. */
    int columnOf(const QString &table, const QString &origin) const;

private:
    std::vector<RecordsetColumn> m_columns;
    int m_visibleCount = 0;
    int m_rowidColumn = -1;
    QHash<QString, QStringList> m_keys;
    std::vector<int> m_identityColumns;
    mutable QHash<QString, int> m_resolved;
    /** The same, by the name exactly as a caller wrote it, found without folding it first. */
    mutable QHash<QString, int> m_resolvedAsWritten;
};

} // namespace kx
