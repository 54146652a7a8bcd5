#include "TestContext.h"
#include "core/services/RoutineError.h"
#include "courses/CourseRecord.h"
#include "tests/courses/FormaCorso.h"

#include <QTest>
#include <functional>

using namespace kx;

Q_DECLARE_METATYPE(std::function<void(CourseForm &)>)

using Modifica = std::function<void(CourseForm &)>;

namespace {

/** The stored row of corsoValido() as QryCorsi gives it. */
CourseRow rigaMemorizzata(const QVariantMap &diversi = {})
{
    QVariantMap valori{{u"Corso"_s, u"0003"_s},
                       {u"CompoResp"_s, 2},
                       {u"CicloFinanziario"_s, u"2021"_s},
                       {u"CodAsse"_s, u"1"_s},
                       {u"CodMisura"_s, u"8II"_s},
                       {u"CodAzione"_s, u"2.04.07"_s},
                       {u"CorsiProp.DenCorso"_s, u"Azione di sostegno individuale"_s},
                       {u"CodDest"_s, 12},
                       {u"NumAll"_s, 1},
                       {u"CorsoRifC211B"_s, u""_s},
                       {u"IdAttivita_CorsoRifB111"_s, 4711},
                       {u"TotOreIter"_s, 200},
                       {u"DurataTotIter"_s, 1}};
    valori.insert(diversi);
    auto colonne = std::make_shared<QHash<QString, int>>();
    QVariantList riga;
    for (auto i = valori.cbegin(); i != valori.cend(); ++i) {
        colonne->insert(i.key().toLower(), int(riga.size()));
        riga.append(i.value());
    }
    return CourseRow(colonne, riga);
}

} // namespace

class TestCourseRecord : public QObject
{
    Q_OBJECT

private slots:
    void nextCode_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("next"); // empty: no code left

        QTest::newRow("a seat without courses") << QStringList() << u"0001"_s;
        QTest::newRow("after 0009") << QStringList{u"0009"_s} << u"0010"_s;
        QTest::newRow("after 0099") << QStringList{u"0099"_s} << u"0100"_s;
        QTest::newRow("after 0999") << QStringList{u"0999"_s} << u"1000"_s;
        QTest::newRow("gaps are not filled") << QStringList{u"0001"_s, u"0003"_s, u"0007"_s} << u"0008"_s;
        QTest::newRow("a middle course deleted") << QStringList{u"0001"_s, u"0003"_s} << u"0004"_s;
        QTest::newRow("the last course deleted") << QStringList{u"0001"_s, u"0002"_s} << u"0003"_s;
        QTest::newRow("in any order") << QStringList{u"0012"_s, u"0002"_s} << u"0013"_s;
        QTest::newRow("the last code left") << QStringList{u"9998"_s} << u"9999"_s;
        QTest::newRow("9999 reached") << QStringList{u"0001"_s, u"9999"_s} << QString();
    }

    void nextCode()
    {
        QFETCH(QStringList, stored);
        QFETCH(QString, next);
        QCOMPARE(nextCourseCode(stored).value_or(QString()), next);
    }

    void aFullSeatIsToldWhy()
    {
        QCOMPARE(TestoCodiciEsauriti, u"Raggiunto il numero massimo di corsi (9999) per la sede. Impossibile "
                                      u"assegnare un nuovo codice corso."_s);
    }

    void aNewGuidIsUpperCaseWithBraces()
    {
        const QString guid = newCourseGuid();
        QCOMPARE(guid.size(), 38);
        QVERIFY(guid.startsWith(u'{') && guid.endsWith(u'}'));
        QCOMPARE(guid, guid.toUpper());
        QVERIFY(newCourseGuid() != guid);
    }

    void theRecordHoldsTheTwentySixColumnsInOrder()
    {
        const CourseRecord record = buildCourseRecord(corsoValido());
        QCOMPARE(courseColumns().size(), 26);
        const QVariantList attesi{7,         u"A"_s,
                                  12,        1001,
                                  u"0003"_s, 2,
                                  u"2021"_s, u"1"_s,
                                  u"8II"_s,  u"2.04.07"_s,
                                  u""_s,     u"Azione di sostegno individuale"_s,
                                  12,        1,
                                  1,         1,
                                  200,       1,
                                  u""_s,     4711,
                                  42,        2,
                                  1,         200,
                                  36.5,      7300.0};
        QCOMPARE(record.values.size(), attesi.size());
        for (int i = 0; i < attesi.size(); ++i)
            QVERIFY2(record.values[i] == attesi[i], qPrintable(courseColumns()[i]));
    }

    void pupils_data()
    {
        QTest::addColumn<QString>("pupils");
        QTest::addColumn<int>("NumAll");
        QTest::addColumn<int>("CodPerc");
        QTest::addColumn<int>("CodSpesa");
        QTest::addColumn<int>("AllieviSpesa");

        QTest::newRow("one") << u"1"_s << 1 << 1 << 2 << 1;
        QTest::newRow("three") << u"3"_s << 3 << 2 << 2 << 3;
        QTest::newRow("five") << u"5"_s << 5 << 2 << 2 << 5;
        QTest::newRow("six") << u"6"_s << 6 << 2 << 1 << 0;
        QTest::newRow("fifteen") << u"15"_s << 15 << 2 << 1 << 0;
        QTest::newRow("a leading zero is still five") << u"05"_s << 5 << 2 << 2 << 5;
        QTest::newRow("a leading blank is still five") << u" 5"_s << 5 << 2 << 2 << 5;
        QTest::newRow("one and a half is two") << u"1,5"_s << 2 << 2 << 2 << 2;
    }

    void pupils()
    {
        QFETCH(QString, pupils);
        QFETCH(int, NumAll);
        QFETCH(int, CodPerc);
        QFETCH(int, CodSpesa);
        QFETCH(int, AllieviSpesa);
        CourseForm form = corsoValido();
        form.txtNumAll = pupils;
        form.txtDurataOre = u"20"_s;
        const CourseRecord record = buildCourseRecord(form);
        QCOMPARE(record.value(u"NumAll"_s), QVariant(NumAll));
        QCOMPARE(record.value(u"CodPerc"_s), QVariant(CodPerc));
        QCOMPARE(record.value(u"CodSpesa"_s), QVariant(CodSpesa));
        QCOMPARE(record.value(u"AllieviSpesa"_s), QVariant(AllieviSpesa));
        // The cost block agrees with the estimate of the same whole number of pupils.
        const double parametro = NumAll == 1 ? 36.5 : NumAll <= 5 ? 12.5 : NumAll <= 8 ? 71 : 83;
        const double totale = NumAll == 1 ? 20 * 36.5 : NumAll <= 5 ? 20 * 12.5 * NumAll : 20 * parametro;
        QCOMPARE(record.value(u"ParametroSpesa"_s).toDouble(), parametro);
        QCOMPARE(record.value(u"TotaleSpesa"_s).toDouble(), totale);
    }

    void anEmptyResponsibleComponentIsNull()
    {
        CourseForm form = corsoValido();
        form.cmbCompoResp.clear();
        QVERIFY(buildCourseRecord(form).value(u"CompoResp"_s).isNull());
        form.cmbCompoResp = u"12  - SEDE - SO - VIA"_s;
        QCOMPARE(buildCourseRecord(form).value(u"CompoResp"_s), QVariant(12));
        form.cmbCompoResp = u"1234 - SEDE - SO - VIA"_s;
        QCOMPARE(buildCourseRecord(form).value(u"CompoResp"_s), QVariant(1234));
    }

    void reference_data()
    {
        QTest::addColumn<QString>("idAttivita");
        QTest::addColumn<QString>("freeText");
        QTest::addColumn<QVariant>("CorsoRifC211B");
        QTest::addColumn<QVariant>("IdAttivita");

        QTest::newRow("approved course chosen")
            << u"4711"_s << u"testo libero"_s << QVariant(u""_s) << QVariant(qlonglong(4711));
        QTest::newRow("none, free text trimmed")
            << QString() << u"  testo libero "_s << QVariant(u"testo libero"_s) << QVariant();
        QTest::newRow("none, nothing") << QString() << QString() << QVariant(u""_s) << QVariant();
    }

    void reference()
    {
        QFETCH(QString, idAttivita);
        QFETCH(QString, freeText);
        QFETCH(QVariant, CorsoRifC211B);
        QFETCH(QVariant, IdAttivita);
        CourseForm form = corsoValido();
        form.lblidattivita_CorsoRifB111 = idAttivita;
        form.txtCorsoRifC211B = freeText;
        const CourseRecord record = buildCourseRecord(form);
        QCOMPARE(record.value(u"CorsoRifC211B"_s), CorsoRifC211B);
        QCOMPARE(record.value(u"IdAttivita_CorsoRifB111"_s).isNull(), IdAttivita.isNull());
        if (!IdAttivita.isNull())
            QCOMPARE(record.value(u"IdAttivita_CorsoRifB111"_s).toLongLong(), IdAttivita.toLongLong());
    }

    void hoursAndCostAreReadTheItalianWay()
    {
        CourseForm form = corsoValido();
        form.txtDurataOre = u"1.000"_s;
        form.cmbDenCorso = u"Percorso qualsiasi"_s;
        const CourseRecord mille = buildCourseRecord(form);
        QCOMPARE(mille.value(u"TotOreIter"_s), QVariant(1000));
        QCOMPARE(mille.value(u"OreSpesa"_s), QVariant(1000));
        QCOMPARE(mille.value(u"TotaleSpesa"_s).toDouble(), 36500.0);

        // 200 hours of one pupil: the labels show "36,5" and "7.300,00".
        const CourseRecord duecento = buildCourseRecord(corsoValido());
        QCOMPARE(duecento.value(u"ParametroSpesa"_s).toDouble(), 36.5);
        QCOMPARE(duecento.value(u"TotaleSpesa"_s).toDouble(), 7300.0);
    }

    void fieldsThatDoNotConvertFail_data()
    {
        QTest::addColumn<Modifica>("change");
        QTest::addColumn<int>("error");

        QTest::newRow("no target group")
            << Modifica([](CourseForm &f) { f.cmbDest.clear(); }) << ErrorCode::TypeMismatch;
        QTest::newRow("no pupils") << Modifica([](CourseForm &f) { f.txtNumAll.clear(); })
                                   << ErrorCode::TypeMismatch;
        QTest::newRow("no duration") << Modifica([](CourseForm &f) { f.cmbDurata.clear(); })
                                     << ErrorCode::TypeMismatch;
        QTest::newRow("a lone comma for hours")
            << Modifica([](CourseForm &f) { f.txtDurataOre = u","_s; }) << ErrorCode::TypeMismatch;
        QTest::newRow("no course name, so no estimate")
            << Modifica([](CourseForm &f) { f.cmbDenCorso.clear(); }) << ErrorCode::TypeMismatch;
    }

    void fieldsThatDoNotConvertFail()
    {
        QFETCH(Modifica, change);
        QFETCH(int, error);
        CourseForm form = corsoValido();
        change(form);
        QCOMPARE(errorOf([&] { buildCourseRecord(form); }).number(), error);
    }

    void unchanged_data()
    {
        QTest::addColumn<Modifica>("change");
        QTest::addColumn<QVariantMap>("stored");
        QTest::addColumn<bool>("unchanged");

        const Modifica niente = [](CourseForm &) {};
        QTest::newRow("as stored") << niente << QVariantMap() << true;
        QTest::newRow("responsible component counts by its code")
            << Modifica([](CourseForm &f) { f.cmbCompoResp = u"2   - ALTRO NOME"_s; }) << QVariantMap()
            << true;
        QTest::newRow("a responsible component of four digits")
            << Modifica([](CourseForm &f) { f.cmbCompoResp = u"1234 - SEDE - SO - VIA"_s; })
            << QVariantMap{{u"CompoResp"_s, 1234}} << true;
        QTest::newRow("another responsible component")
            << Modifica([](CourseForm &f) { f.cmbCompoResp = u"3   - TERZA"_s; }) << QVariantMap() << false;
        QTest::newRow("no responsible component against Null")
            << Modifica([](CourseForm &f) { f.cmbCompoResp.clear(); })
            << QVariantMap{{u"CompoResp"_s, QVariant()}} << true;
        QTest::newRow("another cycle")
            << Modifica([](CourseForm &f) { f.CmbCicloFin = u"2014  X"_s; }) << QVariantMap() << false;
        QTest::newRow("a code differing in case")
            << Modifica([](CourseForm &f) { f.cmbMisura = u"8ii  ORIENTAMENTO"_s; }) << QVariantMap()
            << false;
        QTest::newRow("another axis")
            << Modifica([](CourseForm &f) { f.cmbAsse = u"2  X"_s; }) << QVariantMap() << false;
        QTest::newRow("another action")
            << Modifica([](CourseForm &f) { f.cmbAzione = u"2.04.08  X"_s; }) << QVariantMap() << false;
        QTest::newRow("the course name trimmed")
            << Modifica([](CourseForm &f) { f.cmbDenCorso = u" Azione di sostegno individuale "_s; })
            << QVariantMap() << true;
        QTest::newRow("another course name")
            << Modifica([](CourseForm &f) { f.cmbDenCorso = u"Laboratori di lingua italiana"_s; })
            << QVariantMap() << false;
        QTest::newRow("target group by its first three characters")
            << Modifica([](CourseForm &f) { f.cmbDest = u"12  ALTRA DESCRIZIONE"_s; }) << QVariantMap()
            << true;
        QTest::newRow("another target group")
            << Modifica([](CourseForm &f) { f.cmbDest = u"1  STUDENTI"_s; }) << QVariantMap() << false;
        QTest::newRow("no target group against Null") << Modifica([](CourseForm &f) { f.cmbDest.clear(); })
                                                      << QVariantMap{{u"CodDest"_s, QVariant()}} << true;
        QTest::newRow("pupils 01 are 1")
            << Modifica([](CourseForm &f) { f.txtNumAll = u"01"_s; }) << QVariantMap() << true;
        QTest::newRow("other pupils")
            << Modifica([](CourseForm &f) { f.txtNumAll = u"2"_s; }) << QVariantMap() << false;
        QTest::newRow("pupils that are no number")
            << Modifica([](CourseForm &f) { f.txtNumAll = u","_s; }) << QVariantMap() << false;
        QTest::newRow("another free-text reference")
            << Modifica([](CourseForm &f) { f.txtCorsoRifC211B = u"X"_s; }) << QVariantMap() << false;
        QTest::newRow("another approved course")
            << Modifica([](CourseForm &f) { f.lblidattivita_CorsoRifB111 = u"4712"_s; }) << QVariantMap()
            << false;
        QTest::newRow("no approved course against Null")
            << Modifica([](CourseForm &f) { f.lblidattivita_CorsoRifB111.clear(); })
            << QVariantMap{{u"IdAttivita_CorsoRifB111"_s, QVariant()}} << true;
        QTest::newRow("hours with their separator")
            << Modifica([](CourseForm &f) { f.txtDurataOre = u"1.000"_s; })
            << QVariantMap{{u"TotOreIter"_s, 1000}} << true;
        QTest::newRow("other hours") << Modifica([](CourseForm &f) { f.txtDurataOre = u"199"_s; })
                                     << QVariantMap() << false;
        QTest::newRow("no duration") << Modifica([](CourseForm &f) { f.cmbDurata.clear(); }) << QVariantMap()
                                     << false;
        QTest::newRow("the cost block is not compared")
            << niente << QVariantMap{{u"TotaleSpesa"_s, 1.0}, {u"CodSpesa"_s, 1}} << true;
    }

    void unchanged()
    {
        QFETCH(Modifica, change);
        QFETCH(QVariantMap, stored);
        QFETCH(bool, unchanged);
        CourseForm form = corsoValido();
        change(form);
        QCOMPARE(courseUnchanged(form, rigaMemorizzata(stored)), unchanged);
    }
};

QTEST_GUILESS_MAIN(TestCourseRecord)
#include "tst_CourseRecord.moc"
