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
#include "mainwindow/ui/AggiornaBaseDatiUi.h"
#include "mainwindow/ui/Main.h"

#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Collegamento = u"Attivazione collegamento con Internet.\r\nProcedere solo dopo aver aperto la "
                             u"connessione \r\ncon il vostro Provider"_s;
const QString NessunClient =
    u"ATTENZIONE: prima di procedere assicurarsi che nessuna installazione CLIENT sia "
    u"connessa alla base dati.\r\n\r\nContinuare ?"_s;

/**
 * The main window of a SERVER whose registry holds operator A-12 under an old name, with its open
 * application 7 current, the registry-update command wired as the program wires it, and the demo
 * server's operator download.
 */
struct Banco
{
    FakeServer server;
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};
    std::unique_ptr<Main> main;

    Banco()
    {
        withoutEnvironmentProxies();
        installRegionalServices(server);
        test.writeFile(u"KX58TORVA.INI"_s,
                       "[Installazione]\r\nTipo=Multiutenza\r\nVersione=SERVER\r\n"
                       "[BaseDati]\r\nDatabase=KX58TORVA.mdb\r\n[CONNESSIONE]\r\nAGGIORNADB=" +
                           server.url(u"anagrafe/scarico.php"_s).toLatin1() + "\r\n");
        Context &context = test.context();
        context.fileIni().setNomeFile(test.path(u"KX58TORVA.INI"_s));
        context.fileIni().Scrivi(IniKeys::Provider, Connection::providerName());
        context.installazione().CartellaProgramma = test.folder() + u'/';
        context.installazione().PercorsoDB = db.path();
        context.installazione().TipoInstallazione = u"Multiutenza"_s;
        context.installazione().CredenzialeServer = u"utente:segreta@"_s;
        context.installazione().IndirizzoServer = u"http://127.0.0.1"_s;
        db.insert(u"CorsiOper"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Denominazione"_s, u"AttEcono"_s},
                  {{u"A"_s, 12, u"NOME VECCHIO"_s, 1111}});
        db.insert(u"CorsiCompo"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"TipoCompo"_s},
                  {{u"A"_s, 12, 1, u"SL"_s}});
        db.insert(u"Domande"_s, {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s, u"DomandaStampata"_s},
                  {{7, u"A"_s, 12, 0}});
        corsiDB().open(db.path(), Connection::Mode::Shared);
        context.domanda().NumDomaCorrente = 7;
        context.domanda().GrupOpeCorrente = u"A"_s;
        context.domanda().OperatoreCorrente = u"12"_s;

        FinestreComandi finestre = finestreNonDisponibili(context.prompt);
        finestre.AggiornaBaseDati = voceAggiornaBaseDati(context);
        main = std::make_unique<Main>(context, std::move(finestre));
        main->Form_Load();
        main->Form_Activate();
        main->show();
        test.prompt.expect(Collegamento);
        test.prompt.expect(NessunClient, Prompt::Answer::Yes);
    }
    ~Banco()
    {
        main.reset();
        if (corsiDB().isOpen())
            corsiDB().close();
    }

    Connection &corsiDB() { return test.context().DE().CorsiDB(); }
    QWidget *pannello() { return control<QWidget>(main.get(), u"pnlAttesa"_s); }
    QStringList presenti(const QString &cartella) const
    {
        return QDir(test.path(cartella)).entryList(QDir::Files, QDir::Name);
    }
    QStringList voci(QDialog &finestra)
    {
        QStringList items;
        auto *elenco = control<QListWidget>(&finestra, u"LstElenco"_s);
        for (int i = 0; i < elenco->count(); ++i)
            items << elenco->item(i)->text();
        return items;
    }
};

} // namespace

class TestAggiornaBaseDatiUi : public QObject
{
    Q_OBJECT

private slots:
    void theRegistryIsUpdatedFromTheServer()
    {
        Banco banco;
        QStringList voci;
        QString didascalia;
        QString attesa;
        bool pannelloVisibile = false;
        banco.test.dialogRunner.expect(u"frmInstOper"_s, [&](QDialog &finestra) {
            voci = banco.voci(finestra);
            didascalia = control<QLabel>(&finestra, u"Label1"_s)->text();
            pannelloVisibile = banco.pannello()->isVisibleTo(banco.main.get());
            attesa = control<QLabel>(banco.main.get(), u"lblAttesaAggiornamento"_s)->text();
            QTest::keyClicks(control<QLineEdit>(&finestra, u"TxtGrup"_s), u"B"_s);
            control<QLineEdit>(&finestra, u"TxtOper"_s)->setText(u"7"_s);
            press(&finestra, u"CmdIns"_s);
            banco.test.dialogRunner.expect(u"frmConferma"_s, [](QDialog &conferma) {
                control<QLineEdit>(&conferma, u"txtEMail"_s)->setText(u"mario.rossi@esempio.it"_s);
                press(&conferma, u"cmdConferma"_s);
            });
            press(&finestra, u"cmdConferma"_s);
        });
        banco.test.prompt.expect(u"Aggiornamento Base Dati effettuato."_s);

        press(banco.main.get(), u"cmdAggInst"_s);

        QVERIFY(banco.test.dialogRunner.allRun());
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().back().title, u"Aggiorna Base Dati"_s);
        QCOMPARE(voci, QStringList{u"A      -    12"_s});
        QCOMPARE(
            didascalia,
            u"Impostare la lista in modo che contenga gli Operatori da aggiornare, e quelli da inserire"_s);
        QVERIFY(pannelloVisibile);
        QCOMPARE(attesa, u"Aggiornamento base dati in corso.\r\nAttendere..."_s);
        QVERIFY(!banco.pannello()->isVisibleTo(banco.main.get()));
        QCOMPARE(banco.corsiDB().mode(), Connection::Mode::Shared);
        QCOMPARE(banco.corsiDB()
                     .query(u"SELECT GrupOpe, Operatore, Denominazione FROM CorsiOper ORDER BY GrupOpe"_s)
                     .rows,
                 (QList<QVariantList>{{u"A"_s, 12, u"CENTRO FORMAZIONE EMILIA"_s},
                                      {u"B"_s, 7, u"ISTITUTO ROMAGNA LAVORO"_s}}));
        QCOMPARE(banco.presenti(u"CAR"_s),
                 (QStringList{u"compo.car"_s, u"oper.car"_s, u"sediocc.car"_s, u"sediutil.car"_s}));
        QVERIFY(!QFileInfo::exists(banco.db.path() + u"_BAK"_s));
    }

    void aListClosedWithoutDownloadUpdatesNothing_data()
    {
        QTest::addColumn<bool>("annulla");
        QTest::newRow("ANNULLA") << true;
        QTest::newRow("close box") << false;
    }
    void aListClosedWithoutDownloadUpdatesNothing()
    {
        QFETCH(bool, annulla);
        Banco banco;
        banco.test.dialogRunner.expect(u"frmInstOper"_s, [annulla](QDialog &finestra) {
            if (annulla)
                press(&finestra, u"cmdAnnulla"_s);
            else
                finestra.reject();
        });

        press(banco.main.get(), u"cmdAggInst"_s);

        QVERIFY(banco.test.dialogRunner.allRun());
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().size(), 2);
        QCOMPARE(banco.test.context().installazione().EsitoInstOper, annulla ? u"annulla"_s : QString());
        QVERIFY(!banco.pannello()->isVisibleTo(banco.main.get()));
        QCOMPARE(banco.corsiDB().mode(), Connection::Mode::Shared);
        QCOMPARE(banco.corsiDB().scalar(u"SELECT Denominazione FROM CorsiOper"_s),
                 QVariant(u"NOME VECCHIO"_s));
        QCOMPARE(banco.presenti(u"BAD"_s), QStringList());
    }
};

QTEST_MAIN(TestAggiornaBaseDatiUi)
#include "tst_AggiornaBaseDatiUi.moc"
