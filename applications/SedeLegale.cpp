#include "applications/SedeLegale.h"

#include "applications/SezioneFrame.h"
#include "core/data/Connection.h"
#include "core/services/RoutineError.h"
#include "core/state/CurrentApplication.h"
#include "core/text/TextRoutines.h"

using namespace Qt::StringLiterals;
using namespace kx;

QList<RigaSedeLegale> leggiSediLegali(Connection &connection, const CurrentApplication &domanda)
{
    const QueryResult risultato = connection.query(
        u"SELECT SedeInteressata, \"CorsiOper.Denominazione\", Componente, CodComune, "
        u"\"QryComuniProv.Denominazione\", SigProv, Cap, Indirizzo, Tel, Fax, StatoEstero, CittaEstero, "
        u"Riferimento, Email FROM QryDomandeSedLeg WHERE GrupOpe=? AND Operatore=? AND NumDoma=? "
        u"ORDER BY SedeInteressata"_s,
        {domanda.GrupOpeCorrente, numeroDaTesto(domanda.OperatoreCorrente), domanda.NumDomaCorrente});
    QList<RigaSedeLegale> righe;
    for (const QVariantList &r : risultato.rows) {
        RigaSedeLegale riga;
        SchedaSedeLegale &s = riga.scheda;
        s.Componente = NonNull(r[0]);
        s.Denominazione = NonNull(r[1]);
        riga.componenteNullo = r[2].isNull();
        s.CodComune = NonNull(r[3]);
        s.ComDes = NonNull(r[4]);
        s.SigProv = NonNull(r[5]);
        s.Cap = NonNull(r[6]);
        s.Indirizzo = NonNull(r[7]);
        s.Tel = NonNull(r[8]);
        s.Fax = NonNull(r[9]);
        s.StatoEstero = NonNull(r[10]);
        s.CittaEstero = NonNull(r[11]);
        s.Riferimento = NonNull(r[12]);
        s.Email = NonNull(r[13]);
        riga.memorizzati = {r[3], r[6], r[7], r[8], r[9], r[10], r[11], r[12], r[13]};
        righe << riga;
    }
    return righe;
}

QString anomaliaSediLegali(qsizetype righe)
{
    if (righe == 0)
        return u"Per l'operatore selezionato non esiste una sede legale. Situazione anomala, contattare "
               u"l'assistenza TUZ."_s;
    if (righe > 1)
        return u"Per l'operatore selezionato esistono più sedi legali. Situazione anomala, contattare "
               u"l'assistenza TUZ."_s;
    return {};
}

bool FormatoEMailCorretto(const QString &testo)
{
    const qsizetype chiocciole = testo.count(u'@');
    const qsizetype chiocciola = testo.lastIndexOf(u'@');
    const qsizetype punto = testo.lastIndexOf(u'.');
    return chiocciole == 1 && chiocciola > 0 && punto > chiocciola && punto < testo.size() - 1;
}

VerificaSedeLegale ControllaSedeLegale(const SchedaSedeLegale &s, bool componenteNullo)
{
    if (s.Denominazione.isEmpty() || s.Componente.isEmpty())
        return {1, componenteNullo ? QString() : u"Inserire denominazione della Sede Legale"_s,
                u"txtDenominazione"_s};
    if (!s.Cap.isEmpty() && trimBlanks(s.Cap).size() != 5)
        return {2, u"C.A.P. non valido"_s, u"txtCap"_s};
    if (!s.Cap.isEmpty() && s.ComDes.isEmpty())
        return {3, u"Indicare, oltre al C.A.P., anche il comune, oppure cancellare il C.A.P."_s,
                u"txtComDes"_s};
    if (!s.Email.isEmpty() && !FormatoEMailCorretto(s.Email))
        return {4, u"Il formato dell'indirizzo di posta elettronica non è corretto."_s,
                u"txtPostaElettronica"_s};
    return {};
}

bool SedeLegaleInvariata(const SchedaSedeLegale &m, const SchedaSedeLegale &s)
{
    return m.Denominazione == s.Denominazione && m.CodComune == s.CodComune && m.Cap == s.Cap &&
           m.Indirizzo == s.Indirizzo && m.Tel == s.Tel && m.Fax == s.Fax && m.StatoEstero == s.StatoEstero &&
           m.CittaEstero == s.CittaEstero && m.Riferimento == s.Riferimento && m.Email == s.Email;
}

QVariantList valoriSedeLegale(const SchedaSedeLegale &s)
{
    return {valoreTesto(s.CodComune),   valoreTesto(s.Cap),         valoreTesto(s.Indirizzo),
            valoreTesto(s.Tel),         valoreTesto(s.Fax),         valoreTesto(s.StatoEstero),
            valoreTesto(s.CittaEstero), valoreTesto(s.Riferimento), valoreTesto(s.Email)};
}

EsitoScritturaSede scriviSedeLegale(Connection &connection, const CurrentApplication &domanda,
                                    const SchedaSedeLegale &s, const QVariantList &caricati,
                                    Scrittura scrittura, bool reinserisci)
{
    const qint64 operatore = numeroDaTesto(domanda.OperatoreCorrente);
    const qint64 sede = numeroDaTesto(s.Componente);
    EsitoScritturaSede esito;

    Transaction transazione(connection);
    if (connection.scalar(u"SELECT COUNT(*) FROM Domande WHERE NumDoma=?"_s, {domanda.NumDomaCorrente})
            .toInt() == 0) {
        esito.domandaCancellata = true;
        return esito;
    }
    const QVariantList dati = QVariantList{valoreTesto(s.Denominazione)} + valoriSedeLegale(s);
    if (reinserisci) {
        connection.execute(
            u"INSERT INTO CorsiSediInteressate (NumDoma, SedeInteressata, GrupOpe, Operatore, "
            u"TipoCompo, Denominazione, CodComune, Cap, Indirizzo, Tel, Fax, StatoEstero, "
            u"CittaEstero, Riferimento, Email) VALUES (?, ?, ?, ?, 'SL', ?, ?, ?, ?, ?, ?, ?, ?, "
            u"?, ?)"_s,
            QVariantList{domanda.NumDomaCorrente, sede, valoreTesto(domanda.GrupOpeCorrente), operatore} +
                dati);
    } else {
        const QueryResult riga = connection.query(u"SELECT "_s + ColonneSedeLegale +
                                                      u" FROM CorsiSediInteressate WHERE NumDoma=? AND "
                                                      u"SedeInteressata=?"_s,
                                                  {domanda.NumDomaCorrente, sede});
        if (riga.rows.isEmpty())
            throw RoutineError(ErrorCode::RowDeletedMeanwhile);
        verificaRiga(scrittura, riga.rows.front(), caricati);
        connection.execute(
            u"UPDATE CorsiSediInteressate SET GrupOpe=?, Operatore=?, TipoCompo='SL', Denominazione=?, "
            u"CodComune=?, Cap=?, Indirizzo=?, Tel=?, Fax=?, StatoEstero=?, CittaEstero=?, Riferimento=?, "
            u"Email=? WHERE NumDoma=? AND SedeInteressata=?"_s,
            QVariantList{valoreTesto(domanda.GrupOpeCorrente), operatore} + dati +
                QVariantList{domanda.NumDomaCorrente, sede});
    }
    esito.registroMancante =
        connection.execute(u"UPDATE CorsiCompo SET Denominazione=?, TipoCompo='SL', CodComune=?, Cap=?, "
                           u"Indirizzo=?, Tel=?, Fax=?, StatoEstero=?, CittaEstero=?, Riferimento=?, Email=? "
                           u"WHERE GrupOpe=? AND Operatore=? AND Componente=?"_s,
                           dati + QVariantList{valoreTesto(domanda.GrupOpeCorrente), operatore, sede}) == 0;
    transazione.commit();
    return esito;
}
