#include "core/files/ProgramFolder.h"
#include "tests/transmission/BancoTrasmissione.h"
#include "transmission/mdCreaFileTrasm.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Titolo = u"Creazione file di trasmissione - "_s;

const QString NomeGolden = QStringLiteral(KX_TEST_DATA "/transmission/domanda-812/KX58TORVA_XY_812.A27");

QByteArray golden()
{
    QFile file(NomeGolden);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("golden file missing");
    return file.readAll();
}

/** The run-time error box of the writer, for an error number and its description. */
QString erroreCreazione(int numero, const QString &descrizione)
{
    return u"Errore  "_s + QString::number(numero) + u" --> "_s + descrizione +
           u"\n\rdurante la creazione del file di trasmissione con i dati della domanda"_s;
}

QString carattereNonConsentito(const QString &carattere)
{
    return u"E' stata rilevata la presenza di un carattere non consentito ("_s + carattere +
           u") \r\ndurante la creazione del file di trasmissione con i dati della Proposta"_s;
}

const QString ModificoNome =
    u"Modifico il nome dell'allegato per evitare che venga erroneamente acquisito."_s;
const QString NomeAllegato = u"Il nome dell'allegato è: "_s;
const QString NessunCorso = u"ANOMALIA: nessun corso trovato. Impossibile continuare"_s;

/** Boxes as "title|text", to compare what was shown with what a table row expects. */
QStringList mostrati(const ScriptedPrompt &prompt)
{
    QStringList boxes;
    for (const ShownBox &box : prompt.shown())
        boxes << box.title + u'|' + box.text;
    return boxes;
}

} // namespace

class TestMdCreaFileTrasm : public QObject
{
    Q_OBJECT

private slots:
    void writesTheApplicationByteForByte()
    {
        BancoTrasmissione banco;
        QVERIFY(CreaFile(banco.test.context(), 812));
        QCOMPARE(banco.test.context().trasmissione().NomeFileTrasm, BancoTrasmissione::NomeFile);
        QCOMPARE(banco.test.readFile(BancoTrasmissione::NomeFile), golden());
        QVERIFY(banco.test.prompt.shown().isEmpty());
    }

    void startsWithTheHeaderAndEndsWithTheEndLine()
    {
        BancoTrasmissione banco;
        QVERIFY(CreaFile(banco.test.context(), 812));
        const QList<QByteArray> righe = banco.righe();
        QCOMPARE(righe.first(),
                 "#Z#,#TUZ_ALLEGATO_PROPOSTA_CORSI_LAR20_2021#,#20#,#2021#,#A#,#27#,#QV#,#888#,"
                 "#1000812#,#20210802#");
        QCOMPARE(righe.last(), "#Z#,#EOF#");
        QVERIFY(banco.test.readFile(BancoTrasmissione::NomeFile).endsWith("#Z#,#EOF#\r\n"));
    }

    void everyRecordKindHasItsNumberOfFields()
    {
        BancoTrasmissione banco;
        QVERIFY(CreaFile(banco.test.context(), 812));
        const QHash<QByteArray, int> campiPerTipo = {{"#Z#,#TUZ", 10}, {"#A#", 23}, {"#B#", 24},
                                                     {"#C#", 19},      {"#E#", 24}, {"#F#", 15},
                                                     {"#Z#,#EOF", 2}};
        QByteArray tipi;
        for (const QByteArray &riga : banco.righe()) {
            const QByteArray tipo =
                riga.startsWith("#Z#,#EOF") ? "#Z#,#EOF" : riga.left(riga.startsWith("#Z#") ? 8 : 3);
            QVERIFY2(campiPerTipo.contains(tipo), riga.constData());
            QCOMPARE(riga.mid(1, riga.size() - 2).split('#').size(), 2 * campiPerTipo[tipo] - 1);
            tipi += riga.at(1);
        }
        QCOMPARE(tipi, "ZABCCEEEEEEFFFZ");
    }

    void keepsOneDateWhenTheClockPassesMidnight()
    {
        BancoTrasmissione banco;
        banco.test.clock.time = QDateTime(QDate(2021, 8, 1), QTime(23, 59, 59));
        banco.test.clock.secondsPerReading = 60;
        QVERIFY(CreaFile(banco.test.context(), 812));
        const QList<QByteArray> righe = banco.righe();
        for (const QByteArray &riga : righe.mid(0, righe.size() - 1))
            QVERIFY2(riga.endsWith("#,#20210801#"), riga.constData());
    }

    void theName_data()
    {
        QTest::addColumn<QString>("provincia");
        QTest::addColumn<QStringList>("argomenti");
        QTest::addColumn<QString>("guasto");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("province, number, group and operator")
            << u"001"_s << QStringList() << QString() << u"KX58TORVA_XY_812.A27"_s << QStringList();
        QTest::newRow("province not in Province")
            << u"999"_s << QStringList() << QString() << u"KX58TORVA__812.A27"_s << QStringList();
        QTest::newRow("debug") << u"001"_s << QStringList{u"DEBUG"_s} << QString()
                               << u"DEBUG_KX58TORVA_XY_812.A27"_s
                               << QStringList{u"|"_s + ModificoNome,
                                              u"|"_s + NomeAllegato + u"DEBUG_KX58TORVA_XY_812.A27"_s};
        QTest::newRow("debug, then the run fails")
            << u"001"_s << QStringList{u"DEBUG"_s}
            << u"UPDATE CorsiSediInteressate SET TipoCompo = 'UL' WHERE SedeInteressata = 1"_s << QString()
            << QStringList{u"|"_s + ModificoNome,
                           Titolo +
                               u"ScriviRec_B|ANOMALIA: Sede Legale dell'Operatore Presentatore non trovata. "
                               u"Impossibile continuare"_s,
                           u"|"_s + NomeAllegato};
        QTest::newRow("debug needs the whole command line")
            << u"001"_s << QStringList{u"debug"_s} << QString() << u"KX58TORVA_XY_812.A27"_s << QStringList();
    }
    void theName()
    {
        QFETCH(QString, provincia);
        QFETCH(QStringList, argomenti);
        QFETCH(QString, guasto);
        QFETCH(QString, nome);
        QFETCH(QStringList, boxes);
        BancoTrasmissione banco;
        banco.test.context().domanda().ProvCorrente = provincia;
        banco.test.commandLine.args = argomenti;
        if (!guasto.isEmpty())
            banco.db.execute(guasto);
        for (const QString &box : boxes)
            banco.test.prompt.expect(box.section(u'|', 1));
        QCOMPARE(CreaFile(banco.test.context(), 812), !nome.isEmpty());
        QCOMPARE(banco.test.context().trasmissione().NomeFileTrasm, nome);
        QCOMPARE(mostrati(banco.test.prompt), boxes);
        QCOMPARE(banco.fileTrasmissione(), nome.isEmpty() ? QStringList() : QStringList{nome});
    }

    void refusals_data()
    {
        QTest::addColumn<qint32>("numero");
        QTest::addColumn<QString>("guasto");
        QTest::addColumn<QVariantList>("valori");
        QTest::addColumn<QString>("titolo");
        QTest::addColumn<QString>("testo");
        const QString nessunaRiga;
        QTest::newRow("no application row")
            << 999 << nessunaRiga << QVariantList() << u"NomeFile"_s
            << u"ANOMALIA: domanda non trovata nella tavola delle domande. Impossibile continuare"_s;
        QTest::newRow("no legal seat")
            << 812 << u"UPDATE CorsiSediInteressate SET TipoCompo = 'UL' WHERE SedeInteressata = 1"_s
            << QVariantList() << u"ScriviRec_B"_s
            << u"ANOMALIA: Sede Legale dell'Operatore Presentatore non trovata. Impossibile continuare"_s;
        QTest::newRow("no seat with courses")
            << 812 << u"UPDATE CorsiProp SET SedeInteressata = SedeInteressata + 5000 WHERE NumDoma = 812"_s
            << QVariantList() << u"ScriviRec_C"_s
            << u"ANOMALIA: nessuna sede interessata trovata. Impossibile continuare"_s;
        QTest::newRow("no course rows")
            << 812 << u"DELETE FROM CorsiProp WHERE NumDoma = 812"_s << QVariantList() << u"ScriviRec_C"_s
            << u"ANOMALIA: nessuna sede interessata trovata. Impossibile continuare"_s;
        QTest::newRow("Null Corrispondenza")
            << 812 << u"UPDATE Domande SET Corrispondenza = NULL WHERE NumDoma = 812"_s << QVariantList()
            << u"ScriviRec_A"_s << erroreCreazione(94, u"Utilizzo non valido di Null"_s);
        QTest::newRow("Corrispondenza beyond 16 bits")
            << 812 << u"UPDATE Domande SET Corrispondenza = 40000 WHERE NumDoma = 812"_s << QVariantList()
            << u"ScriviRec_A"_s << erroreCreazione(6, u"Overflow"_s);
        QTest::newRow("Null AttEcono")
            << 812 << u"UPDATE Domande SET AttEcono = NULL WHERE NumDoma = 812"_s << QVariantList()
            << u"ScriviRec_B"_s << erroreCreazione(94, u"Utilizzo non valido di Null"_s);
        QTest::newRow("Null TotaleSpesa")
            << 812 << u"UPDATE CorsiProp SET TotaleSpesa = NULL WHERE Corso = '0002'"_s << QVariantList()
            << u"ScriviRec_E"_s << erroreCreazione(94, u"Utilizzo non valido di Null"_s);
        QTest::newRow("Null ParametroSpesa")
            << 812 << u"UPDATE CorsiProp SET ParametroSpesa = NULL WHERE Corso = '0002'"_s << QVariantList()
            << u"ScriviRec_F"_s << erroreCreazione(94, u"Utilizzo non valido di Null"_s);
        QTest::newRow("approved course no longer there")
            << 812
            << u"UPDATE CorsiProp SET IdAttivita_CorsoRifB111 = 9999 WHERE IdAttivita_CorsoRifB111 = 5001"_s
            << QVariantList() << u"ScriviRec_E"_s
            << erroreCreazione(3021,
                               u"Il valore di BOF o EOF è True oppure il record corrente è stato eliminato. "
                               u"L'operazione richiesta richiede un record corrente."_s);
        QTest::newRow("key overflow")
            << 2146483648 << u"UPDATE Domande SET NumDoma = 2146483648 WHERE NumDoma = 812"_s
            << QVariantList() << u"ScriviRec_Z"_s << erroreCreazione(6, u"Overflow"_s);
        QTest::newRow("carriage return")
            << 812 << u"UPDATE CorsiSediInteressate SET Indirizzo = ? WHERE SedeInteressata = 1001"_s
            << QVariantList{u"PIAZZA\rGRANDE"_s} << u"Nomina_e_Crea"_s
            << carattereNonConsentito(u"'ritorno a capo'"_s);
        QTest::newRow("CR LF") << 812 << u"UPDATE CorsiProp SET DenCorso = ? WHERE Corso = '0002'"_s
                               << QVariantList{u"RIGA UNO\r\nRIGA DUE"_s} << u"Nomina_e_Crea"_s
                               << carattereNonConsentito(u"'ritorno a capo'"_s);
        QTest::newRow("lone line feed") << 812 << u"UPDATE Domande SET LegNome = ? WHERE NumDoma = 812"_s
                                        << QVariantList{u"ROSSI\nNICOLÒ"_s} << u"Nomina_e_Crea"_s
                                        << carattereNonConsentito(u"'ritorno a capo'"_s);
        QTest::newRow("NUL") << 812 << u"UPDATE Domande SET LegNome = ? WHERE NumDoma = 812"_s
                             << QVariantList{QString(u"ROSSI"_s + QChar(0) + u"NICOLÒ"_s)}
                             << u"Nomina_e_Crea"_s << carattereNonConsentito(u"'carattere di controllo'"_s);
        QTest::newRow("tab") << 812 << u"UPDATE CorsiProp SET DenCorso = ? WHERE Corso = '0002'"_s
                             << QVariantList{u"INFORMATICA\tDI BASE"_s} << u"Nomina_e_Crea"_s
                             << carattereNonConsentito(u"'carattere di controllo'"_s);
        QTest::newRow("infinite amount")
            << 812 << u"UPDATE CorsiProp SET TotaleSpesa = 9e999 WHERE Corso = '0002'"_s << QVariantList()
            << u"ScriviRec_E"_s << erroreCreazione(6, u"Overflow"_s);
        QTest::newRow("infinite parameter")
            << 812 << u"UPDATE CorsiProp SET ParametroSpesa = -9e999 WHERE Corso = '0002'"_s << QVariantList()
            << u"ScriviRec_F"_s << erroreCreazione(6, u"Overflow"_s);
        QTest::newRow("hash")
            << 812 << u"UPDATE CorsiSediInteressate SET Denominazione = ? WHERE SedeInteressata = 1"_s
            << QVariantList{u"SEDE #1"_s} << u"Nomina_e_Crea"_s << carattereNonConsentito(u"'#'"_s);
    }
    void refusals()
    {
        QFETCH(qint32, numero);
        QFETCH(QString, guasto);
        QFETCH(QVariantList, valori);
        QFETCH(QString, titolo);
        QFETCH(QString, testo);
        BancoTrasmissione banco;
        if (!guasto.isEmpty())
            banco.db.execute(guasto, valori);
        banco.test.context().domanda().NumDomaCorrente = numero;
        banco.test.prompt.expect(testo);
        QVERIFY(!CreaFile(banco.test.context(), numero));
        QCOMPARE(mostrati(banco.test.prompt), QStringList{Titolo + titolo + u'|' + testo});
        QCOMPARE(banco.test.prompt.shown().front().icon, Prompt::Icon::Critical);
        QCOMPARE(banco.test.prompt.shown().front().buttons, Prompt::Buttons::Ok);
        QVERIFY(banco.test.context().trasmissione().NomeFileTrasm.isEmpty());
        QCOMPARE(banco.fileTrasmissione(), QStringList());
    }

    void aNamePartFromTheDataThatLeavesTheFolderIsRefused_data()
    {
        QTest::addColumn<QString>("guasto");
        QTest::addColumn<QString>("parte");
        QTest::addColumn<QString>("nomeFuori");
        QTest::newRow("group") << u"UPDATE Domande SET GrupOpe = 'A/../../x' WHERE NumDoma = 812"_s
                               << u"A/../../x"_s << u"KX58TORVA_XY_812.A/../../x27"_s;
        QTest::newRow("province") << u"UPDATE Province SET SigProv = '/../../x' WHERE Prov = '001'"_s
                                  << u"/../../x"_s << u"KX58TORVA_/../../x_812.A27"_s;
        QTest::newRow("backslash") << u"UPDATE Domande SET GrupOpe = 'A\\..\\..\\y' WHERE NumDoma = 812"_s
                                   << u"A\\..\\..\\y"_s << u"KX58TORVA_XY_812.A\\..\\..\\y27"_s;
    }
    void aNamePartFromTheDataThatLeavesTheFolderIsRefused()
    {
        QFETCH(QString, guasto);
        QFETCH(QString, parte);
        QFETCH(QString, nomeFuori);
        BancoTrasmissione banco;
        banco.db.execute(guasto);
        // Where the name would lead: outside the program folder.
        const QString fuori = resolvePath(banco.test.folder(), nomeFuori);
        QVERIFY(!fuori.startsWith(banco.test.folder()));
        QFile::remove(fuori);
        const QString testo =
            u"ANOMALIA: la sigla della provincia o il gruppo dell'operatore ("_s + parte +
            u") contiene caratteri non ammessi in un nome di file. Impossibile continuare"_s;
        banco.test.prompt.expect(testo);
        const bool creato = CreaFile(banco.test.context(), 812);
        const bool scrittoFuori = QFile::exists(fuori);
        QFile::remove(fuori);
        QVERIFY(!scrittoFuori);
        QVERIFY(!creato);
        QCOMPARE(mostrati(banco.test.prompt), QStringList{Titolo + u"NomeFile|"_s + testo});
        QVERIFY(banco.test.context().trasmissione().NomeFileTrasm.isEmpty());
        QCOMPARE(banco.fileTrasmissione(), QStringList());
    }

    void aLinkAtTheNameIsReplacedNotWrittenThrough()
    {
        BancoTrasmissione banco;
        QTemporaryDir altrove;
        const QString bersaglio = altrove.filePath(u"bersaglio.txt"_s);
        {
            QFile file(bersaglio);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("intatto\r\n");
        }
        QVERIFY(QFile::link(bersaglio, banco.test.path(BancoTrasmissione::NomeFile)));
        QVERIFY(CreaFile(banco.test.context(), 812));
        QFile file(bersaglio);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("intatto\r\n"));
        const QFileInfo scritto(banco.test.path(BancoTrasmissione::NomeFile));
        QVERIFY(!scritto.isSymLink());
        QCOMPARE(banco.test.readFile(BancoTrasmissione::NomeFile), golden());
    }

    void noShortFileStandsUnderTheNameWhileItIsWritten()
    {
        BancoTrasmissione banco;
        banco.test.commandLine.args = {u"DEBUG"_s};
        const QString nome = u"DEBUG_"_s + BancoTrasmissione::NomeFile;
        banco.test.prompt.expect(ModificoNome);
        banco.test.prompt.expect(NomeAllegato + nome);
        QVERIFY(CreaFile(banco.test.context(), 812));
        const QByteArray completo = banco.test.readFile(nome);
        QVERIFY(completo.endsWith("#Z#,#EOF#\r\n"));
        // A run stopped while it writes the courses (the program killed at the "Resume" box) leaves the
        // complete file of the earlier run under the name, never the start of a new one.
        banco.db.execute(u"UPDATE CorsiProp SET ParametroSpesa = NULL WHERE Corso = '0002'"_s);
        QByteArray duranteLaScrittura;
        banco.test.prompt.expect(ModificoNome);
        banco.test.prompt.expect(u"Resume"_s, Prompt::Answer::Ok,
                                 [&] { duranteLaScrittura = banco.test.readFile(nome); });
        banco.test.prompt.expect(u"Resume"_s);
        banco.test.prompt.expect(u"Resume"_s);
        banco.test.prompt.expect(erroreCreazione(94, u"Utilizzo non valido di Null"_s));
        banco.test.prompt.expect(NomeAllegato);
        QVERIFY(!CreaFile(banco.test.context(), 812));
        QCOMPARE(duranteLaScrittura, completo);
        QVERIFY(banco.test.prompt.allShown());
    }

    void theCourseRecordsRefuseAQueryWithoutRows()
    {
        BancoTrasmissione banco;
        // A course query that gives only the yearly rows, and a course without any.
        banco.db.execute(u"DROP VIEW QryCorsiPropSpese"_s);
        banco.db.execute(
            u"CREATE VIEW QryCorsiPropSpese AS SELECT P.*, S.ProgrAnno, P.CicloFinanziario AS "
            u"\"CorsiProp.CicloFinanziario\" FROM CorsiProp P JOIN CorsiPropSpese S ON S.NumDoma = "
            u"P.NumDoma AND S.SedeInteressata = P.SedeInteressata AND S.Corso = P.Corso"_s);
        banco.db.execute(u"DELETE FROM CorsiPropSpese"_s);
        banco.test.prompt.expect(NessunCorso);
        QVERIFY(!CreaFile(banco.test.context(), 812));
        QCOMPARE(mostrati(banco.test.prompt), QStringList{Titolo + u"ScriviRec_E|"_s + NessunCorso});
        QCOMPARE(banco.fileTrasmissione(), QStringList());
    }

    void aRefusedRunRemovesTheFileOfAnEarlierRun()
    {
        BancoTrasmissione banco;
        QVERIFY(CreaFile(banco.test.context(), 812));
        banco.db.execute(u"UPDATE CorsiProp SET ParametroSpesa = NULL WHERE Corso = '0002'"_s);
        banco.test.prompt.expect(erroreCreazione(94, u"Utilizzo non valido di Null"_s));
        QVERIFY(!CreaFile(banco.test.context(), 812));
        QCOMPARE(banco.fileTrasmissione(), QStringList());
    }

    void aSecondRunAfterTheDataWereMendedSucceeds()
    {
        BancoTrasmissione banco;
        banco.db.execute(u"UPDATE CorsiSediInteressate SET TipoCompo = 'UL' WHERE SedeInteressata = 1"_s);
        banco.test.prompt.expect(
            u"ANOMALIA: Sede Legale dell'Operatore Presentatore non trovata. Impossibile continuare"_s);
        QVERIFY(!CreaFile(banco.test.context(), 812));
        banco.db.execute(u"UPDATE CorsiSediInteressate SET TipoCompo = 'SL' WHERE SedeInteressata = 1"_s);
        QVERIFY(CreaFile(banco.test.context(), 812));
        QCOMPARE(banco.test.readFile(BancoTrasmissione::NomeFile), golden());
        QVERIFY(banco.test.prompt.allShown());
    }

    void aFileThatCannotBeOpenedShowsTheErrorOfNominaECrea()
    {
        BancoTrasmissione banco;
        // A folder in the file's place: it cannot be opened for writing, and it is not the writer's to
        // remove.
        QVERIFY(QDir(banco.test.folder()).mkdir(BancoTrasmissione::NomeFile));
        const QString testo = erroreCreazione(75, u"Errore di accesso al percorso/file"_s);
        banco.test.prompt.expect(testo);
        QVERIFY(!CreaFile(banco.test.context(), 812));
        QCOMPARE(mostrati(banco.test.prompt), QStringList{Titolo + u"Nomina_e_Crea|"_s + testo});
        QVERIFY(QFileInfo(banco.test.path(BancoTrasmissione::NomeFile)).isDir());
        QVERIFY(banco.test.context().trasmissione().NomeFileTrasm.isEmpty());
    }

    void debugModeRunsAFailingCourseStepAgainThreeTimes_data()
    {
        QTest::addColumn<QString>("guasto");
        QTest::addColumn<QString>("routine");
        QTest::addColumn<QString>("errore");
        QTest::newRow("record E")
            << u"UPDATE CorsiProp SET IdAttivita_CorsoRifB111 = 9999 WHERE IdAttivita_CorsoRifB111 = 5001"_s
            << u"ScriviRec_E"_s
            << erroreCreazione(3021,
                               u"Il valore di BOF o EOF è True oppure il record corrente è stato eliminato. "
                               u"L'operazione richiesta richiede un record corrente."_s);
        QTest::newRow("record F") << u"UPDATE CorsiProp SET ParametroSpesa = NULL WHERE Corso = '0002'"_s
                                  << u"ScriviRec_F"_s
                                  << erroreCreazione(94, u"Utilizzo non valido di Null"_s);
    }
    void debugModeRunsAFailingCourseStepAgainThreeTimes()
    {
        QFETCH(QString, guasto);
        QFETCH(QString, routine);
        QFETCH(QString, errore);
        BancoTrasmissione banco;
        banco.test.commandLine.args = {u"DEBUG"_s};
        banco.db.execute(guasto);
        const QStringList boxes = {
            u"|"_s + ModificoNome, u"|Resume"_s, u"|Resume"_s, u"|Resume"_s, Titolo + routine + u'|' + errore,
            u"|"_s + NomeAllegato};
        for (const QString &box : boxes)
            banco.test.prompt.expect(box.section(u'|', 1));
        QVERIFY(!CreaFile(banco.test.context(), 812));
        QCOMPARE(mostrati(banco.test.prompt), boxes);
        QCOMPARE(banco.test.prompt.shown().at(1).icon, Prompt::Icon::None);
        QCOMPARE(banco.fileTrasmissione(), QStringList());
    }

    void theSeatRecordsShowTheErrorWithoutRepeatingInDebugMode()
    {
        BancoTrasmissione banco;
        banco.test.commandLine.args = {u"DEBUG"_s};
        banco.db.execute(u"UPDATE Domande SET AttEcono = 'NON NUMERICO' WHERE NumDoma = 812"_s);
        const QString errore = erroreCreazione(13, u"Tipo non corrispondente"_s);
        banco.test.prompt.expect(ModificoNome);
        banco.test.prompt.expect(errore);
        banco.test.prompt.expect(NomeAllegato);
        QVERIFY(!CreaFile(banco.test.context(), 812));
        QCOMPARE(banco.test.prompt.shown().at(1).title, Titolo + u"ScriviRec_B"_s);
    }

    void writesMoreThan32767RecordsOfOneKind()
    {
        BancoTrasmissione banco;
        banco.db.execute(u"WITH RECURSIVE n(i) AS (SELECT 3 UNION ALL SELECT i + 1 FROM n WHERE i < 32800) "
                         u"INSERT INTO CorsiPropSpese (NumDoma, SedeInteressata, Corso, ProgrAnno) "
                         u"SELECT 812, 1, '0001', i FROM n"_s);
        QVERIFY(CreaFile(banco.test.context(), 812));
        const QList<QByteArray> righe = banco.righe();
        const auto recordE = std::count_if(righe.begin(), righe.end(),
                                           [](const QByteArray &riga) { return riga.startsWith("#E#"); });
        QCOMPARE(recordE, 32800 + 1 + 3);
        QCOMPARE(righe.last(), "#Z#,#EOF#");
    }
};

QTEST_GUILESS_MAIN(TestMdCreaFileTrasm)
#include "tst_mdCreaFileTrasm.moc"
