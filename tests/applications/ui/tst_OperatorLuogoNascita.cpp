#include "TestContext.h"
#include "WindowTesting.h"
#include "applications/ui/Operator.h"
#include "core/state/CurrentApplication.h"
#include "tests/applications/BancoLuoghi.h"
#include "tests/applications/BancoOperatore.h"

#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

using namespace kx;

namespace {

const QString NonTrovato = u"Il comune/stato estero inserito non è stato trovato nell'elenco\r\n"
                           u"dei comuni italiani/stati esteri. Mantenere la denominazione inserita ?"_s;
const QString Estero = u"La denominazione inserita corrisponde ad uno stato estero?\r\n"
                       u"Rispondendo NO la denominazione sarà considerata un comune italiano."_s;

/** The operator's card over the fixture's municipalities and states, shown and active. */
struct Banco : BancoOperatore
{
    Banco() { caricaLuoghi(db); }
};

QLineEdit *box(QWidget *w, const QString &name)
{
    return control<QLineEdit>(w, name);
}

void mostra(Operator &w)
{
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

/** Types a new birth place into its box, as the user does after entering it. */
void digita(Operator &w, const QString &testo)
{
    QLineEdit *luogo = box(&w, u"txtcomleg"_s);
    luogo->setFocus();
    QTRY_VERIFY(luogo->hasFocus());
    luogo->selectAll();
    QTest::keyClick(luogo, Qt::Key_Delete);
    QTest::keyClicks(luogo, testo);
}

QString colonna(Banco &banco, const QString &nome)
{
    return banco.db.scalar(u"SELECT "_s + nome + u" FROM Domande WHERE NumDoma=7"_s).toString();
}

} // namespace

class TestOperatorLuogoNascita : public QObject
{
    Q_OBJECT

private slots:
    void leavingTheBoxChecksTheName()
    {
        Banco banco;
        Operator w(banco.test.context());
        mostra(w);
        QLineEdit *luogo = box(&w, u"txtcomleg"_s);
        QLineEdit *provincia = box(&w, u"txtProvLeg"_s);

        digita(w, u"aosta"_s);
        QCOMPARE(luogo->text(), u"AOSTA"_s);
        QTest::keyClick(luogo, Qt::Key_Tab);
        QCOMPARE(provincia->text(), u"AO"_s);
        QVERIFY(provincia->isEnabled());

        digita(w, u"Costa d'Avorio"_s);
        QTest::keyClick(luogo, Qt::Key_Tab);
        QCOMPARE(provincia->text(), QString());
        QVERIFY(!provincia->isEnabled());

        // Found in neither table: No sends the user back, and leaving unchanged asks again.
        digita(w, u"borgo nuovo"_s);
        banco.test.prompt.expect(NonTrovato, Prompt::Answer::No);
        QTest::keyClick(luogo, Qt::Key_Tab);
        QTRY_VERIFY(luogo->hasFocus());
        banco.test.prompt.expect(NonTrovato, Prompt::Answer::Yes);
        banco.test.prompt.expect(Estero, Prompt::Answer::No);
        QTest::keyClick(luogo, Qt::Key_Tab);
        QVERIFY(banco.test.prompt.allShown());

        // A municipality missing from the table: its province is typed.
        QTRY_VERIFY(provincia->hasFocus());
        QVERIFY(provincia->isEnabled());
        QVERIFY(!provincia->isReadOnly());
        QTest::keyClicks(provincia, u"bnx"_s);
        QCOMPARE(provincia->text(), u"BN"_s);
        press(&w, u"cmdSalva"_s);
        QCOMPARE(colonna(banco, u"LegComNasc"_s), u"BORGO NUOVO"_s);
        QCOMPARE(colonna(banco, u"LegProvNasc"_s), u"BN"_s);

        // The next look-up that fills it locks it again.
        digita(w, u"roma"_s);
        QTest::keyClick(luogo, Qt::Key_Tab);
        QCOMPARE(provincia->text(), u"RM"_s);
        QVERIFY(provincia->isReadOnly());
    }

    void clearingInReadOnlyEnablesNothing()
    {
        Banco banco;
        banco.riga({{u"LegProvNasc"_s, u""_s}, {u"LegComNasc"_s, u"FRANCIA"_s}});
        banco.test.context().domanda().DomandaStampataCorrente = true;
        banco.test.prompt.expect(
            u"Domanda già inviata alla Provincia\r\nNon sarà possibile modificare i dati\r\ndell' operatore"_s);
        Operator w(banco.test.context());
        box(&w, u"txtcomleg"_s)->clear();
        QVERIFY(!box(&w, u"txtProvLeg"_s)->isEnabled());
    }

    void thePickerButtons_data()
    {
        QTest::addColumn<QString>("pulsante");
        QTest::addColumn<QString>("finestra");
        QTest::addColumn<QString>("ricerca");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<bool>("scelto");
        QTest::addColumn<QString>("luogo");
        QTest::addColumn<QString>("provincia");
        QTest::addColumn<bool>("abilitata");

        QTest::newRow("Comune, chosen") << u"cmdComuNasc"_s << u"TabComu"_s << u"txtRicComu"_s << u"FORL"_s
                                        << true << u"Forlì"_s << u"FC"_s << true;
        QTest::newRow("Comune, left") << u"cmdComuNasc"_s << u"TabComu"_s << u"txtRicComu"_s << u"FORL"_s
                                      << false << u"TORINO"_s << u"TO"_s << true;
        QTest::newRow("Stato Estero, chosen") << u"cmdStatoEstero"_s << u"TabNaz"_s << u"txtRicNaz"_s
                                              << u"AUS"_s << true << u"AUSTRIA"_s << u""_s << false;
        QTest::newRow("Stato Estero, left") << u"cmdStatoEstero"_s << u"TabNaz"_s << u"txtRicNaz"_s
                                            << u"AUS"_s << false << u"TORINO"_s << u"TO"_s << true;
    }

    void thePickerButtons()
    {
        QFETCH(QString, pulsante);
        QFETCH(QString, finestra);
        QFETCH(QString, ricerca);
        QFETCH(QString, testo);
        QFETCH(bool, scelto);
        QFETCH(QString, luogo);
        QFETCH(QString, provincia);
        QFETCH(bool, abilitata);

        Banco banco;
        Operator w(banco.test.context());
        mostra(w);
        bool puntatoreNormale = false;
        banco.test.dialogRunner.expect(finestra, [&](QDialog &picker) {
            puntatoreNormale = QGuiApplication::overrideCursor() == nullptr;
            control<QLineEdit>(&picker, ricerca)->setText(testo);
            press(&picker, u"cmdCerca2"_s);
            press(&picker, scelto ? u"cmdSele2"_s : u"cmdEsci2"_s);
        });
        press(&w, pulsante);

        QVERIFY(banco.test.dialogRunner.allRun());
        QVERIFY(puntatoreNormale);
        QCOMPARE(box(&w, u"txtcomleg"_s)->text(), luogo);
        QCOMPARE(box(&w, u"txtProvLeg"_s)->text(), provincia);
        QCOMPARE(box(&w, u"txtProvLeg"_s)->isEnabled(), abilitata);
        QVERIFY(box(&w, u"txtProvLeg"_s)->isReadOnly());
        QVERIFY(banco.test.prompt.shown().isEmpty());
    }

    void clickingSalvaWhileInTheBirthPlace_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<bool>("domanda");
        QTest::addColumn<QString>("salvato");
        QTest::addColumn<QString>("provincia");

        QTest::newRow("found: the click saves") << u"AOSTA"_s << false << u"AOSTA"_s << u"AO"_s;
        QTest::newRow("a question: the click is not carried out")
            << u"BORGO NUOVO"_s << true << u"TORINO"_s << u"TO"_s;
    }

    void clickingSalvaWhileInTheBirthPlace()
    {
        QFETCH(QString, testo);
        QFETCH(bool, domanda);
        QFETCH(QString, salvato);
        QFETCH(QString, provincia);

        Banco banco;
        Operator w(banco.test.context());
        mostra(w);
        digita(w, testo);
        if (domanda)
            banco.test.prompt.expect(NonTrovato, Prompt::Answer::No);
        QTest::mouseClick(control<QWidget>(&w, u"cmdSalva"_s), Qt::LeftButton);

        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(colonna(banco, u"LegComNasc"_s), salvato);
        QCOMPARE(colonna(banco, u"LegProvNasc"_s), provincia);
        if (!domanda)
            return;
        QTRY_VERIFY(box(&w, u"txtcomleg"_s)->hasFocus());
        // Pressed again, the button works; the name is asked about again first.
        banco.test.prompt.expect(NonTrovato, Prompt::Answer::Yes);
        banco.test.prompt.expect(Estero, Prompt::Answer::Yes);
        QTest::qWait(0);
        QTest::mouseClick(control<QWidget>(&w, u"cmdSalva"_s), Qt::LeftButton);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(colonna(banco, u"LegComNasc"_s), u"TORINO"_s);
        QTest::qWait(0);
        QTest::mouseClick(control<QWidget>(&w, u"cmdSalva"_s), Qt::LeftButton);
        QCOMPARE(colonna(banco, u"LegComNasc"_s), u"BORGO NUOVO"_s);
        QCOMPARE(colonna(banco, u"LegProvNasc"_s), u""_s);
    }
};

QTEST_MAIN(TestOperatorLuogoNascita)
#include "tst_OperatorLuogoNascita.moc"
