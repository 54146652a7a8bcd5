#pragma once

#include <QString>

namespace kx {

/** The rules behind the options and proxy windows, apart from their widgets. */
namespace PreferenceRules {

/** The help desk's two mail servers, offered beside the user's own. */
inline const QString ServerPostaConsigliato = QStringLiteral("posta.kx58torva.it");
inline const QString ServerPostaSecondario = QStringLiteral("posta2.kx58torva.it");

enum class ServerPosta
{
    Nessuno,
    Consigliato,
    Secondario,
    Proprio
};

/** Which choice a stored mail server stands for: one of the two fixed ones, the user's own, or none. */
ServerPosta serverPostaDa(const QString &stored);

/** The old three-state check box values: "0" clear, "1" ticked, "2" grey; anything else is clear. */
enum class Casella
{
    Vuota = 0,
    Spuntata = 1,
    Grigia = 2
};
Casella casellaDa(const QString &stored);

/**
 * The first reason a proxy of the user's own cannot be saved, or "" when it can: the port is asked
 * for first, then the host; a port is a whole number from 1 to 65535.
 */
QString erroreProxy(const QString &host, const QString &port);

} // namespace PreferenceRules

} // namespace kx
