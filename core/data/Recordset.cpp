#include "core/data/Recordset.h"

#include "core/data/Connection.h"
#include "core/data/FilterExpression.h"
#include "core/data/RecordsetColumns.h"
#include "core/data/RecordsetReading.h"
#include "core/data/RecordsetSort.h"
#include "core/data/RecordsetWriter.h"
#include "core/services/RoutineError.h"
#include "core/text/Values.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

/** Below this many rows a filter scans them all; above it "field = value" filters use an index. */
constexpr size_t IndexThreshold = 64;

} // namespace

/**
 * What the recordset holds: its source, the rows read and how much of the source they are, the view
 * of them, and the edit.
 */
struct Recordset::Data
{
    explicit Data(Connection &c) : connection(c), reading(c, rows, columns) {}
    Data(const Data &) = delete;
    Data &operator=(const Data &) = delete;

    Connection &connection;
    QString source;
    QVariantList params;
    bool sourceIsTable = false;
    bool open = false;
    quint64 generation = 0;

    RecordsetColumns columns;
    RecordsetRows rows;
    RecordsetReading reading;
    /** The rows the filter lets through, in the sort's order. */
    std::vector<int> view;
    /** The view must be made again from the rows before its next use. */
    bool viewStale = false;
    /** Rows were read at opening, for the filter then in force, and nothing has looked at them yet. */
    bool rowsUnseen = false;
    int position = 0;
    bool currentDeleted = false;

    QString filterText;
    FilterExpression filter;
    QString sortText;
    QList<SortKey> sortKeys;
    UpdateCriteria updateCriteria = UpdateCriteria::ChangedColumns;

    EditMode editMode = EditMode::None;
    RowEdit edit;
    int positionBeforeAdd = 0;
    /** A new row as the rows keep it until written: every value Null. */
    CompactRow newRow;

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
    void load();
    void ensureView();
    void rebuildView();

    /** Marks the recordset's own writes, which change rows it keeps up to date itself. */
    class OwnWrite
    {
    public:
        explicit OwnWrite(Data &data) : m_data(data) { m_data.reading.setWritingOwnRows(true); }
        ~OwnWrite() { m_data.reading.setWritingOwnRows(false); }
        OwnWrite(const OwnWrite &) = delete;
        OwnWrite &operator=(const OwnWrite &) = delete;

    private:
        Data &m_data;
    };
};

void Recordset::Data::load()
{
    rowWriter.reset();
    sourceIsTable = reading.start(source, params);
    ++generation;
    editMode = EditMode::None;

    filter.bind([this](const QString &field) { return columns.resolve(field); });
    for (const SortKey &key : std::as_const(sortKeys))
        columns.resolve(key.field);
}

void Recordset::Data::ensureView()
{
    rowsUnseen = false;
    if (!viewStale)
        return;
    reading.ensureRows(filter);
    rebuildView();
    viewStale = false;
}

void Recordset::Data::rebuildView()
{
    view.clear();
    const auto equalities = filter.equalities();
    if (!equalities.isEmpty() && rows.values.size() >= IndexThreshold) {
        for (const int row :
             rows.index.candidates(rows.values, equalities.first().first, equalities.first().second)) {
            if (!rows.deleted[row] && filter.matches(rows.values[row]))
                view.push_back(row);
        }
        if (!rows.rank.empty())
            std::sort(view.begin(), view.end(), [this](int a, int b) { return rows.rank[a] < rows.rank[b]; });
    } else {
        view.reserve(rows.sequence.size());
        for (const int row : rows.sequence) {
            if (!rows.deleted[row] && filter.matches(rows.values[row]))
                view.push_back(row);
        }
    }
    std::vector<SortColumn> sortColumns;
    for (const SortKey &key : std::as_const(sortKeys))
        sortColumns.push_back({columns.resolve(key.field), key.descending});
    sortView(view, rows.values, sortColumns);
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
            m_d->reading.ensureRows(m_d->filter);
        } catch (...) {
            m_d->reading.stop();
            throw;
        }
    }
    m_d->open = true;
    resetView();
    m_d->rowsUnseen = !m_d->filter.isEmpty();
}

void Recordset::close()
{
    m_d->requireOpenWithoutPendingEdit();
    m_d->open = false;
    m_d->reading.stop();
    m_d->rowWriter.reset();
    std::vector<int>().swap(m_d->view);
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
    // Rows read at opening for the filter this one replaces, that nothing has looked at nor changed
    // since, are read again for this one: a window opening a recordset that kept another window's
    // filter reads what it shows, not what the other window showed and the rest of the source.
    if (m_d->rowsUnseen)
        m_d->reading.forgetUnseenRows();
    m_d->rowsUnseen = false;
    // The first filter after opening takes the snapshot, of the rows it needs, as the source is now;
    // no filter leaves the rows to their first use, which may be a mere count.
    if (m_d->reading.state() == RecordsetReading::State::Nothing && !m_d->filter.isEmpty())
        m_d->reading.ensureRows(m_d->filter);
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
    m_d->requireOpen();
    // Nothing read and nothing to leave out: the engine counts, and the rows wait for their use.
    if (m_d->filter.isEmpty() && m_d->viewStale && m_d->editMode == EditMode::None) {
        if (const std::optional<int> count = m_d->reading.countUnread())
            return *count;
    }
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
    mark.m_identity = m_d->reading.identity(m_d->rows.values[mark.m_row]);
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
                              : m_d->reading.identity(m_d->rows.values[row]) == mark.m_identity;
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
        if (expression.matches(m_d->rows.values[m_d->view[position]])) {
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
                                           : m_d->rows.values[m_d->currentRow()].at(index);
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
        m_d->edit.values = m_d->rows.values[m_d->currentRow()].values();
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
    // Every new row starts as Nulls; rows added in a loop empty the same edit and copy the same row.
    const int count = m_d->columns.count();
    if (m_d->newRow.size() != count)
        m_d->newRow = CompactRow(QVariantList(count));
    QVariantList &values = m_d->edit.values;
    if (values.size() == count && values.isDetached()) {
        for (QVariant &value : values) {
            if (value.isValid())
                value.clear();
        }
    } else
        values = QVariantList(count);
    m_d->edit.changed.assign(count, false);
    m_d->view.push_back(m_d->rows.append(m_d->newRow, true));
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
        RecordsetRows &rows = m_d->rows;
        rows.sequence.pop_back();
        if (row == rows.size() - 1) {
            rows.values.pop_back();
            rows.deleted.pop_back();
            rows.added.pop_back();
            if (!rows.rank.empty())
                rows.rank.pop_back();
        } else {
            // The rest of the source was read after it: it keeps its number, as a row that is gone.
            rows.deleted[row] = true;
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
    m_d->reading.beforeWriting(m_d->edit.values, adding ? nullptr : &m_d->rows.values[row]);
    {
        const Data::OwnWrite own(*m_d);
        if (adding)
            m_d->writer().insert(m_connection, m_d->edit);
        else
            m_d->writer().update(m_connection, m_d->rows.values[row].values(), m_d->edit,
                                 m_d->updateCriteria);
    }
    const QVariantList before = adding ? QVariantList() : m_d->rows.values[row].values();
    m_d->rows.values[row] = CompactRow(m_d->edit.values);
    m_d->editMode = EditMode::None;
    m_d->rows.index.rowWritten(row, before, m_d->edit.values);
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
        m_d->writer().remove(m_connection, m_d->rows.values[row].values());
    }

    m_d->rows.deleted[row] = true;
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
    return int(std::count(m_d->rows.added.cbegin(), m_d->rows.added.cend(), false));
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
    return m_d->rows.values[m_d->view[position]].at(column);
}

int Recordset::currentPosition() const
{
    return viewReady() && m_d->currentRow() >= 0 ? m_d->position : -1;
}

} // namespace kx
