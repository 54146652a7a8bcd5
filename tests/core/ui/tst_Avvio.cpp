#include "FileSizeLimit.h"
#include "FixtureDatabase.h"
#include "OrdinaryUser.h"
#include "TestContext.h"
#include "WindowTesting.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/services/RoutineError.h"
#include "core/startup/Inizializza.h"
#include "core/startup/SequenzaAvvio.h"
#include "core/state/InstallationState.h"
#include "core/state/StartupHooks.h"
#include "core/ui/Avvio.h"
#include "core/ui/MDI_Main.h"

#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <stdexcept>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Database = u"KX58TORVA.mdb"_s;

/** An INI file with the given type, database key, provider and server address. */
QByteArray ini(const QByteArray &tipo, const QByteArray &database = "%DB%",
               const QByteArray &provider = "Microsoft.Jet.OLEDB.4.0",
               const QByteArray &nreg = "https://regione.example.it/nreg/nuovo.php")
{
    return "; configurazione\r\n[Installazione]\r\nTipo=" + tipo +
           "\r\nVersione=SERVER\r\nPROVIDER=" + provider + "\r\n\r\n[BaseDati]\r\nDatabase=" + database +
           "\r\nNFileDB=KX58TORVA.mdb\r\n\r\n[CONNESSIONE]\r\n" + "PWD=\r\nNREG=" + nreg +
           "\r\n\r\n[Help]\r\nFILEHELP=KX58TORVA.htm\r\n";
}

/** The same file after the start-up wrote the current application's number. */
QByteArray conNumDoma(QByteArray bytes, const QByteArray &numero = "0")
{
    return bytes.replace("NFileDB=KX58TORVA.mdb\r\n",
                         QByteArray("NFileDB=KX58TORVA.mdb\r\nNumDoma=" + numero + "\r\n"));
}

/** The same file after the installation keys were emptied. */
QByteArray azzerato(QByteArray bytes)
{
    const qsizetype tipo = bytes.indexOf("Tipo=");
    bytes.replace(tipo, bytes.indexOf("\r\n", tipo) - tipo, "Tipo=");
    const qsizetype database = bytes.indexOf("Database=");
    bytes.replace(database, bytes.indexOf("\r\n", database) - database, "Database=");
    return bytes.replace("NFileDB=KX58TORVA.mdb", "NFileDB=");
}

QString baseDatiMancante(const QString &path)
{
    return u"File base dati non presente."_s + path +
           u"\r\nNon è possibile utilizzare il programma.\r\n\r\nLa base dati è stata rimossa o spostata "
           u"oppure "
           u"alcune impostazioni del file KX58TORVA.INI sono errate.\r\n\r\nE' possibile correggere l'errore "
           u"reimpostando l'installazione del programma, eventuali dati salvati non verranno persi.\r\n"
           u"Premere 'Sì' per procedere alla correzione automatica, quindi riavviare il programma.\r\n"
           u"Se il problema persiste contattare l'assistenza tecnica."_s;
}

const QString TipoNonValido = u"E' stata rilevata una situazione anomala in fase di inizializzazione.\r\n"
                              u"Le impostazioni di KX58TORVA.INI non sono valide.\r\n"
                              u"Il programma verrà terminato.\r\n"
                              u"La procedura cercherà di correggere il problema automaticamente.\r\n"
                              u"Sarà chiesta nuovamente l'impostazione dell'installazione.\r\n"
                              u"Eventuali dati salvati non verranno persi.\r\n"
                              u"Premere 'Ok' quindi riavviare il programma.\r\n"
                              u"Se il problema persiste, contattare l'assistenza tecnica."_s;

const QString InUso =
    u"\r\n\r\nLa base dati è in uso in modo esclusivo da un'altra postazione (un'installazione "
    u"locale, oppure l'aggiornamento della base dati sul SERVER).\r\nIl programma verrà "
    u"terminato: riavviarlo quando la base dati sarà di nuovo disponibile."_s;

/** A local installation cannot start while others are connected, whatever their mode. */
const QString AltriCollegati =
    u"\r\n\r\nAltre postazioni sono collegate alla base dati: un'installazione locale la usa solo "
    u"quando nessun altro è collegato.\r\nIl programma verrà terminato: riavviarlo quando la base dati "
    u"sarà di nuovo disponibile."_s;

/** The box of a refused exclusive reopening, after the error's own lines. */
QString riaperturaRifiutata(const QString &errore)
{
    return errore + u"\r\n\r\nQualche client potrebbe ancora essere connesso alla base dati. \r\n\r\n"
                    u"Il programma uscira a Windows.\r\nChiudere tutti i client, riavviare l'applicativo "
                    u"SERVER e ritentare l'Operazione."_s;
}

/** A program folder, its start-up windows and hooks that record what the start-up asked of them. */
struct Programma
{
    TestContext test;
    AvvioWindows windows{test.context()};
    QStringList calls;
    bool ended = false;

    Programma()
    {
        StartupHooks &hooks = test.context().startupHooks();
        hooks.caricaMain = [this] { calls << u"caricaMain"_s; };
        hooks.installaTabelleDecodifica = [this](ProgressoAvvio &) {
            calls << u"installaTabelleDecodifica"_s;
        };
        hooks.installaAnagrafiche = [this](ProgressoAvvio &) { calls << u"installaAnagrafiche"_s; };
        hooks.mostraMain = [this] { calls << u"mostraMain"_s; };
    }

    QString dbPath() const { return test.path(Database); }

    QByteArray withPath(QByteArray bytes) const { return bytes.replace("%DB%", dbPath().toUtf8()); }

    /** Writes the INI file, its database key naming dbPath(), and the help file it names. */
    void prepara(const QByteArray &iniFile) const
    {
        test.writeFile(u"KX58TORVA.INI"_s, withPath(iniFile));
        test.writeFile(u"KX58TORVA.htm"_s, "<html></html>");
    }

    void avvia()
    {
        try {
            AvvioProgramma(test.context(), windows);
        } catch (const ProgramExited &) {
            ended = true;
        }
    }
};

} // namespace

class TestAvvio : public QObject
{
    Q_OBJECT

private slots:
    void init() { QDir::setCurrent(QDir::tempPath()); }

    void startUp_data()
    {
        QTest::addColumn<QByteArray>("iniFile");
        QTest::addColumn<bool>("database");
        QTest::addColumn<bool>("helpFile");
        // Another connection's mode, or "lock folder": a folder stands where the lock file goes.
        QTest::addColumn<QString>("heldBy");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("ended");
        QTest::addColumn<QByteArray>("iniAfter");

        const int critical = int(Prompt::Icon::Critical);
        const int ok = int(Prompt::Answer::Ok);
        const int yes = int(Prompt::Answer::Yes);
        const int no = int(Prompt::Answer::No);
        const QString iniziale = u"Errore di inizializzazione"_s;
        const QByteArray standAlone = ini("StandAlone");
        const QByteArray jet = "Microsoft.Jet.OLEDB.4.0";

        QTest::newRow("INI missing") << QByteArray() << true << true << QString()
                                     << u"Impossibile trovare il file KX58TORVA.INI.\r\nLa procedura "
                                        u"verrà terminata."_s
                                     << iniziale << critical << ok << true << QByteArray();
        QTest::newRow("StandAlone") << standAlone << true << true << QString() << QString() << QString() << 0
                                    << ok << false << conNumDoma(standAlone);
        QTest::newRow("Multiutenza") << ini("Multiutenza") << true << true << QString() << QString()
                                     << QString() << 0 << ok << false << conNumDoma(ini("Multiutenza"));
        QTest::newRow("type in the wrong case")
            << ini("standalone") << true << true << QString() << TipoNonValido << iniziale << critical << ok
            << true << azzerato(ini("standalone"));
        QTest::newRow("type unknown") << ini("Rete") << true << true << QString() << TipoNonValido << iniziale
                                      << critical << ok << true << azzerato(ini("Rete"));
        QTest::newRow("database path blank, Yes")
            << ini("StandAlone", "   ") << true << true << QString() << baseDatiMancante(QString())
            << u"Imposta base dati"_s << critical << yes << true << azzerato(ini("StandAlone", "   "));
        QTest::newRow("database path empty, No")
            << ini("StandAlone", "") << true << true << QString() << baseDatiMancante(QString())
            << u"Imposta base dati"_s << critical << no << true << ini("StandAlone", "");
        QTest::newRow("database missing, Yes")
            << standAlone << false << true << QString() << baseDatiMancante(u"%DB%"_s)
            << u"Imposta base dati"_s << critical << yes << true << azzerato(standAlone);
        QTest::newRow("database missing, No")
            << standAlone << false << true << QString() << baseDatiMancante(u"%DB%"_s)
            << u"Imposta base dati"_s << critical << no << true << standAlone;
        QTest::newRow("shared opening, database held exclusively")
            << ini("Multiutenza") << true << true << u"exclusive"_s
            << u"Errore 3045\r\nImpossibile utilizzare '%DB%'; file già in uso in modo esclusivo da un altro "
               u"utente."_s +
                   InUso
            << iniziale << critical << ok << true << ini("Multiutenza");
        QTest::newRow("exclusive opening, database in use")
            << standAlone << true << true << u"shared"_s
            << u"Errore 3045\r\nImpossibile aprire in modo esclusivo '%DB%': il file è già in uso da parte "
               u"di "
               u"un altro utente."_s +
                   AltriCollegati
            << iniziale << critical << ok << true << standAlone;
        QTest::newRow("lock file is a folder")
            << ini("Multiutenza") << true << true << u"lock folder"_s
            << u"Errore 75\r\nImpossibile utilizzare il file di blocco '%DB%.lck': è una cartella."_s
            << iniziale << critical << ok << true << ini("Multiutenza");
        QTest::newRow("bad provider")
            << ini("StandAlone", "%DB%", "Microsoft.ACE.OLEDB.12.0") << true << true << QString()
            << u"Errore 3706\r\nImpossibile trovare il provider. Potrebbe non essere "
               u"installato correttamente. (Microsoft.ACE.OLEDB.12.0)"_s
            << iniziale << critical << ok << true
            << azzerato(ini("StandAlone", "%DB%", "Microsoft.ACE.OLEDB.12.0"));
        QTest::newRow("NREG http") << ini("StandAlone", "%DB%", jet, "http://127.0.0.1:8080/nreg") << true
                                   << true << QString() << QString() << QString() << 0 << ok << false
                                   << conNumDoma(
                                          ini("StandAlone", "%DB%", jet, "http://127.0.0.1:8080/nreg"));
        QTest::newRow("NREG empty") << ini("StandAlone", "%DB%", jet, "") << true << true << QString()
                                    << u"Errore 5\r\nChiamata di routine o argomento non validi"_s << iniziale
                                    << critical << ok << true << azzerato(ini("StandAlone", "%DB%", jet, ""));
        QTest::newRow("NREG without a path")
            << ini("StandAlone", "%DB%", jet, "https://regione.example.it") << true << true << QString()
            << u"Errore 5\r\nChiamata di routine o argomento non validi"_s << iniziale << critical << ok
            << true << azzerato(ini("StandAlone", "%DB%", jet, "https://regione.example.it"));
        QTest::newRow("help file missing")
            << standAlone << true << false << QString() << u"File di Aiuto non presente"_s
            << u"Imposta Aiuto"_s << int(Prompt::Icon::Warning) << ok << false << conNumDoma(standAlone);
    }

    void startUp()
    {
        QFETCH(QByteArray, iniFile);
        QFETCH(bool, database);
        QFETCH(bool, helpFile);
        QFETCH(QString, heldBy);
        QFETCH(QString, box);
        QFETCH(QString, title);
        QFETCH(int, icon);
        QFETCH(int, answer);
        QFETCH(bool, ended);
        QFETCH(QByteArray, iniAfter);

        Programma programma;
        TestContext &test = programma.test;
        if (!iniFile.isEmpty())
            test.writeFile(u"KX58TORVA.INI"_s, programma.withPath(iniFile));
        if (database)
            FixtureDatabase fixture(programma.dbPath());
        if (helpFile)
            test.writeFile(u"KX58TORVA.htm"_s, "<html></html>");
        Connection other;
        if (heldBy == u"lock folder")
            QVERIFY(QDir().mkdir(programma.dbPath() + u".lck"_s));
        else if (!heldBy.isEmpty())
            other.open(programma.dbPath(),
                       heldBy == u"exclusive" ? Connection::Mode::Exclusive : Connection::Mode::Shared);
        const QStringList before = QDir(test.folder()).entryList(QDir::Files);

        if (!box.isEmpty())
            test.prompt.expect(box.replace(u"%DB%"_s, programma.dbPath()), Prompt::Answer(answer));
        programma.avvia();

        QVERIFY(test.prompt.allShown());
        QCOMPARE(test.prompt.shown().size(), box.isEmpty() ? 0 : 1);
        if (!box.isEmpty()) {
            const ShownBox &shown = test.prompt.shown().front();
            QCOMPARE(shown.title, title);
            QCOMPARE(int(shown.icon), icon);
            QCOMPARE(shown.buttons, Prompt::Answer(answer) == Prompt::Answer::Ok ? Prompt::Buttons::Ok
                                                                                 : Prompt::Buttons::YesNo);
        }
        QCOMPARE(programma.ended, ended);
        QCOMPARE(programma.windows.frame() != nullptr, !ended);
        if (iniFile.isEmpty()) {
            QCOMPARE(QDir(test.folder()).entryList(QDir::Files), before);
            return;
        }
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s), programma.withPath(iniAfter));
        if (!ended) {
            QVERIFY(test.context().DE().CorsiDB().isOpen());
            QCOMPARE(test.context().DE().CorsiDB().mode(), iniFile.contains("Tipo=StandAlone")
                                                               ? Connection::Mode::Exclusive
                                                               : Connection::Mode::Shared);
            QCOMPARE(QDir::currentPath(), QDir(test.folder()).canonicalPath());
        }
    }

    void aDatabaseNotOfTheProgramIsNamedAndResetsTheInstallation_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("box");

        QTest::newRow("empty file") << QByteArray()
                                    << u"Errore -2147217865\r\nLa base dati '%DB%' non è una base dati del "
                                       u"programma: è vuota."_s;
        QTest::newRow("not a database") << QByteArray(4096, 'x')
                                        << u"Errore -2147467259\r\nFormato di database non riconosciuto "
                                           u"'%DB%'. Il file non è una base dati del programma oppure è "
                                           u"danneggiato."_s;
        QTest::newRow("another program's") << QByteArray("tables")
                                           << u"Errore -2147217865\r\nLa base dati '%DB%' non è una base "
                                              u"dati del programma: mancano "_s;
    }

    void aDatabaseNotOfTheProgramIsNamedAndResetsTheInstallation()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, box);
        Programma programma;
        TestContext &test = programma.test;
        programma.prepara(ini("StandAlone"));
        if (content == "tables") {
            FixtureDatabase fixture(programma.dbPath(), u"CREATE TABLE Domande (NumDoma INTEGER)"_s);
            // Every other table is missing: the box lists them after the prefix.
            QStringList mancanti = DataEnvironment::commandNames().mid(1);
            mancanti.removeAll(u"Domande"_s);
            box += mancanti.join(u", "_s) + u"."_s;
        } else {
            test.writeFile(Database, content);
        }
        test.prompt.expect(box.replace(u"%DB%"_s, programma.dbPath()));
        programma.avvia();

        QVERIFY(programma.ended);
        QCOMPARE(test.prompt.shown().front().title, u"Errore di inizializzazione"_s);
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s), programma.withPath(azzerato(ini("StandAlone"))));
        QVERIFY(!test.context().DE().CorsiDB().isOpen());
    }

    void anIniFileOrFolderThatCannotBeUsedIsNamedAndKeepsTheSettings_data()
    {
        QTest::addColumn<QString>("broken");
        QTest::addColumn<QString>("box");
        QTest::newRow("INI file is a folder")
            << u"ini folder"_s
            << u"Impossibile utilizzare il file %INI%: è una cartella.\r\nLa procedura verrà terminata."_s;
        QTest::newRow("INI file may not be read")
            << u"ini unreadable"_s
            << u"Impossibile utilizzare il file %INI%: autorizzazione negata.\r\nLa procedura verrà "
               u"terminata."_s;
        QTest::newRow("INI file may not be written")
            << u"ini read-only"_s
            << u"Impossibile utilizzare il file %INI%: autorizzazione negata.\r\nLa procedura verrà "
               u"terminata."_s;
        QTest::newRow("program folder may not be written")
            << u"folder read-only"_s
            << u"Impossibile utilizzare la cartella del programma %DIR%: autorizzazione negata.\r\nLa "
               u"procedura verrà terminata."_s;
    }

    void anIniFileOrFolderThatCannotBeUsedIsNamedAndKeepsTheSettings()
    {
        QFETCH(QString, broken);
        QFETCH(QString, box);
        Programma programma;
        TestContext &test = programma.test;
        const QString iniPath = test.path(u"KX58TORVA.INI"_s);
        const QByteArray settings = programma.withPath(ini("StandAlone"));
        if (broken == u"ini folder") {
            QVERIFY(QDir(test.folder()).mkdir(u"KX58TORVA.INI"_s));
        } else {
            test.writeFile(u"KX58TORVA.INI"_s, settings);
            if (broken == u"ini unreadable")
                QFile::setPermissions(iniPath, QFile::WriteOwner);
            if (broken == u"ini read-only")
                QFile::setPermissions(iniPath, QFile::ReadOwner);
        }
        if (broken == u"folder read-only")
            QFile::setPermissions(test.folder(), QFile::ReadOwner | QFile::ExeOwner);
        test.prompt.expect(box.replace(u"%INI%"_s, iniPath).replace(u"%DIR%"_s, test.folder()));
        asOrdinaryUser(test.folder(), [&] { programma.avvia(); });
        QFile::setPermissions(test.folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(iniPath, QFile::ReadOwner | QFile::WriteOwner);

        QVERIFY(programma.ended);
        QVERIFY(programma.calls.isEmpty());
        if (broken != u"ini folder")
            QCOMPARE(test.readFile(u"KX58TORVA.INI"_s), settings);
    }

    void anIniFileSavedInUtf8IsToldWithItsLineAndKeepsTheSettings_data()
    {
        QTest::addColumn<QByteArray>("prima");
        QTest::addColumn<QByteArray>("dopo");
        QTest::addColumn<int>("riga");
        QTest::newRow("an accented letter")
            << QByteArray("NFileDB=KX58TORVA.mdb\r\n")
            << QByteArray("NFileDB=KX58TORVA.mdb\r\n; citt\xC3\xA0\r\n") << 10;
        QTest::newRow("a byte-order mark")
            << QByteArray("; configurazione") << QByteArray("\xEF\xBB\xBF; configurazione") << 1;
    }

    void anIniFileSavedInUtf8IsToldWithItsLineAndKeepsTheSettings()
    {
        QFETCH(QByteArray, prima);
        QFETCH(QByteArray, dopo);
        QFETCH(int, riga);
        Programma programma;
        TestContext &test = programma.test;
        const QByteArray file = programma.withPath(ini("StandAlone")).replace(prima, dopo);
        test.writeFile(u"KX58TORVA.INI"_s, file);
        test.writeFile(u"KX58TORVA.htm"_s, "<html></html>");
        FixtureDatabase fixture(programma.dbPath());
        test.prompt.expect(u"Impossibile utilizzare il file "_s + test.path(u"KX58TORVA.INI"_s) +
                           u": non è salvato in Windows-1252 ma in UTF-8 (riga "_s + QString::number(riga) +
                           u").\r\nLa procedura verrà terminata."_s);
        programma.avvia();

        QVERIFY(programma.ended);
        QVERIFY(test.prompt.allShown());
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s), file);
    }

    void anIniFileWithoutTheConnectionSectionIsToldAndKeepsTheSettings()
    {
        Programma programma;
        TestContext &test = programma.test;
        QByteArray file = programma.withPath(ini("StandAlone"));
        file.replace("[CONNESSIONE]\r\n", "");
        test.writeFile(u"KX58TORVA.INI"_s, file);
        test.writeFile(u"KX58TORVA.htm"_s, "<html></html>");
        FixtureDatabase fixture(programma.dbPath());
        test.prompt.expect(u"Impossibile utilizzare il file "_s + test.path(u"KX58TORVA.INI"_s) +
                           u": manca la sezione [CONNESSIONE].\r\nLa procedura verrà terminata."_s);
        programma.avvia();

        QVERIFY(programma.ended);
        QVERIFY(test.prompt.allShown());
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s), file);
    }

    void damageInTheTablesFoundAtTheFirstReadIsToldAsADamagedDatabase()
    {
        Programma programma;
        TestContext &test = programma.test;
        const QByteArray file = programma.withPath(ini("StandAlone"));
        programma.prepara(ini("StandAlone"));
        {
            FixtureDatabase fixture(programma.dbPath());
            QList<QVariantList> righe;
            for (int numero = 1; numero <= 300; ++numero)
                righe.append({numero, u"A"_s, 12, QString(200, u'x')});
            fixture.insert(u"Domande"_s, {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s, u"DenominazioneOp"_s},
                           righe);
        }
        // The applications' rows fill the last pages of the file: damage one of them.
        QFile database(programma.dbPath());
        QVERIFY(database.open(QIODevice::ReadWrite));
        QVERIFY(database.seek(database.size() - 600));
        database.write(QByteArray(50, '\x55'));
        database.close();
        test.prompt.expect(u"Errore 3049\r\nIl file della base dati è danneggiato.\r\nLa procedura verrà "
                           u"terminata."_s);
        programma.avvia();

        QVERIFY(programma.ended);
        QVERIFY(test.prompt.allShown());
        QCOMPARE(test.prompt.shown().front().title, u"Base dati danneggiata"_s);
        QCOMPARE(test.prompt.shown().front().icon, Prompt::Icon::Critical);
        QCOMPARE(test.prompt.shown().front().buttons, Prompt::Buttons::Ok);
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s), file);
    }

    void serverAddress_data()
    {
        QTest::addColumn<QString>("nreg");
        QTest::addColumn<QString>("indirizzo");
        QTest::newRow("http") << u"http://127.0.0.1:8080/nreg/nuovo.php"_s << u"http://127.0.0.1:8080"_s;
        QTest::newRow("https") << u"https://regione.example.it/nreg/nuovo.php"_s
                               << u"https://regione.example.it"_s;
        QTest::newRow("https, host only and a slash") << u"https://h/"_s << u"https://h"_s;
        QTest::newRow("no scheme") << u"regione.example.it/nreg"_s << u"regione.example.it"_s;
    }

    void serverAddress()
    {
        QFETCH(QString, nreg);
        QFETCH(QString, indirizzo);
        QCOMPARE(IndirizzoServer(nreg), indirizzo);
    }

    void serverAddressWithoutPathFails_data()
    {
        QTest::addColumn<QString>("nreg");
        QTest::newRow("empty") << QString();
        QTest::newRow("host only") << u"https://regione.example.it"_s;
    }

    void serverAddressWithoutPathFails()
    {
        QFETCH(QString, nreg);
        try {
            IndirizzoServer(nreg);
            QFAIL("no error");
        } catch (const RoutineError &error) {
            QCOMPARE(error.number(), ErrorCode::InvalidProcedureCall);
        }
    }

    void startUpFillsTheInstallationStateAndCallsTheHooksInOrder()
    {
        Programma programma;
        TestContext &test = programma.test;
        // "ab" scrambled with the program's key.
        QByteArray file = ini("StandAlone");
        file.replace("PWD=", "PWD=\xe1\xe2");
        programma.prepara(file);
        FixtureDatabase fixture(programma.dbPath());

        programma.avvia();
        QVERIFY(!programma.ended);
        const InstallationState &state = test.context().installazione();
        QCOMPARE(state.CartellaProgramma, test.folder() + u'/');
        QCOMPARE(state.TipoInstallazione, u"StandAlone"_s);
        QCOMPARE(state.PercorsoDB, programma.dbPath());
        QCOMPARE(state.NomeFileDB, u"KX58TORVA.mdb"_s);
        QCOMPARE(state.FileAiuto, test.folder() + u"/KX58TORVA.htm"_s);
        QCOMPARE(state.CredenzialeServer, u"ab"_s);
        QCOMPARE(state.IndirizzoServer, u"https://regione.example.it"_s);
        QCOMPARE(programma.calls,
                 (QStringList{u"caricaMain"_s, u"installaTabelleDecodifica"_s, u"installaAnagrafiche"_s}));

        // The splash stays until the frame's first activation, which shows the main window.
        QVERIFY(programma.windows.splash());
        QVERIFY(!programma.windows.finestraAvvio());
        QVERIFY(programma.windows.frame()->isVisible());
        QCOMPARE(programma.windows.frame()->windowTitle(),
                 u"Proposta Corsi ZRV 2021 -  Laboratori AR ( KX58TORVA ) "_s);
        QTRY_VERIFY(programma.calls.contains(u"mostraMain"_s));
        QCOMPARE(programma.calls.mid(3, 2), (QStringList{u"caricaMain"_s, u"mostraMain"_s}));
        QVERIFY(!programma.windows.splash());
    }

    void installersShowTheStartUpWindowAsTheirProgress()
    {
        Programma programma;
        TestContext &test = programma.test;
        programma.prepara(ini("StandAlone"));
        FixtureDatabase fixture(programma.dbPath());
        QStringList shown;
        test.context().startupHooks().installaAnagrafiche = [&](ProgressoAvvio &avvio) {
            QWidget *window = programma.windows.finestraAvvio();
            QVERIFY(!window->isVisible());
            avvio.mostra(u"INSTALLAZIONE"_s, u"Attendere..."_s);
            avvio.file(test.path(u"oper.tx1"_s));
            avvio.tabella(u"CorsiOper"_s);
            avvio.record(u"12"_s);
            QVERIFY(window->isVisible());
            QCOMPARE(window->windowTitle(), u"  Installazione"_s);
            for (const QString &name : {u"lblTitolo"_s, u"Label4"_s, u"lblFile"_s, u"lblTabe"_s, u"lblNRec"_s,
                                        u"Label2"_s, u"Label3"_s, u"Label6"_s})
                shown << control<QLabel>(window, name)->text();
        };
        programma.avvia();
        QVERIFY(!programma.ended);
        QCOMPARE(shown,
                 (QStringList{u"INSTALLAZIONE"_s, u"Attendere..."_s, test.path(u"oper.tx1"_s), u"CorsiOper"_s,
                              u"12"_s, u"file:"_s, u"tabella:"_s, u"Record   N° :"_s}));
        QVERIFY(!programma.windows.finestraAvvio());
    }

    void firstRunAsksAndWritesTheChoice()
    {
        Programma programma;
        TestContext &test = programma.test;
        const QByteArray file =
            "[Installazione]\r\nTipo=\r\nVersione=\r\nPROVIDER=Microsoft.Jet.OLEDB.4.0\r\n"
            "[BaseDati]\r\nDatabase=\r\nNFileDB=\r\n[CONNESSIONE]\r\nNREG=http://h/n\r\n"
            "[Help]\r\nFILEHELP=KX58TORVA.htm\r\n";
        programma.prepara(file);
        test.writeFile(u"oper.tx1"_s, "x");
        QDir().mkpath(test.path(u"dati"_s));
        const QString shared = test.path(u"dati/Condivisa.MDB"_s);
        FixtureDatabase fixture(shared);

        bool splashClosed = false;
        test.dialogRunner.expect(u"Frm_Impostazioni"_s, [&](QDialog &dialog) {
            splashClosed = !programma.windows.splash();
            test.fileDialogs.chosenPath = shared;
            press(&dialog, u"cmdSfoglia"_s);
            control<QRadioButton>(&dialog, u"opt_InRete"_s)->setChecked(true);
            press(&dialog, u"Cmd_Ok"_s);
        });
        test.dialogRunner.expect(u"frmServerClient"_s, [&](QDialog &dialog) {
            control<QRadioButton>(&dialog, u"optClient"_s)->setChecked(true);
            press(&dialog, u"cmdOK"_s);
        });
        programma.avvia();

        QVERIFY(!programma.ended);
        QVERIFY(test.dialogRunner.allRun());
        QVERIFY(splashClosed);
        QVERIFY(!programma.windows.splash());
        QVERIFY(QFileInfo::exists(test.path(u"oper.cli"_s)));
        QCOMPARE(
            test.readFile(u"KX58TORVA.INI"_s),
            "[Installazione]\r\nTipo=Multiutenza\r\nVersione=CLIENT\r\nPROVIDER=Microsoft.Jet.OLEDB.4.0\r\n"
            "[BaseDati]\r\nDatabase=" +
                shared.toUtf8() +
                "\r\nNFileDB=Condivisa.MDB\r\nNumDoma=0\r\n[CONNESSIONE]\r\nNREG=http://h/n\r\n"
                "[Help]\r\nFILEHELP=KX58TORVA.htm\r\n");
        QCOMPARE(test.context().DE().CorsiDB().mode(), Connection::Mode::Shared);
    }

    void courseHoursAreCorrectedAtEveryStart()
    {
        Programma programma;
        TestContext &test = programma.test;
        programma.prepara(ini("StandAlone"));
        FixtureDatabase fixture(programma.dbPath());
        fixture.insert(u"Domande"_s, {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s, u"DomandaStampata"_s},
                       {{101, u"A"_s, 5, 0}, {102, u"A"_s, 5, 1}});
        const QStringList columns = {u"NumDoma"_s,   u"SedeInteressata"_s, u"Corso"_s,    u"CodAsse"_s,
                                     u"CodMisura"_s, u"CodAzione"_s,       u"OreSpesa"_s, u"TotOreIter"_s};
        fixture.insert(u"CorsiProp"_s, columns,
                       {
                           {101, 1, u"0001"_s, u"III"_s, u"G"_s, u"06.01"_s, 250, 100},
                           {101, 1, u"0002"_s, u"III"_s, u"G"_s, u"06.01"_s, 100, 201},
                           {101, 1, u"0003"_s, u"III"_s, u"G"_s, u"06.01"_s, 200, 200},
                           {102, 1, u"0001"_s, u"iii"_s, u"g"_s, u"06.01"_s, 300, 300},
                           {101, 1, u"0004"_s, u"III"_s, QVariant(), u"06.01"_s, 300, 300},
                           {101, 1, u"0005"_s, u"III"_s, u"G"_s, u"06.02"_s, 300, 300},
                       });
        programma.avvia();
        QVERIFY(!programma.ended);
        const QueryResult rows =
            test.context().DE().CorsiDB().query(u"SELECT NumDoma, Corso, OreSpesa, TotOreIter FROM CorsiProp "
                                                u"ORDER BY NumDoma, Corso"_s);
        const QList<QVariantList> expected = {
            {101, u"0001"_s, 200, 200}, {101, u"0002"_s, 200, 200}, {101, u"0003"_s, 200, 200},
            {101, u"0004"_s, 300, 300}, {101, u"0005"_s, 300, 300}, {102, u"0001"_s, 200, 200},
        };
        QCOMPARE(rows.rows.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            for (int c = 0; c < 4; ++c)
                QCOMPARE(rows.rows[i][c].toString(), expected[i][c].toString());
        }
    }

    // A database made before the index of the correction gets it at its next start; the correction
    // then reads only the courses of its action.
    void theCorrectionOfCourseHoursFindsItsCoursesThroughAnIndex()
    {
        Programma programma;
        TestContext &test = programma.test;
        programma.prepara(ini("StandAlone"));
        FixtureDatabase fixture(programma.dbPath());
        const QString plan = u"EXPLAIN QUERY PLAN "_s + QString::fromLatin1(CorrezioneOreCorsi);
        const auto throughIndex = [](const QueryResult &result) {
            return std::any_of(result.rows.cbegin(), result.rows.cend(), [](const QVariantList &row) {
                return row.last().toString().contains(u"USING INDEX CorsiPropAzioneCorsi"_s);
            });
        };
        QVERIFY(throughIndex(fixture.query(plan)));
        fixture.execute(u"DROP INDEX CorsiPropAzioneCorsi"_s);
        QVERIFY(!throughIndex(fixture.query(plan)));

        programma.avvia();
        QVERIFY(!programma.ended);
        QVERIFY(throughIndex(test.context().DE().CorsiDB().query(plan)));
    }

    void firstRunAnswersThatCannotBeWrittenAreToldWithTheFileAndItsCause()
    {
        Programma programma;
        TestContext &test = programma.test;
        const QByteArray file = "[Installazione]\r\nTipo=\r\nVersione=SERVER\r\n[BaseDati]\r\nDatabase=\r\n"
                                "NFileDB=\r\n[Help]\r\nFILEHELP=KX58TORVA.htm\r\n";
        programma.prepara(file);
        FixtureDatabase fixture(programma.dbPath());
        test.dialogRunner.expect(u"Frm_Impostazioni"_s, [&](QDialog &dialog) {
            test.fileDialogs.chosenPath = programma.dbPath();
            press(&dialog, u"cmdSfoglia"_s);
            press(&dialog, u"Cmd_Ok"_s);
        });
        test.prompt.expect(u"Impossibile utilizzare il file "_s + test.path(u"KX58TORVA.INI"_s) +
                           u": file troppo grande.\r\nLa procedura verrà terminata."_s);
        {
            // The disk fills up: no file may grow past what the INI file holds now.
            const FileSizeLimit discoPieno(file.size());
            programma.avvia();
        }

        QVERIFY(programma.ended);
        QVERIFY(test.prompt.allShown());
        QCOMPARE(test.prompt.shown().front().title, u"Errore di inizializzazione"_s);
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s), file);
        QVERIFY(programma.calls.isEmpty());
    }

    void firstRunDialogLeftWithoutAChoiceStillWritesTheKeys()
    {
        Programma programma;
        TestContext &test = programma.test;
        programma.prepara(
            "[Installazione]\r\nTipo=\r\nVersione=SERVER\r\n[Help]\r\nFILEHELP=KX58TORVA.htm\r\n");
        test.dialogRunner.expect(u"Frm_Impostazioni"_s, [](QDialog &) {});
        test.prompt.expect(baseDatiMancante(QString()), Prompt::Answer::No);
        programma.avvia();

        QVERIFY(programma.ended);
        QVERIFY(test.dialogRunner.allRun());
        QVERIFY(test.prompt.allShown());
        QCOMPARE(
            test.readFile(u"KX58TORVA.INI"_s),
            QByteArray("[Installazione]\r\nTipo=\r\nVersione=SERVER\r\n[Help]\r\nFILEHELP=KX58TORVA.htm\r\n"
                       "[BaseDati]\r\nDatabase=\r\nNFileDB=\r\n"));
    }

    void anErrorOfTheStartUpIsShownAndEndsTheProgram()
    {
        Programma programma;
        TestContext &test = programma.test;
        programma.prepara(ini("StandAlone"));
        // The program's database, but its course table lacks the columns the correction of course hours sets.
        FixtureDatabase fixture(programma.dbPath());
        fixture.execute(u"DROP TABLE CorsiProp"_s);
        fixture.execute(u"CREATE TABLE CorsiProp (Corso TEXT)"_s);
        const RoutineError error = errorOf([&] { fixture.execute(QString::fromLatin1(CorrezioneOreCorsi)); });
        QVERIFY(error.number() != 0);
        test.prompt.expect(u"Errore "_s + QString::number(error.number()) + u"\r\n"_s + error.description());
        programma.avvia();

        QVERIFY(programma.ended);
        QVERIFY(test.prompt.allShown());
        QCOMPARE(test.prompt.shown().front().title, QString());
        QCOMPARE(test.prompt.shown().front().icon, Prompt::Icon::Critical);
        QCOMPARE(programma.calls,
                 (QStringList{u"caricaMain"_s, u"installaTabelleDecodifica"_s, u"installaAnagrafiche"_s}));
        QVERIFY(!programma.windows.frame());
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s), programma.withPath(ini("StandAlone")));
    }

    void anyOtherErrorOfTheStartUpIsShownWithNumberZero()
    {
        Programma programma;
        TestContext &test = programma.test;
        programma.prepara(ini("StandAlone"));
        FixtureDatabase fixture(programma.dbPath());
        test.context().startupHooks().installaAnagrafiche = [](ProgressoAvvio &) {
            throw std::runtime_error("lettura interrotta");
        };
        test.prompt.expect(u"Errore 0\r\nlettura interrotta"_s);
        programma.avvia();

        QVERIFY(programma.ended);
        QCOMPARE(test.prompt.shown().front().icon, Prompt::Icon::Critical);
        QVERIFY(!programma.windows.frame());
    }

    void anErrorLoadingTheMainWindowIsShownAndEndsTheProgram_data()
    {
        QTest::addColumn<bool>("inLoading");
        QTest::newRow("loading") << true;
        QTest::newRow("showing") << false;
    }

    void anErrorLoadingTheMainWindowIsShownAndEndsTheProgram()
    {
        QFETCH(bool, inLoading);
        TestContext test;
        QStringList calls;
        const auto step = [&calls, inLoading](const QString &name) {
            calls << name;
            if (inLoading == (name == u"caricaMain"))
                throw RoutineError(ErrorCode::ConnectionClosed);
        };
        test.context().startupHooks().caricaMain = [&] { step(u"caricaMain"_s); };
        test.context().startupHooks().mostraMain = [&] { step(u"mostraMain"_s); };
        bool splashClosed = false;
        MDI_Main frame(test.context(), [&] { splashClosed = true; });
        test.prompt.expect(u"Errore 3709\r\n"_s +
                           RoutineError::standardDescription(ErrorCode::ConnectionClosed));

        QVERIFY_THROWS_EXCEPTION(ProgramExited, frame.Form_Activate());
        QVERIFY(splashClosed);
        QCOMPARE(calls,
                 inLoading ? QStringList{u"caricaMain"_s} : (QStringList{u"caricaMain"_s, u"mostraMain"_s}));
        QCOMPARE(test.prompt.shown().front().icon, Prompt::Icon::Critical);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void theFirstShowAndItsActivationAreOneActivation()
    {
        TestContext test;
        int loads = 0;
        test.context().startupHooks().caricaMain = [&] { ++loads; };
        MDI_Main frame(test.context(), {});
        frame.show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QTRY_COMPARE(loads, 1);
        QTest::qWait(50);
        QCOMPARE(loads, 1);

        // A later activation is one more.
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        QTRY_COMPARE(loads, 2);
    }

    void informationalMessagesEndTheProgram()
    {
        TestContext test;
        test.prompt.expect(u"Errore 3045\r\nprimo"_s);
        test.prompt.expect(u"Errore -2147467259\r\nsecondo"_s);
        QVERIFY_THROWS_EXCEPTION(
            ProgramExited,
            CorsiDB_InfoMessage(test.context(), {RoutineError(ErrorCode::FileInUse, u"primo"_s),
                                                 RoutineError(ErrorCode::Unspecified, u"secondo"_s)}));
        QVERIFY(test.prompt.allShown());
        QCOMPARE(test.prompt.shown().front().title, u"Errore di connessione"_s);
        QCOMPARE(test.prompt.shown().front().icon, Prompt::Icon::Critical);
    }

    void exclusiveReopening()
    {
        Programma programma;
        TestContext &test = programma.test;
        programma.prepara(ini("Multiutenza"));
        FixtureDatabase fixture(programma.dbPath());
        fixture.insert(u"Domande"_s, {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s}, {{7, u"A"_s, 1}});
        programma.avvia();
        Connection &corsiDB = test.context().DE().CorsiDB();
        QCOMPARE(corsiDB.mode(), Connection::Mode::Shared);

        QVERIFY(RiapriDBEsclusivo(test.context()));
        QCOMPARE(corsiDB.mode(), Connection::Mode::Exclusive);
        Recordset &rsDomande = test.context().DE().rs(u"Domande"_s);
        rsDomande.open();
        QCOMPARE(rsDomande.recordCount(), 1);
        rsDomande.close();

        corsiDB.close();
        corsiDB.open(programma.dbPath(), Connection::Mode::Shared);
        Connection client;
        client.open(programma.dbPath(), Connection::Mode::Shared);
        test.prompt.expect(riaperturaRifiutata(u"Errore 3045\r\nImpossibile aprire in modo esclusivo '"_s +
                                               programma.dbPath() +
                                               u"': il file è già in uso da parte di un altro utente."_s));
        QVERIFY(!RiapriDBEsclusivo(test.context()));
        QCOMPARE(test.prompt.shown().back().title, u"Proposta Corsi Direttiva Brevanta 2002"_s);
        QCOMPARE(test.prompt.shown().back().icon, Prompt::Icon::Critical);
        QVERIFY(!corsiDB.isOpen());

        // A connection that is closed already cannot be closed again: the same box, and False.
        client.close();
        test.prompt.expect(riaperturaRifiutata(u"Errore 3704\r\nOperazione non consentita se l'oggetto è "
                                               u"chiuso."_s));
        QVERIFY(!RiapriDBEsclusivo(test.context()));
        QVERIFY(test.prompt.allShown());
        QVERIFY(!corsiDB.isOpen());
    }
};

QTEST_MAIN(TestAvvio)
#include "tst_Avvio.moc"
