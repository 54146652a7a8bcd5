#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/config/IniFile.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/services/RoutineError.h"
#include "core/state/CurrentApplication.h"
#include "core/state/DomandaCorrente.h"
#include "core/state/Ricerche.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/**
 * Two applications of two operators. Application 1201 of A-40000 has courses on seats 1 and 1000,
 * one without an amount; application 1305 of B-12 has one course; seat 2 of 1201 has none.
 */
struct Dati
{
    TestContext test;
    FixtureDatabase fixture{test.path(u"KX58TORVA.mdb"_s)};

    Dati()
    {
        test.writeFile(u"KX58TORVA.INI"_s, "[BaseDati]\r\n");
        test.context().fileIni().setNomeFile(test.path(u"KX58TORVA.INI"_s));
        fixture.insert(u"Province"_s, {u"Prov"_s, u"SigProv"_s, u"DesProv"_s},
                       {{u"037"_s, u"BO"_s, u"BOLOGNA"_s}, {u"040"_s, u"FC"_s, u"FORLI'-CESENA"_s}});
        fixture.insert(u"CorsiOper"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Denominazione"_s},
                       {{u"A"_s, 40000, u"Ente Emilia"_s}, {u"B"_s, 12, u"Scuola"_s}});
        fixture.insert(u"CorsiCompo"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"TipoCompo"_s},
                       {{u"A"_s, 40000, 3, u"SL"_s},
                        {u"A"_s, 40000, 1, u"SO"_s},
                        {u"A"_s, 40000, 2, u"SL"_s},
                        {u"B"_s, 12, 1, u"SO"_s}});
        fixture.insert(u"Domande"_s, {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s, u"PROV"_s},
                       {{1201, u"A"_s, 40000, u"037"_s}, {1305, u"B"_s, 12, u"040"_s}});
        fixture.insert(u"CorsiSediInteressate"_s,
                       {u"NumDoma"_s, u"SedeInteressata"_s, u"GrupOpe"_s, u"Operatore"_s},
                       {{1201, 1, u"A"_s, 40000},
                        {1201, 2, u"A"_s, 40000},
                        {1201, 1000, u"A"_s, 40000},
                        {1305, 1, u"B"_s, 12}});
        fixture.insert(u"CorsiProp"_s, {u"NumDoma"_s, u"SedeInteressata"_s, u"Corso"_s, u"TotaleSpesa"_s},
                       {{1201, 1, u"0001"_s, 1000.25},
                        {1201, 1, u"0002"_s, 2000.5},
                        {1201, 1000, u"0001"_s, QVariant()},
                        {1305, 1, u"0001"_s, 99999.0}});
        fixture.insert(u"CorsiSediOccUtil"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"SedeOcc"_s},
                       {{u"A"_s, 40000, 1, 1000}, {u"B"_s, 12, 2, 1001}});
        test.context().DE().CorsiDB().open(fixture.path(), Connection::Mode::Shared);
    }

    Context &context() { return test.context(); }
};

} // namespace

class TestRicerche : public QObject
{
    Q_OBJECT

private slots:
    void province_data()
    {
        QTest::addColumn<QString>("codice");
        QTest::addColumn<QString>("descrizione");
        QTest::addColumn<QString>("sigla");
        QTest::newRow("found") << u"040"_s << u"FORLI'-CESENA"_s << u"FC"_s;
        QTest::newRow("not found") << u"999"_s << QString() << QString();
        QTest::newRow("empty") << QString() << QString() << QString();
        QTest::newRow("apostrophe") << u"0'4"_s << QString() << QString();
    }

    void province()
    {
        QFETCH(QString, codice);
        QFETCH(QString, descrizione);
        QFETCH(QString, sigla);
        Dati dati;
        QCOMPARE(RecuperaDesProv(dati.context(), codice), descrizione);
        QCOMPARE(RecuperaSigProv(dati.context(), codice), sigla);
        QVERIFY(dati.test.prompt.shown().isEmpty());
    }

    void provinceLookUpLeavesAnOpenRecordsetAlone()
    {
        Dati dati;
        Recordset &rsProvince = dati.context().DE().rs(u"Province"_s);
        rsProvince.open();
        rsProvince.setFilter(u"SigProv='FC'"_s);
        QCOMPARE(RecuperaDesProv(dati.context(), u"037"_s), u"BOLOGNA"_s);
        QVERIFY(rsProvince.isOpen());
        QCOMPARE(rsProvince.value(u"DesProv"_s).toString(), u"FORLI'-CESENA"_s);
    }

    void provinceFailureIsShown_data()
    {
        QTest::addColumn<QString>("routine");
        QTest::newRow("description") << u"RecuperaDesProv"_s;
        QTest::newRow("abbreviation") << u"RecuperaSigProv"_s;
    }

    void provinceFailureIsShown()
    {
        QFETCH(QString, routine);
        Dati dati;
        dati.context().DE().CorsiDB().close();
        dati.test.prompt.expect(
            routine + u" - 3709 - Impossibile utilizzare la connessione per eseguire "
                      u"l'operazione. La connessione è chiusa o non è valida in questo contesto."_s);
        const auto recupera = routine == u"RecuperaDesProv" ? &RecuperaDesProv : &RecuperaSigProv;
        QCOMPARE(recupera(dati.context(), u"037"_s), QString());
        QVERIFY(dati.test.prompt.allShown());
        QCOMPARE(dati.test.prompt.shown().back().title, u"Errore"_s);
        QCOMPARE(dati.test.prompt.shown().back().icon, Prompt::Icon::Critical);
    }

    void sedeLegale_data()
    {
        QTest::addColumn<QString>("gruppo");
        QTest::addColumn<int>("operatore");
        QTest::addColumn<QString>("sede");
        QTest::newRow("first legal seat") << u"A"_s << 40000 << u"2"_s;
        QTest::newRow("group in another case") << u"a"_s << 40000 << u"2"_s;
        QTest::newRow("no legal seat") << u"B"_s << 12 << u"0"_s;
        QTest::newRow("no such operator") << u"A"_s << 7 << u"0"_s;
    }

    void sedeLegale()
    {
        QFETCH(QString, gruppo);
        QFETCH(int, operatore);
        QFETCH(QString, sede);
        Dati dati;
        QCOMPARE(RecuperaSedeLegale(dati.context(), gruppo, operatore, u"aggiornamento"_s), sede);
        QVERIFY(dati.test.prompt.shown().isEmpty());
    }

    void sedeLegaleMissingAtInstallationEmptiesTheRegistry()
    {
        Dati dati;
        QCOMPARE(RecuperaSedeLegale(dati.context(), u"A"_s, 40000, u"Installazione"_s), u"2"_s);
        dati.test.prompt.expect(
            u"Manca la sede legale dell'Operatore B - 12. Impossibile utilizzare il programma."_s);
        QVERIFY_THROWS_EXCEPTION(ProgramExited,
                                 RecuperaSedeLegale(dati.context(), u"B"_s, 12, u"Installazione"_s));
        QCOMPARE(dati.test.prompt.shown().back().title, u"Installazione/Aggiornamento Base Dati"_s);
        QCOMPARE(dati.fixture.count(u"CorsiOper"_s), 0);
    }

    void countsAndTotalOfTheCurrentApplication_data()
    {
        QTest::addColumn<int>("numDoma");
        QTest::addColumn<int>("sedi");
        QTest::addColumn<int>("corsi");
        QTest::addColumn<double>("totale");
        QTest::newRow("courses on two seats, one without amount") << 1201 << 2 << 3 << 3000.75;
        QTest::newRow("one course") << 1305 << 1 << 1 << 99999.0;
        QTest::newRow("no application") << 0 << 0 << 0 << 0.0;
    }

    void countsAndTotalOfTheCurrentApplication()
    {
        QFETCH(int, numDoma);
        QFETCH(int, sedi);
        QFETCH(int, corsi);
        QFETCH(double, totale);
        Dati dati;
        ImpostaDomandaCorrente(dati.context(), numDoma);
        // Another window left the shared recordsets open and filtered: the counts do not mind.
        Recordset &rsQryCorsi = dati.context().DE().rs(u"QryCorsi"_s);
        rsQryCorsi.open();
        rsQryCorsi.setFilter(u"NumDoma=1305"_s);
        Recordset &rsQrySediIntCorsi = dati.context().DE().rs(u"QrySediIntCorsi"_s);
        rsQrySediIntCorsi.open();

        QCOMPARE(ContaSediInteressate(dati.context()), sedi);
        QCOMPARE(ContaCorsi(dati.context()), corsi);
        QCOMPARE(CalcolaTotaleSpesa(dati.context()), totale);
        QVERIFY(rsQryCorsi.isOpen());
        QCOMPARE(rsQryCorsi.recordCount(), 1);
        QVERIFY(rsQrySediIntCorsi.isOpen());
    }

    void chiaveUtenteCorso()
    {
        Dati dati;
        const QStringList columns = {u"IdAttivita"_s,  u"GrupOpe"_s,       u"Operatore"_s,
                                     u"Componente"_s,  u"ProgrAttivita"_s, u"AnnoInizio"_s,
                                     u"ProgrAccorp"_s, u"AnnGest"_s,       u"DenCorso"_s};
        const QString lungo = QString(120, u'x');
        dati.fixture.insert(u"CorsiApprovati"_s, columns,
                            {{77, u"A"_s, 40000, 3, u"12"_s, u"2020"_s, 1, u"2021"_s, u"Cucina"_s},
                             {78, u"A"_s, 40000, QVariant(), u"13"_s, QVariant(), 2, u"2021"_s, u"Sala"_s},
                             {79, u"A"_s, 40000, 3, u"14"_s, u"2020"_s, 1, u"2021"_s, lungo}});
        QCOMPARE(ChiaveUtenteCorso(dati.context(), 77), u"A.40000.3 - 12 - 2020 - 1 - 2021 - Cucina"_s);
        QCOMPARE(ChiaveUtenteCorso(dati.context(), 78), u"A.40000. - 13 -  - 2 - 2021 - Sala"_s);
        const QString long79 = ChiaveUtenteCorso(dati.context(), 79);
        QCOMPARE(long79.size(), 100);
        QCOMPARE(long79, QString(u"A.40000.3 - 14 - 2020 - 1 - 2021 - "_s + lungo).left(100));
        try {
            ChiaveUtenteCorso(dati.context(), 80);
            QFAIL("no error");
        } catch (const RoutineError &error) {
            QCOMPARE(error.number(), ErrorCode::NoCurrentRecord);
        }
    }

    void sedeOccUtilizzata_data()
    {
        QTest::addColumn<int>("numDoma");
        QTest::addColumn<int>("componente");
        QTest::addColumn<QString>("sede");
        QTest::addColumn<bool>("usata");
        QTest::newRow("used by the component") << 1201 << 1 << u"1000"_s << true;
        QTest::newRow("another component") << 1201 << 2 << u"1000"_s << false;
        QTest::newRow("another seat") << 1201 << 1 << u"1001"_s << false;
        QTest::newRow("another operator's use") << 1305 << 1 << u"1000"_s << false;
    }

    void sedeOccUtilizzata()
    {
        QFETCH(int, numDoma);
        QFETCH(int, componente);
        QFETCH(QString, sede);
        QFETCH(bool, usata);
        Dati dati;
        ImpostaDomandaCorrente(dati.context(), numDoma);
        QCOMPARE(SedeOccUtilizzata(dati.context(), componente, sede), usata);
    }
};

QTEST_MAIN(TestRicerche)
#include "tst_Ricerche.moc"
