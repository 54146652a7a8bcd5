#pragma once

#include "applications/SezioneFrame.h"

#include <QList>
#include <QString>

namespace kx {
class Connection;
struct CurrentApplication;
} // namespace kx

/** The legal seat of an application as its window shows it; every Null column reads as "". */
struct SchedaSedeLegale
{
    /** Caption of lblComponente: the seat's code, the key of the snapshot and registry rows. */
    QString Componente;
    QString Denominazione;
    QString ComDes;
    QString CodComune;
    QString SigProv;
    QString Cap;
    QString Indirizzo;
    QString StatoEstero;
    QString CittaEstero;
    QString Tel;
    QString Fax;
    QString Email;
    QString Riferimento;
};

/** One legal seat read from the application's view, with whether the registry knows the seat. */
struct RigaSedeLegale
{
    SchedaSedeLegale scheda;
    /** The view's Componente column is Null: the registry holds no component for the seat. */
    bool componenteNullo = true;
    /** The snapshot's columns that the save writes, as stored (Null kept), in ColonneSedeLegale's order. */
    QVariantList memorizzati;
};

/** The snapshot's columns of the legal seat that its save compares before writing. */
inline const QString ColonneSedeLegale =
    QStringLiteral("CodComune, Cap, Indirizzo, Tel, Fax, StatoEstero, CittaEstero, Riferimento, Email");

/** The legal seats ("SL") of the current application, in seat order. */
QList<RigaSedeLegale> leggiSediLegali(kx::Connection &connection, const kx::CurrentApplication &domanda);

/** The message when the application has no legal seat, or several; empty when it has exactly one. */
QString anomaliaSediLegali(qsizetype righe);

/**
 * The window's own e-mail rule: exactly one "@", not first, and a last "." after it that is not the
 * last character. Nothing else is tested.
 */
bool FormatoEMailCorretto(const QString &testo);

/** The first check of the legal seat that fails. */
struct VerificaSedeLegale
{
    /** 1 to 4; 0 when every check passed. */
    int controllo = 0;
    /** Empty when the check fails without a message. */
    QString messaggio;
    /** The control that gets the focus. */
    QString campo;

    bool superata() const { return controllo == 0; }
};

/** Title of the boxes of the legal seat's checks. */
inline const QString TitoloVerificaDati = QStringLiteral("Verifica Dati");

VerificaSedeLegale ControllaSedeLegale(const SchedaSedeLegale &scheda, bool componenteNullo);

/** True when the window shows what the view holds (name, municipality code, CAP, address, contacts). */
bool SedeLegaleInvariata(const SchedaSedeLegale &mostrata, const SchedaSedeLegale &memorizzata);

/** The values a save stores in the snapshot's ColonneSedeLegale, in that order. */
QVariantList valoriSedeLegale(const SchedaSedeLegale &scheda);

/** How the writing of a seat went. */
struct EsitoScritturaSede
{
    /** The application itself is gone: nothing was written. */
    bool domandaCancellata = false;
    /** The registry holds no row of the seat: only the application's snapshot was written. */
    bool registroMancante = false;
};

/**
 * Writes the legal seat into the application's snapshot row and into the operator's registry row,
 * in one transaction. With `Scrittura::SeInvariata` the snapshot row must still hold `caricati` (the
 * row's `memorizzati` as the window loaded it); otherwise RigaModificataAltrove and nothing is
 * written. A snapshot row that is gone throws the deleted-row error (nothing written); with
 * `reinserisci` the snapshot row is written again whole. Any failure leaves both rows as they were.
 */
EsitoScritturaSede scriviSedeLegale(kx::Connection &connection, const kx::CurrentApplication &domanda,
                                    const SchedaSedeLegale &scheda, const QVariantList &caricati,
                                    Scrittura scrittura, bool reinserisci);
