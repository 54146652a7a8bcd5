#pragma once

#include <QDialog>
#include <memory>

namespace kx {
class Context;
} // namespace kx

namespace Ui {
class frmServerClient;
}

/** Asks whether this installation is the SERVER or a CLIENT, and writes the answer to the INI file. */
class frmServerClient : public QDialog
{
    Q_OBJECT

public:
    explicit frmServerClient(kx::Context &context, QWidget *parent = nullptr);
    ~frmServerClient() override;

    void reject() override;

protected:
    /** Centres the window over the first-run dialog that asks, once both have their final size. */
    void showEvent(QShowEvent *event) override;

private:
    void cmdOK_Click();

    kx::Context &m_context;
    std::unique_ptr<Ui::frmServerClient> m_ui;
};
