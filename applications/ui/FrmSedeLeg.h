#pragma once

#include "applications/SedeLegale.h"
#include "applications/ui/SezioneFinestra.h"

#include <memory>

namespace Ui {
class FrmSedeLeg;
}

/**
 * Section 1.4: the legal seat of the current application, written into the application's snapshot
 * of seats and into the operator's registry of components. It opens only when the application has
 * exactly one legal seat; otherwise it says so and closes, leaving the operator card as it was.
 */
class FrmSedeLeg : public SezioneFinestra
{
    Q_OBJECT

public:
    explicit FrmSedeLeg(kx::Context &context, QWidget *parent = nullptr);
    ~FrmSedeLeg() override;

    /** Shows the window modally, as the operator card's "Sede Legale" button does. */
    static void apri(kx::Context &context);

    /** The seat as the window shows it. */
    SchedaSedeLegale scheda() const;

protected:
    bool apriVista() override;
    void caricaVista() override;
    void nessunaRiga() override;
    void AbilitaCampi(bool abilita) override;
    bool DatiInvariati() override;
    bool ControllaESalva() override;
    void chiudiVista(bool tenereFiltro) override;
    void reinserisci() override;
    void ricarica() override;
    void ricaricaRiga() override;

private:
    bool ControllaDati();
    bool SalvaDati();
    void CaricaDati();

    std::unique_ptr<Ui::FrmSedeLeg> m_ui;
    QList<RigaSedeLegale> m_righe;
    EsitoScritturaSede m_esito;
};
