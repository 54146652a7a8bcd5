#pragma once

#include "core/services/RoutineError.h"
#include "core/services/Services.h"

#include <QString>
#include <functional>

/**
 * The texts of the error boxes that many routines share, and the boxes that decide what happens
 * next. Every box that shows an error number builds its text here.
 */
namespace kx {

/** "Errore " and the number, CR LF, the description: the start-up's and the connection's form. */
QString testoErrore(const RoutineError &error);

/** The routine's name, " - ", the number, " - ", the description: the form of a routine's own box. */
QString testoErroreRoutine(const QString &routine, const RoutineError &error);

/**
 * "Errore ", the number with its sign place (a blank before a number that is not negative, so two
 * blanks follow "Errore"), " --> ", the description: how the loaders of text files begin their box.
 */
QString testoErroreCaricamento(const RoutineError &error);

/**
 * Opens the page in the user's browser; when none opened it, a box says so and shows the address to
 * copy into a browser (`primaDelMessaggio` runs before the box: the caller's busy pointer goes).
 * Returns whether the page opened.
 */
bool apriPagina(const Services &services, const QUrl &url,
                const std::function<void()> &primaDelMessaggio = {});

/** The text of the unexpected-error box: the error, then the plea to retry. */
QString unexpectedErrorText(const RoutineError &error);

/**
 * The box of a damaged database file, "Base dati danneggiata" with OK, then the end of the program:
 * what is read from the file cannot be trusted, and no retry mends it.
 */
void terminaBaseDatiDanneggiata(const Services &services, const RoutineError &error);

/**
 * The unexpected-error box: "Errore n", the description and the plea to retry, with Retry and Cancel
 * under the routine's name. Returns when the user chose Retry; Cancel ends the program at once. A
 * damaged database file gets its own box instead (terminaBaseDatiDanneggiata).
 */
void offerRetryOrExit(const Services &services, const QString &routine, const RoutineError &error);

/** Runs a step of a routine; when it fails, the unexpected-error box lets the user run it again. */
template<typename Step>
auto runWithRetry(const Services &services, const QString &routine, Step &&step) -> decltype(step())
{
    for (;;) {
        try {
            return step();
        } catch (const RoutineError &error) {
            offerRetryOrExit(services, routine, error);
        }
    }
}

/**
 * Any exception as a routine error: a RoutineError as it is, any other with the number 0 and its
 * own text (in Italian for the ones the program can meet).
 */
RoutineError comeErroreRoutine(const std::exception &error);

/**
 * For the start-up and the frame's activation, which have no handler of their own: the error's number
 * and description under the program's title, then the end of the program.
 */
void terminaPerErrore(const Services &services, const RoutineError &error);

} // namespace kx

namespace kx {

/**
 * The error box of a section window's save: "Errore n", the description, then that the record could
 * not be updated and the plea to retry or cancel.
 */
QString testoErroreAggiornamento(const RoutineError &error);

} // namespace kx
