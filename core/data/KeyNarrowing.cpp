#include "core/data/KeyNarrowing.h"

#include "core/data/Connection.h"
#include "core/data/FilterExpression.h"
#include "core/data/RecordsetColumns.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

/** Beyond this many letters with another spelling, a text is left to the filter. */
constexpr int MaxFoldedLetters = 3;
/** Whole numbers below this stay exact as doubles: bound as integers, they compare as the filter does. */
constexpr double ExactIntegers = 9007199254740992.0;

QString termText(const QString &condition, const QVariantList &values)
{
    QString text = condition;
    for (const QVariant &value : values)
        text += u'\x1f' + QString::fromLatin1(value.typeName()) + u':' + value.toString();
    return text;
}

} // namespace

bool KeyNarrowing::narrows(const KeyNarrowing &other) const
{
    for (const QString &term : other.terms) {
        if (!terms.contains(term))
            return false;
    }
    return true;
}

QString KeyNarrowing::whereClause() const
{
    return isEmpty() ? QString() : u" WHERE "_s + conditions.join(u" AND "_s);
}

QStringList caseFoldSpellings(const QString &text)
{
    QStringList spellings{QString()};
    int folded = 0;
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return {};
        QChar other;
        if (c == u's' || c == u'S')
            other = QChar(0x017F);
        else if (c == u'k' || c == u'K')
            other = QChar(0x212A);
        if (other.isNull()) {
            for (QString &spelling : spellings)
                spelling.append(c);
            continue;
        }
        if (++folded > MaxFoldedLetters)
            return {};
        const qsizetype count = spellings.size();
        for (qsizetype i = 0; i < count; ++i) {
            spellings.append(spellings[i] + other);
            spellings[i].append(c);
        }
    }
    return spellings;
}

namespace {

/** True when the engine answers the query by a search of an index, without a scan. */
bool indexed(Connection &connection, const QString &sql)
{
    const QueryResult plan = connection.query(u"EXPLAIN QUERY PLAN "_s + sql);
    return !plan.rows.isEmpty() && plan.rows.first().last().toString().startsWith(u"SEARCH"_s);
}

/** The narrowing of a filter on a table, or on a view when `table` is empty. */
KeyNarrowing narrowingOf(Connection &connection, const QString &table, const RecordsetColumns &columns,
                         const FilterExpression &filter)
{
    KeyNarrowing narrowing;
    // One comparison per column is enough to narrow; any other one of it is left to the filter.
    QList<int> seen;
    for (const FilterExpression::Equality &term : filter.equalityTerms()) {
        const RecordsetColumn &column = columns.at(term.column);
        const bool own =
            table.isEmpty() ? !column.table.isEmpty() : column.table.compare(table, Qt::CaseInsensitive) == 0;
        if (seen.contains(term.column) || column.origin.isEmpty() || !own)
            continue;
        seen.append(term.column);
        const QString from = u" FROM "_s + quotedIdentifier(column.table) + u" WHERE "_s;
        const QString origin = quotedIdentifier(column.origin);
        const QString name = quotedIdentifier(table.isEmpty() ? column.name : column.origin);
        QString baseCondition;
        /** Compared as the filter compares: the column holds nothing the filter reads otherwise. */
        bool exact = false;
        QString condition;
        QVariantList values;
        if (column.affinity == ColumnAffinity::Integer || column.affinity == ColumnAffinity::Real) {
            if (!term.number)
                continue;
            // Texts and blobs sort after every number: an index answers whether the column holds any.
            // Without one, they are read beside the matching rows and left to the filter.
            const QString guard = u"SELECT 1"_s + from + origin + u" >= '' LIMIT 1"_s;
            if (indexed(connection, guard)) {
                if (connection.scalar(guard).isValid())
                    continue;
                exact = true;
            }
            const double number = *term.number;
            values.append(number == std::floor(number) && std::fabs(number) < ExactIntegers
                              ? QVariant(qlonglong(number))
                              : QVariant(number));
            condition = name + u" = ?"_s;
            baseCondition = origin + u" = ?"_s;
            if (!exact) {
                condition = u"("_s + condition + u" OR typeof("_s + name + u") IN ('text', 'blob'))"_s;
                baseCondition =
                    u"("_s + baseCondition + u" OR typeof("_s + origin + u") IN ('text', 'blob'))"_s;
            }
        } else if (column.affinity == ColumnAffinity::Text) {
            if (!term.quoted)
                continue;
            const QStringList spellings = caseFoldSpellings(term.text);
            if (spellings.isEmpty())
                continue;
            const QString guard = u"SELECT 1"_s + from + origin + u" >= x'' LIMIT 1"_s;
            if (indexed(connection, guard)) {
                if (connection.scalar(guard).isValid())
                    continue;
                exact = true;
            }
            QStringList marks;
            for (const QString &spelling : spellings) {
                values.append(spelling);
                marks.append(u"?"_s);
            }
            condition = name + u" COLLATE NOCASE IN ("_s + marks.join(u", "_s) + u")"_s;
            baseCondition = origin + u" COLLATE NOCASE IN ("_s + marks.join(u", "_s) + u")"_s;
            if (!exact) {
                condition = u"("_s + condition + u" OR typeof("_s + name + u") = 'blob')"_s;
                baseCondition = u"("_s + baseCondition + u" OR typeof("_s + origin + u") = 'blob')"_s;
            }
        } else {
            continue;
        }
        if (values.size() == 1)
            narrowing.pinnedColumns.append(term.column);
        if (exact)
            narrowing.exactColumns.append(term.column);
        narrowing.conditions.append(condition);
        narrowing.columns.append(term.column);
        narrowing.baseConditions.append(baseCondition);
        narrowing.params.append(values);
        narrowing.terms.append(termText(condition, values));
    }
    return narrowing;
}

} // namespace

KeyNarrowing keyNarrowing(Connection &connection, const QString &table, const RecordsetColumns &columns,
                          const FilterExpression &filter)
{
    return narrowingOf(connection, table, columns, filter);
}

KeyNarrowing viewKeyNarrowing(Connection &connection, const RecordsetColumns &columns,
                              const FilterExpression &filter)
{
    return narrowingOf(connection, QString(), columns, filter);
}

} // namespace kx
