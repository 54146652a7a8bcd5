#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/data/DataEnvironment.h"
#include "core/data/EngineErrors.h"
#include "core/services/ErrorBoxes.h"
#include "refdata/AggiornaSediInteressate.h"

#include <QTest>
#include <sqlite3.h>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QVariant Null;

const QStringList Colonne{
    u"NumDoma"_s,       u"SedeInteressata"_s, u"GrupOpe"_s,     u"Operatore"_s, u"TipoCompo"_s,
    u"Denominazione"_s, u"CodComune"_s,       u"Cap"_s,         u"Indirizzo"_s, u"Tel"_s,
    u"Fax"_s,           u"StatoEstero"_s,     u"CittaEstero"_s, u"Email"_s,     u"Riferimento"_s};

/** Application 2001's legal seat as the user left it: telephone and e-mail typed, no postal code. */
const QVariantList SedeLegale{2001,
                              1,
                              u"A"_s,
                              1,
                              u"SL"_s,
                              u"VECCHIO NOME"_s,
                              u"037001"_s,
                              u""_s,
                              u"VIA VECCHIA"_s,
                              u"TEL UTENTE"_s,
                              Null,
                              Null,
                              Null,
                              u"x@y.it"_s,
                              u"ROSSI"_s};
/** A seat the registry no longer lists. */
const QVariantList SedeSparita{2001,        5,           u"A"_s,     1,           u"UL"_s,
                               u"CHIUSA"_s, u"037001"_s, u"40100"_s, u"VIA C"_s,  u"051"_s,
                               u"052"_s,    Null,        Null,       u"c@d.it"_s, u"VERDI"_s};
/** The occasional seat held a foreign state, which an occasional seat cannot have. */
const QVariantList SedeOccasionale{2001,        1001,       u"A"_s,     1,        u"UO"_s, u"AULA VECCHIA"_s,
                                   u"037001"_s, u"40100"_s, u"VIA D"_s, u"059"_s, Null,    u"FRANCIA"_s,
                                   u"PARIGI"_s, u""_s,      u"BLU"_s};
/** Printed: left exactly as printed. */
const QVariantList SedeStampata{
    2002, 1,    u"A"_s, 1,    u"SL"_s, u"VECCHIO NOME"_s, u"037001"_s, Null, u"VIA VECCHIA"_s, Null,
    Null, Null, Null,   Null, Null};

struct Banco
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};

    Banco()
    {
        db.insert(u"Domande"_s, {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s, u"DomandaStampata"_s},
                  {{2001, u"A"_s, 1, 0}, {2002, u"A"_s, 1, 1}, {2003, u"B"_s, 2, 0}});
        db.insert(u"CorsiCompo"_s,
                  {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"TipoCompo"_s, u"Denominazione"_s,
                   u"CodComune"_s, u"Cap"_s, u"Indirizzo"_s, u"Tel"_s, u"Fax"_s, u"StatoEstero"_s,
                   u"CittaEstero"_s, u"Email"_s, u"Riferimento"_s},
                  {{u"A"_s, 1, 1, u"SL"_s, u"NUOVO NOME"_s, u"037002"_s, u"40121"_s, u"VIA NUOVA"_s,
                    u"051111"_s, u"051112"_s, u"SVIZZERA"_s, u"BERNA"_s, u"registro@a.it"_s, u"REGISTRO"_s},
                   {u"A"_s, 1, 2, u"UL"_s, u"LABORATORIO"_s, u"037003"_s, u"40122"_s, u"VIA LAB"_s,
                    u"051222"_s, Null, Null, Null, Null, Null}});
        db.insert(
            u"CorsiSediOcc"_s,
            {u"SedeOcc"_s, u"Denominazione"_s, u"Indirizzo"_s, u"CodComune"_s, u"Cap"_s, u"Tel"_s, u"Fax"_s,
             u"TipoCompo"_s},
            {{1001, u"AULA"_s, u"VIA AULA"_s, u"037004"_s, u"40123"_s, u"051333"_s, u"051334"_s, u"UO"_s}});
        // Both components use the occasional seat: it stays one seat of the application.
        db.insert(u"CorsiSediOccUtil"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"SedeOcc"_s},
                  {{u"A"_s, 1, 1, 1001}, {u"A"_s, 1, 2, 1001}});
        db.insert(u"CorsiSediInteressate"_s, Colonne,
                  {SedeLegale, SedeSparita, SedeOccasionale, SedeStampata});
        corsiDB().open(db.path(), Connection::Mode::Shared);
    }

    Connection &corsiDB() { return test.context().DE().CorsiDB(); }

    QList<QVariantList> sedi()
    {
        return corsiDB()
            .query(u"SELECT "_s + Colonne.join(u", "_s) +
                   u" FROM CorsiSediInteressate ORDER BY NumDoma, SedeInteressata"_s)
            .rows;
    }
};

} // namespace

class TestAggiornaSediInteressate : public QObject
{
    Q_OBJECT

private slots:
    void openApplicationsFollowTheRegistry()
    {
        Banco banco;

        AggiornaSediInteressate(banco.test.context());

        QVERIFY(banco.test.prompt.shown().isEmpty());
        QCOMPARE(banco.sedi(),
                 (QList<QVariantList>{
                     // Name, municipality and address follow the registry; the typed telephone, the
                     // e-mail and the contact person stay; the empty postal code, the fax, the
                     // foreign state and city are filled.
                     {2001, 1, u"A"_s, 1, u"SL"_s, u"NUOVO NOME"_s, u"037002"_s, u"40121"_s, u"VIA NUOVA"_s,
                      u"TEL UTENTE"_s, u"051112"_s, u"SVIZZERA"_s, u"BERNA"_s, u"x@y.it"_s, u"ROSSI"_s},
                     // A component new to the application: a row with empty contact person and e-mail.
                     {2001, 2, u"A"_s, 1, u"UL"_s, u"LABORATORIO"_s, u"037003"_s, u"40122"_s, u"VIA LAB"_s,
                      u"051222"_s, Null, Null, Null, u""_s, u""_s},
                     SedeSparita,
                     // The occasional seat: one row, no foreign state or city, filled fax.
                     {2001, 1001, u"A"_s, 1, u"UO"_s, u"AULA"_s, u"037004"_s, u"40100"_s, u"VIA AULA"_s,
                      u"059"_s, u"051334"_s, u""_s, u""_s, u""_s, u"BLU"_s},
                     SedeStampata,
                 }));
    }

    void anOperatorWithoutSeatsChangesNothing()
    {
        Banco banco;
        banco.db.execute(u"DELETE FROM CorsiCompo"_s);
        banco.db.execute(u"DELETE FROM CorsiSediOccUtil"_s);
        const QList<QVariantList> prima = banco.sedi();

        AggiornaSediInteressate(banco.test.context());

        QCOMPARE(banco.sedi(), prima);
    }

    void aFailureHalfWayUndoesTheWholeRefresh()
    {
        Banco banco;
        // Application 2003 comes after 2001: its new seat is refused once 2001 has been refreshed.
        banco.db.insert(u"CorsiCompo"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"Denominazione"_s},
                        {{u"B"_s, 2, 1, u"SEDE B"_s}});
        banco.db.execute(
            u"CREATE TRIGGER Rifiuta BEFORE INSERT ON CorsiSediInteressate WHEN NEW.NumDoma = 2003 "
            u"BEGIN SELECT RAISE(ABORT, 'valore rifiutato'); END"_s);
        const QList<QVariantList> prima = banco.sedi();
        const RoutineError rifiuto = engineError(SQLITE_CONSTRAINT_TRIGGER, u"valore rifiutato"_s);
        banco.test.prompt.expect(testoErroreRoutine(u"Errore in AggiornaSediInteressate"_s, rifiuto));

        // Inside a caller's transaction: what the caller did before stays, the refresh is undone.
        {
            Transaction transaction(banco.corsiDB());
            banco.corsiDB().execute(u"UPDATE Domande SET PROV = '037' WHERE NumDoma = 2003"_s);
            AggiornaSediInteressate(banco.test.context());
            transaction.commit();
        }

        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().front().title, QString());
        QCOMPARE(banco.test.prompt.shown().front().icon, Prompt::Icon::Critical);
        QCOMPARE(banco.sedi(), prima);
        QCOMPARE(banco.corsiDB().scalar(u"SELECT PROV FROM Domande WHERE NumDoma = 2003"_s),
                 QVariant(u"037"_s));

        // Once the cause is gone, the next refresh does it all.
        banco.corsiDB().execute(u"DROP TRIGGER Rifiuta"_s);
        AggiornaSediInteressate(banco.test.context());
        QCOMPARE(
            banco.corsiDB().scalar(u"SELECT Denominazione FROM CorsiSediInteressate WHERE NumDoma = 2003"_s),
            QVariant(u"SEDE B"_s));
        QCOMPARE(banco.corsiDB().scalar(u"SELECT COUNT(*) FROM CorsiSediInteressate WHERE NumDoma = 2001"_s),
                 QVariant(4));
    }
};

QTEST_GUILESS_MAIN(TestAggiornaSediInteressate)
#include "tst_AggiornaSediInteressate.moc"
