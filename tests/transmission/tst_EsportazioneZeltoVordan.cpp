#include "FakeCourseRegistry.h"
#include "FakeServer.h"
#include "FakeServerServices.h"
#include "core/state/Trasmissione.h"
#include "tests/transmission/BancoZelto.h"
#include "transmission/EsportazioneZeltoVordan.h"
#include "transmission/IndirizziFissi.h"
#include "transmission/SoapClient.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Successo = u"Operazione eseguita correttamente."_s;

/** The fixture with the registry on a fake server and the export pointed at it. */
struct BancoEsportazione : BancoZelto
{
    FakeServer server;
    std::shared_ptr<FakeCourseRegistry> registro = installCourseRegistry(server);
    QList<int> avanzamento;

    BancoEsportazione()
    {
        withoutEnvironmentProxies();
        test.context().trasmissione().ServizioVordan = server.url(QString::fromLatin1(CourseRegistryPath));
    }

    qint32 esporta(const QString &proxy = {}, const QString &porta = {})
    {
        return InviaPercorsiVordan(test.context(), proxy, porta, [this](int p) { avanzamento.append(p); });
    }

    /** The Guid stored for a course of application 904. */
    QString guid(const QString &corso)
    {
        return db.scalar(u"SELECT Guid FROM CorsiProp WHERE NumDoma = 904 AND Corso = ?"_s, {corso})
            .toString();
    }

    /** Five plain courses in application 903, whose Guids end in their number. */
    void cinqueCorsi()
    {
        db.insert(u"Domande"_s, {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s}, {{903, u"A"_s, 123}});
        QList<QVariantList> corsi;
        for (int i = 1; i <= 5; ++i)
            corsi.append(
                QVariantList{903, 5, u"A"_s, 123, QString(u"000"_s + QString::number(i)),
                             QString(u"{50000000-0000-4000-8000-00000000000"_s + QString::number(i) + u'}')});
        db.insert(u"CorsiProp"_s,
                  {u"NumDoma"_s, u"SedeInteressata"_s, u"GrupOpe"_s, u"Operatore"_s, u"Corso"_s, u"Guid"_s},
                  corsi);
        domandaCorrente(903, 123);
    }
};

} // namespace

class TestEsportazioneZeltoVordan : public QObject
{
    Q_OBJECT

private slots:
    void theServiceIsTheFixedOneUnlessTheContextNamesAnother()
    {
        TestContext test;
        QCOMPARE(servizioVordan(test.context()), IndirizzoServizioVordan);
        QVERIFY(IndirizzoServizioVordan.endsWith(u".example/webservicezelto/percorsidirittodovere.asmx"_s));
        test.context().trasmissione().ServizioVordan = u"http://127.0.0.1:1/x"_s;
        QCOMPARE(servizioVordan(test.context()), u"http://127.0.0.1:1/x"_s);
    }

    void anApplicationWithoutCoursesReadsTheDescriptionAndCallsNothing()
    {
        BancoEsportazione banco;
        banco.domandaCorrente(902, 123);
        banco.test.prompt.expect(Successo);
        QCOMPARE(banco.esporta(), 0);
        const QList<RecordedRequest> richieste = banco.server.requests();
        QCOMPARE(richieste.size(), 1);
        QCOMPARE(richieste.first().requestLine, "GET /" + QByteArray(CourseRegistryPath) + "?WSDL HTTP/1.1");
        QCOMPARE(banco.registro->calls(), 0);
        QVERIFY(banco.avanzamento.isEmpty());
        QCOMPARE(banco.test.prompt.shown().first().title, QString());
        QCOMPARE(banco.test.prompt.shown().first().icon, Prompt::Icon::Information);
    }

    void sendsEachCourseOfTheApplicationAsItsDocument()
    {
        BancoEsportazione banco;
        banco.test.prompt.expect(Successo);
        QCOMPARE(banco.esporta(), 0);
        QCOMPARE(banco.registro->documents(), (QStringList{BancoZelto::golden(u"corso-A00123005.xml"_s),
                                                           BancoZelto::golden(u"corso-A00123007.xml"_s),
                                                           BancoZelto::golden(u"corso-A001231234.xml"_s)}));
        QCOMPARE(banco.avanzamento, (QList<int>{33, 66, 100}));
        const RecordedRequest chiamata = banco.server.requests().at(1);
        QCOMPARE(chiamata.method(), "POST");
        QCOMPARE(chiamata.header("Content-Type"), "text/xml; charset=utf-8");
        QCOMPARE(chiamata.header("SOAPAction"), "\"http://tempuri.org/AggiornaPercorsiVordan\"");
        // The document's line ends travel as references, so no XML reader can fold them.
        QVERIFY(chiamata.body.contains(
            "&lt;dsZelto xmlns=\"http://zelto.tuz-valdoria.example/dsZelto.xsd\"&gt;&#13;\n"));
    }

    void theRunKeepsOneConnectionWhileTheServiceAllowsIt()
    {
        BancoEsportazione banco;
        banco.cinqueCorsi();
        banco.test.prompt.expect(Successo);
        QCOMPARE(banco.esporta(), 0);
        const QList<RecordedRequest> richieste = banco.server.requests();
        QCOMPARE(richieste.size(), 6);
        for (const RecordedRequest &richiesta : richieste)
            QCOMPARE(richiesta.connection, richieste.first().connection);
    }

    void aFaultStopsTheExportAndGivesItsText()
    {
        BancoEsportazione banco;
        banco.cinqueCorsi();
        banco.registro->failAtCall(3, u"Percorso non valido: codice <assente>"_s);
        banco.test.prompt.expect(u"Percorso non valido: codice <assente>"_s);
        QCOMPARE(banco.esporta(), ErrorCode::Unspecified);
        QCOMPARE(banco.registro->calls(), 3);
        QCOMPARE(banco.registro->documents().size(), 2);
        QCOMPARE(banco.avanzamento, (QList<int>{20, 40}));
        QCOMPARE(banco.test.prompt.shown().first().icon, Prompt::Icon::Critical);
        QCOMPARE(banco.test.prompt.shown().first().title, QString());
    }

    void aServiceThatCannotBeReachedGives5406()
    {
        BancoEsportazione banco;
        banco.test.context().trasmissione().ServizioVordan =
            unreachableUrl(QString::fromLatin1(CourseRegistryPath));
        banco.test.prompt.expect(u"Impossibile connettersi al servizio: "
                                 u"Impossibile stabilire la connessione con il server"_s);
        QCOMPARE(banco.esporta(), ErroreConnessioneServizio);
        QVERIFY(banco.avanzamento.isEmpty());
    }

    void aProxyThatCannotBeReachedGives5406()
    {
        BancoEsportazione banco;
        qunsetenv("no_proxy");
        qunsetenv("NO_PROXY");
        const QString proxy = unreachableUrl(QString());
        const QString porta = proxy.section(u':', 2).chopped(1);
        banco.test.prompt.expect(u"Impossibile connettersi al servizio: Il server proxy 127.0.0.1:"_s +
                                 porta + u" non è raggiungibile o ha rifiutato la richiesta"_s);
        QCOMPARE(banco.esporta(u"127.0.0.1"_s, porta), ErroreConnessioneServizio);
        QVERIFY(banco.server.requests().isEmpty());
    }

    void aDescriptionThatCannotBeReadIsReportedWithItsStatus()
    {
        BancoEsportazione banco;
        banco.test.context().trasmissione().ServizioVordan = banco.server.url(u"altro/servizio.asmx"_s);
        banco.test.prompt.expect(u"Descrizione del servizio non disponibile (stato HTTP 404)"_s);
        QCOMPARE(banco.esporta(), ErrorCode::Unspecified);
    }

    void aProxyHostRoutesEveryRequestThroughTheProxy()
    {
        BancoEsportazione banco;
        qunsetenv("no_proxy");
        qunsetenv("NO_PROXY");
        // Nothing listens at the service's own address: only the proxy can answer.
        const QString servizio = unreachableUrl(QString::fromLatin1(CourseRegistryPath));
        banco.test.context().trasmissione().ServizioVordan = servizio;
        banco.test.prompt.expect(Successo);
        QCOMPARE(banco.esporta(u"127.0.0.1"_s, QString::number(banco.server.port())), 0);
        QCOMPARE(banco.registro->documents().size(), 3);
        const QList<RecordedRequest> richieste = banco.server.requests();
        QCOMPARE(richieste.size(), 4);
        QCOMPARE(richieste.first().requestLine, "GET " + servizio.toLatin1() + "?WSDL HTTP/1.1");
        for (qsizetype i = 1; i < richieste.size(); ++i)
            QCOMPARE(richieste.at(i).requestLine, "POST " + servizio.toLatin1() + " HTTP/1.1");
    }

    void anEmptyProxyHostSetsNothingWhateverThePort()
    {
        BancoEsportazione banco;
        banco.test.prompt.expect(Successo);
        QCOMPARE(banco.esporta(QString(), u"3128"_s), 0);
        for (const RecordedRequest &richiesta : banco.server.requests())
            QVERIFY(richiesta.requestLine.split(' ').at(1).startsWith('/'));
    }

    void aCourseWithoutGuidGetsOneAndKeepsIt()
    {
        BancoEsportazione banco;
        banco.db.insert(u"Domande"_s, {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s}, {{904, u"A"_s, 123}});
        banco.db.insert(
            u"CorsiProp"_s,
            {u"NumDoma"_s, u"SedeInteressata"_s, u"GrupOpe"_s, u"Operatore"_s, u"Corso"_s, u"Guid"_s},
            {{904, 5, u"A"_s, 123, u"0001"_s, QVariant()}, {904, 5, u"A"_s, 123, u"0002"_s, u""_s}});
        banco.domandaCorrente(904, 123);
        banco.test.prompt.expect(Successo);
        QCOMPARE(banco.esporta(), 0);
        const QRegularExpression forma(
            u"^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$"_s);
        const QString primo = banco.guid(u"0001"_s);
        const QString secondo = banco.guid(u"0002"_s);
        QVERIFY2(forma.match(primo).hasMatch(), qPrintable(primo));
        QVERIFY2(forma.match(secondo).hasMatch(), qPrintable(secondo));
        QVERIFY(primo != secondo);
        QVERIFY(banco.registro->documents().at(0).contains(u"    <Guid>"_s + primo + u"</Guid>\r\n"_s));

        banco.test.prompt.expect(Successo);
        QCOMPARE(banco.esporta(), 0);
        QCOMPARE(banco.guid(u"0001"_s), primo);
        const QStringList documenti = banco.registro->documents();
        QCOMPARE(documenti.size(), 4);
        QCOMPARE(documenti.mid(2), documenti.mid(0, 2));
    }

    void theRegionalServicesOfTheDemoAnswerTheExport()
    {
        BancoZelto banco;
        withoutEnvironmentProxies();
        FakeServer regione;
        installRegionalServices(regione);
        banco.test.context().trasmissione().ServizioVordan =
            regione.url(QString::fromLatin1(CourseRegistryPath));
        banco.test.prompt.expect(Successo);
        QCOMPARE(InviaPercorsiVordan(banco.test.context(), {}, {}, {}), 0);
        QCOMPARE(regione.requests().size(), 4);
    }

    void aReplyNestedBeyondAnyOfTheServiceIsNotRead_data()
    {
        QTest::addColumn<QByteArray>("apertura");
        QTest::addColumn<QByteArray>("chiusura");
        QTest::newRow("result") << QByteArray("<AggiornaPercorsiVordanResponse xmlns=\"http://tempuri.org/\">"
                                              "<AggiornaPercorsiVordanResult>")
                                << QByteArray(
                                       "</AggiornaPercorsiVordanResult></AggiornaPercorsiVordanResponse>");
        QTest::newRow("fault") << QByteArray("<soap:Fault><faultcode>soap:Server</faultcode><faultstring>")
                               << QByteArray("</faultstring></soap:Fault>");
    }
    void aReplyNestedBeyondAnyOfTheServiceIsNotRead()
    {
        QFETCH(QByteArray, apertura);
        QFETCH(QByteArray, chiusura);
        BancoEsportazione banco;
        banco.cinqueCorsi();
        // 200,000 nested elements, 1.4 MB: read by recursion, they exhaust the stack.
        constexpr int Livelli = 200000;
        QByteArray risposta = "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
                              "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>" +
                              apertura;
        risposta += QByteArray("<a>").repeated(Livelli) + "testo" + QByteArray("</a>").repeated(Livelli);
        risposta += chiusura + "</soap:Body></soap:Envelope>";
        const std::shared_ptr<FakeCourseRegistry> registro = banco.registro;
        banco.server.route(CourseRegistryPath, [registro, risposta](const RecordedRequest &richiesta) {
            if (richiesta.method() == "GET")
                return registro->answer(richiesta);
            ScriptedReply profonda;
            profonda.headers = {"Content-Type: text/xml; charset=utf-8"};
            profonda.body = risposta;
            return profonda;
        });
        banco.test.prompt.expect(u"Risposta del servizio non leggibile"_s);
        QCOMPARE(banco.esporta(), ErrorCode::Unspecified);
        QVERIFY(banco.avanzamento.isEmpty());
        QCOMPARE(banco.test.prompt.shown().first().icon, Prompt::Icon::Critical);
    }

    void aServiceThatStopsAnsweringIsToldSoWithoutTheProxyAdvice()
    {
        BancoEsportazione banco;
        const std::shared_ptr<FakeCourseRegistry> registro = banco.registro;
        banco.server.route(CourseRegistryPath, [registro](const RecordedRequest &richiesta) {
            if (richiesta.method() == "GET")
                return registro->answer(richiesta);
            // A byte now and then: connected, then far below any useful rate.
            ScriptedReply goccia = ScriptedReply::text(QByteArray(4000, 'x'));
            goccia.dripIntervalMs = 100;
            return goccia;
        });
        TransferSettings impostazioni;
        impostazioni.stallTimeoutMs = 400;
        SoapClient client(impostazioni);
        client.initialise(banco.server.url(QString::fromLatin1(CourseRegistryPath)) + u"?WSDL"_s);
        const RoutineError errore =
            errorOf([&] { client.call(u"AggiornaPercorsiVordan"_s, u"documento"_s); });
        QCOMPARE(errore.number(), ErrorCode::Unspecified);
        QCOMPARE(errore.description(), u"Il servizio ha smesso di rispondere: "_s +
                                           transferErrorDescription(TransferError::Timeout));
    }

    void theEnvelopeKeepsTheArgumentReadable_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("markup") << u"<a & b>"_s << u"&lt;a &amp; b&gt;"_s;
        QTest::newRow("line end") << u"a\r\nb"_s << u"a&#13;\nb"_s;
        QTest::newRow("forbidden control left out") << u"a\u0002b"_s << u"ab"_s;
        QTest::newRow("accents as they are") << u"è"_s << u"è"_s;
    }
    void theEnvelopeKeepsTheArgumentReadable()
    {
        QFETCH(QString, testo);
        QFETCH(QString, atteso);
        QCOMPARE(testoElementoXml(testo), atteso);
    }
};

QTEST_GUILESS_MAIN(TestEsportazioneZeltoVordan)
#include "tst_EsportazioneZeltoVordan.moc"
