#include "WindowTesting.h"
#include "core/state/CurrentApplication.h"
#include "core/ui/ImageButton.h"
#include "courses/CorsoRiferimento.h"
#include "courses/CourseRecord.h"
#include "courses/CourseStore.h"
#include "courses/NavigaCorsi.h"
#include "courses/ui/Corsi.h"
#include "tests/courses/BancoCorsiApprovati.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace kx;

namespace {

const QString Ciclo2021 = u"2021  PROGRAMMAZIONE 2021"_s;
const QString Ciclo2014 = u"2014  PROGRAMMAZIONE 2014"_s;
const QString NonPresente = u"Il corso selezionato non è più presente."_s;
const QString SolaLettura =
    u"Domanda già inviata alla Provincia\r\nNon sarà possibile modificare i dati dei corsi"_s;
const QString TroppeOre = u"Per i LARSA la durata massima è pari a 200 ore."_s;

/** The navigation buttons with their pictures, in the window's order. */
const QList<std::pair<QString, QString>> Pulsanti{{u"cmdFirst"_s, u"imgPrimo"_s},
                                                  {u"cmdPrevious"_s, u"imgDietro"_s},
                                                  {u"cmdNext"_s, u"imgAvanti"_s},
                                                  {u"cmdLast"_s, u"imgUltimo"_s},
                                                  {u"cmdVai"_s, u"imgVai"_s}};

/** A LARSA course of one pupil for 200 hours of the cycle, referring to approved course 5001. */
CourseForm corso(const QString &sede, const QString &ciclo)
{
    CourseForm form;
    form.NumDoma = 7;
    form.GrupOpe = u"A"_s;
    form.Operatore = u"12"_s;
    form.Sede = sede;
    form.CmbCicloFin = ciclo;
    form.cmbAsse = u"1  OCCUPAZIONE"_s;
    form.cmbMisura = u"8II  ORIENTAMENTO"_s;
    form.cmbAzione = u"2.04.07  LARSA"_s;
    form.cmbDenCorso = u"LARSA - Formazione / Scuola"_s;
    form.cmbDest = u"12  DISABILI"_s;
    form.txtNumAll = u"1"_s;
    form.txtDurataOre = u"200"_s;
    form.cmbDurata = u"1"_s;
    form.lblidattivita_CorsoRifB111 = u"5001"_s;
    form.txtCorsoRifB111 = u"riferimento"_s;
    return form;
}

/**
 * The approved courses, and stored courses at the components: seat 1 holds 2, seat 2 holds 3, seat 3
 * holds 5, whose second is of cycle 2014.
 */
struct Banco : BancoCorsiApprovati
{
    Banco()
    {
        CourseStore store(connessione());
        for (const auto &[sede, corsi] : {std::pair{u"1"_s, 2}, {u"2"_s, 3}, {u"3"_s, 5}})
            for (int i = 0; i < corsi; ++i)
                store.insert(buildCourseRecord(corso(sede, sede == u"3" && i == 1 ? Ciclo2014 : Ciclo2021)));
    }

    /** The editor on the seat, shown and active, as SelComp opens it, past its first activation. */
    std::unique_ptr<Corsi> apri(const QString &sede)
    {
        corsi().impostaSede(7, sede, u"SEDE "_s + sede);
        auto finestra = std::make_unique<Corsi>(test.context());
        finestra->show();
        QApplication::setActiveWindow(finestra.get());
        if (QTest::qWaitForWindowExposed(finestra.get()))
            QCoreApplication::processEvents();
        return finestra;
    }

    QVariant colonna(const QString &sede, const QString &codice, const QString &nome)
    {
        return db.scalar(u"SELECT "_s + nome +
                             u" FROM CorsiProp WHERE NumDoma = 7 AND SedeInteressata = ? AND Corso = ?"_s,
                         {sede.toInt(), codice});
    }
};

QString corsoMostrato(QWidget *w)
{
    return control<QLabel>(w, u"lblCorso"_s)->text();
}

/** The five buttons as "1" (enabled with its picture) and "0" (disabled with its "D" picture). */
QString statoPulsanti(QWidget *w)
{
    QString stato;
    for (const auto &[nome, immagine] : Pulsanti) {
        auto *pulsante = control<ImageButton>(w, nome);
        const bool acceso = pulsante->isEnabled();
        if (pulsante->shownPicture() != (acceso ? immagine : immagine + u'D'))
            return nome + u" shows "_s + pulsante->shownPicture();
        stato += acceso ? u'1' : u'0';
    }
    return stato;
}

QString testoStato(StatoNavigazione stato)
{
    switch (stato) {
    case StatoNavigazione::Primo:
        return u"00111"_s;
    case StatoNavigazione::Ultimo:
        return u"11001"_s;
    case StatoNavigazione::Intermedio:
        return u"11111"_s;
    case StatoNavigazione::Disabilitata:
        break;
    }
    return u"00000"_s;
}

QString codice(int posizione)
{
    return u"%1"_s.arg(posizione + 1, 4, 10, QChar(u'0'));
}

QLineEdit *casella(QWidget *w, const QString &nome)
{
    return control<QLineEdit>(w, nome);
}

QComboBox *lista(QWidget *w, const QString &nome)
{
    return control<QComboBox>(w, nome);
}

/** Picks the entry of a list as a user does. */
void scegli(QWidget *w, const QString &nome, const QString &voce)
{
    QComboBox *combo = lista(w, nome);
    const int i = combo->findText(voce);
    if (i < 0)
        throw UnexpectedCall(u"%1 has no entry %2"_s.arg(nome, voce));
    combo->setCurrentIndex(i);
    emit combo->activated(i);
}

/** The course list's driver: chooses the item of the code (after `prima`), then Conferma. */
ScriptedDialogRunner::Driver sceltaCorso(const QString &corso, std::function<void()> prima = {})
{
    return [corso, prima](QDialog &elenco) {
        if (prima)
            prima();
        auto *voci = control<QListWidget>(&elenco, u"lstAllCorsi"_s);
        for (int i = 0; i < voci->count(); ++i)
            if (voci->item(i)->text().startsWith(corso + u' '))
                voci->setCurrentRow(i);
        press(&elenco, u"cmdSele2"_s);
    };
}

/** The picker's driver: the row of the approved course, then Conferma. */
ScriptedDialogRunner::Driver sceltaApprovato(int idAttivita)
{
    return [idAttivita](QDialog &picker) {
        auto *griglia = control<QTableView>(&picker, u"GrdCorsi"_s);
        QAbstractItemModel *m = griglia->model();
        for (int riga = 0; riga < m->rowCount(); ++riga)
            if (m->index(riga, 0).data().toInt() == idAttivita)
                griglia->setCurrentIndex(m->index(riga, 9));
        press(&picker, u"cmdSele2"_s);
    };
}

/** The picker button, on the second tab. */
void premiRiferimento(QWidget *w)
{
    control<QTabWidget>(w, u"SSTab1"_s)->setCurrentIndex(1);
    press(w, u"cmdCorsoRifB111"_s);
}

const QStringList EtichetteRiferimento{u"lblidattivita_CorsoRifB111"_s, u"lblTotOreIter"_s,
                                       u"lblDurataAnnuale"_s, u"lblDurataTotIter"_s, u"lblTipoConv"_s};

QStringList etichette(QWidget *w)
{
    QStringList testi;
    for (const QString &nome : EtichetteRiferimento)
        testi.append(control<QLabel>(w, nome)->text());
    return testi;
}

} // namespace

class TestCorsiNavigazione : public QObject
{
    Q_OBJECT

private:
    /** The moves write nothing: their rows share one database. */
    std::unique_ptr<Banco> m_condiviso;

private slots:
    void initTestCase() { m_condiviso = std::make_unique<Banco>(); }
    void cleanupTestCase() { m_condiviso.reset(); }

    void eachMoveFromEachPosition_data()
    {
        QTest::addColumn<QString>("sede");
        QTest::addColumn<int>("da");
        QTest::addColumn<QString>("pulsante");
        QTest::addColumn<int>("a");
        QTest::addColumn<QString>("pulsanti");

        const QList<std::pair<QString, int>> sedi{{u"1"_s, 2}, {u"2"_s, 3}, {u"3"_s, 5}};
        for (const auto &voce : sedi) {
            // Named copies: a lambda may not capture a structured binding before clang 16.
            const QString sede = voce.first;
            const int corsi = voce.second;
            for (int da = 0; da < corsi; ++da) {
                const auto riga = [&](const char *pulsante, int a) {
                    const StatoNavigazione stato = a == 0           ? StatoNavigazione::Primo
                                                   : a == corsi - 1 ? StatoNavigazione::Ultimo
                                                                    : StatoNavigazione::Intermedio;
                    QTest::addRow("%d courses, from %d, %s", corsi, da + 1, pulsante)
                        << sede << da << QString::fromLatin1(pulsante) << a << testoStato(stato);
                };
                if (da > 0) {
                    riga("cmdFirst", 0);
                    riga("cmdPrevious", da - 1);
                }
                if (da < corsi - 1) {
                    riga("cmdNext", da + 1);
                    riga("cmdLast", corsi - 1);
                }
            }
        }
    }

    void eachMoveFromEachPosition()
    {
        QFETCH(QString, sede);
        QFETCH(int, da);
        QFETCH(QString, pulsante);
        QFETCH(int, a);
        QFETCH(QString, pulsanti);

        Banco &banco = *m_condiviso;
        auto w = banco.apri(sede);
        QCOMPARE(corsoMostrato(w.get()), codice(0));
        QCOMPARE(statoPulsanti(w.get()), testoStato(StatoNavigazione::Primo));
        for (int i = 0; i < da; ++i)
            press(w.get(), u"cmdNext"_s);
        QCOMPARE(corsoMostrato(w.get()), codice(da));

        press(w.get(), pulsante);
        QCOMPARE(corsoMostrato(w.get()), codice(a));
        QCOMPARE(banco.corsi().CorsoCorrente, codice(a));
        QCOMPARE(statoPulsanti(w.get()), pulsanti);
        QVERIFY(lista(w.get(), u"CmbCicloFin"_s)->isEnabled());
        QVERIFY(casella(w.get(), u"txtNumAll"_s)->isEnabled());
        QVERIFY(banco.test.prompt.shown().isEmpty());
    }

    void aChangedCourseIsSavedBeforeTheMoveWithoutAQuestion()
    {
        Banco banco;
        auto w = banco.apri(u"2"_s);
        casella(w.get(), u"txtNumAll"_s)->setText(u"2"_s);
        press(w.get(), u"cmdNext"_s);
        QCOMPARE(corsoMostrato(w.get()), u"0002"_s);
        QCOMPARE(banco.colonna(u"2"_s, u"0001"_s, u"NumAll"_s).toInt(), 2);
        QCOMPARE(banco.colonna(u"2"_s, u"0002"_s, u"NumAll"_s).toInt(), 1);
        QCOMPARE(statoPulsanti(w.get()), testoStato(StatoNavigazione::Intermedio));
    }

    void aCourseFailingItsCheckIsNotLeft()
    {
        Banco banco;
        auto w = banco.apri(u"2"_s);
        casella(w.get(), u"txtDurataOre"_s)->setText(u"300"_s);
        banco.test.prompt.expect(TroppeOre);
        press(w.get(), u"cmdLast"_s);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(corsoMostrato(w.get()), u"0001"_s);
        QCOMPARE(banco.colonna(u"2"_s, u"0001"_s, u"TotOreIter"_s).toInt(), 200);
        QCOMPARE(statoPulsanti(w.get()), testoStato(StatoNavigazione::Primo));
    }

    void readOnlyMovesWriteNothing()
    {
        Banco banco;
        banco.test.context().domanda().DomandaStampataCorrente = true;
        banco.test.prompt.expect(SolaLettura);
        auto w = banco.apri(u"3"_s);
        casella(w.get(), u"txtNumAll"_s)->setText(u"4"_s);
        press(w.get(), u"cmdNext"_s);
        QCOMPARE(corsoMostrato(w.get()), u"0002"_s);
        QCOMPARE(statoPulsanti(w.get()), testoStato(StatoNavigazione::Intermedio));
        press(w.get(), u"cmdLast"_s);
        QCOMPARE(corsoMostrato(w.get()), u"0005"_s);
        QCOMPARE(banco.colonna(u"3"_s, u"0001"_s, u"NumAll"_s).toInt(), 1);
        for (const QString &campo : {u"CmbCicloFin"_s, u"cmbAsse"_s, u"cmbAzione"_s, u"cmbDest"_s})
            QVERIFY2(!lista(w.get(), campo)->isEnabled(), qPrintable(campo));
        QVERIFY(!casella(w.get(), u"txtNumAll"_s)->isEnabled());
        QVERIFY(!casella(w.get(), u"txtDurataOre"_s)->isEnabled());
        QVERIFY(!control<QWidget>(w.get(), u"cmdCorsoRifB111"_s)->isEnabled());
    }

    void goToListsTheCoursesWithTheOneOnScreenSelected()
    {
        Banco banco;
        auto w = banco.apri(u"3"_s);
        press(w.get(), u"cmdNext"_s);
        press(w.get(), u"cmdNext"_s);
        banco.test.dialogRunner.expect(u"EleCorsi"_s, [](QDialog &elenco) {
            auto *voci = control<QListWidget>(&elenco, u"lstAllCorsi"_s);
            QCOMPARE(voci->count(), 5);
            QCOMPARE(voci->item(0)->text(), u"0001 LARSA - Formazione / Scuola"_s);
            QCOMPARE(voci->currentRow(), 2);
            voci->setCurrentRow(4);
            press(&elenco, u"cmdSele2"_s);
        });
        press(w.get(), u"cmdVai"_s);
        QVERIFY(banco.test.dialogRunner.allRun());
        QCOMPARE(corsoMostrato(w.get()), u"0005"_s);
        QCOMPARE(statoPulsanti(w.get()), testoStato(StatoNavigazione::Ultimo));
    }

    void goToWithAnnullaOrTheSameCourseNeitherSavesNorMoves_data()
    {
        QTest::addColumn<bool>("annulla");
        QTest::newRow("Annulla") << true;
        QTest::newRow("the course on screen") << false;
    }

    void goToWithAnnullaOrTheSameCourseNeitherSavesNorMoves()
    {
        QFETCH(bool, annulla);
        Banco banco;
        auto w = banco.apri(u"2"_s);
        press(w.get(), u"cmdNext"_s);
        casella(w.get(), u"txtNumAll"_s)->setText(u"3"_s);
        banco.test.dialogRunner.expect(u"EleCorsi"_s, [annulla](QDialog &elenco) {
            auto *voci = control<QListWidget>(&elenco, u"lstAllCorsi"_s);
            if (annulla) {
                voci->setCurrentRow(0);
                press(&elenco, u"cmdEsci2"_s);
            } else {
                press(&elenco, u"cmdSele2"_s);
            }
        });
        press(w.get(), u"cmdVai"_s);
        QCOMPARE(corsoMostrato(w.get()), u"0002"_s);
        QCOMPARE(casella(w.get(), u"txtNumAll"_s)->text(), u"3"_s);
        QCOMPARE(banco.colonna(u"2"_s, u"0002"_s, u"NumAll"_s).toInt(), 1);
        QCOMPARE(statoPulsanti(w.get()), testoStato(StatoNavigazione::Intermedio));
    }

    void goToSavesAChangedCourseFirst()
    {
        Banco banco;
        auto w = banco.apri(u"2"_s);
        casella(w.get(), u"txtNumAll"_s)->setText(u"3"_s);
        banco.test.dialogRunner.expect(u"EleCorsi"_s, sceltaCorso(u"0003"_s));
        press(w.get(), u"cmdVai"_s);
        QCOMPARE(corsoMostrato(w.get()), u"0003"_s);
        QCOMPARE(banco.colonna(u"2"_s, u"0001"_s, u"NumAll"_s).toInt(), 3);
    }

    void goToReachesACourseAddedByAnotherInstallation()
    {
        Banco banco;
        auto w = banco.apri(u"1"_s);
        QCOMPARE(statoPulsanti(w.get()), testoStato(StatoNavigazione::Primo));
        // Another installation stores a course after the editor read its rows.
        Connection altra;
        altra.open(banco.db.path(), Connection::Mode::Shared);
        CourseStore(altra).insert(buildCourseRecord(corso(u"1"_s, Ciclo2021)));
        altra.close();
        banco.test.dialogRunner.expect(u"EleCorsi"_s, sceltaCorso(u"0003"_s));
        press(w.get(), u"cmdVai"_s);
        QCOMPARE(corsoMostrato(w.get()), u"0003"_s);
        QCOMPARE(statoPulsanti(w.get()), testoStato(StatoNavigazione::Ultimo));
        press(w.get(), u"cmdPrevious"_s);
        QCOMPARE(corsoMostrato(w.get()), u"0002"_s);
        QCOMPARE(statoPulsanti(w.get()), testoStato(StatoNavigazione::Intermedio));
    }

    void goToACourseDeletedMeanwhileShowsTheFirst()
    {
        Banco banco;
        auto w = banco.apri(u"3"_s);
        press(w.get(), u"cmdLast"_s);
        banco.test.dialogRunner.expect(u"EleCorsi"_s, sceltaCorso(u"0003"_s, [&banco] {
                                           banco.db.execute(
                                               u"DELETE FROM CorsiProp WHERE SedeInteressata = 3 "
                                               u"AND Corso = '0003'"_s);
                                       }));
        banco.test.prompt.expect(NonPresente);
        press(w.get(), u"cmdVai"_s);
        const ShownBox box = banco.test.prompt.shown().constLast();
        QCOMPARE(box.title, u"Corsi proposti"_s);
        QCOMPARE(box.icon, Prompt::Icon::Information);
        QCOMPARE(corsoMostrato(w.get()), u"0001"_s);
        QCOMPARE(statoPulsanti(w.get()), testoStato(StatoNavigazione::Primo));
        press(w.get(), u"cmdNext"_s);
        press(w.get(), u"cmdNext"_s);
        QCOMPARE(corsoMostrato(w.get()), u"0004"_s);
    }

    void aStepToACourseDeletedMeanwhileShowsTheRowsAsStored()
    {
        Banco banco;
        auto w = banco.apri(u"3"_s);
        banco.db.execute(u"DELETE FROM CorsiProp WHERE SedeInteressata = 3 AND Corso = '0002'"_s);
        press(w.get(), u"cmdNext"_s);
        // The rows as stored now, from the first course, with the step buttons of the first.
        QCOMPARE(corsoMostrato(w.get()), u"0001"_s);
        QCOMPARE(statoPulsanti(w.get()), testoStato(StatoNavigazione::Primo));
    }

    void goToWhenTheSeatLostEveryCourse()
    {
        Banco banco;
        auto w = banco.apri(u"1"_s);
        banco.test.dialogRunner.expect(u"EleCorsi"_s, sceltaCorso(u"0002"_s, [&banco] {
                                           banco.db.execute(
                                               u"DELETE FROM CorsiProp WHERE SedeInteressata = 1"_s);
                                       }));
        banco.test.prompt.expect(NonPresente);
        press(w.get(), u"cmdVai"_s);
        QCOMPARE(corsoMostrato(w.get()), u" ---- "_s);
        QCOMPARE(statoPulsanti(w.get()), testoStato(StatoNavigazione::Disabilitata));
        QVERIFY(!lista(w.get(), u"CmbCicloFin"_s)->isEnabled());
        QVERIFY(control<QWidget>(w.get(), u"cmdInserisci"_s)->isEnabled());
    }

    void thePickerSetsTheReference()
    {
        Banco banco;
        auto w = banco.apri(u"2"_s);
        QCOMPARE(casella(w.get(), u"txtCorsoRifB111"_s)->text(),
                 u"2019-0001 - 3 - 2 - OPERATORE SOCIO SANITARIO PER LE ST"_s);
        banco.test.dialogRunner.expect(u"TabCorsiApprovati"_s, sceltaApprovato(5002));
        premiRiferimento(w.get());
        QVERIFY(banco.test.dialogRunner.allRun());
        QCOMPARE(casella(w.get(), u"txtCorsoRifB111"_s)->text(),
                 u"2019-0002 -  - 2 - CORSO DELL'ARTE BIANCA"_s);
        QCOMPARE(etichette(w.get()), (QStringList{u"5002"_s, QString(), QString(), QString(), QString()}));
        banco.test.dialogRunner.expect(u"TabCorsiApprovati"_s, sceltaApprovato(5003));
        premiRiferimento(w.get());
        QCOMPARE(etichette(w.get()), (QStringList{u"5003"_s, u"300"_s, u"300"_s, u"1"_s, u"CO"_s}));
        QCOMPARE(lista(w.get(), u"cmbDurata"_s)->currentText(), u"1"_s);
        QVERIFY(!lista(w.get(), u"cmbDurata"_s)->isEnabled());
        // The pick is a change of the course, saved before the next move.
        press(w.get(), u"cmdNext"_s);
        QCOMPARE(banco.colonna(u"2"_s, u"0001"_s, u"IdAttivita_CorsoRifB111"_s).toInt(), 5003);
    }

    void annullaInThePickerKeepsTheReference()
    {
        Banco banco;
        auto w = banco.apri(u"1"_s);
        const QString prima = casella(w.get(), u"txtCorsoRifB111"_s)->text();
        // Component 1 has no approved course.
        banco.test.prompt.expect(u"Nessun Corso Approvato scaricato. Impossibile selezionarne uno"_s);
        banco.test.dialogRunner.expect(u"TabCorsiApprovati"_s, [](QDialog &picker) {
            QVERIFY(!control<QWidget>(&picker, u"cmdSele2"_s)->isEnabled());
            press(&picker, u"cmdEsci2"_s);
        });
        premiRiferimento(w.get());
        QCOMPARE(casella(w.get(), u"txtCorsoRifB111"_s)->text(), prima);
        QCOMPARE(etichette(w.get()).constFirst(), u"5001"_s);
        QVERIFY(!banco.corsi().CorsoApprovatoScelto.scelto());
    }

    void pickingWithoutACycle()
    {
        Banco banco;
        auto w = banco.apri(u"2"_s);
        press(w.get(), u"cmdInserisci"_s);
        QCOMPARE(lista(w.get(), u"CmbCicloFin"_s)->currentText(), QString());
        QVERIFY(control<QWidget>(w.get(), u"cmdCorsoRifB111"_s)->isEnabled());
        banco.test.prompt.expect(TestoSelezionareCiclo);
        premiRiferimento(w.get());
        QVERIFY(banco.test.prompt.allShown());
        QVERIFY(banco.test.dialogRunner.allRun());
        QCOMPARE(casella(w.get(), u"txtCorsoRifB111"_s)->text(), QString());
    }

    void aNewCourseAtAnOccasionalSeatPicksAndIsStored()
    {
        Banco banco;
        banco.test.prompt.expect(u"Nessun corso.\r\nVuoi inserirne uno ? "_s, Prompt::Answer::Yes);
        auto w = banco.apri(u"1001"_s);
        scegli(w.get(), u"cmbCompoResp"_s, lista(w.get(), u"cmbCompoResp"_s)->itemText(1));
        scegli(w.get(), u"CmbCicloFin"_s, Ciclo2021);
        banco.test.dialogRunner.expect(u"TabCorsiApprovati"_s, [](QDialog &picker) {
            QCOMPARE(control<QTableView>(&picker, u"GrdCorsi"_s)->model()->rowCount(), 2);
            sceltaApprovato(5007)(picker);
        });
        premiRiferimento(w.get());
        casella(w.get(), u"txtNumAll"_s)->setText(u"1"_s);
        casella(w.get(), u"txtDurataOre"_s)->setText(u"100"_s);
        banco.test.prompt.expect(u"VERIFICHE OK\r\nCorso inserito"_s);
        press(w.get(), u"cmdSalva"_s);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.colonna(u"1001"_s, u"0001"_s, u"IdAttivita_CorsoRifB111"_s).toInt(), 5007);
    }

    void theCycleQuestion_data()
    {
        QTest::addColumn<bool>("si");
        QTest::newRow("Yes") << true;
        QTest::newRow("No") << false;
    }

    void theCycleQuestion()
    {
        QFETCH(bool, si);
        Banco banco;
        auto w = banco.apri(u"2"_s);
        const QString riferimento = casella(w.get(), u"txtCorsoRifB111"_s)->text();
        const QStringList nascoste = etichette(w.get());
        banco.test.prompt.expect(TestoCambioCiclo, si ? Prompt::Answer::Yes : Prompt::Answer::No);
        scegli(w.get(), u"CmbCicloFin"_s, Ciclo2014);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(lista(w.get(), u"CmbCicloFin"_s)->currentText(), si ? Ciclo2014 : Ciclo2021);
        QCOMPARE(banco.corsi().CicloFinanziarioCorrente, si ? u"2014"_s : u"2021"_s);
        QCOMPARE(casella(w.get(), u"txtCorsoRifB111"_s)->text(), si ? QString() : riferimento);
        QCOMPARE(etichette(w.get()), nascoste);
        if (!si)
            return;
        // Without a reference shown, the next change asks nothing.
        scegli(w.get(), u"CmbCicloFin"_s, Ciclo2021);
        QCOMPARE(banco.corsi().CicloFinanziarioCorrente, u"2021"_s);
    }

    void noKeepsTheCycleChosenBeforeForADuplicate()
    {
        Banco banco;
        auto w = banco.apri(u"3"_s);
        press(w.get(), u"cmdNext"_s);
        QCOMPARE(lista(w.get(), u"CmbCicloFin"_s)->currentText(), Ciclo2014);
        banco.test.prompt.expect(u"Verifiche OK.\r\nCorso duplicato"_s);
        press(w.get(), u"cmdDuplica"_s);
        banco.test.prompt.expect(TestoCambioCiclo, Prompt::Answer::Yes);
        scegli(w.get(), u"CmbCicloFin"_s, Ciclo2021);
        banco.test.dialogRunner.expect(u"TabCorsiApprovati"_s, sceltaApprovato(5005));
        premiRiferimento(w.get());
        // A second change, refused: back to the cycle chosen before it, not to the stored course's.
        banco.test.prompt.expect(TestoCambioCiclo, Prompt::Answer::No);
        scegli(w.get(), u"CmbCicloFin"_s, Ciclo2014);
        QCOMPARE(lista(w.get(), u"CmbCicloFin"_s)->currentText(), Ciclo2021);
        QCOMPARE(banco.corsi().CicloFinanziarioCorrente, u"2021"_s);
        QVERIFY(banco.test.prompt.allShown());
    }

    void showingCoursesOfOtherCyclesAsksNothing()
    {
        Banco banco;
        auto w = banco.apri(u"3"_s);
        QVERIFY(!casella(w.get(), u"txtCorsoRifB111"_s)->text().isEmpty());
        press(w.get(), u"cmdNext"_s);
        QCOMPARE(lista(w.get(), u"CmbCicloFin"_s)->currentText(), Ciclo2014);
        QCOMPARE(banco.corsi().CicloFinanziarioCorrente, u"2014"_s);
        press(w.get(), u"cmdNext"_s);
        QCOMPARE(lista(w.get(), u"CmbCicloFin"_s)->currentText(), Ciclo2021);
        banco.test.dialogRunner.expect(u"EleCorsi"_s, sceltaCorso(u"0002"_s));
        press(w.get(), u"cmdVai"_s);
        QCOMPARE(banco.corsi().CicloFinanziarioCorrente, u"2014"_s);
        QVERIFY(banco.test.prompt.shown().isEmpty());
    }
};

QTEST_MAIN(TestCorsiNavigazione)
#include "tst_CorsiNavigazione.moc"
