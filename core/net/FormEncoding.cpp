#include "core/net/FormEncoding.h"

#include "core/text/Cp1252.h"

namespace kx {

QByteArray formValue(const QString &value)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    QByteArray encoded;
    for (const char c : Cp1252::encode(value)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F || c == '%' || c == '&' || c == '=' || c == '+' || c == '#')
            encoded.append('%').append(hex[byte >> 4]).append(hex[byte & 0x0F]);
        else
            encoded.append(c);
    }
    return encoded;
}

} // namespace kx
