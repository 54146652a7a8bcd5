#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace kx {

class Connection;
class Prompt;

/**
 * The body of the request for a new application number. Each value goes through the one rule of
 * the form requests, so an ordinary e-mail address travels exactly as typed.
 */
QByteArray corpoRichiestaNumero(const QString &grupOpe, const QString &operatore, const QString &email);

/**
 * The number a reply of the number service carries: trimmed of blanks, 1 to 10 digits with a value
 * from 1 to 2147483647. Anything else, a text holding "ERRORE" included, is no number, and so is any
 * reply with an HTTP status of 400 or more, whatever it holds.
 */
std::optional<qint32> numeroDomandaRicevuto(const QString &risposta, int statoHttp = 200);

/** What a new application is made of, besides the operator's registry data. */
struct DatiNuovaDomanda
{
    qint32 numDoma = 0;
    QString grupOpe;
    qint32 operatore = 0;
    QString prov;
};

/**
 * Adds the application in one transaction: the Domande row with its sequence number (the operator's
 * highest + 1), the operator's registry data copied into it column by column, and the snapshot of the
 * operator's components and of the occasional seats they use (CompilaU_SediInteressate). A failing
 * snapshot statement offers Retry; any failure that is not retried rolls everything back and is
 * passed on, so no half-made application is ever left.
 */
void CreaDomanda(Connection &corsiDB, Prompt &prompt, const DatiNuovaDomanda &dati);

/** The copy of the operator's registry data: Domande's column p + 3 takes CorsiOper's column p. */
void CopiaDatiOperatore(Connection &corsiDB, const DatiNuovaDomanda &dati);

/** The snapshot of the operator's seats into CorsiSediInteressate, components first. */
void CompilaU_SediInteressate(Connection &corsiDB, Prompt &prompt, const DatiNuovaDomanda &dati);

/** The messages of the creation, by their texts. */
namespace MessaggiCreazione {
QString numeroNonRitirato(const QString &indirizzoServer);
QString emailNecessaria();
QString impossibileContinuare();
QString erroreConnessione(const QString &indirizzoServer, const QString &percorsoServizio);
QString certificato(const QString &indirizzoServer);
QString numeroNonValido(const QString &indirizzoServer, const QString &percorsoServizio);
QString erroreSediInteressate(int numero, const QString &descrizione);
inline const QString DomandaInserita = QStringLiteral("Domanda inserita correttamente e selezionata.");
} // namespace MessaggiCreazione

/** The certificate download page of the server. */
QString indirizzoCertificato(const QString &indirizzoServer);

} // namespace kx
