#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace kx {
class Context;
} // namespace kx

namespace kx {

/** The caption of the main window's wait panel while the base data are updated. */
inline const QString DidascaliaAttesaAggiornamento =
    QStringLiteral("Aggiornamento base dati in corso.\r\nAttendere...");

/** The caption of the operator list's Label1 when the list is the registry's. */
inline const QString DidascaliaElencoAggiornamento = QStringLiteral(
    "Impostare la lista in modo che contenga gli Operatori da aggiornare, e quelli da inserire");

/** What the registry-update command asks of the main window and of the windows it opens. */
struct OperazioniAggiornaBaseDati
{
    /** Shows the wait panel pnlAttesa with its caption (true) or hides it (false). */
    std::function<void(bool visibile)> attesa;
    /** The hourglass (true) or the normal pointer (false). */
    std::function<void(bool occupato)> puntatore;
    /** frmInstOper with these items and its Label1 caption, modally; its end is in EsitoInstOper. */
    std::function<void(const QStringList &voci)> elencoOperatori;
    /** The update of the base data: true when the registry was updated. */
    std::function<bool()> AggiornaDB;
};

/**
 * The registry update from the main window, once an application is current: two confirmations,
 * the database held exclusively (when that fails the program ends), the wait panel, the operator
 * list prefilled with the registry's operators, then the update unless the list was cancelled, and
 * "Aggiornamento Base Dati effettuato." when it succeeded. An error on the way is shown in the
 * "Errore imprevisto" box. In every case the panel is hidden and the database reopened in the
 * installation's own mode; when that fails the program ends as after a failed opening at start-up.
 */
void AggiornaBaseDati(Context &context, const OperazioniAggiornaBaseDati &operazioni);

} // namespace kx
