#include "courses/CostEstimate.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCostEstimate : public QObject
{
    Q_OBJECT

private slots:
    void estimate_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("pupils");
        QTest::addColumn<QString>("hours");
        // The six labels joined with "|"; empty for a blank estimate.
        QTest::addColumn<QString>("labels");

        const QString qualsiasi = u"Corso qualsiasi"_s;
        const QString singolo = u"ATTIVITA' INDIVIDUALI"_s;
        const QString gruppo = u"ATTIVITA' RIVOLTE AI GRUPPI"_s;
        const auto etichette = [](const QStringList &sei) { return sei.join(u'|'); };

        QTest::newRow("one pupil, 10 hours")
            << qualsiasi << u"1"_s << u"10"_s
            << etichette({singolo, u""_s, u"36,5"_s, u"10"_s, u"1"_s, u"365,00"_s});
        QTest::newRow("one pupil, 200 hours of sostegno")
            << u"Azione di sostegno individuale"_s << u"1"_s << u"200"_s
            << etichette({singolo, u"c) Sostegni"_s, u"36,5"_s, u"200"_s, u"1"_s, u"7.300,00"_s});
        QTest::newRow("one pupil, 1.234 hours")
            << qualsiasi << u"1"_s << u"1.234"_s
            << etichette({singolo, u""_s, u"36,5"_s, u"1.234"_s, u"1"_s, u"45.041,00"_s});
        QTest::newRow("three pupils, 20 hours")
            << qualsiasi << u"3"_s << u"20"_s
            << etichette({gruppo, u""_s, u"12,5"_s, u"20"_s, u"3"_s, u"750,00"_s});
        QTest::newRow("pupils 1,5 read as 2")
            << qualsiasi << u"1,5"_s << u"20"_s
            << etichette({gruppo, u""_s, u"12,5"_s, u"20"_s, u"2"_s, u"500,00"_s});
        QTest::newRow("six pupils, 100 hours")
            << qualsiasi << u"6"_s << u"100"_s
            << etichette({gruppo, u""_s, u"71"_s, u"100"_s, u"(6)"_s, u"7.100,00"_s});
        QTest::newRow("twelve pupils, 200 hours")
            << qualsiasi << u"12"_s << u"200"_s
            << etichette({gruppo, u""_s, u"83"_s, u"200"_s, u"(12)"_s, u"16.600,00"_s});
        QTest::newRow("eight pupils, 461 hours")
            << qualsiasi << u"8"_s << u"461"_s
            << etichette({gruppo, u""_s, u"71"_s, u"461"_s, u"(8)"_s, u"32.731,00"_s});
        QTest::newRow("eight pupils, 462 hours no longer blank")
            << qualsiasi << u"8"_s << u"462"_s
            << etichette({gruppo, u""_s, u"71"_s, u"462"_s, u"(8)"_s, u"32.802,00"_s});
        QTest::newRow("nine pupils, 394 hours")
            << qualsiasi << u"9"_s << u"394"_s
            << etichette({gruppo, u""_s, u"83"_s, u"394"_s, u"(9)"_s, u"32.702,00"_s});
        QTest::newRow("nine pupils, 395 hours no longer blank")
            << qualsiasi << u"9"_s << u"395"_s
            << etichette({gruppo, u""_s, u"83"_s, u"395"_s, u"(9)"_s, u"32.785,00"_s});
        QTest::newRow("300 pupils no longer blank")
            << qualsiasi << u"300"_s << u"10"_s
            << etichette({gruppo, u""_s, u"83"_s, u"10"_s, u"(300)"_s, u"830,00"_s});
        QTest::newRow("handicap in a group has no category")
            << u"Integrazione di persone portatrici di handicap"_s << u"4"_s << u"10"_s
            << etichette({gruppo, u""_s, u"12,5"_s, u"10"_s, u"4"_s, u"500,00"_s});
        QTest::newRow("handicap alone")
            << u"Integrazione di persone portatrici di handicap"_s << u"1"_s << u"10"_s
            << etichette({singolo, u"a) Interventi per l'integrazione dei disabili"_s, u"36,5"_s, u"10"_s,
                          u"1"_s, u"365,00"_s});
        QTest::newRow("LARSA alone, written with a blank")
            << u"LARSA - Scuola / Formazione"_s << u"1"_s << u"10"_s
            << etichette({singolo, u"b) Laboratori di recupero e sviluppo degli apprendimenti (LaRSA)"_s,
                          u"36,5"_s, u"10"_s, u"1"_s, u"365,00"_s});
        QTest::newRow("LARSA in a group, written without a blank")
            << u"LARSA -Formazione / Scuola"_s << u"3"_s << u"10"_s
            << etichette({gruppo, u"e) Laboratori di recupero esviluppo degli apprendimenti (LaRSA)"_s,
                          u"12,5"_s, u"10"_s, u"3"_s, u"375,00"_s});
        QTest::newRow("sostegno in a group")
            << u"Azione di sostegno individuale"_s << u"2"_s << u"10"_s
            << etichette({gruppo, u"f) Sostegni"_s, u"12,5"_s, u"10"_s, u"2"_s, u"250,00"_s});
        QTest::newRow("laboratorio in a group")
            << u"Laboratori di lingua italiana"_s << u"7"_s << u"10"_s
            << etichette({gruppo, u"d) Servizi di accompagnamento per giovani stranieri"_s, u"71"_s, u"10"_s,
                          u"(7)"_s, u"710,00"_s});
        QTest::newRow("LAR has no category")
            << u"LAR (LABORATORIO DI ACCOMPAGNAMENTO E RECUPERO)"_s << u"1"_s << u"10"_s
            << etichette({singolo, u""_s, u"36,5"_s, u"10"_s, u"1"_s, u"365,00"_s});
        QTest::newRow("pupils 0") << qualsiasi << u"0"_s << u"10"_s << QString();
        QTest::newRow("no pupils") << qualsiasi << QString() << u"10"_s << QString();
        QTest::newRow("hours 0") << qualsiasi << u"3"_s << u"0"_s << QString();
        QTest::newRow("no hours") << qualsiasi << u"3"_s << QString() << QString();
        QTest::newRow("no course name") << QString() << u"3"_s << u"10"_s << QString();
        QTest::newRow("pupils no number") << qualsiasi << u","_s << u"10"_s << QString();
    }

    void estimate()
    {
        QFETCH(QString, name);
        QFETCH(QString, pupils);
        QFETCH(QString, hours);
        QFETCH(QString, labels);
        const PreventivoSpesa p = ::estimate(name, pupils, hours);
        const QStringList sei{p.lblDescAttivita, p.lbl_abcdef, p.lblParametro,
                              p.lblOre,          p.lblAllievi, p.lblTotale};
        QCOMPARE(p.vuoto() ? QString() : sei.join(u'|'), labels);
        if (p.vuoto())
            QCOMPARE(sei.join(QString()), QString());
    }

    void theNumbersAreThoseOfTheLabels()
    {
        const PreventivoSpesa p = ::estimate(u"x"_s, u"1"_s, u"200"_s);
        QCOMPARE(p.parametro, 36.5);
        QCOMPARE(p.totale, 7300.0);
    }
};

QTEST_GUILESS_MAIN(TestCostEstimate)
#include "tst_CostEstimate.moc"
