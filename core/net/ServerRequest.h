#pragma once

#include "core/config/IniKeys.h"
#include "core/net/HttpTransfer.h"
#include "core/services/Services.h"

#include <QByteArray>
#include <QString>
#include <functional>

class clsFileINI;

namespace kx {

class ProgramFolder;
struct InstallationState;

/** The fixed header block of every form request; the last line is sent as a header named "HTTP". */
inline const QByteArray IntestazioniRichiesta = "Content-Type: application/x-www-form-urlencoded\r\n"
                                                "Proxy-Connection: Keep-Alive\r\n"
                                                "HTTP: Protocol Version = HTTP/1.1 \r\n";

/** The server's certificate authority, trusted besides the system's when it lies in the program folder. */
inline const QString NomeFileCertificato = QStringLiteral("CA_ROOT.DER");
/** The server's HTML error page, written in the program folder and opened in the browser. */
inline const QString NomeFileErrServer = QStringLiteral("ErrServer.html");

/** The transfer settings of the program: its time-outs, the proxy given, CA_ROOT.DER when present. */
TransferSettings impostazioniTrasmissione(const ProgramFolder &programFolder, const QString &proxy = {});
/** The same for a download: no limit on the whole while the bytes keep coming at a useful rate. */
TransferSettings impostazioniScarico(const ProgramFolder &programFolder);

/** The most of a reply a message box quotes. */
inline constexpr qsizetype MassimoCitazione = 2000;
/** The start of the reply, as much as a message box quotes. */
QString citazioneRisposta(const QString &risposta);

/** Where the requests to the server depart from one another. */
struct ServerRequestVariant
{
    IniKey chiave;
    /** The server credential goes with the request (as Basic credentials, never in the address). */
    bool conCredenziale = true;
    /** How "ERRORE" is looked for in the reply. */
    Qt::CaseSensitivity casoErrore = Qt::CaseSensitive;
    /** A failed reply opens the HTML-page box only when it holds "<h" or "<H"; otherwise always. */
    bool cercaHtml = true;
    /** The state-11 box: its title and the text before the code. */
    QString titoloErroreTrasmissione = QStringLiteral("Errore di trasmissione");
    QString testoErroreTrasmissione = QStringLiteral("Si è verificato un errore in trasmissione, ");
    /** The certificate instructions after the code 12045. */
    bool appendiceCertificato = true;
    /** Instructions of the caller's own in place of those naming the request's host (istruzioniCertificato).
     */
    QString certificato = {};
    /** The state-11 message ends with " (servizio: " and the service's path. */
    bool servizioNelMessaggio = false;
    /** The proxy advice after the code 12007. */
    bool appendiceProxy = false;
    /** The state-11 message replaces the reply buffer. */
    bool erroreInRisposta = true;
};

/** The requests of the program, one row each. */
namespace Richieste {
ServerRequestVariant scaricoOperatori();
ServerRequestVariant corsiApprovati();
ServerRequestVariant nuovoNumeroDomanda();
ServerRequestVariant versioneHub();
} // namespace Richieste

/**
 * One form request to a service of the regional server, made the one way the program makes them:
 * the address from the INI file, the credential, the header block, a wait that keeps the windows
 * alive, the reply read in chunks, the state-11 box on a transfer error. The caller then evaluates
 * the reply, with evaluate() or with its own test and the boxes below.
 *
 * `attesa` is called with true before the request (busy pointer, confirm disabled; the window's
 * cancel button stays enabled and stops the request with the transfer's cancel()) and with false when
 * a failure has been reported or the request was cancelled.
 */
class ServerRequest
{
public:
    ServerRequest(Services services, clsFileINI &fileIni, const ProgramFolder &programFolder,
                  const InstallationState &installazione, HttpTransfer &transfer,
                  ServerRequestVariant variant, std::function<void(bool)> attesa);
    ~ServerRequest();
    ServerRequest(const ServerRequest &) = delete;
    ServerRequest &operator=(const ServerRequest &) = delete;

    /** Reads the address, sends the body and waits until the transfer has ended. */
    void send(const QByteArray &corpo);
    /**
     * Sends the body to a fixed address instead, with the given credential ("user:password@", or
     * empty) and header lines (none at all when empty), and waits until the transfer has ended.
     */
    void sendTo(const QString &url, const QString &credenziale, const QByteArray &corpo,
                const QByteArray &intestazioni);
    /** The HTTP status of the completed reply, 0 after a transfer error. */
    int statoHttp() const { return m_transfer.status(); }

    /**
     * The operator download's evaluation: true when the reply holds no "ERRORE", is complete and
     * passes the caller's content test. Otherwise shows the HTML-page or the server-error box,
     * empties the reply and ends the wait, and returns false.
     */
    bool evaluate(const std::function<bool(const QString &)> &contenutoValido);

    bool erroreApplicativo() const;
    bool paginaHtml() const;
    /** The HTML-page box, then ErrServer.html written with the reply and opened. */
    void mostraPaginaErrore();
    /** The "Errore restituito dal Server" box quoting the start of the reply. */
    void mostraErroreServer();
    /** Restores the window after a failure and empties the reply. */
    void concludiFallimento();

    /** Told after each piece of the reply read (how many so far) and once more at its end. */
    std::function<void(int pezziLetti, bool fine)> avanzamento;

    QString UrlServizio;
    QString PercorsoServizio;
    QString RispostaServer;
    int CodiceRisposta = 0;
    bool RispostaCompleta = false;
    /** The user stopped the request: nothing was received and nothing is to be told or written. */
    bool Annullata = false;

private:
    void onStateChanged(int state);

    Services m_services;
    clsFileINI &m_fileIni;
    const ProgramFolder &m_programFolder;
    const InstallationState &m_installazione;
    HttpTransfer &m_transfer;
    ServerRequestVariant m_variant;
    std::function<void(bool)> m_attesa;
    QMetaObject::Connection m_connection;
};

/**
 * The instructions after the code 12045 that name the secure server: two line breaks, then where to
 * find CA_ROOT.DER, with the host in capital letters.
 */
QString istruzioniCertificato(const QString &host);

/** The text after the first "/" from the eighth character on: the path of an http address, host and path of
 * an https one; the whole address when it has no such "/". */
QString percorsoServizio(const QString &url);

} // namespace kx
