#include "FakeCourseRegistry.h"

#include "FakeServer.h"
#include "FakeServerServices.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QXmlStreamReader>
#include <optional>

namespace {

const QByteArray RegistryNamespace = "http://tempuri.org/";

QByteArray description(const RecordedRequest &request)
{
    QByteArray wsdl = R"(<?xml version="1.0" encoding="utf-8"?>
<wsdl:definitions xmlns:wsdl="http://schemas.xmlsoap.org/wsdl/" xmlns:soap="http://schemas.xmlsoap.org/wsdl/soap/" xmlns:s="http://www.w3.org/2001/XMLSchema" xmlns:tns="%NS%" targetNamespace="%NS%">
  <wsdl:types><s:schema elementFormDefault="qualified" targetNamespace="%NS%">
    <s:element name="AggiornaPercorsiVordan"><s:complexType><s:sequence><s:element minOccurs="0" maxOccurs="1" name="documento" type="s:string"/></s:sequence></s:complexType></s:element>
    <s:element name="AggiornaPercorsiVordanResponse"><s:complexType><s:sequence><s:element minOccurs="0" maxOccurs="1" name="AggiornaPercorsiVordanResult" type="s:string"/></s:sequence></s:complexType></s:element>
  </s:schema></wsdl:types>
  <wsdl:message name="AggiornaPercorsiVordanSoapIn"><wsdl:part name="parameters" element="tns:AggiornaPercorsiVordan"/></wsdl:message>
  <wsdl:message name="AggiornaPercorsiVordanSoapOut"><wsdl:part name="parameters" element="tns:AggiornaPercorsiVordanResponse"/></wsdl:message>
  <wsdl:portType name="PercorsiDirittoDovereSoap"><wsdl:operation name="AggiornaPercorsiVordan"><wsdl:input message="tns:AggiornaPercorsiVordanSoapIn"/><wsdl:output message="tns:AggiornaPercorsiVordanSoapOut"/></wsdl:operation></wsdl:portType>
  <wsdl:binding name="PercorsiDirittoDovereSoap" type="tns:PercorsiDirittoDovereSoap"><soap:binding transport="http://schemas.xmlsoap.org/soap/http"/>
    <wsdl:operation name="AggiornaPercorsiVordan"><soap:operation soapAction="%NS%AggiornaPercorsiVordan" style="document"/><wsdl:input><soap:body use="literal"/></wsdl:input><wsdl:output><soap:body use="literal"/></wsdl:output></wsdl:operation>
  </wsdl:binding>
  <wsdl:service name="PercorsiDirittoDovere"><wsdl:port name="PercorsiDirittoDovereSoap" binding="tns:PercorsiDirittoDovereSoap"><soap:address location="%LOCATION%"/></wsdl:port></wsdl:service>
</wsdl:definitions>
)";
    wsdl.replace("%NS%", RegistryNamespace);
    const QByteArray location = "http://" + request.header("Host") + '/' + CourseRegistryPath;
    return wsdl.replace("%LOCATION%", location);
}

QByteArray envelope(const QByteArray &content)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
           "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>" +
           content + "</soap:Body></soap:Envelope>";
}

QByteArray fault(const QString &text)
{
    return envelope("<soap:Fault><faultcode>soap:Server</faultcode><faultstring>" +
                    text.toHtmlEscaped().toUtf8() + "</faultstring></soap:Fault>");
}

/** The text of the operation's parameter as the service reads it; nullopt for another operation. */
std::optional<QString> argumentOf(const QByteArray &body)
{
    QXmlStreamReader reader(body);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement &&
            reader.name() == QLatin1StringView("AggiornaPercorsiVordan") &&
            reader.namespaceUri() == QLatin1StringView(RegistryNamespace)) {
            if (reader.readNextStartElement() && reader.name() == QLatin1StringView("documento"))
                return reader.readElementText();
            return std::nullopt;
        }
    }
    return std::nullopt;
}

} // namespace

QStringList FakeCourseRegistry::documents() const
{
    const QMutexLocker lock(&m_mutex);
    return m_documents;
}

int FakeCourseRegistry::calls() const
{
    const QMutexLocker lock(&m_mutex);
    return m_calls;
}

void FakeCourseRegistry::failAtCall(int n, const QString &faultText)
{
    const QMutexLocker lock(&m_mutex);
    m_faultAt = n;
    m_faultText = faultText;
}

ScriptedReply FakeCourseRegistry::answer(const RecordedRequest &request)
{
    ScriptedReply reply;
    reply.headers = {"Content-Type: text/xml; charset=utf-8"};
    // As a web service does, the registry keeps the connection for the client's next call.
    reply.keepAlive = true;
    if (request.method() == "GET") {
        reply.body = description(request);
        return reply;
    }
    const std::optional<QString> argument = argumentOf(request.body);
    const QMutexLocker lock(&m_mutex);
    if (!argument) {
        reply.status = 500;
        reply.body = fault(QStringLiteral("Operazione sconosciuta"));
        return reply;
    }
    if (++m_calls == m_faultAt) {
        reply.status = 500;
        reply.body = fault(m_faultText);
        return reply;
    }
    m_documents.append(*argument);
    reply.body = envelope("<AggiornaPercorsiVordanResponse xmlns=\"" + RegistryNamespace +
                          "\"><AggiornaPercorsiVordanResult>OK</AggiornaPercorsiVordanResult>"
                          "</AggiornaPercorsiVordanResponse>");
    return reply;
}

std::shared_ptr<FakeCourseRegistry> installCourseRegistry(FakeServer &server)
{
    auto registry = std::make_shared<FakeCourseRegistry>();
    server.route(CourseRegistryPath,
                 [registry](const RecordedRequest &request) { return registry->answer(request); });
    return registry;
}

QString unreachableUrl(const QString &path)
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        qFatal("no free loopback port");
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("http://127.0.0.1:") + QString::number(port) + u'/' + path;
}
