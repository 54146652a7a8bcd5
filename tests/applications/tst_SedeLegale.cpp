#include "applications/SedeLegale.h"
#include "core/data/Connection.h"
#include "core/services/RoutineError.h"
#include "tests/applications/BancoSedi.h"

#include <QTest>

using namespace kx;

namespace {

SchedaSedeLegale valida()
{
    return SchedaSedeLegale{.Componente = u"1"_s,
                            .Denominazione = u"SEDE LEGALE"_s,
                            .ComDes = u"TORINO"_s,
                            .CodComune = u"L219"_s,
                            .SigProv = u"TO"_s,
                            .Cap = u"10121"_s,
                            .Indirizzo = u"VIA ROMA 1"_s,
                            .StatoEstero = QString(),
                            .CittaEstero = QString(),
                            .Tel = u"011 1"_s,
                            .Fax = QString(),
                            .Email = QString(),
                            .Riferimento = u"BIANCHI"_s};
}

Connection &corsiDB(BancoSedi &banco)
{
    return banco.test.context().DE().CorsiDB();
}

/** Writes the seat as a window that loaded the legal seat now would. */
EsitoScritturaSede scrivi(BancoSedi &banco, const SchedaSedeLegale &scheda)
{
    const QList<RigaSedeLegale> righe = leggiSediLegali(corsiDB(banco), banco.test.context().domanda());
    const QVariantList caricati = righe.isEmpty() ? QVariantList() : righe.front().memorizzati;
    return scriviSedeLegale(corsiDB(banco), banco.test.context().domanda(), scheda, caricati,
                            Scrittura::SeInvariata, false);
}

} // namespace

class TestSedeLegale : public QObject
{
    Q_OBJECT

private slots:
    void emailRule_data()
    {
        QTest::addColumn<QString>("indirizzo");
        QTest::addColumn<bool>("accettato");
        QTest::newRow("ordinary") << u"mario.rossi@ente.it"_s << true;
        QTest::newRow("dot right after @") << u"a@.b"_s << true;
        QTest::newRow("blanks and commas pass") << u"a b,c@d e.f"_s << true;
        QTest::newRow("starts with @") << u"@ente.it"_s << false;
        QTest::newRow("no dot after @") << u"mario.rossi@ente"_s << false;
        QTest::newRow("ends with dot") << u"mario@ente.it."_s << false;
        QTest::newRow("two @") << u"a@b@ente.it"_s << false;
        QTest::newRow("no @") << u"ente.it"_s << false;
        QTest::newRow("empty") << QString() << false;
    }
    void emailRule()
    {
        QFETCH(QString, indirizzo);
        QFETCH(bool, accettato);
        QCOMPARE(FormatoEMailCorretto(indirizzo), accettato);
    }

    void checksInOrder_data()
    {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("valore");
        QTest::addColumn<bool>("componenteNullo");
        QTest::addColumn<int>("controllo");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<QString>("fuoco");
        const QString capNonValido = u"C.A.P. non valido"_s;
        QTest::newRow("valid") << QString() << QString() << false << 0 << QString() << QString();
        QTest::newRow("no name, registry seat")
            << u"Denominazione"_s << QString() << false << 1 << u"Inserire denominazione della Sede Legale"_s
            << u"txtDenominazione"_s;
        QTest::newRow("no name, seat not in registry: no message")
            << u"Denominazione"_s << QString() << true << 1 << QString() << u"txtDenominazione"_s;
        QTest::newRow("CAP of 4") << u"Cap"_s << u"1012"_s << false << 2 << capNonValido << u"txtCap"_s;
        QTest::newRow("CAP of 6") << u"Cap"_s << u"101210"_s << false << 2 << capNonValido << u"txtCap"_s;
        QTest::newRow("CAP of 4 with blanks")
            << u"Cap"_s << u" 1012 "_s << false << 2 << capNonValido << u"txtCap"_s;
        QTest::newRow("CAP with a comma counts characters")
            << u"Cap"_s << u"10,21"_s << false << 0 << QString() << QString();
        QTest::newRow("empty CAP") << u"Cap"_s << QString() << false << 0 << QString() << QString();
        QTest::newRow("CAP without municipality")
            << u"ComDes"_s << QString() << false << 3
            << u"Indicare, oltre al C.A.P., anche il comune, oppure cancellare il C.A.P."_s << u"txtComDes"_s;
        QTest::newRow("bad e-mail") << u"Email"_s << u"@ente.it"_s << false << 4
                                    << u"Il formato dell'indirizzo di posta elettronica non è corretto."_s
                                    << u"txtPostaElettronica"_s;
        QTest::newRow("blank e-mail is tested")
            << u"Email"_s << u" "_s << false << 4
            << u"Il formato dell'indirizzo di posta elettronica non è corretto."_s
            << u"txtPostaElettronica"_s;
    }
    void checksInOrder()
    {
        QFETCH(QString, campo);
        QFETCH(QString, valore);
        QFETCH(bool, componenteNullo);
        QFETCH(int, controllo);
        QFETCH(QString, messaggio);
        QFETCH(QString, fuoco);
        SchedaSedeLegale s = valida();
        if (campo == u"Denominazione"_s)
            s.Denominazione = valore;
        else if (campo == u"Cap"_s)
            s.Cap = valore;
        else if (campo == u"ComDes"_s)
            s.ComDes = valore;
        else if (campo == u"Email"_s)
            s.Email = valore;
        const VerificaSedeLegale esito = ControllaSedeLegale(s, componenteNullo);
        QCOMPARE(esito.controllo, controllo);
        QCOMPARE(esito.messaggio, messaggio);
        QCOMPARE(esito.campo, fuoco);
    }

    void firstFailureWins()
    {
        SchedaSedeLegale s = valida();
        s.Cap = u"12"_s;
        s.ComDes.clear();
        s.Email = u"x"_s;
        QCOMPARE(ControllaSedeLegale(s, false).controllo, 2);
    }

    void readsTheLegalSeatWithNullsAsEmpty()
    {
        BancoSedi banco;
        const QList<RigaSedeLegale> righe = leggiSediLegali(corsiDB(banco), banco.test.context().domanda());
        QCOMPARE(righe.size(), 1);
        const SchedaSedeLegale &s = righe[0].scheda;
        QCOMPARE(s.Componente, u"1"_s);
        QCOMPARE(s.Denominazione, u"ENTE UNO"_s);
        QCOMPARE(s.ComDes, u"TORINO"_s);
        QCOMPARE(s.SigProv, u"TO"_s);
        QCOMPARE(s.Cap, u"10121"_s);
        QVERIFY(s.Fax.isEmpty());
        QVERIFY(s.Email.isEmpty());
        QVERIFY(!righe[0].componenteNullo);
        QVERIFY(anomaliaSediLegali(1).isEmpty());
    }

    void noOrSeveralLegalSeats()
    {
        BancoSedi banco;
        banco.db.execute(u"UPDATE CorsiSediInteressate SET TipoCompo='SL' WHERE SedeInteressata=2"_s);
        const auto due = leggiSediLegali(corsiDB(banco), banco.test.context().domanda());
        QCOMPARE(due.size(), 2);
        QCOMPARE(anomaliaSediLegali(due.size()),
                 u"Per l'operatore selezionato esistono più sedi legali. Situazione anomala, contattare "
                 u"l'assistenza TUZ."_s);
        banco.db.execute(u"DELETE FROM CorsiSediInteressate"_s);
        const auto nessuna = leggiSediLegali(corsiDB(banco), banco.test.context().domanda());
        QCOMPARE(nessuna.size(), 0);
        QCOMPARE(anomaliaSediLegali(0),
                 u"Per l'operatore selezionato non esiste una sede legale. Situazione anomala, contattare "
                 u"l'assistenza TUZ."_s);
    }

    void unchangedComparesShownColumns()
    {
        const SchedaSedeLegale memorizzata = valida();
        SchedaSedeLegale mostrata = memorizzata;
        QVERIFY(SedeLegaleInvariata(mostrata, memorizzata));
        mostrata.SigProv = u"XX"_s; // shown only, never compared
        mostrata.ComDes = u"ALTRO"_s;
        QVERIFY(SedeLegaleInvariata(mostrata, memorizzata));
        mostrata.Email = u"a@b.c"_s;
        QVERIFY(!SedeLegaleInvariata(mostrata, memorizzata));
    }

    void saveWritesBothTables()
    {
        BancoSedi banco;
        SchedaSedeLegale s = valida();
        s.Cap = u"10128"_s;
        s.Fax = u"011 2"_s;
        s.Email = u"sede@ente.it"_s;
        s.StatoEstero = QString();
        const EsitoScritturaSede esito = scrivi(banco, s);
        QVERIFY(!esito.domandaCancellata);
        QVERIFY(!esito.registroMancante);
        for (const QString &colonna : {u"Cap"_s, u"Fax"_s, u"Email"_s, u"TipoCompo"_s, u"Riferimento"_s}) {
            QCOMPARE(banco.sede(colonna), banco.registro(colonna));
        }
        QCOMPARE(banco.sede(u"Cap"_s).toString(), u"10128"_s);
        QCOMPARE(banco.registro(u"Email"_s).toString(), u"sede@ente.it"_s);
        QCOMPARE(banco.sede(u"Denominazione"_s).toString(), u"SEDE LEGALE"_s);
        // An empty box is written as an empty text, never as Null.
        QCOMPARE(banco.sede(u"StatoEstero"_s), QVariant(u""_s));
        QCOMPARE(banco.capComune(), u"10100"_s);
    }

    void deletedSnapshotRowWritesNothing()
    {
        BancoSedi banco;
        banco.db.execute(u"DELETE FROM CorsiSediInteressate WHERE SedeInteressata=1"_s);
        SchedaSedeLegale s = valida();
        s.Tel = u"999"_s;
        try {
            scrivi(banco, s);
            QFAIL("the deleted row was not reported");
        } catch (const RoutineError &errore) {
            QCOMPARE(errore.number(), ErrorCode::RowDeletedMeanwhile);
        }
        QCOMPARE(banco.registro(u"Tel"_s), QVariant());
    }

    void reinsertWritesTheWholeRow()
    {
        BancoSedi banco;
        banco.db.execute(u"DELETE FROM CorsiSediInteressate WHERE SedeInteressata=1"_s);
        scriviSedeLegale(corsiDB(banco), banco.test.context().domanda(), valida(), {}, Scrittura::Sovrascrivi,
                         true);
        QCOMPARE(banco.sede(u"GrupOpe"_s).toString(), u"A"_s);
        QCOMPARE(banco.sede(u"Operatore"_s).toInt(), 12);
        QCOMPARE(banco.sede(u"TipoCompo"_s).toString(), u"SL"_s);
        QCOMPARE(banco.sede(u"Denominazione"_s).toString(), u"SEDE LEGALE"_s);
        QCOMPARE(banco.sede(u"CodComune"_s).toString(), u"L219"_s);
        QCOMPARE(banco.sede(u"Indirizzo"_s).toString(), u"VIA ROMA 1"_s);
        QCOMPARE(banco.sede(u"Riferimento"_s).toString(), u"BIANCHI"_s);
        QCOMPARE(leggiSediLegali(corsiDB(banco), banco.test.context().domanda()).size(), 1);
    }

    void missingRegistryRowSavesTheApplication()
    {
        BancoSedi banco;
        banco.db.execute(u"DELETE FROM CorsiCompo WHERE GrupOpe='A' AND Operatore=12 AND Componente=1"_s);
        SchedaSedeLegale s = valida();
        s.Tel = u"999"_s;
        const EsitoScritturaSede esito = scrivi(banco, s);
        QVERIFY(esito.registroMancante);
        QCOMPARE(banco.sede(u"Tel"_s).toString(), u"999"_s);
    }

    void aFailingRegistryWriteLeavesTheSnapshotAsItWas()
    {
        BancoSedi banco;
        banco.db.execute(u"CREATE TRIGGER rifiuta BEFORE UPDATE ON CorsiCompo "
                         u"BEGIN SELECT RAISE(ABORT, 'scrittura rifiutata'); END"_s);
        const QList<QVariantList> righe =
            banco.db.query(u"SELECT * FROM CorsiSediInteressate ORDER BY rowid"_s).rows;
        SchedaSedeLegale s = valida();
        s.Tel = u"999"_s;
        const RoutineError errore = errorOf([&] { scrivi(banco, s); });
        QVERIFY(errore.description().contains(u"scrittura rifiutata"_s));
        QCOMPARE(banco.db.query(u"SELECT * FROM CorsiSediInteressate ORDER BY rowid"_s).rows, righe);
        QCOMPARE(banco.registro(u"Tel"_s), QVariant());
    }

    void aSeatChangedSinceItWasLoadedIsWrittenOverOnlyWhenAsked()
    {
        BancoSedi banco;
        const QVariantList caricati =
            leggiSediLegali(corsiDB(banco), banco.test.context().domanda()).front().memorizzati;
        banco.db.execute(u"UPDATE CorsiSediInteressate SET Fax='ALTRO' WHERE SedeInteressata=1"_s);
        SchedaSedeLegale s = valida();
        s.Tel = u"999"_s;
        try {
            scriviSedeLegale(corsiDB(banco), banco.test.context().domanda(), s, caricati,
                             Scrittura::SeInvariata, false);
            QFAIL("the change of the other installation was not noticed");
        } catch (const RigaModificataAltrove &) {
        }
        QCOMPARE(banco.sede(u"Tel"_s).toString(), u"011 1"_s);
        QCOMPARE(banco.registro(u"Tel"_s), QVariant());
        scriviSedeLegale(corsiDB(banco), banco.test.context().domanda(), s, caricati, Scrittura::Sovrascrivi,
                         false);
        QCOMPARE(banco.sede(u"Tel"_s).toString(), u"999"_s);
        QCOMPARE(banco.sede(u"Fax"_s).toString(), u""_s);
    }

    void deletedApplicationWritesNothing()
    {
        BancoSedi banco;
        banco.db.execute(u"DELETE FROM Domande WHERE NumDoma=7"_s);
        SchedaSedeLegale s = valida();
        s.Tel = u"999"_s;
        const EsitoScritturaSede esito = scrivi(banco, s);
        QVERIFY(esito.domandaCancellata);
        QCOMPARE(banco.registro(u"Tel"_s), QVariant());
    }
};

QTEST_GUILESS_MAIN(TestSedeLegale)
#include "tst_SedeLegale.moc"
