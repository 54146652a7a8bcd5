#pragma once

#include "refdata/TabelleDecodifica.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace kx {
class Context;
} // namespace kx

/** The update log, in the program folder: notes on applications the update could not refresh. */
inline const QString NomeFileLogAggiornamento = QStringLiteral("AggiornaDB.LOG");

namespace kx {

/**
 * The backup-protected import of the downloaded master-data files: "oper.tx1" and "compo.tx1" must
 * be there, the two seat files both or neither; then the safety copy and the six loaders in one
 * transaction. When all succeed the transaction is committed and the copy deleted; a log with lines
 * is offered for reading, an empty one deleted. When one fails everything is rolled back,
 * "Ripristino della base dati ..." tells how, and the log is deleted. True when committed.
 */
bool AggiornaAnagrafiche(Context &context, const QString &fileLog);

/**
 * The update of the base data of a SERVER installation, on a main window of that caption: refused on
 * a CLIENT's caption or one naming neither role. The connection is held exclusively (a failed
 * exclusive opening deletes every ".tx1" file and ends the program), the log of an earlier run is
 * deleted, the decode tables are updated with their progress in LblCont, then, when "oper.tx1" is
 * there, AggiornaAnagrafiche runs; after a success the seats of unprinted applications are refreshed
 * and the four files go to "CAR", after a failure to "BAD". True only when the registry was updated.
 * Errors of the file moves are passed on.
 */
bool AggiornaDB(Context &context, const QString &titoloMain,
                const std::function<void(const QString &)> &LblCont,
                const OperazioniTabelle &operazioni = {});

/**
 * The items of the operator list for the registry update: one per operator of CorsiOper, in the
 * order the table gives them, none twice.
 */
QStringList vociOperatoriAnagrafica(Context &context);

} // namespace kx
