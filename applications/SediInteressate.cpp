#include "applications/SediInteressate.h"

#include "applications/SezioneFrame.h"
#include "core/data/Connection.h"
#include "core/services/RoutineError.h"
#include "core/state/CurrentApplication.h"
#include "core/text/TextRoutines.h"

using namespace Qt::StringLiterals;
using namespace kx;

namespace {
const QString Separatore = u" - "_s;
} // namespace

QString rigaElencoSedi(const QVariant &sede, const QVariant &denominazione, const QVariant &tipoCompo,
                       const QVariant &indirizzo)
{
    const QString codice = trimBlanks(NonNull(sede));
    if (codice.size() > 5)
        throw RoutineError(ErrorCode::InvalidProcedureCall);
    return Allinea(codice, 5, u"sx"_s) + Separatore +
           Allinea(TroncaTesto(NonNull(denominazione), 27), 30, u"sx"_s) + Separatore + NonNull(tipoCompo) +
           Separatore + NonNull(indirizzo);
}

QString sedeDellaRiga(const QString &riga)
{
    return trimBlanks(riga.left(6));
}

ElencoSedi caricaElencoSedi(Connection &connection, const CurrentApplication &domanda,
                            const QString &sedeScelta)
{
    const qint64 operatore = numeroDaTesto(domanda.OperatoreCorrente);
    const QueryResult risultato = connection.query(
        u"SELECT SedeInteressata, \"CorsiSediInteressate.Denominazione\", TipoCompo, Indirizzo "
        u"FROM QrySediInteressate WHERE GrupOpe=? AND Operatore=? AND NumDoma=? "
        u"ORDER BY GrupOpe, Operatore, SedeInteressata"_s,
        {domanda.GrupOpeCorrente, operatore, domanda.NumDomaCorrente});
    ElencoSedi elenco;
    for (const QVariantList &r : risultato.rows) {
        elenco.righe << rigaElencoSedi(r[0], r[1], r[2], r[3]);
        elenco.codici << r[0].toLongLong();
        if (NonNull(r[0]) == sedeScelta)
            elenco.selezionata = int(elenco.righe.size()) - 1;
    }
    return elenco;
}

QList<SchedaSede> leggiSedi(Connection &connection, const CurrentApplication &domanda)
{
    const QueryResult risultato = connection.query(
        u"SELECT S.SedeInteressata, S.Denominazione, S.TipoCompo, T.Descrizione, S.CodComune, "
        u"Q.Denominazione, "
        u"Q.SigProv, S.Cap, Q.Descrizione, S.Indirizzo, S.StatoEstero, S.CittaEstero, S.Tel, S.Fax, S.Email, "
        u"S.Riferimento FROM CorsiSediInteressate S LEFT JOIN TipoCompo T ON T.TipoCompo = S.TipoCompo "
        u"LEFT JOIN QryComuniProv Q ON Q.CodComune = S.CodComune "
        u"WHERE S.GrupOpe=? AND S.Operatore=? AND S.NumDoma=? ORDER BY S.SedeInteressata"_s,
        {domanda.GrupOpeCorrente, numeroDaTesto(domanda.OperatoreCorrente), domanda.NumDomaCorrente});
    QList<SchedaSede> sedi;
    for (const QVariantList &r : risultato.rows) {
        SchedaSede s;
        s.SedeInteressata = NonNull(r[0]);
        s.Denominazione = NonNull(r[1]);
        s.TipoCompo = NonNull(r[2]);
        s.tipoSenzaDescrizione = r[3].isNull();
        s.DescrizioneTipo = NonNull(r[3]);
        s.CodComune = NonNull(r[4]);
        s.ComDes = NonNull(r[5]);
        s.SigProv = NonNull(r[6]);
        s.Cap = NonNull(r[7]);
        s.Bacino = NonNull(r[8]);
        s.Indirizzo = NonNull(r[9]);
        s.StatoEstero = NonNull(r[10]);
        s.CittaEstero = NonNull(r[11]);
        s.Tel = NonNull(r[12]);
        s.Fax = NonNull(r[13]);
        s.Email = NonNull(r[14]);
        s.Riferimento = NonNull(r[15]);
        sedi << s;
    }
    return sedi;
}

QString voceTipoCompo(const SchedaSede &sede)
{
    return sede.tipoSenzaDescrizione ? QString() : sede.TipoCompo + u"  "_s + sede.DescrizioneTipo;
}

IndirizzoMostrato regoleIndirizzo(const SchedaSede &s, bool solaLettura)
{
    IndirizzoMostrato m{s.ComDes, s.CodComune, s.SigProv, s.Cap, s.StatoEstero, s.CittaEstero};
    if (m.ComDes.isEmpty()) {
        m.CodComune.clear();
        m.Prov.clear();
    }
    if (!solaLettura && (!m.StatoEstero.isEmpty() || !m.CittaEstero.isEmpty())) {
        m.ComDes.clear();
        m.CodComune.clear();
        m.Cap.clear();
        m.Prov.clear();
    }
    return m;
}

StatoNavigazione statoNavigazione(qsizetype posizione, qsizetype totale)
{
    if (totale <= 1)
        return StatoNavigazione::Unico;
    if (posizione <= 0)
        return StatoNavigazione::Primo;
    if (posizione >= totale - 1)
        return StatoNavigazione::Ultimo;
    return StatoNavigazione::Tutti;
}

QList<bool> pulsantiAbilitati(StatoNavigazione stato)
{
    switch (stato) {
    case StatoNavigazione::Primo:
        return {false, false, true, true, true};
    case StatoNavigazione::Ultimo:
        return {true, true, false, false, true};
    case StatoNavigazione::Unico:
        return {false, false, false, false, false};
    case StatoNavigazione::Tutti:
        break;
    }
    return {true, true, true, true, true};
}

qsizetype posizioneDopo(Direzione direzione, qsizetype posizione, qsizetype totale)
{
    const qsizetype ultima = std::max<qsizetype>(totale - 1, 0);
    switch (direzione) {
    case Direzione::Primo:
        return 0;
    case Direzione::Ultimo:
        return ultima;
    case Direzione::Successivo:
        return std::min(posizione + 1, ultima);
    case Direzione::Precedente:
        break;
    }
    return std::max<qsizetype>(posizione - 1, 0);
}

bool SedeInvariata(const ContattiSede &c, const SchedaSede &s, const QString &capCaricato)
{
    return c.Email == s.Email && c.Riferimento == s.Riferimento && c.Tel == s.Tel && c.Fax == s.Fax &&
           c.Cap == capCaricato;
}

EsitoScritturaSedi scriviSede(Connection &connection, const CurrentApplication &domanda, const SchedaSede &s,
                              const ContattiSede &c, bool scriviCap, bool reinserisci)
{
    const qint64 operatore = numeroDaTesto(domanda.OperatoreCorrente);
    const qint64 sede = numeroDaTesto(s.SedeInteressata);
    const QVariant gruppo = valoreTesto(domanda.GrupOpeCorrente);
    EsitoScritturaSedi esito;

    Transaction transazione(connection);
    if (connection.scalar(u"SELECT COUNT(*) FROM Domande WHERE NumDoma=?"_s, {domanda.NumDomaCorrente})
            .toInt() == 0) {
        esito.domandaCancellata = true;
        return esito;
    }
    // Null keeps the stored CAP: a CAP the user did not touch is never written over.
    const QVariant capNuovo = scriviCap ? valoreTesto(c.Cap) : QVariant();
    const QString cap = scriviCap ? c.Cap : s.Cap;
    if (reinserisci) {
        connection.execute(
            u"INSERT INTO CorsiSediInteressate (NumDoma, SedeInteressata, GrupOpe, Operatore, TipoCompo, "
            u"Denominazione, CodComune, Cap, Indirizzo, Tel, Fax, StatoEstero, CittaEstero, Email, "
            u"Riferimento) "
            u"VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
            {domanda.NumDomaCorrente, sede, gruppo, operatore, valoreTesto(s.TipoCompo),
             valoreTesto(s.Denominazione), valoreTesto(s.CodComune), valoreTesto(cap),
             valoreTesto(s.Indirizzo), valoreTesto(c.Tel), valoreTesto(c.Fax), valoreTesto(s.StatoEstero),
             valoreTesto(s.CittaEstero), valoreTesto(c.Email), valoreTesto(c.Riferimento)});
    } else {
        const int righe = connection.execute(
            u"UPDATE CorsiSediInteressate SET GrupOpe=?, Operatore=?, Cap=COALESCE(?, "
            u"Cap), Tel=?, Fax=?, Email=?, "
            u"Riferimento=? WHERE NumDoma=? AND SedeInteressata=?"_s,
            {gruppo, operatore, capNuovo, valoreTesto(c.Tel), valoreTesto(c.Fax), valoreTesto(c.Email),
             valoreTesto(c.Riferimento), domanda.NumDomaCorrente, sede});
        if (righe == 0)
            throw RoutineError(ErrorCode::RowDeletedMeanwhile);
    }
    if (s.TipoCompo == u"UO"_s) {
        const int occasionale = connection.execute(u"UPDATE CorsiSediOcc SET Tel=?, Fax=? WHERE SedeOcc=?"_s,
                                                   {valoreTesto(c.Tel), valoreTesto(c.Fax), sede});
        const int uso = connection.execute(
            u"UPDATE CorsiSediOccUtil SET Email=?, Riferimento=? WHERE rowid = (SELECT rowid FROM "
            u"CorsiSediOccUtil WHERE GrupOpe=? AND Operatore=? AND SedeOcc=? ORDER BY Componente LIMIT 1)"_s,
            {valoreTesto(c.Email), valoreTesto(c.Riferimento), gruppo, operatore, sede});
        esito.registroMancante = occasionale == 0 || uso == 0;
    } else {
        esito.registroMancante =
            connection.execute(
                u"UPDATE CorsiCompo SET Cap=COALESCE(?, Cap), Tel=?, Fax=?, Email=?, Riferimento=? "
                u"WHERE GrupOpe=? AND Operatore=? AND Componente=?"_s,
                {capNuovo, valoreTesto(c.Tel), valoreTesto(c.Fax), valoreTesto(c.Email),
                 valoreTesto(c.Riferimento), gruppo, operatore, sede}) == 0;
    }
    transazione.commit();
    return esito;
}

QStringList vociTipoCompo(Connection &connection)
{
    QStringList voci{QString()};
    for (const QVariantList &r : connection.query(u"SELECT TipoCompo, Descrizione FROM TipoCompo"_s).rows)
        voci << NonNull(r[0]) + u"  "_s + NonNull(r[1]);
    return voci;
}
