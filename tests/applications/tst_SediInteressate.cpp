#include "applications/SediInteressate.h"
#include "core/data/Connection.h"
#include "core/services/RoutineError.h"
#include "tests/applications/BancoSedi.h"

#include <QTest>

using namespace kx;

class TestSediInteressate : public QObject
{
    Q_OBJECT

private slots:
    void lines_data()
    {
        QTest::addColumn<QVariant>("sede");
        QTest::addColumn<QVariant>("nome");
        QTest::addColumn<QVariant>("tipo");
        QTest::addColumn<QVariant>("indirizzo");
        QTest::addColumn<QString>("riga");
        const QString ventisette = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ1"_s;
        QTest::newRow("27 characters whole")
            << QVariant(3) << QVariant(ventisette) << QVariant(u"SL"_s) << QVariant(u"VIA PO"_s)
            << u"3     - "_s + ventisette + u"    - SL - VIA PO"_s;
        QTest::newRow("28 characters cut")
            << QVariant(3) << QVariant(ventisette + u"2"_s) << QVariant(u"SL"_s) << QVariant(u"VIA PO"_s)
            << u"3     - "_s + ventisette + u"... - SL - VIA PO"_s;
        QTest::newRow("five-digit code")
            << QVariant(12345) << QVariant(u"SEDE"_s) << QVariant(u"UO"_s) << QVariant(u"VIA"_s)
            << u"12345 - SEDE                           - UO - VIA"_s;
        QTest::newRow("no type") << QVariant(4) << QVariant(u"SEDE"_s) << QVariant(u""_s)
                                 << QVariant(u"VIA"_s)
                                 << u"4     - SEDE                           -  - VIA"_s;
        QTest::newRow("no address") << QVariant(4) << QVariant(u"SEDE"_s) << QVariant(u"SO"_s) << QVariant()
                                    << u"4     - SEDE                           - SO - "_s;
        QTest::newRow("Null name") << QVariant(4) << QVariant() << QVariant(u"SO"_s) << QVariant(u"VIA"_s)
                                   << u"4     -                                - SO - VIA"_s;
    }
    void lines()
    {
        QFETCH(QVariant, sede);
        QFETCH(QVariant, nome);
        QFETCH(QVariant, tipo);
        QFETCH(QVariant, indirizzo);
        QFETCH(QString, riga);
        const QString costruita = rigaElencoSedi(sede, nome, tipo, indirizzo);
        QCOMPARE(costruita, riga);
        QCOMPARE(sedeDellaRiga(costruita), sede.toString());
    }

    void codeLongerThanFiveIsAnError()
    {
        try {
            rigaElencoSedi(123456, u"SEDE"_s, u"SO"_s, u"VIA"_s);
            QFAIL("a six-digit code was accepted");
        } catch (const RoutineError &errore) {
            QCOMPARE(errore.number(), ErrorCode::InvalidProcedureCall);
        }
    }

    void listsTheApplicationsSeatsInCodeOrder()
    {
        BancoSedi banco;
        banco.db.insert(
            u"CorsiSediInteressate"_s,
            {u"NumDoma"_s, u"SedeInteressata"_s, u"GrupOpe"_s, u"Operatore"_s, u"Denominazione"_s},
            {{7, 10, u"A"_s, 12, u"DIECI"_s}});
        Connection &db = banco.test.context().DE().CorsiDB();
        const ElencoSedi elenco = caricaElencoSedi(db, banco.test.context().domanda(), u"2"_s);
        QCOMPARE(elenco.righe.size(), 3);
        QCOMPARE(elenco.codici, (QList<qint64>{1, 2, 10}));
        QVERIFY(elenco.righe[2].startsWith(u"10    - DIECI"_s));
        QCOMPARE(elenco.selezionata, 1);
        QCOMPARE(caricaElencoSedi(db, banco.test.context().domanda(), u"99"_s).selezionata, -1);
    }

    void emptyApplication()
    {
        BancoSedi banco;
        banco.db.execute(u"DELETE FROM CorsiSediInteressate"_s);
        const ElencoSedi elenco =
            caricaElencoSedi(banco.test.context().DE().CorsiDB(), banco.test.context().domanda(), u"1"_s);
        QVERIFY(elenco.righe.isEmpty());
        QCOMPARE(elenco.selezionata, -1);
    }
    void addressRules_data()
    {
        QTest::addColumn<QString>("comune");
        QTest::addColumn<QString>("stato");
        QTest::addColumn<bool>("solaLettura");
        QTest::addColumn<QStringList>("mostrati"); // municipality, code, province, CAP, state
        QTest::newRow("municipality, edit")
            << u"TORINO"_s << QString() << false
            << QStringList{u"TORINO"_s, u"L219"_s, u"TO"_s, u"10121"_s, u""_s};
        QTest::newRow("abroad, edit")
            << u"TORINO"_s << u"FRANCIA"_s << false << QStringList{u""_s, u""_s, u""_s, u""_s, u"FRANCIA"_s};
        QTest::newRow("abroad, read-only shows both")
            << u"TORINO"_s << u"FRANCIA"_s << true
            << QStringList{u"TORINO"_s, u"L219"_s, u"TO"_s, u"10121"_s, u"FRANCIA"_s};
        QTest::newRow("no municipality, read-only")
            << QString() << QString() << true << QStringList{u""_s, u""_s, u""_s, u"10121"_s, u""_s};
    }
    void addressRules()
    {
        QFETCH(QString, comune);
        QFETCH(QString, stato);
        QFETCH(bool, solaLettura);
        QFETCH(QStringList, mostrati);
        SchedaSede s;
        s.ComDes = comune;
        s.CodComune = u"L219"_s;
        s.SigProv = u"TO"_s;
        s.Cap = u"10121"_s;
        s.StatoEstero = stato;
        const IndirizzoMostrato m = regoleIndirizzo(s, solaLettura);
        QCOMPARE((QStringList{m.ComDes, m.CodComune, m.Prov, m.Cap, m.StatoEstero}), mostrati);
    }

    void navigation_data()
    {
        QTest::addColumn<int>("totale");
        QTest::addColumn<int>("da");
        QTest::addColumn<int>("direzione");
        QTest::addColumn<int>("arrivo");
        QTest::addColumn<int>("stato");
        const int primo = int(StatoNavigazione::Primo), ultimo = int(StatoNavigazione::Ultimo),
                  unico = int(StatoNavigazione::Unico), tutti = int(StatoNavigazione::Tutti);
        QTest::newRow("1 seat") << 1 << 0 << int(Direzione::Successivo) << 0 << unico;
        QTest::newRow("2: next") << 2 << 0 << int(Direzione::Successivo) << 1 << ultimo;
        QTest::newRow("2: previous") << 2 << 1 << int(Direzione::Precedente) << 0 << primo;
        QTest::newRow("5: next from first") << 5 << 0 << int(Direzione::Successivo) << 1 << tutti;
        QTest::newRow("5: last") << 5 << 1 << int(Direzione::Ultimo) << 4 << ultimo;
        QTest::newRow("5: next from fourth") << 5 << 3 << int(Direzione::Successivo) << 4 << ultimo;
        QTest::newRow("5: previous from second") << 5 << 1 << int(Direzione::Precedente) << 0 << primo;
        QTest::newRow("5: first") << 5 << 3 << int(Direzione::Primo) << 0 << primo;
    }
    void navigation()
    {
        QFETCH(int, totale);
        QFETCH(int, da);
        QFETCH(int, direzione);
        QFETCH(int, arrivo);
        QFETCH(int, stato);
        const qsizetype posizione = posizioneDopo(Direzione(direzione), da, totale);
        QCOMPARE(posizione, qsizetype(arrivo));
        QCOMPARE(int(statoNavigazione(posizione, totale)), stato);
    }

    void buttonsOfEachState()
    {
        QCOMPARE(pulsantiAbilitati(StatoNavigazione::Primo), (QList<bool>{false, false, true, true, true}));
        QCOMPARE(pulsantiAbilitati(StatoNavigazione::Ultimo), (QList<bool>{true, true, false, false, true}));
        QCOMPARE(pulsantiAbilitati(StatoNavigazione::Unico),
                 (QList<bool>{false, false, false, false, false}));
        QCOMPARE(pulsantiAbilitati(StatoNavigazione::Tutti), (QList<bool>{true, true, true, true, true}));
    }

    void changeCheck_data()
    {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("valore");
        QTest::addColumn<bool>("invariata");
        QTest::newRow("nothing typed") << QString() << QString() << true;
        QTest::newRow("e-mail typed over Null") << u"Email"_s << u"a@b.it"_s << false;
        QTest::newRow("telephone") << u"Tel"_s << u"2"_s << false;
        QTest::newRow("reference") << u"Riferimento"_s << u"ROSSI "_s << false;
        QTest::newRow("CAP") << u"Cap"_s << u"10128"_s << false;
    }
    void changeCheck()
    {
        QFETCH(QString, campo);
        QFETCH(QString, valore);
        QFETCH(bool, invariata);
        SchedaSede s;
        s.Tel = u"1"_s;
        s.Riferimento = u"ROSSI"_s;
        s.Cap = u"10121"_s;
        ContattiSede c{u"10121"_s, u"1"_s, QString(), QString(), u"ROSSI"_s};
        if (campo == u"Email"_s)
            c.Email = valore;
        else if (campo == u"Tel"_s)
            c.Tel = valore;
        else if (campo == u"Riferimento"_s)
            c.Riferimento = valore;
        else if (campo == u"Cap"_s)
            c.Cap = valore;
        QCOMPARE(SedeInvariata(c, s, u"10121"_s), invariata);
    }

    void capEmptiedByTheAddressRuleIsNoChange()
    {
        SchedaSede s;
        s.Cap = u"10121"_s;
        s.StatoEstero = u"FRANCIA"_s;
        s.ComDes = u"TORINO"_s;
        const IndirizzoMostrato m = regoleIndirizzo(s, false);
        QVERIFY(SedeInvariata(ContattiSede{m.Cap, {}, {}, {}, {}}, s, m.Cap));
    }

    void savingAComponent()
    {
        BancoSedi banco;
        Connection &db = banco.test.context().DE().CorsiDB();
        const QList<SchedaSede> sedi = leggiSedi(db, banco.test.context().domanda());
        QCOMPARE(sedi.size(), 2);
        QCOMPARE(sedi[0].Cap, u"10121"_s); // the seat's own CAP, not the municipality's 10100
        const ContattiSede c{u"10128"_s, u"011 9"_s, u"011 8"_s, u"a@b.it"_s, u"ROSSI"_s};
        const EsitoScritturaSedi esito = scriviSede(db, banco.test.context().domanda(), sedi[0], c,
                                                    sedi[0].Cap, Scrittura::SeInvariata, false);
        QVERIFY(!esito.registroMancante);
        QCOMPARE(banco.snapshot(1, u"Cap"_s).toString(), u"10128"_s);
        QCOMPARE(banco.snapshot(1, u"TipoCompo"_s).toString(), u"SL"_s);
        for (const QString &colonna : {u"Cap"_s, u"Tel"_s, u"Fax"_s, u"Email"_s, u"Riferimento"_s})
            QCOMPARE(banco.registro(colonna), banco.snapshot(1, colonna));
        QCOMPARE(banco.registro(u"TipoCompo"_s).toString(), u"SL"_s);
        QCOMPARE(banco.capComune(), u"10100"_s);
    }

    void untouchedCapIsKept()
    {
        BancoSedi banco;
        Connection &db = banco.test.context().DE().CorsiDB();
        banco.db.execute(u"UPDATE CorsiCompo SET Cap='10199' WHERE Componente=1"_s);
        const QList<SchedaSede> sedi = leggiSedi(db, banco.test.context().domanda());
        scriviSede(db, banco.test.context().domanda(), sedi[0], ContattiSede{u""_s, u"1"_s, {}, {}, u"R"_s},
                   u""_s, Scrittura::SeInvariata, false);
        QCOMPARE(banco.snapshot(1, u"Cap"_s).toString(), u"10121"_s);
        QCOMPARE(banco.registro(u"Cap"_s).toString(), u"10199"_s);
    }

    void savingAnOccasionalSeat()
    {
        BancoSedi banco;
        banco.altreSedi();
        Connection &db = banco.test.context().DE().CorsiDB();
        const QList<SchedaSede> sedi = leggiSedi(db, banco.test.context().domanda());
        QCOMPARE(sedi.size(), 5);
        QCOMPARE(sedi[2].TipoCompo, u"UO"_s);
        const ContattiSede c{u"10100"_s, u"055"_s, u"056"_s, u"nuova@x.it"_s, u"BLU"_s};
        scriviSede(db, banco.test.context().domanda(), sedi[2], c, c.Cap, Scrittura::SeInvariata, false);
        QCOMPARE(banco.db.scalar(u"SELECT Tel || '/' || Fax FROM CorsiSediOcc WHERE SedeOcc=3"_s).toString(),
                 u"055/056"_s);
        // The first use in key order, the component 1, gets the contacts; the other stays.
        QCOMPARE(banco.db.scalar(u"SELECT Email FROM CorsiSediOccUtil WHERE Componente=1"_s).toString(),
                 u"nuova@x.it"_s);
        QCOMPARE(banco.db.scalar(u"SELECT Email FROM CorsiSediOccUtil WHERE Componente=2"_s).toString(),
                 u"due@x.it"_s);
        QCOMPARE(banco.registro(u"Tel"_s), QVariant());
        QCOMPARE(banco.capComune(), u"10100"_s);
    }

    void missingRegistryRowAndDeletedSnapshot()
    {
        BancoSedi banco;
        Connection &db = banco.test.context().DE().CorsiDB();
        const QList<SchedaSede> sedi = leggiSedi(db, banco.test.context().domanda());
        const ContattiSede c{u"10121"_s, u"7"_s, {}, {}, u"R"_s};
        banco.db.execute(u"DELETE FROM CorsiCompo WHERE Operatore=12 AND Componente=2"_s);
        QVERIFY(
            scriviSede(db, banco.test.context().domanda(), sedi[1], c, c.Cap, Scrittura::SeInvariata, false)
                .registroMancante);
        QCOMPARE(banco.snapshot(2, u"Tel"_s).toString(), u"7"_s);

        banco.db.execute(u"DELETE FROM CorsiSediInteressate WHERE SedeInteressata=2"_s);
        try {
            scriviSede(db, banco.test.context().domanda(), sedi[1], c, c.Cap, Scrittura::SeInvariata, false);
            QFAIL("the deleted row was not reported");
        } catch (const RoutineError &errore) {
            QCOMPARE(errore.number(), ErrorCode::RowDeletedMeanwhile);
        }
        scriviSede(db, banco.test.context().domanda(), sedi[1], c, c.Cap, Scrittura::Sovrascrivi, true);
        QCOMPARE(banco.snapshot(2, u"Denominazione"_s).toString(), u"SEDE OPERATIVA"_s);
        QCOMPARE(banco.snapshot(2, u"TipoCompo"_s).toString(), u"SO"_s);
        QCOMPARE(banco.snapshot(2, u"StatoEstero"_s).toString(), u"FRANCIA"_s);
        QCOMPARE(banco.snapshot(2, u"Operatore"_s).toInt(), 12);
    }

    void deletedApplicationWritesNothing()
    {
        BancoSedi banco;
        Connection &db = banco.test.context().DE().CorsiDB();
        const QList<SchedaSede> sedi = leggiSedi(db, banco.test.context().domanda());
        banco.db.execute(u"DELETE FROM Domande WHERE NumDoma=7"_s);
        const EsitoScritturaSedi esito = scriviSede(db, banco.test.context().domanda(), sedi[0],
                                                    ContattiSede{u"10121"_s, u"5"_s, {}, {}, u"R"_s},
                                                    u"10121"_s, Scrittura::SeInvariata, false);
        QVERIFY(esito.domandaCancellata);
        QCOMPARE(banco.registro(u"Tel"_s), QVariant());
    }

    void aFailingRegistryWriteLeavesTheSnapshotAsItWas_data()
    {
        QTest::addColumn<int>("sede");
        QTest::addColumn<QString>("tabella");
        QTest::newRow("component") << 1 << u"CorsiCompo"_s;
        QTest::newRow("occasional seat, its use written last") << 3 << u"CorsiSediOccUtil"_s;
    }
    void aFailingRegistryWriteLeavesTheSnapshotAsItWas()
    {
        QFETCH(int, sede);
        QFETCH(QString, tabella);
        BancoSedi banco;
        banco.altreSedi();
        banco.db.execute(u"CREATE TRIGGER rifiuta BEFORE UPDATE ON "_s + tabella +
                         u" BEGIN SELECT RAISE(ABORT, 'scrittura rifiutata'); END"_s);
        Connection &db = banco.test.context().DE().CorsiDB();
        const QList<SchedaSede> sedi = leggiSedi(db, banco.test.context().domanda());
        const SchedaSede &scheda = *std::find_if(sedi.begin(), sedi.end(), [sede](const SchedaSede &s) {
            return s.SedeInteressata == QString::number(sede);
        });
        const QStringList prima = banco.fotografia();
        const ContattiSede c{scheda.Cap, u"055"_s, u"056"_s, u"nuova@x.it"_s, u"BLU"_s};
        const RoutineError errore = errorOf([&] {
            scriviSede(db, banco.test.context().domanda(), scheda, c, scheda.Cap, Scrittura::SeInvariata,
                       false);
        });
        QVERIFY(errore.description().contains(u"scrittura rifiutata"_s));
        QCOMPARE(banco.fotografia(), prima);
    }

    void aSeatChangedSinceItWasLoadedIsWrittenOverOnlyWhenAsked()
    {
        BancoSedi banco;
        Connection &db = banco.test.context().DE().CorsiDB();
        const QList<SchedaSede> sedi = leggiSedi(db, banco.test.context().domanda());
        banco.db.execute(u"UPDATE CorsiSediInteressate SET Riferimento='ALTRI' WHERE SedeInteressata=1"_s);
        const ContattiSede c{sedi[0].Cap, u"555"_s, {}, {}, sedi[0].Riferimento};
        const QStringList prima = banco.fotografia();
        try {
            scriviSede(db, banco.test.context().domanda(), sedi[0], c, sedi[0].Cap, Scrittura::SeInvariata,
                       false);
            QFAIL("the change of the other installation was not noticed");
        } catch (const RigaModificataAltrove &) {
        }
        QCOMPARE(banco.fotografia(), prima);
        scriviSede(db, banco.test.context().domanda(), sedi[0], c, sedi[0].Cap, Scrittura::Sovrascrivi,
                   false);
        QCOMPARE(banco.snapshot(1, u"Tel"_s).toString(), u"555"_s);
        // Only what the window changed is written: the other installation's reference stays.
        QCOMPARE(banco.snapshot(1, u"Riferimento"_s).toString(), u"ALTRI"_s);
    }

    void typeItems()
    {
        BancoSedi banco;
        banco.altreSedi();
        QCOMPARE(vociTipoCompo(banco.test.context().DE().CorsiDB()),
                 (QStringList{QString(), u"SL  SEDE LEGALE"_s, u"UO  SEDE OCCASIONALE"_s}));
    }
};

QTEST_GUILESS_MAIN(TestSediInteressate)
#include "tst_SediInteressate.moc"
