// The demo regional server: the fake server of the tests with the regional services, on fixed
// loopback ports, HTTP and HTTPS (the test authority's certificate).
//   demo-server [--numeri <file>] [http port] [https port]
// With --numeri the new application numbers go on, run after run, from the last one the file keeps.

#include "FakeServer.h"
#include "FakeServerServices.h"

#include <QCoreApplication>
#include <QTextStream>
#include <memory>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    QString numberFile;
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--numeri"));
        at >= 0 && at + 1 < arguments.size()) {
        numberFile = arguments[at + 1];
        arguments.remove(at, 2);
    }
    const auto port = [&](int index, quint16 fallback) {
        return arguments.size() > index ? quint16(arguments[index].toUInt()) : fallback;
    };
    QTextStream err(stderr);
    const auto server = [&](FakeServer::Tls tls, quint16 chosen) -> std::unique_ptr<FakeServer> {
        auto started = std::make_unique<FakeServer>(tls, chosen);
        if (started->isListening())
            return started;
        err << "Server demo: la porta " << chosen
            << " di 127.0.0.1 non è disponibile (già in uso o riservata)." << Qt::endl;
        return nullptr;
    };
    const auto http = server(FakeServer::Tls::None, port(0, 8088));
    const auto https = server(FakeServer::Tls::Trusted, port(1, 8443));
    if (!http || !https)
        return 1;
    installRegionalServices(*http, numberFile);
    installRegionalServices(*https, numberFile);
    QTextStream(stdout) << "Server demo: " << http->url(QString()) << " e " << https->url(QString())
                        << Qt::endl;
    return app.exec();
}
