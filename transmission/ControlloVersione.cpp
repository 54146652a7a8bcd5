#include "transmission/ControlloVersione.h"

#include "applications/CreazioneDomanda.h"
#include "core/state/Context.h"
#include "core/state/InstallationState.h"

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString CrLf = u"\r\n"_s;
const QString TitoloControllo = u"Controllo Versione"_s;
const QString TitoloNotizia = u"Trasmissione"_s;
const QString TitoloConnessione = u"Errore di connessione"_s;

/** The numbers of a version without leading zeros, or nothing when it is not one. */
std::optional<QStringList> numeriVersione(const QString &testo)
{
    const QString versione = testo.trimmed();
    if (versione.isEmpty())
        return std::nullopt;
    QStringList numeri = versione.split(u'.');
    for (QString &numero : numeri) {
        if (numero.isEmpty() ||
            !std::all_of(numero.begin(), numero.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
            return std::nullopt;
        while (numero.size() > 1 && numero.front() == u'0')
            numero.remove(0, 1);
    }
    return numeri;
}

/** Two numbers of any length, by their digits: the longer is the greater. */
int confrontaNumeri(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

QString presenteVersione(const QString &versione)
{
    return u"La presente versione dell'applicativo ( "_s + versione + u" )"_s;
}

/** The failed request as the hosting window tells it. */
void segnalaRichiestaFallita(Context &context, ServerRequest &richiesta, VarianteControllo variante)
{
    if (richiesta.CodiceRisposta == TransferError::CertificateNotVerified)
        return; // the state-11 box has told what to do
    if (variante == VarianteControllo::frmInet) {
        context.prompt.critical(TitoloConnessione, ErroreConnessioneServer);
        return;
    }
    if (richiesta.CodiceRisposta != 0) {
        context.prompt.critical(TitoloConnessione,
                                u"Errore di connessione al server (server: "_s +
                                    context.installazione().IndirizzoServer + u", servizio: "_s +
                                    richiesta.PercorsoServizio +
                                    u"). Riprovare in un secondo momento, oppure contattare il servizio "
                                    u"di assistenza TUZ riportando questo messaggio."_s);
    } else if (richiesta.paginaHtml()) {
        richiesta.mostraPaginaErrore();
    } else {
        richiesta.mostraErroreServer();
    }
}

} // namespace

TransferSettings impostazioniControlloVersione(const ProgramFolder &cartella)
{
    TransferSettings impostazioni = impostazioniTrasmissione(cartella);
    impostazioni.maximumReplyBytes = MassimaRispostaVersione;
    return impostazioni;
}

QString EstraiCampo(const QString &testo, QChar separatore, int n)
{
    QStringList campi = testo.split(separatore);
    if (testo.endsWith(separatore))
        campi.removeLast();
    return n >= 1 ? campi.value(n - 1) : QString();
}

std::optional<int> confrontaVersioni(const QString &a, const QString &b)
{
    const std::optional<QStringList> numeriA = numeriVersione(a);
    const std::optional<QStringList> numeriB = numeriVersione(b);
    if (!numeriA || !numeriB)
        return std::nullopt;
    const qsizetype parti = std::max(numeriA->size(), numeriB->size());
    for (qsizetype i = 0; i < parti; ++i) {
        const int confronto = confrontaNumeri(numeriA->value(i, u"0"_s), numeriB->value(i, u"0"_s));
        if (confronto != 0)
            return confronto < 0 ? -1 : 1;
    }
    return 0;
}

ServerRequestVariant richiestaVersione(VarianteControllo variante, const InstallationState &installazione,
                                       const QString &hostUpload)
{
    ServerRequestVariant richiesta = Richieste::versioneHub();
    if (variante == VarianteControllo::Trasmis) {
        richiesta.servizioNelMessaggio = true;
        richiesta.certificato =
            CrLf + CrLf +
            u"E' necessario installare il certificato di autorizzazione per l'accesso al server "_s +
            installazione.IndirizzoServer + u'.' + CrLf +
            u"Il certificato e le istruzioni per l'installazione sono reperibili all'indirizzo:"_s + CrLf +
            CrLf + indirizzoCertificato(installazione.IndirizzoServer) + CrLf + CrLf +
            u"Se, dopo l'installazione, il problema persiste contattare il servizio assistenza TUZ "
            u"riportando "
            u"questo messaggio"_s;
    } else {
        richiesta.certificato = istruzioniCertificato(hostUpload);
    }
    return richiesta;
}

bool ControllaVersione(Context &context, ServerRequest &richiesta, VarianteControllo variante,
                       const std::function<void()> &puntatoreNormale)
{
    const auto rifiuta = [&] {
        if (puntatoreNormale)
            puntatoreNormale();
        return false;
    };
    richiesta.send(CorpoControlloVersione);
    const int stato = richiesta.statoHttp();
    const bool usabile = richiesta.RispostaCompleta && !richiesta.Annullata && stato >= 200 && stato < 300 &&
                         !richiesta.erroreApplicativo() &&
                         (variante == VarianteControllo::frmInet || !richiesta.paginaHtml());
    if (usabile) {
        const QString &risposta = richiesta.RispostaServer;
        const QString minima = EstraiCampo(risposta, u'#', 1);
        const QString ultima = EstraiCampo(risposta, u'#', 2);
        // The server's texts are quoted, not shown whole: a box must stay readable.
        const QString ultimaCitata = citazioneRisposta(ultima);
        const QString statoVersione = EstraiCampo(risposta, u'#', 3);
        const QString versione = context.versione();
        if (statoVersione == u"S") {
            rifiuta();
            context.prompt.warn(TitoloControllo,
                                presenteVersione(versione) + u" non è più gestita dalla Provincia."_s + CrLf +
                                    u"Impossibile effettuare la trasmissione, per ulteriori informazioni "
                                    u"contattare il servizio di assistenza TUZ."_s);
            return false;
        }
        if (statoVersione == u"A") {
            context.prompt.critical(TitoloNotizia, citazioneRisposta(EstraiCampo(risposta, u'#', 4)));
            return rifiuta();
        }
        if (statoVersione == u"M") {
            context.prompt.inform(TitoloNotizia, citazioneRisposta(EstraiCampo(risposta, u'#', 4)));
            if (puntatoreNormale)
                puntatoreNormale();
        }
        const std::optional<int> rispettoMinima = confrontaVersioni(versione, minima);
        const std::optional<int> rispettoUltima = confrontaVersioni(versione, ultima);
        if (rispettoMinima && rispettoUltima) {
            if (*rispettoMinima < 0) {
                rifiuta();
                context.prompt.critical(TitoloControllo, presenteVersione(versione) +
                                                             u" non è autorizzata a trasmettere."_s + CrLf +
                                                             u"Scaricare da Internet la nuova versione: "_s +
                                                             ultimaCitata);
                return false;
            }
            if (*rispettoUltima < 0)
                context.prompt.warn(TitoloControllo,
                                    presenteVersione(versione) + u" non è la più recente."_s + CrLf +
                                        u"Si consiglia di scaricare da Internet la nuova versione: "_s +
                                        ultimaCitata + CrLf + u"La trasmissione avverrà comunque."_s);
            return true;
        }
        // No versions to compare: the reply is not the service's, and is told as a failed one.
    }
    rifiuta();
    segnalaRichiestaFallita(context, richiesta, variante);
    return false;
}
