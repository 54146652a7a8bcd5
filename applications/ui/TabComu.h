#pragma once

#include <QDialog>
#include <memory>

class SceltaTabella;

namespace kx {
class Context;
} // namespace kx

namespace Ui {
class TabComu;
}

/**
 * "Tabella Comuni": the Italian municipalities in name order, searched by the beginning of the name.
 * Conferma puts the current row into ComuneScelto; every opening starts again on the first row.
 */
class TabComu : public QDialog
{
    Q_OBJECT

public:
    explicit TabComu(kx::Context &context, QWidget *parent = nullptr);
    ~TabComu() override;

    void done(int result) override;

private:
    kx::Context &m_context;
    std::unique_ptr<Ui::TabComu> m_ui;
    SceltaTabella *m_scelta = nullptr;
};
