#include "FixtureDatabase.h"
#include "OrdinaryUser.h"
#include "core/data/Connection.h"
#include "core/data/Schema.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** The indexes and views of the database, each with its statement, by name. */
QList<QVariantList> indexesAndViews(FixtureDatabase &db)
{
    return db
        .query(u"SELECT type, name, sql FROM sqlite_master WHERE type IN ('index', 'view') ORDER BY name"_s)
        .rows;
}

/** The statement the program's schema makes the object with. */
QString schemaStatement(const QString &name)
{
    for (const QStringList &object : Connection::schemaObjects(databaseSchema())) {
        if (object.at(1) == name)
            return object.at(2);
    }
    return {};
}

/**
 * A database as an earlier version of the program made it: without the index on the applications'
 * operator, with the applications' view of its time, and holding an application.
 */
void makeEarlier(FixtureDatabase &db)
{
    db.execute(u"DROP INDEX DomandeOperatore"_s);
    db.execute(u"DROP VIEW QryDomande"_s);
    db.execute(u"CREATE VIEW QryDomande AS SELECT D.NumDoma, D.GrupOpe, D.Operatore FROM Domande D"_s);
    db.insert(u"Domande"_s, {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s, u"LegNome"_s},
              {{2021001, u"A"_s, 7, u"ROSSI MARIO"_s}});
}

} // namespace

class TestSchemaUpdate : public QObject
{
    Q_OBJECT

private slots:
    // An existing database gets the indexes it lacks and the views as the program has them now; its
    // rows stay, and a second opening finds nothing to do.
    void anEarlierDatabaseGetsTheIndexesAndViews()
    {
        QTemporaryDir dir;
        FixtureDatabase db(dir.filePath(u"KX58TORVA.mdb"_s));
        const QList<QVariantList> current = indexesAndViews(db);
        makeEarlier(db);
        QVERIFY(indexesAndViews(db) != current);
        {
            Connection connection;
            connection.open(db.path(), Connection::Mode::Shared);
            QVERIFY(updateIndexesAndViews(connection));
            QCOMPARE(
                connection.scalar(u"SELECT LegNome FROM QryDomande WHERE NumDoma = 2021001"_s).toString(),
                u"ROSSI MARIO"_s);
        }
        QCOMPARE(indexesAndViews(db), current);
        QCOMPARE(db.scalar(u"SELECT sql FROM sqlite_master WHERE name = 'QryDomande'"_s).toString(),
                 schemaStatement(u"QryDomande"_s));
        QCOMPARE(db.count(u"Domande"_s), 1);

        Connection connection;
        connection.open(db.path(), Connection::Mode::Shared);
        QVERIFY(updateIndexesAndViews(connection));
        connection.close();
        QCOMPARE(indexesAndViews(db), current);
    }

    void aDatabaseThatCannotTakeTheChangeIsLeftAsItWas_data()
    {
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("read only") << true;
        // Another installation writes meanwhile: the update waits for it, then gives up.
        QTest::newRow("in use") << false;
    }

    // A database the program may read but not change now keeps what it has and works as before.
    void aDatabaseThatCannotTakeTheChangeIsLeftAsItWas()
    {
        QFETCH(bool, readOnly);
        QTemporaryDir dir;
        FixtureDatabase db(dir.filePath(u"KX58TORVA.mdb"_s));
        makeEarlier(db);
        const QList<QVariantList> earlier = indexesAndViews(db);
        const auto update = [&db] {
            Connection connection;
            connection.open(db.path(), Connection::Mode::Shared);
            QVERIFY(!updateIndexesAndViews(connection));
            QCOMPARE(connection.scalar(u"SELECT Operatore FROM QryDomande WHERE NumDoma = 2021001"_s).toInt(),
                     7);
        };
        if (readOnly) {
            QVERIFY(QFile::setPermissions(db.path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
            asOrdinaryUser(dir.path(), update);
        } else {
            Connection writer;
            writer.open(db.path(), Connection::Mode::Shared);
            Transaction writing(writer);
            writer.execute(u"UPDATE Domande SET LegNome = 'BIANCHI' WHERE NumDoma = 2021001"_s);
            update();
        }
        QCOMPARE(indexesAndViews(db), earlier);
    }
};

QTEST_GUILESS_MAIN(TestSchemaUpdate)
#include "tst_SchemaUpdate.moc"
