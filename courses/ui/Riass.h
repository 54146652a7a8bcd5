#pragma once

#include <QDialog>
#include <memory>

namespace kx {
class Context;
class ListaSelezione;
} // namespace kx

namespace Ui {
class Riass;
}

/**
 * "Riassegnazione Corsi": moves every course of one seat of the current application, or one chosen
 * course, to another of its seats, with the destination's next codes. A move to an occasional seat
 * asks CompoRes for the responsible component first. The main window opens it on an exclusive
 * connection and takes care of that connection afterwards; the window only reads and moves.
 */
class Riass : public QDialog
{
    Q_OBJECT

public:
    explicit Riass(kx::Context &context, QWidget *parent = nullptr);
    ~Riass() override;

    /** Shows the window modally, as the main window's reassignment command does. */
    static void apri(kx::Context &context);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void IniSedeDa();
    void IniCorso();
    void IniSedeA();
    void cmbSedeDa_Click();
    void OpzTuttiCorsi_Click();
    void OpzCorso_Click();
    void cmdConfer_Click();
    /** The move of the chosen courses, "Tutti" or "Uno". */
    void SpostaCorsi(const QString &modo);
    /** Sets OpzTuttiCorsi and runs its click, as setting the option always did. */
    void impostaTuttiCorsi();
    /** Runs a handler: a database failure it leaves unhandled gets the unexpected-error box. */
    void gestore(const QString &routine, void (Riass::*handler)());

    kx::Context &m_context;
    std::unique_ptr<Ui::Riass> m_ui;
    kx::ListaSelezione *m_sediDa = nullptr;
    kx::ListaSelezione *m_corsi = nullptr;
    kx::ListaSelezione *m_sediA = nullptr;
    bool m_primaAttivazione = true;
};
