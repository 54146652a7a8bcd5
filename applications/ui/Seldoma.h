#pragma once

#include "core/net/HttpTransfer.h"

#include <QDialog>
#include <memory>
#include <optional>

namespace kx {
class Context;
class ListaSelezione;
class Recordset;
class RecordsetModel;
} // namespace kx

namespace Ui {
class Seldoma;
}

/**
 * The choice of the current application: the operator list, the grid of the operator's applications
 * of the regional province, confirmation, deletion and the creation of a new application with the
 * server's number. Loading and leaving with Annulla change nothing of the current application; only
 * confirmation, creation and the deletion of the current application make another one current.
 */
class Seldoma : public QDialog
{
    Q_OBJECT

public:
    /** The transfer settings are the program's unless given. */
    explicit Seldoma(kx::Context &context, std::optional<kx::TransferSettings> trasmissione = std::nullopt,
                     QWidget *parent = nullptr);
    ~Seldoma() override;

    /** Shows the window modally, as the main window's select command does. */
    static void apri(kx::Context &context);

    /** Escape and the close box answer as Annulla does. */
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();
    void CmbOpe_Click();
    void cmbProv_Click();
    void AggiornaGriglia();
    void cmdConfer_Click();
    void cmdAnnul_Click();
    void cmdElimina_Click();
    void cmdInserisci_Click();

    kx::Recordset &rsQryDomande();
    /** The application number of the grid's current row, 0 when there is none. */
    qint32 numeroRigaCorrente();
    void mostraAttesa(bool attesa);
    /** Runs a click handler: a failure it leaves unhandled gets the routine's error box. */
    void gestore(const QString &routine, void (Seldoma::*handler)());

    kx::Context &m_context;
    std::optional<kx::TransferSettings> m_trasmissione;
    std::unique_ptr<Ui::Seldoma> m_ui;
    kx::ListaSelezione *m_operatori = nullptr;
    kx::ListaSelezione *m_province = nullptr;
    kx::RecordsetModel *m_modello = nullptr;

    bool m_caricamento = false;
    QString m_grupOpe;
    qint32 m_operatore = 0;
    QString m_denominazione;
    QString m_filtroOperatore;
    QString m_prov;
    QString m_desProv;
};
