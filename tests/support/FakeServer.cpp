#include "FakeServer.h"

#include "core/text/Cp1252.h"

#include <QFile>
#include <QHostAddress>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <sys/socket.h>

namespace {

QByteArray certificateFile(const QString &name)
{
    QFile file(QStringLiteral(KX_NET_CERTIFICATES "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing test certificate %s", qPrintable(name));
    return file.readAll();
}

QByteArray reasonOf(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 401:
        return "Unauthorized";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

void resetConnection(QTcpSocket *socket)
{
    const linger immediately{1, 0};
    setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &immediately, sizeof immediately);
    socket->abort();
}

/** A reply that goes out piece by piece: dripped, generated as it is sent, or cut by a reset. */
class ReplyStream : public QObject
{
public:
    ReplyStream(QTcpSocket *socket, const ScriptedReply &reply, QByteArray head)
        : QObject(socket), m_socket(socket), m_reply(reply), m_head(std::move(head))
    {
        const qint64 bodySize = reply.generatedSize >= 0 ? reply.generatedSize : reply.body.size();
        m_total = m_head.size() + bodySize;
        if (reply.resetAfterBytes >= 0)
            m_total = std::min(m_total, reply.resetAfterBytes);
        if (reply.dripIntervalMs > 0) {
            auto *timer = new QTimer(this);
            connect(timer, &QTimer::timeout, this, [this] { send(std::max(1, m_reply.dripBytes)); });
            timer->start(reply.dripIntervalMs);
            send(std::max(1, m_reply.dripBytes));
        } else {
            connect(socket, &QTcpSocket::bytesWritten, this, [this] { send(BurstBytes); });
            send(BurstBytes);
        }
    }

private:
    static constexpr qint64 BurstBytes = 256 * 1024;

    QByteArray piece(qint64 from, qint64 length) const
    {
        QByteArray bytes;
        bytes.reserve(length);
        for (qint64 at = from; at < from + length; ++at) {
            if (at < m_head.size())
                bytes += m_head[at];
            else if (m_reply.generatedSize >= 0)
                bytes += ScriptedReply::generatedByte(at - m_head.size());
            else
                bytes += m_reply.body[at - m_head.size()];
        }
        return bytes;
    }

    void send(qint64 most)
    {
        if (m_done || m_socket->bytesToWrite() > BurstBytes)
            return;
        const qint64 length = std::min(most, m_total - m_sent);
        m_socket->write(piece(m_sent, length));
        m_sent += length;
        if (m_sent < m_total)
            return;
        m_done = true;
        if (m_reply.resetAfterBytes >= 0) {
            m_socket->flush();
            resetConnection(m_socket);
        } else {
            m_socket->disconnectFromHost();
        }
    }

    QTcpSocket *m_socket;
    ScriptedReply m_reply;
    QByteArray m_head;
    qint64 m_total = 0;
    qint64 m_sent = 0;
    bool m_done = false;
};

QByteArray replyHead(const ScriptedReply &reply, qint64 bodySize)
{
    QByteArray bytes = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reasonOf(reply.status) + "\r\n";
    for (const QByteArray &line : reply.headers)
        bytes += line + "\r\n";
    return bytes + "Connection: close\r\nContent-Length: " + QByteArray::number(bodySize) + "\r\n\r\n";
}

QByteArray replyBytes(const ScriptedReply &reply)
{
    QByteArray bytes = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reasonOf(reply.status) + "\r\n";
    for (const QByteArray &line : reply.headers)
        bytes += line + "\r\n";
    const bool keepAlive = reply.keepAlive && reply.ending == ScriptedReply::Ending::Whole;
    bytes += keepAlive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
    if (reply.ending != ScriptedReply::Ending::Chunked) {
        bytes += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n\r\n" + reply.body;
        return bytes;
    }
    bytes += "Transfer-Encoding: chunked\r\n\r\n";
    for (qsizetype i = 0; i < reply.body.size(); i += 700) {
        const QByteArray piece = reply.body.mid(i, 700);
        bytes += QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n";
    }
    return bytes + "0\r\n\r\n";
}

/** The request at the start of the buffer, once it has arrived whole; the buffer keeps the rest. */
std::optional<RecordedRequest> takeRequest(QByteArray &buffer)
{
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return std::nullopt;
    RecordedRequest request;
    const QList<QByteArray> lines = buffer.left(headEnd).split('\n');
    request.requestLine = lines.first().chopped(lines.first().endsWith('\r') ? 1 : 0);
    for (qsizetype i = 1; i < lines.size(); ++i)
        request.headerLines.append(lines[i].endsWith('\r') ? lines[i].chopped(1) : lines[i]);
    const qsizetype length = request.header("Content-Length").toLongLong();
    const qsizetype bodyStart = headEnd + 4;
    if (buffer.size() < bodyStart + length)
        return std::nullopt;
    request.body = buffer.mid(bodyStart, length);
    buffer.remove(0, bodyStart + length);
    return request;
}

} // namespace

QByteArray downloadBundle(const QList<BundleFile> &files)
{
    QString text;
    for (const BundleFile &file : files) {
        text += file.name + u"\r\n";
        for (const QStringList &fields : file.records)
            text += u'#' + fields.join(u"#,#") + u"#\r\n";
        text += u"EOF\r\n";
    }
    return kx::Cp1252::encode(text);
}

void withoutEnvironmentProxies()
{
    for (const char *name : {"http_proxy", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
        qunsetenv(name);
}

QByteArray RecordedRequest::path() const
{
    QByteArray target = requestLine.split(' ').value(1);
    if (target.startsWith("http://") || target.startsWith("https://"))
        target = QUrl::fromEncoded(target).path(QUrl::FullyEncoded).toLatin1();
    const qsizetype query = target.indexOf('?');
    return (query < 0 ? target : target.left(query)).mid(1);
}

const QByteArray *RecordedRequest::headerLine(QByteArrayView name) const
{
    for (const QByteArray &line : headerLines) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).compare(name, Qt::CaseInsensitive) == 0)
            return &line;
    }
    return nullptr;
}

QByteArray RecordedRequest::header(QByteArrayView name) const
{
    const QByteArray *line = headerLine(name);
    return line ? line->mid(line->indexOf(':') + 1).trimmed() : QByteArray();
}

ScriptedReply ScriptedReply::text(const QByteArray &body, int status)
{
    ScriptedReply reply;
    reply.status = status;
    reply.headers = {"Content-Type: text/plain; charset=windows-1252"};
    reply.body = body;
    return reply;
}

/** The listening socket, living on the server's thread. */
class FakeServer::Listener : public QTcpServer
{
public:
    Listener(FakeServer &server, Tls tls) : m_server(server), m_tls(tls)
    {
        if (tls == Tls::None)
            return;
        const QString name = tls == Tls::Trusted     ? QStringLiteral("server")
                             : tls == Tls::Expired   ? QStringLiteral("expired")
                             : tls == Tls::OtherHost ? QStringLiteral("otherhost")
                                                     : QStringLiteral("untrusted");
        m_certificate = QSslCertificate(certificateFile(name + u".pem"));
        m_key = QSslKey(certificateFile(name + u".key"), QSsl::Rsa);
    }

protected:
    void incomingConnection(qintptr descriptor) override
    {
        QTcpSocket *socket = nullptr;
        if (m_tls == Tls::None) {
            socket = new QTcpSocket(this);
            socket->setSocketDescriptor(descriptor);
        } else {
            auto *secure = new QSslSocket(this);
            secure->setSocketDescriptor(descriptor);
            secure->setLocalCertificate(m_certificate);
            secure->setPrivateKey(m_key);
            secure->setPeerVerifyMode(QSslSocket::VerifyNone);
            secure->startServerEncryption();
            socket = secure;
        }
        auto buffer = std::make_shared<QByteArray>();
        const int connection = ++m_connections;
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer, connection] {
            buffer->append(socket->readAll());
            std::optional<RecordedRequest> request = takeRequest(*buffer);
            if (!request)
                return;
            request->connection = connection;
            respond(socket, m_server.answer(*request));
        });
    }

private:
    void respond(QTcpSocket *socket, const ScriptedReply &reply)
    {
        if (reply.ending == ScriptedReply::Ending::NeverAnswer)
            return;
        QTimer::singleShot(reply.delayMs, socket, [socket, reply] {
            if (reply.ending == ScriptedReply::Ending::Reset) {
                resetConnection(socket);
                return;
            }
            if (reply.dripIntervalMs > 0 || reply.generatedSize >= 0 || reply.resetAfterBytes >= 0) {
                const qint64 bodySize = reply.generatedSize >= 0 ? reply.generatedSize : reply.body.size();
                new ReplyStream(socket, reply, replyHead(reply, bodySize));
                return;
            }
            if (reply.ending != ScriptedReply::Ending::CloseWithoutReply)
                socket->write(replyBytes(reply));
            if (!reply.keepAlive || reply.ending != ScriptedReply::Ending::Whole)
                socket->disconnectFromHost();
        });
    }

    FakeServer &m_server;
    Tls m_tls;
    int m_connections = 0;
    QSslCertificate m_certificate;
    QSslKey m_key;
};

FakeServer::FakeServer(Tls tls, quint16 port) : m_tls(tls), m_thread(new QThread)
{
    m_listener = new Listener(*this, tls);
    m_listener->moveToThread(m_thread);
    m_thread->start();
    QMetaObject::invokeMethod(
        m_listener,
        [this, port] {
            if (!m_listener->listen(QHostAddress::LocalHost, port)) {
                // A chosen port may be taken; the caller reports it. An ephemeral one never is.
                if (port == 0)
                    qFatal("the fake server cannot listen");
                return;
            }
            m_port = m_listener->serverPort();
        },
        Qt::BlockingQueuedConnection);
}

FakeServer::~FakeServer()
{
    QMetaObject::invokeMethod(
        m_listener, [this] { delete m_listener; }, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
}

QString FakeServer::url(const QString &path) const
{
    const QString scheme = m_tls == Tls::None ? QStringLiteral("http") : QStringLiteral("https");
    return scheme + u"://127.0.0.1:" + QString::number(m_port) + u'/' + path;
}

void FakeServer::route(const QByteArray &path, Handler handler)
{
    const QMutexLocker lock(&m_mutex);
    m_routes.insert(path, std::move(handler));
}

void FakeServer::reply(const QByteArray &path, const ScriptedReply &reply)
{
    route(path, [reply](const RecordedRequest &) { return reply; });
}

void FakeServer::requireBasic(const QByteArray &path, const QByteArray &user, const QByteArray &password)
{
    const QMutexLocker lock(&m_mutex);
    m_credentials.insert(path, "Basic " + QByteArray(user + ':' + password).toBase64());
}

QList<RecordedRequest> FakeServer::requests() const
{
    const QMutexLocker lock(&m_mutex);
    return m_requests;
}

ScriptedReply FakeServer::answer(const RecordedRequest &request)
{
    Handler handler;
    {
        const QMutexLocker lock(&m_mutex);
        m_requests.append(request);
        const auto expected = m_credentials.constFind(request.path());
        if (expected != m_credentials.cend() && request.header("Authorization") != *expected) {
            ScriptedReply refused;
            refused.status = 401;
            refused.headers = {"WWW-Authenticate: Basic realm=\"Regione\"", "Content-Type: text/html"};
            refused.body = "<html><body><h1>401 Accesso negato</h1></body></html>";
            return refused;
        }
        handler = m_routes.value(request.path());
    }
    if (!handler) {
        ScriptedReply missing;
        missing.status = 404;
        missing.headers = {"Content-Type: text/html"};
        missing.body = "<html><body><h1>404 Servizio inesistente</h1></body></html>";
        return missing;
    }
    return handler(request);
}
