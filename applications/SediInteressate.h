#pragma once

#include "applications/SezioneFrame.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace kx {
class Connection;
struct CurrentApplication;
} // namespace kx

/**
 * The seat list picker's result, which its caller presets with the seat it shows: the code of the
 * seat chosen, and whether the picker was left with a choice.
 */
struct SceltaSede
{
    QString SedeScelta;
    bool SedeSceltaConfermata = false;
};

/**
 * A line of the seat list: code left-aligned in 5, " - ", the name shortened to 27 characters and
 * "..." and left-aligned in 30, " - ", type, " - ", address. A Null column shows as "". A code longer
 * than five characters is an invalid-argument error.
 */
QString rigaElencoSedi(const QVariant &sede, const QVariant &denominazione, const QVariant &tipoCompo,
                       const QVariant &indirizzo);

/** The seat code a line begins with: its first 6 characters without the blanks around them. */
QString sedeDellaRiga(const QString &riga);

/** The seat a choice list's entry "code - description" names. */
struct SedeScelta
{
    QString sede;
    QString descrizione;
};

/**
 * The code before the entry's first " - ", without blanks, and the rest after it, trimmed; nothing for
 * an empty entry (no seat chosen).
 */
std::optional<SedeScelta> sedeDaVoce(const QString &voce);

/** The lines of the current application's seats in code order, with the line of the preset seat. */
struct ElencoSedi
{
    QStringList righe;
    QList<qint64> codici;
    /** Index of the line of the preset seat; -1 when no seat has that code. */
    int selezionata = -1;
};

ElencoSedi caricaElencoSedi(kx::Connection &connection, const kx::CurrentApplication &domanda,
                            const QString &sedeScelta);

/** A seat's CAP and contacts as stored, a Null column kept as Null. */
struct ContattiMemorizzati
{
    QVariant Cap;
    QVariant Tel;
    QVariant Fax;
    QVariant Email;
    QVariant Riferimento;
};

/** An involved seat of the application as stored; every Null column reads as "". */
struct SchedaSede
{
    QString SedeInteressata;
    QString Denominazione;
    QString TipoCompo;
    /** The type's description; Null when the decode table lacks the type. */
    QString DescrizioneTipo;
    bool tipoSenzaDescrizione = true;
    QString CodComune;
    QString ComDes;
    QString SigProv;
    /** The seat's own CAP (never the municipality's). */
    QString Cap;
    /** The municipality's territorial area. */
    QString Bacino;
    QString Indirizzo;
    QString StatoEstero;
    QString CittaEstero;
    QString Tel;
    QString Fax;
    QString Email;
    QString Riferimento;
    /** The CAP and contacts as the snapshot holds them, for what a save compares and keeps. */
    ContattiMemorizzati memorizzati;
};

/** The application's seats in ascending code. */
QList<SchedaSede> leggiSedi(kx::Connection &connection, const kx::CurrentApplication &domanda);

/** The type list's item of a seat: code, two blanks, description; "" when the type has no description. */
QString voceTipoCompo(const SchedaSede &sede);

/** What the address boxes show once the address rules have run on a seat being loaded. */
struct IndirizzoMostrato
{
    QString ComDes;
    QString CodComune;
    QString Prov;
    QString Cap;
    QString StatoEstero;
    QString CittaEstero;
};

/**
 * A seat without municipality shows no municipality code and province; in edit mode a seat abroad
 * (foreign state or city) shows no municipality, code, CAP or province. Read-only shows both.
 */
IndirizzoMostrato regoleIndirizzo(const SchedaSede &sede, bool solaLettura);

/** The four states of the navigation buttons. */
enum class StatoNavigazione
{
    Primo,
    Ultimo,
    Unico,
    Tutti
};

/** The state for the seat at that position among so many seats. */
StatoNavigazione statoNavigazione(qsizetype posizione, qsizetype totale);

/** Which of cmdFirst, cmdPrevious, cmdNext, cmdLast, cmdVai a state enables, in that order. */
QList<bool> pulsantiAbilitati(StatoNavigazione stato);

enum class Direzione
{
    Primo,
    Precedente,
    Successivo,
    Ultimo
};

/** The position reached from a position by a move; it stays within the seats. */
qsizetype posizioneDopo(Direzione direzione, qsizetype posizione, qsizetype totale);

/** The contact data and CAP of a seat as the window holds them. */
struct ContattiSede
{
    QString Cap;
    QString Tel;
    QString Fax;
    QString Email;
    QString Riferimento;
};

/**
 * True when the boxes hold what the seat stores: e-mail, reference, telephone and fax against the
 * stored columns, the CAP against what its box showed after loading.
 */
bool SedeInvariata(const ContattiSede &mostrati, const SchedaSede &memorizzata, const QString &capCaricato);

/** How the writing of a seat went. */
struct EsitoScritturaSedi
{
    bool domandaCancellata = false;
    bool registroMancante = false;
};

/**
 * Writes what the boxes changed of a seat into the application's snapshot and back into the registry
 * (the component's row, or the occasional seat and its first use by the operator), in one
 * transaction. A box still holding what was loaded (the CAP as `capCaricato`) is not written, so a
 * stored value, Null included, stays as it is in every table. With `Scrittura::SeInvariata` the
 * snapshot row must still hold the CAP and contacts that were loaded; otherwise RigaModificataAltrove
 * and nothing is written. A snapshot row that is gone throws the deleted-row error; with `reinserisci`
 * the whole row is written again from `sede`, with the boxes that changed.
 */
EsitoScritturaSedi scriviSede(kx::Connection &connection, const kx::CurrentApplication &domanda,
                              const SchedaSede &sede, const ContattiSede &contatti,
                              const QString &capCaricato, Scrittura scrittura, bool reinserisci);

/** The seat as stored once a write of those boxes went through. */
void registraScrittura(SchedaSede &sede, const ContattiSede &scritti, const QString &capCaricato);

/** The items of the type list: the blank item, then code, two blanks and description per type. */
QStringList vociTipoCompo(kx::Connection &connection);
