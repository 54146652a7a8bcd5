#include "core/data/RecordsetReading.h"

#include "core/data/FilterExpression.h"
#include "core/data/RecordsetColumns.h"
#include "core/services/RoutineError.h"
#include "core/text/Values.h"

#include <QHash>
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

int RecordsetRows::append(QVariantList row, bool isAdded)
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
    std::vector<QVariantList>().swap(values);
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
        QueryResult result = m_connection.query(sql, named ? QVariantList() : params);
        m_columns.reset(result.columns, withRowid, primaryKey);
        m_rows.values.reserve(size_t(result.rows.size()));
        for (QVariantList &values : result.rows)
            m_rows.append(std::move(values), false);
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

void RecordsetReading::readRows(const QString &sql, const QVariantList &values)
{
    QueryResult result = m_connection.query(sql, values);
    m_rows.clear();
    m_rows.values.reserve(size_t(result.rows.size()));
    for (QVariantList &row : result.rows)
        m_rows.append(std::move(row), false);
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
    for (const QVariantList &step : m_connection.query(u"EXPLAIN QUERY PLAN "_s + sql, values).rows)
        plan.append(step.last().toString());
    return plan;
}

KeyNarrowing RecordsetReading::viewNarrowing(const KeyNarrowing &wanted)
{
    const std::vector<int> &identity = m_columns.identityColumns();
    const bool pinned = std::all_of(identity.cbegin(), identity.cend(),
                                    [&](int column) { return wanted.pinnedColumns.contains(column); });
    if (pinned)
        return wanted;
    // Otherwise the engine must read the view as it reads it whole, leaving out the other rows.
    if (m_wholePlan.isEmpty())
        m_wholePlan = planOf(m_wholeSql, {});
    const bool sorts = std::any_of(m_wholePlan.cbegin(), m_wholePlan.cend(), [](const QString &step) {
        return step.contains(u"TEMP B-TREE"_s) || step.contains(u"COMPOUND"_s);
    });
    if (sorts || planOf(m_matchingSql + wanted.whereClause(), wanted.params) != m_wholePlan)
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
    if (m_isView) {
        // Two rows of one identity: the view's rows are not told apart by it, nor surely ordered.
        QSet<QString> seen;
        for (const QVariantList &row : m_rows.values) {
            if (seen.contains(valuesKey(identity(row)))) {
                readWhole();
                return;
            }
            seen.insert(valuesKey(identity(row)));
        }
    }
    m_narrowing = wanted;
    m_state = State::Matching;
}

void RecordsetReading::readRest()
{
    QueryResult whole = m_connection.query(m_wholeSql);
    // A row read before is found again by its identity; where several rows of the whole reading
    // share one (a view), by all its values.
    QHash<QString, int> sharing;
    for (const QVariantList &values : std::as_const(whole.rows))
        ++sharing[valuesKey(identity(values))];
    QHash<QString, int> read;
    QSet<QString> addedKeys;
    const int before = m_rows.size();
    for (int row = 0; row < before; ++row) {
        const QString key = valuesKey(identity(m_rows.values[row]));
        if (m_rows.added[row])
            addedKeys.insert(key);
        else if (sharing.value(key) > 1)
            read.insert(valuesKey(m_rows.values[row]), row);
        else
            read.insert(key, row);
    }
    std::vector<int> order;
    order.reserve(size_t(whole.rows.size()) + size_t(before));
    std::vector<bool> placed(size_t(before), false);
    for (QVariantList &values : whole.rows) {
        QString key = valuesKey(identity(values));
        if (addedKeys.contains(key))
            continue;
        if (sharing.value(key) > 1)
            key = valuesKey(values);
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

void RecordsetReading::beforeWriting(const QVariantList &identity, const QVariantList &identityBefore)
{
    if (m_state != State::Matching)
        return;
    // A row written under another key, or without one, could not be told from the rest of the
    // source: that is read first, as the source stands before the write.
    const bool keyless =
        std::any_of(identity.cbegin(), identity.cend(), [](const QVariant &v) { return isNullValue(v); });
    if (identityBefore.isEmpty() ? keyless : identity != identityBefore)
        readRest();
}

std::optional<int> RecordsetReading::countUnread()
{
    if (m_state != State::Nothing)
        return std::nullopt;
    return m_connection.scalar(u"SELECT COUNT(*) FROM "_s + quotedIdentifier(m_name)).toInt();
}

void RecordsetReading::beforeChange()
{
    if (m_writingOwnRows)
        return;
    if (m_state == State::Nothing)
        readWhole();
    else if (m_state == State::Matching)
        readRest();
}

} // namespace kx
