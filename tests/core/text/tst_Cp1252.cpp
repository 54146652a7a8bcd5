#include "core/text/Cp1252.h"
#include "core/text/TextFile.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

class TestCp1252 : public QObject
{
    Q_OBJECT

private slots:
    void everyByteSurvivesARoundTrip()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QCOMPARE(Cp1252::encode(Cp1252::decode(all)), all);
    }

    void mapsTheWindowsPunctuation()
    {
        QCOMPARE(Cp1252::decode("\x80\x92\xe0\xe8"), u"€’àè"_s);
        QCOMPARE(Cp1252::encode(u"perché €"_s), QByteArray("perch\xe9 \x80"));
        QCOMPARE(Cp1252::encode(u"ş"_s), QByteArray("?"));
        QVERIFY(Cp1252::canEncode(u"Città d'Aosta"_s));
        QVERIFY(!Cp1252::canEncode(u"漢"_s));
    }

    void splitLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << QByteArray() << QStringList();
        QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("last line unended") << QByteArray("a\r\nb") << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("lone LF stays in the line") << QByteArray("a\nb\r\n") << QStringList{u"a\nb"_s};
        QTest::newRow("lone CR ends a line") << QByteArray("a\rb") << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("empty lines kept")
            << QByteArray("\r\n\r\nx\r\n") << QStringList{QString(), QString(), u"x"_s};
        QTest::newRow("accents") << QByteArray("Forl\xec\r\n") << QStringList{u"Forlì"_s};
    }

    void splitLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QCOMPARE(TextFile::splitLines(bytes), lines);
    }

    void splitLinesAtAnyLineEnd_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("lone LF ends a line") << QByteArray("a\nb\n") << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("CR LF is one end") << QByteArray("a\r\nb") << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << QStringList{u"a"_s, QString(), u"b"_s};
        QTest::newRow("mixed") << QByteArray("a\rb\nc\r\n\n")
                               << QStringList{u"a"_s, u"b"_s, u"c"_s, QString()};
    }

    void splitLinesAtAnyLineEnd()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QCOMPARE(TextFile::splitLines(bytes, TextFile::LineEnds::Any), lines);
    }

    void joinLinesEndsEachWithCrLf()
    {
        QCOMPARE(TextFile::joinLines({u"Forlì"_s, QString()}), QByteArray("Forl\xec\r\n\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestCp1252)
#include "tst_Cp1252.moc"
