#include "FakeCourseRegistry.h"
#include "FakeServer.h"
#include "FakeServerServices.h"
#include "TestContext.h"
#include "core/config/IniFile.h"
#include "core/net/ServerRequest.h"
#include "core/state/InstallationState.h"
#include "transmission/ControlloVersione.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString CrLf = u"\r\n"_s;
const QString PercorsoVersione = QString::fromLatin1(VersionCheckPath);
const QString IndirizzoServer = u"http://regione.example"_s;
const QString HostUpload = u"upload.regione.example"_s;

/** A box as the test expects it: icon, title and text. */
struct Box
{
    Prompt::Icon icon;
    QString title;
    QString text;
};

QString presente(const QString &versione)
{
    return u"La presente versione dell'applicativo ( "_s + versione + u" )"_s;
}

Box avvisoRecente(const QString &versione, const QString &ultima)
{
    return {Prompt::Icon::Warning, u"Controllo Versione"_s,
            presente(versione) + u" non è la più recente."_s + CrLf +
                u"Si consiglia di scaricare da Internet la nuova versione: "_s + ultima + CrLf +
                u"La trasmissione avverrà comunque."_s};
}

Box nonAutorizzata(const QString &versione, const QString &ultima)
{
    return {Prompt::Icon::Critical, u"Controllo Versione"_s,
            presente(versione) + u" non è autorizzata a trasmettere."_s + CrLf +
                u"Scaricare da Internet la nuova versione: "_s + ultima};
}

Box erroreServer(const QString &risposta)
{
    return {Prompt::Icon::Critical, u"Errore restituito dal Server"_s,
            u"Operazione non riuscita (servizio: "_s + PercorsoVersione +
                u"). Il server ha restituito il seguente messaggio di errore: "_s + CrLf + CrLf + risposta +
                CrLf + CrLf +
                u"Controllare i dati immessi e ritentare l'operazione, oppure contattare il servizio di "
                u"assistenza TUZ riportando questo messaggio."_s};
}

const Box ConnessioneGenerica{Prompt::Icon::Critical, u"Errore di connessione"_s, ErroreConnessioneServer};

Box connessioneTrasmis(const QString &percorso)
{
    return {
        Prompt::Icon::Critical, u"Errore di connessione"_s,
        u"Errore di connessione al server (server: "_s + IndirizzoServer + u", servizio: "_s + percorso +
            u"). Riprovare in un secondo momento, oppure contattare il servizio di assistenza TUZ riportando "
            u"questo messaggio."_s};
}

/** The program folder whose INI file names the version service on a fake server that asks for Basic. */
struct BancoVersione
{
    TestContext test;
    FakeServer server;
    HttpTransfer inet{impostazioniControlloVersione(test.context().programFolder())};
    int puntatoriNormali = 0;

    explicit BancoVersione(FakeServer::Tls tls = FakeServer::Tls::None) : server(tls)
    {
        withoutEnvironmentProxies();
        indirizzoVersione(server.url(PercorsoVersione));
        test.context().installazione().IndirizzoServer = IndirizzoServer;
        test.context().installazione().CredenzialeServer = u"utente:segreta@"_s;
        server.requireBasic(PercorsoVersione.toLatin1(), "utente", "segreta");
    }

    void indirizzoVersione(const QString &indirizzo)
    {
        test.writeFile(u"KX58TORVA.INI"_s, "[CONNESSIONE]\r\nVERSIONE=" + indirizzo.toLatin1() + "\r\n");
        test.context().fileIni().setNomeFile(test.path(u"KX58TORVA.INI"_s));
    }

    void risponde(const ScriptedReply &risposta) { server.reply(PercorsoVersione.toLatin1(), risposta); }

    bool controlla(VarianteControllo variante)
    {
        ServerRequest richiesta(test.context(), test.context().fileIni(), test.context().programFolder(),
                                test.context().installazione(), inet,
                                richiestaVersione(variante, test.context().installazione(), HostUpload),
                                [](bool) {});
        return ControllaVersione(test.context(), richiesta, variante, [this] { ++puntatoriNormali; });
    }

    void attende(const QList<Box> &boxes)
    {
        for (const Box &box : boxes)
            test.prompt.expect(box.text);
    }

    void verifica(const QList<Box> &boxes)
    {
        QVERIFY(test.prompt.allShown());
        const QList<ShownBox> &mostrati = test.prompt.shown();
        QCOMPARE(mostrati.size(), boxes.size());
        for (qsizetype i = 0; i < boxes.size(); ++i) {
            QCOMPARE(mostrati.at(i).icon, boxes.at(i).icon);
            QCOMPARE(mostrati.at(i).title, boxes.at(i).title);
        }
    }
};

} // namespace

Q_DECLARE_METATYPE(VarianteControllo)
Q_DECLARE_METATYPE(QList<Box>)

class TestControlloVersione : public QObject
{
    Q_OBJECT

private slots:
    void EstraiCampo_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("campo");

        QTest::newRow("second field") << u"uno#due#tre#"_s << 2 << u"due"_s;
        QTest::newRow("last field") << u"uno#due#tre#"_s << 3 << u"tre"_s;
        QTest::newRow("beyond the last") << u"uno#due#tre#"_s << 5 << QString();
        QTest::newRow("unended last field is whole") << u"1.0.0#1.0.3#M#Avviso"_s << 4 << u"Avviso"_s;
        QTest::newRow("two fields, the third") << u"1.0.0#1.0.3#"_s << 3 << QString();
        QTest::newRow("empty field") << u"1.0.0#1.0.3#N##"_s << 4 << QString();
        QTest::newRow("empty text") << QString() << 1 << QString();
    }

    void EstraiCampo()
    {
        QFETCH(QString, testo);
        QFETCH(int, n);
        QFETCH(QString, campo);
        QCOMPARE(::EstraiCampo(testo, u'#', n), campo);
    }

    void confrontaVersioni_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("confronto");
        QTest::addColumn<bool>("versioni");

        QTest::newRow("equal") << u"1.0.3"_s << u"1.0.3"_s << 0 << true;
        QTest::newRow("revision below") << u"1.0.2"_s << u"1.0.3"_s << -1 << true;
        QTest::newRow("ten above nine") << u"1.10.0"_s << u"1.9.0"_s << 1 << true;
        QTest::newRow("missing part counts as 0") << u"1.2"_s << u"1.2.0"_s << 0 << true;
        QTest::newRow("missing part below one") << u"1.2"_s << u"1.2.1"_s << -1 << true;
        QTest::newRow("leading zeros") << u"01.002.3"_s << u"1.2.3"_s << 0 << true;
        QTest::newRow("long numbers")
            << u"1.99999999999999999999"_s << u"1.100000000000000000000"_s << -1 << true;
        QTest::newRow("empty") << u"1.0.0"_s << QString() << 0 << false;
        QTest::newRow("letters") << u"1.0.0"_s << u"1.0.a"_s << 0 << false;
        QTest::newRow("empty part") << u"1..0"_s << u"1.0.0"_s << 0 << false;
        QTest::newRow("html") << u"<html>"_s << u"1.0.0"_s << 0 << false;
    }

    void confrontaVersioni()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, confronto);
        QFETCH(bool, versioni);
        const std::optional<int> risultato = ::confrontaVersioni(a, b);
        QCOMPARE(risultato.has_value(), versioni);
        if (versioni)
            QCOMPARE(*risultato, confronto);
    }

    void theRequestIsTheFixedFormWithTheCredentialAsBasic()
    {
        BancoVersione banco;
        banco.risponde(ScriptedReply::text("1.0.0#1.0.0#N#"));
        banco.test.context().impostaVersione(u"1.0.0"_s);
        QVERIFY(banco.controlla(VarianteControllo::Trasmis));
        const QList<RecordedRequest> richieste = banco.server.requests();
        QCOMPARE(richieste.size(), 1);
        const RecordedRequest &richiesta = richieste.first();
        QCOMPARE(richiesta.requestLine, "POST /versione/controllo.php HTTP/1.1");
        QCOMPARE(richiesta.body, "applicativo=KX58TORVA&anno=2021");
        QCOMPARE(richiesta.body.size(), 31);
        QCOMPARE(richiesta.header("Content-Type"), "application/x-www-form-urlencoded");
        QCOMPARE(richiesta.header("Proxy-Connection"), "Keep-Alive");
        QVERIFY(richiesta.headerLines.contains("HTTP: Protocol Version = HTTP/1.1 "));
        QCOMPARE(richiesta.header("Authorization"), "Basic " + QByteArray("utente:segreta").toBase64());
        QVERIFY(!richiesta.requestLine.contains("segreta"));
    }

    void theGate_data()
    {
        QTest::addColumn<VarianteControllo>("variante");
        QTest::addColumn<QByteArray>("risposta");
        QTest::addColumn<int>("stato");
        QTest::addColumn<QString>("versione");
        QTest::addColumn<bool>("passa");
        QTest::addColumn<QList<Box>>("boxes");

        const auto entrambe = [](const char *nome, const QByteArray &risposta, const QString &versione,
                                 bool passa, const QList<Box> &boxes) {
            for (const VarianteControllo variante :
                 {VarianteControllo::Trasmis, VarianteControllo::frmInet}) {
                const char *finestra = variante == VarianteControllo::Trasmis ? "Trasmis" : "frmInet";
                QTest::addRow("%s, %s", finestra, nome)
                    << variante << risposta << 200 << versione << passa << boxes;
            }
        };
        entrambe("current version", "1.0.3#1.0.3#N#", u"1.0.3"_s, true, {});
        entrambe("a newer version", "1.0.0#1.0.3#N#", u"1.0.2"_s, true,
                 {avvisoRecente(u"1.0.2"_s, u"1.0.3"_s)});
        entrambe("below the minimum", "1.0.3#1.0.3#N#", u"1.0.2"_s, false,
                 {nonAutorizzata(u"1.0.2"_s, u"1.0.3"_s)});
        entrambe("1.10.0 above 1.9.0", "1.9.0#1.10.0#N#", u"1.10.0"_s, true, {});
        entrambe("1.9.0 below 1.10.0", "1.10.0#1.10.0#N#", u"1.9.0"_s, false,
                 {nonAutorizzata(u"1.9.0"_s, u"1.10.0"_s)});
        entrambe("status S", "1.0.0#1.0.0#S#", u"1.0.0"_s, false,
                 {{Prompt::Icon::Warning, u"Controllo Versione"_s,
                   presente(u"1.0.0"_s) + u" non è più gestita dalla Provincia."_s + CrLf +
                       u"Impossibile effettuare la trasmissione, per ulteriori informazioni contattare il "
                       u"servizio di assistenza TUZ."_s}});
        entrambe("status A refuses a current version", "1.0.0#1.0.0#A#Servizio sospeso#", u"1.0.0"_s, false,
                 {{Prompt::Icon::Critical, u"Trasmissione"_s, u"Servizio sospeso"_s}});
        entrambe("status M, then the comparison passes", "1.0.0#1.0.0#M#Nuove regole#", u"1.0.0"_s, true,
                 {{Prompt::Icon::Information, u"Trasmissione"_s, u"Nuove regole"_s}});
        entrambe("status M, then the comparison refuses", "2.0.0#2.0.0#M#Nuove regole#", u"1.0.0"_s, false,
                 {{Prompt::Icon::Information, u"Trasmissione"_s, u"Nuove regole"_s},
                  nonAutorizzata(u"1.0.0"_s, u"2.0.0"_s)});
        entrambe("status s is no status", "1.0.0#1.0.0#s#Ignorata#", u"1.0.0"_s, true, {});
        entrambe("unended notice", "1.0.0#1.0.0#M#Avviso", u"1.0.0"_s, true,
                 {{Prompt::Icon::Information, u"Trasmissione"_s, u"Avviso"_s}});
        entrambe("two fields", "1.0.0#1.0.3#", u"1.0.3"_s, true, {});
        // A box quotes the start of the server's text, as every box of a server's reply does.
        entrambe("a long notice", "1.0.0#1.0.0#A#" + QByteArray(10000, 'x') + '#', u"1.0.0"_s, false,
                 {{Prompt::Icon::Critical, u"Trasmissione"_s, QString(MassimoCitazione, u'x')}});
        entrambe("a long latest version", "1.0.0#1.0." + QByteArray(5000, '3') + "#N#", u"1.0.2"_s, true,
                 {avvisoRecente(u"1.0.2"_s, u"1.0."_s + QString(MassimoCitazione - 4, u'3'))});

        const QByteArray conErrore = "1.0.0#1.0.0#M#Si è verificato un Errore#";
        QTest::addRow("Trasmis, errore in a notice")
            << VarianteControllo::Trasmis << conErrore << 200 << u"1.0.0"_s << false
            << QList<Box>{erroreServer(QString::fromLatin1(conErrore))};
        QTest::addRow("frmInet, errore in a notice")
            << VarianteControllo::frmInet << conErrore << 200 << u"1.0.0"_s << false
            << QList<Box>{ConnessioneGenerica};
        QTest::addRow("Trasmis, empty reply") << VarianteControllo::Trasmis << QByteArray() << 200
                                              << u"1.0.0"_s << false << QList<Box>{erroreServer(QString())};
        QTest::addRow("frmInet, empty reply") << VarianteControllo::frmInet << QByteArray() << 200
                                              << u"1.0.0"_s << false << QList<Box>{ConnessioneGenerica};
        QTest::addRow("Trasmis, status 500")
            << VarianteControllo::Trasmis << QByteArray("1.0.0#1.0.0#N#") << 500 << u"1.0.0"_s << false
            << QList<Box>{erroreServer(u"1.0.0#1.0.0#N#"_s)};
        QTest::addRow("frmInet, status 500") << VarianteControllo::frmInet << QByteArray("1.0.0#1.0.0#N#")
                                             << 500 << u"1.0.0"_s << false << QList<Box>{ConnessioneGenerica};
        QTest::addRow("frmInet, an HTML page is read as fields")
            << VarianteControllo::frmInet << QByteArray("<html><body>Manutenzione</body></html>") << 200
            << u"1.0.0"_s << false << QList<Box>{ConnessioneGenerica};
    }

    void theGate()
    {
        QFETCH(VarianteControllo, variante);
        QFETCH(QByteArray, risposta);
        QFETCH(int, stato);
        QFETCH(QString, versione);
        QFETCH(bool, passa);
        QFETCH(QList<Box>, boxes);

        BancoVersione banco;
        banco.risponde(ScriptedReply::text(risposta, stato));
        banco.test.context().impostaVersione(versione);
        banco.attende(boxes);
        QCOMPARE(banco.controlla(variante), passa);
        banco.verifica(boxes);
        if (!passa)
            QVERIFY(banco.puntatoriNormali > 0);
        QVERIFY(banco.test.urlOpener.urls.isEmpty());
    }

    void aReplyLongerThanTheGateNeedsEndsTheTransfer()
    {
        BancoVersione banco;
        ScriptedReply risposta;
        risposta.generatedSize = 50LL * 1024 * 1024;
        banco.risponde(risposta);
        banco.attende({{Prompt::Icon::Critical, u"Errore di trasmissione"_s,
                        u"Si è verificato un errore in trasmissione, 12152 : "_s +
                            transferErrorDescription(TransferError::ReplyTooLarge)},
                       ConnessioneGenerica});
        QVERIFY(!banco.controlla(VarianteControllo::frmInet));
        banco.verifica(
            {{Prompt::Icon::Critical, u"Errore di trasmissione"_s, QString()}, ConnessioneGenerica});
    }

    void theSendWindowShowsAnHtmlPage()
    {
        BancoVersione banco;
        banco.test.writeFile(u"ErrServer.html"_s, "una pagina più vecchia e più lunga di questa\r\n");
        const QByteArray pagina = "<HTML><body>Errore interno del server</body></HTML>";
        banco.risponde(ScriptedReply::text(pagina));
        banco.test.prompt.expect(
            u"Si è verificato un errore sul server "_s + IndirizzoServer + u" (servizio: "_s +
            PercorsoVersione +
            u"), cliccando su OK il sistema cercherà di visualizzare ulteriori informazioni sull'errore. "
            u"Contattare il servizio assistenza TUZ riportando questo messaggio e le informazioni visualizzate"_s);
        QVERIFY(!banco.controlla(VarianteControllo::Trasmis));
        QCOMPARE(banco.test.prompt.shown().first().title, u"ERRORE"_s);
        QCOMPARE(banco.test.readFile(u"ErrServer.html"_s), pagina + "\r\n");
        QCOMPARE(banco.test.urlOpener.urls,
                 QList<QUrl>{QUrl::fromLocalFile(banco.test.path(u"ErrServer.html"_s))});
    }

    void anUntrustedCertificateShowsOnlyTheCertificateBox_data()
    {
        QTest::addColumn<VarianteControllo>("variante");
        QTest::addColumn<QString>("istruzioni");

        QTest::newRow("Trasmis")
            << VarianteControllo::Trasmis
            << CrLf + CrLf +
                   u"E' necessario installare il certificato di autorizzazione per l'accesso al "
                   u"server "_s +
                   IndirizzoServer + u"."_s + CrLf +
                   u"Il certificato e le istruzioni per l'installazione sono reperibili "
                   u"all'indirizzo:"_s +
                   CrLf + CrLf + IndirizzoServer + u"/fpl/procedure-sw/certificato.html"_s + CrLf + CrLf +
                   u"Se, dopo l'installazione, il problema persiste contattare il servizio "
                   u"assistenza TUZ riportando questo messaggio"_s;
        QTest::newRow("frmInet")
            << VarianteControllo::frmInet
            << CrLf + CrLf +
                   u"E' necessario installare il certificato di autorizzazione per l'accesso al "
                   u"server sicuro UPLOAD.REGIONE.EXAMPLE."_s +
                   CrLf +
                   u"Per procedere alla reinstallazione, cercare nel sistema il file CA_ROOT.DER "
                   u"ed eseguire un doppio click su di esso."_s +
                   CrLf + u"Se il file è assente dal sistema, contattare il servizio assistenza"_s;
    }

    void anUntrustedCertificateShowsOnlyTheCertificateBox()
    {
        QFETCH(VarianteControllo, variante);
        QFETCH(QString, istruzioni);

        BancoVersione banco(FakeServer::Tls::Untrusted);
        // Over https the service's path begins with the host.
        const QString servizio =
            variante == VarianteControllo::Trasmis
                ? u" (servizio: "_s + percorsoServizio(banco.server.url(PercorsoVersione)) + u')'
                : QString();
        banco.test.prompt.expect(u"Si è verificato un errore in trasmissione, 12045 : "_s +
                                 transferErrorDescription(TransferError::CertificateNotVerified) + servizio +
                                 istruzioni);
        QVERIFY(!banco.controlla(variante));
        banco.verifica({{Prompt::Icon::Critical, u"Errore di trasmissione"_s, QString()}});
    }

    void anotherTransferErrorShowsTwoBoxes_data()
    {
        QTest::addColumn<VarianteControllo>("variante");
        QTest::addColumn<QString>("indirizzo");
        QTest::addColumn<int>("codice");

        const QString irraggiungibile = unreachableUrl(PercorsoVersione);
        for (const VarianteControllo variante : {VarianteControllo::Trasmis, VarianteControllo::frmInet}) {
            const char *finestra = variante == VarianteControllo::Trasmis ? "Trasmis" : "frmInet";
            QTest::addRow("%s, nothing listens", finestra)
                << variante << irraggiungibile << TransferError::CannotConnect;
            QTest::addRow("%s, empty address", finestra)
                << variante << QString() << TransferError::InvalidAddress;
            QTest::addRow("%s, address without //", finestra)
                << variante << u"versione.example/controllo.php"_s << TransferError::InvalidAddress;
        }
    }

    void anotherTransferErrorShowsTwoBoxes()
    {
        QFETCH(VarianteControllo, variante);
        QFETCH(QString, indirizzo);
        QFETCH(int, codice);

        BancoVersione banco;
        banco.indirizzoVersione(indirizzo);
        const QString percorso = percorsoServizio(indirizzo);
        banco.test.prompt.expect(
            u"Si è verificato un errore in trasmissione, "_s + QString::number(codice) + u" : "_s +
            transferErrorDescription(codice) +
            (variante == VarianteControllo::Trasmis ? u" (servizio: "_s + percorso + u')' : QString()));
        const Box connessione =
            variante == VarianteControllo::Trasmis ? connessioneTrasmis(percorso) : ConnessioneGenerica;
        banco.test.prompt.expect(connessione.text);
        QVERIFY(!banco.controlla(variante));
        banco.verifica({{Prompt::Icon::Critical, u"Errore di trasmissione"_s, QString()}, connessione});
        for (const ShownBox &box : banco.test.prompt.shown())
            QVERIFY(!box.text.contains(u"segreta"_s));
    }
};

QTEST_GUILESS_MAIN(TestControlloVersione)
#include "tst_ControlloVersione.moc"
