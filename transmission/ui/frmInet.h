#pragma once

#include "core/net/HttpTransfer.h"

#include <QDialog>
#include <functional>
#include <memory>

namespace kx {
class Context;
class ServerRequest;
} // namespace kx

namespace Ui {
class frmInet;
}

/**
 * The course registry's export as the window calls it: proxy host and port, and the progress to show
 * (0 to 100); it shows its own outcome box and returns 0 or the number of the failure that stopped
 * it. InviaPercorsiVordan in the program; tests put a stand-in in.
 */
using EsportazioneVordan =
    std::function<qint32(kx::Context &context, const QString &proxy, const QString &porta,
                         const std::function<void(int)> &avanzamento)>;

/**
 * "Invio delle domande": uploads the current application's transmission file to the region's secure
 * server after the version gate and marks the application sent; repeats the course registry's export
 * (VORDAN); sets the proxy that export uses.
 */
class frmInet : public QDialog
{
    Q_OBJECT

public:
    frmInet(kx::Context &context, EsportazioneVordan esportazione, QWidget *parent = nullptr);
    ~frmInet() override;

    /** Closes the window, unless a request or an export is running. */
    void reject() override;

private:
    void Cmd_Send_Click();
    void CmdVORDAN_Click();
    void CmdProxy_Click();
    /** The upload after the address check; a failure of the program's own is told by the caller. */
    void invia();
    void TrasmissioneVordan();
    /** The version gate on this window's transfer, as every upload and export asks it first. */
    bool ControllaVersione();
    /** The request of this window: the version service's, and the upload through the same handler. */
    std::unique_ptr<kx::ServerRequest> nuovaRichiesta();

    kx::Context &m_context;
    EsportazioneVordan m_esportazione;
    std::unique_ptr<Ui::frmInet> m_ui;
    kx::HttpTransfer m_inet;
};
