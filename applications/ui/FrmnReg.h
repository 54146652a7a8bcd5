#pragma once

#include "core/net/HttpTransfer.h"

#include <QDialog>
#include <memory>

namespace kx {
class Context;
} // namespace kx

namespace Ui {
class FrmnReg;
}

/**
 * Asks the server's number service for a new application number and, on a number, adds the
 * application for the operator of the current-application state (GrupOpeCorrente, OperatoreCorrente,
 * ProvCorrente). NumeroDomandaOttenuto tells the caller whether the application exists; NumDomaCorrente
 * then holds its number. While the request runs the window cannot be closed.
 */
class FrmnReg : public QDialog
{
    Q_OBJECT

public:
    FrmnReg(kx::Context &context, const kx::TransferSettings &trasmissione, QWidget *parent = nullptr);
    ~FrmnReg() override;

    /** Annulla, Escape and the close box do nothing while the request runs. */
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void CmdnReg_Click();
    void Command2_Click();
    /** One run of the request, from the e-mail prompt on; false when the user asked to try again. */
    bool richiesta();
    /** The e-mail address confirmed by the user; false when the user declined to give one. */
    bool chiediEMail();
    void attesa(bool inCorso);
    void Inet_StateChanged(int state);
    void termina(bool ottenuto);

    kx::Context &m_context;
    std::unique_ptr<Ui::FrmnReg> m_ui;
    kx::HttpTransfer m_inet;
    bool m_inCorso = false;
};
