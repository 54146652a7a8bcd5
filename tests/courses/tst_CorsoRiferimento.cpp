#include "core/data/Recordset.h"
#include "courses/CorsoRiferimento.h"
#include "tests/courses/BancoCorsiApprovati.h"

#include <QTest>

using namespace kx;

namespace {

/** The approved courses the picker's filter and order give, by IdAttivita. */
QList<int> offerti(BancoCorsiApprovati &banco)
{
    Recordset &rs = banco.test.context().DE().rs(u"QryCorsiApprovati"_s);
    rs.open();
    rs.setFilter(filtroCorsiApprovati(banco.test.context().domanda(), banco.corsi()));
    rs.setSort(OrdineCorsiApprovati);
    QList<int> id;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        id.append(rs.value(u"IdAttivita"_s).toInt());
    rs.close();
    rs.clearFilter();
    return id;
}

/** The picker's current row on the approved course. */
CorsoApprovato riga(BancoCorsiApprovati &banco, int idAttivita)
{
    Recordset &rs = banco.test.context().DE().rs(u"QryCorsiApprovati"_s);
    rs.open();
    rs.setFilter(u"IdAttivita="_s + QString::number(idAttivita));
    const CorsoApprovato corso = corsoApprovatoDaRiga(rs);
    rs.close();
    rs.clearFilter();
    return corso;
}

} // namespace

class TestCorsoRiferimento : public QObject
{
    Q_OBJECT

private slots:
    void thePickerOffersTheOperatorsCoursesOfTheCycleAndSeat_data()
    {
        QTest::addColumn<QString>("sede");
        QTest::addColumn<QString>("ciclo");
        QTest::addColumn<QList<int>>("id");

        QTest::newRow("a component, by progressive number")
            << u"2"_s << u"2021"_s << QList<int>{5001, 5002, 5003, 5006};
        QTest::newRow("another component") << u"3"_s << u"2021"_s << QList<int>{5005, 5007};
        QTest::newRow("another cycle") << u"2"_s << u"2014"_s << QList<int>{5004};
        QTest::newRow("an occasional seat: the courses held there")
            << u"1001"_s << u"2021"_s << QList<int>{5006, 5007};
        QTest::newRow("an occasional seat without courses") << u"1002"_s << u"2021"_s << QList<int>{};
        QTest::newRow("a component without courses") << u"1"_s << u"2021"_s << QList<int>{};
        QTest::newRow("a cycle code with an apostrophe") << u"2"_s << u"20'21"_s << QList<int>{};
    }

    void thePickerOffersTheOperatorsCoursesOfTheCycleAndSeat()
    {
        QFETCH(QString, sede);
        QFETCH(QString, ciclo);
        QFETCH(QList<int>, id);

        BancoCorsiApprovati banco;
        banco.sedeECiclo(sede, ciclo);
        QCOMPARE(offerti(banco), id);
    }

    void theNineFieldsOfTheChosenRow()
    {
        BancoCorsiApprovati banco;
        const CorsoApprovato corso = riga(banco, 5001);
        QCOMPARE(corso.IdAttivita, 5001);
        QCOMPARE(corso.ProgrAttivita, u"2019-0001"_s);
        QCOMPARE(corso.DenCorso, u"OPERATORE SOCIO SANITARIO PER LE STRUTTURE RESIDENZIALI"_s);
        QCOMPARE(corso.Componente, 2);
        QCOMPARE(corso.TotIter, 1200);
        QCOMPARE(corso.DurataAnnOre, 600);
        QCOMPARE(corso.Durata, 2);
        QCOMPARE(corso.TipoConv, u"AF"_s);
        QCOMPARE(corso.ProgrAccorp, u"3"_s);
        QVERIFY(corso.scelto());

        const CorsoApprovato nulli = riga(banco, 5002);
        QCOMPARE(nulli.ProgrAccorp, QString());
        QCOMPARE(nulli.TotIter, std::nullopt);
        QCOMPARE(nulli.DurataAnnOre, std::nullopt);
        QCOMPARE(nulli.Durata, std::nullopt);
        QCOMPARE(nulli.TipoConv, QString());
    }

    void aNumberOutOfRangeIsNothing()
    {
        BancoCorsiApprovati banco;
        banco.db.execute(
            u"UPDATE CorsiApprovati SET TotIter = 4294967296, Durata = 'DUE' WHERE IdAttivita = 5001"_s);
        const CorsoApprovato corso = riga(banco, 5001);
        QCOMPARE(corso.TotIter, std::nullopt);
        QCOMPARE(corso.Durata, std::nullopt);
        QCOMPARE(corso.DurataAnnOre, 600);
    }

    void theReferenceAsTheEditorShowsIt()
    {
        BancoCorsiApprovati banco;
        const TestiRiferimento testi = testiRiferimento(riga(banco, 5001));
        QCOMPARE(testi.txtCorsoRifB111, u"2019-0001 - 3 - 2 - OPERATORE SOCIO SANITARIO PER LE ST"_s);
        QCOMPARE(testi.lblidattivita_CorsoRifB111, u"5001"_s);
        QCOMPARE(testi.lblTotOreIter, u"1200"_s);
        QCOMPARE(testi.lblDurataAnnuale, u"600"_s);
        QCOMPARE(testi.lblDurataTotIter, u"2"_s);
        QCOMPARE(testi.lblTipoConv, u"AF"_s);

        // A Null accorpation and Null numbers leave their places empty.
        const TestiRiferimento nulli = testiRiferimento(riga(banco, 5002));
        QCOMPARE(nulli.txtCorsoRifB111, u"2019-0002 -  - 2 - CORSO DELL'ARTE BIANCA"_s);
        QCOMPARE(nulli.lblTotOreIter, QString());
        QCOMPARE(nulli.lblDurataAnnuale, QString());
        QCOMPARE(nulli.lblDurataTotIter, QString());
        QCOMPARE(nulli.lblTipoConv, QString());
    }

    void thePickerButtonWantsACycle()
    {
        BancoCorsiApprovati banco;
        banco.corsi().CorsoApprovatoScelto.IdAttivita = 5005;
        banco.test.prompt.expect(TestoSelezionareCiclo);
        bool aperto = false;
        QVERIFY(!scegliCorsoRiferimento(banco.test.prompt, banco.corsi(), QString(), [&] { aperto = true; }));
        QVERIFY(!aperto);
        const ShownBox box = banco.test.prompt.shown().constLast();
        QCOMPARE(box.icon, Prompt::Icon::None);
        QCOMPARE(box.buttons, Prompt::Buttons::Ok);
        QCOMPARE(box.title, QString());
        QCOMPARE(banco.corsi().CorsoApprovatoScelto.IdAttivita, 5005);
    }

    void thePickerButtonResetsTheChoiceBeforeThePicker()
    {
        BancoCorsiApprovati banco;
        banco.corsi().CorsoApprovatoScelto = riga(banco, 5005);
        int idVisto = 0;
        QVERIFY(!scegliCorsoRiferimento(banco.test.prompt, banco.corsi(), u"2021  PROGRAMMAZIONE 2021"_s,
                                        [&] { idVisto = banco.corsi().CorsoApprovatoScelto.IdAttivita; }));
        QCOMPARE(idVisto, -1);
        QCOMPARE(banco.corsi().CorsoApprovatoScelto.TotIter, std::nullopt);

        const std::optional<TestiRiferimento> testi =
            scegliCorsoRiferimento(banco.test.prompt, banco.corsi(), u"2021  PROGRAMMAZIONE 2021"_s,
                                   [&] { banco.corsi().CorsoApprovatoScelto = riga(banco, 5003); });
        QVERIFY(testi);
        QCOMPARE(testi->txtCorsoRifB111, u"2019-0003 - 1 - 2 - TECNICO 100% DIGITALE *AVANZATO?*"_s);
        QCOMPARE(testi->lblidattivita_CorsoRifB111, u"5003"_s);
    }

    void theCycleChange_data()
    {
        QTest::addColumn<QString>("prima");
        QTest::addColumn<QString>("mostrato");
        QTest::addColumn<QString>("riferimento");
        QTest::addColumn<int>("risposta");
        QTest::addColumn<bool>("accettato");
        QTest::addColumn<QString>("ciclo");
        QTest::addColumn<QString>("riferimentoDopo");

        const QString rif = u"2019-0001 - 3 - 2 - OPERATORE"_s;
        const int nessuna = -1;
        const int si = int(Prompt::Answer::Yes);
        const int no = int(Prompt::Answer::No);
        QTest::newRow("the same cycle with a reference: no question")
            << u"2021"_s << u"2021  PROGRAMMAZIONE 2021"_s << rif << nessuna << true << u"2021"_s << rif;
        QTest::newRow("another cycle without a reference: no question")
            << u"2021"_s << u"2014  PROGRAMMAZIONE 2014"_s << QString() << nessuna << true << u"2014"_s
            << QString();
        QTest::newRow("another cycle with a reference, Yes: the reference text goes")
            << u"2021"_s << u"2014  PROGRAMMAZIONE 2014"_s << rif << si << true << u"2014"_s << QString();
        QTest::newRow("another cycle with a reference, No: nothing changes")
            << u"2021"_s << u"2014  PROGRAMMAZIONE 2014"_s << rif << no << false << u"2021"_s << rif;
        QTest::newRow("the blank entry with a reference asks too")
            << u"2021"_s << QString() << rif << si << true << QString() << QString();
        QTest::newRow("a new course's first cycle") << QString() << u"2021  PROGRAMMAZIONE 2021"_s
                                                    << QString() << nessuna << true << u"2021"_s << QString();
        QTest::newRow("a second change, No keeps the cycle chosen before")
            << u"2014"_s << u"2021  PROGRAMMAZIONE 2021"_s << rif << no << false << u"2014"_s << rif;
    }

    void theCycleChange()
    {
        QFETCH(QString, prima);
        QFETCH(QString, mostrato);
        QFETCH(QString, riferimento);
        QFETCH(int, risposta);
        QFETCH(bool, accettato);
        QFETCH(QString, ciclo);
        QFETCH(QString, riferimentoDopo);

        BancoCorsiApprovati banco;
        banco.corsi().CicloFinanziarioCorrente = prima;
        if (risposta >= 0)
            banco.test.prompt.expect(TestoCambioCiclo, Prompt::Answer(risposta));
        QString txtCorsoRifB111 = riferimento;
        const EsitoCambioCiclo esito =
            cambioCicloFinanziario(banco.test.prompt, banco.corsi(), mostrato, txtCorsoRifB111);
        QCOMPARE(esito == EsitoCambioCiclo::Accettato, accettato);
        QCOMPARE(banco.corsi().CicloFinanziarioCorrente, ciclo);
        QCOMPARE(txtCorsoRifB111, riferimentoDopo);
        QVERIFY(banco.test.prompt.allShown());
        if (risposta >= 0) {
            const ShownBox box = banco.test.prompt.shown().constLast();
            QCOMPARE(box.title, u"Conferma variazione"_s);
            QCOMPARE(box.icon, Prompt::Icon::None);
            QCOMPARE(box.buttons, Prompt::Buttons::YesNo);
        }
    }
};

QTEST_GUILESS_MAIN(TestCorsoRiferimento)
#include "tst_CorsoRiferimento.moc"
