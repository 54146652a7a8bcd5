#pragma once

#include <QObject>
#include <QString>
#include <QVariant>
#include <memory>
#include <optional>

namespace kx {

class Connection;

/**
 * A place in a recordset's rows that survives filtering, sorting and a requery (after a requery it
 * finds the row with the same key again).
 */
class Bookmark
{
public:
    Bookmark() = default;
    bool isValid() const { return m_row >= 0; }
    friend bool operator==(const Bookmark &a, const Bookmark &b)
    {
        return a.m_generation == b.m_generation && a.m_row == b.m_row && a.m_identity == b.m_identity;
    }

private:
    friend class Recordset;
    quint64 m_generation = 0;
    int m_row = -1;
    QVariantList m_identity;
};

/**
 * A client-side static snapshot of a table, a view or the rows of SQL text, worked on in memory the
 * way the program's routines expect (RecordsetReading says when which rows are read): navigation, fields by
 * name (without regard to case; dotted names such as "CorsiSediInteressate.Denominazione" find the column of
 * that origin table) or by position, the old engine's filters, sorts and finds, bookmarks, and editing.
 *
 * Editing writes back only the changed columns, each to its base table by that table's primary key,
 * so an updatable view reaches its base tables without triggers. An update or delete that changes no
 * row (another installation deleted the row meanwhile, or, with the ChangedColumns criteria, changed
 * one of its columns) fails with -2147217864 and leaves the edit pending, so the caller can cancel it.
 *
 * The connection is the data environment's one object; when it was closed and opened again, the next
 * use of the recordset works on the new opening, and while it is closed the operations that need it
 * fail with 3709. Filter and sort are kept over close and open, as the program's routines expect.
 */
class Recordset : public QObject
{
    Q_OBJECT

public:
    enum class EditMode
    {
        None,
        InProgress,
        Add
    };
    /** Which columns an update matches besides the key; numbered as the old "Update Criteria". */
    enum class UpdateCriteria
    {
        Key = 0,
        AllColumns = 1,
        ChangedColumns = 2
    };
    enum class Direction
    {
        Forward,
        Backward
    };
    /** AbsolutePosition when there is no current row. */
    static constexpr int PositionBOF = -2;
    static constexpr int PositionEOF = -3;

    explicit Recordset(Connection &connection, QObject *parent = nullptr);
    ~Recordset() override;

    /** A table or view name, or SQL text with its parameters, read at the next open(). */
    void setSource(const QString &source, const QVariantList &params = {});
    const QString &source() const;
    void open();
    void open(const QString &source, const QVariantList &params = {});
    void close();
    bool isOpen() const;
    /** 0 closed, 1 open, as the old State property. */
    int state() const { return isOpen() ? 1 : 0; }
    /** Reads the source again, keeping filter and sort; the first row becomes current. */
    void requery();

    /** An empty text removes the filter; a malformed one fails with 3001, an unknown field with 3265. */
    void setFilter(const QString &criterion);
    void clearFilter() { setFilter(QString()); }
    const QString &filter() const;
    /** "A, B DESC"; an empty text restores the source's order. */
    void setSort(const QString &keys);
    const QString &sort() const;
    void setUpdateCriteria(UpdateCriteria criteria);
    UpdateCriteria updateCriteria() const;

    bool eof() const;
    bool bof() const;
    /** The rows the filter lets through; asked before any row is read, without a filter, the engine counts.
     */
    int recordCount() const;
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    void move(int rows);
    /** 1 for the first row; PositionBOF or PositionEOF when there is no current row. */
    int absolutePosition() const;
    void setAbsolutePosition(int position);
    Bookmark bookmark() const;
    /** Makes the bookmarked row current; a row no longer among the rows fails with 3001. */
    void setBookmark(const Bookmark &bookmark);
    /**
     * Moves to the first row meeting the criterion, starting at the current row (or the bookmark)
     * moved by `skip` rows. When none does, ends at EOF (forward) or BOF (backward) and returns false.
     */
    bool find(const QString &criterion, int skip = 0, Direction direction = Direction::Forward,
              const std::optional<Bookmark> &start = std::nullopt);

    int fieldCount() const;
    QString fieldName(int index) const;
    /** The column of a field name; fails with 3265 when there is none. */
    int fieldIndex(const QString &name) const;
    bool hasField(const QString &name) const;
    /** The current row's value; Null is an invalid QVariant. No current row fails with 3021. */
    QVariant value(const QString &name) const;
    QVariant value(int index) const;
    /** Changes the current row's value, starting an edit; converted to the column's type. */
    void setValue(const QString &name, const QVariant &value);
    void setValue(int index, const QVariant &value);

    /** Adds a new row at the end, current and pending until update(). */
    void addNew();
    /** Writes the pending edit or new row to the database. */
    void update();
    void cancelUpdate();
    /** Deletes the current row from the database and from the rows. */
    void deleteCurrent();
    EditMode editMode() const;

    /** The rows in their current order, for views over the recordset. */
    int visibleRowCount() const;
    QVariant visibleValue(int position, int column) const;
    /** The 0-based position of the current row among the visible rows; -1 when there is none. */
    int currentPosition() const;
    /** The rows read from the database so far: fewer than the source's while a key filter's stand. */
    int rowsRead() const;

signals:
    /** The rows were read again, filtered, sorted, or the recordset opened or closed. */
    void rowsReset();
    void currentChanged();
    /** Values of the visible row at that position changed. */
    void rowChanged(int position);

private:
    struct Data;

    /** Reads the rows and makes the view when they are due; false when closed or they cannot be read. */
    bool viewReady() const;

    /** Filters and sorts the rows again, makes the first one current and tells the views. */
    void resetView();
    void setPosition(int position);
    /** Moving, filtering and sorting write a pending edit first. */
    void finishPendingEdit();

    Connection &m_connection;
    std::unique_ptr<Data> m_d;
};

} // namespace kx
