#include "TestContext.h"
#include "core/files/ProgramFolder.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestProgramFolder : public QObject
{
    Q_OBJECT

private slots:
    void resolve_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("existing folder in other case") << u"Car"_s << u"CAR"_s;
        QTest::newRow("backslash and case") << u"car\\Oper.TX1"_s << u"CAR/oper.tx1"_s;
        QTest::newRow("missing file keeps its name") << u"Car\\Nuovo.txt"_s << u"CAR/Nuovo.txt"_s;
        QTest::newRow("missing folder keeps the rest as given") << u"Bad\\X.txt"_s << u"Bad/X.txt"_s;
        QTest::newRow("dot parts") << u"./CAR/../car/OPER.tx1"_s << u"CAR/oper.tx1"_s;
        QTest::newRow("exact name preferred") << u"kx.INI"_s << u"kx.INI"_s;
    }

    void resolve()
    {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        TestContext test;
        QDir(test.folder()).mkdir(u"CAR"_s);
        test.writeFile(u"CAR/oper.tx1"_s, "x");
        test.writeFile(u"kx.INI"_s, "a");
        test.writeFile(u"kx.ini"_s, "b");
        QCOMPARE(test.context().programFolder().resolve(name), test.path(expected));
    }

    void absolutePathsAreResolvedToo()
    {
        TestContext test;
        QDir(test.folder()).mkdir(u"Dati"_s);
        test.writeFile(u"Dati/KX58TORVA.mdb"_s, "x");
        const QString windowsStyle = QString(test.folder() + u"/DATI/kx58torva.MDB"_s).replace(u'/', u'\\');
        QCOMPARE(test.context().programFolder().resolve(windowsStyle), test.path(u"Dati/KX58TORVA.mdb"_s));
    }

    void plainNameParts_data()
    {
        QTest::addColumn<QString>("part");
        QTest::addColumn<bool>("plain");
        QTest::newRow("province") << u"TO"_s << true;
        QTest::newRow("group and operator") << u"A12"_s << true;
        QTest::newRow("empty") << QString() << true;
        QTest::newRow("accented letters and blanks") << u"Forlì Cesena"_s << true;
        QTest::newRow("single dots") << u"A.1.2"_s << true;
        QTest::newRow("slash") << u"A/x"_s << false;
        QTest::newRow("climbing out") << u"A/../../x"_s << false;
        QTest::newRow("leading slash") << u"/../../x"_s << false;
        QTest::newRow("backslash") << u"A\\x"_s << false;
        QTest::newRow("two dots alone") << u".."_s << false;
        QTest::newRow("drive colon") << u"C:"_s << false;
        QTest::newRow("NUL") << QString(u"A"_s + QChar(0) + u"x"_s) << false;
        QTest::newRow("line feed") << u"A\nx"_s << false;
        QTest::newRow("DEL") << QString(u"A"_s + QChar(0x7f)) << false;
        QTest::newRow("C1 control") << QString(u"A"_s + QChar(0x85)) << false;
    }

    void plainNameParts()
    {
        QFETCH(QString, part);
        QFETCH(bool, plain);
        QCOMPARE(kx::isPlainNamePart(part), plain);
    }
};

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_ProgramFolder.moc"
