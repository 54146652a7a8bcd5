// The demo regional server: the fake server of the tests with the regional services, on fixed
// loopback ports, HTTP and HTTPS (the test authority's certificate). demo-server [http port] [https port]

#include "FakeServer.h"
#include "FakeServerServices.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const auto port = [&](int index, quint16 fallback) {
        return arguments.size() > index ? quint16(arguments[index].toUInt()) : fallback;
    };
    FakeServer http(FakeServer::Tls::None, port(1, 8088));
    FakeServer https(FakeServer::Tls::Trusted, port(2, 8443));
    installRegionalServices(http);
    installRegionalServices(https);
    QTextStream(stdout) << "Server demo: " << http.url(QString()) << " e " << https.url(QString())
                        << Qt::endl;
    return app.exec();
}
