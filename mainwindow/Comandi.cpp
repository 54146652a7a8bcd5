#include "mainwindow/Comandi.h"

#include "core/data/DataEnvironment.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/state/InstallationState.h"
#include "core/state/PrintRequest.h"

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString CrLf = u"\r\n"_s;

bool esiste(Context &context, const QString &sql, const QVariantList &params)
{
    return context.DE().CorsiDB().scalar(sql, params).toLongLong() > 0;
}

/** The legal seat among the involved seats of the current application and its operator. */
bool haSedeLegale(Context &context)
{
    const CurrentApplication &domanda = context.domanda();
    return esiste(context,
                  u"SELECT COUNT(*) FROM QrySediInteressate "
                  u"WHERE GrupOpe = ? AND Operatore = ? AND NumDoma = ? AND TipoCompo = 'SL'"_s,
                  {domanda.GrupOpeCorrente, domanda.OperatoreCorrente.toInt(), domanda.NumDomaCorrente});
}

bool haCorsi(Context &context)
{
    return esiste(context, u"SELECT COUNT(*) FROM CorsiProp WHERE NumDoma = ?"_s,
                  {context.domanda().NumDomaCorrente});
}

} // namespace

bool DomandaSelezionata(Context &context)
{
    if (context.domanda().NumDomaCorrente != 0)
        return true;
    context.prompt.warn(u"Funzione non disponibile"_s,
                        u"Selezionare prima la DOMANDA da compilare (Inserisci / Seleziona Domanda)"_s);
    return false;
}

bool ControllaCorsi(Context &context)
{
    const CurrentApplication &domanda = context.domanda();
    if (!esiste(context,
                u"SELECT COUNT(*) FROM CorsiSediInteressate WHERE NumDoma = ? AND TipoCompo = 'SL'"_s,
                {domanda.NumDomaCorrente})) {
        context.prompt.critical(u"Gestione Corsi"_s,
                                u"Nessun Componente di tipo SEDE LEGALE trovato nella base dati per "
                                u"l'Operatore presentatore della domanda selezionata."_s +
                                    CrLf + u"Impossibile gestire corsi "_s);
        return false;
    }
    if (!esiste(context, u"SELECT COUNT(*) FROM CorsiApprovati WHERE GrupOpe = ? AND Operatore = ?"_s,
                {domanda.GrupOpeCorrente, domanda.OperatoreCorrente.toInt()})) {
        context.prompt.inform(
            QString(),
            u"ATTENZIONE: per l'Operatore titolare della domanda non sono stati scaricati dall'archivio "
            u"regionale centrale "_s +
                u"i Corsi finanziati sulla Direttiva , oppure non sono stati trovati Corsi finanziati."_s +
                CrLf + CrLf + u"Pertanto, al momento non sarà possibile accedere alle Schede Corso."_s +
                CrLf + CrLf +
                u"Utilizzare il tasto 'Corsi Approvati e Finanziati - Scarico/Aggiornamento' dalla "
                u"schermata principale, "_s +
                u"per scaricare i Corsi finanziati sulla Direttiva per l'Operatore titolare della "
                u"domanda, o aggiornare uno scarico effettuato in precedenza."_s);
        return false;
    }
    return true;
}

bool ControllaRiassegnazione(Context &context)
{
    const QString titolo = u"Riassegnazione Corsi"_s;
    if (context.domanda().DomandaStampataCorrente) {
        context.prompt.warn(titolo, u"Domanda già inviata alla Provincia"_s + CrLf +
                                        u"Non è possibile modificare l'assegnazione dei corsi alle "
                                        u"sedi interessate"_s);
        return false;
    }
    if (!haCorsi(context)) {
        context.prompt.critical(titolo, u"Nessun corso inserito nella domanda selezionata."_s);
        return false;
    }
    const qlonglong sedi = context.DE()
                               .CorsiDB()
                               .scalar(u"SELECT COUNT(*) FROM QrySediInteressate WHERE NumDoma = ?"_s,
                                       {context.domanda().NumDomaCorrente})
                               .toLongLong();
    if (sedi <= 1) {
        context.prompt.critical(titolo, u"C'è una sola sede disponibile per l'operatore selezionato nella "
                                        u"provincia della domanda. Non è possibile alcuna riassegnazione."_s);
        return false;
    }
    return context.prompt.ask(Prompt::Icon::Information, Prompt::Buttons::YesNo, titolo,
                              u"ATTENZIONE: prima di procedere assicurarsi che nessuna installazione "
                              u"CLIENT sia connessa alla base dati."_s +
                                  CrLf + CrLf + u"Continuare ?"_s) == Prompt::Answer::Yes;
}

bool ControllaStampaBozza(Context &context)
{
    context.stampa().RichiestaStampa = u"Stampa Bozza"_s;
    if (haSedeLegale(context))
        return true;
    context.prompt.critical(u"Stampa Bozza"_s, u"Sede Legale dell'Operatore presentatore non trovata! "
                                               u"Impossibile stampare la bozza."_s);
    return false;
}

bool ControllaInvio(Context &context)
{
    if (!haCorsi(context)) {
        context.prompt.critical(u"Invio domanda"_s,
                                u"Nessun corso sulla domanda selezionata: impossibile stampare e inviare la "
                                u"domanda!"_s);
        return false;
    }
    // The completeness check reads the legal seat's row and cannot go on without it.
    if (!haSedeLegale(context)) {
        context.prompt.critical(u"Invio domanda"_s, u"Sede Legale dell'Operatore presentatore non trovata! "
                                                    u"Impossibile stampare e inviare la domanda."_s);
        return false;
    }
    return true;
}
