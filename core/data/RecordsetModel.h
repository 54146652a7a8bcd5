#pragma once

#include <QAbstractTableModel>
#include <QStringList>

namespace kx {

class Prompt;
class Recordset;

/**
 * A grid's view of a recordset, as a grid bound to a command shows it: its rows in the recordset's
 * order, the chosen fields as columns, and the recordset's current row, which moves both ways (the
 * grid follows the recordset, and choosing a row in the grid moves the recordset).
 */
class RecordsetModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    /**
     * The given fields (every field when empty) headed by the captions (the field names when empty). A
     * closed recordset is opened, as a grid bound to its command did. The prompt shows what a move
     * chosen in the grid could not do.
     */
    RecordsetModel(Recordset &recordset, Prompt &prompt, const QStringList &fields = {},
                   const QStringList &captions = {}, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /** Fields shown as "Sì" when set and "No" otherwise, as grids show yes/no columns. */
    void setYesNoFields(const QStringList &fields);

    /** The row of the recordset's current record; -1 when there is none. */
    int currentRow() const;
    /**
     * Makes the record shown on that row current. Moving writes a pending edit first, as the
     * recordset does; when that fails the error is shown ("Errore n" and its description), the
     * recordset stays where it was with the edit still pending, currentRowChanged tells the grid so,
     * and the result is false. No error leaves this function: grids call it from the event loop.
     */
    bool setCurrentRow(int row);

signals:
    void currentRowChanged(int row);

private:
    void resolveColumns();

    Recordset &m_recordset;
    Prompt &m_prompt;
    QStringList m_fields;
    QStringList m_captions;
    QList<int> m_columns;
    QStringList m_yesNoFields;
};

} // namespace kx
