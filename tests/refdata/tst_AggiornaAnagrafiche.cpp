#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/config/IniFile.h"
#include "core/config/IniKeys.h"
#include "core/data/DataEnvironment.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/InstallationState.h"
#include "core/text/Cp1252.h"
#include "refdata/AggiornaAnagrafiche.h"
#include "refdata/AggiornaAnagraficheLoaders.h"

#include <QDir>
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

const QString TitoloServer = u"Proposta Corsi 1.0.0 ***SERVER***"_s;

const QByteArray OperA12 = file({riga({u"A"_s, u"12"_s, u"NUOVO NOME"_s, u"01"_s, u"CFNUOVO"_s, u"PINUOVA"_s,
                                       u""_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s, u"2222"_s})});
const QByteArray CompoA12 =
    file({riga({u"A"_s, u"12"_s, u"1"_s, u"SL"_s, u"SEDE NUOVA"_s, u"037006"_s, u"40121"_s, u"VIA ROMA 2"_s,
                u""_s, u""_s, u""_s, u""_s, u""_s, u""_s})});
/** A decode table the update's flag file asks for. */
const QByteArray AsseTxt = file({u"AGGIORNAMENTO"_s, u"#A#,#Uno#"_s});

QByteArray rigaLog(int domanda)
{
    return "- Domanda n. " + QByteArray::number(domanda) +
           " dell'Operatore A-12 non aggiornata perch\xE8 bloccata (sostituita o stampata in definitivo)\r\n";
}

QString riaperturaRifiutata(const QString &path)
{
    return u"Errore 3045\r\nImpossibile aprire in modo esclusivo '"_s + path +
           u"': il file è già in uso da parte di un altro utente.\r\n\r\nQualche client potrebbe ancora "
           u"essere connesso alla base dati. \r\n\r\nIl programma uscira a Windows.\r\nChiudere tutti i "
           u"client, riavviare l'applicativo SERVER e ritentare l'Operazione."_s;
}

const QString Incompleta =
    u"ATTENZIONE: la base dati è incompleta. Mancano uno o più files di testo necessari."_s;

/**
 * A SERVER's program folder on a shared database: operator A-12 with component 1, its open
 * application 1001 and, when asked, printed ones; the database open shared, as in normal use.
 */
struct Banco
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};
    QStringList lblCont;
    QList<bool> puntatore;

    explicit Banco(const QList<int> &stampate = {})
    {
        test.writeFile(u"KX58TORVA.INI"_s, "[Installazione]\r\nTipo=Multiutenza\r\nVersione=SERVER\r\n"
                                           "[BaseDati]\r\nDatabase=KX58TORVA.mdb\r\n");
        Context &context = test.context();
        context.fileIni().setNomeFile(test.path(u"KX58TORVA.INI"_s));
        context.fileIni().Scrivi(IniKeys::Provider, Connection::providerName());
        context.installazione().CartellaProgramma = test.folder() + u'/';
        context.installazione().PercorsoDB = db.path();
        context.installazione().TipoInstallazione = u"Multiutenza"_s;
        db.insert(u"CorsiOper"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Denominazione"_s, u"AttEcono"_s},
                  {{u"A"_s, 12, u"VECCHIO NOME"_s, 1111}});
        db.insert(u"CorsiCompo"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"TipoCompo"_s},
                  {{u"A"_s, 12, 1, u"SL"_s}});
        QList<QVariantList> domande{{1001, u"A"_s, 12, u"VECCHIO NOME"_s, 0}};
        for (int numero : stampate)
            domande.append({numero, u"A"_s, 12, u"VECCHIO NOME"_s, 1});
        db.insert(u"Domande"_s,
                  {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s, u"DenominazioneOp"_s, u"DomandaStampata"_s},
                  domande);
        corsiDB().open(db.path(), Connection::Mode::Shared);
    }
    ~Banco()
    {
        if (corsiDB().isOpen())
            corsiDB().close();
    }

    Connection &corsiDB() { return test.context().DE().CorsiDB(); }
    QString log() const { return test.path(NomeFileLogAggiornamento); }

    bool aggiorna(const QString &titolo = TitoloServer)
    {
        OperazioniTabelle operazioni;
        operazioni.puntatore = [this](bool occupato) { puntatore << occupato; };
        return AggiornaDB(
            test.context(), titolo, [this](const QString &testo) { lblCont << testo; }, operazioni);
    }

    /** Every row of the tables the update may change, to compare before and after. */
    QList<QList<QVariantList>> tabelle()
    {
        QList<QList<QVariantList>> righe;
        for (const QString &tabella : {u"CorsiOper"_s, u"CorsiCompo"_s, u"CorsiSediOcc"_s,
                                       u"CorsiSediOccUtil"_s, u"Domande"_s, u"CorsiSediInteressate"_s})
            righe << corsiDB().query(u"SELECT * FROM "_s + tabella + u" ORDER BY 1, 2, 3"_s).rows;
        return righe;
    }
    QStringList presenti(const QString &cartella = QString()) const
    {
        return QDir(test.path(cartella)).entryList(QDir::Files, QDir::Name);
    }
};

} // namespace

class TestAggiornaAnagrafiche : public QObject
{
    Q_OBJECT

private slots:
    void refusedOnACaptionWithoutServer_data()
    {
        QTest::addColumn<QString>("titolo");
        QTest::addColumn<QString>("titoloBox");
        QTest::addColumn<QString>("testo");
        const QString client =
            u"La funzione di Aggiornamento Base Dati è disponibile solo dalle installazioni "
            u"di tipo SERVER."_s;
        QTest::newRow("CLIENT") << u"Proposta Corsi 1.0.0 ___CLIENT___"_s << u"Funzione non disponibile"_s
                                << client;
        QTest::newRow("both roles: a CLIENT")
            << u"CLIENT SERVER"_s << u"Funzione non disponibile"_s << client;
        QTest::newRow("neither role") << u"Proposta Corsi 1.0.0 ___server___"_s << u"Anomalia"_s
                                      << u"ATTENZIONE: impossibile rilevare tipo di installazione in uso "
                                         u"(SERVER/CLIENT). \r\n\r\nContattare il servizio di assistenza "
                                         u"T.U.Z. riportando questo messaggio."_s;
    }
    void refusedOnACaptionWithoutServer()
    {
        QFETCH(QString, titolo);
        QFETCH(QString, titoloBox);
        QFETCH(QString, testo);
        Banco banco;
        banco.test.writeFile(u"oper.tx1"_s, OperA12);
        banco.test.writeFile(u"compo.tx1"_s, CompoA12);
        banco.test.writeFile(u"aggiorna.tab"_s, {});
        banco.test.writeFile(NomeFileLogAggiornamento, "- nota\r\n");
        const auto prima = banco.tabelle();
        banco.test.prompt.expect(testo);

        QVERIFY(!banco.aggiorna(titolo));

        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().front().title, titoloBox);
        QCOMPARE(banco.test.prompt.shown().front().icon, Prompt::Icon::Critical);
        QCOMPARE(banco.tabelle(), prima);
        QCOMPARE(banco.presenti(),
                 (QStringList{NomeFileLogAggiornamento, u"KX58TORVA.INI"_s, u"KX58TORVA.mdb"_s,
                              u"KX58TORVA.mdb.lck"_s, u"aggiorna.tab"_s, u"compo.tx1"_s, u"oper.tx1"_s}));
        QCOMPARE(banco.corsiDB().mode(), Connection::Mode::Shared);
        QVERIFY(banco.puntatore.isEmpty());
    }

    void aConnectedClientEndsTheProgramAndTheDownloadIsDeleted()
    {
        Banco banco;
        banco.test.writeFile(u"oper.tx1"_s, OperA12);
        banco.test.writeFile(u"compo.tx1"_s, CompoA12);
        banco.test.writeFile(u"ALTRO.TX1"_s, "x");
        banco.test.writeFile(u"note.txt"_s, "x");
        Connection client;
        client.open(banco.db.path(), Connection::Mode::Shared);
        banco.test.prompt.expect(riaperturaRifiutata(banco.db.path()));

        QVERIFY_THROWS_EXCEPTION(ProgramExited, banco.aggiorna());

        QVERIFY(banco.test.prompt.allShown());
        QVERIFY(banco.test.programExit.exited());
        QVERIFY(!banco.corsiDB().isOpen());
        QCOMPARE(banco.presenti().filter(u".tx1"_s, Qt::CaseInsensitive), QStringList());
        QVERIFY(banco.presenti().contains(u"note.txt"_s));
        client.close();
    }

    void withoutOperTx1OnlyTheDecodeTablesAreUpdated()
    {
        Banco banco;
        banco.test.writeFile(u"compo.tx1"_s, CompoA12);
        banco.test.writeFile(u"aggiorna.tab"_s, {});
        banco.test.writeFile(u"Asse.txt"_s, AsseTxt);
        banco.test.writeFile(NomeFileLogAggiornamento, "- nota\r\n");
        const auto prima = banco.tabelle();

        QVERIFY(!banco.aggiorna());

        QVERIFY(banco.test.prompt.shown().isEmpty());
        QCOMPARE(banco.corsiDB().scalar(u"SELECT CodAsse FROM Asse"_s), QVariant(u"A"_s));
        QVERIFY(!banco.lblCont.isEmpty());
        QCOMPARE(banco.tabelle(), prima);
        QVERIFY(banco.presenti().contains(u"compo.tx1"_s));
        QVERIFY(!QFileInfo::exists(banco.log()));
        QCOMPARE(banco.presenti(u"BAD"_s), QStringList());
        QCOMPARE(banco.corsiDB().mode(), Connection::Mode::Exclusive);
        QCOMPARE(banco.puntatore.last(), false);
    }

    void incompleteFilesGoToBadWithoutACopy_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("titolo");
        QTest::addColumn<QStringList>("scartati");
        QTest::newRow("one seat file only")
            << QStringList{u"oper.tx1"_s, u"compo.tx1"_s, u"sediocc.tx1"_s} << u"Installazione Base Dati"_s
            << QStringList{u"compo.car"_s, u"oper.car"_s, u"sediocc.car"_s};
        QTest::newRow("the other seat file only")
            << QStringList{u"oper.tx1"_s, u"compo.tx1"_s, u"sediutil.tx1"_s} << u"Installazione Base Dati"_s
            << QStringList{u"compo.car"_s, u"oper.car"_s, u"sediutil.car"_s};
        QTest::newRow("no compo.tx1")
            << QStringList{u"oper.tx1"_s} << u"Aggiornamento Base Dati"_s << QStringList{u"oper.car"_s};
    }
    void incompleteFilesGoToBadWithoutACopy()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, titolo);
        QFETCH(QStringList, scartati);
        Banco banco;
        for (const QString &name : files)
            banco.test.writeFile(name, name.startsWith(u"compo") ? CompoA12 : OperA12);
        const auto prima = banco.tabelle();
        banco.test.prompt.expect(Incompleta);

        QVERIFY(!banco.aggiorna());

        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().front().title, titolo);
        QCOMPARE(banco.test.prompt.shown().front().icon, Prompt::Icon::Critical);
        QCOMPARE(banco.tabelle(), prima);
        QCOMPARE(banco.presenti(u"BAD"_s), scartati);
        QVERIFY(!QFileInfo::exists(banco.db.path() + u"_BAK"_s));
    }

    void aFailedCopyChangesNothing()
    {
        Banco banco;
        banco.test.writeFile(u"oper.tx1"_s, OperA12);
        banco.test.writeFile(u"compo.tx1"_s, CompoA12);
        // A folder where the copy should go cannot be replaced by it.
        QVERIFY(QDir(banco.test.folder()).mkpath(u"KX58TORVA.mdb_BAK/dentro"_s));
        const auto prima = banco.tabelle();
        banco.test.prompt.expect(
            testoErroreRoutine(u"Crea_DB_Backup"_s, RoutineError(ErrorCode::PermissionDenied)));
        banco.test.prompt.expect(u"Copia di sicurezza della base dati non riuscita. Impossibile continuare "
                                 u"l'operazione di aggiornamento."_s);

        QVERIFY(!banco.aggiorna());

        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().back().title, u"Aggiornamento Base Dati"_s);
        QCOMPARE(banco.tabelle(), prima);
        QCOMPARE(banco.presenti(u"BAD"_s), (QStringList{u"compo.car"_s, u"oper.car"_s}));
        QVERIFY(!QFileInfo::exists(banco.log()));
    }

    void aFailingThirdLoaderLeavesTheDatabaseAsItWas()
    {
        Banco banco{{1002}};
        // Operator Z-99 vanishes once written: the correspondence step cannot find it.
        banco.db.execute(u"CREATE TRIGGER Sparisce AFTER INSERT ON CorsiOper WHEN NEW.GrupOpe = 'Z' "
                         u"BEGIN DELETE FROM CorsiOper WHERE GrupOpe = 'Z'; END"_s);
        banco.test.writeFile(u"oper.tx1"_s,
                             OperA12 + file({riga({u"Z"_s, u"99"_s, u"ENTE"_s, u"01"_s, u""_s, u""_s, u""_s,
                                                   u""_s, u""_s, u""_s, u""_s, u""_s, u""_s, u"1"_s})}));
        banco.test.writeFile(u"compo.tx1"_s, CompoA12);
        banco.test.writeFile(u"aggiorna.tab"_s, {});
        banco.test.writeFile(u"Asse.txt"_s, AsseTxt);
        const auto prima = banco.tabelle();
        banco.test.prompt.expect(AggiornamentoAnagrafiche::testoErroreAggiornamento(
            RoutineError(3021), AggiornamentoAnagrafiche::FraseOper));
        banco.test.prompt.expect(u"Ripristino della base dati riuscito"_s);

        QVERIFY(!banco.aggiorna());

        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().front().title, u"Aggiornamento Base Dati - AggCorsiOperCorrisp"_s);
        QCOMPARE(banco.test.prompt.shown().back().title, u"Aggiornamento Base Dati"_s);
        QCOMPARE(banco.test.prompt.shown().back().icon, Prompt::Icon::Information);
        QCOMPARE(banco.tabelle(), prima);
        // The decode tables were loaded before the copy, and stay.
        QCOMPARE(banco.corsiDB().scalar(u"SELECT CodAsse FROM Asse"_s), QVariant(u"A"_s));
        QCOMPARE(banco.presenti(u"BAD"_s), (QStringList{u"compo.car"_s, u"oper.car"_s}));
        QCOMPARE(banco.presenti().filter(u".tx1"_s), QStringList());
        QVERIFY(!QFileInfo::exists(banco.log()));
        QVERIFY(!QFileInfo::exists(banco.db.path() + u"_BAK"_s));
        QCOMPARE(banco.corsiDB().mode(), Connection::Mode::Exclusive);
    }

    void aSuccessOffersTheLog_data()
    {
        QTest::addColumn<Prompt::Answer>("risposta");
        QTest::addColumn<int>("visti");
        QTest::newRow("Yes: shown") << Prompt::Answer::Yes << 1;
        QTest::newRow("No: kept") << Prompt::Answer::No << 0;
    }
    void aSuccessOffersTheLog()
    {
        QFETCH(Prompt::Answer, risposta);
        QFETCH(int, visti);
        Banco banco{{1002, 1003}};
        banco.test.writeFile(u"oper.tx1"_s, OperA12);
        banco.test.writeFile(u"compo.tx1"_s, CompoA12);
        banco.test.prompt.expect(
            u"E' stato creato un file di log con nome: "_s + banco.log() +
                u", contenente alcune note all'aggiornamento. E' possibile leggerlo "
                u"con un qualsiasi editor di testo.\r\n\r\nVisualizzare subito il file di "
                u"log?"_s,
            risposta);

        QVERIFY(banco.aggiorna());

        QVERIFY(banco.test.prompt.allShown());
        const ShownBox domanda = banco.test.prompt.shown().front();
        QCOMPARE(domanda.title, u"Aggiornamento Base Dati"_s);
        QCOMPARE(domanda.icon, Prompt::Icon::None);
        QCOMPARE(domanda.buttons, Prompt::Buttons::YesNo);
        QCOMPARE(banco.test.readFile(NomeFileLogAggiornamento), rigaLog(1002) + rigaLog(1003));
        QCOMPARE(banco.test.logViewer.paths.size(), visti);
        QCOMPARE(banco.corsiDB().scalar(u"SELECT Denominazione FROM CorsiOper WHERE Operatore = 12"_s),
                 QVariant(u"NUOVO NOME"_s));
        QCOMPARE(banco.corsiDB().scalar(u"SELECT DenominazioneOp FROM Domande WHERE NumDoma = 1001"_s),
                 QVariant(u"NUOVO NOME"_s));
        QCOMPARE(banco.corsiDB().scalar(u"SELECT DenominazioneOp FROM Domande WHERE NumDoma = 1002"_s),
                 QVariant(u"VECCHIO NOME"_s));
        // The seats of the open application follow the registry.
        QCOMPARE(banco.corsiDB().scalar(u"SELECT COUNT(*) FROM CorsiSediInteressate WHERE NumDoma = 1001"_s),
                 QVariant(1));
        QCOMPARE(banco.presenti(u"CAR"_s), (QStringList{u"compo.car"_s, u"oper.car"_s}));
        QVERIFY(!QFileInfo::exists(banco.db.path() + u"_BAK"_s));
        QCOMPARE(banco.puntatore.last(), false);
    }

    void aSuccessWithoutNotesLeavesNoLog()
    {
        Banco banco;
        banco.test.writeFile(u"oper.tx1"_s, OperA12);
        banco.test.writeFile(u"compo.tx1"_s, CompoA12);
        banco.test.writeFile(NomeFileLogAggiornamento, "- di un'altra volta\r\n");

        QVERIFY(banco.aggiorna());

        QVERIFY(banco.test.prompt.shown().isEmpty());
        QVERIFY(!QFileInfo::exists(banco.log()));
        QCOMPARE(banco.presenti(u"CAR"_s), (QStringList{u"compo.car"_s, u"oper.car"_s}));
    }

    void theListHoldsEachOperatorInTheTablesOrder()
    {
        Banco banco;
        banco.db.insert(u"CorsiOper"_s, {u"GrupOpe"_s, u"Operatore"_s}, {{u"B"_s, 7}, {u"A"_s, 3}});
        QCOMPARE(vociOperatoriAnagrafica(banco.test.context()),
                 (QStringList{u"A      -     3"_s, u"A      -    12"_s, u"B      -     7"_s}));
    }
};

QTEST_GUILESS_MAIN(TestAggiornaAnagrafiche)
#include "tst_AggiornaAnagrafiche.moc"
