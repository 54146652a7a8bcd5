#pragma once

#include <QDialog>
#include <QSet>
#include <memory>

namespace kx {
class Context;
class HttpTransfer;
} // namespace kx

namespace Ui {
class frmInstOper;
}

/**
 * The operator selection: the user lists the operators (group and number) whose master data the
 * server should send, and CONFERMA downloads them into the four master-data files of the program
 * folder, then asks frmConferma for the confirmation. EsitoInstOper tells the caller how it ended:
 * "annulla" after ANNULLA, empty otherwise.
 */
class frmInstOper : public QDialog
{
    Q_OBJECT

public:
    explicit frmInstOper(kx::Context &context, QWidget *parent = nullptr);
    ~frmInstOper() override;

    /** Sets `trovato` when the list holds exactly this item, same case included. */
    void TrovaDoppi(const QString &voce, bool &trovato) const;

    /** Puts these items in the list in place of its own, and this caption in Label1. */
    void precompila(const QStringList &voci, const QString &didascalia);

    /** The close box and Escape; ignored while a request is under way, whose reply decides. */
    void reject() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    void CmdIns_Click();
    void CmdCanc_Click();
    void LstElenco_Click();
    void cmdConferma_Click();
    void cmdAnnulla_Click();
    /** The busy state of a request: pointer, CONFERMA and ANNULLA. */
    void attesa(bool occupato);
    QStringList voci() const;
    void aggiungiVoce(const QString &voce);

    kx::Context &m_context;
    std::unique_ptr<Ui::frmInstOper> m_ui;
    kx::HttpTransfer *m_inet;
    bool m_occupato = false;
    /** The texts of the list's items, which are never twice in it, for TrovaDoppi. */
    QSet<QString> m_vociElencate;
};
