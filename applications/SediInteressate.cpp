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

std::optional<SedeScelta> sedeDaVoce(const QString &voce)
{
    if (trimBlanks(voce).isEmpty())
        return std::nullopt;
    const qsizetype separatore = voce.indexOf(Separatore);
    if (separatore < 0)
        return SedeScelta{trimBlanks(voce), QString()};
    return SedeScelta{trimBlanks(voce.left(separatore)),
                      trimBlanks(voce.mid(separatore + Separatore.size()))};
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
        s.memorizzati = {r[7], r[12], r[13], r[14], r[15]};
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

namespace {

/** A column and the value to write into it. */
struct Colonna
{
    QString nome;
    QVariant valore;
};

/** The SET list of the columns ("Tel=?, Fax=?"); their values are appended to `valori`. */
QString assegnazioni(const QList<Colonna> &colonne, QVariantList &valori)
{
    QStringList parti;
    for (const Colonna &c : colonne) {
        parti << c.nome + u"=?"_s;
        valori << c.valore;
    }
    return parti.join(u", "_s);
}

/** The columns among those named, in the order given. */
QList<Colonna> tra(const QList<Colonna> &colonne, const QStringList &nomi)
{
    QList<Colonna> scelte;
    for (const QString &nome : nomi)
        for (const Colonna &c : colonne)
            if (c.nome == nome)
                scelte << c;
    return scelte;
}

/** Updates a registry row with some columns; false when the row is missing. Nothing to write is no miss. */
bool aggiornaRegistro(Connection &connection, const QString &tabella, const QList<Colonna> &colonne,
                      const QString &condizione, const QVariantList &chiave)
{
    if (colonne.isEmpty())
        return true;
    QVariantList valori;
    const QString set = assegnazioni(colonne, valori);
    return connection.execute(u"UPDATE "_s + tabella + u" SET "_s + set + u" WHERE "_s + condizione,
                              valori + chiave) > 0;
}

} // namespace

EsitoScritturaSedi scriviSede(Connection &connection, const CurrentApplication &domanda, const SchedaSede &s,
                              const ContattiSede &c, const QString &capCaricato, Scrittura scrittura,
                              bool reinserisci)
{
    const qint64 operatore = numeroDaTesto(domanda.OperatoreCorrente);
    const qint64 sede = numeroDaTesto(s.SedeInteressata);
    const QVariant gruppo = valoreTesto(domanda.GrupOpeCorrente);
    const ContattiMemorizzati &m = s.memorizzati;

    // Only the boxes the user changed are written; the others keep what is stored.
    QList<Colonna> cambiate;
    if (c.Cap != capCaricato)
        cambiate << Colonna{u"Cap"_s, valoreTesto(c.Cap)};
    if (c.Tel != s.Tel)
        cambiate << Colonna{u"Tel"_s, valoreTesto(c.Tel)};
    if (c.Fax != s.Fax)
        cambiate << Colonna{u"Fax"_s, valoreTesto(c.Fax)};
    if (c.Email != s.Email)
        cambiate << Colonna{u"Email"_s, valoreTesto(c.Email)};
    if (c.Riferimento != s.Riferimento)
        cambiate << Colonna{u"Riferimento"_s, valoreTesto(c.Riferimento)};
    auto valore = [&cambiate](const QString &nome, const QVariant &memorizzato) {
        const QList<Colonna> colonna = tra(cambiate, {nome});
        return colonna.isEmpty() ? memorizzato : colonna.front().valore;
    };

    EsitoScritturaSedi esito;
    Transaction transazione(connection);
    if (connection.scalar(u"SELECT COUNT(*) FROM Domande WHERE NumDoma=?"_s, {domanda.NumDomaCorrente})
            .toInt() == 0) {
        esito.domandaCancellata = true;
        return esito;
    }
    if (reinserisci) {
        connection.execute(
            u"INSERT INTO CorsiSediInteressate (NumDoma, SedeInteressata, GrupOpe, Operatore, TipoCompo, "
            u"Denominazione, CodComune, Cap, Indirizzo, Tel, Fax, StatoEstero, CittaEstero, Email, "
            u"Riferimento) "
            u"VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
            {domanda.NumDomaCorrente, sede, gruppo, operatore, valoreTesto(s.TipoCompo),
             valoreTesto(s.Denominazione), valoreTesto(s.CodComune), valore(u"Cap"_s, m.Cap),
             valoreTesto(s.Indirizzo), valore(u"Tel"_s, m.Tel), valore(u"Fax"_s, m.Fax),
             valoreTesto(s.StatoEstero), valoreTesto(s.CittaEstero), valore(u"Email"_s, m.Email),
             valore(u"Riferimento"_s, m.Riferimento)});
    } else {
        const QueryResult riga =
            connection.query(u"SELECT Cap, Tel, Fax, Email, Riferimento FROM CorsiSediInteressate "
                             u"WHERE NumDoma=? AND SedeInteressata=?"_s,
                             {domanda.NumDomaCorrente, sede});
        if (riga.rows.isEmpty())
            throw RoutineError(ErrorCode::RowDeletedMeanwhile);
        verificaRiga(scrittura, riga.rows.front(), {m.Cap, m.Tel, m.Fax, m.Email, m.Riferimento});
        QVariantList valori;
        const QString set = assegnazioni(
            QList<Colonna>{{u"GrupOpe"_s, gruppo}, {u"Operatore"_s, operatore}} + cambiate, valori);
        connection.execute(u"UPDATE CorsiSediInteressate SET "_s + set +
                               u" WHERE NumDoma=? AND SedeInteressata=?"_s,
                           valori + QVariantList{domanda.NumDomaCorrente, sede});
    }
    if (s.TipoCompo == u"UO"_s) {
        const bool occasionale = aggiornaRegistro(
            connection, u"CorsiSediOcc"_s, tra(cambiate, {u"Tel"_s, u"Fax"_s}), u"SedeOcc=?"_s, {sede});
        const bool uso = aggiornaRegistro(
            connection, u"CorsiSediOccUtil"_s, tra(cambiate, {u"Email"_s, u"Riferimento"_s}),
            u"rowid = (SELECT rowid FROM CorsiSediOccUtil WHERE GrupOpe=? AND Operatore=? AND SedeOcc=? "
            u"ORDER BY Componente LIMIT 1)"_s,
            {gruppo, operatore, sede});
        esito.registroMancante = !occasionale || !uso;
    } else {
        esito.registroMancante =
            !aggiornaRegistro(connection, u"CorsiCompo"_s, cambiate,
                              u"GrupOpe=? AND Operatore=? AND Componente=?"_s, {gruppo, operatore, sede});
    }
    transazione.commit();
    return esito;
}

void registraScrittura(SchedaSede &s, const ContattiSede &c, const QString &capCaricato)
{
    const std::pair<QString *, const QString *> contatti[] = {
        {&s.Tel, &c.Tel}, {&s.Fax, &c.Fax}, {&s.Email, &c.Email}, {&s.Riferimento, &c.Riferimento}};
    QVariant *const memorizzati[] = {&s.memorizzati.Tel, &s.memorizzati.Fax, &s.memorizzati.Email,
                                     &s.memorizzati.Riferimento};
    for (int i = 0; i < 4; ++i)
        if (*contatti[i].first != *contatti[i].second) {
            *contatti[i].first = *contatti[i].second;
            *memorizzati[i] = valoreTesto(*contatti[i].second);
        }
    if (c.Cap != capCaricato) {
        s.Cap = c.Cap;
        s.memorizzati.Cap = valoreTesto(c.Cap);
    }
}

QStringList vociTipoCompo(Connection &connection)
{
    QStringList voci{QString()};
    for (const QVariantList &r : connection.query(u"SELECT TipoCompo, Descrizione FROM TipoCompo"_s).rows)
        voci << NonNull(r[0]) + u"  "_s + NonNull(r[1]);
    return voci;
}
