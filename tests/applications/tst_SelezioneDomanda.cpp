#include "FixtureDatabase.h"
#include "TestContext.h"
#include "applications/SelezioneDomanda.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

class TestSelezioneDomanda : public QObject
{
    Q_OBJECT

private slots:
    void operatorItem_data()
    {
        QTest::addColumn<QVariant>("grupOpe");
        QTest::addColumn<QVariant>("operatore");
        QTest::addColumn<QVariant>("denominazione");
        QTest::addColumn<QString>("voce");

        QTest::newRow("whole") << QVariant(u"A"_s) << QVariant(12) << QVariant(u"Ente Uno"_s)
                               << u"A  12  Ente Uno"_s;
        QTest::newRow("no name") << QVariant(u"B"_s) << QVariant(7) << QVariant() << u"B  7  "_s;
    }

    void operatorItem()
    {
        QFETCH(QVariant, grupOpe);
        QFETCH(QVariant, operatore);
        QFETCH(QVariant, denominazione);
        QFETCH(QString, voce);
        QCOMPARE(voceOperatore(grupOpe, operatore, denominazione), voce);
    }

    void splitsAnOperatorItem_data()
    {
        QTest::addColumn<QString>("voce");
        QTest::addColumn<QString>("grupOpe");
        QTest::addColumn<int>("operatore");
        QTest::addColumn<QString>("denominazione");

        QTest::newRow("whole") << u"A  12  Ente Uno"_s << u"A"_s << 12 << u"Ente Uno"_s;
        QTest::newRow("no name") << u"B  7  "_s << u"B"_s << 7 << QString();
        QTest::newRow("two blanks in the name cut it")
            << u"C  40000  Ente  Due"_s << u"C"_s << 40000 << u"Ente"_s;
    }

    void splitsAnOperatorItem()
    {
        QFETCH(QString, voce);
        QFETCH(QString, grupOpe);
        QFETCH(int, operatore);
        QFETCH(QString, denominazione);
        const OperatoreScelto scelto = scomponiVoceOperatore(voce);
        QCOMPARE(scelto.grupOpe, grupOpe);
        QCOMPARE(scelto.operatore, operatore);
        QCOMPARE(scelto.denominazione, denominazione);
    }

    void anItemWithoutNumberIsATypeMismatch()
    {
        QCOMPARE(errorOf([] { scomponiVoceOperatore(u"A  xx  Ente"_s); }).number(), ErrorCode::TypeMismatch);
    }

    void findsTheOperatorByGroupAndNumber_data()
    {
        QTest::addColumn<QString>("grupOpe");
        QTest::addColumn<QString>("operatore");
        QTest::addColumn<bool>("trovato");

        QTest::newRow("same operator, renamed since") << u"A"_s << u"12"_s << true;
        QTest::newRow("number with zeros in front") << u"A"_s << u"0012"_s << true;
        QTest::newRow("group in small letters") << u"a"_s << u"12"_s << true;
        QTest::newRow("other number") << u"A"_s << u"120"_s << false;
        QTest::newRow("other group") << u"B"_s << u"12"_s << false;
        QTest::newRow("no application current") << QString() << u"0"_s << false;
    }

    void findsTheOperatorByGroupAndNumber()
    {
        QFETCH(QString, grupOpe);
        QFETCH(QString, operatore);
        QFETCH(bool, trovato);
        QCOMPARE(voceDellOperatore(u"A  12  Nuovo Nome Srl"_s, grupOpe, operatore), trovato);
    }

    void provinceItemAndCode()
    {
        const QString voce = voceProvincia(u"000"_s, u"XX"_s, u"SUPER-PROVINCIA"_s);
        QCOMPARE(voce, u"000 - XX - SUPER-PROVINCIA"_s);
        QCOMPARE(codiceProvincia(voce), u"000"_s);
        QCOMPARE(codiceProvincia(QString()), QString());
    }

    void gridFilter()
    {
        QCOMPARE(filtroGriglia(filtroOperatore(u"A"_s, 12), u"000"_s),
                 u"GrupOpe='A' AND Operatore=12 AND PROV = '000'"_s);
        QCOMPARE(filtroOperatore(u"'"_s, 1), u"GrupOpe='''' AND Operatore=1"_s);
    }

    void deletion_data()
    {
        QTest::addColumn<int>("numDoma");
        QTest::addColumn<int>("esito");
        QTest::addColumn<int>("domandeRimaste");

        QTest::newRow("not printed: gone with its seats and courses")
            << 1001 << int(EsitoEliminazione::Eliminata) << 1;
        QTest::newRow("printed meanwhile: stays") << 1002 << int(EsitoEliminazione::Stampata) << 2;
        QTest::newRow("deleted meanwhile") << 1003 << int(EsitoEliminazione::GiaCancellata) << 2;
    }

    void deletion()
    {
        QFETCH(int, numDoma);
        QFETCH(int, esito);
        QFETCH(int, domandeRimaste);

        TestContext test;
        FixtureDatabase db(test.path(u"KX58TORVA.mdb"_s));
        db.insert(u"Domande"_s, {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s, u"DomandaStampata"_s},
                  {{1001, u"A"_s, 12, 0}, {1002, u"A"_s, 12, 1}});
        db.insert(u"CorsiSediInteressate"_s, {u"NumDoma"_s, u"SedeInteressata"_s},
                  {{1001, 1}, {1001, 1000}, {1002, 1}});
        db.insert(u"CorsiProp"_s, {u"NumDoma"_s, u"SedeInteressata"_s, u"Corso"_s},
                  {{1001, 1, u"0001"_s}, {1002, 1, u"0001"_s}});
        Connection corsiDB;
        corsiDB.open(db.path(), Connection::Mode::Shared);

        QCOMPARE(int(EliminaDomanda(corsiDB, numDoma)), esito);
        corsiDB.close();

        QCOMPARE(db.count(u"Domande"_s), domandeRimaste);
        QCOMPARE(db.scalar(u"SELECT COUNT(*) FROM CorsiSediInteressate WHERE NumDoma=1001"_s).toInt(),
                 numDoma == 1001 ? 0 : 2);
        QCOMPARE(db.scalar(u"SELECT COUNT(*) FROM CorsiProp WHERE NumDoma=1001"_s).toInt(),
                 numDoma == 1001 ? 0 : 1);
        QCOMPARE(db.scalar(u"SELECT COUNT(*) FROM CorsiProp WHERE NumDoma=1002"_s).toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSelezioneDomanda)
#include "tst_SelezioneDomanda.moc"
