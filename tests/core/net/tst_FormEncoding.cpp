#include "core/net/FormEncoding.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_FormEncoding : public QObject
{
    Q_OBJECT

private slots:
    void formValue_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("ordinary value unchanged")
            << u"A123_x-y.z*(1)/@:;,?!'~"_s << QByteArray("A123_x-y.z*(1)/@:;,?!'~");
        QTest::newRow("empty") << QString() << QByteArray();
        QTest::newRow("ampersand cannot add a pair")
            << u"Rossi & Figli"_s << QByteArray("Rossi%20%26%20Figli");
        QTest::newRow("equals and plus") << u"a=b+c"_s << QByteArray("a%3Db%2Bc");
        QTest::newRow("percent and hash") << u"100%#1"_s << QByteArray("100%25%231");
        QTest::newRow("control characters") << u"a\r\nb\tc\x7f"_s << QByteArray("a%0D%0Ab%09c%7F");
        QTest::newRow("accented letters as Windows-1252") << u"Società è"_s << QByteArray("Societ%E0%20%E8");
        QTest::newRow("euro sign as Windows-1252") << u"€ 5"_s << QByteArray("%80%205");
        QTest::newRow("capital hex digits") << u"\u00ff"_s << QByteArray("%FF");
    }

    void formValue()
    {
        QFETCH(QString, value);
        QFETCH(QByteArray, expected);
        QCOMPARE(kx::formValue(value), expected);
    }
};

QTEST_GUILESS_MAIN(tst_FormEncoding)
#include "tst_FormEncoding.moc"
