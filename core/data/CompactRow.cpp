#include "core/data/CompactRow.h"

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>
#include <QString>
#include <QVarLengthArray>
#include <bit>
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

/**
 * The block: this header; a bit per column, set for the columns that are not Null, in words of 64; for
 * those columns in order a kind byte each, then where each one's value starts in the block; then the
 * values, unpadded. A value ends where the next one starts, the last one at the block's end. Places
 * take two bytes while the block is under 64 KB, else four.
 */
struct Header
{
    quint32 count;
    quint32 present;
    quint32 bytes;
};

constexpr size_t ShortBlock = 0xFFFF;

size_t wordsFor(size_t count)
{
    return (count + 63) / 64;
}

size_t placeWidth(size_t bytes)
{
    return bytes <= ShortBlock ? 2 : 4;
}

/** Reads a block written by CompactRow's constructor. */
class Block
{
public:
    explicit Block(const unsigned char *data) : m_data(data)
    {
        std::memcpy(&m_header, data, sizeof m_header);
        m_kinds = sizeof(Header) + wordsFor(m_header.count) * 8;
        m_places = m_kinds + m_header.present;
        m_width = placeWidth(m_header.bytes);
    }

    size_t count() const { return m_header.count; }
    size_t present() const { return m_header.present; }
    quint64 word(size_t index) const
    {
        quint64 bits = 0;
        std::memcpy(&bits, m_data + sizeof(Header) + index * 8, 8);
        return bits;
    }
    bool isNull(size_t column) const { return ((word(column / 64) >> (column % 64)) & 1) == 0; }
    /** Among the columns that are not Null, the place of this one. */
    size_t rank(size_t column) const
    {
        size_t before = 0;
        for (size_t index = 0; index < column / 64; ++index)
            before += size_t(std::popcount(word(index)));
        const quint64 below = (quint64(1) << (column % 64)) - 1;
        return before + size_t(std::popcount(word(column / 64) & below));
    }
    /** The value at this rank, whose column is not Null. */
    QVariant value(size_t rank) const
    {
        const size_t start = place(rank);
        const size_t length = (rank + 1 < present() ? place(rank + 1) : m_header.bytes) - start;
        const unsigned char *bytes = m_data + start;
        switch (m_data[m_kinds + rank]) {
        case Integer: {
            qint64 number = 0;
            std::memcpy(&number, bytes, 8);
            return QVariant(qlonglong(number));
        }
        case Real: {
            double number = 0;
            std::memcpy(&number, bytes, 8);
            return QVariant(number);
        }
        case Text: {
            QString text(qsizetype(length / sizeof(char16_t)), Qt::Uninitialized);
            std::memcpy(text.data(), bytes, length);
            return QVariant(text);
        }
        case Bytes:
            return QVariant(QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(length)));
        case Streamed: {
            const QByteArray streamed =
                QByteArray::fromRawData(reinterpret_cast<const char *>(bytes), qsizetype(length));
            QDataStream stream(streamed);
            QVariant value;
            stream >> value;
            return value;
        }
        default:
            return QVariant();
        }
    }

private:
    size_t place(size_t rank) const
    {
        const unsigned char *at = m_data + m_places + rank * m_width;
        if (m_width == 2) {
            quint16 start = 0;
            std::memcpy(&start, at, 2);
            return start;
        }
        quint32 start = 0;
        std::memcpy(&start, at, 4);
        return start;
    }

    const unsigned char *m_data;
    Header m_header;
    size_t m_kinds;
    size_t m_places;
    size_t m_width;
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
    QVarLengthArray<quint64, 2> words(qsizetype(wordsFor(count)), 0);
    std::vector<QByteArray> streams;
    size_t present = 0;
    size_t payload = 0;
    for (size_t column = 0; column < count; ++column) {
        const QVariant &value = values[qsizetype(column)];
        const Kind kind = kindOf(value);
        switch (kind) {
        case Null:
            continue;
        case Integer:
        case Real:
            payload += 8;
            break;
        case Text:
            payload += size_t(static_cast<const QString *>(value.constData())->size()) * sizeof(char16_t);
            break;
        case Bytes:
            payload += size_t(static_cast<const QByteArray *>(value.constData())->size());
            break;
        case Streamed:
            streams.push_back(streamed(value));
            payload += size_t(streams.back().size());
            break;
        }
        kinds[qsizetype(column)] = kind;
        words[qsizetype(column / 64)] |= quint64(1) << (column % 64);
        ++present;
    }
    const size_t kindsOffset = sizeof(Header) + size_t(words.size()) * 8;
    const size_t placesOffset = kindsOffset + present;
    const size_t width = placeWidth(placesOffset + present * 2 + payload);
    const size_t total = placesOffset + present * width + payload;
    m_data = std::make_unique<unsigned char[]>(total);
    unsigned char *data = m_data.get();
    const Header header{quint32(count), quint32(present), quint32(total)};
    std::memcpy(data, &header, sizeof header);
    std::memcpy(data + sizeof(Header), words.constData(), size_t(words.size()) * 8);
    size_t next = placesOffset + present * width;
    size_t rank = 0;
    size_t stream = 0;
    const auto place = [&](Kind kind, const void *bytes, size_t size) {
        data[kindsOffset + rank] = kind;
        unsigned char *at = data + placesOffset + rank * width;
        if (width == 2) {
            const quint16 start = quint16(next);
            std::memcpy(at, &start, 2);
        } else {
            const quint32 start = quint32(next);
            std::memcpy(at, &start, 4);
        }
        if (size > 0)
            std::memcpy(data + next, bytes, size);
        next += size;
        ++rank;
    };
    for (size_t column = 0; column < count; ++column) {
        const QVariant &value = values[qsizetype(column)];
        const Kind kind = Kind(kinds[qsizetype(column)]);
        switch (kind) {
        case Null:
            break;
        case Integer:
        case Real:
            // A qlonglong and a double are both stored as their eight bytes.
            place(kind, value.constData(), 8);
            break;
        case Text: {
            const QString &text = *static_cast<const QString *>(value.constData());
            place(kind, text.constData(), size_t(text.size()) * sizeof(char16_t));
            break;
        }
        case Bytes: {
            const QByteArray &bytes = *static_cast<const QByteArray *>(value.constData());
            place(kind, bytes.constData(), size_t(bytes.size()));
            break;
        }
        case Streamed: {
            const QByteArray &bytes = streams[stream++];
            place(kind, bytes.constData(), size_t(bytes.size()));
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
    const Block block(m_data.get());
    if (block.isNull(size_t(column)))
        return QVariant();
    return block.value(block.rank(size_t(column)));
}

QVariantList CompactRow::values() const
{
    QVariantList result;
    if (!m_data)
        return result;
    const Block block(m_data.get());
    result.reserve(qsizetype(block.count()));
    size_t rank = 0;
    for (size_t column = 0; column < block.count(); ++column)
        result.append(block.isNull(column) ? QVariant() : block.value(rank++));
    return result;
}

} // namespace kx
