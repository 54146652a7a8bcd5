#include "core/text/Cp1252.h"

#include <array>

namespace kx {

namespace {

// 0x80..0x9F; the rest of the code page is Latin-1.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t toUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return HighControls[byte - 0x80];
    return byte;
}

/** The byte of a character, or -1 when the code page has none. */
int toByte(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return ch;
    for (size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] == ch)
            return int(0x80 + i);
    }
    return -1;
}

} // namespace

namespace Cp1252 {

QString decode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (char byte : bytes)
        *out++ = QChar(toUnicode(static_cast<unsigned char>(byte)));
    return text;
}

QByteArray encode(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (QChar ch : text) {
        const int byte = toByte(ch.unicode());
        *out++ = byte < 0 ? '?' : static_cast<char>(byte);
    }
    return bytes;
}

bool canEncode(QStringView text)
{
    for (QChar ch : text) {
        if (toByte(ch.unicode()) < 0)
            return false;
    }
    return true;
}

} // namespace Cp1252

} // namespace kx
