#include "FakeServer.h"
#include "TestContext.h"
#include "core/config/IniFile.h"
#include "core/net/ServerRequest.h"
#include "core/state/InstallationState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString credenziale = u"utente:segreta@"_s;

const QString paginaErrore =
    u"), cliccando su OK il sistema cercherà di visualizzare ulteriori informazioni sull'errore. Contattare "
    u"il "
    u"servizio assistenza TUZ riportando questo messaggio e le informazioni visualizzate"_s;

QString erroreServer(const QString &percorso, const QString &risposta)
{
    return u"Operazione non riuscita (servizio: "_s + percorso +
           u"). Il server ha restituito il seguente messaggio di errore: \r\n\r\n" + risposta +
           u"\r\n\r\nControllare i dati immessi e ritentare l'operazione, oppure contattare il servizio di "
           u"assistenza TUZ riportando questo messaggio.";
}

/** A program folder whose INI file points the services at a fake server, and a request on it. */
struct Banco
{
    TestContext test;
    HttpTransfer transfer;
    QList<bool> attese;
    QList<bool> attesaDuranteIlTrasferimento;

    explicit Banco(const QString &indirizzo,
                   const ServerRequestVariant &variante = Richieste::scaricoOperatori(),
                   const QString &chiave = u"AGGIORNADB"_s)
        : transfer(impostazioniRapide(test))
    {
        test.writeFile(u"KX58TORVA.INI"_s,
                       "[CONNESSIONE]\r\n" + chiave.toLatin1() + '=' + indirizzo.toLatin1() + "\r\n");
        test.context().fileIni().setNomeFile(test.path(u"KX58TORVA.INI"_s));
        test.context().installazione().CredenzialeServer = credenziale;
        test.context().installazione().IndirizzoServer = u"http://127.0.0.1"_s;
        QObject::connect(&transfer, &HttpTransfer::stateChanged, &transfer, [this](int) {
            attesaDuranteIlTrasferimento.append(attese.value(attese.size() - 1));
        });
        richiesta = std::make_unique<ServerRequest>(test.context(), test.context().fileIni(),
                                                    test.context().programFolder(),
                                                    test.context().installazione(), transfer, variante,
                                                    [this](bool attesa) { attese.append(attesa); });
    }

    static TransferSettings impostazioniRapide(TestContext &test)
    {
        TransferSettings settings = impostazioniTrasmissione(test.context().programFolder());
        settings.connectTimeoutMs = 2000;
        settings.stallTimeoutMs = 1000;
        return settings;
    }

    /** Every text the user saw or the program wrote, to look for what must never be there. */
    QString testiMostrati() const
    {
        QString testi;
        for (const ShownBox &box : test.prompt.shown())
            testi += box.title + box.text;
        for (const QUrl &url : test.urlOpener.urls)
            testi += url.toString();
        const QDir folder(test.folder());
        for (const QString &name : folder.entryList(QDir::Files))
            testi += QString::fromLatin1(test.readFile(name));
        return testi;
    }

    std::unique_ptr<ServerRequest> richiesta;
};

const auto sempreValido = [](const QString &) { return true; };

} // namespace

class tst_ServerRequest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { withoutEnvironmentProxies(); }

    void percorsoServizio_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("percorso");

        QTest::newRow("http: the path")
            << u"http://regione.it/servizi/AggiornaDB.asp"_s << u"servizi/AggiornaDB.asp"_s;
        QTest::newRow("https: host and path")
            << u"https://regione.it/servizi/AggiornaDB.asp"_s << u"regione.it/servizi/AggiornaDB.asp"_s;
        QTest::newRow("http with a port") << u"http://127.0.0.1:8080/NREG"_s << u"NREG"_s;
        QTest::newRow("no path: the whole address") << u"http://regione.it"_s << u"http://regione.it"_s;
        QTest::newRow("a path that is only the slash") << u"http://regione.it/"_s << QString();
        QTest::newRow("empty") << QString() << QString();
    }

    void percorsoServizio()
    {
        QFETCH(QString, url);
        QFETCH(QString, percorso);
        QCOMPARE(kx::percorsoServizio(url), percorso);
    }

    void sendsTheFormWithTheCredentialOutsideTheAddress()
    {
        FakeServer server;
        server.requireBasic("AGGIORNADB", "utente", "segreta");
        server.reply("AGGIORNADB", ScriptedReply::text("oper.tx1 compo.tx1"));
        Banco banco(server.url(u"AGGIORNADB"_s));

        banco.richiesta->send("g=A&c=123");

        const RecordedRequest request = server.requests().value(0);
        QCOMPARE(request.requestLine, QByteArray("POST /AGGIORNADB HTTP/1.1"));
        QCOMPARE(request.header("Authorization"), "Basic " + QByteArray("utente:segreta").toBase64());
        QCOMPARE(request.header("HTTP"), QByteArray("Protocol Version = HTTP/1.1"));
        QCOMPARE(request.body, QByteArray("g=A&c=123"));
        QCOMPARE(banco.richiesta->UrlServizio, server.url(u"AGGIORNADB"_s));
        QCOMPARE(banco.richiesta->PercorsoServizio, u"AGGIORNADB"_s);
        QCOMPARE(banco.richiesta->RispostaServer, u"oper.tx1 compo.tx1"_s);
        QVERIFY(banco.richiesta->RispostaCompleta);
        QVERIFY(banco.richiesta->evaluate(sempreValido));
        QCOMPARE(banco.attese, QList<bool>{true});
        QVERIFY(!banco.attesaDuranteIlTrasferimento.contains(false));
        QVERIFY(banco.test.prompt.shown().isEmpty());
    }

    void theApprovedCoursesGoWithoutCredential()
    {
        FakeServer server;
        server.reply("SERVERCORSI", ScriptedReply::text("OK"));
        Banco banco(server.url(u"SERVERCORSI"_s), Richieste::corsiApprovati(), u"SERVERCORSI"_s);

        banco.richiesta->send("a=1");

        QVERIFY(!server.requests().value(0).hasHeader("Authorization"));
        QCOMPARE(banco.richiesta->RispostaServer, u"OK"_s);
    }

    void findsTheErrorMarker_data()
    {
        QTest::addColumn<QString>("risposta");
        QTest::addColumn<bool>("esatto");
        QTest::addColumn<bool>("qualunque");

        QTest::newRow("capitals") << u"ERRORE: operatore inesistente"_s << true << true;
        QTest::newRow("mid-reply") << u"esito: ERRORE"_s << true << true;
        QTest::newRow("small letters") << u"Errore: operatore inesistente"_s << false << true;
        QTest::newRow("none") << u"oper.tx1"_s << false << false;
    }

    void findsTheErrorMarker()
    {
        QFETCH(QString, risposta);
        QFETCH(bool, esatto);
        QFETCH(bool, qualunque);
        Banco operatori{QString()};
        operatori.richiesta->RispostaServer = risposta;
        QCOMPARE(operatori.richiesta->erroreApplicativo(), esatto);
        Banco corsi(QString(), Richieste::corsiApprovati());
        corsi.richiesta->RispostaServer = risposta;
        QCOMPARE(corsi.richiesta->erroreApplicativo(), qualunque);
    }

    void evaluatesAFailedReply_data()
    {
        QTest::addColumn<QByteArray>("risposta");
        QTest::addColumn<bool>("contenutoValido");
        QTest::addColumn<bool>("paginaHtml");

        QTest::newRow("ERRORE without HTML")
            << QByteArray("ERRORE: codice operatore errato") << true << false;
        QTest::newRow("ERRORE with HTML")
            << QByteArray("<html><body>ERRORE interno</body></html>") << true << true;
        QTest::newRow("HTML mid-reply")
            << QByteArray("Risposta del server\r\n<H1>Servizio sospeso</H1>") << false << true;
        QTest::newRow("content not valid") << QByteArray("oper.tx1") << false << false;
    }

    void evaluatesAFailedReply()
    {
        QFETCH(QByteArray, risposta);
        QFETCH(bool, contenutoValido);
        QFETCH(bool, paginaHtml);
        FakeServer server;
        server.reply("AGGIORNADB", ScriptedReply::text(risposta));
        Banco banco(server.url(u"AGGIORNADB"_s));
        banco.test.writeFile(u"ErrServer.html"_s, QByteArray(4096, 'x'));
        const QString testo = QString::fromLatin1(risposta);
        if (paginaHtml)
            banco.test.prompt.expect(
                u"Si è verificato un errore sul server http://127.0.0.1 (servizio: AGGIORNADB"_s +
                paginaErrore);
        else
            banco.test.prompt.expect(erroreServer(u"AGGIORNADB"_s, testo));

        banco.richiesta->send("g=A&c=1");

        QVERIFY(!banco.richiesta->evaluate([contenutoValido](const QString &) { return contenutoValido; }));
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().last().icon, Prompt::Icon::Critical);
        QCOMPARE(banco.test.prompt.shown().last().title,
                 paginaHtml ? u"ERRORE"_s : u"Errore restituito dal Server"_s);
        if (paginaHtml) {
            QCOMPARE(banco.test.readFile(u"ErrServer.html"_s), risposta + "\r\n");
            QCOMPARE(banco.test.urlOpener.urls,
                     QList<QUrl>{QUrl::fromLocalFile(banco.test.path(u"ErrServer.html"_s))});
        } else {
            QVERIFY(banco.test.urlOpener.urls.isEmpty());
        }
        QCOMPARE(banco.attese, (QList<bool>{true, false}));
        QVERIFY(banco.richiesta->RispostaServer.isEmpty());
    }

    void reportsATransferErrorTwice_data()
    {
        QTest::addColumn<FakeServer::Tls>("tls");
        QTest::addColumn<ScriptedReply::Ending>("ending");
        QTest::addColumn<QString>("messaggio");

        QTest::newRow("certificate not verified")
            << FakeServer::Tls::Untrusted << ScriptedReply::Ending::Whole
            << u"Si è verificato un errore in trasmissione, 12045 : Impossibile verificare il certificato "
               u"del "
               u"server\r\n\r\nE' necessario installare il certificato di autorizzazione per l'accesso al "
               u"server "
               u"sicuro LOCALHOST.\r\nPer procedere alla reinstallazione, cercare nel sistema il file "
               u"CA_ROOT.DER "
               u"ed eseguire un doppio click su di esso.\r\nSe il file è assente dal sistema, contattare il "
               u"servizio assistenza"_s;
        QTest::newRow("closed without reply")
            << FakeServer::Tls::None << ScriptedReply::Ending::CloseWithoutReply
            << u"Si è verificato un errore in trasmissione, 12030 : Connessione chiusa dal server senza risposta"_s;
        QTest::newRow("stalled server")
            << FakeServer::Tls::None << ScriptedReply::Ending::NeverAnswer
            << u"Si è verificato un errore in trasmissione, 12002 : Tempo di attesa "
               u"della risposta scaduto"_s;
    }

    void reportsATransferErrorTwice()
    {
        QFETCH(FakeServer::Tls, tls);
        QFETCH(ScriptedReply::Ending, ending);
        QFETCH(QString, messaggio);
        FakeServer server(tls);
        ScriptedReply reply = ScriptedReply::text("OK");
        reply.ending = ending;
        server.reply("AGGIORNADB", reply);
        const QString indirizzo = server.url(u"AGGIORNADB"_s).replace(u"127.0.0.1"_s, u"localhost"_s);
        Banco banco(indirizzo);
        banco.test.prompt.expect(messaggio);
        banco.test.prompt.expect(erroreServer(kx::percorsoServizio(indirizzo), messaggio));

        banco.richiesta->send("g=A&c=1");
        QCOMPARE(banco.richiesta->RispostaServer, messaggio);
        QVERIFY(!banco.richiesta->RispostaCompleta);
        QVERIFY(!banco.richiesta->evaluate(sempreValido));

        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().first().title, u"Errore di trasmissione"_s);
        QVERIFY(!banco.testiMostrati().contains(u"segreta"_s));
    }

    void theCertificateOfTheProgramFolderIsTrusted()
    {
        FakeServer server(FakeServer::Tls::Trusted);
        server.reply("AGGIORNADB", ScriptedReply::text("oper.tx1"));
        TestContext cartella;
        QVERIFY(
            QFile::copy(QStringLiteral(KX_TEST_DATA "/net/CA_ROOT.DER"), cartella.path(u"CA_ROOT.DER"_s)));
        HttpTransfer transfer(impostazioniTrasmissione(cartella.context().programFolder()));

        QVERIFY(transfer.post(server.url(u"AGGIORNADB"_s), QString(), "g=A", IntestazioniRichiesta));
        transfer.waitWhileBusy();

        QCOMPARE(transfer.errorCode(), 0);
        QCOMPARE(transfer.body(), QByteArray("oper.tx1"));
    }

    void aHugeReplyIsQuotedByItsFirst2000Characters()
    {
        FakeServer server;
        ScriptedReply grande = ScriptedReply::text({});
        grande.generatedSize = 8 * 1024 * 1024;
        server.reply("AGGIORNADB", grande);
        Banco banco(server.url(u"AGGIORNADB"_s));
        QString inizio;
        for (qint64 i = 0; i < 2000; ++i)
            inizio += QLatin1Char(ScriptedReply::generatedByte(i));
        banco.test.prompt.expect(erroreServer(u"AGGIORNADB"_s, inizio));

        banco.richiesta->send("g=A&c=1");
        QCOMPARE(qint64(banco.richiesta->RispostaServer.size()), grande.generatedSize);
        QVERIFY(!banco.richiesta->evaluate([](const QString &) { return false; }));
        QVERIFY(banco.test.prompt.allShown());
    }

    void theErrorPageReplacesALinkInsteadOfWritingThroughIt()
    {
        FakeServer server;
        server.reply("AGGIORNADB", ScriptedReply::text("<html><h1>Errore</h1></html>"));
        Banco banco(server.url(u"AGGIORNADB"_s));
        QTemporaryDir altrove;
        const QString bersaglio = altrove.filePath(u"importante.txt"_s);
        QFile file(bersaglio);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("dati da non toccare");
        file.close();
        QVERIFY(QFile::link(bersaglio, banco.test.path(u"ErrServer.html"_s)));
        banco.test.prompt.expect(
            u"Si è verificato un errore sul server http://127.0.0.1 (servizio: AGGIORNADB"_s + paginaErrore);

        banco.richiesta->send("g=A&c=1");
        QVERIFY(!banco.richiesta->evaluate([](const QString &) { return false; }));

        QVERIFY(!QFileInfo(banco.test.path(u"ErrServer.html"_s)).isSymLink());
        QCOMPARE(banco.test.readFile(u"ErrServer.html"_s), QByteArray("<html><h1>Errore</h1></html>\r\n"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("dati da non toccare"));
    }

    void certificatesRefusedForTheirDatesOrNameGetNoAdviceAboutTheAuthority_data()
    {
        QTest::addColumn<FakeServer::Tls>("tls");
        QTest::addColumn<int>("codice");
        QTest::newRow("expired") << FakeServer::Tls::Expired << TransferError::CertificateExpired;
        QTest::newRow("for another host")
            << FakeServer::Tls::OtherHost << TransferError::CertificateOtherHost;
    }

    void certificatesRefusedForTheirDatesOrNameGetNoAdviceAboutTheAuthority()
    {
        QFETCH(FakeServer::Tls, tls);
        QFETCH(int, codice);
        FakeServer server(tls);
        server.reply("AGGIORNADB", ScriptedReply::text("oper.tx1"));
        Banco banco(server.url(u"AGGIORNADB"_s));
        // The authority that issued them is trusted: only their dates or their name are wrong.
        QVERIFY(QFile::copy(QStringLiteral(KX_TEST_DATA "/net/faults-ca.pem"),
                            banco.test.path(u"CA_ROOT.DER"_s)));
        // No limit runs out here: the program's own leave the handshake that reads the authority time.
        HttpTransfer transfer(impostazioniTrasmissione(banco.test.context().programFolder()));
        ServerRequest richiesta(banco.test.context(), banco.test.context().fileIni(),
                                banco.test.context().programFolder(), banco.test.context().installazione(),
                                transfer, Richieste::scaricoOperatori(), [](bool) {});
        const QString messaggio = u"Si è verificato un errore in trasmissione, "_s + QString::number(codice) +
                                  u" : "_s + transferErrorDescription(codice);
        banco.test.prompt.expect(messaggio);

        richiesta.send("g=A&c=1");

        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(richiesta.CodiceRisposta, codice);
        QVERIFY(!banco.test.prompt.shown().first().text.contains(u"CA_ROOT.DER"_s));
    }

    void theNewNumberReportsItsOwnTransferError()
    {
        FakeServer server(FakeServer::Tls::Untrusted);
        Banco banco(server.url(u"NREG"_s), Richieste::nuovoNumeroDomanda(), u"NREG"_s);
        banco.test.prompt.expect(
            u"Si è verificato un errore: 12045 : Impossibile verificare il certificato del server"_s);

        banco.richiesta->send("gruppo=A");

        QCOMPARE(banco.test.prompt.shown().value(0).title, u"Errore"_s);
        QCOMPARE(banco.richiesta->CodiceRisposta, 12045);
    }

    void theApprovedCoursesAddTheProxyAdvice()
    {
        Banco banco(u"http://nome-inesistente.invalid/SERVERCORSI"_s, Richieste::corsiApprovati(),
                    u"SERVERCORSI"_s);
        banco.test.prompt.expect(
            u"Si è verificato un errore in trasmissione, 12007 : Impossibile risolvere il nome del server\r\n"
            u"Provare a cambiare le impostazioni del server Proxy tramite il tasto 'Impostazioni'.\r\n"
            u"Se dovesse continuare a non funzionare, provare ad annullare l'operazione, riavviare "
            u"l'applicativo "
            u"richiamandolo dal menù PROGRAMMI di Windows."_s);

        banco.richiesta->send("a=1");

        QVERIFY(banco.test.prompt.allShown());
        QVERIFY(banco.richiesta->RispostaServer.isEmpty());
        QCOMPARE(banco.richiesta->CodiceRisposta, 12007);
    }

    void anAddressThatCannotBeUsedIsReportedAsATransferError_data()
    {
        QTest::addColumn<QString>("indirizzo");
        QTest::newRow("empty") << QString();
        QTest::newRow("without //") << u"http:regione.it/AGGIORNADB"_s;
    }

    void anAddressThatCannotBeUsedIsReportedAsATransferError()
    {
        QFETCH(QString, indirizzo);
        Banco banco(indirizzo);
        banco.test.prompt.expect(
            u"Si è verificato un errore in trasmissione, 12005 : Indirizzo o credenziale del servizio non validi"_s);

        banco.richiesta->send("g=A");

        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.richiesta->CodiceRisposta, 12005);
        QVERIFY(!banco.richiesta->RispostaCompleta);
    }
};

QTEST_MAIN(tst_ServerRequest)
#include "tst_ServerRequest.moc"
