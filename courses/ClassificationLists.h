#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

namespace kx {
class Connection;
} // namespace kx

/**
 * The entries of the course editor's lists, read from the decode tables. Every list begins with the
 * blank entry; a coded entry is the code, two blanks and the description, so that the code is the
 * text before the first blank. Codes reach the statements as bound values, never as SQL text.
 * Failures of the database throw RoutineError; a loader's caller shows its box.
 */

/** The two actions whose courses refer to an approved course and last one year. */
inline const QString AzioneRiferimentoB111 = QStringLiteral("1.8II.2.04.07");
inline const QString AzioneRiferimentoC211 = QStringLiteral("2.9I.7.01.01");

/** The province whose axes, measures and actions the lists offer. */
inline const QString ProvinciaCorsi = QStringLiteral("001");

/** The action code: the codes of the axis, measure and action entries joined with "." (".." for none). */
QString actionCode(const QString &asse, const QString &misura, const QString &azione);

/** One of the two special actions, compared exactly, letter case included. */
bool isSpecialAction(const QString &codiceAzione);

/** Financial cycles, by code. */
QStringList IniCmbCicloFin(kx::Connection &db);
/** The axes enabled for the province, by code. */
QStringList IniAsse(kx::Connection &db);
/** The measures enabled for the province, of the axis entry shown when there is one. */
QStringList IniMisura(kx::Connection &db, const QString &asse);
/** The actions enabled for the province, of the axis and the measure entries shown when there are. */
QStringList IniAzione(kx::Connection &db, const QString &asse, const QString &misura);
/** The course names of the action (names alone, no code); a name that is Null fails with 94. */
QStringList IniDenCorso(kx::Connection &db, const QString &codiceAzione);
/** The target groups of the action, by code. */
QStringList IniDesta(kx::Connection &db, const QString &codiceAzione);

/** The durations an action offers: "1" for the two special actions, none for the others. */
QStringList IniComp(const QString &codiceAzione);

/** The responsible components a course at the seat may name, and the one to preselect. */
struct ComponentiResponsabili
{
    QStringList voci;
    /** The entry selected at the opening: the only component when there is exactly one, else -1. */
    int preselezione = -1;
};

/**
 * The entry of a responsible component: the seat code padded to three characters (a longer code
 * whole, so that the entry's code is the component's number), " - ", the first
 * 35 characters of the name, " - ", the seat type, " - ", the address; Null counts as "". The display
 * of a stored course builds the same text to select it.
 */
QString voceComponenteResponsabile(const QVariant &sede, const QVariant &denominazione,
                                   const QVariant &tipoCompo, const QVariant &indirizzo);

/**
 * The application's own seats (not occasional ones, names and addresses of its snapshot) that the
 * operator's registry lists as users of the seat, in seat order. A component's seat has none.
 */
ComponentiResponsabili IniCompoResp(kx::Connection &db, qint32 numDoma, const QString &grupOpe,
                                    const QString &operatore, const QString &sede);
