#include "core/data/Recordset.h"

#include "core/data/Connection.h"
#include "core/data/EqualityIndex.h"
#include "core/data/FilterExpression.h"
#include "core/data/KeyNarrowing.h"
#include "core/data/RecordsetColumns.h"
#include "core/data/RecordsetSort.h"
#include "core/data/RecordsetWriter.h"
#include "core/services/RoutineError.h"
#include "core/text/Values.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

/** Below this many rows a filter scans them all; above it "field = value" filters use an index. */
constexpr size_t IndexThreshold = 64;

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

/** A key that two reads of one row share: each value with its kind, numbers as numbers. */
QString identityKey(const QVariantList &values)
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

/**
 * What the recordset holds: its source, the snapshot of rows, the view of them, and the edit.
 *
 * A table is read on demand: opening it reads its columns only, and the first use that needs rows
 * reads them. When the filter in force then holds equalities the table's indexes can answer, only the
 * rows they find are read (Matching), and the rest of the table is read when a later filter needs
 * more, or before anything changes the database through this connection, so that the rows always
 * make the snapshot of the table as it was when they were first asked for. The rest keeps the rows
 * already read in their place: row numbers, bookmarks and the view do not change.
 */
struct Recordset::Data final : ChangeObserver
{
    /** How much of a table read on demand the rows hold. */
    enum class Reading
    {
        Whole,
        Nothing,
        Matching
    };

    explicit Data(Connection &c) : connection(c) {}
    ~Data() { connection.unwatch(this); }
    Data(const Data &) = delete;
    Data &operator=(const Data &) = delete;

    Connection &connection;
    QString source;
    QVariantList params;
    bool sourceIsTable = false;
    bool open = false;
    quint64 generation = 0;

    RecordsetColumns columns;
    /** Every row read or added; a deleted one keeps its place, so row numbers stay valid. */
    std::vector<QVariantList> rows;
    std::vector<bool> deleted;
    /** Per row: added by addNew rather than read. */
    std::vector<bool> added;
    /** The rows in the table's order, then the rows added in their order. */
    std::vector<int> sequence;
    /** Each row's place in the sequence; empty while the sequence is the rows' own order. */
    std::vector<int> rank;
    /** The rows the filter lets through, in the sort's order. */
    std::vector<int> view;
    /** The view must be made again from the rows before its next use. */
    bool viewStale = false;
    int position = 0;
    bool currentDeleted = false;
    EqualityIndex index;

    Reading reading = Reading::Whole;
    /** For a table read on demand: its name and its readings, whole and narrowed. */
    QString table;
    QString wholeSql;
    QString matchingSql;
    QString matchingOrder;
    /** The conditions of the rows read, while Matching. */
    KeyNarrowing narrowing;
    /** Set while this recordset writes its own rows, which it keeps up to date itself. */
    bool writingOwnRows = false;

    QString filterText;
    FilterExpression filter;
    QString sortText;
    QList<SortKey> sortKeys;
    UpdateCriteria updateCriteria = UpdateCriteria::ChangedColumns;

    EditMode editMode = EditMode::None;
    RowEdit edit;
    int positionBeforeAdd = 0;
    QVariantList newRow;

    void requireOpen() const
    {
        if (!open)
            throw RoutineError(ErrorCode::ObjectClosed);
    }
    /** Open, with its rows read and its view made. */
    void requireReady()
    {
        requireOpen();
        ensureView();
    }
    /** Closing or requerying with an edit pending fails, as the old engine did (3219). */
    void requireOpenWithoutPendingEdit() const
    {
        requireOpen();
        if (editMode != EditMode::None)
            throw RoutineError(ErrorCode::OperationNotAllowed);
    }
    int currentRow() const
    {
        if (currentDeleted || position < 0 || position >= int(view.size()))
            return -1;
        return view[position];
    }
    void requireCurrent()
    {
        requireReady();
        if (currentRow() < 0)
            throw RoutineError(ErrorCode::NoCurrentRecord);
    }
    /** The writer of the rows, made for the columns read; it keeps the statements it wrote. */
    std::unique_ptr<RecordsetWriter> rowWriter;
    RecordsetWriter &writer()
    {
        if (!rowWriter)
            rowWriter = std::make_unique<RecordsetWriter>(columns, source, sourceIsTable);
        return *rowWriter;
    }
    QVariantList identity(const QVariantList &values) const;
    void load();
    void clearRows();
    void readRows(const QString &sql, const QVariantList &values);
    /** Reads the rows the filter in force needs, when they are not read yet. */
    void ensureRows();
    /** Reads the rows not read yet after the matching ones; the table is then whole. */
    void readRest();
    void ensureView();
    void rebuildView();
    /** Adds a row at the end of the rows and of the sequence. */
    int appendRow(QVariantList values, bool isAdded);
    void beforeChange() override;

    /** Marks the recordset's own writes, which change rows it keeps up to date itself. */
    class OwnWrite
    {
    public:
        explicit OwnWrite(Data &data) : m_data(data) { m_data.writingOwnRows = true; }
        ~OwnWrite() { m_data.writingOwnRows = false; }
        OwnWrite(const OwnWrite &) = delete;
        OwnWrite &operator=(const OwnWrite &) = delete;

    private:
        Data &m_data;
    };
};

QVariantList Recordset::Data::identity(const QVariantList &values) const
{
    QVariantList result;
    result.reserve(qsizetype(columns.identityColumns().size()));
    for (const int column : columns.identityColumns())
        result.append(values.at(column));
    return result;
}

void Recordset::Data::clearRows()
{
    rows.clear();
    deleted.clear();
    added.clear();
    sequence.clear();
    rank.clear();
    view.clear();
    index.clear();
}

void Recordset::Data::load()
{
    connection.unwatch(this);
    rowWriter.reset();
    const QString name = bareName(source);
    sourceIsTable = isIdentifier(name);
    QString sql = source;
    bool withRowid = false;
    bool onDemand = false;
    if (sourceIsTable) {
        const QueryResult found = connection.query(
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
        sql = u"SELECT * FROM "_s + quotedIdentifier(actual);
        if (type == u"table"_s) {
            onDemand = true;
            table = actual;
            matchingSql = sql;
            const QStringList key = connection.primaryKey(actual);
            if (key.isEmpty()) {
                sql = u"SELECT *, rowid FROM "_s + quotedIdentifier(actual);
                matchingSql = sql;
                matchingOrder = u" ORDER BY rowid"_s;
                withRowid = true;
            } else {
                QStringList order;
                for (const QString &column : key)
                    order.append(quotedIdentifier(column));
                matchingOrder = u" ORDER BY "_s + order.join(u", "_s);
                sql += matchingOrder;
            }
        }
    }
    const auto primaryKey = [&](const QString &base) { return connection.primaryKey(base); };
    clearRows();
    if (onDemand) {
        wholeSql = sql;
        columns.reset(connection.describe(sql), withRowid, primaryKey);
        reading = Reading::Nothing;
        connection.watch(this);
    } else {
        QueryResult result = connection.query(sql, sourceIsTable ? QVariantList() : params);
        columns.reset(result.columns, withRowid, primaryKey);
        for (QVariantList &values : result.rows)
            appendRow(std::move(values), false);
        reading = Reading::Whole;
    }
    ++generation;
    editMode = EditMode::None;

    filter.bind([this](const QString &field) { return columns.resolve(field); });
    for (const SortKey &key : std::as_const(sortKeys))
        columns.resolve(key.field);
}

int Recordset::Data::appendRow(QVariantList values, bool isAdded)
{
    rows.push_back(std::move(values));
    deleted.push_back(false);
    added.push_back(isAdded);
    const int row = int(rows.size()) - 1;
    sequence.push_back(row);
    if (!rank.empty())
        rank.push_back(int(sequence.size()) - 1);
    return row;
}

void Recordset::Data::readRows(const QString &sql, const QVariantList &values)
{
    QueryResult result = connection.query(sql, values);
    clearRows();
    rows.reserve(size_t(result.rows.size()));
    for (QVariantList &row : result.rows)
        appendRow(std::move(row), false);
}

void Recordset::Data::ensureRows()
{
    if (reading == Reading::Whole)
        return;
    const KeyNarrowing wanted = keyNarrowing(connection, table, columns, filter);
    if (reading == Reading::Matching) {
        if (wanted.isEmpty() || !wanted.narrows(narrowing))
            readRest();
        return;
    }
    if (wanted.isEmpty()) {
        readRows(wholeSql, {});
        reading = Reading::Whole;
        connection.unwatch(this);
    } else {
        readRows(matchingSql + wanted.whereClause() + matchingOrder, wanted.params);
        narrowing = wanted;
        reading = Reading::Matching;
    }
}

void Recordset::Data::readRest()
{
    QueryResult whole = connection.query(wholeSql);
    QHash<QString, int> read;
    QSet<QString> addedKeys;
    const int before = int(rows.size());
    for (int row = 0; row < before; ++row) {
        const QString key = identityKey(identity(rows[row]));
        if (added[row])
            addedKeys.insert(key);
        else
            read.insert(key, row);
    }
    std::vector<int> order;
    order.reserve(size_t(whole.rows.size()) + size_t(before));
    std::vector<bool> placed(size_t(before), false);
    for (QVariantList &values : whole.rows) {
        const QString key = identityKey(identity(values));
        if (addedKeys.contains(key))
            continue;
        const auto found = read.constFind(key);
        if (found != read.constEnd() && !placed[*found]) {
            placed[*found] = true;
            order.push_back(*found);
            continue;
        }
        rows.push_back(std::move(values));
        deleted.push_back(false);
        added.push_back(false);
        order.push_back(int(rows.size()) - 1);
    }
    // Rows read before that the table lost since (another installation deleted them) stay, after the
    // others; the rows added stay last, in their order.
    for (const int row : sequence) {
        if (!added[row] && !placed[row])
            order.push_back(row);
    }
    for (const int row : sequence) {
        if (added[row])
            order.push_back(row);
    }
    sequence = std::move(order);
    rank.assign(rows.size(), 0);
    for (int place = 0; place < int(sequence.size()); ++place)
        rank[sequence[place]] = place;
    index.clear();
    narrowing = {};
    reading = Reading::Whole;
    connection.unwatch(this);
}

void Recordset::Data::beforeChange()
{
    if (writingOwnRows)
        return;
    if (reading == Reading::Nothing) {
        readRows(wholeSql, {});
        reading = Reading::Whole;
        connection.unwatch(this);
    } else if (reading == Reading::Matching) {
        readRest();
    }
}

void Recordset::Data::ensureView()
{
    if (!viewStale)
        return;
    ensureRows();
    rebuildView();
    viewStale = false;
}

void Recordset::Data::rebuildView()
{
    view.clear();
    const auto equalities = filter.equalities();
    if (!equalities.isEmpty() && rows.size() >= IndexThreshold) {
        for (const int row : index.candidates(rows, equalities.first().first, equalities.first().second)) {
            if (!deleted[row] && filter.matches(rows[row]))
                view.push_back(row);
        }
        if (!rank.empty())
            std::sort(view.begin(), view.end(), [this](int a, int b) { return rank[a] < rank[b]; });
    } else {
        view.reserve(sequence.size());
        for (const int row : sequence) {
            if (!deleted[row] && filter.matches(rows[row]))
                view.push_back(row);
        }
    }
    std::vector<SortColumn> sortColumns;
    for (const SortKey &key : std::as_const(sortKeys))
        sortColumns.push_back({columns.resolve(key.field), key.descending});
    sortView(view, rows, sortColumns);
}

Recordset::Recordset(Connection &connection, QObject *parent)
    : QObject(parent), m_connection(connection), m_d(std::make_unique<Data>(connection))
{
}

Recordset::~Recordset() = default;

void Recordset::setSource(const QString &source, const QVariantList &params)
{
    if (m_d->open)
        throw RoutineError(ErrorCode::ObjectOpen);
    m_d->source = source;
    m_d->params = params;
}

const QString &Recordset::source() const
{
    return m_d->source;
}

void Recordset::open(const QString &source, const QVariantList &params)
{
    setSource(source, params);
    open();
}

void Recordset::open()
{
    if (m_d->open)
        throw RoutineError(ErrorCode::ObjectOpen);
    if (m_d->source.trimmed().isEmpty())
        throw RoutineError(ErrorCode::InvalidArgument);
    m_d->load();
    // A recordset opened with its filter set reads at once what the filter needs, as it is now.
    if (!m_d->filter.isEmpty()) {
        try {
            m_d->ensureRows();
        } catch (...) {
            m_connection.unwatch(m_d.get());
            m_d->clearRows();
            throw;
        }
    }
    m_d->open = true;
    resetView();
}

void Recordset::close()
{
    m_d->requireOpenWithoutPendingEdit();
    m_d->open = false;
    m_connection.unwatch(m_d.get());
    m_d->reading = Data::Reading::Whole;
    m_d->narrowing = {};
    m_d->clearRows();
    m_d->viewStale = false;
    m_d->columns.clear();
    m_d->position = 0;
    m_d->currentDeleted = false;
    emit rowsReset();
    emit currentChanged();
}

bool Recordset::isOpen() const
{
    return m_d->open;
}

void Recordset::requery()
{
    m_d->requireOpenWithoutPendingEdit();
    m_d->load();
    resetView();
}

void Recordset::resetView()
{
    m_d->view.clear();
    m_d->viewStale = true;
    m_d->position = 0;
    m_d->currentDeleted = false;
    emit rowsReset();
    emit currentChanged();
}

void Recordset::setFilter(const QString &criterion)
{
    FilterExpression expression = FilterExpression::parse(criterion);
    if (m_d->open) {
        finishPendingEdit();
        expression.bind([this](const QString &field) { return m_d->columns.resolve(field); });
    }
    m_d->filterText = criterion;
    m_d->filter = expression;
    if (!m_d->open)
        return;
    resetView();
    // The first filter after opening takes the snapshot, of the rows it needs, as the table is now.
    if (m_d->reading == Data::Reading::Nothing)
        m_d->ensureRows();
}

const QString &Recordset::filter() const
{
    return m_d->filterText;
}

void Recordset::setSort(const QString &keys)
{
    const QList<SortKey> parsed = parseSort(keys);
    if (m_d->open) {
        finishPendingEdit();
        for (const SortKey &key : parsed)
            m_d->columns.resolve(key.field);
    }
    m_d->sortText = keys;
    m_d->sortKeys = parsed;
    if (m_d->open)
        resetView();
}

const QString &Recordset::sort() const
{
    return m_d->sortText;
}

void Recordset::setUpdateCriteria(UpdateCriteria criteria)
{
    m_d->updateCriteria = criteria;
}

Recordset::UpdateCriteria Recordset::updateCriteria() const
{
    return m_d->updateCriteria;
}

bool Recordset::eof() const
{
    m_d->requireReady();
    return m_d->view.empty() || m_d->position >= int(m_d->view.size());
}

bool Recordset::bof() const
{
    m_d->requireReady();
    return m_d->view.empty() || m_d->position < 0;
}

int Recordset::recordCount() const
{
    m_d->requireReady();
    return int(m_d->view.size());
}

void Recordset::setPosition(int position)
{
    m_d->position = std::clamp(position, -1, int(m_d->view.size()));
    m_d->currentDeleted = false;
    emit currentChanged();
}

void Recordset::finishPendingEdit()
{
    if (m_d->editMode != EditMode::None)
        update();
}

void Recordset::moveFirst()
{
    m_d->requireReady();
    finishPendingEdit();
    setPosition(0);
}

void Recordset::moveLast()
{
    m_d->requireReady();
    finishPendingEdit();
    setPosition(std::max(0, int(m_d->view.size()) - 1));
}

void Recordset::moveNext()
{
    m_d->requireReady();
    finishPendingEdit();
    if (m_d->currentDeleted) {
        setPosition(m_d->position);
        return;
    }
    if (eof())
        throw RoutineError(ErrorCode::NoCurrentRecord);
    setPosition(m_d->position + 1);
}

void Recordset::movePrevious()
{
    m_d->requireReady();
    finishPendingEdit();
    if (m_d->currentDeleted) {
        setPosition(m_d->position - 1);
        return;
    }
    if (bof())
        throw RoutineError(ErrorCode::NoCurrentRecord);
    setPosition(m_d->position - 1);
}

void Recordset::move(int rows)
{
    m_d->requireReady();
    finishPendingEdit();
    if (rows == 0)
        return;
    if (!m_d->currentDeleted && ((rows > 0 && eof()) || (rows < 0 && bof())))
        throw RoutineError(ErrorCode::NoCurrentRecord);
    int base = m_d->position;
    if (m_d->currentDeleted && rows > 0)
        --base;
    setPosition(base + rows);
}

int Recordset::absolutePosition() const
{
    m_d->requireReady();
    if (bof())
        return PositionBOF;
    if (eof())
        return PositionEOF;
    return m_d->currentDeleted ? -1 : m_d->position + 1;
}

void Recordset::setAbsolutePosition(int position)
{
    m_d->requireReady();
    if (position < 1 || position > int(m_d->view.size()))
        throw RoutineError(ErrorCode::InvalidArgument);
    finishPendingEdit();
    setPosition(position - 1);
}

Bookmark Recordset::bookmark() const
{
    m_d->requireCurrent();
    Bookmark mark;
    mark.m_generation = m_d->generation;
    mark.m_row = m_d->currentRow();
    mark.m_identity = m_d->identity(m_d->rows[mark.m_row]);
    return mark;
}

void Recordset::setBookmark(const Bookmark &mark)
{
    m_d->requireReady();
    finishPendingEdit();
    for (int position = 0; position < int(m_d->view.size()); ++position) {
        const int row = m_d->view[position];
        const bool same = mark.m_generation == m_d->generation
                              ? row == mark.m_row
                              : m_d->identity(m_d->rows[row]) == mark.m_identity;
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
    m_d->requireReady();
    FilterExpression expression = FilterExpression::parse(criterion);
    expression.bind([this](const QString &field) { return m_d->columns.resolve(field); });
    finishPendingEdit();
    if (start)
        setBookmark(*start);
    const int count = int(m_d->view.size());
    const bool forward = direction == Direction::Forward;
    const int step = forward ? 1 : -1;
    int position = m_d->position;
    if (m_d->currentDeleted && !forward)
        --position;
    position = forward ? std::max(position, 0) + skip : std::min(position, count - 1) - skip;
    for (; position >= 0 && position < count; position += step) {
        if (expression.matches(m_d->rows[m_d->view[position]])) {
            setPosition(position);
            return true;
        }
    }
    setPosition(forward ? count : -1);
    return false;
}

int Recordset::fieldCount() const
{
    m_d->requireOpen();
    return m_d->columns.visibleCount();
}

QString Recordset::fieldName(int index) const
{
    m_d->requireOpen();
    if (index < 0 || index >= m_d->columns.visibleCount())
        throw RoutineError(ErrorCode::ItemNotFound);
    return m_d->columns.at(index).name;
}

int Recordset::fieldIndex(const QString &name) const
{
    m_d->requireOpen();
    return m_d->columns.resolve(name);
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

QVariant Recordset::value(const QString &name) const
{
    m_d->requireCurrent();
    return value(m_d->columns.resolve(name));
}

QVariant Recordset::value(int index) const
{
    m_d->requireCurrent();
    if (index < 0 || index >= m_d->columns.visibleCount())
        throw RoutineError(ErrorCode::ItemNotFound);
    return m_d->editMode != EditMode::None ? m_d->edit.values.at(index)
                                           : m_d->rows[m_d->currentRow()].at(index);
}

void Recordset::setValue(const QString &name, const QVariant &value)
{
    m_d->requireCurrent();
    setValue(m_d->columns.resolve(name), value);
}

void Recordset::setValue(int index, const QVariant &value)
{
    m_d->requireCurrent();
    if (index < 0 || index >= m_d->columns.visibleCount())
        throw RoutineError(ErrorCode::ItemNotFound);
    const QVariant stored = valueForColumn(m_d->columns.at(index), value);
    if (m_d->editMode == EditMode::None) {
        m_d->edit.values = m_d->rows[m_d->currentRow()];
        m_d->edit.changed.assign(m_d->columns.count(), false);
        m_d->editMode = EditMode::InProgress;
    }
    m_d->edit.values[index] = stored;
    m_d->edit.changed[index] = true;
    emit rowChanged(m_d->position);
}

void Recordset::addNew()
{
    m_d->requireReady();
    finishPendingEdit();
    // Every new row starts as one shared row of Nulls; the edit copies it at its first value.
    if (m_d->newRow.size() != m_d->columns.count())
        m_d->newRow = QVariantList(m_d->columns.count());
    QVariantList values = m_d->newRow;
    m_d->edit.values = values;
    m_d->edit.changed.assign(m_d->columns.count(), false);
    m_d->view.push_back(m_d->appendRow(std::move(values), true));
    m_d->positionBeforeAdd = m_d->position;
    m_d->position = int(m_d->view.size()) - 1;
    m_d->currentDeleted = false;
    m_d->editMode = EditMode::Add;
    emit rowsReset();
    emit currentChanged();
}

void Recordset::cancelUpdate()
{
    m_d->requireOpen();
    if (m_d->editMode == EditMode::Add) {
        m_d->editMode = EditMode::None;
        const int row = m_d->view.back();
        m_d->view.pop_back();
        m_d->sequence.pop_back();
        if (row == int(m_d->rows.size()) - 1) {
            m_d->rows.pop_back();
            m_d->deleted.pop_back();
            m_d->added.pop_back();
            if (!m_d->rank.empty())
                m_d->rank.pop_back();
        } else {
            // The rest of the table was read after it: it keeps its number, as a row that is gone.
            m_d->deleted[row] = true;
        }
        m_d->position = std::clamp(m_d->positionBeforeAdd, -1, int(m_d->view.size()));
        emit rowsReset();
        emit currentChanged();
    } else if (m_d->editMode == EditMode::InProgress) {
        m_d->editMode = EditMode::None;
        emit rowChanged(m_d->position);
    }
}

void Recordset::update()
{
    m_d->requireOpen();
    if (m_d->editMode == EditMode::None)
        return;
    const bool adding = m_d->editMode == EditMode::Add;
    const int row = m_d->view[m_d->position];
    if (m_d->reading == Data::Reading::Matching) {
        // A row written under another key, or without one, could not be told from the rest of the
        // table: that is read first, as the table stands before the write.
        const QVariantList key = m_d->identity(m_d->edit.values);
        const bool keyless =
            std::any_of(key.cbegin(), key.cend(), [](const QVariant &v) { return isNullValue(v); });
        if (adding ? keyless : key != m_d->identity(m_d->rows[row]))
            m_d->readRest();
    }
    {
        const Data::OwnWrite own(*m_d);
        if (adding)
            m_d->writer().insert(m_connection, m_d->edit);
        else
            m_d->writer().update(m_connection, m_d->rows[row], m_d->edit, m_d->updateCriteria);
    }
    const QVariantList before = adding ? QVariantList() : m_d->rows[row];
    m_d->rows[row] = m_d->edit.values;
    m_d->editMode = EditMode::None;
    m_d->index.rowWritten(row, before, m_d->rows[row]);
    emit rowChanged(m_d->position);
}

Recordset::EditMode Recordset::editMode() const
{
    return m_d->editMode;
}

void Recordset::deleteCurrent()
{
    m_d->requireCurrent();
    if (m_d->editMode == EditMode::Add) {
        cancelUpdate();
        return;
    }
    m_d->editMode = EditMode::None;
    const int row = m_d->currentRow();
    {
        const Data::OwnWrite own(*m_d);
        m_d->writer().remove(m_connection, m_d->rows[row]);
    }

    m_d->deleted[row] = true;
    m_d->view.erase(m_d->view.begin() + m_d->position);
    m_d->currentDeleted = true;
    emit rowsReset();
    emit currentChanged();
}

bool Recordset::viewReady() const
{
    if (!m_d->open)
        return false;
    try {
        m_d->ensureView();
        return true;
    } catch (const RoutineError &) {
        // A view over the recordset shows nothing until the rows can be read.
        return false;
    }
}

int Recordset::rowsRead() const
{
    return int(std::count(m_d->added.cbegin(), m_d->added.cend(), false));
}

int Recordset::visibleRowCount() const
{
    return viewReady() ? int(m_d->view.size()) : 0;
}

QVariant Recordset::visibleValue(int position, int column) const
{
    if (!viewReady() || position < 0 || position >= int(m_d->view.size()) || column < 0 ||
        column >= m_d->columns.visibleCount())
        return {};
    if (m_d->editMode != EditMode::None && position == m_d->position && !m_d->currentDeleted)
        return m_d->edit.values.at(column);
    return m_d->rows[m_d->view[position]].at(column);
}

int Recordset::currentPosition() const
{
    return viewReady() && m_d->currentRow() >= 0 ? m_d->position : -1;
}

} // namespace kx
