#include "applications/CreazioneDomanda.h"

#include "core/data/Connection.h"
#include "core/net/FormEncoding.h"
#include "core/services/RoutineError.h"
#include "core/services/Services.h"
#include "core/text/TextRoutines.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

const QString CrLf = u"\r\n"_s;

/** The columns of a table in their order. */
QStringList colonne(Connection &corsiDB, const QString &tabella)
{
    const QueryResult result = corsiDB.query(u"SELECT * FROM "_s + quotedIdentifier(tabella) + u" WHERE 0"_s);
    QStringList names;
    for (const ColumnInfo &column : result.columns)
        names << column.name;
    return names;
}

/** Runs a snapshot statement; a failure offers Retry, and Cancel passes the failure on. */
void eseguiFotografia(Connection &corsiDB, Prompt &prompt, const QString &sql, const QVariantList &params)
{
    for (;;) {
        try {
            corsiDB.execute(sql, params);
            return;
        } catch (const RoutineError &error) {
            const Prompt::Answer answer =
                prompt.ask(Prompt::Icon::Warning, Prompt::Buttons::RetryCancel, QString(),
                           MessaggiCreazione::erroreSediInteressate(error.number(), error.description()));
            if (answer != Prompt::Answer::Retry)
                throw;
        }
    }
}

} // namespace

QByteArray corpoRichiestaNumero(const QString &grupOpe, const QString &operatore, const QString &email)
{
    return "gruppo=" + formValue(grupOpe) + "&codice=" + formValue(operatore) +
           "&compo=&applicativo=KX58TORVA&email=" + formValue(email);
}

std::optional<qint32> numeroDomandaRicevuto(const QString &risposta, int statoHttp)
{
    constexpr int PrimoStatoDiErrore = 400;
    if (statoHttp >= PrimoStatoDiErrore)
        return std::nullopt;
    const QString testo = trimBlanks(risposta);
    if (testo.isEmpty() || testo.size() > 10)
        return std::nullopt;
    for (const QChar c : testo) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    const qint64 valore = testo.toLongLong();
    if (valore < 1 || valore > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(valore);
}

void CopiaDatiOperatore(Connection &corsiDB, const DatiNuovaDomanda &dati)
{
    const QStringList operatore = colonne(corsiDB, u"CorsiOper"_s);
    const QStringList domanda = colonne(corsiDB, u"Domande"_s);
    const QueryResult riga = corsiDB.query(u"SELECT * FROM CorsiOper WHERE GrupOpe=? AND Operatore=?"_s,
                                           {dati.grupOpe, dati.operatore});
    if (riga.rows.isEmpty())
        throw RoutineError(ErrorCode::NoCurrentRecord);
    const qsizetype n = operatore.size();
    QStringList assegnazioni;
    QVariantList valori;
    for (qsizetype p = 2; p <= n - 2; ++p) {
        if (p + 3 >= domanda.size())
            throw RoutineError(ErrorCode::ItemNotFound);
        assegnazioni << quotedIdentifier(domanda[p + 3]) + u"=?"_s;
        valori << riga.rows.front().value(p);
    }
    if (assegnazioni.isEmpty())
        return;
    valori << dati.numDoma;
    corsiDB.execute(u"UPDATE Domande SET "_s + assegnazioni.join(u", "_s) + u" WHERE NumDoma=?"_s, valori);
}

void CompilaU_SediInteressate(Connection &corsiDB, Prompt &prompt, const DatiNuovaDomanda &dati)
{
    const QVariantList params{dati.numDoma, dati.grupOpe, dati.operatore};
    eseguiFotografia(corsiDB, prompt,
                     u"INSERT INTO CorsiSediInteressate (NumDoma, SedeInteressata, GrupOpe, Operatore, "
                     u"TipoCompo, Denominazione, CodComune, Cap, Indirizzo, Tel, Fax, StatoEstero, "
                     u"CittaEstero, Email, Riferimento) "
                     u"SELECT ?, Componente, GrupOpe, Operatore, TipoCompo, \"CorsiCompo.Denominazione\", "
                     u"CodComune, Cap, Indirizzo, Tel, Fax, StatoEstero, CittaEstero, Email, Riferimento "
                     u"FROM QryCompo WHERE GrupOpe=? AND Operatore=?"_s,
                     params);
    eseguiFotografia(corsiDB, prompt,
                     u"INSERT INTO CorsiSediInteressate (NumDoma, GrupOpe, Operatore, SedeInteressata, "
                     u"TipoCompo, Denominazione, CodComune, Cap, Indirizzo, Tel, Fax, StatoEstero, "
                     u"CittaEstero, Email, Riferimento) "
                     u"SELECT DISTINCT ?, GrupOpe, Operatore, \"CorsiSediOccUtil.SedeOcc\", TipoCompo, "
                     u"\"CorsiSediOcc.Denominazione\", CodComune, Cap, Indirizzo, Tel, Fax, '', '', '', '' "
                     u"FROM QrySediOccUtil WHERE GrupOpe=? AND Operatore=?"_s,
                     params);
}

void CreaDomanda(Connection &corsiDB, Prompt &prompt, const DatiNuovaDomanda &dati)
{
    Transaction transaction(corsiDB);
    const QVariant ultima =
        corsiDB.scalar(u"SELECT MAX(Domanda) FROM Domande WHERE GrupOpe=? AND Operatore=?"_s,
                       {dati.grupOpe, dati.operatore});
    const qint32 domanda = (ultima.isValid() && !ultima.isNull() ? ultima.toInt() : 0) + 1;
    corsiDB.execute(u"INSERT INTO Domande (NumDoma, GrupOpe, Operatore, PROV, Domanda, DomPrece, GGPrece, "
                    u"MMPrece, AAAAPrece, DomPROV, Direttiva, AnnoDirettiva, DomandaStampata, "
                    u"DomandaTrasmessa) VALUES (?, ?, ?, ?, ?, '', '', '', '', '', '', '', 0, 0)"_s,
                    {dati.numDoma, dati.grupOpe, dati.operatore, dati.prov, domanda});
    CopiaDatiOperatore(corsiDB, dati);
    CompilaU_SediInteressate(corsiDB, prompt, dati);
    transaction.commit();
}

QString indirizzoCertificato(const QString &indirizzoServer)
{
    return indirizzoServer + u"/fpl/procedure-sw/certificato.html"_s;
}

namespace MessaggiCreazione {

QString numeroNonRitirato(const QString &indirizzoServer)
{
    return u"Ritiro del numero di registrazione nuova domanda dal server "_s + indirizzoServer +
           u" non riuscito."_s + CrLf + u"E' pertanto impossibile inserire la domanda."_s;
}

QString emailNecessaria()
{
    return u"E' necessario specificare un indirizzo e-mail per procedere."_s + CrLf + u"Specificarlo ora?"_s;
}

QString impossibileContinuare()
{
    return u"E' impossibile continuare."_s + CrLf + u"Trasmissione interrotta."_s;
}

QString erroreConnessione(const QString &indirizzoServer, const QString &percorsoServizio)
{
    return u"Si è verificato un errore in fase di connessione con il server "_s + indirizzoServer +
           u" (servizio: "_s + percorsoServizio +
           u"), è probabile che si tratti di un errore temporaneo, Riprovare?"_s;
}

QString certificato(const QString &indirizzoServer)
{
    return u"L'errore che si è verificato potrebbe essere causato dalla mancanza di autorizzazione per "
           u"accedere al server "_s +
           indirizzoServer + u". Per avere l'autorizzazione è necessario: "_s + CrLf +
           u"  - avere installato Microsoft Internet Explorer 4.01 o superiore "_s + CrLf +
           u"  - avere installato il certificato di autorizzazione per l'accesso al server "_s +
           indirizzoServer + u"."_s + CrLf +
           u"Se è necessario reinstallare il certificato di autorizzazione, riscaricarlo da Internet "
           u"dall'indirizzo: "_s +
           CrLf + CrLf + indirizzoCertificato(indirizzoServer) + CrLf + CrLf +
           u"Per ulteriori chiarimenti, contattare il servizio di assistenza T.U.Z."_s +
           u"Impossibile continuare con l'esecuzione dell'applicativo, il programma verrà terminato."_s;
}

QString numeroNonValido(const QString &indirizzoServer, const QString &percorsoServizio)
{
    return u"Numero registrazione Nuova Domanda non valido, o impossibile da recuperare. Si è verificato un "
           u"errore sul server "_s +
           indirizzoServer +
           u" in fase di acquisizione del numero di registrazione per la nuova proposta (servizio:"_s +
           percorsoServizio + u"). Contattare il servizio di assistenza TUZ riportando questo messaggio"_s;
}

QString erroreSediInteressate(int numero, const QString &descrizione)
{
    return u"Errore in CompilaU_SediInteressate "_s + QString::number(numero) + CrLf + descrizione + CrLf +
           CrLf + u"Si è verificato un errore imprevisto,"_s +
           u"scegliere riprova per ritentare l'operazione."_s;
}

} // namespace MessaggiCreazione

} // namespace kx
