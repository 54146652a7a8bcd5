#include "transmission/ui/Trasmis.h"

#include "core/config/IniKeys.h"
#include "core/config/UserSettings.h"
#include "core/data/DataEnvironment.h"
#include "core/net/ServerRequest.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/state/HelpTopics.h"
#include "core/state/InstallationState.h"
#include "core/state/Preferences.h"
#include "core/state/PrintRequest.h"
#include "core/state/ServiziStampa.h"
#include "core/state/Trasmissione.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"
#include "core/ui/frmMailAggInst.h"
#include "transmission/ControlloVersione.h"
#include "transmission/EsportazioneZeltoVordan.h"
#include "transmission/IndirizziFissi.h"
#include "transmission/InvioDomanda.h"
#include "transmission/mdCreaFileTrasm.h"
#include "transmission/ui/SupportoInvio.h"
#include "transmission/ui/frmInet.h"
#include "ui_Trasmis.h"

#include <QUrl>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

constexpr int ArgomentoAiuto = 9000;
const QString CrLf = u"\r\n"_s;
const QString TitoloVersione = u"Controllo Versione"_s;

} // namespace

Trasmis::Trasmis(Context &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::Trasmis>()),
      m_inet(impostazioniControlloVersione(context.programFolder()))
{
    m_ui->setupUi(this);
    Immagini::setBackground(this);
    setHelpContext(m_context, this, ArgomentoAiuto);
    mostraDomandaSelezionata(m_ui->frmOperPres, m_context.domanda());

    connect(m_ui->cmdStampa, &QAbstractButton::clicked, this, &Trasmis::cmdStampa_Click);
    connect(m_ui->cmdSend, &QAbstractButton::clicked, this, &Trasmis::cmdSend_Click);
    connect(m_ui->cmdSalva, &QAbstractButton::clicked, this, &Trasmis::cmdSalva_Click);
    connect(m_ui->cmdEsci, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(m_ui->cmdAiuto, &QAbstractButton::clicked, this,
            [this] { MostraAiuto(m_context, ArgomentoAiuto); });

    AggiornaPulsanti();
}

Trasmis::~Trasmis() = default;

void Trasmis::reject()
{
    if (!FinestraOccupata::occupata(this))
        QDialog::reject();
}

bool Trasmis::TrasDoma()
{
    return runWithRetry(m_context, u"TrasDoma"_s, [this] {
        return ::TrasDoma(m_context.DE().CorsiDB(), m_context.domanda().NumDomaCorrente);
    });
}

void Trasmis::AggiornaPulsanti()
{
    m_ui->cmdStampa->setEnabled(true);
    m_ui->cmdEsci->setEnabled(true);
    m_ui->cmdAiuto->setEnabled(true);
    mostraStampata(TrasDoma());
}

void Trasmis::mostraStampata(bool stampata)
{
    // The pictures follow the enabled state: imgSend or imgSendD, imgSalva or imgSalvaD.
    m_ui->cmdSend->setEnabled(stampata);
    m_ui->cmdSalva->setEnabled(stampata);
    m_ui->lblEsci->setText(stampata ? u"Esci"_s : u"Annulla Invio Proposta"_s);
}

void Trasmis::cmdStampa_Click()
{
    CurrentApplication &domanda = m_context.domanda();
    PrintRequest &stampa = m_context.stampa();
    stampa.RichiestaStampa = u"Stampa Definitivo"_s;
    stampa.StampaDefinitivaEseguita = domanda.DomandaStampataCorrente;
    if (m_context.serviziStampa().selBozza)
        m_context.serviziStampa().selBozza();
    // Only the first definitive print of the application marks it; a reprint changes nothing.
    if (!stampa.StampaDefinitivaEseguita || domanda.DomandaStampataCorrente)
        return;
    try {
        SegnaDomandaStampata(m_context.DE().CorsiDB(), domanda.NumDomaCorrente);
    } catch (const RoutineError &errore) {
        m_context.prompt.warn(u"Errore"_s, testoErrore(errore));
        return;
    }
    domanda.DomandaStampataCorrente = true;
    mostraStampata(true);
}

void Trasmis::cmdSend_Click()
{
    if (m_context.prompt.ask(Prompt::Icon::Information, Prompt::Buttons::OkCancel, u"Trasmissione dati"_s,
                             u"Attivazione collegamento con Internet"_s + CrLf +
                                 u"Procedere solo dopo aver aperto la connessione "_s + CrLf +
                                 u"con il vostro Provider"_s) != Prompt::Answer::Ok)
        return;
    frmInet finestra(m_context, InviaPercorsiVordan, this);
    m_context.dialogRunner.run(finestra);
}

void Trasmis::cmdSalva_Click()
{
    try {
        salvaSuDisco();
    } catch (const RoutineError &errore) {
        puntatoreNormale();
        m_context.prompt.warn(u"Errore"_s, testoErrore(errore));
        // Invia closes as soon as this window has.
        reject();
    }
}

void Trasmis::salvaSuDisco()
{
    if (m_context.prompt.ask(
            Prompt::Icon::None, Prompt::Buttons::YesNo, TitoloVersione,
            u"Si desidera controllare se questa versione dell'applicativo è abilitata alla "
            u"trasmissione? Qualunque sia l'esito del controllo, sarà comunque possibile "
            u"effettuare la copia su dischetto. Per effettuare il controllo è necessario che "
            u"sia attiva la connessione ad Internet."_s) == Prompt::Answer::Yes) {
        bool abilitata = false;
        {
            FinestraOccupata occupata(this);
            ServerRequest richiesta(m_context, m_context.fileIni(), m_context.programFolder(),
                                    m_context.installazione(), m_inet,
                                    richiestaVersione(VarianteControllo::Trasmis, m_context.installazione(),
                                                      QUrl(indirizzoUpload(m_context)).host()),
                                    [](bool) {});
            abilitata = ControllaVersione(m_context, richiesta, VarianteControllo::Trasmis, puntatoreNormale);
        }
        if (abilitata) {
            m_context.prompt.inform(
                TitoloVersione, u"La presente versione dell'applicativo è abilitata alla trasmissione."_s);
        } else if (m_context.prompt.ask(Prompt::Icon::Critical, Prompt::Buttons::YesNo, TitoloVersione,
                                        u"La presente versione dell'applicativo non è abilitata alla "
                                        u"trasmissione. Scaricare ed installare il più presto possibile la "
                                        u"versione più recente. Continuare l'operazione di copia?"_s) !=
                   Prompt::Answer::Yes) {
            return;
        }
    }

    m_context.preferenze().EMailValida = false;
    {
        frmMailAggInst richiestaEMail(m_context, this);
        m_context.dialogRunner.run(richiestaEMail);
    }
    if (!m_context.preferenze().EMailValida) {
        m_context.prompt.warn(u"Salvataggio dati"_s,
                              u"E' necessario specificare un indirizzo di posta"_s + CrLf +
                                  u"elettronica per poter procedere al salvataggio dei dati."_s);
        return;
    }
    Trasmissione &trasmissione = m_context.trasmissione();
    trasmissione.EmailTrasm = m_context.userSettings().value(UserKeys::EMail, QString());

    FinestraOccupata occupata(this);
    if (!CreaFile(m_context, m_context.domanda().NumDomaCorrente)) {
        puntatoreNormale();
        m_context.prompt.critical(u"Crea File di Trasmissione"_s,
                                  u"Creazione file di trasmissione fallita."_s);
        return;
    }
    const QString cartella = CopiaInTrasmissioni(m_context.programFolder(), trasmissione.NomeFileTrasm);
    puntatoreNormale();
    m_context.prompt.inform(u"Copia su floppy disk"_s,
                            u"Copia dei dati effettuata."_s + CrLf + u"Copiato file "_s + CrLf +
                                trasmissione.NomeFileTrasm + CrLf + u"nella cartella "_s + CrLf + cartella);
}
