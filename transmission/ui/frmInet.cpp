#include "transmission/ui/frmInet.h"

#include "core/config/IniKeys.h"
#include "core/config/UserSettings.h"
#include "core/data/DataEnvironment.h"
#include "core/files/ProgramFolder.h"
#include "core/net/ServerRequest.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/state/HelpTopics.h"
#include "core/state/Preferences.h"
#include "core/state/Trasmissione.h"
#include "core/ui/FieldRoutines.h"
#include "core/ui/FrmProxy.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"
#include "transmission/ControlloVersione.h"
#include "transmission/InvioDomanda.h"
#include "transmission/SoapClient.h"
#include "transmission/mdCreaFileTrasm.h"
#include "transmission/ui/SupportoInvio.h"
#include "ui_frmInet.h"

#include <QFile>
#include <QUrl>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

constexpr int ArgomentoAiuto = 9100;
const QString CrLf = u"\r\n"_s;
const QString TitoloTerminata = u"TRASMISSIONE TERMINATA"_s;
const QString TitoloVordanFallita = u"TRASMISSIONE VORDAN FALLITA"_s;

} // namespace

frmInet::frmInet(Context &context, EsportazioneVordan esportazione, QWidget *parent)
    : QDialog(parent), m_context(context), m_esportazione(std::move(esportazione)),
      m_ui(std::make_unique<Ui::frmInet>()), m_inet(impostazioniControlloVersione(context.programFolder()))
{
    m_ui->setupUi(this);
    Immagini::setBackground(this);
    setHelpContext(m_context, this, ArgomentoAiuto);
    m_ui->lblPercent->hide();
    // The stored address is shown once, when the window opens: what the user types afterwards stays,
    // also after the check has refused it.
    m_ui->txFrom->setText(m_context.userSettings().value(UserKeys::EMail, QString()));
    m_ui->txFrom->selectAll();
    m_ui->txFrom->setFocus();

    connect(m_ui->Cmd_Send, &QAbstractButton::clicked, this, &frmInet::Cmd_Send_Click);
    connect(m_ui->CmdVORDAN, &QAbstractButton::clicked, this, &frmInet::CmdVORDAN_Click);
    connect(m_ui->CmdProxy, &QAbstractButton::clicked, this, &frmInet::CmdProxy_Click);
    connect(m_ui->cmdAiuto, &QAbstractButton::clicked, this,
            [this] { MostraAiuto(m_context, ArgomentoAiuto); });
    connect(m_ui->Cmd_Esci, &QAbstractButton::clicked, this, &QDialog::reject);
}

frmInet::~frmInet() = default;

void frmInet::reject()
{
    if (!FinestraOccupata::occupata(this))
        QDialog::reject();
}

std::unique_ptr<ServerRequest> frmInet::nuovaRichiesta()
{
    return std::make_unique<ServerRequest>(
        m_context, m_context.fileIni(), m_context.programFolder(), m_context.installazione(), m_inet,
        richiestaVersione(VarianteControllo::frmInet, m_context.installazione(),
                          QUrl(indirizzoUpload(m_context)).host()),
        [](bool) {});
}

bool frmInet::ControllaVersione()
{
    const std::unique_ptr<ServerRequest> richiesta = nuovaRichiesta();
    return ::ControllaVersione(m_context, *richiesta, VarianteControllo::frmInet, puntatoreNormale);
}

void frmInet::Cmd_Send_Click()
{
    ControllaEMail(m_context, m_ui->txFrom);
    if (!m_context.preferenze().EMailValida)
        return;
    m_context.userSettings().setValue(UserKeys::EMail, m_ui->txFrom->text());
    try {
        invia();
    } catch (const RoutineError &errore) {
        puntatoreNormale();
        m_context.prompt.warn(u"Errore"_s, testoErrore(errore));
    }
}

void frmInet::invia()
{
    bool chiudi = false;
    {
        FinestraOccupata occupata(this);
        if (!ControllaVersione())
            return;
        Trasmissione &trasmissione = m_context.trasmissione();
        trasmissione.EmailTrasm = m_ui->txFrom->text();
        const qint32 numDoma = m_context.domanda().NumDomaCorrente;
        if (!CreaFile(m_context, numDoma)) {
            puntatoreNormale();
            m_context.prompt.critical(u"Crea File di Trasmissione"_s,
                                      u"Creazione file di trasmissione fallita."_s);
            return;
        }
        const QString nomeFile = trasmissione.NomeFileTrasm;
        const QString percorso = m_context.programFolder().resolve(nomeFile);
        const std::unique_ptr<ServerRequest> upload = nuovaRichiesta();
        upload->sendTo(indirizzoUpload(m_context), credenzialeUpload(),
                       corpoUpload(m_context.programFolder(), nomeFile), QByteArray());
        const int stato = upload->statoHttp();
        if (upload->RispostaCompleta && stato >= 200 && stato < 300 &&
            upload->RispostaServer.contains(TrasmissioneRiuscita)) {
            puntatoreNormale();
            m_context.prompt.inform(TitoloTerminata, u"Trasmissione alla Regione completata con successo"_s);
            QFile::remove(percorso);
            // The mark is written only now; when the row cannot take it, the window stays for another try.
            try {
                SegnaDomandaTrasmessa(m_context.DE().CorsiDB(), numDoma);
            } catch (const RoutineError &errore) {
                m_context.prompt.warn(u"Errore"_s, testoErrore(errore));
                return;
            }
            chiudi = true;
        } else if (upload->CodiceRisposta == TransferError::CertificateNotVerified) {
            // The state-11 box has told how to install the certificate.
            puntatoreNormale();
            QFile::remove(percorso);
            chiudi = true;
        } else if (upload->CodiceRisposta == 0) {
            puntatoreNormale();
            upload->mostraErroreServer();
        } else {
            puntatoreNormale();
            m_context.prompt.critical(u"Errore di connessione"_s, ErroreConnessioneServer);
        }
    }
    if (chiudi)
        accept();
}

void frmInet::CmdVORDAN_Click()
{
    try {
        FinestraOccupata occupata(this);
        if (ControllaVersione())
            TrasmissioneVordan();
    } catch (const RoutineError &errore) {
        m_ui->lblPercent->hide();
        puntatoreNormale();
        m_context.prompt.warn(u"Errore"_s, testoErrore(errore));
    }
}

void frmInet::TrasmissioneVordan()
{
    const QString proxy = m_context.userSettings().value(UserKeys::Proxy, QString());
    const QString porta = m_context.userSettings().value(UserKeys::Porta, QString());
    m_ui->lblPercent->setValue(0);
    m_ui->lblPercent->show();
    m_ui->lblPercent->repaint();
    const qint32 esito = m_esportazione(m_context, proxy, porta,
                                        [this](int percentuale) { m_ui->lblPercent->setValue(percentuale); });
    if (esito == 0) {
        m_context.prompt.inform(TitoloTerminata, u"Trasmissione al sistema VORDAN completata con successo"_s);
    } else if (esito == ErroreConnessioneServizio) {
        m_context.prompt.inform(
            TitoloVordanFallita,
            u"E' probabile che la connessione ad internet avvenga tramite un server proxy. "
            u"In questo caso occorre indicare l'indirizzo del server proxy e la porta di "
            u"connessione."_s +
                CrLf +
                u"Utilizzare il tasto 'Imposta Proxy' in basso a destra. Una volta effettuata "
                u"l'impostazione, ritentare l'operazione di invio con il tasto 'Trsmissione "
                u"VORDAN'."_s);
    } else {
        m_context.prompt.critical(
            TitoloVordanFallita,
            u"La trasmissione al sistema VORDAN non è stata completata. Verificare l'errore e "
            u"riprovare con il tasto apposito (Trasmissione VORDAN)."_s +
                CrLf +
                u"Se l'errore non viene risolto, contattare il servizio di assistenza T.U.Z. "
                u"riportando il messaggio che compare a video."_s);
    }
    m_ui->lblPercent->hide();
    puntatoreNormale();
}

void frmInet::CmdProxy_Click()
{
    FrmProxy proxy(m_context, this);
    m_context.dialogRunner.run(proxy);
}
