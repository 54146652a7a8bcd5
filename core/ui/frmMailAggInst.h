#pragma once

#include <QDialog>
#include <memory>

namespace kx {
class Context;
} // namespace kx

namespace Ui {
class frmMailAggInst;
}

/**
 * Asks for the user's e-mail address, checks it and keeps it in the per-user settings. The caller
 * sets EMailValida to false, shows the window, and goes on only when EMailValida is true.
 */
class frmMailAggInst : public QDialog
{
    Q_OBJECT

public:
    explicit frmMailAggInst(kx::Context &context, QWidget *parent = nullptr);
    ~frmMailAggInst() override;

private:
    void imgConferma_Click();

    kx::Context &m_context;
    std::unique_ptr<Ui::frmMailAggInst> m_ui;
};
