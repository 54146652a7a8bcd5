#include "core/net/ServerRequest.h"

#include "core/config/IniFile.h"
#include "core/files/ProgramFolder.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/InstallationState.h"
#include "core/text/Cp1252.h"
#include "core/text/TextFile.h"

#include <QCoreApplication>
#include <QUrl>

namespace kx {

namespace {

const QString CrLf = QStringLiteral("\r\n");

} // namespace

QString istruzioniCertificato(const QString &host)
{
    return CrLf + CrLf +
           u"E' necessario installare il certificato di autorizzazione per l'accesso al server sicuro " +
           host.toUpper() + u'.' + CrLf +
           u"Per procedere alla reinstallazione, cercare nel sistema il file CA_ROOT.DER ed eseguire un "
           u"doppio "
           u"click su di esso." +
           CrLf + u"Se il file è assente dal sistema, contattare il servizio assistenza";
}

namespace {

QString appendiceProxy()
{
    return CrLf + u"Provare a cambiare le impostazioni del server Proxy tramite il tasto 'Impostazioni'." +
           CrLf +
           u"Se dovesse continuare a non funzionare, provare ad annullare l'operazione, riavviare "
           u"l'applicativo "
           u"richiamandolo dal menù PROGRAMMI di Windows.";
}

} // namespace

TransferSettings impostazioniTrasmissione(const ProgramFolder &programFolder, const QString &proxy)
{
    TransferSettings settings;
    settings.extraAuthorityFile = programFolder.resolve(NomeFileCertificato);
    settings.proxy = proxy;
    return settings;
}

TransferSettings impostazioniScarico(const ProgramFolder &programFolder)
{
    TransferSettings settings = impostazioniTrasmissione(programFolder);
    settings.totalTimeoutMs = 0;
    return settings;
}

QString citazioneRisposta(const QString &risposta)
{
    return risposta.left(MassimoCitazione);
}

namespace Richieste {

ServerRequestVariant scaricoOperatori()
{
    return {IniKeys::AggiornaDB};
}

ServerRequestVariant corsiApprovati()
{
    ServerRequestVariant variant{IniKeys::ServerCorsi};
    variant.conCredenziale = false;
    variant.casoErrore = Qt::CaseInsensitive;
    variant.appendiceProxy = true;
    variant.erroreInRisposta = false;
    return variant;
}

ServerRequestVariant nuovoNumeroDomanda()
{
    ServerRequestVariant variant{IniKeys::IndirizzoServer};
    variant.cercaHtml = false;
    variant.titoloErroreTrasmissione = QStringLiteral("Errore");
    variant.testoErroreTrasmissione = QStringLiteral("Si è verificato un errore: ");
    variant.appendiceCertificato = false;
    return variant;
}

ServerRequestVariant versioneHub()
{
    ServerRequestVariant variant{IniKeys::VersioneServizio};
    variant.casoErrore = Qt::CaseInsensitive;
    return variant;
}

} // namespace Richieste

QString percorsoServizio(const QString &url)
{
    const qsizetype slash = url.indexOf(u'/', 7);
    return slash < 0 ? url : url.mid(slash + 1);
}

ServerRequest::ServerRequest(Services services, clsFileINI &fileIni, const ProgramFolder &programFolder,
                             const InstallationState &installazione, HttpTransfer &transfer,
                             ServerRequestVariant variant, std::function<void(bool)> attesa)
    : m_services(services), m_fileIni(fileIni), m_programFolder(programFolder),
      m_installazione(installazione), m_transfer(transfer), m_variant(std::move(variant)),
      m_attesa(std::move(attesa))
{
    m_connection = QObject::connect(&m_transfer, &HttpTransfer::stateChanged, &m_transfer,
                                    [this](int state) { onStateChanged(state); });
}

ServerRequest::~ServerRequest()
{
    QObject::disconnect(m_connection);
}

void ServerRequest::send(const QByteArray &corpo)
{
    sendTo(m_fileIni.Leggi(m_variant.chiave),
           m_variant.conCredenziale ? m_installazione.CredenzialeServer : QString(), corpo,
           IntestazioniRichiesta);
}

void ServerRequest::sendTo(const QString &url, const QString &credenziale, const QByteArray &corpo,
                           const QByteArray &intestazioni)
{
    UrlServizio = url;
    PercorsoServizio = percorsoServizio(UrlServizio);
    RispostaCompleta = false;
    Annullata = false;
    CodiceRisposta = 0;
    m_attesa(true);
    RispostaServer.clear();
    m_transfer.post(UrlServizio, credenziale, corpo, intestazioni);
    m_transfer.waitWhileBusy();
    Annullata = m_transfer.cancelled();
}

void ServerRequest::onStateChanged(int state)
{
    if (state == TransferState::Error) {
        const int code = m_transfer.errorCode();
        QString messaggio = m_variant.testoErroreTrasmissione + QString::number(code) + u" : " +
                            m_transfer.errorDescription();
        if (m_variant.servizioNelMessaggio)
            messaggio += u" (servizio: " + PercorsoServizio + u')';
        if (code == TransferError::CertificateNotVerified && m_variant.appendiceCertificato)
            messaggio += m_variant.certificato.isEmpty() ? istruzioniCertificato(QUrl(UrlServizio).host())
                                                         : m_variant.certificato;
        if ((code == TransferError::NameNotResolved || code == TransferError::ProxyFailed) &&
            m_variant.appendiceProxy)
            messaggio += appendiceProxy();
        m_services.prompt.critical(m_variant.titoloErroreTrasmissione, messaggio);
        if (m_variant.erroreInRisposta)
            RispostaServer = messaggio;
        CodiceRisposta = code;
        RispostaCompleta = false;
    } else if (state == TransferState::Completed) {
        RispostaCompleta = true;
        CodiceRisposta = 0;
        int pezzi = 0;
        for (QByteArray chunk = m_transfer.readChunk(); !chunk.isEmpty(); chunk = m_transfer.readChunk()) {
            RispostaServer += Cp1252::decode(chunk);
            if (avanzamento)
                avanzamento(++pezzi, false);
        }
        if (avanzamento)
            avanzamento(pezzi, true);
    }
}

bool ServerRequest::erroreApplicativo() const
{
    return RispostaServer.contains(u"ERRORE", m_variant.casoErrore);
}

bool ServerRequest::paginaHtml() const
{
    return RispostaServer.contains(u"<h") || RispostaServer.contains(u"<H");
}

bool ServerRequest::evaluate(const std::function<bool(const QString &)> &contenutoValido)
{
    if (Annullata) {
        concludiFallimento();
        return false;
    }
    if (!erroreApplicativo() && RispostaCompleta && contenutoValido(RispostaServer))
        return true;
    if (!m_variant.cercaHtml || paginaHtml())
        mostraPaginaErrore();
    else
        mostraErroreServer();
    concludiFallimento();
    return false;
}

void ServerRequest::mostraPaginaErrore()
{
    m_services.prompt.critical(
        QStringLiteral("ERRORE"),
        u"Si è verificato un errore sul server " + m_installazione.IndirizzoServer + u" (servizio: " +
            PercorsoServizio +
            u"), cliccando su OK il sistema cercherà di visualizzare ulteriori informazioni sull'errore. "
            u"Contattare il servizio assistenza TUZ riportando questo messaggio e le informazioni "
            u"visualizzate");
    const QString path = m_programFolder.resolve(NomeFileErrServer);
    try {
        // A new file under the name: a link planted there is replaced, never written through.
        TextFile::replaceFiles({{path, Cp1252::encode(RispostaServer) + "\r\n"}});
    } catch (const TextFile::FileWriteError &) {
        return; // an older page must not pass for this reply's
    }
    apriPagina(m_services, QUrl::fromLocalFile(path));
}

void ServerRequest::mostraErroreServer()
{
    m_services.prompt.critical(
        QStringLiteral("Errore restituito dal Server"),
        u"Operazione non riuscita (servizio: " + PercorsoServizio +
            u"). Il server ha restituito il seguente messaggio di errore: " + CrLf + CrLf +
            citazioneRisposta(RispostaServer) + CrLf + CrLf +
            u"Controllare i dati immessi e ritentare l'operazione, oppure contattare il "
            u"servizio di assistenza TUZ riportando questo messaggio.");
}

void ServerRequest::concludiFallimento()
{
    m_attesa(false);
    QCoreApplication::processEvents();
    RispostaServer.clear();
}

} // namespace kx
