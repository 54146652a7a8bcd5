#pragma once

#include "core/files/TextRecords.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kx {
class ProgramFolder;
} // namespace kx

/**
 * The rules of the operator download: the list of operators to ask for, the request, the reply, the
 * files it leaves, and the lines that show what arrived.
 */
namespace kx::ScaricoOperatori {

/** The operators one download may ask for. */
inline constexpr int MassimoVoci = 150;

/** The reply as written before it is split, in the program folder; deleted once split. */
inline const QString FilePacchetto = QStringLiteral("$tmpDenOp.tx1");

/** The heading above the confirmation lines. */
inline const QString IntestazioneConferma = QStringLiteral(" Operatore    Codice Fiscale      Denominazione");

/** A list item: the group, "      - ", the number right-aligned to five characters. */
QString voceElenco(const QString &gruppo, const QString &operatore);

/** What a click on an item puts back into the two inputs: the group and the number field. */
std::pair<QString, QString> inputDaVoce(const QString &voce);

/**
 * The body "g=<group>&c=<number>" for every item, in order, joined by "&"; empty for no item. The
 * values are form-encoded, so a typed "&" or "=" cannot add a pair of its own.
 */
QByteArray corpoRichiesta(const QStringList &voci);

/** True when ".tx1" occurs exactly four times in the reply, in any case. */
bool contaFileValida(const QString &risposta);

/**
 * True when the split bundle can be installed: the splitter accepted it, it wrote "oper.tx1" and
 * "compo.tx1", and "sediocc.tx1" and "sediutil.tx1" both or neither.
 */
bool pacchettoCompleto(const EsitoPacchetto &esito);

/** Deletes the files the split wrote; a file that cannot be deleted is left. */
void cancellaFileScritti(const ProgramFolder &folder, const EsitoPacchetto &esito);

/** Deletes every file of the folder whose name ends in ".tx1", in any case; failures are ignored. */
void cancellaFileTx1(const ProgramFolder &folder);

/**
 * Piece n (from 1) of the text cut at the separator, as the program has always cut its records:
 * the piece before the first separator is piece 1; past the last piece, what is left without its
 * last character.
 */
QString EstraiToken(const QString &text, const QString &separator, int n);

/**
 * The confirmation line of a record of "oper.tx1": group, number padded to six characters (a longer
 * one whole), three blanks, tax code, three blanks, the name cut to 42 characters and "...".
 */
QString rigaConferma(const QString &record);

} // namespace kx::ScaricoOperatori
