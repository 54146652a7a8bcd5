#include "FakeServer.h"
#include "FakeServerServices.h"
#include "TestContext.h"
#include "core/files/TextRecords.h"
#include "core/net/HttpTransfer.h"
#include "core/services/VersioneProgramma.h"
#include "core/state/InstallationState.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

/** The reply body of one request to the regional services, or the transfer error's code. */
QByteArray ask(FakeServer &server, const QString &path, const QByteArray *body, const QString &credential)
{
    kx::HttpTransfer transfer;
    if (body)
        transfer.post(server.url(path), credential, *body, {});
    else
        transfer.get(server.url(path), credential);
    transfer.waitWhileBusy();
    return transfer.errorCode() ? QByteArray::number(transfer.errorCode()) : transfer.body();
}

} // namespace

/** The fake server's own building blocks, held to what the program reads. */
class tst_FakeServer : public QObject
{
    Q_OBJECT

private slots:
    void aBundleSplitsIntoTheFilesItNames()
    {
        const QByteArray bundle = downloadBundle(
            {{u"oper.tx1"_s, {{u"A"_s, u"12"_s, u"Società Formazione"_s}, {u"B"_s, u"7"_s, u"Enti & Co"_s}}},
             {u"compo.tx1"_s, {{u"A"_s, u"12"_s, u"1"_s}}},
             {u"sediocc.tx1"_s, {}}});
        QCOMPARE(bundle,
                 QByteArray("oper.tx1\r\n#A#,#12#,#Societ\xe0 Formazione#\r\n#B#,#7#,#Enti & Co#\r\nEOF\r\n"
                            "compo.tx1\r\n#A#,#12#,#1#\r\nEOF\r\n"
                            "sediocc.tx1\r\nEOF\r\n"));
        TestContext test;
        test.context().installazione().PercorsoDB = test.path(u"KX58TORVA.mdb"_s);
        test.writeFile(u"$tmpDenOp.tx1"_s, bundle);

        QVERIFY(::SeparaFileScaricato(test.context().programFolder(),
                                      test.context().installazione().PercorsoDB, u"$tmpDenOp.tx1"_s)
                    .riuscito());

        QCOMPARE(test.readFile(u"oper.tx1"_s),
                 QByteArray("#A#,#12#,#Societ\xe0 Formazione#\r\n#B#,#7#,#Enti & Co#\r\n"));
        QCOMPARE(test.readFile(u"compo.tx1"_s), QByteArray("#A#,#12#,#1#\r\n"));
        QVERIFY(test.readFile(u"sediocc.tx1"_s).isEmpty());
    }

    void theRegionalServicesAnswerAsTheServerDoes_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QString>("credential");

        QTest::newRow("operator download")
            << u"anagrafe/scarico.php"_s << QByteArray("g=A&c=12")
            << QByteArray(
                   "oper.tx1\r\n#A#,#12#,#CENTRO FORMAZIONE EMILIA#,#01#,#01234560377#,#01234560377#,"
                   "#ROSSI MARIO#,#BOLOGNA#,#BO#,#01021960#,#BO#,#1234567#,#1990#,#8042#\r\nEOF\r\n"
                   "compo.tx1\r\n#A#,#12#,#1#,#SL#,#SEDE LEGALE#,#037006#,#40121#,#VIA INDIPENDENZA 1#,##,"
                   "#051123456#,##,#051123457#,##,##\r\n"
                   "#A#,#12#,#2#,#SO#,#SEDE OPERATIVA BOLOGNA NORD#,#037006#,#40128#,#VIA DI CORTICELLA 180#,"
                   "##,#051654321#,##,##,##,##\r\nEOF\r\n"
                   "sediocc.tx1\r\nEOF\r\nsediutil.tx1\r\nEOF\r\n")
            << QString();
        QTest::newRow("unknown operator")
            << u"anagrafe/scarico.php"_s << QByteArray("g=A&c=12&g=C&c=1")
            << QByteArray("ERRORE: operatore C 1 non presente in anagrafe") << QString();
        QTest::newRow("identity page")
            << u"albis/login.php"_s << QByteArray()
            << QByteArray(
                   "<html><body><p>Risposta: OK;4711000000000000042;4711000000001;A123</p></body></html>")
            << QString();
        QTest::newRow("approved courses")
            << u"corsi/scarico.php"_s << QByteArray("gruppo=B&codice=7&albis_id=4711000000000000042")
            << QByteArray("CorsiApprovati.tx1\r\n#190101#,##,#B#,#7#,#2019-101#,#2019#,##,#1#,#2020#,#1#,##,#"
                          "#,#ADDETTO ALLA "
                          "RISTORAZIONE#,##,##,#03#,##,##,##,##,##,##,##,##,##,##,#600#,#15#,#1200#,#2#,##,#"
                          "AF#,##,##,##,##,##,##,##,##,##,#037#,#2014-2020#\r\nEOF\r\n")
            << QString();
        QTest::newRow("approved courses of an operator without courses")
            << u"corsi/scarico.php"_s << QByteArray("gruppo=Z&codice=1&albis_id=4711000000000000042")
            << QByteArray("ERRORE: nessun corso finanziato per l'operatore Z 1") << QString();
        QTest::newRow("new application number")
            << u"nreg/nuovadomanda.php"_s
            << QByteArray("gruppo=A&codice=12&compo=1&applicativo=KX58TORVA&email=a%40b.it")
            << QByteArray("1001") << QString();
        QTest::newRow("new application number without operator")
            << u"nreg/nuovadomanda.php"_s << QByteArray("gruppo=&codice=&compo=1")
            << QByteArray("ERRORE: operatore non indicato") << QString();
        QTest::newRow("version check")
            << u"versione/controllo.php"_s << QByteArray("applicativo=KX58TORVA&anno=2021")
            << QString(versioneProgramma() + u'#' + versioneProgramma() + u"#N##").toLatin1() << QString();
        QTest::newRow("upload") << QString::fromLatin1(UploadPath)
                                << QByteArray("T0001.txt\n#A#,#1#\n#Z#,#EOF#\n")
                                << QByteArray("Trasmissione completata con successo")
                                << u"robot:%tulip%42&@"_s;
        QTest::newRow("upload without the end record")
            << QString::fromLatin1(UploadPath) << QByteArray("T0001.txt\n#A#,#1#\n")
            << QByteArray("ERRORE: file di trasmissione incompleto") << u"robot:%tulip%42&@"_s;
        QTest::newRow("upload with CR LF")
            << QString::fromLatin1(UploadPath) << QByteArray("T0001.txt\r\n#A#,#1#\r\n#Z#,#EOF#\n")
            << QByteArray("ERRORE: file di trasmissione incompleto") << u"robot:%tulip%42&@"_s;
        QTest::newRow("upload, wrong credential")
            << QString::fromLatin1(UploadPath) << QByteArray("T0001.txt\n#A#,#1#\n")
            << QByteArray("<html><body><h1>401 Accesso negato</h1></body></html>") << u"robot:x@"_s;
        QTest::newRow("approved courses, wrong token")
            << u"corsi/scarico.php"_s << QByteArray("gruppo=A&codice=12&albis_id=1")
            << QByteArray("ERRORE: autenticazione non valida") << QString();
    }

    void theRegionalServicesAnswerAsTheServerDoes()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, expected);
        QFETCH(QString, credential);
        withoutEnvironmentProxies();
        FakeServer server;
        installRegionalServices(server);

        QCOMPARE(ask(server, path, body.isEmpty() ? nullptr : &body, credential), expected);
    }

    void theCourseRegistryDescribesAndAnswersItsOperation()
    {
        withoutEnvironmentProxies();
        FakeServer server;
        installRegionalServices(server);
        const QString path = QString::fromLatin1(CourseRegistryPath);

        const QByteArray description = ask(server, path + u"?WSDL", nullptr, QString());
        QVERIFY(description.contains("<wsdl:operation name=\"AggiornaPercorsiVordan\">"));
        QVERIFY(description.contains(QByteArray("location=\"" + server.url(path).toLatin1() + '"')));

        const QByteArray call =
            "<?xml version=\"1.0\"?><soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/"
            "envelope/\"><soap:Body><AggiornaPercorsiVordan xmlns=\"http://tempuri.org/\">"
            "<documento>&lt;dsZelto/&gt;</documento></AggiornaPercorsiVordan></soap:Body>"
            "</soap:Envelope>";
        QVERIFY(ask(server, path, &call, QString()).contains("<AggiornaPercorsiVordanResult>OK<"));
        QCOMPARE(server.requests().last().body, call);
    }

    void theDemoServerGoesOnFromItsLastNumberAtTheNextStart()
    {
        withoutEnvironmentProxies();
        QTemporaryDir demo;
        const QString numberFile = demo.filePath(u"server-demo.num"_s);
        const QByteArray request = "gruppo=A&codice=12&compo=1&applicativo=KX58TORVA&email=a%40b.it";
        const QString path = u"nreg/nuovadomanda.php"_s;
        {
            // The demo's two servers share the file.
            FakeServer first;
            FakeServer second;
            installRegionalServices(first, numberFile);
            installRegionalServices(second, numberFile);
            QCOMPARE(ask(first, path, &request, QString()), QByteArray("1001"));
            QCOMPARE(ask(second, path, &request, QString()), QByteArray("1002"));
        }
        FakeServer nextRun;
        installRegionalServices(nextRun, numberFile);

        QCOMPARE(ask(nextRun, path, &request, QString()), QByteArray("1003"));
        QFile kept(numberFile);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("1003\n"));
    }

    void aDamagedNumberFileStartsTheNumbersAgainFrom1001()
    {
        withoutEnvironmentProxies();
        QTemporaryDir demo;
        const QString numberFile = demo.filePath(u"server-demo.num"_s);
        QFile damaged(numberFile);
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("mille");
        damaged.close();
        FakeServer server;
        installRegionalServices(server, numberFile);
        const QByteArray request = "gruppo=A&codice=12&compo=1";

        QCOMPARE(ask(server, u"nreg/nuovadomanda.php"_s, &request, QString()), QByteArray("1001"));
    }
};

QTEST_MAIN(tst_FakeServer)
#include "tst_FakeServer.moc"
