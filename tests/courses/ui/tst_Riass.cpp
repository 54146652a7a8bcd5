#include "TestContext.h"
#include "WindowTesting.h"
#include "core/state/Context.h"
#include "core/state/InstallationState.h"
#include "core/state/ResponsabileSpostamento.h"
#include "courses/CourseRecord.h"
#include "courses/Riassegnazione.h"
#include "courses/ui/CompoRes.h"
#include "courses/ui/Riass.h"
#include "tests/courses/BancoRiassegnazione.h"

#include <QComboBox>
#include <QRadioButton>
#include <QTest>

using namespace kx;

namespace {

const QString Titolo = u"Riassegnazione Corsi"_s;
const QString Effettuata = u"RIASSEGNAZIONE EFFETTUATA."_s;
const QString AnnullaSpostamento = u"Annulla l'operazione di spostamento ?"_s;

QComboBox *lista(QWidget *w, const QString &nome)
{
    return control<QComboBox>(w, nome);
}

QStringList voci(QWidget *w, const QString &nome)
{
    QStringList testi;
    for (int i = 0; i < lista(w, nome)->count(); ++i)
        testi.append(lista(w, nome)->itemText(i));
    return testi;
}

/** Chooses the entry that begins with the text, as a user's click does. */
void scegli(QWidget *w, const QString &nome, const QString &inizio)
{
    QComboBox *combo = lista(w, nome);
    for (int i = 0; i < combo->count(); ++i) {
        if (!inizio.isEmpty() && combo->itemText(i).startsWith(inizio)) {
            combo->setCurrentIndex(i);
            emit combo->activated(i);
            return;
        }
    }
    throw UnexpectedCall(u"%1 has no entry %2"_s.arg(nome, inizio));
}

/** The window shown, as the main window's command shows it, at its first activation. */
struct FinestraAperta
{
    BancoRiassegnazione banco;
    Riass finestra{banco.test.context()};

    FinestraAperta() { finestra.show(); }
    QWidget *w() { return &finestra; }
};

} // namespace

class TestRiass : public QObject
{
    Q_OBJECT

private slots:
    void theFirstActivationShowsNothingChosen()
    {
        FinestraAperta f;
        QCOMPARE(f.finestra.windowTitle(), Titolo);
        QCOMPARE(voci(f.w(), u"cmbSedeDa"_s),
                 (QStringList{QString(), u"  2 - SEDE OPERATIVA DI UN NOME MOLTO LUN - SO - VIA PO 2"_s,
                              u"  3 - TERZA - SO - "_s, u"  5"_s,
                              u" 1001 - PALESTRA - VIA SPORT   (SEDE OCCASIONALE)"_s}));
        QCOMPARE(lista(f.w(), u"cmbSedeDa"_s)->currentIndex(), 0);
        QCOMPARE(voci(f.w(), u"cmbCorso"_s), QStringList{QString()});
        QCOMPARE(voci(f.w(), u"cmbSedeA"_s), QStringList{QString()});
        QVERIFY(control<QRadioButton>(f.w(), u"OpzTuttiCorsi"_s)->isChecked());
        QCOMPARE(control<QRadioButton>(f.w(), u"OpzTuttiCorsi"_s)->text(),
                 u" Tutti i corsi della sede selezionata"_s);
        QCOMPARE(control<QRadioButton>(f.w(), u"OpzCorso"_s)->text(), u" Corso"_s);
        QVERIFY(!lista(f.w(), u"cmbCorso"_s)->isEnabled());
        f.banco.test.writeFile(u"KX58TORVA.htm"_s, "<html></html>");
        f.banco.test.context().installazione().FileAiuto = u"KX58TORVA.htm"_s;
        press(f.w(), u"cmdAiuto"_s);
        QCOMPARE(f.banco.test.help.topics, QList<int>{23000});
    }

    void choosingASourceFillsItsCoursesAndTheOtherSeats()
    {
        FinestraAperta f;
        scegli(f.w(), u"cmbSedeDa"_s, u"  2 -"_s);
        QCOMPARE(voci(f.w(), u"cmbCorso"_s), (QStringList{QString(), u"0001   SALDATURA"_s,
                                                          u"0002   TORNITURA"_s, u"0005   FRESATURA"_s}));
        QCOMPARE(voci(f.w(), u"cmbSedeA"_s),
                 (QStringList{QString(), u"  1 - SEDE LEGALE - SL - VIA ROMA 1"_s, u"  3 - TERZA - SO - "_s,
                              u" 1001 - PALESTRA - VIA SPORT   (SEDE OCCASIONALE)"_s,
                              u" 1002 - AULA MAGNA - VIA SCUOLA   (SEDE OCCASIONALE)"_s}));
        QCOMPARE(lista(f.w(), u"cmbCorso"_s)->currentIndex(), 0);
        QCOMPARE(lista(f.w(), u"cmbSedeA"_s)->currentIndex(), 0);

        press(f.w(), u"OpzCorso"_s);
        QVERIFY(lista(f.w(), u"cmbCorso"_s)->isEnabled());
        scegli(f.w(), u"cmbCorso"_s, u"0002"_s);
        press(f.w(), u"OpzTuttiCorsi"_s);
        QVERIFY(!lista(f.w(), u"cmbCorso"_s)->isEnabled());
        QCOMPARE(lista(f.w(), u"cmbCorso"_s)->currentIndex(), 0);

        lista(f.w(), u"cmbSedeDa"_s)->setCurrentIndex(0);
        emit lista(f.w(), u"cmbSedeDa"_s)->activated(0);
        QCOMPARE(voci(f.w(), u"cmbCorso"_s), QStringList{QString()});
        QCOMPARE(voci(f.w(), u"cmbSedeA"_s), QStringList{QString()});
    }

    void theChecksOfSpostaInTheirOrder_data()
    {
        QTest::addColumn<QString>("da");
        QTest::addColumn<bool>("unCorso");
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<QString>("fuoco");
        QTest::newRow("nothing chosen")
            << QString() << true << QString() << u"Selezionare la sede da cui spostare il/i corsi"_s
            << u"cmbSedeDa"_s;
        QTest::newRow("no destination")
            << u"  2 -"_s << true << QString() << u"Selezionare la sede su cui spostare il/i corsi"_s
            << u"cmbSedeA"_s;
        QTest::newRow("no course") << u"  2 -"_s << true << u"  3 -"_s
                                   << u"Selezionare il corso o i corsi da spostare"_s << u"cmbCorso"_s;
    }
    void theChecksOfSpostaInTheirOrder()
    {
        QFETCH(QString, da);
        QFETCH(bool, unCorso);
        QFETCH(QString, a);
        QFETCH(QString, messaggio);
        QFETCH(QString, fuoco);
        FinestraAperta f;
        f.finestra.activateWindow();
        if (!da.isEmpty())
            scegli(f.w(), u"cmbSedeDa"_s, da);
        if (unCorso)
            press(f.w(), u"OpzCorso"_s);
        if (!a.isEmpty())
            scegli(f.w(), u"cmbSedeA"_s, a);
        const QList<QVariantList> prima = f.banco.corsi();
        f.banco.test.prompt.expect(messaggio);
        press(f.w(), u"cmdConfer"_s);
        QVERIFY(f.banco.test.prompt.allShown());
        QCOMPARE(f.banco.test.prompt.shown().last().title, Titolo);
        QCOMPARE(f.banco.test.prompt.shown().last().icon, Prompt::Icon::Critical);
        QCOMPARE(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : fuoco, fuoco);
        QCOMPARE(f.banco.corsi(), prima);
    }

    void aMoveBetweenComponentsAsksNothingAndStartsOver()
    {
        FinestraAperta f;
        scegli(f.w(), u"cmbSedeDa"_s, u"  2 -"_s);
        scegli(f.w(), u"cmbSedeA"_s, u"  3 -"_s);
        f.banco.test.prompt.expect(Effettuata);
        press(f.w(), u"cmdConfer"_s);
        QVERIFY(f.banco.test.prompt.allShown());
        QCOMPARE(f.banco.test.prompt.shown().last().icon, Prompt::Icon::Information);
        QCOMPARE(f.banco.codici(3),
                 (QStringList{u"0001"_s, u"0002"_s, u"0003"_s, u"0004"_s, u"0005"_s, u"0006"_s}));
        QCOMPARE(f.banco.colonna(u"{G-2-5}"_s, u"CompoResp"_s).toInt(), 3);
        // Seat 2 has no course left, and the window is back at its opening state.
        QCOMPARE(voci(f.w(), u"cmbSedeDa"_s).size(), 4);
        QVERIFY(!voci(f.w(), u"cmbSedeDa"_s).join(u'|').contains(u"  2 -"_s));
        QCOMPARE(lista(f.w(), u"cmbSedeDa"_s)->currentIndex(), 0);
        QCOMPARE(voci(f.w(), u"cmbSedeA"_s), QStringList{QString()});
        QVERIFY(control<QRadioButton>(f.w(), u"OpzTuttiCorsi"_s)->isChecked());
        QVERIFY(!lista(f.w(), u"cmbCorso"_s)->isEnabled());
    }

    void oneCourseToAnOccasionalSeatTakesTheChosenComponent()
    {
        FinestraAperta f;
        scegli(f.w(), u"cmbSedeDa"_s, u"  3 -"_s);
        press(f.w(), u"OpzCorso"_s);
        scegli(f.w(), u"cmbCorso"_s, u"0002"_s);
        scegli(f.w(), u"cmbSedeA"_s, u" 1002 -"_s);
        int mostrato = 0;
        f.banco.test.dialogRunner.expect(u"CompoRes"_s, [&](QDialog &d) {
            ++mostrato;
            QCOMPARE(d.windowTitle(), u"Componente Responsabile"_s);
            QCOMPARE(voci(&d, u"cmbCompo"_s),
                     (QStringList{u"  2 - SEDE OPERATIVA DI UN NOME MOLTO LUN - SO - VIA PO 2"_s,
                                  u"  3 - TERZA - SO - "_s}));
            QCOMPARE(lista(&d, u"cmbCompo"_s)->currentIndex(), 0);
            scegli(&d, u"cmbCompo"_s, u"  3 -"_s);
            press(&d, u"cmdConfer"_s);
        });
        f.banco.test.prompt.expect(Effettuata);
        press(f.w(), u"cmdConfer"_s);
        QCOMPARE(mostrato, 1);
        const ResponsabileSpostamento &responsabile = f.banco.test.context().responsabileSpostamento();
        QCOMPARE(responsabile.SedeOccDestinazione, u"1002"_s);
        QCOMPARE(responsabile.CompoRespScelto, u"3"_s);
        QVERIFY(responsabile.CompoRespConfermato);
        QCOMPARE(f.banco.colonna(u"{G-3-2}"_s, u"SedeInteressata"_s).toInt(), 1002);
        QCOMPARE(f.banco.colonna(u"{G-3-2}"_s, u"Corso"_s).toString(), u"0001"_s);
        QCOMPARE(f.banco.colonna(u"{G-3-2}"_s, u"CompoResp"_s).toInt(), 3);
        QCOMPARE(f.banco.codici(3), (QStringList{u"0001"_s, u"0003"_s}));
    }

    void everyCourseToAnOccasionalSeatAsksOnce()
    {
        FinestraAperta f;
        scegli(f.w(), u"cmbSedeDa"_s, u"  2 -"_s);
        scegli(f.w(), u"cmbSedeA"_s, u" 1001 -"_s);
        f.banco.test.dialogRunner.expect(u"CompoRes"_s, [](QDialog &d) { press(&d, u"cmdConfer"_s); });
        f.banco.test.prompt.expect(Effettuata);
        press(f.w(), u"cmdConfer"_s);
        QVERIFY(f.banco.test.dialogRunner.allRun());
        QCOMPARE(f.banco.codici(1001), (QStringList{u"0001"_s, u"0004"_s, u"0005"_s, u"0006"_s, u"0007"_s}));
        for (const QString &guid : {u"{G-2-1}"_s, u"{G-2-2}"_s, u"{G-2-5}"_s})
            QCOMPARE(f.banco.colonna(guid, u"CompoResp"_s).toInt(), 2);
    }

    void givingUpInCompoResMovesNothing_data()
    {
        QTest::addColumn<bool>("barraDelTitolo");
        QTest::newRow("Annulla, No, then Yes") << false;
        QTest::newRow("closed by the title bar") << true;
    }
    void givingUpInCompoResMovesNothing()
    {
        QFETCH(bool, barraDelTitolo);
        FinestraAperta f;
        scegli(f.w(), u"cmbSedeDa"_s, u"  2 -"_s);
        press(f.w(), u"OpzCorso"_s);
        scegli(f.w(), u"cmbCorso"_s, u"0005"_s);
        scegli(f.w(), u"cmbSedeA"_s, u" 1002 -"_s);
        const QList<QVariantList> prima = f.banco.corsi();
        f.banco.test.dialogRunner.expect(u"CompoRes"_s, [&](QDialog &d) {
            if (barraDelTitolo) {
                d.close();
                return;
            }
            f.banco.test.prompt.expect(AnnullaSpostamento, Prompt::Answer::No);
            press(&d, u"cmdAnnul"_s);
            QVERIFY(d.isVisible());
            f.banco.test.prompt.expect(AnnullaSpostamento, Prompt::Answer::Yes);
            press(&d, u"cmdAnnul"_s);
            QVERIFY(!d.isVisible());
            QCOMPARE(f.banco.test.prompt.shown().last().title, u"Verifica Dati"_s);
            QCOMPARE(f.banco.test.prompt.shown().last().icon, Prompt::Icon::None);
        });
        press(f.w(), u"cmdConfer"_s);
        QVERIFY(f.banco.test.prompt.allShown());
        QVERIFY(!f.banco.test.context().responsabileSpostamento().CompoRespConfermato);
        QCOMPARE(f.banco.corsi(), prima);
        QVERIFY(lista(f.w(), u"cmbSedeDa"_s)->currentText().startsWith(u"  2 -"_s));
        QCOMPARE(lista(f.w(), u"cmbCorso"_s)->currentText(), u"0005   FRESATURA"_s);
        QVERIFY(lista(f.w(), u"cmbSedeA"_s)->currentText().startsWith(u" 1002 -"_s));
    }

    void compoResWithoutComponentsAsksToChoose()
    {
        BancoRiassegnazione banco;
        banco.test.context().responsabileSpostamento().SedeOccDestinazione = u"1099"_s;
        CompoRes dialogo(banco.test.context());
        dialogo.show();
        QCOMPARE(lista(&dialogo, u"cmbCompo"_s)->count(), 0);
        banco.test.prompt.expect(u"Selezionare un componente dalla lista."_s);
        press(&dialogo, u"cmdConfer"_s);
        QVERIFY(dialogo.isVisible());
        QCOMPARE(banco.test.prompt.shown().last().title, u"Verifica Dati"_s);
        QCOMPARE(banco.test.prompt.shown().last().icon, Prompt::Icon::Critical);
    }

    void aFailureMidwayMovesNothingAndSaysSo()
    {
        FinestraAperta f;
        f.banco.guastoAlCorso(2, u"0002"_s);
        scegli(f.w(), u"cmbSedeDa"_s, u"  2 -"_s);
        scegli(f.w(), u"cmbSedeA"_s, u"  3 -"_s);
        const QList<QVariantList> prima = f.banco.corsi();
        // The engine's own number and description, as the move alone meets them.
        const RoutineError guasto = errorOf([&f] {
            SpostaCorsi(f.banco.connessione(), f.banco.test.context().domanda(),
                        {2, 3, f.banco.codici(2), 0});
        });
        QVERIFY(guasto.description().contains(u"disco guasto"_s));
        f.banco.test.prompt.expect(
            u"Errore "_s + QString::number(guasto.number()) + u"\r\n"_s + guasto.description() +
            u"\r\n\r\nRiassegnazione non effettuata: nessun corso è stato spostato."_s);
        press(f.w(), u"cmdConfer"_s);
        QVERIFY(f.banco.test.prompt.allShown());
        QCOMPARE(f.banco.test.prompt.shown().last().title, Titolo);
        QCOMPARE(f.banco.test.prompt.shown().last().icon, Prompt::Icon::Critical);
        QCOMPARE(f.banco.corsi(), prima);
    }

    void aDestinationOutOfCodesMovesNothing()
    {
        FinestraAperta f;
        f.banco.db.execute(
            u"UPDATE CorsiProp SET Corso = '9999' WHERE SedeInteressata = 3 AND Corso = '0003'"_s);
        scegli(f.w(), u"cmbSedeDa"_s, u"  2 -"_s);
        scegli(f.w(), u"cmbSedeA"_s, u"  3 -"_s);
        const QList<QVariantList> prima = f.banco.corsi();
        f.banco.test.prompt.expect(TestoCodiciEsauriti);
        press(f.w(), u"cmdConfer"_s);
        QCOMPARE(f.banco.test.prompt.shown().last().title, Titolo);
        QCOMPARE(f.banco.corsi(), prima);
    }

    void esciClosesTheWindow()
    {
        FinestraAperta f;
        press(f.w(), u"cmdAnnul"_s);
        QVERIFY(!f.finestra.isVisible());
    }
};

QTEST_MAIN(TestRiass)
#include "tst_Riass.moc"
