#pragma once

#include "core/state/CourseEditorState.h"

#include <QString>
#include <functional>
#include <optional>

namespace kx {
class Prompt;
class Recordset;
struct CurrentApplication;
} // namespace kx

/**
 * The approved and financed course that a course of the two reference actions refers to: which
 * approved courses the picker offers, what it hands back, how the editor shows it, and how the
 * choice of financial cycle bears on it.
 */

/**
 * The picker's filter on QryCorsiApprovati: the current operator's approved courses of the cycle
 * chosen in the editor, at a component seat those of that responsible component, at an occasional
 * seat (code 1000 or more) those held at that occasional seat.
 */
QString filtroCorsiApprovati(const kx::CurrentApplication &domanda, const kx::CourseEditorState &corsi);

/** The order of the picker's rows. */
inline const QString OrdineCorsiApprovati = QStringLiteral("ProgrAttivita, Componente, DenCorso");

/**
 * The nine fields of the picker's current row, taken by the grid's column positions. A Null number,
 * or one that is no 32-bit whole number, is nothing; Null texts are empty.
 */
kx::CorsoApprovato corsoApprovatoDaRiga(const kx::Recordset &rs);

/**
 * The reference as the editor shows it: progressive number of the activity, of the accorpation, the
 * responsible component and the first 35 characters of the name, joined by " - ".
 */
QString testoCorsoRiferimento(const QString &progrAttivita, const QString &progrAccorp,
                              const QString &componente, const QString &denCorso);

/** What a chosen approved course puts into the editor: the reference text and the five hidden labels. */
struct TestiRiferimento
{
    QString txtCorsoRifB111;
    QString lblidattivita_CorsoRifB111;
    QString lblTotOreIter;
    QString lblDurataAnnuale;
    QString lblDurataTotIter;
    QString lblTipoConv;
};

TestiRiferimento testiRiferimento(const kx::CorsoApprovato &corso);

inline const QString TestoSelezionareCiclo = QStringLiteral("Selezionare il ciclo finanziario");

/**
 * The picker button of the editor: without a cycle chosen (`cicloMostrato`, the cycle list's text)
 * it says so and stops; otherwise it clears the last choice, lets `apriPicker` show the picker, and
 * returns what to show for the course chosen there, nothing when none was.
 */
std::optional<TestiRiferimento> scegliCorsoRiferimento(kx::Prompt &prompt, kx::CourseEditorState &corsi,
                                                       const QString &cicloMostrato,
                                                       const std::function<void()> &apriPicker);

inline const QString TestoCambioCiclo =
    QStringLiteral(
        "E' già stato selezionato un corso di riferimento appartenente ad un altro ciclo "
        "finanziario, confermando la selezione il corso di riferimento dovrà essere reimpostato.") +
    QStringLiteral("\r\nConfermi il nuovo ciclo finanziario?");

enum class EsitoCambioCiclo
{
    /** The cycle shown is the editor's cycle now. */
    Accettato,
    /** The user kept the cycle chosen before: the list goes back to CicloFinanziarioCorrente. */
    Rifiutato
};

/**
 * A selection in the cycle list, made by the user or by the program. When the cycle changes while a
 * reference is shown, the user confirms the change, which empties the reference text (the hidden
 * labels wait for the next pick), or refuses it. A showing of a stored course sets
 * CicloFinanziarioCorrente before it selects the cycle, so it never asks.
 */
EsitoCambioCiclo cambioCicloFinanziario(kx::Prompt &prompt, kx::CourseEditorState &corsi,
                                        const QString &cicloMostrato, QString &txtCorsoRifB111);
