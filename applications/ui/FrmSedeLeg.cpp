#include "applications/ui/FrmSedeLeg.h"

#include "core/data/DataEnvironment.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/ui/Immagini.h"
#include "ui_FrmSedeLeg.h"

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString NessunComponenteTitolo = u"Nessun Componente!"_s;
const QString NessunComponente =
    u"ATTENZIONE: non ci sono più Componenti per l'Operatore selezionato. Impossibile continuare la "
    u"sessione di lavoro. Contattare il servizio di assistenza T.U.Z. riportando questo messaggio."_s;

} // namespace

FrmSedeLeg::FrmSedeLeg(Context &context, QWidget *parent)
    : SezioneFinestra(context, testiFrmSedeLeg(), parent), m_ui(std::make_unique<Ui::FrmSedeLeg>())
{
    m_ui->setupUi(this);
    Immagini::setBackground(this);

    using Kind = KeyFilter::Kind;
    const std::tuple<QLineEdit *, std::optional<Kind>, int> filtri[] = {
        {m_ui->txtDenominazione, std::nullopt, 100},
        {m_ui->txtComDes, std::nullopt, 30},
        {m_ui->txtCap, Kind::Numerico, 5},
        {m_ui->txtIndirizzo, std::nullopt, 50},
        {m_ui->txtStatoEstero, std::nullopt, 30},
        {m_ui->txtCittaEstero, std::nullopt, 30},
        {m_ui->txtTel, Kind::Numerico, 20},
        {m_ui->txtFax, Kind::Numerico, 20},
        {m_ui->txtPostaElettronica, std::nullopt, 80},
        {m_ui->txtRiferimento, Kind::Maiuscolo, 30},
    };
    for (const auto &[box, tipo, limite] : filtri)
        filtroTasti(box, tipo, limite);

    const CurrentApplication &domanda = context.domanda();
    m_ui->lblGrOpe->setText(domanda.GrupOpeCorrente);
    m_ui->lblOpe->setText(domanda.OperatoreCorrente);
    m_ui->lblDenOpe->setText(domanda.DenominazioneOpCorrente);
    Form_Load();
}

FrmSedeLeg::~FrmSedeLeg() = default;

void FrmSedeLeg::apri(Context &context)
{
    FrmSedeLeg finestra(context);
    if (!finestra.chiusa())
        context.dialogRunner.run(finestra);
}

bool FrmSedeLeg::apriVista()
{
    m_righe = runWithRetry(m_context, u"FrmSedeLeg"_s,
                           [this] { return leggiSediLegali(m_context.DE().CorsiDB(), m_context.domanda()); });
    return m_righe.size() == 1;
}

void FrmSedeLeg::caricaVista()
{
    CaricaDati();
}

void FrmSedeLeg::nessunaRiga()
{
    m_context.prompt.critical(QString(), anomaliaSediLegali(m_righe.size()));
    chiudi();
}

void FrmSedeLeg::CaricaDati()
{
    const SchedaSedeLegale &s = m_righe.constFirst().scheda;
    m_ui->lblComponente->setText(s.Componente);
    m_ui->txtDenominazione->setText(s.Denominazione);
    m_ui->txtComDes->setText(s.ComDes);
    m_ui->lblCodComune->setText(s.CodComune);
    m_ui->lblSigProv->setText(s.SigProv);
    m_ui->txtCap->setText(s.Cap);
    m_ui->txtIndirizzo->setText(s.Indirizzo);
    m_ui->txtStatoEstero->setText(s.StatoEstero);
    m_ui->txtCittaEstero->setText(s.CittaEstero);
    m_ui->txtTel->setText(s.Tel);
    m_ui->txtFax->setText(s.Fax);
    m_ui->txtPostaElettronica->setText(s.Email);
    m_ui->txtRiferimento->setText(s.Riferimento);
    for (QLineEdit *box : findChildren<QLineEdit *>())
        box->setCursorPosition(0);
}

SchedaSedeLegale FrmSedeLeg::scheda() const
{
    return SchedaSedeLegale{
        .Componente = m_ui->lblComponente->text(),
        .Denominazione = m_ui->txtDenominazione->text(),
        .ComDes = m_ui->txtComDes->text(),
        .CodComune = m_ui->lblCodComune->text(),
        .SigProv = m_ui->lblSigProv->text(),
        .Cap = m_ui->txtCap->text(),
        .Indirizzo = m_ui->txtIndirizzo->text(),
        .StatoEstero = m_ui->txtStatoEstero->text(),
        .CittaEstero = m_ui->txtCittaEstero->text(),
        .Tel = m_ui->txtTel->text(),
        .Fax = m_ui->txtFax->text(),
        .Email = m_ui->txtPostaElettronica->text(),
        .Riferimento = m_ui->txtRiferimento->text(),
    };
}

void FrmSedeLeg::AbilitaCampi(bool abilita)
{
    QWidget *const campi[] = {m_ui->txtDenominazione,    m_ui->txtComDes,      m_ui->txtCap,
                              m_ui->txtIndirizzo,        m_ui->txtTel,         m_ui->txtFax,
                              m_ui->txtStatoEstero,      m_ui->txtCittaEstero, m_ui->txtRiferimento,
                              m_ui->txtPostaElettronica, m_ui->cmdComu};
    for (QWidget *campo : campi)
        campo->setEnabled(abilita);
}

bool FrmSedeLeg::DatiInvariati()
{
    // Against the seat as the window loaded it: a change stored meanwhile elsewhere is not the user's.
    return SedeLegaleInvariata(scheda(), m_righe.constFirst().scheda);
}

bool FrmSedeLeg::ControllaDati()
{
    const VerificaSedeLegale esito = ControllaSedeLegale(scheda(), m_righe.constFirst().componenteNullo);
    if (esito.superata())
        return true;
    if (!esito.messaggio.isEmpty())
        m_context.prompt.critical(TitoloVerificaDati, esito.messaggio);
    findChild<QWidget *>(esito.campo)->setFocus();
    return false;
}

bool FrmSedeLeg::ControllaESalva()
{
    if (!ControllaDati())
        return false;
    return SalvaDati();
}

bool FrmSedeLeg::SalvaDati()
{
    m_esito = {};
    const SchedaSedeLegale valori = scheda();
    const QVariantList caricati = m_righe.constFirst().memorizzati;
    const bool scritto = salvaConRecupero([&](Scrittura scrittura) {
        m_esito = scriviSedeLegale(m_context.DE().CorsiDB(), m_context.domanda(), valori, caricati, scrittura,
                                   false);
    });
    if (chiusa())
        return false;
    if (m_esito.domandaCancellata) {
        m_context.prompt.warn(TitoloAccessoConcorrente, TestoDomandaCancellata);
        chiudi();
        return false;
    }
    if (!scritto)
        return false;
    if (m_esito.registroMancante)
        m_context.prompt.inform(m_testi.titolo, TestoRegistroMancante);
    // What was written is now the seat as loaded.
    RigaSedeLegale &caricata = m_righe.first();
    caricata.scheda = valori;
    caricata.memorizzati = valoriSedeLegale(valori);
    return true;
}

void FrmSedeLeg::reinserisci()
{
    m_esito = scriviSedeLegale(m_context.DE().CorsiDB(), m_context.domanda(), scheda(), {},
                               Scrittura::Sovrascrivi, true);
}

void FrmSedeLeg::ricaricaRiga()
{
    ricarica();
}

void FrmSedeLeg::ricarica()
{
    const QString sede = m_ui->lblComponente->text();
    const QList<RigaSedeLegale> righe = leggiSediLegali(m_context.DE().CorsiDB(), m_context.domanda());
    for (const RigaSedeLegale &riga : righe)
        if (riga.scheda.Componente == sede) {
            m_righe = {riga};
            CaricaDati();
            return;
        }
    m_context.prompt.critical(NessunComponenteTitolo, NessunComponente);
    chiudi();
}

void FrmSedeLeg::chiudiVista(bool) {}
