#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/config/IniFile.h"
#include "core/config/IniKeys.h"
#include "core/data/DataEnvironment.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/InstallationState.h"
#include "mainwindow/AggiornaBaseDati.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Collegamento = u"Attivazione collegamento con Internet.\r\nProcedere solo dopo aver aperto la "
                             u"connessione \r\ncon il vostro Provider"_s;
const QString NessunClient =
    u"ATTENZIONE: prima di procedere assicurarsi che nessuna installazione CLIENT sia "
    u"connessa alla base dati.\r\n\r\nContinuare ?"_s;
const QString Effettuato = u"Aggiornamento Base Dati effettuato."_s;

/**
 * A SERVER with operators A-12 and B-7 in its registry, the database open in the installation's mode,
 * and the command's windows recorded: the panel, the list shown with its items, the update.
 */
struct Banco
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};
    QStringList eventi;
    QStringList voci;
    /** What the list window leaves in EsitoInstOper. */
    QString esito;
    std::function<bool()> aggiornaDB = [] { return true; };

    explicit Banco(const QString &tipo = u"Multiutenza"_s)
    {
        test.writeFile(u"KX58TORVA.INI"_s, "[BaseDati]\r\nDatabase=KX58TORVA.mdb\r\n");
        Context &context = test.context();
        context.fileIni().setNomeFile(test.path(u"KX58TORVA.INI"_s));
        context.fileIni().Scrivi(IniKeys::Provider, Connection::providerName());
        context.installazione().PercorsoDB = db.path();
        context.installazione().TipoInstallazione = tipo;
        db.insert(u"CorsiOper"_s, {u"GrupOpe"_s, u"Operatore"_s}, {{u"B"_s, 7}, {u"A"_s, 12}});
        corsiDB().open(db.path(),
                       tipo == TipoStandAlone ? Connection::Mode::Exclusive : Connection::Mode::Shared);
    }
    ~Banco()
    {
        if (corsiDB().isOpen())
            corsiDB().close();
    }

    Connection &corsiDB() { return test.context().DE().CorsiDB(); }

    void esegui()
    {
        OperazioniAggiornaBaseDati operazioni;
        operazioni.attesa = [this](bool visibile) {
            eventi << (visibile ? u"pannello"_s : u"via pannello"_s);
        };
        operazioni.puntatore = [this](bool occupato) { eventi << (occupato ? u"occupato"_s : u"normale"_s); };
        operazioni.elencoOperatori = [this](const QStringList &elenco) {
            eventi << u"elenco"_s;
            voci = elenco;
            QCOMPARE(corsiDB().mode(), Connection::Mode::Exclusive);
            test.context().installazione().EsitoInstOper = esito;
        };
        operazioni.AggiornaDB = [this] {
            eventi << u"AggiornaDB"_s;
            return aggiornaDB();
        };
        AggiornaBaseDati(test.context(), operazioni);
    }

    /** True when another installation can open the database now. */
    bool altriAmmessi()
    {
        Connection client;
        try {
            client.open(db.path(), Connection::Mode::Shared);
        } catch (const RoutineError &) {
            return false;
        }
        client.close();
        return true;
    }
};

} // namespace

class TestAggiornaBaseDati : public QObject
{
    Q_OBJECT

private slots:
    void declinedBeforeTheReopening_data()
    {
        QTest::addColumn<Prompt::Answer>("primo");
        QTest::newRow("Cancel in the first box") << Prompt::Answer::Cancel;
        QTest::newRow("No in the second box") << Prompt::Answer::Ok;
    }
    void declinedBeforeTheReopening()
    {
        QFETCH(Prompt::Answer, primo);
        Banco banco;
        banco.test.prompt.expect(Collegamento, primo);
        if (primo == Prompt::Answer::Ok)
            banco.test.prompt.expect(NessunClient, Prompt::Answer::No);
        Connection client;
        client.open(banco.db.path(), Connection::Mode::Shared);

        banco.esegui();

        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().front().title, u"Trasmissione dati"_s);
        QCOMPARE(banco.test.prompt.shown().front().buttons, Prompt::Buttons::OkCancel);
        if (primo == Prompt::Answer::Ok)
            QCOMPARE(banco.test.prompt.shown().back().buttons, Prompt::Buttons::YesNo);
        QCOMPARE(banco.eventi, QStringList());
        QVERIFY(banco.corsiDB().isOpen());
        QCOMPARE(banco.corsiDB().mode(), Connection::Mode::Shared);
        client.close();
    }

    void aConnectedClientEndsTheProgram()
    {
        Banco banco;
        banco.test.prompt.expect(Collegamento);
        banco.test.prompt.expect(NessunClient, Prompt::Answer::Yes);
        banco.test.prompt.expect(
            u"Errore 3045\r\nImpossibile aprire in modo esclusivo '"_s + banco.db.path() +
            u"': il file è già in uso da parte di un altro utente.\r\n\r\nQualche client "
            u"potrebbe ancora essere connesso alla base dati. \r\n\r\nIl programma "
            u"uscira a Windows.\r\nChiudere tutti i client, riavviare l'applicativo "
            u"SERVER e ritentare l'Operazione."_s);
        Connection client;
        client.open(banco.db.path(), Connection::Mode::Shared);

        QVERIFY_THROWS_EXCEPTION(ProgramExited, banco.esegui());

        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.eventi, QStringList());
        client.close();
    }

    void theListWindowDecidesTheUpdate_data()
    {
        QTest::addColumn<QString>("esito");
        QTest::addColumn<bool>("riuscito");
        QTest::addColumn<QStringList>("eventi");
        const QStringList fine{u"via pannello"_s, u"normale"_s};
        QTest::newRow("ANNULLA: no update")
            << u"annulla"_s << true << QStringList{u"pannello"_s, u"elenco"_s, u"occupato"_s} + fine;
        QTest::newRow("closed without a download: the update says no")
            << QString() << false
            << QStringList{u"pannello"_s, u"elenco"_s, u"occupato"_s, u"AggiornaDB"_s} + fine;
        QTest::newRow("confirmed: updated")
            << QString() << true
            << QStringList{u"pannello"_s, u"elenco"_s, u"occupato"_s, u"AggiornaDB"_s} + fine;
    }
    void theListWindowDecidesTheUpdate()
    {
        QFETCH(QString, esito);
        QFETCH(bool, riuscito);
        QFETCH(QStringList, eventi);
        Banco banco;
        banco.esito = esito;
        banco.aggiornaDB = [riuscito] { return riuscito; };
        banco.test.prompt.expect(Collegamento);
        banco.test.prompt.expect(NessunClient, Prompt::Answer::Yes);
        const bool successo = riuscito && esito.isEmpty();
        if (successo)
            banco.test.prompt.expect(Effettuato);

        banco.esegui();

        QVERIFY(banco.test.prompt.allShown());
        if (successo) {
            QCOMPARE(banco.test.prompt.shown().back().title, u"Aggiorna Base Dati"_s);
            QCOMPARE(banco.test.prompt.shown().back().icon, Prompt::Icon::Information);
        }
        QCOMPARE(banco.eventi, eventi);
        QCOMPARE(banco.voci, (QStringList{u"A      -    12"_s, u"B      -     7"_s}));
        QCOMPARE(banco.corsiDB().mode(), Connection::Mode::Shared);
        QVERIFY(banco.altriAmmessi());
    }

    void afterwardsTheInstallationsOwnMode_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<bool>("altri");
        QTest::newRow("multi-user: others may connect") << u"Multiutenza"_s << true;
        QTest::newRow("stand-alone: exclusive as before") << TipoStandAlone << false;
    }
    void afterwardsTheInstallationsOwnMode()
    {
        QFETCH(QString, tipo);
        QFETCH(bool, altri);
        Banco banco(tipo);
        banco.test.prompt.expect(Collegamento);
        banco.test.prompt.expect(NessunClient, Prompt::Answer::Yes);
        banco.test.prompt.expect(Effettuato);
        bool esclusivoDurante = false;
        banco.aggiornaDB = [&] {
            esclusivoDurante = !banco.altriAmmessi();
            return true;
        };

        banco.esegui();

        QVERIFY(esclusivoDurante);
        QCOMPARE(banco.altriAmmessi(), altri);
        QVERIFY(banco.corsiDB().isOpen());
    }

    void anUnexpectedErrorStillRestoresTheConnection()
    {
        Banco banco;
        banco.aggiornaDB = []() -> bool { throw RoutineError(ErrorCode::PermissionDenied); };
        banco.test.prompt.expect(Collegamento);
        banco.test.prompt.expect(NessunClient, Prompt::Answer::Yes);
        banco.test.prompt.expect(testoErrore(RoutineError(ErrorCode::PermissionDenied)));

        banco.esegui();

        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().back().title, u"Errore imprevisto"_s);
        QCOMPARE(banco.test.prompt.shown().back().icon, Prompt::Icon::Critical);
        QCOMPARE(banco.eventi.mid(banco.eventi.size() - 2), (QStringList{u"via pannello"_s, u"normale"_s}));
        QCOMPARE(banco.corsiDB().mode(), Connection::Mode::Shared);
        QVERIFY(banco.altriAmmessi());
    }

    void aFailedNormalReopeningEndsTheProgramAsAtStartUp()
    {
        Banco banco;
        const QString altrove = banco.test.path(u"spostata.mdb"_s);
        banco.test.writeFile(u"spostata.mdb"_s, "non una base dati");
        const RoutineError errore = errorOf([&] {
            Connection prova;
            prova.open(Connection::providerName(), altrove, Connection::Mode::Shared);
        });
        QVERIFY(errore.number() != 0);
        banco.aggiornaDB = [&] {
            // The database named is no database by the time the connection goes back to normal.
            banco.test.context().installazione().PercorsoDB = altrove;
            return false;
        };
        banco.test.prompt.expect(Collegamento);
        banco.test.prompt.expect(NessunClient, Prompt::Answer::Yes);
        banco.test.prompt.expect(testoErrore(errore));

        QVERIFY_THROWS_EXCEPTION(ProgramExited, banco.esegui());

        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().back().title, u"Errore di inizializzazione"_s);
        QCOMPARE(banco.eventi.mid(banco.eventi.size() - 2), (QStringList{u"via pannello"_s, u"normale"_s}));
        QVERIFY(!banco.corsiDB().isOpen());
    }
};

QTEST_GUILESS_MAIN(TestAggiornaBaseDati)
#include "tst_AggiornaBaseDati.moc"
