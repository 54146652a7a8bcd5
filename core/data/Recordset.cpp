#include "core/data/Recordset.h"

#include "core/services/RoutineError.h"
#include "core/text/Values.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

/** Below this many rows a filter scans them all; above it "field = value" filters use an index. */
constexpr size_t IndexThreshold = 64;

QString quoted(const QString &identifier)
{
    return u'"' + QString(identifier).replace(u'"', u"\"\""_s) + u'"';
}

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

QString bareName(QString source)
{
    source = source.trimmed();
    if ((source.startsWith(u'[') && source.endsWith(u']')) ||
        (source.startsWith(u'"') && source.endsWith(u'"')))
        source = source.mid(1, source.size() - 2);
    return source;
}

QString lastSegment(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.mid(dot + 1);
}

const QCollator &collator()
{
    static const QCollator italian = [] {
        QCollator c(QLocale(QLocale::Italian, QLocale::Italy));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return italian;
}

std::optional<double> numberFromText(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    double number = QLocale::c().toDouble(trimmed, &ok);
    if (!ok && trimmed.contains(u',') && !trimmed.contains(u'.'))
        number = QLocale::c().toDouble(QString(trimmed).replace(u',', u'.'), &ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

RoutineError conversionError(const QString &field, const QVariant &value)
{
    return RoutineError(ErrorCode::MultipleStepErrors,
                        RoutineError::standardDescription(ErrorCode::MultipleStepErrors) + u" (campo "_s +
                            field + u", valore '"_s + value.toString() + u"')"_s);
}

RoutineError keyError(const QString &table)
{
    return RoutineError(ErrorCode::Unspecified,
                        u"Informazioni insufficienti sulle colonne chiave per aggiornare la tabella '"_s +
                            table + u"'."_s);
}

/** One sort key of one row, ready to compare. */
struct SortValue
{
    int kind = 0; // 0 Null, 1 number, 2 text
    double number = 0;
    std::optional<QCollatorSortKey> text;
};

int compareSortValues(const SortValue &a, const SortValue &b)
{
    if (a.kind != b.kind)
        return a.kind < b.kind ? -1 : 1;
    if (a.kind == 1)
        return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    if (a.kind == 2)
        return a.text->compare(*b.text);
    return 0;
}

} // namespace

Recordset::Recordset(Connection &connection, QObject *parent) : QObject(parent), m_connection(connection) {}

Recordset::~Recordset() = default;

void Recordset::setSource(const QString &source, const QVariantList &params)
{
    if (m_open)
        throw RoutineError(ErrorCode::ObjectOpen);
    m_source = source;
    m_params = params;
}

void Recordset::open(const QString &source, const QVariantList &params)
{
    setSource(source, params);
    open();
}

void Recordset::open()
{
    if (m_open)
        throw RoutineError(ErrorCode::ObjectOpen);
    if (m_source.trimmed().isEmpty())
        throw RoutineError(ErrorCode::InvalidArgument);
    load();
    m_open = true;
    emit rowsReset();
    emit currentChanged();
}

void Recordset::close()
{
    requireOpenWithoutPendingEdit();
    m_open = false;
    m_rows.clear();
    m_view.clear();
    m_columns.clear();
    m_indexes.clear();
    m_fieldCache.clear();
    m_position = 0;
    m_currentDeleted = false;
    emit rowsReset();
    emit currentChanged();
}

void Recordset::requery()
{
    requireOpenWithoutPendingEdit();
    load();
    emit rowsReset();
    emit currentChanged();
}

void Recordset::load()
{
    const QString name = bareName(m_source);
    m_sourceIsTable = isIdentifier(name);
    QString sql = m_source;
    m_rowidColumn = -1;
    if (m_sourceIsTable) {
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
        const QString actual = found.rows.first().at(1).toString();
        sql = u"SELECT * FROM "_s + quoted(actual);
        if (type == u"table"_s) {
            const QStringList key = m_connection.primaryKey(actual);
            if (key.isEmpty()) {
                sql = u"SELECT *, rowid FROM "_s + quoted(actual);
            } else {
                QStringList order;
                for (const QString &column : key)
                    order.append(quoted(column));
                sql += u" ORDER BY "_s + order.join(u", "_s);
            }
        }
    }
    QueryResult result = m_connection.query(sql, m_sourceIsTable ? QVariantList() : m_params);

    m_columns.clear();
    m_columns.reserve(result.columns.size());
    for (const ColumnInfo &info : std::as_const(result.columns)) {
        Column column{info.name, info.table, info.origin, info.declaredType};
        const QString type = info.declaredType.toUpper();
        if (type.contains(u"INT"_s))
            column.affinity = Column::Affinity::Integer;
        else if (type.contains(u"CHAR"_s) || type.contains(u"CLOB"_s) || type.contains(u"TEXT"_s))
            column.affinity = Column::Affinity::Text;
        else if (type.contains(u"REAL"_s) || type.contains(u"FLOA"_s) || type.contains(u"DOUB"_s))
            column.affinity = Column::Affinity::Real;
        m_columns.push_back(column);
    }
    m_visibleColumns = int(m_columns.size());
    if (m_sourceIsTable && sql.startsWith(u"SELECT *, rowid"_s)) {
        m_rowidColumn = m_visibleColumns - 1;
        --m_visibleColumns;
    }

    m_keys.clear();
    m_identityColumns.clear();
    for (int i = 0; i < m_visibleColumns; ++i) {
        const QString &table = m_columns[i].table;
        if (table.isEmpty() || m_keys.contains(table.toLower()))
            continue;
        const QStringList key = m_connection.primaryKey(table);
        m_keys.insert(table.toLower(), key);
        std::vector<int> columns;
        for (const QString &origin : key) {
            const int column = columnOf(table, origin);
            if (column < 0) {
                columns.clear();
                break;
            }
            columns.push_back(column);
        }
        m_identityColumns.insert(m_identityColumns.end(), columns.begin(), columns.end());
    }
    if (m_rowidColumn >= 0)
        m_identityColumns.push_back(m_rowidColumn);
    if (m_identityColumns.empty()) {
        for (int i = 0; i < m_visibleColumns; ++i)
            m_identityColumns.push_back(i);
    }

    m_rows.clear();
    m_rows.reserve(result.rows.size());
    for (QVariantList &values : result.rows)
        m_rows.push_back({std::move(values)});
    ++m_generation;
    m_fieldCache.clear();
    m_indexes.clear();
    m_editMode = EditMode::None;

    m_filter.bind([this](const QString &field) { return resolveField(field); });
    for (const SortKey &key : std::as_const(m_sortKeys))
        resolveField(key.field);
    rebuildView();
    m_position = 0;
    m_currentDeleted = false;
}

void Recordset::rebuildView()
{
    m_view.clear();
    const auto equalities = m_filter.equalities();
    if (!equalities.isEmpty() && m_rows.size() >= IndexThreshold) {
        const auto &index = indexOf(equalities.first().first);
        std::vector<int> candidates;
        for (const QString &key : equalityKeys(equalities.first().second)) {
            const auto bucket = index.constFind(key);
            if (bucket != index.constEnd())
                candidates.insert(candidates.end(), bucket->cbegin(), bucket->cend());
        }
        std::sort(candidates.begin(), candidates.end());
        candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
        for (const int row : candidates) {
            if (!m_rows[row].deleted && m_filter.matches(m_rows[row].values))
                m_view.push_back(row);
        }
    } else {
        m_view.reserve(m_rows.size());
        for (int row = 0; row < int(m_rows.size()); ++row) {
            if (!m_rows[row].deleted && m_filter.matches(m_rows[row].values))
                m_view.push_back(row);
        }
    }
    applySort();
}

const QHash<QString, QList<int>> &Recordset::indexOf(int column)
{
    auto found = m_indexes.find(column);
    if (found != m_indexes.end())
        return *found;
    QHash<QString, QList<int>> index;
    index.reserve(qsizetype(m_rows.size()));
    for (int row = 0; row < int(m_rows.size()); ++row) {
        for (const QString &key : equalityKeys(m_rows[row].values.at(column)))
            index[key].append(row);
    }
    return *m_indexes.insert(column, std::move(index));
}

void Recordset::reindexRow(int row, const QVariantList &before)
{
    for (auto index = m_indexes.begin(); index != m_indexes.end(); ++index) {
        const int column = index.key();
        if (!before.isEmpty()) {
            for (const QString &key : equalityKeys(before.at(column))) {
                const auto bucket = index->find(key);
                if (bucket == index->end())
                    continue;
                bucket->removeOne(row);
                if (bucket->isEmpty())
                    index->erase(bucket);
            }
        }
        for (const QString &key : equalityKeys(m_rows[row].values.at(column)))
            (*index)[key].append(row);
    }
}

void Recordset::applySort()
{
    if (m_sortKeys.isEmpty() || m_view.size() < 2)
        return;
    std::vector<int> columns;
    for (const SortKey &key : std::as_const(m_sortKeys))
        columns.push_back(resolveField(key.field));
    const size_t keyCount = columns.size();
    std::vector<SortValue> values(m_view.size() * keyCount);
    for (size_t position = 0; position < m_view.size(); ++position) {
        const QVariantList &row = m_rows[m_view[position]].values;
        for (size_t k = 0; k < keyCount; ++k) {
            const QVariant &value = row.at(columns[k]);
            SortValue &sortValue = values[position * keyCount + k];
            if (isNullValue(value))
                continue;
            if (value.typeId() == QMetaType::QString) {
                sortValue.kind = 2;
                sortValue.text = collator().sortKey(value.toString());
            } else {
                sortValue.kind = 1;
                sortValue.number = value.toDouble();
            }
        }
    }
    std::vector<int> order(m_view.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        for (size_t k = 0; k < keyCount; ++k) {
            int result = compareSortValues(values[a * keyCount + k], values[b * keyCount + k]);
            if (m_sortKeys[int(k)].descending)
                result = -result;
            if (result != 0)
                return result < 0;
        }
        return false;
    });
    std::vector<int> sorted(m_view.size());
    for (size_t i = 0; i < order.size(); ++i)
        sorted[i] = m_view[order[i]];
    m_view = std::move(sorted);
}

void Recordset::setFilter(const QString &criterion)
{
    FilterExpression expression = FilterExpression::parse(criterion);
    if (m_open) {
        finishPendingEdit();
        expression.bind([this](const QString &field) { return resolveField(field); });
    }
    m_filterText = criterion;
    m_filter = expression;
    if (m_open) {
        rebuildView();
        m_position = 0;
        m_currentDeleted = false;
        emit rowsReset();
        emit currentChanged();
    }
}

void Recordset::setSort(const QString &keys)
{
    const QList<SortKey> parsed = parseSort(keys);
    if (m_open) {
        finishPendingEdit();
        for (const SortKey &key : parsed)
            resolveField(key.field);
    }
    m_sortText = keys;
    m_sortKeys = parsed;
    if (m_open) {
        rebuildView();
        m_position = 0;
        m_currentDeleted = false;
        emit rowsReset();
        emit currentChanged();
    }
}

void Recordset::requireOpen() const
{
    if (!m_open)
        throw RoutineError(ErrorCode::ObjectClosed);
}

int Recordset::currentRow() const
{
    if (m_currentDeleted || m_position < 0 || m_position >= int(m_view.size()))
        return -1;
    return m_view[m_position];
}

void Recordset::requireCurrent() const
{
    requireOpen();
    if (currentRow() < 0)
        throw RoutineError(ErrorCode::NoCurrentRecord);
}

bool Recordset::eof() const
{
    requireOpen();
    return m_view.empty() || m_position >= int(m_view.size());
}

bool Recordset::bof() const
{
    requireOpen();
    return m_view.empty() || m_position < 0;
}

int Recordset::recordCount() const
{
    requireOpen();
    return int(m_view.size());
}

void Recordset::setPosition(int position)
{
    m_position = std::clamp(position, -1, int(m_view.size()));
    m_currentDeleted = false;
    emit currentChanged();
}

void Recordset::requireOpenWithoutPendingEdit() const
{
    requireOpen();
    if (m_editMode != EditMode::None)
        throw RoutineError(ErrorCode::OperationNotAllowed);
}

void Recordset::finishPendingEdit()
{
    if (m_editMode != EditMode::None)
        update();
}

void Recordset::moveFirst()
{
    requireOpen();
    finishPendingEdit();
    setPosition(0);
}

void Recordset::moveLast()
{
    requireOpen();
    finishPendingEdit();
    setPosition(std::max(0, int(m_view.size()) - 1));
}

void Recordset::moveNext()
{
    requireOpen();
    finishPendingEdit();
    if (m_currentDeleted) {
        setPosition(m_position);
        return;
    }
    if (eof())
        throw RoutineError(ErrorCode::NoCurrentRecord);
    setPosition(m_position + 1);
}

void Recordset::movePrevious()
{
    requireOpen();
    finishPendingEdit();
    if (m_currentDeleted) {
        setPosition(m_position - 1);
        return;
    }
    if (bof())
        throw RoutineError(ErrorCode::NoCurrentRecord);
    setPosition(m_position - 1);
}

void Recordset::move(int rows)
{
    requireOpen();
    finishPendingEdit();
    if (rows == 0)
        return;
    if (!m_currentDeleted && ((rows > 0 && eof()) || (rows < 0 && bof())))
        throw RoutineError(ErrorCode::NoCurrentRecord);
    int base = m_position;
    if (m_currentDeleted && rows > 0)
        --base;
    setPosition(base + rows);
}

int Recordset::absolutePosition() const
{
    requireOpen();
    if (bof())
        return PositionBOF;
    if (eof())
        return PositionEOF;
    return m_currentDeleted ? -1 : m_position + 1;
}

void Recordset::setAbsolutePosition(int position)
{
    requireOpen();
    if (position < 1 || position > int(m_view.size()))
        throw RoutineError(ErrorCode::InvalidArgument);
    finishPendingEdit();
    setPosition(position - 1);
}

QVariantList Recordset::identity(const QVariantList &values) const
{
    QVariantList result;
    result.reserve(qsizetype(m_identityColumns.size()));
    for (const int column : m_identityColumns)
        result.append(values.at(column));
    return result;
}

Bookmark Recordset::bookmark() const
{
    requireCurrent();
    Bookmark mark;
    mark.m_generation = m_generation;
    mark.m_row = currentRow();
    mark.m_identity = identity(m_rows[mark.m_row].values);
    return mark;
}

void Recordset::setBookmark(const Bookmark &mark)
{
    requireOpen();
    finishPendingEdit();
    for (int position = 0; position < int(m_view.size()); ++position) {
        const int row = m_view[position];
        const bool same = mark.m_generation == m_generation ? row == mark.m_row
                                                            : identity(m_rows[row].values) == mark.m_identity;
        if (same) {
            setPosition(position);
            return;
        }
    }
    throw RoutineError(ErrorCode::InvalidArgument);
}

bool Recordset::find(const QString &criterion, int skip, Direction direction,
                     const std::optional<Bookmark> &start)
{
    requireOpen();
    FilterExpression expression = FilterExpression::parse(criterion);
    expression.bind([this](const QString &field) { return resolveField(field); });
    finishPendingEdit();
    if (start)
        setBookmark(*start);
    const int count = int(m_view.size());
    const bool forward = direction == Direction::Forward;
    const int step = forward ? 1 : -1;
    int position = m_position;
    if (m_currentDeleted && !forward)
        --position;
    position = forward ? std::max(position, 0) + skip : std::min(position, count - 1) - skip;
    for (; position >= 0 && position < count; position += step) {
        if (expression.matches(m_rows[m_view[position]].values)) {
            setPosition(position);
            return true;
        }
    }
    setPosition(forward ? count : -1);
    return false;
}

int Recordset::fieldCount() const
{
    requireOpen();
    return m_visibleColumns;
}

QString Recordset::fieldName(int index) const
{
    requireOpen();
    if (index < 0 || index >= m_visibleColumns)
        throw RoutineError(ErrorCode::ItemNotFound);
    return m_columns[index].name;
}

int Recordset::fieldIndex(const QString &name) const
{
    requireOpen();
    return resolveField(name);
}

bool Recordset::hasField(const QString &name) const
{
    try {
        fieldIndex(name);
        return true;
    } catch (const RoutineError &) {
        return false;
    }
}

int Recordset::resolveField(const QString &requested) const
{
    const QString name = bareName(requested);
    const QString key = name.toLower();
    const auto cached = m_fieldCache.constFind(key);
    if (cached != m_fieldCache.constEnd())
        return *cached;

    int found = -1;
    for (int i = 0; i < m_visibleColumns && found < 0; ++i) {
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            found = i;
    }
    const QString column = lastSegment(name);
    if (found < 0 && name.contains(u'.')) {
        // "Table.Column": the column of that origin table, or one whose own name says so.
        const QStringList qualifiers = name.split(u'.').mid(0, name.count(u'.'));
        for (int i = 0; i < m_visibleColumns && found < 0; ++i) {
            const Column &c = m_columns[i];
            const bool sameColumn = c.origin.compare(column, Qt::CaseInsensitive) == 0 ||
                                    lastSegment(c.name).compare(column, Qt::CaseInsensitive) == 0;
            if (sameColumn && c.table.compare(qualifiers.last(), Qt::CaseInsensitive) == 0)
                found = i;
        }
        for (int i = 0; i < m_visibleColumns && found < 0; ++i) {
            const Column &c = m_columns[i];
            if (lastSegment(c.name).compare(column, Qt::CaseInsensitive) == 0 &&
                c.name.contains(qualifiers.last() + u'.', Qt::CaseInsensitive))
                found = i;
        }
    }
    if (found < 0) {
        // A plain name that one column, and only one, carries as the last part of its dotted name.
        int candidate = -1;
        int candidates = 0;
        for (int i = 0; i < m_visibleColumns; ++i) {
            if (lastSegment(m_columns[i].name).compare(column, Qt::CaseInsensitive) == 0) {
                candidate = i;
                ++candidates;
            }
        }
        if (candidates == 1 && !name.contains(u'.'))
            found = candidate;
    }
    if (found < 0) {
        throw RoutineError(ErrorCode::ItemNotFound,
                           RoutineError::standardDescription(ErrorCode::ItemNotFound) + u" ("_s + requested +
                               u")"_s);
    }
    m_fieldCache.insert(key, found);
    return found;
}

QVariant Recordset::value(const QString &name) const
{
    requireCurrent();
    return value(resolveField(name));
}

QVariant Recordset::value(int index) const
{
    requireCurrent();
    if (index < 0 || index >= m_visibleColumns)
        throw RoutineError(ErrorCode::ItemNotFound);
    return m_editMode != EditMode::None ? m_editValues.at(index) : m_rows[currentRow()].values.at(index);
}

QVariant Recordset::converted(int column, const QVariant &value) const
{
    if (isNullValue(value))
        return QVariant();
    const Column &c = m_columns[column];
    const bool isText = value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray;
    switch (c.affinity) {
    case Column::Affinity::Text:
        if (value.typeId() == QMetaType::Bool)
            return value.toBool() ? u"-1"_s : u"0"_s;
        if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
            return QString::number(value.toDouble(), 'g', 15);
        return value.toString();
    case Column::Affinity::Integer:
    case Column::Affinity::Real: {
        double number = 0;
        if (isText) {
            const auto read = numberFromText(value.toString());
            if (!read)
                throw conversionError(c.name, value);
            number = *read;
        } else if (value.typeId() == QMetaType::Bool) {
            return qlonglong(value.toBool() ? 1 : 0);
        } else if (value.canConvert<double>()) {
            if (value.typeId() != QMetaType::Double && value.typeId() != QMetaType::Float)
                return c.affinity == Column::Affinity::Real ? QVariant(value.toDouble())
                                                            : QVariant(value.toLongLong());
            number = value.toDouble();
        } else {
            throw conversionError(c.name, value);
        }
        if (c.affinity == Column::Affinity::Integer && number == std::floor(number) &&
            std::fabs(number) < 9.0e18)
            return qlonglong(number);
        return number;
    }
    case Column::Affinity::Other:
        if (value.typeId() == QMetaType::Bool)
            return qlonglong(value.toBool() ? 1 : 0);
        return value;
    }
    return value;
}

void Recordset::setValue(const QString &name, const QVariant &value)
{
    requireCurrent();
    setValue(resolveField(name), value);
}

void Recordset::setValue(int index, const QVariant &value)
{
    requireCurrent();
    if (index < 0 || index >= m_visibleColumns)
        throw RoutineError(ErrorCode::ItemNotFound);
    const QVariant stored = converted(index, value);
    if (m_editMode == EditMode::None) {
        m_editValues = m_rows[currentRow()].values;
        m_changed.assign(m_columns.size(), false);
        m_editMode = EditMode::InProgress;
    }
    m_editValues[index] = stored;
    m_changed[index] = true;
    emit rowChanged(m_position);
}

void Recordset::addNew()
{
    requireOpen();
    finishPendingEdit();
    Row row;
    for (size_t i = 0; i < m_columns.size(); ++i)
        row.values.append(QVariant());
    row.added = true;
    m_editValues = row.values;
    m_changed.assign(m_columns.size(), false);
    m_rows.push_back(std::move(row));
    m_view.push_back(int(m_rows.size()) - 1);
    m_positionBeforeAdd = m_position;
    m_position = int(m_view.size()) - 1;
    m_currentDeleted = false;
    m_editMode = EditMode::Add;
    emit rowsReset();
    emit currentChanged();
}

void Recordset::cancelUpdate()
{
    requireOpen();
    if (m_editMode == EditMode::Add) {
        m_editMode = EditMode::None;
        m_view.pop_back();
        m_rows.pop_back();
        m_position = std::clamp(m_positionBeforeAdd, -1, int(m_view.size()));
        emit rowsReset();
        emit currentChanged();
    } else if (m_editMode == EditMode::InProgress) {
        m_editMode = EditMode::None;
        emit rowChanged(m_position);
    }
}

void Recordset::update()
{
    requireOpen();
    if (m_editMode == EditMode::None)
        return;
    const bool adding = m_editMode == EditMode::Add;
    if (adding)
        writeAdded();
    else
        writeChanges();
    const int row = m_view[m_position];
    const QVariantList before = adding ? QVariantList() : m_rows[row].values;
    m_rows[row].values = m_editValues;
    m_editMode = EditMode::None;
    reindexRow(row, before);
    emit rowChanged(m_position);
}

QStringList Recordset::keyColumnsOf(const QString &table) const
{
    return m_keys.value(table.toLower());
}

int Recordset::columnOf(const QString &table, const QString &origin) const
{
    int fallback = -1;
    for (int i = 0; i < m_visibleColumns; ++i) {
        const Column &c = m_columns[i];
        if (c.table.compare(table, Qt::CaseInsensitive) != 0 ||
            c.origin.compare(origin, Qt::CaseInsensitive) != 0)
            continue;
        if (c.name.compare(origin, Qt::CaseInsensitive) == 0)
            return i;
        if (fallback < 0)
            fallback = i;
    }
    return fallback;
}

QStringList Recordset::changedTables() const
{
    QStringList tables;
    for (int i = 0; i < m_visibleColumns; ++i) {
        if (!m_changed[i])
            continue;
        if (m_columns[i].table.isEmpty()) {
            throw RoutineError(ErrorCode::Unspecified, u"Impossibile aggiornare il campo '"_s +
                                                           m_columns[i].name +
                                                           u"': non appartiene a una tabella di base."_s);
        }
        if (!tables.contains(m_columns[i].table, Qt::CaseInsensitive))
            tables.append(m_columns[i].table);
    }
    return tables;
}

QList<std::pair<QString, QVariant>> Recordset::changedColumnsOf(const QString &table) const
{
    QList<std::pair<QString, QVariant>> columns;
    for (int i = 0; i < m_visibleColumns; ++i) {
        const Column &c = m_columns[i];
        if (!m_changed[i] || c.table.compare(table, Qt::CaseInsensitive) != 0)
            continue;
        const auto same = std::find_if(columns.begin(), columns.end(), [&](const auto &column) {
            return column.first.compare(c.origin, Qt::CaseInsensitive) == 0;
        });
        if (same != columns.end())
            same->second = m_editValues[i];
        else
            columns.append({c.origin, m_editValues[i]});
    }
    return columns;
}

void Recordset::writeAdded()
{
    QStringList tables = changedTables();
    if (tables.isEmpty()) {
        for (int i = 0; i < m_visibleColumns && tables.isEmpty(); ++i) {
            if (!m_columns[i].table.isEmpty())
                tables.append(m_columns[i].table);
        }
        if (tables.isEmpty())
            throw keyError(m_source);
    }

    std::optional<Transaction> transaction;
    if (tables.size() > 1)
        transaction.emplace(m_connection);
    for (const QString &table : std::as_const(tables)) {
        QStringList names;
        QStringList marks;
        QVariantList values;
        for (const auto &[origin, value] : changedColumnsOf(table)) {
            names.append(quoted(origin));
            marks.append(u"?"_s);
            values.append(value);
        }
        QString sql = u"INSERT INTO "_s + quoted(table);
        if (names.isEmpty())
            sql += u" DEFAULT VALUES"_s;
        else
            sql += u" ("_s + names.join(u", "_s) + u") VALUES ("_s + marks.join(u", "_s) + u")"_s;
        m_connection.execute(sql, values);

        // A key the database numbers itself (an INTEGER PRIMARY KEY is the rowid) is read back.
        const qint64 rowid = m_connection.lastInsertRowId();
        const QStringList key = keyColumnsOf(table);
        if (key.size() == 1) {
            const int column = columnOf(table, key.first());
            if (column >= 0 && isNullValue(m_editValues[column]) &&
                m_columns[column].declaredType.compare(u"INTEGER"_s, Qt::CaseInsensitive) == 0)
                m_editValues[column] = qlonglong(rowid);
        }
        if (m_rowidColumn >= 0 && bareName(m_source).compare(table, Qt::CaseInsensitive) == 0)
            m_editValues[m_rowidColumn] = qlonglong(rowid);
    }
    if (transaction)
        transaction->commit();
}

void Recordset::writeChanges()
{
    const QVariantList &original = m_rows[m_view[m_position]].values;
    const QStringList tables = changedTables();
    if (tables.isEmpty())
        return;

    std::optional<Transaction> transaction;
    if (tables.size() > 1)
        transaction.emplace(m_connection);
    for (const QString &table : std::as_const(tables)) {
        QStringList assignments;
        QVariantList values;
        for (const auto &[origin, value] : changedColumnsOf(table)) {
            assignments.append(quoted(origin) + u" = ?"_s);
            values.append(value);
        }

        QStringList conditions;
        QStringList conditionColumns;
        const auto condition = [&](const QString &origin, const QVariant &value) {
            if (conditionColumns.contains(origin.toLower()))
                return;
            conditionColumns.append(origin.toLower());
            conditions.append(quoted(origin) + u" IS ?"_s);
            values.append(value);
        };
        const QStringList key = keyColumnsOf(table);
        if (m_rowidColumn >= 0 && bareName(m_source).compare(table, Qt::CaseInsensitive) == 0) {
            condition(u"rowid"_s, original[m_rowidColumn]);
        } else if (!key.isEmpty()) {
            for (const QString &origin : key) {
                const int column = columnOf(table, origin);
                if (column < 0)
                    throw keyError(table);
                condition(origin, original[column]);
            }
        }
        const bool allColumns = m_updateCriteria == UpdateCriteria::AllColumns || conditions.isEmpty();
        for (int i = 0; i < m_visibleColumns; ++i) {
            const Column &c = m_columns[i];
            if (c.table.compare(table, Qt::CaseInsensitive) != 0)
                continue;
            if (allColumns || (m_updateCriteria == UpdateCriteria::ChangedColumns && m_changed[i]))
                condition(c.origin, original[i]);
        }

        const QString sql = u"UPDATE "_s + quoted(table) + u" SET "_s + assignments.join(u", "_s) +
                            u" WHERE "_s + conditions.join(u" AND "_s);
        if (m_connection.execute(sql, values) == 0)
            throw RoutineError(ErrorCode::RowDeletedMeanwhile);
    }
    if (transaction)
        transaction->commit();
}

void Recordset::deleteCurrent()
{
    requireCurrent();
    if (m_editMode == EditMode::Add) {
        cancelUpdate();
        return;
    }
    m_editMode = EditMode::None;
    const int row = currentRow();
    const QVariantList &original = m_rows[row].values;

    QString table = m_sourceIsTable ? bareName(m_source) : QString();
    if (table.isEmpty() || !m_keys.contains(table.toLower())) {
        table.clear();
        for (int i = 0; i < m_visibleColumns && table.isEmpty(); ++i)
            table = m_columns[i].table;
        if (table.isEmpty())
            throw keyError(m_source);
    }
    QStringList conditions;
    QVariantList values;
    if (m_rowidColumn >= 0 && m_sourceIsTable) {
        conditions.append(u"rowid IS ?"_s);
        values.append(original[m_rowidColumn]);
    } else {
        QStringList key = keyColumnsOf(table);
        if (key.isEmpty()) {
            for (int i = 0; i < m_visibleColumns; ++i) {
                if (m_columns[i].table.compare(table, Qt::CaseInsensitive) == 0 &&
                    !key.contains(m_columns[i].origin))
                    key.append(m_columns[i].origin);
            }
        }
        for (const QString &origin : std::as_const(key)) {
            const int column = columnOf(table, origin);
            if (column < 0)
                throw keyError(table);
            conditions.append(quoted(origin) + u" IS ?"_s);
            values.append(original[column]);
        }
    }
    const QString sql = u"DELETE FROM "_s + quoted(table) + u" WHERE "_s + conditions.join(u" AND "_s);
    if (m_connection.execute(sql, values) == 0)
        throw RoutineError(ErrorCode::RowDeletedMeanwhile);

    m_rows[row].deleted = true;
    m_view.erase(m_view.begin() + m_position);
    m_currentDeleted = true;
    emit rowsReset();
    emit currentChanged();
}

int Recordset::visibleRowCount() const
{
    return m_open ? int(m_view.size()) : 0;
}

QVariant Recordset::visibleValue(int position, int column) const
{
    if (!m_open || position < 0 || position >= int(m_view.size()) || column < 0 || column >= m_visibleColumns)
        return {};
    if (m_editMode != EditMode::None && position == m_position && !m_currentDeleted)
        return m_editValues.at(column);
    return m_rows[m_view[position]].values.at(column);
}

int Recordset::currentPosition() const
{
    return m_open ? (currentRow() >= 0 ? m_position : -1) : -1;
}

} // namespace kx
