#pragma once

#include <QDialog>
#include <memory>

class SceltaTabella;

namespace kx {
class Context;
} // namespace kx

namespace Ui {
class TabNaz;
}

/**
 * "Tabella Stati esteri": the foreign states in the table's order, searched by the beginning of the name.
 * Conferma puts the current row into StatoEsteroScelto. The rows stay open after the window closes, so
 * the next opening shows the row where this one was left.
 */
class TabNaz : public QDialog
{
    Q_OBJECT

public:
    explicit TabNaz(kx::Context &context, QWidget *parent = nullptr);
    ~TabNaz() override;

private:
    kx::Context &m_context;
    std::unique_ptr<Ui::TabNaz> m_ui;
    SceltaTabella *m_scelta = nullptr;
};
