#include "courses/Riassegnazione.h"

#include "core/data/Connection.h"
#include "core/state/CurrentApplication.h"
#include "core/text/TextRoutines.h"
#include "courses/CourseRecord.h"

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** The application's key as bound values: number, group, operator. */
QVariantList domandaCorrente(const CurrentApplication &domanda)
{
    return {domanda.NumDomaCorrente, domanda.GrupOpeCorrente, domanda.OperatoreCorrente.toLongLong()};
}

QList<SedeRiassegnazione> sedi(const QueryResult &righe)
{
    QList<SedeRiassegnazione> elenco;
    for (const QVariantList &riga : righe.rows) {
        const qint32 codice = riga.value(0).toInt();
        elenco.append({codice, voceSede(codice, riga.value(1), riga.value(2), riga.value(3))});
    }
    return elenco;
}

} // namespace

QString voceSede(qint32 codice, const QVariant &denominazione, const QVariant &tipoCompo,
                 const QVariant &indirizzo)
{
    const QString nome = NonNull(denominazione).left(35);
    if (codice < 1000)
        return RiempiSpazi(codice, 3) + u" - "_s + nome + u" - "_s + NonNull(tipoCompo) + u" - "_s +
               NonNull(indirizzo);
    return RiempiSpazi(codice, 5) + u" - "_s + nome + u" - "_s + NonNull(indirizzo) +
           u"   (SEDE OCCASIONALE)"_s;
}

QString voceCorso(const QString &corso, const QVariant &denCorso)
{
    return corso + u"   "_s + NonNull(denCorso);
}

QList<SedeRiassegnazione> IniSedeDa(Connection &db, const CurrentApplication &domanda)
{
    const QueryResult righe =
        db.query(u"SELECT P.SedeInteressata, S.Denominazione, S.TipoCompo, S.Indirizzo, S.SedeInteressata "
                 u"FROM (SELECT DISTINCT SedeInteressata FROM CorsiProp "
                 u"      WHERE NumDoma = ? AND GrupOpe = ? AND Operatore = ?) P "
                 u"LEFT JOIN CorsiSediInteressate S ON S.NumDoma = ? AND S.GrupOpe = ? AND S.Operatore = ? "
                 u"    AND S.SedeInteressata = P.SedeInteressata "
                 u"ORDER BY P.SedeInteressata"_s,
                 domandaCorrente(domanda) + domandaCorrente(domanda));
    QList<SedeRiassegnazione> elenco;
    for (const QVariantList &riga : righe.rows) {
        const qint32 codice = riga.value(0).toInt();
        // Without a row in the seat snapshot there is nothing to describe it with.
        if (riga.value(4).isNull())
            elenco.append({codice, RiempiSpazi(codice, codice < 1000 ? 3 : 5)});
        else
            elenco.append({codice, voceSede(codice, riga.value(1), riga.value(2), riga.value(3))});
    }
    return elenco;
}

QList<CorsoRiassegnazione> IniCorso(Connection &db, const CurrentApplication &domanda, qint32 sede)
{
    const QueryResult righe = db.query(
        u"SELECT Corso, \"CorsiProp.DenCorso\" FROM QryCorsi "
        u"WHERE NumDoma = ? AND GrupOpe = ? AND Operatore = ? AND SedeInteressata = ? ORDER BY Corso"_s,
        domandaCorrente(domanda) + QVariantList{sede});
    QList<CorsoRiassegnazione> elenco;
    for (const QVariantList &riga : righe.rows) {
        const QString corso = riga.value(0).toString();
        elenco.append({corso, voceCorso(corso, riga.value(1))});
    }
    return elenco;
}

QList<SedeRiassegnazione> IniSedeA(Connection &db, const CurrentApplication &domanda, qint32 sedeDa)
{
    return sedi(
        db.query(u"SELECT SedeInteressata, Denominazione, TipoCompo, Indirizzo FROM QrySediInteressate "
                 u"WHERE NumDoma = ? AND GrupOpe = ? AND Operatore = ? AND SedeInteressata <> ? "
                 u"ORDER BY SedeInteressata"_s,
                 domandaCorrente(domanda) + QVariantList{sedeDa}));
}

QList<ComponenteResponsabile> IniCompo(Connection &db, const CurrentApplication &domanda, qint32 sedeOcc)
{
    const QueryResult righe = db.query(
        u"SELECT S.SedeInteressata, S.Denominazione, S.TipoCompo, S.Indirizzo FROM QrySediInteressate S "
        u"WHERE S.NumDoma = ? AND S.GrupOpe = ? AND S.Operatore = ? AND S.TipoCompo <> 'UO' "
        u"AND EXISTS (SELECT 1 FROM CorsiSediOccUtil U WHERE U.GrupOpe = S.GrupOpe AND U.Operatore = "
        u"S.Operatore "
        u"            AND U.SedeOcc = ? AND U.Componente = S.SedeInteressata) "
        u"ORDER BY S.GrupOpe, S.Operatore, S.SedeInteressata"_s,
        domandaCorrente(domanda) + QVariantList{sedeOcc});
    QList<ComponenteResponsabile> elenco;
    for (const QVariantList &riga : righe.rows) {
        const qint32 componente = riga.value(0).toInt();
        elenco.append({componente, RiempiSpazi(componente, 3) + u" - "_s + NonNull(riga.value(1)).left(35) +
                                       u" - "_s + NonNull(riga.value(2)) + u" - "_s +
                                       NonNull(riga.value(3))});
    }
    return elenco;
}

std::optional<QString> ProgrCorsoSede(Connection &db, const CurrentApplication &domanda, qint32 sede)
{
    const QueryResult righe =
        db.query(u"SELECT Corso FROM CorsiProp "
                 u"WHERE NumDoma = ? AND GrupOpe = ? AND Operatore = ? AND SedeInteressata = ? "
                 u"GROUP BY Corso ORDER BY Corso"_s,
                 domandaCorrente(domanda) + QVariantList{sede});
    QStringList codici;
    for (const QVariantList &riga : righe.rows)
        codici.append(riga.value(0).toString());
    return nextCourseCode(codici);
}

EsitoSpostamento SpostaCorsi(Connection &db, const CurrentApplication &domanda,
                             const Spostamento &spostamento)
{
    const bool versoOccasionale = spostamento.sedeA >= 1000;
    const bool daOccasionale = spostamento.sedeDa >= 1000;
    QString assegnazioni = u"SedeInteressata = ?, Corso = ?"_s;
    if (versoOccasionale || daOccasionale)
        assegnazioni += u", CompoResp = ?"_s;
    const QString aggiornamento = u"UPDATE CorsiProp SET "_s + assegnazioni +
                                  u" WHERE NumDoma = ? AND GrupOpe = ? AND Operatore = ? "
                                  u"AND SedeInteressata = ? AND Corso = ?"_s;
    const QVariant compoResp = versoOccasionale ? QVariant(spostamento.compoRespScelto) : QVariant();

    EsitoSpostamento esito;
    Transaction transazione(db);
    // The destination's codes are read once: each course moved takes the code after the last one given.
    std::optional<QString> nuovoCodice = ProgrCorsoSede(db, domanda, spostamento.sedeA);
    for (const QString &corso : spostamento.corsi) {
        if (!nuovoCodice)
            return {true, {}};
        QVariantList valori{spostamento.sedeA, *nuovoCodice};
        if (versoOccasionale || daOccasionale)
            valori.append(compoResp);
        valori += domandaCorrente(domanda) + QVariantList{spostamento.sedeDa, corso};
        if (db.execute(aggiornamento, valori) > 0) {
            esito.nuoviCodici.append(*nuovoCodice);
            nuovoCodice = nextCourseCode({*nuovoCodice});
        }
    }
    transazione.commit();
    return esito;
}
