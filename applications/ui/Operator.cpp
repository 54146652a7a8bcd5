#include "applications/ui/Operator.h"

#include "applications/Operatore.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/state/DomandaCorrente.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"
#include "core/ui/ListaSelezione.h"
#include "ui_Operator.h"

#include <QFocusEvent>
#include <QGuiApplication>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString NonDisponibile = u"Funzione non ancora disponibile."_s;

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

} // namespace

Operator::Operator(Context &context, std::function<void()> apriSedeLegale, QWidget *parent)
    : SezioneFinestra(context, testiOperator(), parent), m_ui(std::make_unique<Ui::Operator>()),
      m_apriSedeLegale(std::move(apriSedeLegale))
{
    m_ui->setupUi(this);
    Immagini::setBackground(this);
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

    connect(m_ui->txtcomleg, &QLineEdit::textChanged, this, &Operator::txtcomleg_Change);
    connect(m_ui->SSTab1, &QTabWidget::currentChanged, this, &Operator::SSTab1_Click);
    connect(m_ui->cmdSedeLeg, &QAbstractButton::clicked, this, &Operator::cmdSedeLeg_Click);
    connect(m_ui->cmdComuNasc, &QAbstractButton::clicked, this, &Operator::cmdComuNasc_Click);
    connect(m_ui->cmdStatoEstero, &QAbstractButton::clicked, this, &Operator::cmdStatoEstero_Click);

    m_ui->SSTab1->setCurrentIndex(0);
    Form_Load();
}

Operator::~Operator() = default;

void Operator::apri(Context &context, std::function<void()> apriSedeLegale)
{
    Operator finestra(context, std::move(apriSedeLegale));
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
        if (!rs.isOpen())
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
    EsitoScrittura esito;
    const bool scritto = salvaConRecupero([&] {
        esito = scriviOperatore(m_context.DE().CorsiDB(), domanda.NumDomaCorrente, domanda.GrupOpeCorrente,
                                domanda.OperatoreCorrente, valori);
        if (!esito.domandaCancellata)
            rsQryDomande().requery();
    });
    if (!scritto)
        return false;
    if (esito.domandaCancellata) {
        m_context.prompt.warn(
            TitoloAccessoConcorrente,
            u"La domanda è stata cancellata da un'altra postazione. Impossibile salvare le modifiche."_s);
        chiudiVista(false);
        SalvaVarIni(m_context);
        chiudi();
        return false;
    }
    if (esito.registroMancante)
        m_context.prompt.inform(
            m_testi.titolo,
            u"Dati non presenti nell'anagrafica regionale: salvati solo i dati della domanda."_s);
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

void Operator::txtcomleg_Change(const QString &testo)
{
    if (!testo.isEmpty())
        return;
    m_ui->txtProvLeg->clear();
    if (!m_context.domanda().DomandaStampataCorrente)
        m_ui->txtProvLeg->setEnabled(true);
}

void Operator::SSTab1_Click()
{
    m_contestoAiuto = m_testi.argomentoAiuto;
    setHelpContext(m_context, this, m_contestoAiuto);
}

void Operator::cmdSedeLeg_Click()
{
    if (m_apriSedeLegale)
        m_apriSedeLegale();
    else
        m_context.prompt.inform(u"FrmSedeLeg"_s, NonDisponibile);
}

void Operator::cmdComuNasc_Click()
{
    m_context.prompt.inform(u"TabComu"_s, NonDisponibile);
}

void Operator::cmdStatoEstero_Click()
{
    m_context.prompt.inform(u"TabNaz"_s, NonDisponibile);
}
