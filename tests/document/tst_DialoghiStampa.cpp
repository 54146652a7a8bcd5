#include "FixtureDatabase.h"
#include "TestContext.h"
#include "applications/SediInteressate.h"
#include "core/data/DataEnvironment.h"
#include "document/DialoghiStampa.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

class TestDialoghiStampa : public QObject
{
    Q_OBJECT

private slots:
    void theIntervalInMilliseconds_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<int>("millisecondi");
        QTest::addColumn<bool>("memorizzato");
        QTest::newRow("zero stores nothing") << u"0"_s << 0 << false;
        QTest::newRow("empty stores nothing") << QString() << 0 << false;
        QTest::newRow("two seconds") << u"2"_s << 2000 << true;
        QTest::newRow("rounded up") << u"2,6"_s << 3000 << true;
        QTest::newRow("a half to the even second") << u"2,5"_s << 2000 << true;
        QTest::newRow("below one second after a zero") << u"0,6"_s << 0 << false;
        QTest::newRow("not a number as a whole") << u"1,,"_s << 0 << false;
        QTest::newRow("beyond 32 bits") << u"9999999"_s << 2147483647 << true;
        QTest::newRow("the last whole second") << u"2147483"_s << 2147483000 << true;
    }

    void theIntervalInMilliseconds()
    {
        QFETCH(QString, testo);
        QFETCH(int, millisecondi);
        QFETCH(bool, memorizzato);
        const std::optional<qint32> intervallo = IntervalloStampaDaTesto(testo);
        QCOMPARE(intervallo.has_value(), memorizzato);
        if (memorizzato)
            QCOMPARE(*intervallo, millisecondi);
    }

    void theSeatOfAnItem_data()
    {
        QTest::addColumn<QString>("voce");
        QTest::addColumn<QString>("codice");
        QTest::addColumn<QString>("descrizione");
        QTest::newRow("component") << u" 2 - SEDE DI RIVOLI - SO - VIA PO 2"_s << u"2"_s
                                   << u"SEDE DI RIVOLI - SO - VIA PO 2"_s;
        QTest::newRow("occasional seat, no address")
            << u" 1001 - PALESTRA - UO - "_s << u"1001"_s << u"PALESTRA - UO -"_s;
    }

    void theSeatOfAnItem()
    {
        QFETCH(QString, voce);
        QFETCH(QString, codice);
        QFETCH(QString, descrizione);
        const std::optional<SedeScelta> sede = sedeDaVoce(voce);
        QVERIFY(sede);
        QCOMPARE(sede->sede, codice);
        QCOMPARE(sede->descrizione, descrizione);
    }

    void theSeatListHoldsTheSeatsWithCoursesInOrder()
    {
        TestContext test;
        FixtureDatabase db(test.path(u"KX58TORVA.mdb"_s));
        db.insert(u"Domande"_s, {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s},
                  {{7, u"A"_s, 12}, {8, u"A"_s, 12}});
        db.insert(
            u"CorsiSediInteressate"_s,
            {u"NumDoma"_s, u"SedeInteressata"_s, u"GrupOpe"_s, u"Operatore"_s, u"TipoCompo"_s,
             u"Denominazione"_s, u"Indirizzo"_s},
            {{7, 1, u"A"_s, 12, u"SL"_s, u"SEDE LEGALE"_s, u"VIA ROMA 1"_s},
             {7, 2, u"A"_s, 12, u"SO"_s, u"CENTRO DI FORMAZIONE PROFESSIONALE DI RIVOLI"_s, u"VIA PO 2"_s},
             {7, 3, u"A"_s, 12, u"SO"_s, u"SENZA CORSI"_s, u"VIA PO 3"_s},
             {7, 1001, u"A"_s, 12, u"UO"_s, u"PALESTRA"_s, QVariant()},
             {8, 2, u"A"_s, 12, u"SO"_s, u"ALTRA DOMANDA"_s, u"VIA PO 2"_s}});
        db.insert(u"CorsiProp"_s, {u"NumDoma"_s, u"SedeInteressata"_s, u"Corso"_s},
                  {{7, 1001, u"0001"_s}, {7, 2, u"0001"_s}, {7, 2, u"0002"_s}, {8, 2, u"0001"_s}});
        Context &context = test.context();
        context.DE().CorsiDB().open(db.path(), Connection::Mode::Shared);

        QCOMPARE(VociCompoSt(context.DE(), 7),
                 (QStringList{u" 2 - CENTRO DI FORMAZIONE PROFESSIO - SO - VIA PO 2"_s,
                              u" 1001 - PALESTRA - UO - "_s}));
        QCOMPARE(VociCompoSt(context.DE(), 9), QStringList());
        context.DE().CorsiDB().close();
    }
};

QTEST_GUILESS_MAIN(TestDialoghiStampa)
#include "tst_DialoghiStampa.moc"
