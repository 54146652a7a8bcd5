#include "FixtureDatabase.h"
#include "OrdinaryUser.h"
#include "TestContext.h"
#include "core/state/InstallationState.h"
#include "mainwindow/CopiaDiRiserva.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QByteArray Marker = "\"ultimo backup\"\r\n";

/** A program folder with a database holding one application, numbered as given. */
struct Cartella
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};

    Cartella()
    {
        test.context().installazione().PercorsoDB = u"KX58TORVA.mdb"_s;
        numera(1);
    }
    void numera(int numDoma)
    {
        db.execute(u"DELETE FROM Domande"_s);
        db.insert(u"Domande"_s, {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s}, {{numDoma, u"A"_s, 12}});
    }
    QStringList markers() const
    {
        return QDir(test.folder()).entryList({u"*.lst"_s}, QDir::Files, QDir::Name);
    }
    /** The application number a copy holds: which run wrote it. */
    int numeroIn(const QString &copy) const
    {
        Connection connection;
        connection.open(test.path(copy), Connection::Mode::Shared);
        const int numero = connection.scalar(u"SELECT NumDoma FROM Domande"_s).toInt();
        connection.close();
        return numero;
    }
};

} // namespace

class TestCopiaDiRiserva : public QObject
{
    Q_OBJECT

private slots:
    void fourExitsRotateFromTheFirstMarker()
    {
        Cartella cartella;
        cartella.test.writeFile(u"001.lst"_s, Marker);
        const QStringList attese = {u"backup.002"_s, u"backup.003"_s, u"backup.001"_s, u"backup.002"_s};
        for (int run = 0; run < attese.size(); ++run) {
            cartella.numera(100 + run);
            CopiaDiRiserva(cartella.test.context());
            const QString copia = attese.at(run);
            QCOMPARE(cartella.markers(), QStringList{copia.right(3) + u".lst"_s});
            QCOMPARE(cartella.test.readFile(copia.right(3) + u".lst"_s), Marker);
            QCOMPARE(cartella.numeroIn(copia), 100 + run);
        }
        QCOMPARE(cartella.numeroIn(u"backup.003"_s), 101);
        QVERIFY(!QFile::exists(cartella.test.path(u"backup.002.tmp"_s)));
        QVERIFY(cartella.test.prompt.shown().isEmpty());
    }

    void aLinkPlantedUnderTheNextMarkerIsReplacedNotWrittenThrough()
    {
        Cartella cartella;
        QTemporaryDir altrove;
        const QString bersaglio = altrove.filePath(u"importante.txt"_s);
        QFile file(bersaglio);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("da non toccare");
        file.close();
        cartella.test.writeFile(u"001.lst"_s, Marker);
        QVERIFY(QFile::link(bersaglio, cartella.test.path(u"002.lst"_s)));

        CopiaDiRiserva(cartella.test.context());

        QVERIFY(cartella.test.prompt.shown().isEmpty());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("da non toccare"));
        QVERIFY(!QFileInfo(cartella.test.path(u"002.lst"_s)).isSymLink());
        QCOMPARE(cartella.test.readFile(u"002.lst"_s), Marker);
        QCOMPARE(cartella.numeroIn(u"backup.002"_s), 1);
    }

    void aLinkPlantedUnderTheCopysTemporaryNameIsNotWrittenThrough()
    {
        Cartella cartella;
        QTemporaryDir altrove;
        const QString bersaglio = altrove.filePath(u"importante.txt"_s);
        QFile file(bersaglio);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("da non toccare");
        file.close();
        QVERIFY(QFile::link(bersaglio, cartella.test.path(u"backup.001.tmp"_s)));

        CopiaDiRiserva(cartella.test.context());

        QVERIFY(cartella.test.prompt.shown().isEmpty());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("da non toccare"));
        QCOMPARE(cartella.numeroIn(u"backup.001"_s), 1);
        QVERIFY(!QFileInfo::exists(cartella.test.path(u"backup.001.tmp"_s)));
    }

    void markersDecide_data()
    {
        QTest::addColumn<QStringList>("presenti");
        QTest::addColumn<QString>("copia");
        QTest::addColumn<QStringList>("dopo");
        QTest::newRow("none") << QStringList{} << u"backup.001"_s << QStringList{u"001.lst"_s};
        QTest::newRow("stray 004.lst")
            << QStringList{u"004.lst"_s} << u"backup.001"_s << QStringList{u"001.lst"_s, u"004.lst"_s};
        QTest::newRow("upper case") << QStringList{u"002.LST"_s} << u"backup.003"_s
                                    << QStringList{u"003.lst"_s};
        QTest::newRow("two markers, first by name")
            << QStringList{u"003.lst"_s, u"001.lst"_s} << u"backup.002"_s
            << QStringList{u"002.lst"_s, u"003.lst"_s};
        QTest::newRow("last of the three")
            << QStringList{u"003.lst"_s} << u"backup.001"_s << QStringList{u"001.lst"_s};
    }
    void markersDecide()
    {
        QFETCH(QStringList, presenti);
        QFETCH(QString, copia);
        QFETCH(QStringList, dopo);
        Cartella cartella;
        for (const QString &name : presenti)
            cartella.test.writeFile(name, Marker);
        CopiaDiRiserva(cartella.test.context());
        QVERIFY(QFile::exists(cartella.test.path(copia)));
        QCOMPARE(QDir(cartella.test.folder()).entryList({u"backup.*"_s}, QDir::Files), QStringList{copia});
        QCOMPARE(
            QDir(cartella.test.folder()).entryList({u"*.lst"_s}, QDir::Files, QDir::Name | QDir::IgnoreCase),
            dopo);
    }

    void permissionDeniedIsSilentAndLeavesNoMarker()
    {
        Cartella cartella;
        cartella.test.writeFile(u"002.lst"_s, Marker);
        asOrdinaryUser(cartella.test.folder(), [&] {
            QVERIFY(QFile::setPermissions(cartella.test.path(u"KX58TORVA.mdb"_s), QFileDevice::WriteOwner));
            CopiaDiRiserva(cartella.test.context());
            QVERIFY(QFile::setPermissions(cartella.test.path(u"KX58TORVA.mdb"_s),
                                          QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        });
        QVERIFY(cartella.test.prompt.shown().isEmpty());
        QVERIFY(cartella.markers().isEmpty());
        QVERIFY(!QFile::exists(cartella.test.path(u"backup.003"_s)));
    }

    void failedCopyKeepsThePreviousCopy()
    {
        Cartella cartella;
        cartella.test.writeFile(u"003.lst"_s, Marker);
        cartella.test.writeFile(u"backup.001"_s, "la copia precedente");
        cartella.test.writeFile(u"KX58TORVA.mdb"_s, "non una base dati");
        cartella.test.prompt.expect(
            u"Errore -2147467259 -> Formato di database non riconosciuto '%1'. Il file non è una base dati "
            u"del programma oppure è danneggiato."_s.arg(cartella.test.path(u"KX58TORVA.mdb"_s)));
        CopiaDiRiserva(cartella.test.context());
        QCOMPARE(cartella.test.prompt.shown().size(), 1);
        QCOMPARE(cartella.test.prompt.shown().first().title, u"Errore nella copia di riserva"_s);
        QCOMPARE(cartella.test.readFile(u"backup.001"_s), QByteArray("la copia precedente"));
        QVERIFY(cartella.markers().isEmpty());
        QVERIFY(!QFile::exists(cartella.test.path(u"backup.001.tmp"_s)));
    }
};

QTEST_GUILESS_MAIN(TestCopiaDiRiserva)
#include "tst_CopiaDiRiserva.moc"
