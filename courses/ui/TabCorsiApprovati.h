#pragma once

#include "applications/ui/SceltaTabella.h"

#include <QDialog>
#include <memory>

namespace kx {
class Context;
} // namespace kx

namespace Ui {
class TabCorsiApprovati;
}

/**
 * "Elenco Corsi Approvati e Finanziati": the current operator's approved courses of the editor's cycle
 * and the current seat, searched by any part of their name. Conferma puts the current row into
 * CorsoApprovatoScelto; Annulla leaves it as the caller reset it. Without any course to offer it says
 * so at its activation and Conferma stays disabled.
 */
class TabCorsiApprovati : public QDialog
{
    Q_OBJECT

public:
    explicit TabCorsiApprovati(kx::Context &context, QWidget *parent = nullptr);
    ~TabCorsiApprovati() override;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    kx::Context &m_context;
    std::unique_ptr<Ui::TabCorsiApprovati> m_ui;
    TestiScelta m_testi;
    SceltaTabella *m_scelta = nullptr;
};
