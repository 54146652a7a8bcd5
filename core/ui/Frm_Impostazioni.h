#pragma once

#include <QDialog>
#include <memory>

namespace kx {
class Context;
} // namespace kx

namespace Ui {
class Frm_Impostazioni;
}

/**
 * The first-run dialog: the installation type (on this workstation alone, or on a network sharing the
 * database) and the database file. Salva leaves the choice in the installation state; the start-up
 * writes it. Leaving the dialog any other way asks for confirmation and ends the program.
 */
class Frm_Impostazioni : public QDialog
{
    Q_OBJECT

public:
    explicit Frm_Impostazioni(kx::Context &context, QWidget *parent = nullptr);
    ~Frm_Impostazioni() override;

    /** Asks the role (frmServerClient) while the INI file has none. */
    void Form_Activate();

    void reject() override;
    void setVisible(bool visible) override;

private:
    void cmdSfoglia_Click();
    void Cmd_Ok_Click();
    void cmdHelp_Click();

    kx::Context &m_context;
    std::unique_ptr<Ui::Frm_Impostazioni> m_ui;
    /** The file dialog's last choice, which the checks use; the box only shows it. */
    QString m_fileScelto;
    bool m_attivo = false;
};
