#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <functional>

class QThread;

/** Unsets the proxies the environment names, so that requests reach the fake server directly. */
void withoutEnvironmentProxies();

/** A request as it arrived: request line and header lines without their CR LF, and the body bytes. */
struct RecordedRequest
{
    QByteArray requestLine;
    QList<QByteArray> headerLines;
    QByteArray body;

    QByteArray method() const { return requestLine.split(' ').value(0); }
    /** The path of the target without its query, also for a proxy's absolute-form target. */
    QByteArray path() const;
    /** The value of the first header of that name, without the blanks around it. */
    QByteArray header(QByteArrayView name) const;
    bool hasHeader(QByteArrayView name) const { return headerLine(name) != nullptr; }

private:
    const QByteArray *headerLine(QByteArrayView name) const;
};

/** What the server answers to one request. */
struct ScriptedReply
{
    enum class Ending
    {
        Whole,
        Chunked,
        CloseWithoutReply,
        /** The connection is reset (RST) in place of a reply. */
        Reset,
        NeverAnswer
    };

    int status = 200;
    /** Header lines without CR LF; Content-Length (or Transfer-Encoding) and Connection are added. */
    QList<QByteArray> headers;
    QByteArray body;
    int delayMs = 0;
    Ending ending = Ending::Whole;

    static ScriptedReply text(const QByteArray &body, int status = 200);
};

/** One file of a download bundle: its name and its records, each a list of fields. */
struct BundleFile
{
    QString name;
    QList<QStringList> records;
};

/** A download bundle as the server sends it: Windows-1252 with CR LF, each file closed by "EOF". */
QByteArray downloadBundle(const QList<BundleFile> &files);

/**
 * A stand-in for the regional server on 127.0.0.1, on an ephemeral port and a thread of its own,
 * over HTTP or HTTPS. Each path has a handler (a fixed reply or a function of the request); any path
 * may ask for Basic credentials; every request is recorded as received.
 */
class FakeServer
{
public:
    enum class Tls
    {
        None,
        /** A certificate for 127.0.0.1 and localhost, issued by the test authority tests/data/net/ca.pem. */
        Trusted,
        /** A self-signed certificate no authority vouches for. */
        Untrusted
    };
    using Handler = std::function<ScriptedReply(const RecordedRequest &)>;

    /** Listens on the given port, or on an ephemeral one for 0; see isListening for a given port. */
    explicit FakeServer(Tls tls = Tls::None, quint16 port = 0);
    ~FakeServer();
    FakeServer(const FakeServer &) = delete;
    FakeServer &operator=(const FakeServer &) = delete;

    quint16 port() const { return m_port; }
    /** False when the given port could not be taken (in use, or not allowed). */
    bool isListening() const { return m_port != 0; }
    /** The address of a path on this server, "http://127.0.0.1:<port>/<path>" or https. */
    QString url(const QString &path) const;

    void route(const QByteArray &path, Handler handler);
    void reply(const QByteArray &path, const ScriptedReply &reply);
    /** Requests on the path without these Basic credentials get a 401 page. */
    void requireBasic(const QByteArray &path, const QByteArray &user, const QByteArray &password);

    QList<RecordedRequest> requests() const;

    /** Called on the server's thread: records the request and returns the reply it gets. */
    ScriptedReply answer(const RecordedRequest &request);

private:
    class Listener;

    Tls m_tls;
    quint16 m_port = 0;
    QThread *m_thread = nullptr;
    Listener *m_listener = nullptr;
    mutable QMutex m_mutex;
    QMap<QByteArray, Handler> m_routes;
    QMap<QByteArray, QByteArray> m_credentials;
    QList<RecordedRequest> m_requests;
};
