#include "applications/ui/Componen.h"

#include "applications/ui/FrmEleSedi.h"
#include "core/data/DataEnvironment.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/state/Preferences.h"
#include "core/text/TextRoutines.h"
#include "core/ui/FieldRoutines.h"
#include "core/ui/Immagini.h"
#include "core/ui/ListaSelezione.h"
#include "ui_Componen.h"

#include <QGuiApplication>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString NessunaSede =
    u"Nessun Componente per l'Operatore selezionato.\r\nImpossibile gestire la proposta corsi"_s;

} // namespace

Componen::Componen(Context &context, QWidget *parent)
    : SezioneFinestra(context, testiComponen(), parent), m_ui(std::make_unique<Ui::Componen>()),
      m_modalitaSolaLettura(context.domanda().DomandaStampataCorrente)
{
    m_ui->setupUi(this);
    Immagini::setBackground(this);
    m_tipi = new ListaSelezione(m_ui->cmbTipoCompo, [] {});

    using Kind = KeyFilter::Kind;
    const std::tuple<QLineEdit *, std::optional<Kind>, int> filtri[] = {
        {m_ui->txtCap, Kind::Numerico, 5},           {m_ui->txtTel, Kind::Numerico, 20},
        {m_ui->txtFax, Kind::Numerico, 20},          {m_ui->txtPostaElettronica, std::nullopt, 80},
        {m_ui->txtRiferimento, Kind::Maiuscolo, 30},
    };
    for (const auto &[box, tipo, limite] : filtri)
        filtroTasti(box, tipo, limite);
    for (QWidget *campo :
         {static_cast<QWidget *>(m_ui->cmbTipoCompo), static_cast<QWidget *>(m_ui->txtDenominazione),
          static_cast<QWidget *>(m_ui->txtComDes), static_cast<QWidget *>(m_ui->txtIndirizzo),
          static_cast<QWidget *>(m_ui->txtStatoEstero), static_cast<QWidget *>(m_ui->txtCittaEstero)})
        campo->setEnabled(false);

    const CurrentApplication &domanda = context.domanda();
    m_ui->lblGrOpePres->setText(domanda.GrupOpeCorrente);
    m_ui->lblOpePres->setText(trimBlanks(domanda.OperatoreCorrente));
    m_ui->lblDenOpePres->setText(domanda.DenominazioneOpCorrente);
    m_ui->lblProposta->setText(QString::number(domanda.NumDomaCorrente));
    m_ui->SSTab1->setCurrentIndex(0);

    connect(m_ui->cmdFirst, &QAbstractButton::clicked, this, [this] { Naviga(Direzione::Primo); });
    connect(m_ui->cmdPrevious, &QAbstractButton::clicked, this, [this] { Naviga(Direzione::Precedente); });
    connect(m_ui->cmdNext, &QAbstractButton::clicked, this, [this] { Naviga(Direzione::Successivo); });
    connect(m_ui->cmdLast, &QAbstractButton::clicked, this, [this] { Naviga(Direzione::Ultimo); });
    connect(m_ui->cmdVai, &QAbstractButton::clicked, this, &Componen::cmdVai_Click);
    Form_Load();
}

Componen::~Componen() = default;

void Componen::apri(Context &context)
{
    Componen finestra(context);
    if (!finestra.chiusa())
        context.dialogRunner.run(finestra);
}

bool Componen::apriVista()
{
    m_tipi->svuota();
    // The unexpected-error box of the type list has no title of its own.
    m_tipi->riempi(
        runWithRetry(m_context, QString(), [this] { return vociTipoCompo(m_context.DE().CorsiDB()); }));
    const std::optional<QList<SchedaSede>> sedi = leggi();
    m_erroreCaricamento = !sedi;
    m_sedi = sedi.value_or(QList<SchedaSede>());
    return !m_sedi.isEmpty();
}

std::optional<QList<SchedaSede>> Componen::leggi()
{
    try {
        return leggiSedi(m_context.DE().CorsiDB(), m_context.domanda());
    } catch (const std::exception &eccezione) {
        m_context.prompt.critical(
            QString(), testoErroreRoutine(u"Errore in Componen.Load"_s, comeErroreRoutine(eccezione)));
        return std::nullopt;
    }
}

void Componen::caricaVista()
{
    m_posizione = 0;
    CaricaDati();
    impostaStato(m_sedi.size() > 1 ? StatoNavigazione::Primo : StatoNavigazione::Unico);
}

void Componen::nessunaRiga()
{
    // Seats that could not be read were told by the loading's own box.
    if (!m_erroreCaricamento)
        m_context.prompt.critical(u"Componenti"_s, NessunaSede);
    chiudiAllAttivazione();
}

void Componen::CaricaDati()
{
    const SchedaSede &s = m_sedi.at(m_posizione);
    m_ui->SSTab1->setCurrentIndex(0);
    m_ui->lblComponente->setText(s.SedeInteressata);
    m_ui->txtDenominazione->setText(s.Denominazione);
    const QString voce = voceTipoCompo(s);
    if (voce.isEmpty() || !m_tipi->selezionaTesto(voce)) {
        if (!voce.isEmpty()) {
            m_tipi->riempi({voce});
            m_tipi->selezionaTesto(voce);
        } else {
            m_tipi->selezionaIndice(0);
        }
    }
    const IndirizzoMostrato indirizzo = regoleIndirizzo(s, m_modalitaSolaLettura);
    m_ui->lblCodComune->setText(indirizzo.CodComune);
    m_ui->txtComDes->setText(indirizzo.ComDes);
    m_ui->lblProv->setText(indirizzo.Prov);
    m_ui->txtCap->setText(indirizzo.Cap);
    m_ui->lblBacino->setText(s.Bacino);
    m_ui->txtIndirizzo->setText(s.Indirizzo);
    m_ui->txtStatoEstero->setText(indirizzo.StatoEstero);
    m_ui->txtCittaEstero->setText(indirizzo.CittaEstero);
    m_ui->txtTel->setText(s.Tel);
    m_ui->txtFax->setText(s.Fax);
    m_ui->txtPostaElettronica->setText(s.Email);
    m_ui->txtRiferimento->setText(s.Riferimento);
    m_capCaricato = indirizzo.Cap;
    m_caricata = true;
    for (QLineEdit *box : findChildren<QLineEdit *>())
        box->setCursorPosition(0);
}

void Componen::impostaStato(StatoNavigazione stato)
{
    m_stato = stato;
    const QList<bool> abilitati = pulsantiAbilitati(stato);
    QWidget *const pulsanti[] = {m_ui->cmdFirst, m_ui->cmdPrevious, m_ui->cmdNext, m_ui->cmdLast,
                                 m_ui->cmdVai};
    for (int i = 0; i < 5; ++i)
        pulsanti[i]->setEnabled(abilitati[i]);
}

ContattiSede Componen::contatti() const
{
    return ContattiSede{
        .Cap = m_ui->txtCap->text(),
        .Tel = m_ui->txtTel->text(),
        .Fax = m_ui->txtFax->text(),
        .Email = m_ui->txtPostaElettronica->text(),
        .Riferimento = m_ui->txtRiferimento->text(),
    };
}

void Componen::AbilitaCampi(bool abilita)
{
    for (QWidget *campo :
         {m_ui->txtTel, m_ui->txtFax, m_ui->txtRiferimento, m_ui->txtPostaElettronica, m_ui->txtCap})
        campo->setEnabled(abilita);
}

bool Componen::DatiInvariati()
{
    if (!m_caricata)
        return true;
    return SedeInvariata(contatti(), m_sedi.at(m_posizione), m_capCaricato);
}

bool Componen::ControllaDati()
{
    if (!trimBlanks(m_ui->txtPostaElettronica->text()).isEmpty()) {
        m_context.preferenze().EMailValida = false;
        ControllaEMail(m_context, m_ui->txtPostaElettronica);
        if (!m_context.preferenze().EMailValida)
            return false;
    }
    if (m_ui->txtRiferimento->text().isEmpty()) {
        m_context.prompt.critical(u"Controllo dati"_s, u"Inserire la persona di riferimento."_s);
        return false;
    }
    return true;
}

bool Componen::ControllaESalva()
{
    if (!ControllaDati())
        return false;
    SalvaDati();
    return true;
}

bool Componen::SalvaDati()
{
    // A seat that was not shown whole is never written.
    if (!m_caricata)
        return false;
    m_esito = {};
    m_inScrittura = contatti();
    const SchedaSede sede = m_sedi.at(m_posizione);
    const QString capCaricato = m_capCaricato;
    const bool scritto = salvaConRecupero([&](Scrittura scrittura) {
        m_esito = scriviSede(m_context.DE().CorsiDB(), m_context.domanda(), sede, m_inScrittura, capCaricato,
                             scrittura, false);
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
    // The boxes stay as typed; what was written is now the stored seat.
    registraScrittura(m_sedi[m_posizione], m_inScrittura, capCaricato);
    m_capCaricato = m_inScrittura.Cap;
    return true;
}

void Componen::reinserisci()
{
    m_esito = scriviSede(m_context.DE().CorsiDB(), m_context.domanda(), m_sedi.at(m_posizione), m_inScrittura,
                         m_capCaricato, Scrittura::Sovrascrivi, true);
}

void Componen::ricarica()
{
    m_caricata = false;
    m_sedi = leggi().value_or(QList<SchedaSede>());
    if (m_sedi.isEmpty()) {
        m_context.prompt.critical(u"Componenti"_s, NessunaSede);
        chiudi();
        return;
    }
    caricaVista();
}

void Componen::ricaricaRiga()
{
    if (!rileggi(m_sedi.at(m_posizione).SedeInteressata)) {
        ricarica();
        return;
    }
    CaricaDati();
    impostaStato(::statoNavigazione(m_posizione, m_sedi.size()));
}

void Componen::chiudiVista(bool) {}

bool Componen::rileggi(QString codice)
{
    const std::optional<QList<SchedaSede>> sedi = leggi();
    if (!sedi)
        return false;
    m_sedi = *sedi;
    for (qsizetype i = 0; i < m_sedi.size(); ++i)
        if (m_sedi[i].SedeInteressata == codice) {
            m_posizione = i;
            return true;
        }
    return false;
}

void Componen::salvaSeCambiata()
{
    if (!solaLettura() && !DatiInvariati())
        SalvaDati();
}

void Componen::Naviga(Direzione direzione)
{
    if (!m_caricata)
        return;
    salvaSeCambiata();
    if (chiusa())
        return;
    const qsizetype arrivo = posizioneDopo(direzione, m_posizione, m_sedi.size());
    const QString codice = m_sedi.at(arrivo).SedeInteressata;
    if (!rileggi(codice)) {
        if (m_sedi.isEmpty()) {
            ricarica();
            return;
        }
        m_posizione = std::min(arrivo, m_sedi.size() - 1);
    }
    CaricaDati();
    impostaStato(::statoNavigazione(m_posizione, m_sedi.size()));
}

void Componen::cmdVai_Click()
{
    if (!m_caricata)
        return;
    salvaSeCambiata();
    if (chiusa())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const QString mostrata = m_sedi.at(m_posizione).SedeInteressata;
    SceltaSede scelta{mostrata, true};
    FrmEleSedi picker(m_context, scelta, m_ui->cmdVai, this);
    m_context.dialogRunner.run(picker);
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
    // A chosen seat that is gone meanwhile leaves the window on the seat it showed.
    const QString codice = scelta.SedeSceltaConfermata ? scelta.SedeScelta : mostrata;
    if (!rileggi(codice) && !rileggi(mostrata)) {
        if (m_sedi.isEmpty()) {
            ricarica();
            return;
        }
        m_posizione = 0;
    }
    ControllaPuls(m_sedi.at(m_posizione).SedeInteressata);
}

void Componen::ControllaPuls(const QString &ExtCod)
{
    qsizetype posizione = 0;
    for (qsizetype i = 0; i < m_sedi.size(); ++i)
        if (m_sedi[i].SedeInteressata == ExtCod)
            posizione = i;
    m_posizione = posizione;
    CaricaDati();
    impostaStato(::statoNavigazione(m_posizione, m_sedi.size()));
}
