#pragma once

#include "applications/SezioneFrame.h"
#include "core/ui/KeyFilter.h"

#include <QDialog>
#include <functional>
#include <optional>

class QLineEdit;

namespace kx {
class Context;
} // namespace kx

/**
 * The frame that the section windows share. A window builds its form, then calls Form_Load(), which
 * opens the window's view, shows the row and turns the window read-only when the application was
 * printed in final form. The frame wires the buttons cmdSalva, cmdEsci and cmdAiuto: the save runs
 * the window's checks and save; the exit, also by the title bar or Escape, asks before losing changes;
 * the help opens the window's topic.
 */
class SezioneFinestra : public QDialog
{
    Q_OBJECT

public:
    SezioneFinestra(kx::Context &context, const TestiSezione &testi, QWidget *parent = nullptr);
    ~SezioneFinestra() override;

    /** True once the window has unloaded itself. */
    bool chiusa() const { return m_chiusa; }
    bool solaLettura() const { return m_solaLettura; }

    /**
     * Limits what the user types into a box to a number of characters, with the key filter of its
     * kind when it has one. Text the program puts in the box may be longer and is kept whole.
     */
    void filtroTasti(QLineEdit *box, std::optional<kx::KeyFilter::Kind> tipo, int limite);

protected:
    /** The opening; the window calls it once its form is built. */
    void Form_Load();

    /** Opens the window's view on the current application; true when it holds the row to edit. */
    virtual bool apriVista() = 0;
    /** Shows the row (lists first where the window has them). */
    virtual void caricaVista() = 0;
    /** What the window does when its view holds no row. */
    virtual void nessunaRiga() {}
    /** The buttons' editable look. */
    virtual void PulsantiModifica();
    /** The buttons' read-only look: save disabled, help and exit usable. */
    virtual void PulsantiSolaLettura();
    virtual void AbilitaCampi(bool abilita) = 0;
    virtual bool DatiInvariati() = 0;
    /** The checks and, when they pass, the save; true when the data were written. */
    virtual bool ControllaESalva() = 0;
    /** Closes the view when the window unloads; `tenereFiltro` after the exit question's answer. */
    virtual void chiudiVista(bool tenereFiltro) = 0;

    /**
     * Runs the window's write, first only while its row holds what the window loaded. A row that
     * another installation changed meanwhile asks whether to write over it: Yes writes, No
     * ricaricaRiga(). A row that another installation deleted goes to rigaCancellata(); any other
     * error offers Retry, which writes again, or Cancel, which closes the window. True when the write
     * succeeded.
     */
    bool salvaConRecupero(const std::function<void(Scrittura)> &scrivi);
    /** Asks whether to write a deleted row again: Yes reinserisci(), No ricarica(). */
    virtual bool rigaCancellata();
    virtual void reinserisci() {}
    virtual void ricarica() {}
    /** Shows the row as another installation stored it, which becomes the row the window loaded. */
    virtual void ricaricaRiga() = 0;

    /** Unloads the window. */
    void chiudi();
    /** The window closes at its activation (its row was missing at the opening). */
    void chiudiAllAttivazione() { m_chiudiAllAttivazione = true; }

    void showEvent(QShowEvent *event) override;
    /** Escape and the title bar leave as the exit button does. */
    void reject() override;

    kx::Context &m_context;
    const TestiSezione &m_testi;
    int m_contestoAiuto = 0;

private:
    void cmdSalva_Click();
    void cmdEsci_Click();
    void cmdAiuto_Click();

    bool m_solaLettura = false;
    bool m_chiusa = false;
    bool m_chiudiAllAttivazione = false;
};
