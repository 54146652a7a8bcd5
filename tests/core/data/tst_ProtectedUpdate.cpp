#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/data/DataEnvironment.h"
#include "core/data/ProtectedUpdate.h"
#include "core/files/ProgramFolder.h"
#include "core/services/RoutineError.h"
#include "core/state/InstallationState.h"

#include <QDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** The protected update on the test's database and program folder. */
bool eseguiProtetto(TestContext &test, const AggiornamentoProtetto &update)
{
    Context &context = test.context();
    return EseguiAggiornamentoProtetto(context, context.DE().CorsiDB(), context.programFolder(), update);
}

const QString Schema = u"CREATE TABLE CorsiOper (GrupOpe TEXT COLLATE NOCASE, Operatore INTEGER,"
                       u" Denominazione TEXT COLLATE NOCASE, PRIMARY KEY (GrupOpe, Operatore));"
                       u"CREATE TABLE CorsiCompo (GrupOpe TEXT COLLATE NOCASE, Operatore INTEGER,"
                       u" Componente INTEGER, PRIMARY KEY (GrupOpe, Operatore, Componente));"_s;

const QString Riuscito = u"Ripristino della base dati riuscito"_s;
const QString CopiaNonRiuscita = u"Copia di sicurezza della base dati non riuscita. "
                                 u"Impossibile continuare l'operazione di aggiornamento."_s;

QList<QVariantList> rows(Connection &connection)
{
    QList<QVariantList> all = connection
                                  .query(u"SELECT GrupOpe, Operatore, Denominazione FROM CorsiOper"
                                         u" ORDER BY GrupOpe, Operatore"_s)
                                  .rows;
    all += connection
               .query(u"SELECT GrupOpe, Operatore, Componente FROM CorsiCompo"
                      u" ORDER BY GrupOpe, Operatore, Componente"_s)
               .rows;
    return all;
}

ino_t inode(const QString &path)
{
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

/**
 * True when some lock keeps another program from starting a write: the engine's reserved byte is taken.
 * An open file description lock meets our own process's locks too, so the probe sees them.
 */
bool writeLockHeld(int probe)
{
    constexpr off_t ReservedByte = 0x40000001;
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = ReservedByte;
    lock.l_len = 1;
    return ::fcntl(probe, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
}

} // namespace

class TestProtectedUpdate : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestContext> m_test;
    std::unique_ptr<FixtureDatabase> m_fixture;

    Connection &corsiDB() { return m_test->context().DE().CorsiDB(); }
    QString database() const { return m_test->path(u"KX58TORVA.mdb"_s); }

    /** The registry files and the moves of the registry update. */
    AggiornamentoProtetto registryUpdate(QList<std::function<bool()>> loaders)
    {
        AggiornamentoProtetto update;
        update.caricatori = std::move(loaders);
        for (const QString &name : {u"oper"_s, u"compo"_s}) {
            update.files.append(
                {name + u".tx1"_s, u"CAR\\"_s + name + u".car"_s, u"BAD\\"_s + name + u".car"_s});
        }
        return update;
    }

    std::function<bool()> insertOperator(const QString &group, int number)
    {
        return [this, group, number] {
            corsiDB().execute(u"INSERT INTO CorsiOper VALUES (?, ?, 'Nuovo')"_s, {group, number});
            corsiDB().execute(u"UPDATE CorsiOper SET Denominazione = 'Cambiato'"_s);
            return true;
        };
    }

private slots:
    void init()
    {
        m_test = std::make_unique<TestContext>();
        m_fixture = std::make_unique<FixtureDatabase>(database(), Schema);
        m_fixture->insert(u"CorsiOper"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Denominazione"_s},
                          {{u"A"_s, 12, u"Formazione Srl"_s}, {u"B"_s, 7, u"Centro Studi"_s}});
        m_fixture->insert(u"CorsiCompo"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s},
                          {{u"A"_s, 12, 1}});
        m_test->context().installazione().PercorsoDB = database();
        m_test->writeFile(u"oper.tx1"_s, "#A#,#12#\r\n");
        m_test->writeFile(u"compo.tx1"_s, "#A#,#12#,#1#\r\n");
        corsiDB().open(Connection::providerName(), database(), Connection::Mode::Shared);
    }

    void cleanup()
    {
        m_test.reset();
        m_fixture.reset();
    }

    void successKeepsTheChangesAndMovesTheFilesToCar()
    {
        m_test->writeFile(u"KX58TORVA.mdb_BAK"_s, "copia di un aggiornamento interrotto");
        const QList<QVariantList> before = rows(corsiDB());
        QList<QVariantList> inTheCopy;
        const auto readCopy = [&] {
            Connection copy;
            copy.open(m_test->path(u"KX58TORVA.mdb_BAK"_s), Connection::Mode::Shared);
            inTheCopy = rows(copy);
            return true;
        };

        QVERIFY(eseguiProtetto(*m_test, registryUpdate({readCopy, insertOperator(u"C"_s, 3)})));

        QCOMPARE(inTheCopy, before);
        QVERIFY(m_test->prompt.shown().isEmpty());
        QCOMPARE(m_fixture->count(u"CorsiOper"_s), 3);
        QCOMPARE(m_fixture->scalar(u"SELECT Denominazione FROM CorsiOper WHERE GrupOpe = 'A'"_s).toString(),
                 u"Cambiato"_s);
        QVERIFY(!QFileInfo::exists(m_test->path(u"KX58TORVA.mdb_BAK"_s)));
        QCOMPARE(m_test->readFile(u"CAR/oper.car"_s), QByteArray("#A#,#12#\r\n"));
        QCOMPARE(m_test->readFile(u"CAR/compo.car"_s), QByteArray("#A#,#12#,#1#\r\n"));
        QVERIFY(!QFileInfo::exists(m_test->path(u"oper.tx1"_s)));
        QVERIFY(!QFileInfo::exists(m_test->path(u"BAD"_s)));
        QVERIFY(!corsiDB().inTransaction());
    }

    void theDatabaseStaysLockedAgainstOtherWritersAfterTheCopy()
    {
        // Opened before and closed after the update: closing a handle on the file would itself drop
        // the engine's locks.
        const int probe = ::open(QFile::encodeName(database()).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(probe >= 0);
        QVERIFY(!writeLockHeld(probe));
        bool lockedDuringTheLoaders = false;
        const auto check = [&] { return lockedDuringTheLoaders = writeLockHeld(probe); };

        const bool updated = eseguiProtetto(*m_test, registryUpdate({check}));
        const bool lockedAfterwards = writeLockHeld(probe);
        ::close(probe);

        QVERIFY(updated);
        QVERIFY(lockedDuringTheLoaders);
        QVERIFY(!lockedAfterwards);
    }

    void failedLoaderLeavesTheDatabaseAsItWas_data()
    {
        QTest::addColumn<bool>("secondConnection");
        QTest::addColumn<bool>("exclusive");
        QTest::addColumn<QString>("failureText");

        QTest::newRow("alone") << false << false << QString();
        QTest::newRow("another installation connected") << true << false << QString();
        QTest::newRow("held exclusively, as the registry update does") << false << true << QString();
        QTest::newRow("the caller's own box first")
            << false << false
            << u"L' aggiornamento della base dati non è andato a buon fine, verrà ripristinata la situazione "
               u"iniziale. Contattare il servizio di assistenza T.U.Z."_s;
    }

    void failedLoaderLeavesTheDatabaseAsItWas()
    {
        QFETCH(bool, secondConnection);
        QFETCH(bool, exclusive);
        QFETCH(QString, failureText);

        if (exclusive) {
            corsiDB().close();
            corsiDB().open(database(), Connection::Mode::Exclusive);
        }
        Connection other;
        if (secondConnection)
            other.open(database(), Connection::Mode::Shared);
        const QList<QVariantList> before = rows(corsiDB());
        const ino_t inodeBefore = inode(database());

        QByteArray copyBytes;
        QList<QVariantList> seenByTheOther;
        bool thirdRan = false;
        const auto failing = [&] {
            copyBytes = m_test->readFile(u"KX58TORVA.mdb_BAK"_s);
            corsiDB().execute(u"INSERT INTO CorsiCompo VALUES ('C', 3, 1)"_s);
            if (secondConnection)
                seenByTheOther = rows(other);
            return false;
        };
        const auto third = [&] { return thirdRan = true; };
        AggiornamentoProtetto update = registryUpdate({insertOperator(u"C"_s, 3), failing, third});
        update.titoloFallimento = u"Corsi Approvati e Finanziati - Scarico/Aggiornamento"_s;
        update.testoFallimento = failureText;
        if (!failureText.isEmpty())
            m_test->prompt.expect(failureText);
        m_test->prompt.expect(Riuscito);

        QVERIFY(!eseguiProtetto(*m_test, update));

        QVERIFY(m_test->prompt.allShown());
        const ShownBox restored = m_test->prompt.shown().last();
        QCOMPARE(restored.title, u"Aggiornamento Base Dati"_s);
        QCOMPARE(restored.icon, Prompt::Icon::Information);
        QVERIFY(!thirdRan);
        QVERIFY(corsiDB().isOpen());
        QCOMPARE(corsiDB().mode(), exclusive ? Connection::Mode::Exclusive : Connection::Mode::Shared);
        QCOMPARE(rows(corsiDB()), before);
        QVERIFY(!QFileInfo::exists(m_test->path(u"KX58TORVA.mdb_BAK"_s)));
        QCOMPARE(m_test->readFile(u"BAD/oper.car"_s), QByteArray("#A#,#12#\r\n"));
        QCOMPARE(m_test->readFile(u"BAD/compo.car"_s), QByteArray("#A#,#12#,#1#\r\n"));
        QVERIFY(!QFileInfo::exists(m_test->path(u"CAR"_s)));

        // The rollback restored the data: the file its users hold was never replaced, so what they
        // write after the update stays.
        QCOMPARE(inode(database()), inodeBefore);
        QVERIFY(!copyBytes.isEmpty());
        if (secondConnection) {
            QCOMPARE(seenByTheOther, before);
            other.execute(u"INSERT INTO CorsiOper VALUES ('D', 4, 'Scritto dopo')"_s);
            QCOMPARE(m_fixture->count(u"CorsiOper"_s), 3);
        }
        corsiDB().execute(u"INSERT INTO CorsiOper VALUES ('E', 5, 'Ancora usabile')"_s);
    }

    void failedCopyChangesNothing_data()
    {
        QTest::addColumn<bool>("folderReadOnly");
        QTest::newRow("an old copy that cannot be removed") << false;
        QTest::newRow("a folder that may not be written") << true;
    }

    void failedCopyChangesNothing()
    {
        QFETCH(bool, folderReadOnly);
        if (folderReadOnly) {
            QFile::setPermissions(m_test->folder(), QFile::ReadOwner | QFile::ExeOwner);
            if (QFileInfo(m_test->folder()).isWritable()) {
                QFile::setPermissions(m_test->folder(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                QSKIP("permissions do not bind the super-user");
            }
        } else {
            QVERIFY(QDir(m_test->folder()).mkpath(u"KX58TORVA.mdb_BAK/occupata"_s));
        }
        m_test->prompt.expect(u"Crea_DB_Backup - 70 - Autorizzazione negata"_s);
        m_test->prompt.expect(CopiaNonRiuscita);
        bool ran = false;
        const auto loader = [&] { return ran = true; };

        QVERIFY(!eseguiProtetto(*m_test, registryUpdate({loader})));

        QVERIFY(m_test->prompt.allShown());
        QCOMPARE(m_test->prompt.shown().first().title, u"Installazione/Aggiornamento Base Dati"_s);
        QCOMPARE(m_test->prompt.shown().last().title, u"Aggiornamento Base Dati"_s);
        QVERIFY(!ran);
        QVERIFY(QFileInfo::exists(m_test->path(u"oper.tx1"_s)));
        QVERIFY(QFileInfo::exists(m_test->path(u"compo.tx1"_s)));
        QVERIFY(!corsiDB().inTransaction());
        QFile::setPermissions(m_test->folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(corsiDB().execute(u"DELETE FROM CorsiCompo"_s), 1);
    }

    void noCopyInsideAWrite()
    {
        Transaction write(corsiDB());
        corsiDB().execute(u"DELETE FROM CorsiCompo"_s);
        m_test->prompt.expect(u"Crea_DB_Backup - 3219 - Operazione non consentita in questo contesto."_s);

        QVERIFY(!Crea_DB_Backup(m_test->context(), m_test->context().DE().CorsiDB()));

        QVERIFY(m_test->prompt.allShown());
        QVERIFY(!QFileInfo::exists(m_test->path(u"KX58TORVA.mdb_BAK"_s)));
        QVERIFY(corsiDB().inTransaction());
    }

    void aLostCopyIsNotNeededAfterTheRollback()
    {
        const QList<QVariantList> before = rows(corsiDB());
        const auto loseTheCopy = [&] {
            corsiDB().execute(u"DELETE FROM CorsiCompo"_s);
            return !QFile::remove(m_test->path(u"KX58TORVA.mdb_BAK"_s));
        };
        m_test->prompt.expect(Riuscito);

        QVERIFY(!eseguiProtetto(*m_test, registryUpdate({loseTheCopy})));

        QVERIFY(m_test->prompt.allShown());
        QVERIFY(corsiDB().isOpen());
        QCOMPARE(corsiDB().mode(), Connection::Mode::Shared);
        QCOMPARE(rows(corsiDB()), before);
        QVERIFY(QFileInfo::exists(m_test->path(u"BAD/oper.car"_s)));
    }

    void aFailedRollbackPutsTheCopyBackOnlyWhenNobodyElseIsConnected_data()
    {
        QTest::addColumn<bool>("secondConnection");
        QTest::newRow("alone") << false;
        QTest::newRow("another installation connected") << true;
    }

    void aFailedRollbackPutsTheCopyBackOnlyWhenNobodyElseIsConnected()
    {
        QFETCH(bool, secondConnection);
        Connection other;
        if (secondConnection)
            other.open(database(), Connection::Mode::Shared);
        const QList<QVariantList> before = rows(corsiDB());
        // A loader that ends the transaction behind the guard's back: its change is committed and the
        // rollback fails.
        const auto commitsBehindTheGuard = [&] {
            corsiDB().execute(u"DELETE FROM CorsiCompo"_s);
            corsiDB().execute(u"COMMIT"_s);
            return false;
        };
        const QString copy = m_test->path(u"KX58TORVA.mdb_BAK"_s);
        if (secondConnection) {
            m_test->prompt.expect(
                u"Ripristina_DB_Backup - 3045 - Altre postazioni sono collegate alla base dati: "
                u"impossibile sostituirla con la copia.\r\nLa copia di sicurezza della base "
                u"dati è conservata in "_s +
                copy);
            m_test->prompt.expect(u"Ripristino della base dati non riuscito."_s);
        } else {
            m_test->prompt.expect(Riuscito);
        }

        QVERIFY(!eseguiProtetto(*m_test, registryUpdate({commitsBehindTheGuard})));

        QVERIFY(m_test->prompt.allShown());
        QVERIFY(corsiDB().isOpen());
        QCOMPARE(corsiDB().mode(), Connection::Mode::Shared);
        QCOMPARE(QFileInfo::exists(copy), secondConnection);
        if (!secondConnection)
            QCOMPARE(rows(corsiDB()), before);
    }

    void crashMidUpdateLeavesTheDatabaseAsItWas()
    {
        const QList<QVariantList> before = rows(corsiDB());
        corsiDB().close();

        const pid_t child = ::fork();
        if (child == 0) {
            corsiDB().open(database(), Connection::Mode::Shared);
            const auto crash = []() -> bool { ::_exit(3); };
            eseguiProtetto(*m_test, registryUpdate({insertOperator(u"C"_s, 3), crash}));
            ::_exit(0);
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 3);

        corsiDB().open(database(), Connection::Mode::Shared);
        QCOMPARE(rows(corsiDB()), before);
        QVERIFY(QFileInfo::exists(m_test->path(u"oper.tx1"_s)));
    }
};

QTEST_GUILESS_MAIN(TestProtectedUpdate)
#include "tst_ProtectedUpdate.moc"
