#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/data/DataEnvironment.h"
#include "core/data/EngineErrors.h"
#include "core/state/StartupHooks.h"
#include "core/text/TextFile.h"
#include "refdata/CaricaTabella.h"
#include "refdata/ElencoTabelle.h"

#include <QTest>
#include <sqlite3.h>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Titolo = u"Installazione/Aggiornamento tabelle di decodifica"_s;

/** The start-up window's labels, as the loader writes them, in order. */
class AvvioRegistrato final : public ProgressoAvvio
{
public:
    QStringList scritture;
    void mostra(const QString &titolo, const QString &attesa) override
    {
        scritture << u"mostra "_s + titolo + u" / "_s + attesa;
    }
    void file(const QString &path) override { scritture << u"lblFile "_s + path; }
    void tabella(const QString &name) override { scritture << u"lblTabe "_s + name; }
    void record(const QString &count) override { scritture << u"lblNRec "_s + count; }
};

QString erroreAtteso(const QString &numero, const QString &descrizione, const QString &tabella, int record)
{
    return u"Errore "_s + numero + u" --> "_s + descrizione +
           u"\r\ndurante l'aggiornamento della tabella "_s + tabella + u", record "_s +
           QString::number(record) + u".\n\rImpossibile continuare."_s;
}

const TabellaDecodifica &tabella(const QString &nome)
{
    for (const TabellaDecodifica &t : ElencoTabelleDecodifica()) {
        if (t.nome == nome)
            return t;
    }
    throw std::logic_error("tabella sconosciuta");
}

/** A program folder with an open database; the loader's lines and boxes are kept for the checks. */
struct Cartella
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};
    QStringList righe;

    Cartella() { test.context().DE().CorsiDB().open(db.path(), Connection::Mode::Shared); }

    void scrivi(const QString &nome, const QStringList &linee) const
    {
        test.writeFile(nome + u".txt"_s, TextFile::joinLines(linee));
    }
    /** Loads the table's file as the update of the base data does; true when the program ended. */
    bool carica(const QString &nome, bool &installa, int colonne = 0, QList<ChiaveTabella> chiavi = {})
    {
        const TabellaDecodifica *voce = nullptr;
        for (const TabellaDecodifica &t : ElencoTabelleDecodifica()) {
            if (t.nome == nome)
                voce = &t;
        }
        if (voce) {
            colonne = colonne ? colonne : voce->colonneAggiorna;
            chiavi = voce->chiavi;
        }
        try {
            AggTabDecodifica(
                test.context(), [this](const QString &riga) { righe << riga; }, test.path(nome + u".txt"_s),
                nome, colonne, chiavi, installa);
        } catch (const ProgramExited &) {
            return true;
        }
        return false;
    }
    /** The same, starting in install mode. */
    bool installa(const QString &nome)
    {
        bool modo = true;
        return carica(nome, modo);
    }
    QList<QVariantList> righeDi(const QString &sql) { return db.query(sql).rows; }
};

} // namespace

class TestCaricaTabella : public QObject
{
    Q_OBJECT

private slots:
    void headerSetsTheModeAndIsNeverLoaded_data()
    {
        QTest::addColumn<bool>("prima");
        QTest::addColumn<QString>("intestazione");
        QTest::addColumn<bool>("dopo");
        QTest::addColumn<QStringList>("codici");

        QTest::newRow("install header under update")
            << false << u"INSTALLAZIONE"_s << true << QStringList{u"A"_s};
        QTest::newRow("update header under install")
            << true << u"AGGIORNAMENTO"_s << false << QStringList{u"A"_s, u"OLD"_s};
        QTest::newRow("other case keeps install")
            << true << u"Installazione"_s << true << QStringList{u"A"_s};
        QTest::newRow("trailing blank keeps update")
            << false << u"INSTALLAZIONE "_s << false << QStringList{u"A"_s, u"OLD"_s};
        QTest::newRow("a record as header is lost")
            << true << u"#LOST#,#Perso#"_s << true << QStringList{u"A"_s};
    }
    void headerSetsTheModeAndIsNeverLoaded()
    {
        QFETCH(bool, prima);
        QFETCH(QString, intestazione);
        QFETCH(bool, dopo);
        QFETCH(QStringList, codici);
        Cartella c;
        c.db.insert(u"Asse"_s, {u"CodAsse"_s, u"DesAsse"_s}, {{u"OLD"_s, u"Vecchio"_s}});
        c.scrivi(u"Asse"_s, {intestazione, u"#A#,#Asse A#"_s});
        bool installa = prima;
        QVERIFY(!c.carica(u"Asse"_s, installa));
        QCOMPARE(installa, dopo);
        QStringList letti;
        for (const QVariantList &riga : c.righeDi(u"SELECT CodAsse FROM Asse ORDER BY CodAsse"_s))
            letti << riga.at(0).toString();
        QCOMPARE(letti, codici);
    }

    void aLineEndsAtCrLfCrOrLf_data()
    {
        QTest::addColumn<QByteArray>("fine");
        QTest::newRow("CR LF") << QByteArray("\r\n");
        QTest::newRow("CR") << QByteArray("\r");
        QTest::newRow("LF") << QByteArray("\n");
    }
    void aLineEndsAtCrLfCrOrLf()
    {
        QFETCH(QByteArray, fine);
        Cartella c;
        c.db.insert(u"Asse"_s, {u"CodAsse"_s, u"DesAsse"_s}, {{u"OLD"_s, u"Vecchio"_s}});
        c.test.writeFile(u"Asse.txt"_s,
                         "INSTALLAZIONE" + fine + "#A#,#Asse A#" + fine + "#B#,#Asse B#" + fine);
        bool installa = false;
        QVERIFY(!c.carica(u"Asse"_s, installa));
        QVERIFY(installa);
        QCOMPARE(c.righeDi(u"SELECT CodAsse, DesAsse FROM Asse ORDER BY CodAsse"_s),
                 (QList<QVariantList>{{u"A"_s, u"Asse A"_s}, {u"B"_s, u"Asse B"_s}}));
    }

    void aKeylessTableIsReplacedOnlyByAFileThatHoldsRows_data()
    {
        QTest::addColumn<bool>("installa");
        QTest::addColumn<QStringList>("linee");
        QTest::addColumn<QStringList>("azioni");
        QTest::newRow("update, header alone: nothing changes")
            << false << QStringList{u"AGGIORNAMENTO"_s} << QStringList{u"1"_s, u"2"_s};
        QTest::newRow("update, no mode in the header: nothing changes")
            << false << QStringList{u"X"_s} << QStringList{u"1"_s, u"2"_s};
        QTest::newRow("update, a row: replaced")
            << false
            << QStringList{u"AGGIORNAMENTO"_s,
                           u"#III#,#G#,#05#,#A#,#1#,#2#,#3#,#1#,#2#,#x#,#y#,#z#,#M#,#N#"_s}
            << QStringList{u"05"_s};
        QTest::newRow("install, header alone: emptied")
            << true << QStringList{u"INSTALLAZIONE"_s} << QStringList{};
    }
    void aKeylessTableIsReplacedOnlyByAFileThatHoldsRows()
    {
        QFETCH(bool, installa);
        QFETCH(QStringList, linee);
        QFETCH(QStringList, azioni);
        Cartella c;
        c.db.insert(u"MassimaliPar"_s, {u"CodAsse"_s, u"CodMisura"_s, u"CodAzione"_s},
                    {{u"III"_s, u"G"_s, u"1"_s}, {u"III"_s, u"G"_s, u"2"_s}});
        c.scrivi(u"MassimaliPar"_s, linee);
        QVERIFY(!c.carica(u"MassimaliPar"_s, installa));
        QStringList lette;
        for (const QVariantList &riga : c.righeDi(u"SELECT CodAzione FROM MassimaliPar ORDER BY CodAzione"_s))
            lette << riga.at(0).toString();
        QCOMPARE(lette, azioni);
    }

    void headerOnlyLoadsNothing_data()
    {
        QTest::addColumn<bool>("installa");
        QTest::addColumn<int>("righe");
        QTest::newRow("install empties") << true << 0;
        QTest::newRow("update keeps") << false << 1;
    }
    void headerOnlyLoadsNothing()
    {
        QFETCH(bool, installa);
        QFETCH(int, righe);
        Cartella c;
        c.db.insert(u"Asse"_s, {u"CodAsse"_s, u"DesAsse"_s}, {{u"OLD"_s, u"Vecchio"_s}});
        c.scrivi(u"Asse"_s, {u"X"_s});
        QVERIFY(!c.carica(u"Asse"_s, installa));
        QCOMPARE(c.db.count(u"Asse"_s), righe);
        QCOMPARE(c.righe, QStringList{u"Caricamento: Asse - 0"_s});
    }

    void fieldsBecomeValues_data()
    {
        QTest::addColumn<QString>("riga");
        QTest::addColumn<QVariant>("descrizione");

        const QString lungo = QString(498, u'a') + u"  "_s + QString(100, u'b');
        QTest::newRow("NULL") << u"#A#,#NULL#"_s << QVariant();
        QTest::newRow("null in small letters") << u"#A#,#null#"_s << QVariant();
        QTest::newRow("NULL after a blank is text") << u"#A#,# NULL#"_s << QVariant(u"NULL"_s);
        QTest::newRow("600 characters: 500, stripped")
            << u"#A#,#"_s + lungo + u"#"_s << QVariant(QString(498, u'a'));
        QTest::newRow("blanks stripped") << u"  #A#,#  Asse A  #  "_s << QVariant(u"Asse A"_s);
        QTest::newRow("short record") << u"#A#"_s << QVariant(u""_s);
        QTest::newRow("accents and apostrophe") << u"#A#,#Città d'Arte#"_s << QVariant(u"Città d'Arte"_s);
        QTest::newRow("further fields ignored") << u"#A#,#Uno#,#Due#,#Tre#"_s << QVariant(u"Uno"_s);
    }
    void fieldsBecomeValues()
    {
        QFETCH(QString, riga);
        QFETCH(QVariant, descrizione);
        Cartella c;
        c.scrivi(u"Asse"_s, {u"INSTALLAZIONE"_s, riga});
        QVERIFY(!c.installa(u"Asse"_s));
        const QList<QVariantList> righe = c.righeDi(u"SELECT CodAsse, DesAsse FROM Asse"_s);
        QCOMPARE(righe.size(), 1);
        QCOMPARE(righe.at(0).at(0), QVariant(u"A"_s));
        QCOMPARE(righe.at(0).at(1).isNull(), descrizione.isNull());
        if (!descrizione.isNull())
            QCOMPARE(righe.at(0).at(1).toString(), descrizione.toString());
    }

    void numberColumnsFollowTheRule_data()
    {
        QTest::addColumn<QString>("bacino");
        QTest::addColumn<QVariant>("atteso");
        QTest::addColumn<int>("errore");
        QTest::newRow("digits") << u"12"_s << QVariant(qlonglong(12)) << 0;
        QTest::newRow("NULL") << u"NULL"_s << QVariant() << 0;
        QTest::newRow("empty text") << u""_s << QVariant() << 13;
        QTest::newRow("fraction") << u"1,5"_s << QVariant() << 13;
        QTest::newRow("thousands") << u"1.000"_s << QVariant() << 13;
        QTest::newRow("out of range") << u"3000000000"_s << QVariant() << 6;
    }
    void numberColumnsFollowTheRule()
    {
        QFETCH(QString, bacino);
        QFETCH(QVariant, atteso);
        QFETCH(int, errore);
        Cartella c;
        c.db.insert(u"Comuni"_s, {u"CodComune"_s, u"Denominazione"_s}, {{u"001001"_s, u"Agliè"_s}});
        c.scrivi(u"Comuni"_s, {u"INSTALLAZIONE"_s, u"#001002#,#Airasca#,#001#,#10060#,#5#,#A109#,##"_s,
                               u"#001003#,#Ala di Stura#,#001#,#10070#,#"_s + bacino + u"#,#A117#,##"_s});
        if (errore != 0) {
            const QString numero = QString::number(errore);
            c.test.prompt.expect(
                erroreAtteso(u" "_s + numero, RoutineError::standardDescription(errore), u"Comuni"_s, 2));
            QVERIFY(c.installa(u"Comuni"_s));
            QCOMPARE(c.righeDi(u"SELECT CodComune FROM Comuni"_s), (QList<QVariantList>{{u"001001"_s}}));
            return;
        }
        QVERIFY(!c.installa(u"Comuni"_s));
        const QVariant letto = c.db.scalar(u"SELECT CodBacino FROM Comuni WHERE CodComune = '001003'"_s);
        QCOMPARE(letto.isNull(), atteso.isNull());
        if (!atteso.isNull())
            QCOMPARE(letto.toLongLong(), atteso.toLongLong());
        QCOMPARE(c.db.scalar(u"SELECT typeof(CodBacino) FROM Comuni WHERE CodComune = '001002'"_s).toString(),
                 u"integer"_s);
    }

    void blankLineIsARecordOfEmptyFields_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<int>("righe");
        QTest::newRow("text key: an empty row") << u"Asse"_s << 2;
        QTest::newRow("number key: error 13") << u"Destin"_s << -1;
    }
    void blankLineIsARecordOfEmptyFields()
    {
        QFETCH(QString, nome);
        QFETCH(int, righe);
        Cartella c;
        c.scrivi(nome, {u"INSTALLAZIONE"_s, u"#1#,#Uno#"_s, u"   "_s, u"#2#,#Due#"_s});
        if (righe < 0) {
            c.test.prompt.expect(erroreAtteso(u" 13"_s, u"Tipo non corrispondente"_s, nome, 2));
            QVERIFY(c.installa(nome));
            QCOMPARE(c.db.count(nome), 0);
            return;
        }
        QVERIFY(!c.installa(nome));
        QCOMPARE(c.db.count(nome), righe + 1);
        QCOMPARE(c.db.scalar(u"SELECT count(*) FROM Asse WHERE CodAsse = '' AND DesAsse = ''"_s).toInt(), 1);
    }

    void updateMatchesKeysAsBoundValues()
    {
        Cartella c;
        c.db.insert(
            u"Misura"_s, {u"CodAsse"_s, u"CodMisura"_s, u"DesMisura"_s},
            {{u"L'A"_s, u"1"_s, u"Vecchia"_s}, {u"b"_s, u"2"_s, u"Resta"_s}, {u"C"_s, u"3"_s, u"Intatta"_s}});
        c.scrivi(u"Misura"_s,
                 {u"AGGIORNAMENTO"_s, u"#L'A#,#1#,#Con apostrofo#"_s, u"#B#,#2#,#Prima#"_s,
                  u"#D#,#4#,#Nuova#"_s, u"#B#,#2#,#Seconda#"_s, u"# C #,#3#,#Chiave con blank#"_s});
        bool installa = true;
        QVERIFY(!c.carica(u"Misura"_s, installa));
        QCOMPARE(c.righeDi(u"SELECT CodAsse, CodMisura, DesMisura FROM Misura ORDER BY CodAsse"_s),
                 (QList<QVariantList>{{u"B"_s, u"2"_s, u"Seconda"_s},
                                      {u"C"_s, u"3"_s, u"Chiave con blank"_s},
                                      {u"D"_s, u"4"_s, u"Nuova"_s},
                                      {u"L'A"_s, u"1"_s, u"Con apostrofo"_s}}));
    }

    void updateWritesTheFirstOfTwoMatchingRows()
    {
        Cartella c;
        c.db.execute(u"CREATE TABLE Doppia (Cod TEXT COLLATE NOCASE, Des TEXT)"_s);
        c.db.insert(u"Doppia"_s, {u"Cod"_s, u"Des"_s}, {{u"A"_s, u"Prima"_s}, {u"A"_s, u"Seconda"_s}});
        c.scrivi(u"Doppia"_s, {u"AGGIORNAMENTO"_s, u"#A#,#Scritta#"_s});
        bool installa = false;
        QVERIFY(!c.carica(u"Doppia"_s, installa, 2, {{u"Cod"_s, true}}));
        QCOMPARE(c.righeDi(u"SELECT Des FROM Doppia ORDER BY rowid"_s),
                 (QList<QVariantList>{{u"Scritta"_s}, {u"Seconda"_s}}));
    }

    void emptyNumberKeyIsError13InUpdate()
    {
        Cartella c;
        c.db.insert(u"Destin"_s, {u"CodDest"_s, u"DesDest"_s}, {{1, u"Giovani"_s}});
        c.scrivi(u"Destin"_s, {u"AGGIORNAMENTO"_s, u"#1#,#Giovani adulti#"_s, u"#  #,#Senza codice#"_s});
        c.test.prompt.expect(erroreAtteso(u" 13"_s, u"Tipo non corrispondente"_s, u"Destin"_s, 2));
        bool installa = false;
        QVERIFY(c.carica(u"Destin"_s, installa));
        QCOMPARE(c.righeDi(u"SELECT CodDest, DesDest FROM Destin"_s),
                 (QList<QVariantList>{{1, u"Giovani"_s}}));
        QCOMPARE(c.test.prompt.shown().at(0).icon, Prompt::Icon::Critical);
        QCOMPARE(c.test.prompt.shown().at(0).title, Titolo);
    }

    void logoIsNeverWritten_data()
    {
        QTest::addColumn<bool>("installa");
        QTest::addColumn<QVariant>("logoDiAA");
        QTest::newRow("update keeps the picture") << false << QVariant(QByteArray("PNG"));
        QTest::newRow("install leaves it empty") << true << QVariant();
    }
    void logoIsNeverWritten()
    {
        QFETCH(bool, installa);
        QFETCH(QVariant, logoDiAA);
        Cartella c;
        c.db.insert(u"ProvinceLoghiIndir"_s, {u"Prov"_s, u"Intestazione"_s, u"LOGO"_s},
                    {{u"001"_s, u"Vecchia"_s, QByteArray("PNG")}});
        c.scrivi(u"ProvinceLoghiIndir"_s,
                 {u"X"_s, u"#001#,#Provincia#,#Via Roma 1#,#10100#,#Torino#,#011#,#LOGO#"_s,
                  u"#002#,#Altra#,#Via Po 2#,#10100#,#Torino#,#011#,#LOGO#"_s});
        QVERIFY(!c.carica(u"ProvinceLoghiIndir"_s, installa));
        const QList<QVariantList> righe =
            c.righeDi(u"SELECT Prov, Intestazione, LOGO FROM ProvinceLoghiIndir ORDER BY Prov"_s);
        QCOMPARE(righe.size(), 2);
        QCOMPARE(righe.at(0).at(1), QVariant(u"Provincia"_s));
        QCOMPARE(righe.at(0).at(2).isNull(), logoDiAA.isNull());
        if (!logoDiAA.isNull())
            QCOMPARE(righe.at(0).at(2).toByteArray(), logoDiAA.toByteArray());
        QVERIFY(righe.at(1).at(2).isNull());
    }

    void massimaliParIsReplacedWhole_data()
    {
        QTest::addColumn<int>("colonne");
        QTest::addColumn<QVariant>("campo14");
        QTest::newRow("start-up: 12 columns") << 12 << QVariant();
        QTest::newRow("update of the base data: 14 columns") << 14 << QVariant(u"N"_s);
    }
    void massimaliParIsReplacedWhole()
    {
        QFETCH(int, colonne);
        QFETCH(QVariant, campo14);
        Cartella c;
        c.db.insert(u"MassimaliPar"_s, {u"CodAsse"_s, u"CodMisura"_s, u"ParA"_s},
                    {{u"OLD"_s, u"1"_s, 1.0}, {u"OLD"_s, u"2"_s, 2.0}});
        c.scrivi(u"MassimaliPar"_s, {u"AGGIORNAMENTO"_s,
                                     u"#III#,#G#,#01#,#A#,#12,5#,#100#,#200.5#,#1#,#2#,#x#,#y#,#z#,#M#,#N#"_s,
                                     u"#III#,#G#,#02#,#B#,#10#,#NULL#,#300#,#1#,#3#,##,##,##,##,##"_s});
        // Update mode by its header, yet no key to match: the table is replaced, never appended to.
        bool installa = true;
        QVERIFY(!c.carica(u"MassimaliPar"_s, installa, colonne));
        const QList<QVariantList> righe = c.righeDi(u"SELECT CodAzione, ParA, ParCmin, ParCmax, CodSpesa, "
                                                    u"Campo12, Campo13, Campo14 FROM MassimaliPar "
                                                    u"ORDER BY CodAzione"_s);
        QCOMPARE(righe.size(), 2);
        QCOMPARE(righe.at(0).at(0), QVariant(u"01"_s));
        QCOMPARE(righe.at(0).at(1).toDouble(), 12.5);
        QCOMPARE(righe.at(0).at(3).toDouble(), 200.5);
        QCOMPARE(righe.at(0).at(4).toInt(), 2);
        QCOMPARE(righe.at(0).at(5), QVariant(u"z"_s));
        QVERIFY(righe.at(1).at(2).isNull());
        QCOMPARE(righe.at(0).at(7).isNull(), campo14.isNull());
        QCOMPARE(righe.at(0).at(6).isNull(), campo14.isNull());
        if (!campo14.isNull())
            QCOMPARE(righe.at(0).at(7), campo14);
    }

    void zeroLengthFileAsks_data()
    {
        QTest::addColumn<Prompt::Answer>("risposta");
        QTest::newRow("Yes skips the table") << Prompt::Answer::Yes;
        QTest::newRow("No ends the program") << Prompt::Answer::No;
    }
    void zeroLengthFileAsks()
    {
        QFETCH(Prompt::Answer, risposta);
        Cartella c;
        c.db.insert(u"Asse"_s, {u"CodAsse"_s}, {{u"A"_s}});
        c.test.writeFile(u"Asse.txt"_s, {});
        c.test.prompt.expect(u"ATTENZIONE: il file "_s + c.test.path(u"Asse.txt"_s) +
                                 u" è vuoto. Continuare l'operazione di aggiornamento sulle altre tabelle "
                                 u"(scegliendo No il programma uscirà a Windows) ?"_s,
                             risposta);
        const bool fine = c.installa(u"Asse"_s);
        QCOMPARE(fine, risposta == Prompt::Answer::No);
        QCOMPARE(c.test.context().DE().CorsiDB().isOpen(), risposta == Prompt::Answer::Yes);
        QCOMPARE(c.test.prompt.shown().at(0).title, Titolo);
        QCOMPARE(c.test.prompt.shown().at(0).buttons, Prompt::Buttons::YesNo);
        QCOMPARE(c.test.prompt.shown().at(0).icon, Prompt::Icon::None);
        QCOMPARE(c.db.count(u"Asse"_s), 1);
        QVERIFY(c.righe.isEmpty());
    }

    void missingFileIsSkippedSilently()
    {
        Cartella c;
        c.db.insert(u"Asse"_s, {u"CodAsse"_s}, {{u"A"_s}});
        QVERIFY(!c.installa(u"Asse"_s));
        QCOMPARE(c.db.count(u"Asse"_s), 1);
        QVERIFY(c.righe.isEmpty());
        QVERIFY(c.test.prompt.shown().isEmpty());
    }

    void failureLeavesTheTableAsItWas_data()
    {
        QTest::addColumn<bool>("installa");
        QTest::newRow("install") << true;
        QTest::newRow("update") << false;
    }
    void failureLeavesTheTableAsItWas()
    {
        QFETCH(bool, installa);
        Cartella c;
        c.db.insert(u"Destin"_s, {u"CodDest"_s, u"DesDest"_s}, {{1, u"Giovani"_s}, {2, u"Adulti"_s}});
        c.scrivi(u"Destin"_s, {u"X"_s, u"#1#,#Nuovi giovani#"_s, u"#3#,#Disoccupati#"_s, u"#x4#,#Errato#"_s,
                               u"#5#,#Mai letto#"_s});
        c.test.prompt.expect(erroreAtteso(u" 13"_s, u"Tipo non corrispondente"_s, u"Destin"_s, 3));
        QVERIFY(c.carica(u"Destin"_s, installa));
        QCOMPARE(c.righeDi(u"SELECT CodDest, DesDest FROM Destin ORDER BY CodDest"_s),
                 (QList<QVariantList>{{1, u"Giovani"_s}, {2, u"Adulti"_s}}));
        QVERIFY(c.test.programExit.exited());
        QCOMPARE(c.righe, (QStringList{u"Caricamento: Destin - 0"_s, u"Caricamento: Destin - 1"_s,
                                       u"Caricamento: Destin - 2"_s}));
    }

    void unreadableRecordsAndEngineErrorsShowTheirNumbers_data()
    {
        QTest::addColumn<QString>("riga");
        QTest::addColumn<QString>("numero");
        QTest::addColumn<QString>("descrizione");
        QTest::newRow("unclosed field") << u"#3#,#Aperto"_s << u" 6"_s << u"Overflow"_s;
        QString troppi;
        for (int i = 0; i < 52; ++i)
            troppi += (i ? u",#"_s : u"#"_s) + QString::number(i) + u"#"_s;
        QTest::newRow("52 fields") << troppi << u" 9"_s << u"Indice non compreso nell'intervallo"_s;
    }
    void unreadableRecordsAndEngineErrorsShowTheirNumbers()
    {
        QFETCH(QString, riga);
        QFETCH(QString, numero);
        QFETCH(QString, descrizione);
        Cartella c;
        c.scrivi(u"Destin"_s, {u"INSTALLAZIONE"_s, u"#1#,#Uno#"_s, riga});
        c.test.prompt.expect(erroreAtteso(numero, descrizione, u"Destin"_s, 2));
        QVERIFY(c.installa(u"Destin"_s));
        QCOMPARE(c.db.count(u"Destin"_s), 0);
    }

    void duplicateKeyInInstallShowsTheEngineError()
    {
        Cartella c;
        c.db.insert(u"Asse"_s, {u"CodAsse"_s}, {{u"OLD"_s}});
        c.scrivi(u"Asse"_s, {u"INSTALLAZIONE"_s, u"#A#,#Uno#"_s, u"#a#,#Due#"_s});
        // A negative number has no blank before it.
        const QString duplicato = engineError(SQLITE_CONSTRAINT_PRIMARYKEY, QString()).description();
        c.test.prompt.expect(erroreAtteso(u"-2147467259"_s, duplicato, u"Asse"_s, 2));
        QVERIFY(c.installa(u"Asse"_s));
        QCOMPARE(c.righeDi(u"SELECT CodAsse FROM Asse"_s), (QList<QVariantList>{{u"OLD"_s}}));
    }

    void startUpFaceShowsItsLabels()
    {
        Cartella c;
        c.scrivi(u"Asse"_s, {u"INSTALLAZIONE"_s, u"#A#,#Uno#"_s, u"#B#,#Due#"_s});
        AvvioRegistrato avvio;
        bool installa = false;
        InstTabDecodifica(c.test.context(), avvio, c.test.path(u"Asse.txt"_s), u"Asse"_s, 2,
                          tabella(u"Asse"_s).chiavi, installa);
        QCOMPARE(avvio.scritture, (QStringList{u"lblFile "_s + c.test.path(u"Asse.txt"_s), u"lblTabe Asse"_s,
                                               u"lblNRec 0"_s, u"lblNRec 1"_s, u"lblNRec 2"_s}));
        QCOMPARE(c.db.count(u"Asse"_s), 2);
    }

    void debugResumesThreeTimesThenEnds_data()
    {
        QTest::addColumn<QStringList>("argomenti");
        QTest::addColumn<int>("riprese");
        QTest::newRow("DEBUG") << QStringList{u"DEBUG"_s} << 3;
        QTest::newRow("no argument") << QStringList{} << 0;
        QTest::newRow("debug in small letters") << QStringList{u"debug"_s} << 0;
    }
    void debugResumesThreeTimesThenEnds()
    {
        QFETCH(QStringList, argomenti);
        QFETCH(int, riprese);
        Cartella c;
        c.test.commandLine.args = argomenti;
        c.db.insert(u"Destin"_s, {u"CodDest"_s, u"DesDest"_s}, {{1, u"Giovani"_s}});
        c.scrivi(u"Destin"_s, {u"INSTALLAZIONE"_s, u"#2#,#Due#"_s, u"#tre#,#Tre#"_s});
        const QString errore = erroreAtteso(u" 13"_s, u"Tipo non corrispondente"_s, u"Destin"_s, 2);
        for (int i = 0; i < riprese; ++i) {
            c.test.prompt.expect(errore);
            c.test.prompt.expect(u"Resume"_s);
        }
        c.test.prompt.expect(errore);
        AvvioRegistrato avvio;
        bool installa = true;
        QVERIFY_THROWS_EXCEPTION(ProgramExited,
                                 InstTabDecodifica(c.test.context(), avvio, c.test.path(u"Destin.txt"_s),
                                                   u"Destin"_s, 2, tabella(u"Destin"_s).chiavi, installa));
        QVERIFY(c.test.prompt.allShown());
        if (riprese > 0) {
            QCOMPARE(c.test.prompt.shown().at(1).icon, Prompt::Icon::None);
            QCOMPARE(c.test.prompt.shown().at(1).title, QString());
        }
        QCOMPARE(c.righeDi(u"SELECT CodDest FROM Destin"_s), (QList<QVariantList>{{1}}));
    }

    void countsAreNotLimitedTo32767()
    {
        Cartella c;
        QStringList linee{u"INSTALLAZIONE"_s};
        for (int i = 1; i <= 40000; ++i)
            linee << u"#"_s + QString::number(i) + u"#,#Destinatari "_s + QString::number(i) + u"#"_s;
        c.scrivi(u"Destin"_s, linee);
        QVERIFY(!c.installa(u"Destin"_s));
        QCOMPARE(c.db.count(u"Destin"_s), 40000);
        QCOMPARE(c.righe.constLast(), u"Caricamento: Destin - 40000"_s);
    }
};

QTEST_GUILESS_MAIN(TestCaricaTabella)
#include "tst_CaricaTabella.moc"
