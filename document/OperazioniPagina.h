#pragma once

#include "core/services/RoutineError.h"
#include "core/services/Services.h"

#include <QString>

namespace kx {

class PageEngine;

/** The views of the word processor that the page number can be typed into. */
namespace VistaPagina {
inline constexpr int IntestazionePagina = 9;
inline constexpr int PiePagina = 10;
} // namespace VistaPagina

/** The word processor's paragraph alignments. */
namespace AllineamentoParagrafo {
inline constexpr int Sinistra = 0;
inline constexpr int Centrato = 1;
inline constexpr int Destra = 2;
inline constexpr int Giustificato = 3;
} // namespace AllineamentoParagrafo

/**
 * Types "(" text ")" (or "(" text ")." suffix when the suffix is not empty) at the start of the
 * header (view 9) or the footer (view 10) of the active page, with the paragraph's alignment set;
 * any other view types nothing. Errors (91 when the engine is not running, 5 for an unknown
 * alignment) go to the caller.
 */
void ScriviNumeroPagina(PageEngine &WordApp, int vista, const QString &testo, int allineamento,
                        const QString &suffisso);

/**
 * Replaces the first occurrence of the placeholder from the selection on, wrapping to the start, by
 * the value as literal text in the placeholder's format; a font name that is not empty, a size above
 * 0 and bold (on or off) override that format. The selection then moves to the next occurrence of
 * the same placeholder, or stays after the value. A placeholder the page does not hold changes
 * nothing. `bordo` False leaves the run as it is; no caller asks for a border.
 *
 * Errors are handled here: in debug mode the box of the error's description and up to three
 * repetitions, then, as outside debug mode, the replacement is dropped without a word.
 */
void SostituisciSegnaposto(PageEngine &WordApp, const QString &valore, const QString &segnaposto,
                           const QString &nomeFont, qint16 dimensione, bool grassetto, bool bordo);

/**
 * Puts the crossed box (U+2612) or the empty box (U+2610), in DejaVu Sans, in place of the
 * placeholder; a page without it is left alone. Errors go to the caller.
 */
void ImpostaCasella(PageEngine &WordApp, const QString &segnaposto, bool spuntata);

/** How many times debug mode repeats a failing step of a print run, each after its box. */
inline constexpr int RipetizioniDebug = 3;

/**
 * Runs a step of a print run. In debug mode a failure shows its description in a plain box and the
 * step runs again, at most `RipetizioniDebug` times; the failure that remains (or any failure
 * outside debug mode) is thrown on to the caller's handling.
 */
template<typename Step> void ripetiInModalitaDebug(const Services &services, Step &&step)
{
    for (int ripetizioni = 0;; ++ripetizioni) {
        try {
            step();
            return;
        } catch (const RoutineError &error) {
            if (!ModalitaDebug(services.commandLine) || ripetizioni >= RipetizioniDebug)
                throw;
            services.prompt.ask(Prompt::Icon::None, Prompt::Buttons::Ok, QString(), error.description());
        }
    }
}

} // namespace kx
