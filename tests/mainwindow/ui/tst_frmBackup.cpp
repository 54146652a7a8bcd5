#include "FixtureDatabase.h"
#include "TestContext.h"
#include "WindowTesting.h"
#include "core/config/IniFile.h"
#include "core/config/IniKeys.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/startup/Inizializza.h"
#include "core/state/InstallationState.h"
#include "core/state/StartupHooks.h"
#include "core/ui/ImageButton.h"
#include "mainwindow/SalvataggioDati.h"
#include "mainwindow/ui/frmBackup.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Filtro = u"Backup Predefinito (KX58TORVA.zip);;WinZip File (*.zip)"_s;

/** True when the step ended the program. */
template<typename Step> bool termina(Step &&step)
{
    try {
        step();
    } catch (const ProgramExited &) {
        return true;
    }
    return false;
}

/**
 * A multi-user installation whose database holds application 7, the connection open as the main
 * window leaves it, and a stand-in for the main window.
 */
struct Banco
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};
    QWidget main;
    std::unique_ptr<frmBackup> finestra;

    /** `fileBackup` as [BaseDati] FileBackup, "{f}" standing for the program folder. */
    explicit Banco(QString fileBackup = {})
    {
        fileBackup.replace(u"{f}"_s, test.folder());
        test.writeFile(u"KX58TORVA.INI"_s, "[Installazione]\r\nTipo=Multiutenza\r\nVersione=SERVER\r\n"
                                           "PROVIDER=Microsoft.Jet.OLEDB.4.0\r\n"
                                           "[BaseDati]\r\nDatabase=KX58TORVA.mdb\r\nFileBackup=" +
                                               fileBackup.toUtf8() +
                                               "\r\n[CONNESSIONE]\r\nNREG=http://127.0.0.1/nreg/nuova.php\r\n"
                                               "[Help]\r\nFILEHELP=KX58TORVA.htm\r\n");
        test.writeFile(u"KX58TORVA.htm"_s, "<html></html>");
        Context &context = test.context();
        context.fileIni().setNomeFile(test.path(u"KX58TORVA.INI"_s));
        context.installazione().TipoInstallazione = TipoMultiutenza;
        context.installazione().PercorsoDB = u"KX58TORVA.mdb"_s;
        aggiungiDomanda(7);
        context.DE().CorsiDB().open(db.path(), Connection::Mode::Shared);
        main.setObjectName(u"Main"_s);
    }
    ~Banco()
    {
        finestra.reset();
        if (test.context().DE().CorsiDB().isOpen())
            test.context().DE().CorsiDB().close();
    }

    void aggiungiDomanda(int numero)
    {
        db.insert(u"Domande"_s, {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s}, {{numero, u"A"_s, 12}});
    }

    frmBackup *apri()
    {
        finestra = std::make_unique<frmBackup>(test.context(), &main);
        finestra->show();
        return finestra.get();
    }

    template<typename T> T *c(const QString &name) { return control<T>(finestra.get(), name); }
    QString testo(const QString &name) { return c<QLineEdit>(name)->text(); }
    void scheda(int indice) { c<QTabWidget>(u"SSTab1"_s)->setCurrentIndex(indice); }
};

} // namespace

class TestFrmBackup : public QObject
{
    Q_OBJECT

private slots:
    void openingWithoutAnEarlierBackup()
    {
        Banco banco;
        frmBackup *finestra = banco.apri();
        QCOMPARE(finestra->objectName(), u"frmBackup"_s);
        QCOMPARE(finestra->windowTitle(), u"Salvataggio/Recupero Dati"_s);
        QVERIFY(!banco.main.isEnabled());
        QVERIFY(!banco.test.context().DE().CorsiDB().isOpen());
        QCOMPARE(banco.c<QTabWidget>(u"SSTab1"_s)->currentIndex(), 0);
        QCOMPARE(banco.c<QTabWidget>(u"SSTab1"_s)->tabText(0), u"Salvataggio Dati"_s);
        QCOMPARE(banco.c<QTabWidget>(u"SSTab1"_s)->tabText(1), u"Recupero Dati"_s);
        QCOMPARE(banco.testo(u"txtFileBak"_s), QString());
        QCOMPARE(banco.testo(u"txtFileZip"_s), QString());
        QVERIFY(banco.c<QLineEdit>(u"txtFileBak"_s)->isReadOnly());
        QVERIFY(!banco.c<QRadioButton>(u"optSost"_s)->isChecked());
        QVERIFY(!banco.c<QRadioButton>(u"optAll"_s)->isChecked());
        QCOMPARE(banco.c<ImageButton>(u"cmdConfermaBak"_s)->pictureName(), u"imgConferma"_s);
        QCOMPARE(banco.c<ImageButton>(u"cmdEsci_1"_s)->pictureName(), u"imgAnnulla"_s);

        // A cancelled chooser leaves the field as it was.
        press(finestra, u"cmdSfogliaBak"_s);
        QCOMPARE(banco.test.fileDialogs.lastTitle, u"File di Archivio"_s);
        QCOMPARE(banco.test.fileDialogs.lastFilter, Filtro);
        QCOMPARE(banco.test.fileDialogs.lastStartPath, banco.test.path(u"KX58TORVA.zip"_s));
        QCOMPARE(banco.testo(u"txtFileBak"_s), QString());
    }

    void openingAfterABackup()
    {
        Banco banco(u"/dati/Copie/a.zip"_s);
        frmBackup *finestra = banco.apri();
        QCOMPARE(banco.testo(u"txtFileBak"_s), u"/dati/Copie/a.zip"_s);
        QCOMPARE(banco.testo(u"txtFileZip"_s), u"/dati/Copie/a.zip"_s);
        press(finestra, u"cmdSfogliaBak"_s);
        QCOMPARE(banco.test.fileDialogs.lastStartPath, u"/dati/Copie/KX58TORVA.zip"_s);
    }

    void restoreTab_data()
    {
        QTest::addColumn<QString>("fileBak");
        QTest::addColumn<QString>("avvio");

        QTest::newRow("an archive that exists") << u"{f}/Copie/a.zip"_s << u"{f}/Copie/a.zip"_s;
        QTest::newRow("an archive no longer there") << u"{f}/Copie/b.zip"_s << u"{f}/Copie"_s;
        QTest::newRow("no archive") << QString() << u"{f}"_s;
    }

    void restoreTab()
    {
        QFETCH(QString, fileBak);
        QFETCH(QString, avvio);

        Banco banco(fileBak);
        QVERIFY(QDir(banco.test.folder()).mkpath(u"Copie"_s));
        banco.test.writeFile(u"Copie/a.zip"_s, "an archive");
        frmBackup *finestra = banco.apri();
        banco.scheda(1);
        QCOMPARE(banco.testo(u"txtFileZip"_s), fileBak.replace(u"{f}"_s, banco.test.folder()));
        QVERIFY(banco.c<QRadioButton>(u"optSost"_s)->isChecked());
        QCOMPARE(finestra->focusWidget(), banco.c<QWidget>(u"cmdSfogliaZip"_s));

        banco.test.fileDialogs.chosenPath = banco.test.path(u"Copie/a.zip"_s);
        press(finestra, u"cmdSfogliaZip"_s);
        QCOMPARE(banco.test.fileDialogs.lastFilter, Filtro);
        QCOMPARE(banco.test.fileDialogs.lastStartPath, avvio.replace(u"{f}"_s, banco.test.folder()));
        QCOMPARE(banco.testo(u"txtFileZip"_s), banco.test.path(u"Copie/a.zip"_s));

        banco.scheda(0);
        QCOMPARE(finestra->focusWidget(), banco.c<QWidget>(u"cmdSfogliaBak"_s));
    }

    void backupFromTheWindow()
    {
        Banco banco;
        frmBackup *finestra = banco.apri();
        banco.test.prompt.expect(u"Selezionare prima un nome per l'Archivio di Backup."_s);
        press(finestra, u"cmdConfermaBak"_s);
        QCOMPARE(banco.test.prompt.shown().constLast().title, u"Errore"_s);
        QCOMPARE(finestra->focusWidget(), banco.c<QWidget>(u"cmdSfogliaBak"_s));

        banco.test.fileDialogs.chosenPath = banco.test.path(u"archivio.dat"_s);
        press(finestra, u"cmdSfogliaBak"_s);
        QCOMPARE(banco.testo(u"txtFileBak"_s), banco.test.path(u"archivio.dat"_s));
        banco.test.prompt.expect(u"Backup eseguito con successo."_s);
        press(finestra, u"cmdConfermaBak"_s);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.testo(u"txtFileBak"_s), banco.test.path(u"archivio.zip"_s));
        QVERIFY(QFileInfo(banco.test.path(u"archivio.zip"_s)).isFile());
        QCOMPARE(banco.test.context().fileIni().Leggi(IniKeys::FileBackup),
                 banco.test.path(u"archivio.zip"_s));
        QVERIFY(banco.c<QWidget>(u"cmdConfermaBak"_s)->isEnabled());
        QVERIFY(banco.c<QWidget>(u"cmdEsci_0"_s)->isEnabled());
        QVERIFY(!QGuiApplication::overrideCursor());
        QVERIFY(!banco.test.context().DE().CorsiDB().isOpen());
    }

    void theChoosersQuestionConcernsTheArchiveThatWillBeReplaced_data()
    {
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("esistente");
        QTest::addColumn<QString>("domanda");
        QTest::addColumn<bool>("sostituisci");

        const QString archivio = u"archivio.zip esiste già.\r\nSostituirlo?"_s;
        QTest::newRow("no extension, the archive exists")
            << u"archivio"_s << u"archivio.zip"_s << archivio << true;
        QTest::newRow("another extension") << u"archivio.dat"_s << u"archivio.zip"_s << archivio << true;
        QTest::newRow("the archive itself") << u"archivio.zip"_s << u"archivio.zip"_s << archivio << true;
        QTest::newRow("No: chooser again") << u"archivio"_s << u"archivio.zip"_s << archivio << false;
        QTest::newRow("only the typed name exists") << u"archivio"_s << u"archivio"_s << QString() << true;
        QTest::newRow("nothing there") << u"archivio"_s << QString() << QString() << true;
    }
    void theChoosersQuestionConcernsTheArchiveThatWillBeReplaced()
    {
        QFETCH(QString, digitato);
        QFETCH(QString, esistente);
        QFETCH(QString, domanda);
        QFETCH(bool, sostituisci);

        Banco banco;
        if (!esistente.isEmpty())
            banco.test.writeFile(esistente, "archivio precedente");
        frmBackup *finestra = banco.apri();
        // The second chooser, opened after a No, is cancelled.
        banco.test.fileDialogs.queuedPaths = {banco.test.path(digitato)};
        if (!domanda.isEmpty())
            banco.test.prompt.expect(domanda, sostituisci ? Prompt::Answer::Yes : Prompt::Answer::No);
        press(finestra, u"cmdSfogliaBak"_s);
        QVERIFY(banco.test.prompt.allShown());
        if (!domanda.isEmpty()) {
            QCOMPARE(banco.test.prompt.shown().constLast().title, u"File di Archivio"_s);
            QCOMPARE(banco.test.prompt.shown().constLast().buttons, Prompt::Buttons::YesNo);
        }
        QCOMPARE(banco.testo(u"txtFileBak"_s), sostituisci ? banco.test.path(digitato) : QString());
        if (!sostituisci)
            QCOMPARE(banco.test.fileDialogs.lastStartPath, banco.test.path(digitato));
    }

    void restoreFromTheWindowThenWorkOnIt_data()
    {
        QTest::addColumn<bool>("copia");
        QTest::newRow("optSost") << false;
        QTest::newRow("optAll") << true;
    }

    void restoreFromTheWindowThenWorkOnIt()
    {
        QFETCH(bool, copia);
        Banco banco;
        banco.test.context().DE().CorsiDB().close();
        const Esito backup = Backup(banco.test.context(), banco.test.path(u"copia.zip"_s));
        QCOMPARE(int(backup.esito), int(EsitoOperazione::Riuscita));
        banco.aggiungiDomanda(8);
        const QByteArray corrente = banco.test.readFile(u"KX58TORVA.mdb"_s);
        Inizializza(banco.test.context());

        frmBackup *finestra = banco.apri();
        banco.scheda(1);
        QCOMPARE(banco.testo(u"txtFileZip"_s), backup.archivio);
        if (copia)
            banco.c<QRadioButton>(u"optAll"_s)->click();
        banco.test.prompt.expect(u"Recupero eseguito con successo"_s);
        press(finestra, u"cmdConfermaZip"_s);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(QFileInfo::exists(banco.test.path(u"BackupDB/KX58TORVA.mdb"_s)), copia);
        if (copia)
            QCOMPARE(banco.test.readFile(u"BackupDB/KX58TORVA.mdb"_s), corrente);

        press(finestra, u"cmdEsci_1"_s);
        QVERIFY(!finestra->isVisible());
        QVERIFY(banco.main.isEnabled());
        Connection &corsiDB = banco.test.context().DE().CorsiDB();
        QVERIFY(corsiDB.isOpen());
        QCOMPARE(corsiDB.mode(), Connection::Mode::Shared);
        Recordset &domande = banco.test.context().DE().runQuery(u"SELECT NumDoma FROM Domande"_s);
        QCOMPARE(domande.recordCount(), 1);
        QCOMPARE(domande.value(u"NumDoma"_s).toInt(), 7);
        corsiDB.execute(u"INSERT INTO Domande (NumDoma, GrupOpe, Operatore) VALUES (9, 'A', 12)"_s);
    }

    void theRestoreReadsTheArchiveWhileTheWindowAnswersWithItsButtonsDisabled()
    {
        Banco banco;
        banco.test.context().DE().CorsiDB().close();
        const Esito backup = Backup(banco.test.context(), banco.test.path(u"copia.zip"_s));
        QCOMPARE(int(backup.esito), int(EsitoOperazione::Riuscita));
        Inizializza(banco.test.context());

        frmBackup *finestra = banco.apri();
        banco.scheda(1);
        bool visto = false;
        QTimer::singleShot(0, finestra, [&] {
            visto = true;
            QVERIFY(!banco.c<QWidget>(u"cmdConfermaZip"_s)->isEnabled());
            QVERIFY(!banco.c<QWidget>(u"cmdEsci_1"_s)->isEnabled());
            QVERIFY(!banco.c<QWidget>(u"cmdConfermaBak"_s)->isEnabled());
            QVERIFY(QGuiApplication::overrideCursor() &&
                    QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor);
            finestra->close();
            QVERIFY(finestra->isVisible());
        });
        banco.test.prompt.expect(u"Recupero eseguito con successo"_s);
        press(finestra, u"cmdConfermaZip"_s);

        QVERIFY(visto);
        QVERIFY(banco.test.prompt.allShown());
        QVERIFY(banco.c<QWidget>(u"cmdConfermaZip"_s)->isEnabled());
        QVERIFY(!QGuiApplication::overrideCursor());
        press(finestra, u"cmdEsci_1"_s);
    }

    void aRefusedArchiveIsToldWithItsReason()
    {
        Banco banco;
        banco.test.context().DE().CorsiDB().close();
        Inizializza(banco.test.context());
        frmBackup *finestra = banco.apri();
        banco.scheda(1);
        banco.c<QLineEdit>(u"txtFileZip"_s)
            ->setText(QStringLiteral(KX_TEST_DATA "/mainwindow/restore-traversal.zip"));
        banco.test.prompt.expect(u"Recupero fallito: archivio non valido"_s);
        press(finestra, u"cmdConfermaZip"_s);
        QVERIFY(banco.test.prompt.allShown());
        QVERIFY(finestra->isVisible());
        press(finestra, u"cmdEsci_1"_s);
    }

    void restoreRefusedWhileAnotherInstallationIsConnected()
    {
        Banco banco(u"{f}/copia.zip"_s);
        banco.test.context().DE().CorsiDB().close();
        QCOMPARE(int(Backup(banco.test.context(), banco.test.path(u"copia.zip"_s)).esito),
                 int(EsitoOperazione::Riuscita));
        banco.aggiungiDomanda(8);
        const QByteArray prima = banco.test.readFile(u"KX58TORVA.mdb"_s);
        Connection altra;
        altra.open(banco.db.path(), Connection::Mode::Shared);

        frmBackup *finestra = banco.apri();
        banco.scheda(1);
        banco.test.prompt.expect(u"Impossibile recuperare la base dati: altre installazioni sono connesse. "
                                 u"Chiudere tutti i client e ritentare l'operazione."_s);
        press(finestra, u"cmdConfermaZip"_s);
        QCOMPARE(banco.test.prompt.shown().constLast().title, u"Errore"_s);
        QCOMPARE(banco.test.prompt.shown().constLast().icon, Prompt::Icon::Critical);
        QCOMPARE(banco.test.readFile(u"KX58TORVA.mdb"_s), prima);
        QVERIFY(finestra->isVisible());
        press(finestra, u"cmdEsci_1"_s);
        QCOMPARE(banco.test.context().DE().CorsiDB().scalar(u"SELECT COUNT(*) FROM Domande"_s).toInt(), 2);
    }

    void anUnexpectedErrorClosesTheWindowAndTheReopeningReportsAsTheStartUp()
    {
        Banco banco;
        frmBackup *finestra = banco.apri();
        QVERIFY(QFile::remove(banco.db.path()));
        banco.test.fileDialogs.chosenPath = banco.test.path(u"copia.zip"_s);
        press(finestra, u"cmdSfogliaBak"_s);
        banco.test.prompt.expect(u"Errore -2147467259\r\nImpossibile trovare il file '"_s + banco.db.path() +
                                 u"'."_s);
        banco.test.prompt.expect(testoBaseDatiMancante(u"KX58TORVA.mdb"_s), Prompt::Answer::No);
        QVERIFY(termina([&] { press(finestra, u"cmdConfermaBak"_s); }));
        QCOMPARE(banco.test.prompt.shown().constFirst().title, u"Errore"_s);
        QCOMPARE(banco.test.prompt.shown().constLast().title, u"Imposta base dati"_s);
        QVERIFY(banco.test.prompt.allShown());
    }

    void closingReopensTheDatabaseWithoutRunningTheStartUpAgain()
    {
        Banco banco;
        // The start-up would announce the missing help file and load the main window once more.
        QVERIFY(QFile::remove(banco.test.path(u"KX58TORVA.htm"_s)));
        int caricamenti = 0;
        banco.test.context().startupHooks().caricaMain = [&] { ++caricamenti; };
        frmBackup *finestra = banco.apri();
        QVERIFY(!banco.test.context().DE().CorsiDB().isOpen());

        press(finestra, u"cmdEsci_0"_s);
        QVERIFY(banco.test.prompt.shown().isEmpty());
        QCOMPARE(caricamenti, 0);
        QVERIFY(banco.main.isEnabled());
        Connection &corsiDB = banco.test.context().DE().CorsiDB();
        QVERIFY(corsiDB.isOpen());
        QCOMPARE(corsiDB.mode(), Connection::Mode::Shared);
        QCOMPARE(banco.test.context().DE().runQuery(u"SELECT NumDoma FROM Domande"_s).recordCount(), 1);
    }

    void theCommandOpensOneWindow()
    {
        Banco banco;
        const std::function<void()> voce = voceFrmBackup(banco.test.context());
        voce();
        voce();
        QList<frmBackup *> aperte;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *finestra = qobject_cast<frmBackup *>(window); finestra && finestra->isVisible())
                aperte << finestra;
        }
        QCOMPARE(aperte.size(), 1);
        QVERIFY(!banco.main.isEnabled());
        QVERIFY(aperte.constFirst()->testAttribute(Qt::WA_DeleteOnClose));
        QPointer<frmBackup> finestra = aperte.constFirst();
        press(finestra, u"cmdEsci_0"_s);
        QVERIFY(banco.main.isEnabled());
        QVERIFY(banco.test.context().DE().CorsiDB().isOpen());
        QTRY_VERIFY(!finestra);
    }
};

QTEST_MAIN(TestFrmBackup)
#include "tst_frmBackup.moc"
