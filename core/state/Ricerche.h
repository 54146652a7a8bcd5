#pragma once

#include <QString>

namespace kx {
class Context;
class Prompt;
} // namespace kx

/** The description of a province, or an empty text; a failure is shown under "Errore". */
QString RecuperaDesProv(kx::Context &context, const QString &codice);

/** The abbreviation of a province, or an empty text; a failure is shown under "Errore". */
QString RecuperaSigProv(kx::Context &context, const QString &codice);

/** The box of an operator without a legal seat, which makes the program unusable. */
void avvisaMancaSedeLegale(kx::Prompt &prompt, const QString &grupOpe, qint32 operatore);

/**
 * The component number, as text, of the operator's legal seat, or "0" when it has none. In the mode
 * "Installazione" a missing legal seat empties the registry and ends the program after its box.
 */
QString RecuperaSedeLegale(kx::Context &context, const QString &grupOpe, qint32 operatore,
                           const QString &modo);

/** The involved seats of the current application that carry courses. */
int ContaSediInteressate(kx::Context &context);

/** The courses of the current application. */
int ContaCorsi(kx::Context &context);

/** The total cost of the current application's courses; a course without an amount counts 0. */
double CalcolaTotaleSpesa(kx::Context &context);

/** The key text of an approved course, at most 100 characters; a missing course fails with 3021. */
QString ChiaveUtenteCorso(kx::Context &context, qint32 idAttivita);

/** True when a component of the current operator uses the occasional seat. */
bool SedeOccUtilizzata(kx::Context &context, int componente, const QString &sedeOcc);
