#include "refdata/ui/FrmScaricoDB.h"

#include "core/config/IniFile.h"
#include "core/config/IniKeys.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/files/ProgramFolder.h"
#include "core/net/ServerRequest.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/HelpTopics.h"
#include "core/state/InstallationState.h"
#include "core/text/Cp1252.h"
#include "core/text/TextRoutines.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"
#include "core/ui/Puntatore.h"
#include "refdata/ScaricoCorsiApprovati.h"
#include "refdata/ui/frmMailAggAlbis2.h"
#include "ui_FrmScaricoDB.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QStringDecoder>
#include <QTextDocument>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

constexpr int ArgomentoAiuto = 11000;
const QString CrLf = u"\r\n"_s;
const QString TitoloScarico = u"Corsi Approvati e Finanziati - Scarico/Aggiornamento"_s;

const QString ConnessioneNonEffettuata =
    u"Connessione non effettuata "_s + CrLf +
    u"Controllare le impostazioni di connessione, dal menu Strumenti selezionare Opzioni Internet."_s + CrLf +
    u"Selezionare Impostazioni dalla scheda Connessioni."_s +
    u"Le impostazioni devono corrispondere a quelle fornite dall'amministratore della rete locale (LAN)"_s +
    CrLf + u"o dal provider di servizi Internet (ISP)."_s + CrLf +
    u"Se l 'opzione corrispondente è stata attivata dall'amministratore della rete, in Microsoft Windows "_s +
    CrLf +
    u"è possibile avviare l'analisi della rete e il rilevamento automatico delle impostazioni per la "
    u"connessione."_s +
    CrLf + u"Per ulteriori informazioni, fare clic su Rileva impostazioni di rete."_s + CrLf +
    u"Per alcuni siti è richiesta la protezione della connessione a 128 bit. "_s + CrLf +
    u"Scegliere Informazioni su Internet Explorer dal menu '?' per informazioni sul tipo di protezione "
    u"installato."_s;

const QString PassiAlternativi = u" - Aprire Google Chrome (o Mozilla Firefox se su questo "_s +
                                 u" è correttametne installato il certificato digitale),"_s + CrLf +
                                 u"  - Connettersi all' URL che verrà indicato"_s + CrLf +
                                 u"  - Copiare il codice temporaneo di abilitazione"_s + u" e proseguire."_s;

void puntatoreOccupato()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

bool sembraHtml(const QByteArray &body)
{
    const QByteArray inizio = body.left(1024).toLower();
    return inizio.contains("<html") || inizio.contains("<body") || inizio.contains("<!doctype html");
}

} // namespace

QString testoPagina(const QByteArray &body)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString testo = utf8(body);
    if (utf8.hasError())
        testo = Cp1252::decode(body);
    if (!sembraHtml(body))
        return testo;
    QTextDocument documento;
    documento.setHtml(testo);
    return documento.toPlainText();
}

FrmScaricoDB::FrmScaricoDB(Context &context, StatoScaricoCorsi &stato, QWidget *parent)
    : QDialog(parent), m_context(context), m_stato(stato),
      m_login(impostazioniTrasmissione(context.programFolder())),
      m_transfer(impostazioniScarico(context.programFolder())), m_ui(std::make_unique<Ui::FrmScaricoDB>())
{
    m_ui->setupUi(this);
    m_ui->PanAttesa->hide();
    Immagini::setBackground(this);
    setHelpContext(context, this, ArgomentoAiuto);
    connect(m_ui->CmdConferma, &ImageButton::clicked, this, &FrmScaricoDB::CmdConferma_Click);
    connect(m_ui->CmdEsci, &ImageButton::clicked, this, &FrmScaricoDB::CmdEsci_Click);
    connect(m_ui->CmdAiuto, &ImageButton::clicked, this, [this] { MostraAiuto(m_context, ArgomentoAiuto); });
    IniComboOpe();
    if (m_ui->CmbOpe->count() > 0)
        m_ui->CmbOpe->setCurrentIndex(0);
}

FrmScaricoDB::~FrmScaricoDB() = default;

void FrmScaricoDB::mostra(Context &context, StatoScaricoCorsi &stato)
{
    FrmScaricoDB finestra(context, stato);
    context.dialogRunner.run(finestra);
}

void FrmScaricoDB::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_occupato)
        puntatoreNormale();
}

void FrmScaricoDB::reject()
{
    if (!m_occupato)
        QDialog::reject();
}

void FrmScaricoDB::CmdEsci_Click()
{
    if (!m_occupato) {
        reject();
        return;
    }
    m_login.cancel();
    m_transfer.cancel();
}

void FrmScaricoDB::closeEvent(QCloseEvent *event)
{
    if (m_occupato)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void FrmScaricoDB::IniComboOpe()
{
    m_ui->CmbOpe->clear();
    try {
        Recordset &rsCorsiOper = m_context.DE().rs(u"CorsiOper"_s);
        if (rsCorsiOper.isOpen())
            rsCorsiOper.close();
        rsCorsiOper.clearFilter();
        rsCorsiOper.open();
        rsCorsiOper.setSort(u"GrupOpe, Operatore"_s);
        for (rsCorsiOper.moveFirst(); !rsCorsiOper.eof(); rsCorsiOper.moveNext()) {
            m_ui->CmbOpe->addItem(voceOperatore(rsCorsiOper.value(u"GrupOpe"_s).toString(),
                                                rsCorsiOper.value(u"Operatore"_s).toLongLong(),
                                                rsCorsiOper.value(u"Denominazione"_s).toString()));
        }
    } catch (const RoutineError &error) {
        m_context.prompt.critical(u"ERRORE"_s, u"Errore in Form.FrmScaricoDB::IniComboOpe :"_s +
                                                   QString::number(error.number()) + u" - "_s +
                                                   error.description());
    }
}

void FrmScaricoDB::occupato(bool attivo)
{
    m_occupato = attivo;
    m_ui->CmdConferma->setEnabled(!attivo);
}

void FrmScaricoDB::concludiFallimento()
{
    m_ui->PanAttesa->hide();
    repaint();
    puntatoreNormale();
    occupato(false);
}

void FrmScaricoDB::statoTrasferimento(int state)
{
    if (state >= 1 && state <= 4)
        m_ui->LblInf2->setText(u"Connessione al Server ... "_s);
    else if (state >= 5 && state <= 8)
        m_ui->LblInf2->setText(u"... Downloading in corso ... "_s);
    else if (state == 9 || state == 10)
        m_ui->LblInf2->setText(u"Disconnessione dal Server ... "_s);
    else
        return;
    m_ui->LblInf2->repaint();
}

void FrmScaricoDB::CmdConferma_Click()
{
    if (m_occupato)
        return;
    const std::optional<OperatoreScelto> scelto = operatoreDaVoce(m_ui->CmbOpe->currentText());
    if (m_ui->CmbOpe->currentText().isEmpty() || !scelto) {
        m_context.prompt.critical(u"Scarico Dati"_s, u"Selezionare un Operatore dal menù a tendina"_s);
        m_ui->CmbOpe->setFocus();
        return;
    }
    m_stato.GrupOpeScarico = scelto->grupOpe;
    m_stato.OperatoreScarico = scelto->operatore;

    occupato(true);
    puntatoreOccupato();
    m_ui->LblInf2->clear();
    m_ui->PrgBar->setValue(0);
    m_ui->PanAttesa->show();
    repaint();

    const bool conLogin = m_stato.IdAlbis.isEmpty();
    const QString token = conLogin ? AutenticaAlbis() : m_stato.IdAlbis;
    if (conLogin && m_login.cancelled()) {
        concludiFallimento();
        return;
    }
    if (token.isEmpty()) {
        m_ui->PanAttesa->hide();
        m_context.prompt.critical(TitoloScarico, u"Autenticazione non riuscita"_s);
        concludiFallimento();
        return;
    }

    ServerRequest richiesta(m_context, m_context.fileIni(), m_context.programFolder(),
                            m_context.installazione(), m_transfer, Richieste::corsiApprovati(), [](bool) {});
    richiesta.avanzamento = [this](int pezzi, bool fine) {
        m_ui->PrgBar->setValue(fine ? m_ui->PrgBar->maximum() : std::min(pezzi, m_ui->PrgBar->maximum()));
    };
    const QMetaObject::Connection stati =
        connect(&m_transfer, &HttpTransfer::stateChanged, this, &FrmScaricoDB::statoTrasferimento);
    richiesta.send(corpoRichiestaCorsi(m_stato.GrupOpeScarico, m_stato.OperatoreScarico, token));
    disconnect(stati);
    if (richiesta.Annullata) {
        concludiFallimento();
        return;
    }

    const QString &risposta = richiesta.RispostaServer;
    const bool erroreServer = !erroreDaRisposta(risposta).isEmpty();
    const bool nonValida = richiesta.RispostaCompleta && rispostaNonValida(risposta, m_transfer.status());
    if (richiesta.RispostaCompleta && !erroreServer && !nonValida) {
        puntatoreNormale();
        m_ui->LblInf2->setText(u"Elaborazione dati scaricati in corso ..."_s);
        m_ui->LblInf2->repaint();
        const EsitoPacchetto esito =
            scriviCorsiScaricati(m_context.programFolder(), m_context.installazione().PercorsoDB, risposta);
        if (esito.riuscito()) {
            m_ui->LblInf2->setText(u"Elaborazione dati scaricati completata."_s);
            m_ui->LblInf2->repaint();
            puntatoreNormale();
            m_ui->PanAttesa->hide();
            repaint();
            occupato(false);
            accept();
            return;
        }
        if (esito.stato == EsitoPacchetto::Stato::Rifiutato)
            richiesta.mostraErroreServer();
        else
            m_context.prompt.critical(u"SCARICO DB"_s, esito.descrizione);
    } else if (richiesta.CodiceRisposta != 0 &&
               richiesta.CodiceRisposta != TransferError::CertificateNotVerified) {
        m_context.prompt.critical(u"Errore di connessione"_s,
                                  u"Errore di connessione al server. Si consiglia di riprovare in un "
                                  u"secondo momento."_s);
        m_transfer.cancel();
    } else if (richiesta.RispostaCompleta && paginaHtmlNelloScarico(risposta)) {
        richiesta.mostraPaginaErrore();
    } else if (erroreServer) {
        m_context.prompt.critical(u"SCARICO DB"_s, citazioneRisposta(erroreDaRisposta(risposta)));
    } else if (nonValida) {
        richiesta.mostraErroreServer();
    }
    concludiFallimento();
}

QString FrmScaricoDB::AutenticaAlbis()
{
    QString token;
    try {
        const QString indirizzo = m_context.fileIni().Leggi(IniKeys::Albis);
        // The login page answers with redirects that a browser follows.
        constexpr int MassimoReindirizzamenti = 5;
        m_login.get(indirizzo, QString(), MassimoReindirizzamenti);
        m_login.waitWhileBusy();
        if (m_login.cancelled())
            return {};
        // A page the transfer could not bring, or an HTTP error, counts as an unreachable login page.
        const int status = m_login.status();
        const bool raggiunta = m_login.errorCode() == 0 && status > 0 && status < 400;
        const QString testo = raggiunta ? testoPagina(m_login.body()) : QString();
        if (raggiunta && upperCaseCp1252(testo).contains(u"RISPOSTA: OK"))
            return tokenDaRisposta(testo);
        if (raggiunta && !paginaNonRaggiungibile(testo))
            return {};
        return loginAlternativo(indirizzo);
    } catch (const std::exception &eccezione) {
        const RoutineError error = comeErroreRoutine(eccezione);
        m_context.prompt.critical(u"ERRORE"_s, u"Errore in Form.ListaDetermine::Albis2 :"_s +
                                                   QString::number(error.number()) + u" - "_s +
                                                   error.description());
    }
    return token;
}

QString FrmScaricoDB::loginAlternativo(const QString &indirizzo)
{
    m_context.prompt.inform(TitoloProgramma, ConnessioneNonEffettuata);
    m_context.prompt.ask(Prompt::Icon::None, Prompt::Buttons::CancelRetryContinue,
                         u"Modalità di autenticazione alternativa."_s, PassiAlternativi);
    puntatoreNormale();
    frmMailAggAlbis2 finestra(indirizzo, m_stato.IdAlbis, this);
    m_context.dialogRunner.run(finestra);
    puntatoreOccupato();
    return m_stato.IdAlbis;
}
