#include "FakeServer.h"
#include "FakeServerServices.h"
#include "FixtureDatabase.h"
#include "TestContext.h"
#include "WindowTesting.h"
#include "core/config/IniFile.h"
#include "core/config/IniKeys.h"
#include "core/config/UserSettings.h"
#include "core/data/DataEnvironment.h"
#include "core/net/HttpTransfer.h"
#include "core/state/InstallationState.h"
#include "core/state/StartupHooks.h"
#include "core/text/Cp1252.h"
#include "core/ui/Griglia.h"
#include "refdata/ui/InstallaAnagraficheUi.h"
#include "refdata/ui/frmConferma.h"
#include "refdata/ui/frmInstOper.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Servizio = u"anagrafe/scarico.php"_s;
const QString TitoloErroreServer = u"Errore restituito dal Server"_s;

QString erroreServer(const QString &risposta)
{
    return u"Operazione non riuscita (servizio: "_s + Servizio +
           u"). Il server ha restituito il seguente messaggio di errore: \r\n\r\n"_s + risposta +
           u"\r\n\r\nControllare i dati immessi e ritentare l'operazione, oppure contattare il servizio di "
           u"assistenza TUZ riportando questo messaggio."_s;
}

QStringList campiOper(const QString &gruppo, const QString &numero, const QString &nome)
{
    return {gruppo,           numero,           nome,         u"01"_s,  u"01234560377"_s,
            u"01234560377"_s, u"Rossi Mario"_s, u"Bologna"_s, u"BO"_s,  u"01021960"_s,
            u"BO"_s,          u"1234567"_s,     u"1990"_s,    u"8042"_s};
}

/** A bundle of the four files, with the operator records given. */
QByteArray pacchetto(const QList<QStringList> &oper,
                     const QStringList &nomi = {u"oper.tx1"_s, u"compo.tx1"_s, u"sediocc.tx1"_s,
                                                u"sediutil.tx1"_s})
{
    QList<BundleFile> files;
    for (const QString &nome : nomi)
        files.append({nome, {}});
    files[0].records = oper;
    if (files.size() > 1)
        files[1].records = {{u"A"_s, u"12"_s, u"1"_s, u"SL"_s, u"Sede legale"_s}};
    return downloadBundle(files);
}

/** A program folder whose INI file sends the operator download to a fake server, and the window on it. */
struct Banco
{
    FakeServer server;
    TestContext test;
    QList<QByteArray> risposte;
    int ritardoMs = 0;
    std::unique_ptr<frmInstOper> finestra;

    explicit Banco(const QString &indirizzo = {})
    {
        test.writeFile(u"KX58TORVA.INI"_s,
                       "[CONNESSIONE]\r\nAGGIORNADB=" +
                           (indirizzo.isEmpty() ? server.url(Servizio) : indirizzo).toLatin1() + "\r\n");
        test.context().fileIni().setNomeFile(test.path(u"KX58TORVA.INI"_s));
        test.context().installazione().CredenzialeServer = u"utente:segreta@"_s;
        test.context().installazione().IndirizzoServer = u"http://127.0.0.1"_s;
        server.route(Servizio.toLatin1(), [this](const RecordedRequest &) {
            ScriptedReply reply =
                ScriptedReply::text(risposte.isEmpty() ? QByteArray() : risposte.takeFirst());
            reply.delayMs = ritardoMs;
            return reply;
        });
        apri();
    }

    void apri()
    {
        finestra = std::make_unique<frmInstOper>(test.context());
        finestra->show();
    }

    template<typename T = QWidget> T *c(const QString &name) { return control<T>(finestra.get(), name); }
    QListWidget *elenco() { return c<QListWidget>(u"LstElenco"_s); }

    void inserisci(const QString &gruppo, const QString &operatore)
    {
        QTest::keyClicks(c<QLineEdit>(u"TxtGrup"_s), gruppo);
        c<QLineEdit>(u"TxtOper"_s)->setText(operatore);
        press(finestra.get(), u"CmdIns"_s);
    }

    /** Sends the list; the confirmation window, when it comes, is handed to `conferma`. */
    void conferma(const std::function<void(QDialog &)> &conferma = {})
    {
        if (conferma)
            test.dialogRunner.expect(u"frmConferma"_s, conferma);
        press(finestra.get(), u"cmdConferma"_s);
    }

    QStringList fileTx1() const
    {
        QStringList names = QDir(test.folder()).entryList({u"*.tx1"_s, u"*.TX1"_s}, QDir::Files, QDir::Name);
        names.removeDuplicates();
        return names;
    }
};

/** The start-up window, unseen. */
struct AvvioMuto final : ProgressoAvvio
{
    void mostra(const QString &, const QString &) override {}
    void file(const QString &) override {}
    void tabella(const QString &) override {}
    void record(const QString &) override {}
};

} // namespace

class TestFrmInstOper : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { withoutEnvironmentProxies(); }

    void loadsWithItsTextsAndAnEmptyOutcome()
    {
        Banco banco;
        banco.test.context().installazione().EsitoInstOper = u"annulla"_s;
        banco.apri();
        QCOMPARE(banco.test.context().installazione().EsitoInstOper, QString());
        QCOMPARE(banco.finestra->windowTitle(), QString(53, u' ') + u"Selezione Operatori"_s);
        QCOMPARE(
            banco.c<QLabel>(u"Label2"_s)->text(),
            u"ATTENZIONE:\nSono abilitati allo scarico della base dati tutti gli operatori appartenenti ai "
            u"gruppi A, B, C"_s);
        QCOMPARE(banco.c<QLineEdit>(u"TxtGrup"_s)->maxLength(), 1);
        QCOMPARE(banco.c<QLineEdit>(u"TxtOper"_s)->maxLength(), 5);
    }

    void helpTopicFollowsTheInstallation_data()
    {
        QTest::addColumn<bool>("inCorso");
        QTest::addColumn<int>("topic");
        QTest::newRow("first installation") << true << 15000;
        QTest::newRow("registry update") << false << 18000;
    }

    void helpTopicFollowsTheInstallation()
    {
        QFETCH(bool, inCorso);
        QFETCH(int, topic);
        Banco banco;
        banco.test.writeFile(u"KX58TORVA.htm"_s, "<html></html>");
        banco.test.context().installazione().FileAiuto = u"KX58TORVA.htm"_s;
        banco.test.context().installazione().InstallazioneInCorso = inCorso;
        banco.apri();
        QVERIFY(QTest::qWaitForWindowActive(banco.finestra.get()));
        QTest::keyClick(banco.finestra.get(), Qt::Key_F1);
        QCOMPARE(banco.test.help.topics, QList<int>{topic});
    }

    void theListHoldsAtMost150Operators()
    {
        Banco banco;
        for (int i = 1; i <= 150; ++i)
            banco.inserisci(u"A"_s, QString::number(i));
        QCOMPARE(banco.elenco()->count(), 150);

        banco.test.prompt.expect(
            u"E' stato raggiunto il limite massimo di aziende scaricabili da Internet"_s);
        banco.inserisci(u"B"_s, u"151"_s);
        QCOMPARE(banco.elenco()->count(), 150);
        QCOMPARE(banco.test.prompt.shown().back().title, u"Attenzione"_s);
        QCOMPARE(banco.test.prompt.shown().back().icon, Prompt::Icon::Information);
        QCOMPARE(banco.c<QLineEdit>(u"TxtGrup"_s)->text(), u"B"_s);
        QCOMPARE(banco.c<QLineEdit>(u"TxtOper"_s)->text(), u"151"_s);
    }

    void aDuplicateIsAddedOnceAndTheInputsEmptied()
    {
        Banco banco;
        banco.inserisci(u"A"_s, u"12"_s);
        banco.inserisci(u"A"_s, u"12"_s);
        QCOMPARE(banco.elenco()->count(), 1);
        QCOMPARE(banco.c<QLineEdit>(u"TxtGrup"_s)->text(), QString());
        QCOMPARE(banco.c<QLineEdit>(u"TxtOper"_s)->text(), QString());
        bool trovato = false;
        banco.finestra->TrovaDoppi(u"A      -    12"_s, trovato);
        QVERIFY(trovato);
        banco.finestra->TrovaDoppi(u"a      -    12"_s, trovato);
        QVERIFY(!trovato);
    }

    void aGroupTypedInSmallLettersIsStoredInCapitals()
    {
        Banco banco;
        banco.inserisci(u"b"_s, u"7"_s);
        QCOMPARE(banco.elenco()->item(0)->text(), u"B      -     7"_s);
    }

    void withoutAGroupNothingIsAdded()
    {
        Banco banco;
        banco.inserisci(QString(), u"7"_s);
        QCOMPARE(banco.elenco()->count(), 0);
        QCOMPARE(banco.c<QLineEdit>(u"TxtOper"_s)->text(), u"7"_s);
    }

    void enterInTheNumberInserts()
    {
        Banco banco;
        QTest::keyClicks(banco.c<QLineEdit>(u"TxtGrup"_s), u"c"_s);
        QTest::keyClicks(banco.c<QLineEdit>(u"TxtOper"_s), u"42"_s);
        QTest::keyClick(banco.c<QLineEdit>(u"TxtOper"_s), Qt::Key_Return);
        QCOMPARE(banco.elenco()->count(), 1);
        QCOMPARE(banco.elenco()->item(0)->text(), u"C      -    42"_s);
    }

    void aClickCopiesTheItemAndCancellaRemovesIt()
    {
        Banco banco;
        banco.inserisci(u"A"_s, u"12"_s);
        banco.inserisci(u"B"_s, u"7"_s);
        QListWidget *elenco = banco.elenco();
        press(banco.finestra.get(), u"CmdCanc"_s);
        QCOMPARE(elenco->count(), 2);

        const QRect primo = elenco->visualItemRect(elenco->item(0));
        QTest::mouseClick(elenco->viewport(), Qt::LeftButton, {}, primo.center());
        QCOMPARE(banco.c<QLineEdit>(u"TxtGrup"_s)->text(), u"A"_s);
        QCOMPARE(banco.c<QLineEdit>(u"TxtOper"_s)->text(), u"   12"_s);

        // Inserted at once, the number field keeps its blanks and makes a second item.
        press(banco.finestra.get(), u"CmdIns"_s);
        QCOMPARE(elenco->item(2)->text(), u"A      -       12"_s);

        QTest::mouseClick(elenco->viewport(), Qt::LeftButton, {}, primo.center());
        press(banco.finestra.get(), u"CmdCanc"_s);
        QCOMPARE(elenco->count(), 2);
        QCOMPARE(elenco->item(0)->text(), u"B      -     7"_s);
        QCOMPARE(banco.c<QLineEdit>(u"TxtGrup"_s)->text(), QString());
    }

    void anEmptyListSendsNothing()
    {
        Banco banco;
        banco.test.prompt.expect(u"E' necessario imputare almeno un Operatore."_s);
        banco.conferma();
        QCOMPARE(banco.test.prompt.shown().back().title, QString());
        QCOMPARE(banco.test.prompt.shown().back().icon, Prompt::Icon::Critical);
        QVERIFY(banco.server.requests().isEmpty());
    }

    void sendsTheListByteForByte()
    {
        Banco banco;
        banco.inserisci(u"A"_s, u"12"_s);
        banco.inserisci(u"B"_s, u"7"_s);
        banco.risposte = {pacchetto({campiOper(u"A"_s, u"12"_s, u"Centro"_s)})};
        banco.conferma([](QDialog &conferma) { press(&conferma, u"cmdAnnulla"_s); });

        const RecordedRequest request = banco.server.requests().value(0);
        QCOMPARE(request.requestLine, "POST /" + Servizio.toLatin1() + " HTTP/1.1");
        QCOMPARE(request.body, QByteArray("g=A&c=12&g=B&c=7"));
        QCOMPARE(request.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
        QCOMPARE(request.header("Proxy-Connection"), QByteArray("Keep-Alive"));
        QCOMPARE(request.header("Authorization"), "Basic " + QByteArray("utente:segreta").toBase64());
        QCOMPARE(banco.elenco()->count(), 2);
    }

    void theFourFilesHoldTheReplyInCapitals()
    {
        Banco banco;
        banco.inserisci(u"A"_s, u"12"_s);
        const QList<QStringList> oper{campiOper(u"A"_s, u"12"_s, u"Centro Straße àè"_s),
                                      campiOper(u"b"_s, u"7"_s, u"posta@esempio.it"_s)};
        banco.risposte = {pacchetto(oper)};
        QMap<QString, QByteArray> scritti;
        banco.conferma([&](QDialog &conferma) {
            for (const QString &name : banco.fileTx1())
                scritti.insert(name, banco.test.readFile(name));
            control<QLineEdit>(&conferma, u"txtEMail"_s)->setText(u"mario.rossi@esempio.it"_s);
            press(&conferma, u"cmdConferma"_s);
        });

        const QByteArray operAtteso = Cp1252::encode(
            u"#A#,#12#,#CENTRO STRAßE ÀÈ#,#01#,#01234560377#,#01234560377#,#ROSSI MARIO#,#BOLOGNA#,"
            u"#BO#,#01021960#,#BO#,#1234567#,#1990#,#8042#\r\n"
            u"#B#,#7#,#POSTA@ESEMPIO.IT#,#01#,#01234560377#,#01234560377#,#ROSSI MARIO#,#BOLOGNA#,"
            u"#BO#,#01021960#,#BO#,#1234567#,#1990#,#8042#\r\n"_s);
        QCOMPARE(scritti.keys(),
                 (QStringList{u"COMPO.TX1"_s, u"OPER.TX1"_s, u"SEDIOCC.TX1"_s, u"SEDIUTIL.TX1"_s}));
        QCOMPARE(scritti.value(u"OPER.TX1"_s), operAtteso);
        QCOMPARE(scritti.value(u"COMPO.TX1"_s), QByteArray("#A#,#12#,#1#,#SL#,#SEDE LEGALE#\r\n"));
        QCOMPARE(scritti.value(u"SEDIOCC.TX1"_s), QByteArray());
        QVERIFY(!QFileInfo::exists(banco.test.path(u"$tmpDenOp.tx1"_s)));

        // A valid address closes both windows and leaves the files for the installation.
        QCOMPARE(banco.finestra->result(), int(QDialog::Accepted));
        QVERIFY(!banco.finestra->isVisible());
        QCOMPARE(banco.test.context().installazione().EsitoInstOper, QString());
        QCOMPARE(banco.test.context().userSettings().value(UserKeys::EMail, QString()),
                 u"mario.rossi@esempio.it"_s);
        QCOMPARE(banco.fileTx1().size(), 4);
    }

    void repliesAreJudgedByTheirFourFiles_data()
    {
        QTest::addColumn<QByteArray>("risposta");
        QTest::addColumn<bool>("accettata");
        const QList<QStringList> oper{campiOper(u"A"_s, u"12"_s, u"Centro"_s)};
        QTest::newRow("four") << pacchetto(oper) << true;
        QTest::newRow("three") << pacchetto(oper, {u"oper.tx1"_s, u"compo.tx1"_s, u"sediocc.tx1"_s}) << false;
        QTest::newRow("five") << pacchetto(oper, {u"oper.tx1"_s, u"compo.tx1"_s, u"sediocc.tx1"_s,
                                                  u"sediutil.tx1"_s, u"CorsiApprovati.tx1"_s})
                              << false;
        QTest::newRow("capitals") << pacchetto(oper, {u"OPER.TX1"_s, u"COMPO.TX1"_s, u"SEDIOCC.TX1"_s,
                                                      u"SEDIUTIL.TX1"_s})
                                  << true;
        QTest::newRow("errore in small letters")
            << pacchetto({campiOper(u"A"_s, u"12"_s, u"errore di battitura"_s)}) << true;
        QTest::newRow("ERRORE") << pacchetto({campiOper(u"A"_s, u"12"_s, u"ERRORE"_s)}) << false;
    }

    void repliesAreJudgedByTheirFourFiles()
    {
        QFETCH(QByteArray, risposta);
        QFETCH(bool, accettata);
        Banco banco;
        banco.inserisci(u"A"_s, u"12"_s);
        banco.risposte = {risposta};
        bool confermata = false;
        if (accettata) {
            banco.conferma([&](QDialog &conferma) {
                confermata = true;
                press(&conferma, u"cmdAnnulla"_s);
            });
        } else {
            banco.test.prompt.expect(erroreServer(Cp1252::decode(risposta)));
            banco.conferma();
            QCOMPARE(banco.test.prompt.shown().back().title, TitoloErroreServer);
            QVERIFY(banco.fileTx1().isEmpty());
        }
        QCOMPARE(confermata, accettata);
        QVERIFY(banco.finestra->isVisible());
        QVERIFY(banco.c<QWidget>(u"cmdConferma"_s)->isEnabled());
        QVERIFY(banco.c<QWidget>(u"cmdAnnulla"_s)->isEnabled());
        QCOMPARE(banco.elenco()->count(), 1);
    }

    void aBundleThatCannotMakeARegistryLeavesNothing_data()
    {
        QTest::addColumn<QStringList>("nomi");
        const QString fuori = u"../fuori.tx1"_s;
        QTest::newRow("a name outside the folder")
            << QStringList{u"oper.tx1"_s, u"compo.tx1"_s, u"sediocc.tx1"_s, fuori};
        QTest::newRow("no oper.tx1") << QStringList{u"altro.tx1"_s, u"compo.tx1"_s, u"sediocc.tx1"_s,
                                                    u"sediutil.tx1"_s};
        QTest::newRow("seats without their use")
            << QStringList{u"oper.tx1"_s, u"compo.tx1"_s, u"sediocc.tx1"_s, u"altro.tx1"_s};
    }

    void aBundleThatCannotMakeARegistryLeavesNothing()
    {
        QFETCH(QStringList, nomi);
        Banco banco;
        banco.inserisci(u"A"_s, u"12"_s);
        const QByteArray risposta = pacchetto({campiOper(u"A"_s, u"12"_s, u"Centro"_s)}, nomi);
        banco.risposte = {risposta};
        banco.test.prompt.expect(erroreServer(Cp1252::decode(risposta).toUpper()));

        banco.conferma();

        QCOMPARE(banco.test.prompt.shown().back().title, TitoloErroreServer);
        QVERIFY(banco.fileTx1().isEmpty());
        QVERIFY(!QFileInfo::exists(QFileInfo(banco.test.folder()).dir().filePath(u"FUORI.TX1"_s)));
        QVERIFY(banco.finestra->isVisible());
        QVERIFY(banco.c<QWidget>(u"cmdConferma"_s)->isEnabled());
    }

    void aTransferErrorShowsTwoBoxes()
    {
        Banco banco(u"http://127.0.0.1:1/"_s + Servizio);
        banco.inserisci(u"A"_s, u"12"_s);
        const QString messaggio = u"Si è verificato un errore in trasmissione, 12029 : "_s +
                                  transferErrorDescription(TransferError::CannotConnect);
        banco.test.prompt.expect(messaggio);
        banco.test.prompt.expect(erroreServer(messaggio));

        banco.conferma();

        QCOMPARE(banco.test.prompt.shown().value(0).title, u"Errore di trasmissione"_s);
        QCOMPARE(banco.test.prompt.shown().value(1).title, TitoloErroreServer);
        QVERIFY(banco.c<QWidget>(u"cmdConferma"_s)->isEnabled());
        QVERIFY(banco.fileTx1().isEmpty());
    }

    void theWindowWaitsForItsReply()
    {
        Banco banco;
        banco.inserisci(u"A"_s, u"12"_s);
        banco.risposte = {pacchetto({campiOper(u"A"_s, u"12"_s, u"Centro"_s)})};
        banco.ritardoMs = 400;
        bool confermaAbilitata = true;
        bool annullaAbilitata = true;
        bool clessidra = false;
        bool apertaDopoLaChiusura = false;
        QTimer::singleShot(100, banco.finestra.get(), [&] {
            confermaAbilitata = banco.c<QWidget>(u"cmdConferma"_s)->isEnabled();
            annullaAbilitata = banco.c<QWidget>(u"cmdAnnulla"_s)->isEnabled();
            clessidra =
                QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            banco.finestra->close();
            QTest::keyClick(banco.finestra.get(), Qt::Key_Escape);
            apertaDopoLaChiusura = banco.finestra->isVisible();
        });
        bool confermata = false;
        banco.conferma([&](QDialog &conferma) {
            confermata = true;
            QVERIFY(!QApplication::overrideCursor());
            press(&conferma, u"cmdAnnulla"_s);
        });
        QVERIFY(!confermaAbilitata);
        QVERIFY(annullaAbilitata);
        QVERIFY(clessidra);
        QVERIFY(apertaDopoLaChiusura);
        QVERIFY(confermata);
        QVERIFY(banco.finestra->isVisible());
    }

    void annullaStopsADownloadThatTricklesInAndWritesNothing()
    {
        Banco banco;
        ScriptedReply goccia = ScriptedReply::text(pacchetto({campiOper(u"A"_s, u"12"_s, u"Centro"_s)}));
        goccia.dripIntervalMs = 1000;
        banco.server.reply(Servizio.toLatin1(), goccia);
        banco.inserisci(u"A"_s, u"12"_s);
        QTimer::singleShot(1500, banco.finestra.get(), [&] { press(banco.finestra.get(), u"cmdAnnulla"_s); });
        QElapsedTimer tempo;
        tempo.start();

        banco.conferma();

        QVERIFY(tempo.elapsed() < 5000);
        QVERIFY(banco.test.prompt.shown().isEmpty());
        QVERIFY(banco.fileTx1().isEmpty());
        QVERIFY(banco.finestra->isVisible());
        QVERIFY(banco.c<QWidget>(u"cmdConferma"_s)->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(banco.test.context().installazione().EsitoInstOper.isEmpty());
    }

    void theConfirmationListsTheOperators()
    {
        Banco banco;
        banco.inserisci(u"A"_s, u"12"_s);
        const QString nome43 = QString(42, u'N') + u"Z"_s;
        banco.risposte = {
            pacchetto({campiOper(u"A"_s, u"12"_s, nome43), campiOper(u"B"_s, u"1234567"_s, u"Ente"_s)})};
        QStringList righe;
        QString intestazione;
        QString titolo;
        QString indirizzo;
        banco.conferma([&](QDialog &conferma) {
            titolo = conferma.windowTitle();
            intestazione = control<QLabel>(&conferma, u"Label3"_s)->text();
            indirizzo = control<QLineEdit>(&conferma, u"txtEMail"_s)->text();
            const QListWidget *lista = control<QListWidget>(&conferma, u"Lista"_s);
            for (int i = 0; i < lista->count(); ++i)
                righe.append(lista->item(i)->text());
            // The address the window proposes is not one.
            banco.test.prompt.expect(
                u"L'indirizzo e-mail non può contenere spazi all'inizio, alla fine o internamente."_s);
            press(&conferma, u"cmdConferma"_s);
            QVERIFY(conferma.isVisible());
            press(&conferma, u"cmdAnnulla"_s);
        });
        QCOMPARE(titolo, QString(61, u' ') + u"Verifica dati immessi"_s);
        QCOMPARE(intestazione, u" Operatore    Codice Fiscale      Denominazione"_s);
        QCOMPARE(indirizzo, u"Indirizzo e-mail..."_s);
        QCOMPARE(righe, (QStringList{u"A12       01234560377   "_s + QString(42, u'N') + u"..."_s,
                                     u"B1234567   01234560377   ENTE"_s}));
    }

    void enterInTheConfirmationsAddressConfirms()
    {
        Banco banco;
        banco.inserisci(u"A"_s, u"12"_s);
        banco.risposte = {pacchetto({campiOper(u"A"_s, u"12"_s, u"Centro"_s)})};
        int esito = -1;
        banco.conferma([&](QDialog &conferma) {
            auto *txtEMail = control<QLineEdit>(&conferma, u"txtEMail"_s);
            txtEMail->clear();
            QTest::keyClicks(txtEMail, u"mario.rossi@esempio.it"_s);
            QTest::keyClick(txtEMail, Qt::Key_Return);
            esito = conferma.result();
            if (conferma.isVisible())
                press(&conferma, u"cmdAnnulla"_s);
        });
        QCOMPARE(esito, int(QDialog::Accepted));
        QCOMPARE(banco.test.context().userSettings().value(u"E-Mail"_s, {}), u"mario.rossi@esempio.it"_s);
    }

    void enterActsAsTheDefaultButtonCONFERMA_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("esito");
        QTest::newRow("address") << u"txtEMail"_s << int(QDialog::Accepted);
        QTest::newRow("list") << u"Lista"_s << int(QDialog::Accepted);
        QTest::newRow("CONFERMA") << u"cmdConferma"_s << int(QDialog::Accepted);
        // As beside any default button, a button with the focus is the one Enter presses.
        QTest::newRow("ANNULLA") << u"cmdAnnulla"_s << int(QDialog::Rejected);
    }
    void enterActsAsTheDefaultButtonCONFERMA()
    {
        QFETCH(QString, focus);
        QFETCH(int, esito);
        Banco banco;
        banco.inserisci(u"A"_s, u"12"_s);
        banco.risposte = {pacchetto({campiOper(u"A"_s, u"12"_s, u"Centro"_s)})};
        int ottenuto = -1;
        banco.conferma([&](QDialog &conferma) {
            control<QLineEdit>(&conferma, u"txtEMail"_s)->setText(u"mario.rossi@esempio.it"_s);
            QApplication::setActiveWindow(&conferma);
            auto *controllo = control<QWidget>(&conferma, focus);
            controllo->setFocus();
            QCOMPARE(conferma.focusWidget(), controllo);
            QTest::keyClick(controllo, Qt::Key_Return);
            ottenuto = conferma.isVisible() ? -1 : conferma.result();
            if (conferma.isVisible())
                press(&conferma, u"cmdAnnulla"_s);
        });
        QCOMPARE(ottenuto, esito);
    }

    void theHeadingsStandOverTheirColumns()
    {
        Banco banco;
        banco.finestra->show();
        auto *elenco = banco.c<QListWidget>(u"LstElenco"_s);
        // "Cod. Operatore" begins where the operator's number may begin, nine characters in.
        const int numero = elenco->mapTo(banco.finestra.get(), QPoint(0, 0)).x() + inizioTestoVoci(*elenco) +
                           elenco->fontMetrics().horizontalAdvance(u"A      - "_s);
        QCOMPARE(banco.c<QLabel>(u"Label4"_s)->mapTo(banco.finestra.get(), QPoint(0, 0)).x(), numero);
        const auto *gruppo = banco.c<QLabel>(u"Label3"_s);
        QCOMPARE(gruppo->mapTo(banco.finestra.get(), QPoint(gruppo->contentsMargins().left(), 0)).x(),
                 elenco->mapTo(banco.finestra.get(), QPoint(inizioTestoVoci(*elenco), 0)).x());

        banco.inserisci(u"A"_s, u"12"_s);
        banco.risposte = {pacchetto({campiOper(u"A"_s, u"12"_s, u"Centro"_s)})};
        QList<std::pair<int, int>> colonne;
        banco.conferma([&](QDialog &conferma) {
            const auto *intestazione = control<QLabel>(&conferma, u"Label3"_s);
            const auto *lista = control<QListWidget>(&conferma, u"Lista"_s);
            const QFontMetricsF sopra(intestazione->font());
            const QFontMetricsF sotto(lista->font());
            const QString riga = lista->item(0)->text();
            // Operator, tax code, name: where the heading's word and the line's column begin.
            for (const auto &[parola, colonna] : {std::pair{1, 0}, {14, 10}, {34, 24}}) {
                const qreal x =
                    intestazione->mapTo(&conferma, QPoint(intestazione->contentsMargins().left(), 0)).x() +
                    sopra.horizontalAdvance(intestazione->text().left(parola));
                const qreal y = lista->mapTo(&conferma, QPoint(inizioTestoVoci(*lista), 0)).x() +
                                sotto.horizontalAdvance(riga.left(colonna));
                colonne.append({qRound(x), qRound(y)});
            }
            press(&conferma, u"cmdAnnulla"_s);
        });
        QCOMPARE(colonne.size(), 3);
        for (const auto &[parola, colonna] : colonne)
            QVERIFY2(std::abs(parola - colonna) <= 3, qPrintable(u"%1 / %2"_s.arg(parola).arg(colonna)));
    }

    void annullaOfTheConfirmationDeletesEveryTx1()
    {
        Banco banco;
        banco.test.writeFile(u"CorsiApprovati.tx1"_s, "#1#\r\n");
        banco.test.writeFile(u"ALTRO.TX1"_s, "#1#\r\n");
        banco.test.writeFile(u"Comuni.txt"_s, "#1#\r\n");
        banco.inserisci(u"A"_s, u"12"_s);
        banco.risposte = {pacchetto({campiOper(u"A"_s, u"12"_s, u"Centro"_s)})};
        banco.conferma([](QDialog &conferma) { press(&conferma, u"cmdAnnulla"_s); });

        QVERIFY(banco.fileTx1().isEmpty());
        QVERIFY(QFileInfo::exists(banco.test.path(u"Comuni.txt"_s)));
        QVERIFY(banco.finestra->isVisible());
        QCOMPARE(banco.test.context().installazione().EsitoInstOper, QString());

        press(banco.finestra.get(), u"cmdAnnulla"_s);
        QCOMPARE(banco.test.context().installazione().EsitoInstOper, u"annulla"_s);
        QVERIFY(!banco.finestra->isVisible());
        banco.apri();
        QCOMPARE(banco.test.context().installazione().EsitoInstOper, QString());
    }

    void theCloseBoxLeavesTheOutcomeEmpty()
    {
        Banco banco;
        banco.inserisci(u"A"_s, u"12"_s);
        banco.finestra->close();
        QVERIFY(!banco.finestra->isVisible());
        QCOMPARE(banco.finestra->result(), int(QDialog::Rejected));
        QCOMPARE(banco.test.context().installazione().EsitoInstOper, QString());
    }

    void theFirstStartInstallsTheDemoRegistry()
    {
        FakeServer server;
        installRegionalServices(server);
        Banco banco(server.url(Servizio));
        banco.finestra.reset();
        TestContext &test = banco.test;
        FixtureDatabase db(test.path(u"KX58TORVA.mdb"_s));
        test.context().DE().CorsiDB().open(db.path(), Connection::Mode::Shared);
        collegaInstallaAnagrafiche(test.context());
        test.dialogRunner.expect(u"frmInstOper"_s, [](QDialog &finestra) {
            QTest::keyClicks(control<QLineEdit>(&finestra, u"TxtGrup"_s), u"a"_s);
            QTest::keyClicks(control<QLineEdit>(&finestra, u"TxtOper"_s), u"12"_s);
            press(&finestra, u"CmdIns"_s);
            press(&finestra, u"cmdConferma"_s);
        });
        test.dialogRunner.expect(u"frmConferma"_s, [](QDialog &conferma) {
            control<QLineEdit>(&conferma, u"txtEMail"_s)->setText(u"mario.rossi@esempio.it"_s);
            press(&conferma, u"cmdConferma"_s);
        });
        AvvioMuto avvio;

        test.context().startupHooks().installaAnagrafiche(avvio);

        QVERIFY(test.dialogRunner.allRun());
        QCOMPARE(db.query(u"SELECT GrupOpe, Operatore, Denominazione, Corrispondenza FROM CorsiOper"_s).rows,
                 (QList<QVariantList>{{u"A"_s, 12, u"CENTRO FORMAZIONE EMILIA"_s, 1}}));
        QCOMPARE(db.count(u"CorsiCompo"_s), 2);
        QVERIFY(test.context().installazione().PrimaInstallazione);
        QVERIFY(QFileInfo::exists(test.path(u"CAR/oper.car"_s)));
        QVERIFY(banco.fileTx1().isEmpty());
    }

    void refusingTheDownloadAlsoDiscardsTheInstallationPackage()
    {
        Banco banco;
        banco.finestra.reset();
        TestContext &test = banco.test;
        FixtureDatabase db(test.path(u"KX58TORVA.mdb"_s));
        test.context().DE().CorsiDB().open(db.path(), Connection::Mode::Shared);
        for (const QString &name : {u"oper.tx1"_s, u"compo.tx1"_s})
            test.writeFile(name, "#A#,#12#\r\n");
        banco.risposte = {pacchetto({campiOper(u"A"_s, u"12"_s, u"Centro"_s)})};
        collegaInstallaAnagrafiche(test.context());
        test.dialogRunner.expect(u"frmInstOper"_s, [&banco](QDialog &finestra) {
            QTest::keyClicks(control<QLineEdit>(&finestra, u"TxtGrup"_s), u"A"_s);
            QTest::keyClicks(control<QLineEdit>(&finestra, u"TxtOper"_s), u"12"_s);
            press(&finestra, u"CmdIns"_s);
            banco.test.dialogRunner.expect(u"frmConferma"_s,
                                           [](QDialog &conferma) { press(&conferma, u"cmdAnnulla"_s); });
            press(&finestra, u"cmdConferma"_s);
            press(&finestra, u"cmdAnnulla"_s);
        });
        test.prompt.expect(
            u"ATTENZIONE: la base dati è incompleta. Mancano uno o più files di testo necessari (è possibile "
            u"che si "
            u"trovino ancora nella cartella temporanea dove è stato scaricato il pacchetto di installazione "
            u"da "
            u"Internet. In tal caso, spostare da tale cartella tutti i files .TX1 nella cartella "_s +
            test.folder() + u")."_s);
        AvvioMuto avvio;

        QVERIFY_THROWS_EXCEPTION(ProgramExited, test.context().startupHooks().installaAnagrafiche(avvio));

        QCOMPARE(test.context().installazione().EsitoInstOper, u"annulla"_s);
        QVERIFY(banco.fileTx1().isEmpty());
        QCOMPARE(db.count(u"CorsiOper"_s), 0);
    }
};

QTEST_MAIN(TestFrmInstOper)
#include "tst_frmInstOper.moc"
