// The course editor's commands: saving, inserting, duplicating, deleting, leaving, printing,
// the steps between courses and the reference course.

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
#include "courses/ui/Corsi.h"
#include "courses/ui/EleCorsi.h"
#include "courses/ui/TabCorsiApprovati.h"
#include "ui_Corsi.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace kx;

bool Corsi::DatiCorsoInvariati()
{
    if (m_nuovoCorso)
        return false;
    const std::optional<CourseRow> &riga = m_righe->row();
    return riga && courseUnchanged(form(), *riga);
}

bool Corsi::VerifCorso()
{
    const CourseCheck verifica = validateCourse(form());
    if (verifica.ok)
        return true;
    if (verifica.pointer)
        puntatoreNormale();
    m_context.prompt.ask(verifica.icon, Prompt::Buttons::Ok, verifica.title, verifica.message);
    if (!verifica.focus.isEmpty()) {
        QWidget *campo = findChild<QWidget *>(verifica.focus);
        if (campo && campo->isEnabled())
            campo->setFocus();
    }
    // A field of the hidden tab keeps the focus given above: the tab brings it to the front.
    if (verifica.tab >= 0)
        m_ui->SSTab1->setCurrentIndex(verifica.tab);
    return false;
}

ScritturaCorso Corsi::AggQuery()
{
    const ScritturaCorso scrittura = m_scrittore->AggQuery(form(), m_nuovoCorso, m_righe->row());
    switch (scrittura.esito) {
    case EsitoScrittura::Memorizzato:
        m_nuovoCorso = false;
        m_ui->lblCorso->setText(scrittura.corso);
        rileggiRighe();
        m_righe->find(scrittura.corso);
        break;
    case EsitoScrittura::Rifiutato:
        if (scrittura.ricaricare) {
            rileggiRighe();
            mostraRighe();
        }
        break;
    case EsitoScrittura::Annullato:
        chiudiAlRitorno();
        break;
    }
    return scrittura;
}

bool Corsi::SalvaPrima()
{
    if (m_solaLettura || m_nessunCorso || DatiCorsoInvariati())
        return true;
    return VerifCorso() && AggQuery().esito == EsitoScrittura::Memorizzato;
}

bool Corsi::SalvaCorso()
{
    const PuntatoreOccupato occupato;
    eventiInSospeso();
    if (m_nuovoCorso) {
        if (!RegistraNuovoCorso())
            return false;
        puntatoreNormale();
        m_context.prompt.inform(TitoloInserimentoCorso, u"VERIFICHE OK"_s + CrLf + u"Corso inserito"_s);
        return true;
    }
    return VerifCorso() && AggQuery().esito == EsitoScrittura::Memorizzato;
}

bool Corsi::RegistraNuovoCorso()
{
    if (!VerifCorso())
        return false;
    if (AggQuery().esito != EsitoScrittura::Memorizzato)
        return false;
    m_nessunCorso = false;
    AggControl();
    PulsantiCorsoVisualizzato();
    AggiornaNavigazione();
    return true;
}

void Corsi::cmdSalva_Click()
{
    SalvaCorso();
}

bool Corsi::avviaNuovoCorso()
{
    eventiInSospeso();
    if ((!m_nessunCorso && !SalvaPrima()) || m_chiusa)
        return false;
    m_nuovoCorso = true;
    return true;
}

void Corsi::mostraNuovoCorso()
{
    PulsantiNuovoCorso();
    NavigazioneDisabilitata();
    m_ui->SSTab1->setCurrentIndex(0);
}

void Corsi::cmdInserisci_Click()
{
    const PuntatoreOccupato occupato;
    if (!avviaNuovoCorso())
        return;
    AbilitaCampi(true);
    PulisciCampi();
    mostraNuovoCorso();
    (sedeOccasionale() ? static_cast<QWidget *>(m_ui->cmbCompoResp) : m_ui->CmbCicloFin)->setFocus();
}

void Corsi::cmdDuplica_Click()
{
    const PuntatoreOccupato occupato;
    if (!avviaNuovoCorso())
        return;
    m_ui->lblCorso->setText(CodiceNessunCorso);
    m_context.corsi().impostaCorso(QString());
    mostraNuovoCorso();
    m_context.prompt.inform(u"Duplica Corso"_s, u"Verifiche OK."_s + CrLf + u"Corso duplicato"_s);
    (sedeOccasionale() ? static_cast<QWidget *>(m_ui->cmbCompoResp) : m_ui->cmbAsse)->setFocus();
}

void Corsi::cmdElimina_Click()
{
    if (m_context.prompt.ask(Prompt::Icon::Information, Prompt::Buttons::YesNo, Titolo,
                             u"Confermi cancellazione corso?"_s) == Prompt::Answer::Yes)
        CancellaCorso();
}

void Corsi::CancellaCorso()
{
    {
        const PuntatoreOccupato occupato;
        eventiInSospeso();
        const CourseKey chiave = m_righe->key();
        const std::optional<QString> vicino = neighbourAfterDelete(m_righe->codes(), chiave.corso);
        if (!vicino)
            modoNessunCorso();
        try {
            // The course as read: one that another installation replaced under its code is not ours.
            if (!m_righe->row())
                throw RoutineError(ErrorCode::NoCurrentRecord);
            m_store->remove(*m_righe->row());
        } catch (const std::exception &eccezione) {
            const RoutineError errore = comeErroreRoutine(eccezione);
            puntatoreNormale();
            if (errore.number() == ErrorCode::NoCurrentRecord)
                m_context.prompt.warn(
                    u"Accesso concorrente"_s,
                    u"Il record che si è deciso di eliminare è già stato cancellato da un altro "
                    u"operatore. "_s);
            else
                m_context.prompt.critical(
                    QString(), u"Errore in "_s + testoErroreRoutine(u"Corsi.CancellaCorso"_s, errore));
            return;
        }
        rileggiRighe();
        if (vicino) {
            if (!m_righe->find(*vicino))
                m_righe->moveTo(0);
            mostraRighe();
        }
    }
    puntatoreNormale();
    if (m_nessunCorso &&
        m_context.prompt.ask(Prompt::Icon::Information, Prompt::Buttons::YesNo, Titolo,
                             u" Nessun corso "_s + CrLf + u" Vuoi inserirne uno ? "_s) == Prompt::Answer::Yes)
        m_ui->cmdInserisci->click();
}

void Corsi::cmdEsci_Click()
{
    const bool corsoASchermo = !m_nessunCorso || m_nuovoCorso;
    // A course of a printed application is never written, so leaving it asks nothing.
    if (m_solaLettura || !corsoASchermo || DatiCorsoInvariati()) {
        chiudi();
        return;
    }
    const Prompt::Answer risposta = m_context.prompt.ask(
        Prompt::Icon::Information, Prompt::Buttons::YesNoCancel, Titolo,
        u"Sono stati modificati uno o più dati del corso"_s + CrLf + u"Salvare le modifiche ?"_s);
    if (risposta == Prompt::Answer::Yes) {
        if (SalvaCorso() && !m_chiusa)
            chiudi();
    } else if (risposta == Prompt::Answer::No) {
        chiudi();
    }
}

void Corsi::cmdStampa_Click()
{
    if (!SalvaPrima() || m_chiusa)
        return;
    const QString corso = m_ui->lblCorso->text();
    m_context.corsi().impostaCorso(corso);
    m_context.stampa().TipoStampa = u"BOZZA CORSO"_s;
    if (const auto &bozza = m_context.serviziStampa().bozzaCorso)
        bozza(m_context.domanda().NumDomaCorrente, m_context.corsi().SedeCorrente, corso);
    // The printed course as stored now.
    rileggiRighe();
    if (!m_righe->find(corso))
        m_righe->moveTo(0);
    mostraRighe();
}

void Corsi::cmdAiuto_Click()
{
    MostraAiuto(m_context, m_contestoAiuto);
}

void Corsi::SSTab1_Click()
{
    // Both tabs keep the window's topic (F1 was given it at the opening).
    m_contestoAiuto = ArgomentoAiuto;
}

void Corsi::NavigaCorsi(const QString &direzione)
{
    const std::optional<DirezioneNavigazione> verso = direzioneNavigazione(direzione);
    if (!verso || !SalvaPrima() || m_chiusa)
        return;
    if (*verso == DirezioneNavigazione::Vai) {
        CourseEditorState &stato = m_context.corsi();
        stato.impostaCorso(stato.CorsoScelto);
        // The rows as stored now: the list may have offered a course added by another installation.
        rileggiRighe();
        if (!m_righe->find(stato.CorsoCorrente)) {
            puntatoreNormale();
            m_context.prompt.inform(Titolo, TestoCorsoNonPresente);
            m_righe->moveTo(0);
            mostraRighe();
            return;
        }
        AggiornaNavigazione();
    } else {
        const PassoNavigazione passo = passoNavigazione(*verso, m_righe->position(), m_righe->count());
        m_righe->moveTo(passo.posizione);
        Navigazione(passo.stato);
    }
    AggControl();
    if (m_nessunCorso)
        return;
    eventiInSospeso();
    repaint();
    AbilitaCampi(!m_solaLettura);
}

void Corsi::passo(const QString &direzione)
{
    const PuntatoreOccupato occupato;
    NavigaCorsi(direzione);
}

void Corsi::cmdFirst_Click()
{
    passo(u"Primo"_s);
}

void Corsi::cmdPrevious_Click()
{
    passo(u"Precedente"_s);
}

void Corsi::cmdNext_Click()
{
    passo(u"Successivo"_s);
}

void Corsi::cmdLast_Click()
{
    passo(u"Ultimo"_s);
}

void Corsi::cmdVai_Click()
{
    CourseEditorState &stato = m_context.corsi();
    {
        const PuntatoreOccupato occupato;
        stato.CorsoScelto = m_righe->code();
        EleCorsi elenco(m_context, this);
        m_context.dialogRunner.run(elenco);
    }
    // The course on screen chosen again, or Annulla: no save and no move.
    if (m_righe->code() != stato.CorsoScelto)
        NavigaCorsi(u"Vai"_s);
}

void Corsi::cmdCorsoRifB111_Click()
{
    const std::optional<TestiRiferimento> testi =
        scegliCorsoRiferimento(m_context.prompt, m_context.corsi(), m_ciclo->testo(), [this] {
            TabCorsiApprovati picker(m_context, this);
            m_context.dialogRunner.run(picker);
        });
    if (!testi)
        return;
    m_ui->txtCorsoRifB111->setText(testi->txtCorsoRifB111);
    m_ui->lblidattivita_CorsoRifB111->setText(testi->lblidattivita_CorsoRifB111);
    m_ui->lblTotOreIter->setText(testi->lblTotOreIter);
    m_ui->lblDurataAnnuale->setText(testi->lblDurataAnnuale);
    m_ui->lblDurataTotIter->setText(testi->lblDurataTotIter);
    m_ui->lblTipoConv->setText(testi->lblTipoConv);
    // A referenced course lasts one year.
    m_durata->selezionaTesto(u"1"_s);
    m_ui->cmbDurata->setEnabled(false);
}

void Corsi::CmbCicloFin_Click()
{
    QString riferimento = m_ui->txtCorsoRifB111->text();
    if (cambioCicloFinanziario(m_context.prompt, m_context.corsi(), m_ciclo->testo(), riferimento) ==
        EsitoCambioCiclo::Rifiutato) {
        // Back to the cycle chosen before: a selection too, which asks nothing.
        m_ciclo->selezionaCodice(m_context.corsi().CicloFinanziarioCorrente);
        return;
    }
    m_ui->txtCorsoRifB111->setText(riferimento);
}
