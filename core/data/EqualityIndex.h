#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <vector>

namespace kx {

class CompactRow;

/**
 * Per column, the rows under each equality key of their values, so that a filter "field = value"
 * over many rows tests only the rows that can match. A column's index is built on first use and kept
 * current on every write; deleted rows stay in it (row numbers never change), the caller skips them.
 */
class EqualityIndex
{
public:
    /** The rows whose value in the column may equal the value under "=", in row order, each once. */
    std::vector<int> candidates(const std::vector<CompactRow> &rows, int column, const QVariant &value);
    /** Files a row just written under its new values; `before` holds its old ones, empty for a new row. */
    void rowWritten(int row, const QVariantList &before, const QVariantList &after);
    void clear() { m_columns.clear(); }

private:
    using ColumnIndex = QHash<QString, QList<int>>;

    QHash<int, ColumnIndex> m_columns;
};

} // namespace kx
