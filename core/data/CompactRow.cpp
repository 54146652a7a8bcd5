#include "core/data/CompactRow.h"

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>
#include <QString>
#include <QVarLengthArray>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace kx {

namespace {

enum Kind : unsigned char
{
    Null,
    Integer,
    Real,
    Text,
    Bytes,
    Streamed
};

/** The block: its column count and size, a kind per column, then a slot of eight bytes per column. */
struct Header
{
    quint32 count;
    quint32 bytes;
};

constexpr size_t align8(size_t n)
{
    return (n + 7) & ~size_t(7);
}

size_t slotsOffset(size_t count)
{
    return align8(sizeof(Header) + count);
}

struct Place
{
    quint32 offset;
    quint32 length;
};

Kind kindOf(const QVariant &value)
{
    // Most columns of a row are Null: told without asking for the type.
    if (!value.isValid())
        return Null;
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return Null;
    case QMetaType::LongLong:
        return Integer;
    case QMetaType::Double:
        return Real;
    case QMetaType::QString:
        return static_cast<const QString *>(value.constData())->isNull() ? Streamed : Text;
    case QMetaType::QByteArray:
        return static_cast<const QByteArray *>(value.constData())->isNull() ? Streamed : Bytes;
    default:
        return Streamed;
    }
}

QByteArray streamed(const QVariant &value)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << value;
    return bytes;
}

} // namespace

CompactRow::CompactRow(const QVariantList &values)
{
    const size_t count = size_t(values.size());
    // Each value's kind is found once; texts are read in place, without a copy of the QString.
    QVarLengthArray<unsigned char, 128> kinds(qsizetype(count), Null);
    std::vector<QByteArray> streams;
    size_t tail = 0;
    for (size_t column = 0; column < count; ++column) {
        const QVariant &value = values[qsizetype(column)];
        const Kind kind = kindOf(value);
        kinds[qsizetype(column)] = kind;
        switch (kind) {
        case Text:
            tail +=
                align8(size_t(static_cast<const QString *>(value.constData())->size()) * sizeof(char16_t));
            break;
        case Bytes:
            tail += align8(size_t(static_cast<const QByteArray *>(value.constData())->size()));
            break;
        case Streamed:
            streams.push_back(streamed(value));
            tail += align8(size_t(streams.back().size()));
            break;
        default:
            break;
        }
    }
    const size_t slotStart = slotsOffset(count);
    const size_t total = slotStart + count * 8 + tail;
    m_data = std::make_unique<unsigned char[]>(total);
    unsigned char *data = m_data.get();
    const Header header{quint32(count), quint32(total)};
    std::memcpy(data, &header, sizeof header);
    std::memcpy(data + sizeof(Header), kinds.constData(), count);
    size_t next = slotStart + count * 8;
    size_t stream = 0;
    const auto place = [&](size_t column, const void *bytes, size_t size, size_t length) {
        const Place where{quint32(next), quint32(length)};
        std::memcpy(data + slotStart + column * 8, &where, sizeof where);
        if (size > 0)
            std::memcpy(data + next, bytes, size);
        next += align8(size);
    };
    for (size_t column = 0; column < count; ++column) {
        const QVariant &value = values[qsizetype(column)];
        unsigned char *slot = data + slotStart + column * 8;
        switch (kinds[qsizetype(column)]) {
        case Null:
            break;
        case Integer: {
            const qint64 number = *static_cast<const qlonglong *>(value.constData());
            std::memcpy(slot, &number, 8);
            break;
        }
        case Real: {
            const double number = *static_cast<const double *>(value.constData());
            std::memcpy(slot, &number, 8);
            break;
        }
        case Text: {
            const QString &text = *static_cast<const QString *>(value.constData());
            place(column, text.constData(), size_t(text.size()) * sizeof(char16_t), size_t(text.size()));
            break;
        }
        case Bytes: {
            const QByteArray &bytes = *static_cast<const QByteArray *>(value.constData());
            place(column, bytes.constData(), size_t(bytes.size()), size_t(bytes.size()));
            break;
        }
        case Streamed: {
            const QByteArray &bytes = streams[stream++];
            place(column, bytes.constData(), size_t(bytes.size()), size_t(bytes.size()));
            break;
        }
        }
    }
}

CompactRow::CompactRow(const CompactRow &other)
{
    *this = other;
}

CompactRow &CompactRow::operator=(const CompactRow &other)
{
    if (this == &other)
        return *this;
    if (!other.m_data) {
        m_data.reset();
        return *this;
    }
    Header header;
    std::memcpy(&header, other.m_data.get(), sizeof header);
    auto copy = std::make_unique<unsigned char[]>(header.bytes);
    std::memcpy(copy.get(), other.m_data.get(), header.bytes);
    m_data = std::move(copy);
    return *this;
}

int CompactRow::size() const
{
    if (!m_data)
        return 0;
    Header header;
    std::memcpy(&header, m_data.get(), sizeof header);
    return int(header.count);
}

QVariant CompactRow::at(int column) const
{
    const int count = size();
    if (column < 0 || column >= count)
        throw std::out_of_range("CompactRow::at");
    const unsigned char *data = m_data.get();
    const unsigned char *slot = data + slotsOffset(size_t(count)) + size_t(column) * 8;
    Place where{};
    switch (data[sizeof(Header) + size_t(column)]) {
    case Integer: {
        qint64 number = 0;
        std::memcpy(&number, slot, 8);
        return QVariant(qlonglong(number));
    }
    case Real: {
        double number = 0;
        std::memcpy(&number, slot, 8);
        return QVariant(number);
    }
    case Text: {
        std::memcpy(&where, slot, sizeof where);
        return QVariant(
            QString(reinterpret_cast<const QChar *>(data + where.offset), qsizetype(where.length)));
    }
    case Bytes:
        std::memcpy(&where, slot, sizeof where);
        return QVariant(
            QByteArray(reinterpret_cast<const char *>(data + where.offset), qsizetype(where.length)));
    case Streamed: {
        std::memcpy(&where, slot, sizeof where);
        const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data + where.offset),
                                                         qsizetype(where.length));
        QDataStream stream(bytes);
        QVariant value;
        stream >> value;
        return value;
    }
    default:
        return QVariant();
    }
}

QVariantList CompactRow::values() const
{
    const int count = size();
    QVariantList result;
    result.reserve(count);
    for (int column = 0; column < count; ++column)
        result.append(at(column));
    return result;
}

} // namespace kx
