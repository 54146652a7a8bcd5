#pragma once

#include <QString>

namespace kx {
class AttesaControllo;
class Context;
class DataEnvironment;
} // namespace kx

/**
 * The number of CorsiProp rows the filter lets through, counted on the shared recordset rsCorsiProp,
 * which is left closed and without a filter. Database errors reach the caller.
 */
int ContaCorsiProp(kx::DataEnvironment &de, const QString &filtro);

/**
 * The completeness check of the current application before it is printed whole: the operator card,
 * the IBAN question, the legal seat and every involved seat that carries courses. The first rule
 * broken is shown in one box "Stampa non disponibile" and gives false; true when the application may
 * be printed, at once and without reading anything when it is already printed in definitive form.
 * While it runs the main window shows its wait panel and bar, and the pointer is the hourglass.
 * A database error gets the unexpected-error box (Retry repeats the step, Cancel ends the program).
 */
bool VerifDomanda(kx::Context &context, kx::AttesaControllo &attesa);
