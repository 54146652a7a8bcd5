#pragma once

namespace kx {
class Context;
} // namespace kx

/**
 * The checks of the main window's commands before they open their window. Each shows its refusal and
 * returns false, or returns true when the command may go on. The database is read with the current
 * application's values bound as parameters; the shared recordsets are left as they were.
 */

/** An application is current; otherwise "Funzione non disponibile". */
bool DomandaSelezionata(kx::Context &context);

/** Section 3: the application has a legal seat, then its operator has approved courses. */
bool ControllaCorsi(kx::Context &context);

/**
 * Reassignment: the application is not printed in final form, has a course, has more than one
 * involved seat, and the user confirms that no CLIENT is connected.
 */
bool ControllaRiassegnazione(kx::Context &context);

/** Draft print: names the print requested ("Stampa Bozza"), then requires the legal seat. */
bool ControllaStampaBozza(kx::Context &context);

/** Final print: the application has a course, then a legal seat. */
bool ControllaInvio(kx::Context &context);
