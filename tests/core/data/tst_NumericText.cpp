#include "TestContext.h"
#include "core/data/NumericText.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

Q_DECLARE_METATYPE(kx::NumericColumn)

class TestNumericText : public QObject
{
    Q_OBJECT

private slots:
    void readsTheRule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<NumericColumn>("column");
        QTest::addColumn<QVariant>("expected");
        QTest::addColumn<int>("error");

        const auto integer = NumericColumn::Integer;
        const auto real = NumericColumn::Real;
        QTest::newRow("integer") << u"42"_s << integer << QVariant(qlonglong(42)) << 0;
        QTest::newRow("leading zeros") << u"007"_s << integer << QVariant(qlonglong(7)) << 0;
        QTest::newRow("plus sign") << u"+5"_s << integer << QVariant(qlonglong(5)) << 0;
        QTest::newRow("minus sign") << u"-12"_s << integer << QVariant(qlonglong(-12)) << 0;
        QTest::newRow("largest long") << u"2147483647"_s << integer << QVariant(qlonglong(2147483647)) << 0;
        QTest::newRow("smallest long")
            << u"-2147483648"_s << integer << QVariant(qlonglong(-2147483648LL)) << 0;
        QTest::newRow("past the long") << u"2147483648"_s << integer << QVariant() << 6;
        QTest::newRow("many digits") << u"123456789012345678901"_s << integer << QVariant() << 6;
        QTest::newRow("integer with fraction") << u"1,5"_s << integer << QVariant() << 13;
        QTest::newRow("thousands look-alike") << u"1.000"_s << integer << QVariant() << 13;
        QTest::newRow("decimal comma") << u"1,5"_s << real << QVariant(1.5) << 0;
        QTest::newRow("decimal point") << u"-1.25"_s << real << QVariant(-1.25) << 0;
        QTest::newRow("no whole part") << u",5"_s << real << QVariant(0.5) << 0;
        QTest::newRow("real without fraction") << u"300"_s << real << QVariant(300.0) << 0;
        QTest::newRow("thousands and decimals") << u"1.000,5"_s << real << QVariant() << 13;
        QTest::newRow("two separators") << u"1,2,3"_s << real << QVariant() << 13;
        QTest::newRow("empty text") << QString() << real << QVariant() << 13;
        QTest::newRow("empty for integer") << QString() << integer << QVariant() << 13;
        QTest::newRow("sign alone") << u"-"_s << integer << QVariant() << 13;
        QTest::newRow("separator alone") << u","_s << real << QVariant() << 13;
        QTest::newRow("inner blank") << u"1 000"_s << integer << QVariant() << 13;
        QTest::newRow("exponent") << u"1e5"_s << real << QVariant() << 13;
        QTest::newRow("letters") << u"abc"_s << integer << QVariant() << 13;
        QTest::newRow("a letter after too many digits") << u"123456789012x"_s << integer << QVariant() << 13;
        QTest::newRow("real too large") << QString(400, u'9') << real << QVariant() << 6;
    }
    void readsTheRule()
    {
        QFETCH(QString, text);
        QFETCH(NumericColumn, column);
        QFETCH(QVariant, expected);
        QFETCH(int, error);
        if (error != 0) {
            const RoutineError failure = errorOf([&] { numericValueFromText(text, column); });
            QCOMPARE(failure.number(), error);
            QCOMPARE(failure.description(), RoutineError::standardDescription(error));
            return;
        }
        const QVariant value = numericValueFromText(text, column);
        QCOMPARE(value.typeId(), expected.typeId());
        QCOMPARE(value, expected);
    }
};

QTEST_GUILESS_MAIN(TestNumericText)
#include "tst_NumericText.moc"
