#include "core/data/RecordsetWriter.h"

#include "core/data/Connection.h"
#include "core/data/RecordsetColumns.h"
#include "core/services/RoutineError.h"
#include "core/text/Values.h"

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

RoutineError keyError(const QString &table)
{
    return RoutineError(ErrorCode::Unspecified,
                        u"Informazioni insufficienti sulle colonne chiave per aggiornare la tabella '"_s +
                            table + u"'."_s);
}

/** Runs a statement that must change a row; none changed means another installation got there first. */
void executeOnRow(Connection &connection, const WriteStatement &statement)
{
    if (connection.execute(statement.sql, statement.values) == 0)
        throw RoutineError(ErrorCode::RowDeletedMeanwhile);
}

/** True when two edits change the same fields: by index, which is cheaper than the bit iterators of ==. */
bool sameFields(const std::vector<bool> &a, const std::vector<bool> &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

} // namespace

RecordsetWriter::RecordsetWriter(const RecordsetColumns &columns, const QString &source, bool sourceIsTable)
    : m_columns(columns), m_source(source), m_sourceIsTable(sourceIsTable)
{
}

bool RecordsetWriter::readWithRowid(const QString &table) const
{
    return m_columns.rowidColumn() >= 0 && bareName(m_source).compare(table, Qt::CaseInsensitive) == 0;
}

QStringList RecordsetWriter::changedTables(const RowEdit &edit) const
{
    QStringList tables;
    for (int i = 0; i < m_columns.visibleCount(); ++i) {
        if (!edit.changed[i])
            continue;
        const RecordsetColumn &c = m_columns.at(i);
        if (c.table.isEmpty()) {
            throw RoutineError(ErrorCode::Unspecified, u"Impossibile aggiornare il campo '"_s + c.name +
                                                           u"': non appartiene a una tabella di base."_s);
        }
        if (!tables.contains(c.table, Qt::CaseInsensitive))
            tables.append(c.table);
    }
    return tables;
}

QList<std::pair<QString, QVariant>> RecordsetWriter::changedColumnsOf(const QString &table,
                                                                      const RowEdit &edit) const
{
    QList<std::pair<QString, QVariant>> columns;
    for (int i = 0; i < m_columns.visibleCount(); ++i) {
        const RecordsetColumn &c = m_columns.at(i);
        if (!edit.changed[i] || c.table.compare(table, Qt::CaseInsensitive) != 0)
            continue;
        const auto same = std::find_if(columns.begin(), columns.end(), [&](const auto &column) {
            return column.first.compare(c.origin, Qt::CaseInsensitive) == 0;
        });
        if (same != columns.end())
            same->second = edit.values[i];
        else
            columns.append({c.origin, edit.values[i]});
    }
    return columns;
}

WriteStatement RecordsetWriter::insertion(const QString &table, const RowEdit &edit) const
{
    QStringList names;
    QStringList marks;
    WriteStatement statement;
    for (const auto &[origin, value] : changedColumnsOf(table, edit)) {
        names.append(quotedIdentifier(origin));
        marks.append(u"?"_s);
        statement.values.append(value);
    }
    statement.sql = u"INSERT INTO "_s + quotedIdentifier(table);
    if (names.isEmpty())
        statement.sql += u" DEFAULT VALUES"_s;
    else
        statement.sql += u" ("_s + names.join(u", "_s) + u") VALUES ("_s + marks.join(u", "_s) + u")"_s;
    return statement;
}

WriteStatement RecordsetWriter::updating(const QString &table, const QVariantList &original,
                                         const RowEdit &edit, Recordset::UpdateCriteria criteria) const
{
    WriteStatement statement;
    QStringList assignments;
    for (const auto &[origin, value] : changedColumnsOf(table, edit)) {
        assignments.append(quotedIdentifier(origin) + u" = ?"_s);
        statement.values.append(value);
    }

    QStringList conditions;
    QStringList conditionColumns;
    const auto condition = [&](const QString &origin, const QVariant &value) {
        if (conditionColumns.contains(origin.toLower()))
            return;
        conditionColumns.append(origin.toLower());
        conditions.append(quotedIdentifier(origin) + u" IS ?"_s);
        statement.values.append(value);
    };
    const QStringList key = m_columns.keyOf(table);
    if (readWithRowid(table)) {
        condition(u"rowid"_s, original[m_columns.rowidColumn()]);
    } else if (!key.isEmpty()) {
        for (const QString &origin : key) {
            const int column = m_columns.columnOf(table, origin);
            if (column < 0)
                throw keyError(table);
            condition(origin, original[column]);
        }
    }
    const bool allColumns = criteria == Recordset::UpdateCriteria::AllColumns || conditions.isEmpty();
    for (int i = 0; i < m_columns.visibleCount(); ++i) {
        const RecordsetColumn &c = m_columns.at(i);
        if (c.table.compare(table, Qt::CaseInsensitive) != 0)
            continue;
        if (allColumns || (criteria == Recordset::UpdateCriteria::ChangedColumns && edit.changed[i]))
            condition(c.origin, original[i]);
    }

    statement.sql = u"UPDATE "_s + quotedIdentifier(table) + u" SET "_s + assignments.join(u", "_s) +
                    u" WHERE "_s + conditions.join(u" AND "_s);
    return statement;
}

WriteStatement RecordsetWriter::deletion(const QVariantList &original) const
{
    QString table = m_sourceIsTable ? bareName(m_source) : QString();
    if (table.isEmpty() || !m_columns.hasTable(table)) {
        table.clear();
        for (int i = 0; i < m_columns.visibleCount() && table.isEmpty(); ++i)
            table = m_columns.at(i).table;
        if (table.isEmpty())
            throw keyError(m_source);
    }
    WriteStatement statement;
    QStringList conditions;
    if (m_columns.rowidColumn() >= 0 && m_sourceIsTable) {
        conditions.append(u"rowid IS ?"_s);
        statement.values.append(original[m_columns.rowidColumn()]);
    } else {
        QStringList key = m_columns.keyOf(table);
        if (key.isEmpty()) {
            for (int i = 0; i < m_columns.visibleCount(); ++i) {
                const RecordsetColumn &c = m_columns.at(i);
                if (c.table.compare(table, Qt::CaseInsensitive) == 0 && !key.contains(c.origin))
                    key.append(c.origin);
            }
        }
        for (const QString &origin : std::as_const(key)) {
            const int column = m_columns.columnOf(table, origin);
            if (column < 0)
                throw keyError(table);
            conditions.append(quotedIdentifier(origin) + u" IS ?"_s);
            statement.values.append(original[column]);
        }
    }
    statement.sql = u"DELETE FROM "_s + quotedIdentifier(table) + u" WHERE "_s + conditions.join(u" AND "_s);
    return statement;
}

const QList<RecordsetWriter::Insertion> &RecordsetWriter::insertions(Connection &connection,
                                                                     const RowEdit &edit) const
{
    if (m_lastInsertions && sameFields(edit.changed, m_lastChanged))
        return *m_lastInsertions;
    QByteArray changed(m_columns.visibleCount(), '0');
    for (int i = 0; i < m_columns.visibleCount(); ++i) {
        if (edit.changed[i])
            changed[i] = '1';
    }
    m_lastChanged = edit.changed;
    const auto found = m_insertions.constFind(changed);
    if (found != m_insertions.constEnd()) {
        m_lastInsertions = &*found;
        return *found;
    }

    QStringList tables = changedTables(edit);
    if (tables.isEmpty()) {
        for (int i = 0; i < m_columns.visibleCount() && tables.isEmpty(); ++i) {
            if (!m_columns.at(i).table.isEmpty())
                tables.append(m_columns.at(i).table);
        }
        if (tables.isEmpty())
            throw keyError(m_source);
    }
    QList<Insertion> made;
    for (const QString &table : std::as_const(tables)) {
        Insertion entry;
        entry.table = table;
        entry.sql = insertion(table, edit).sql;
        entry.statement = std::make_shared<PreparedStatement>(connection, entry.sql);
        // The fields bound, in the statement's order: for two fields of one column, the later.
        QStringList origins;
        for (int i = 0; i < m_columns.visibleCount(); ++i) {
            const RecordsetColumn &c = m_columns.at(i);
            if (!edit.changed[i] || c.table.compare(table, Qt::CaseInsensitive) != 0)
                continue;
            const qsizetype same = origins.indexOf(c.origin.toLower());
            if (same >= 0) {
                entry.fields[size_t(same)] = i;
            } else {
                origins.append(c.origin.toLower());
                entry.fields.push_back(i);
            }
        }
        // A key the database numbers itself (an INTEGER PRIMARY KEY is the rowid) is read back.
        const QStringList key = m_columns.keyOf(table);
        if (key.size() == 1) {
            const int column = m_columns.columnOf(table, key.first());
            if (column >= 0 &&
                m_columns.at(column).declaredType.compare(u"INTEGER"_s, Qt::CaseInsensitive) == 0)
                entry.numberedKey = column;
        }
        entry.withRowid = readWithRowid(table);
        made.append(entry);
    }
    m_lastInsertions = &*m_insertions.insert(changed, made);
    return *m_lastInsertions;
}

void RecordsetWriter::insert(Connection &connection, RowEdit &edit) const
{
    const QList<Insertion> &inserts = insertions(connection, edit);
    std::optional<Transaction> transaction;
    if (inserts.size() > 1)
        transaction.emplace(connection);
    for (const Insertion &insertion : inserts) {
        m_values.clear();
        for (const int field : insertion.fields)
            m_values.append(edit.values[field]);
        insertion.statement->execute(m_values);
        if (insertion.numberedKey >= 0 && isNullValue(edit.values[insertion.numberedKey]))
            edit.values[insertion.numberedKey] = qlonglong(connection.lastInsertRowId());
        if (insertion.withRowid)
            edit.values[m_columns.rowidColumn()] = qlonglong(connection.lastInsertRowId());
    }
    if (transaction)
        transaction->commit();
}

void RecordsetWriter::update(Connection &connection, const QVariantList &original, const RowEdit &edit,
                             Recordset::UpdateCriteria criteria) const
{
    const QStringList tables = changedTables(edit);
    std::optional<Transaction> transaction;
    if (tables.size() > 1)
        transaction.emplace(connection);
    for (const QString &table : tables)
        executeOnRow(connection, updating(table, original, edit, criteria));
    if (transaction)
        transaction->commit();
}

void RecordsetWriter::remove(Connection &connection, const QVariantList &original) const
{
    executeOnRow(connection, deletion(original));
}

} // namespace kx
