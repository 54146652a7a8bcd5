#include "courses/ui/Corsi.h"

#include "core/data/DataEnvironment.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/CourseEditorState.h"
#include "core/state/CurrentApplication.h"
#include "core/state/HelpTopics.h"
#include "core/state/PrintRequest.h"
#include "core/state/ServiziStampa.h"
#include "core/text/ItalianNumbers.h"
#include "core/text/TextRoutines.h"
#include "core/ui/FieldRoutines.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"
#include "core/ui/KeyFilter.h"
#include "core/ui/ListaSelezione.h"
#include "core/ui/Puntatore.h"
#include "courses/ClassificationLists.h"
#include "courses/CorsoRiferimento.h"
#include "courses/CostEstimate.h"
#include "courses/CourseCascade.h"
#include "courses/CourseStore.h"
#include "courses/CourseValidation.h"
#include "courses/NavigaCorsi.h"
#include "courses/SeatCourses.h"
#include "courses/ui/EleCorsi.h"
#include "courses/ui/TabCorsiApprovati.h"
#include "ui_Corsi.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QTimer>
#include <QWindow>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/**
 * Selects the entry of the code; a code the list no longer holds is added as the entry `voce`, so
 * that what is stored stays on screen and is saved as it is. The added entry belongs to the course
 * shown: the next course shown or a new course takes it away. False when the entry had to be added.
 */
bool mostraCodice(ListaSelezione &lista, const QString &codice, const QString &voce)
{
    if (lista.selezionaCodice(codice))
        return true;
    lista.aggiungiFuoriElenco(voce);
    return false;
}

/** The same by the entry's whole text (course names and durations have no code). */
bool mostraTesto(ListaSelezione &lista, const QString &testo)
{
    if (lista.selezionaTesto(testo))
        return true;
    lista.aggiungiFuoriElenco(testo);
    return false;
}

/** A coded entry as the lists show it: the code, two blanks and the description (none when missing). */
QString voceCodificata(const QString &codice, const QVariant &descrizione)
{
    const QString testo = NonNull(descrizione);
    return testo.isEmpty() ? codice : codice + u"  "_s + testo;
}

} // namespace

const QString Corsi::Titolo = u"Corsi proposti"_s;
const QString Corsi::CodiceNessunCorso = u" ---- "_s;
const QString Corsi::CrLf = u"\r\n"_s;

void Corsi::eventiInSospeso()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

Corsi::Corsi(Context &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::Corsi>())
{
    m_ui->setupUi(this);
    m_store = std::make_unique<CourseStore>(m_context.DE().CorsiDB());
    m_righe = std::make_unique<SeatCourses>(*m_store, m_context.domanda().NumDomaCorrente,
                                            int(m_context.corsi().SedeCorrente.toLongLong()));
    m_scrittore = std::make_unique<CourseWriter>(
        *m_store, m_context,
        CourseWriter::Hooks{[this](bool occupato) {
                                if (occupato) {
                                    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
                                    eventiInSospeso();
                                    m_ui->ProgrBarSalva->setValue(0);
                                    m_ui->ProgrBarSalva->show();
                                } else {
                                    m_ui->ProgrBarSalva->hide();
                                    QGuiApplication::restoreOverrideCursor();
                                    eventiInSospeso();
                                }
                            },
                            [this](int passo) { m_ui->ProgrBarSalva->setValue(passo); }});

    m_compoResp = new ListaSelezione(m_ui->cmbCompoResp, [] {});
    m_ciclo = new ListaSelezione(m_ui->CmbCicloFin, [this] { CmbCicloFin_Click(); });
    m_asse = new ListaSelezione(m_ui->cmbAsse, [this] { m_cascata->cmbAsse_Click(); });
    m_misura = new ListaSelezione(m_ui->cmbMisura, [this] { m_cascata->cmbMisura_Click(); });
    m_azione = new ListaSelezione(m_ui->cmbAzione, [this] { m_cascata->cmbAzione_Click(); });
    m_denCorso = new ListaSelezione(m_ui->cmbDenCorso, [this] { m_cascata->cmbDenCorso_Click(); });
    m_dest = new ListaSelezione(m_ui->cmbDest, [] {});
    m_durata = new ListaSelezione(m_ui->cmbDurata, [] {});
    for (ListaSelezione *lista : {m_ciclo, m_asse, m_misura, m_azione, m_denCorso, m_dest, m_durata})
        m_liste.push_back(std::make_unique<CourseListOf<ListaSelezione>>(*lista));
    m_solaLettura = m_context.domanda().DomandaStampataCorrente;
    m_cascata = std::make_unique<CourseCascade>(
        m_context.DE().CorsiDB(), m_context,
        CourseCascade::Lists{*m_liste[0], *m_liste[1], *m_liste[2], *m_liste[3], *m_liste[4], *m_liste[5],
                             *m_liste[6]},
        CourseCascade::Hooks{[this](const QString &nome) { m_ui->lblQuali->setText(nome); },
                             [this](bool speciale) { cambiaRiferimento(speciale); }},
        m_solaLettura);

    KeyFilter::install(m_context, m_ui->txtNumAll, KeyFilter::Kind::Numerico);
    KeyFilter::install(m_context, m_ui->txtDurataOre, KeyFilter::Kind::Numerico);
    LimitaDigitazione(m_ui->txtNumAll, 3);
    LimitaDigitazione(m_ui->txtDurataOre, 5);
    m_ui->txtNumAll->installEventFilter(this);
    m_ui->txtDurataOre->installEventFilter(this);
    connect(m_ui->txtNumAll, &QLineEdit::textChanged, this, &Corsi::CalcolaPreventivoSpesa);
    connect(m_ui->txtDurataOre, &QLineEdit::textChanged, this, &Corsi::txtDurataOre_Change);
    connect(m_ui->SSTab1, &QTabWidget::tabBarClicked, this, &Corsi::SSTab1_Click);

    const std::pair<QAbstractButton *, void (Corsi::*)()> comandi[] = {
        {m_ui->cmdInserisci, &Corsi::cmdInserisci_Click},
        {m_ui->cmdDuplica, &Corsi::cmdDuplica_Click},
        {m_ui->cmdElimina, &Corsi::cmdElimina_Click},
        {m_ui->cmdSalva, &Corsi::cmdSalva_Click},
        {m_ui->cmdStampa, &Corsi::cmdStampa_Click},
        {m_ui->cmdAiuto, &Corsi::cmdAiuto_Click},
        {m_ui->cmdEsci, &Corsi::cmdEsci_Click},
        {m_ui->cmdFirst, &Corsi::cmdFirst_Click},
        {m_ui->cmdPrevious, &Corsi::cmdPrevious_Click},
        {m_ui->cmdNext, &Corsi::cmdNext_Click},
        {m_ui->cmdLast, &Corsi::cmdLast_Click},
        {m_ui->cmdVai, &Corsi::cmdVai_Click},
        {m_ui->cmdCorsoRifB111, &Corsi::cmdCorsoRifB111_Click},
    };
    for (const auto &[pulsante, comando] : comandi)
        connect(pulsante, &QAbstractButton::clicked, this, comando);

    Form_Load();
}

Corsi::~Corsi() = default;

void Corsi::apri(Context &context, QWidget *parent)
{
    Corsi finestra(context, parent);
    context.dialogRunner.run(finestra);
}

template<typename Step> bool Corsi::passoApertura(const QString &routine, Step &&step)
{
    for (;;) {
        try {
            step();
            return true;
        } catch (const RoutineError &errore) {
            puntatoreNormale();
            if (m_context.prompt.ask(Prompt::Icon::Warning, Prompt::Buttons::RetryCancel, routine,
                                     unexpectedErrorText(errore)) == Prompt::Answer::Retry)
                continue;
            // Nothing is open that the window must close: its rows are a snapshot.
            m_chiusa = true;
            m_chiudiAllAttivazione = true;
            return false;
        }
    }
}

void Corsi::Form_Load()
{
    Immagini::setBackground(this);
    setHelpContext(m_context, this, ArgomentoAiuto);
    m_contestoAiuto = ArgomentoAiuto;
    m_primaAttivazione = true;

    const CurrentApplication &domanda = m_context.domanda();
    const CourseEditorState &stato = m_context.corsi();
    m_ui->lblGrOpe->setText(domanda.GrupOpeCorrente);
    m_ui->lblOpe->setText(domanda.OperatoreCorrente);
    m_ui->lblCompo->setText(stato.SedeCorrente);
    m_ui->lblDenCompo->setText(stato.DesSedeCorrente);
    m_ui->lblProposta->setText(QString::number(domanda.NumDomaCorrente));
    m_ui->lblCorso->setText(CodiceNessunCorso);
    m_ui->lblQuali->clear();

    if (!passoApertura(u"Form_Load"_s, [this] { m_righe->requery(); }))
        return;
    m_nuovoCorso = false;

    ComponentiResponsabili componenti;
    if (!passoApertura(u"IniCompoResp"_s, [&] {
            componenti = IniCompoResp(m_context.DE().CorsiDB(), domanda.NumDomaCorrente,
                                      domanda.GrupOpeCorrente, domanda.OperatoreCorrente, stato.SedeCorrente);
        }))
        return;
    m_compoResp->svuota();
    m_compoResp->riempi(componenti.voci);
    if (componenti.preselezione >= 0)
        m_ui->cmbCompoResp->setCurrentIndex(componenti.preselezione);
    m_cascata->caricaListe();
    m_ui->SSTab1->setCurrentIndex(0);

    if (!passoApertura(u"Form_Load"_s, [this] {
            if (m_righe->isEmpty()) {
                modoNessunCorso();
            } else {
                m_nessunCorso = false;
                AbilitaCampi(true);
                AggControl();
                PulsantiCorsoVisualizzato();
                if (CountCorsi())
                    NavigazionePrimo();
                else
                    NavigazioneDisabilitata();
            }
        }))
        return;
    puntatoreNormale();

    if (m_solaLettura) {
        m_context.prompt.warn(Titolo, u"Domanda già inviata alla Provincia"_s + CrLf +
                                          u"Non sarà possibile modificare i dati dei corsi"_s);
        PulsantiSolaLettura();
        if (CountCorsi())
            NavigazionePrimo();
        else
            NavigazioneDisabilitata();
        AbilitaCampi(false);
    }
}

void Corsi::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_chiudiAllAttivazione) {
        QTimer::singleShot(0, this, [this] { QDialog::done(Rejected); });
        return;
    }
    // The first activation may ask a question: only once the window is on screen.
    if (m_primaAttivazione && windowHandle())
        windowHandle()->installEventFilter(this);
}

void Corsi::Form_Activate()
{
    if (!m_primaAttivazione || m_chiusa || !isVisible())
        return;
    repaint();
    m_primaAttivazione = false;
    if (!m_nessunCorso || m_solaLettura)
        return;
    if (m_context.prompt.ask(Prompt::Icon::Information, Prompt::Buttons::YesNo, Titolo,
                             u"Nessun corso."_s + CrLf + u"Vuoi inserirne uno ? "_s) == Prompt::Answer::Yes)
        m_ui->cmdInserisci->click();
}

bool Corsi::sedeOccasionale() const
{
    return m_ui->lblCompo->text().size() > 3;
}

void Corsi::AbilitaCampi(bool abilita)
{
    // The responsible component is asked only of an occasional seat, and only while the course may change.
    m_ui->cmbCompoResp->setEnabled(abilita && sedeOccasionale() && !m_solaLettura);
    for (QWidget *campo :
         std::initializer_list<QWidget *>{m_ui->CmbCicloFin, m_ui->cmbAsse, m_ui->cmbMisura, m_ui->cmbAzione,
                                          m_ui->cmbDenCorso, m_ui->cmbDest, m_ui->txtNumAll})
        campo->setEnabled(abilita);
    const QString codiceAzione = actionCode(m_asse->testo(), m_misura->testo(), m_azione->testo());
    m_ui->lblCorsoRifC211B->setEnabled(false);
    m_ui->txtCorsoRifC211B->setEnabled(false);
    const bool riferimento = abilita && isSpecialAction(codiceAzione);
    for (QWidget *campo :
         std::initializer_list<QWidget *>{m_ui->lblCorsoRifB111, m_ui->lblCorsoRifB111_intest,
                                          m_ui->txtCorsoRifB111, m_ui->cmdCorsoRifB111})
        campo->setEnabled(riferimento);
    m_ui->txtDurataOre->setEnabled(abilita);
    m_ui->cmbDurata->setEnabled(false);
}

void Corsi::cambiaRiferimento(bool azioneSpeciale)
{
    m_ui->lblCorsoRifC211B->setEnabled(false);
    m_ui->txtCorsoRifC211B->setEnabled(false);
    m_ui->txtCorsoRifC211B->clear();
    for (QWidget *campo :
         std::initializer_list<QWidget *>{m_ui->lblCorsoRifB111, m_ui->lblCorsoRifB111_intest,
                                          m_ui->txtCorsoRifB111, m_ui->cmdCorsoRifB111})
        campo->setEnabled(azioneSpeciale);
    m_ui->txtDurataOre->setReadOnly(!azioneSpeciale);
    if (azioneSpeciale)
        return;
    m_ui->txtCorsoRifB111->clear();
    for (QLabel *etichetta : {m_ui->lblidattivita_CorsoRifB111, m_ui->lblTotOreIter, m_ui->lblDurataAnnuale,
                              m_ui->lblDurataTotIter, m_ui->lblTipoConv})
        etichetta->clear();
}

void Corsi::togliVociFuoriElenco()
{
    for (ListaSelezione *lista :
         {m_compoResp, m_ciclo, m_asse, m_misura, m_azione, m_denCorso, m_dest, m_durata})
        lista->togliFuoriElenco();
}

void Corsi::PulisciCampi()
{
    togliVociFuoriElenco();
    m_ui->lblCorso->setText(CodiceNessunCorso);
    m_ui->lblQuali->clear();
    m_context.corsi().impostaCorso(QString());
    if (m_compoResp->conteggio() > 2)
        m_compoResp->selezionaIndice(0);
    m_ui->txtNumAll->setText(u"0"_s);
    m_ui->txtCorsoRifC211B->clear();
    m_ui->txtCorsoRifB111->clear();
    for (QLabel *etichetta : {m_ui->lblidattivita_CorsoRifB111, m_ui->lblTotOreIter, m_ui->lblDurataAnnuale,
                              m_ui->lblDurataTotIter, m_ui->lblTipoConv})
        etichetta->clear();
    m_ui->txtDurataOre->setText(u"0"_s);
    m_cascata->pulisciListe();
}

void Corsi::pulsantiAzione(bool inserisci, bool duplica, bool elimina, bool salva, bool stampa)
{
    // An ImageButton shows the picture of its new state by itself: the state first, the picture after.
    m_ui->cmdInserisci->setEnabled(inserisci);
    m_ui->cmdDuplica->setEnabled(duplica);
    m_ui->cmdElimina->setEnabled(elimina);
    m_ui->cmdSalva->setEnabled(salva);
    m_ui->cmdStampa->setEnabled(stampa);
    m_ui->cmdAiuto->setEnabled(true);
    m_ui->cmdEsci->setEnabled(true);
}

void Corsi::PulsantiCorsoVisualizzato()
{
    pulsantiAzione(true, true, true, true, true);
}

void Corsi::PulsantiNuovoCorso()
{
    pulsantiAzione(false, false, false, true, false);
}

void Corsi::PulsantiNessunCorso()
{
    pulsantiAzione(true, false, false, false, false);
}

void Corsi::PulsantiSolaLettura()
{
    pulsantiAzione(false, false, false, false, !m_nessunCorso);
}

void Corsi::pulsantiNavigazione(bool indietro, bool avanti, bool vai)
{
    m_ui->cmdFirst->setEnabled(indietro);
    m_ui->cmdPrevious->setEnabled(indietro);
    m_ui->cmdNext->setEnabled(avanti);
    m_ui->cmdLast->setEnabled(avanti);
    m_ui->cmdVai->setEnabled(vai);
}

void Corsi::NavigazionePrimo()
{
    pulsantiNavigazione(false, true, true);
}

void Corsi::NavigazioneUltimo()
{
    pulsantiNavigazione(true, false, true);
}

void Corsi::NavigazioneIntermedio()
{
    pulsantiNavigazione(true, true, true);
}

void Corsi::NavigazioneDisabilitata()
{
    pulsantiNavigazione(false, false, false);
}

bool Corsi::CountCorsi()
{
    return runWithRetry(m_context, u"CountCorsi"_s, [this] {
               return m_store->count(m_context.domanda().NumDomaCorrente,
                                     int(m_context.corsi().SedeCorrente.toLongLong()));
           }) > 1;
}

void Corsi::AggiornaNavigazione()
{
    Navigazione(statoNavigazione(m_righe->position(), m_righe->count(), CountCorsi()));
}

void Corsi::Navigazione(StatoNavigazione stato)
{
    switch (stato) {
    case StatoNavigazione::Primo:
        NavigazionePrimo();
        break;
    case StatoNavigazione::Ultimo:
        NavigazioneUltimo();
        break;
    case StatoNavigazione::Intermedio:
        NavigazioneIntermedio();
        break;
    case StatoNavigazione::Disabilitata:
        NavigazioneDisabilitata();
        break;
    }
}

void Corsi::modoNessunCorso()
{
    PulisciCampi();
    m_nessunCorso = true;
    PulsantiNessunCorso();
    NavigazioneDisabilitata();
    AbilitaCampi(false);
}

void Corsi::rileggiRighe()
{
    runWithRetry(m_context, u"Corsi"_s, [this] { m_righe->requery(); });
}

void Corsi::mostraRighe()
{
    if (m_righe->isEmpty()) {
        m_nuovoCorso = false;
        modoNessunCorso();
        return;
    }
    m_nessunCorso = false;
    AbilitaCampi(!m_solaLettura);
    AggControl();
    if (!m_solaLettura && !m_nuovoCorso)
        PulsantiCorsoVisualizzato();
    AggiornaNavigazione();
}

void Corsi::AggControl()
{
    const PuntatoreOccupato occupato;
    eventiInSospeso();
    // A course that another installation deleted since the rows were read: the rows as stored now,
    // and the step buttons for the course's place among them.
    bool riletto = false;
    while (!m_righe->row()) {
        rileggiRighe();
        riletto = true;
        if (m_righe->isEmpty()) {
            modoNessunCorso();
            return;
        }
    }
    togliVociFuoriElenco();
    const CourseRow &riga = *m_righe->row();
    const auto testo = [&riga](const char16_t *colonna) {
        return NonNull(riga.value(QString::fromUtf16(colonna)));
    };
    bool completo = true;
    const auto richiesto = [&](const char16_t *colonna) {
        const QVariant valore = riga.value(QString::fromUtf16(colonna));
        completo = completo && !valore.isNull();
        return NonNull(valore);
    };

    m_context.corsi().impostaCorso(riga.corso());
    m_ui->lblCorso->setText(riga.corso());
    m_ui->lblQuali->setText(testo(u"CorsiProp.DenCorso"));

    const QVariant compoResp = riga.value(u"CompoResp"_s);
    if (compoResp.isNull())
        m_compoResp->selezionaIndice(0);
    else
        completo &= mostraCodice(
            *m_compoResp, NonNull(compoResp),
            voceComponenteResponsabile(compoResp, riga.value(u"CorsiCompo.Denominazione"_s),
                                       riga.value(u"QryCompo.TipoCompo"_s), riga.value(u"Indirizzo"_s)));

    const QString ciclo = richiesto(u"CicloFinanziario");
    m_context.corsi().CicloFinanziarioCorrente = ciclo;
    completo &= mostraCodice(*m_ciclo, ciclo,
                             voceCodificata(ciclo, riga.value(u"QryCorsi.CicloFinanziario.Descrizione"_s)));
    const QString asse = richiesto(u"CodAsse");
    completo &= mostraCodice(*m_asse, asse, voceCodificata(asse, riga.value(u"DesAsse"_s)));
    const QString misura = richiesto(u"CodMisura");
    completo &= mostraCodice(*m_misura, misura, voceCodificata(misura, riga.value(u"DesMisura"_s)));
    const QString azione = richiesto(u"CodAzione");
    completo &= mostraCodice(*m_azione, azione, voceCodificata(azione, riga.value(u"DesAzione"_s)));
    completo &= mostraTesto(*m_denCorso, richiesto(u"CorsiProp.DenCorso"));

    const QVariant destinatari = riga.value(u"CodDest"_s);
    if (destinatari.isNull())
        m_dest->selezionaIndice(0);
    else
        completo &= mostraCodice(*m_dest, NonNull(destinatari),
                                 voceCodificata(NonNull(destinatari), riga.value(u"DesDest"_s)));

    m_ui->txtNumAll->setText(richiesto(u"NumAll"));
    m_ui->txtCorsoRifC211B->setText(testo(u"CorsoRifC211B"));
    m_ui->lblidattivita_CorsoRifB111->setText(testo(u"IdAttivita_CorsoRifB111"));
    m_ui->lblTotOreIter->setText(testo(u"TotIter"));
    m_ui->lblDurataAnnuale->setText(testo(u"DurataAnnOre"));
    m_ui->lblDurataTotIter->setText(testo(u"Durata"));
    m_ui->lblTipoConv->setText(testo(u"TipoConv"));
    m_ui->txtCorsoRifB111->setText(m_ui->lblidattivita_CorsoRifB111->text().isEmpty()
                                       ? QString()
                                       : testoCorsoRiferimento(testo(u"ProgrAttivita"), testo(u"ProgrAccorp"),
                                                               testo(u"Componente"),
                                                               testo(u"CorsiApprovati.DenCorso")));
    m_ui->txtDurataOre->setText(richiesto(u"TotOreIter"));
    completo &= mostraTesto(*m_durata, richiesto(u"DurataTotIter"));

    if (riletto)
        AggiornaNavigazione();
    if (!completo) {
        puntatoreNormale();
        m_context.prompt.warn(
            u"Anomalia del corso"_s,
            u"Il corso che si sta cercando di visualizzare presenta delle anomalie."_s + CrLf +
                u"Alcuni dati non sono più presenti negli elenchi: verificarli prima di salvare."_s);
    }
}

CourseForm Corsi::form() const
{
    CourseForm form;
    const CurrentApplication &domanda = m_context.domanda();
    form.NumDoma = domanda.NumDomaCorrente;
    form.GrupOpe = domanda.GrupOpeCorrente;
    form.Operatore = domanda.OperatoreCorrente;
    form.Sede = m_ui->lblCompo->text();
    form.lblCorso = m_ui->lblCorso->text();
    form.cmbCompoResp = m_compoResp->testo();
    form.CmbCicloFin = m_ciclo->testo();
    form.cmbAsse = m_asse->testo();
    form.cmbMisura = m_misura->testo();
    form.cmbAzione = m_azione->testo();
    form.cmbDenCorso = m_denCorso->testo();
    form.cmbDest = m_dest->testo();
    form.txtNumAll = m_ui->txtNumAll->text();
    form.txtDurataOre = m_ui->txtDurataOre->text();
    form.cmbDurata = m_durata->testo();
    form.txtCorsoRifC211B = m_ui->txtCorsoRifC211B->text();
    form.lblidattivita_CorsoRifB111 = m_ui->lblidattivita_CorsoRifB111->text();
    form.txtCorsoRifB111 = m_ui->txtCorsoRifB111->text();
    form.DomandaStampata = m_solaLettura;
    return form;
}

void Corsi::txtDurataOre_Change()
{
    FormattaNumero(m_ui->txtDurataOre, u"#,###,##0"_s);
    CalcolaPreventivoSpesa();
}

void Corsi::CalcolaPreventivoSpesa()
{
    const PreventivoSpesa spesa =
        estimate(m_denCorso->testo(), m_ui->txtNumAll->text(), m_ui->txtDurataOre->text());
    m_ui->lblDescAttivita->setText(spesa.lblDescAttivita);
    m_ui->lbl_abcdef->setText(spesa.lbl_abcdef);
    m_ui->lblParametro->setText(spesa.lblParametro);
    m_ui->lblOre->setText(spesa.lblOre);
    m_ui->lblAllievi->setText(spesa.lblAllievi);
    m_ui->lblTotale->setText(spesa.lblTotale);
}

void Corsi::AzzeraSpesaVideo()
{
    for (QLabel *etichetta : {m_ui->lblDescAttivita, m_ui->lbl_abcdef, m_ui->lblParametro, m_ui->lblOre,
                              m_ui->lblAllievi, m_ui->lblTotale})
        etichetta->clear();
}

bool Corsi::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
        windowHandle()->removeEventFilter(this);
        // Queued, so that the window has painted what the expose asked for before any box.
        QMetaObject::invokeMethod(this, &Corsi::Form_Activate, Qt::QueuedConnection);
        return QDialog::eventFilter(watched, event);
    }
    auto *box = qobject_cast<QLineEdit *>(watched);
    if (box && (box == m_ui->txtNumAll || box == m_ui->txtDurataOre)) {
        const auto motivo = [event] { return static_cast<QFocusEvent *>(event)->reason(); };
        if (event->type() == QEvent::FocusIn && motivo() != Qt::ActiveWindowFocusReason &&
            box->text() == u"0"_s)
            box->clear();
        else if (event->type() == QEvent::FocusOut && motivo() != Qt::ActiveWindowFocusReason) {
            if (box->text().isEmpty())
                box->setText(u"0"_s);
            else if (box == m_ui->txtNumAll) {
                // The pupils show the whole number they are read as.
                if (const auto allievi = ItalianNumbers::readInt16(box->text()))
                    box->setText(QString::number(*allievi));
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Corsi::chiudi()
{
    m_chiusa = true;
    QDialog::done(Accepted);
}

void Corsi::chiudiAlRitorno()
{
    m_chiusa = true;
    QTimer::singleShot(0, this, [this] { QDialog::done(Rejected); });
}

void Corsi::reject()
{
    if (!m_chiusa)
        cmdEsci_Click();
}
