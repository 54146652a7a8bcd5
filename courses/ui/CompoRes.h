#pragma once

#include <QDialog>
#include <memory>

namespace kx {
class Context;
class ListaSelezione;
} // namespace kx

namespace Ui {
class CompoRes;
}

/**
 * "Componente Responsabile": the components of the application that use the occasional seat the
 * courses move to (SedeOccDestinazione), the first one preselected. Conferma puts the chosen one into
 * CompoRespScelto and confirms the move; Annulla, once the user agrees, and any other way of closing
 * leave CompoRespConfermato false, as the reassignment set it.
 */
class CompoRes : public QDialog
{
    Q_OBJECT

public:
    explicit CompoRes(kx::Context &context, QWidget *parent = nullptr);
    ~CompoRes() override;

private:
    void cmdConfer_Click();
    void cmdAnnul_Click();

    kx::Context &m_context;
    std::unique_ptr<Ui::CompoRes> m_ui;
    kx::ListaSelezione *m_componenti = nullptr;
};
