#include "FixtureDatabase.h"
#include "TestContext.h"
#include "WindowTesting.h"
#include "core/data/DataEnvironment.h"
#include "core/state/CourseEditorState.h"
#include "core/state/CurrentApplication.h"
#include "core/state/PrintRequest.h"
#include "core/state/ServiziStampa.h"
#include "document/ui/SelBozza.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString NessunCorso = u"Nessun corso sulla domanda selezionata: impossibile stampare la bozza!"_s;

/**
 * Application 7 of operator A-12 with its seats 1 (legal seat, no course), 2 and 3 (a course each);
 * the seat state left by an earlier single-seat print.
 */
struct Banco
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};

    explicit Banco(const QString &richiesta)
    {
        db.insert(u"Domande"_s, {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s}, {{7, u"A"_s, 12}});
        db.insert(u"CorsiSediInteressate"_s,
                  {u"NumDoma"_s, u"SedeInteressata"_s, u"GrupOpe"_s, u"Operatore"_s, u"TipoCompo"_s,
                   u"Denominazione"_s, u"Indirizzo"_s},
                  {{7, 1, u"A"_s, 12, u"SL"_s, u"SEDE LEGALE"_s, u"VIA ROMA 1"_s},
                   {7, 2, u"A"_s, 12, u"SO"_s, u"SEDE DI RIVOLI"_s, u"VIA PO 2"_s},
                   {7, 3, u"A"_s, 12, u"SO"_s, u"SEDE DI PINEROLO"_s, u"VIA TORINO 3"_s}});
        db.insert(u"CorsiProp"_s, {u"NumDoma"_s, u"SedeInteressata"_s, u"Corso"_s},
                  {{7, 2, u"0001"_s}, {7, 3, u"0001"_s}});
        Context &context = test.context();
        context.DE().CorsiDB().open(db.path(), Connection::Mode::Shared);
        context.domanda().NumDomaCorrente = 7;
        context.stampa().RichiestaStampa = richiesta;
        context.corsi().SedeCorrente = u"2"_s;
        context.corsi().DesSedeCorrente = u"SEDE DI RIVOLI"_s;
        context.corsi().FiltroSedeCorrente = u"NumDoma=7 AND SedeInteressata=2"_s;
    }
    ~Banco()
    {
        if (test.context().DE().CorsiDB().isOpen())
            test.context().DE().CorsiDB().close();
    }
    CourseEditorState &sede() { return test.context().corsi(); }
};

} // namespace

class TestSelBozza : public QObject
{
    Q_OBJECT

private slots:
    void anApplicationWithoutCoursesIsRefused_data()
    {
        QTest::addColumn<QString>("richiesta");
        QTest::newRow("draft") << u"Stampa Bozza"_s;
        QTest::newRow("definitive") << u"Stampa Definitivo"_s;
    }

    void anApplicationWithoutCoursesIsRefused()
    {
        QFETCH(QString, richiesta);
        Banco banco(richiesta);
        banco.db.execute(u"DELETE FROM CorsiProp"_s);
        banco.test.prompt.expect(NessunCorso);
        // No StBozza is scripted: opening it would fail the test.
        SelBozza::apri(banco.test.context());
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().first().title, u"Stampa Bozza"_s);
        QCOMPARE(banco.test.prompt.shown().first().icon, Prompt::Icon::Critical);
        QCOMPARE(banco.sede().SedeCorrente, u"2"_s);
    }

    void theActivationConfirmsEverySeat_data()
    {
        QTest::addColumn<QString>("richiesta");
        QTest::addColumn<QString>("titolo");
        QTest::newRow("draft") << u"Stampa Bozza"_s << u"Stampa Bozza"_s;
        QTest::newRow("definitive") << u"Stampa Definitivo"_s << u"Stampa Originale, Copia"_s;
    }

    void theActivationConfirmsEverySeat()
    {
        QFETCH(QString, richiesta);
        QFETCH(QString, titolo);
        Banco banco(richiesta);
        QStringList statoSede;
        banco.test.dialogRunner.expect(u"StBozza"_s, [&banco, &statoSede](QDialog &dialog) {
            statoSede << dialog.windowTitle() << banco.sede().SedeCorrente << banco.sede().DesSedeCorrente;
            press(&dialog, u"cmdAnnSt"_s);
        });
        SelBozza::apri(banco.test.context());
        QVERIFY(banco.test.dialogRunner.allRun());
        QCOMPARE(statoSede, (QStringList{titolo, QString(), QString()}));
        // The run sets the filter of each seat it prints; the dialog leaves it.
        QCOMPARE(banco.sede().FiltroSedeCorrente, u"NumDoma=7 AND SedeInteressata=2"_s);
        QVERIFY(banco.test.prompt.shown().isEmpty());
    }

    void theCaptionsAndTheSeatList_data()
    {
        QTest::addColumn<QString>("richiesta");
        QTest::addColumn<QString>("titolo");
        QTest::addColumn<QString>("tipo");
        QTest::newRow("draft") << u"Stampa Bozza"_s << u"Stampa Bozza"_s
                               << u"Stampa della bozza della domanda."_s;
        QTest::newRow("definitive") << u"Stampa Definitivo"_s << u"Stampa Originale, Copia"_s
                                    << u"Stampa del modulo di domanda originale e in copia."_s;
    }

    void theCaptionsAndTheSeatList()
    {
        QFETCH(QString, richiesta);
        QFETCH(QString, titolo);
        QFETCH(QString, tipo);
        Banco banco(richiesta);
        SelBozza finestra(banco.test.context());
        QCOMPARE(finestra.windowTitle(), titolo);
        QCOMPARE(control<QLabel>(&finestra, u"lblTipoStampa"_s)->text(), tipo);
        QCOMPARE(control<QGroupBox>(&finestra, u"Frame1"_s)->title(), u"Opzioni possibili"_s);
        QCOMPARE(control<QRadioButton>(&finestra, u"OpzTuttiComp"_s)->text(),
                 u"Stampa di tutti i componenti che hanno gestito corsi"_s);
        QCOMPARE(control<QRadioButton>(&finestra, u"OpzSelcomp"_s)->text(),
                 u"Seleziona componente per cui si desidera stampare la bozza"_s);
        auto *lista = control<QComboBox>(&finestra, u"cmbCompoSt"_s);
        QCOMPARE(lista->count(), 2);
        QCOMPARE(lista->itemText(0), u" 2 - SEDE DI RIVOLI - SO - VIA PO 2"_s);
        QCOMPARE(lista->itemText(1), u" 3 - SEDE DI PINEROLO - SO - VIA TORINO 3"_s);
        QCOMPARE(lista->currentIndex(), 0);
        QVERIFY(!finestra.nessunCorso());
    }

    void oneSeatChosenByHand()
    {
        Banco banco(u"Stampa Bozza"_s);
        SelBozza finestra(banco.test.context());
        finestra.show();
        auto *lista = control<QComboBox>(&finestra, u"cmbCompoSt"_s);
        auto *conferma = control<QWidget>(&finestra, u"cmdConfe"_s);

        press(&finestra, u"OpzSelcomp"_s);
        QVERIFY(lista->isEnabled());
        QVERIFY(!conferma->isEnabled());
        lista->setCurrentIndex(1);
        emit lista->activated(1);
        QVERIFY(conferma->isEnabled());

        QStringList statoSede;
        banco.test.dialogRunner.expect(u"StBozza"_s, [&banco, &statoSede](QDialog &dialog) {
            statoSede << banco.sede().SedeCorrente << banco.sede().DesSedeCorrente
                      << banco.sede().FiltroSedeCorrente;
            press(&dialog, u"cmdAnnSt"_s);
        });
        press(&finestra, u"cmdConfe"_s);
        QCOMPARE(statoSede, (QStringList{u"3"_s, u"SEDE DI PINEROLO - SO - VIA TORINO 3"_s,
                                         u"NumDoma=7 AND SedeInteressata=3"_s}));

        press(&finestra, u"OpzTuttiComp"_s);
        QVERIFY(!lista->isEnabled());
        QVERIFY(conferma->isEnabled());
        press(&finestra, u"cmdAnnul"_s);
        QVERIFY(!finestra.isVisible());
        QVERIFY(banco.test.dialogRunner.allRun());
    }

    void aDatabaseErrorWhileLoadingOffersRetry()
    {
        Banco banco(u"Stampa Bozza"_s);
        banco.test.context().DE().CorsiDB().close();
        banco.test.prompt.expect(u"Errore 3709\r\nImpossibile utilizzare la connessione per eseguire "
                                 u"l'operazione. La connessione è chiusa o non è valida in questo contesto."
                                 u"\r\n\r\nSi è verificato un errore imprevisto,scegliere riprova per "
                                 u"ritentare l'operazione."_s,
                                 Prompt::Answer::Cancel);
        QVERIFY_THROWS_EXCEPTION(ProgramExited, SelBozza::apri(banco.test.context()));
        QVERIFY(banco.test.prompt.shown().first().title.isEmpty());
    }
};

QTEST_MAIN(TestSelBozza)
#include "tst_SelBozza.moc"
