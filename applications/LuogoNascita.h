#pragma once

#include <QString>
#include <array>
#include <functional>
#include <optional>

namespace kx {
class DataEnvironment;
class Prompt;
} // namespace kx

/**
 * The legal representative's birth place on the operator card: the birth-place box, the province box
 * and what the check remembers between two focus changes.
 *
 * The province box is enabled and filled for a municipality of the table, empty and disabled for a
 * foreign state, and empty, enabled and open to typing for a municipality that the user declared
 * missing from the table; any other way of filling it locks it again.
 */
struct LuogoNascita
{
    /** txtcomleg */
    QString testo;
    /** txtProvLeg */
    QString provincia;
    bool provinciaAbilitata = true;
    bool provinciaDigitabile = false;
    /** LuogoNascitaIniziale: the text when the box last received the focus. */
    QString iniziale;
    /** RiverificaLuogoNascita: the next focus loss checks again even without a change. */
    bool riverifica = false;
};

/** Where a typed name is looked up. */
struct RicercheLuogo
{
    /** The province code of the first municipality of that name; nothing when there is none. */
    std::function<std::optional<QString>(const QString &nome)> comune;
    /** True when a foreign state has that name. */
    std::function<bool(const QString &nome)> statoEstero;
    /** The abbreviation of a province code, empty when the code is unknown. */
    std::function<QString(const QString &prov)> siglaProvincia;
};

/** What the check did, so the window can follow. */
struct EsitoLuogoNascita
{
    enum class Fuoco
    {
        Invariato,
        LuogoNascita,
        Provincia
    };
    /** A question was shown. */
    bool domande = false;
    Fuoco fuoco = Fuoco::Invariato;

    /** The user was held up: the action that moved the focus away is not carried out. */
    bool interrotto() const { return domande || fuoco != Fuoco::Invariato; }
};

inline const QString TitoloVerificaLuogo = QStringLiteral("Verifica Comune/Stato Estero");

/**
 * The check of the birth place when its box loses the focus. It runs only when the text differs from
 * the one the box had when it got the focus, or a re-check is pending. The name, without the blanks
 * around it, is looked up among the municipalities and then among the foreign states; a name found
 * in neither is confirmed by the user with two questions. The text itself is never rewritten.
 */
EsitoLuogoNascita VerificaLuogoNascita(LuogoNascita &luogo, const RicercheLuogo &ricerche, kx::Prompt &prompt,
                                       bool solaLettura);

/** The birth-place text changed: an empty box empties the province and, unless read-only, enables it. */
void LuogoNascitaCambiato(LuogoNascita &luogo, bool solaLettura);

/** A municipality chosen in its picker (code, name, abbreviation, postal code); false when none was. */
bool ComuneSceltoInLuogo(LuogoNascita &luogo, const std::array<QString, 4> &comune, bool solaLettura);

/** A foreign state chosen in its picker; false when none was (empty code). */
bool StatoSceltoInLuogo(LuogoNascita &luogo, const QString &codice, const QString &nome);

/**
 * The province code of the first municipality, in the table's order (by code), whose name equals the given
 * one without regard to case.
 */
std::optional<QString> cercaComune(kx::DataEnvironment &de, const QString &nome);

/**
 * True when a foreign state has the name, compared without regard to case. The search goes through
 * rsStatiEsteri, from its first row, and leaves it closed.
 */
bool cercaStatoEstero(kx::DataEnvironment &de, const QString &nome);
