#pragma once

#include <QString>
#include <functional>

namespace kx {
class Connection;
class Context;
struct CurrentApplication;
} // namespace kx

/**
 * The export of an application's courses to the external course registry: one call of the service's
 * operation AggiornaPercorsiVordan per course, each with the course's dsZelto document.
 */

/** The registry's service: the Context's address when a test or the demo set one, else the fixed one. */
QString servizioVordan(kx::Context &context);

/**
 * Gives every course of the application without Guid (Null or empty) a new one, all in one
 * transaction; nothing else writes it, and the registry tells courses apart by it.
 */
void AssegnaGuidMancanti(kx::Connection &CorsiDB, const kx::CurrentApplication &domanda);

/**
 * Sends every course of the current application to the registry, through the proxy when `proxy` is
 * not empty (its port as given, even empty). `avanzamento` hears the share done, 0 to 100, after each
 * course. Shows its own outcome box under the program's title ("Operazione eseguita correttamente."
 * or the failure's description) and returns 0, or the number of the failure that stopped the export:
 * 5406 when the service cannot be reached.
 */
qint32 InviaPercorsiVordan(kx::Context &context, const QString &proxy, const QString &porta,
                           const std::function<void(int)> &avanzamento);
