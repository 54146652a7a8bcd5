#include "core/config/Credential.h"

#include "core/text/Cp1252.h"

QString MascheraStringa(const QString &text, unsigned char key)
{
    QByteArray bytes = kx::Cp1252::encode(text);
    for (char &byte : bytes)
        byte = static_cast<char>(static_cast<unsigned char>(byte) ^ key);
    return kx::Cp1252::decode(bytes);
}
