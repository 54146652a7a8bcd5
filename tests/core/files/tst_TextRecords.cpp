#include "TestContext.h"
#include "core/files/ProgramFolder.h"
#include "core/files/TextRecords.h"
#include "core/services/RoutineError.h"
#include "core/state/InstallationState.h"
#include "core/text/Cp1252.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

using FileMap = QMap<QString, QByteArray>;

namespace {

QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(KX_TEST_DATA "/files/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw UnexpectedCall(u"missing fixture "_s + name);
    return file.readAll();
}

/** "#f0#,#f1#,..." with the given fields. */
QString record(const QStringList &fields)
{
    return u"#"_s + fields.join(u"#,#"_s) + u"#"_s;
}

QStringList numbered(int count)
{
    QStringList fields;
    for (int i = 0; i < count; ++i)
        fields.append(u"c"_s + QString::number(i));
    return fields;
}

const QByteArray IniBytes = "[BaseDati]\r\nDatabase=KX58TORVA.mdb\r\n";
const QByteArray DatabaseBytes("SQLite format 3\0", 16);

/** Every file of the program folder but the bundle and what the test put there, with its bytes. */
FileMap writtenFiles(const TestContext &test)
{
    FileMap files;
    const QStringList names = QDir(test.folder()).entryList(QDir::Files | QDir::Hidden);
    for (const QString &name : names) {
        if (name != u"$tmpDenOp.tx1" && name != u"KX58TORVA.INI" && name != u"KX58TORVA.mdb")
            files.insert(name, test.readFile(name));
    }
    return files;
}

} // namespace

class TestTextRecords : public QObject
{
    Q_OBJECT

private slots:
    void ScomponiRecord_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<int>("error");

        QTest::newRow("four fields, one empty")
            << u"#A#,#123#,##,#XYZ#"_s << QStringList{u"A"_s, u"123"_s, {}, u"XYZ"_s} << 0;
        QTest::newRow("empty line") << QString() << QStringList() << 0;
        QTest::newRow("one #") << u"#"_s << QStringList() << 0;
        QTest::newRow("end of a transmission file") << u"#Z#,#EOF#"_s << QStringList{u"Z"_s, u"EOF"_s} << 0;
        QTest::newRow("separator not looked at") << u"#A#;#B#"_s << QStringList{u"A"_s, u"B"_s} << 0;
        QTest::newRow("blank after the comma loses the field")
            << u"#A#, #B#"_s << QStringList{u"A"_s, {}} << 0;
        QTest::newRow("first character not looked at") << u"xA#,#B#"_s << QStringList{u"A"_s, u"B"_s} << 0;
        QTest::newRow("accents and blanks kept")
            << u"# Forlì #,#Città#"_s << QStringList{u" Forlì "_s, u"Città"_s} << 0;
        QTest::newRow("51 fields fill every slot") << record(numbered(51)) << numbered(51) << 0;
        QTest::newRow("empty fields past slot 50 skipped")
            << record(numbered(51) + QStringList{{}, {}}) << numbered(51) << 0;
        QTest::newRow("52nd field") << record(numbered(52)) << numbered(51) << ErrorCode::SubscriptOutOfRange;
        QTest::newRow("last field not closed")
            << u"#A#,#B"_s << QStringList{u"A"_s, u"B"_s} << ErrorCode::Overflow;

        // Positions were 16-bit: the step past the last "#" of a longer line overflowed.
        const QString longest = record({QString(32762, u'x')});
        QTest::newRow("32,764 characters") << longest << QStringList{QString(32762, u'x')} << 0;
        QTest::newRow("32,765 characters, after reading")
            << record({QString(32763, u'x')}) << QStringList{QString(32763, u'x')} << ErrorCode::Overflow;
        QTest::newRow("32,768 characters, before reading")
            << record({QString(32766, u'x')}) << QStringList() << ErrorCode::Overflow;
    }

    void ScomponiRecord()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        QFETCH(int, error);

        CampiRecord campi;
        campi.fill(u"resto del record precedente"_s);
        QCOMPARE(errorOf([&] { ::ScomponiRecord(campi, line); }).number(), error);
        for (std::size_t i = 0; i < campi.size(); ++i)
            QCOMPARE(campi[i], i < std::size_t(fields.size()) ? fields[qsizetype(i)] : QString());
    }

    void SeparaFileScaricato_data()
    {
        QTest::addColumn<QByteArray>("bundle");
        QTest::addColumn<FileMap>("expected");
        QTest::addColumn<int>("stato");
        QTest::addColumn<QString>("nome");

        const int completo = int(EsitoPacchetto::Stato::Completo);
        const int rifiutato = int(EsitoPacchetto::Stato::Rifiutato);

        QTest::newRow("two files")
            << QByteArray("oper.tx1\r\n#A#,#1#\r\n#A#,#2#\r\nEOF\r\ncompo.tx1\r\n#A#,#1#,#1#\r\n\r\n")
            << FileMap{{u"oper.tx1"_s, "#A#,#1#\r\n#A#,#2#\r\n"}, {u"compo.tx1"_s, "#A#,#1#,#1#\r\n"}}
            << completo << QString();
        QTest::newRow("names in capitals, as the download writes them")
            << QByteArray("OPER.TX1\r\n#A#\r\nEOF\r\n") << FileMap{{u"OPER.TX1"_s, "#A#\r\n"}} << completo
            << QString();
        QTest::newRow("EOF with blanks ends the file")
            << QByteArray("a.tx1\r\n#1#\r\n  EOF \r\n#2#\r\n") << FileMap{{u"a.tx1"_s, "#1#\r\n"}} << completo
            << QString();
        // A name, but not one a download may bring.
        QTest::newRow("lower-case eof is a name")
            << QByteArray("a.tx1\r\n#1#\r\neof\r\n#2#\r\n") << FileMap() << rifiutato << u"eof"_s;
        QTest::newRow("a record with a leading blank is a name")
            << QByteArray("a.tx1\r\n #1#\r\n#2#\r\n") << FileMap() << rifiutato << u" #1#"_s;
        QTest::newRow("decode tables and flag files, any case")
            << QByteArray("Asse.TXT\r\n#1#\r\nEOF\r\ninstalla.Tab\r\nEOF\r\n")
            << FileMap{{u"Asse.TXT"_s, "#1#\r\n"}, {u"installa.Tab"_s, ""}} << completo << QString();
        QTest::newRow("records before any name dropped")
            << QByteArray("#0#\r\na.tx1\r\n#1#\r\n") << FileMap{{u"a.tx1"_s, "#1#\r\n"}} << completo
            << QString();
        QTest::newRow("a name while a file is open starts the next file")
            << QByteArray("a.tx1\r\n#1#\r\nb.tx1\r\n#2#\r\nEOF\r\n")
            << FileMap{{u"a.tx1"_s, "#1#\r\n"}, {u"b.tx1"_s, "#2#\r\n"}} << completo << QString();
        QTest::newRow("bytes of the code page and lone LF kept")
            << QByteArray("a.tx1\r\n#Forl\xec#,#x\ny#\r\n") << FileMap{{u"a.tx1"_s, "#Forl\xec#,#x\ny#\r\n"}}
            << completo << QString();
        QTest::newRow("trailing blanks and dots dropped from a name, as Windows did")
            << QByteArray("a.tx1 . \r\n#1#\r\n") << FileMap{{u"a.tx1"_s, "#1#\r\n"}} << completo << QString();
        QTest::newRow("a name given twice keeps the last")
            << QByteArray("a.tx1\r\n#1#\r\nEOF\r\nA.TX1\r\n#2#\r\nEOF\r\n")
            << FileMap{{u"a.tx1"_s, "#2#\r\n"}} << completo << QString();

        QTest::newRow("hostile names")
            << fixture(u"bundle-hostile-names.tx1"_s) << FileMap() << rifiutato << u"..\\..\\fuori.tx1"_s;
        QTest::newRow("html error page") << fixture(u"bundle-html-page.tx1"_s) << FileMap() << rifiutato
                                         << u"<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML 2.0//EN\">"_s;
        const QString refused[] = {
            u"../fuori.tx1"_s, u"/tmp/fuori.tx1"_s, u"CAR\\oper.car"_s, u".."_s, u"..."_s, u"c:oper.tx1"_s,
            u"oper\ttx1"_s, u"kx58torva.ini"_s, u"KX58TORVA.MDB"_s, u"KX58TORVA.mdb_BAK"_s,
            u"kx58torva.mdb.lck"_s, u"Corsi.mdb-journal"_s,
            // Only master-data, decode-table and flag files: not the program or anything beside it.
            u"KX58TORVA"_s, u"$tmpDenOp.tx1"_s, u"$TMPDENOP.TX1"_s, u"CA_ROOT.DER"_s, u"_JW63PELO-01.dat"_s,
            u"Aiuto.htm"_s, u"oper.tx1.sh"_s, u"oper.tx2"_s};
        for (const QString &name : refused) {
            QTest::addRow("refused %s", qPrintable(name))
                << (Cp1252::encode(name) + "\r\n#1#\r\nEOF\r\n") << FileMap() << rifiutato << name;
        }
    }

    void SeparaFileScaricato()
    {
        QFETCH(QByteArray, bundle);
        QFETCH(FileMap, expected);
        QFETCH(int, stato);
        QFETCH(QString, nome);

        TestContext test;
        test.context().installazione().PercorsoDB = test.path(u"Corsi.mdb"_s);
        test.writeFile(u"KX58TORVA.INI"_s, IniBytes);
        test.writeFile(u"KX58TORVA.mdb"_s, DatabaseBytes);
        test.writeFile(u"$tmpDenOp.tx1"_s, bundle);

        const EsitoPacchetto esito = ::SeparaFileScaricato(
            test.context().programFolder(), test.context().installazione().PercorsoDB, u"$tmpDenOp.tx1"_s);

        QCOMPARE(int(esito.stato), stato);
        QCOMPARE(esito.nome, nome);
        QCOMPARE(esito.descrizione.isEmpty(), esito.riuscito());
        QVERIFY(esito.descrizione.contains(nome));
        QCOMPARE(writtenFiles(test), expected);
        // The outcome names the files written, so a caller can judge them or take them back.
        const auto lowered = [](QStringList names) {
            for (QString &name : names)
                name = name.toLower();
            names.sort();
            return names;
        };
        QCOMPARE(lowered(esito.files), lowered(expected.keys()));
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s), IniBytes);
        QCOMPARE(test.readFile(u"KX58TORVA.mdb"_s), DatabaseBytes);
        QVERIFY(!QFileInfo::exists(test.folder() + u"/../fuori.tx1"_s));
        QVERIFY(!QFileInfo::exists(test.folder() + u"/../../fuori.tx1"_s));
        QVERIFY(!QFileInfo::exists(u"/tmp/fuori.tx1"_s));
    }

    void SeparaFileScaricatoReportsAFileItCannotWrite()
    {
        TestContext test;
        QVERIFY(QDir(test.folder()).mkdir(u"compo.tx1"_s));
        test.writeFile(u"$tmpDenOp.tx1"_s, "oper.tx1\r\n#A#\r\nEOF\r\ncompo.tx1\r\n#A#,#1#\r\nEOF\r\n");

        const EsitoPacchetto esito = ::SeparaFileScaricato(
            test.context().programFolder(), test.context().installazione().PercorsoDB, u"$tmpDenOp.tx1"_s);

        QCOMPARE(esito.stato, EsitoPacchetto::Stato::NonScritto);
        QCOMPARE(esito.nome, u"compo.tx1"_s);
        QCOMPARE(esito.descrizione,
                 u"Impossibile scrivere il file compo.tx1: Errore di accesso al percorso/file"_s);
        // Nothing half loaded: the file before the failing one was not put in place either.
        QCOMPARE(writtenFiles(test), FileMap());
    }

    void SeparaFileScaricatoTakesBackWhatItPutInPlace_data()
    {
        QTest::addColumn<QString>("folderInTheWay");
        QTest::addColumn<QString>("nome");
        QTest::newRow("a name too long for the file system") << QString() << QString(300, u'x') + u".tx1"_s;
        QTest::newRow("a folder in the way") << u"compo.tx1"_s << u"compo.tx1"_s;
    }

    void SeparaFileScaricatoTakesBackWhatItPutInPlace()
    {
        QFETCH(QString, folderInTheWay);
        QFETCH(QString, nome);
        TestContext test;
        test.writeFile(u"oper.tx1"_s, "#A#,#vecchio#\r\n");
        test.writeFile(u"$tmpDenOp.tx1"_s, fixture(u"bundle-name-too-long.tx1"_s));
        if (!folderInTheWay.isEmpty())
            QVERIFY(QDir(test.folder()).mkdir(folderInTheWay));

        const EsitoPacchetto esito = ::SeparaFileScaricato(
            test.context().programFolder(), test.context().installazione().PercorsoDB, u"$tmpDenOp.tx1"_s);

        QCOMPARE(esito.stato, EsitoPacchetto::Stato::NonScritto);
        QCOMPARE(esito.nome, nome);
        QCOMPARE(writtenFiles(test), (FileMap{{u"oper.tx1"_s, "#A#,#vecchio#\r\n"}}));
    }

    void SeparaFileScaricatoKeepsADatabaseNamedLikeADownload()
    {
        TestContext test;
        test.writeFile(u"Corsi.txt"_s, DatabaseBytes);
        test.writeFile(u"$tmpDenOp.tx1"_s, "CORSI.TXT\r\n#1#\r\nEOF\r\n");

        const EsitoPacchetto esito = ::SeparaFileScaricato(test.context().programFolder(),
                                                           test.path(u"Corsi.txt"_s), u"$tmpDenOp.tx1"_s);

        QCOMPARE(esito.stato, EsitoPacchetto::Stato::Rifiutato);
        QCOMPARE(esito.descrizione, u"Il pacchetto scaricato non può sostituire la base dati: CORSI.TXT"_s);
        QCOMPARE(test.readFile(u"Corsi.txt"_s), DatabaseBytes);
    }

    void SeparaFileScaricatoReportsAMissingBundle()
    {
        TestContext test;
        const EsitoPacchetto esito = ::SeparaFileScaricato(
            test.context().programFolder(), test.context().installazione().PercorsoDB, u"$tmpDenOp.tx1"_s);
        QCOMPARE(esito.stato, EsitoPacchetto::Stato::NonScritto);
        QCOMPARE(esito.nome, u"$tmpDenOp.tx1"_s);
    }

    void SeparaFileScaricatoReplacesAFileWhateverTheCaseOfItsName()
    {
        TestContext test;
        test.writeFile(u"oper.tx1"_s, "#vecchio#\r\n");
        test.writeFile(u"$tmpDenOp.tx1"_s, "OPER.TX1\r\n#nuovo#\r\nEOF\r\n");

        QVERIFY(::SeparaFileScaricato(test.context().programFolder(),
                                      test.context().installazione().PercorsoDB, u"$tmpDenOp.tx1"_s)
                    .riuscito());
        QCOMPARE(writtenFiles(test), (FileMap{{u"oper.tx1"_s, "#nuovo#\r\n"}}));
    }

    void lineCounts_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("vuoto");

        QTest::newRow("zero bytes") << QByteArray() << true;
        QTest::newRow("one empty line") << QByteArray("\r\n") << false;
        QTest::newRow("one unended line") << QByteArray("x") << false;
        QTest::newRow("a lone CR") << QByteArray("\r") << false;
        // The old 16-bit counter overflowed here; a long file is simply not empty.
        QTest::newRow("40,000 lines") << QByteArray("#A#\r\n").repeated(40000) << false;
    }

    void lineCounts()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, vuoto);

        TestContext test;
        test.writeFile(u"Sedi.TXT"_s, bytes);
        const ProgramFolder &folder = test.context().programFolder();
        QCOMPARE(FileVuoto(folder, test.path(u"sedi.txt"_s)), vuoto);
        QCOMPARE(FileConRighe(folder, test.path(u"SEDI.TXT"_s)), !vuoto);
    }

    void lineCountsOfAMissingFile()
    {
        TestContext test;
        const ProgramFolder &folder = test.context().programFolder();
        QVERIFY(FileVuoto(folder, test.path(u"oper.tx1"_s)));
        QVERIFY(QDir(test.folder()).mkdir(u"cartella"_s));
        QVERIFY(FileVuoto(folder, test.path(u"cartella"_s)));
        QCOMPARE(errorOf([&] { FileConRighe(folder, test.path(u"oper.tx1"_s)); }).number(),
                 ErrorCode::FileNotFound);
    }

    void LeggiFileTesto_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("body");

        QTest::newRow("two lines") << QByteArray("#A#\r\n#Z#,#EOF#\r\n")
                                   << u"KX58TORVA_FO_123.A45\n#A#\n#Z#,#EOF#\n"_s;
        QTest::newRow("empty file") << QByteArray() << u"KX58TORVA_FO_123.A45\n"_s;
        QTest::newRow("unended last line, lone CR")
            << QByteArray("#Forl\xec#\r#B#") << u"KX58TORVA_FO_123.A45\n#Forlì#\n#B#\n"_s;
    }

    void LeggiFileTesto()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, body);

        TestContext test;
        test.writeFile(u"KX58TORVA_FO_123.A45"_s, bytes);
        QCOMPARE(::LeggiFileTesto(test.context().programFolder(), u"KX58TORVA_FO_123.A45"_s), body);
    }

    void LeggiFileTestoOfAMissingFile()
    {
        TestContext test;
        QCOMPARE(errorOf([&] {
                     ::LeggiFileTesto(test.context().programFolder(), u"KX58TORVA_FO_123.A45"_s);
                 }).number(),
                 ErrorCode::FileNotFound);
    }
};

QTEST_GUILESS_MAIN(TestTextRecords)
#include "tst_TextRecords.moc"
