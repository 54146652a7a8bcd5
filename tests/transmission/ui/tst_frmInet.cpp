#include "FakeCourseRegistry.h"
#include "core/net/HttpTransfer.h"
#include "core/services/RoutineError.h"
#include "core/state/HelpTopics.h"
#include "tests/transmission/ui/BancoInvio.h"
#include "transmission/ControlloVersione.h"
#include "transmission/EsportazioneZeltoVordan.h"
#include "transmission/SoapClient.h"
#include "transmission/ui/frmInet.h"

#include <QProgressBar>
#include <QTest>

using namespace kx;

namespace {

const QString Riuscita = u"Trasmissione alla Regione completata con successo"_s;
const QString RiuscitaVordan = u"Trasmissione al sistema VORDAN completata con successo"_s;
const QString SuggerimentoProxy =
    u"E' probabile che la connessione ad internet avvenga tramite un server proxy. In questo caso occorre "
    u"indicare l'indirizzo del server proxy e la porta di connessione.\r\nUtilizzare il tasto 'Imposta "
    u"Proxy' in "
    u"basso a destra. Una volta effettuata l'impostazione, ritentare l'operazione di invio con il tasto "
    u"'Trsmissione VORDAN'."_s;
const QString VordanFallita =
    u"La trasmissione al sistema VORDAN non è stata completata. Verificare l'errore e riprovare con il tasto "
    u"apposito (Trasmissione VORDAN).\r\nSe l'errore non viene risolto, contattare il servizio di assistenza "
    u"T.U.Z. riportando il messaggio che compare a video."_s;

/** The export's stand-in: records the proxy and the window's state, reports progress, gives a result. */
struct EsportazioneFinta
{
    qint32 esito = 0;
    QList<int> passi{50, 100};
    int chiamate = 0;
    QString proxy;
    QString porta;
    bool pulsantiDisabilitati = false;
    bool barraVisibile = false;
    bool restaAperta = false;
    QList<int> valoriBarra;
    QWidget *finestra = nullptr;

    EsportazioneVordan funzione()
    {
        return [this](Context &, const QString &p, const QString &q,
                      const std::function<void(int)> &avanzamento) {
            ++chiamate;
            proxy = p;
            porta = q;
            auto *barra = control<QProgressBar>(finestra, u"lblPercent"_s);
            barraVisibile = barra->isVisible();
            pulsantiDisabilitati = !control<QAbstractButton>(finestra, u"Cmd_Send"_s)->isEnabled() &&
                                   !control<QAbstractButton>(finestra, u"CmdVORDAN"_s)->isEnabled() &&
                                   !control<QAbstractButton>(finestra, u"Cmd_Esci"_s)->isEnabled();
            valoriBarra.append(barra->value());
            // The close box while the export runs: the window stays.
            finestra->close();
            restaAperta = finestra->isVisible();
            for (const int passo : passi) {
                avanzamento(passo);
                valoriBarra.append(barra->value());
            }
            return esito;
        };
    }
};

struct BancoInet : BancoInvio
{
    using BancoInvio::BancoInvio;
    EsportazioneFinta esportazione;
    std::unique_ptr<frmInet> finestra;

    frmInet &apri(EsportazioneVordan funzione = {})
    {
        finestra = std::make_unique<frmInet>(test.context(), funzione ? funzione : esportazione.funzione());
        esportazione.finestra = finestra.get();
        finestra->show();
        return *finestra;
    }
    QLineEdit *mittente() { return control<QLineEdit>(finestra.get(), u"txFrom"_s); }
    void invia() { press(finestra.get(), u"Cmd_Send"_s); }
    bool aperta() { return finestra->isVisible(); }
};

} // namespace

class TestFrmInet : public QObject
{
    Q_OBJECT

private slots:
    void theWindowShowsTheStoredAddressAndItsPictures()
    {
        BancoInet banco;
        frmInet &finestra = banco.apri();
        QCOMPARE(finestra.windowTitle(), u"Invio delle domande"_s);
        QCOMPARE(banco.mittente()->text(), u"mario.rossi@ente.it"_s);
        QCOMPARE(control<ImageButton>(&finestra, u"CmdVORDAN"_s)->shownPicture(), u"ImgVORDAN"_s);
        QCOMPARE(control<ImageButton>(&finestra, u"cmdAiuto"_s)->shownPicture(), u"imgHelp"_s);
        QCOMPARE(control<ImageButton>(&finestra, u"Cmd_Esci"_s)->shownPicture(), u"imgExit"_s);
        QVERIFY(!control<QProgressBar>(&finestra, u"lblPercent"_s)->isVisible());
        press(&finestra, u"cmdAiuto"_s);
        QCOMPARE(banco.test.help.topics, QList<int>{9100});
        press(&finestra, u"Cmd_Esci"_s);
        QVERIFY(!banco.aperta());
        QVERIFY(banco.server.requests().isEmpty());
    }

    void anUploadSendsTheFileAndMarksTheApplicationSent()
    {
        BancoInet banco;
        banco.apri();
        banco.mittente()->setText(u"luisa.bianchi@ente.it"_s);
        QVERIFY(QDir(banco.test.folder()).mkdir(u"Trasmissioni"_s));
        banco.test.writeFile(u"Trasmissioni/"_s + BancoTrasmissione::NomeFile, "copia di prima\r\n");
        banco.test.prompt.expect(Riuscita);
        banco.invia();

        QCOMPARE(banco.test.prompt.shown().first().title, u"TRASMISSIONE TERMINATA"_s);
        const QList<RecordedRequest> upload = banco.richieste(QString::fromLatin1(UploadPath));
        QCOMPARE(upload.size(), 1);
        QVERIFY(upload.first().body.startsWith(QByteArray(BancoTrasmissione::NomeFile.toLatin1() + "\n#Z#")));
        QVERIFY(upload.first().body.endsWith("\n#Z#,#EOF#\n"));
        QVERIFY(!upload.first().body.contains('\r'));
        QVERIFY(upload.first().body.contains("luisa.bianchi@ente.it"));
        QVERIFY(!upload.first().hasHeader("Content-Type"));
        QVERIFY(!upload.first().hasHeader("Expect"));
        QCOMPARE(upload.first().header("Authorization"),
                 "Basic " + QByteArray("robot:%tulip%42&").toBase64());
        QVERIFY(!upload.first().requestLine.contains("robot"));

        QVERIFY(!banco.fileNellaCartella());
        QCOMPARE(banco.test.readFile(u"Trasmissioni/"_s + BancoTrasmissione::NomeFile), "copia di prima\r\n");
        QCOMPARE(banco.flag(), std::make_pair(false, true));
        QCOMPARE(banco.test.context().userSettings().value(u"E-Mail"_s, QString()),
                 u"luisa.bianchi@ente.it"_s);
        QVERIFY(!banco.aperta());
    }

    void theDemoUploadGoesOverHttpsToTheServerTheProgramTrusts()
    {
        BancoInet banco;
        FakeServer sicuro(FakeServer::Tls::Trusted);
        installRegionalServices(sicuro);
        QVERIFY(
            QFile::copy(QStringLiteral(KX_TEST_DATA "/net/CA_ROOT.DER"), banco.test.path(u"CA_ROOT.DER"_s)));
        banco.test.context().trasmissione().IndirizzoUpload = sicuro.url(QString::fromLatin1(UploadPath));
        banco.apri();
        banco.test.prompt.expect(Riuscita);
        banco.invia();
        QCOMPARE(sicuro.requests().size(), 1);
        QCOMPARE(banco.flag(), std::make_pair(false, true));
    }

    void aSecondUploadMarksAgain()
    {
        BancoInet banco;
        banco.db.execute(u"UPDATE Domande SET DomandaTrasmessa = 1 WHERE NumDoma = 812"_s);
        banco.apri();
        banco.test.prompt.expect(Riuscita);
        banco.invia();
        QCOMPARE(banco.flag(), std::make_pair(false, true));
        QCOMPARE(banco.richieste(QString::fromLatin1(UploadPath)).size(), 1);
        QVERIFY(!banco.aperta());
    }

    void aReplyWithoutTheSuccessTextKeepsFileAndFlag()
    {
        BancoInet banco;
        banco.server.reply(UploadPath, ScriptedReply::text("Spazio su disco esaurito"));
        banco.apri();
        banco.test.prompt.expect(u"Operazione non riuscita (servizio: "_s +
                                 percorsoServizio(banco.server.url(QString::fromLatin1(UploadPath))) +
                                 u"). Il server ha restituito il seguente messaggio di errore: "
                                 u"\r\n\r\nSpazio su disco esaurito\r\n\r\n"
                                 u"Controllare i dati immessi e ritentare l'operazione, oppure contattare il "
                                 u"servizio di assistenza "
                                 u"TUZ riportando questo messaggio."_s);
        banco.invia();
        QCOMPARE(banco.test.prompt.shown().first().title, u"Errore restituito dal Server"_s);
        QVERIFY(banco.fileNellaCartella());
        // The body, byte for byte: the name, LF, every line of the file just written with LF alone.
        QByteArray file = banco.test.readFile(BancoTrasmissione::NomeFile);
        QVERIFY(file.contains("SANTA LUC\xcc"
                              "A"));
        const QByteArray corpo = BancoTrasmissione::NomeFile.toLatin1() + '\n' + file.replace("\r\n", "\n");
        QCOMPARE(banco.richieste(QString::fromLatin1(UploadPath)).first().body, corpo);
        QCOMPARE(banco.flag(), std::make_pair(false, false));
        QVERIFY(banco.aperta());
        QVERIFY(control<QAbstractButton>(banco.finestra.get(), u"Cmd_Send"_s)->isEnabled());
    }

    void aTransferErrorKeepsFileAndWindow()
    {
        BancoInet banco;
        banco.test.context().trasmissione().IndirizzoUpload = unreachableUrl(QString::fromLatin1(UploadPath));
        banco.apri();
        banco.test.prompt.expect(u"Si è verificato un errore in trasmissione, "_s +
                                 QString::number(TransferError::CannotConnect) + u" : "_s +
                                 transferErrorDescription(TransferError::CannotConnect));
        banco.test.prompt.expect(ErroreConnessioneServer);
        banco.invia();
        QVERIFY(banco.fileNellaCartella());
        QCOMPARE(banco.flag(), std::make_pair(false, false));
        QVERIFY(banco.aperta());
    }

    void anUntrustedUploadServerDeletesTheFileAndCloses()
    {
        BancoInet banco;
        FakeServer sicuro(FakeServer::Tls::Untrusted);
        installRegionalServices(sicuro);
        banco.test.context().trasmissione().IndirizzoUpload = sicuro.url(QString::fromLatin1(UploadPath));
        banco.apri();
        banco.test.prompt.expect(
            u"Si è verificato un errore in trasmissione, 12045 : "_s +
            transferErrorDescription(TransferError::CertificateNotVerified) +
            u"\r\n\r\nE' necessario installare il certificato di autorizzazione per l'accesso al "
            u"server sicuro 127.0.0.1.\r\nPer procedere alla reinstallazione, cercare nel "
            u"sistema il file CA_ROOT.DER ed eseguire un doppio click su di esso.\r\nSe il file "
            u"è assente dal sistema, contattare il servizio assistenza"_s);
        banco.invia();
        QCOMPARE(banco.test.prompt.shown().size(), 1);
        QVERIFY(!banco.fileNellaCartella());
        QCOMPARE(banco.flag(), std::make_pair(false, false));
        QVERIFY(!banco.aperta());
    }

    void aRowDeletedBeforeTheMarkIsReportedAndNothingMarked()
    {
        BancoInet banco;
        // A second installation deletes the application while the file travels.
        FixtureDatabase *db = &banco.db;
        banco.server.route(UploadPath, [db](const RecordedRequest &) {
            db->execute(u"DELETE FROM Domande WHERE NumDoma = 812"_s);
            return ScriptedReply::text("Trasmissione completata con successo");
        });
        banco.apri();
        banco.test.prompt.expect(Riuscita);
        banco.test.prompt.expect(u"Errore "_s + QString::number(ErrorCode::RowDeletedMeanwhile) + u"\r\n"_s +
                                 RoutineError::standardDescription(ErrorCode::RowDeletedMeanwhile));
        banco.invia();
        QCOMPARE(banco.test.prompt.shown().last().title, u"Errore"_s);
        QCOMPARE(banco.test.prompt.shown().last().icon, Prompt::Icon::Warning);
        QCOMPARE(banco.db.scalar(u"SELECT COUNT(*) FROM Domande WHERE DomandaTrasmessa = 1"_s).toInt(), 0);
        QVERIFY(banco.aperta());
        QVERIFY(control<QAbstractButton>(banco.finestra.get(), u"Cmd_Send"_s)->isEnabled());
    }

    void aRefusedAddressKeepsWhatWasTypedAndSendsNothing()
    {
        BancoInet banco;
        banco.apri();
        banco.mittente()->setText(u"mario rossi@ente.it"_s);
        banco.test.prompt.expect(
            u"L'indirizzo e-mail non può contenere spazi all'inizio, alla fine o internamente."_s);
        banco.invia();
        QCOMPARE(banco.mittente()->text(), u"mario rossi@ente.it"_s);
        QCOMPARE(banco.test.context().userSettings().value(u"E-Mail"_s, QString()), u"mario.rossi@ente.it"_s);
        QVERIFY(banco.server.requests().isEmpty());
        QVERIFY(!banco.fileNellaCartella());
    }

    void aRefusingGateStopsTheUploadButKeepsTheAddress()
    {
        BancoInet banco;
        banco.versione("1.0.0#1.0.0#S#");
        banco.test.context().impostaVersione(u"1.0.0"_s);
        banco.apri();
        banco.mittente()->setText(u"luisa.bianchi@ente.it"_s);
        banco.test.prompt.expect(
            u"La presente versione dell'applicativo ( 1.0.0 ) non è più gestita dalla "
            u"Provincia.\r\nImpossibile effettuare la trasmissione, per ulteriori informazioni "
            u"contattare il servizio di assistenza TUZ."_s);
        banco.invia();
        QCOMPARE(banco.test.context().userSettings().value(u"E-Mail"_s, QString()),
                 u"luisa.bianchi@ente.it"_s);
        QVERIFY(banco.richieste(QString::fromLatin1(UploadPath)).isEmpty());
        QVERIFY(!banco.fileNellaCartella());
        QVERIFY(banco.aperta());
    }

    void theRegistryExportReportsItsOutcome_data()
    {
        QTest::addColumn<int>("esito");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("titolo");
        QTest::addColumn<int>("icona");

        QTest::newRow("success") << 0 << RiuscitaVordan << u"TRASMISSIONE TERMINATA"_s
                                 << int(Prompt::Icon::Information);
        QTest::newRow("5406, the proxy hint")
            << ErroreConnessioneServizio << SuggerimentoProxy << u"TRASMISSIONE VORDAN FALLITA"_s
            << int(Prompt::Icon::Information);
        QTest::newRow("another failure") << int(ErrorCode::Unspecified) << VordanFallita
                                         << u"TRASMISSIONE VORDAN FALLITA"_s << int(Prompt::Icon::Critical);
    }

    void theRegistryExportReportsItsOutcome()
    {
        QFETCH(int, esito);
        QFETCH(QString, testo);
        QFETCH(QString, titolo);
        QFETCH(int, icona);

        BancoInet banco;
        banco.test.context().userSettings().setValue(u"Proxy"_s, u"proxy.ente.it"_s);
        banco.test.context().userSettings().setValue(u"Porta"_s, u"3128"_s);
        banco.esportazione.esito = esito;
        frmInet &finestra = banco.apri();
        banco.test.prompt.expect(testo);
        press(&finestra, u"CmdVORDAN"_s);

        QCOMPARE(banco.esportazione.chiamate, 1);
        QCOMPARE(banco.esportazione.proxy, u"proxy.ente.it"_s);
        QCOMPARE(banco.esportazione.porta, u"3128"_s);
        QVERIFY(banco.esportazione.barraVisibile);
        QVERIFY(banco.esportazione.pulsantiDisabilitati);
        QVERIFY(banco.esportazione.restaAperta);
        QCOMPARE(banco.esportazione.valoriBarra, (QList<int>{0, 50, 100}));
        QCOMPARE(banco.test.prompt.shown().first().title, titolo);
        QCOMPARE(int(banco.test.prompt.shown().first().icon), icona);
        QVERIFY(!control<QProgressBar>(&finestra, u"lblPercent"_s)->isVisible());
        QVERIFY(control<QAbstractButton>(&finestra, u"CmdVORDAN"_s)->isEnabled());
        QVERIFY(banco.aperta());
        QCOMPARE(banco.flag(), std::make_pair(false, false));
    }

    void aRefusingGateStopsTheRegistryExport()
    {
        BancoInet banco;
        banco.versione("1.0.0#1.0.0#A#Servizio sospeso#");
        frmInet &finestra = banco.apri();
        banco.test.prompt.expect(u"Servizio sospeso"_s);
        press(&finestra, u"CmdVORDAN"_s);
        QCOMPARE(banco.esportazione.chiamate, 0);
    }

    void aFaultOfTheRegistryShowsItsTextThenTheFailureBox()
    {
        BancoInet banco;
        std::shared_ptr<FakeCourseRegistry> registro = installCourseRegistry(banco.server);
        banco.test.context().trasmissione().ServizioVordan =
            banco.server.url(QString::fromLatin1(CourseRegistryPath));
        registro->failAtCall(2, u"Percorso non valido"_s);
        QList<int> avanzamento;
        frmInet &finestra =
            banco.apri([&avanzamento](Context &context, const QString &proxy, const QString &porta,
                                      const std::function<void(int)> &avanza) {
                return InviaPercorsiVordan(context, proxy, porta, [&](int p) {
                    avanzamento.append(p);
                    avanza(p);
                });
            });
        banco.test.prompt.expect(u"Percorso non valido"_s);
        banco.test.prompt.expect(VordanFallita);
        press(&finestra, u"CmdVORDAN"_s);
        QCOMPARE(registro->calls(), 2);
        QCOMPARE(avanzamento, QList<int>{33});
        QCOMPARE(banco.test.prompt.shown().first().title, QString());
    }

    void anUnreachableRegistryGivesTheProxyHint()
    {
        BancoInet banco;
        banco.test.context().trasmissione().ServizioVordan =
            unreachableUrl(QString::fromLatin1(CourseRegistryPath));
        frmInet &finestra = banco.apri(InviaPercorsiVordan);
        banco.test.prompt.expect(u"Impossibile connettersi al servizio: "
                                 u"Impossibile stabilire la connessione con il server"_s);
        banco.test.prompt.expect(SuggerimentoProxy);
        press(&finestra, u"CmdVORDAN"_s);
        QVERIFY(banco.test.prompt.allShown());
    }
};

QTEST_MAIN(TestFrmInet)
#include "tst_frmInet.moc"
