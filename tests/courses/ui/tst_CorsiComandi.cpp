#include "TestContext.h"
#include "WindowTesting.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/state/InstallationState.h"
#include "core/state/PrintRequest.h"
#include "core/state/ServiziStampa.h"
#include "core/ui/ImageButton.h"
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

using namespace kx;

using namespace editore;

namespace {

const QString RigaModificata = u"I dati sono stati modificati da un'altra postazione dopo l'apertura della "
                               u"finestra.\r\nSovrascriverli con quelli inseriti?"_s;
const QString GiaCancellato =
    u"Il record che si è deciso di eliminare è già stato cancellato da un altro operatore. "_s;

} // namespace

class TestCorsiComandi : public QObject
{
    Q_OBJECT

private slots:
    void aNewCourseIsStoredWithTheSeatsNextCodeAndAGuid()
    {
        Editore e;
        e.banco.corso(2, u"0001"_s);
        e.banco.corso(2, u"0003"_s);
        e.apri();
        press(e.w(), u"cmdInserisci"_s);
        QCOMPARE(e.testo(u"lblCorso"_s), u" ---- "_s);
        QCOMPARE(e.testo(u"txtNumAll"_s), u"0"_s);
        QCOMPARE(e.accesi(Azioni), (QStringList{u"cmdSalva"_s, u"cmdAiuto"_s, u"cmdEsci"_s}));
        QCOMPARE(e.accesi(Navigazione), QStringList());
        e.compila(u"50"_s);
        e.prompt().expect(CorsoInserito);
        press(e.w(), u"cmdSalva"_s);
        QCOMPARE(e.prompt().shown().last().title, u"Inserimento Corso"_s);
        QCOMPARE(e.testo(u"lblCorso"_s), u"0004"_s);
        QCOMPARE(e.banco.codici(2), (QStringList{u"0001"_s, u"0003"_s, u"0004"_s}));
        QCOMPARE(e.banco.valore(2, u"0004"_s, u"TotOreIter"_s).toInt(), 50);
        QCOMPARE(e.banco.valore(2, u"0004"_s, u"Guid"_s).toString().size(), 38);
        QCOMPARE(e.accesi(Azioni), Azioni);
        QCOMPARE(e.accesi(Navigazione), (QStringList{u"cmdFirst"_s, u"cmdPrevious"_s, u"cmdVai"_s}));
        // The stored course is on screen unchanged: leaving asks nothing.
        press(e.w(), u"cmdEsci"_s);
        QVERIFY(e.finestra->chiusa());
        QVERIFY(e.prompt().allShown());
    }

    void aRefusedNewCourseStaysPending_data()
    {
        QTest::addColumn<QString>("corso");
        QTest::addColumn<QString>("allievi");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<QString>("titolo");
        QTest::newRow("a failed check")
            << u"0001"_s << u"0"_s << u"Inserire il N. ALLIEVI PREVISTI"_s << u"Verifica dati"_s;
        QTest::newRow("no code left") << u"9999"_s << u"1"_s << TestoCodiciEsauriti << u"Inserimento Corso"_s;
    }
    void aRefusedNewCourseStaysPending()
    {
        QFETCH(QString, corso);
        QFETCH(QString, allievi);
        QFETCH(QString, messaggio);
        QFETCH(QString, titolo);
        Editore e;
        e.banco.corso(2, corso);
        e.apri();
        press(e.w(), u"cmdInserisci"_s);
        e.compila();
        e.scrivi(u"txtNumAll"_s, allievi);
        e.prompt().expect(messaggio);
        press(e.w(), u"cmdSalva"_s);
        QCOMPARE(e.prompt().shown().last().title, titolo);
        QCOMPARE(e.banco.codici(2), QStringList{corso});
        QCOMPARE(e.testo(u"lblCorso"_s), u" ---- "_s);
        QCOMPARE(e.accesi(Azioni), (QStringList{u"cmdSalva"_s, u"cmdAiuto"_s, u"cmdEsci"_s}));
        QVERIFY(e.prompt().allShown());
    }

    void aDuplicateIsANewCourseOnlyOnceSaved()
    {
        Editore e;
        e.banco.corso(2, u"0001"_s, 120);
        e.apri();
        e.prompt().expect(CorsoDuplicato);
        press(e.w(), u"cmdDuplica"_s);
        QCOMPARE(e.prompt().shown().last().title, u"Duplica Corso"_s);
        QCOMPARE(e.testo(u"lblCorso"_s), u" ---- "_s);
        QCOMPARE(e.testo(u"txtDurataOre"_s), u"120"_s);
        QCOMPARE(e.testo(u"txtCorsoRifB111"_s), u"3 - 1 - 2 - CORSO APPROVATO DI RIFERIMENTO"_s);
        QCOMPARE(e.context().corsi().CorsoCorrente, QString());
        QCOMPARE(e.banco.codici(2), QStringList{u"0001"_s});

        e.prompt().expect(CorsoInserito);
        press(e.w(), u"cmdSalva"_s);
        QCOMPARE(e.banco.codici(2), (QStringList{u"0001"_s, u"0002"_s}));
        QCOMPARE(e.banco.valore(2, u"0002"_s, u"TotOreIter"_s).toInt(), 120);
        QCOMPARE(e.banco.valore(2, u"0001"_s, u"Guid"_s).toString(), u"{GUID-0001}"_s);
        QVERIFY(e.banco.valore(2, u"0002"_s, u"Guid"_s).toString() != u"{GUID-0001}"_s);
    }

    void aDeletionShowsTheNeighbour_data()
    {
        QTest::addColumn<QStringList>("corsi");
        QTest::addColumn<bool>("dalDuplicato");
        QTest::addColumn<QString>("cancellato");
        QTest::addColumn<QString>("mostrato");
        QTest::newRow("first of several")
            << QStringList{u"0001"_s, u"0002"_s, u"0003"_s} << false << u"0001"_s << u"0002"_s;
        // A stored duplicate is the seat's last course and the one on screen.
        QTest::newRow("last") << QStringList{u"0001"_s, u"0002"_s} << true << u"0003"_s << u"0002"_s;
        QTest::newRow("only") << QStringList{u"0001"_s} << false << u"0001"_s << u" ---- "_s;
    }
    void aDeletionShowsTheNeighbour()
    {
        QFETCH(QStringList, corsi);
        QFETCH(bool, dalDuplicato);
        QFETCH(QString, cancellato);
        QFETCH(QString, mostrato);
        Editore e;
        for (const QString &codice : corsi)
            e.banco.corso(2, codice, codice.toInt() * 10);
        e.apri();
        if (dalDuplicato) {
            e.prompt().expect(CorsoDuplicato);
            press(e.w(), u"cmdDuplica"_s);
            e.scrivi(u"txtDurataOre"_s, u"30"_s);
            e.prompt().expect(CorsoInserito);
            press(e.w(), u"cmdSalva"_s);
            QCOMPARE(e.testo(u"lblCorso"_s), cancellato);
        }
        e.prompt().expect(ConfermaCancellazione, Answer::No);
        press(e.w(), u"cmdElimina"_s);
        QVERIFY(e.banco.codici(2).contains(cancellato));

        e.prompt().expect(ConfermaCancellazione, Answer::Yes);
        if (corsi.size() == 1)
            e.prompt().expect(NessunCorsoDopoCancellazione, Answer::No);
        press(e.w(), u"cmdElimina"_s);
        QCOMPARE(e.prompt().shown().last().title, u"Corsi proposti"_s);
        QVERIFY(!e.banco.codici(2).contains(cancellato));
        QCOMPARE(e.testo(u"lblCorso"_s), mostrato);
        if (corsi.size() == 1) {
            QCOMPARE(e.accesi(Azioni), (QStringList{u"cmdInserisci"_s, u"cmdAiuto"_s, u"cmdEsci"_s}));
            QVERIFY(!e.acceso(u"cmbAsse"_s));
        } else {
            QCOMPARE(e.testo(u"txtDurataOre"_s), QString::number(mostrato.toInt() * 10));
            QCOMPARE(e.accesi(Navigazione),
                     (mostrato == u"0002"_s && !dalDuplicato
                          ? QStringList{u"cmdNext"_s, u"cmdLast"_s, u"cmdVai"_s}
                          : QStringList{u"cmdFirst"_s, u"cmdPrevious"_s, u"cmdVai"_s}));
        }
        QVERIFY(e.prompt().allShown());
    }

    void theOnlyCoursesDeletionOffersANewOne()
    {
        Editore e;
        e.banco.corso(2, u"0001"_s);
        e.apri();
        e.prompt().expect(ConfermaCancellazione, Answer::Yes);
        e.prompt().expect(NessunCorsoDopoCancellazione, Answer::Yes);
        press(e.w(), u"cmdElimina"_s);
        QCOMPARE(e.accesi(Azioni), (QStringList{u"cmdSalva"_s, u"cmdAiuto"_s, u"cmdEsci"_s}));
        QVERIFY(e.acceso(u"cmbAsse"_s));
    }

    void deletingACourseAlreadyDeletedSaysSo()
    {
        Editore e;
        e.banco.corso(2, u"0001"_s);
        e.banco.corso(2, u"0002"_s);
        e.apri();
        e.banco.db.execute(u"DELETE FROM CorsiProp WHERE Corso = '0001'"_s);
        e.prompt().expect(ConfermaCancellazione, Answer::Yes);
        e.prompt().expect(GiaCancellato);
        press(e.w(), u"cmdElimina"_s);
        QCOMPARE(e.prompt().shown().last().title, u"Accesso concorrente"_s);
        QCOMPARE(e.banco.codici(2), QStringList{u"0002"_s});
    }

    void theExitAsksOnlyWhenSomethingChanged_data()
    {
        QTest::addColumn<bool>("nuovo");
        QTest::addColumn<QString>("ore");
        QTest::addColumn<int>("risposta");
        QTest::addColumn<bool>("chiusa");
        QTest::addColumn<int>("oreMemorizzate");
        constexpr int nessuna = -1;
        QTest::newRow("unchanged") << false << u"100"_s << nessuna << true << 100;
        QTest::newRow("changed, yes") << false << u"150"_s << int(Answer::Yes) << true << 150;
        QTest::newRow("changed, no") << false << u"150"_s << int(Answer::No) << true << 100;
        QTest::newRow("changed, cancel") << false << u"150"_s << int(Answer::Cancel) << false << 100;
        QTest::newRow("changed, yes, failed check") << false << u"0"_s << int(Answer::Yes) << false << 100;
        QTest::newRow("pending, no") << true << QString() << int(Answer::No) << true << 100;
        QTest::newRow("pending, yes") << true << u"70"_s << int(Answer::Yes) << true << 100;
    }
    void theExitAsksOnlyWhenSomethingChanged()
    {
        QFETCH(bool, nuovo);
        QFETCH(QString, ore);
        QFETCH(int, risposta);
        QFETCH(bool, chiusa);
        QFETCH(int, oreMemorizzate);
        Editore e;
        e.banco.corso(2, u"0001"_s, 100);
        e.apri();
        if (nuovo) {
            press(e.w(), u"cmdInserisci"_s);
            if (!ore.isEmpty())
                e.compila(ore);
        } else {
            e.scrivi(u"txtDurataOre"_s, ore);
        }
        if (risposta >= 0)
            e.prompt().expect(DomandaUscita, Answer(risposta));
        if (ore == u"0"_s)
            e.prompt().expect(u"Indicare il Totale Ore dell'Iter Complessivo."_s);
        if (nuovo && !ore.isEmpty())
            e.prompt().expect(CorsoInserito);
        press(e.w(), u"cmdEsci"_s);
        QCOMPARE(e.finestra->chiusa(), chiusa);
        QCOMPARE(e.banco.valore(2, u"0001"_s, u"TotOreIter"_s).toInt(), oreMemorizzate);
        QCOMPARE(e.banco.codici(2).size(), nuovo && !ore.isEmpty() ? 2 : 1);
        QVERIFY(e.prompt().allShown());
    }

    void theTitleBarLeavesAsTheExitButton()
    {
        Editore e;
        e.banco.corso(2, u"0001"_s);
        e.apri();
        e.scrivi(u"txtDurataOre"_s, u"150"_s);
        e.prompt().expect(DomandaUscita, Answer::Cancel);
        e.finestra->close();
        QVERIFY(!e.finestra->chiusa());
        QVERIFY(e.prompt().allShown());
    }

    void theCommandsWriteAChangedCourseFirst_data()
    {
        QTest::addColumn<QString>("comando");
        QTest::addColumn<QStringList>("riquadri");
        QTest::newRow("insert") << u"cmdInserisci"_s << QStringList();
        QTest::newRow("duplicate") << u"cmdDuplica"_s << QStringList{CorsoDuplicato};
        QTest::newRow("print") << u"cmdStampa"_s << QStringList();
    }
    void theCommandsWriteAChangedCourseFirst()
    {
        QFETCH(QString, comando);
        QFETCH(QStringList, riquadri);
        Editore e;
        e.banco.corso(2, u"0001"_s, 100);
        e.apri();
        e.scrivi(u"txtDurataOre"_s, u"150"_s);
        for (const QString &testo : riquadri)
            e.prompt().expect(testo);
        press(e.w(), comando);
        QCOMPARE(e.banco.valore(2, u"0001"_s, u"TotOreIter"_s).toInt(), 150);
        QVERIFY(e.prompt().allShown());

        // A change that fails the checks stops the command and writes nothing.
        Editore f;
        f.banco.corso(2, u"0001"_s, 100);
        f.apri();
        f.scrivi(u"txtDurataOre"_s, u"0"_s);
        f.prompt().expect(u"Indicare il Totale Ore dell'Iter Complessivo."_s);
        press(f.w(), comando);
        QCOMPARE(f.banco.valore(2, u"0001"_s, u"TotOreIter"_s).toInt(), 100);
        QCOMPARE(f.testo(u"lblCorso"_s), u"0001"_s);
        QCOMPARE(f.accesi(Azioni), Azioni);
        QCOMPARE(control<QTabWidget>(f.w(), u"SSTab1"_s)->currentIndex(), 1);
    }

    void theDraftPrintGetsTheCourseOnScreen()
    {
        Editore e;
        e.banco.corso(2, u"0001"_s, 100);
        e.apri();
        QList<QStringList> chiamate;
        e.context().serviziStampa().bozzaCorso = [&](qint32 numDoma, const QString &sede,
                                                     const QString &corso) {
            chiamate.append({QString::number(numDoma), sede, corso, e.context().stampa().TipoStampa});
            // What the print reads is the stored course; the editor shows it again afterwards.
            e.banco.db.execute(u"UPDATE CorsiProp SET TotOreIter = 90"_s);
        };
        press(e.w(), u"cmdStampa"_s);
        QCOMPARE(chiamate, (QList<QStringList>{{u"7"_s, u"2"_s, u"0001"_s, u"BOZZA CORSO"_s}}));
        QCOMPARE(e.testo(u"txtDurataOre"_s), u"90"_s);
        QCOMPARE(e.context().corsi().FiltroCorsoCorrente,
                 u"NumDoma=7 AND SedeInteressata=2 AND Corso = '0001'"_s);
    }

    void aCourseDeletedByAnotherInstallationCanBeStoredAgain_data()
    {
        QTest::addColumn<Answer>("risposta");
        QTest::newRow("yes") << Answer::Yes;
        QTest::newRow("no") << Answer::No;
    }
    void aCourseDeletedByAnotherInstallationCanBeStoredAgain()
    {
        QFETCH(Answer, risposta);
        Editore e;
        e.banco.corso(2, u"0002"_s, 100, u"{GUID-DELLA-SECONDA}"_s);
        e.banco.corso(2, u"0005"_s, 50);
        e.apri();
        e.banco.db.execute(u"DELETE FROM CorsiProp WHERE Corso = '0002'"_s);
        e.scrivi(u"txtDurataOre"_s, u"150"_s);
        e.prompt().expect(Reinserire, risposta);
        if (risposta == Answer::Yes)
            e.prompt().expect(u"Corso reinserito."_s);
        press(e.w(), u"cmdSalva"_s);
        QCOMPARE(e.prompt().shown().first().title, u"Accesso concorrente"_s);
        if (risposta == Answer::Yes) {
            QCOMPARE(e.banco.codici(2), (QStringList{u"0002"_s, u"0005"_s}));
            QCOMPARE(e.banco.valore(2, u"0002"_s, u"Guid"_s).toString(), u"{GUID-DELLA-SECONDA}"_s);
            QCOMPARE(e.banco.valore(2, u"0002"_s, u"TotOreIter"_s).toInt(), 150);
            QCOMPARE(e.testo(u"lblCorso"_s), u"0002"_s);
        } else {
            QCOMPARE(e.banco.codici(2), QStringList{u"0005"_s});
            QCOMPARE(e.testo(u"lblCorso"_s), u"0005"_s);
            QCOMPARE(e.testo(u"txtDurataOre"_s), u"50"_s);
        }
        QVERIFY(e.prompt().allShown());
    }

    void aCourseWhoseApplicationIsGoneClosesTheEditor()
    {
        Editore e;
        e.banco.corso(2, u"0001"_s);
        e.apri();
        e.banco.db.execute(u"DELETE FROM Domande WHERE NumDoma = 7"_s);
        e.scrivi(u"txtDurataOre"_s, u"150"_s);
        e.prompt().expect(
            u"La domanda è stata cancellata da un'altra postazione. Impossibile salvare le modifiche."_s);
        press(e.w(), u"cmdSalva"_s);
        QCOMPARE(e.prompt().shown().last().title, u"Accesso concorrente"_s);
        QVERIFY(e.finestra->chiusa());
        QCOMPARE(e.banco.db.count(u"CorsiProp"_s), 0);
    }

    void aFailedWriteOffersRetryAndCancelClosesTheEditor_data()
    {
        QTest::addColumn<bool>("debug");
        QTest::addColumn<bool>("nuovo");
        QTest::newRow("stored course") << false << false;
        QTest::newRow("new course") << false << true;
        QTest::newRow("DEBUG") << true << false;
    }
    void aFailedWriteOffersRetryAndCancelClosesTheEditor()
    {
        QFETCH(bool, debug);
        QFETCH(bool, nuovo);
        Editore e;
        e.banco.corso(2, u"0001"_s, 100);
        if (debug)
            e.banco.test.commandLine.args = QStringList{u"DEBUG"_s};
        e.apri();
        e.banco.db.execute(
            u"CREATE TRIGGER Rifiuta BEFORE UPDATE ON CorsiProp BEGIN SELECT RAISE(ABORT, 'rifiutato'); END"_s);
        e.banco.db.execute(
            u"CREATE TRIGGER RifiutaNuovo BEFORE INSERT ON CorsiProp BEGIN SELECT RAISE(ABORT, 'rifiutato'); END"_s);
        if (nuovo) {
            press(e.w(), u"cmdInserisci"_s);
            e.compila();
        } else {
            e.scrivi(u"txtDurataOre"_s, u"150"_s);
        }
        const QString testo =
            debug ? u"Resume"_s
                  : testoErroreAggiornamento(RoutineError(
                        ErrorCode::Unspecified,
                        u"Il motore di database ha rifiutato i valori del record (rifiutato)."_s));
        e.prompt().expect(testo, Answer::Retry);
        e.prompt().expect(testo, Answer::Cancel);
        press(e.w(), u"cmdSalva"_s);
        for (const ShownBox &riquadro : e.prompt().shown()) {
            QCOMPARE(riquadro.buttons, Prompt::Buttons::RetryCancel);
            QCOMPARE(riquadro.title, debug ? QString() : u"AggQuery - Accesso concorrente"_s);
        }
        QVERIFY(e.finestra->chiusa());
        QVERIFY(e.prompt().allShown());
        QCOMPARE(e.banco.codici(2), QStringList{u"0001"_s});
        QCOMPARE(e.banco.valore(2, u"0001"_s, u"TotOreIter"_s).toInt(), 100);
        QTRY_VERIFY(!e.finestra->isVisible());
    }

    void aCourseSavedMeanwhileByAnotherInstallationAsksBeforeWritingOverIt_data()
    {
        QTest::addColumn<Answer>("risposta");
        QTest::newRow("Yes writes the course") << Answer::Yes;
        QTest::newRow("No shows the course as stored") << Answer::No;
    }
    void aCourseSavedMeanwhileByAnotherInstallationAsksBeforeWritingOverIt()
    {
        QFETCH(Answer, risposta);
        Editore e;
        e.banco.corso(2, u"0001"_s, 100);
        e.apri();
        e.banco.db.execute(u"UPDATE CorsiProp SET TotOreIter = 90 WHERE Corso = '0001'"_s);
        e.scrivi(u"txtDurataOre"_s, u"150"_s);
        e.prompt().expect(RigaModificata, risposta);
        press(e.w(), u"cmdSalva"_s);
        QVERIFY(e.prompt().allShown());
        const ShownBox domanda = e.prompt().shown().front();
        QCOMPARE(domanda.title, u"Accesso concorrente"_s);
        QCOMPARE(domanda.icon, Prompt::Icon::Warning);
        QCOMPARE(domanda.buttons, Prompt::Buttons::YesNo);
        const QString ore = risposta == Answer::Yes ? u"150"_s : u"90"_s;
        QCOMPARE(e.banco.valore(2, u"0001"_s, u"TotOreIter"_s).toString(), ore);
        QCOMPARE(e.testo(u"txtDurataOre"_s), ore);
        QCOMPARE(e.testo(u"lblCorso"_s), u"0001"_s);

        // The course on screen is now the one read: saving it again asks nothing, nor does leaving.
        press(e.w(), u"cmdSalva"_s);
        press(e.w(), u"cmdEsci"_s);
        QVERIFY(e.finestra->chiusa());
        QCOMPARE(e.prompt().shown().size(), 1);
    }

    void aCourseThatTookTheCodeOfTheOneShownIsNeitherWrittenNorDeleted_data()
    {
        QTest::addColumn<QString>("comando");
        QTest::newRow("save") << u"cmdSalva"_s;
        QTest::newRow("delete") << u"cmdElimina"_s;
    }
    void aCourseThatTookTheCodeOfTheOneShownIsNeitherWrittenNorDeleted()
    {
        QFETCH(QString, comando);
        Editore e;
        e.banco.corso(2, u"0002"_s, 100, u"{GUID-MOSTRATO}"_s);
        e.banco.corso(2, u"0005"_s, 50);
        e.apri();
        // Another installation deletes the course on screen, then stores a course that gets its code.
        e.banco.db.execute(u"DELETE FROM CorsiProp WHERE Corso = '0002'"_s);
        e.banco.corso(2, u"0002"_s, 70, u"{GUID-ALTRO}"_s);
        if (comando == u"cmdSalva"_s) {
            e.scrivi(u"txtDurataOre"_s, u"150"_s);
            e.prompt().expect(Reinserire, Answer::No);
        } else {
            e.prompt().expect(ConfermaCancellazione, Answer::Yes);
            e.prompt().expect(GiaCancellato);
        }
        press(e.w(), comando);
        QVERIFY(e.prompt().allShown());
        QCOMPARE(e.prompt().shown().last().title, u"Accesso concorrente"_s);
        QCOMPARE(e.banco.codici(2), (QStringList{u"0002"_s, u"0005"_s}));
        QCOMPARE(e.banco.valore(2, u"0002"_s, u"Guid"_s).toString(), u"{GUID-ALTRO}"_s);
        QCOMPARE(e.banco.valore(2, u"0002"_s, u"TotOreIter"_s).toInt(), 70);
        if (comando == u"cmdSalva"_s)
            QCOMPARE(e.testo(u"txtDurataOre"_s), u"70"_s);
    }

    void aCourseMovedByAnotherInstallationIsNotStoredTwice_data()
    {
        QTest::addColumn<int>("sede");
        QTest::addColumn<QString>("corso");
        QTest::newRow("to another seat") << 3 << u"0004"_s;
        QTest::newRow("under another code") << 2 << u"0007"_s;
    }
    void aCourseMovedByAnotherInstallationIsNotStoredTwice()
    {
        QFETCH(int, sede);
        QFETCH(QString, corso);
        Editore e;
        e.banco.corso(2, u"0002"_s, 100, u"{GUID-SPOSTATO}"_s);
        e.banco.corso(2, u"0005"_s, 50);
        e.apri();
        e.banco.db.execute(u"UPDATE CorsiProp SET SedeInteressata = ?, Corso = ? WHERE Corso = '0002'"_s,
                           {sede, corso});
        e.scrivi(u"txtDurataOre"_s, u"150"_s);
        e.prompt().expect(u"Il corso è stato spostato da un altro operatore nella sede "_s +
                          QString::number(sede) + u" con il codice "_s + corso +
                          u".\r\nLe modifiche non sono state salvate."_s);
        press(e.w(), u"cmdSalva"_s);
        QVERIFY(e.prompt().allShown());
        const ShownBox avviso = e.prompt().shown().front();
        QCOMPARE(avviso.title, u"Accesso concorrente"_s);
        QCOMPARE(avviso.icon, Prompt::Icon::Warning);
        QCOMPARE(avviso.buttons, Prompt::Buttons::Ok);
        QCOMPARE(
            e.banco.db.scalar(u"SELECT COUNT(*) FROM CorsiProp WHERE Guid = '{GUID-SPOSTATO}'"_s).toInt(), 1);
        QCOMPARE(e.banco.valore(sede, corso, u"TotOreIter"_s).toInt(), 100);
        // The editor shows the seat's courses as stored now.
        QCOMPARE(e.testo(u"lblCorso"_s), u"0005"_s);
        QCOMPARE(e.testo(u"txtDurataOre"_s), u"50"_s);
    }
};

QTEST_MAIN(TestCorsiComandi)
#include "tst_CorsiComandi.moc"
