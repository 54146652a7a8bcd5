#include "FixtureDatabase.h"
#include "TestContext.h"
#include "WindowTesting.h"
#include "core/config/IniFile.h"
#include "core/config/UserSettings.h"
#include "core/data/DataEnvironment.h"
#include "core/files/ZipArchive.h"
#include "core/state/CurrentApplication.h"
#include "core/state/InstallationState.h"
#include "mainwindow/ui/Browser.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QUrlQuery>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Invito = u"Verifica che la connessione a internet sia attiva e premi il pulsante LogIn"_s;
const QString ArchivioFallito =
    u"Creazione dell'archivio non riuscita. Impossibile preparare la richiesta di assistenza."_s;

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
 * A program folder with its INI file and a database holding application 45 of operator A 123, current
 * and open; the assistance server is a local one.
 */
struct Banco
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};
    std::unique_ptr<Browser> finestra;

    Banco()
    {
        test.writeFile(u"KX58TORVA.INI"_s, "[BaseDati]\r\nDatabase=KX58TORVA.mdb\r\n");
        db.insert(u"Domande"_s, {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s}, {{45, u"A"_s, 123}});
        Context &context = test.context();
        context.DE().CorsiDB().open(db.path(), Connection::Mode::Shared);
        CurrentApplication &domanda = context.domanda();
        domanda.NumDomaCorrente = 45;
        domanda.GrupOpeCorrente = u"A"_s;
        domanda.OperatoreCorrente = u"123"_s;
        domanda.DenominazioneOpCorrente = u"Centro Formazione Valdoria"_s;
        context.installazione().IndirizzoAssistenza = u"http://127.0.0.1:8088"_s;
        test.clock.time = QDateTime(QDate(2021, 12, 8), QTime(9, 15));
    }
    ~Banco()
    {
        finestra.reset();
        if (test.context().DE().CorsiDB().isOpen())
            test.context().DE().CorsiDB().close();
    }

    Browser *apri()
    {
        finestra = std::make_unique<Browser>(test.context());
        finestra->Form_Load();
        finestra->show();
        return finestra.get();
    }

    QString etichetta() { return control<QLabel>(finestra.get(), u"Label1"_s)->text(); }
    QString archivio() { return control<QLineEdit>(finestra.get(), u"txtArchivio"_s)->text(); }
};

} // namespace

class TestBrowser : public QObject
{
    Q_OBJECT

private slots:
    void opening()
    {
        Banco banco;
        Browser *finestra = banco.apri();
        QCOMPARE(finestra->objectName(), u"Browser"_s);
        QCOMPARE(finestra->windowTitle(), u"Richiesta Assistenza"_s);
        QCOMPARE(banco.etichetta(), Invito);
        QCOMPARE(control<QPushButton>(finestra, u"Command2"_s)->text(), u"Accedi"_s);
        QCOMPARE(control<QPushButton>(finestra, u"Command1"_s)->text(), u"Esci"_s);
        QVERIFY(control<QLineEdit>(finestra, u"txtArchivio"_s)->isReadOnly());
        QCOMPARE(banco.archivio(), QString());
        QCOMPARE(banco.test.context().fileIni().NomeFile(), banco.test.path(u"KX58TORVA.INI"_s));
    }

    void theBannerIsAtTheTopAndTheButtonsUnderItAtTheLeft()
    {
        Banco banco;
        Browser *finestra = banco.apri();
        const auto posto = [finestra](const QString &name) {
            QWidget *widget = control<QWidget>(finestra, name);
            return QRect(widget->mapTo(finestra, QPoint(0, 0)), widget->size());
        };
        const QRect banner = posto(u"Image1"_s);
        const QRect accedi = posto(u"Command2"_s);
        const QRect esci = posto(u"Command1"_s);
        const QRect banda = posto(u"Shape1"_s);

        QCOMPARE(banda.topLeft(), QPoint(0, 0));
        QCOMPARE(banda.width(), finestra->width());
        QVERIFY(banner.top() < 20);
        QVERIFY(banner.left() < 20);
        // Under the banner, in the band, "Accedi" first, both at the left.
        QVERIFY(accedi.top() > banner.bottom());
        QCOMPARE(esci.top(), accedi.top());
        QVERIFY(accedi.bottom() <= banda.bottom());
        QCOMPARE(accedi.left(), banner.left());
        QVERIFY(esci.left() > accedi.right());
        QVERIFY(esci.right() < finestra->width() / 2);
    }

    void openingWithoutTheIniFileEndsTheProgram()
    {
        Banco banco;
        QVERIFY(QFile::remove(banco.test.path(u"KX58TORVA.INI"_s)));
        banco.test.prompt.expect(
            u"Impossibile trovare il file KX58TORVA.INI.\r\nLa procedura verrà terminata."_s);
        QVERIFY(termina([&] { banco.apri(); }));
        QCOMPARE(banco.test.prompt.shown().constFirst().title, u"Errore di inizializzazione"_s);
        QCOMPARE(banco.test.prompt.shown().constFirst().icon, Prompt::Icon::Critical);
    }

    void requestOpensTheUploadPage()
    {
        Banco banco;
        banco.test.systemInfo.memInfo = "MemTotal: 3145728 kB\nMemAvailable: 1536 kB\nSwapTotal: 0 kB\n"
                                        "SwapFree: 0 kB\n";
        Browser *finestra = banco.apri();
        // An archive of the same day and application is made anew.
        banco.test.writeFile(u"KX58TORVA_08-12-2021_A123-0045.zip"_s, "this morning's");
        press(finestra, u"Command2"_s);

        const QString archivio = banco.test.path(u"KX58TORVA_08-12-2021_A123-0045.zip"_s);
        QCOMPARE(banco.etichetta(), u"Collegamento effettuato"_s);
        QCOMPARE(banco.archivio(), archivio);
        QVERIFY(banco.test.context().DE().CorsiDB().isOpen());
        QTemporaryDir out;
        const auto names = extractRegularFiles(archivio, out.path(), nullptr);
        QVERIFY(names);
        QCOMPARE(*names, QStringList{u"KX58TORVA.mdb"_s});

        QCOMPARE(banco.test.urlOpener.urls.size(), 1);
        const QUrl url = banco.test.urlOpener.urls.constFirst();
        QCOMPARE(url.toString(QUrl::RemoveQuery),
                 u"http://127.0.0.1:8088/cgi-bin/fp/upload/form_allegato_bin_upload.cgi"_s);
        const QUrlQuery query(url);
        QCOMPARE(query.queryItemValue(u"fr"_s, QUrl::FullyDecoded), u"Indirizzo e-mail..."_s);
        QCOMPARE(query.queryItemValue(u"g"_s), u"A"_s);
        QCOMPARE(query.queryItemValue(u"c"_s), u"123"_s);
        QCOMPARE(query.queryItemValue(u"d"_s, QUrl::FullyDecoded), u"Centro Formazione Valdoria"_s);
        QCOMPARE(query.queryItemValue(u"so"_s, QUrl::FullyDecoded),
                 u"     LINUX Debian GNU/Linux 12 (bookworm)   \r\n     Versione: 6.1.0-18-amd64"_s);
        QCOMPARE(query.queryItemValue(u"ie"_s, QUrl::FullyDecoded),
                 u"     Browser predefinito firefox-esr.desktop"_s);
        QCOMPARE(query.queryItemValue(u"mem"_s, QUrl::FullyDecoded),
                 u"     Total RAM = 3072MB\r\n     Available RAM = 2MB\r\n"
                 u"     Total Virtual Memory = 3072MB\r\n     Available Virtual Memory = 2MB"_s);
        QCOMPARE(query.queryItemValue(u"file"_s, QUrl::FullyDecoded), archivio);

        // The e-mail stored meanwhile goes with the next request.
        banco.test.context().userSettings().setValue(UserKeys::EMail, u"mario.rossi@example.it"_s);
        press(finestra, u"Command2"_s);
        QCOMPARE(banco.test.urlOpener.urls.size(), 2);
        QCOMPARE(QUrlQuery(banco.test.urlOpener.urls.constLast()).queryItemValue(u"fr"_s, QUrl::FullyDecoded),
                 u"mario.rossi@example.it"_s);
    }

    void aPageThatDoesNotOpenIsSaidSoWithItsAddress()
    {
        Banco banco;
        Browser *finestra = banco.apri();
        press(finestra, u"Command2"_s);
        const QUrl pagina = banco.test.urlOpener.urls.constFirst();
        banco.test.urlOpener.opens = false;
        banco.test.prompt.expect(u"Impossibile aprire la pagina: nessun browser predefinito è impostato per "
                                 u"questo utente.\r\nCopiare l'indirizzo seguente in un browser:\r\n\r\n"_s +
                                 pagina.toString(QUrl::FullyEncoded));

        press(finestra, u"Command2"_s);

        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().constFirst().title, u"Pagina non aperta"_s);
        QCOMPARE(banco.test.prompt.shown().constFirst().icon, Prompt::Icon::Warning);
        QCOMPARE(banco.etichetta(), u"Pagina non aperta"_s);
    }

    void aFailedArchiveOpensNoPage()
    {
        Banco banco;
        Browser *finestra = banco.apri();
        banco.test.context().DE().CorsiDB().close();
        banco.test.prompt.expect(ArchivioFallito);
        press(finestra, u"Command2"_s);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().constFirst().title, u"Errore"_s);
        QVERIFY(banco.test.urlOpener.urls.isEmpty());
        QCOMPARE(banco.etichetta(), Invito);
        QCOMPARE(banco.archivio(), QString());
        QVERIFY(!QGuiApplication::overrideCursor());
        QVERIFY(!QFileInfo::exists(banco.test.path(u"KX58TORVA_08-12-2021_A123-0045.zip"_s)));
    }

    void theCommandOpensOneWindow()
    {
        Banco banco;
        const std::function<void()> voce = voceBrowser(banco.test.context());
        voce();
        voce();
        QList<Browser *> aperte;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *finestra = qobject_cast<Browser *>(window); finestra && finestra->isVisible())
                aperte << finestra;
        }
        QCOMPARE(aperte.size(), 1);
        QPointer<Browser> finestra = aperte.constFirst();
        press(finestra, u"Command1"_s);
        QTRY_VERIFY(!finestra);
        QVERIFY(banco.test.context().DE().CorsiDB().isOpen());
    }
};

QTEST_MAIN(TestBrowser)
#include "tst_Browser.moc"
