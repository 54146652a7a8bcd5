#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/data/DataEnvironment.h"
#include "core/text/Cp1252.h"
#include "refdata/AggDomandeOper.h"
#include "refdata/AggiornaAnagraficheLoaders.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

QString riga(const QStringList &fields)
{
    return u"#"_s + fields.join(u"#,#"_s) + u"#"_s;
}

QByteArray file(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += Cp1252::encode(line) + "\r\n";
    return bytes;
}

const QStringList Colonne{
    u"NumDoma"_s,   u"GrupOpe"_s,   u"Operatore"_s,   u"DenominazioneOp"_s, u"TipoOper"_s,
    u"CodFisc"_s,   u"PIva"_s,      u"LegNome"_s,     u"LegComNasc"_s,      u"LegProvNasc"_s,
    u"LegGGNasc"_s, u"LegMMNasc"_s, u"LegAAAANasc"_s, u"ProvCCIAA"_s,       u"CodCCIAA"_s,
    u"AnnoCCIAA"_s, u"AttEcono"_s,  u"ContABI"_s,     u"DomandaStampata"_s, u"DomandaTrasmessa"_s};

const QVariant Null;
/** Operator A-567: one application open, one printed; B-7 open with no legal data; C-8 printed only. */
const QVariantList Aperta{1001,       u"A"_s,       567,     u"VECCHIO"_s, u"01"_s, u"CF"_s,   u"PI"_s,
                          u"ROSSI"_s, u"BOLOGNA"_s, u"BO"_s, u"01"_s,      u"02"_s, u"1960"_s, u"BO"_s,
                          Null,       u"1990"_s,    1111,    u"IT00"_s,    0,       0};
const QVariantList Stampata{1002,         u"A"_s,       567,     u"VECCHIO"_s, u"01"_s, u"CF"_s,   u"PI"_s,
                            u"ROSSI"_s,   u"BOLOGNA"_s, u"BO"_s, u"01"_s,      u"02"_s, u"1960"_s, u"BO"_s,
                            u"1234567"_s, u"1990"_s,    1111,    u"IT00"_s,    1,       1};
const QVariantList SenzaDati{1003, u"B"_s, 7,    u"ENTE"_s, u"02"_s, u"CFB"_s, u"PIB"_s, Null, Null, Null,
                             Null, Null,   Null, Null,      Null,    Null,     2222,     Null, 0,    0};
const QVariantList SoloStampata{1004, u"C"_s, 8,    u"ALTRO"_s, u"03"_s, u"CFC"_s, u"PIC"_s, Null, Null, Null,
                                Null, Null,   Null, Null,       Null,    Null,     3333,     Null, 1,    0};

const QString Nome120 = u"  "_s + QString(118, u'N');

const QString RigaA = riga({u"A"_s, u"0567"_s, Nome120, u"02"_s, u"CF2"_s, u"PI2"_s, u""_s, u"PARMA"_s,
                            u"PR"_s, u"3011"_s, u"PR"_s, u"7654321"_s, u"2005"_s, u"9999"_s});
const QString RigaB =
    riga({u"B"_s, u"7"_s, u"ENTE B"_s, u"04"_s, u"CFB2"_s, u"PIB2"_s, u"VERDI"_s, u"MODENA"_s, u"MO"_s,
          u"01011980"_s, u"MO"_s, u"1111111"_s, u"2010"_s, u"4444"_s});
/** C-8 has only a printed application: its activity code is never read. */
const QString RigaC = riga({u"C"_s, u"8"_s, u"ALTRO"_s, u"03"_s, u"CFC"_s, u"PIC"_s, u""_s, u""_s, u""_s,
                            u""_s, u""_s, u""_s, u""_s, u"non numerico"_s});
const QString RigaSenzaDomande = riga({u"Z"_s, u"1"_s, u"NESSUNO"_s, u"01"_s, u""_s, u""_s, u""_s, u""_s,
                                       u""_s, u""_s, u""_s, u""_s, u""_s, u"1"_s});

QByteArray rigaLog(const QString &domanda, const QString &operatore)
{
    return "- Domanda n. " + domanda.toLatin1() + " dell'Operatore " + operatore.toLatin1() +
           " non aggiornata perch\xE8 bloccata (sostituita o stampata in definitivo)\r\n";
}

struct Banco
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};

    Banco()
    {
        db.insert(u"Domande"_s, Colonne, {Aperta, Stampata, SenzaDati, SoloStampata});
        corsiDB().open(db.path(), Connection::Mode::Shared);
    }

    Connection &corsiDB() { return test.context().DE().CorsiDB(); }
    QString log() const { return test.path(u"AggiornaDB.LOG"_s); }

    /** Runs the refresh in the update's transaction; `ispeziona` looks before it ends. */
    bool esegui(const std::function<void()> &ispeziona = {})
    {
        Transaction transaction(corsiDB());
        const bool esito = AggDomandeOper(test.context(), log());
        if (ispeziona)
            ispeziona();
        if (esito)
            transaction.commit();
        return esito;
    }

    QVariantList domanda(int numDoma)
    {
        return corsiDB()
            .query(u"SELECT "_s + Colonne.join(u", "_s) + u" FROM Domande WHERE NumDoma = ?"_s, {numDoma})
            .rows.value(0);
    }
    QList<QVariantList> tutte()
    {
        return corsiDB()
            .query(u"SELECT "_s + Colonne.join(u", "_s) + u" FROM Domande ORDER BY NumDoma"_s)
            .rows;
    }
};

} // namespace

class TestAggDomandeOper : public QObject
{
    Q_OBJECT

private slots:
    void openApplicationsTakeTheFilesData()
    {
        Banco banco;
        banco.test.writeFile(u"oper.tx1"_s, file({RigaA, RigaB, RigaC, RigaSenzaDomande}));

        QVERIFY(banco.esegui());

        // The nine legal columns: an empty field empties a filled one, a Null stays Null; the
        // birth date is split by position; the name loses its blanks after the cut.
        QCOMPARE(banco.domanda(1001),
                 (QVariantList{1001,  u"A"_s,     567,     QString(98, u'N'), u"02"_s, u"CF2"_s, u"PI2"_s,
                               u""_s, u"PARMA"_s, u"PR"_s, u"30"_s,           u"11"_s, u""_s,    u"PR"_s,
                               Null,  u"2005"_s,  9999,    u"IT00"_s,         0,       0}));
        QCOMPARE(
            banco.domanda(1003),
            (QVariantList{1003, u"B"_s, 7,    u"ENTE B"_s, u"04"_s, u"CFB2"_s, u"PIB2"_s, Null, Null, Null,
                          Null, Null,   Null, Null,        Null,    Null,      4444,      Null, 0,    0}));
        QCOMPARE(banco.domanda(1002), Stampata);
        QCOMPARE(banco.domanda(1004), SoloStampata);
    }

    void theLogListsThePrintedApplications_data()
    {
        QTest::addColumn<QStringList>("righe");
        QTest::addColumn<QByteArray>("log");
        QTest::newRow("printed and open: one line, the number as the file writes it")
            << QStringList{RigaA} << rigaLog(u"1002"_s, u"A-0567"_s);
        QTest::newRow("only printed: no conversion of the activity code")
            << QStringList{RigaC} << rigaLog(u"1004"_s, u"C-8"_s);
        QTest::newRow("listed twice: logged twice")
            << QStringList{RigaC, RigaB, RigaC}
            << rigaLog(u"1004"_s, u"C-8"_s) + rigaLog(u"1004"_s, u"C-8"_s);
        QTest::newRow("group in small letters, as written")
            << QStringList{QString(RigaC).replace(u"#C#"_s, u"#c#"_s)} << rigaLog(u"1004"_s, u"c-8"_s);
        QTest::newRow("no application") << QStringList{RigaSenzaDomande} << QByteArray();
        QTest::newRow("only open ones") << QStringList{RigaB} << QByteArray();
        QTest::newRow("empty file") << QStringList{} << QByteArray();
    }

    void theLogListsThePrintedApplications()
    {
        QFETCH(QStringList, righe);
        QFETCH(QByteArray, log);
        Banco banco;
        banco.test.writeFile(u"oper.tx1"_s, file(righe));

        QVERIFY(banco.esegui());

        QCOMPARE(QFileInfo::exists(banco.log()), !log.isEmpty());
        if (!log.isEmpty())
            QCOMPARE(banco.test.readFile(u"AggiornaDB.LOG"_s), log);
    }

    void linesAreAppendedToTheLog()
    {
        Banco banco;
        banco.test.writeFile(u"AggiornaDB.LOG"_s, "- nota\r\n");
        banco.test.writeFile(u"oper.tx1"_s, file({RigaA}));

        QVERIFY(banco.esegui());

        QCOMPARE(banco.test.readFile(u"AggiornaDB.LOG"_s), "- nota\r\n" + rigaLog(u"1002"_s, u"A-0567"_s));
    }

    void anEmptyFileChangesNothing()
    {
        Banco banco;
        banco.test.writeFile(u"oper.tx1"_s, QByteArray());
        const QList<QVariantList> prima = banco.tutte();

        QVERIFY(banco.esegui());

        QCOMPARE(banco.tutte(), prima);
    }

    void errorsShowTheBoxAndWriteNothing_data()
    {
        QTest::addColumn<QStringList>("righe");
        QTest::addColumn<int>("errore");
        const QStringList a{u"A"_s, u"567"_s, u"NUOVO"_s, u"02"_s, u"CF"_s, u"PI"_s, u"X"_s,
                            u"X"_s, u"X"_s,   u"X"_s,     u"X"_s,  u"X"_s,  u"X"_s};
        QTest::newRow("activity code not a number, open application")
            << QStringList{riga(a + QStringList{u"99x"_s})} << 13;
        QTest::newRow("empty activity code, open application") << QStringList{riga(a)} << 13;
        QTest::newRow("operator not a number") << QStringList{RigaC, riga({u"A"_s, u"567;"_s})} << 13;
        QTest::newRow("no file") << QStringList() << 53;
    }

    void errorsShowTheBoxAndWriteNothing()
    {
        QFETCH(QStringList, righe);
        QFETCH(int, errore);
        Banco banco;
        if (!righe.isEmpty())
            banco.test.writeFile(u"oper.tx1"_s, file(righe));
        const QList<QVariantList> prima = banco.tutte();
        banco.test.prompt.expect(AggiornamentoAnagrafiche::testoErroreAggiornamento(
            RoutineError(errore), AggiornamentoAnagrafiche::FraseOper));

        QVERIFY(!banco.esegui([&] { QCOMPARE(banco.tutte(), prima); }));

        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().front().title, u"Aggiornamento Base Dati - AggCorsiOper"_s);
        QCOMPARE(banco.test.prompt.shown().front().icon, Prompt::Icon::Critical);
        QVERIFY(!QFileInfo::exists(banco.log()));
    }
};

QTEST_GUILESS_MAIN(TestAggDomandeOper)
#include "tst_AggDomandeOper.moc"
