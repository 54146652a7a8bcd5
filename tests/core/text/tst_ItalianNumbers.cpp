#include "core/text/ItalianNumbers.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

class TestItalianNumbers : public QObject
{
    Q_OBJECT

private slots:
    void amount_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");

        QTest::newRow("nothing") << 0.0 << u"0,00"_s;
        QTest::newRow("cents") << 0.5 << u"0,50"_s;
        QTest::newRow("thousands") << 1234.5 << u"1.234,50"_s;
        QTest::newRow("millions") << 12345678.9 << u"12.345.678,90"_s;
        QTest::newRow("billions") << 1234567890.12 << u"1.234.567.890,12"_s;
        QTest::newRow("rounded to the cent") << 10.004 << u"10,00"_s;
        QTest::newRow("half a cent goes up") << 2.125 << u"2,13"_s;
        QTest::newRow("negative") << -1500.0 << u"-1.500,00"_s;
        QTest::newRow("a negative rounding to nothing") << -0.001 << u"0,00"_s;
    }

    void amount()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(ItalianNumbers::formatAmount(value), text);
    }
};

QTEST_GUILESS_MAIN(TestItalianNumbers)
#include "tst_ItalianNumbers.moc"
