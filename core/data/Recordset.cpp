#include "core/data/Recordset.h"

#include "core/data/Connection.h"
#include "core/data/EqualityIndex.h"
#include "core/data/FilterExpression.h"
#include "core/data/RecordsetColumns.h"
#include "core/data/RecordsetSort.h"
#include "core/data/RecordsetWriter.h"
#include "core/services/RoutineError.h"

#include <algorithm>

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

} // namespace

/** What the recordset holds: its source, the snapshot of rows, the view of them, and the edit. */
struct Recordset::Data
{
    QString source;
    QVariantList params;
    bool sourceIsTable = false;
    bool open = false;
    quint64 generation = 0;

    RecordsetColumns columns;
    /** Every row read or added; a deleted one keeps its place, so row numbers stay valid. */
    std::vector<QVariantList> rows;
    std::vector<bool> deleted;
    /** The rows the filter lets through, in the sort's order. */
    std::vector<int> view;
    int position = 0;
    bool currentDeleted = false;
    EqualityIndex index;

    QString filterText;
    FilterExpression filter;
    QString sortText;
    QList<SortKey> sortKeys;
    UpdateCriteria updateCriteria = UpdateCriteria::ChangedColumns;

    EditMode editMode = EditMode::None;
    RowEdit edit;
    int positionBeforeAdd = 0;

    void requireOpen() const
    {
        if (!open)
            throw RoutineError(ErrorCode::ObjectClosed);
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
    void requireCurrent() const
    {
        requireOpen();
        if (currentRow() < 0)
            throw RoutineError(ErrorCode::NoCurrentRecord);
    }
    RecordsetWriter writer() const { return RecordsetWriter(columns, source, sourceIsTable); }
    QVariantList identity(const QVariantList &values) const;
    void load(Connection &connection);
    void rebuildView();
};

QVariantList Recordset::Data::identity(const QVariantList &values) const
{
    QVariantList result;
    result.reserve(qsizetype(columns.identityColumns().size()));
    for (const int column : columns.identityColumns())
        result.append(values.at(column));
    return result;
}

void Recordset::Data::load(Connection &connection)
{
    const QString name = bareName(source);
    sourceIsTable = isIdentifier(name);
    QString sql = source;
    bool withRowid = false;
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
            const QStringList key = connection.primaryKey(actual);
            if (key.isEmpty()) {
                sql = u"SELECT *, rowid FROM "_s + quotedIdentifier(actual);
                withRowid = true;
            } else {
                QStringList order;
                for (const QString &column : key)
                    order.append(quotedIdentifier(column));
                sql += u" ORDER BY "_s + order.join(u", "_s);
            }
        }
    }
    QueryResult result = connection.query(sql, sourceIsTable ? QVariantList() : params);

    columns.reset(result.columns, withRowid,
                  [&](const QString &table) { return connection.primaryKey(table); });
    rows.clear();
    rows.reserve(result.rows.size());
    for (QVariantList &values : result.rows)
        rows.push_back(std::move(values));
    deleted.assign(rows.size(), false);
    ++generation;
    index.clear();
    editMode = EditMode::None;

    filter.bind([this](const QString &field) { return columns.resolve(field); });
    for (const SortKey &key : std::as_const(sortKeys))
        columns.resolve(key.field);
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
    } else {
        view.reserve(rows.size());
        for (int row = 0; row < int(rows.size()); ++row) {
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
    : QObject(parent), m_connection(connection), m_d(std::make_unique<Data>())
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
    m_d->load(m_connection);
    m_d->open = true;
    resetView();
}

void Recordset::close()
{
    m_d->requireOpenWithoutPendingEdit();
    m_d->open = false;
    m_d->rows.clear();
    m_d->deleted.clear();
    m_d->view.clear();
    m_d->columns.clear();
    m_d->index.clear();
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
    m_d->load(m_connection);
    resetView();
}

void Recordset::resetView()
{
    m_d->rebuildView();
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
    if (m_d->open)
        resetView();
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
    m_d->requireOpen();
    return m_d->view.empty() || m_d->position >= int(m_d->view.size());
}

bool Recordset::bof() const
{
    m_d->requireOpen();
    return m_d->view.empty() || m_d->position < 0;
}

int Recordset::recordCount() const
{
    m_d->requireOpen();
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
    m_d->requireOpen();
    finishPendingEdit();
    setPosition(0);
}

void Recordset::moveLast()
{
    m_d->requireOpen();
    finishPendingEdit();
    setPosition(std::max(0, int(m_d->view.size()) - 1));
}

void Recordset::moveNext()
{
    m_d->requireOpen();
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
    m_d->requireOpen();
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
    m_d->requireOpen();
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
    m_d->requireOpen();
    if (bof())
        return PositionBOF;
    if (eof())
        return PositionEOF;
    return m_d->currentDeleted ? -1 : m_d->position + 1;
}

void Recordset::setAbsolutePosition(int position)
{
    m_d->requireOpen();
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
    m_d->requireOpen();
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
    m_d->requireOpen();
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
    m_d->requireOpen();
    finishPendingEdit();
    QVariantList values;
    for (int i = 0; i < m_d->columns.count(); ++i)
        values.append(QVariant());
    m_d->edit.values = values;
    m_d->edit.changed.assign(m_d->columns.count(), false);
    m_d->rows.push_back(std::move(values));
    m_d->deleted.push_back(false);
    m_d->view.push_back(int(m_d->rows.size()) - 1);
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
        m_d->view.pop_back();
        m_d->rows.pop_back();
        m_d->deleted.pop_back();
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
    if (adding)
        m_d->writer().insert(m_connection, m_d->edit);
    else
        m_d->writer().update(m_connection, m_d->rows[row], m_d->edit, m_d->updateCriteria);
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
    m_d->writer().remove(m_connection, m_d->rows[row]);

    m_d->deleted[row] = true;
    m_d->view.erase(m_d->view.begin() + m_d->position);
    m_d->currentDeleted = true;
    emit rowsReset();
    emit currentChanged();
}

int Recordset::visibleRowCount() const
{
    return m_d->open ? int(m_d->view.size()) : 0;
}

QVariant Recordset::visibleValue(int position, int column) const
{
    if (!m_d->open || position < 0 || position >= int(m_d->view.size()) || column < 0 ||
        column >= m_d->columns.visibleCount())
        return {};
    if (m_d->editMode != EditMode::None && position == m_d->position && !m_d->currentDeleted)
        return m_d->edit.values.at(column);
    return m_d->rows[m_d->view[position]].at(column);
}

int Recordset::currentPosition() const
{
    return m_d->open ? (m_d->currentRow() >= 0 ? m_d->position : -1) : -1;
}

} // namespace kx
