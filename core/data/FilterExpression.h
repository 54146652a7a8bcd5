#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

namespace kx {

class CompactRow;

/**
 * A criterion in the old engine's filter syntax, as the program writes it for a recordset's filter
 * and find: comparisons of a field with a literal (= <> < > <= >=), LIKE with the wildcards * and %,
 * IS [NOT] NULL, AND, OR, NOT and parentheses. Literals are quoted texts ('' stands for one quote),
 * numbers, True, False and Null. Field names may be dotted ("CorsiSediInteressate.Denominazione") or
 * bracketed ([Nome campo]).
 *
 * Evaluated on values already read: text compares without regard to case, a number literal against
 * a text value compares as numbers when the text reads as one (and the other way round), Null
 * matches nothing but "IS NULL" and "= Null". A text that is not a criterion, or that nests parentheses
 * and NOT more than 64 deep, fails with 3001.
 */
class FilterExpression
{
public:
    /** Maps a field name to its column; throws RoutineError 3265 for an unknown name. */
    using FieldResolver = std::function<int(const QString &)>;

    FilterExpression();
    ~FilterExpression();
    FilterExpression(const FilterExpression &);
    FilterExpression &operator=(const FilterExpression &);

    /** Parses a criterion; an empty or blank text gives the empty expression, which matches everything. */
    static FilterExpression parse(const QString &text);

    bool isEmpty() const;
    /** The field names the criterion mentions, in order of appearance. */
    QStringList fieldNames() const;
    /** Resolves the field names to columns; must precede matches(). */
    void bind(const FieldResolver &resolver);
    /** True when the row's values meet the criterion. */
    bool matches(const QVariantList &row) const;
    bool matches(const CompactRow &row) const;

    /**
     * When the whole criterion is a conjunction of "field = literal" comparisons, the column and the
     * literal of each one, so that a caller can narrow the rows to test through an index.
     */
    QList<std::pair<int, QVariant>> equalities() const;

    /** A "field = literal" comparison of a conjunction, with the literal as the filter reads it. */
    struct Equality
    {
        int column = 0;
        /** A quoted literal; otherwise a number. */
        bool quoted = false;
        QString text;
        /** The literal's number: a number's, or a quoted literal's that reads as one. */
        std::optional<double> number;
    };
    /** The comparisons of equalities(), each with its literal as written and as a number. */
    QList<Equality> equalityTerms() const;

    struct Node;

private:
    std::shared_ptr<const Node> m_root;
    std::vector<int> m_columns;
    QStringList m_fieldNames;
};

/** The keys to look a value up under, so that every value equal to it under "=" shares one of them. */
QStringList equalityKeys(const QVariant &value);

/**
 * A value written as a filter literal: quoted text with its quotes doubled, a number in plain decimals
 * that the parser reads back equal, Null. An infinite or undefined number fails with 5.
 */
QString filterLiteral(const QVariant &value);

/** "field = literal" conditions joined by AND, each literal written by filterLiteral. */
QString equalityFilter(const QList<std::pair<QString, QVariant>> &conditions);

/** One key of a recordset's sort: a field name and its direction. */
struct SortKey
{
    QString field;
    bool descending = false;
};

/** Parses "A, B DESC, C ASC"; a blank text gives no keys. A malformed key fails with 3001. */
QList<SortKey> parseSort(const QString &text);

} // namespace kx
