#pragma once

#include "applications/SediInteressate.h"
#include "applications/ui/SezioneFinestra.h"

#include <memory>
#include <optional>

namespace kx {
class ListaSelezione;
} // namespace kx

namespace Ui {
class Componen;
}

/**
 * Section 2: the involved seats of the current application, one at a time in code order. Only the
 * contacts and the CAP can be changed; they are written into the application's snapshot and carried
 * back into the operator's registry. Moving to another seat saves the seat shown without checks.
 */
class Componen : public SezioneFinestra
{
    Q_OBJECT

public:
    explicit Componen(kx::Context &context, QWidget *parent = nullptr);
    ~Componen() override;

    /** Shows the window modally, as the main window's command does. */
    static void apri(kx::Context &context);

    /** Recomputes the navigation state for the seat of that code and shows it. */
    void ControllaPuls(const QString &ExtCod);

    StatoNavigazione statoNavigazione() const { return m_stato; }

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
    void Naviga(Direzione direzione);
    void cmdVai_Click();
    void impostaStato(StatoNavigazione stato);
    ContattiSede contatti() const;
    /**
     * Reads the seats again in code order and goes back to the seat of that code; false when it is gone.
     * The code is a copy: a caller may hand the code of a row that the reading replaces.
     */
    bool rileggi(QString codice);
    /** The application's seats; a failure shows the loading's error box and gives nothing. */
    std::optional<QList<SchedaSede>> leggi();
    /** Saves the seat shown when the user changed it, before the window shows another. */
    void salvaSeCambiata();

    std::unique_ptr<Ui::Componen> m_ui;
    kx::ListaSelezione *m_tipi = nullptr;
    bool m_modalitaSolaLettura = false;
    QList<SchedaSede> m_sedi;
    qsizetype m_posizione = 0;
    bool m_caricata = false;
    QString m_capCaricato;
    StatoNavigazione m_stato = StatoNavigazione::Unico;
    ContattiSede m_inScrittura;
    EsitoScritturaSedi m_esito;
    bool m_erroreCaricamento = false;
};
