#include "FakeServer.h"
#include "FakeServerServices.h"
#include "FixtureDatabase.h"
#include "TestContext.h"
#include "WindowTesting.h"
#include "core/config/IniFile.h"
#include "core/config/IniKeys.h"
#include "core/data/DataEnvironment.h"
#include "core/net/HttpTransfer.h"
#include "core/state/InstallationState.h"
#include "refdata/ScaricoCorsiApprovati.h"
#include "refdata/ui/FrmScaricoDB.h"

#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString SenzaOperatore = u"Selezionare un Operatore dal menù a tendina"_s;
const QString NonRiuscita = u"Autenticazione non riuscita"_s;
const QString ErroreConnessione =
    u"Errore di connessione al server. Si consiglia di riprovare in un secondo momento."_s;
const QString ConnessioneNonEffettuata =
    u"Connessione non effettuata \r\n"
    u"Controllare le impostazioni di connessione, dal menu Strumenti selezionare Opzioni Internet.\r\n"
    u"Selezionare Impostazioni dalla scheda Connessioni.Le impostazioni devono corrispondere a quelle "
    u"fornite "
    u"dall'amministratore della rete locale (LAN)\r\n"
    u"o dal provider di servizi Internet (ISP).\r\n"
    u"Se l 'opzione corrispondente è stata attivata dall'amministratore della rete, in Microsoft Windows \r\n"
    u"è possibile avviare l'analisi della rete e il rilevamento automatico delle impostazioni per la "
    u"connessione.\r\n"
    u"Per ulteriori informazioni, fare clic su Rileva impostazioni di rete.\r\n"
    u"Per alcuni siti è richiesta la protezione della connessione a 128 bit. \r\n"
    u"Scegliere Informazioni su Internet Explorer dal menu '?' per informazioni sul tipo di protezione "
    u"installato."_s;
const QString PassiAlternativi =
    u" - Aprire Google Chrome (o Mozilla Firefox se su questo  è correttametne installato il certificato "
    u"digitale),\r\n  - Connettersi all' URL che verrà indicato\r\n  - Copiare il codice temporaneo di "
    u"abilitazione e proseguire."_s;

const QByteArray Corsi = "CorsiApprovati.tx1\r\n#190001#,##,#A#,#12#\r\n#190002#,##,#A#,#12#\r\nEOF\r\n";

ScriptedReply pagina(const QByteArray &testo)
{
    ScriptedReply reply;
    reply.headers = {"Content-Type: text/html; charset=windows-1252"};
    reply.body = "<html><head><title>Accesso</title></head><body><p>" + testo + "</p></body></html>";
    return reply;
}

/**
 * A program folder with two operators in the registry and the INI file pointing the identity page and
 * the approved courses at a fake server; the download's shared state.
 */
struct Banco
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};
    FakeServer server;
    StatoScaricoCorsi stato;

    explicit Banco(bool operatori = true, QString corsi = {}, QString login = {})
    {
        withoutEnvironmentProxies();
        if (corsi.isEmpty())
            corsi = server.url(u"corsi/scarico.php"_s);
        if (login.isEmpty())
            login = server.url(u"albis/login.php"_s);
        test.writeFile(u"KX58TORVA.INI"_s, "[CONNESSIONE]\r\nSERVERCORSI=" + corsi.toLatin1() + "\r\nALBIS=" +
                                               login.toLatin1() + "\r\nNREG=http://127.0.0.1/nreg\r\n");
        Context &context = test.context();
        context.fileIni().setNomeFile(test.path(u"KX58TORVA.INI"_s));
        context.installazione().PercorsoDB = db.path();
        context.installazione().IndirizzoServer = u"http://127.0.0.1"_s;
        if (operatori) {
            db.insert(
                u"CorsiOper"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Denominazione"_s},
                {{u"B"_s, 7, u"ISTITUTO ROMAGNA LAVORO"_s}, {u"A"_s, 12, u"CENTRO FORMAZIONE EMILIA"_s}});
        }
        context.DE().CorsiDB().open(db.path(), Connection::Mode::Shared);
        server.reply("albis/login.php",
                     pagina("Risposta: OK;" + QByteArray(DemoAlbisId) + ";4711000000001;A123"));
        server.reply("corsi/scarico.php", ScriptedReply::text(Corsi));
    }

    /** Opens the window, chooses the operator at that place of the list and confirms once. */
    int scarica(int voce = 0, const std::function<void(QDialog &)> &durante = {})
    {
        int esito = -1;
        test.dialogRunner.expect(u"FrmScaricoDB"_s, [&](QDialog &finestra) {
            control<QComboBox>(&finestra, u"CmbOpe"_s)->setCurrentIndex(voce);
            if (durante)
                durante(finestra);
            press(&finestra, u"CmdConferma"_s);
            esito = finestra.result();
        });
        FrmScaricoDB::mostra(test.context(), stato);
        return esito;
    }

    /** Confirms the first operator; the alternative login window, when it opens, is driven by `alternativa`.
     */
    int scaricaConAlternativa(const std::function<void(QDialog &)> &alternativa)
    {
        int esito = -1;
        test.dialogRunner.expect(u"FrmScaricoDB"_s, [&](QDialog &finestra) {
            press(&finestra, u"CmdConferma"_s);
            esito = finestra.result();
        });
        test.dialogRunner.expect(u"frmMailAggAlbis2"_s, alternativa);
        FrmScaricoDB::mostra(test.context(), stato);
        return esito;
    }

    QList<RecordedRequest> richieste(const QByteArray &path) const
    {
        QList<RecordedRequest> result;
        for (const RecordedRequest &request : server.requests()) {
            if (request.path() == path)
                result.append(request);
        }
        return result;
    }
    bool esiste(const QString &name) const { return QFileInfo::exists(test.path(name)); }
};

} // namespace

class tst_FrmScaricoDB : public QObject
{
    Q_OBJECT

private slots:
    void operatoriPerGruppoENumero()
    {
        Banco banco;
        banco.test.writeFile(u"KX58TORVA.htm"_s, "<html></html>");
        banco.test.context().installazione().FileAiuto = u"KX58TORVA.htm"_s;
        banco.test.dialogRunner.expect(u"FrmScaricoDB"_s, [](QDialog &finestra) {
            QCOMPARE(finestra.windowTitle(), u"Scarico Corsi finanziati sulla Direttiva"_s);
            auto *lista = control<QComboBox>(&finestra, u"CmbOpe"_s);
            QCOMPARE(lista->count(), 2);
            QCOMPARE(lista->itemText(0), u"A - 12 - CENTRO FORMAZIONE EMILIA"_s);
            QCOMPARE(lista->itemText(1), u"B - 7 - ISTITUTO ROMAGNA LAVORO"_s);
            QCOMPARE(lista->currentIndex(), 0);
            QVERIFY(!control<QWidget>(&finestra, u"PanAttesa"_s)->isVisible());
            press(&finestra, u"CmdAiuto"_s);
            press(&finestra, u"CmdEsci"_s);
        });
        FrmScaricoDB::mostra(banco.test.context(), banco.stato);
        QCOMPARE(banco.test.help.topics, QList<int>{11000});
        QVERIFY(banco.server.requests().isEmpty());
    }

    void listaVuota()
    {
        Banco banco(false);
        banco.test.prompt.expect(SenzaOperatore);
        QCOMPARE(banco.scarica(), int(QDialog::Rejected));
        QCOMPARE(banco.test.prompt.shown().first().title, u"Scarico Dati"_s);
        QVERIFY(banco.server.requests().isEmpty());
    }

    void scaricoRiuscito()
    {
        Banco banco;
        QCOMPARE(banco.scarica(1), int(QDialog::Accepted));
        QVERIFY(banco.test.prompt.shown().isEmpty());
        QCOMPARE(banco.stato.GrupOpeScarico, u"B"_s);
        QCOMPARE(banco.stato.OperatoreScarico, 7);
        // A token of the login page serves this download only.
        QVERIFY(banco.stato.IdAlbis.isEmpty());

        const QByteArray corpo = "gruppo=B&codice=7&albis_id=" + QByteArray(DemoAlbisId);
        const QList<RecordedRequest> corsi = banco.richieste("corsi/scarico.php");
        QCOMPARE(corsi.size(), 1);
        QCOMPARE(corsi[0].requestLine, QByteArray("POST /corsi/scarico.php HTTP/1.1"));
        QCOMPARE(corsi[0].headerLines,
                 (QList<QByteArray>{"Host: 127.0.0.1:" + QByteArray::number(banco.server.port()),
                                    "Content-Type: application/x-www-form-urlencoded",
                                    "Proxy-Connection: Keep-Alive", "HTTP: Protocol Version = HTTP/1.1 ",
                                    "Content-Length: " + QByteArray::number(corpo.size())}));
        QCOMPARE(corsi[0].body, corpo);
        QVERIFY(!corsi[0].hasHeader("Authorization"));

        QCOMPARE(banco.test.readFile(u"CorsiApprovati.tx1"_s),
                 QByteArray("#190001#,##,#A#,#12#\r\n#190002#,##,#A#,#12#\r\n"));
        QVERIFY(!banco.esiste(u"$tmpDenOp.tx1"_s));
    }

    void avanzamentoEStatoAllaFine()
    {
        Banco banco;
        // A reply of several pieces fills the bar.
        QByteArray corsi = "CorsiApprovati.tx1\r\n";
        for (int i = 0; i < 80; ++i)
            corsi += '#' + QByteArray(60, 'x') + "#\r\n";
        banco.server.reply("corsi/scarico.php", ScriptedReply::text(corsi + "EOF\r\n"));
        QLabel *stato = nullptr;
        QProgressBar *barra = nullptr;
        banco.test.dialogRunner.expect(u"FrmScaricoDB"_s, [&](QDialog &finestra) {
            stato = control<QLabel>(&finestra, u"LblInf2"_s);
            barra = control<QProgressBar>(&finestra, u"PrgBar"_s);
            QList<int> valori;
            QObject::connect(barra, &QProgressBar::valueChanged, barra,
                             [&valori](int v) { valori.append(v); });
            press(&finestra, u"CmdConferma"_s);
            QCOMPARE(valori.mid(0, 2), (QList<int>{1, 2}));
            QCOMPARE(valori.last(), barra->maximum());
            QCOMPARE(stato->text(), u"Elaborazione dati scaricati completata."_s);
        });
        FrmScaricoDB::mostra(banco.test.context(), banco.stato);
    }

    void theDisconnectionIsShownBeforeTheReplyIsRead()
    {
        Banco banco;
        QString testoAllaLettura;
        banco.test.dialogRunner.expect(u"FrmScaricoDB"_s, [&](QDialog &finestra) {
            QLabel *stato = control<QLabel>(&finestra, u"LblInf2"_s);
            QProgressBar *barra = control<QProgressBar>(&finestra, u"PrgBar"_s);
            QObject::connect(barra, &QProgressBar::valueChanged, barra, [&](int) {
                if (testoAllaLettura.isEmpty())
                    testoAllaLettura = stato->text();
            });
            press(&finestra, u"CmdConferma"_s);
        });
        FrmScaricoDB::mostra(banco.test.context(), banco.stato);
        QCOMPARE(testoAllaLettura, u"Disconnessione dal Server ... "_s);
    }

    void idAlbisRiusatoSenzaLogin()
    {
        Banco banco;
        banco.stato.IdAlbis = u"999"_s;
        banco.server.route("corsi/scarico.php", [](const RecordedRequest &request) {
            return ScriptedReply::text(request.body.endsWith("albis_id=999") ? Corsi : "ERRORE: token");
        });
        QCOMPARE(banco.scarica(), int(QDialog::Accepted));
        QVERIFY(banco.richieste("albis/login.php").isEmpty());
        QCOMPARE(banco.stato.IdAlbis, u"999"_s);
    }

    void tokenNormaleUsatoUnaVolta()
    {
        Banco banco;
        QCOMPARE(banco.scarica(), int(QDialog::Accepted));
        QCOMPARE(banco.scarica(), int(QDialog::Accepted));
        QCOMPARE(banco.richieste("albis/login.php").size(), 2);
        QCOMPARE(banco.richieste("albis/login.php")[0].method(), QByteArray("GET"));
    }

    void markerInMinuscolo()
    {
        Banco banco;
        banco.server.reply("albis/login.php", pagina("risposta: ok; 12345 ;x"));
        QCOMPARE(banco.scarica(), int(QDialog::Accepted));
        QVERIFY(banco.richieste("corsi/scarico.php")[0].body.endsWith("&albis_id=12345"));
    }

    void loginSenzaToken_data()
    {
        QTest::addColumn<QByteArray>("testo");
        QTest::newRow("page without OK") << QByteArray("Accesso negato");
        QTest::newRow("OK without a token") << QByteArray("RISPOSTA: OK");
    }
    void loginSenzaToken()
    {
        QFETCH(QByteArray, testo);
        Banco banco;
        banco.test.writeFile(u"CorsiApprovati.tx1"_s, "#vecchio#\r\n");
        banco.server.reply("albis/login.php", pagina(testo));
        banco.test.prompt.expect(NonRiuscita);
        QCOMPARE(banco.scarica(1), int(QDialog::Rejected));
        QCOMPARE(banco.test.prompt.shown().first().title,
                 u"Corsi Approvati e Finanziati - Scarico/Aggiornamento"_s);
        QVERIFY(banco.richieste("corsi/scarico.php").isEmpty());
        // The operator of the attempt stays; the file of an earlier download too.
        QCOMPARE(banco.stato.GrupOpeScarico, u"B"_s);
        QCOMPARE(banco.stato.OperatoreScarico, 7);
        QCOMPARE(banco.test.readFile(u"CorsiApprovati.tx1"_s), QByteArray("#vecchio#\r\n"));
    }

    void paginaIrraggiungibile_data()
    {
        QTest::addColumn<int>("caso");
        QTest::newRow("no server") << 0;
        QTest::newRow("status 404") << 1;
        QTest::newRow("a browser's page for an unreachable address") << 2;
    }
    void paginaIrraggiungibile()
    {
        QFETCH(int, caso);
        Banco banco(true, {}, caso == 0 ? u"http://127.0.0.1:1/albis/login.php"_s : QString());
        if (caso == 1)
            banco.server.reply("albis/login.php", ScriptedReply::text("Not found", 404));
        if (caso == 2)
            banco.server.reply("albis/login.php", pagina("Impossibile visualizzare la pagina"));
        banco.test.prompt.expect(ConnessioneNonEffettuata);
        banco.test.prompt.expect(PassiAlternativi, Prompt::Answer::Retry);
        QString indirizzoMostrato;
        banco.test.dialogRunner.expect(u"FrmScaricoDB"_s, [&](QDialog &finestra) {
            press(&finestra, u"CmdConferma"_s);
            QCOMPARE(finestra.result(), int(QDialog::Accepted));
        });
        banco.test.dialogRunner.expect(u"frmMailAggAlbis2"_s, [&](QDialog &alternativa) {
            // Confirm waits while the login runs; exit would stop it.
            auto *padre = qobject_cast<QWidget *>(alternativa.parent());
            QVERIFY(!control<QWidget>(padre, u"CmdConferma"_s)->isEnabled());
            QVERIFY(control<QWidget>(padre, u"CmdEsci"_s)->isEnabled());
            indirizzoMostrato = control<QLineEdit>(&alternativa, u"txtEMail"_s)->text();
            control<QPlainTextEdit>(&alternativa, u"TxtRisposta"_s)
                ->setPlainText(u"Risposta: OK;"_s + QLatin1StringView(DemoAlbisId) + u";1;A123"_s);
            press(&alternativa, u"imgConferma"_s);
        });
        FrmScaricoDB::mostra(banco.test.context(), banco.stato);
        QVERIFY(banco.test.dialogRunner.allRun());
        QCOMPARE(indirizzoMostrato, banco.test.context().fileIni().Leggi(IniKeys::Albis));
        QCOMPARE(banco.test.prompt.shown()[0].title, u"KX58TORVA"_s);
        QCOMPARE(banco.test.prompt.shown()[1].title, u"Modalità di autenticazione alternativa."_s);
        QCOMPARE(banco.test.prompt.shown()[1].buttons, Prompt::Buttons::CancelRetryContinue);
        QCOMPARE(banco.stato.IdAlbis, QString::fromLatin1(DemoAlbisId));

        // The token of the alternative login serves the next download without a login.
        const qsizetype login = banco.richieste("albis/login.php").size();
        QCOMPARE(banco.scarica(), int(QDialog::Accepted));
        QCOMPARE(banco.richieste("albis/login.php").size(), login);
        QCOMPARE(banco.richieste("corsi/scarico.php").size(), 2);
    }

    void alternativaChiusaSenzaConferma()
    {
        Banco banco;
        banco.server.reply("albis/login.php", pagina("Non riesco a visualizzare questa pagina"));
        banco.test.prompt.expect(ConnessioneNonEffettuata);
        banco.test.prompt.expect(PassiAlternativi, Prompt::Answer::Cancel);
        banco.test.prompt.expect(NonRiuscita);
        QCOMPARE(banco.scaricaConAlternativa([](QDialog &alternativa) { alternativa.reject(); }),
                 int(QDialog::Rejected));
        QVERIFY(banco.stato.IdAlbis.isEmpty());
        QVERIFY(banco.richieste("corsi/scarico.php").isEmpty());
    }

    void alternativaSenzaOk()
    {
        Banco banco;
        banco.stato.IdAlbis.clear();
        banco.server.reply("albis/login.php", pagina("Impossibile visualizzare la pagina"));
        banco.test.prompt.expect(ConnessioneNonEffettuata);
        banco.test.prompt.expect(PassiAlternativi);
        banco.test.prompt.expect(NonRiuscita);
        QCOMPARE(banco.scaricaConAlternativa([](QDialog &alternativa) {
            control<QPlainTextEdit>(&alternativa, u"TxtRisposta"_s)->setPlainText(u"Risposta: OK"_s);
            press(&alternativa, u"imgConferma"_s);
        }),
                 int(QDialog::Rejected));
        QVERIFY(banco.stato.IdAlbis.isEmpty());
    }

    void erroreDelServerInMaiuscoleEMinuscole()
    {
        Banco banco;
        banco.server.reply("corsi/scarico.php", ScriptedReply::text("Operazione: ErRoRe nei dati richiesti"));
        banco.test.prompt.expect(u"ErRoRe nei dati richiesti"_s);
        QCOMPARE(banco.scarica(), int(QDialog::Rejected));
        QCOMPARE(banco.test.prompt.shown().first().title, u"SCARICO DB"_s);
        QVERIFY(!banco.esiste(u"CorsiApprovati.tx1"_s));
        QCOMPARE(banco.stato.GrupOpeScarico, u"A"_s);
        QCOMPARE(banco.stato.OperatoreScarico, 12);
    }

    void paginaHtmlRifiutata()
    {
        Banco banco;
        ScriptedReply reply = pagina("<h1>Internal Server Error</h1>");
        reply.status = 500;
        banco.server.reply("corsi/scarico.php", reply);
        banco.test.prompt.expect(
            u"Si è verificato un errore sul server http://127.0.0.1 (servizio: corsi/scarico.php), cliccando "
            u"su OK "
            u"il sistema cercherà di visualizzare ulteriori informazioni sull'errore. Contattare il servizio "
            u"assistenza TUZ riportando questo messaggio e le informazioni visualizzate"_s);
        QCOMPARE(banco.scarica(), int(QDialog::Rejected));
        QVERIFY(!banco.esiste(u"CorsiApprovati.tx1"_s));
        QVERIFY(!banco.esiste(u"$tmpDenOp.tx1"_s));
        QCOMPARE(banco.test.urlOpener.urls,
                 QList<QUrl>{QUrl::fromLocalFile(banco.test.path(u"ErrServer.html"_s))});
        QCOMPARE(banco.test.readFile(u"ErrServer.html"_s), reply.body + "\r\n");
    }

    void erroreSenzaHtml()
    {
        Banco banco;
        banco.server.reply("corsi/scarico.php", ScriptedReply::text(Corsi, 503));
        banco.test.prompt.expect(
            u"Operazione non riuscita (servizio: corsi/scarico.php). Il server ha restituito "
            u"il seguente messaggio di errore: \r\n\r\n"_s +
            QString::fromLatin1(Corsi) +
            u"\r\n\r\nControllare i dati immessi e ritentare l'operazione, oppure contattare "
            u"il servizio di assistenza TUZ riportando questo messaggio."_s);
        QCOMPARE(banco.scarica(), int(QDialog::Rejected));
        QVERIFY(!banco.esiste(u"CorsiApprovati.tx1"_s));
    }

    void pacchettoRifiutato()
    {
        Banco banco;
        const QByteArray risposta = Corsi + "..\\oper.tx1\r\n#1#\r\n";
        banco.server.reply("corsi/scarico.php", ScriptedReply::text(risposta));
        banco.test.prompt.expect(
            u"Operazione non riuscita (servizio: corsi/scarico.php). Il server ha restituito "
            u"il seguente messaggio di errore: \r\n\r\n"_s +
            QString::fromLatin1(risposta) +
            u"\r\n\r\nControllare i dati immessi e ritentare l'operazione, oppure contattare "
            u"il servizio di assistenza TUZ riportando questo messaggio."_s);
        QCOMPARE(banco.scarica(), int(QDialog::Rejected));
        QVERIFY(!banco.esiste(u"CorsiApprovati.tx1"_s));
        QVERIFY(!banco.esiste(u"$tmpDenOp.tx1"_s));
    }

    void erroriDiTrasferimento_data()
    {
        QTest::addColumn<int>("codice");
        QTest::newRow("name not resolved") << int(TransferError::NameNotResolved);
        QTest::newRow("certificate not verified") << int(TransferError::CertificateNotVerified);
    }
    void erroriDiTrasferimento()
    {
        QFETCH(int, codice);
        FakeServer sicuro(FakeServer::Tls::Untrusted);
        const QString indirizzo = codice == TransferError::NameNotResolved
                                      ? u"http://server.invalid/corsi/scarico.php"_s
                                      : sicuro.url(u"corsi/scarico.php"_s);
        Banco banco(true, indirizzo);
        QString testo = u"Si è verificato un errore in trasmissione, "_s + QString::number(codice) +
                        u" : "_s + transferErrorDescription(codice);
        if (codice == TransferError::NameNotResolved) {
            testo += u"\r\nProvare a cambiare le impostazioni del server Proxy tramite il tasto "
                     u"'Impostazioni'.\r\n"
                     u"Se dovesse continuare a non funzionare, provare ad annullare l'operazione, riavviare "
                     u"l'applicativo richiamandolo dal menù PROGRAMMI di Windows."_s;
        } else {
            testo +=
                u"\r\n\r\nE' necessario installare il certificato di autorizzazione per l'accesso al server "
                u"sicuro 127.0.0.1.\r\nPer procedere alla reinstallazione, cercare nel sistema il file "
                u"CA_ROOT.DER ed eseguire un doppio click su di esso.\r\nSe il file è assente dal sistema, "
                u"contattare il servizio assistenza"_s;
        }
        banco.test.prompt.expect(testo);
        if (codice == TransferError::NameNotResolved)
            banco.test.prompt.expect(ErroreConnessione);
        QCOMPARE(banco.scarica(), int(QDialog::Rejected));
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().first().title, u"Errore di trasmissione"_s);
        QVERIFY(!banco.esiste(u"CorsiApprovati.tx1"_s));
    }

    void confermaEUscitaBloccateDuranteLaRichiesta()
    {
        Banco banco;
        ScriptedReply lenta = ScriptedReply::text(Corsi);
        lenta.delayMs = 400;
        banco.server.reply("corsi/scarico.php", lenta);
        bool controllato = false;
        banco.scarica(0, [&](QDialog &finestra) {
            QTimer::singleShot(200, &finestra, [&] {
                QVERIFY(!control<QWidget>(&finestra, u"CmdConferma"_s)->isEnabled());
                QVERIFY(control<QWidget>(&finestra, u"CmdEsci"_s)->isEnabled());
                QVERIFY(control<QWidget>(&finestra, u"PanAttesa"_s)->isVisible());
                finestra.reject();
                finestra.close();
                QVERIFY(finestra.isVisible());
                controllato = true;
            });
        });
        QVERIFY(controllato);
        QVERIFY(banco.esiste(u"CorsiApprovati.tx1"_s));
    }

    void exitStopsADownloadThatTricklesInAndWritesNothing()
    {
        Banco banco;
        ScriptedReply goccia = ScriptedReply::text(Corsi);
        goccia.dripIntervalMs = 1000;
        banco.server.reply("corsi/scarico.php", goccia);
        bool aperta = false;
        QElapsedTimer tempo;
        banco.test.dialogRunner.expect(u"FrmScaricoDB"_s, [&](QDialog &finestra) {
            QTimer::singleShot(1500, &finestra, [&] { press(&finestra, u"CmdEsci"_s); });
            tempo.start();
            press(&finestra, u"CmdConferma"_s);
            QVERIFY(tempo.elapsed() < 5000);
            aperta = finestra.isVisible();
            QVERIFY(control<QWidget>(&finestra, u"CmdConferma"_s)->isEnabled());
            QVERIFY(!control<QWidget>(&finestra, u"PanAttesa"_s)->isVisible());
        });
        FrmScaricoDB::mostra(banco.test.context(), banco.stato);
        QVERIFY(aperta);
        QVERIFY(banco.test.prompt.shown().isEmpty());
        QVERIFY(!banco.esiste(u"CorsiApprovati.tx1"_s));
    }

    void theLoginFollowsUpToFiveRedirects_data()
    {
        QTest::addColumn<int>("reindirizzamenti");
        QTest::addColumn<bool>("ciclo");
        QTest::addColumn<bool>("raggiunta");
        QTest::newRow("one, from http to https") << 1 << false << true;
        QTest::newRow("five") << 5 << false << true;
        QTest::newRow("six") << 6 << false << false;
        QTest::newRow("a loop") << 2 << true << false;
    }

    void theLoginFollowsUpToFiveRedirects()
    {
        QFETCH(int, reindirizzamenti);
        QFETCH(bool, ciclo);
        QFETCH(bool, raggiunta);
        FakeServer sicuro(FakeServer::Tls::Trusted);
        sicuro.reply("albis/pagina.php", pagina("Risposta: OK;" + QByteArray(DemoAlbisId) + ";1;A123"));
        Banco banco(true, {}, {});
        QVERIFY(
            QFile::copy(QStringLiteral(KX_TEST_DATA "/net/CA_ROOT.DER"), banco.test.path(u"CA_ROOT.DER"_s)));
        // albis/login.php -> albis/r1 -> ... -> the page on the https server, or back to the start.
        for (int i = 0; i < reindirizzamenti; ++i) {
            const QByteArray da = i == 0 ? QByteArray("albis/login.php") : "albis/r" + QByteArray::number(i);
            const QString verso = i + 1 < reindirizzamenti
                                      ? banco.server.url(u"albis/r"_s + QString::number(i + 1))
                                  : ciclo ? banco.server.url(u"albis/login.php"_s)
                                          : sicuro.url(u"albis/pagina.php"_s);
            ScriptedReply altrove;
            altrove.status = 302;
            altrove.headers = {"Location: " + verso.toLatin1()};
            banco.server.reply(da, altrove);
        }
        if (raggiunta) {
            QCOMPARE(banco.scarica(), int(QDialog::Accepted));
            const QByteArray atteso = "&albis_id=" + QByteArray(DemoAlbisId);
            QVERIFY(banco.richieste("corsi/scarico.php")[0].body.endsWith(atteso));
            return;
        }
        banco.test.prompt.expect(ConnessioneNonEffettuata);
        banco.test.prompt.expect(PassiAlternativi, Prompt::Answer::Cancel);
        banco.test.prompt.expect(NonRiuscita);
        QCOMPARE(banco.scaricaConAlternativa([](QDialog &alternativa) { alternativa.reject(); }),
                 int(QDialog::Rejected));
        QVERIFY(sicuro.requests().isEmpty());
        QVERIFY(banco.richieste("corsi/scarico.php").isEmpty());
    }
};

QTEST_MAIN(tst_FrmScaricoDB)
#include "tst_FrmScaricoDB.moc"
