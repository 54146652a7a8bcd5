#pragma once

#include <QDialog>
#include <memory>

namespace kx {
class Context;
} // namespace kx

namespace Ui {
class EleCorsi;
}

/**
 * "Elenco Corsi inseriti": the courses of the current seat as the course table holds them now, code
 * and name in code order, the course on screen selected. Conferma (or a double click) puts the chosen
 * code into CorsoScelto; Annulla leaves CorsoScelto as the caller set it.
 */
class EleCorsi : public QDialog
{
    Q_OBJECT

public:
    explicit EleCorsi(kx::Context &context, QWidget *parent = nullptr);
    ~EleCorsi() override;

private:
    void cmdSele2_Click();

    kx::Context &m_context;
    std::unique_ptr<Ui::EleCorsi> m_ui;
};
