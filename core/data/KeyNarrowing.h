#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

namespace kx {

class Connection;
class FilterExpression;
class RecordsetColumns;

/**
 * What the database can answer of a filter on one of its tables: the filter's "field = literal"
 * comparisons on the table's own columns, as SQL conditions with the literals bound as parameters,
 * that the table's indexes can answer. They find every row the filter lets through, and perhaps a
 * few more, on which the filter decides as it always has: the engine folds only ASCII letters where
 * the filter folds every letter, so a text is looked for in each spelling that the filter takes for
 * it, and a column holding values the filter compares by rules of its own (a text or a blob in a
 * numeric column, a blob in a text one) is left to the filter alone. Where no index answers whether
 * a column holds such values, they are read beside the matching ones, and the filter decides.
 */
struct KeyNarrowing
{
    QStringList conditions;
    QVariantList params;
    /** Each condition with its values, to tell whether one narrowing holds another's conditions. */
    QStringList terms;
    /** The columns a condition holds to one value. */
    QList<int> pinnedColumns;
    /** The columns whose condition finds no row the filter would not take (no text read beside). */
    QList<int> exactColumns;
    /** Per condition: its column, and the condition on that column's base table instead of the view. */
    QList<int> columns;
    QStringList baseConditions;

    bool isEmpty() const { return conditions.isEmpty(); }
    /** True when it holds every condition of the other: it reads none of the rows the other leaves. */
    bool narrows(const KeyNarrowing &other) const;
    /** " WHERE " and the conditions, or nothing. */
    QString whereClause() const;
};

/** The narrowing of a filter, bound to the columns of a recordset reading that table whole. */
KeyNarrowing keyNarrowing(Connection &connection, const QString &table, const RecordsetColumns &columns,
                          const FilterExpression &filter);

/**
 * The same for a view: the conditions stand on the view's own columns, so the engine picks the rows
 * of the view that the filter would; only columns showing a base table's column take part, and that
 * table's column decides, as for a table, whether the filter compares its values by rules of its own.
 */
KeyNarrowing viewKeyNarrowing(Connection &connection, const RecordsetColumns &columns,
                              const FilterExpression &filter);

/**
 * The spellings of an ASCII text that the filter takes for it and the engine's NOCASE does not: with
 * "ſ" for s and the Kelvin sign for k. Nothing when the text has other letters, or too many of those.
 */
QStringList caseFoldSpellings(const QString &text);

} // namespace kx
