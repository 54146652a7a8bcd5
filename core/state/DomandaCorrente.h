#pragma once

#include <QString>

namespace kx {
class Context;
} // namespace kx

/**
 * Loads the application named by the INI file when it still exists, otherwise the database's only
 * application when there is exactly one, otherwise none.
 */
void CaricaDomandaCorrente(kx::Context &context);

/**
 * Reloads the whole current-application state from the Domande row of NumDomaCorrente and writes its
 * number to the INI file. When the row does not exist the state is cleared and the number is 0. A
 * failure offers Retry and Cancel under "SalvaVarIni". Leaves rsDomande closed and unfiltered.
 */
void SalvaVarIni(kx::Context &context);

/** Makes the given application current: the one way the current application changes. */
void ImpostaDomandaCorrente(kx::Context &context, qint32 numero);

/**
 * The filter that selects the rows of an application of an operator, usable in a recordset's filter
 * and after WHERE. With no application it selects nothing.
 */
QString filtroDomanda(const QString &grupOpe, qint32 operatore, qint32 numDoma);

/**
 * The application number of an INI value: a number, rounded to a whole one, that fits 32 bits; 0 for
 * anything else.
 */
qint32 numeroDomandaIni(const QString &value);
