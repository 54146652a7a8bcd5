#include "DemoDatabase.h"
#include "FakeServer.h"
#include "FakeServerServices.h"
#include "FixtureDatabase.h"
#include "TestContext.h"
#include "WindowTesting.h"
#include "applications/CreazioneDomanda.h"
#include "core/config/IniFile.h"
#include "core/data/DataEnvironment.h"
#include "core/state/CurrentApplication.h"
#include "core/state/InstallationState.h"
#include "core/state/StartupHooks.h"
#include "courses/ui/Riass.h"
#include "mainwindow/Comandi.h"
#include "refdata/ui/InstallaAnagraficheUi.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** The start-up window, unseen. */
struct AvvioMuto final : ProgressoAvvio
{
    void mostra(const QString &, const QString &) override {}
    void file(const QString &) override {}
    void tabella(const QString &) override {}
    void record(const QString &) override {}
};

/** The rows of a query without the columns named, which tell two applications apart. */
QList<QVariantList> senza(const QueryResult &result, const QStringList &colonne)
{
    QList<qsizetype> tolte;
    for (qsizetype i = 0; i < result.columns.size(); ++i) {
        if (colonne.contains(result.columns.at(i).name))
            tolte.prepend(i);
    }
    QList<QVariantList> righe = result.rows;
    for (QVariantList &riga : righe) {
        for (const qsizetype i : std::as_const(tolte))
            riga.removeAt(i);
    }
    return righe;
}

} // namespace

/** The demo folder's database against the registry the demo's first start downloads. */
class TestDemoDatabase : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { withoutEnvironmentProxies(); }

    void theDemoApplicationHoldsWhatANewApplicationOfItsOperatorGets()
    {
        FakeServer server;
        installRegionalServices(server);
        TestContext test;
        test.writeFile(u"KX58TORVA.INI"_s, "[CONNESSIONE]\r\nAGGIORNADB=" +
                                               server.url(u"anagrafe/scarico.php"_s).toLatin1() + "\r\n");
        test.context().fileIni().setNomeFile(test.path(u"KX58TORVA.INI"_s));
        test.context().installazione().CredenzialeServer = u"utente:segreta@"_s;
        test.context().installazione().IndirizzoServer = u"http://127.0.0.1"_s;
        FixtureDatabase db(test.path(u"KX58TORVA.mdb"_s));
        addDemoApplication(db.path());
        QCOMPARE(db.count(u"CorsiOper"_s), 0);

        // The demo's first start: the registry of A 12 from the demo server.
        Connection &corsiDB = test.context().DE().CorsiDB();
        corsiDB.open(db.path(), Connection::Mode::Shared);
        collegaInstallaAnagrafiche(test.context());
        test.dialogRunner.expect(u"frmInstOper"_s, [](QDialog &finestra) {
            QTest::keyClicks(control<QLineEdit>(&finestra, u"TxtGrup"_s), u"A"_s);
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

        // A new application of A 12, as the program makes it from that registry.
        CreaDomanda(corsiDB, test.prompt, {2021002, u"A"_s, 12, u"037"_s});
        corsiDB.close();

        const QStringList proprie{u"NumDoma"_s, u"Domanda"_s};
        const QList<QVariantList> domande =
            senza(db.query(u"SELECT * FROM Domande ORDER BY NumDoma"_s), proprie);
        QCOMPARE(domande.size(), 2);
        QCOMPARE(domande.at(0), domande.at(1));
        const QList<QVariantList> sediDemo = senza(
            db.query(
                u"SELECT * FROM CorsiSediInteressate WHERE NumDoma = 2021001 ORDER BY SedeInteressata"_s),
            proprie);
        QCOMPARE(sediDemo.size(), 2);
        QCOMPARE(sediDemo,
                 senza(db.query(u"SELECT * FROM CorsiSediInteressate WHERE NumDoma = 2021002 ORDER BY "
                                u"SedeInteressata"_s),
                       proprie));
        // The province the files are named after is the legal seat's.
        QCOMPARE(
            db.scalar(u"SELECT PROV FROM Domande WHERE NumDoma = 2021001"_s).toString(),
            db.scalar(u"SELECT substr(CodComune, 1, 3) FROM CorsiSediInteressate WHERE NumDoma = 2021001 "
                      u"AND TipoCompo = 'SL'"_s)
                .toString());
    }

    void aCourseOfTheDemoApplicationMovesToItsOtherSeat()
    {
        TestContext test;
        FixtureDatabase db(test.path(u"KX58TORVA.mdb"_s));
        addDemoApplication(db.path());
        // The course the demo walk puts on the legal seat.
        db.insert(u"CorsiProp"_s,
                  {u"NumDoma"_s, u"SedeInteressata"_s, u"GrupOpe"_s, u"Operatore"_s, u"Corso"_s,
                   u"DenCorso"_s, u"Guid"_s},
                  {{2021001, 1, u"A"_s, 12, u"0001"_s, u"TECNICO DELLA LOGISTICA"_s, u"{G-1}"_s}});
        Context &context = test.context();
        context.DE().CorsiDB().open(db.path(), Connection::Mode::Shared);
        CurrentApplication &domanda = context.domanda();
        domanda.NumDomaCorrente = 2021001;
        domanda.GrupOpeCorrente = u"A"_s;
        domanda.OperatoreCorrente = u"12"_s;

        // The main window's checks let the command open its window.
        test.prompt.expect(u"ATTENZIONE: prima di procedere assicurarsi che nessuna installazione CLIENT sia "
                           u"connessa alla base dati.\r\n\r\nContinuare ?"_s,
                           Prompt::Answer::Yes);
        QVERIFY(ControllaRiassegnazione(context));

        Riass finestra(context);
        finestra.show();
        for (const auto &[lista, voce] :
             {std::pair{u"cmbSedeDa"_s, u"  1 - SEDE LEGALE - SL - "_s},
              std::pair{u"cmbSedeA"_s, u"  2 - SEDE OPERATIVA BOLOGNA NORD - SO - "_s}}) {
            auto *combo = control<QComboBox>(&finestra, lista);
            int indice = -1;
            for (int i = 0; i < combo->count() && indice < 0; ++i) {
                if (combo->itemText(i).startsWith(voce))
                    indice = i;
            }
            QVERIFY2(indice > 0, qPrintable(lista));
            combo->setCurrentIndex(indice);
            emit combo->activated(indice);
        }
        test.prompt.expect(u"RIASSEGNAZIONE EFFETTUATA."_s);
        press(&finestra, u"cmdConfer"_s);
        QVERIFY(test.prompt.allShown());
        QCOMPARE(db.query(u"SELECT SedeInteressata, Corso FROM CorsiProp"_s).rows,
                 (QList<QVariantList>{{2, u"0001"_s}}));
        context.DE().CorsiDB().close();
    }
};

QTEST_MAIN(TestDemoDatabase)
#include "tst_DemoDatabase.moc"
