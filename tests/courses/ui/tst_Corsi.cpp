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

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QTest>

using namespace kx;

namespace {

using Answer = Prompt::Answer;

const QString NessunCorso = u"Nessun corso.\r\nVuoi inserirne uno ? "_s;
const QString NessunCorsoDopoCancellazione = u" Nessun corso \r\n Vuoi inserirne uno ? "_s;
const QString CorsoInserito = u"VERIFICHE OK\r\nCorso inserito"_s;
const QString CorsoDuplicato = u"Verifiche OK.\r\nCorso duplicato"_s;
const QString ConfermaCancellazione = u"Confermi cancellazione corso?"_s;
const QString DomandaUscita = u"Sono stati modificati uno o più dati del corso\r\nSalvare le modifiche ?"_s;
const QString SolaLettura =
    u"Domanda già inviata alla Provincia\r\nNon sarà possibile modificare i dati dei corsi"_s;
const QString Reinserire =
    u"Il record che si sta cercando di aggiornare è stato cancellato da un altro operatore.\r\nReinserire il record?"_s;
const QString Anomalia = u"Il corso che si sta cercando di visualizzare presenta delle anomalie.\r\n"
                         u"Alcuni dati non sono più presenti negli elenchi: verificarli prima di salvare."_s;

const QStringList Azioni{u"cmdInserisci"_s, u"cmdDuplica"_s, u"cmdElimina"_s, u"cmdSalva"_s,
                         u"cmdStampa"_s,    u"cmdAiuto"_s,   u"cmdEsci"_s};
const QStringList Navigazione{u"cmdFirst"_s, u"cmdPrevious"_s, u"cmdNext"_s, u"cmdLast"_s, u"cmdVai"_s};

/** The editor over the fixture, opened and shown as SelComp shows it. */
struct Editore
{
    BancoEditore banco;
    std::unique_ptr<Corsi> finestra;

    explicit Editore(int sede = 2) { banco.sede(sede); }

    Context &context() { return banco.test.context(); }
    ScriptedPrompt &prompt() { return banco.test.prompt; }

    void apri()
    {
        finestra = std::make_unique<Corsi>(context());
        finestra->show();
    }
    QWidget *w() { return finestra.get(); }

    QString testo(const QString &nome)
    {
        if (auto *etichetta = w()->findChild<QLabel *>(nome))
            return etichetta->text();
        if (auto *box = w()->findChild<QLineEdit *>(nome))
            return box->text();
        return control<QComboBox>(w(), nome)->currentText();
    }
    void scrivi(const QString &nome, const QString &valore)
    {
        control<QLineEdit>(w(), nome)->setText(valore);
    }
    bool acceso(const QString &nome) { return control<QWidget>(w(), nome)->isEnabled(); }

    /** The enabled buttons of a set, each checked to show the picture of its state. */
    QStringList accesi(const QStringList &pulsanti)
    {
        QStringList elenco;
        for (const QString &nome : pulsanti) {
            auto *pulsante = control<ImageButton>(w(), nome);
            const QString atteso =
                pulsante->isEnabled() ? pulsante->pictureName() : pulsante->pictureName() + u'D';
            if (pulsante->shownPicture() != atteso)
                throw UnexpectedCall(nome + u" shows "_s + pulsante->shownPicture());
            if (pulsante->isEnabled())
                elenco.append(nome);
        }
        return elenco;
    }

    /** The user picks the entry that begins with the text. */
    void scegli(const QString &nome, const QString &inizio)
    {
        QComboBox *lista = control<QComboBox>(w(), nome);
        for (int i = 0; i < lista->count(); ++i) {
            if (lista->itemText(i).startsWith(inizio)) {
                lista->setCurrentIndex(i);
                emit lista->activated(i);
                return;
            }
        }
        throw UnexpectedCall(nome + u" has no entry "_s + inizio);
    }

    /** What the user fills in a new blank course for it to pass the checks, the reference as the picker gives
     * it. */
    void compila(const QString &ore = u"50"_s)
    {
        scegli(u"CmbCicloFin"_s, u"2021"_s);
        scrivi(u"txtNumAll"_s, u"1"_s);
        scrivi(u"txtDurataOre"_s, ore);
        scegli(u"cmbDurata"_s, u"1"_s);
        control<QLabel>(w(), u"lblidattivita_CorsoRifB111"_s)->setText(u"4711"_s);
        scrivi(u"txtCorsoRifB111"_s, u"3 - 1 - 2 - CORSO APPROVATO DI RIFERIMENTO"_s);
    }
};

} // namespace

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
        e.prompt().expect(NessunCorso, risposta);
        e.apri();
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
        const QByteArray prima = QTest::toString(e.banco.db.query(u"SELECT * FROM CorsiProp"_s).rows.size());
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
        QCOMPARE(QTest::toString(e.banco.db.query(u"SELECT * FROM CorsiProp"_s).rows.size()), prima);
    }

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

    void aFailedCheckKeepsTheNewCoursePending()
    {
        Editore e;
        e.banco.corso(2, u"0001"_s);
        e.apri();
        press(e.w(), u"cmdInserisci"_s);
        e.compila();
        e.scrivi(u"txtNumAll"_s, u"0"_s);
        e.prompt().expect(u"Inserire il N. ALLIEVI PREVISTI"_s);
        press(e.w(), u"cmdSalva"_s);
        QCOMPARE(e.banco.codici(2), QStringList{u"0001"_s});
        QCOMPARE(e.testo(u"lblCorso"_s), u" ---- "_s);
        QCOMPARE(e.accesi(Azioni), (QStringList{u"cmdSalva"_s, u"cmdAiuto"_s, u"cmdEsci"_s}));
        QVERIFY(e.prompt().allShown());
    }

    void aSeatWithTheLastCodeRefusesANewCourse()
    {
        Editore e;
        e.banco.corso(2, u"9999"_s);
        e.apri();
        press(e.w(), u"cmdInserisci"_s);
        e.compila();
        e.prompt().expect(TestoCodiciEsauriti);
        press(e.w(), u"cmdSalva"_s);
        QCOMPARE(e.prompt().shown().last().title, u"Inserimento Corso"_s);
        QCOMPARE(e.banco.codici(2), QStringList{u"9999"_s});
        QCOMPARE(e.testo(u"lblCorso"_s), u" ---- "_s);
        QVERIFY(e.acceso(u"cmdSalva"_s) && !e.acceso(u"cmdInserisci"_s));
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
        e.prompt().expect(
            u"Il record che si è deciso di eliminare è già stato cancellato da un altro operatore. "_s);
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
        QCOMPARE(e.banco.test.help.topics, QList<int>{22000});
    }
};

QTEST_MAIN(TestCorsi)
#include "tst_Corsi.moc"
