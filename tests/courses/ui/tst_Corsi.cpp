#include "TestContext.h"
#include "WindowTesting.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/state/InstallationState.h"
#include "core/state/PrintRequest.h"
#include "core/state/ServiziStampa.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"
#include "core/ui/ListaSelezione.h"
#include "courses/CourseRecord.h"
#include "courses/ui/Corsi.h"
#include "tests/courses/BancoEditore.h"
#include "tests/courses/EditoreCorsi.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QTest>
#include <QWindow>

using namespace kx;

using namespace editore;

class TestCorsi : public QObject
{
    Q_OBJECT

private slots:
    void theOpeningShowsTheSeatsFirstCourseAndItsButtons_data()
    {
        QTest::addColumn<int>("corsi");
        QTest::addColumn<QStringList>("azioni");
        QTest::addColumn<QStringList>("navigazione");
        QTest::addColumn<QString>("corso");
        QTest::newRow("no course") << 0 << QStringList{u"cmdInserisci"_s, u"cmdAiuto"_s, u"cmdEsci"_s}
                                   << QStringList() << u" ---- "_s;
        QTest::newRow("one course") << 1 << Azioni << QStringList() << u"0001"_s;
        QTest::newRow("three courses")
            << 3 << Azioni << QStringList{u"cmdNext"_s, u"cmdLast"_s, u"cmdVai"_s} << u"0001"_s;
    }
    void theOpeningShowsTheSeatsFirstCourseAndItsButtons()
    {
        QFETCH(int, corsi);
        QFETCH(QStringList, azioni);
        QFETCH(QStringList, navigazione);
        QFETCH(QString, corso);
        Editore e;
        for (int i = corsi; i >= 1; --i)
            e.banco.corso(2, u"000"_s + QString::number(i), 10 * i);
        if (corsi == 0)
            e.prompt().expect(NessunCorso, Answer::No);
        e.apri();

        QCOMPARE(e.finestra->windowTitle(), u"Sez. 3 - Corsi Proposti"_s);
        QCOMPARE(e.accesi(Azioni), azioni);
        QCOMPARE(e.accesi(Navigazione), navigazione);
        QCOMPARE(e.testo(u"lblCorso"_s), corso);
        QCOMPARE(e.testo(u"lblProposta"_s), u"7"_s);
        QCOMPARE(e.testo(u"lblCompo"_s), u"2"_s);
        QCOMPARE(e.testo(u"lblDenCompo"_s), u"SEDE IN PROVA"_s);
        QVERIFY(!control<QProgressBar>(e.w(), u"ProgrBarSalva"_s)->isVisible());
        QCOMPARE(control<QTabWidget>(e.w(), u"SSTab1"_s)->currentIndex(), 0);
        QCOMPARE(e.acceso(u"cmbAsse"_s), corsi > 0);
        // A component's seat names no responsible component.
        QVERIFY(!e.acceso(u"cmbCompoResp"_s));
        QVERIFY(e.prompt().allShown());
        if (corsi == 0)
            return;
        QCOMPARE(e.testo(u"lblQuali"_s), u"LARSA - Formazione / Scuola"_s);
        QCOMPARE(e.testo(u"cmbAzione"_s), u"2.04.07  LARSA"_s);
        QCOMPARE(e.testo(u"cmbDest"_s), u"12  DISABILI"_s);
        QCOMPARE(e.testo(u"txtDurataOre"_s), u"10"_s);
        QCOMPARE(e.testo(u"txtCorsoRifB111"_s), u"3 - 1 - 2 - CORSO APPROVATO DI RIFERIMENTO"_s);
        QCOMPARE(e.testo(u"lblTotale"_s), u"365,00"_s);
        QCOMPARE(e.context().corsi().CorsoCorrente, u"0001"_s);
        QCOMPARE(e.context().corsi().FiltroCorsoCorrente,
                 u"NumDoma=7 AND SedeInteressata=2 AND Corso = '0001'"_s);
    }

    void theFirstActivationOffersANewCourseOnce_data()
    {
        QTest::addColumn<Answer>("risposta");
        QTest::newRow("yes") << Answer::Yes;
        QTest::newRow("no") << Answer::No;
    }
    void theFirstActivationOffersANewCourseOnce()
    {
        QFETCH(Answer, risposta);
        Editore e;
        bool aSchermo = false;
        e.prompt().expect(NessunCorso, risposta, [&] {
            aSchermo = e.finestra->isVisible() && e.finestra->windowHandle()->isExposed();
        });
        e.apri();
        // The question comes over the window, not before it.
        QVERIFY(aSchermo);
        const bool nuovo = risposta == Answer::Yes;
        QCOMPARE(e.accesi(Azioni), (nuovo ? QStringList{u"cmdSalva"_s, u"cmdAiuto"_s, u"cmdEsci"_s}
                                          : QStringList{u"cmdInserisci"_s, u"cmdAiuto"_s, u"cmdEsci"_s}));
        QCOMPARE(e.acceso(u"cmbAsse"_s), nuovo);
        QCOMPARE(e.testo(u"cmbAsse"_s), u"1  OCCUPAZIONE"_s);
        e.finestra->hide();
        e.finestra->show();
        QVERIFY(e.prompt().allShown());
    }

    void aPrintedApplicationOnlyShowsAndPrints_data()
    {
        QTest::addColumn<int>("corsi");
        QTest::newRow("with courses") << 2;
        QTest::newRow("without courses") << 0;
    }
    void aPrintedApplicationOnlyShowsAndPrints()
    {
        QFETCH(int, corsi);
        Editore e;
        for (int i = 1; i <= corsi; ++i)
            e.banco.corso(2, u"000"_s + QString::number(i));
        // A damaged stored value makes the form differ from the row: still nothing may be written.
        e.banco.db.execute(u"UPDATE CorsiProp SET TotOreIter = 100, NumAll = NULL"_s);
        const qsizetype prima = e.banco.db.query(u"SELECT * FROM CorsiProp"_s).rows.size();
        QStringList stampati;
        e.context().serviziStampa().bozzaCorso = [&](qint32, const QString &, const QString &corso) {
            stampati.append(corso);
        };
        e.context().domanda().DomandaStampataCorrente = true;
        if (corsi > 0)
            e.prompt().expect(Anomalia);
        e.prompt().expect(SolaLettura);
        e.apri();
        QCOMPARE(e.prompt().shown().last().title, u"Corsi proposti"_s);
        QCOMPARE(e.accesi(Azioni), (corsi > 0 ? QStringList{u"cmdStampa"_s, u"cmdAiuto"_s, u"cmdEsci"_s}
                                              : QStringList{u"cmdAiuto"_s, u"cmdEsci"_s}));
        QCOMPARE(e.accesi(Navigazione),
                 (corsi > 1 ? QStringList{u"cmdNext"_s, u"cmdLast"_s, u"cmdVai"_s} : QStringList()));
        for (const QString &campo :
             {u"cmbAsse"_s, u"txtNumAll"_s, u"txtDurataOre"_s, u"cmbCompoResp"_s, u"cmdCorsoRifB111"_s})
            QVERIFY2(!e.acceso(campo), qPrintable(campo));
        if (corsi > 0) {
            e.prompt().expect(Anomalia);
            press(e.w(), u"cmdStampa"_s);
            QCOMPARE(stampati, QStringList{u"0001"_s});
            QCOMPARE(e.context().stampa().TipoStampa, u"BOZZA CORSO"_s);
        }
        press(e.w(), u"cmdEsci"_s);
        QVERIFY(e.finestra->chiusa());
        QVERIFY(e.prompt().allShown());
        QVERIFY(e.banco.valore(2, u"0001"_s, u"NumAll"_s).isNull() || corsi == 0);
        QCOMPARE(e.banco.db.query(u"SELECT * FROM CorsiProp"_s).rows.size(), prima);
    }

    void aDamagedCourseIsShownAsStoredAndNeverDeleted_data()
    {
        QTest::addColumn<QString>("guasto");
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("mostrato");
        QTest::newRow("course name") << u"DenCorso = 'NOME TOLTO DAGLI ELENCHI'"_s << u"cmbDenCorso"_s
                                     << u"NOME TOLTO DAGLI ELENCHI"_s;
        QTest::newRow("cycle") << u"CicloFinanziario = '2007'"_s << u"CmbCicloFin"_s << u"2007"_s;
        QTest::newRow("axis") << u"CodAsse = '7'"_s << u"cmbAsse"_s << u"7"_s;
        QTest::newRow("target group") << u"CodDest = 55"_s << u"cmbDest"_s << u"55"_s;
        QTest::newRow("duration") << u"DurataTotIter = 3"_s << u"cmbDurata"_s << u"3"_s;
        QTest::newRow("pupils") << u"NumAll = NULL"_s << u"txtNumAll"_s << QString();
    }
    void aDamagedCourseIsShownAsStoredAndNeverDeleted()
    {
        QFETCH(QString, guasto);
        QFETCH(QString, campo);
        QFETCH(QString, mostrato);
        Editore e;
        e.banco.corso(2, u"0001"_s);
        e.banco.db.execute(u"UPDATE CorsiProp SET "_s + guasto);
        e.prompt().expect(Anomalia);
        e.apri();
        QCOMPARE(e.prompt().shown().last().title, u"Anomalia del corso"_s);
        QCOMPARE(e.prompt().shown().last().icon, Prompt::Icon::Warning);
        QCOMPARE(e.testo(campo), mostrato);
        QCOMPARE(e.banco.codici(2), QStringList{u"0001"_s});
        if (campo == u"txtNumAll"_s)
            return;
        // The stored value is kept: nothing differs, and a save writes it back as it was.
        press(e.w(), u"cmdEsci"_s);
        QVERIFY(e.finestra->chiusa());
        QVERIFY(e.prompt().allShown());
    }

    void aStoredComponentOfFourDigitsIsShownAndKept_data()
    {
        QTest::addColumn<bool>("passo");
        QTest::newRow("at the opening") << false;
        QTest::newRow("reached by a step") << true;
    }
    void aStoredComponentOfFourDigitsIsShownAndKept()
    {
        QFETCH(bool, passo);
        const QString corso = passo ? u"0002"_s : u"0001"_s;
        Editore e(1002);
        e.banco.corso(1002, u"0001"_s);
        e.banco.corso(1002, u"0002"_s);
        e.banco.db.execute(u"UPDATE CorsiProp SET CompoResp = 1234 WHERE Corso = ?"_s, {corso});
        e.prompt().expect(Anomalia);
        e.apri();
        if (passo)
            press(e.w(), u"cmdNext"_s);
        QVERIFY(e.prompt().allShown());
        QCOMPARE(e.prompt().shown().last().title, u"Anomalia del corso"_s);
        QCOMPARE(e.testo(u"lblCorso"_s), corso);
        QVERIFY2(e.testo(u"cmbCompoResp"_s).startsWith(u"1234 - "_s), qPrintable(e.testo(u"cmbCompoResp"_s)));
        // Saving writes the component back as it was, and then nothing differs.
        press(e.w(), u"cmdSalva"_s);
        QCOMPARE(e.banco.valore(1002, corso, u"CompoResp"_s).toInt(), 1234);
        press(e.w(), u"cmdEsci"_s);
        QVERIFY(e.finestra->chiusa());
        QVERIFY(e.prompt().allShown());
    }

    void eachCourseWithAValueNoLongerListedGetsTheBox_data()
    {
        QTest::addColumn<int>("sede");
        QTest::addColumn<QString>("guasto");
        QTest::addColumn<QString>("lista");
        QTest::addColumn<QString>("codice");
        QTest::newRow("cycle") << 2 << u"CicloFinanziario = '2007'"_s << u"CmbCicloFin"_s << u"2007"_s;
        QTest::newRow("axis") << 2 << u"CodAsse = '7'"_s << u"cmbAsse"_s << u"7"_s;
        QTest::newRow("responsible component") << 1002 << u"CompoResp = 3"_s << u"cmbCompoResp"_s << u"3"_s;
    }
    void eachCourseWithAValueNoLongerListedGetsTheBox()
    {
        QFETCH(int, sede);
        QFETCH(QString, guasto);
        QFETCH(QString, lista);
        QFETCH(QString, codice);
        Editore e(sede);
        for (const QString &corso : {u"0001"_s, u"0002"_s, u"0003"_s})
            e.banco.corso(sede, corso);
        e.banco.db.execute(u"UPDATE CorsiProp SET "_s + guasto + u" WHERE Corso < '0003'"_s);
        // Component 3 no longer uses the seat: the list offers component 2 alone.
        e.banco.db.execute(u"DELETE FROM CorsiSediOccUtil WHERE Componente = 3"_s);
        const auto offerto = [&] {
            const QComboBox *voci = control<QComboBox>(e.w(), lista);
            for (int i = 0; i < voci->count(); ++i)
                if (ListaSelezione::codiceDi(voci->itemText(i)) == codice)
                    return true;
            return false;
        };

        e.prompt().expect(Anomalia);
        e.apri();
        QVERIFY(offerto());
        e.prompt().expect(Anomalia);
        press(e.w(), u"cmdNext"_s);
        QVERIFY(e.prompt().allShown());
        QCOMPARE(ListaSelezione::codiceDi(e.testo(lista)), codice);
        press(e.w(), u"cmdNext"_s);
        QCOMPARE(e.testo(u"lblCorso"_s), u"0003"_s);
        QVERIFY(!offerto());
        e.prompt().expect(Anomalia);
        press(e.w(), u"cmdFirst"_s);
        QVERIFY(e.prompt().allShown());
        // A new course cannot be given the value: it is no longer among the entries.
        press(e.w(), u"cmdInserisci"_s);
        QCOMPARE(e.testo(u"lblCorso"_s), u" ---- "_s);
        QVERIFY(!offerto());
        QVERIFY(e.prompt().allShown());
    }

    void thePickerOfTheApprovedCourseIsAPictureWithoutCaption()
    {
        Editore e;
        e.banco.corso(2, u"0001"_s);
        e.apri();
        auto *scelta = control<ImageButton>(e.w(), u"cmdCorsoRifB111"_s);
        QVERIFY(scelta->text().isEmpty());
        QVERIFY(!Immagini::picture(scelta->pictureName()).isNull());
        QVERIFY(!scelta->toolTip().isEmpty());
        QCOMPARE(scelta->accessibleName(), scelta->toolTip());
        // Enabled for the special action on screen, with its picture; the disabled form otherwise.
        QCOMPARE(e.accesi({u"cmdCorsoRifB111"_s}), QStringList{u"cmdCorsoRifB111"_s});
        e.scegli(u"cmbAzione"_s, u"2.04.08"_s);
        QCOMPARE(e.accesi({u"cmdCorsoRifB111"_s}), QStringList());
    }

    void aFailedCheckShowsItsMessageThenMovesFocusAndTab_data()
    {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<int>("schedaPrima");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<int>("scheda");
        QTest::newRow("hours, on the second tab")
            << u"txtDurataOre"_s << 0 << u"Indicare il Totale Ore dell'Iter Complessivo."_s << 1;
        QTest::newRow("pupils, on the first tab")
            << u"txtNumAll"_s << 1 << u"Inserire il N. ALLIEVI PREVISTI"_s << 0;
    }
    void aFailedCheckShowsItsMessageThenMovesFocusAndTab()
    {
        QFETCH(QString, campo);
        QFETCH(int, schedaPrima);
        QFETCH(QString, messaggio);
        QFETCH(int, scheda);
        Editore e;
        e.banco.corso(2, u"0001"_s);
        e.apri();
        QApplication::setActiveWindow(e.w());
        QVERIFY(QTest::qWaitForWindowActive(e.w()));
        auto *schede = control<QTabWidget>(e.w(), u"SSTab1"_s);
        schede->setCurrentIndex(schedaPrima);
        e.scrivi(campo, u"0"_s);
        int schedaAlMessaggio = -1;
        e.prompt().expect(messaggio, Answer::Ok, [&] { schedaAlMessaggio = schede->currentIndex(); });
        press(e.w(), u"cmdSalva"_s);
        QVERIFY(e.prompt().allShown());
        QCOMPARE(schedaAlMessaggio, schedaPrima);
        QCOMPARE(schede->currentIndex(), scheda);
        QCOMPARE(QApplication::focusWidget(), control<QWidget>(e.w(), campo));
    }

    void aCourseGoneBeforeItIsShownGivesTheRowsAsStored()
    {
        Editore e;
        e.banco.corso(2, u"0001"_s, 10);
        e.banco.corso(2, u"0002"_s, 20);
        e.apri();
        e.banco.db.execute(u"DELETE FROM CorsiProp WHERE Corso = '0001'"_s);
        press(e.w(), u"cmdStampa"_s);
        QCOMPARE(e.testo(u"lblCorso"_s), u"0002"_s);
        QCOMPARE(e.accesi(Navigazione), QStringList());
    }

    void typedHoursAreGroupedWithTheCaretAfterTheSameDigit()
    {
        Editore e;
        e.banco.corso(2, u"0001"_s);
        e.apri();
        e.finestra->activateWindow();
        QLineEdit *ore = control<QLineEdit>(e.w(), u"txtDurataOre"_s);
        ore->setFocus();
        ore->clear();
        QTest::keyClicks(ore, u"1234"_s);
        QCOMPARE(ore->text(), u"1.234"_s);
        QCOMPARE(ore->cursorPosition(), 5);
        QCOMPARE(e.testo(u"lblOre"_s), u"1.234"_s);
        QCOMPARE(e.testo(u"lblTotale"_s), u"45.041,00"_s);
    }

    void thePupilsAndHoursBoxesOnFocus()
    {
        Editore e;
        e.banco.corso(2, u"0001"_s);
        e.apri();
        QLineEdit *allievi = control<QLineEdit>(e.w(), u"txtNumAll"_s);
        QLineEdit *ore = control<QLineEdit>(e.w(), u"txtDurataOre"_s);
        allievi->setText(u"0"_s);
        QFocusEvent entra(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(allievi, &entra);
        QCOMPARE(allievi->text(), QString());
        QFocusEvent esce(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(allievi, &esce);
        QCOMPARE(allievi->text(), u"0"_s);
        allievi->setText(u"2,5"_s);
        QCoreApplication::sendEvent(allievi, &esce);
        QCOMPARE(allievi->text(), u"2"_s);
        QCOMPARE(e.testo(u"lblParametro"_s), u"12,5"_s);
        ore->clear();
        QCoreApplication::sendEvent(ore, &esce);
        QCOMPARE(ore->text(), u"0"_s);
        QCOMPARE(e.testo(u"lblTotale"_s), QString());
        e.banco.test.beeper.beeps = 0;
        e.prompt().expect(u"Carattere non numerico"_s);
        QTest::keyClicks(allievi, u"a"_s);
        QCOMPARE(allievi->text(), u"2"_s);
    }

    void anOccasionalSeatAsksForTheResponsibleComponent()
    {
        // Components 2 and 3 use seat 1002.
        Editore e(1002);
        e.banco.corso(1002, u"0001"_s);
        e.apri();
        QVERIFY(e.acceso(u"cmbCompoResp"_s));
        QVERIFY(e.testo(u"cmbCompoResp"_s).startsWith(u"2   - "_s));
        press(e.w(), u"cmdInserisci"_s);
        QCOMPARE(e.testo(u"cmbCompoResp"_s), QString());
        QVERIFY(e.acceso(u"cmbCompoResp"_s));
        QCOMPARE(QApplication::focusWidget() == control<QWidget>(e.w(), u"cmbCompoResp"_s) ||
                     !e.finestra->isActiveWindow(),
                 true);
    }

    void theHelpButtonOpensTheEditorsTopicOnEitherTab()
    {
        Editore e;
        e.banco.corso(2, u"0001"_s);
        e.banco.test.writeFile(u"KX58TORVA.htm"_s, "<html></html>");
        e.context().installazione().FileAiuto = u"KX58TORVA.htm"_s;
        e.apri();
        auto *schede = control<QTabWidget>(e.w(), u"SSTab1"_s);
        QCOMPARE(schede->tabText(0), u"Sez.3.1"_s);
        QCOMPARE(schede->tabText(1), u"Sez.3.2"_s);
        emit schede->tabBarClicked(1);
        press(e.w(), u"cmdAiuto"_s);
        QVERIFY(QTest::qWaitForWindowActive(e.finestra.get()));
        QTest::keyClick(e.w(), Qt::Key_F1);
        QCOMPARE(e.banco.test.help.topics, (QList<int>{22000, 22000}));
    }

    void aFailedListOfResponsibleComponentsOffersRetryAndCancelClosesTheEditor()
    {
        Editore e(1002);
        e.banco.db.execute(u"DROP TABLE CorsiSediOccUtil"_s);
        const QString testo = unexpectedErrorText(
            RoutineError(ErrorCode::TableNotFound,
                         u"Impossibile trovare la tabella o la query di input 'CorsiSediOccUtil'."_s));
        e.prompt().expect(testo, Answer::Retry);
        e.prompt().expect(testo, Answer::Cancel);
        e.apri();
        QCOMPARE(e.prompt().shown().first().title, u"IniCompoResp"_s);
        QVERIFY(e.finestra->chiusa());
        QTRY_VERIFY(!e.finestra->isVisible());
        QVERIFY(e.prompt().allShown());
    }
};

QTEST_MAIN(TestCorsi)
#include "tst_Corsi.moc"
