#include "core/data/RecordsetReading.h"

#include "core/data/FilterExpression.h"
#include "core/data/RecordsetColumns.h"
#include "core/services/RoutineError.h"
#include "core/text/Values.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

bool isIdentifier(const QString &source)
{
    if (source.isEmpty())
        return false;
    for (const QChar c : source) {
        if (!c.isLetterOrNumber() && c != u'_')
            return false;
    }
    return true;
}

/** A key that two reads of the same values share: each value with its kind, numbers as numbers. */
QString valuesKey(const QVariantList &values)
{
    QString key;
    for (const QVariant &value : values) {
        if (isNullValue(value)) {
            key += u'n';
        } else if (value.typeId() == QMetaType::QString) {
            key += u't' + value.toString();
        } else if (value.typeId() == QMetaType::QByteArray) {
            key += u'b' + QString::fromLatin1(value.toByteArray().toHex());
        } else {
            const double number = value.toDouble();
            if (value.typeId() == QMetaType::Double &&
                (number != std::floor(number) || std::fabs(number) > 9.0e15))
                key += u'r' + QString::number(number, 'g', 17);
            else
                key += u'i' + QString::number(value.toLongLong());
        }
        key += u'\x1f';
    }
    return key;
}

} // namespace

int RecordsetRows::append(CompactRow row, bool isAdded)
{
    values.push_back(std::move(row));
    deleted.push_back(false);
    added.push_back(isAdded);
    const int number = int(values.size()) - 1;
    sequence.push_back(number);
    if (!rank.empty())
        rank.push_back(int(sequence.size()) - 1);
    return number;
}

void RecordsetRows::clear()
{
    // Swapped out rather than cleared, so that the memory goes back at once.
    std::vector<CompactRow>().swap(values);
    std::vector<bool>().swap(deleted);
    std::vector<bool>().swap(added);
    std::vector<int>().swap(sequence);
    std::vector<int>().swap(rank);
    index.clear();
}

RecordsetReading::RecordsetReading(Connection &connection, RecordsetRows &rows, RecordsetColumns &columns)
    : m_connection(connection), m_rows(rows), m_columns(columns)
{
}

RecordsetReading::~RecordsetReading()
{
    m_connection.unwatch(this);
}

bool RecordsetReading::start(const QString &source, const QVariantList &params)
{
    m_connection.unwatch(this);
    m_narrowing = {};
    m_wholePlan.clear();
    m_dependencies.reset();
    const QString name = bareName(source);
    const bool named = isIdentifier(name);
    QString sql = source;
    bool withRowid = false;
    bool onDemand = false;
    m_isView = false;
    if (named) {
        const QueryResult found = m_connection.query(
            u"SELECT type, name FROM sqlite_master WHERE type IN ('table', 'view') AND name = ?1 COLLATE "
            u"NOCASE "
            u"UNION ALL SELECT type, name FROM sqlite_temp_master WHERE type IN ('table', 'view') "
            u"AND name = ?1 COLLATE NOCASE"_s,
            {name});
        if (found.rows.isEmpty()) {
            throw RoutineError(ErrorCode::TableNotFound,
                               u"Impossibile trovare la tabella o la query di input '"_s + name + u"'."_s);
        }
        const QString type = found.rows.first().at(0).toString();
        m_name = found.rows.first().at(1).toString();
        sql = u"SELECT * FROM "_s + quotedIdentifier(m_name);
        onDemand = true;
        m_matchingSql = sql;
        m_matchingOrder.clear();
        if (type == u"table"_s) {
            const QStringList key = m_connection.primaryKey(m_name);
            if (key.isEmpty()) {
                sql = u"SELECT *, rowid FROM "_s + quotedIdentifier(m_name);
                m_matchingSql = sql;
                m_matchingOrder = u" ORDER BY rowid"_s;
                withRowid = true;
            } else {
                QStringList order;
                for (const QString &column : key)
                    order.append(quotedIdentifier(column));
                m_matchingOrder = u" ORDER BY "_s + order.join(u", "_s);
                sql += m_matchingOrder;
            }
        } else {
            m_isView = true;
        }
    }
    const auto primaryKey = [this](const QString &base) { return m_connection.primaryKey(base); };
    m_rows.clear();
    if (onDemand) {
        m_wholeSql = sql;
        m_columns.reset(m_connection.describe(sql), withRowid, primaryKey);
        m_state = State::Nothing;
        m_connection.watch(this);
    } else {
        const QueryResult result = m_connection.query(sql, named ? QVariantList() : params);
        m_columns.reset(result.columns, withRowid, primaryKey);
        m_rows.values.reserve(size_t(result.rows.size()));
        for (const QVariantList &values : result.rows)
            m_rows.append(values, false);
        m_state = State::Whole;
    }
    return named;
}

void RecordsetReading::stop()
{
    m_connection.unwatch(this);
    m_state = State::Whole;
    m_narrowing = {};
    m_rows.clear();
}

QVariantList RecordsetReading::identity(const QVariantList &values) const
{
    QVariantList result;
    result.reserve(qsizetype(m_columns.identityColumns().size()));
    for (const int column : m_columns.identityColumns())
        result.append(values.at(column));
    return result;
}

QVariantList RecordsetReading::identity(const CompactRow &row) const
{
    QVariantList result;
    result.reserve(qsizetype(m_columns.identityColumns().size()));
    for (const int column : m_columns.identityColumns())
        result.append(row.at(column));
    return result;
}

void RecordsetReading::readRows(const QString &sql, const QVariantList &values)
{
    m_rows.clear();
    m_connection.forEachRow(sql, values, [this](const QVariantList &row) { m_rows.append(row, false); });
}

void RecordsetReading::readWhole()
{
    readRows(m_wholeSql, {});
    m_state = State::Whole;
    m_narrowing = {};
    m_connection.unwatch(this);
}

QStringList RecordsetReading::planOf(const QString &sql, const QVariantList &values)
{
    QStringList plan;
    for (const QVariantList &step : m_connection.query(u"EXPLAIN QUERY PLAN "_s + sql, values).rows) {
        // The main query's steps are marked, to tell its outermost loop from the inner queries'.
        plan.append(step.first().toInt() == 0 ? u"0|"_s + step.last().toString() : step.last().toString());
    }
    return plan;
}

namespace {

/** The outermost loop of the plan's main query. */
QString outerLoop(const QStringList &plan)
{
    for (const QString &step : plan) {
        if (step.startsWith(u"0|"_s))
            return step.mid(2);
    }
    return {};
}

} // namespace

bool RecordsetReading::keepsTheWholeOrder(const QStringList &matchingPlan, const KeyNarrowing &wanted)
{
    // The rows' identity is the key of one table: each of its rows gives one row of the view (two
    // rows of one identity send the reading whole), in the order its loop meets them.
    const std::vector<int> &identity = m_columns.identityColumns();
    if (identity.empty())
        return false;
    const QString table = m_columns.at(identity.front()).table;
    QStringList origins;
    for (const int column : identity) {
        if (table.isEmpty() || m_columns.at(column).table.compare(table, Qt::CaseInsensitive) != 0)
            return false;
        origins.append(m_columns.at(column).origin.toLower());
    }
    QStringList key = m_connection.primaryKey(table);
    for (QString &column : key)
        column = column.toLower();
    std::sort(origins.begin(), origins.end());
    std::sort(key.begin(), key.end());
    if (key.isEmpty() || origins != key)
        return false;
    // Read whole, the view scans that table in the order of its rows, outermost...
    static const QRegularExpression scan(uR"(^SCAN TABLE (\S+)(?: AS (\S+))?$)"_s);
    const QString wholeOuter = outerLoop(m_wholePlan);
    const QRegularExpressionMatch scanned = scan.match(wholeOuter);
    if (!scanned.hasMatch() || scanned.captured(1).compare(table, Qt::CaseInsensitive) != 0)
        return false;
    const QString matchingOuter = outerLoop(matchingPlan);
    if (matchingOuter == wholeOuter)
        return true;
    // ... and narrowed, it searches an index of that table on one value of each of its columns,
    // which meets the rows of equal values in that same order.
    static const QRegularExpression search(
        uR"(^SEARCH TABLE (\S+)(?: AS (\S+))? USING (?:COVERING )?INDEX (\S+) \((.+)\)$)"_s);
    const QRegularExpressionMatch searched = search.match(matchingOuter);
    if (!searched.hasMatch() || searched.captured(1).compare(table, Qt::CaseInsensitive) != 0 ||
        searched.captured(2) != scanned.captured(2))
        return false;
    static const QRegularExpression equality(uR"(^(\w+)=\?$)"_s);
    QStringList searchedColumns;
    for (const QString &constraint : searched.captured(4).split(u" AND "_s)) {
        const QRegularExpressionMatch constrained = equality.match(constraint);
        if (!constrained.hasMatch())
            return false;
        const QString name = constrained.captured(1);
        const auto held = std::find_if(wanted.columns.cbegin(), wanted.columns.cend(), [&](int narrowed) {
            const RecordsetColumn &candidate = m_columns.at(narrowed);
            return candidate.table.compare(table, Qt::CaseInsensitive) == 0 &&
                   candidate.origin.compare(name, Qt::CaseInsensitive) == 0 &&
                   wanted.pinnedColumns.contains(narrowed) && wanted.exactColumns.contains(narrowed);
        });
        if (held == wanted.columns.cend())
            return false;
        searchedColumns.append(name.toLower());
    }
    QStringList indexColumns;
    for (const QVariantList &column :
         m_connection.query(u"PRAGMA index_info("_s + quotedIdentifier(searched.captured(3)) + u")"_s).rows)
        indexColumns.append(column.value(2).toString().toLower());
    std::sort(searchedColumns.begin(), searchedColumns.end());
    std::sort(indexColumns.begin(), indexColumns.end());
    return !indexColumns.isEmpty() && searchedColumns == indexColumns;
}

KeyNarrowing RecordsetReading::viewNarrowing(const KeyNarrowing &wanted)
{
    const std::vector<int> &identity = m_columns.identityColumns();
    const bool pinned = std::all_of(identity.cbegin(), identity.cend(),
                                    [&](int column) { return wanted.pinnedColumns.contains(column); });
    m_narrowingPinned = pinned;
    if (pinned)
        return wanted;
    // Otherwise the engine must read the view as it reads it whole, leaving out the other rows.
    if (m_wholePlan.isEmpty())
        m_wholePlan = planOf(m_wholeSql, {});
    const bool sorts = std::any_of(m_wholePlan.cbegin(), m_wholePlan.cend(), [](const QString &step) {
        return step.contains(u"TEMP B-TREE"_s) || step.contains(u"COMPOUND"_s);
    });
    if (sorts)
        return {};
    const QStringList matchingPlan = planOf(m_matchingSql + wanted.whereClause(), wanted.params);
    if (matchingPlan != m_wholePlan && !keepsTheWholeOrder(matchingPlan, wanted))
        return {};
    return wanted;
}

void RecordsetReading::ensureRows(const FilterExpression &filter)
{
    if (m_state == State::Whole)
        return;
    KeyNarrowing wanted = m_isView ? viewKeyNarrowing(m_connection, m_columns, filter)
                                   : keyNarrowing(m_connection, m_name, m_columns, filter);
    if (m_state == State::Matching) {
        if (wanted.isEmpty() || !wanted.narrows(m_narrowing))
            readRest();
        return;
    }
    if (m_isView && !wanted.isEmpty())
        wanted = viewNarrowing(wanted);
    if (wanted.isEmpty()) {
        readWhole();
        return;
    }
    readRows(m_matchingSql + wanted.whereClause() + m_matchingOrder, wanted.params);
    const std::vector<int> &identityColumns = m_columns.identityColumns();
    const bool oneIdentity = std::all_of(identityColumns.cbegin(), identityColumns.cend(),
                                         [&](int column) { return wanted.exactColumns.contains(column); });
    if (m_isView && m_rows.size() > 1 && m_narrowingPinned && !oneIdentity) {
        // Rows of several identities, read beside the one asked for: their order is not sure.
        readWhole();
        return;
    }
    if (m_isView) {
        // Two rows of one identity: the view's rows are not told apart by it, nor surely ordered.
        QSet<QString> seen;
        for (const CompactRow &row : m_rows.values) {
            if (seen.contains(valuesKey(identity(row)))) {
                readWhole();
                return;
            }
            seen.insert(valuesKey(identity(row)));
        }
    }
    m_narrowing = wanted;
    m_state = State::Matching;
    m_changedSinceReading = false;
}

void RecordsetReading::forgetUnseenRows()
{
    if (m_state != State::Matching || m_changedSinceReading)
        return;
    m_rows.clear();
    m_narrowing = {};
    m_state = State::Nothing;
}

void RecordsetReading::readRest()
{
    std::vector<CompactRow> whole;
    m_connection.forEachRow(m_wholeSql, {}, [&whole](const QVariantList &row) { whole.emplace_back(row); });
    // A row read before is found again by its identity; where several rows of the whole reading
    // share one (a view), by all its values.
    QHash<QString, int> sharing;
    for (const CompactRow &row : whole)
        ++sharing[valuesKey(identity(row))];
    QHash<QString, int> read;
    QSet<QString> addedKeys;
    const int before = m_rows.size();
    for (int row = 0; row < before; ++row) {
        const QString key = valuesKey(identity(m_rows.values[row]));
        if (m_rows.added[row])
            addedKeys.insert(key);
        else if (sharing.value(key) > 1)
            read.insert(valuesKey(m_rows.values[row].values()), row);
        else
            read.insert(key, row);
    }
    std::vector<int> order;
    order.reserve(whole.size() + size_t(before));
    std::vector<bool> placed(size_t(before), false);
    for (CompactRow &values : whole) {
        QString key = valuesKey(identity(values));
        if (addedKeys.contains(key))
            continue;
        if (sharing.value(key) > 1)
            key = valuesKey(values.values());
        const auto found = read.constFind(key);
        if (found != read.constEnd() && !placed[*found]) {
            placed[*found] = true;
            order.push_back(*found);
            continue;
        }
        m_rows.values.push_back(std::move(values));
        m_rows.deleted.push_back(false);
        m_rows.added.push_back(false);
        order.push_back(m_rows.size() - 1);
    }
    // Rows read before that the source lost since (another installation deleted them) stay, after
    // the others; the rows added stay last, in their order.
    for (const int row : m_rows.sequence) {
        if (!m_rows.added[row] && !placed[row])
            order.push_back(row);
    }
    for (const int row : m_rows.sequence) {
        if (m_rows.added[row])
            order.push_back(row);
    }
    m_rows.sequence = std::move(order);
    m_rows.rank.assign(m_rows.values.size(), 0);
    for (int place = 0; place < int(m_rows.sequence.size()); ++place)
        m_rows.rank[m_rows.sequence[place]] = place;
    m_rows.index.clear();
    m_narrowing = {};
    m_state = State::Whole;
    m_connection.unwatch(this);
}

void RecordsetReading::beforeWriting(const QVariantList &values, const CompactRow *before)
{
    if (m_state != State::Matching)
        return;
    // A row written under another key, or without one, could not be told from the rest of the
    // source: that is read first, as the source stands before the write.
    const QVariantList written = identity(values);
    const bool keyless =
        std::any_of(written.cbegin(), written.cend(), [](const QVariant &v) { return isNullValue(v); });
    if (before ? written != identity(*before) : keyless)
        readRest();
}

std::optional<int> RecordsetReading::countUnread()
{
    if (m_state != State::Nothing)
        return std::nullopt;
    return m_connection.scalar(u"SELECT COUNT(*) FROM "_s + quotedIdentifier(m_name)).toInt();
}

void RecordsetReading::beforeChange(const PendingChange &change)
{
    if (m_writingOwnRows)
        return;
    m_changedSinceReading = true;
    if (m_state == State::Whole || leavesTheRestAsItIs(change))
        return;
    if (m_state == State::Nothing)
        readWhole();
    else
        readRest();
}

namespace {

/** A statement's text split where it matters here: outside quotes and parentheses. */
struct SqlPieces
{
    QStringList pieces;
    int marks = 0;
    bool numberedMarks = false;
};

SqlPieces splitTopLevel(const QString &text, QChar separator)
{
    SqlPieces result;
    QString piece;
    QChar quote;
    int depth = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"' || c == u'[') {
            quote = c == u'[' ? u']' : c;
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            --depth;
        } else if (c == u'?') {
            ++result.marks;
            if (i + 1 < text.size() && text[i + 1].isDigit())
                result.numberedMarks = true;
        } else if (c == separator && depth == 0) {
            result.pieces.append(piece);
            piece.clear();
            continue;
        }
        piece.append(c);
    }
    result.pieces.append(piece);
    return result;
}

} // namespace

const RecordsetReading::Dependencies &RecordsetReading::dependencies()
{
    if (m_dependencies)
        return *m_dependencies;
    Dependencies found;
    // The tables (and the indexes of tables) the whole reading opens, by their root pages.
    QStringList pages;
    for (const QVariantList &step : m_connection.query(u"EXPLAIN "_s + m_wholeSql).rows) {
        if (step.value(1).toString() == u"OpenRead"_s)
            pages.append(QString::number(step.value(3).toLongLong()));
    }
    if (!pages.isEmpty()) {
        for (const QVariantList &table :
             m_connection
                 .query(u"SELECT DISTINCT lower(tbl_name) FROM sqlite_master WHERE rootpage IN ("_s +
                        pages.join(u", "_s) + u")"_s)
                 .rows)
            found.tablesRead.insert(table.first().toString());
    }
    // The columns other tables refer to, whose change or deletion may cascade into those tables, and
    // the tables whose changes may cascade, however far, into a table read.
    QMultiHash<QString, QString> parents;
    for (const QVariantList &table :
         m_connection.query(u"SELECT name FROM sqlite_master WHERE type = 'table'"_s).rows) {
        const QString child = table.first().toString();
        for (const QVariantList &reference :
             m_connection.query(u"PRAGMA foreign_key_list("_s + quotedIdentifier(child) + u")"_s).rows) {
            const QString parent = reference.value(2).toString().toLower();
            found.referencedColumns.insert(parent + u'.' + reference.value(4).toString().toLower());
            parents.insert(child.toLower(), parent);
        }
    }
    QStringList reached(found.tablesRead.cbegin(), found.tablesRead.cend());
    while (!reached.isEmpty()) {
        for (const QString &parent : parents.values(reached.takeLast())) {
            if (!found.cascadingIntoTablesRead.contains(parent)) {
                found.cascadingIntoTablesRead.insert(parent);
                reached.append(parent);
            }
        }
    }
    for (const QVariantList &trigger :
         m_connection.query(u"SELECT lower(tbl_name) FROM sqlite_master WHERE type = 'trigger'"_s).rows)
        found.tablesWithTriggers.insert(trigger.first().toString());
    m_dependencies = std::move(found);
    return *m_dependencies;
}

bool RecordsetReading::leavesTheRestAsItIs(const PendingChange &change)
{
    static const QRegularExpression writing(
        uR"(^\s*(?:UPDATE(?:\s+OR\s+\w+)?|INSERT(?:\s+OR\s+\w+)?\s+INTO|REPLACE\s+INTO|DELETE\s+FROM)\s+(\w+|"\w+"|\[\w+\])\s)"_s,
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression update(
        uR"(^\s*UPDATE\s+(\w+|"\w+"|\[\w+\])\s+SET\s+(.+?)\s+WHERE\s+(.+?)\s*;?\s*$)"_s,
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression transaction(uR"(^\s*(BEGIN|SAVEPOINT|RELEASE|COMMIT|END)\b)"_s,
                                                QRegularExpression::CaseInsensitiveOption);
    // Opening or ending a transaction changes no row: what this connection wrote is already seen.
    if (transaction.match(change.sql).hasMatch())
        return true;
    const QRegularExpressionMatch written = writing.match(change.sql);
    if (!written.hasMatch())
        return false;
    const QString table = bareName(written.captured(1));
    const QString lower = table.toLower();
    const Dependencies &depends = dependencies();
    if (depends.tablesWithTriggers.contains(lower))
        return false;
    // A table the reading does not open changes nothing it reads, unless a cascade reaches one.
    if (!depends.tablesRead.contains(lower))
        return !depends.cascadingIntoTablesRead.contains(lower);

    const QRegularExpressionMatch match = update.match(change.sql);
    if (!match.hasMatch() || m_narrowing.isEmpty())
        return false;
    const SqlPieces assignments = splitTopLevel(match.captured(2), u',');
    const SqlPieces where = splitTopLevel(match.captured(3), QChar());
    if (assignments.numberedMarks || where.numberedMarks ||
        assignments.marks + where.marks != change.params.size() ||
        where.pieces.first().contains(u"SELECT"_s, Qt::CaseInsensitive))
        return false;
    // The rows read are those of the narrowing's columns, all of that table; a view's, the rows of
    // the table's rows its identity holds to one key.
    const QStringList key = m_connection.primaryKey(table);
    for (const int column : std::as_const(m_narrowing.columns)) {
        if (m_columns.at(column).table.compare(table, Qt::CaseInsensitive) != 0)
            return false;
    }
    if (m_isView) {
        for (const int column : m_columns.identityColumns()) {
            const RecordsetColumn &identity = m_columns.at(column);
            if (!m_narrowing.pinnedColumns.contains(column) ||
                identity.table.compare(table, Qt::CaseInsensitive) != 0 ||
                !key.contains(identity.origin, Qt::CaseInsensitive))
                return false;
        }
    } else if (m_name.compare(table, Qt::CaseInsensitive) != 0) {
        return false;
    }
    // Neither the narrowing's columns, nor the key, nor a column other tables refer to change.
    for (const QString &assignment : assignments.pieces) {
        const qsizetype equals = assignment.indexOf(u'=');
        if (equals < 0)
            return false;
        const QString column = bareName(assignment.left(equals));
        if (key.contains(column, Qt::CaseInsensitive) ||
            depends.referencedColumns.contains(lower + u'.' + column.toLower()))
            return false;
        for (const int narrowed : std::as_const(m_narrowing.columns)) {
            if (m_columns.at(narrowed).origin.compare(column, Qt::CaseInsensitive) == 0)
                return false;
        }
    }
    // No row the statement changes lies outside the narrowing.
    const QVariantList whereValues = change.params.mid(assignments.marks);
    return !m_connection
                .scalar(u"SELECT 1 FROM "_s + quotedIdentifier(table) + u" WHERE ("_s + match.captured(3) +
                            u") AND NOT IFNULL("_s + m_narrowing.baseConditions.join(u" AND "_s) +
                            u", 0) LIMIT 1"_s,
                        whereValues + m_narrowing.params)
                .isValid();
}

} // namespace kx
