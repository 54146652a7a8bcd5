#include "FakeServer.h"
#include "FixtureDatabase.h"
#include "TestContext.h"
#include "WindowTesting.h"
#include "applications/CreazioneDomanda.h"
#include "applications/ui/FrmnReg.h"
#include "applications/ui/Seldoma.h"
#include "core/config/IniFile.h"
#include "core/config/UserSettings.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/net/ServerRequest.h"
#include "core/state/CurrentApplication.h"
#include "core/state/DomandaCorrente.h"
#include "core/state/InstallationState.h"
#include "core/state/NuovaDomanda.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Indirizzo = u"http://127.0.0.1"_s;
const QString Inserita = u"Domanda inserita correttamente e selezionata."_s;
const QString Conferma = u"Confermi la cancellazione della domanda n. %1 ?"_s;
const QString Corrente =
    u"Si sta cercando di cancellare la domanda attualmente selezionata.\r\nSe si procede verrà "
    u"selezionata automaticamente un'altra domanda per lo stesso operatore e stessa "
    u"provincia.\r\nContinuare?"_s;
const QString GiaStampata = u"Domanda già stampata in definitivo. Non è possibile cancellarla"_s;
const QString GiaCancellata =
    u"Il record che si è deciso di eliminare è già stato cancellato da un'altra postazione. "_s;
const QString Terminare =
    u"E' necessario selezionare una domanda. Premere SI' per selezionarla oppure NO per "
    u"terminare l'applicativo"_s;

/** True when the step ended the program. */
template<typename Step> bool termina(Step &&step)
{
    try {
        step();
    } catch (const ProgramExited &) {
        return true;
    }
    return false;
}

/**
 * A program folder whose INI file points the number service at a fake server, and a database with
 * the regional province and another one, operators A-12, A-13 and B-5, and applications: 1001 and
 * 1002 (printed) of A-12 in the regional province, 1003 of A-12 in another province, 1004 of A-12
 * without province, 1005 of A-13.
 */
struct Banco
{
    TestContext test;
    FakeServer server;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};
    std::unique_ptr<Seldoma> finestra;

    Banco()
    {
        test.writeFile(u"KX58TORVA.INI"_s, "[BaseDati]\r\nNumDoma=0\r\n[CONNESSIONE]\r\nNREG=" +
                                               server.url(u"nreg/nuovadomanda.php"_s).toLatin1() + "\r\n");
        Context &context = test.context();
        context.fileIni().setNomeFile(test.path(u"KX58TORVA.INI"_s));
        context.installazione().IndirizzoServer = Indirizzo;
        context.installazione().CredenzialeServer = u"utente:segreta@"_s;
        context.userSettings().setValue(u"E-Mail"_s, u"mario.rossi@esempio.it"_s);
        db.insert(
            u"Province"_s, {u"Prov"_s, u"SigProv"_s, u"DesProv"_s, u"REGIONE"_s},
            {{u"037"_s, u"BO"_s, u"BOLOGNA"_s, u"01"_s}, {u"000"_s, u"XX"_s, u"SUPER-PROVINCIA"_s, u"00"_s}});
        db.insert(u"CorsiOper"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Denominazione"_s},
                  {{u"B"_s, 5, u"Scuola Bi"_s}, {u"A"_s, 13, u"Ente Due"_s}, {u"A"_s, 12, u"Ente Uno"_s}});
        db.insert(u"CorsiCompo"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"TipoCompo"_s},
                  {{u"A"_s, 12, 1, u"SL"_s}, {u"A"_s, 12, 2, u"SO"_s}});
        db.insert(u"Domande"_s,
                  {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s, u"PROV"_s, u"Domanda"_s, u"DenominazioneOp"_s,
                   u"DomandaStampata"_s, u"DomandaTrasmessa"_s},
                  {{1001, u"A"_s, 12, u"000"_s, 1, u"Ente Uno"_s, 0, 0},
                   {1002, u"A"_s, 12, u"000"_s, 2, u"Ente Uno"_s, 1, 1},
                   {1003, u"A"_s, 12, u"037"_s, 3, u"Ente Uno"_s, 0, 0},
                   {1004, u"A"_s, 12, QVariant(), 4, u"Ente Uno"_s, 0, 0},
                   {1005, u"A"_s, 13, u"000"_s, 1, u"Vecchio Nome"_s, 0, 0}});
        db.insert(u"CorsiSediInteressate"_s, {u"NumDoma"_s, u"SedeInteressata"_s}, {{1001, 1}});
        context.DE().CorsiDB().open(db.path(), Connection::Mode::Shared);
    }
    ~Banco()
    {
        finestra.reset();
        if (test.context().DE().CorsiDB().isOpen())
            test.context().DE().CorsiDB().close();
    }

    CurrentApplication &domanda() { return test.context().domanda(); }

    /** Makes the application current as a confirmation does. */
    void corrente(qint32 numero)
    {
        domanda().NumDomaCorrente = numero;
        SalvaVarIni(test.context());
    }

    Seldoma &apri()
    {
        TransferSettings settings = impostazioniTrasmissione(test.context().programFolder());
        settings.connectTimeoutMs = 2000;
        settings.stallTimeoutMs = 1000;
        finestra = std::make_unique<Seldoma>(test.context(), settings);
        finestra->show();
        return *finestra;
    }

    QTableView *griglia() { return control<QTableView>(finestra.get(), u"grdDomande"_s); }
    QComboBox *operatori() { return control<QComboBox>(finestra.get(), u"CmbOpe"_s); }

    /** The grid as shown, one text per cell, rows joined by "|". */
    QStringList righe()
    {
        QStringList righe;
        const QAbstractItemModel *model = griglia()->model();
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList celle;
            for (int c = 0; c < model->columnCount(); ++c)
                celle << model->index(r, c).data().toString();
            righe << celle.join(u'|');
        }
        return righe;
    }

    /** The application number of the grid's highlighted row, 0 when none is. */
    int evidenziata()
    {
        const QModelIndexList scelte = griglia()->selectionModel()->selectedRows();
        return scelte.isEmpty() ? 0 : scelte.front().data().toInt();
    }

    void scegliRiga(int riga)
    {
        griglia()->selectionModel()->setCurrentIndex(griglia()->model()->index(riga, 0),
                                                     QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
    }

    void scegliOperatore(int indice)
    {
        operatori()->setCurrentIndex(indice);
        emit operatori()->activated(indice);
    }

    QByteArray ini() { return test.readFile(u"KX58TORVA.INI"_s); }

    /** The creation window: OK pressed, the e-mail prompt confirmed with the stored address. */
    void richiestaConfermata()
    {
        test.dialogRunner.expect(u"FrmnReg"_s, [](QDialog &frm) { press(&frm, u"CmdnReg"_s); });
        emailConfermata();
    }
    void emailConfermata()
    {
        test.dialogRunner.expect(u"frmMailAggInst"_s, [](QDialog &mail) { press(&mail, u"imgConferma"_s); });
    }
};

} // namespace

class TestSeldoma : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { withoutEnvironmentProxies(); }

    // Loading -------------------------------------------------------------------------------------

    void opensOnTheFirstOperatorWithoutACurrentApplication()
    {
        Banco banco;
        banco.domanda().ProvCorrente = u"037"_s;
        Seldoma &w = banco.apri();

        QCOMPARE(w.windowTitle(), u"Selezione Domanda"_s);
        QCOMPARE(banco.operatori()->currentText(), u"A  12  Ente Uno"_s);
        QCOMPARE(banco.operatori()->count(), 3);
        QCOMPARE(banco.operatori()->itemText(2), u"B  5  Scuola Bi"_s);
        QVERIFY(!control<QComboBox>(&w, u"cmbProv"_s)->isVisible());
        QVERIFY(!control<QLabel>(&w, u"lblProvincia"_s)->isVisible());
        QVERIFY(!control<QWidget>(&w, u"panel_Attesa"_s)->isVisible());

        const QAbstractItemModel *model = banco.griglia()->model();
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), u"n. domada"_s);
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), u"progr. domanda"_s);
        QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), u"stampata"_s);
        QCOMPARE(model->headerData(3, Qt::Horizontal).toString(), u"trasmessa "_s);
        // Only the regional province's applications: not 1003 (another province) nor 1004 (none).
        QCOMPARE(banco.righe(), (QStringList{u"1001|1|No|No"_s, u"1002|2|Sì|Sì"_s}));
        QCOMPARE(banco.evidenziata(), 1001);

        // Loading leaves the current application's state alone.
        QCOMPARE(banco.domanda().ProvCorrente, u"037"_s);
        QCOMPARE(banco.domanda().DesProvCorrente, QString());
        QVERIFY(banco.test.prompt.shown().isEmpty());
    }

    void opensOnTheCurrentApplicationsOperatorRenamedSince()
    {
        Banco banco;
        banco.corrente(1005);
        QCOMPARE(banco.domanda().DenominazioneOpCorrente, u"Vecchio Nome"_s);
        banco.apri();

        QCOMPARE(banco.operatori()->currentText(), u"A  13  Ente Due"_s);
        QCOMPARE(banco.righe(), QStringList{u"1005|1|No|No"_s});
        QCOMPARE(banco.evidenziata(), 1005);
        QCOMPARE(banco.domanda().ProvCorrente, u"000"_s);
        QCOMPARE(banco.domanda().DesProvCorrente, u"SUPER-PROVINCIA"_s);
    }

    void highlightsTheCurrentApplication()
    {
        Banco banco;
        banco.corrente(1002);
        banco.apri();
        QCOMPARE(banco.evidenziata(), 1002);
    }

    void choosingAnotherOperatorRefreshesTheGrid()
    {
        Banco banco;
        banco.apri();
        banco.scegliOperatore(1);
        QCOMPARE(banco.righe(), QStringList{u"1005|1|No|No"_s});
        QCOMPARE(banco.evidenziata(), 1005);
        banco.scegliOperatore(2);
        QCOMPARE(banco.righe(), QStringList());
    }

    void aMissingRegionalProvinceOffersRetry()
    {
        Banco banco;
        banco.db.execute(u"DELETE FROM Province WHERE Prov='000'"_s);
        banco.test.prompt.expect(
            u"Errore 3265\r\nNella tabella Province manca la provincia regionale 000.\r\n\r\n"
            u"Si è verificato un errore imprevisto,scegliere riprova per ritentare "
            u"l'operazione."_s,
            Prompt::Answer::Cancel);
        QVERIFY(termina([&banco] { banco.apri(); }));
    }

    // Confirmation and cancel ---------------------------------------------------------------------

    void confirmationMakesTheHighlightedApplicationCurrent()
    {
        Banco banco;
        Seldoma &w = banco.apri();
        banco.scegliRiga(1);
        press(&w, u"cmdConfer"_s);

        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(banco.domanda().NumDomaCorrente, 1002);
        QCOMPARE(banco.domanda().GrupOpeCorrente, u"A"_s);
        QCOMPARE(banco.domanda().OperatoreCorrente, u"12"_s);
        QCOMPARE(banco.domanda().ProvCorrente, u"000"_s);
        QVERIFY(banco.domanda().DomandaStampataCorrente);
        QVERIFY(banco.ini().contains("NumDoma=1002\r\n"));
        QVERIFY(!banco.test.context().DE().rs(u"QryDomande"_s).isOpen());
    }

    void doubleClickConfirms()
    {
        Banco banco;
        Seldoma &w = banco.apri();
        banco.scegliRiga(0);
        emit banco.griglia()->doubleClicked(banco.griglia()->model()->index(0, 0));
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(banco.domanda().NumDomaCorrente, 1001);
    }

    void confirmationWithAnEmptyGrid()
    {
        Banco banco;
        banco.corrente(1005);
        Seldoma &w = banco.apri();
        banco.scegliOperatore(2);
        banco.test.prompt.expect(u"E' necessario inserire una domanda"_s);
        press(&w, u"cmdConfer"_s);
        QVERIFY(w.isVisible());
        QCOMPARE(banco.domanda().NumDomaCorrente, 1005);
        QCOMPARE(banco.test.prompt.shown().front().title, u"Selezione Domanda"_s);
    }

    void cancel_data()
    {
        QTest::addColumn<int>("corrente");
        QTest::addColumn<int>("risposta");
        QTest::addColumn<bool>("chiusa");

        QTest::newRow("with a current application") << 1001 << -1 << true;
        QTest::newRow("without, Yes stays") << 0 << int(Prompt::Answer::Yes) << false;
        QTest::newRow("without, No leaves") << 0 << int(Prompt::Answer::No) << true;
    }

    void cancel()
    {
        QFETCH(int, corrente);
        QFETCH(int, risposta);
        QFETCH(bool, chiusa);

        Banco banco;
        banco.corrente(corrente);
        const CurrentApplication prima = banco.domanda();
        const QByteArray ini = banco.ini();
        Seldoma &w = banco.apri();
        banco.scegliOperatore(1);
        if (risposta >= 0)
            banco.test.prompt.expect(Terminare, Prompt::Answer(risposta));
        press(&w, u"cmdAnnul"_s);

        QCOMPARE(w.isVisible(), !chiusa);
        if (chiusa)
            QCOMPARE(w.result(), int(QDialog::Rejected));
        QCOMPARE(banco.domanda().NumDomaCorrente, prima.NumDomaCorrente);
        QCOMPARE(banco.domanda().ProvCorrente, prima.ProvCorrente);
        QCOMPARE(banco.domanda().DesProvCorrente, prima.DesProvCorrente);
        QCOMPARE(banco.domanda().GrupOpeCorrente, prima.GrupOpeCorrente);
        QCOMPARE(banco.ini(), ini);
        QVERIFY(banco.test.prompt.allShown());
    }

    void escapeAndTheCloseBoxAnswerAsAnnulla()
    {
        Banco banco;
        Seldoma &w = banco.apri();
        banco.test.prompt.expect(Terminare, Prompt::Answer::Yes);
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(w.isVisible());
        banco.test.prompt.expect(Terminare, Prompt::Answer::No);
        w.close();
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Rejected));
        QVERIFY(banco.test.prompt.allShown());
    }

    // Deletion ------------------------------------------------------------------------------------

    void deletingAnotherApplication()
    {
        Banco banco;
        banco.corrente(1002);
        Seldoma &w = banco.apri();
        banco.scegliRiga(0);
        banco.test.prompt.expect(Conferma.arg(1001), Prompt::Answer::Ok);
        press(&w, u"cmdElimina"_s);

        QCOMPARE(banco.righe(), QStringList{u"1002|2|Sì|Sì"_s});
        QCOMPARE(banco.evidenziata(), 1002);
        QCOMPARE(banco.db.scalar(u"SELECT COUNT(*) FROM Domande WHERE NumDoma=1001"_s).toInt(), 0);
        QCOMPARE(banco.db.count(u"CorsiSediInteressate"_s), 0);
        QCOMPARE(banco.domanda().NumDomaCorrente, 1002);
        QVERIFY(banco.ini().contains("NumDoma=1002\r\n"));
        QVERIFY(w.isVisible());
        QVERIFY(!control<QWidget>(&w, u"panel_Attesa"_s)->isVisible());
        const ShownBox domanda = banco.test.prompt.shown().front();
        QCOMPARE(domanda.buttons, Prompt::Buttons::OkCancel);
        QCOMPARE(domanda.title, QString());
    }

    void deletionNotConfirmed()
    {
        Banco banco;
        Seldoma &w = banco.apri();
        banco.test.prompt.expect(Conferma.arg(1001), Prompt::Answer::Cancel);
        press(&w, u"cmdElimina"_s);
        QCOMPARE(banco.db.count(u"Domande"_s), 5);
    }

    void deletingAPrintedApplicationIsRefusedAfterTheQuestion()
    {
        Banco banco;
        Seldoma &w = banco.apri();
        banco.scegliRiga(1);
        banco.test.prompt.expect(Conferma.arg(1002), Prompt::Answer::Ok);
        banco.test.prompt.expect(GiaStampata);
        press(&w, u"cmdElimina"_s);
        QCOMPARE(banco.db.count(u"Domande"_s), 5);
        QCOMPARE(banco.test.prompt.shown().back().title, u"Elimina Domanda"_s);
    }

    void deletionWithNothingToDelete()
    {
        Banco banco;
        Seldoma &w = banco.apri();
        banco.scegliOperatore(2);
        banco.test.prompt.expect(u"Nessuna riga da eliminare."_s);
        press(&w, u"cmdElimina"_s);
        QCOMPARE(banco.test.prompt.shown().front().title, u"Elimina Domanda"_s);
    }

    void deletingTheCurrentApplication_data()
    {
        QTest::addColumn<int>("corrente");
        QTest::addColumn<int>("nuova");
        QTest::addColumn<bool>("stampata");

        QTest::newRow("the grid's first row becomes current") << 1001 << 1002 << true;
        QTest::newRow("the last one: none is current") << 1005 << 0 << false;
    }

    void deletingTheCurrentApplication()
    {
        QFETCH(int, corrente);
        QFETCH(int, nuova);
        QFETCH(bool, stampata);

        Banco banco;
        banco.corrente(corrente);
        Seldoma &w = banco.apri();
        banco.test.prompt.expect(Conferma.arg(corrente), Prompt::Answer::Ok);
        banco.test.prompt.expect(Corrente, Prompt::Answer::Ok);
        press(&w, u"cmdElimina"_s);

        QCOMPARE(banco.domanda().NumDomaCorrente, nuova);
        QCOMPARE(banco.domanda().DomandaStampataCorrente, stampata);
        QCOMPARE(banco.domanda().OperatoreCorrente, nuova ? u"12"_s : u"0"_s);
        QVERIFY(banco.ini().contains(QByteArray("NumDoma=" + QByteArray::number(nuova) + "\r\n")));
        QCOMPARE(banco.evidenziata(), nuova);
        QCOMPARE(banco.db.scalar(u"SELECT COUNT(*) FROM Domande WHERE NumDoma=?"_s, {corrente}).toInt(), 0);
    }

    void deletingTheCurrentApplicationCanBeStopped()
    {
        Banco banco;
        banco.corrente(1001);
        Seldoma &w = banco.apri();
        banco.test.prompt.expect(Conferma.arg(1001), Prompt::Answer::Ok);
        banco.test.prompt.expect(Corrente, Prompt::Answer::Cancel);
        press(&w, u"cmdElimina"_s);
        QCOMPARE(banco.db.count(u"Domande"_s), 5);
        QCOMPARE(banco.domanda().NumDomaCorrente, 1001);
    }

    void anotherInstallationGotThereFirst_data()
    {
        QTest::addColumn<QString>("altraPostazione");
        QTest::addColumn<QString>("avviso");
        QTest::addColumn<QStringList>("righe");
        QTest::addColumn<int>("corrente");

        QTest::newRow("deleted it") << u"DELETE FROM Domande WHERE NumDoma=1001"_s << GiaCancellata
                                    << QStringList{u"1002|2|Sì|Sì"_s} << 1002;
        QTest::newRow("printed it") << u"UPDATE Domande SET DomandaStampata=1 WHERE NumDoma=1001"_s
                                    << GiaStampata << QStringList{u"1001|1|Sì|No"_s, u"1002|2|Sì|Sì"_s}
                                    << 1001;
    }

    void anotherInstallationGotThereFirst()
    {
        QFETCH(QString, altraPostazione);
        QFETCH(QString, avviso);
        QFETCH(QStringList, righe);
        QFETCH(int, corrente);

        Banco banco;
        banco.corrente(1001);
        Seldoma &w = banco.apri();
        banco.db.execute(altraPostazione); // through a connection of its own, as another installation
        banco.test.prompt.expect(Conferma.arg(1001), Prompt::Answer::Ok);
        banco.test.prompt.expect(Corrente, Prompt::Answer::Ok);
        banco.test.prompt.expect(avviso);
        press(&w, u"cmdElimina"_s);

        QCOMPARE(banco.righe(), righe);
        QCOMPARE(banco.domanda().NumDomaCorrente, corrente);
        QVERIFY(banco.ini().contains(QByteArray("NumDoma=" + QByteArray::number(corrente) + "\r\n")));
        QCOMPARE(banco.test.prompt.shown().back().title,
                 avviso == GiaCancellata ? u"Accesso concorrente"_s : u"Elimina Domanda"_s);
    }

    // Creation ------------------------------------------------------------------------------------

    void createsAnApplicationWithTheServersNumber()
    {
        Banco banco;
        banco.server.reply("nreg/nuovadomanda.php", ScriptedReply::text("  2001 "));
        banco.corrente(1005);
        Seldoma &w = banco.apri();
        banco.richiestaConfermata();
        banco.test.prompt.expect(Inserita);
        press(&w, u"cmdInserisci"_s);

        const QList<RecordedRequest> richieste = banco.server.requests();
        QCOMPARE(richieste.size(), 1);
        const RecordedRequest &r = richieste.front();
        QCOMPARE(r.requestLine, QByteArray("POST /nreg/nuovadomanda.php HTTP/1.1"));
        QCOMPARE(r.body,
                 QByteArray("gruppo=A&codice=13&compo=&applicativo=KX58TORVA&email=mario.rossi@esempio.it"));
        QCOMPARE(r.header("Authorization"), "Basic " + QByteArray("utente:segreta").toBase64());
        QCOMPARE(r.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
        QCOMPARE(r.header("Proxy-Connection"), QByteArray("Keep-Alive"));
        QVERIFY(r.headerLines.contains("HTTP: Protocol Version = HTTP/1.1 "));

        QCOMPARE(banco.domanda().NumDomaCorrente, 2001);
        QCOMPARE(banco.domanda().GrupOpeCorrente, u"A"_s);
        QCOMPARE(banco.domanda().OperatoreCorrente, u"13"_s);
        QCOMPARE(banco.domanda().DenominazioneOpCorrente, u"Ente Due"_s);
        QCOMPARE(banco.domanda().ProvCorrente, u"000"_s);
        QCOMPARE(banco.domanda().DesProvCorrente, u"SUPER-PROVINCIA"_s);
        QVERIFY(banco.ini().contains("NumDoma=2001\r\n"));
        QCOMPARE(banco.db.scalar(u"SELECT Domanda FROM Domande WHERE NumDoma=2001"_s).toInt(), 2);
        QCOMPARE(banco.righe(), (QStringList{u"1005|1|No|No"_s, u"2001|2|No|No"_s}));
        QCOMPARE(banco.evidenziata(), 2001);
        QVERIFY(w.isVisible());
        QVERIFY(!control<QWidget>(&w, u"panel_Attesa"_s)->isVisible());
        QVERIFY(banco.test.dialogRunner.allRun());
        QVERIFY(banco.test.context().nuovaDomanda().NumeroDomandaOttenuto);
        QCOMPARE(banco.test.prompt.shown().back().title, QString());
    }

    void aLostConnectionAskedAgainCreatesOneApplication()
    {
        Banco banco;
        auto chiamate = std::make_shared<int>(0);
        banco.server.route("nreg/nuovadomanda.php", [chiamate](const RecordedRequest &) {
            ScriptedReply reply = ScriptedReply::text("2001");
            if ((*chiamate)++ == 0)
                reply.ending = ScriptedReply::Ending::Reset;
            return reply;
        });
        Seldoma &w = banco.apri();
        banco.richiestaConfermata();
        banco.emailConfermata();
        banco.test.prompt.expect(u"Si è verificato un errore: "_s +
                                 QString::number(TransferError::ConnectionReset) + u" : "_s +
                                 transferErrorDescription(TransferError::ConnectionReset));
        banco.test.prompt.expect(MessaggiCreazione::erroreConnessione(Indirizzo, u"nreg/nuovadomanda.php"_s),
                                 Prompt::Answer::Ok);
        banco.test.prompt.expect(Inserita);
        press(&w, u"cmdInserisci"_s);

        QCOMPARE(banco.server.requests().size(), 2);
        QCOMPARE(banco.db.scalar(u"SELECT COUNT(*) FROM Domande WHERE NumDoma=2001"_s).toInt(), 1);
        QCOMPARE(banco.db.count(u"Domande"_s), 6);
        QCOMPARE(banco.domanda().NumDomaCorrente, 2001);
        QCOMPARE(banco.test.prompt.shown()[0].title, u"Errore"_s);
        QCOMPARE(banco.test.prompt.shown()[1].title, u"ERRORE"_s);
        QCOMPARE(banco.test.prompt.shown()[1].buttons, Prompt::Buttons::OkCancel);
    }

    void cancelOnARefusedConnectionEndsTheProgram()
    {
        Banco banco;
        {
            FakeServer chiuso;
            banco.test.writeFile(
                u"KX58TORVA.INI"_s,
                "[CONNESSIONE]\r\nNREG=" + chiuso.url(u"nreg/nuovadomanda.php"_s).toLatin1() + "\r\n");
        }
        Seldoma &w = banco.apri();
        banco.richiestaConfermata();
        banco.test.prompt.expect(u"Si è verificato un errore: "_s +
                                 QString::number(TransferError::CannotConnect) + u" : "_s +
                                 transferErrorDescription(TransferError::CannotConnect));
        banco.test.prompt.expect(MessaggiCreazione::erroreConnessione(Indirizzo, u"nreg/nuovadomanda.php"_s),
                                 Prompt::Answer::Cancel);
        banco.test.prompt.expect(MessaggiCreazione::certificato(Indirizzo));
        QVERIFY(termina([&w] { press(&w, u"cmdInserisci"_s); }));

        QVERIFY(banco.test.programExit.exited());
        QCOMPARE(banco.db.count(u"Domande"_s), 5);
        QVERIFY(MessaggiCreazione::certificato(Indirizzo).contains(
            u"\r\n\r\nhttp://127.0.0.1/fpl/procedure-sw/certificato.html\r\n\r\n"_s));
    }

    void anAddressWithoutAPathNamesTheWholeAddressAsTheService()
    {
        Banco banco;
        QString indirizzo;
        {
            FakeServer chiuso;
            indirizzo = chiuso.url(QString());
            indirizzo.chop(1);
            banco.test.writeFile(u"KX58TORVA.INI"_s,
                                 "[CONNESSIONE]\r\nNREG=" + indirizzo.toLatin1() + "\r\n");
        }
        Seldoma &w = banco.apri();
        banco.richiestaConfermata();
        banco.test.prompt.expect(u"Si è verificato un errore: "_s +
                                 QString::number(TransferError::CannotConnect) + u" : "_s +
                                 transferErrorDescription(TransferError::CannotConnect));
        banco.test.prompt.expect(u"Si è verificato un errore in fase di connessione con il server "_s +
                                     Indirizzo + u" (servizio: "_s + indirizzo +
                                     u"), è probabile che si tratti di un errore temporaneo, Riprovare?"_s,
                                 Prompt::Answer::Cancel);
        banco.test.prompt.expect(MessaggiCreazione::certificato(Indirizzo));
        QVERIFY(termina([&w] { press(&w, u"cmdInserisci"_s); }));
        QVERIFY(banco.test.prompt.allShown());
    }

    void aDeclinedAddressSendsNothing()
    {
        Banco banco;
        banco.corrente(1005);
        const CurrentApplication prima = banco.domanda();
        Seldoma &w = banco.apri();
        banco.scegliOperatore(0);
        banco.test.dialogRunner.expect(u"FrmnReg"_s, [](QDialog &frm) { press(&frm, u"CmdnReg"_s); });
        banco.test.dialogRunner.expect(u"frmMailAggInst"_s,
                                       [](QDialog &mail) { press(&mail, u"imgAnnulla"_s); });
        banco.test.dialogRunner.expect(u"frmMailAggInst"_s,
                                       [](QDialog &mail) { press(&mail, u"imgAnnulla"_s); });
        banco.test.prompt.expect(MessaggiCreazione::emailNecessaria(), Prompt::Answer::Yes);
        banco.test.prompt.expect(MessaggiCreazione::emailNecessaria(), Prompt::Answer::No);
        banco.test.prompt.expect(MessaggiCreazione::impossibileContinuare());
        banco.test.prompt.expect(MessaggiCreazione::numeroNonRitirato(Indirizzo));
        press(&w, u"cmdInserisci"_s);

        QVERIFY(banco.server.requests().isEmpty());
        QCOMPARE(banco.test.prompt.shown()[2].title, u"ERRORE"_s);
        QCOMPARE(banco.test.prompt.shown()[3].icon, Prompt::Icon::Critical);
        // The whole state as it was before the command, not only the number.
        QCOMPARE(banco.domanda().NumDomaCorrente, prima.NumDomaCorrente);
        QCOMPARE(banco.domanda().GrupOpeCorrente, prima.GrupOpeCorrente);
        QCOMPARE(banco.domanda().OperatoreCorrente, prima.OperatoreCorrente);
        QCOMPARE(banco.domanda().DenominazioneOpCorrente, prima.DenominazioneOpCorrente);
        QCOMPARE(banco.domanda().FiltroDomandaCorrente, prima.FiltroDomandaCorrente);
        QVERIFY(banco.ini().contains("NumDoma=1005\r\n"));
        QVERIFY(!banco.test.context().nuovaDomanda().NumeroDomandaOttenuto);
    }

    void aReplyThatIsNoNumberGoesToTheErrorPage_data()
    {
        QTest::addColumn<QByteArray>("risposta");
        QTest::addColumn<int>("stato");

        QTest::newRow("error marker") << QByteArray("ERRORE: operatore non abilitato") << 200;
        QTest::newRow("html page") << QByteArray(
                                          "<html><body><h1>Servizio non disponibile</h1></body></html>")
                                   << 200;
        QTest::newRow("empty") << QByteArray() << 200;
        QTest::newRow("zero") << QByteArray("0") << 200;
        QTest::newRow("decimal") << QByteArray("12,5") << 200;
        QTest::newRow("Windows-1252 text")
            << QByteArray("numero non disponibile: riprovare pi\xf9 tardi") << 200;
        QTest::newRow("a number with the status 500") << QByteArray("2001") << 500;
        QTest::newRow("a number with the status 404") << QByteArray("2001") << 404;
    }

    void aReplyThatIsNoNumberGoesToTheErrorPage()
    {
        QFETCH(QByteArray, risposta);
        QFETCH(int, stato);

        Banco banco;
        banco.corrente(1001);
        banco.test.writeFile(u"ErrServer.html"_s, QByteArray(4000, 'x'));
        banco.server.reply("nreg/nuovadomanda.php", ScriptedReply::text(risposta, stato));
        Seldoma &w = banco.apri();
        banco.richiestaConfermata();
        banco.test.prompt.expect(
            u"Si è verificato un errore sul server http://127.0.0.1 (servizio: nreg/nuovadomanda.php), "
            u"cliccando "
            u"su OK il sistema cercherà di visualizzare ulteriori informazioni sull'errore. Contattare il "
            u"servizio "
            u"assistenza TUZ riportando questo messaggio e le informazioni visualizzate"_s);
        banco.test.prompt.expect(MessaggiCreazione::numeroNonRitirato(Indirizzo));
        press(&w, u"cmdInserisci"_s);

        QCOMPARE(banco.test.readFile(u"ErrServer.html"_s), risposta + "\r\n");
        QCOMPARE(banco.test.urlOpener.urls,
                 QList<QUrl>{QUrl::fromLocalFile(banco.test.path(u"ErrServer.html"_s))});
        QCOMPARE(banco.db.count(u"Domande"_s), 5);
        QCOMPARE(banco.domanda().NumDomaCorrente, 1001);
        QVERIFY(banco.ini().contains("NumDoma=1001\r\n"));
    }

    void aNumberTheDatabaseAlreadyHoldsLeavesNoRow()
    {
        Banco banco;
        banco.server.reply("nreg/nuovadomanda.php", ScriptedReply::text("1002"));
        Seldoma &w = banco.apri();
        banco.richiestaConfermata();
        banco.test.prompt.expect(MessaggiCreazione::numeroNonValido(Indirizzo, u"nreg/nuovadomanda.php"_s));
        banco.test.prompt.expect(MessaggiCreazione::numeroNonRitirato(Indirizzo));
        press(&w, u"cmdInserisci"_s);

        QCOMPARE(banco.test.prompt.shown()[0].title, u"KX58TORVA"_s);
        QCOMPARE(banco.db.count(u"Domande"_s), 5);
        QCOMPARE(banco.db.count(u"CorsiSediInteressate"_s), 1);
        QCOMPARE(banco.domanda().NumDomaCorrente, 0);
        QVERIFY(banco.ini().contains("NumDoma=0\r\n"));
    }

    // The request window on its own -----------------------------------------------------------------

    void theRequestWindowCannotBeClosedWhileItRuns()
    {
        Banco banco;
        ScriptedReply lenta = ScriptedReply::text("2001");
        lenta.delayMs = 600;
        banco.server.reply("nreg/nuovadomanda.php", lenta);
        banco.domanda().GrupOpeCorrente = u"A"_s;
        banco.domanda().OperatoreCorrente = u"12"_s;
        banco.domanda().ProvCorrente = u"000"_s;
        banco.emailConfermata();

        FrmnReg frm(banco.test.context(), impostazioniTrasmissione(banco.test.context().programFolder()));
        frm.show();
        QCOMPARE(frm.windowTitle(), u"Installazione Applicativo"_s);
        QVERIFY(!control<QLabel>(&frm, u"lblAttesa"_s)->isVisible());
        QVERIFY(!control<QProgressBar>(&frm, u"PgrBar"_s)->isVisible());

        bool visto = false;
        QTimer::singleShot(200, &frm, [&] {
            visto = true;
            QVERIFY(!control<QPushButton>(&frm, u"CmdnReg"_s)->isEnabled());
            QVERIFY(control<QPushButton>(&frm, u"Command2"_s)->isEnabled());
            QVERIFY(control<QLabel>(&frm, u"lblAttesa"_s)->isVisible());
            frm.close();
            frm.reject();
            QVERIFY(frm.isVisible());
        });
        press(&frm, u"CmdnReg"_s);

        QVERIFY(visto);
        QCOMPARE(frm.result(), int(QDialog::Accepted));
        QVERIFY(!frm.isVisible());
        QCOMPARE(banco.domanda().NumDomaCorrente, 2001);
        const int riempimento = control<QProgressBar>(&frm, u"PgrBar"_s)->value();
        // 8 for each state of the transfer, 9 at its end.
        QVERIFY2(riempimento >= 9 + 8 && riempimento <= 89 && (riempimento - 9) % 8 == 0,
                 qPrintable(QString::number(riempimento)));
    }

    void annullaStopsARequestThatTricklesInAndWritesNothing()
    {
        Banco banco;
        ScriptedReply goccia = ScriptedReply::text("2001");
        goccia.dripIntervalMs = 1000;
        banco.server.reply("nreg/nuovadomanda.php", goccia);
        banco.domanda().GrupOpeCorrente = u"A"_s;
        banco.domanda().OperatoreCorrente = u"12"_s;
        banco.domanda().ProvCorrente = u"000"_s;
        banco.emailConfermata();
        FrmnReg frm(banco.test.context(), impostazioniTrasmissione(banco.test.context().programFolder()));
        frm.show();

        QTimer::singleShot(1500, &frm, [&] { press(&frm, u"Command2"_s); });
        QElapsedTimer tempo;
        tempo.start();
        press(&frm, u"CmdnReg"_s);

        QVERIFY(tempo.elapsed() < 5000);
        QVERIFY(frm.isVisible());
        QVERIFY(control<QPushButton>(&frm, u"CmdnReg"_s)->isEnabled());
        QVERIFY(banco.test.prompt.shown().isEmpty());
        QCOMPARE(banco.db.count(u"Domande"_s), 5);
        QVERIFY(!banco.test.context().nuovaDomanda().NumeroDomandaOttenuto);
        QVERIFY(!QFileInfo::exists(banco.test.path(u"ErrServer.html"_s)));

        press(&frm, u"Command2"_s);
        QVERIFY(!frm.isVisible());
    }

    void annullaClosesWithoutANumber()
    {
        Banco banco;
        banco.test.context().nuovaDomanda().NumeroDomandaOttenuto = true;
        FrmnReg frm(banco.test.context(), impostazioniTrasmissione(banco.test.context().programFolder()));
        frm.show();
        press(&frm, u"Command2"_s);
        QVERIFY(!frm.isVisible());
        QVERIFY(!banco.test.context().nuovaDomanda().NumeroDomandaOttenuto);
        QVERIFY(banco.server.requests().isEmpty());
    }
};

QTEST_MAIN(TestSeldoma)
#include "tst_Seldoma.moc"
