#include "FixtureDatabase.h"
#include "TestContext.h"
#include "WindowTesting.h"
#include "core/config/IniFile.h"
#include "core/config/IniKeys.h"
#include "core/config/UserSettings.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/AttesaControllo.h"
#include "core/state/CurrentApplication.h"
#include "core/state/InstallationState.h"
#include "core/state/PrintRequest.h"
#include "core/state/StartupHooks.h"
#include "core/ui/ImageButton.h"
#include "core/ui/MDI_Main.h"
#include "mainwindow/FinestreComandi.h"
#include "mainwindow/ui/Main.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QTest>

#if defined(__SANITIZE_ADDRESS__)
#define KX_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KX_LEAK_CHECK 1
#endif
#endif
#ifdef KX_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString NonDisponibile = u"Selezionare prima la DOMANDA da compilare (Inserisci / Seleziona Domanda)"_s;
const QString Avviso = u"ATTENZIONE: prima di procedere assicurarsi che nessuna installazione CLIENT sia "
                       u"connessa alla base dati.\r\n\r\nContinuare ?"_s;
const QString NessunaSedeLegale = u"Nessun Componente di tipo SEDE LEGALE trovato nella base dati per "
                                  u"l'Operatore presentatore della domanda selezionata.\r\n"
                                  u"Impossibile gestire corsi "_s;
const QString NessunCorsoApprovato =
    u"ATTENZIONE: per l'Operatore titolare della domanda non sono stati scaricati dall'archivio regionale "
    u"centrale i Corsi finanziati sulla Direttiva , oppure non sono stati trovati Corsi finanziati.\r\n\r\n"
    u"Pertanto, al momento non sarà possibile accedere alle Schede Corso.\r\n\r\n"
    u"Utilizzare il tasto 'Corsi Approvati e Finanziati - Scarico/Aggiornamento' dalla schermata principale, "
    u"per scaricare i Corsi finanziati sulla Direttiva per l'Operatore titolare della domanda, o aggiornare "
    u"uno scarico effettuato in precedenza."_s;
const QString GiaInviata = u"Domanda già inviata alla Provincia\r\nNon è possibile modificare l'assegnazione "
                           u"dei corsi alle sedi interessate"_s;
const QString NessunCorso = u"Nessun corso inserito nella domanda selezionata."_s;
const QString UnaSede = u"C'è una sola sede disponibile per l'operatore selezionato nella provincia della "
                        u"domanda. Non è possibile alcuna riassegnazione."_s;
const QString BozzaSenzaSede =
    u"Sede Legale dell'Operatore presentatore non trovata! Impossibile stampare la bozza."_s;
const QString InvioSenzaCorsi =
    u"Nessun corso sulla domanda selezionata: impossibile stampare e inviare la domanda!"_s;
const QString InvioSenzaSede =
    u"Sede Legale dell'Operatore presentatore non trovata! Impossibile stampare e inviare la domanda."_s;

void muovi(QWidget *widget, QPoint at = QPoint(2, 2))
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

void clicca(QWidget *widget)
{
    const QPointF at(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

/**
 * A click that ends the program. The test's stand-in for the exit throws out through Qt's widgets
 * code, built without exception clean-ups, so the copy of the mouse event that QApplication::notify
 * keeps on its stack is never freed (the real exit never returns): the leak checker ignores what is
 * allocated during this click only.
 */
void cliccaPerUscire(QWidget *widget)
{
#ifdef KX_LEAK_CHECK
    __lsan::ScopedDisabler copieDiQt;
#endif
    clicca(widget);
}

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
 * A program folder with its INI file and a database holding application 7 of operator A-12, its
 * legal seat, a second seat, a course and an approved course, the connection open; the windows the
 * commands open are stand-ins that record their names.
 */
struct Banco
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};
    QStringList aperte;
    bool verifica = true;
    /** What the completeness check does with the window's wait panel. */
    std::function<void(AttesaControllo &)> attesa;
    bool importa = true;
    std::function<void()> seldoma;
    std::unique_ptr<Main> main;

    explicit Banco(const QString &versione = u"SERVER"_s)
    {
        test.writeFile(u"KX58TORVA.INI"_s,
                       "[Installazione]\r\nTipo=Multiutenza\r\nVersione=" + versione.toLatin1() +
                           "\r\n[BaseDati]\r\nDatabase=KX58TORVA.mdb\r\n");
        Context &context = test.context();
        context.fileIni().setNomeFile(test.path(u"KX58TORVA.INI"_s));
        context.fileIni().Scrivi(IniKeys::Provider, Connection::providerName());
        context.installazione().PercorsoDB = u"KX58TORVA.mdb"_s;
        context.installazione().TipoInstallazione = u"Multiutenza"_s;
        aggiungiDomanda(7);
        db.insert(u"CorsiSediInteressate"_s,
                  {u"NumDoma"_s, u"SedeInteressata"_s, u"GrupOpe"_s, u"Operatore"_s, u"TipoCompo"_s},
                  {{7, 1, u"A"_s, 12, u"SL"_s}, {7, 2, u"A"_s, 12, u"SO"_s}});
        db.insert(u"CorsiProp"_s, {u"NumDoma"_s, u"SedeInteressata"_s, u"Corso"_s}, {{7, 1, u"0001"_s}});
        db.insert(u"CorsiApprovati"_s, {u"IdAttivita"_s, u"GrupOpe"_s, u"Operatore"_s}, {{500, u"A"_s, 12}});
        context.DE().CorsiDB().open(db.path(), Connection::Mode::Shared);
        CurrentApplication &domanda = context.domanda();
        domanda.NumDomaCorrente = 7;
        domanda.GrupOpeCorrente = u"A"_s;
        domanda.OperatoreCorrente = u"0012"_s;
        domanda.DenominazioneOpCorrente = u"Centro Formazione Valdoria"_s;
    }
    ~Banco()
    {
        main.reset();
        if (test.context().DE().CorsiDB().isOpen())
            test.context().DE().CorsiDB().close();
    }

    void aggiungiDomanda(int numDoma)
    {
        db.insert(u"Domande"_s, {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s}, {{numDoma, u"A"_s, 12}});
    }

    FinestreComandi finestre()
    {
        const auto registra = [this](const QString &name) { return [this, name] { aperte << name; }; };
        return {
            .Seldoma =
                [this] {
                    aperte << u"Seldoma"_s;
                    if (seldoma)
                        seldoma();
                },
            .Operator = registra(u"Operator"_s),
            .Componen = registra(u"Componen"_s),
            .frmRiepDomanda = registra(u"frmRiepDomanda"_s),
            .SelComp = registra(u"SelComp"_s),
            .Riass = registra(u"Riass"_s),
            .SelBozza = registra(u"SelBozza"_s),
            .Invia = registra(u"Invia"_s),
            .VerifDomanda =
                [this](AttesaControllo &pannello) {
                    aperte << u"VerifDomanda"_s;
                    if (attesa)
                        attesa(pannello);
                    return verifica;
                },
            .FrmScaricoDB = registra(u"FrmScaricoDB"_s),
            .ImportaCorsiApprovati =
                [this] {
                    aperte << u"ImportaCorsiApprovati"_s;
                    return importa;
                },
            .FrmCorsiApprovatiScaricati = registra(u"FrmCorsiApprovatiScaricati"_s),
            .frmBackup = registra(u"frmBackup"_s),
            .Browser = registra(u"Browser"_s),
            .AggiornaBaseDati = registra(u"AggiornaBaseDati"_s),
        };
    }

    /** The window loaded and through its first activation. */
    Main *carica()
    {
        main = std::make_unique<Main>(test.context(), finestre());
        main->Form_Load();
        return main.get();
    }
    /** Loaded, through its first activation, and on screen. */
    Main *attiva()
    {
        carica();
        return mostra();
    }
    Main *mostra()
    {
        main->Form_Activate();
        main->show();
        return main.get();
    }

    template<typename T = QLabel> T *c(const QString &name) { return control<T>(main.get(), name); }
    QString stato() { return c(u"StBarPanel2"_s)->text(); }
};

QColor colore(QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

} // namespace

class TestMain : public QObject
{
    Q_OBJECT

private slots:
    // Load, activation, closing ---------------------------------------------------------------------

    void captionAndRegistryButtonByRole_data()
    {
        QTest::addColumn<QString>("versione");
        QTest::addColumn<QString>("suffisso");
        QTest::addColumn<bool>("aggiorna");
        QTest::newRow("SERVER") << u"SERVER"_s << u" ***SERVER***"_s << true;
        QTest::newRow("CLIENT") << u"CLIENT"_s << u" ___CLIENT___"_s << false;
    }
    void captionAndRegistryButtonByRole()
    {
        QFETCH(QString, versione);
        QFETCH(QString, suffisso);
        QFETCH(bool, aggiorna);
        Banco banco(versione);
        Main *main = banco.carica();
        QCOMPARE(main->windowTitle(),
                 u"Proposta Corsi ZRV -  Laboratori AR ( KX58TORVA) - Ver. %1.%2.%3"_s.arg(KX_VERSION_MAJOR)
                         .arg(KX_VERSION_MINOR)
                         .arg(KX_VERSION_PATCH) +
                     suffisso);
        QCOMPARE(banco.test.context().installazione().VersioneInstallazione, versione);
        QCOMPARE(banco.c<ImageButton>(u"cmdAggInst"_s)->isEnabled(), aggiorna);
        QCOMPARE(banco.c<ImageButton>(u"cmdAggInst"_s)->shownPicture(),
                 aggiorna ? u"imgAggiorna"_s : u"imgAggiornaD"_s);
        QCOMPARE(banco.c(u"lblAggiorna"_s)->isVisibleTo(main), aggiorna);
        QVERIFY(banco.c<QWidget>(u"panel_Attesa"_s)->isVisibleTo(main));
        QVERIFY(!banco.c<QWidget>(u"PB1"_s)->isVisibleTo(main));
        QCOMPARE(banco.c(u"StBarPanel3"_s)->text(), u"10:30"_s);
        QCOMPARE(banco.c(u"StBarPanel1"_s)->text(), u"T.U.Z. Valdoria"_s);
    }

    void otherRolesEndTheProgram_data()
    {
        QTest::addColumn<QString>("versione");
        QTest::newRow("lower case") << u"server"_s;
        QTest::newRow("empty") << QString();
    }
    void otherRolesEndTheProgram()
    {
        QFETCH(QString, versione);
        Banco banco(versione);
        banco.test.prompt.expect(u"Le impostazioni del file KX58TORVA.INI riguardo la versione\r\n"
                                 u"Non sono Valide. Contattare l'assistenza tecnica."_s);
        QVERIFY(termina([&] { banco.carica(); }));
        QCOMPARE(banco.test.prompt.shown().first().title, u"Errore nel file ini"_s);
        QCOMPARE(banco.test.prompt.shown().first().icon, Prompt::Icon::Critical);
        QVERIFY(!banco.test.context().DE().CorsiDB().isOpen());
    }

    void header_data()
    {
        QTest::addColumn<QString>("denominazione");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("tooltip");
        const QString ventiquattro = u"Centro Studi Valdoria 24"_s;
        QTest::newRow("24 characters") << ventiquattro << u"-  "_s + ventiquattro << QString();
        QTest::newRow("25 characters")
            << ventiquattro + u"5"_s << u"-  "_s + ventiquattro + u"..."_s << ventiquattro + u"5"_s;
    }
    void header()
    {
        QFETCH(QString, denominazione);
        QFETCH(QString, testo);
        QFETCH(QString, tooltip);
        QCOMPARE(denominazione.size() >= 24, true);
        Banco banco;
        banco.test.context().domanda().DenominazioneOpCorrente = denominazione;
        banco.attiva();
        QCOMPARE(banco.c(u"lblGrOpe"_s)->text(), u"A"_s);
        QCOMPARE(banco.c(u"lblCodOpe"_s)->text(), u"12"_s);
        QCOMPARE(banco.c(u"lblDenOpe"_s)->text(), testo);
        QCOMPARE(banco.c(u"lblDenOpe"_s)->toolTip(), tooltip);
        QCOMPARE(banco.c(u"LblNumDoma"_s)->text(), u"7"_s);
        QVERIFY(!banco.c(u"lblProv"_s)->isVisibleTo(banco.main.get()));
        QVERIFY(!banco.c(u"lblDenProv"_s)->isVisibleTo(banco.main.get()));
    }

    void firstActivation_data()
    {
        QTest::addColumn<int>("domande");
        QTest::addColumn<int>("corrente");
        QTest::addColumn<bool>("primaInstallazione");
        QTest::addColumn<QStringList>("aperte");
        QTest::newRow("none") << 0 << 0 << false << QStringList{u"Seldoma"_s};
        QTest::newRow("one, current") << 1 << 7 << false << QStringList{};
        QTest::newRow("one, none current") << 1 << 0 << false << QStringList{u"Seldoma"_s};
        QTest::newRow("two, one current") << 2 << 7 << false << QStringList{u"Seldoma"_s};
        QTest::newRow("first installation") << 1 << 7 << true << QStringList{};
    }
    void firstActivation()
    {
        QFETCH(int, domande);
        QFETCH(int, corrente);
        QFETCH(bool, primaInstallazione);
        QFETCH(QStringList, aperte);
        Banco banco;
        banco.db.execute(u"DELETE FROM Domande WHERE NumDoma <> 7"_s);
        if (domande == 0)
            banco.db.execute(u"DELETE FROM Domande"_s);
        if (domande == 2)
            banco.aggiungiDomanda(8);
        banco.test.context().domanda().NumDomaCorrente = corrente;
        banco.test.context().installazione().PrimaInstallazione = primaInstallazione;
        banco.test.context().installazione().InstallazioneInCorso = true;
        banco.test.context().installazione().FileAiuto = u"KX58TORVA.htm"_s;
        banco.test.writeFile(u"KX58TORVA.htm"_s, "<html></html>");
        banco.seldoma = [&] { banco.test.context().domanda().NumDomaCorrente = 8; };
        Main *main = banco.attiva();
        QCOMPARE(banco.aperte, aperte);
        QCOMPARE(banco.test.help.topics, primaInstallazione ? QList<int>{20000} : QList<int>{});
        QVERIFY(!banco.c<QWidget>(u"panel_Attesa"_s)->isVisibleTo(main));
        QVERIFY(!banco.test.context().installazione().InstallazioneInCorso);
        QVERIFY(!banco.test.context().DE().rs(u"Domande"_s).isOpen());

        // A later activation does not ask again.
        banco.aperte.clear();
        main->Form_Activate();
        QVERIFY(banco.aperte.isEmpty());
    }

    void selectionLeftWithoutApplicationEndsTheProgram()
    {
        Banco banco(u"CLIENT"_s);
        banco.test.context().domanda().NumDomaCorrente = 0;
        QVERIFY(termina([&] { banco.attiva(); }));
        QCOMPARE(banco.aperte, QStringList{u"Seldoma"_s});
        QVERIFY(!banco.test.context().DE().CorsiDB().isOpen());
    }

    void handCursorByName()
    {
        Banco banco;
        banco.attiva();
        for (const QString &name : {u"cmdOpe"_s, u"cmdAnnullaAgg"_s, u"Label6"_s, u"Label30"_s, u"Label8"_s,
                                    u"lblAggiorna"_s, u"lblMenu"_s, u"lblTUZ"_s})
            QVERIFY2(banco.c<QWidget>(name)->cursor().shape() == Qt::BitmapCursor, qPrintable(name));
        for (const QString &name : {u"Label1"_s, u"Label3"_s, u"Label4"_s, u"Label5"_s, u"lblGrOpe"_s})
            QVERIFY2(banco.c<QWidget>(name)->cursor().shape() == Qt::ArrowCursor, qPrintable(name));
    }

    void registryButtonFollowsThePrintedFlag_data()
    {
        QTest::addColumn<QString>("versione");
        QTest::addColumn<bool>("stampata");
        QTest::addColumn<bool>("abilitato");
        QTest::newRow("SERVER, not printed") << u"SERVER"_s << false << true;
        QTest::newRow("SERVER, printed") << u"SERVER"_s << true << false;
        QTest::newRow("CLIENT, not printed") << u"CLIENT"_s << false << false;
    }
    void registryButtonFollowsThePrintedFlag()
    {
        QFETCH(QString, versione);
        QFETCH(bool, stampata);
        QFETCH(bool, abilitato);
        Banco banco(versione);
        Main *main = banco.attiva();
        banco.test.context().domanda().DomandaStampataCorrente = stampata;
        main->Form_Activate();
        QCOMPARE(banco.c<ImageButton>(u"cmdAggInst"_s)->isEnabled(), abilitato);
        QCOMPARE(banco.c(u"lblAggiorna"_s)->isVisibleTo(main), abilitato);
        banco.test.context().domanda().DomandaStampataCorrente = false;
        main->Form_Activate();
        QCOMPARE(banco.c<ImageButton>(u"cmdAggInst"_s)->isEnabled(), versione == u"SERVER");
    }

    void closingMakesTheCopyOnlyOnAServer_data()
    {
        QTest::addColumn<QString>("versione");
        QTest::addColumn<QByteArray>("allaChiusura");
        QTest::addColumn<bool>("copia");
        QTest::newRow("SERVER") << u"SERVER"_s << QByteArray("SERVER") << true;
        QTest::newRow("CLIENT") << u"CLIENT"_s << QByteArray("CLIENT") << false;
        QTest::newRow("SERVER changed before the exit") << u"SERVER"_s << QByteArray("server") << false;
    }
    void closingMakesTheCopyOnlyOnAServer()
    {
        QFETCH(QString, versione);
        QFETCH(QByteArray, allaChiusura);
        QFETCH(bool, copia);
        Banco banco(versione);
        banco.attiva();
        banco.test.context().fileIni().Scrivi(IniKeys::Versione, QString::fromLatin1(allaChiusura));
        // The caption "Esci" ends the program as its button does.
        QVERIFY(termina([&] { cliccaPerUscire(banco.c(u"Label15"_s)); }));
        QVERIFY(!banco.test.context().DE().CorsiDB().isOpen());
        QCOMPARE(QFile::exists(banco.test.path(u"backup.001"_s)), copia);
        QCOMPARE(QFile::exists(banco.test.path(u"001.lst"_s)), copia);
    }

    void theFrameCloseBoxEndsTheProgramAsEsciDoes()
    {
        Banco banco;
        MainHost host(banco.test.context(), banco.finestre());
        StartupHooks &hooks = banco.test.context().startupHooks();
        hooks.caricaMain();
        host.main()->Form_Activate();
        hooks.mostraMain();
        MDI_Main frame(banco.test.context(), {});

        QVERIFY(termina([&] { frame.close(); }));
        QVERIFY(!banco.test.context().DE().CorsiDB().isOpen());
        QVERIFY(QFile::exists(banco.test.path(u"backup.001"_s)));
    }

    void theFrameCloseBoxWaitsWhileTheMainWindowIsHeld()
    {
        Banco banco;
        MainHost host(banco.test.context(), banco.finestre());
        StartupHooks &hooks = banco.test.context().startupHooks();
        hooks.caricaMain();
        host.main()->Form_Activate();
        hooks.mostraMain();
        MDI_Main frame(banco.test.context(), {});
        // The backup window holds the main window disabled while it works.
        host.main()->setEnabled(false);

        QVERIFY(!termina([&] { frame.close(); }));
        QVERIFY(host.main()->isVisible());
        QVERIFY(banco.test.context().DE().CorsiDB().isOpen());
        host.main()->hide();
    }

    void theMainWindowComesBackToTheFrontWhenACommandsWindowCloses_data()
    {
        QTest::addColumn<QString>("pulsante");
        QTest::newRow("a window") << u"cmdOpe"_s;
        QTest::newRow("a box") << u"cmdCompo"_s;
    }
    void theMainWindowComesBackToTheFrontWhenACommandsWindowCloses()
    {
        QFETCH(QString, pulsante);
        Banco banco;
        QMainWindow frame;
        frame.setObjectName(u"MDI_Main"_s);
        frame.show();
        // The window or box of the command closes, and the window system activates the frame.
        const auto chiudeSulTelaio = [&frame](QWidget &finestra) {
            finestra.show();
            finestra.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&finestra));
            finestra.hide();
            frame.activateWindow();
        };
        FinestreComandi finestre = banco.finestre();
        finestre.Operator = [&] {
            QDialog Operator;
            chiudeSulTelaio(Operator);
        };
        finestre.Componen = [&] {
            QMessageBox box(QMessageBox::Information, QString(), u"Funzione"_s);
            chiudeSulTelaio(box);
        };
        banco.main = std::make_unique<Main>(banco.test.context(), finestre);
        banco.main->Form_Load();
        Main *main = banco.mostra();
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));

        press(main, pulsante);

        QTRY_COMPARE(QApplication::activeWindow(), main);
        QTest::qWait(50);
        QCOMPARE(QApplication::activeWindow(), main);
    }

    void aWindowLeftOpenByACommandStaysInFront()
    {
        Banco banco;
        QWidget browser;
        FinestreComandi finestre = banco.finestre();
        finestre.Browser = [&] {
            browser.show();
            browser.activateWindow();
        };
        banco.main = std::make_unique<Main>(banco.test.context(), finestre);
        banco.main->Form_Load();
        Main *main = banco.mostra();
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));
        banco.test.prompt.expect(u"Verrà ora precompilata una mail da inviare all'assitenza T.U.Z.\r\nE' "
                                 u"opportuno indicare il numero di telefono, la persona di riferimento e il "
                                 u"tipo di problema riscontrato"_s);

        press(main, u"cmdMailHelp"_s);
        QVERIFY(QTest::qWaitForWindowActive(&browser));
        // A box of its own closes: the window stays in front.
        QMessageBox box(QMessageBox::Information, QString(), u"Collegamento"_s, QMessageBox::Ok, &browser);
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        box.hide();
        browser.activateWindow();
        QTest::qWait(50);
        QCOMPARE(QApplication::activeWindow(), &browser);

        browser.close();
        QTRY_COMPARE(QApplication::activeWindow(), main);
    }

    void theMenuCaptionsFitOnOneLine()
    {
        Banco banco;
        Main *main = banco.attiva();
        for (const QString &nome : {u"Label8"_s, u"Label9"_s, u"Label10"_s, u"Label11"_s, u"lblMenu"_s,
                                    u"Label18"_s, u"Label12"_s, u"Label13"_s, u"Label2"_s, u"lblAggiorna"_s,
                                    u"Label16"_s, u"Label21"_s, u"Label20"_s, u"Label14"_s, u"Label15"_s}) {
            QLabel *didascalia = banco.c(nome);
            const int larghezza = didascalia->fontMetrics().horizontalAdvance(didascalia->text());
            QVERIFY2(larghezza <= didascalia->width(),
                     qPrintable(u"%1: %2 > %3"_s.arg(nome).arg(larghezza).arg(didascalia->width())));
            QCOMPARE(didascalia->font().pointSizeF(), banco.c(u"Label8"_s)->font().pointSizeF());
            QVERIFY2(didascalia->geometry().right() < main->width(), qPrintable(nome));
        }
    }

    void aDisabledMainWindowGreysItsCaptions()
    {
        Banco banco;
        Main *main = banco.attiva();
        QLabel *esci = banco.c(u"Label15"_s);
        const QColor attiva = colore(esci);

        main->setEnabled(false);

        QVERIFY(colore(esci) != attiva);
        QCOMPARE(colore(esci), QApplication::palette().color(QPalette::Disabled, QPalette::WindowText));
        main->setEnabled(true);
        QCOMPARE(colore(esci), attiva);
    }

    void clockAndCalendar()
    {
        Banco banco;
        Main *main = banco.attiva();
        auto *calendario = banco.c<QCalendarWidget>(u"calendario"_s);
        auto *freccia = banco.c(u"lblCalendario"_s);
        QCOMPARE(calendario->selectedDate(), QDate(2021, 3, 15));
        QVERIFY(!calendario->isVisibleTo(main));
        QCOMPARE(freccia->toolTip(), u"Mostra calendario"_s);
        clicca(freccia);
        QVERIFY(calendario->isVisibleTo(main));
        QCOMPARE(freccia->toolTip(), u"Nascondi calendario"_s);
        clicca(freccia);
        QVERIFY(!calendario->isVisibleTo(main));
        QCOMPARE(freccia->toolTip(), u"Mostra calendario"_s);

        banco.test.clock.time = QDateTime(QDate(2021, 3, 15), QTime(9, 5));
        QTRY_COMPARE_WITH_TIMEOUT(banco.c(u"StBarPanel3"_s)->text(), u"09:05"_s, 1500);
    }

    void hooksLoadAndShowOnce()
    {
        Banco banco;
        MainHost host(banco.test.context(), banco.finestre());
        QVERIFY(!host.main());
        StartupHooks &hooks = banco.test.context().startupHooks();
        hooks.caricaMain();
        Main *main = host.main();
        QVERIFY(main && !main->isVisible());
        main->setWindowTitle(u"already loaded"_s);
        hooks.caricaMain();
        QCOMPARE(host.main(), main);
        QCOMPARE(main->windowTitle(), u"already loaded"_s);
        hooks.mostraMain();
        QVERIFY(main->isVisible());
        hooks.mostraMain();
        QVERIFY(main->isVisible());
        main->hide();
    }

    // Status help, highlight, links ---------------------------------------------------------------

    void captionsAndStatusTexts_data()
    {
        QTest::addColumn<QString>("pulsante");
        QTest::addColumn<QString>("etichetta");
        QTest::addColumn<QString>("didascalia");
        QTest::addColumn<QString>("stato");
        const auto riga = [](const QString &b, const QString &l, const QString &caption,
                             const QString &status) {
            QTest::newRow(qPrintable(b)) << b << l << caption << status;
        };
        riga(u"cmdSelDoma"_s, u"Label8"_s, u"Inserisci / Seleziona Domanda"_s,
             u"Inserimento/Cancellazione/Selezione Domanda da compilare"_s);
        riga(u"cmdOpe"_s, u"Label9"_s, u"Sezione 1     Scheda Operatore e Sede Legale"_s,
             u"Compilazione Sezione 1 - Scheda Operatore (dati anagrafici Operatore proponente)"_s);
        riga(u"cmdCompo"_s, u"Label10"_s, u"Sezione 2                   Sedi Operative Interessate"_s,
             u"Compilazione Sezione 1 - Scheda Operatore (dati anagrafici Sede Legale)"_s);
        riga(u"cmdCorsi"_s, u"Label11"_s, u"Sezione 3 Corsi"_s,
             u"Compilazione schede Caratteristiche dei Corsi"_s);
        riga(u"cmdSpostaCorsi"_s, u"lblMenu"_s, u"Riassegnazione Corsi "_s, u"Riassegnazione Corsi"_s);
        riga(u"cmdAllega"_s, u"Label18"_s, u"Riepilogo dati della Domanda"_s, u"Riepilogo Dati Domanda"_s);
        riga(u"cmdStBozza"_s, u"Label12"_s, u"Stampa Bozza"_s,
             u"Stampa Bozza della Domanda in compilazione"_s);
        riga(u"cmdInvia1"_s, u"Label13"_s, u"Stampa Definitivo Invio Domanda"_s,
             u"Stampa del modulo di Domanda in forma definitiva e invio dati alla Provincia"_s);
        riga(u"cmdScaricoCorsi"_s, u"Label2"_s, u"Corsi Approvati e Finanziati Scarico  /  Aggiornamento"_s,
             u"Scarica i corsi finanziati dell'Operatore, da collegare agli interventi richiesti sull'azione "
             u"III.G.06.01"_s);
        riga(
            u"cmdAggInst"_s, u"lblAggiorna"_s, u"Aggiorna base dati"_s,
            u"Aggiorna dati anagrafici operatori proponenti e sedi legali / aziende committenti dei corsi"_s);
        riga(u"cmdBackup"_s, u"Label16"_s, u"Salvataggio/ Recupero Dati"_s, u"Salvataggio/ Recupero Dati"_s);
        riga(u"cmdOpzioni"_s, u"Label21"_s, u"Opzioni"_s, u"Impostazioni grafiche schermata principale"_s);
        riga(u"cmdMailHelp"_s, u"Label20"_s, u"Contatta l'assistenza"_s,
             u"Avvia il programma di Posta Elettronica  per contattare l'Assistenza T.U.Z."_s);
        riga(u"cmdHelp"_s, u"Label14"_s, u"Aiuto (tasto F1)"_s, u"Aiuto contestuale in linea"_s);
        riga(u"cmdEsci"_s, u"Label15"_s, u"Esci"_s, u"Esci a Windows"_s);
    }
    void captionsAndStatusTexts()
    {
        QFETCH(QString, pulsante);
        QFETCH(QString, etichetta);
        QFETCH(QString, didascalia);
        QFETCH(QString, stato);
        Banco banco;
        banco.attiva();
        QCOMPARE(banco.c(etichetta)->text(), didascalia);
        muovi(banco.c<ImageButton>(pulsante));
        QCOMPARE(banco.stato(), stato);
        QCOMPARE(colore(banco.c(etichetta)), QColor(255, 0, 0));
        muovi(banco.main.get(), QPoint(5, 300));
        QCOMPARE(banco.stato(), QString());
        muovi(banco.c(etichetta));
        QCOMPARE(banco.stato(), stato);
    }

    void backupStatusIsTheLabelsCaptionOfTheMoment()
    {
        Banco banco;
        banco.attiva();
        banco.c(u"Label16"_s)->setText(u"Salvataggio in corso"_s);
        muovi(banco.c<ImageButton>(u"cmdBackup"_s));
        QCOMPARE(banco.stato(), u"Salvataggio in corso"_s);
    }

    void highlightByEffects_data()
    {
        QTest::addColumn<QString>("sottolinea");
        QTest::addColumn<QString>("aumenta");
        QTest::addColumn<QString>("cambia");
        QTest::newRow("all off") << u"0"_s << u"0"_s << u"0"_s;
        QTest::newRow("colour only (defaults)") << QString() << QString() << QString();
        QTest::newRow("all on") << u"1"_s << u"2"_s << u"1"_s;
    }
    void highlightByEffects()
    {
        QFETCH(QString, sottolinea);
        QFETCH(QString, aumenta);
        QFETCH(QString, cambia);
        Banco banco;
        UserSettings &settings = banco.test.context().userSettings();
        if (!sottolinea.isNull()) {
            settings.setValue(u"OptSottolinea"_s, sottolinea);
            settings.setValue(u"OptAumenta"_s, aumenta);
            settings.setValue(u"OptCambia"_s, cambia);
        }
        const bool colora = cambia != u"0";
        Main *main = banco.attiva();

        QHash<QLabel *, QFont> prima;
        for (QLabel *label : main->findChildren<QLabel *>())
            prima.insert(label, label->font());
        muovi(banco.c<ImageButton>(u"cmdCorsi"_s));
        const QStringList intoccabili = {u"Label1"_s,    u"Label3"_s,    u"Label4"_s,        u"Label5"_s,
                                         u"Label6"_s,    u"Label30"_s,   u"lblCalendario"_s, u"lblGrOpe"_s,
                                         u"lblCodOpe"_s, u"lblDenOpe"_s, u"lblDenProv"_s,    u"LblNumDoma"_s};
        const QColor rosso(255, 0, 0);
        const QColor blu(0, 0, 255);
        const auto labels = main->findChildren<QLabel *>();
        int trattate = 0;
        for (QLabel *label : labels) {
            const QString name = label->objectName();
            if (name.startsWith(u"StBarPanel") || name.startsWith(u"lblAttesa") || name == u"Image1")
                continue;
            const bool sotto = name == u"Label11";
            if (intoccabili.contains(name)) {
                QVERIFY2(colore(label) != rosso && colore(label) != blu, qPrintable(name));
                continue;
            }
            ++trattate;
            QCOMPARE(colore(label) == rosso, colora && sotto);
            if (colora)
                QCOMPARE(colore(label), sotto ? rosso : blu);
            QCOMPARE(label->font().bold(),
                     aumenta != u"0" && !aumenta.isNull() ? sotto : prima[label].bold());
            QCOMPARE(label->font().underline(),
                     sottolinea != u"0" && !sottolinea.isNull() ? sotto : prima[label].underline());
        }
        QCOMPARE(trattate, 15 + 4 + 2);

        // A header panel takes the highlight away and keeps the status text; the background both.
        muovi(banco.c<QWidget>(u"SSPanel1"_s));
        QCOMPARE(colore(banco.c(u"Label11"_s)), colora ? blu : QColor(0, 0, 255));
        QVERIFY(!banco.c(u"Label11"_s)->font().bold());
        QCOMPARE(banco.stato(), u"Compilazione schede Caratteristiche dei Corsi"_s);
        muovi(banco.main.get(), QPoint(5, 300));
        QCOMPARE(banco.stato(), QString());
    }

    void registryLabelKeepsItsLookWhileTheButtonIsOff()
    {
        Banco banco(u"CLIENT"_s);
        banco.test.context().userSettings().setValue(u"OptSottolinea"_s, u"1"_s);
        banco.attiva();
        QFont font = banco.c(u"lblAggiorna"_s)->font();
        font.setUnderline(true);
        banco.c(u"lblAggiorna"_s)->setFont(font);
        muovi(banco.c<ImageButton>(u"cmdOpe"_s));
        QVERIFY(banco.c(u"lblAggiorna"_s)->font().underline());
        QVERIFY(!banco.c(u"Label8"_s)->font().underline());
    }

    void links_data()
    {
        QTest::addColumn<QString>("etichetta");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("indirizzo");
        QTest::newRow("TUZ") << u"lblTUZ"_s << u"Collegamento alla pagina principale del TUZ Valdoria."_s
                             << u"https://www.tuz-valdoria.example/"_s;
        QTest::newRow("FSE") << u"lblFSE"_s
                             << u"Collegamento alla pagina principale del Fondo sociale europeo."_s
                             << u"https://ec.europa.eu/european-social-fund-plus/"_s;
        QTest::newRow("Ministero") << u"lblMinistero"_s
                                   << u"Collegamento alla pagina principale del Ministero del lavoro."_s
                                   << u"https://www.lavoro.gov.it/"_s;
        QTest::newRow("Regione") << u"lblRegione"_s
                                 << u"Collegamento alla pagina principale della Regione Valdoria (formazione "
                                    u"professionale)."_s
                                 << u"https://www.regione.valdoria.example/formaz/"_s;
    }
    void links()
    {
        QFETCH(QString, etichetta);
        QFETCH(QString, testo);
        QFETCH(QString, indirizzo);
        Banco banco;
        banco.attiva();
        banco.test.prompt.expect(testo + u"\r\nProcedere?"_s, Prompt::Answer::No);
        clicca(banco.c(etichetta));
        QVERIFY(banco.test.urlOpener.urls.isEmpty());
        QCOMPARE(banco.test.prompt.shown().last().title, u"Collegamento a "_s + indirizzo);
        QCOMPARE(banco.test.prompt.shown().last().buttons, Prompt::Buttons::YesNo);

        banco.test.prompt.expect(testo + u"\r\nProcedere?"_s, Prompt::Answer::Yes);
        clicca(banco.c(etichetta));
        QCOMPARE(banco.test.urlOpener.urls, QList<QUrl>{QUrl(indirizzo)});
    }

    // Commands ---------------------------------------------------------------------------------------

    void commandsNeedAnApplication_data()
    {
        QTest::addColumn<QString>("pulsante");
        for (const char *name : {"cmdOpe", "cmdCompo", "cmdCorsi", "cmdAllega", "cmdStBozza", "cmdInvia1"})
            QTest::newRow(name) << QString::fromLatin1(name);
        QTest::newRow("lblAggiorna") << u"lblAggiorna"_s;
    }
    void commandsNeedAnApplication()
    {
        QFETCH(QString, pulsante);
        Banco banco;
        banco.attiva();
        banco.test.context().domanda().NumDomaCorrente = 0;
        banco.test.prompt.expect(NonDisponibile);
        if (pulsante.startsWith(u"lbl"))
            clicca(banco.c(pulsante));
        else
            press(banco.main.get(), pulsante);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().first().title, u"Funzione non disponibile"_s);
        QCOMPARE(banco.test.prompt.shown().first().icon, Prompt::Icon::Warning);
        QVERIFY(banco.aperte.isEmpty());
    }

    void commandsOpenTheirWindows_data()
    {
        QTest::addColumn<QString>("pulsante");
        QTest::addColumn<QStringList>("aperte");
        QTest::newRow("section 1") << u"cmdOpe"_s << QStringList{u"Operator"_s};
        QTest::newRow("section 2") << u"cmdCompo"_s << QStringList{u"Componen"_s};
        QTest::newRow("section 3") << u"cmdCorsi"_s << QStringList{u"SelComp"_s};
        QTest::newRow("summary") << u"cmdAllega"_s << QStringList{u"frmRiepDomanda"_s};
        QTest::newRow("draft") << u"cmdStBozza"_s << QStringList{u"VerifDomanda"_s, u"SelBozza"_s};
        QTest::newRow("final") << u"cmdInvia1"_s << QStringList{u"VerifDomanda"_s, u"Invia"_s};
        QTest::newRow("backup") << u"cmdBackup"_s << QStringList{u"frmBackup"_s};
        QTest::newRow("registry") << u"cmdAggInst"_s << QStringList{u"AggiornaBaseDati"_s};
        QTest::newRow("courses download, nothing downloaded")
            << u"cmdScaricoCorsi"_s << QStringList{u"FrmScaricoDB"_s};
    }
    void commandsOpenTheirWindows()
    {
        QFETCH(QString, pulsante);
        QFETCH(QStringList, aperte);
        Banco banco;
        banco.attiva();
        press(banco.main.get(), pulsante);
        QCOMPARE(banco.aperte, aperte);
        QVERIFY(!banco.c<QWidget>(u"panel_Attesa"_s)->isVisibleTo(banco.main.get()));
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void sectionThreeRefusals_data()
    {
        QTest::addColumn<bool>("sedeLegale");
        QTest::addColumn<bool>("approvati");
        QTest::addColumn<QString>("rifiuto");
        QTest::newRow("neither: the legal seat first") << false << false << NessunaSedeLegale;
        QTest::newRow("no legal seat") << false << true << NessunaSedeLegale;
        QTest::newRow("no approved course") << true << false << NessunCorsoApprovato;
    }
    void sectionThreeRefusals()
    {
        QFETCH(bool, sedeLegale);
        QFETCH(bool, approvati);
        QFETCH(QString, rifiuto);
        Banco banco;
        if (!sedeLegale)
            banco.db.execute(u"UPDATE CorsiSediInteressate SET TipoCompo = 'SO'"_s);
        if (!approvati)
            banco.db.execute(u"DELETE FROM CorsiApprovati"_s);
        banco.attiva();
        banco.test.prompt.expect(rifiuto);
        press(banco.main.get(), u"cmdCorsi"_s);
        QVERIFY(banco.aperte.isEmpty());
        QCOMPARE(banco.test.prompt.shown().first().title, sedeLegale ? QString() : u"Gestione Corsi"_s);
    }

    void operatorValuesAreBoundNotSpliced()
    {
        Banco banco;
        banco.db.execute(u"UPDATE CorsiApprovati SET GrupOpe = ?"_s, {u"A' OR '1'='1"_s});
        banco.test.context().domanda().GrupOpeCorrente = u"A' OR '1'='1"_s;
        banco.attiva();
        press(banco.main.get(), u"cmdCorsi"_s);
        QCOMPARE(banco.aperte, QStringList{u"SelComp"_s});
    }

    void reassignmentRefusals_data()
    {
        QTest::addColumn<bool>("stampata");
        QTest::addColumn<int>("corsi");
        QTest::addColumn<int>("sedi");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("printed, before counting") << true << 0 << 1 << QStringList{GiaInviata};
        QTest::newRow("no course, one seat: courses first") << false << 0 << 1 << QStringList{NessunCorso};
        QTest::newRow("one seat") << false << 1 << 1 << QStringList{UnaSede};
        QTest::newRow("warning answered No") << false << 1 << 2 << QStringList{Avviso};
    }
    void reassignmentRefusals()
    {
        QFETCH(bool, stampata);
        QFETCH(int, corsi);
        QFETCH(int, sedi);
        QFETCH(QStringList, boxes);
        Banco banco;
        if (corsi == 0)
            banco.db.execute(u"DELETE FROM CorsiProp"_s);
        if (sedi == 1)
            banco.db.execute(u"DELETE FROM CorsiSediInteressate WHERE SedeInteressata = 2"_s);
        banco.test.context().domanda().DomandaStampataCorrente = stampata;
        banco.attiva();
        for (const QString &box : boxes)
            banco.test.prompt.expect(box, Prompt::Answer::No);
        press(banco.main.get(), u"cmdSpostaCorsi"_s);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().first().title, u"Riassegnazione Corsi"_s);
        QVERIFY(banco.aperte.isEmpty());
        QCOMPARE(banco.test.context().DE().CorsiDB().mode(), Connection::Mode::Shared);
    }

    void afterAReassignmentOthersMayConnectAgain()
    {
        Banco banco;
        banco.attiva();
        Connection altra;
        banco.test.prompt.expect(Avviso, Prompt::Answer::Yes);
        banco.main->findChild<QWidget *>();
        FinestreComandi finestre = banco.finestre();
        bool esclusiva = false;
        banco.main.reset();
        finestre.Riass = [&] {
            banco.aperte << u"Riass"_s;
            esclusiva = banco.test.context().DE().CorsiDB().mode() == Connection::Mode::Exclusive;
        };
        banco.main = std::make_unique<Main>(banco.test.context(), finestre);
        banco.main->Form_Load();
        banco.mostra();
        press(banco.main.get(), u"cmdSpostaCorsi"_s);
        QCOMPARE(banco.aperte, QStringList{u"Riass"_s});
        QVERIFY(esclusiva);
        QCOMPARE(banco.test.context().DE().CorsiDB().mode(), Connection::Mode::Shared);
        altra.open(banco.db.path(), Connection::Mode::Shared);
        QVERIFY(altra.isOpen());
        altra.close();
        QCOMPARE(banco.test.context().DE().CorsiDB().scalar(u"SELECT COUNT(*) FROM Domande"_s).toInt(), 1);
    }

    void aFailedNormalReopeningAfterTheReassignmentEndsTheProgram()
    {
        Banco banco;
        // By the time the reassignment is over, the database named is no database of the program.
        const QString altrove = banco.test.path(u"spostata.mdb"_s);
        banco.test.writeFile(u"spostata.mdb"_s, "non una base dati");
        const RoutineError errore = errorOf([&] {
            Connection prova;
            prova.open(Connection::providerName(), altrove, Connection::Mode::Shared);
        });
        FinestreComandi finestre = banco.finestre();
        finestre.Riass = [&] {
            banco.aperte << u"Riass"_s;
            banco.test.context().installazione().PercorsoDB = altrove;
        };
        banco.main = std::make_unique<Main>(banco.test.context(), finestre);
        banco.main->Form_Load();
        banco.mostra();
        banco.test.prompt.expect(Avviso, Prompt::Answer::Yes);
        banco.test.prompt.expect(testoErrore(errore));

        QVERIFY(termina([&] { press(banco.main.get(), u"cmdSpostaCorsi"_s); }));
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().constLast().title, u"Errore di inizializzazione"_s);
        QCOMPARE(banco.aperte, QStringList{u"Riass"_s});
        QVERIFY(!banco.test.context().DE().CorsiDB().isOpen());
    }

    void prints_data()
    {
        QTest::addColumn<QString>("pulsante");
        QTest::addColumn<QString>("mancanza");
        QTest::addColumn<QString>("rifiuto");
        QTest::addColumn<bool>("verifica");
        QTest::addColumn<QStringList>("aperte");
        const QString senzaSede = u"UPDATE CorsiSediInteressate SET TipoCompo = 'SO'"_s;
        const QString senzaCorsi = u"DELETE FROM CorsiProp"_s;
        QTest::newRow("draft, no legal seat")
            << u"cmdStBozza"_s << senzaSede << BozzaSenzaSede << true << QStringList{};
        QTest::newRow("draft, check fails")
            << u"cmdStBozza"_s << QString() << QString() << false << QStringList{u"VerifDomanda"_s};
        QTest::newRow("draft") << u"cmdStBozza"_s << QString() << QString() << true
                               << QStringList{u"VerifDomanda"_s, u"SelBozza"_s};
        QTest::newRow("final, no course")
            << u"cmdInvia1"_s << senzaCorsi << InvioSenzaCorsi << true << QStringList{};
        QTest::newRow("final, no legal seat")
            << u"cmdInvia1"_s << senzaSede << InvioSenzaSede << true << QStringList{};
        QTest::newRow("final, check fails")
            << u"cmdInvia1"_s << QString() << QString() << false << QStringList{u"VerifDomanda"_s};
        QTest::newRow("final") << u"cmdInvia1"_s << QString() << QString() << true
                               << QStringList{u"VerifDomanda"_s, u"Invia"_s};
    }
    void prints()
    {
        QFETCH(QString, pulsante);
        QFETCH(QString, mancanza);
        QFETCH(QString, rifiuto);
        QFETCH(bool, verifica);
        QFETCH(QStringList, aperte);
        Banco banco;
        if (!mancanza.isEmpty()) {
            banco.db.execute(mancanza);
            banco.test.prompt.expect(rifiuto);
        }
        banco.verifica = verifica;
        banco.attiva();
        press(banco.main.get(), pulsante);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.aperte, aperte);
        // The draft names its print before its checks, also when they refuse.
        QCOMPARE(banco.test.context().stampa().RichiestaStampa,
                 pulsante == u"cmdStBozza" ? u"Stampa Bozza"_s : QString());
    }

    void selectionWithDebug_data()
    {
        QTest::addColumn<QStringList>("argomenti");
        QTest::addColumn<bool>("box");
        QTest::newRow("DEBUG") << QStringList{u"DEBUG"_s} << true;
        QTest::newRow("debug") << QStringList{u"debug"_s} << false;
        QTest::newRow("none") << QStringList{} << false;
    }
    void selectionWithDebug()
    {
        QFETCH(QStringList, argomenti);
        QFETCH(bool, box);
        Banco banco;
        banco.attiva();
        banco.test.commandLine.args = argomenti;
        if (box)
            banco.test.prompt.expect(u"Gestione Regionale."_s);
        press(banco.main.get(), u"cmdSelDoma"_s);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.aperte, QStringList{u"Seldoma"_s});
    }

    void approvedCoursesImport_data()
    {
        QTest::addColumn<bool>("importa");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QStringList>("aperte");
        QTest::newRow("imported") << true << u"Corsi Finanziati acquisiti correttamente."_s
                                  << QStringList{u"FrmScaricoDB"_s, u"ImportaCorsiApprovati"_s,
                                                 u"FrmCorsiApprovatiScaricati"_s};
        QTest::newRow("failed") << false
                                << u"Si è verificato un errore in fase di acquisizione della base dati.\r\n"
                                   u"E' necessario rieffettuare lo scarico."_s
                                << QStringList{u"FrmScaricoDB"_s, u"ImportaCorsiApprovati"_s};
    }
    void approvedCoursesImport()
    {
        QFETCH(bool, importa);
        QFETCH(QString, box);
        QFETCH(QStringList, aperte);
        Banco banco;
        banco.importa = importa;
        banco.test.writeFile(u"CorsiApprovati.tx1"_s, "1#\r\n");
        banco.attiva();
        banco.test.prompt.expect(box);
        press(banco.main.get(), u"cmdScaricoCorsi"_s);
        QCOMPARE(banco.aperte, aperte);
        QCOMPARE(banco.test.prompt.shown().first().icon,
                 importa ? Prompt::Icon::Information : Prompt::Icon::None);
    }

    void assistanceAndHelp()
    {
        Banco banco;
        banco.attiva();
        banco.test.prompt.expect(
            u"Verrà ora precompilata una mail da inviare all'assitenza T.U.Z.\r\n"
            u"E' opportuno indicare il numero di telefono, la persona di riferimento e il "
            u"tipo di problema riscontrato"_s);
        press(banco.main.get(), u"cmdMailHelp"_s);
        QCOMPARE(banco.aperte, QStringList{u"Browser"_s});
        banco.test.context().installazione().FileAiuto = u"KX58TORVA.htm"_s;
        banco.test.writeFile(u"KX58TORVA.htm"_s, "<html></html>");
        press(banco.main.get(), u"cmdHelp"_s);
        QCOMPARE(banco.test.help.topics, QList<int>{20000});
    }

    void optionsLabelBackToThePlainStyle()
    {
        Banco banco;
        banco.test.context().userSettings().setValue(u"OptSottolinea"_s, u"1"_s);
        banco.test.context().userSettings().setValue(u"OptAumenta"_s, u"1"_s);
        banco.attiva();
        muovi(banco.c(u"Label21"_s));
        QVERIFY(banco.c(u"Label21"_s)->font().underline());
        banco.test.dialogRunner.expect(u"frmOpzioni"_s, [](QDialog &dialog) { dialog.reject(); });
        clicca(banco.c(u"Label21"_s));
        QVERIFY(banco.test.dialogRunner.allRun());
        const QFont font = banco.c(u"Label21"_s)->font();
        QVERIFY(!font.underline());
        QVERIFY(!font.bold());
        QCOMPARE(font.pointSize(), 9);
        QCOMPARE(colore(banco.c(u"Label21"_s)), QColor(0, 0, 255));
    }

    void cancelHidesTheWaitPanel()
    {
        Banco banco;
        Main *main = banco.attiva();
        banco.c<QWidget>(u"pnlAttesa"_s)->show();
        press(main, u"cmdAnnullaAgg"_s);
        QVERIFY(!banco.c<QWidget>(u"pnlAttesa"_s)->isVisibleTo(main));
    }

    void anUnhandledErrorEndsOnlyTheCommand()
    {
        Banco banco;
        FinestreComandi finestre = banco.finestre();
        finestre.Operator = [] { throw RoutineError(ErrorCode::FileNotFound, u"File non trovato"_s); };
        banco.main = std::make_unique<Main>(banco.test.context(), finestre);
        banco.main->Form_Load();
        banco.mostra();
        banco.test.prompt.expect(u"Errore 53\r\nFile non trovato"_s);
        press(banco.main.get(), u"cmdOpe"_s);
        QCOMPARE(banco.test.prompt.shown().first().title, u"Errore imprevisto"_s);
        QCOMPARE(banco.test.prompt.shown().first().icon, Prompt::Icon::Critical);
        QVERIFY(!QGuiApplication::overrideCursor());
        press(banco.main.get(), u"cmdCompo"_s);
        QCOMPARE(banco.aperte, QStringList{u"Componen"_s});
    }

    void theCheckDrivesTheWaitPanelAndItsBar()
    {
        Banco banco;
        banco.attiva();
        auto *panel = banco.c<QWidget>(u"panel_Attesa"_s);
        auto *PB1 = banco.c<QProgressBar>(u"PB1"_s);
        QStringList visti;
        banco.attesa = [&](AttesaControllo &attesa) {
            attesa.limitiPB1(1, 8);
            attesa.valorePB1(2);
            attesa.mostraAttesa(true);
            visti << u"%1 %2 %3..%4 = %5"_s.arg(panel->isVisible())
                         .arg(PB1->isVisible())
                         .arg(PB1->minimum())
                         .arg(PB1->maximum())
                         .arg(PB1->value());
            attesa.mostraAttesa(false);
            visti << u"%1 %2"_s.arg(panel->isVisible()).arg(PB1->isVisible());
        };
        press(banco.main.get(), u"cmdStBozza"_s);
        QCOMPARE(visti, (QStringList{u"1 1 1..8 = 2"_s, u"0 0"_s}));
        QCOMPARE(banco.c<QLabel>(u"lblAttesaControllo"_s)->text(),
                 u"Controllo dati in corso. Attendere..."_s);
    }

    void windowsNotAvailableYet()
    {
        Banco banco;
        banco.main = std::make_unique<Main>(banco.test.context(), finestreNonDisponibili(banco.test.prompt));
        banco.main->Form_Load();
        banco.mostra();
        banco.test.prompt.expect(u"Funzione non ancora disponibile."_s);
        press(banco.main.get(), u"cmdOpe"_s);
        QCOMPARE(banco.test.prompt.shown().last().title, u"Operator"_s);
        // The completeness check gives False: the draft print stops after its box.
        banco.test.prompt.expect(u"Funzione non ancora disponibile."_s);
        press(banco.main.get(), u"cmdStBozza"_s);
        QCOMPARE(banco.test.prompt.shown().last().title, u"VerifDomanda"_s);
        QVERIFY(banco.test.prompt.allShown());
    }
};

QTEST_MAIN(TestMain)
#include "tst_Main.moc"
