#pragma once

class QLabel;

namespace kx {
class Context;
struct OperazioniTabelle;
} // namespace kx

namespace kx {

/** The program's own effects of a run: the hourglass over every window, files deleted from disk. */
OperazioniTabelle operazioniTabelleProgramma();

/** Hands the start-up its decode-table run, with the start-up window as its progress. */
void collegaTabelleDecodifica(Context &context);

/**
 * The run of the update of the base data with its progress line in the main window's label, which
 * is repainted at once after each change and keeps its last text.
 */
void AggiornaTabelleDecodifica(Context &context, QLabel *LblCont);

} // namespace kx
