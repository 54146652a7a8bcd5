#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/config/IniFile.h"
#include "core/data/Connection.h"
#include "core/files/ZipArchive.h"
#include "mainwindow/SalvataggioDati.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QByteArray IniIniziale = "[Installazione]\r\nTipo=Multiutenza\r\nVersione=SERVER\r\n"
                               "[BaseDati]\r\nDatabase=KX58TORVA.mdb\r\nFileBackup=\r\n";

/** Every file under the folder, relative to it, sorted; the lock files of the connections aside. */
QStringList filesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = QDir(folder).relativeFilePath(it.next());
        if (!file.endsWith(u".lck"_s) && !file.startsWith(u".user/"_s))
            files << file;
    }
    files.sort();
    return files;
}

/** The applications the database at the path holds, by number. */
QList<qlonglong> domande(const QString &path)
{
    Connection connection;
    connection.open(path, Connection::Mode::Shared);
    QList<qlonglong> numbers;
    for (const QVariantList &row : connection.query(u"SELECT NumDoma FROM Domande ORDER BY NumDoma"_s).rows)
        numbers << row.value(0).toLongLong();
    connection.close();
    return numbers;
}

/** A program folder whose INI file names KX58TORVA.mdb, holding application 7; the connection closed. */
struct Banco
{
    TestContext test;
    std::unique_ptr<FixtureDatabase> db;

    explicit Banco(const QString &database = u"KX58TORVA.mdb"_s)
    {
        QByteArray ini = IniIniziale;
        ini.replace("Database=KX58TORVA.mdb", QByteArray("Database=" + database.toUtf8()));
        test.writeFile(u"KX58TORVA.INI"_s, ini);
        test.context().fileIni().setNomeFile(test.path(u"KX58TORVA.INI"_s));
        QDir(test.folder()).mkpath(QFileInfo(test.path(database)).path());
        db = std::make_unique<FixtureDatabase>(test.path(database));
        aggiungiDomanda(7);
    }

    void aggiungiDomanda(int numero)
    {
        db->insert(u"Domande"_s, {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s}, {{numero, u"A"_s, 12}});
    }

    /** A backup of the database as it is now, in the archive "copia.zip". */
    QString archivioDiOra()
    {
        const Esito esito = Backup(test.context(), test.path(u"copia.zip"_s));
        if (esito.esito != EsitoOperazione::Riuscita)
            throw UnexpectedCall(u"the backup failed: "_s + esito.errore);
        return esito.archivio;
    }
};

} // namespace

class TestSalvataggioDati : public QObject
{
    Q_OBJECT

private slots:
    void archiveNames_data()
    {
        QTest::addColumn<QString>("scelto");
        QTest::addColumn<QString>("archivio");

        QTest::newRow("extension replaced") << u"/dati/Copie/archivio.dat"_s << u"/dati/Copie/archivio.zip"_s;
        QTest::newRow("no extension") << u"/dati/Copie/archivio"_s << u"/dati/Copie/archivio.zip"_s;
        QTest::newRow("zip already") << u"/dati/Copie/archivio.zip"_s << u"/dati/Copie/archivio.zip"_s;
        QTest::newRow("zip in capitals kept")
            << u"/dati/Copie/ARCHIVIO.ZIP"_s << u"/dati/Copie/ARCHIVIO.ZIP"_s;
        QTest::newRow("dot in the folder only")
            << u"/dati/Copie.2021/archivio"_s << u"/dati/Copie.2021/archivio.zip"_s;
        QTest::newRow("last extension only") << u"/dati/archivio.tar.gz"_s << u"/dati/archivio.tar.zip"_s;
        QTest::newRow("hidden name") << u"/dati/.archivio"_s << u"/dati/.archivio.zip"_s;
        QTest::newRow("final dot") << u"/dati/archivio."_s << u"/dati/archivio.zip"_s;
        QTest::newRow("Windows path") << u"D:\\Copie\\archivio.dat"_s << u"D:\\Copie\\archivio.zip"_s;
    }

    void archiveNames()
    {
        QFETCH(QString, scelto);
        QFETCH(QString, archivio);
        QCOMPARE(NomeArchivioBackup(scelto), archivio);
    }

    void foldersAndProposedNames_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("cartella");
        QTest::addColumn<QString>("proposto");

        QTest::newRow("file") << u"/dati/Copie/a.zip"_s << u"/dati/Copie"_s << u"/dati/Copie/KX58TORVA.zip"_s;
        QTest::newRow("Windows file")
            << u"D:\\Copie\\a.zip"_s << u"D:\\Copie"_s << u"D:\\Copie/KX58TORVA.zip"_s;
        QTest::newRow("folder with its separator")
            << u"/dati/Copie/"_s << u"/dati/Copie"_s << u"/dati/Copie/KX58TORVA.zip"_s;
        QTest::newRow("no folder") << u"a.zip"_s << QString() << u"/KX58TORVA.zip"_s;
    }

    void foldersAndProposedNames()
    {
        QFETCH(QString, path);
        QFETCH(QString, cartella);
        QFETCH(QString, proposto);
        QCOMPARE(CartellaDi(path), cartella);
        QCOMPARE(NomeProposto(path.endsWith(u'/') ? path : CartellaDi(path)), proposto);
    }

    void backupNames_data()
    {
        QTest::addColumn<QString>("scelto");
        QTest::addColumn<QStringList>("prima");
        QTest::addColumn<QStringList>("dopo");

        const QStringList solo{u"KX58TORVA.INI"_s, u"KX58TORVA.mdb"_s};
        QTest::newRow("a .dat name makes the .zip, the .dat is not touched")
            << u"archivio.dat"_s << QStringList{u"archivio.dat"_s}
            << solo + QStringList{u"archivio.dat"_s, u"archivio.zip"_s};
        QTest::newRow("a name without extension")
            << u"archivio"_s << QStringList() << solo + QStringList{u"archivio.zip"_s};
        QTest::newRow("an archive replaced with its .txt")
            << u"archivio.zip"_s << QStringList{u"archivio.zip"_s, u"archivio.txt"_s}
            << solo + QStringList{u"archivio.zip"_s};
        QTest::newRow("an archive replaced without a .txt")
            << u"archivio.zip"_s << QStringList{u"archivio.zip"_s} << solo + QStringList{u"archivio.zip"_s};
        QTest::newRow("a .txt of no archive stays")
            << u"archivio.zip"_s << QStringList{u"archivio.txt"_s}
            << solo + QStringList{u"archivio.txt"_s, u"archivio.zip"_s};
    }

    void backupNames()
    {
        QFETCH(QString, scelto);
        QFETCH(QStringList, prima);
        QFETCH(QStringList, dopo);

        Banco banco;
        for (const QString &file : prima)
            banco.test.writeFile(file, "an older file: " + file.toUtf8());
        const Esito esito = Backup(banco.test.context(), banco.test.path(scelto));
        QCOMPARE(int(esito.esito), int(EsitoOperazione::Riuscita));
        const QString archivio = banco.test.path(u"archivio.zip"_s);
        QCOMPARE(esito.archivio, archivio);
        std::sort(dopo.begin(), dopo.end());
        QCOMPARE(filesUnder(banco.test.folder()), dopo);
        if (prima.contains(u"archivio.dat"_s))
            QCOMPARE(banco.test.readFile(u"archivio.dat"_s), QByteArray("an older file: archivio.dat"));
        QCOMPARE(
            banco.test.readFile(u"KX58TORVA.INI"_s),
            QByteArray(IniIniziale).replace("FileBackup=", QByteArray("FileBackup=" + archivio.toUtf8())));

        // One entry, named like the database file: a keyed database with the application.
        QTemporaryDir out;
        const auto names = extractRegularFiles(archivio, out.path(), nullptr);
        QVERIFY(names);
        QCOMPARE(*names, QStringList{u"KX58TORVA.mdb"_s});
        QCOMPARE(domande(out.filePath(u"KX58TORVA.mdb"_s)), QList<qlonglong>{7});
    }

    void backupWhileAnotherInstallationWrites()
    {
        // A shared database stays open elsewhere, in the middle of a transaction: the archive holds
        // what was committed.
        Banco banco;
        Connection altra;
        altra.open(banco.db->path(), Connection::Mode::Shared);
        altra.execute(u"BEGIN"_s);
        altra.execute(u"INSERT INTO Domande (NumDoma, GrupOpe, Operatore) VALUES (8, 'A', 12)"_s);
        const Esito esito = Backup(banco.test.context(), banco.test.path(u"copia.zip"_s));
        altra.execute(u"ROLLBACK"_s);
        QCOMPARE(int(esito.esito), int(EsitoOperazione::Riuscita));
        QTemporaryDir out;
        QVERIFY(extractRegularFiles(esito.archivio, out.path(), nullptr));
        QCOMPARE(domande(out.filePath(u"KX58TORVA.mdb"_s)), QList<qlonglong>{7});
    }

    void failedCompressionEmptiesTheRecordedArchive()
    {
        Banco banco;
        banco.test.context().fileIni().Scrivi(IniKeys::FileBackup, banco.test.path(u"vecchio.zip"_s));
        banco.test.writeFile(u"file"_s, "a file where a folder should be");
        const Esito esito = Backup(banco.test.context(), banco.test.path(u"file/archivio.dat"_s));
        QCOMPARE(int(esito.esito), int(EsitoOperazione::Fallita));
        QCOMPARE(banco.test.readFile(u"KX58TORVA.INI"_s), IniIniziale);
    }

    void backupOfAMissingDatabase()
    {
        Banco banco;
        QVERIFY(QFile::remove(banco.db->path()));
        const Esito esito = Backup(banco.test.context(), banco.test.path(u"copia.zip"_s));
        QCOMPARE(int(esito.esito), int(EsitoOperazione::Errore));
        QVERIFY2(esito.errore.startsWith(u"Errore -2147467259\r\n"_s), qPrintable(esito.errore));
        QVERIFY(!QFileInfo::exists(banco.test.path(u"copia.zip"_s)));
        QCOMPARE(banco.test.readFile(u"KX58TORVA.INI"_s), IniIniziale);
    }

    void emptyNames()
    {
        Banco banco;
        QCOMPARE(int(Backup(banco.test.context(), u"  "_s).esito), int(EsitoOperazione::NomeMancante));
        QCOMPARE(int(Ripristino(banco.test.context(), QString(), true).esito),
                 int(EsitoOperazione::NomeMancante));
        QCOMPARE(banco.test.readFile(u"KX58TORVA.INI"_s), IniIniziale);
    }

    void restoreReplacingTheDatabase()
    {
        Banco banco;
        const QString archivio = banco.archivioDiOra();
        banco.aggiungiDomanda(8);
        // A journal left by a crash of the database being replaced.
        banco.test.writeFile(u"KX58TORVA.mdb-journal"_s, "a journal of the old file");

        const Esito esito = Ripristino(banco.test.context(), archivio, false);
        QCOMPARE(int(esito.esito), int(EsitoOperazione::Riuscita));
        QCOMPARE(domande(banco.db->path()), QList<qlonglong>{7});
        QCOMPARE(filesUnder(banco.test.folder()),
                 (QStringList{u"KX58TORVA.INI"_s, u"KX58TORVA.mdb"_s, u"copia.zip"_s}));
        QVERIFY(!QFileInfo::exists(banco.test.path(u"DBUnzip"_s)));
    }

    void restoreKeepingACopy()
    {
        // The database in a folder of its own, as on a shared folder; an older copy in BackupDB.
        Banco banco(u"Rete/KX58TORVA.mdb"_s);
        const QString archivio = banco.archivioDiOra();
        banco.aggiungiDomanda(8);
        const QByteArray corrente = banco.test.readFile(u"Rete/KX58TORVA.mdb"_s);
        QVERIFY(QDir(banco.test.folder()).mkpath(u"BackupDB"_s));
        banco.test.writeFile(u"BackupDB/KX58TORVA.mdb"_s, "an older copy");

        const Esito esito = Ripristino(banco.test.context(), archivio, true);
        QCOMPARE(int(esito.esito), int(EsitoOperazione::Riuscita));
        QCOMPARE(domande(banco.db->path()), QList<qlonglong>{7});
        QCOMPARE(banco.test.readFile(u"BackupDB/KX58TORVA.mdb"_s), corrente);
        QCOMPARE(filesUnder(banco.test.folder()),
                 (QStringList{u"BackupDB/KX58TORVA.mdb"_s, u"KX58TORVA.INI"_s, u"Rete/KX58TORVA.mdb"_s,
                              u"copia.zip"_s}));
    }

    void aFolderOfTheOldExtractionNameIsNeitherRestoredNorTouched()
    {
        Banco banco;
        const QString archivio = banco.archivioDiOra();
        banco.aggiungiDomanda(8);
        QVERIFY(QDir(banco.test.folder()).mkpath(u"DBUnzip/vecchia"_s));
        banco.test.writeFile(u"DBUnzip/avanzo.txt"_s, "left by an interrupted restore");
        banco.test.writeFile(u"DBUnzip/KX58TORVA.mdb"_s, "left too");

        QCOMPARE(int(Ripristino(banco.test.context(), archivio, false).esito),
                 int(EsitoOperazione::Riuscita));
        QCOMPARE(domande(banco.db->path()), QList<qlonglong>{7});
        QCOMPARE(filesUnder(banco.test.folder()),
                 (QStringList{u"DBUnzip/KX58TORVA.mdb"_s, u"DBUnzip/avanzo.txt"_s, u"KX58TORVA.INI"_s,
                              u"KX58TORVA.mdb"_s, u"copia.zip"_s}));
    }

    void aLinkNamedDBUnzipLeadsTheRestoreNowhere_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::newRow("DBUnzip") << u"DBUnzip"_s;
        QTest::newRow("dbunzip") << u"dbunzip"_s;
    }

    void aLinkNamedDBUnzipLeadsTheRestoreNowhere()
    {
        QFETCH(QString, nome);
        Banco banco;
        const QString archivio = banco.archivioDiOra();
        QTemporaryDir altrove;
        const QString prezioso = altrove.filePath(u"documento.txt"_s);
        QFile file(prezioso);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("da non perdere");
        file.close();
        QVERIFY(QFile::link(altrove.path(), banco.test.path(nome)));

        QCOMPARE(int(Ripristino(banco.test.context(), archivio, false).esito),
                 int(EsitoOperazione::Riuscita));
        QCOMPARE(Ripristino(banco.test.context(),
                            QStringLiteral(KX_TEST_DATA "/mainwindow/restore-not-a-zip.zip"), false)
                     .motivo,
                 MotivoArchivioNonValido);

        QCOMPARE(QDir(altrove.path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
                 QStringList{u"documento.txt"_s});
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("da non perdere"));
        QVERIFY(QFileInfo(banco.test.path(nome)).isSymLink());
        QCOMPARE(domande(banco.db->path()), QList<qlonglong>{7});
    }

    void anEntryDeclaringMoreThanTheFreeSpaceIsRefusedBeforeItIsWritten()
    {
        Banco banco;
        const QByteArray prima = banco.test.readFile(u"KX58TORVA.mdb"_s);
        const Esito esito =
            Ripristino(banco.test.context(),
                       QStringLiteral(KX_TEST_DATA "/mainwindow/restore-declares-a-petabyte.zip"), true);
        QCOMPARE(int(esito.esito), int(EsitoOperazione::Fallita));
        QCOMPARE(esito.motivo, MotivoSpazioInsufficiente);
        QCOMPARE(banco.test.readFile(u"KX58TORVA.mdb"_s), prima);
        QCOMPARE(filesUnder(banco.test.folder()), (QStringList{u"KX58TORVA.INI"_s, u"KX58TORVA.mdb"_s}));

        ScriptedPrompt prompt;
        prompt.expect(u"Recupero fallito: spazio su disco insufficiente"_s);
        MostraEsitoRipristino(prompt, esito);
        QVERIFY(prompt.allShown());
    }

    void failedRestoresChangeNothing_data()
    {
        QTest::addColumn<QString>("caso");
        QTest::newRow("not a zip") << u"restore-not-a-zip.zip"_s;
        QTest::newRow("a database of another engine") << u"restore-foreign-engine.zip"_s;
        QTest::newRow("entries outside the folder, in a subfolder, a link") << u"restore-traversal.zip"_s;
        QTest::newRow("a database of another name") << u"altro nome"_s;
        QTest::newRow("a keyed database without the program's tables") << u"senza tabelle"_s;
        QTest::newRow("no archive") << u"manca.zip"_s;
    }

    void failedRestoresChangeNothing()
    {
        QFETCH(QString, caso);
        Banco banco;
        QString archivio = QStringLiteral(KX_TEST_DATA "/mainwindow/") + caso;
        QTemporaryDir lavoro;
        if (caso == u"altro nome") {
            QVERIFY(QFile::copy(banco.db->path(), lavoro.filePath(u"Altro.mdb"_s)));
            archivio = lavoro.filePath(u"altro.zip"_s);
            QVERIFY(zipOneFile(lavoro.filePath(u"Altro.mdb"_s), u"Altro.mdb"_s, archivio, nullptr));
        } else if (caso == u"senza tabelle") {
            Connection::createDatabase(lavoro.filePath(u"KX58TORVA.mdb"_s), u"CREATE TABLE Domande (a)"_s);
            archivio = lavoro.filePath(u"vuota.zip"_s);
            QVERIFY(zipOneFile(lavoro.filePath(u"KX58TORVA.mdb"_s), u"KX58TORVA.mdb"_s, archivio, nullptr));
        }
        const QByteArray prima = banco.test.readFile(u"KX58TORVA.mdb"_s);

        const Esito esito = Ripristino(banco.test.context(), archivio, true);
        QCOMPARE(int(esito.esito), int(EsitoOperazione::Fallita));
        QCOMPARE(esito.motivo, MotivoArchivioNonValido);
        QCOMPARE(banco.test.readFile(u"KX58TORVA.mdb"_s), prima);
        QCOMPARE(filesUnder(banco.test.folder()), (QStringList{u"KX58TORVA.INI"_s, u"KX58TORVA.mdb"_s}));
        QVERIFY(!QFileInfo::exists(banco.test.path(u"DBUnzip"_s)));
        QVERIFY(!QFileInfo::exists(banco.test.path(u"BackupDB"_s)));
        QVERIFY(!QFileInfo::exists(QFileInfo(banco.test.folder()).dir().filePath(u"KX58TORVA.mdb"_s)));
    }

    void restoreRefusedWhileAnotherInstallationIsConnected()
    {
        Banco banco;
        const QString archivio = banco.archivioDiOra();
        banco.aggiungiDomanda(8);
        const QByteArray prima = banco.test.readFile(u"KX58TORVA.mdb"_s);
        Connection altra;
        altra.open(banco.db->path(), Connection::Mode::Shared);

        const Esito esito = Ripristino(banco.test.context(), archivio, true);
        QCOMPARE(int(esito.esito), int(EsitoOperazione::Rifiutata));
        altra.close();
        QCOMPARE(banco.test.readFile(u"KX58TORVA.mdb"_s), prima);
        QCOMPARE(filesUnder(banco.test.folder()),
                 (QStringList{u"KX58TORVA.INI"_s, u"KX58TORVA.mdb"_s, u"copia.zip"_s}));
    }

    void outcomesAsTheUserIsTold_data()
    {
        QTest::addColumn<bool>("ripristino");
        QTest::addColumn<int>("esito");
        QTest::addColumn<int>("icona");
        QTest::addColumn<QString>("titolo");
        QTest::addColumn<QString>("testo");

        const int errore = int(Prompt::Icon::Critical);
        const int informazione = int(Prompt::Icon::Information);
        QTest::newRow("backup, no name")
            << false << int(EsitoOperazione::NomeMancante) << errore << u"Errore"_s
            << u"Selezionare prima un nome per l'Archivio di Backup."_s;
        QTest::newRow("backup done") << false << int(EsitoOperazione::Riuscita) << informazione << QString()
                                     << u"Backup eseguito con successo."_s;
        QTest::newRow("backup failed")
            << false << int(EsitoOperazione::Fallita) << errore << QString() << u"Backup fallito"_s;
        QTest::newRow("backup error") << false << int(EsitoOperazione::Errore) << errore << u"Errore"_s
                                      << u"Errore 70\r\nPermesso negato"_s;
        QTest::newRow("restore, no name") << true << int(EsitoOperazione::NomeMancante) << errore
                                          << u"Errore"_s << u"Nessun file da ripristinare selezionato."_s;
        QTest::newRow("restore done") << true << int(EsitoOperazione::Riuscita) << informazione << QString()
                                      << u"Recupero eseguito con successo"_s;
        QTest::newRow("restore failed")
            << true << int(EsitoOperazione::Fallita) << errore << QString() << u"Recupero fallito"_s;
        QTest::newRow("restore refused")
            << true << int(EsitoOperazione::Rifiutata) << errore << u"Errore"_s
            << u"Impossibile recuperare la base dati: altre installazioni sono connesse. Chiudere tutti i "
               u"client e ritentare l'operazione."_s;
        QTest::newRow("restore error") << true << int(EsitoOperazione::Errore) << errore << QString()
                                       << u"Errore 70\r\nPermesso negato"_s;
    }

    void outcomesAsTheUserIsTold()
    {
        QFETCH(bool, ripristino);
        QFETCH(int, esito);
        QFETCH(int, icona);
        QFETCH(QString, titolo);
        QFETCH(QString, testo);

        ScriptedPrompt prompt;
        prompt.expect(testo);
        const Esito risultato{EsitoOperazione(esito), {}, u"Errore 70\r\nPermesso negato"_s, {}};
        if (ripristino)
            MostraEsitoRipristino(prompt, risultato);
        else
            MostraEsitoBackup(prompt, risultato);
        QVERIFY(prompt.allShown());
        QCOMPARE(int(prompt.shown().constFirst().icon), icona);
        QCOMPARE(prompt.shown().constFirst().title, titolo);
    }
};

QTEST_GUILESS_MAIN(TestSalvataggioDati)
#include "tst_SalvataggioDati.moc"
