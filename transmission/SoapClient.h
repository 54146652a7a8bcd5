#pragma once

#include "core/net/HttpTransfer.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <memory>

namespace kx {

/** The number of a failure to reach the service at all: the caller then suggests a proxy. */
inline constexpr int ErroreConnessioneServizio = 5406;

/**
 * A SOAP 1.1 client (document/literal) over HttpTransfer, for services whose operations take one
 * text argument. It reads the service description once, then calls operations by name, all over one
 * connection while the server keeps it open. Every wait processes events, so the windows repaint. A
 * failure throws RoutineError: 5406 when no connection can be made (host not found, refused, time-out
 * before connecting, proxy unreachable), otherwise -2147467259 with the fault's text, the HTTP status,
 * a service that stopped answering, or why the description or the reply cannot be read.
 */
class SoapClient
{
public:
    /** `base` gives the time-outs and the authorities; the proxy comes from the properties. */
    explicit SoapClient(TransferSettings base = {});
    ~SoapClient();
    SoapClient(const SoapClient &) = delete;
    SoapClient &operator=(const SoapClient &) = delete;

    /**
     * Reads the description at `descriptionUrl` ("...?WSDL"): the endpoint, the target namespace and,
     * per operation, its soapAction and its parameter's element.
     */
    void initialise(const QString &descriptionUrl);

    /**
     * Sets a connector property: "ProxyServer" (host), "ProxyPort" (text, may be empty) and "UseProxy"
     * (true routes every later request through that proxy; without it the environment's proxy applies).
     * Another name fails with 3265.
     */
    void setProperty(const QString &name, const QVariant &value);

    /** Calls the operation with its one text argument and returns the result's text. */
    QString call(const QString &operation, const QString &argument);

    /** The endpoint read from the description. */
    const QString &endpoint() const { return m_endpoint; }

    /** One operation of the description. */
    struct Operation
    {
        QString soapAction;
        QString element;
        QString elementNamespace;
        /** The parameters' elements are in the element's namespace (elementFormDefault="qualified"). */
        bool qualified = true;
        QString parameter;
    };

private:
    /** Runs one request and returns the reply's status and body; a transfer error throws. */
    std::pair<int, QByteArray> transfer(const QString &url, const QByteArray *body,
                                        const QByteArray &headers);
    TransferSettings settings() const;

    TransferSettings m_base;
    std::unique_ptr<HttpTransfer> m_http;
    QString m_proxyInUso;
    QString m_proxyServer;
    QString m_proxyPort;
    bool m_useProxy = false;
    QString m_endpoint;
    QHash<QString, Operation> m_operations;
};

/** Text for XML element content: "&", "<", ">" as entities and CR as a reference, so that it survives. */
QString testoElementoXml(const QString &text);

} // namespace kx
