#include "core/data/RecordsetModel.h"

#include "core/data/Recordset.h"
#include "core/services/ErrorBoxes.h"
#include "core/text/TextRoutines.h"

namespace kx {

RecordsetModel::RecordsetModel(Recordset &recordset, Prompt &prompt, const QStringList &fields,
                               const QStringList &captions, QObject *parent)
    : QAbstractTableModel(parent), m_recordset(recordset), m_prompt(prompt), m_fields(fields),
      m_captions(captions)
{
    if (!m_recordset.isOpen())
        m_recordset.open();
    resolveColumns();
    connect(&m_recordset, &Recordset::rowsReset, this, [this] {
        beginResetModel();
        resolveColumns();
        endResetModel();
    });
    connect(&m_recordset, &Recordset::rowChanged, this, [this](int row) {
        if (row >= 0 && row < rowCount() && !m_columns.isEmpty())
            emit dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
    });
    connect(&m_recordset, &Recordset::currentChanged, this, [this] { emit currentRowChanged(currentRow()); });
}

void RecordsetModel::resolveColumns()
{
    m_columns.clear();
    if (!m_recordset.isOpen())
        return;
    if (m_fields.isEmpty()) {
        for (int i = 0; i < m_recordset.fieldCount(); ++i)
            m_columns.append(i);
    } else {
        // A field the recordset lacks shows as an empty column rather than failing in a signal.
        for (const QString &field : std::as_const(m_fields))
            m_columns.append(m_recordset.hasField(field) ? m_recordset.fieldIndex(field) : -1);
    }
}

void RecordsetModel::setYesNoFields(const QStringList &fields)
{
    beginResetModel();
    m_yesNoFields = fields;
    endResetModel();
}

int RecordsetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_recordset.visibleRowCount();
}

int RecordsetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant RecordsetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() >= m_columns.size())
        return {};
    const QVariant value = m_recordset.visibleValue(index.row(), m_columns[index.column()]);
    if (role == Qt::DisplayRole &&
        m_yesNoFields.contains(m_fields.value(index.column()), Qt::CaseInsensitive))
        return value.toBool() ? QStringLiteral("Sì") : QStringLiteral("No");
    if (role == Qt::DisplayRole)
        return value.isNull() ? QString() : testoDelValore(value);
    if (role == Qt::EditRole)
        return value;
    return {};
}

QVariant RecordsetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section < m_captions.size())
        return m_captions.at(section);
    return m_columns[section] >= 0 ? m_recordset.fieldName(m_columns[section]) : m_fields.value(section);
}

int RecordsetModel::currentRow() const
{
    return m_recordset.currentPosition();
}

bool RecordsetModel::setCurrentRow(int row)
{
    if (row < 0 || row >= rowCount() || row == currentRow())
        return row == currentRow();
    try {
        m_recordset.setAbsolutePosition(row + 1);
        return true;
    } catch (const RoutineError &error) {
        emit currentRowChanged(currentRow());
        m_prompt.critical(QString(), testoErrore(error));
        return false;
    }
}

} // namespace kx
