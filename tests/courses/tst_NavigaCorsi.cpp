#include "core/services/RoutineError.h"
#include "courses/CourseStore.h"
#include "courses/NavigaCorsi.h"
#include "tests/courses/BancoCorsi.h"

#include <QTest>

using namespace kx;

namespace {

const QList<DirezioneNavigazione> Passi{DirezioneNavigazione::Primo, DirezioneNavigazione::Precedente,
                                        DirezioneNavigazione::Successivo, DirezioneNavigazione::Ultimo};

const char *nomePasso(DirezioneNavigazione direzione)
{
    static const char *const nomi[] = {"Primo", "Precedente", "Successivo", "Ultimo", "Vai"};
    return nomi[int(direzione)];
}

/** The buttons a course at that position should offer: the first, the last, or one in between. */
StatoNavigazione statoDelPosto(int posizione, int righe)
{
    if (posizione == 0)
        return StatoNavigazione::Primo;
    if (posizione == righe - 1)
        return StatoNavigazione::Ultimo;
    return StatoNavigazione::Intermedio;
}

/** Seat 3 of application 7: 0001, 0002, 0010 and 10000 with a Null name; seat 2 one course. */
void corsi(FixtureDatabase &db)
{
    db.insert(u"CorsiProp"_s,
              {u"NumDoma"_s, u"SedeInteressata"_s, u"GrupOpe"_s, u"Operatore"_s, u"Corso"_s, u"DenCorso"_s},
              {{7, 3, u"A"_s, 12, u"0010"_s, u"DECIMO"_s},
               {7, 3, u"A"_s, 12, u"0001"_s, u"PRIMO CORSO"_s},
               {7, 3, u"A"_s, 12, u"10000"_s, QVariant()},
               {7, 3, u"A"_s, 12, u"0002"_s, u"SECONDO"_s},
               {7, 2, u"A"_s, 12, u"0001"_s, u"UNICO"_s},
               {8, 1, u"A"_s, 12, u"0003"_s, u"ALTRA DOMANDA"_s}});
}

} // namespace

class TestNavigaCorsi : public QObject
{
    Q_OBJECT

private slots:
    void theDirections()
    {
        QCOMPARE(direzioneNavigazione(u"Primo"_s), DirezioneNavigazione::Primo);
        QCOMPARE(direzioneNavigazione(u"Precedente"_s), DirezioneNavigazione::Precedente);
        QCOMPARE(direzioneNavigazione(u"Successivo"_s), DirezioneNavigazione::Successivo);
        QCOMPARE(direzioneNavigazione(u"Ultimo"_s), DirezioneNavigazione::Ultimo);
        QCOMPARE(direzioneNavigazione(u"Vai"_s), DirezioneNavigazione::Vai);
        QCOMPARE(direzioneNavigazione(u"primo"_s), std::nullopt);
        QCOMPARE(direzioneNavigazione(u"Vai "_s), std::nullopt);
    }

    /** Every step a button allows, from every course of seats of 2, 3 and 5 courses. */
    void eachStepFromEachPosition_data()
    {
        QTest::addColumn<int>("righe");
        QTest::addColumn<int>("da");
        QTest::addColumn<DirezioneNavigazione>("direzione");
        QTest::addColumn<int>("a");

        for (int righe : {2, 3, 5}) {
            for (int da = 0; da < righe; ++da) {
                for (DirezioneNavigazione direzione : Passi) {
                    const bool primo = da == 0;
                    const bool ultimo = da == righe - 1;
                    // The buttons of the first course are off for first and previous, of the last for
                    // next and last.
                    if (primo && (direzione == DirezioneNavigazione::Primo ||
                                  direzione == DirezioneNavigazione::Precedente))
                        continue;
                    if (ultimo && (direzione == DirezioneNavigazione::Successivo ||
                                   direzione == DirezioneNavigazione::Ultimo))
                        continue;
                    int a = 0;
                    switch (direzione) {
                    case DirezioneNavigazione::Primo:
                        a = 0;
                        break;
                    case DirezioneNavigazione::Precedente:
                        a = da - 1;
                        break;
                    case DirezioneNavigazione::Successivo:
                        a = da + 1;
                        break;
                    default:
                        a = righe - 1;
                    }
                    QTest::addRow("%d courses, from %d, %s", righe, da + 1, nomePasso(direzione))
                        << righe << da << direzione << a;
                }
            }
        }
    }

    void eachStepFromEachPosition()
    {
        QFETCH(int, righe);
        QFETCH(int, da);
        QFETCH(DirezioneNavigazione, direzione);
        QFETCH(int, a);

        const PassoNavigazione passo = passoNavigazione(direzione, da, righe);
        QCOMPARE(passo.posizione, a);
        QCOMPARE(passo.stato, statoDelPosto(a, righe));
        // The probe of a step and the one of the position agree.
        QCOMPARE(statoNavigazione(passo.posizione, righe, true), passo.stato);
    }

    void vaiIsNoStep()
    {
        QCOMPARE(errorOf([] { passoNavigazione(DirezioneNavigazione::Vai, 0, 3); }).number(),
                 ErrorCode::InvalidProcedureCall);
    }

    void theStateOfAPosition_data()
    {
        QTest::addColumn<int>("posizione");
        QTest::addColumn<int>("righe");
        QTest::addColumn<bool>("piuCorsi");
        QTest::addColumn<StatoNavigazione>("stato");

        QTest::newRow("the only course") << 0 << 1 << false << StatoNavigazione::Disabilitata;
        QTest::newRow("stored courses count, not the rows read")
            << 0 << 3 << false << StatoNavigazione::Disabilitata;
        QTest::newRow("the first of two") << 0 << 2 << true << StatoNavigazione::Primo;
        QTest::newRow("the last of two") << 1 << 2 << true << StatoNavigazione::Ultimo;
        QTest::newRow("the middle of three") << 1 << 3 << true << StatoNavigazione::Intermedio;
    }

    void theStateOfAPosition()
    {
        QFETCH(int, posizione);
        QFETCH(int, righe);
        QFETCH(bool, piuCorsi);
        QFETCH(StatoNavigazione, stato);
        QCOMPARE(statoNavigazione(posizione, righe, piuCorsi), stato);
    }

    void theListOfTheSeatsCourses_data()
    {
        QTest::addColumn<int>("sede");
        QTest::addColumn<QString>("corrente");
        QTest::addColumn<QStringList>("voci");
        QTest::addColumn<int>("selezionata");

        const QStringList sede3{u"0001 PRIMO CORSO"_s, u"0002 SECONDO"_s, u"0010 DECIMO"_s, u"10000 "_s};
        QTest::newRow("the course on screen") << 3 << u"0010"_s << sede3 << 2;
        QTest::newRow("a new course pending: the first") << 3 << QString() << sede3 << 0;
        QTest::newRow("one course") << 2 << u"0001"_s << QStringList{u"0001 UNICO"_s} << 0;
        QTest::newRow("no course any more") << 1 << u"0004"_s << QStringList() << -1;
    }

    void theListOfTheSeatsCourses()
    {
        QFETCH(int, sede);
        QFETCH(QString, corrente);
        QFETCH(QStringList, voci);
        QFETCH(int, selezionata);

        BancoCorsi banco;
        corsi(banco.db);
        CourseStore store(banco.connessione());
        const ElencoCorsi elenco = elencoCorsi(store, 7, sede, corrente);
        QCOMPARE(elenco.voci, voci);
        QCOMPARE(elenco.selezionata, selezionata);
    }

    void theCodeOfAnItem_data()
    {
        QTest::addColumn<QString>("voce");
        QTest::addColumn<QString>("codice");

        QTest::newRow("four digits") << u"0001 PRIMO CORSO"_s << u"0001"_s;
        QTest::newRow("five digits") << u"10000 NOME"_s << u"10000"_s;
        QTest::newRow("without a name") << u"0007 "_s << u"0007"_s;
        QTest::newRow("empty") << QString() << QString();
    }

    void theCodeOfAnItem()
    {
        QFETCH(QString, voce);
        QFETCH(QString, codice);
        QCOMPARE(codiceVoceCorso(voce), codice);
    }
};

QTEST_GUILESS_MAIN(TestNavigaCorsi)
#include "tst_NavigaCorsi.moc"
