#include "tests/transmission/BancoZelto.h"
#include "transmission/DatasetZelto.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

class TestDatasetZelto : public QObject
{
    Q_OBJECT

private slots:
    void escapesEveryCharacterByItsRule_data()
    {
        QTest::addColumn<QString>("valore");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("quote") << u"a\"b"_s << u"a&quot;b"_s;
        QTest::newRow("ampersand") << u"a&b"_s << u"a&amp;b"_s;
        QTest::newRow("less-than") << u"a<b"_s << u"a&lt;b"_s;
        QTest::newRow("greater-than") << u"a>b"_s << u"a&gt;b"_s;
        QTest::newRow("apostrophe and blank unchanged") << u"l'ente "_s << u"l'ente "_s;
        QTest::newRow("CR LF as two references") << u"a\r\nb"_s << u"a&#13;&#10;b"_s;
        QTest::newRow("tab as a reference") << u"a\tb"_s << u"a&#9;b"_s;
        QTest::newRow("e acute") << u"é"_s << u"&#233;"_s;
        QTest::newRow("euro") << u"€"_s << u"&#8364;"_s;
        QTest::newRow("right single quotation mark") << u"’"_s << u"&#8217;"_s;
        QTest::newRow("code 1 left out") << u"a\u0001b"_s << u"ab"_s;
        QTest::newRow("code 127 unchanged") << u"a\u007Fb"_s << u"a\u007Fb"_s;
        QTest::newRow("emoji as one reference") << u"a😀b"_s << u"a&#128512;b"_s;
        QTest::newRow("lone surrogate left out") << u"a"_s + QChar(0xD800) + u"b"_s << u"ab"_s;
        QTest::newRow("replacement text not escaped again") << u"&amp;"_s << u"&amp;amp;"_s;
    }
    void escapesEveryCharacterByItsRule()
    {
        QFETCH(QString, valore);
        QFETCH(QString, atteso);
        QCOMPARE(CodificaTestoXml(valore), atteso);
    }

    void writesEachCourseByteForByte_data()
    {
        QTest::addColumn<QString>("guid");
        QTest::addColumn<QString>("golden");
        QTest::newRow("seat 5, escapes, ATS, one group twice, only DesInd3")
            << BancoZelto::Guid1 << u"corso-A00123005.xml"_s;
        QTest::newRow("occasional seat of component 7") << BancoZelto::Guid2 << u"corso-A00123007.xml"_s;
        QTest::newRow("operator of six digits, ATI Null") << BancoZelto::Guid3 << u"corso-A123456005.xml"_s;
        QTest::newRow("seat 1234, group without description")
            << BancoZelto::Guid4 << u"corso-A001231234.xml"_s;
        QTest::newRow("no course: the root lines only")
            << u"{00000000-0000-0000-0000-000000000000}"_s << u"nessun-corso.xml"_s;
    }
    void writesEachCourseByteForByte()
    {
        QFETCH(QString, guid);
        QFETCH(QString, golden);
        BancoZelto banco;
        QCOMPARE(CreaXmlCorso(banco.test.context().DE().CorsiDB(), guid), BancoZelto::golden(golden));
    }

    void findsTheCourseWhateverTheCaseOfItsGuid()
    {
        BancoZelto banco;
        QCOMPARE(CreaXmlCorso(banco.test.context().DE().CorsiDB(), BancoZelto::Guid1.toLower()),
                 BancoZelto::golden(u"corso-A00123005.xml"_s));
    }

    void joinsPrefixAndNumberOfTheSeat_data()
    {
        QTest::addColumn<QVariant>("pref");
        QTest::addColumn<QVariant>("tel");
        QTest::addColumn<QString>("riga");
        QTest::newRow("prefix and number")
            << QVariant(u"011"_s) << QVariant(u"123456"_s) << u"    <Telefono>011-123456</Telefono>\r\n"_s;
        QTest::newRow("empty prefix")
            << QVariant(u""_s) << QVariant(u"123456"_s) << u"    <Telefono>-123456</Telefono>\r\n"_s;
        QTest::newRow("Null prefix counts as empty")
            << QVariant() << QVariant(u"123456"_s) << u"    <Telefono>-123456</Telefono>\r\n"_s;
        QTest::newRow("escaped parts")
            << QVariant(u"0<1"_s) << QVariant(u"1&2"_s) << u"    <Telefono>0&lt;1-1&amp;2</Telefono>\r\n"_s;
        QTest::newRow("empty number: no field") << QVariant(u"011"_s) << QVariant(u""_s) << QString();
        QTest::newRow("Null number: no field") << QVariant(u"011"_s) << QVariant() << QString();
    }
    void joinsPrefixAndNumberOfTheSeat()
    {
        QFETCH(QVariant, pref);
        QFETCH(QVariant, tel);
        QFETCH(QString, riga);
        BancoZelto banco;
        banco.db.execute(u"UPDATE CorsiSediOcc SET Pref = ?, Tel = ? WHERE SedeOcc = 1001"_s, {pref, tel});
        const QString documento = CreaXmlCorso(banco.test.context().DE().CorsiDB(), BancoZelto::Guid2);
        if (riga.isEmpty())
            QVERIFY(!documento.contains(u"<Telefono>"_s));
        else
            QVERIFY2(documento.contains(
                         u"    <Cap>10100</Cap>\r\n    <Indirizzo>PIAZZA GRANDE 3</Indirizzo>\r\n"_s + riga +
                         u"    <Fax>"_s),
                     qPrintable(documento));
    }

    void leavesOutTheSeatRecordWhenTheSeatIsMissing()
    {
        BancoZelto banco;
        banco.db.execute(u"DELETE FROM CorsiSediOcc"_s);
        const QString documento = CreaXmlCorso(banco.test.context().DE().CorsiDB(), BancoZelto::Guid2);
        QVERIFY(documento.contains(u"<SedeOccasionale>1001</SedeOccasionale>"_s));
        QVERIFY(!documento.contains(u"SediOccasionaliZelto"_s));
    }

    void aSeatWithoutItsMunicipalityHasNoConversionCode()
    {
        BancoZelto banco;
        banco.db.execute(u"DELETE FROM Comuni"_s);
        const QString documento = CreaXmlCorso(banco.test.context().DE().CorsiDB(), BancoZelto::Guid2);
        QVERIFY(documento.contains(u"<CodiceSedeOccasionale>1001</CodiceSedeOccasionale>"_s));
        QVERIFY(!documento.contains(u"CodiceConversione"_s));
    }

    void escapesTheGuidAndTheCentreCode()
    {
        BancoZelto banco;
        banco.db.execute(u"UPDATE CorsiProp SET Guid = 'A&B', GrupOpe = '<' WHERE Corso = '0003'"_s);
        const QString documento = CreaXmlCorso(banco.test.context().DE().CorsiDB(), u"A&B"_s);
        QVERIFY(documento.contains(u"    <Guid>A&amp;B</Guid>\r\n"_s));
        QVERIFY(documento.contains(u"    <CodiceZeltoCentro>&lt;001231234</CodiceZeltoCentro>\r\n"_s));
    }

    void aNullOperatorStopsTheBuildWithInvalidUseOfNull()
    {
        BancoZelto banco;
        banco.db.execute(u"UPDATE CorsiProp SET Operatore = NULL WHERE Corso = '0003'"_s);
        const RoutineError errore =
            errorOf([&] { CreaXmlCorso(banco.test.context().DE().CorsiDB(), BancoZelto::Guid4); });
        QCOMPARE(errore.number(), ErrorCode::InvalidUseOfNull);
    }
};

QTEST_GUILESS_MAIN(TestDatasetZelto)
#include "tst_DatasetZelto.moc"
