#include "core/services/RoutineError.h"
#include "core/state/CurrentApplication.h"
#include "courses/Riassegnazione.h"
#include "tests/courses/BancoRiassegnazione.h"

#include <QTest>

using namespace kx;

Q_DECLARE_METATYPE(QVariant)

namespace {

QList<qint32> codiciSedi(const QList<SedeRiassegnazione> &sedi)
{
    QList<qint32> codici;
    for (const SedeRiassegnazione &sede : sedi)
        codici.append(sede.codice);
    return codici;
}

} // namespace

class TestRiassegnazione : public QObject
{
    Q_OBJECT

private slots:
    void theEntryOfASeatFollowsItsKind_data()
    {
        QTest::addColumn<qint32>("codice");
        QTest::addColumn<QVariant>("denominazione");
        QTest::addColumn<QVariant>("tipo");
        QTest::addColumn<QVariant>("indirizzo");
        QTest::addColumn<QString>("voce");
        QTest::newRow("component") << 2 << QVariant(u"SEDE OPERATIVA DI UN NOME MOLTO LUNGO OLTRE"_s)
                                   << QVariant(u"SO"_s) << QVariant(u"VIA PO 2"_s)
                                   << u"  2 - SEDE OPERATIVA DI UN NOME MOLTO LUN - SO - VIA PO 2"_s;
        QTest::newRow("component with three digits")
            << 120 << QVariant(u"SEDE"_s) << QVariant(u"SL"_s) << QVariant(u"VIA ROMA"_s)
            << u"120 - SEDE - SL - VIA ROMA"_s;
        QTest::newRow("occasional seat, its type not shown")
            << 1001 << QVariant(u"PALESTRA"_s) << QVariant(u"UO"_s) << QVariant(u"VIA SPORT"_s)
            << u" 1001 - PALESTRA - VIA SPORT   (SEDE OCCASIONALE)"_s;
        QTest::newRow("Null values add nothing")
            << 3 << QVariant() << QVariant() << QVariant() << u"  3 -  -  - "_s;
    }
    void theEntryOfASeatFollowsItsKind()
    {
        QFETCH(qint32, codice);
        QFETCH(QVariant, denominazione);
        QFETCH(QVariant, tipo);
        QFETCH(QVariant, indirizzo);
        QFETCH(QString, voce);
        QCOMPARE(voceSede(codice, denominazione, tipo, indirizzo), voce);
    }

    void theEntryOfACourseIsItsCodeThreeBlanksAndItsName()
    {
        QCOMPARE(voceCorso(u"0005"_s, u"FRESATURA"_s), u"0005   FRESATURA"_s);
        QCOMPARE(voceCorso(u"0006"_s, QVariant()), u"0006   "_s);
    }

    void theSourceSeatsAreThoseWithCoursesOnceEachInCodeOrder()
    {
        BancoRiassegnazione banco;
        const QList<SedeRiassegnazione> sedi = IniSedeDa(banco.connessione(), banco.test.context().domanda());
        QCOMPARE(codiciSedi(sedi), (QList<qint32>{2, 3, 5, 1001}));
        QCOMPARE(sedi[1].voce, u"  3 - TERZA - SO - "_s);
        QCOMPARE(sedi[3].voce, u" 1001 - PALESTRA - VIA SPORT   (SEDE OCCASIONALE)"_s);
        // Seat 5 has courses but no row in the seat snapshot.
        QCOMPARE(sedi[2].voce, u"  5"_s);
    }

    void theDestinationsAreEveryOtherSeatOfTheApplication()
    {
        BancoRiassegnazione banco;
        const CurrentApplication &domanda = banco.test.context().domanda();
        QCOMPARE(codiciSedi(IniSedeA(banco.connessione(), domanda, 2)), (QList<qint32>{1, 3, 1001, 1002}));
        QCOMPARE(codiciSedi(IniSedeA(banco.connessione(), domanda, 1001)), (QList<qint32>{1, 2, 3, 1002}));
    }

    void theCoursesOfTheSourceInCodeOrder()
    {
        BancoRiassegnazione banco;
        const QList<CorsoRiassegnazione> corsi =
            IniCorso(banco.connessione(), banco.test.context().domanda(), 2);
        QCOMPARE(corsi.size(), 3);
        QCOMPARE(corsi[0].corso, u"0001"_s);
        QCOMPARE(corsi[2].voce, u"0005   FRESATURA"_s);
    }

    void theResponsibleComponentsAreThoseUsingTheOccasionalSeat()
    {
        BancoRiassegnazione banco;
        const CurrentApplication &domanda = banco.test.context().domanda();
        // Component 4 uses 1001 but is not in the application; operator 13's component 3 is another's.
        const QList<ComponenteResponsabile> per1001 = IniCompo(banco.connessione(), domanda, 1001);
        QCOMPARE(per1001.size(), 1);
        QCOMPARE(per1001[0].componente, 2);
        QCOMPARE(per1001[0].voce, u"  2 - SEDE OPERATIVA DI UN NOME MOLTO LUN - SO - VIA PO 2"_s);
        const QList<ComponenteResponsabile> per1002 = IniCompo(banco.connessione(), domanda, 1002);
        QCOMPARE(per1002.size(), 2);
        QCOMPARE(per1002[0].componente, 2);
        QCOMPARE(per1002[1].voce, u"  3 - TERZA - SO - "_s);
    }

    void theNextCodeOfASeat_data()
    {
        QTest::addColumn<qint32>("sede");
        QTest::addColumn<QString>("codice");
        QTest::newRow("after the highest") << 2 << u"0006"_s;
        QTest::newRow("seat without courses") << 1 << u"0001"_s;
        QTest::newRow("occasional seat") << 1001 << u"0005"_s;
    }
    void theNextCodeOfASeat()
    {
        QFETCH(qint32, sede);
        QFETCH(QString, codice);
        BancoRiassegnazione banco;
        QCOMPARE(ProgrCorsoSede(banco.connessione(), banco.test.context().domanda(), sede), codice);
    }

    void everyCourseMovesInTheOrderOfItsOldCode()
    {
        BancoRiassegnazione banco;
        const EsitoSpostamento esito = SpostaCorsi(banco.connessione(), banco.test.context().domanda(),
                                                   {2, 3, {u"0001"_s, u"0002"_s, u"0005"_s}, 0});
        QVERIFY(!esito.codiciEsauriti);
        QCOMPARE(esito.nuoviCodici, (QStringList{u"0004"_s, u"0005"_s, u"0006"_s}));
        QCOMPARE(banco.codici(2), QStringList());
        QCOMPARE(banco.colonna(u"{G-2-1}"_s, u"Corso"_s).toString(), u"0004"_s);
        QCOMPARE(banco.colonna(u"{G-2-2}"_s, u"Corso"_s).toString(), u"0005"_s);
        QCOMPARE(banco.colonna(u"{G-2-5}"_s, u"Corso"_s).toString(), u"0006"_s);
        QCOMPARE(banco.colonna(u"{G-2-5}"_s, u"SedeInteressata"_s).toInt(), 3);
        // The yearly costs follow their course.
        QCOMPARE(
            banco.db
                .scalar(u"SELECT COUNT(*) FROM CorsiPropSpese WHERE SedeInteressata = 3 AND Corso = '0005'"_s)
                .toInt(),
            2);
    }

    void aCourseNoLongerStoredTakesNoCode()
    {
        BancoRiassegnazione banco;
        // Seat 2 holds no "0003": the courses after it number on from the last code given.
        const EsitoSpostamento esito = SpostaCorsi(banco.connessione(), banco.test.context().domanda(),
                                                   {2, 3, {u"0001"_s, u"0003"_s, u"0005"_s}, 0});
        QCOMPARE(esito.nuoviCodici, (QStringList{u"0004"_s, u"0005"_s}));
        QCOMPARE(banco.codici(3), (QStringList{u"0001"_s, u"0002"_s, u"0003"_s, u"0004"_s, u"0005"_s}));
        QCOMPARE(banco.colonna(u"{G-2-5}"_s, u"Corso"_s).toString(), u"0005"_s);
        QCOMPARE(banco.codici(2), QStringList{u"0002"_s});
    }

    void aMoveToASeatWithoutCoursesStartsAtTheFirstCode()
    {
        BancoRiassegnazione banco;
        SpostaCorsi(banco.connessione(), banco.test.context().domanda(), {3, 1, {u"0001"_s, u"0002"_s}, 0});
        QCOMPARE(banco.codici(1), (QStringList{u"0001"_s, u"0002"_s}));
        QCOMPARE(banco.codici(3), QStringList{u"0003"_s});
    }

    void oneCourseLeavesTheSourceCodesAsTheyWere()
    {
        BancoRiassegnazione banco;
        SpostaCorsi(banco.connessione(), banco.test.context().domanda(), {2, 1001, {u"0002"_s}, 2});
        QCOMPARE(banco.codici(2), (QStringList{u"0001"_s, u"0005"_s}));
        QCOMPARE(banco.codici(1001), (QStringList{u"0001"_s, u"0004"_s, u"0005"_s}));
    }

    void theResponsibleComponentFollowsTheKindsOfTheSeats_data()
    {
        QTest::addColumn<qint32>("da");
        QTest::addColumn<qint32>("a");
        QTest::addColumn<QString>("guid");
        QTest::addColumn<QVariant>("compoResp");
        QTest::newRow("component to occasional: the chosen one") << 2 << 1002 << u"{G-2-5}"_s << QVariant(2);
        QTest::newRow("occasional to occasional: replaced") << 1001 << 1002 << u"{G-1001-4}"_s << QVariant(2);
        QTest::newRow("occasional to component: none") << 1001 << 3 << u"{G-1001-4}"_s << QVariant();
        QTest::newRow("component to component: unchanged") << 2 << 3 << u"{G-2-5}"_s << QVariant(3);
    }
    void theResponsibleComponentFollowsTheKindsOfTheSeats()
    {
        QFETCH(qint32, da);
        QFETCH(qint32, a);
        QFETCH(QString, guid);
        QFETCH(QVariant, compoResp);
        BancoRiassegnazione banco;
        // Occasional to occasional starts from component 3 so that the replacement shows.
        banco.db.execute(u"UPDATE CorsiProp SET CompoResp = 3 WHERE SedeInteressata = 1001"_s);
        const QStringList corsi = banco.codici(da);
        SpostaCorsi(banco.connessione(), banco.test.context().domanda(), {da, a, corsi, 2});
        const QVariant memorizzato = banco.colonna(guid, u"CompoResp"_s);
        QCOMPARE(memorizzato.isNull(), compoResp.isNull());
        if (!compoResp.isNull())
            QCOMPARE(memorizzato.toInt(), compoResp.toInt());
        QCOMPARE(banco.colonna(guid, u"SedeInteressata"_s).toInt(), a);
    }

    void aMoveChangesOnlySeatCodeAndResponsible()
    {
        BancoRiassegnazione banco;
        const QList<QVariantList> prima = banco.corsi();
        SpostaCorsi(banco.connessione(), banco.test.context().domanda(), {2, 1002, banco.codici(2), 3});
        const QList<QVariantList> dopo = banco.corsi();
        QCOMPARE(dopo.size(), prima.size());
        const QStringList colonne = [&banco] {
            QStringList nomi;
            for (const ColumnInfo &colonna : banco.db.query(u"SELECT * FROM CorsiProp LIMIT 0"_s).columns)
                nomi.append(colonna.name);
            return nomi;
        }();
        const qsizetype guid = colonne.indexOf(u"Guid"_s);
        for (const QVariantList &riga : prima) {
            const auto trovata = std::find_if(dopo.cbegin(), dopo.cend(), [&](const QVariantList &altra) {
                return altra[guid] == riga[guid];
            });
            QVERIFY(trovata != dopo.cend());
            for (qsizetype i = 0; i < colonne.size(); ++i) {
                if (riga.value(1).toInt() == 2 && riga.value(0).toInt() == 7 &&
                    QStringList{u"SedeInteressata"_s, u"Corso"_s, u"CompoResp"_s}.contains(colonne[i]))
                    continue;
                QCOMPARE(trovata->value(i), riga.value(i));
            }
        }
    }

    void aFailureAtTheSecondCourseLeavesEveryCourseWhereItWas()
    {
        BancoRiassegnazione banco;
        banco.guastoAlCorso(2, u"0002"_s);
        const QList<QVariantList> prima = banco.corsi();
        const RoutineError errore = errorOf([&banco] {
            SpostaCorsi(banco.connessione(), banco.test.context().domanda(), {2, 3, banco.codici(2), 0});
        });
        QVERIFY(errore.number() != 0);
        QCOMPARE(banco.corsi(), prima);
        QCOMPARE(banco.db.scalar(u"SELECT COUNT(*) FROM CorsiPropSpese WHERE SedeInteressata = 2"_s).toInt(),
                 2);
    }

    void aDestinationOutOfCodesRefusesTheWholeMove()
    {
        BancoRiassegnazione banco;
        banco.db.execute(
            u"UPDATE CorsiProp SET Corso = '9998' WHERE SedeInteressata = 3 AND Corso = '0003'"_s);
        const QList<QVariantList> prima = banco.corsi();
        // "9999" fits the first course; the second would need "10000".
        const EsitoSpostamento esito =
            SpostaCorsi(banco.connessione(), banco.test.context().domanda(), {2, 3, banco.codici(2), 0});
        QVERIFY(esito.codiciEsauriti);
        QCOMPARE(banco.corsi(), prima);
    }
};

QTEST_GUILESS_MAIN(TestRiassegnazione)
#include "tst_Riassegnazione.moc"
