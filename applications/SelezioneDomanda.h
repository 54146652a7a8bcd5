#pragma once

#include <QString>
#include <QVariant>

namespace kx {

class Connection;

/** The operator of an item of the operator list: group letter, number and name. */
struct OperatoreScelto
{
    QString grupOpe;
    qint32 operatore = 0;
    QString denominazione;
};

/** The item of the operator list: group, two blanks, number, two blanks, name (Null gives nothing). */
QString voceOperatore(const QVariant &grupOpe, const QVariant &operatore, const QVariant &denominazione);

/**
 * The parts of an operator item: the group is its first character, the number and the name the second
 * and third pieces between pairs of blanks (a name holding two blanks in a row is cut there). A number
 * that is not one fails with 13.
 */
OperatoreScelto scomponiVoceOperatore(const QString &voce);

/**
 * True when the item is the operator of that group and number, whatever its name: an operator renamed
 * by a registry update is still found.
 */
bool voceDellOperatore(const QString &voce, const QString &grupOpe, const QString &operatore);

/** The item of the province list: code, " - ", abbreviation, " - ", description. */
QString voceProvincia(const QVariant &prov, const QVariant &sigProv, const QVariant &desProv);

/** The province code of a province item: its text before the first "-", trimmed. */
QString codiceProvincia(const QString &voce);

/** "GrupOpe='A' AND Operatore=12": the applications of an operator. */
QString filtroOperatore(const QString &grupOpe, qint32 operatore);

/** The grid's filter: the operator's applications of the province. */
QString filtroGriglia(const QString &filtroOperatore, const QString &prov);

/** The province of the applications this installation lists and creates: the regional row. */
inline const QString ProvinciaRegionale = QStringLiteral("000");

/** How a deletion ended. */
enum class EsitoEliminazione
{
    Eliminata,
    /** Another installation deleted it meanwhile. */
    GiaCancellata,
    /** It was printed in final form meanwhile, and stays. */
    Stampata
};

/**
 * Deletes an application not printed in final form, with its seats and courses; tells a row deleted
 * or printed meanwhile by another installation from one it deleted.
 */
EsitoEliminazione EliminaDomanda(Connection &corsiDB, qint32 numDoma);

} // namespace kx
