#include "courses/CourseValidation.h"
#include "tests/courses/FormaCorso.h"

#include <QTest>
#include <functional>

using namespace kx;

using Modifica = std::function<void(CourseForm &)>;
Q_DECLARE_METATYPE(Modifica)

class TestCourseValidation : public QObject
{
    Q_OBJECT

private slots:
    void checks_data()
    {
        QTest::addColumn<Modifica>("change");
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("tab");
        QTest::addColumn<bool>("pointer");

        const auto row = [](const char *name, Modifica change, int step, const QString &message,
                            const QString &focus, int tab, bool pointer) {
            QTest::newRow(name) << change << step << message << focus << tab << pointer;
        };
        row(
            "a valid course", [](CourseForm &) {}, 0, QString(), QString(), -1, false);
        row(
            "a printed application passes with every field empty",
            [](CourseForm &f) {
                f = CourseForm();
                f.Sede = u"1001"_s;
                f.DomandaStampata = true;
            },
            0, QString(), QString(), -1, false);
        row(
            "seat 999 needs no responsible component",
            [](CourseForm &f) {
                f.Sede = u"999"_s;
                f.cmbCompoResp.clear();
            },
            0, QString(), QString(), -1, false);
        row(
            "seat 1000 needs one",
            [](CourseForm &f) {
                f.Sede = u"1000"_s;
                f.cmbCompoResp.clear();
            },
            1,
            u"Per i corsi svolti da una Sede Occasionale è obbligatorio specificare il Componente Responsabile"_s,
            u"cmbCompoResp"_s, 0, true);
        row(
            "no cycle", [](CourseForm &f) { f.CmbCicloFin.clear(); }, 2,
            u"Selezionare il Ciclo Finanziario"_s, u"CmbCicloFin"_s, 0, true);
        row(
            "no axis", [](CourseForm &f) { f.cmbAsse.clear(); }, 3, u"Inserire un ASSE-MISURA"_s,
            u"cmbAsse"_s, 0, true);
        row(
            "no measure", [](CourseForm &f) { f.cmbMisura.clear(); }, 4, u"Inserire una LINEA D'INTERVENTO"_s,
            u"cmbMisura"_s, 0, true);
        row(
            "no action", [](CourseForm &f) { f.cmbAzione.clear(); }, 5, u"Inserire un'AZIONE"_s,
            u"cmbAzione"_s, 0, true);
        row(
            "no course name", [](CourseForm &f) { f.cmbDenCorso.clear(); }, 6,
            u"Inserire la Denominazione del Corso"_s, u"cmbDenCorso"_s, 0, true);
        row(
            "no target group", [](CourseForm &f) { f.cmbDest.clear(); }, 7,
            u"Inserire i DESTINATARI prevalenti"_s, u"cmbDest"_s, 0, true);
        row(
            "a blank target group passes its step", [](CourseForm &f) { f.cmbDest = u" "_s; }, 0, QString(),
            QString(), -1, false);
        row(
            "no pupils", [](CourseForm &f) { f.txtNumAll.clear(); }, 8, u"Inserire il N. ALLIEVI PREVISTI"_s,
            u"txtNumAll"_s, 0, true);
        row(
            "pupils 0", [](CourseForm &f) { f.txtNumAll = u"0"_s; }, 8, u"Inserire il N. ALLIEVI PREVISTI"_s,
            u"txtNumAll"_s, 0, true);
        row(
            "pupils 0,4 read as 0", [](CourseForm &f) { f.txtNumAll = u"0,4"_s; }, 8,
            u"Inserire il N. ALLIEVI PREVISTI"_s, u"txtNumAll"_s, 0, true);
        row(
            "pupils 0,6 read as 1", [](CourseForm &f) { f.txtNumAll = u"0,6"_s; }, 0, QString(), QString(),
            -1, false);
        row(
            "the reference action without its approved course",
            [](CourseForm &f) { f.lblidattivita_CorsoRifB111 = u"  "_s; }, 9,
            u"Specificare il Corso di Riferimento per l'azione 1.8II.2.04.07"_s, u"cmdCorsoRifB111"_s, 1,
            true);
        row(
            "the other special action needs no approved course",
            [](CourseForm &f) {
                f.cmbAsse = u"2  INCLUSIONE"_s;
                f.cmbMisura = u"9I  SOSTEGNO"_s;
                f.cmbAzione = u"7.01.01  SOSTEGNI"_s;
                f.lblidattivita_CorsoRifB111.clear();
            },
            0, QString(), QString(), -1, false);
        row(
            "an action code differing in case is not the reference action",
            [](CourseForm &f) {
                f.cmbMisura = u"8ii  ORIENTAMENTO"_s;
                f.lblidattivita_CorsoRifB111.clear();
            },
            0, QString(), QString(), -1, false);
        row(
            "hours 0", [](CourseForm &f) { f.txtDurataOre = u"0"_s; }, 10,
            u"Indicare il Totale Ore dell'Iter Complessivo."_s, u"txtDurataOre"_s, 1, true);
        row(
            "hours no number", [](CourseForm &f) { f.txtDurataOre = u","_s; }, 10,
            u"Indicare il Totale Ore dell'Iter Complessivo."_s, u"txtDurataOre"_s, 1, true);
        row(
            "a limit of the name comes before the general one",
            [](CourseForm &f) {
                f.cmbDenCorso = u"Integrazione di persone portatrici di handicap"_s;
                f.txtDurataOre = u"201"_s;
            },
            11,
            u"Per le integrazioni di persone portatrici di handicap la durata massima è pari a 200 ore."_s,
            QString(), -1, false);
        row(
            "a name without a limit and 201 hours",
            [](CourseForm &f) {
                f.cmbDenCorso = u"Corso qualsiasi"_s;
                f.txtDurataOre = u"201"_s;
            },
            12, u"Il totale ore puo' valere al massimo 200."_s, u"txtDurataOre"_s, 1, true);
        row(
            "hours 1.000 read as 1000",
            [](CourseForm &f) {
                f.cmbDenCorso = u"Corso qualsiasi"_s;
                f.txtDurataOre = u"1.000"_s;
            },
            12, u"Il totale ore puo' valere al massimo 200."_s, u"txtDurataOre"_s, 1, true);
        row(
            "no duration", [](CourseForm &f) { f.cmbDurata.clear(); }, 13,
            u"Indicare la Durata Totale Iter in anni."_s, QString(), 1, true);
        row(
            "no reference course shown", [](CourseForm &f) { f.txtCorsoRifB111.clear(); }, 14,
            u"Selezionare il corso di riferimento."_s, QString(), -1, false);
    }

    void checks()
    {
        QFETCH(Modifica, change);
        QFETCH(int, step);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        QFETCH(int, tab);
        QFETCH(bool, pointer);
        CourseForm form = corsoValido();
        change(form);
        const CourseCheck check = validateCourse(form);
        QCOMPARE(check.ok, step == 0);
        QCOMPARE(check.step, step);
        QCOMPARE(check.message, message);
        QCOMPARE(check.focus, focus);
        QCOMPARE(check.tab, tab);
        QCOMPARE(check.pointer, pointer);
        if (step != 0 && step != 11) {
            QCOMPARE(check.title, u"Verifica dati"_s);
            QCOMPARE(check.icon, Prompt::Icon::Critical);
        }
    }

    void aBrokenLimitIsShownUnderTheProgramsTitle()
    {
        CourseForm form = corsoValido();
        form.txtDurataOre = u"40000"_s;
        const CourseCheck check = validateCourse(form);
        QCOMPARE(check.step, 11);
        QCOMPARE(check.message,
                 u"Per le Azioni di sostegno individuale la durata massima è pari a 200 ore."_s);
        QCOMPARE(check.title, TitoloProgramma);
        QCOMPARE(check.icon, Prompt::Icon::None);
        QVERIFY(check.focus.isEmpty());
        QCOMPARE(check.tab, -1);
        QVERIFY(!check.pointer);
    }

    void limits_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("pupils");
        QTest::addColumn<int>("hours");
        QTest::addColumn<QString>("message");

        const QString handicap = u"Integrazione di persone portatrici di handicap"_s;
        const QString unAllievo =
            u"Per le integrazioni di persone portatrici di handicap deve essere inserito un solo allievo."_s;
        const QString laboratori =
            u"Per i Laboratori di lingua italiana ed i Laboratori di cittadinanza attiva "
            u"deve essere previsto più di un allievo."_s;
        const QString ottanta =
            u"Per i Laboratori di lingua italiana ed i Laboratori di cittadinanza attiva la "
            u"durata massima è pari a 80 ore."_s;
        const QString larsa = u"Per i LARSA la durata massima è pari a 200 ore."_s;

        QTest::newRow("handicap: pupils come first") << handicap << 2 << 300 << unAllievo;
        QTest::newRow("handicap: its own hour limit")
            << handicap << 1 << 201
            << u"Per le integrazioni di persone portatrici di handicap la durata massima è pari a 200 ore."_s;
        QTest::newRow("handicap: within") << handicap << 1 << 200 << QString();
        QTest::newRow("laboratorio: one pupil")
            << u"Laboratori di cittadinanza attiva"_s << 1 << 10 << laboratori;
        QTest::newRow("laboratorio: 80 hours")
            << u"Laboratori di cittadinanza attiva"_s << 3 << 80 << QString();
        QTest::newRow("laboratorio: 81 hours") << u"Laboratori di lingua italiana"_s << 3 << 81 << ottanta;
        QTest::newRow("LARSA without a blank") << u"LARSA -Scuola / Formazione"_s << 4 << 201 << larsa;
        QTest::newRow("LARSA with a blank") << u"LARSA - Formazione / Formazione"_s << 4 << 201 << larsa;
        QTest::newRow("LARSA within") << u"LARSA - Formazione / Scuola"_s << 4 << 200 << QString();
        QTest::newRow("sostegno")
            << u"Azione di sostegno individuale"_s << 1 << 201
            << u"Per le Azioni di sostegno individuale la durata massima è pari a 200 ore."_s;
        QTest::newRow("names compare exactly")
            << u"azione di sostegno individuale"_s << 1 << 201 << QString();
        QTest::newRow("any other name") << u"Corso qualsiasi"_s << 1 << 9999 << QString();
    }

    void limits()
    {
        QFETCH(QString, name);
        QFETCH(int, pupils);
        QFETCH(int, hours);
        QFETCH(QString, message);
        QCOMPARE(courseLimits(name, pupils, hours), message);
    }
};

QTEST_GUILESS_MAIN(TestCourseValidation)
#include "tst_CourseValidation.moc"
