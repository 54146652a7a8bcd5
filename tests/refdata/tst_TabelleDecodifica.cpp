#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/data/DataEnvironment.h"
#include "core/state/StartupHooks.h"
#include "core/text/TextFile.h"
#include "refdata/ElencoTabelle.h"
#include "refdata/TabelleDecodifica.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Entrambi =
    u"Rilevata presenza di entrambi i files INSTALLA.TAB e AGGIORNA.TAB. \r\nAmbiguità nell'operazione da "
    u"eseguire sulle tabelle di decodifica. \r\nImpossibile continuare. Si procederà con il caricamento "
    u"della "
    u"procedura senza alcuna modifica delle tabelle di decodifica."_s;
const QString NonCancellabile =
    u"Impossibile aggiornare le tabelle di decodifica (file flag non cancellabile)"_s;

class AvvioRegistrato final : public ProgressoAvvio
{
public:
    QStringList scritture;
    void mostra(const QString &titolo, const QString &attesa) override
    {
        scritture << titolo + u" / "_s + attesa;
    }
    void file(const QString &path) override { scritture << u"lblFile "_s + QFileInfo(path).fileName(); }
    void tabella(const QString &name) override { scritture << u"lblTabe "_s + name; }
    void record(const QString &count) override { scritture << u"lblNRec "_s + count; }
};

enum class Run
{
    Avvio,
    Aggiornamento
};

/** A program folder with an open database, and what the runs showed. */
struct Cartella
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};
    AvvioRegistrato avvio;
    QStringList lblCont;
    QList<bool> puntatore;
    /** When set, deleting a file fails and leaves it. */
    bool flagBloccato = false;

    Cartella() { test.context().DE().CorsiDB().open(db.path(), Connection::Mode::Shared); }

    void scrivi(const QString &nome, const QStringList &linee) const
    {
        test.writeFile(nome, TextFile::joinLines(linee));
    }
    /** Runs the decode-table run of the start-up or of the update; true when the program ended. */
    bool esegui(Run run)
    {
        OperazioniTabelle operazioni;
        operazioni.puntatore = [this](bool occupato) { puntatore << occupato; };
        operazioni.cancellaFile = [this](const QString &path) {
            return !flagBloccato && QFile::remove(path);
        };
        try {
            if (run == Run::Avvio)
                InstallaTabelleDecodifica(test.context(), avvio, operazioni);
            else
                AggiornaTabelleDecodifica(
                    test.context(), [this](const QString &riga) { lblCont << riga; }, operazioni);
        } catch (const ProgramExited &) {
            return true;
        }
        return false;
    }
    QStringList codici(const QString &sql)
    {
        QStringList letti;
        for (const QVariantList &riga : db.query(sql).rows)
            letti << riga.at(0).toString();
        return letti;
    }
    QStringList presenti(const QString &cartella = QString()) const
    {
        return QDir(test.path(cartella)).entryList(QDir::Files, QDir::Name);
    }
};

} // namespace

Q_DECLARE_METATYPE(Run)

class TestTabelleDecodifica : public QObject
{
    Q_OBJECT

    /** A database of the program's schema, for the checks that only read it. */
    std::unique_ptr<Cartella> m_schema;

private slots:
    void initTestCase() { m_schema = std::make_unique<Cartella>(); }
    void cleanupTestCase() { m_schema.reset(); }

    void theListHoldsTheTwentyFiveTablesInTheirLoadingOrder_data()
    {
        QTest::addColumn<int>("posizione");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QStringList>("chiavi");
        QTest::addColumn<int>("colonneAggiorna");
        QTest::addColumn<int>("colonneInstalla");

        // Key columns as the loader's filter begins them: a text key ends with an apostrophe.
        const auto riga = [](int posizione, const QString &nome, const QStringList &chiavi, int aggiorna,
                             int installa) {
            QTest::newRow(qPrintable(nome)) << posizione << nome << chiavi << aggiorna << installa;
        };
        riga(1, u"Asse"_s, {u"CodAsse='"_s}, 2, 2);
        riga(2, u"Misura"_s, {u"CodAsse='"_s, u"CodMisura='"_s}, 3, 3);
        riga(3, u"Azione"_s, {u"CodAsse='"_s, u"CodMisura='"_s, u"CodAzione='"_s}, 4, 4);
        riga(4, u"Percorsi"_s, {u"CodPerc="_s}, 3, 3);
        riga(5, u"AzioneDenomCorso"_s, {u"CodAsse='"_s, u"CodMisura='"_s, u"CodAzione='"_s, u"CodDenom="_s},
             5, 5);
        riga(6, u"AzionePercorsi"_s, {u"CodAsse='"_s, u"CodMisura='"_s, u"CodAzione='"_s, u"CodPerc="_s}, 4,
             4);
        riga(7, u"AttEcono"_s, {u"AttEcono="_s}, 2, 2);
        riga(8, u"Destin"_s, {u"CodDest="_s}, 2, 2);
        riga(9, u"AzioneDestin"_s, {u"CodAsse='"_s, u"CodMisura='"_s, u"CodAzione='"_s, u"CodDest="_s}, 4, 4);
        riga(10, u"Bacino"_s, {u"CodBacino="_s}, 4, 4);
        riga(11, u"Certif"_s, {u"CodCert="_s}, 2, 2);
        riga(12, u"Comuni"_s, {u"CodComune='"_s}, 7, 7);
        riga(13, u"Comuni_Quartieri"_s, {u"ComIstat='"_s, u"Cod_Quartiere="_s}, 3, 3);
        riga(14, u"Istituti"_s, {u"CodIsti="_s}, 2, 0);
        riga(15, u"Regioni"_s, {u"Regione='"_s}, 2, 2);
        riga(16, u"Province"_s, {u"Prov='"_s}, 4, 4);
        riga(17, u"Prov_Asse"_s, {u"Prov='"_s, u"CodAsse='"_s}, 2, 2);
        riga(18, u"Prov_Misura"_s, {u"Prov='"_s, u"CodAsse='"_s, u"CodMisura='"_s}, 3, 3);
        riga(19, u"Prov_Azione"_s, {u"Prov='"_s, u"CodAsse='"_s, u"CodMisura='"_s, u"CodAzione='"_s}, 4, 4);
        riga(20, u"ProvinceLoghiIndir"_s, {u"Prov='"_s}, 7, 7);
        riga(21, u"StatiEsteri"_s, {u"CodStato='"_s}, 3, 3);
        riga(22, u"TipoCompo"_s, {u"TipoCompo='"_s}, 2, 2);
        riga(23, u"TipoOper"_s, {u"GrupOpe='"_s, u"TipoOper='"_s}, 3, 3);
        riga(24, u"MassimaliPar"_s, {}, 14, 12);
        riga(25, u"CentroCostoSpesa"_s, {u"CodCentro="_s, u"CodSpesa="_s}, 3, 3);
    }
    void theListHoldsTheTwentyFiveTablesInTheirLoadingOrder()
    {
        QFETCH(int, posizione);
        QFETCH(QString, nome);
        QFETCH(QStringList, chiavi);
        QFETCH(int, colonneAggiorna);
        QFETCH(int, colonneInstalla);

        const QList<TabellaDecodifica> &elenco = ElencoTabelleDecodifica();
        QCOMPARE(elenco.size(), 25);
        const TabellaDecodifica &tabella = elenco.at(posizione - 1);
        QCOMPARE(tabella.nome, nome);
        QCOMPARE(tabella.file(), nome + u".txt"_s);
        QStringList lette;
        for (const ChiaveTabella &chiave : tabella.chiavi)
            lette << chiave.colonna + (chiave.testo ? u"='"_s : u"="_s);
        QCOMPARE(lette, chiavi);
        QCOMPARE(tabella.colonne(RunTabelle::Aggiorna), colonneAggiorna);
        QCOMPARE(tabella.colonne(RunTabelle::Installa), colonneInstalla);

        // The keys are the table's leading columns, and the columns written are there to write.
        const QueryResult colonne = m_schema->db.query(u"SELECT * FROM "_s + nome + u" LIMIT 0"_s);
        QVERIFY(colonne.columns.size() >= colonneAggiorna);
        for (qsizetype j = 0; j < tabella.chiavi.size(); ++j)
            QCOMPARE(colonne.columns.at(j).name, tabella.chiavi.at(j).colonna);
    }

    void flagFilesDecide_data()
    {
        QTest::addColumn<Run>("run");
        QTest::addColumn<QStringList>("flag");
        QTest::addColumn<bool>("bloccato");
        QTest::addColumn<QString>("avviso");
        QTest::addColumn<QStringList>("asse");
        QTest::addColumn<QString>("titolo");

        const QStringList intatta{u"OLD"_s};
        for (const Run run : {Run::Avvio, Run::Aggiornamento}) {
            const char *nome = run == Run::Avvio ? "start-up" : "update";
            QTest::addRow("%s: no flag file", nome)
                << run << QStringList{} << false << QString() << intatta << QString();
            QTest::addRow("%s: installa.tab", nome)
                << run << QStringList{u"installa.tab"_s} << false << QString() << QStringList{u"A"_s}
                << u"INSTALLAZIONE TABELLE"_s;
            QTest::addRow("%s: AGGIORNA.TAB", nome)
                << run << QStringList{u"AGGIORNA.TAB"_s} << false << QString()
                << QStringList{u"A"_s, u"OLD"_s} << u"AGGIORNAMENTO TABELLE"_s;
            QTest::addRow("%s: both", nome) << run << QStringList{u"installa.tab"_s, u"aggiorna.tab"_s}
                                            << false << Entrambi << intatta << QString();
            QTest::addRow("%s: undeletable", nome)
                << run << QStringList{u"installa.tab"_s} << true << NonCancellabile << intatta << QString();
        }
    }
    void flagFilesDecide()
    {
        QFETCH(Run, run);
        QFETCH(QStringList, flag);
        QFETCH(bool, bloccato);
        QFETCH(QString, avviso);
        QFETCH(QStringList, asse);
        QFETCH(QString, titolo);
        Cartella c;
        c.db.insert(u"Asse"_s, {u"CodAsse"_s, u"DesAsse"_s}, {{u"OLD"_s, u"Vecchio"_s}});
        c.scrivi(u"Asse.txt"_s, {u"X"_s, u"#A#,#Nuovo#"_s});
        for (const QString &f : flag)
            c.test.writeFile(f, "qualunque contenuto");
        c.flagBloccato = bloccato;
        if (!avviso.isEmpty())
            c.test.prompt.expect(avviso);

        QVERIFY(!c.esegui(run));
        QVERIFY(c.test.prompt.allShown());
        QCOMPARE(c.codici(u"SELECT CodAsse FROM Asse ORDER BY CodAsse"_s), asse);
        const bool caricato = !titolo.isEmpty();
        if (!avviso.isEmpty()) {
            const ShownBox box = c.test.prompt.shown().at(0);
            QCOMPARE(box.icon, bloccato ? Prompt::Icon::Critical : Prompt::Icon::Warning);
            QCOMPARE(box.title, bloccato ? u"KX58TORVA"_s : u"Installa/Aggiorna tabelle di decodifica"_s);
        }
        // The consumed flag file is gone; any other stays, and so do the table files not loaded.
        QStringList attesi = caricato ? QStringList{} : flag;
        if (!caricato)
            attesi << u"Asse.txt"_s;
        attesi << u"KX58TORVA.mdb"_s << u"KX58TORVA.mdb.lck"_s;
        QStringList presenti = c.presenti();
        presenti.removeAll(u"KX58TORVA.ini"_s);
        attesi.sort(Qt::CaseInsensitive);
        presenti.sort(Qt::CaseInsensitive);
        QCOMPARE(presenti, attesi);
        QCOMPARE(c.presenti(u"CAR"_s), caricato ? QStringList{u"Asse.txt"_s} : QStringList{});
        QCOMPARE(c.puntatore, caricato ? (QList<bool>{true, false}) : QList<bool>{});
        if (run == Run::Avvio) {
            QCOMPARE(c.avvio.scritture.value(0), caricato ? titolo + u" / Attendere ...."_s : QString());
            QVERIFY(c.lblCont.isEmpty());
        } else {
            QVERIFY(c.avvio.scritture.isEmpty());
            const QStringList righe{u"Caricamento: Asse - 0"_s, u"Caricamento: Asse - 1"_s};
            QCOMPARE(c.lblCont, caricato ? righe : QStringList{});
        }
    }

    void eachRunLoadsItsOwnList_data()
    {
        QTest::addColumn<Run>("run");
        QTest::addColumn<bool>("istituti");
        QTest::addColumn<bool>("campo14");
        QTest::newRow("start-up: no Istituti, 12 columns") << Run::Avvio << false << false;
        QTest::newRow("update: Istituti, 14 columns") << Run::Aggiornamento << true << true;
    }
    void eachRunLoadsItsOwnList()
    {
        QFETCH(Run, run);
        QFETCH(bool, istituti);
        QFETCH(bool, campo14);
        Cartella c;
        c.test.writeFile(u"installa.tab"_s, {});
        c.scrivi(u"Istituti.txt"_s, {u"INSTALLAZIONE"_s, u"#7#,#Istituto Tecnico#"_s});
        c.scrivi(u"MassimaliPar.txt"_s,
                 {u"INSTALLAZIONE"_s, u"#III#,#G#,#01#,#A#,#1#,#2#,#3#,#1#,#2#,#x#,#y#,#z#,#M#,#N#"_s});
        QVERIFY(!c.esegui(run));
        QCOMPARE(c.db.count(u"Istituti"_s), istituti ? 1 : 0);
        QCOMPARE(QFile::exists(c.test.path(u"Istituti.txt"_s)), !istituti);
        QCOMPARE(QFile::exists(c.test.path(u"CAR/Istituti.txt"_s)), istituti);
        QCOMPARE(c.db.scalar(u"SELECT Campo14 FROM MassimaliPar"_s).isNull(), !campo14);
        QCOMPARE(c.db.scalar(u"SELECT Campo12 FROM MassimaliPar"_s).toString(), u"z"_s);
    }

    void modeCarriesOverToTheNextFiles()
    {
        Cartella c;
        c.db.insert(u"Asse"_s, {u"CodAsse"_s}, {{u"OLD"_s}});
        c.db.insert(u"Misura"_s, {u"CodAsse"_s, u"CodMisura"_s}, {{u"OLD"_s, u"1"_s}});
        c.db.insert(u"Azione"_s, {u"CodAsse"_s, u"CodMisura"_s, u"CodAzione"_s},
                    {{u"OLD"_s, u"1"_s, u"1"_s}});
        c.test.writeFile(u"aggiorna.tab"_s, {});
        c.scrivi(u"Asse.txt"_s, {u"INSTALLAZIONE"_s, u"#A#,#Uno#"_s});
        c.scrivi(u"Misura.txt"_s, {u"X"_s, u"#A#,#1#,#Uno#"_s});
        c.scrivi(u"Azione.txt"_s, {u"AGGIORNAMENTO"_s, u"#A#,#1#,#1#,#Uno#"_s});
        QVERIFY(!c.esegui(Run::Avvio));
        QCOMPARE(c.codici(u"SELECT CodAsse FROM Asse"_s), QStringList{u"A"_s});
        QCOMPARE(c.codici(u"SELECT CodAsse FROM Misura"_s), QStringList{u"A"_s});
        QCOMPARE(c.codici(u"SELECT CodAsse FROM Azione ORDER BY CodAsse"_s), (QStringList{u"A"_s, u"OLD"_s}));
        // The title follows the flag file, not the headers.
        QCOMPARE(c.avvio.scritture,
                 (QStringList{u"AGGIORNAMENTO TABELLE / Attendere ...."_s, u"lblFile Asse.txt"_s,
                              u"lblTabe Asse"_s, u"lblNRec 0"_s, u"lblNRec 1"_s, u"lblFile Misura.txt"_s,
                              u"lblTabe Misura"_s, u"lblNRec 0"_s, u"lblNRec 1"_s, u"lblFile Azione.txt"_s,
                              u"lblTabe Azione"_s, u"lblNRec 0"_s, u"lblNRec 1"_s}));
    }

    void onlyTheTablesWithAFileChange()
    {
        Cartella c;
        c.db.insert(u"Asse"_s, {u"CodAsse"_s}, {{u"OLD"_s}});
        c.db.insert(u"Comuni"_s, {u"CodComune"_s}, {{u"999999"_s}});
        c.test.writeFile(u"installa.tab"_s, {});
        c.scrivi(u"Comuni.txt"_s, {u"INSTALLAZIONE"_s, u"#001001#,#Agliè#,#001#,#10011#,#1#,#A074#,##"_s});
        QVERIFY(!c.esegui(Run::Avvio));
        QCOMPARE(c.codici(u"SELECT CodComune FROM Comuni"_s), QStringList{u"001001"_s});
        QCOMPARE(c.codici(u"SELECT CodAsse FROM Asse"_s), QStringList{u"OLD"_s});
        QCOMPARE(c.presenti(u"CAR"_s), QStringList{u"Comuni.txt"_s});
    }

    void filesMoveWholeIntoOneCarFolder_data()
    {
        QTest::addColumn<QString>("esistente");
        QTest::newRow("none: CAR is made") << QString();
        QTest::newRow("Car") << u"Car"_s;
        QTest::newRow("CAR") << u"CAR"_s;
        QTest::newRow("car") << u"car"_s;
    }
    void filesMoveWholeIntoOneCarFolder()
    {
        QFETCH(QString, esistente);
        Cartella c;
        const QString cartella = esistente.isEmpty() ? u"CAR"_s : esistente;
        if (!esistente.isEmpty()) {
            QVERIFY(QDir(c.test.folder()).mkdir(esistente));
            c.test.writeFile(esistente + u"/Asse.txt"_s, "una versione precedente\r\n");
        }
        const QByteArray asse = "INSTALLAZIONE\r\n#A#,#Citt\xe0 d'arte#\r\n#B#,#Due#";
        const QByteArray misura = "INSTALLAZIONE\r\n#A#,#1#,#Misura \x80 uno#\r\n";
        c.test.writeFile(u"installa.tab"_s, {});
        c.test.writeFile(u"Asse.txt"_s, asse);
        c.test.writeFile(u"misura.TXT"_s, misura);
        QVERIFY(!c.esegui(Run::Avvio));
        QCOMPARE(c.db.scalar(u"SELECT DesAsse FROM Asse WHERE CodAsse = 'A'"_s).toString(),
                 u"Città d'arte"_s);
        QCOMPARE(c.db.scalar(u"SELECT DesMisura FROM Misura"_s).toString(), u"Misura € uno"_s);
        QStringList cartelle = QDir(c.test.folder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(cartelle, QStringList{cartella});
        QCOMPARE(c.test.readFile(cartella + u"/Asse.txt"_s), asse);
        QCOMPARE(c.test.readFile(cartella + u"/Misura.txt"_s), misura);
        QVERIFY(!QFile::exists(c.test.path(u"Asse.txt"_s)));
        QVERIFY(!QFile::exists(c.test.path(u"misura.TXT"_s)));
    }

    void emptyFileSkippedAtTheUsersChoiceIsMoved()
    {
        Cartella c;
        c.db.insert(u"Asse"_s, {u"CodAsse"_s}, {{u"OLD"_s}});
        c.test.writeFile(u"aggiorna.tab"_s, {});
        c.test.writeFile(u"Asse.txt"_s, {});
        c.scrivi(u"Misura.txt"_s, {u"X"_s, u"#A#,#1#,#Uno#"_s});
        c.test.prompt.expect(u"ATTENZIONE: il file "_s + c.test.path(u"Asse.txt"_s) +
                                 u" è vuoto. Continuare l'operazione di aggiornamento sulle altre tabelle "
                                 u"(scegliendo No il programma uscirà a Windows) ?"_s,
                             Prompt::Answer::Yes);
        QVERIFY(!c.esegui(Run::Aggiornamento));
        QCOMPARE(c.codici(u"SELECT CodAsse FROM Asse"_s), QStringList{u"OLD"_s});
        QCOMPARE(c.db.count(u"Misura"_s), 1);
        QCOMPARE(c.presenti(u"CAR"_s), (QStringList{u"Asse.txt"_s, u"Misura.txt"_s}));
    }

    void failureStopsTheRunAtItsTable_data()
    {
        QTest::addColumn<Run>("run");
        QTest::newRow("start-up") << Run::Avvio;
        QTest::newRow("update") << Run::Aggiornamento;
    }
    void failureStopsTheRunAtItsTable()
    {
        QFETCH(Run, run);
        Cartella c;
        c.db.insert(u"Percorsi"_s, {u"CodPerc"_s, u"DesPerc"_s}, {{1, u"Vecchio"_s}});
        c.db.insert(u"Destin"_s, {u"CodDest"_s}, {{9}});
        c.test.writeFile(u"installa.tab"_s, {});
        c.scrivi(u"Asse.txt"_s, {u"X"_s, u"#A#,#Uno#"_s});
        c.scrivi(u"Percorsi.txt"_s, {u"X"_s, u"#2#,#Due#,##"_s, u"#tre#,#Tre#,##"_s});
        c.scrivi(u"Destin.txt"_s, {u"X"_s, u"#1#,#Uno#"_s});
        c.test.prompt.expect(
            u"Errore  13 --> Tipo non corrispondente\r\ndurante l'aggiornamento della tabella "
            u"Percorsi, record 2.\n\rImpossibile continuare."_s);
        QVERIFY(c.esegui(run));
        QCOMPARE(c.db.count(u"Asse"_s), 1);
        QCOMPARE(c.codici(u"SELECT DesPerc FROM Percorsi"_s), QStringList{u"Vecchio"_s});
        QCOMPARE(c.codici(u"SELECT CodDest FROM Destin"_s), QStringList{u"9"_s});
        QCOMPARE(c.presenti(u"CAR"_s), QStringList{u"Asse.txt"_s});
        QVERIFY(!QFile::exists(c.test.path(u"installa.tab"_s)));
        QVERIFY(QFile::exists(c.test.path(u"Percorsi.txt"_s)));
        QVERIFY(QFile::exists(c.test.path(u"Destin.txt"_s)));
    }

    void failedMoveReachesTheCallerWithTheNormalPointer()
    {
        Cartella c;
        c.test.writeFile(u"aggiorna.tab"_s, {});
        c.test.writeFile(u"CAR"_s, "un file, non una cartella");
        c.scrivi(u"Asse.txt"_s, {u"X"_s, u"#A#,#Uno#"_s});
        const RoutineError errore = errorOf([&] { c.esegui(Run::Aggiornamento); });
        QVERIFY(errore.number() != 0);
        QCOMPARE(c.puntatore, (QList<bool>{true, false}));
        QCOMPARE(c.db.count(u"Asse"_s), 1);
        QVERIFY(QFile::exists(c.test.path(u"Asse.txt"_s)));
    }
};

QTEST_GUILESS_MAIN(TestTabelleDecodifica)
#include "tst_TabelleDecodifica.moc"
