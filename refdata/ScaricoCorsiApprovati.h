#pragma once

#include "core/files/TextRecords.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace kx {

class ProgramFolder;

/**
 * What the approved-courses download leaves for the rest of the run: the operator of the last
 * confirmation, which the viewer of the downloaded courses shows, and the identity token that the
 * alternative login gave, which serves every later download without a new login.
 */
struct StatoScaricoCorsi
{
    QString GrupOpeScarico;
    int OperatoreScarico = 0;
    QString IdAlbis;
};

/** The operator list's item: "G - N - Denominazione". */
QString voceOperatore(const QString &grupOpe, qint64 operatore, const QString &denominazione);

/** The group and number of an item of the operator list; none when the item is not of that form. */
struct OperatoreScelto
{
    QString grupOpe;
    int operatore = 0;
};
std::optional<OperatoreScelto> operatoreDaVoce(const QString &voce);

/**
 * The body of the request: "gruppo=", "&codice=" and "&albis_id=" with their values. A value goes as
 * it is unless it holds a character that would break the pairs, which is then percent-encoded.
 */
QByteArray corpoRichiestaCorsi(const QString &grupOpe, int operatore, const QString &token);

/**
 * The token of an identity-service reply: when the reply holds "RISPOSTA: OK" in any case, its piece
 * after the first ";", trimmed of blanks; otherwise, and when there is no such piece, empty.
 */
QString tokenDaRisposta(const QString &risposta);

/** True when the page text is the one of an address that cannot be reached. */
bool paginaNonRaggiungibile(const QString &testo);

/**
 * True when a completed reply is not a download: an HTTP status of 400 or more, or "<h" or "<H" in a
 * line that does not begin with "#" (an HTML page; records may hold anything).
 */
bool paginaHtmlNelloScarico(const QString &risposta);
bool rispostaNonValida(const QString &risposta, int status);

/** The reply from the position where the first "ERRORE", in any case, begins; empty when none. */
QString erroreDaRisposta(const QString &risposta);

/**
 * Writes the reply (and a line end) as "CorsiApprovati.tx1" and as the bundle "$tmpDenOp.tx1",
 * splits the bundle into its files and deletes it. When the split fails nothing of the reply is left:
 * "CorsiApprovati.tx1" and the bundle are deleted too.
 */
EsitoPacchetto scriviCorsiScaricati(const ProgramFolder &folder, const QString &percorsoDB,
                                    const QString &risposta);

} // namespace kx
