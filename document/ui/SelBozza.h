#pragma once

#include <QDialog>
#include <memory>

namespace kx {
class Context;
class ListaSelezione;
} // namespace kx

namespace Ui {
class SelBozza;
}

/**
 * The first print dialog of the whole application: the seats with courses to print. The user never
 * works in it: its activation chooses every seat and goes on to StBozza, and it closes when StBozza
 * has closed. An application without courses is refused when it loads, and nothing is printed.
 */
class SelBozza : public QDialog
{
    Q_OBJECT

public:
    /** Captions by RichiestaStampa, the seat list, the refusal of an application without courses. */
    explicit SelBozza(kx::Context &context, QWidget *parent = nullptr);
    ~SelBozza() override;

    /** The print dialogs for the request in PrintRequest::RichiestaStampa: returns when they closed. */
    static void apri(kx::Context &context);

    /** Hidden at once; with no course it closes, otherwise every seat is confirmed, then it closes. */
    void Form_Activate();

    bool nessunCorso() const { return m_nessunCorso; }

private:
    void cmdConfe_Click();
    void OpzTuttiComp_Click();
    void OpzSelcomp_Click();
    void cmbCompoSt_Click();

    kx::Context &m_context;
    std::unique_ptr<Ui::SelBozza> m_ui;
    kx::ListaSelezione *m_sedi = nullptr;
    bool m_nessunCorso = false;
};
