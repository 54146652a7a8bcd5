#include "applications/ui/Operator.h"

#include "applications/LuogoNascita.h"
#include "applications/Operatore.h"
#include "applications/ui/FrmSedeLeg.h"
#include "applications/ui/TabComu.h"
#include "applications/ui/TabNaz.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/state/DomandaCorrente.h"
#include "core/state/LuoghiScelti.h"
#include "core/state/Ricerche.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"
#include "core/ui/ListaSelezione.h"
#include "core/ui/WrappedLabel.h"
#include "ui_Operator.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QTimer>
#include <functional>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** Selects the item of that text, adding it to the list when the list lacks it. */
void mostraVoce(ListaSelezione &lista, const QString &voce)
{
    if (voce.isEmpty()) {
        lista.selezionaIndice(0);
        return;
    }
    if (!lista.selezionaTesto(voce)) {
        lista.riempi({voce});
        lista.selezionaTesto(voce);
    }
}

/** Hands the events of the widgets it watches to a function; true from it drops the event. */
class FiltroEventi : public QObject
{
public:
    FiltroEventi(QObject *parent, std::function<bool(QObject *, QEvent *)> filtro)
        : QObject(parent), m_filtro(std::move(filtro))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override { return m_filtro(watched, event); }

private:
    std::function<bool(QObject *, QEvent *)> m_filtro;
};

/** A focus change inside the window, not the window losing or regaining the activation. */
bool fuocoNellaFinestra(QEvent *event)
{
    const Qt::FocusReason motivo = static_cast<QFocusEvent *>(event)->reason();
    return motivo != Qt::ActiveWindowFocusReason && motivo != Qt::PopupFocusReason;
}

} // namespace

Operator::Operator(Context &context, QWidget *parent)
    : SezioneFinestra(context, testiOperator(), parent), m_ui(std::make_unique<Ui::Operator>())
{
    m_ui->setupUi(this);
    Immagini::setBackground(this);
    keepWrappedLabelWhole(m_ui->lblNotaPrecedente);
    m_tipi = new ListaSelezione(m_ui->cmbTOper, [] {});
    m_componenti = new ListaSelezione(m_ui->cmbCorrispondenza, [] {});
    m_attivita = new ListaSelezione(m_ui->cmbAEco, [] {});
    m_province = new ListaSelezione(m_ui->cmbDomProv, [] {});

    using Kind = KeyFilter::Kind;
    const std::tuple<QLineEdit *, std::optional<Kind>, int> filtri[] = {
        {m_ui->txtLegNome, Kind::Maiuscolo, 35},   {m_ui->txtcomleg, Kind::Maiuscolo, 30},
        {m_ui->txtProvLeg, Kind::Maiuscolo, 2},    {m_ui->txtGGLeg, Kind::Numerico, 2},
        {m_ui->txtMMLeg, Kind::Numerico, 2},       {m_ui->txtAAAALeg, Kind::Numerico, 4},
        {m_ui->txtDomPrece, Kind::Numerico, 20},   {m_ui->txtGGPrece, Kind::Numerico, 2},
        {m_ui->txtMMPrece, Kind::Numerico, 2},     {m_ui->txtAAAAPrece, Kind::Numerico, 4},
        {m_ui->txtDirettiva, Kind::Maiuscolo, 80}, {m_ui->txtAnnoDirettiva, Kind::Numerico, 4},
        {m_ui->txtProvCC, Kind::Maiuscolo, 2},     {m_ui->txtCodCC, std::nullopt, 7},
        {m_ui->txtAnnCC, Kind::Numerico, 4},       {m_ui->txtIntCC, Kind::Maiuscolo, 30},
        {m_ui->txtDesBanca, Kind::Maiuscolo, 30},  {m_ui->txtContAge, std::nullopt, 5},
        {m_ui->txtIban, Kind::Maiuscolo, 27},      {m_ui->txtNumCC, std::nullopt, 15},
        {m_ui->txtIndirAge, Kind::Maiuscolo, 30},
    };
    for (const auto &[box, tipo, limite] : filtri)
        filtroTasti(box, tipo, limite);
    for (QLineEdit *box : {m_ui->txtGGLeg, m_ui->txtMMLeg, m_ui->txtGGPrece, m_ui->txtMMPrece})
        box->installEventFilter(this);

    m_filtroLuogo = new FiltroEventi(this, [this](QObject *, QEvent *event) {
        if (event->type() == QEvent::FocusIn && fuocoNellaFinestra(event))
            txtcomleg_GotFocus();
        else if (event->type() == QEvent::FocusOut && fuocoNellaFinestra(event))
            txtcomleg_LostFocus();
        return false;
    });
    m_ui->txtcomleg->installEventFilter(m_filtroLuogo);
    m_guardiaClic = new FiltroEventi(this, [this](QObject *watched, QEvent *event) {
        if (watched != m_clicAnnullato ||
            (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick))
            return false;
        m_clicAnnullato->removeEventFilter(m_guardiaClic);
        m_clicAnnullato = nullptr;
        return true;
    });
    connect(m_ui->txtcomleg, &QLineEdit::textChanged, this, &Operator::txtcomleg_Change);
    connect(m_ui->SSTab1, &QTabWidget::currentChanged, this, &Operator::SSTab1_Click);
    connect(m_ui->cmdSedeLeg, &QAbstractButton::clicked, this, &Operator::cmdSedeLeg_Click);
    connect(m_ui->cmdComuNasc, &QAbstractButton::clicked, this, &Operator::cmdComuNasc_Click);
    connect(m_ui->cmdStatoEstero, &QAbstractButton::clicked, this, &Operator::cmdStatoEstero_Click);

    m_ui->SSTab1->setCurrentIndex(0);
    Form_Load();
}

// The filters call into the card, and the widgets they watch still send focus events while the base
// class destroys them: the filters go first.
Operator::~Operator()
{
    delete m_filtroLuogo;
    delete m_guardiaClic;
}

void Operator::apri(Context &context)
{
    Operator finestra(context);
    context.dialogRunner.run(finestra);
}

Recordset &Operator::rsQryDomande()
{
    return m_context.DE().rs(u"QryDomande"_s);
}

bool Operator::apriVista()
{
    return runWithRetry(m_context, u"Operator"_s, [this] {
        Recordset &rs = rsQryDomande();
        // The card shows, and later compares with, the row as stored now.
        if (rs.isOpen())
            rs.requery();
        else
            rs.open();
        rs.setFilter(u"NumDoma="_s + QString::number(m_context.domanda().NumDomaCorrente));
        rs.setUpdateCriteria(Recordset::UpdateCriteria::Key);
        return !rs.eof();
    });
}

void Operator::caricaVista()
{
    runWithRetry(m_context, u"Operator"_s, [this] {
        CaricaListe();
        CaricaDati();
    });
}

void Operator::nessunaRiga()
{
    m_context.prompt.warn(m_testi.titolo, u"Nessun Operatore  \r\nImpossibile gestire la proposta corsi"_s);
    chiudiAllAttivazione();
}

void Operator::CaricaListe()
{
    const CurrentApplication &domanda = m_context.domanda();
    const ListeOperatore liste =
        ::CaricaListe(m_context.DE(), domanda.GrupOpeCorrente, domanda.OperatoreCorrente);
    const std::pair<ListaSelezione *, const QStringList *> elenchi[] = {
        {m_tipi, &liste.cmbTOper},
        {m_componenti, &liste.cmbCorrispondenza},
        {m_attivita, &liste.cmbAEco},
        {m_province, &liste.cmbDomProv},
    };
    for (const auto &[lista, voci] : elenchi) {
        lista->svuota();
        lista->riempi(*voci);
    }
}

void Operator::CaricaDati()
{
    const VistaOperatore vista = ::CaricaDati(rsQryDomande());
    const SchedaOperatore &s = vista.scheda;
    m_ui->lblGrOpe->setText(s.GrupOpe);
    m_ui->lblOpe->setText(s.Operatore);
    m_ui->txtDenomi->setPlainText(s.DenominazioneOp);
    mostraVoce(*m_tipi, s.TipoOper);
    m_ui->lblCodFiscPIva->setText(vista.didascaliaCodice);
    m_ui->lblCodFisc->setText(vista.codice);
    mostraVoce(*m_componenti, s.Corrispondenza);
    m_ui->txtLegNome->setText(s.LegNome);
    m_ui->txtcomleg->setText(s.LegComNasc);
    if (vista.provinciaNascitaAbilitata)
        m_ui->txtProvLeg->setEnabled(*vista.provinciaNascitaAbilitata);
    m_ui->txtProvLeg->setText(s.LegProvNasc);
    m_ui->txtGGLeg->setText(s.LegGGNasc);
    m_ui->txtMMLeg->setText(s.LegMMNasc);
    m_ui->txtAAAALeg->setText(s.LegAAAANasc);
    m_ui->txtIban->setText(s.ContIBAN);
    m_ui->txtDesBanca->setText(s.ContDesBanca);
    m_ui->txtContAge->setText(s.ContAge);
    m_ui->txtIndirAge->setText(s.ContIndirAge);
    m_ui->txtNumCC->setText(s.ContNumCC);
    m_ui->txtIntCC->setText(s.ContIntCC);
    m_ui->txtProvCC->setText(s.ProvCCIAA);
    m_ui->txtCodCC->setText(s.CodCCIAA);
    m_ui->txtAnnCC->setText(s.AnnoCCIAA);
    mostraVoce(*m_attivita, s.AttEcono);
    m_ui->txtDomPrece->setText(s.DomPrece);
    m_ui->txtGGPrece->setText(s.GGPrece);
    m_ui->txtMMPrece->setText(s.MMPrece);
    m_ui->txtAAAAPrece->setText(s.AAAAPrece);
    mostraVoce(*m_province, s.DomProv);
    m_ui->txtDirettiva->setText(s.Direttiva);
    m_ui->txtAnnoDirettiva->setText(s.AnnoDirettiva);
    // A text longer than its box shows from its beginning.
    for (QLineEdit *box : findChildren<QLineEdit *>())
        box->setCursorPosition(0);
}

SchedaOperatore Operator::scheda() const
{
    return SchedaOperatore{
        .GrupOpe = m_ui->lblGrOpe->text(),
        .Operatore = m_ui->lblOpe->text(),
        .DenominazioneOp = m_ui->txtDenomi->toPlainText(),
        .TipoOper = m_tipi->testo(),
        .Corrispondenza = m_componenti->testo(),
        .LegNome = m_ui->txtLegNome->text(),
        .LegComNasc = m_ui->txtcomleg->text(),
        .LegProvNasc = m_ui->txtProvLeg->text(),
        .LegGGNasc = m_ui->txtGGLeg->text(),
        .LegMMNasc = m_ui->txtMMLeg->text(),
        .LegAAAANasc = m_ui->txtAAAALeg->text(),
        .ContIBAN = m_ui->txtIban->text(),
        .ContDesBanca = m_ui->txtDesBanca->text(),
        .ContAge = m_ui->txtContAge->text(),
        .ContIndirAge = m_ui->txtIndirAge->text(),
        .ContNumCC = m_ui->txtNumCC->text(),
        .ContIntCC = m_ui->txtIntCC->text(),
        .ProvCCIAA = m_ui->txtProvCC->text(),
        .CodCCIAA = m_ui->txtCodCC->text(),
        .AnnoCCIAA = m_ui->txtAnnCC->text(),
        .AttEcono = m_attivita->testo(),
        .GGPrece = m_ui->txtGGPrece->text(),
        .MMPrece = m_ui->txtMMPrece->text(),
        .AAAAPrece = m_ui->txtAAAAPrece->text(),
        .DomProv = m_province->testo(),
        .DomPrece = m_ui->txtDomPrece->text(),
        .Direttiva = m_ui->txtDirettiva->text(),
        .AnnoDirettiva = m_ui->txtAnnoDirettiva->text(),
    };
}

void Operator::PulsantiModifica()
{
    AbilitaPulsanti();
}

void Operator::AbilitaPulsanti()
{
    SezioneFinestra::PulsantiModifica();
    m_ui->cmdSedeLeg->setEnabled(true);
}

void Operator::AbilitaCampi(bool abilita)
{
    QWidget *const campi[] = {
        m_ui->txtDenomi,    m_ui->cmbTOper,       m_ui->cmbCorrispondenza, m_ui->txtLegNome,
        m_ui->cmdComuNasc,  m_ui->cmdStatoEstero, m_ui->txtcomleg,         m_ui->txtProvLeg,
        m_ui->txtGGLeg,     m_ui->txtMMLeg,       m_ui->txtAAAALeg,        m_ui->txtIban,
        m_ui->txtDesBanca,  m_ui->txtContAge,     m_ui->txtIndirAge,       m_ui->txtNumCC,
        m_ui->txtIntCC,     m_ui->txtProvCC,      m_ui->txtCodCC,          m_ui->txtAnnCC,
        m_ui->cmbAEco,      m_ui->txtDomPrece,    m_ui->txtGGPrece,        m_ui->txtMMPrece,
        m_ui->txtAAAAPrece, m_ui->cmbDomProv,     m_ui->txtDirettiva,      m_ui->txtAnnoDirettiva,
    };
    for (QWidget *campo : campi)
        campo->setEnabled(abilita);
}

bool Operator::DatiInvariati()
{
    return runWithRetry(m_context, u"cmdEsci_Click"_s,
                        [this] { return ::DatiInvariati(scheda(), rsQryDomande()); });
}

bool Operator::ControllaESalva()
{
    return SalvaOperatore();
}

bool Operator::SalvaOperatore()
{
    return VerifOperatore() && AggiornaDatiOperatore();
}

bool Operator::VerifOperatore()
{
    const EsitoVerifica esito = ::VerifOperatore(scheda(), m_ui->txtProvLeg->isEnabled());
    if (esito.superata())
        return true;
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
    m_context.prompt.critical(esito.titolo, esito.messaggio);
    if (!esito.campo.isEmpty())
        findChild<QWidget *>(esito.campo)->setFocus();
    if (esito.scheda >= 0)
        m_ui->SSTab1->setCurrentIndex(esito.scheda);
    return false;
}

bool Operator::AggiornaDatiOperatore()
{
    const CurrentApplication &domanda = m_context.domanda();
    const SchedaOperatore valori = scheda();
    const QVariantList caricati = valoriCaricati(rsQryDomande());
    EsitoScrittura esito;
    const bool scritto = salvaConRecupero([&](Scrittura scrittura) {
        esito = scriviOperatore(m_context.DE().CorsiDB(), domanda.NumDomaCorrente, domanda.GrupOpeCorrente,
                                domanda.OperatoreCorrente, valori, caricati, scrittura);
        if (!esito.domandaCancellata)
            rsQryDomande().requery();
    });
    if (!scritto)
        return false;
    if (esito.domandaCancellata) {
        m_context.prompt.warn(TitoloAccessoConcorrente, TestoDomandaCancellata);
        chiudiVista(false);
        SalvaVarIni(m_context);
        chiudi();
        return false;
    }
    if (esito.registroMancante)
        m_context.prompt.inform(m_testi.titolo, TestoRegistroMancante);
    return true;
}

void Operator::chiudiVista(bool tenereFiltro)
{
    Recordset &rs = rsQryDomande();
    if (rs.isOpen())
        rs.close();
    if (!tenereFiltro)
        rs.clearFilter();
}

void Operator::ricaricaRiga()
{
    runWithRetry(m_context, u"Operator"_s, [this] {
        rsQryDomande().requery();
        if (rsQryDomande().eof())
            return;
        CaricaDati();
    });
}

bool Operator::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        auto *box = static_cast<QLineEdit *>(watched);
        const QString testo = DueCifre(box->text());
        if (testo != box->text())
            box->setText(testo);
    }
    return SezioneFinestra::eventFilter(watched, event);
}

void Operator::txtcomleg_Change(const QString &)
{
    LuogoNascita luogo = luogoNascita();
    LuogoNascitaCambiato(luogo, m_context.domanda().DomandaStampataCorrente);
    mostraLuogoNascita(luogo);
}

LuogoNascita Operator::luogoNascita() const
{
    return LuogoNascita{
        .testo = m_ui->txtcomleg->text(),
        .provincia = m_ui->txtProvLeg->text(),
        .provinciaAbilitata = m_ui->txtProvLeg->isEnabled(),
        .provinciaDigitabile = !m_ui->txtProvLeg->isReadOnly(),
        .iniziale = m_luogoNascitaIniziale,
        .riverifica = m_riverificaLuogoNascita,
    };
}

void Operator::mostraLuogoNascita(const LuogoNascita &luogo)
{
    m_riverificaLuogoNascita = luogo.riverifica;
    QLineEdit *provincia = m_ui->txtProvLeg;
    if (provincia->text() != luogo.provincia)
        provincia->setText(luogo.provincia);
    provincia->setEnabled(luogo.provinciaAbilitata);
    if (provincia->isReadOnly() == luogo.provinciaDigitabile) {
        provincia->setReadOnly(!luogo.provinciaDigitabile);
        provincia->setStyleSheet(luogo.provinciaDigitabile ? u"background-color: white;"_s
                                                           : u"background-color: rgb(244, 244, 244);"_s);
    }
    if (m_ui->txtcomleg->text() != luogo.testo)
        m_ui->txtcomleg->setText(luogo.testo);
}

void Operator::txtcomleg_GotFocus()
{
    m_luogoNascitaIniziale = m_ui->txtcomleg->text();
}

void Operator::txtcomleg_LostFocus()
{
    QWidget *destinazione = QApplication::focusWidget();
    const RicercheLuogo ricerche{
        .comune =
            [this](const QString &nome) {
                return runWithRetry(m_context, u"txtcomleg_LostFocus"_s,
                                    [&] { return cercaComune(m_context.DE(), nome); });
            },
        .statoEstero =
            [this](const QString &nome) {
                return runWithRetry(m_context, u"txtcomleg_LostFocus"_s,
                                    [&] { return cercaStatoEstero(m_context.DE(), nome); });
            },
        .siglaProvincia = [this](const QString &prov) { return RecuperaSigProv(m_context, prov); },
    };
    LuogoNascita luogo = luogoNascita();
    const EsitoLuogoNascita esito =
        VerificaLuogoNascita(luogo, ricerche, m_context.prompt, m_context.domanda().DomandaStampataCorrente);
    mostraLuogoNascita(luogo);
    if (esito.fuoco == EsitoLuogoNascita::Fuoco::LuogoNascita)
        m_ui->txtcomleg->setFocus();
    else if (esito.fuoco == EsitoLuogoNascita::Fuoco::Provincia)
        m_ui->txtProvLeg->setFocus();
    if (esito.interrotto() && destinazione && destinazione != m_ui->txtcomleg)
        annullaClic(destinazione);
}

void Operator::annullaClic(QWidget *destinazione)
{
    if (m_clicAnnullato)
        m_clicAnnullato->removeEventFilter(m_guardiaClic);
    m_clicAnnullato = destinazione;
    destinazione->installEventFilter(m_guardiaClic);
    // Only the press under way is dropped, never a later one.
    QTimer::singleShot(0, this, [this] {
        if (m_clicAnnullato)
            m_clicAnnullato->removeEventFilter(m_guardiaClic);
        m_clicAnnullato = nullptr;
    });
}

void Operator::SSTab1_Click()
{
    m_contestoAiuto = m_testi.argomentoAiuto;
    setHelpContext(m_context, this, m_contestoAiuto);
}

void Operator::cmdSedeLeg_Click()
{
    FrmSedeLeg::apri(m_context);
}

void Operator::cmdComuNasc_Click()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    std::array<QString, 4> &comune = m_context.luoghiScelti().ComuneScelto;
    comune = {};
    {
        TabComu finestra(m_context, this);
        m_context.dialogRunner.run(finestra);
    }
    LuogoNascita luogo = luogoNascita();
    if (!ComuneSceltoInLuogo(luogo, comune, m_context.domanda().DomandaStampataCorrente))
        return;
    mostraLuogoNascita(luogo);
    QCoreApplication::processEvents();
    m_ui->txtcomleg->repaint();
    m_ui->txtProvLeg->repaint();
}

void Operator::cmdStatoEstero_Click()
{
    LuoghiScelti::Stato &stato = m_context.luoghiScelti().StatoEsteroScelto;
    stato = {};
    {
        TabNaz finestra(m_context, this);
        m_context.dialogRunner.run(finestra);
    }
    LuogoNascita luogo = luogoNascita();
    if (!StatoSceltoInLuogo(luogo, stato.codice, stato.nome))
        return;
    mostraLuogoNascita(luogo);
    QCoreApplication::processEvents();
    m_ui->txtcomleg->repaint();
    m_ui->txtProvLeg->repaint();
}
