#pragma once

#include "core/data/CompactRow.h"
#include "core/data/Connection.h"
#include "core/data/EqualityIndex.h"
#include "core/data/KeyNarrowing.h"

#include <QSet>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

namespace kx {

class FilterExpression;
class RecordsetColumns;

/** Every row a recordset read or added; a deleted one keeps its place, so row numbers stay valid. */
struct RecordsetRows
{
    /** Packed: a large table read whole stays small. */
    std::vector<CompactRow> values;
    std::vector<bool> deleted;
    /** Per row: added by addNew rather than read. */
    std::vector<bool> added;
    /** The rows in the source's order, then the rows added in their order. */
    std::vector<int> sequence;
    /** Each row's place in the sequence; empty while the sequence is the rows' own order. */
    std::vector<int> rank;
    EqualityIndex index;

    int size() const { return int(values.size()); }
    /** Adds a row at the end of the rows and of the sequence; its number. */
    int append(const QVariantList &row, bool isAdded) { return append(CompactRow(row), isAdded); }
    int append(CompactRow row, bool isAdded);
    void clear();
};

/**
 * What a recordset has read of its source, and when it reads the rest.
 *
 * SQL text is read whole when opened. A table or a view is read on demand: opening it reads its
 * columns only, and the first use that needs rows reads them. When the filter in force then holds
 * equalities that the database can answer (KeyNarrowing), only the rows they find are read
 * (Matching), and the rest of the source is read when a later filter needs more, or before a change
 * through this connection that may reach it, so that the rows always make the snapshot of the source
 * as it was when they were first asked for. A change reaches the rest unless it writes tables the
 * reading does not open (nor cascades into them), or is an UPDATE of the rows read only, by columns
 * neither the narrowing nor other tables' references look at: a window's save of its own row. The
 * rest keeps the rows already read in their place: row numbers, bookmarks and the view do not change.
 *
 * A view is narrowed only where its matching rows come in the order of its whole reading: when the
 * equalities hold every column of its rows' identity to one value, when the engine reads it the same
 * way with the equalities as without, or when it reads the table of the rows' identity outermost in
 * the same order (keepsTheWholeOrder). A count asked before any row is read, without a filter,
 * is one SELECT COUNT(*).
 */
class RecordsetReading final : public ChangeObserver
{
public:
    enum class State
    {
        Whole,
        Nothing,
        Matching
    };

    RecordsetReading(Connection &connection, RecordsetRows &rows, RecordsetColumns &columns);
    ~RecordsetReading();
    RecordsetReading(const RecordsetReading &) = delete;
    RecordsetReading &operator=(const RecordsetReading &) = delete;

    /**
     * Takes the source's columns and, for SQL text, its rows; the rows of a table or a view wait for
     * their first use. A name that is neither fails with 3078. True for a table or view name.
     */
    bool start(const QString &source, const QVariantList &params);
    /** Forgets the rows and stops watching the connection. */
    void stop();
    State state() const { return m_state; }

    /** Reads the rows the filter in force needs, when they are not read yet. */
    void ensureRows(const FilterExpression &filter);
    /**
     * While only matching rows are read and the connection has changed nothing since: forgets them,
     * as if nothing were read yet.
     */
    void forgetUnseenRows();
    /** Reads the rows not read yet after the matching ones; the source is then whole. */
    void readRest();
    /**
     * Before a write of a row with these values (`before`: the row as read, null for a new row): reads
     * the rest when needed.
     */
    void beforeWriting(const QVariantList &values, const CompactRow *before);
    /** The rows of the whole source, counted by the engine, while none is read yet; else nothing. */
    std::optional<int> countUnread();
    /** The identity values of a row: what finds it again in another reading. */
    QVariantList identity(const QVariantList &values) const;
    QVariantList identity(const CompactRow &row) const;

    /** While set, the connection's changes are this recordset's own writes, which it keeps up to date. */
    void setWritingOwnRows(bool writing) { m_writingOwnRows = writing; }

    void beforeChange(const PendingChange &change) override;

private:
    /**
     * True when the change is an UPDATE of a table the rows read stand for, by columns the narrowing
     * does not look at, of rows the narrowing holds only: the rows not read stay as they are.
     */
    bool leavesTheRestAsItIs(const PendingChange &change);
    /** What a change must not touch to leave the rows not read as they are, in lower case. */
    struct Dependencies
    {
        QSet<QString> tablesRead;
        /** The tables whose rows other tables read refer to, however far; the columns referred to. */
        QSet<QString> cascadingIntoTablesRead;
        QSet<QString> referencedColumns;
        QSet<QString> tablesWithTriggers;
    };
    /** Found once per opening, at the first change while the rows are not all read. */
    const Dependencies &dependencies();
    void readRows(const QString &sql, const QVariantList &values);
    void readWhole();
    /** The narrowing a view may take without changing the order of its rows; empty when none. */
    KeyNarrowing viewNarrowing(const KeyNarrowing &wanted);
    QStringList planOf(const QString &sql, const QVariantList &values);
    /**
     * True when the view's rows, read through the narrowing by that plan rather than by its whole
     * reading's, still come in the whole reading's order: their identity is one table's key, the
     * whole reading scans that table outermost, and the narrowed one does too or searches an index of
     * it with one value for each of the index's columns.
     */
    bool keepsTheWholeOrder(const QStringList &matchingPlan, const KeyNarrowing &wanted);

    Connection &m_connection;
    RecordsetRows &m_rows;
    RecordsetColumns &m_columns;
    State m_state = State::Whole;
    bool m_isView = false;
    QString m_name;
    QString m_wholeSql;
    QString m_matchingSql;
    QString m_matchingOrder;
    /** The conditions of the rows read, while Matching. */
    KeyNarrowing m_narrowing;
    std::optional<Dependencies> m_dependencies;
    /** A view's plan of its whole reading, asked once. */
    QStringList m_wholePlan;
    bool m_writingOwnRows = false;
    /** The connection changed something since the matching rows were read. */
    bool m_changedSinceReading = false;
    /** The view's narrowing holds every column of its identity to one value. */
    bool m_narrowingPinned = false;
};

} // namespace kx
