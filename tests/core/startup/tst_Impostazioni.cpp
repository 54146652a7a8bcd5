#include "TestContext.h"
#include "core/files/ProgramFolder.h"
#include "core/startup/Impostazioni.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestImpostazioni : public QObject
{
    Q_OBJECT

private slots:
    void percorsoMostrato_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("cut");
        QTest::newRow("short") << 10 << false;
        QTest::newRow("55 characters shown whole") << 55 << false;
        QTest::newRow("56 characters cut") << 56 << true;
        QTest::newRow("long") << 120 << true;
    }

    void percorsoMostrato()
    {
        QFETCH(int, length);
        QFETCH(bool, cut);
        const QString path = u"/"_s + QString(length - 5, u'a') + u".mdb"_s;
        QCOMPARE(path.size(), length);
        const PercorsoMostrato shown = ::percorsoMostrato(path);
        if (cut) {
            QCOMPARE(shown.testo, path.left(55) + u"..."_s);
            QCOMPARE(shown.tooltip, path);
        } else {
            QCOMPARE(shown.testo, path);
            QVERIFY(shown.tooltip.isEmpty());
        }
    }

    void controllaBaseDatiScelta_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing chosen") << QString() << QString() << u"Selezionare una base dati."_s;
        QTest::newRow("accdb") << u"x"_s << u"dati.accdb"_s
                               << u"Il file selezionato non è un database Microsoft Access."_s;
        QTest::newRow("mdbx") << u"x"_s << u"dati.mdbx"_s
                              << u"Il file selezionato non è un database Microsoft Access."_s;
        QTest::newRow("missing mdb") << u"x"_s << u"manca.mdb"_s << u"File inesistente."_s;
        QTest::newRow("lower case") << u"x"_s << u"dati.mdb"_s << QString();
        QTest::newRow("mixed case") << u"x"_s << u"Altri.MdB"_s << QString();
        QTest::newRow("a path the INI file cannot hold")
            << u"x"_s << u"Łódź/dati.mdb"_s
            << u"Il percorso %1 contiene caratteri che il file KX58TORVA.INI non può conservare: Łź\r\n"
               u"Scegliere una base dati in una cartella il cui percorso non contenga questi caratteri."_s;
    }

    void controllaBaseDatiScelta()
    {
        QFETCH(QString, shown);
        QFETCH(QString, file);
        QFETCH(QString, message);
        TestContext test;
        QVERIFY(QDir(test.folder()).mkdir(u"Łódź"_s));
        for (const QString &name :
             {u"dati.accdb"_s, u"dati.mdbx"_s, u"dati.mdb"_s, u"Altri.MdB"_s, u"Łódź/dati.mdb"_s})
            test.writeFile(name, "x");
        const QString path = file.isEmpty() ? file : test.path(file);
        QCOMPARE(::controllaBaseDatiScelta(shown, path),
                 message.contains(u"%1"_s) ? message.arg(path) : message);
    }

    void rinominaFileClient_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("none of the files") << QStringList{u"altro.txt"_s} << QStringList{u"altro.txt"_s};
        QTest::newRow("all five") << QStringList{u"KX58TORVA.mdb"_s, u"oper.tx1"_s, u"compo.tx1"_s,
                                                 u"sediocc.tx1"_s, u"sediutil.tx1"_s}
                                  << QStringList{u"KX58TORVA.cli"_s, u"compo.cli"_s, u"oper.cli"_s,
                                                 u"sediocc.cli"_s, u"sediutil.cli"_s};
        QTest::newRow("some missing")
            << QStringList{u"oper.tx1"_s, u"sediutil.tx1"_s} << QStringList{u"oper.cli"_s, u"sediutil.cli"_s};
        QTest::newRow("name taken, in any case")
            << QStringList{u"KX58TORVA.mdb"_s, u"KX58TORVA.CLI"_s, u"compo.tx1"_s}
            << QStringList{u"KX58TORVA.CLI"_s, u"KX58TORVA.mdb"_s, u"compo.cli"_s};
        QTest::newRow("names in another case") << QStringList{u"kx58torva.MDB"_s, u"OPER.TX1"_s}
                                               << QStringList{u"KX58TORVA.cli"_s, u"oper.cli"_s};
    }

    void rinominaFileClient()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        TestContext test;
        for (const QString &name : before)
            test.writeFile(name, name.toLatin1());
        RinominaFileClient(test.context().programFolder());
        QStringList files = QDir(test.folder()).entryList(QDir::Files);
        std::sort(files.begin(), files.end());
        std::sort(after.begin(), after.end());
        QCOMPARE(files, after);
    }
};

QTEST_GUILESS_MAIN(TestImpostazioni)
#include "tst_Impostazioni.moc"
