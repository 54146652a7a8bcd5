#pragma once

#include <QDialog>
#include <memory>

namespace kx {
class Context;
} // namespace kx

namespace Ui {
class frmRiepDomanda;
}

/**
 * The summary of the current application: its seat sheets (the seats that carry courses), its course
 * sheets and the total contribution it requests. It shows and writes nothing else.
 */
class frmRiepDomanda : public QDialog
{
    Q_OBJECT

public:
    explicit frmRiepDomanda(kx::Context &context, QWidget *parent = nullptr);
    ~frmRiepDomanda() override;

    /** Shows the window modally, as the main window's summary command does. */
    static void apri(kx::Context &context);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void MostraRiepilogo();
    void cmdEsci_Click();

    kx::Context &m_context;
    std::unique_ptr<Ui::frmRiepDomanda> m_ui;
};
