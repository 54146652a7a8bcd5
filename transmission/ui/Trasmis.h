#pragma once

#include "core/net/HttpTransfer.h"

#include <QDialog>
#include <memory>

namespace kx {
class Context;
} // namespace kx

namespace Ui {
class Trasmis;
}

/**
 * "Stampa Definitivo / Invio Domanda", the hub of the send workflow for the current application: the
 * definitive print, after which the application is marked printed; the internet send (frmInet); the
 * copy of the transmission file into "Trasmissioni", after the version gate on request. Send and
 * save are offered only for an application printed in definitive form.
 */
class Trasmis : public QDialog
{
    Q_OBJECT

public:
    explicit Trasmis(kx::Context &context, QWidget *parent = nullptr);
    ~Trasmis() override;

    /** True when the application's row, read now, says it is printed in definitive form. */
    bool TrasDoma();

    /** Closes the window, unless a request or an export is running. */
    void reject() override;

private:
    void AggiornaPulsanti();
    /** Send and save with their pictures, and the exit's caption, for a printed application or not. */
    void mostraStampata(bool stampata);
    void cmdStampa_Click();
    void cmdSend_Click();
    void cmdSalva_Click();
    /** The save itself; false when it ended early (the user's No, a refused file). */
    void salvaSuDisco();

    kx::Context &m_context;
    std::unique_ptr<Ui::Trasmis> m_ui;
    /** The window's own transfer, for the version gate. */
    kx::HttpTransfer m_inet;
};
