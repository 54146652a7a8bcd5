#pragma once

#include <QDialog>

namespace kx {
class Context;
} // namespace kx
class QRadioButton;

/** Asks whether this installation is the SERVER or a CLIENT, and writes the answer to the INI file. */
class frmServerClient : public QDialog
{
public:
    explicit frmServerClient(kx::Context &context, QWidget *parent = nullptr);

    void reject() override;

private:
    void cmdOK_Click();

    kx::Context &m_context;
    QRadioButton *m_optServer;
    QRadioButton *m_optClient;
};
