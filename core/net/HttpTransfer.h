#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdio>
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
inline constexpr int Disconnecting = 9;
inline constexpr int Disconnected = 10;
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
inline constexpr int CertificateExpired = 12037;
inline constexpr int CertificateOtherHost = 12038;
inline constexpr int ReplyTooLarge = 12152;
inline constexpr int TooManyRedirects = 12156;
inline constexpr int ProxyFailed = 12165;
} // namespace TransferError

/** The short Italian description of a transfer error code; it never names the server. */
QString transferErrorDescription(int code, const QString &proxy = {});

/** How a transfer reaches the server; the defaults are the program's. */
struct TransferSettings
{
    /** The whole of a small request (a number, a version, a login page), from start to last byte. */
    static constexpr int SmallRequestLimitMs = 120000;

    int connectTimeoutMs = 30000;
    /** The transfer ends in a time-out when fewer than minimumRate bytes a second move for this long. */
    int stallTimeoutMs = 60000;
    int minimumRate = 1024;
    /** The transfer ends in a time-out past this, however fast it goes; none when 0 (the downloads). */
    int totalTimeoutMs = SmallRequestLimitMs;
    /** A reply longer than this is kept in a temporary file instead of memory. */
    qint64 memoryReplyBytes = 4 * 1024 * 1024;
    /** A reply longer than this is no reply of the server's: the transfer ends in an error. */
    qint64 maximumReplyBytes = 512LL * 1024 * 1024;
    /** A certificate authority trusted besides the system's (DER or PEM); none when empty or missing. */
    QString extraAuthorityFile;
    /** "host:port" of a proxy; empty uses the environment's. */
    QString proxy;
};

/**
 * One HTTP/1.1 request at a time, run by libcurl on a worker thread. The caller starts it, polls
 * busy() while processing events, and hears its progress through stateChanged on its own thread:
 * states 1-10 at most once each and in order, then exactly one of 12 (completed: any HTTP status) or
 * 11 (transfer error: errorCode(), errorDescription()); 9 and 10 come once a connection was made. busy()
 * turns false only after the final state has been delivered, so its handler has run, reply reading included,
 * when the wait ends.
 *
 * On the wire go the caller's header lines byte for byte and in order, and beside them only Host,
 * Content-Length and, with a credential, a Basic Authorization header.
 *
 * The requests of one transfer share their connections: a server that keeps a connection open after
 * its reply gets the next request on it.
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
    /**
     * Gets the page; with maximumRedirects, follows that many redirects (http to https included),
     * never sending the credential to a host other than the first, and a loop or one more redirect
     * ends in TooManyRedirects.
     */
    bool get(const QString &url, const QString &credential, int maximumRedirects = 0);

    bool busy() const { return m_busy; }
    /** Processes events, the final state's handler included, until the transfer is no longer busy. */
    void waitWhileBusy();
    /** Stops a running transfer; it reports no further state. */
    void cancel();
    /** The last transfer was stopped by cancel() before its final state. */
    bool cancelled() const { return m_cancelled; }

    /** The HTTP status of a completed reply, 0 otherwise. */
    int status() const { return m_status; }
    /** The body of a completed reply kept in memory; empty for a longer one: read that by readChunk(). */
    const QByteArray &body() const { return m_body; }
    /** The next piece of at most 1024 bytes of the reply body; empty at its end. */
    QByteArray readChunk();

    int errorCode() const { return m_errorCode; }
    /** The description of the error; a proxy failure names the proxy. */
    QString errorDescription() const { return transferErrorDescription(m_errorCode, m_proxyUsed); }

signals:
    void stateChanged(int state);

private:
    struct Worker;
    struct Share;

    bool start(const QString &url, const QString &credential, const QByteArray *body,
               const QByteArray &headerLines, int maximumRedirects);
    void reachState(quint64 request, int state);
    void finish(quint64 request, int status, int errorCode, const QByteArray &body,
                std::shared_ptr<std::FILE> bodyFile);
    void fail(int errorCode);
    void stopWorker();

    TransferSettings m_settings;
    std::unique_ptr<Share> m_share;
    std::unique_ptr<Worker> m_worker;
    quint64 m_request = 0;
    bool m_busy = false;
    int m_lastState = 0;
    int m_status = 0;
    int m_errorCode = 0;
    bool m_cancelled = false;
    QString m_proxyUsed;
    QByteArray m_body;
    std::shared_ptr<std::FILE> m_bodyFile;
    qsizetype m_readPosition = 0;
};

} // namespace kx
