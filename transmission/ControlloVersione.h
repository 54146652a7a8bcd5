#pragma once

#include "core/net/ServerRequest.h"

#include <QString>
#include <functional>
#include <optional>

namespace kx {
class Context;
class ProgramFolder;
struct InstallationState;
} // namespace kx

/**
 * The version gate: before an application leaves the workstation the server says whether this
 * version of the program may still transmit. It runs on the request of the window that hosts it:
 * the send window (Trasmis, before the save to disk) or the internet send window (frmInet, before
 * every upload and registry export); the two differ in how a failed request is told.
 */
enum class VarianteControllo
{
    /** Trasmis: an HTML page is a failure and is shown; the server's address is named. */
    Trasmis,
    /** frmInet: every failure is one generic connection box. */
    frmInet
};

/** The internet send window's one box for a request that failed. */
inline const QString ErroreConnessioneServer =
    QStringLiteral("Errore di connessione al server. Si consiglia di riprovare in un secondo momento.");

/**
 * The most of a reply the gate reads: its four short fields, or a server's error page. A longer reply
 * is no reply of the service's and ends the transfer as an error.
 */
inline constexpr qint64 MassimaRispostaVersione = 64 * 1024;

/** The transfer settings of a window that runs the gate: the program's, with the reply bounded. */
kx::TransferSettings impostazioniControlloVersione(const kx::ProgramFolder &cartella);

/** The body of the version request. */
inline const QByteArray CorpoControlloVersione = "applicativo=KX58TORVA&anno=2021";

/**
 * The field n (from 1) of a text of fields each ended by the separator: an unended last field is
 * whole, a field beyond the last one is empty.
 */
QString EstraiCampo(const QString &testo, QChar separatore, int n);

/**
 * Compares two versions number by number, a missing number counting as 0 (1.10.0 is above 1.9.0,
 * 1.2 equals 1.2.0): negative, 0 or positive; nothing when either is not a version (digits
 * separated by dots).
 */
std::optional<int> confrontaVersioni(const QString &a, const QString &b);

/**
 * The request of the hosting window: the version service's INI key with the server credential, its
 * state-11 box as the window tells it (the certificate instructions of the send window name the
 * certificate page; those of the internet send window the upload server `hostUpload`).
 */
kx::ServerRequestVariant richiestaVersione(VarianteControllo variante,
                                           const kx::InstallationState &installazione,
                                           const QString &hostUpload);

/**
 * Asks the version service whether this version may transmit, shows the server's notices and the
 * gate's own messages, and returns true when transmission is allowed. `puntatoreNormale` restores
 * the default pointer before the boxes of a refusal and of a notice. A reply that cannot be read as
 * the service's (a status other than 2xx, no versions where they are compared) never passes.
 */
bool ControllaVersione(kx::Context &context, kx::ServerRequest &richiesta, VarianteControllo variante,
                       const std::function<void()> &puntatoreNormale);
