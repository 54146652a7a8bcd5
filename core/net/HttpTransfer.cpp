#include "core/net/HttpTransfer.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QUrl>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <curl/curl.h>
#include <mutex>
#include <string>
#include <thread>

namespace kx {

QString transferErrorDescription(int code, const QString &proxy)
{
    switch (code) {
    case 0:
        return {};
    case TransferError::Timeout:
        return QStringLiteral("Tempo di attesa della risposta scaduto");
    case TransferError::InvalidAddress:
        return QStringLiteral("Indirizzo o credenziale del servizio non validi");
    case TransferError::UnknownScheme:
        return QStringLiteral("Protocollo dell'indirizzo non riconosciuto");
    case TransferError::NameNotResolved:
        return QStringLiteral("Impossibile risolvere il nome del server");
    case TransferError::CannotConnect:
        return QStringLiteral("Impossibile stabilire la connessione con il server");
    case TransferError::ClosedWithoutReply:
        return QStringLiteral("Connessione chiusa dal server senza risposta");
    case TransferError::ConnectionReset:
        return QStringLiteral("Connessione interrotta dal server");
    case TransferError::CertificateNotVerified:
        return QStringLiteral("Impossibile verificare il certificato del server");
    case TransferError::CertificateExpired:
        return QStringLiteral("Il certificato del server è scaduto o non ancora valido");
    case TransferError::CertificateOtherHost:
        return QStringLiteral("Il certificato del server è intestato a un altro nome");
    case TransferError::ReplyTooLarge:
        return QStringLiteral("La risposta del server è troppo grande per essere uno scarico");
    case TransferError::TooManyRedirects:
        return QStringLiteral("Troppi reindirizzamenti dal server");
    case TransferError::ProxyFailed:
        return QStringLiteral("Il server proxy %1 non è raggiungibile o ha rifiutato la richiesta")
            .arg(proxy);
    default:
        return QStringLiteral("Errore interno durante la trasmissione");
    }
}

namespace {

int errorCodeOf(CURLcode result)
{
    switch (result) {
    case CURLE_OPERATION_TIMEDOUT:
        return TransferError::Timeout;
    case CURLE_URL_MALFORMAT:
        return TransferError::InvalidAddress;
    case CURLE_UNSUPPORTED_PROTOCOL:
        return TransferError::UnknownScheme;
    case CURLE_COULDNT_RESOLVE_HOST:
        return TransferError::NameNotResolved;
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_PROXY:
        return TransferError::ProxyFailed;
    case CURLE_TOO_MANY_REDIRECTS:
        return TransferError::TooManyRedirects;
    case CURLE_COULDNT_CONNECT:
        return TransferError::CannotConnect;
    case CURLE_GOT_NOTHING:
        return TransferError::ClosedWithoutReply;
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
        return TransferError::ConnectionReset;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
        return TransferError::CertificateNotVerified;
    default:
        return TransferError::Internal;
    }
}

/** The code of a refused certificate: its dates, its name, or else an authority not trusted. */
int certificateErrorCode(CURL *easy)
{
    long verifyResult = 0;
    curl_easy_getinfo(easy, CURLINFO_SSL_VERIFYRESULT, &verifyResult);
    constexpr long NotYetValid = 9;      // X509_V_ERR_CERT_NOT_YET_VALID
    constexpr long Expired = 10;         // X509_V_ERR_CERT_HAS_EXPIRED
    constexpr long HostMismatch = 62;    // X509_V_ERR_HOSTNAME_MISMATCH
    constexpr long AddressMismatch = 64; // X509_V_ERR_IP_ADDRESS_MISMATCH
    if (verifyResult == NotYetValid || verifyResult == Expired)
        return TransferError::CertificateExpired;
    constexpr long Unspecified = 1; // X509_V_ERR_UNSPECIFIED: what libcurl's own name check leaves
    // The chain verified, so the name is what was refused.
    if (verifyResult <= Unspecified || verifyResult == HostMismatch || verifyResult == AddressMismatch)
        return TransferError::CertificateOtherHost;
    return TransferError::CertificateNotVerified;
}

bool hostExcluded(const QString &host, const QByteArray &noProxy)
{
    for (QByteArray entry : noProxy.split(',')) {
        entry = entry.trimmed();
        if (entry.startsWith('.'))
            entry.remove(0, 1);
        if (entry.isEmpty())
            continue;
        const QString name = QString::fromLatin1(entry);
        if (entry == "*" || host.compare(name, Qt::CaseInsensitive) == 0 ||
            host.endsWith(u'.' + name, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

/** The proxy the request goes through, as libcurl would take it from the environment. */
QString environmentProxy(const QUrl &url)
{
    const QByteArray noProxy =
        qEnvironmentVariableIsSet("no_proxy") ? qgetenv("no_proxy") : qgetenv("NO_PROXY");
    if (hostExcluded(url.host(), noProxy))
        return {};
    const QList<const char *> names =
        url.scheme() == u"https" ? QList<const char *>{"https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}
                                 : QList<const char *>{"http_proxy", "all_proxy", "ALL_PROXY"};
    for (const char *name : names) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
    return {};
}

/** The proxy as the user may see it: host and port, without any credential. */
QString proxyName(const QString &proxy)
{
    const QUrl url(proxy.contains(u"://") ? proxy : u"http://" + proxy);
    return url.port() > 0 ? url.host() + u':' + QString::number(url.port()) : url.host();
}

/** The PEM text of a certificate file that holds DER or PEM; empty when there is none. */
QByteArray authorityPem(const QString &path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (bytes.contains("-----BEGIN"))
        return bytes;
    QByteArray pem = "-----BEGIN CERTIFICATE-----\n";
    const QByteArray base64 = bytes.toBase64();
    for (qsizetype i = 0; i < base64.size(); i += 64)
        pem += base64.mid(i, 64) + '\n';
    return pem + "-----END CERTIFICATE-----\n";
}

bool namesHeader(const QList<QByteArray> &lines, QByteArrayView name)
{
    for (const QByteArray &line : lines) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void initialiseCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace

/**
 * The connections and name lookups the requests of one transfer share. Its requests run one at a
 * time, each on its own thread, so the locks only order them.
 */
struct HttpTransfer::Share
{
    CURLSH *handle = curl_share_init();
    std::array<std::mutex, CURL_LOCK_DATA_LAST> mutexes;

    Share()
    {
        curl_share_setopt(handle, CURLSHOPT_LOCKFUNC, &Share::lock);
        curl_share_setopt(handle, CURLSHOPT_UNLOCKFUNC, &Share::unlock);
        curl_share_setopt(handle, CURLSHOPT_USERDATA, this);
        curl_share_setopt(handle, CURLSHOPT_SHARE, CURL_LOCK_DATA_CONNECT);
        curl_share_setopt(handle, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
    }
    ~Share() { curl_share_cleanup(handle); }
    Share(const Share &) = delete;
    Share &operator=(const Share &) = delete;

    static void lock(CURL *, curl_lock_data data, curl_lock_access, void *self)
    {
        static_cast<Share *>(self)->mutexes.at(data).lock();
    }
    static void unlock(CURL *, curl_lock_data data, void *self)
    {
        static_cast<Share *>(self)->mutexes.at(data).unlock();
    }
};

/** The libcurl handles of one request and the thread that runs it. */
struct HttpTransfer::Worker
{
    HttpTransfer *owner = nullptr;
    quint64 request = 0;
    CURL *easy = nullptr;
    CURLM *multi = nullptr;
    curl_slist *headers = nullptr;
    std::string url;
    std::string user;
    std::string password;
    QByteArray requestBody;
    QByteArray authorities;
    QByteArray received;
    std::shared_ptr<std::FILE> receivedFile;
    qint64 receivedSize = 0;
    qint64 memoryLimit = 0;
    qint64 sizeLimit = 0;
    bool tooLarge = false;
    bool fileFailed = false;
    bool replyStarted = false;
    bool connected = false;
    bool throughProxy = false;
    std::chrono::milliseconds stallTimeout{0};
    std::chrono::milliseconds totalTimeout{0};
    curl_off_t minimumRate = 0;
    std::chrono::steady_clock::time_point started;
    std::chrono::steady_clock::time_point lastActivity;
    std::chrono::steady_clock::time_point windowStart;
    curl_off_t bytesMoved = 0;
    curl_off_t bytesAtWindowStart = 0;
    std::atomic<bool> cancelled = false;
    std::thread thread;

    ~Worker()
    {
        if (multi && easy)
            curl_multi_remove_handle(multi, easy);
        if (easy)
            curl_easy_cleanup(easy);
        if (multi)
            curl_multi_cleanup(multi);
        curl_slist_free_all(headers);
        std::fill(password.begin(), password.end(), '\0');
    }

    int errorCode(CURLcode result, long status) const;

    void post(int state)
    {
        QMetaObject::invokeMethod(
            owner, [owner = owner, request = request, state] { owner->reachState(request, state); },
            Qt::QueuedConnection);
    }

    /** Keeps the reply in memory up to a few MiB, then in a temporary file; refuses one past the limit. */
    static size_t onBody(char *data, size_t size, size_t count, void *self)
    {
        auto *worker = static_cast<Worker *>(self);
        const auto length = qint64(size * count);
        worker->receivedSize += length;
        if (worker->receivedSize > worker->sizeLimit) {
            worker->tooLarge = true;
            return 0;
        }
        if (!worker->receivedFile && worker->receivedSize > worker->memoryLimit) {
            // A file without a name, gone with its last handle.
            std::shared_ptr<std::FILE> file(std::tmpfile(), [](std::FILE *f) {
                if (f)
                    std::fclose(f);
            });
            const auto kept = size_t(worker->received.size());
            if (!file || std::fwrite(worker->received.constData(), 1, kept, file.get()) != kept) {
                worker->fileFailed = true;
                return 0;
            }
            worker->received.clear();
            worker->receivedFile = std::move(file);
        }
        if (!worker->receivedFile) {
            worker->received.append(data, qsizetype(length));
        } else if (std::fwrite(data, 1, size_t(length), worker->receivedFile.get()) != size_t(length)) {
            worker->fileFailed = true;
            return 0;
        }
        return size * count;
    }

    static size_t onHeader(char *, size_t size, size_t count, void *self)
    {
        auto *worker = static_cast<Worker *>(self);
        if (!worker->replyStarted) {
            worker->replyStarted = true;
            worker->post(TransferState::Sent);
            worker->post(TransferState::Receiving);
        }
        return size * count;
    }

    static int onProgress(void *self, curl_off_t, curl_off_t received, curl_off_t, curl_off_t sent)
    {
        auto *worker = static_cast<Worker *>(self);
        if (received + sent != worker->bytesMoved) {
            worker->bytesMoved = received + sent;
            worker->lastActivity = std::chrono::steady_clock::now();
        }
        return 0;
    }

    static int onSocketOpened(void *self, curl_socket_t, curlsocktype)
    {
        auto *worker = static_cast<Worker *>(self);
        worker->post(TransferState::Resolved);
        worker->post(TransferState::Connecting);
        return CURL_SOCKOPT_OK;
    }

    static int onConnected(void *self, char *, char *, int, int)
    {
        auto *worker = static_cast<Worker *>(self);
        worker->connected = true;
        worker->post(TransferState::Connected);
        worker->post(TransferState::Sending);
        return CURL_PREREQFUNC_OK;
    }

    /** Silence, a trickle below the useful rate, or a small request past its whole limit. */
    bool outOfTime()
    {
        const auto now = std::chrono::steady_clock::now();
        if (now - lastActivity > stallTimeout)
            return true;
        if (totalTimeout.count() > 0 && now - started > totalTimeout)
            return true;
        if (now - windowStart >= stallTimeout) {
            const auto seconds =
                std::chrono::duration_cast<std::chrono::milliseconds>(now - windowStart).count() / 1000.0;
            if (double(bytesMoved - bytesAtWindowStart) < double(minimumRate) * seconds)
                return true;
            windowStart = now;
            bytesAtWindowStart = bytesMoved;
        }
        return false;
    }

    void run()
    {
        started = lastActivity = windowStart = std::chrono::steady_clock::now();
        CURLcode result = CURLE_OK;
        int running = 1;
        while (running && !cancelled) {
            curl_multi_perform(multi, &running);
            if (running && outOfTime()) {
                result = CURLE_OPERATION_TIMEDOUT;
                break;
            }
            if (running)
                curl_multi_poll(multi, nullptr, 0, 50, nullptr);
        }
        if (cancelled)
            return;
        int pending = 0;
        while (CURLMsg *message = curl_multi_info_read(multi, &pending)) {
            if (message->msg == CURLMSG_DONE)
                result = message->data.result;
        }
        long status = 0;
        if (result == CURLE_OK) {
            curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
            post(TransferState::Received);
        }
        const int code = errorCode(result, status);
        if (connected) {
            post(TransferState::Disconnecting);
            post(TransferState::Disconnected);
        }
        if (receivedFile && (code != 0 || std::fflush(receivedFile.get()) != 0 ||
                             std::fseek(receivedFile.get(), 0, SEEK_SET) != 0))
            receivedFile.reset();
        QMetaObject::invokeMethod(
            owner,
            [owner = owner, request = request, status = int(status), code, body = std::move(received),
             file = std::move(receivedFile)] { owner->finish(request, status, code, body, file); },
            Qt::QueuedConnection);
    }
};

int HttpTransfer::Worker::errorCode(CURLcode result, long status) const
{
    constexpr long ProxyAuthenticationRequired = 407;
    if (result == CURLE_OK)
        return throughProxy && status == ProxyAuthenticationRequired ? TransferError::ProxyFailed : 0;
    if (tooLarge)
        return TransferError::ReplyTooLarge;
    if (fileFailed)
        return TransferError::Internal;
    if (result == CURLE_PEER_FAILED_VERIFICATION)
        return certificateErrorCode(easy);
    long connectCode = 0;
    curl_easy_getinfo(easy, CURLINFO_HTTP_CONNECTCODE, &connectCode);
    if (throughProxy && (result == CURLE_COULDNT_CONNECT || connectCode >= 300))
        return TransferError::ProxyFailed;
    return errorCodeOf(result);
}

HttpTransfer::HttpTransfer(TransferSettings settings, QObject *parent)
    : QObject(parent), m_settings(std::move(settings))
{
    initialiseCurlOnce();
    m_share = std::make_unique<Share>();
}

HttpTransfer::~HttpTransfer()
{
    stopWorker();
}

bool HttpTransfer::post(const QString &url, const QString &credential, const QByteArray &body,
                        const QByteArray &headerLines)
{
    return start(url, credential, &body, headerLines, 0);
}

bool HttpTransfer::get(const QString &url, const QString &credential, int maximumRedirects)
{
    return start(url, credential, nullptr, {}, maximumRedirects);
}

bool HttpTransfer::start(const QString &url, const QString &credential, const QByteArray *body,
                         const QByteArray &headerLines, int maximumRedirects)
{
    stopWorker();
    ++m_request;
    m_busy = true;
    m_cancelled = false;
    m_lastState = 0;
    m_status = 0;
    m_errorCode = 0;
    m_proxyUsed.clear();
    m_body.clear();
    m_bodyFile.reset();
    m_readPosition = 0;

    static const QRegularExpression credentialShape(QStringLiteral("^([^:@/]+)(?::([^@/]*))?@$"));
    const QRegularExpressionMatch parts = credentialShape.match(credential);
    if (!credential.isEmpty() && !parts.hasMatch()) {
        fail(TransferError::InvalidAddress);
        return false;
    }
    const qsizetype schemeEnd = url.indexOf(u"://");
    if (schemeEnd <= 0) {
        fail(TransferError::InvalidAddress);
        return false;
    }
    const QString scheme = url.left(schemeEnd).toLower();
    if (scheme != u"http" && scheme != u"https") {
        fail(TransferError::UnknownScheme);
        return false;
    }
    const QByteArray urlBytes = url.toUtf8();
    CURLU *parsed = curl_url();
    const bool wellFormed = curl_url_set(parsed, CURLUPART_URL, urlBytes.constData(), 0) == CURLUE_OK;
    char *userInfo = nullptr;
    const bool carriesUser = wellFormed && curl_url_get(parsed, CURLUPART_USER, &userInfo, 0) == CURLUE_OK;
    curl_free(userInfo);
    curl_url_cleanup(parsed);
    if (!wellFormed || carriesUser) {
        fail(TransferError::InvalidAddress);
        return false;
    }

    auto worker = std::make_unique<Worker>();
    worker->owner = this;
    worker->request = m_request;
    worker->url = urlBytes.toStdString();
    worker->easy = curl_easy_init();
    worker->multi = curl_multi_init();
    CURL *easy = worker->easy;
    curl_easy_setopt(easy, CURLOPT_URL, worker->url.c_str());
    curl_easy_setopt(easy, CURLOPT_SHARE, m_share->handle);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, long(m_settings.connectTimeoutMs));
    worker->stallTimeout = std::chrono::milliseconds(m_settings.stallTimeoutMs);
    worker->totalTimeout = std::chrono::milliseconds(m_settings.totalTimeoutMs);
    worker->minimumRate = m_settings.minimumRate;
    worker->memoryLimit = m_settings.memoryReplyBytes;
    worker->sizeLimit = m_settings.maximumReplyBytes;
    if (maximumRedirects > 0) {
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(easy, CURLOPT_MAXREDIRS, long(maximumRedirects));
        curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy, CURLOPT_UNRESTRICTED_AUTH, 0L);
    }
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &Worker::onProgress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, worker.get());
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    worker->authorities = authorityPem(m_settings.extraAuthorityFile);
    if (!worker->authorities.isEmpty()) {
        // The blob takes the place of the system's bundle file, so it carries that bundle too.
        char *systemBundle = nullptr;
        curl_easy_getinfo(easy, CURLINFO_CAINFO, &systemBundle);
        QFile bundle(QString::fromLocal8Bit(systemBundle));
        if (systemBundle && bundle.open(QIODevice::ReadOnly))
            worker->authorities.prepend(bundle.readAll() + '\n');
        curl_blob blob{worker->authorities.data(), size_t(worker->authorities.size()), CURL_BLOB_NOCOPY};
        curl_easy_setopt(easy, CURLOPT_CAINFO_BLOB, &blob);
    }
    // The proxy is settled here, so that a failure of it can be told with its name.
    const QString proxy = m_settings.proxy.isEmpty() ? environmentProxy(QUrl(url)) : m_settings.proxy;
    curl_easy_setopt(easy, CURLOPT_PROXY, proxy.toUtf8().constData());
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "");
    worker->throughProxy = !proxy.isEmpty();
    m_proxyUsed = proxyName(proxy);
    if (parts.hasMatch()) {
        worker->user = parts.captured(1).toStdString();
        worker->password = parts.captured(2).toStdString();
        curl_easy_setopt(easy, CURLOPT_HTTPAUTH, long(CURLAUTH_BASIC));
        curl_easy_setopt(easy, CURLOPT_USERNAME, worker->user.c_str());
        curl_easy_setopt(easy, CURLOPT_PASSWORD, worker->password.c_str());
    }

    QList<QByteArray> lines = headerLines.split('\n');
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    lines.removeAll(QByteArray());
    for (const QByteArray &line : std::as_const(lines))
        worker->headers = curl_slist_append(worker->headers, line.constData());
    for (const QByteArrayView name : {"Accept", "Expect", "Content-Type"}) {
        if (!namesHeader(lines, name))
            worker->headers =
                curl_slist_append(worker->headers, QByteArray(name.toByteArray() + ':').constData());
    }
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, worker->headers);
    if (body) {
        worker->requestBody = *body;
        curl_easy_setopt(easy, CURLOPT_POST, 1L);
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(worker->requestBody.size()));
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, worker->requestBody.constData());
    }
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Worker::onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, worker.get());
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Worker::onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, worker.get());
    curl_easy_setopt(easy, CURLOPT_SOCKOPTFUNCTION, &Worker::onSocketOpened);
    curl_easy_setopt(easy, CURLOPT_SOCKOPTDATA, worker.get());
    curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, &Worker::onConnected);
    curl_easy_setopt(easy, CURLOPT_PREREQDATA, worker.get());
    curl_multi_add_handle(worker->multi, easy);

    m_worker = std::move(worker);
    reachState(m_request, TransferState::Resolving);
    m_worker->thread = std::thread([worker = m_worker.get()] { worker->run(); });
    return true;
}

void HttpTransfer::cancel()
{
    if (m_busy)
        m_cancelled = true;
    stopWorker();
    ++m_request;
    m_busy = false;
}

void HttpTransfer::stopWorker()
{
    if (!m_worker)
        return;
    m_worker->cancelled = true;
    curl_multi_wakeup(m_worker->multi);
    if (m_worker->thread.joinable())
        m_worker->thread.join();
    m_worker.reset();
}

void HttpTransfer::waitWhileBusy()
{
    while (m_busy)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

QByteArray HttpTransfer::readChunk()
{
    if (m_bodyFile) {
        QByteArray chunk(1024, Qt::Uninitialized);
        chunk.resize(qsizetype(std::fread(chunk.data(), 1, size_t(chunk.size()), m_bodyFile.get())));
        return chunk;
    }
    const QByteArray chunk = m_body.mid(m_readPosition, 1024);
    m_readPosition += chunk.size();
    return chunk;
}

void HttpTransfer::reachState(quint64 request, int state)
{
    if (request != m_request || state <= m_lastState)
        return;
    m_lastState = state;
    emit stateChanged(state);
}

void HttpTransfer::finish(quint64 request, int status, int errorCode, const QByteArray &body,
                          std::shared_ptr<std::FILE> bodyFile)
{
    if (request != m_request)
        return;
    if (m_worker && m_worker->thread.joinable())
        m_worker->thread.join();
    m_worker.reset();
    if (errorCode != 0) {
        fail(errorCode);
        return;
    }
    m_status = status;
    m_body = body;
    m_bodyFile = std::move(bodyFile);
    m_lastState = TransferState::Completed;
    emit stateChanged(TransferState::Completed);
    if (request == m_request)
        m_busy = false;
}

void HttpTransfer::fail(int errorCode)
{
    const quint64 request = m_request;
    m_errorCode = errorCode;
    m_lastState = TransferState::Error;
    emit stateChanged(TransferState::Error);
    if (request == m_request)
        m_busy = false;
}

} // namespace kx
