#include "TestContext.h"
#include "WindowTesting.h"
#include "core/state/CourseEditorState.h"
#include "core/state/CurrentApplication.h"
#include "core/state/InstallationState.h"
#include "core/state/PrintRequest.h"
#include "core/state/ServiziStampa.h"
#include "core/ui/ImageButton.h"
#include "document/ui/StBozza.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QTest>
#include <QTextLayout>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Nota =
    u"E' possibile impostare un intervallo di stampa nel caso in cui lo spooler della stampante abbia una "
    u"capacità ridotta di memoria e quindi potrebbe generare degli errori in fase di stampa per una mole di "
    u"dati  eccessiva.\n"
    u"Nota: per non impostare nessun intervallo di stampa lasciare 0 nell'apposito spazio."_s;

/**
 * The current application 7 of operator A-12 and a document run that records what it was asked to
 * print, leaves seat 3 as the last one printed, and answers whether it made the PDF.
 */
struct Banco
{
    TestContext test;
    /** Per run: the kind of document and the seat. */
    QStringList esecuzioni;
    bool pdfCreato = true;

    explicit Banco(const QString &richiesta)
    {
        Context &context = test.context();
        context.stampa().RichiestaStampa = richiesta;
        context.domanda().NumDomaCorrente = 7;
        context.domanda().GrupOpeCorrente = u"A"_s;
        context.domanda().OperatoreCorrente = u"  12 "_s;
        context.domanda().DenominazioneOpCorrente = u"Centro Formazione Valdoria"_s;
        context.serviziStampa().documento = [this, &context] {
            esecuzioni << context.stampa().TipoStampa + u" sede '"_s + context.corsi().SedeCorrente + u'\'';
            // As a run over every seat does, it leaves the last seat it printed.
            context.corsi().SedeCorrente = u"3"_s;
            context.corsi().FiltroSedeCorrente = u"NumDoma=7 AND SedeInteressata=3"_s;
            return pdfCreato;
        };
    }
    PrintRequest &stampa() { return test.context().stampa(); }
};

/** The window as SelBozza shows it. */
struct Finestra
{
    Banco banco;
    StBozza finestra;

    explicit Finestra(const QString &richiesta) : banco(richiesta), finestra(banco.test.context())
    {
        finestra.show();
    }
    QWidget *w() { return &finestra; }
    QString testo(const QString &nome) { return control<QLabel>(w(), nome)->text(); }
    QLineEdit *intervallo() { return control<QLineEdit>(w(), u"txtIntervallo"_s); }
};

} // namespace

class TestStBozza : public QObject
{
    Q_OBJECT

private slots:
    void theWindowShowsTheRequestAndTheApplication_data()
    {
        QTest::addColumn<QString>("richiesta");
        QTest::addColumn<QString>("titolo");
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<int>("argomento");
        QTest::newRow("draft") << u"Stampa Bozza"_s << u"Stampa Bozza"_s
                               << u"STAMPA DELLA BOZZA DELLA DOMANDA."_s << 8000;
        QTest::newRow("definitive") << u"Stampa Definitivo"_s << u"Stampa Originale, Copia"_s
                                    << u"STAMPA DEL MODULO DI DOMANDA ORIGINALE E IN COPIA."_s << 9000;
    }

    void theWindowShowsTheRequestAndTheApplication()
    {
        QFETCH(QString, richiesta);
        QFETCH(QString, titolo);
        QFETCH(QString, tipo);
        QFETCH(int, argomento);
        Finestra f(richiesta);
        QCOMPARE(f.finestra.windowTitle(), titolo);
        QCOMPARE(f.testo(u"lblTipoStampa"_s), tipo);
        QCOMPARE(control<QGroupBox>(f.w(), u"frmOperPres"_s)->title(), u"Domanda selezionata"_s);
        QCOMPARE(f.testo(u"lblGrOpePres"_s), u"A"_s);
        QCOMPARE(f.testo(u"lblOpePres"_s), u"12"_s);
        QCOMPARE(f.testo(u"lblDenOpePres"_s), u"Centro Formazione Valdoria"_s);
        QCOMPARE(f.testo(u"Label1_0"_s), u"Domanda"_s);
        QCOMPARE(f.testo(u"lblProposta"_s), u"7"_s);
        QCOMPARE(control<QGroupBox>(f.w(), u"Frame1"_s)->title(), u" Intervallo di stampa"_s);
        QCOMPARE(f.testo(u"Label2"_s), u"Intervallo di stampa:"_s);
        QCOMPARE(f.intervallo()->text(), u"0"_s);
        QCOMPARE(f.testo(u"Label3"_s), u"secondi."_s);
        QCOMPARE(f.testo(u"Label1_1"_s), Nota);
        const QList<std::pair<QString, QString>> pulsanti{{u"CmdImpStamp"_s, u"ImgImpSt"_s},
                                                          {u"cmdSt"_s, u"imgConferma"_s},
                                                          {u"cmdAnnSt"_s, u"imgAnnulla"_s},
                                                          {u"cmdAiuto"_s, u"imgHelp"_s}};
        for (const auto &[nome, immagine] : pulsanti) {
            QCOMPARE(control<ImageButton>(f.w(), nome)->shownPicture(), immagine);
            QVERIFY(control<ImageButton>(f.w(), nome)->isEnabled());
        }
        QCOMPARE(control<ImageButton>(f.w(), u"CmdImpStamp"_s)->text(),
                 u"Imposta la stampante predefinita"_s);
        QCOMPARE(control<ImageButton>(f.w(), u"cmdSt"_s)->text(), u"Conferma"_s);
        QCOMPARE(control<ImageButton>(f.w(), u"cmdAnnSt"_s)->text(), u"Annulla"_s);

        QCOMPARE(f.finestra.argomentoAiuto(), argomento);
        f.banco.test.writeFile(u"KX58TORVA.htm"_s, "<html></html>");
        f.banco.test.context().installazione().FileAiuto = u"KX58TORVA.htm"_s;
        press(f.w(), u"cmdAiuto"_s);
        QVERIFY(QTest::qWaitForWindowActive(f.w()));
        f.intervallo()->setFocus();
        QTest::keyClick(f.intervallo(), Qt::Key_F1);
        QCOMPARE(f.banco.test.help.topics, (QList<int>{argomento, argomento}));
    }

    void theNoteIsAParagraphOfItsOwn()
    {
        Finestra f(u"Stampa Bozza"_s);
        QVERIFY(QTest::qWaitForWindowExposed(f.w()));
        const QLabel *etichetta = control<QLabel>(f.w(), u"Label1_1"_s);
        // The label's lines, wrapped at its width as it paints them.
        QString testo = etichetta->text();
        testo.replace(u'\n', QChar::LineSeparator);
        QTextLayout layout(testo, etichetta->font());
        QTextOption opzioni;
        opzioni.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(opzioni);
        layout.beginLayout();
        for (QTextLine riga = layout.createLine(); riga.isValid(); riga = layout.createLine())
            riga.setLineWidth(etichetta->contentsRect().width());
        layout.endLayout();
        const int nota = int(testo.indexOf(u"Nota:"_s));
        const QTextLine riga = layout.lineForTextPosition(nota);
        QVERIFY(riga.isValid());
        // The note begins its line and goes on in it: "Nota:" does not stand alone.
        QCOMPARE(riga.textStart(), nota);
        QVERIFY(riga.textLength() > int(QStringView(u"Nota: ").size()));
    }

    void theIntervalIsStoredOnConfirmation_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<int>("intervallo");
        QTest::newRow("0 stores nothing") << u"0"_s << 777;
        QTest::newRow("empty stores nothing") << QString() << 777;
        QTest::newRow("2 seconds") << u"2"_s << 2000;
        QTest::newRow("2,6 rounds") << u"2,6"_s << 3000;
        QTest::newRow("1,, stores nothing") << u"1,,"_s << 777;
        QTest::newRow("beyond 32 bits") << u"9999999"_s << 2147483647;
    }

    void theIntervalIsStoredOnConfirmation()
    {
        QFETCH(QString, testo);
        QFETCH(int, intervallo);
        Finestra f(u"Stampa Bozza"_s);
        f.banco.stampa().IntervalloStampa = 777;
        f.intervallo()->setText(testo);
        press(f.w(), u"cmdSt"_s);
        QCOMPARE(f.banco.stampa().IntervalloStampa, intervallo);
        QCOMPARE(f.banco.esecuzioni.size(), 1);
    }

    void theIntervalTakesNumericKeysOnly()
    {
        Finestra f(u"Stampa Bozza"_s);
        f.intervallo()->clear();
        QTest::keyClicks(f.intervallo(), u"2.5"_s);
        QCOMPARE(f.intervallo()->text(), u"2,5"_s);
        f.banco.test.prompt.expect(u"Carattere non numerico"_s);
        QTest::keyClick(f.intervallo(), Qt::Key_A);
        QCOMPARE(f.intervallo()->text(), u"2,5"_s);
        QCOMPARE(f.banco.test.prompt.shown().last().title, u"Campo Numerico"_s);
        QCOMPARE(f.banco.test.beeper.beeps, 1);
    }

    void eachConfirmationIsARunOfTheChosenSeatsAndTheWindowStaysOpen()
    {
        Finestra f(u"Stampa Bozza"_s);
        // A single-course draft just before: the whole application is never printed as one.
        f.banco.stampa().TipoStampa = u"BOZZA CORSO"_s;
        press(f.w(), u"cmdSt"_s);
        QVERIFY(f.finestra.isVisible());
        press(f.w(), u"cmdSt"_s);
        // The second run prints every seat again, not the one the first left.
        QCOMPARE(f.banco.esecuzioni, (QStringList{u"BOZZA sede ''"_s, u"BOZZA sede ''"_s}));
        QVERIFY(f.finestra.isVisible());
        press(f.w(), u"cmdAnnSt"_s);
        QVERIFY(!f.finestra.isVisible());
        QCOMPARE(f.banco.esecuzioni.size(), 2);
    }

    void theDefinitiveFlagFollowsTheMadeDocument_data()
    {
        QTest::addColumn<QString>("richiesta");
        QTest::addColumn<bool>("pdfCreato");
        QTest::addColumn<bool>("primaDellaRichiesta");
        QTest::addColumn<bool>("stampata");
        QTest::newRow("definitive, PDF made") << u"Stampa Definitivo"_s << true << false << true;
        QTest::newRow("definitive, cancelled run") << u"Stampa Definitivo"_s << false << false << false;
        QTest::newRow("definitive, already printed") << u"Stampa Definitivo"_s << false << true << true;
        QTest::newRow("draft, PDF made") << u"Stampa Bozza"_s << true << false << false;
    }

    void theDefinitiveFlagFollowsTheMadeDocument()
    {
        QFETCH(QString, richiesta);
        QFETCH(bool, pdfCreato);
        QFETCH(bool, primaDellaRichiesta);
        QFETCH(bool, stampata);
        Finestra f(richiesta);
        f.banco.stampa().StampaDefinitivaEseguita = primaDellaRichiesta;
        f.banco.pdfCreato = pdfCreato;
        press(f.w(), u"cmdSt"_s);
        QCOMPARE(f.banco.stampa().StampaDefinitivaEseguita, stampata);
        QCOMPARE(f.banco.esecuzioni.size(), 1);
        QVERIFY(
            f.banco.esecuzioni.first().startsWith(richiesta == u"Stampa Bozza" ? u"BOZZA " : u"ORIGINALE "));
    }

    void cancellingBeforeAnyRunLeavesTheFlag()
    {
        Finestra f(u"Stampa Definitivo"_s);
        press(f.w(), u"cmdAnnSt"_s);
        QVERIFY(f.banco.esecuzioni.isEmpty());
        QVERIFY(!f.banco.stampa().StampaDefinitivaEseguita);
        QVERIFY(f.banco.stampa().TipoStampa.isEmpty());
    }

    void thePrinterSetupChangesNothing()
    {
        Finestra f(u"Stampa Bozza"_s);
        bool mostrata = false;
        f.banco.test.dialogRunner.expect(u"CRStampa"_s, [&mostrata](QDialog &dialog) {
            mostrata = qobject_cast<QPrintDialog *>(&dialog) != nullptr;
            dialog.reject();
        });
        press(f.w(), u"CmdImpStamp"_s);
        QVERIFY(f.banco.test.dialogRunner.allRun());
        QVERIFY(mostrata);
        QVERIFY(f.banco.esecuzioni.isEmpty());
        QVERIFY(f.finestra.isVisible());
    }
};

QTEST_MAIN(TestStBozza)
#include "tst_StBozza.moc"
