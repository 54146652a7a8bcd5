#include "TestContext.h"
#include "WindowTesting.h"
#include "core/state/Context.h"
#include "core/state/CourseEditorState.h"
#include "core/state/InstallationState.h"
#include "courses/ui/Corsi.h"
#include "courses/ui/SelComp.h"
#include "tests/courses/BancoEditore.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QTest>

using namespace kx;

namespace {

QStringList voci(QComboBox *lista)
{
    QStringList testi;
    for (int i = 0; i < lista->count(); ++i)
        testi.append(lista->itemText(i));
    return testi;
}

const QString Sede1 = u"1 - SEDE LEGALE - SL - VIA ROMA 1"_s;
const QString Sede2 = u"2 - SEDE OPERATIVA DI UN NOME MOLTO LUN - SO - VIA PO 2"_s;
const QString Sede3 = u"3 - TERZA - SO - "_s;
const QString Sede1001 = u"1001 - PALESTRA - UO - VIA SPORT"_s;
const QString Sede1002 = u"1002 - AULA MAGNA - UO - VIA SCUOLA"_s;

} // namespace

class TestSelComp : public QObject
{
    Q_OBJECT

private slots:
    void theSeatsOfTheApplicationWithTheLowestSeatWithCoursesChosen_data()
    {
        QTest::addColumn<QList<int>>("sediConCorsi");
        QTest::addColumn<int>("scelta");
        QTest::newRow("no course") << QList<int>() << -1;
        QTest::newRow("courses at 3 and 1001") << QList<int>{1001, 3} << 2;
    }
    void theSeatsOfTheApplicationWithTheLowestSeatWithCoursesChosen()
    {
        QFETCH(QList<int>, sediConCorsi);
        QFETCH(int, scelta);
        BancoEditore banco;
        for (const int sede : sediConCorsi)
            banco.corso(sede, u"0001"_s);
        SelComp finestra(banco.test.context());
        QCOMPARE(finestra.windowTitle(), u"Selezione Sede Interessata"_s);
        QCOMPARE(control<QLabel>(&finestra, u"lblDescri"_s)->text(),
                 u"Selezionare la Sede di svolgimento dei corsi"_s);
        QComboBox *sedi = control<QComboBox>(&finestra, u"cmbCompo"_s);
        QCOMPARE(voci(sedi), (QStringList{Sede1, Sede2, Sede3, Sede1001, Sede1002}));
        QCOMPARE(sedi->currentIndex(), scelta);
    }

    void conferma_data()
    {
        QTest::addColumn<int>("scelta");
        QTest::addColumn<QString>("sede");
        QTest::addColumn<QString>("descrizione");
        QTest::newRow("nothing chosen") << -1 << QString() << QString();
        QTest::newRow("a component") << 1 << u"2"_s
                                     << u"SEDE OPERATIVA DI UN NOME MOLTO LUN - SO - VIA PO 2"_s;
        QTest::newRow("an occasional seat") << 4 << u"1002"_s << u"AULA MAGNA - UO - VIA SCUOLA"_s;
    }
    void conferma()
    {
        QFETCH(int, scelta);
        QFETCH(QString, sede);
        QFETCH(QString, descrizione);
        BancoEditore banco;
        Context &context = banco.test.context();
        context.corsi().impostaSede(8, u"1"_s, u"PRIMA"_s);
        SelComp finestra(context);
        finestra.show();
        QComboBox *sedi = control<QComboBox>(&finestra, u"cmbCompo"_s);
        if (scelta >= 0) {
            sedi->setCurrentIndex(scelta);
            emit sedi->activated(scelta);
            banco.test.prompt.expect(u"Nessun corso.\r\nVuoi inserirne uno ? "_s, Prompt::Answer::No);
            banco.test.dialogRunner.expect(u"Corsi"_s, [&](QDialog &corsi) {
                QCOMPARE(control<QLabel>(&corsi, u"lblCompo"_s)->text(), sede);
                QVERIFY(!QGuiApplication::overrideCursor());
                // The editor asks once it is on screen.
                QTRY_VERIFY(banco.test.prompt.allShown());
                press(&corsi, u"cmdEsci"_s);
            });
        }
        press(&finestra, u"cmdConfer"_s);
        QVERIFY(banco.test.dialogRunner.allRun());
        QVERIFY(banco.test.prompt.allShown());
        const CourseEditorState &stato = context.corsi();
        if (scelta < 0) {
            QCOMPARE(stato.SedeCorrente, u"1"_s);
            QCOMPARE(stato.FiltroSedeCorrente, u"NumDoma=8 AND SedeInteressata=1"_s);
            return;
        }
        QCOMPARE(stato.SedeCorrente, sede);
        QCOMPARE(stato.DesSedeCorrente, descrizione);
        QCOMPARE(stato.FiltroSedeCorrente, u"NumDoma=7 AND SedeInteressata="_s + sede);
        // Back from the editor: the same list and choice.
        QCOMPARE(sedi->currentIndex(), scelta);
        QCOMPARE(sedi->count(), 5);
    }

    void theHelpTopicIsTheCourseEditors()
    {
        BancoEditore banco;
        banco.test.writeFile(u"KX58TORVA.htm"_s, "<html></html>");
        banco.test.context().installazione().FileAiuto = u"KX58TORVA.htm"_s;
        SelComp finestra(banco.test.context());
        finestra.show();
        QVERIFY(QTest::qWaitForWindowActive(&finestra));
        QTest::keyClick(&finestra, Qt::Key_F1);
        QCOMPARE(banco.test.help.topics, QList<int>{Corsi::ArgomentoAiuto});
    }
};

QTEST_MAIN(TestSelComp)
#include "tst_SelComp.moc"
