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
        QString condition;
        QVariantList values;
        if (column.affinity == ColumnAffinity::Integer || column.affinity == ColumnAffinity::Real) {
            if (!term.number)
                continue;
            // Texts and blobs sort after every number: the index answers whether the column holds any.
            if (connection.scalar(u"SELECT 1"_s + from + origin + u" >= '' LIMIT 1"_s).isValid())
                continue;
            const double number = *term.number;
            values.append(number == std::floor(number) && std::fabs(number) < ExactIntegers
                              ? QVariant(qlonglong(number))
                              : QVariant(number));
            condition = name + u" = ?"_s;
            baseCondition = origin + u" = ?"_s;
        } else if (column.affinity == ColumnAffinity::Text) {
            if (!term.quoted)
                continue;
            const QStringList spellings = caseFoldSpellings(term.text);
            if (spellings.isEmpty())
                continue;
            if (connection.scalar(u"SELECT 1"_s + from + origin + u" >= x'' LIMIT 1"_s).isValid())
                continue;
            QStringList marks;
            for (const QString &spelling : spellings) {
                values.append(spelling);
                marks.append(u"?"_s);
            }
            condition = name + u" COLLATE NOCASE IN ("_s + marks.join(u", "_s) + u")"_s;
            baseCondition = origin + u" COLLATE NOCASE IN ("_s + marks.join(u", "_s) + u")"_s;
        } else {
            continue;
        }
        if (values.size() == 1)
            narrowing.pinnedColumns.append(term.column);
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
