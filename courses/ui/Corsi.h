#pragma once

#include "courses/CourseForm.h"
#include "courses/CourseWriter.h"

#include <QDialog>
#include <memory>

enum class StatoNavigazione;
class CourseCascade;
class CourseList;
template<typename Lista> class CourseListOf;
class CourseStore;
class SeatCourses;
class QLineEdit;

namespace kx {
class Context;
class ListaSelezione;
} // namespace kx

namespace Ui {
class Corsi;
}

/**
 * "Sez. 3 - Corsi Proposti": the proposed courses of the seat chosen in SelComp, one at a time. The
 * window shows a stored course, a new course not yet stored (blank or a copy), or nothing when the
 * seat has no course; in an application printed in final form it only shows and prints. The rules of
 * a course (lists, checks, record, estimate, store) live in courses/; the window maps its controls to
 * a CourseForm and back.
 */
class Corsi : public QDialog
{
    Q_OBJECT

public:
    /** The help topic of the course editor and of the seat choice. */
    static constexpr int ArgomentoAiuto = 22000;

    explicit Corsi(kx::Context &context, QWidget *parent = nullptr);
    ~Corsi() override;

    /** Shows the editor modally on the seat of the course editor state, as SelComp does. */
    static void apri(kx::Context &context, QWidget *parent = nullptr);

    /** The course fields as shown. */
    CourseForm form() const;
    /** True once the window has unloaded itself. */
    bool chiusa() const { return m_chiusa; }
    /** Blanks the six labels of the cost estimate. */
    void AzzeraSpesaVideo();

protected:
    void showEvent(QShowEvent *event) override;
    /** Escape and the title bar leave as "Esci" does. */
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static const QString Titolo;
    static const QString CodiceNessunCorso;
    static const QString CrLf;
    /** Lets pending window events run once, as a long command does before it works. */
    static void eventiInSospeso();

    // The opening and its modes.
    void Form_Load();
    /** The question of a seat without courses, once per opening, when the window is first exposed. */
    void Form_Activate();
    void AbilitaCampi(bool abilita);
    void PulisciCampi();
    /** The action buttons; help and exit are always enabled. */
    void pulsantiAzione(bool inserisci, bool duplica, bool elimina, bool salva, bool stampa);
    void PulsantiCorsoVisualizzato();
    void PulsantiNuovoCorso();
    void PulsantiNessunCorso();
    void PulsantiSolaLettura();
    /** First and previous go back, next and last forward. */
    void pulsantiNavigazione(bool indietro, bool avanti, bool vai);
    void NavigazionePrimo();
    void NavigazioneUltimo();
    void NavigazioneIntermedio();
    void NavigazioneDisabilitata();
    /** True when the seat has more than one stored course. */
    bool CountCorsi();
    /** The navigation buttons from the position of the course on screen. */
    void AggiornaNavigazione();
    /** The no-course mode: cleared and disabled fields, only insert, help and exit. */
    void modoNessunCorso();

    // Showing a course.
    /** Takes from the lists the entries that only showed the stored values of the course shown. */
    void togliVociFuoriElenco();
    /** Shows the course on screen; a course gone meanwhile gives the rows as stored now. */
    void AggControl();
    /** After the rows were read again: the course on screen, or the no-course mode. */
    void mostraRighe();
    /** Reads the rows again, staying on the course on screen while it is stored. */
    void rileggiRighe();

    // Saving, inserting, duplicating, deleting, leaving, printing.
    bool DatiCorsoInvariati();
    bool VerifCorso();
    /** The write of the course on screen; on Stored the editor shows its code. */
    ScritturaCorso AggQuery();
    /** Before a command leaves the course on screen: a changed course is checked and written. */
    bool SalvaPrima();
    bool SalvaCorso();
    bool RegistraNuovoCorso();
    void CancellaCorso();
    void cmdSalva_Click();
    /** The save-first step of the insert and the duplicate; false when the command stops there. */
    bool avviaNuovoCorso();
    /** The buttons and the first tab of a pending new course. */
    void mostraNuovoCorso();
    void cmdInserisci_Click();
    void cmdDuplica_Click();
    void cmdElimina_Click();
    void cmdEsci_Click();
    void cmdStampa_Click();
    void cmdAiuto_Click();
    void SSTab1_Click();

    // The course navigation and the approved reference course.
    /**
     * The move of the navigation buttons, "Primo", "Precedente", "Successivo", "Ultimo" or "Vai" (to
     * CorsoScelto): a changed course is saved first, and a course that fails its checks is not left.
     */
    void NavigaCorsi(const QString &direzione);
    /** The navigation buttons of the state. */
    void Navigazione(StatoNavigazione stato);
    /** A step button's move, under the busy pointer. */
    void passo(const QString &direzione);
    void cmdFirst_Click();
    void cmdPrevious_Click();
    void cmdNext_Click();
    void cmdLast_Click();
    void cmdVai_Click();
    void cmdCorsoRifB111_Click();
    void CmbCicloFin_Click();

    // The hours and the pupils.
    void txtDurataOre_Change();
    void CalcolaPreventivoSpesa();

    /** Unloads the window. */
    void chiudi();
    /** Unloads the window once control is back in the event loop. */
    void chiudiAlRitorno();
    /** The reference-course controls after an action was selected (see CourseCascade::Hooks). */
    void cambiaRiferimento(bool azioneSpeciale);
    bool sedeOccasionale() const;
    /** A step of the opening; false when the user gave up in its error box (the window closes). */
    template<typename Step> bool passoApertura(const QString &routine, Step &&step);

    kx::Context &m_context;
    std::unique_ptr<Ui::Corsi> m_ui;
    std::unique_ptr<CourseStore> m_store;
    std::unique_ptr<SeatCourses> m_righe;
    std::unique_ptr<CourseWriter> m_scrittore;
    kx::ListaSelezione *m_compoResp = nullptr;
    kx::ListaSelezione *m_ciclo = nullptr;
    kx::ListaSelezione *m_asse = nullptr;
    kx::ListaSelezione *m_misura = nullptr;
    kx::ListaSelezione *m_azione = nullptr;
    kx::ListaSelezione *m_denCorso = nullptr;
    kx::ListaSelezione *m_dest = nullptr;
    kx::ListaSelezione *m_durata = nullptr;
    std::vector<std::unique_ptr<CourseListOf<kx::ListaSelezione>>> m_liste;
    std::unique_ptr<CourseCascade> m_cascata;

    bool m_nessunCorso = false;
    bool m_nuovoCorso = false;
    bool m_primaAttivazione = true;
    bool m_solaLettura = false;
    bool m_chiusa = false;
    bool m_chiudiAllAttivazione = false;
    int m_contestoAiuto = ArgomentoAiuto;
};
