#include "applications/ui/FrmnReg.h"

#include "applications/CreazioneDomanda.h"
#include "core/config/IniKeys.h"
#include "core/config/UserSettings.h"
#include "core/data/DataEnvironment.h"
#include "core/net/ServerRequest.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/state/InstallationState.h"
#include "core/state/NuovaDomanda.h"
#include "core/state/Preferences.h"
#include "core/ui/HelpContext.h"
#include "core/ui/Immagini.h"
#include "core/ui/frmMailAggInst.h"
#include "ui_FrmnReg.h"

#include <QCloseEvent>
#include <QGuiApplication>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

constexpr int ArgomentoAiuto = 15000;
const QString TitoloErrore = u"ERRORE"_s;

void puntatoreNormale()
{
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

} // namespace

FrmnReg::FrmnReg(Context &context, const TransferSettings &trasmissione, QWidget *parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::FrmnReg>()), m_inet(trasmissione)
{
    m_ui->setupUi(this);
    m_inet.setObjectName(u"Inet"_s);
    Immagini::setBackground(this);
    setHelpContext(context, this, ArgomentoAiuto);
    m_ui->lblAttesa->hide();
    m_ui->PgrBar->hide();

    connect(m_ui->CmdnReg, &QPushButton::clicked, this, &FrmnReg::CmdnReg_Click);
    connect(m_ui->Command2, &QPushButton::clicked, this, &FrmnReg::Command2_Click);
    connect(&m_inet, &HttpTransfer::stateChanged, this, &FrmnReg::Inet_StateChanged);
}

FrmnReg::~FrmnReg() = default;

void FrmnReg::Command2_Click()
{
    if (m_inCorso) {
        m_inet.cancel(); // the request stops; the window waits for the user's next choice
        return;
    }
    m_context.nuovaDomanda().NumeroDomandaOttenuto = false;
    QDialog::done(Rejected);
}

void FrmnReg::reject()
{
    if (!m_inCorso)
        Command2_Click();
}

void FrmnReg::closeEvent(QCloseEvent *event)
{
    if (m_inCorso)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void FrmnReg::CmdnReg_Click()
{
    while (!richiesta()) {
    }
}

bool FrmnReg::chiediEMail()
{
    for (;;) {
        m_context.preferenze().EMailValida = false;
        frmMailAggInst prompt(m_context, this);
        m_context.dialogRunner.run(prompt);
        if (m_context.preferenze().EMailValida)
            return true;
        if (m_context.prompt.ask(Prompt::Icon::Information, Prompt::Buttons::YesNo, u"E-Mail"_s,
                                 MessaggiCreazione::emailNecessaria()) != Prompt::Answer::Yes)
            return false;
    }
}

bool FrmnReg::richiesta()
{
    const InstallationState &installazione = m_context.installazione();
    QString percorso;
    try {
        if (!chiediEMail()) {
            m_context.prompt.critical(TitoloErrore, MessaggiCreazione::impossibileContinuare());
            termina(false);
            return true;
        }
        const QString email = m_context.userSettings().value(UserKeys::EMail, QString());
        attesa(true);

        const CurrentApplication &domanda = m_context.domanda();
        ServerRequest numero(m_context, m_context.fileIni(), m_context.programFolder(), installazione, m_inet,
                             Richieste::nuovoNumeroDomanda(), [](bool) {});
        numero.send(corpoRichiestaNumero(domanda.GrupOpeCorrente, domanda.OperatoreCorrente, email));
        percorso = numero.PercorsoServizio;
        if (numero.Annullata) {
            attesa(false);
            return true;
        }

        if (!numero.RispostaCompleta) {
            if (m_context.prompt.ask(Prompt::Icon::Critical, Prompt::Buttons::OkCancel, TitoloErrore,
                                     MessaggiCreazione::erroreConnessione(installazione.IndirizzoServer,
                                                                          percorso)) == Prompt::Answer::Ok)
                return false;
            m_context.prompt.critical(TitoloErrore,
                                      MessaggiCreazione::certificato(installazione.IndirizzoServer));
            m_context.programExit.exit();
        }

        const std::optional<qint32> ricevuto = numeroDomandaRicevuto(numero.RispostaServer, m_inet.status());
        if (numero.erroreApplicativo() || !ricevuto) {
            numero.mostraPaginaErrore();
            termina(false);
            return true;
        }

        m_ui->lblAttesa->hide();
        CreaDomanda(
            m_context.DE().CorsiDB(), m_context.prompt,
            {*ricevuto, domanda.GrupOpeCorrente, domanda.OperatoreCorrente.toInt(), domanda.ProvCorrente});
        m_context.domanda().NumDomaCorrente = *ricevuto;
        m_context.nuovaDomanda().NumeroDomandaOttenuto = true;
        termina(true);
    } catch (const RoutineError &) {
        m_context.prompt.critical(
            TitoloProgramma, MessaggiCreazione::numeroNonValido(installazione.IndirizzoServer, percorso));
        termina(false);
    }
    return true;
}

void FrmnReg::attesa(bool inCorso)
{
    m_inCorso = inCorso;
    m_ui->CmdnReg->setEnabled(!inCorso);
    if (inCorso) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        m_ui->lblAttesa->show();
        m_ui->PgrBar->show();
        m_ui->PgrBar->setValue(0);
        m_ui->lblAttesa->repaint();
    } else {
        puntatoreNormale();
    }
}

void FrmnReg::Inet_StateChanged(int state)
{
    QProgressBar *barra = m_ui->PgrBar;
    if (state >= TransferState::Resolving && state <= 10 && barra->value() < 74)
        barra->setValue(barra->value() + 8);
    else if (state == TransferState::Completed)
        barra->setValue(std::min(barra->maximum(), barra->value() + 9));
}

void FrmnReg::termina(bool ottenuto)
{
    attesa(false);
    QDialog::done(ottenuto ? Accepted : Rejected);
}
