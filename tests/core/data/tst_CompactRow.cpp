#include "core/data/CompactRow.h"

#include <QDate>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

class TestCompactRow : public QObject
{
    Q_OBJECT

private slots:
    void everyValueComesBackAsItWasGiven_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::newRow("Null") << QVariant();
        QTest::newRow("whole number") << QVariant(qlonglong(-9007199254740993));
        QTest::newRow("decimal") << QVariant(1234.5);
        QTest::newRow("text") << QVariant(u"Società Cooperativa \"L'Àncora\""_s);
        QTest::newRow("empty text") << QVariant(u""_s);
        QTest::newRow("null text") << QVariant(QString());
        QTest::newRow("odd-length text") << QVariant(u"abc"_s);
        QTest::newRow("bytes") << QVariant(QByteArray("\x00\x01\xff", 3));
        QTest::newRow("yes/no") << QVariant(true);
        QTest::newRow("date") << QVariant(QDate(2026, 12, 11));
        QTest::newRow("int") << QVariant(7);
    }

    // Between other values of every kind, so that each one's place in the block is checked too.
    void everyValueComesBackAsItWasGiven()
    {
        QFETCH(QVariant, value);
        const QVariantList values{u"x"_s, value, qlonglong(3), value, QVariant()};
        const CompactRow row(values);
        QCOMPARE(row.size(), values.size());
        for (int column = 0; column < values.size(); ++column) {
            const QVariant back = row.at(column);
            QCOMPARE(back.typeId(), values[column].typeId());
            QCOMPARE(back, values[column]);
            QCOMPARE(back.isNull(), values[column].isNull());
        }
        QCOMPARE(row.values(), values);
        const CompactRow copy = row;
        QCOMPARE(copy.values(), values);
    }

    void anEmptyRowHasNoColumns()
    {
        QCOMPARE(CompactRow().size(), 0);
        QCOMPARE(CompactRow(QVariantList()).values(), QVariantList());
    }
};

QTEST_GUILESS_MAIN(TestCompactRow)
#include "tst_CompactRow.moc"
