#pragma once

#include <QString>

/**
 * The server credential is kept in the INI file scrambled byte by byte with a one-byte key. The key
 * takes every printable ASCII character to a printable Windows-1252 letter above 0xA0, so a scrambled
 * credential never holds a blank, a quote, "=" or a control character that the INI file would eat.
 */
inline constexpr unsigned char ChiaveCredenziale = 0x80;

/** Each character's Windows-1252 code combined with the key by exclusive or; applied twice, the identity. */
QString MascheraStringa(const QString &text, unsigned char key);
