#include "transmission/SoapClient.h"

#include "core/services/RoutineError.h"

#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

const QString NamespaceWsdl = u"http://schemas.xmlsoap.org/wsdl/"_s;
const QString NamespaceWsdlSoap = u"http://schemas.xmlsoap.org/wsdl/soap/"_s;
const QString NamespaceSchema = u"http://www.w3.org/2001/XMLSchema"_s;
const QString NamespaceEnvelope = u"http://schemas.xmlsoap.org/soap/envelope/"_s;

[[noreturn]] void fallisce(const QString &descrizione)
{
    throw RoutineError(ErrorCode::Unspecified, descrizione);
}

/** The local part of a qualified name ("tns:Nome" gives "Nome"). */
QString parteLocale(QStringView nome)
{
    const qsizetype duepunti = nome.indexOf(u':');
    return (duepunti < 0 ? nome : nome.sliced(duepunti + 1)).toString();
}

/** What the description says, before the operations are put together. */
struct Descrizione
{
    QString targetNamespace;
    QString endpoint;
    /** Schema elements: their namespace, whether children are qualified, their first child element. */
    struct Elemento
    {
        QString ns;
        bool qualified = false;
        QString primoFiglio;
    };
    QHash<QString, Elemento> elementi;
    QHash<QString, QString> elementoDelMessaggio;
    QHash<QString, QString> messaggioInIngresso;
    QHash<QString, QString> soapAction;
};

Descrizione leggiDescrizione(const QByteArray &xml)
{
    Descrizione d;
    QXmlStreamReader reader(xml);
    QStringList percorso;
    QString schemaNs;
    bool schemaQualified = false;
    QString elementoCorrente;
    QString messaggioCorrente;
    QString operazioneCorrente;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::EndElement) {
            percorso.removeLast();
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QString nome = reader.name().toString();
        const QString ns = reader.namespaceUri().toString();
        const QXmlStreamAttributes attributi = reader.attributes();
        const auto valore = [&attributi](const char *attributo) {
            return attributi.value(QLatin1StringView(attributo)).toString();
        };
        const QString padre = percorso.isEmpty() ? QString() : percorso.last();
        percorso.append(nome);
        if (ns == NamespaceWsdl && nome == u"definitions") {
            d.targetNamespace = valore("targetNamespace");
        } else if (ns == NamespaceSchema && nome == u"schema") {
            schemaNs = valore("targetNamespace");
            schemaQualified = valore("elementFormDefault") == u"qualified"_s;
        } else if (ns == NamespaceSchema && nome == u"element") {
            if (padre == u"schema") {
                elementoCorrente = valore("name");
                d.elementi.insert(elementoCorrente, {schemaNs, schemaQualified, {}});
            } else if (!elementoCorrente.isEmpty() && d.elementi[elementoCorrente].primoFiglio.isEmpty()) {
                d.elementi[elementoCorrente].primoFiglio = valore("name");
            }
        } else if (ns == NamespaceWsdl && nome == u"message") {
            messaggioCorrente = valore("name");
        } else if (ns == NamespaceWsdl && nome == u"part" && padre == u"message") {
            d.elementoDelMessaggio.insert(messaggioCorrente, parteLocale(valore("element")));
        } else if (ns == NamespaceWsdl && nome == u"operation") {
            operazioneCorrente = valore("name");
        } else if (ns == NamespaceWsdl && nome == u"input" && padre == u"operation" &&
                   attributi.hasAttribute(QLatin1StringView("message"))) {
            d.messaggioInIngresso.insert(operazioneCorrente, parteLocale(valore("message")));
        } else if (ns == NamespaceWsdlSoap && nome == u"operation") {
            d.soapAction.insert(operazioneCorrente, valore("soapAction"));
        } else if (ns == NamespaceWsdlSoap && nome == u"address" && d.endpoint.isEmpty()) {
            d.endpoint = valore("location");
        }
    }
    if (reader.hasError())
        fallisce(u"Descrizione del servizio non leggibile: "_s + reader.errorString());
    if (d.endpoint.isEmpty())
        fallisce(u"Descrizione del servizio non leggibile: manca l'indirizzo del servizio SOAP"_s);
    return d;
}

/** No reply of the service's nests its elements deeper than this. */
constexpr int ProfonditaMassima = 64;

const QString RispostaNonLeggibile = u"Risposta del servizio non leggibile"_s;

/**
 * Reads a reply token by token, counting how deep its elements nest: a reply deeper than
 * ProfonditaMassima is refused as not the service's, and nothing is read by recursion, so no reply
 * can exhaust the stack.
 */
class LettoreRisposta
{
public:
    explicit LettoreRisposta(const QByteArray &xml) : m_reader(xml) {}

    QXmlStreamReader &reader() { return m_reader; }
    /** How many elements are open, the one just started included. */
    int profondita() const { return m_profondita; }

    QXmlStreamReader::TokenType avanza()
    {
        const QXmlStreamReader::TokenType token = m_reader.readNext();
        if (token == QXmlStreamReader::StartElement && ++m_profondita > ProfonditaMassima)
            fallisce(RispostaNonLeggibile);
        if (token == QXmlStreamReader::EndElement)
            --m_profondita;
        return token;
    }

    /** The text of the element just started, that of its children included. */
    QString testoElemento()
    {
        const int livello = m_profondita;
        QString testo;
        while (!m_reader.atEnd()) {
            const QXmlStreamReader::TokenType token = avanza();
            if (token == QXmlStreamReader::Characters)
                testo += m_reader.text();
            else if (token == QXmlStreamReader::EndElement && m_profondita < livello)
                break;
        }
        return testo;
    }

private:
    QXmlStreamReader m_reader;
    int m_profondita = 0;
};

/** The fault's text of a SOAP reply, or empty when it holds none. */
QString testoFault(const QByteArray &xml)
{
    LettoreRisposta lettore(xml);
    QXmlStreamReader &reader = lettore.reader();
    bool inFault = false;
    while (!reader.atEnd()) {
        if (lettore.avanza() != QXmlStreamReader::StartElement)
            continue;
        if (reader.namespaceUri() == NamespaceEnvelope && reader.name() == u"Fault")
            inFault = true;
        else if (inFault && reader.name() == u"faultstring")
            return lettore.testoElemento();
    }
    return inFault ? u"Errore restituito dal servizio"_s : QString();
}

/** The text of the first element inside the operation's response, or empty. */
QString testoRisultato(const QByteArray &xml)
{
    LettoreRisposta lettore(xml);
    QXmlStreamReader &reader = lettore.reader();
    int profonditaBody = -1;
    while (!reader.atEnd()) {
        if (lettore.avanza() != QXmlStreamReader::StartElement)
            continue;
        if (reader.namespaceUri() == NamespaceEnvelope && reader.name() == u"Body")
            profonditaBody = lettore.profondita();
        else if (profonditaBody > 0 && lettore.profondita() == profonditaBody + 2)
            return lettore.testoElemento();
    }
    if (reader.hasError() || profonditaBody < 0)
        fallisce(RispostaNonLeggibile);
    return {};
}

} // namespace

QString testoElementoXml(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            escaped += u"&amp;"_s;
            break;
        case u'<':
            escaped += u"&lt;"_s;
            break;
        case u'>':
            escaped += u"&gt;"_s;
            break;
        case u'\r':
            escaped += u"&#13;"_s;
            break;
        default:
            // A character XML forbids could not be read back by the service.
            if (c.unicode() >= 32 || c == u'\t' || c == u'\n')
                escaped += c;
        }
    }
    return escaped;
}

SoapClient::SoapClient(TransferSettings base) : m_base(std::move(base)) {}

SoapClient::~SoapClient() = default;

TransferSettings SoapClient::settings() const
{
    TransferSettings settings = m_base;
    if (m_useProxy && !m_proxyServer.isEmpty())
        settings.proxy = m_proxyPort.isEmpty() ? m_proxyServer : m_proxyServer + u':' + m_proxyPort;
    return settings;
}

std::pair<int, QByteArray> SoapClient::transfer(const QString &url, const QByteArray *body,
                                                const QByteArray &headers)
{
    // One transfer for the client's life, so that the calls of a run share its connection.
    const TransferSettings impostazioni = settings();
    if (!m_http || m_proxyInUso != impostazioni.proxy) {
        m_http = std::make_unique<HttpTransfer>(impostazioni);
        m_proxyInUso = impostazioni.proxy;
    }
    HttpTransfer &http = *m_http;
    bool connesso = false;
    const QMetaObject::Connection statoConnessione =
        QObject::connect(&http, &HttpTransfer::stateChanged, [&connesso](int stato) {
            if (stato == TransferState::Connected)
                connesso = true;
        });
    if (body)
        http.post(url, {}, *body, headers);
    else
        http.get(url, {});
    http.waitWhileBusy();
    QObject::disconnect(statoConnessione);
    switch (http.errorCode()) {
    case 0:
        return {http.status(), http.body()};
    case TransferError::Timeout:
        // Connected, then silence or a trickle: the service stopped answering, no proxy is missing.
        if (connesso)
            fallisce(u"Il servizio ha smesso di rispondere: "_s + http.errorDescription());
        [[fallthrough]];
    case TransferError::NameNotResolved:
    case TransferError::CannotConnect:
    case TransferError::ProxyFailed:
        throw RoutineError(ErroreConnessioneServizio,
                           u"Impossibile connettersi al servizio: "_s + http.errorDescription());
    default:
        fallisce(u"Errore di comunicazione con il servizio: "_s + http.errorDescription());
    }
}

void SoapClient::initialise(const QString &descriptionUrl)
{
    const auto [status, body] = transfer(descriptionUrl, nullptr, {});
    if (status != 200)
        fallisce(u"Descrizione del servizio non disponibile (stato HTTP "_s + QString::number(status) + u')');
    const Descrizione d = leggiDescrizione(body);
    m_endpoint = d.endpoint;
    m_operations.clear();
    for (auto it = d.soapAction.cbegin(); it != d.soapAction.cend(); ++it) {
        Operation operation;
        operation.soapAction = it.value();
        operation.element = d.elementoDelMessaggio.value(d.messaggioInIngresso.value(it.key()), it.key());
        const Descrizione::Elemento elemento = d.elementi.value(operation.element);
        operation.elementNamespace = elemento.ns.isEmpty() ? d.targetNamespace : elemento.ns;
        operation.qualified = elemento.qualified;
        operation.parameter = elemento.primoFiglio;
        m_operations.insert(it.key(), operation);
    }
}

void SoapClient::setProperty(const QString &name, const QVariant &value)
{
    if (name == u"ProxyServer")
        m_proxyServer = value.toString();
    else if (name == u"ProxyPort")
        m_proxyPort = value.toString();
    else if (name == u"UseProxy")
        m_useProxy = value.toBool();
    else
        throw RoutineError(ErrorCode::ItemNotFound);
}

QString SoapClient::call(const QString &operationName, const QString &argument)
{
    const auto found = m_operations.constFind(operationName);
    if (found == m_operations.cend() || found->parameter.isEmpty())
        fallisce(u"Operazione non presente nella descrizione del servizio: "_s + operationName);
    const Operation &operation = *found;
    // Qualified parameters share the element's default namespace; unqualified ones have none.
    const QString prefisso = operation.qualified ? QString() : u"m:"_s;
    const QString attributo = operation.qualified ? u"xmlns"_s : u"xmlns:m"_s;
    const QString apertura = u'<' + prefisso + operation.element + u' ' + attributo + u"=\""_s +
                             operation.elementNamespace + u"\">"_s;
    const QString chiusura = u"</"_s + prefisso + operation.element + u'>';
    const QString envelope =
        u"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
        u"<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"_s +
        apertura + u'<' + operation.parameter + u'>' + testoElementoXml(argument) + u"</"_s +
        operation.parameter + u'>' + chiusura + u"</soap:Body></soap:Envelope>"_s;
    const QByteArray headers =
        "Content-Type: text/xml; charset=utf-8\r\nSOAPAction: \"" + operation.soapAction.toUtf8() + "\"\r\n";
    const QByteArray body = envelope.toUtf8();
    const auto [status, reply] = transfer(m_endpoint, &body, headers);
    const QString fault = testoFault(reply);
    if (!fault.isEmpty())
        fallisce(fault);
    if (status < 200 || status > 299)
        fallisce(u"Il servizio ha risposto con lo stato HTTP "_s + QString::number(status));
    return testoRisultato(reply);
}

} // namespace kx
