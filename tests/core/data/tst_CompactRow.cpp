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

    void wideRowsKeepEachColumnInPlace_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("every");
        QTest::newRow("all Null") << 63 << 0;
        QTest::newRow("only the last of 65") << 65 << 64;
        QTest::newRow("every third of 130") << 130 << 3;
        QTest::newRow("every one of 200") << 200 << 1;
    }

    // Rows wider than a machine word, with their values far from the first columns.
    void wideRowsKeepEachColumnInPlace()
    {
        QFETCH(int, columns);
        QFETCH(int, every);
        QVariantList values(columns);
        for (int column = every - 1; every > 0 && column < columns; column += every) {
            switch (column % 3) {
            case 0:
                values[column] = qlonglong(column);
                break;
            case 1:
                values[column] = u"colonna %1"_s.arg(column);
                break;
            default:
                values[column] = QDate(2026, 1, 1).addDays(column);
                break;
            }
        }
        const CompactRow row(values);
        QCOMPARE(row.size(), columns);
        for (int column = 0; column < columns; ++column)
            QCOMPARE(row.at(column), values[column]);
        QCOMPARE(row.values(), values);
    }

    // Texts whose row fills from just under to just over 64 KB, each followed by other values.
    void longTextsComeBackWhole()
    {
        for (int length = 32700; length <= 32800; ++length) {
            const QVariantList values{qlonglong(1), QString(length, u'à'), u"fine"_s, QVariant(), 2.5};
            const CompactRow row(values);
            for (int column = 0; column < values.size(); ++column)
                QCOMPARE(row.at(column), values[column]);
            QCOMPARE(row.values(), values);
        }
    }

    void anEmptyRowHasNoColumns()
    {
        QCOMPARE(CompactRow().size(), 0);
        QCOMPARE(CompactRow(QVariantList()).values(), QVariantList());
    }
};

QTEST_GUILESS_MAIN(TestCompactRow)
#include "tst_CompactRow.moc"
