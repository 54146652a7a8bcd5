#include "mainwindow/ui/Main.h"

#include "core/config/IniFile.h"
#include "core/config/IniKeys.h"
#include "core/config/UserSettings.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/files/ProgramFolder.h"
#include "core/services/ErrorBoxes.h"
#include "core/startup/Inizializza.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/state/HelpTopics.h"
#include "core/state/InstallationState.h"
#include "core/state/Preferences.h"
#include "core/state/StartupHooks.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"
#include "core/ui/Puntatore.h"
#include "core/ui/frmOpzioni.h"
#include "mainwindow/Comandi.h"
#include "mainwindow/CopiaDiRiserva.h"
#include "mainwindow/VociMenu.h"
#include "mainwindow/ui/RitornoInPrimoPiano.h"
#include "ui_Main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString CrLf = u"\r\n"_s;
constexpr int ArgomentoAiuto = 20000;
/** The Symbol typeface's arrows of the calendar toggle: down to show it, up to hide it. */
const QString FrecciaGiu = u"\u2193"_s;
const QString FrecciaSu = u"\u2191"_s;

/** Labels that draw parts of panels and pictures; the window's own labels are the others. */
bool parteDiPannello(const QString &name)
{
    return name.startsWith(u"StBarPanel") || name.startsWith(u"lblAttesa") || name == u"Image1";
}

QColor coloreWindows(int value)
{
    return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}

/** The caption's colour while the window takes input; a disabled window greys it as Qt does. */
void coloraTesto(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Active, QPalette::WindowText, colour);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, colour);
    label->setPalette(palette);
}

void coloraTesto(QLabel *label, int value)
{
    coloraTesto(label, coloreWindows(value));
}

/**
 * The captions on one line each, so that none breaks inside a phrase: one font size for all, the
 * largest, down to eight points, at which every caption fits its label.
 */
void suUnaRiga(const QList<QLabel *> &labels)
{
    QFont font = labels.constFirst()->font();
    const auto entrano = [&font, &labels] {
        const QFontMetrics metrics(font);
        return std::all_of(labels.begin(), labels.end(), [&metrics](const QLabel *label) {
            return metrics.horizontalAdvance(label->text()) <= label->width();
        });
    };
    while (!entrano() && font.pointSizeF() > 8)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    const QFontMetrics metrics(font);
    for (QLabel *label : labels) {
        label->setFont(font);
        // A caption that fits is laid out whole: the label's wrapping would break it a pixel early.
        if (metrics.horizontalAdvance(label->text()) <= label->width())
            label->setWordWrap(false);
    }
}

bool valoreAcceso(const QString &stored)
{
    return stored.trimmed().toDouble() != 0;
}

void puntatoreOccupato()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

} // namespace

Main::Main(Context &context, FinestreComandi finestre, QWidget *parent)
    : QWidget(parent), m_context(context), m_finestre(std::move(finestre)), m_ui(std::make_unique<Ui::Main>())
{
    m_ui->setupUi(this);
    m_ui->calendario->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
    m_timer.setObjectName(u"Timer"_s);
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &Main::Timer_Timer);

    const std::pair<kx::ImageButton *, void (Main::*)()> pulsanti[] = {
        {m_ui->cmdSelDoma, &Main::cmdSelDoma_Click},
        {m_ui->cmdOpe, &Main::cmdOpe_Click},
        {m_ui->cmdCompo, &Main::cmdCompo_Click},
        {m_ui->cmdCorsi, &Main::cmdCorsi_Click},
        {m_ui->cmdSpostaCorsi, &Main::cmdSpostaCorsi_Click},
        {m_ui->cmdAllega, &Main::cmdAllega_Click},
        {m_ui->cmdStBozza, &Main::cmdStBozza_Click},
        {m_ui->cmdInvia1, &Main::cmdInvia1_Click},
        {m_ui->cmdScaricoCorsi, &Main::cmdScaricoCorsi_Click},
        {m_ui->cmdAggInst, &Main::cmdAggInst_Click},
        {m_ui->cmdBackup, &Main::cmdBackup_Click},
        {m_ui->cmdOpzioni, &Main::cmdOpzioni_Click},
        {m_ui->cmdMailHelp, &Main::cmdMailHelp_Click},
        {m_ui->cmdHelp, &Main::cmdHelp_Click},
        {m_ui->cmdEsci, &Main::cmdEsci_Click},
    };
    for (const auto &[pulsante, handler] : pulsanti)
        connect(pulsante, &QAbstractButton::clicked, this, comando(handler));
    connect(m_ui->cmdAnnullaAgg, &QPushButton::clicked, this, &Main::cmdAnnullaAgg_Click);

    // Mouse moves reach the window's handlers without a button held, as they always did.
    setMouseTracking(true);
    const auto children = findChildren<QWidget *>();
    for (QWidget *child : children) {
        child->setMouseTracking(true);
        child->installEventFilter(this);
    }
    QList<QLabel *> didascalie;
    for (const VoceMenu &voce : vociMenu()) {
        auto *etichetta = findChild<QLabel *>(voce.etichetta);
        etichetta->setCursor(Immagini::handCursor());
        coloraTesto(etichetta, ColoreNormale);
        didascalie.append(etichetta);
    }
    suUnaRiga(didascalie);
    for (const Collegamento &link : collegamenti()) {
        auto *etichetta = findChild<QLabel *>(link.etichetta);
        etichetta->setCursor(Immagini::handCursor());
        etichetta->setToolTip(link.indirizzo);
        etichetta->setPixmap(Immagini::logo(u"img"_s + link.etichetta.mid(3), etichetta->size()));
    }
    m_ui->Image1->setPixmap(Immagini::logo(u"imgLogoMain"_s, m_ui->Image1->size()));

    m_ritorno = std::make_unique<RitornoInPrimoPiano>(this);
}

Main::~Main() = default;

QLabel *Main::LblCont() const
{
    return m_ui->LblCont;
}

void Main::pnlAttesa(bool visibile, const QString &didascalia)
{
    m_ui->lblAttesaAggiornamento->setText(didascalia);
    m_ui->pnlAttesa->setVisible(visibile);
    m_ui->pnlAttesa->raise();
    m_ui->pnlAttesa->repaint();
}

void Main::limitiPB1(int minimo, int massimo)
{
    m_ui->PB1->setRange(minimo, massimo);
}

void Main::valorePB1(int valore)
{
    m_ui->PB1->setValue(valore);
}

void Main::mostraAttesa(bool visibile)
{
    m_ui->panel_Attesa->setVisible(visibile);
    m_ui->PB1->setVisible(visibile);
    m_ui->panel_Attesa->repaint();
}

std::function<void()> Main::comando(void (Main::*handler)())
{
    return [this, handler] {
        try {
            (this->*handler)();
        } catch (const std::exception &error) {
            puntatoreNormale();
            m_context.prompt.critical(u"Errore imprevisto"_s, testoErrore(comeErroreRoutine(error)));
        }
        puntatoreNormale();
    };
}

// Load, activation and closing ---------------------------------------------------------------------

void Main::Form_Load()
{
    m_ui->PB1->hide();
    m_ui->panel_Attesa->show();
    puntatoreOccupato();
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    m_primaAttivazione = true;
    Immagini::setBackground(this, u"imgSfondoMain"_s);
    setHelpContext(m_context, this, ArgomentoAiuto);
    Timer_Timer();
    m_timer.start();

    for (QLabel *label : {m_ui->lblGrOpe, m_ui->lblCodOpe, m_ui->lblDenOpe, m_ui->lblDenProv})
        label->clear();
    m_ui->calendario->setSelectedDate(m_context.clock.now().date());
    m_ui->lblMenu->setCursor(Immagini::handCursor());

    const UserSettings &settings = m_context.userSettings();
    Preferences &preferenze = m_context.preferenze();
    preferenze.EffettoSottolinea = valoreAcceso(settings.value(UserKeys::OptSottolinea, u"0"_s));
    preferenze.EffettoAumenta = valoreAcceso(settings.value(UserKeys::OptAumenta, u"0"_s));
    preferenze.EffettoCambiaColore = valoreAcceso(settings.value(UserKeys::OptCambia, u"1"_s));

    InstallationState &installazione = m_context.installazione();
    installazione.VersioneInstallazione = m_context.fileIni().Leggi(IniKeys::Versione);
    if (installazione.VersioneInstallazione != VersioneServer &&
        installazione.VersioneInstallazione != VersioneClient) {
        puntatoreNormale();
        m_context.prompt.critical(u"Errore nel file ini"_s,
                                  u"Le impostazioni del file "_s + NomeFileIni + u" riguardo la versione"_s +
                                      CrLf + u"Non sono Valide. Contattare l'assistenza tecnica."_s);
        if (m_context.DE().CorsiDB().isOpen())
            m_context.DE().CorsiDB().close();
        m_context.programExit.exit();
    }
    setWindowTitle(titoloMain(installazione.VersioneInstallazione));
    pulsanteAggiorna(installazione.VersioneInstallazione == VersioneServer);
}

void Main::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The first show is an activation also where no window manager hands the window the focus.
    if (!m_mostrata) {
        m_mostrata = true;
        attivaPiuTardi();
    }
}

void Main::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        attivaPiuTardi();
}

void Main::attivaPiuTardi()
{
    if (m_attivazioneInAttesa)
        return;
    // Runs from the event loop, not inside the platform's activation: it may open modal windows.
    m_attivazioneInAttesa = true;
    QTimer::singleShot(0, this, [this] {
        m_attivazioneInAttesa = false;
        try {
            Form_Activate();
        } catch (const std::exception &error) {
            puntatoreNormale();
            terminaPerErrore(m_context, comeErroreRoutine(error));
        }
    });
}

void Main::Form_Activate()
{
    // The selection window of the first activation brings activations of its own when it closes.
    if (m_inPrimaAttivazione)
        return;
    repaint();
    QCoreApplication::processEvents();
    if (m_primaAttivazione)
        primaAttivazione();
    intestazione();
    m_context.installazione().InstallazioneInCorso = false;
    if (m_context.installazione().VersioneInstallazione == VersioneServer)
        pulsanteAggiorna(!m_context.domanda().DomandaStampataCorrente);
}

void Main::primaAttivazione()
{
    m_inPrimaAttivazione = true;
    struct Fine
    {
        bool &flag;
        ~Fine() { flag = false; }
    } fine{m_inPrimaAttivazione};

    if (m_context.installazione().PrimaInstallazione) {
        puntatoreNormale();
        m_ui->panel_Attesa->hide();
        MostraAiuto(m_context, ArgomentoAiuto);
    }
    for (;;) {
        puntatoreOccupato();
        QCoreApplication::processEvents();
        Recordset &rsDomande = m_context.DE().rs(u"Domande"_s);
        if (rsDomande.isOpen())
            rsDomande.close();
        rsDomande.clearFilter();
        // Only whether there is more than one application matters: two rows at the most are counted.
        const int domande = m_context.DE()
                                .CorsiDB()
                                .scalar(u"SELECT COUNT(*) FROM (SELECT 1 FROM Domande LIMIT 2)"_s)
                                .toInt();
        if (domande <= 1 && m_context.domanda().NumDomaCorrente != 0) {
            puntatoreNormale();
            m_ui->panel_Attesa->hide();
            break;
        }
        puntatoreNormale();
        m_ui->panel_Attesa->hide();
        comando (&Main::cmdSelDoma_Click)();
        if (m_context.domanda().NumDomaCorrente != 0)
            break;
    }

    const auto controls = findChildren<QWidget *>();
    for (QWidget *control : controls) {
        if (haCursoreMano(control->objectName()))
            control->setCursor(Immagini::handCursor());
    }
    m_primaAttivazione = false;
}

void Main::intestazione()
{
    const CurrentApplication &domanda = m_context.domanda();
    m_ui->lblGrOpe->setText(domanda.GrupOpeCorrente);
    m_ui->lblCodOpe->setText(QString::number(domanda.OperatoreCorrente.trimmed().toLongLong()));
    m_ui->lblDenOpe->setText(denominazioneIntestazione(domanda.DenominazioneOpCorrente));
    m_ui->lblDenOpe->setToolTip(domanda.DenominazioneOpCorrente.size() > 24 ? domanda.DenominazioneOpCorrente
                                                                            : QString());
    m_ui->lblProv->hide();
    m_ui->lblDenProv->hide();
    m_ui->LblNumDoma->setText(QString::number(domanda.NumDomaCorrente));
}

void Main::pulsanteAggiorna(bool abilitato)
{
    m_ui->cmdAggInst->setEnabled(abilitato);
    m_ui->lblAggiorna->setVisible(abilitato);
}

void Main::closeEvent(QCloseEvent *event)
{
    event->accept();
    Form_Unload();
}

void Main::Form_Unload()
{
    m_timer.stop();
    Connection &corsiDB = m_context.DE().CorsiDB();
    if (corsiDB.isOpen())
        corsiDB.close();
    if (m_context.fileIni().Leggi(IniKeys::Versione) == VersioneServer) {
        puntatoreOccupato();
        CopiaDiRiserva(m_context);
        puntatoreNormale();
    }
    m_context.programExit.exit();
}

// Clock and calendar -------------------------------------------------------------------------------

void Main::Timer_Timer()
{
    m_ui->StBarPanel3->setText(m_context.clock.now().toString(u"hh:mm"_s));
}

void Main::lblCalendario_Click()
{
    m_calendarioVisibile = !m_calendarioVisibile;
    m_ui->calendario->setVisible(m_calendarioVisibile);
    m_ui->lblCalendario->setText(m_calendarioVisibile ? FrecciaSu : FrecciaGiu);
    m_ui->lblCalendario->setToolTip(m_calendarioVisibile ? u"Nascondi calendario"_s : u"Mostra calendario"_s);
}

// Status help, highlight and links -----------------------------------------------------------------

QList<QLabel *> Main::etichetteTrattate() const
{
    QList<QLabel *> labels;
    const auto children = findChildren<QLabel *>();
    for (QLabel *label : children) {
        if (!etichettaIntoccabile(label->objectName()) && !parteDiPannello(label->objectName()))
            labels << label;
    }
    return labels;
}

void Main::EvidenziaEtichetta(const QString &name)
{
    const Preferences &effetti = m_context.preferenze();
    if (!effetti.EffettoCambiaColore && !effetti.EffettoAumenta && !effetti.EffettoSottolinea)
        return;
    const auto labels = etichetteTrattate();
    for (QLabel *label : labels) {
        const bool evidenziata = label->objectName() == name;
        if (!evidenziata && label == m_ui->lblAggiorna && !m_ui->cmdAggInst->isEnabled())
            continue;
        if (effetti.EffettoCambiaColore)
            coloraTesto(label, evidenziata ? ColoreEvidenziato : ColoreNormale);
        QFont font = label->font();
        if (effetti.EffettoAumenta)
            font.setBold(evidenziata);
        if (effetti.EffettoSottolinea)
            font.setUnderline(evidenziata);
        label->setFont(font);
    }
}

void Main::voce_MouseMove(const VoceMenu &voce)
{
    EvidenziaEtichetta(voce.etichetta);
    m_ui->StBarPanel2->setText(voce.testoStato.isEmpty() ? m_ui->Label16->text() : voce.testoStato);
}

void Main::ApriCollegamento(const QString &descrizione, const QString &indirizzo)
{
    const auto answer = m_context.prompt.ask(
        Prompt::Icon::Information, Prompt::Buttons::YesNo, u"Collegamento a "_s + indirizzo,
        u"Collegamento alla pagina principale del"_s + descrizione + u"."_s + CrLf + u"Procedere?"_s);
    if (answer != Prompt::Answer::Yes)
        return;
    try {
        puntatoreOccupato();
        apriPagina(m_context, QUrl(indirizzo), puntatoreNormale);
        puntatoreNormale();
    } catch (const std::exception &error) {
        puntatoreNormale();
        m_context.prompt.critical(u"Errore di collegamento"_s, testoErrore(comeErroreRoutine(error)));
    }
}

bool Main::eventFilter(QObject *watched, QEvent *event)
{
    const QString name = watched->objectName();
    if (event->type() == QEvent::MouseMove) {
        for (const VoceMenu &voce : vociMenu()) {
            if (name == voce.pulsante || name == voce.etichetta) {
                voce_MouseMove(voce);
                return false;
            }
        }
        if (name == u"Label1" || name == u"Label3" || name == u"Label4" || name == u"Label5" ||
            name == u"Label6" || name.startsWith(u"SSPanel") || watched == m_ui->calendario ||
            m_ui->calendario->isAncestorOf(qobject_cast<QWidget *>(watched)))
            EvidenziaEtichetta(u"XX"_s);
        return false;
    }
    if (event->type() != QEvent::MouseButtonRelease ||
        static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
        return false;
    if (watched == m_ui->lblCalendario) {
        lblCalendario_Click();
        return true;
    }
    for (const VoceMenu &voce : vociMenu()) {
        if (name == voce.etichetta) {
            findChild<QAbstractButton *>(voce.pulsante)->click();
            return true;
        }
    }
    for (const Collegamento &link : collegamenti()) {
        if (name == link.etichetta) {
            ApriCollegamento(link.descrizione, link.indirizzo);
            return true;
        }
    }
    return false;
}

void Main::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
    // Moves over the controls come up here too; only the bare background counts.
    if (childAt(event->position().toPoint()))
        return;
    m_ui->StBarPanel2->clear();
    EvidenziaEtichetta(u"XX"_s);
}

// Commands -----------------------------------------------------------------------------------------

void Main::cmdSelDoma_Click()
{
    puntatoreOccupato();
    if (m_context.modalitaDebug())
        m_context.prompt.ask(Prompt::Icon::None, Prompt::Buttons::Ok, QString(), u"Gestione Regionale."_s);
    m_finestre.Seldoma();
    if (m_context.domanda().NumDomaCorrente == 0)
        cmdEsci_Click();
}

void Main::cmdOpe_Click()
{
    if (!DomandaSelezionata(m_context))
        return;
    puntatoreOccupato();
    QCoreApplication::processEvents();
    m_finestre.Operator();
}

void Main::cmdCompo_Click()
{
    if (!DomandaSelezionata(m_context))
        return;
    puntatoreOccupato();
    m_finestre.Componen();
}

void Main::cmdCorsi_Click()
{
    if (!DomandaSelezionata(m_context))
        return;
    if (!runWithRetry(m_context, QString(), [this] { return ControllaCorsi(m_context); }))
        return;
    runWithRetry(m_context, QString(), [this] { m_finestre.SelComp(); });
}

void Main::cmdSpostaCorsi_Click()
{
    if (!ControllaRiassegnazione(m_context))
        return;
    if (!RiapriDBEsclusivo(m_context))
        m_context.programExit.exit();
    // The reassignment needs the database alone; afterwards the CLIENTs may connect again.
    try {
        m_finestre.Riass();
    } catch (...) {
        RiapriDBNormaleOTermina(m_context);
        throw;
    }
    RiapriDBNormaleOTermina(m_context);
}

void Main::cmdAllega_Click()
{
    if (!DomandaSelezionata(m_context))
        return;
    m_ui->PB1->hide();
    m_ui->panel_Attesa->show();
    puntatoreOccupato();
    QCoreApplication::processEvents();
    m_finestre.frmRiepDomanda();
    m_ui->panel_Attesa->hide();
}

void Main::cmdStBozza_Click()
{
    if (!DomandaSelezionata(m_context) || !ControllaStampaBozza(m_context) || !m_finestre.VerifDomanda(*this))
        return;
    m_finestre.SelBozza();
}

void Main::cmdInvia1_Click()
{
    if (!DomandaSelezionata(m_context))
        return;
    if (!runWithRetry(m_context, QString(), [this] { return ControllaInvio(m_context); }))
        return;
    if (!runWithRetry(m_context, QString(), [this] { return m_finestre.VerifDomanda(*this); }))
        return;
    runWithRetry(m_context, QString(), [this] { m_finestre.Invia(); });
}

void Main::cmdScaricoCorsi_Click()
{
    puntatoreOccupato();
    QCoreApplication::processEvents();
    m_finestre.FrmScaricoDB();
    if (!QFileInfo(m_context.programFolder().resolve(u"CorsiApprovati.tx1"_s)).isFile())
        return;
    if (m_finestre.ImportaCorsiApprovati()) {
        m_context.prompt.inform(QString(), u"Corsi Finanziati acquisiti correttamente."_s);
        m_finestre.FrmCorsiApprovatiScaricati();
    } else {
        m_context.prompt.ask(Prompt::Icon::None, Prompt::Buttons::Ok, QString(),
                             u"Si è verificato un errore in fase di acquisizione della base dati."_s + CrLf +
                                 u"E' necessario rieffettuare lo scarico."_s);
    }
    puntatoreNormale();
}

void Main::cmdAggInst_Click()
{
    if (!DomandaSelezionata(m_context))
        return;
    m_finestre.AggiornaBaseDati();
}

void Main::cmdBackup_Click()
{
    m_finestre.frmBackup();
}

void Main::cmdOpzioni_Click()
{
    frmOpzioni opzioni(m_context, this);
    m_context.dialogRunner.run(opzioni);
    QFont font = m_ui->Label21->font();
    font.setUnderline(false);
    font.setPointSize(9);
    font.setBold(false);
    m_ui->Label21->setFont(font);
    coloraTesto(m_ui->Label21, QColor(0, 0, 255));
}

void Main::cmdMailHelp_Click()
{
    m_context.prompt.inform(
        QString(), u"Verrà ora precompilata una mail da inviare all'assitenza T.U.Z."_s + CrLf +
                       u"E' opportuno indicare il numero di telefono, la persona di riferimento e il "
                       u"tipo di problema riscontrato"_s);
    m_finestre.Browser();
}

void Main::cmdHelp_Click()
{
    MostraAiuto(m_context, ArgomentoAiuto);
}

void Main::cmdEsci_Click()
{
    close();
}

void Main::cmdAnnullaAgg_Click()
{
    m_ui->pnlAttesa->hide();
}

// The start-up's hooks ------------------------------------------------------------------------------

MainHost::MainHost(Context &context, FinestreComandi finestre)
    : m_context(context), m_finestre(std::move(finestre))
{
    StartupHooks &hooks = context.startupHooks();
    hooks.caricaMain = [this] {
        if (m_main)
            return;
        m_main = std::make_unique<Main>(m_context, m_finestre);
        m_main->Form_Load();
    };
    hooks.mostraMain = [this] {
        if (m_main && !m_main->isVisible())
            m_main->show();
    };
    hooks.chiudiMain = [this] {
        if (!m_main)
            m_context.programExit.exit();
        if (m_main->isEnabled())
            m_main->close();
    };
}

MainHost::~MainHost()
{
    m_context.startupHooks().caricaMain = nullptr;
    m_context.startupHooks().mostraMain = nullptr;
    m_context.startupHooks().chiudiMain = nullptr;
}
