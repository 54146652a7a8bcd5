#include "mainwindow/AggiornaBaseDati.h"

#include "core/services/ErrorBoxes.h"
#include "core/startup/Inizializza.h"
#include "core/state/Context.h"
#include "core/state/InstallationState.h"
#include "refdata/AggiornaAnagrafiche.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace kx {

void AggiornaBaseDati(Context &context, const OperazioniAggiornaBaseDati &operazioni)
{
    const QString CrLf = u"\r\n"_s;
    if (context.prompt.ask(Prompt::Icon::Information, Prompt::Buttons::OkCancel, u"Trasmissione dati"_s,
                           u"Attivazione collegamento con Internet."_s + CrLf +
                               u"Procedere solo dopo aver aperto la connessione "_s + CrLf +
                               u"con il vostro Provider"_s) != Prompt::Answer::Ok)
        return;
    if (context.prompt.ask(Prompt::Icon::Information, Prompt::Buttons::YesNo, u"Aggiornamento Base Dati"_s,
                           u"ATTENZIONE: prima di procedere assicurarsi che nessuna installazione CLIENT sia "
                           u"connessa alla base dati."_s +
                               CrLf + CrLf + u"Continuare ?"_s) != Prompt::Answer::Yes)
        return;
    if (!RiapriDBEsclusivo(context))
        context.programExit.exit();

    // From here on the database goes back to its normal mode, whatever happens.
    try {
        operazioni.attesa(true);
        operazioni.elencoOperatori(vociOperatoriAnagrafica(context));
        operazioni.puntatore(true);
        QCoreApplication::processEvents();
        if (context.installazione().EsitoInstOper != u"annulla" && operazioni.AggiornaDB())
            context.prompt.inform(u"Aggiorna Base Dati"_s, u"Aggiornamento Base Dati effettuato."_s);
    } catch (const std::exception &error) {
        operazioni.puntatore(false);
        context.prompt.critical(u"Errore imprevisto"_s, testoErrore(comeErroreRoutine(error)));
    }
    operazioni.attesa(false);
    operazioni.puntatore(false);
    RiapriDBNormaleOTermina(context);
}

} // namespace kx
