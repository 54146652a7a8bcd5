#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace kx {

/**
 * Windows-1252, the single-byte code page of every text file exchanged with the server, the INI file
 * and the logs. The five bytes the code page leaves undefined map to the control characters of the
 * same value, as Windows does, so every byte survives a round trip.
 */
namespace Cp1252 {

QString decode(QByteArrayView bytes);
/** Characters outside the code page become "?". */
QByteArray encode(QStringView text);
/** True when every character of the text has a byte of its own in the code page. */
bool canEncode(QStringView text);

} // namespace Cp1252

} // namespace kx
