#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/config/IniFile.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/state/CurrentApplication.h"
#include "core/state/DomandaCorrente.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** A program folder with an INI file and an open database holding the given applications. */
struct Cartella
{
    TestContext test;
    FixtureDatabase fixture{test.path(u"KX58TORVA.mdb"_s)};

    explicit Cartella(const QByteArray &iniFile = "[BaseDati]\r\nDatabase=x\r\n")
    {
        test.writeFile(u"KX58TORVA.INI"_s, iniFile);
        test.context().fileIni().setNomeFile(test.path(u"KX58TORVA.INI"_s));
        fixture.insert(u"Province"_s, {u"Prov"_s, u"SigProv"_s, u"DesProv"_s},
                       {{u"037"_s, u"BO"_s, u"BOLOGNA"_s}, {u"040"_s, u"FC"_s, u"FORLI'-CESENA"_s}});
    }

    void domande(const QList<QVariantList> &rows)
    {
        fixture.insert(u"Domande"_s,
                       {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s, u"DenominazioneOp"_s, u"PROV"_s,
                        u"DomandaStampata"_s},
                       rows);
    }

    void apri() { test.context().DE().CorsiDB().open(fixture.path(), Connection::Mode::Shared); }

    QByteArray ini() { return test.readFile(u"KX58TORVA.INI"_s); }

    /** The Domande rows the filter selects, as a recordset's filter and after WHERE. */
    QList<int> righeSelezionate(const QString &filtro)
    {
        Recordset &rsDomande = test.context().DE().rs(u"Domande"_s);
        rsDomande.open();
        rsDomande.setFilter(filtro);
        const int filtrate = rsDomande.recordCount();
        rsDomande.close();
        return {filtrate, fixture.scalar(u"SELECT COUNT(*) FROM Domande WHERE "_s + filtro).toInt()};
    }
};

const QList<QVariantList> DueDomande = {
    {1201, u"A"_s, 40000, u"Ente Formazione Emilia"_s, u"037"_s, 0},
    {1305, u"B"_s, 12, u"Scuola dell'Arte"_s, u"040"_s, 1},
};

} // namespace

class TestDomandaCorrente : public QObject
{
    Q_OBJECT

private slots:
    void loadsTheApplicationOfTheIniFile_data()
    {
        QTest::addColumn<QByteArray>("iniFile");
        QTest::addColumn<QList<QVariantList>>("rows");
        QTest::addColumn<int>("numero");
        QTest::addColumn<QByteArray>("iniAfter");

        const QList<QVariantList> una = {DueDomande.front()};
        QTest::newRow("existing") << QByteArray("[BaseDati]\r\nNumDoma=1305\r\n") << DueDomande << 1305
                                  << QByteArray("[BaseDati]\r\nNumDoma=1305\r\n");
        QTest::newRow("deleted, one other") << QByteArray("[BaseDati]\r\nNumDoma=77\r\n") << una << 1201
                                            << QByteArray("[BaseDati]\r\nNumDoma=1201\r\n");
        QTest::newRow("deleted, two others") << QByteArray("[BaseDati]\r\nNumDoma=77\r\n") << DueDomande << 0
                                             << QByteArray("[BaseDati]\r\nNumDoma=0\r\n");
        QTest::newRow("no application") << QByteArray("[BaseDati]\r\nNumDoma=77\r\n") << QList<QVariantList>()
                                        << 0 << QByteArray("[BaseDati]\r\nNumDoma=0\r\n");
        QTest::newRow("key missing, one application")
            << QByteArray("[BaseDati]\r\nDatabase=x\r\n") << una << 1201
            << QByteArray("[BaseDati]\r\nDatabase=x\r\nNumDoma=1201\r\n");
        QTest::newRow("key missing, two applications")
            << QByteArray("[BaseDati]\r\nDatabase=x\r\n") << DueDomande << 0
            << QByteArray("[BaseDati]\r\nDatabase=x\r\nNumDoma=0\r\n");
        QTest::newRow("not a number") << QByteArray("[BaseDati]\r\nNumDoma=12ab\r\n") << DueDomande << 0
                                      << QByteArray("[BaseDati]\r\nNumDoma=0\r\n");
        QTest::newRow("out of range") << QByteArray("[BaseDati]\r\nNumDoma=99999999999\r\n") << una << 1201
                                      << QByteArray("[BaseDati]\r\nNumDoma=1201\r\n");
    }

    void loadsTheApplicationOfTheIniFile()
    {
        QFETCH(QByteArray, iniFile);
        QFETCH(QList<QVariantList>, rows);
        QFETCH(int, numero);
        QFETCH(QByteArray, iniAfter);
        Cartella cartella(iniFile);
        cartella.domande(rows);
        cartella.apri();
        CaricaDomandaCorrente(cartella.test.context());
        QCOMPARE(cartella.test.context().domanda().NumDomaCorrente, numero);
        QCOMPARE(cartella.ini(), iniAfter);
    }

    void numeroDomandaIni_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("numero");
        QTest::newRow("number") << u"1201"_s << 1201;
        QTest::newRow("blanks around") << u" 12 "_s << 12;
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("leading number only") << u"12ab"_s << 0;
        QTest::newRow("half rounds to even, down") << u"12.5"_s << 12;
        QTest::newRow("half rounds to even, up") << u"13.5"_s << 14;
        QTest::newRow("decimal") << u"12.6"_s << 13;
        QTest::newRow("comma is no decimal point") << u"12,6"_s << 0;
        QTest::newRow("not finite") << u"inf"_s << 0;
        QTest::newRow("above 32 bits") << u"2147483648"_s << 0;
        QTest::newRow("largest") << u"2147483647"_s << 2147483647;
    }

    void numeroDomandaIni()
    {
        QFETCH(QString, value);
        QFETCH(int, numero);
        QCOMPARE(::numeroDomandaIni(value), numero);
    }

    void reloadsTheWholeState()
    {
        Cartella cartella;
        cartella.domande(DueDomande);
        cartella.apri();
        Context &context = cartella.test.context();
        ImpostaDomandaCorrente(context, 1201);
        const CurrentApplication &state = context.domanda();
        QCOMPARE(state.NumDomaCorrente, 1201);
        QCOMPARE(state.GrupOpeCorrente, u"A"_s);
        QCOMPARE(state.OperatoreCorrente, u"40000"_s);
        QCOMPARE(state.DenominazioneOpCorrente, u"Ente Formazione Emilia"_s);
        QCOMPARE(state.ProvCorrente, u"037"_s);
        QCOMPARE(state.DesProvCorrente, u"BOLOGNA"_s);
        QCOMPARE(state.DomandaStampataCorrente, false);
        QCOMPARE(state.FiltroDomandaCorrente, u"GrupOpe='A' AND Operatore=40000 AND NumDoma=1201"_s);
        QCOMPARE(cartella.ini(), QByteArray("[BaseDati]\r\nDatabase=x\r\nNumDoma=1201\r\n"));

        ImpostaDomandaCorrente(context, 1305);
        QCOMPARE(state.OperatoreCorrente, u"12"_s);
        QCOMPARE(state.DesProvCorrente, u"FORLI'-CESENA"_s);
        QCOMPARE(state.DomandaStampataCorrente, true);

        // The filter selects the application's rows, in a recordset and in SQL.
        Recordset &rsDomande = context.DE().rs(u"Domande"_s);
        QVERIFY(!rsDomande.isOpen());
        QVERIFY(rsDomande.filter().isEmpty());
        QCOMPARE(cartella.righeSelezionate(state.FiltroDomandaCorrente), (QList<int>{1, 1}));
    }

    void aMissingApplicationClearsTheState()
    {
        Cartella cartella;
        cartella.domande(DueDomande);
        cartella.apri();
        Context &context = cartella.test.context();
        ImpostaDomandaCorrente(context, 1305);
        ImpostaDomandaCorrente(context, 999);
        const CurrentApplication &state = context.domanda();
        QCOMPARE(state.NumDomaCorrente, 0);
        QCOMPARE(state.OperatoreCorrente, u"0"_s);
        QVERIFY(state.GrupOpeCorrente.isEmpty());
        QVERIFY(state.DesProvCorrente.isEmpty());
        QVERIFY(!state.DomandaStampataCorrente);
        QCOMPARE(cartella.ini(), QByteArray("[BaseDati]\r\nDatabase=x\r\nNumDoma=0\r\n"));

        // With no application the filter selects nothing, never everything.
        QCOMPARE(cartella.righeSelezionate(state.FiltroDomandaCorrente), (QList<int>{0, 0}));
        QCOMPARE(CurrentApplication().FiltroDomandaCorrente, state.FiltroDomandaCorrente);
    }

    void leavesRsDomandeClosedAndUnfiltered()
    {
        Cartella cartella;
        cartella.domande(DueDomande);
        cartella.apri();
        Context &context = cartella.test.context();
        Recordset &rsDomande = context.DE().rs(u"Domande"_s);
        rsDomande.open();
        rsDomande.setFilter(u"NumDoma = 1305"_s);
        ImpostaDomandaCorrente(context, 1201);
        QVERIFY(!rsDomande.isOpen());
        QVERIFY(rsDomande.filter().isEmpty());
    }

    void aGroupWithAnApostropheStillFilters()
    {
        Cartella cartella;
        cartella.domande({{50, u"'"_s, 3, u"x"_s, u"037"_s, 0}});
        cartella.apri();
        Context &context = cartella.test.context();
        ImpostaDomandaCorrente(context, 50);
        QCOMPARE(context.domanda().FiltroDomandaCorrente, u"GrupOpe='''' AND Operatore=3 AND NumDoma=50"_s);
        QCOMPARE(cartella.righeSelezionate(context.domanda().FiltroDomandaCorrente), (QList<int>{1, 1}));
    }

    void aFailureOffersRetryThenCancelEnds()
    {
        Cartella cartella;
        cartella.domande(DueDomande);
        Context &context = cartella.test.context();
        // The connection is closed: every attempt fails.
        const QString box =
            u"Errore 3709\r\nImpossibile utilizzare la connessione per eseguire l'operazione. La "
            u"connessione è chiusa o non è valida in questo contesto.\r\n\r\nSi è verificato un "
            u"errore imprevisto,scegliere riprova per ritentare l'operazione."_s;
        cartella.test.prompt.expect(box, Prompt::Answer::Retry);
        cartella.test.prompt.expect(box, Prompt::Answer::Cancel);
        QVERIFY_THROWS_EXCEPTION(ProgramExited, ImpostaDomandaCorrente(context, 1201));
        QVERIFY(cartella.test.prompt.allShown());
        QCOMPARE(cartella.test.prompt.shown().front().title, u"SalvaVarIni"_s);
        QCOMPARE(cartella.test.prompt.shown().front().buttons, Prompt::Buttons::RetryCancel);
        QCOMPARE(cartella.ini(), QByteArray("[BaseDati]\r\nDatabase=x\r\n"));
    }
};

QTEST_MAIN(TestDomandaCorrente)
#include "tst_DomandaCorrente.moc"
