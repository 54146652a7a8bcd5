#pragma once

#include "core/state/AttesaControllo.h"
#include "mainwindow/FinestreComandi.h"

#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class RitornoInPrimoPiano;

namespace kx {
class Context;
struct VoceMenu;
} // namespace kx

namespace Ui {
class Main;
}

/**
 * The main window: the header of the current application, the fifteen menu entries that start every
 * operation, status help, clock and calendar, the web links. Loaded hidden by the start-up
 * (Form_Load) and shown at its end; its first activation makes sure an application is current;
 * closing it is the end of the program, with the rotating copy on a SERVER.
 */
class Main : public QWidget, public kx::AttesaControllo
{
    Q_OBJECT

public:
    Main(kx::Context &context, kx::FinestreComandi finestre, QWidget *parent = nullptr);
    ~Main() override;

    /** Pictures, caption, clock, effects and role; a role other than SERVER or CLIENT ends the program. */
    void Form_Load();
    /** The first-activation work once, then header and registry button. */
    void Form_Activate();

    /** Highlights the caption label of that name with the effects that are on, and no other. */
    void EvidenziaEtichetta(const QString &name);
    /** Asks whether to open the address and opens it in the browser. */
    void ApriCollegamento(const QString &descrizione, const QString &indirizzo);

    /** The progress line of the decode-table loading. */
    QLabel *LblCont() const;
    /** Shows the registry update's wait panel with that caption, or hides it. */
    void pnlAttesa(bool visibile, const QString &didascalia);

    void limitiPB1(int minimo, int massimo) override;
    void valorePB1(int valore) override;
    void mostraAttesa(bool visibile) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Unload();
    /** Runs Form_Activate from the event loop, once however many events ask before it runs. */
    void attivaPiuTardi();
    void primaAttivazione();
    void intestazione();
    void pulsanteAggiorna(bool abilitato);

    void Timer_Timer();
    void lblCalendario_Click();

    void cmdSelDoma_Click();
    void cmdOpe_Click();
    void cmdCompo_Click();
    void cmdCorsi_Click();
    void cmdSpostaCorsi_Click();
    void cmdAllega_Click();
    void cmdStBozza_Click();
    void cmdInvia1_Click();
    void cmdScaricoCorsi_Click();
    void cmdAggInst_Click();
    void cmdBackup_Click();
    void cmdOpzioni_Click();
    void cmdMailHelp_Click();
    void cmdHelp_Click();
    void cmdEsci_Click();
    void cmdAnnullaAgg_Click();

    /**
     * The command as a click handler: an error it does not handle itself is shown in the
     * "Errore imprevisto" box and ends the command; the pointer is the default one afterwards.
     */
    std::function<void()> comando(void (Main::*handler)());
    /** The entry's mouse move: its label highlighted, its help text in the status bar. */
    void voce_MouseMove(const kx::VoceMenu &voce);
    QList<QLabel *> etichetteTrattate() const;

    kx::Context &m_context;
    kx::FinestreComandi m_finestre;
    std::unique_ptr<Ui::Main> m_ui;
    QTimer m_timer;
    bool m_primaAttivazione = true;
    bool m_inPrimaAttivazione = false;
    bool m_attivazioneInAttesa = false;
    bool m_mostrata = false;
    bool m_calendarioVisibile = false;
    std::unique_ptr<RitornoInPrimoPiano> m_ritorno;
};

/**
 * The main window for the run, behind the start-up's hooks: caricaMain makes and loads it hidden,
 * mostraMain shows it; each does nothing the second time, as the start-up's initialisation may run
 * again. chiudiMain, the frame's close box, closes it as "Esci" does, unless a window of its own
 * holds it (it is disabled).
 */
class MainHost
{
public:
    MainHost(kx::Context &context, kx::FinestreComandi finestre);
    ~MainHost();

    /** The window, or null before caricaMain. */
    Main *main() const { return m_main.get(); }

private:
    kx::Context &m_context;
    kx::FinestreComandi m_finestre;
    std::unique_ptr<Main> m_main;
};
