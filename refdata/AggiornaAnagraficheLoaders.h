#pragma once

#include <QString>

namespace kx {
class Context;
class RoutineError;
} // namespace kx

/**
 * The loaders of the registry update: each brings one master-data file into its table, adding the
 * rows whose key is new and updating, by their own rules, the rows that exist; nothing is deleted.
 * They work on the caller's transaction and never commit: a loader that returns False has shown
 * its own box, and what it wrote before is undone by the caller.
 *
 * Each row is found by its key with bound values and written by one statement, so a failing line
 * leaves no row half written. A key or number field that does not read as a number fails the load
 * like any other error: "Errore " + number with its sign place + " --> " + description, LF CR, the
 * loader's phrase, under "Aggiornamento Base Dati - " + the loader's name, and the result False.
 *
 * The file is a name in the program folder or a path; the table names the loader's table; the
 * update log is not written by these loaders.
 */
namespace kx::AggiornamentoAnagrafiche {

/** The phrase of each loader's error box, after the error. */
inline const QString FraseOper =
    QStringLiteral("durante il caricamento dei dati anagrafici dell' OPERATORE/I");
inline const QString FraseCompo =
    QStringLiteral("durante il caricamento dei dati anagrafici del COMPONENTE/I");
inline const QString FraseSediOcc =
    QStringLiteral("durante il caricamento dei dati anagrafici delle SEDI OCCASIONALI");
inline const QString FraseSediOccUtil =
    QStringLiteral("durante il caricamento dei dati di utilizzo delle SEDI OCCASIONALI");

inline const QString TitoloAggiornamento = QStringLiteral("Aggiornamento Base Dati");

/** The text of an update loader's error box: the error with its sign place, LF CR, the phrase. */
QString testoErroreAggiornamento(const RoutineError &error, const QString &frase);

/** Shows a loader's error box, under "Aggiornamento Base Dati - " + its name; always false. */
bool erroreAggiornamento(Context &context, const QString &nome, const RoutineError &error,
                         const QString &frase);

} // namespace kx::AggiornamentoAnagrafiche

/**
 * "oper.tx1" into CorsiOper. A new operator takes every field (its activity code must be a number);
 * an existing one always takes group, number, name, type, tax code and VAT number, and the other
 * fields only where the file holds a value. An empty file: its box and False.
 */
bool AggCorsiOper(kx::Context &context, const QString &file, const QString &tabella, const QString &fileLog);

/**
 * "compo.tx1" into CorsiCompo. A new component takes every field, and empty e-mail and contact
 * person; an existing one always takes key, type, name, municipality and address, and postal code,
 * telephone, fax, foreign state and city only where the file holds a value. An empty file: its box
 * and False.
 */
bool AggCorsiCompo(kx::Context &context, const QString &file, const QString &tabella, const QString &fileLog);

/**
 * For every operator of "oper.tx1" whose correspondence component is 0 or missing: its legal seat,
 * or 0 while it has none. An operator of the file without its CorsiOper row fails the load (3021).
 */
bool AggCorsiOperCorrisp(kx::Context &context, const QString &file, const QString &tabella,
                         const QString &fileLog);

/**
 * "sediocc.tx1" into CorsiSediOcc. True without loading when the file is missing, or when it and
 * "sediutil.tx1" are both empty; one of the two empty and not the other is an inconsistency: its
 * box and False. A new seat is of type "UO"; an existing one keeps its type, takes the name always,
 * address, municipality and postal code where the file holds them, telephone and fax only where it
 * has none.
 */
bool AggCorsiSediOcc(kx::Context &context, const QString &file, const QString &tabella,
                     const QString &fileLog);

/**
 * "sediutil.tx1" into CorsiSediOccUtil: a new use with empty e-mail and contact person, an existing
 * one left with its own. A missing or empty file loads nothing and succeeds.
 */
bool AggCorsiSediOccUtil(kx::Context &context, const QString &file, const QString &tabella,
                         const QString &fileLog);
