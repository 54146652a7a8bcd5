#pragma once

#include <QDialog>
#include <memory>

namespace kx {
class Context;
} // namespace kx

namespace Ui {
class Invia;
}

/**
 * "Invio domanda": recalls the current application, lists the operations that follow and warns that
 * after sending nothing can be changed. Conferma opens the send window Trasmis and closes itself
 * when that has closed.
 */
class Invia : public QDialog
{
    Q_OBJECT

public:
    explicit Invia(kx::Context &context, QWidget *parent = nullptr);
    ~Invia() override;

    /** Shows the window modally, as the main window's send command does. */
    static void apri(kx::Context &context);

private:
    void cmdConf_Click();

    kx::Context &m_context;
    std::unique_ptr<Ui::Invia> m_ui;
};
