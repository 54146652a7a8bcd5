#include "core/services/RoutineError.h"
#include "courses/CourseStore.h"
#include "tests/courses/BancoCorsi.h"
#include "tests/courses/FormaCorso.h"

#include <QTest>
#include <thread>

using namespace kx;

namespace {

/** Stored courses: seat 1001 of application 7 holds 0002, 0001 and 0010; other seats and applications one
 * each. */
void corsiMemorizzati(FixtureDatabase &db)
{
    db.insert(u"CorsiProp"_s,
              {u"NumDoma"_s, u"SedeInteressata"_s, u"GrupOpe"_s, u"Operatore"_s, u"Corso"_s, u"DenCorso"_s,
               u"CompoResp"_s, u"Guid"_s, u"OreStage"_s},
              {{7, 1001, u"A"_s, 12, u"0002"_s, u"SECONDO"_s, 2, u"{G2}"_s, 30},
               {7, 1001, u"A"_s, 12, u"0001"_s, u"PRIMO"_s, 2, u"{G1}"_s, QVariant()},
               {7, 1001, u"A"_s, 12, u"0010"_s, u"DECIMO"_s, 2, QVariant(), QVariant()},
               {7, 3, u"A"_s, 12, u"0050"_s, u"ALTRA SEDE"_s, QVariant(), QVariant(), QVariant()},
               {8, 1, u"A"_s, 12, u"0070"_s, u"ALTRA DOMANDA"_s, QVariant(), QVariant(), QVariant()}});
    db.insert(u"CorsiPropSpese"_s, {u"NumDoma"_s, u"SedeInteressata"_s, u"Corso"_s, u"ProgrAnno"_s},
              {{7, 1001, u"0002"_s, 1}});
}

QVariant colonna(FixtureDatabase &db, const QString &corso, const QString &nome)
{
    return db.scalar(u"SELECT "_s + nome +
                         u" FROM CorsiProp WHERE NumDoma = 7 AND SedeInteressata = 1001 AND Corso = ?"_s,
                     {corso});
}

} // namespace

class TestCourseStore : public QObject
{
    Q_OBJECT

private slots:
    void theSeatsCoursesInCodeOrder()
    {
        BancoCorsi banco;
        corsiMemorizzati(banco.db);
        CourseStore store(banco.connessione());
        const QList<CourseRow> corsi = store.seatCourses(7, 1001);
        QCOMPARE(corsi.size(), 3);
        QCOMPARE(corsi[0].corso(), u"0001"_s);
        QCOMPARE(corsi[1].corso(), u"0002"_s);
        QCOMPARE(corsi[2].corso(), u"0010"_s);
        QCOMPARE(corsi[1].value(u"CorsiProp.DenCorso"_s).toString(), u"SECONDO"_s);
        QCOMPARE(corsi[1].value(u"corsicompo.denominazione"_s).isNull(), true);
        QCOMPARE(store.count(7, 1001), 3);
        QCOMPARE(store.count(7, 2), 0);
        QVERIFY(store.seatCourses(7, 2).isEmpty());
        QCOMPARE(store.find({7, 1001, u"0010"_s})->value(u"CorsiProp.DenCorso"_s).toString(), u"DECIMO"_s);
        QVERIFY(!store.find({7, 1001, u"0003"_s}));
    }

    void aSeatExistsWhileItsApplicationDoes()
    {
        BancoCorsi banco;
        CourseStore store(banco.connessione());
        QVERIFY(store.seatExists(7, 1001));
        QVERIFY(!store.seatExists(7, 99));
        banco.db.execute(u"DELETE FROM Domande WHERE NumDoma = 8"_s);
        QVERIFY(!store.seatExists(8, 1));
    }

    void anInsertTakesTheSeatsNextCodeAndANewGuid()
    {
        BancoCorsi banco;
        corsiMemorizzati(banco.db);
        CourseStore store(banco.connessione());
        // Codes of other seats and other applications do not count.
        QCOMPARE(store.nextCode(7, 1001), u"0011"_s);
        QCOMPARE(store.nextCode(7, 2), u"0001"_s);
        CourseForm form = corsoValido();
        form.lblCorso = u" ---- "_s;
        const InsertedCourse inserito = store.insert(buildCourseRecord(form));
        QVERIFY(!inserito.codiciEsauriti);
        QCOMPARE(inserito.corso, u"0011"_s);
        QCOMPARE(inserito.guid.size(), 38);
        QCOMPARE(colonna(banco.db, u"0011"_s, u"Guid"_s).toString(), inserito.guid);
        QCOMPARE(colonna(banco.db, u"0011"_s, u"TotaleSpesa"_s).toDouble(), 7300.0);
        QCOMPARE(colonna(banco.db, u"0011"_s, u"CodGruppo"_s).toInt(), 42);

        const InsertedCourse secondo = store.insert(buildCourseRecord(form));
        QCOMPARE(secondo.corso, u"0012"_s);
        QVERIFY(secondo.guid != inserito.guid);
    }

    void aSeatWithoutCoursesStartsAt0001()
    {
        BancoCorsi banco;
        CourseStore store(banco.connessione());
        QCOMPARE(store.insert(buildCourseRecord(corsoValido())).corso, u"0001"_s);
    }

    void aSeatHolding9999GetsNoFurtherCourse()
    {
        BancoCorsi banco;
        banco.db.insert(u"CorsiProp"_s, {u"NumDoma"_s, u"SedeInteressata"_s, u"Corso"_s},
                        {{7, 1001, u"9999"_s}});
        CourseStore store(banco.connessione());
        const InsertedCourse inserito = store.insert(buildCourseRecord(corsoValido()));
        QVERIFY(inserito.codiciEsauriti);
        QVERIFY(inserito.corso.isEmpty());
        QCOMPARE(banco.db.count(u"CorsiProp"_s), 1);
    }

    void twoConnectionsInsertingIntoOneSeatGetDifferentCodes()
    {
        BancoCorsi banco;
        const QString path = banco.db.path();
        const CourseRecord record = buildCourseRecord(corsoValido());
        constexpr int PerConnessione = 25;
        QStringList codici[2];
        const auto inserisci = [&](int n) {
            Connection connessione;
            connessione.open(path, Connection::Mode::Shared);
            CourseStore store(connessione);
            for (int i = 0; i < PerConnessione; ++i)
                codici[n].append(store.insert(record).corso);
        };
        std::thread altra(inserisci, 0);
        inserisci(1);
        altra.join();

        QStringList tutti = codici[0] + codici[1];
        tutti.sort();
        tutti.removeDuplicates();
        QCOMPARE(tutti.size(), 2 * PerConnessione);
        QCOMPARE(tutti.last(), u"0050"_s);
        QCOMPARE(banco.db.count(u"CorsiProp"_s), 2 * PerConnessione);
    }

    void anInsertWaitsForTheOtherConnectionsInsertion()
    {
        BancoCorsi banco;
        const CourseRecord record = buildCourseRecord(corsoValido());
        Connection prima;
        prima.open(banco.db.path(), Connection::Mode::Shared);
        CourseStore storePrima(prima);
        QString codiceSeconda;
        {
            // The first installation has computed and written its code but not yet committed.
            Transaction transazione(prima);
            QCOMPARE(storePrima.insert(record).corso, u"0001"_s);
            std::thread seconda([&] {
                Connection connessione;
                connessione.open(banco.db.path(), Connection::Mode::Shared);
                codiceSeconda = CourseStore(connessione).insert(record).corso;
            });
            QTest::qWait(300);
            transazione.commit();
            seconda.join();
        }
        QCOMPARE(codiceSeconda, u"0002"_s);
    }

    void anUpdateRewritesTheColumnsAndKeepsTheOthers()
    {
        BancoCorsi banco;
        corsiMemorizzati(banco.db);
        CourseStore store(banco.connessione());
        CourseForm form = corsoValido();
        form.lblCorso = u"0002"_s;
        form.txtNumAll = u"3"_s;
        store.update(*store.find({7, 1001, u"0002"_s}), buildCourseRecord(form), Scrittura::SeInvariata);
        QCOMPARE(colonna(banco.db, u"0002"_s, u"DenCorso"_s).toString(), u"Azione di sostegno individuale"_s);
        QCOMPARE(colonna(banco.db, u"0002"_s, u"NumAll"_s).toInt(), 3);
        QCOMPARE(colonna(banco.db, u"0002"_s, u"AllieviSpesa"_s).toInt(), 3);
        QCOMPARE(colonna(banco.db, u"0002"_s, u"Guid"_s).toString(), u"{G2}"_s);
        QCOMPARE(colonna(banco.db, u"0002"_s, u"OreStage"_s).toInt(), 30);
        QCOMPARE(colonna(banco.db, u"0001"_s, u"DenCorso"_s).toString(), u"PRIMO"_s);
        QCOMPARE(banco.db.count(u"CorsiPropSpese"_s), 1);
    }

    void anUpdateOfACourseTheOtherConnectionDeletedWritesNothing()
    {
        BancoCorsi banco;
        corsiMemorizzati(banco.db);
        CourseStore store(banco.connessione());
        const CourseRow letta = *store.find({7, 1001, u"0002"_s});
        banco.db.execute(
            u"DELETE FROM CorsiProp WHERE NumDoma = 7 AND SedeInteressata = 1001 AND Corso = '0002'"_s);
        CourseForm form = corsoValido();
        form.lblCorso = u"0002"_s;
        QCOMPARE(
            errorOf([&] { store.update(letta, buildCourseRecord(form), Scrittura::Sovrascrivi); }).number(),
            ErrorCode::RowDeletedMeanwhile);
        QCOMPARE(banco.db.count(u"CorsiProp"_s), 4);
        QVERIFY(colonna(banco.db, u"0002"_s, u"Corso"_s).isNull());
    }

    void aDeletedCourseIsStoredAgainWithItsGuid()
    {
        BancoCorsi banco;
        corsiMemorizzati(banco.db);
        CourseStore store(banco.connessione());
        banco.db.execute(u"DELETE FROM CorsiProp WHERE Corso = '0002'"_s);
        CourseForm form = corsoValido();
        form.lblCorso = u"0002"_s;
        store.reinsert(buildCourseRecord(form), u"{G2}"_s);
        QCOMPARE(colonna(banco.db, u"0002"_s, u"Guid"_s).toString(), u"{G2}"_s);
        QCOMPARE(colonna(banco.db, u"0002"_s, u"TotOreIter"_s).toInt(), 200);

        banco.db.execute(u"DELETE FROM CorsiProp WHERE Corso = '0010'"_s);
        form.lblCorso = u"0010"_s;
        store.reinsert(buildCourseRecord(form), QString());
        QVERIFY(colonna(banco.db, u"0010"_s, u"Guid"_s).isNull());
        QVERIFY(!colonna(banco.db, u"0010"_s, u"Corso"_s).isNull());
    }

    void aDeletionTakesTheYearlyCostsAndReportsACourseAlreadyGone()
    {
        BancoCorsi banco;
        corsiMemorizzati(banco.db);
        CourseStore store(banco.connessione());
        const CourseRow letta = *store.find({7, 1001, u"0002"_s});
        store.remove(letta);
        QCOMPARE(store.count(7, 1001), 2);
        QCOMPARE(banco.db.count(u"CorsiPropSpese"_s), 0);
        QCOMPARE(errorOf([&] { store.remove(letta); }).number(), ErrorCode::NoCurrentRecord);
        QCOMPARE(banco.db.count(u"CorsiProp"_s), 4);
    }

    void anUpdateWritesOverAnotherConnectionsSaveOnlyWhenToldTo_data()
    {
        QTest::addColumn<QString>("modifica");
        QTest::addColumn<bool>("sovrascrivere");
        QTest::addColumn<bool>("scritto");
        QTest::newRow("a written column") << u"NumAll = 9"_s << false << false;
        QTest::newRow("a value made Null") << u"CompoResp = NULL"_s << false << false;
        QTest::newRow("told to write over it") << u"NumAll = 9"_s << true << true;
        QTest::newRow("a column the editor does not write") << u"OreStage = 99"_s << false << true;
    }
    void anUpdateWritesOverAnotherConnectionsSaveOnlyWhenToldTo()
    {
        QFETCH(QString, modifica);
        QFETCH(bool, sovrascrivere);
        QFETCH(bool, scritto);
        const Scrittura scrittura = sovrascrivere ? Scrittura::Sovrascrivi : Scrittura::SeInvariata;
        BancoCorsi banco;
        corsiMemorizzati(banco.db);
        CourseStore store(banco.connessione());
        const CourseRow letta = *store.find({7, 1001, u"0002"_s});
        Connection altra;
        altra.open(banco.db.path(), Connection::Mode::Shared);
        altra.execute(u"UPDATE CorsiProp SET "_s + modifica + u" WHERE Corso = '0002'"_s);
        altra.close();

        CourseForm form = corsoValido();
        form.lblCorso = u"0002"_s;
        if (scritto) {
            store.update(letta, buildCourseRecord(form), scrittura);
        } else {
            bool rifiutato = false;
            try {
                store.update(letta, buildCourseRecord(form), scrittura);
            } catch (const RigaModificataAltrove &) {
                rifiutato = true;
            }
            QVERIFY(rifiutato);
        }
        QCOMPARE(colonna(banco.db, u"0002"_s, u"DenCorso"_s).toString(),
                 scritto ? u"Azione di sostegno individuale"_s : u"SECONDO"_s);
        QCOMPARE(colonna(banco.db, u"0002"_s, u"Guid"_s).toString(), u"{G2}"_s);
        if (modifica.startsWith(u"OreStage"_s))
            QCOMPARE(colonna(banco.db, u"0002"_s, u"OreStage"_s).toInt(), 99);
    }

    void anotherCourseUnderTheSameCodeIsNeitherWrittenNorDeleted_data()
    {
        QTest::addColumn<QVariant>("guidLetto");
        QTest::addColumn<QVariant>("guidOra");
        QTest::addColumn<bool>("stessoCorso");
        const QVariant nessuno;
        QTest::newRow("the course read") << QVariant(u"{G2}"_s) << QVariant(u"{G2}"_s) << true;
        QTest::newRow("a stored Null Guid") << QVariant(u"{G2}"_s) << nessuno << true;
        QTest::newRow("both Null") << nessuno << nessuno << true;
        QTest::newRow("another course") << QVariant(u"{G2}"_s) << QVariant(u"{NUOVO}"_s) << false;
        QTest::newRow("a Guid where none was read") << nessuno << QVariant(u"{NUOVO}"_s) << false;
    }
    void anotherCourseUnderTheSameCodeIsNeitherWrittenNorDeleted()
    {
        QFETCH(QVariant, guidLetto);
        QFETCH(QVariant, guidOra);
        QFETCH(bool, stessoCorso);
        BancoCorsi banco;
        banco.db.insert(u"CorsiProp"_s,
                        {u"NumDoma"_s, u"SedeInteressata"_s, u"GrupOpe"_s, u"Operatore"_s, u"Corso"_s,
                         u"DenCorso"_s, u"Guid"_s},
                        {{7, 1001, u"A"_s, 12, u"0002"_s, u"SECONDO"_s, guidLetto}});
        CourseStore store(banco.connessione());
        const CourseRow letta = *store.find({7, 1001, u"0002"_s});
        // The other installation deleted the course and stored one that took its code.
        Connection altra;
        altra.open(banco.db.path(), Connection::Mode::Shared);
        altra.execute(u"DELETE FROM CorsiProp"_s);
        altra.execute(
            u"INSERT INTO CorsiProp (NumDoma, SedeInteressata, GrupOpe, Operatore, Corso, DenCorso, "
            u"Guid) VALUES (7, 1001, 'A', 12, '0002', 'SECONDO', ?)"_s,
            {guidOra});
        altra.close();

        CourseForm form = corsoValido();
        form.lblCorso = u"0002"_s;
        if (stessoCorso) {
            store.update(letta, buildCourseRecord(form), Scrittura::SeInvariata);
            QCOMPARE(colonna(banco.db, u"0002"_s, u"DenCorso"_s).toString(),
                     u"Azione di sostegno individuale"_s);
            store.remove(letta);
            QCOMPARE(store.count(7, 1001), 0);
        } else {
            QCOMPARE(errorOf([&] {
                         store.update(letta, buildCourseRecord(form), Scrittura::Sovrascrivi);
                     }).number(),
                     ErrorCode::RowDeletedMeanwhile);
            QCOMPARE(errorOf([&] { store.remove(letta); }).number(), ErrorCode::NoCurrentRecord);
            QCOMPARE(colonna(banco.db, u"0002"_s, u"DenCorso"_s).toString(), u"SECONDO"_s);
            QCOMPARE(colonna(banco.db, u"0002"_s, u"Guid"_s), guidOra);
        }
    }

    void aGuidIsFoundWhereverTheApplicationNowHoldsIt()
    {
        BancoCorsi banco;
        corsiMemorizzati(banco.db);
        banco.db.execute(u"UPDATE CorsiProp SET SedeInteressata = 3, Corso = '0051' WHERE Guid = '{G2}'"_s);
        CourseStore store(banco.connessione());
        const std::optional<CourseKey> spostato = store.findGuid(7, u"{G2}"_s);
        QVERIFY(spostato);
        QCOMPARE(spostato->numDoma, 7);
        QCOMPARE(spostato->sede, 3);
        QCOMPARE(spostato->corso, u"0051"_s);
        QVERIFY(!store.findGuid(7, u"{G9}"_s));
        // Only the application's own courses count.
        QVERIFY(!store.findGuid(8, u"{G1}"_s));
    }
};

QTEST_GUILESS_MAIN(TestCourseStore)
#include "tst_CourseStore.moc"
