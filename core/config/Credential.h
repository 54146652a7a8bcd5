#pragma once

#include <QString>

/**
 * The server credential is kept in the INI file scrambled byte by byte with a one-byte key. The key
 * takes every visible ASCII character to a Windows-1252 letter from 0xA1 to 0xFE, so a scrambled
 * credential never holds a blank, a quote, "=" or a control character that the INI file would eat.
 * (No one-byte key can spare the blank as well; a credential, which goes into an address, has none.)
 */
inline constexpr unsigned char ChiaveCredenziale = 0x80;

/** Each character's Windows-1252 code combined with the key by exclusive or; applied twice, the identity. */
QString MascheraStringa(const QString &text, unsigned char key);
