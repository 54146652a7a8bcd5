#include "refdata/AggiornaSediInteressate.h"

#include "core/data/DataEnvironment.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/**
 * The seats of an operator as the registry holds them, in the order the seat rows take their
 * values: group, number, seat code, type, name, municipality, postal code, address, telephone,
 * fax, foreign state and city. Read from the tables behind QryCompo and QrySediOccUtil: their
 * municipality columns are not needed here, and an occasional seat missing from CorsiSediOcc is
 * left out as it is there.
 */
const QString Componenti =
    u"SELECT GrupOpe, Operatore, Componente, TipoCompo, Denominazione, CodComune, Cap, "
    u"Indirizzo, Tel, Fax, StatoEstero, CittaEstero FROM CorsiCompo "
    u"WHERE GrupOpe = ? AND Operatore = ?"_s;
const QString SediOccasionali =
    u"SELECT U.GrupOpe, U.Operatore, O.SedeOcc, O.TipoCompo, O.Denominazione, O.CodComune, O.Cap, "
    u"O.Indirizzo, O.Tel, O.Fax, '', '' FROM CorsiSediOccUtil U JOIN CorsiSediOcc O ON O.SedeOcc = U.SedeOcc "
    u"WHERE U.GrupOpe = ? AND U.Operatore = ?"_s;

const QStringList ColonneSede{u"GrupOpe"_s,   u"Operatore"_s,     u"SedeInteressata"_s,
                              u"TipoCompo"_s, u"Denominazione"_s, u"CodComune"_s,
                              u"Cap"_s,       u"Indirizzo"_s,     u"Tel"_s,
                              u"Fax"_s,       u"StatoEstero"_s,   u"CittaEstero"_s};

const QString CodiceSede = u"SedeInteressata"_s;

/** Filled from the registry only where the seat row has none. */
bool soloSeVuota(const QString &colonna, bool componente)
{
    if (colonna == u"Cap" || colonna == u"Tel" || colonna == u"Fax")
        return true;
    return componente && (colonna == u"StatoEstero" || colonna == u"CittaEstero");
}

QString aggiornamentoSede(bool componente)
{
    QStringList assegnazioni;
    for (const QString &colonna : ColonneSede) {
        // The seat code is the row's key: the same number, and rewriting it would rewrite its index entry.
        if (colonna == CodiceSede)
            continue;
        if (soloSeVuota(colonna, componente))
            assegnazioni.append(colonna + u" = CASE WHEN IFNULL("_s + colonna + u", '') = '' THEN ? ELSE "_s +
                                colonna + u" END"_s);
        else
            assegnazioni.append(colonna + u" = ?"_s);
    }
    return u"UPDATE CorsiSediInteressate SET "_s + assegnazioni.join(u", "_s) +
           u" WHERE NumDoma = ? AND SedeInteressata = ?"_s;
}

const QString NuovaSede = u"INSERT INTO CorsiSediInteressate (NumDoma, Riferimento, Email, "_s +
                          ColonneSede.join(u", "_s) + u") VALUES (?, '', '', "_s +
                          QStringList(ColonneSede.size(), u"?"_s).join(u", "_s) + u')';

/** Each seat of the query: its row updated by key, or added when the application lacks it. */
void aggiornaSedi(Connection &corsiDB, const QVariant &numDoma, const QList<QVariantList> &sedi,
                  const QString &aggiornamento)
{
    for (const QVariantList &sede : sedi) {
        QVariantList valori = sede;
        valori.removeAt(2);
        valori.append(numDoma);
        valori.append(sede.at(2));
        if (corsiDB.execute(aggiornamento, valori) == 0)
            corsiDB.execute(NuovaSede, QVariantList{numDoma} + sede);
    }
}

} // namespace

void AggiornaSediInteressate(Context &context)
{
    Connection &corsiDB = context.DE().CorsiDB();
    try {
        Transaction transaction(corsiDB);
        const QString aggiornaComponente = aggiornamentoSede(true);
        const QString aggiornaSedeOcc = aggiornamentoSede(false);
        const QueryResult domande = corsiDB.query(
            u"SELECT NumDoma, GrupOpe, Operatore FROM Domande WHERE DomandaStampata = 0 ORDER BY rowid"_s);
        for (const QVariantList &domanda : domande.rows) {
            const QVariantList operatore{domanda.at(1), domanda.at(2)};
            aggiornaSedi(corsiDB, domanda.at(0), corsiDB.rows(Componenti, operatore), aggiornaComponente);
            aggiornaSedi(corsiDB, domanda.at(0), corsiDB.rows(SediOccasionali, operatore), aggiornaSedeOcc);
        }
        transaction.commit();
    } catch (const std::exception &caught) {
        // The guard has undone the refresh by now: the box is shown with nothing half done.
        context.prompt.critical(
            QString(), testoErroreRoutine(u"Errore in AggiornaSediInteressate"_s, comeErroreRoutine(caught)));
    }
}
