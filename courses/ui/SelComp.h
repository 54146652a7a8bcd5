#pragma once

#include <QDialog>
#include <functional>
#include <memory>

namespace kx {
class Context;
class ListaSelezione;
} // namespace kx

namespace Ui {
class SelComp;
}

/**
 * "Selezione Sede Interessata": the seat of the current application whose courses are edited. The
 * lowest seat that has courses is chosen at the opening; "Conferma" makes the chosen seat current and
 * opens the course editor on it, then the window is back with the same list and choice.
 */
class SelComp : public QDialog
{
    Q_OBJECT

public:
    explicit SelComp(kx::Context &context, QWidget *parent = nullptr);
    ~SelComp() override;

    /** Shows the window modally, as the main window's courses command does. */
    static void apri(kx::Context &context);

private:
    void cmdConfer_Click();

    kx::Context &m_context;
    std::unique_ptr<Ui::SelComp> m_ui;
    kx::ListaSelezione *m_sedi = nullptr;
};
