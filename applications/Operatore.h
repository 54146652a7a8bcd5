#pragma once

#include "applications/SezioneFrame.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>

namespace kx {
class Connection;
class DataEnvironment;
class Recordset;
} // namespace kx

/**
 * The operator card's fields as the window shows them, in the order the save writes them. The four
 * lists hold the text of their shown item ("" for the blank item); GrupOpe and Operatore are the
 * captions of the two code labels.
 */
struct SchedaOperatore
{
    QString GrupOpe;
    QString Operatore;
    QString DenominazioneOp;
    QString TipoOper;
    QString Corrispondenza;
    QString LegNome;
    QString LegComNasc;
    QString LegProvNasc;
    QString LegGGNasc;
    QString LegMMNasc;
    QString LegAAAANasc;
    QString ContIBAN;
    QString ContDesBanca;
    QString ContAge;
    QString ContIndirAge;
    QString ContNumCC;
    QString ContIntCC;
    QString ProvCCIAA;
    QString CodCCIAA;
    QString AnnoCCIAA;
    QString AttEcono;
    QString GGPrece;
    QString MMPrece;
    QString AAAAPrece;
    QString DomProv;
    QString DomPrece;
    QString Direttiva;
    QString AnnoDirettiva;
};

/** The items of the card's four lists, each beginning with the blank item, in the tables' order. */
struct ListeOperatore
{
    QStringList cmbTOper;
    QStringList cmbCorrispondenza;
    QStringList cmbAEco;
    QStringList cmbDomProv;
};

/** The previous application's own item of the province list, before the provinces. */
inline const QString VoceRegione = QStringLiteral("REGIONE VALDORIA");

/**
 * The operator types of the group, the operator's own components, every economic activity and the
 * provinces of the region, read through their recordsets, which are left closed and unfiltered.
 */
ListeOperatore CaricaListe(kx::DataEnvironment &de, const QString &grupOpe, const QString &operatore);

/** The item of a component: number right-aligned in 5, the first 35 characters of its name, type, address. */
QString voceComponente(const QVariant &componente, const QVariant &denominazione, const QVariant &tipoCompo,
                       const QVariant &indirizzo);

/** What the card shows of its application row. */
struct VistaOperatore
{
    SchedaOperatore scheda;
    /** Caption of lblCodFiscPIva and the code shown in lblCodFisc: the VAT number wins. */
    QString didascaliaCodice;
    QString codice;
    /**
     * The birth province box's state: enabled for a stored province, disabled for an empty one (born
     * abroad), kept as it is for none stored.
     */
    std::optional<bool> provinciaNascitaAbilitata;
};

/**
 * CaricaDati: the current row of rsQryDomande as the card shows it. A list shows the item built from
 * the row, or the blank item where the row holds none; a stored value that no item of the list has
 * (a type or an activity missing from its decode table, a component no longer in the registry, an
 * unlisted province) is shown by an item holding the stored value, so that it is kept as it is.
 */
VistaOperatore CaricaDati(const kx::Recordset &rsQryDomande);

/** "0" in front of a text of exactly one character; any other text as it is. */
QString DueCifre(const QString &testo);

/**
 * True when no field of the card differs from the current row of rsQryDomande: texts exactly (a Null
 * column as ""), lists by their code, the component and the activity as whole numbers (the blank item
 * as 0; a Null component is unchanged only while the blank item is shown, a Null activity is not
 * compared), the previous application's province by its text.
 */
bool DatiInvariati(const SchedaOperatore &scheda, const kx::Recordset &rsQryDomande);

/** The first check that fails, with where the window sends the user. */
struct EsitoVerifica
{
    /** 1 to 13; 0 when every check passed. */
    int controllo = 0;
    QString messaggio;
    QString titolo;
    /** The control that gets the focus; empty when the focus stays where it is. */
    QString campo;
    /** The tab brought to the front; -1 when it stays. */
    int scheda = -1;

    bool superata() const { return controllo == 0; }
};

/** The thirteen checks of the card in their order; the first that fails is returned. */
EsitoVerifica VerifOperatore(const SchedaOperatore &scheda, bool provinciaNascitaAbilitata);

/**
 * A date typed as day, month and year is a date: three whole numbers, a month from 1 to 12 and a day
 * of that month. A year of one or two digits is taken in 1930 .. 2029.
 */
bool dataValida(const QString &giorno, const QString &mese, const QString &anno);

/** A year box passes when it holds a whole number of at most 16 bits that is greater than 1900. */
bool annoValido(const QString &anno);

/** How the writing of the card went. */
struct EsitoScrittura
{
    /** The application's row was gone: nothing was written. */
    bool domandaCancellata = false;
    /** The registry holds no row of the operator: only the application was written. */
    bool registroMancante = false;
};

/** The 28 columns of the application's row that the card writes, in the order of writing. */
const QStringList &colonneDomandaOperatore();

/** Those columns of the current row of rsQryDomande: the row as the card loaded it. */
QVariantList valoriCaricati(const kx::Recordset &rsQryDomande);

/**
 * Writes the card into the application's row and into the operator's registry row, in one
 * transaction: 28 columns there, the first 21 here (the previous application belongs to the
 * application alone). The registry row is the one of the current operator; the key values written
 * are the card's. With `Scrittura::SeInvariata` the application's row must still hold `caricati`
 * (valoriCaricati); otherwise RigaModificataAltrove and nothing is written. A conversion or database
 * failure throws and leaves both rows as they were.
 */
EsitoScrittura scriviOperatore(kx::Connection &connection, qint32 numDoma, const QString &grupOpeCorrente,
                               const QString &operatoreCorrente, const SchedaOperatore &scheda,
                               const QVariantList &caricati, Scrittura scrittura);
