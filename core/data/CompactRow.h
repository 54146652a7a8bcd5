#pragma once

#include <QVariant>
#include <memory>

namespace kx {

/**
 * A recordset's row packed in one block of memory: a bit per column, then a kind and a place for each
 * column that is not Null only, then their values. Most columns of a row are Null: a row of 63 columns
 * with 7 values takes about 120 bytes where a list of QVariants takes over 2,000 and a block for each
 * text.
 *
 * It gives back each value as it was given: Null as an invalid QVariant, whole numbers as qlonglong,
 * decimals as double, texts as QString, bytes as QByteArray; any other value (a date, a yes/no, a null
 * text) is kept through QDataStream.
 */
class CompactRow
{
public:
    CompactRow() = default;
    explicit CompactRow(const QVariantList &values);
    CompactRow(const CompactRow &other);
    CompactRow &operator=(const CompactRow &other);
    CompactRow(CompactRow &&) noexcept = default;
    CompactRow &operator=(CompactRow &&) noexcept = default;

    int size() const;
    /** The value of a column; a column out of range fails as QList::at would. */
    QVariant at(int column) const;
    QVariantList values() const;

private:
    std::unique_ptr<unsigned char[]> m_data;
};

} // namespace kx
