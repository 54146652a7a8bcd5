#include "core/text/ItalianNumbers.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

class TestItalianNumbers : public QObject
{
    Q_OBJECT

private slots:
    void wholeNumber_data()
    {
        // An empty expectation means that the text does not read as a number of that width.
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("int16");
        QTest::addColumn<QString>("int32");

        QTest::newRow("plain") << u"12"_s << u"12"_s << u"12"_s;
        QTest::newRow("blanks around") << u" 7 "_s << u"7"_s << u"7"_s;
        QTest::newRow("leading zero") << u"05"_s << u"5"_s << u"5"_s;
        QTest::newRow("a thousand with its separator") << u"1.000"_s << u"1000"_s << u"1000"_s;
        QTest::newRow("half down to even") << u"40,5"_s << u"40"_s << u"40"_s;
        QTest::newRow("half up to even") << u"41,5"_s << u"42"_s << u"42"_s;
        QTest::newRow("one and a half") << u"1,5"_s << u"2"_s << u"2"_s;
        QTest::newRow("two and a half") << u"2,5"_s << u"2"_s << u"2"_s;
        QTest::newRow("below a half") << u"0,4"_s << u"0"_s << u"0"_s;
        QTest::newRow("above a half") << u"0,6"_s << u"1"_s << u"1"_s;
        QTest::newRow("largest 16-bit") << u"32767"_s << u"32767"_s << u"32767"_s;
        QTest::newRow("16-bit overflow") << u"32768"_s << QString() << u"32768"_s;
        QTest::newRow("16-bit overflow by rounding") << u"32767,5"_s << QString() << u"32768"_s;
        QTest::newRow("32-bit overflow") << u"2.147.483.648"_s << QString() << QString();
        QTest::newRow("negative") << u"-3"_s << u"-3"_s << u"-3"_s;
        QTest::newRow("empty") << QString() << QString() << QString();
        QTest::newRow("a lone comma") << u","_s << QString() << QString();
        QTest::newRow("letters") << u"12a"_s << QString() << QString();
    }

    void wholeNumber()
    {
        QFETCH(QString, text);
        QFETCH(QString, int16);
        QFETCH(QString, int32);
        const auto asText = [](const auto &number) { return number ? QString::number(*number) : QString(); };
        QCOMPARE(asText(ItalianNumbers::readInt16(text)), int16);
        QCOMPARE(asText(ItalianNumbers::readInt32(text)), int32);
    }

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
