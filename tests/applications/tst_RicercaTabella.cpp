#include "TestContext.h"
#include "applications/RicercaTabella.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "tests/applications/BancoLuoghi.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

/** The fixture's places, with a municipality without a name; the searches only read them. */
struct Luoghi
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};

    Luoghi()
    {
        caricaLuoghi(db);
        db.execute(u"INSERT INTO Comuni (CodComune, Denominazione) VALUES ('000000', '')"_s);
        test.context().DE().CorsiDB().open(db.path(), Connection::Mode::Shared);
    }
    ~Luoghi() { test.context().DE().CorsiDB().close(); }
};

class TestRicercaTabella : public QObject
{
    Q_OBJECT

    std::unique_ptr<Luoghi> m_luoghi;

private slots:
    void initTestCase() { m_luoghi = std::make_unique<Luoghi>(); }
    void cleanupTestCase() { m_luoghi.reset(); }

    void searchFromTheFirstRow_data()
    {
        QTest::addColumn<ConfrontoRicerca>("confronto");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("trovato");

        const ConfrontoRicerca inizio = ConfrontoRicerca::Inizio;
        QTest::newRow("first in name order") << inizio << u"ROMA"_s << u"Roma"_s;
        QTest::newRow("a longer beginning") << inizio << u"ROMANO"_s << u"Romano Canavese"_s;
        QTest::newRow("apostrophe") << inizio << u"SANT'ANGELO L"_s << u"Sant'Angelo Lomellina"_s;
        QTest::newRow("accent") << inizio << u"FORLÌ"_s << u"Forlì"_s;
        QTest::newRow("empty: first name") << inizio << u""_s << u"Agliè"_s;
        QTest::newRow("contained only: not found") << inizio << u"DI ROMA"_s << QString();
        QTest::newRow("wildcards are characters") << inizio << u"R*"_s << QString();
        QTest::newRow("percent") << inizio << u"%"_s << QString();
        QTest::newRow("question mark") << inizio << u"R?MA"_s << QString();

        const ConfrontoRicerca contiene = ConfrontoRicerca::Contiene;
        QTest::newRow("contained: the first that holds it")
            << contiene << u"DI ROMA"_s << u"Fabrica di Roma"_s;
        QTest::newRow("contained: a beginning too") << contiene << u"ROMA"_s << u"Fabrica di Roma"_s;
        QTest::newRow("contained: apostrophe") << contiene << u"'EZZ"_s << u"Romano d'Ezzelino"_s;
        QTest::newRow("contained: accent in capitals") << contiene << u"GLIÈ"_s << u"Agliè"_s;
        QTest::newRow("contained: empty is the first row, empty name included") << contiene << u""_s << u""_s;
        QTest::newRow("contained: star") << contiene << u"R*MA"_s << QString();
        QTest::newRow("contained: percent") << contiene << u"%"_s << QString();
        QTest::newRow("contained: question mark") << contiene << u"?"_s << QString();
    }

    void searchFromTheFirstRow()
    {
        QFETCH(ConfrontoRicerca, confronto);
        QFETCH(QString, testo);
        QFETCH(QString, trovato);

        Recordset &rs = m_luoghi->test.context().DE().rs(u"QryComuniProv"_s);
        rs.setSort(u"Denominazione"_s);
        rs.open();
        rs.moveLast();
        const QString prima = rs.value(u"Denominazione"_s).toString();
        const bool atteso =
            !trovato.isEmpty() || (confronto == ConfrontoRicerca::Contiene && testo.isEmpty());

        QCOMPARE(cercaNelCampo(rs, u"Denominazione"_s, testo, confronto), atteso);
        QCOMPARE(rs.value(u"Denominazione"_s).toString(), atteso ? trovato : prima);
        rs.close();
    }
};

QTEST_GUILESS_MAIN(TestRicercaTabella)
#include "tst_RicercaTabella.moc"
