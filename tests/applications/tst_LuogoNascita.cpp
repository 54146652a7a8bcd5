#include "FakeServices.h"
#include "TestContext.h"
#include "applications/LuogoNascita.h"
#include "applications/Operatore.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "tests/applications/BancoLuoghi.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString NonTrovato = u"Il comune/stato estero inserito non è stato trovato nell'elenco\r\n"
                           u"dei comuni italiani/stati esteri. Mantenere la denominazione inserita ?"_s;
const QString Estero = u"La denominazione inserita corrisponde ad uno stato estero?\r\n"
                       u"Rispondendo NO la denominazione sarà considerata un comune italiano."_s;

using Fuoco = EsitoLuogoNascita::Fuoco;

/** Look-ups over two small tables, which remember the names they were asked for. */
struct RicercheFinte
{
    QStringList cercati;
    RicercheLuogo ricerche()
    {
        return {
            .comune = [this](const QString &nome) -> std::optional<QString> {
                cercati << nome;
                if (nome == u"TORINO")
                    return u"001"_s;
                if (nome == u"L'AQUILA")
                    return u"066"_s;
                return std::nullopt;
            },
            .statoEstero =
                [this](const QString &nome) {
                    cercati << nome;
                    return nome == u"FRANCIA";
                },
            .siglaProvincia = [](const QString &prov) { return prov == u"001" ? u"TO"_s : u"AQ"_s; },
        };
    }
};

/** A card that passes the three mandatory checks, with the birth place given. */
SchedaOperatore schedaCon(const LuogoNascita &luogo)
{
    SchedaOperatore scheda;
    scheda.DenominazioneOp = u"ENTE"_s;
    scheda.Corrispondenza = u"    1 - SEDE"_s;
    scheda.LegNome = u"ROSSI"_s;
    scheda.LegComNasc = luogo.testo;
    scheda.LegProvNasc = luogo.provincia;
    return scheda;
}

} // namespace

class TestLuogoNascita : public QObject
{
    Q_OBJECT

private slots:
    void theCheckOnFocusLoss_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("iniziale");
        QTest::addColumn<bool>("riverifica");
        QTest::addColumn<bool>("solaLettura");
        QTest::addColumn<QString>("risposte");
        QTest::addColumn<QStringList>("cercati");
        QTest::addColumn<QString>("provincia");
        QTest::addColumn<bool>("abilitata");
        QTest::addColumn<bool>("digitabile");
        QTest::addColumn<bool>("riverificaDopo");
        QTest::addColumn<int>("fuoco");

        const QStringList torino{u"TORINO"_s};
        const QStringList ovunque{u"XYZ"_s, u"XYZ"_s};
        const int invariato = int(Fuoco::Invariato);
        // Before the check the province box holds "EE", disabled and locked.
        QTest::newRow("a municipality") << u"TORINO"_s << u""_s << false << false << u""_s << torino
                                        << u"TO"_s << true << false << false << invariato;
        QTest::newRow("a foreign state")
            << u"FRANCIA"_s << u"TORINO"_s << false << false << u""_s
            << QStringList{u"FRANCIA"_s, u"FRANCIA"_s} << u""_s << false << false << false << invariato;
        QTest::newRow("neither, No: back to the box")
            << u"XYZ"_s << u""_s << false << false << u"N"_s << ovunque << u"EE"_s << false << false << true
            << int(Fuoco::LuogoNascita);
        QTest::newRow("neither, left again unchanged: asked again")
            << u"XYZ"_s << u"XYZ"_s << true << false << u"N"_s << ovunque << u"EE"_s << false << false << true
            << int(Fuoco::LuogoNascita);
        QTest::newRow("neither, Yes and Yes: a foreign state")
            << u"XYZ"_s << u""_s << false << false << u"YY"_s << ovunque << u""_s << false << false << false
            << invariato;
        QTest::newRow("neither, Yes and No: a municipality to type the province of")
            << u"XYZ"_s << u""_s << false << false << u"YN"_s << ovunque << u""_s << true << true << false
            << int(Fuoco::Provincia);
        QTest::newRow("blanks around the name are not searched")
            << u"  TORINO "_s << u""_s << false << false << u""_s << torino << u"TO"_s << true << false
            << false << invariato;
        QTest::newRow("an apostrophe")
            << u"L'AQUILA"_s << u""_s << false << false << u""_s << QStringList{u"L'AQUILA"_s} << u"AQ"_s
            << true << false << false << invariato;
        QTest::newRow("left unchanged: nothing")
            << u"XYZ"_s << u"XYZ"_s << false << false << u""_s << QStringList() << u"EE"_s << false << false
            << false << invariato;
        QTest::newRow("only blanks: nothing") << u"   "_s << u""_s << false << false << u""_s << QStringList()
                                              << u"EE"_s << false << false << false << invariato;
        QTest::newRow("read-only: the province is filled but not enabled")
            << u"TORINO"_s << u""_s << false << true << u""_s << torino << u"TO"_s << false << false << false
            << invariato;
        QTest::newRow("read-only, Yes and No: nothing enables the province")
            << u"XYZ"_s << u""_s << false << true << u"YN"_s << ovunque << u"EE"_s << false << false << false
            << invariato;
    }

    void theCheckOnFocusLoss()
    {
        QFETCH(QString, testo);
        QFETCH(QString, iniziale);
        QFETCH(bool, riverifica);
        QFETCH(bool, solaLettura);
        QFETCH(QString, risposte);
        QFETCH(QStringList, cercati);
        QFETCH(QString, provincia);
        QFETCH(bool, abilitata);
        QFETCH(bool, digitabile);
        QFETCH(bool, riverificaDopo);
        QFETCH(int, fuoco);

        ScriptedPrompt prompt;
        if (!risposte.isEmpty())
            prompt.expect(NonTrovato, risposte.at(0) == u'Y' ? Prompt::Answer::Yes : Prompt::Answer::No);
        if (risposte.size() > 1)
            prompt.expect(Estero, risposte.at(1) == u'Y' ? Prompt::Answer::Yes : Prompt::Answer::No);
        RicercheFinte finte;
        LuogoNascita luogo{.testo = testo,
                           .provincia = u"EE"_s,
                           .provinciaAbilitata = false,
                           .provinciaDigitabile = false,
                           .iniziale = iniziale,
                           .riverifica = riverifica};

        const EsitoLuogoNascita esito = VerificaLuogoNascita(luogo, finte.ricerche(), prompt, solaLettura);

        QVERIFY(prompt.allShown());
        QCOMPARE(finte.cercati, cercati);
        QCOMPARE(luogo.testo, testo);
        QCOMPARE(luogo.provincia, provincia);
        QCOMPARE(luogo.provinciaAbilitata, abilitata);
        QCOMPARE(luogo.provinciaDigitabile, digitabile);
        QCOMPARE(luogo.riverifica, riverificaDopo);
        QCOMPARE(int(esito.fuoco), fuoco);
        QCOMPARE(esito.domande, !risposte.isEmpty());
        QCOMPARE(esito.interrotto(), !risposte.isEmpty());
        if (!risposte.isEmpty()) {
            QCOMPARE(prompt.shown().front().title, u"Verifica Comune/Stato Estero"_s);
            QCOMPARE(prompt.shown().front().icon, Prompt::Icon::Warning);
            QCOMPARE(prompt.shown().front().buttons, Prompt::Buttons::YesNo);
        }
        if (risposte.size() > 1)
            QCOMPARE(prompt.shown().back().icon, Prompt::Icon::Information);
    }

    void aMissingMunicipalityCanBeSavedWithItsTypedProvince()
    {
        ScriptedPrompt prompt;
        prompt.expect(NonTrovato, Prompt::Answer::Yes);
        prompt.expect(Estero, Prompt::Answer::No);
        RicercheFinte finte;
        LuogoNascita luogo;
        luogo.testo = u"BORGO NUOVO"_s;
        VerificaLuogoNascita(luogo, finte.ricerche(), prompt, false);

        QCOMPARE(VerifOperatore(schedaCon(luogo), luogo.provinciaAbilitata).controllo, 4);
        luogo.provincia = u"BN"_s;
        QVERIFY(VerifOperatore(schedaCon(luogo), luogo.provinciaAbilitata).superata());

        // A later look-up that finds the name locks the box again.
        luogo.iniziale = luogo.testo;
        luogo.testo = u"TORINO"_s;
        VerificaLuogoNascita(luogo, finte.ricerche(), prompt, false);
        QCOMPARE(luogo.provincia, u"TO"_s);
        QVERIFY(!luogo.provinciaDigitabile);
    }

    void clearingTheBirthPlace_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<bool>("solaLettura");
        QTest::addColumn<QString>("provincia");
        QTest::addColumn<bool>("abilitata");

        QTest::newRow("cleared") << u""_s << false << u""_s << true;
        QTest::newRow("cleared, read-only") << u""_s << true << u""_s << false;
        QTest::newRow("changed, not empty") << u"T"_s << false << u"EE"_s << false;
    }

    void clearingTheBirthPlace()
    {
        QFETCH(QString, testo);
        QFETCH(bool, solaLettura);
        QFETCH(QString, provincia);
        QFETCH(bool, abilitata);

        LuogoNascita luogo;
        luogo.testo = testo;
        luogo.provincia = u"EE"_s;
        luogo.provinciaAbilitata = false;
        LuogoNascitaCambiato(luogo, solaLettura);
        QCOMPARE(luogo.provincia, provincia);
        QCOMPARE(luogo.provinciaAbilitata, abilitata);
        QVERIFY(!luogo.provinciaDigitabile);
    }

    void pickerResults()
    {
        LuogoNascita luogo;
        luogo.testo = u"XYZ"_s;
        luogo.provinciaDigitabile = true;
        QVERIFY(!ComuneSceltoInLuogo(luogo, {u""_s, u"ROMA"_s, u"RM"_s, u"00118"_s}, false));
        QVERIFY(!StatoSceltoInLuogo(luogo, u""_s, u"FRANCIA"_s));
        QCOMPARE(luogo.testo, u"XYZ"_s);
        QVERIFY(luogo.provinciaDigitabile);

        QVERIFY(StatoSceltoInLuogo(luogo, u"Z110"_s, u"FRANCIA"_s));
        QCOMPARE(luogo.testo, u"FRANCIA"_s);
        QCOMPARE(luogo.provincia, u""_s);
        QVERIFY(!luogo.provinciaAbilitata);

        QVERIFY(ComuneSceltoInLuogo(luogo, {u"058091"_s, u"Roma"_s, u"RM"_s, u"00118"_s}, true));
        QCOMPARE(luogo.testo, u"Roma"_s);
        QCOMPARE(luogo.provincia, u"RM"_s);
        QVERIFY(!luogo.provinciaAbilitata);
        QVERIFY(ComuneSceltoInLuogo(luogo, {u"058091"_s, u"Roma"_s, u"RM"_s, u"00118"_s}, false));
        QVERIFY(luogo.provinciaAbilitata);
        QVERIFY(!luogo.provinciaDigitabile);
    }

    void lookUpsInTheTables_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("prov");
        QTest::addColumn<bool>("estero");

        QTest::newRow("accent, upper case") << u"AGLIÈ"_s << u"001"_s << false;
        QTest::newRow("apostrophe") << u"SANT'ANGELO LOMELLINA"_s << u"018"_s << false;
        QTest::newRow("whole name only") << u"ROMA"_s << u"058"_s << false;
        QTest::newRow("a beginning is no name") << u"ROMAN"_s << QString() << false;
        QTest::newRow("a state with an apostrophe") << u"COSTA D'AVORIO"_s << QString() << true;
        QTest::newRow("a state in lower case") << u"svizzera"_s << QString() << true;
        QTest::newRow("a wildcard is a character") << u"FRANCI*"_s << QString() << false;
    }

    void lookUpsInTheTables()
    {
        QFETCH(QString, nome);
        QFETCH(QString, prov);
        QFETCH(bool, estero);

        TestContext test;
        FixtureDatabase db(test.path(u"KX58TORVA.mdb"_s));
        caricaLuoghi(db);
        DataEnvironment &de = test.context().DE();
        de.CorsiDB().open(db.path(), Connection::Mode::Shared);

        QCOMPARE(cercaComune(de, nome).value_or(QString()), prov);
        QCOMPARE(cercaStatoEstero(de, nome), estero);
        QVERIFY(!de.rs(u"StatiEsteri"_s).isOpen());
        de.CorsiDB().close();
    }
};

QTEST_GUILESS_MAIN(TestLuogoNascita)
#include "tst_LuogoNascita.moc"
