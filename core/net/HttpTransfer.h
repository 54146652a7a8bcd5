#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>

namespace kx {

/** The states a transfer reports, in the numbers the program's windows handle. */
namespace TransferState {
inline constexpr int Resolving = 1;
inline constexpr int Resolved = 2;
inline constexpr int Connecting = 3;
inline constexpr int Connected = 4;
inline constexpr int Sending = 5;
inline constexpr int Sent = 6;
inline constexpr int Receiving = 7;
inline constexpr int Received = 8;
inline constexpr int Error = 11;
inline constexpr int Completed = 12;
} // namespace TransferState

/** The codes of a transfer error (state 11). */
namespace TransferError {
inline constexpr int Timeout = 12002;
inline constexpr int Internal = 12004;
inline constexpr int InvalidAddress = 12005;
inline constexpr int UnknownScheme = 12006;
inline constexpr int NameNotResolved = 12007;
inline constexpr int CannotConnect = 12029;
inline constexpr int ClosedWithoutReply = 12030;
inline constexpr int ConnectionReset = 12031;
inline constexpr int CertificateNotVerified = 12045;
} // namespace TransferError

/** The short Italian description of a transfer error code; it never names an address. */
QString transferErrorDescription(int code);

/** How a transfer reaches the server; the defaults are the program's. */
struct TransferSettings
{
    int connectTimeoutMs = 30000;
    /** The transfer ends in a time-out when no byte moves for this long. */
    int stallTimeoutMs = 60000;
    /** A certificate authority trusted besides the system's (DER or PEM); none when empty or missing. */
    QString extraAuthorityFile;
    /** "host:port" of a proxy; empty uses the environment's. */
    QString proxy;
};

/**
 * One HTTP/1.1 request at a time, run by libcurl on a worker thread. The caller starts it, polls
 * busy() while processing events, and hears its progress through stateChanged on its own thread:
 * states 1-8 at most once each and in order, then exactly one of 12 (completed: any HTTP status) or
 * 11 (transfer error: errorCode(), errorDescription()). busy() turns false only after the final state
 * has been delivered, so its handler has run, reply reading included, when the wait ends.
 *
 * On the wire go the caller's header lines byte for byte and in order, and beside them only Host,
 * Content-Length and, with a credential, a Basic Authorization header.
 */
class HttpTransfer : public QObject
{
    Q_OBJECT

public:
    explicit HttpTransfer(TransferSettings settings = {}, QObject *parent = nullptr);
    ~HttpTransfer() override;

    /**
     * Posts `body` with exactly `headerLines` (each ended by CR LF; empty for none). The credential is
     * "user:password@" or "user@", or empty for none; another shape fails with 12005 and sends nothing.
     * Returns false, with state 11 already reported, when the request cannot be started.
     */
    bool post(const QString &url, const QString &credential, const QByteArray &body,
              const QByteArray &headerLines);
    bool get(const QString &url, const QString &credential);

    bool busy() const { return m_busy; }
    /** Processes events, the final state's handler included, until the transfer is no longer busy. */
    void waitWhileBusy();
    /** Stops a running transfer; it reports no further state. */
    void cancel();

    /** The HTTP status of a completed reply, 0 otherwise. */
    int status() const { return m_status; }
    /** The whole reply body of a completed reply. */
    const QByteArray &body() const { return m_body; }
    /** The next piece of at most 1024 bytes of the reply body; empty at its end. */
    QByteArray readChunk();

    int errorCode() const { return m_errorCode; }
    QString errorDescription() const { return transferErrorDescription(m_errorCode); }

signals:
    void stateChanged(int state);

private:
    struct Worker;

    bool start(const QString &url, const QString &credential, const QByteArray *body,
               const QByteArray &headerLines);
    void reachState(quint64 request, int state);
    void finish(quint64 request, int status, int errorCode, const QByteArray &body);
    void fail(int errorCode);
    void stopWorker();

    TransferSettings m_settings;
    std::unique_ptr<Worker> m_worker;
    quint64 m_request = 0;
    bool m_busy = false;
    int m_lastState = 0;
    int m_status = 0;
    int m_errorCode = 0;
    QByteArray m_body;
    qsizetype m_readPosition = 0;
};

} // namespace kx
