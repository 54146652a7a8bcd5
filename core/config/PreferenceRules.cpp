#include "core/config/PreferenceRules.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace kx {

namespace PreferenceRules {

ServerPosta serverPostaDa(const QString &stored)
{
    if (stored.isEmpty())
        return ServerPosta::Nessuno;
    if (stored == ServerPostaConsigliato)
        return ServerPosta::Consigliato;
    if (stored == ServerPostaSecondario)
        return ServerPosta::Secondario;
    return ServerPosta::Proprio;
}

Casella casellaDa(const QString &stored)
{
    bool ok = false;
    const int value = stored.trimmed().toInt(&ok);
    if (ok && (value == 1 || value == 2))
        return Casella(value);
    return Casella::Vuota;
}

QString erroreProxy(const QString &host, const QString &port)
{
    if (port.isEmpty())
        return u"Specificare una porta per il server Proxy"_s;
    if (host.isEmpty())
        return u"Specificare un server Proxy"_s;
    const bool digits =
        std::all_of(port.cbegin(), port.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    const int number = digits ? port.toInt() : 0;
    if (number < 1 || number > 65535)
        return u"La porta del server Proxy deve essere un numero intero da 1 a 65535"_s;
    return {};
}

} // namespace PreferenceRules

} // namespace kx
