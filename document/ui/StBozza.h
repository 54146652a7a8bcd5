#pragma once

#include <QDialog>
#include <memory>

namespace kx {
class Context;
} // namespace kx

namespace Ui {
class StBozza;
}

/**
 * The confirmation of a print of the whole application, draft or definitive as RichiestaStampa asks:
 * it shows the application, takes the print interval, and runs the document on "Conferma", as often
 * as the user confirms, until "Annulla" closes it. Every run prints the seats chosen when the window
 * opened (a run over every seat leaves the last one in the seat state). After a definitive run that
 * made the PDF it sets StampaDefinitivaEseguita; a run that made none leaves it as the send window set
 * it.
 */
class StBozza : public QDialog
{
    Q_OBJECT

public:
    explicit StBozza(kx::Context &context, QWidget *parent = nullptr);
    ~StBozza() override;

    /** 8000 for a draft, 9000 for the definitive document. */
    int argomentoAiuto() const { return m_argomentoAiuto; }

private:
    void cmdSt_Click();
    void CmdImpStamp_Click();

    kx::Context &m_context;
    std::unique_ptr<Ui::StBozza> m_ui;
    int m_argomentoAiuto = 0;
    QString m_sede;
    QString m_desSede;
    QString m_filtroSede;
};
