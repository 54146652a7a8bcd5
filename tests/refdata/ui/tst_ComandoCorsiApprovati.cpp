#include "FakeServer.h"
#include "FakeServerServices.h"
#include "FixtureDatabase.h"
#include "TestContext.h"
#include "WindowTesting.h"
#include "core/config/IniFile.h"
#include "core/config/IniKeys.h"
#include "core/data/DataEnvironment.h"
#include "core/state/CurrentApplication.h"
#include "core/state/InstallationState.h"
#include "mainwindow/FinestreComandi.h"
#include "mainwindow/ui/Main.h"
#include "refdata/CorsiApprovati.h"
#include "refdata/ScaricoCorsiApprovati.h"
#include "refdata/ui/FrmCorsiApprovatiScaricati.h"
#include "refdata/ui/FrmScaricoDB.h"

#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/**
 * The main window of a SERVER with the current application of operator A-12, the approved-courses
 * command wired to the download, the import and the viewer as the program wires them, and the demo
 * server's services.
 */
struct Banco
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};
    FakeServer server;
    StatoScaricoCorsi stato;
    std::unique_ptr<Main> main;

    Banco()
    {
        withoutEnvironmentProxies();
        installRegionalServices(server);
        test.writeFile(u"KX58TORVA.INI"_s, "[Installazione]\r\nTipo=Multiutenza\r\nVersione=SERVER\r\n["
                                           "BaseDati]\r\nDatabase=KX58TORVA.mdb\r\n"
                                           "[CONNESSIONE]\r\nSERVERCORSI=" +
                                               server.url(u"corsi/scarico.php"_s).toLatin1() + "\r\nALBIS=" +
                                               server.url(u"albis/login.php"_s).toLatin1() + "\r\n");
        Context &context = test.context();
        context.fileIni().setNomeFile(test.path(u"KX58TORVA.INI"_s));
        context.fileIni().Scrivi(IniKeys::Provider, Connection::providerName());
        context.installazione().PercorsoDB = db.path();
        context.installazione().TipoInstallazione = u"Multiutenza"_s;
        db.insert(u"CorsiOper"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Denominazione"_s},
                  {{u"A"_s, 12, u"CENTRO FORMAZIONE EMILIA"_s}});
        db.insert(u"Domande"_s, {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s}, {{7, u"A"_s, 12}});
        db.insert(u"CorsiApprovati"_s, {u"IdAttivita"_s, u"GrupOpe"_s, u"Operatore"_s, u"DenCorso"_s},
                  {{190001, u"A"_s, 12, u"NOME VECCHIO"_s}});
        context.DE().CorsiDB().open(db.path(), Connection::Mode::Shared);
        context.domanda().NumDomaCorrente = 7;
        context.domanda().GrupOpeCorrente = u"A"_s;
        context.domanda().OperatoreCorrente = u"12"_s;

        FinestreComandi finestre = finestreNonDisponibili(context.prompt);
        finestre.FrmScaricoDB = [this] { FrmScaricoDB::mostra(test.context(), stato); };
        finestre.ImportaCorsiApprovati = [this] { return ImportaCorsiApprovati(test.context()); };
        finestre.FrmCorsiApprovatiScaricati = [this] {
            FrmCorsiApprovatiScaricati::mostra(test.context(), stato);
        };
        main = std::make_unique<Main>(context, std::move(finestre));
        main->Form_Load();
        main->Form_Activate();
        main->show();
    }
    ~Banco()
    {
        main.reset();
        test.context().DE().CorsiDB().close();
    }

    void scaricaIlPrimo()
    {
        test.dialogRunner.expect(u"FrmScaricoDB"_s,
                                 [](QDialog &finestra) { press(&finestra, u"CmdConferma"_s); });
    }
};

} // namespace

class tst_ComandoCorsiApprovati : public QObject
{
    Q_OBJECT

private slots:
    void scaricoImportazioneEVisione()
    {
        Banco banco;
        banco.scaricaIlPrimo();
        banco.test.prompt.expect(u"Corsi Finanziati acquisiti correttamente."_s);
        int righe = -1;
        banco.test.dialogRunner.expect(u"FrmCorsiApprovatiScaricati"_s, [&righe](QDialog &finestra) {
            righe = control<QTableView>(&finestra, u"GrdCorsi"_s)->model()->rowCount();
            press(&finestra, u"cmdEsci2"_s);
        });
        press(banco.main.get(), u"cmdScaricoCorsi"_s);
        QVERIFY(banco.test.dialogRunner.allRun());
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(righe, 2);
        QCOMPARE(
            banco.db.scalar(u"SELECT DenCorso FROM CorsiApprovati WHERE IdAttivita = 190001"_s).toString(),
            u"OPERATORE SOCIO SANITARIO"_s);
        QCOMPARE(banco.db.count(u"CorsiApprovati"_s), 2);
        QVERIFY(!QFileInfo::exists(banco.test.path(NomeFileCorsiApprovati)));
        QVERIFY(QFileInfo::exists(banco.test.path(u"CAR/CorsiApprovati.car"_s)));
    }

    void importazioneFallita()
    {
        Banco banco;
        // A course without its component: the whole import is refused.
        banco.server.route("corsi/scarico.php", [](const RecordedRequest &) {
            return ScriptedReply::text(downloadBundle({{u"CorsiApprovati.tx1"_s,
                                                        {{u"190001"_s, QString(), u"A"_s, u"12"_s, QString(),
                                                          QString(), QString(), QString(), QString(), u"1"_s},
                                                         {u"190002"_s, QString(), u"A"_s, u"12"_s}}}}));
        });
        banco.scaricaIlPrimo();
        banco.test.prompt.expect(
            u"Errore  13 --> Tipo non corrispondente\n\rdurante il caricamento dei CORSI "
            u"FINANZIATI SULLA DIRETTIVA"_s);
        banco.test.prompt.expect(
            u"L' aggiornamento della base dati non è andato a buon fine, verrà ripristinata la "
            u"situazione iniziale. Contattare il servizio di assistenza T.U.Z."_s);
        banco.test.prompt.expect(u"Ripristino della base dati riuscito"_s);
        banco.test.prompt.expect(u"Si è verificato un errore in fase di acquisizione della base dati.\r\n"
                                 u"E' necessario rieffettuare lo scarico."_s);
        press(banco.main.get(), u"cmdScaricoCorsi"_s);
        QVERIFY(banco.test.prompt.allShown());
        QVERIFY(banco.test.dialogRunner.allRun());
        QCOMPARE(
            banco.db.scalar(u"SELECT DenCorso FROM CorsiApprovati WHERE IdAttivita = 190001"_s).toString(),
            u"NOME VECCHIO"_s);
        QCOMPARE(banco.db.count(u"CorsiApprovati"_s), 1);
        QVERIFY(QFileInfo::exists(banco.test.path(u"BAD/CorsiApprovati.bad"_s)));
    }

    void nullaScaricato()
    {
        Banco banco;
        banco.test.dialogRunner.expect(u"FrmScaricoDB"_s,
                                       [](QDialog &finestra) { press(&finestra, u"CmdEsci"_s); });
        press(banco.main.get(), u"cmdScaricoCorsi"_s);
        QVERIFY(banco.test.prompt.shown().isEmpty());
        QCOMPARE(banco.db.count(u"CorsiApprovati"_s), 1);
    }
};

QTEST_MAIN(tst_ComandoCorsiApprovati)
#include "tst_ComandoCorsiApprovati.moc"
