#pragma once

#include "applications/ui/SezioneFinestra.h"

#include <QPointer>
#include <memory>

struct LuogoNascita;
struct SchedaOperatore;

namespace kx {
class ListaSelezione;
class Recordset;
} // namespace kx

namespace Ui {
class Operator;
}

/**
 * Section 1 of the current application: the operator's identification, legal representative, bank
 * details, chamber-of-commerce registration and economic activity, and the previous application. The
 * card is saved into the application and into the operator's registry row together.
 */
class Operator : public SezioneFinestra
{
    Q_OBJECT

public:
    explicit Operator(kx::Context &context, QWidget *parent = nullptr);
    ~Operator() override;

    /** Shows the card modally, as the main window's command does. */
    static void apri(kx::Context &context);

    /** The card's fields as shown. */
    SchedaOperatore scheda() const;

protected:
    bool apriVista() override;
    void caricaVista() override;
    void nessunaRiga() override;
    void PulsantiModifica() override;
    void AbilitaCampi(bool abilita) override;
    bool DatiInvariati() override;
    bool ControllaESalva() override;
    void chiudiVista(bool tenereFiltro) override;
    void ricaricaRiga() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    kx::Recordset &rsQryDomande();
    /** The card's buttons at loading: help, save, exit and the legal seat, each enabled with its picture. */
    void AbilitaPulsanti();
    void CaricaListe();
    void CaricaDati();
    bool VerifOperatore();
    bool SalvaOperatore();
    bool AggiornaDatiOperatore();
    void txtcomleg_Change(const QString &testo);
    void SSTab1_Click();
    void cmdSedeLeg_Click();
    void cmdComuNasc_Click();
    void cmdStatoEstero_Click();
    void txtcomleg_GotFocus();
    void txtcomleg_LostFocus();
    LuogoNascita luogoNascita() const;
    void mostraLuogoNascita(const LuogoNascita &luogo);
    /** The press that moved the focus to the widget is dropped: the user presses it again. */
    void annullaClic(QWidget *destinazione);

    std::unique_ptr<Ui::Operator> m_ui;
    kx::ListaSelezione *m_tipi = nullptr;
    kx::ListaSelezione *m_componenti = nullptr;
    kx::ListaSelezione *m_attivita = nullptr;
    kx::ListaSelezione *m_province = nullptr;
    QString m_luogoNascitaIniziale;
    bool m_riverificaLuogoNascita = false;
    QPointer<QWidget> m_clicAnnullato;
    QObject *m_filtroLuogo = nullptr;
    QObject *m_guardiaClic = nullptr;
};
