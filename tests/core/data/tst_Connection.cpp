#include "FixtureDatabase.h"
#include "KeyDerivation.h"
#include "TestContext.h"
#include "core/data/Connection.h"
#include "core/services/RoutineError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Schema =
    u"CREATE TABLE Operatori (GrupOpe TEXT COLLATE NOCASE NOT NULL, Operatore INTEGER NOT NULL,"
    u" Denominazione TEXT COLLATE NOCASE, Importo REAL, PRIMARY KEY (GrupOpe, Operatore));"
    u"CREATE TABLE Sedi (GrupOpe TEXT COLLATE NOCASE, Operatore INTEGER, Sede INTEGER,"
    u" PRIMARY KEY (GrupOpe, Operatore, Sede),"
    u" FOREIGN KEY (GrupOpe, Operatore) REFERENCES Operatori ON DELETE RESTRICT);"_s;

/**
 * For its life the process acts as "nobody", a second account of the machine, and acts as root again
 * at its end, however the test leaves the scope. Only root can do it; switched() says whether it did.
 */
class SecondAccount
{
public:
    SecondAccount() : m_switched(::geteuid() == 0 && ::seteuid(65534) == 0) {}
    ~SecondAccount()
    {
        if (m_switched && ::seteuid(0) != 0)
            qFatal("cannot act as root again");
    }
    SecondAccount(const SecondAccount &) = delete;
    SecondAccount &operator=(const SecondAccount &) = delete;

    bool switched() const { return m_switched; }

private:
    bool m_switched;
};

} // namespace

class TestConnection : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;

    void makeDatabase()
    {
        m_path = m_dir.filePath(u"KX58TORVA.mdb"_s);
        QFile::remove(m_path);
        QFile::remove(lockPath());
        QDir().rmdir(lockPath());
        FixtureDatabase fixture(m_path, Schema);
        fixture.insert(u"Operatori"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Denominazione"_s, u"Importo"_s},
                       {{u"A"_s, 12, u"Formazione Srl"_s, 10.5}, {u"B"_s, 7, QVariant(), QVariant()}});
        // Each test makes the lock file anew, as the first connection of a run does.
        QFile::remove(lockPath());
    }

    QString lockPath() const { return m_path + u".lck"_s; }

    /** Lets every account read and write the database and make files beside it, as a shared folder does. */
    void shareWithEveryone() const
    {
        QVERIFY(::chmod(QFile::encodeName(m_dir.path()).constData(), 0777) == 0);
        QVERIFY(::chmod(QFile::encodeName(m_path).constData(), 0666) == 0);
    }

private slots:
    // The connection is tested keyed as the program keys its databases.
    void initTestCase() { KeyDerivation::useProgramRounds(); }
    void init() { makeDatabase(); }

    void theFileCannotBeReadWithoutTheKey()
    {
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(!bytes.startsWith("SQLite format 3"));
        QVERIFY(!bytes.contains("Formazione Srl"));

        sqlite3 *db = nullptr;
        QCOMPARE(sqlite3_open_v2(QFile::encodeName(m_path).constData(), &db, SQLITE_OPEN_READONLY, nullptr),
                 SQLITE_OK);
        const int rc = sqlite3_exec(db, "SELECT count(*) FROM Operatori", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        QCOMPARE(rc, SQLITE_NOTADB);

        Connection connection;
        connection.open(m_path, Connection::Mode::Shared);
        QCOMPARE(connection.scalar(u"SELECT Denominazione FROM Operatori WHERE GrupOpe = ?"_s, {u"a"_s})
                     .toString(),
                 u"Formazione Srl"_s);
    }

    void aPlainSqliteFileIsNotTheProgramsDatabase()
    {
        const QString plain = m_dir.filePath(u"plain.mdb"_s);
        sqlite3 *db = nullptr;
        sqlite3_open(QFile::encodeName(plain).constData(), &db);
        sqlite3_exec(db, "CREATE TABLE T (x)", nullptr, nullptr, nullptr);
        sqlite3_close(db);

        Connection connection;
        const RoutineError error = errorOf([&] { connection.open(plain, Connection::Mode::Shared); });
        QCOMPARE(error.number(), ErrorCode::Unspecified);
        QVERIFY(error.description().startsWith(u"Formato di database non riconosciuto '"_s + plain));
        QVERIFY(!connection.isOpen());
        // The refused opening left no lock behind.
        Connection exclusive;
        exclusive.open(m_path, Connection::Mode::Exclusive);
    }

    void aMissingFileIsReportedAndNotCreated()
    {
        const QString missing = m_dir.filePath(u"manca.mdb"_s);
        Connection connection;
        const RoutineError error = errorOf([&] { connection.open(missing, Connection::Mode::Shared); });
        QCOMPARE(error.number(), ErrorCode::Unspecified);
        QCOMPARE(error.description(), u"Impossibile trovare il file '"_s + missing + u"'."_s);
        QVERIFY(!QFile::exists(missing));
    }

    void anUnreadableDatabaseIsToldInItalian()
    {
        shareWithEveryone();
        QVERIFY(::chmod(QFile::encodeName(m_path).constData(), 0) == 0);
        Connection connection;
        SecondAccount nobody;
        const RoutineError error = errorOf([&] { connection.open(m_path, Connection::Mode::Shared); });
        QCOMPARE(error.number(), ErrorCode::Unspecified);
        QCOMPARE(error.description(), u"Impossibile aprire la base dati '"_s + m_path +
                                          u"'. Impossibile aprire il file della base dati o creare un file "
                                          u"temporaneo nella sua cartella: il file o la cartella non "
                                          u"esistono, oppure manca l'autorizzazione."_s);
    }

    void provider_data()
    {
        QTest::addColumn<QString>("provider");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("the INI file's provider") << u"Microsoft.Jet.OLEDB.4.0"_s << true;
        QTest::newRow("any case") << u"microsoft.jet.oledb.4.0"_s << true;
        QTest::newRow("another provider") << u"Microsoft.ACE.OLEDB.12.0"_s << false;
        QTest::newRow("empty") << QString() << false;
    }

    void provider()
    {
        QFETCH(QString, provider);
        QFETCH(bool, accepted);
        Connection connection;
        if (accepted) {
            connection.open(provider, m_path, Connection::Mode::Shared);
            QVERIFY(connection.isOpen());
        } else {
            const RoutineError error =
                errorOf([&] { connection.open(provider, m_path, Connection::Mode::Shared); });
            QCOMPARE(error.number(), ErrorCode::ProviderNotFound);
            QVERIFY(error.description().startsWith(u"Impossibile trovare il provider."_s));
            QVERIFY(!connection.isOpen());
        }
    }

    void exclusiveOpeningIsRefusedWhileAnotherConnectionIsOpen()
    {
        Connection shared;
        shared.open(m_path, Connection::Mode::Shared);
        Connection second;
        second.open(m_path, Connection::Mode::Shared);
        QVERIFY(shared.othersConnected());

        Connection exclusive;
        const RoutineError error = errorOf([&] { exclusive.open(m_path, Connection::Mode::Exclusive); });
        QCOMPARE(error.number(), ErrorCode::FileInUse);
        QVERIFY(error.description().contains(u"già in uso"_s));
        QVERIFY(!exclusive.isOpen());

        second.close();
        QVERIFY(!shared.othersConnected());
        // The test above gave our own read lock back: a newcomer still sees us.
        QVERIFY(errorOf([&] { exclusive.open(m_path, Connection::Mode::Exclusive); }).number() ==
                ErrorCode::FileInUse);
        shared.close();
        exclusive.open(m_path, Connection::Mode::Exclusive);
        QVERIFY(exclusive.isOpen());
    }

    void sharedOpeningIsRefusedWhileTheDatabaseIsHeldExclusively()
    {
        Connection exclusive;
        exclusive.open(m_path, Connection::Mode::Exclusive);
        QVERIFY(!exclusive.othersConnected());
        Connection shared;
        const RoutineError error = errorOf([&] { shared.open(m_path, Connection::Mode::Shared); });
        QCOMPARE(error.number(), ErrorCode::FileInUse);
        exclusive.close();
        shared.open(m_path, Connection::Mode::Shared);
        QVERIFY(shared.isOpen());
    }

    // The first account's lock file must not keep a second one, that may use the database, out.
    void aSecondAccountConnectsSharedAfterTheFirst()
    {
        if (::geteuid() != 0)
            QSKIP("a second account needs the tests to run as root");
        shareWithEveryone();
        const mode_t umask = ::umask(022);
        Connection first;
        first.open(m_path, Connection::Mode::Shared);
        ::umask(umask);
        struct stat lock = {};
        QVERIFY(::stat(QFile::encodeName(lockPath()).constData(), &lock) == 0);
        QCOMPARE(lock.st_mode & 0777, mode_t(0666));

        Connection second;
        {
            SecondAccount nobody;
            QVERIFY(nobody.switched());
            second.open(m_path, Connection::Mode::Shared);
            QCOMPARE(second.execute(u"INSERT INTO Operatori (GrupOpe, Operatore) VALUES ('C', 1)"_s), 1);
            QVERIFY(second.othersConnected());
            Connection exclusive;
            QCOMPARE(errorOf([&] { exclusive.open(m_path, Connection::Mode::Exclusive); }).number(),
                     ErrorCode::FileInUse);
        }
        QCOMPARE(first.scalar(u"SELECT count(*) FROM Operatori"_s).toInt(), 3);
        QVERIFY(first.othersConnected());
        second.close();
        QVERIFY(!first.othersConnected());
    }

    void aLockFileThatCannotBeUsedIsNamed_data()
    {
        // The lock file's permission bits when root made it; -1: a folder stands there.
        QTest::addColumn<int>("permissions");
        QTest::addColumn<bool>("exclusive");
        // 0 when the opening succeeds, and then no description.
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        const QString folder = u"Impossibile utilizzare il file di blocco '%LCK%': è una cartella."_s;
        QTest::newRow("a folder, shared") << -1 << false << ErrorCode::PathFileAccessError << folder;
        QTest::newRow("a folder, exclusive") << -1 << true << ErrorCode::PathFileAccessError << folder;
        QTest::newRow("read-only, shared") << 0644 << false << 0 << QString();
        QTest::newRow("read-only, exclusive")
            << 0644 << true << ErrorCode::PathFileAccessError
            << u"Impossibile aprire in modo esclusivo '%DB%': il file di blocco '%LCK%' non può essere "
               u"scritto (autorizzazione negata)."_s;
        QTest::newRow("unreadable, shared")
            << 0600 << false << ErrorCode::PathFileAccessError
            << u"Impossibile utilizzare il file di blocco '%LCK%': autorizzazione negata."_s;
    }

    // Seen by the second account: the lock file was left by root, whose umask narrowed it.
    void aLockFileThatCannotBeUsedIsNamed()
    {
        QFETCH(int, permissions);
        QFETCH(bool, exclusive);
        QFETCH(int, number);
        QFETCH(QString, description);
        if (permissions >= 0 && ::geteuid() != 0)
            QSKIP("a second account needs the tests to run as root");
        shareWithEveryone();
        if (permissions < 0) {
            QVERIFY(QDir().mkdir(lockPath()));
        } else {
            QFile made(lockPath());
            QVERIFY(made.open(QIODevice::WriteOnly));
            QVERIFY(::chmod(QFile::encodeName(lockPath()).constData(), mode_t(permissions)) == 0);
        }

        Connection connection;
        SecondAccount nobody;
        const RoutineError error = errorOf([&] {
            connection.open(m_path, exclusive ? Connection::Mode::Exclusive : Connection::Mode::Shared);
        });
        QCOMPARE(error.number(), number);
        QCOMPARE(connection.isOpen(), number == 0);
        if (number != 0) {
            QCOMPARE(error.description(),
                     description.replace(u"%LCK%"_s, lockPath()).replace(u"%DB%"_s, m_path));
        } else {
            // A read-only descriptor holds the read lock and takes part in the counting of others.
            QCOMPARE(connection.execute(u"DELETE FROM Operatori WHERE GrupOpe = 'B'"_s), 1);
            Connection other;
            other.open(m_path, Connection::Mode::Shared);
            QVERIFY(connection.othersConnected());
        }
    }

    void executeBindsEveryValueAndCountsTheChangedRows()
    {
        Connection connection;
        connection.open(m_path, Connection::Mode::Shared);
        QCOMPARE(connection.execute(u"INSERT INTO Operatori VALUES (?, ?, ?, ?)"_s,
                                    {u"C"_s, 3, u"L'Aquila'; DROP TABLE Operatori; --"_s, 1.25}),
                 1);
        QCOMPARE(connection.execute(u"UPDATE Operatori SET Importo = Importo + 1 WHERE GrupOpe IN (?, ?)"_s,
                                    {u"a"_s, u"c"_s}),
                 2);
        const QueryResult result = connection.query(
            u"SELECT GrupOpe, Operatore, Denominazione, Importo FROM Operatori ORDER BY GrupOpe"_s);
        QCOMPARE(result.rows.size(), 3);
        QCOMPARE(result.rows[2], (QVariantList{u"C"_s, 3LL, u"L'Aquila'; DROP TABLE Operatori; --"_s, 2.25}));
        QCOMPARE(result.rows[1].at(2), QVariant());
        QVERIFY(!result.rows[1].at(2).isValid());
        QCOMPARE(result.columns[2].table, u"Operatori"_s);
        QCOMPARE(result.columns[2].origin, u"Denominazione"_s);
        QCOMPARE(connection.scalar(u"SELECT Denominazione FROM Operatori WHERE 0"_s), QVariant());
    }

    void failuresCarryTheOldEnginesNumbers_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::newRow("key violation")
            << u"INSERT INTO Operatori (GrupOpe, Operatore) VALUES ('a', 12)"_s << ErrorCode::Unspecified
            << u"Le modifiche richieste alla tabella non sono state apportate perché "
               u"creerebbero valori duplicati"_s;
        QTest::newRow("missing related row")
            << u"INSERT INTO Sedi VALUES ('Z', 1, 1)"_s << ErrorCode::Unspecified
            << u"Impossibile aggiungere o modificare il record"_s;
        QTest::newRow("related rows")
            << u"DELETE FROM Operatori WHERE GrupOpe = 'A'"_s << ErrorCode::Unspecified
            << u"Impossibile eliminare o modificare il record"_s;
        QTest::newRow("required field")
            << u"INSERT INTO Operatori (GrupOpe) VALUES ('Q')"_s << ErrorCode::Unspecified
            << u"Il campo 'Operatore' non può contenere"_s;
        QTest::newRow("syntax") << u"SELEC * FROM Operatori"_s << ErrorCode::SyntaxError
                                << u"Errore di sintassi nell'istruzione SQL."_s;
        QTest::newRow("two statements")
            << u"DELETE FROM Sedi; DELETE FROM Operatori"_s << ErrorCode::SyntaxError
            << u"Errore di sintassi nell'istruzione SQL. (una sola istruzione"_s;
        QTest::newRow("unknown table") << u"SELECT * FROM Nessuna"_s << ErrorCode::TableNotFound
                                       << u"Impossibile trovare la tabella o la query di input 'Nessuna'."_s;
        QTest::newRow("unknown column") << u"SELECT Nessuna FROM Operatori"_s << ErrorCode::ParameterMissing
                                        << u"Nessun valore specificato per alcuni parametri necessari."_s;
    }

    void failuresCarryTheOldEnginesNumbers()
    {
        QFETCH(QString, sql);
        QFETCH(int, number);
        QFETCH(QString, description);
        Connection connection;
        connection.open(m_path, Connection::Mode::Shared);
        connection.execute(u"INSERT INTO Sedi VALUES ('A', 12, 1)"_s);
        const RoutineError error = errorOf([&] { connection.execute(sql); });
        QCOMPARE(error.number(), number);
        QVERIFY2(error.description().startsWith(description), qPrintable(error.description()));
        QCOMPARE(connection.scalar(u"SELECT count(*) FROM Operatori"_s).toInt(), 2);
    }

    void aClosedConnectionRefusesWork()
    {
        Connection connection;
        QCOMPARE(errorOf([&] { connection.execute(u"SELECT 1"_s); }).number(), ErrorCode::ConnectionClosed);
        QCOMPARE(errorOf([&] { connection.close(); }).number(), ErrorCode::ObjectClosed);
        connection.open(m_path, Connection::Mode::Shared);
        QCOMPARE(errorOf([&] { connection.open(m_path, Connection::Mode::Shared); }).number(),
                 ErrorCode::ObjectOpen);
        connection.close();
        connection.open(m_path, Connection::Mode::Exclusive);
        QCOMPARE(connection.mode(), Connection::Mode::Exclusive);
    }

    void aGuardThatIsNotCommittedLeavesNothing()
    {
        Connection connection;
        connection.open(m_path, Connection::Mode::Shared);
        {
            Transaction transaction(connection);
            connection.execute(u"DELETE FROM Operatori"_s);
            connection.execute(u"INSERT INTO Operatori (GrupOpe, Operatore) VALUES ('Z', 1)"_s);
        }
        QCOMPARE(connection.scalar(u"SELECT group_concat(GrupOpe) FROM Operatori"_s).toString(), u"A,B"_s);
        QVERIFY(!connection.inTransaction());

        {
            Transaction outer(connection);
            connection.execute(u"INSERT INTO Operatori (GrupOpe, Operatore) VALUES ('C', 1)"_s);
            {
                Transaction inner(connection);
                connection.execute(u"INSERT INTO Operatori (GrupOpe, Operatore) VALUES ('D', 1)"_s);
            }
            {
                Transaction inner(connection);
                connection.execute(u"INSERT INTO Operatori (GrupOpe, Operatore) VALUES ('E', 1)"_s);
                inner.commit();
            }
            outer.commit();
        }
        QCOMPARE(connection.scalar(u"SELECT group_concat(GrupOpe) FROM Operatori"_s).toString(),
                 u"A,B,C,E"_s);
    }

    void anotherConnectionSeesOnlyCommittedWork()
    {
        Connection first;
        first.open(m_path, Connection::Mode::Shared);
        Connection second;
        second.open(m_path, Connection::Mode::Shared);
        {
            Transaction transaction(first);
            first.execute(u"DELETE FROM Operatori WHERE GrupOpe = 'B'"_s);
            QCOMPARE(second.scalar(u"SELECT count(*) FROM Operatori"_s).toInt(), 2);
            transaction.commit();
        }
        QCOMPARE(second.scalar(u"SELECT count(*) FROM Operatori"_s).toInt(), 1);
    }

    void theBackupIsAKeyedCopyMadeWhileOthersWork()
    {
        Connection connection;
        connection.open(m_path, Connection::Mode::Shared);
        Connection other;
        other.open(m_path, Connection::Mode::Shared);
        const QString copy = m_path + u"_BAK"_s;
        QFile::remove(copy);
        connection.backupTo(copy);
        other.execute(u"DELETE FROM Operatori"_s);

        Connection reader;
        reader.open(copy, Connection::Mode::Exclusive);
        QCOMPARE(reader.scalar(u"SELECT count(*) FROM Operatori"_s).toInt(), 2);
        QFile file(copy);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(!file.readAll().contains("Formazione Srl"));
    }

    // The backup-protected update copies the database while its own transaction keeps others out.
    void theBackupInsideATransactionHoldsWhatIsCommitted()
    {
        Connection connection;
        connection.open(m_path, Connection::Mode::Exclusive);
        const QString copy = m_path + u"_BAK"_s;
        QFile::remove(copy);
        {
            Transaction transaction(connection);
            connection.execute(u"DELETE FROM Operatori WHERE GrupOpe = 'B'"_s);
            connection.backupTo(copy);
            connection.execute(u"INSERT INTO Operatori (GrupOpe, Operatore) VALUES ('C', 1)"_s);
            transaction.commit();
        }
        QCOMPARE(connection.scalar(u"SELECT group_concat(GrupOpe) FROM Operatori"_s).toString(), u"A,C"_s);
        connection.close();

        Connection reader;
        reader.open(copy, Connection::Mode::Shared);
        QCOMPARE(reader.scalar(u"SELECT group_concat(GrupOpe) FROM Operatori"_s).toString(), u"A,B"_s);
    }

    void primaryKeyInKeyOrder()
    {
        Connection connection;
        connection.open(m_path, Connection::Mode::Shared);
        QCOMPARE(connection.primaryKey(u"Sedi"_s), (QStringList{u"GrupOpe"_s, u"Operatore"_s, u"Sede"_s}));
        QCOMPARE(connection.primaryKey(u"operatori"_s), (QStringList{u"GrupOpe"_s, u"Operatore"_s}));
    }
};

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_Connection.moc"
