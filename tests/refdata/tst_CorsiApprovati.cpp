#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/data/DataEnvironment.h"
#include "core/state/InstallationState.h"
#include "refdata/CorsiApprovati.h"

#include <QFileInfo>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString ErroreCaricamento = u"Aggiornamento Base Dati - Acquisizione Corsi Finanziati"_s;
const QString Fallimento =
    u"L' aggiornamento della base dati non è andato a buon fine, verrà ripristinata la "
    u"situazione iniziale. Contattare il servizio di assistenza T.U.Z."_s;
const QString Ripristino = u"Ripristino della base dati riuscito"_s;
const QString AvvisoFileVuoto =
    u"ATTENZIONE: il file CorsiApprovati.tx1 risulta vuoto. Impossibile continuare "
    u"l'operazione di aggiornamento."_s;

QString erroreRiga(const QString &numero, const QString &descrizione)
{
    return u"Errore "_s + numero + u" --> "_s + descrizione +
           u"\n\rdurante il caricamento dei CORSI FINANZIATI SULLA DIRETTIVA"_s;
}

/** A course with the three required fields and, for the others, what the test sets. */
QStringList corso(int idAttivita, QMap<int, QString> altri = {})
{
    QStringList fields(43);
    fields[0] = QString::number(idAttivita);
    fields[2] = u"A"_s;
    fields[3] = u"12"_s;
    fields[9] = u"1"_s;
    for (auto it = altri.cbegin(); it != altri.cend(); ++it)
        fields[it.key()] = it.value();
    return fields;
}

QByteArray riga(const QStringList &fields)
{
    return QString(u'#' + fields.join(u"#,#") + u"#\r\n").toLatin1();
}

CampiRecord campi(const QStringList &fields)
{
    CampiRecord result;
    for (qsizetype i = 0; i < fields.size(); ++i)
        result[std::size_t(i)] = fields[i];
    return result;
}

/** A program folder with a database holding two approved courses of other imports, the connection open. */
struct Banco
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};

    Banco()
    {
        db.insert(u"CorsiApprovati"_s,
                  {u"IdAttivita"_s, u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"DenCorso"_s,
                   u"CodDiret"_s, u"CicloFin"_s},
                  {{500, u"A"_s, 12, 1, u"CORSO VECCHIO"_s, 3, u"2007-2013"_s},
                   {900, u"B"_s, 7, 1, u"ALTRO OPERATORE"_s, 4, u"2014-2020"_s}});
        test.context().installazione().PercorsoDB = db.path();
        test.context().DE().CorsiDB().open(db.path(), Connection::Mode::Shared);
    }

    QList<QVariantList> righe()
    {
        return db.query(u"SELECT * FROM CorsiApprovati ORDER BY IdAttivita"_s).rows;
    }
    bool esiste(const QString &name) const { return QFileInfo::exists(test.path(name)); }
};

/** A field's rule in the words of the record layout. */
QString descrizioneRegola(const CampoCorsoApprovato &campo)
{
    switch (campo.regola) {
    case RegolaCampo::Intero32Richiesto:
        return u"32-bit integer, required"_s;
    case RegolaCampo::Intero16Richiesto:
        return u"16-bit integer, required"_s;
    case RegolaCampo::Intero32:
        return u"32-bit integer, Null if empty"_s;
    case RegolaCampo::Intero16:
        return u"16-bit integer, Null if empty"_s;
    case RegolaCampo::Byte:
        return u"8-bit unsigned"_s;
    case RegolaCampo::Testo:
        return u"Text "_s + QString::number(campo.larghezza);
    case RegolaCampo::TestoComE:
        return u"Text as is"_s;
    }
    return {};
}

} // namespace

class tst_CorsiApprovati : public QObject
{
    Q_OBJECT

    /** The columns of CorsiApprovati in the schema, in their order. */
    QStringList m_colonneTabella;

private slots:
    void initTestCase()
    {
        Banco banco;
        for (const ColumnInfo &colonna : banco.db.query(u"SELECT * FROM CorsiApprovati LIMIT 0"_s).columns)
            m_colonneTabella.append(colonna.name);
    }

    void tracciato_data()
    {
        QTest::addColumn<int>("campo");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QVariant>("atteso");
        QTest::addColumn<int>("errore");

        const QVariant null;
        QTest::newRow("optional number empty is Null") << 1 << u""_s << null << 0;
        QTest::newRow("optional number") << 1 << u"123"_s << QVariant(123) << 0;
        QTest::newRow("byte 255") << 6 << u"255"_s << QVariant(255) << 0;
        QTest::newRow("byte 256 overflows") << 6 << u"256"_s << null << 6;
        QTest::newRow("byte below 0 overflows") << 7 << u"-1"_s << null << 6;
        QTest::newRow("16-bit 32767") << 10 << u"32767"_s << QVariant(32767) << 0;
        QTest::newRow("16-bit 32768 overflows") << 10 << u"32768"_s << null << 6;
        QTest::newRow("16-bit -32768") << 17 << u"-32768"_s << QVariant(-32768) << 0;
        QTest::newRow("32-bit 2147483647") << 26 << u"2147483647"_s << QVariant(2147483647) << 0;
        QTest::newRow("32-bit 2147483648 overflows") << 0 << u"2147483648"_s << null << 6;
        QTest::newRow("plus sign") << 28 << u"+40"_s << QVariant(40) << 0;
        QTest::newRow("many digits overflow") << 1 << u"99999999999999999999999"_s << null << 6;
        QTest::newRow("letters are not a number") << 1 << u"12a"_s << null << 13;
        QTest::newRow("a decimal is not an integer") << 27 << u"1,5"_s << null << 13;
        QTest::newRow("blank is not a number") << 30 << u" "_s << null << 13;
        QTest::newRow("a sign alone") << 32 << u"-"_s << null << 13;
        QTest::newRow("empty field 0") << 0 << u""_s << null << 13;
        QTest::newRow("empty field 3") << 3 << u""_s << null << 13;
        QTest::newRow("empty field 9") << 9 << u""_s << null << 13;
        QTest::newRow("field 9 is 16-bit") << 9 << u"40000"_s << null << 6;
        QTest::newRow("text cut then trimmed") << 4 << u"  2019-00001234"_s << QVariant(u"2019-0000"_s) << 0;
        QTest::newRow("field 12 cut at 200")
            << 12 << (u' ' + QString(198, u'x') + u"yz") << QVariant(QString(198, u'x') + u'y') << 0;
        QTest::newRow("empty text stays empty") << 13 << u""_s << QVariant(u""_s) << 0;
        QTest::newRow("field 14 as it is")
            << 14 << u"  obiettivo lungo  "_s << QVariant(u"  obiettivo lungo  "_s) << 0;
        QTest::newRow("field 42 as it is") << 42 << u" 2014-2020 "_s << QVariant(u" 2014-2020 "_s) << 0;
    }
    void tracciato()
    {
        QFETCH(int, campo);
        QFETCH(QString, testo);
        QFETCH(QVariant, atteso);
        QFETCH(int, errore);
        QStringList fields = corso(7);
        fields[campo] = testo;
        QVariantList valori;
        const RoutineError error = errorOf([&] { valori = valoriCorsoApprovato(campi(fields)); });
        QCOMPARE(error.number(), errore);
        if (errore != 0)
            return;
        QCOMPARE(valori.size(), 43);
        const QVariant &valore = valori[campo];
        QCOMPARE(valore.isNull(), atteso.isNull());
        if (atteso.typeId() == QMetaType::QString)
            QCOMPARE(valore.toString(), atteso.toString());
        else if (!atteso.isNull())
            QCOMPARE(valore.toLongLong(), atteso.toLongLong());
    }

    void recordCorto()
    {
        CampiRecord fields;
        fields[0] = u"7"_s;
        fields[3] = u"12"_s;
        fields[9] = u"1"_s;
        const QVariantList valori = valoriCorsoApprovato(fields);
        const QList<CampoCorsoApprovato> &tracciato = tracciatoCorsiApprovati();
        for (qsizetype i = 0; i < tracciato.size(); ++i) {
            if (i == 0 || i == 3 || i == 9)
                continue;
            const bool testo =
                tracciato[i].regola == RegolaCampo::Testo || tracciato[i].regola == RegolaCampo::TestoComE;
            QVERIFY2(testo ? valori[i].toString().isEmpty() && !valori[i].isNull() : valori[i].isNull(),
                     qPrintable(tracciato[i].colonna));
        }
    }

    void theRecordHasTheFortyThreeFieldsInTheTablesColumnOrder_data()
    {
        QTest::addColumn<int>("campo");
        QTest::addColumn<QString>("colonna");
        QTest::addColumn<QString>("regola");
        QTest::newRow("0") << 0 << u"IdAttivita"_s << u"32-bit integer, required"_s;
        QTest::newRow("1") << 1 << u"IdCorsoPrincipale"_s << u"32-bit integer, Null if empty"_s;
        QTest::newRow("2") << 2 << u"GrupOpe"_s << u"Text 1"_s;
        QTest::newRow("3") << 3 << u"Operatore"_s << u"32-bit integer, required"_s;
        QTest::newRow("4") << 4 << u"ProgrAttivita"_s << u"Text 11"_s;
        QTest::newRow("5") << 5 << u"AnnoInizio"_s << u"Text 4"_s;
        QTest::newRow("6") << 6 << u"ProgrAccorp"_s << u"8-bit unsigned"_s;
        QTest::newRow("7") << 7 << u"CodDiret"_s << u"8-bit unsigned"_s;
        QTest::newRow("8") << 8 << u"AnnGest"_s << u"Text 4"_s;
        QTest::newRow("9") << 9 << u"Componente"_s << u"16-bit integer, required"_s;
        QTest::newRow("10") << 10 << u"SedeOcca"_s << u"16-bit integer, Null if empty"_s;
        QTest::newRow("11") << 11 << u"CodQualif"_s << u"Text 6"_s;
        QTest::newRow("12") << 12 << u"DenCorso"_s << u"Text 200"_s;
        QTest::newRow("13") << 13 << u"CodObiettiv_Rif"_s << u"Text 2"_s;
        QTest::newRow("14") << 14 << u"CodObiet"_s << u"Text as is"_s;
        QTest::newRow("15") << 15 << u"CodAsse"_s << u"Text 2"_s;
        QTest::newRow("16") << 16 << u"CodSubAsse"_s << u"Text 2"_s;
        QTest::newRow("17") << 17 << u"LineaIntervento"_s << u"16-bit integer, Null if empty"_s;
        QTest::newRow("18") << 18 << u"CodScol"_s << u"8-bit unsigned"_s;
        QTest::newRow("19") << 19 << u"CodSetto"_s << u"8-bit unsigned"_s;
        QTest::newRow("20") << 20 << u"AnnoSetto"_s << u"Text 4"_s;
        QTest::newRow("21") << 21 << u"CodComp"_s << u"8-bit unsigned"_s;
        QTest::newRow("22") << 22 << u"AnnoComp"_s << u"Text 4"_s;
        QTest::newRow("23") << 23 << u"CodPerc"_s << u"8-bit unsigned"_s;
        QTest::newRow("24") << 24 << u"CodOra"_s << u"8-bit unsigned"_s;
        QTest::newRow("25") << 25 << u"CodCert"_s << u"8-bit unsigned"_s;
        QTest::newRow("26") << 26 << u"DurataAnnOre"_s << u"32-bit integer, Null if empty"_s;
        QTest::newRow("27") << 27 << u"NumAll"_s << u"16-bit integer, Null if empty"_s;
        QTest::newRow("28") << 28 << u"TotIter"_s << u"32-bit integer, Null if empty"_s;
        QTest::newRow("29") << 29 << u"Durata"_s << u"16-bit integer, Null if empty"_s;
        QTest::newRow("30") << 30 << u"Stato"_s << u"16-bit integer, Null if empty"_s;
        QTest::newRow("31") << 31 << u"TipoConv"_s << u"Text 2"_s;
        QTest::newRow("32") << 32 << u"NumConv"_s << u"16-bit integer, Null if empty"_s;
        QTest::newRow("33") << 33 << u"Conv_PT_IpAddress"_s << u"Text 20"_s;
        QTest::newRow("34") << 34 << u"Conv_NumPratica"_s << u"32-bit integer, Null if empty"_s;
        QTest::newRow("35") << 35 << u"NumPratica"_s << u"Text 20"_s;
        QTest::newRow("36") << 36 << u"ProvviProgAtt"_s << u"Text 4"_s;
        QTest::newRow("37") << 37 << u"ProvviProgAcc"_s << u"Text 2"_s;
        QTest::newRow("38") << 38 << u"Dom_NumPratica"_s << u"Text 50"_s;
        QTest::newRow("39") << 39 << u"Dom_ChiaveUtente"_s << u"Text 50"_s;
        QTest::newRow("40") << 40 << u"StatoAvanzamento"_s << u"8-bit unsigned"_s;
        QTest::newRow("41") << 41 << u"PROV"_s << u"Text 3"_s;
        QTest::newRow("42") << 42 << u"CicloFin"_s << u"Text as is"_s;
    }
    void theRecordHasTheFortyThreeFieldsInTheTablesColumnOrder()
    {
        QFETCH(int, campo);
        QFETCH(QString, colonna);
        QFETCH(QString, regola);

        const QList<CampoCorsoApprovato> &tracciato = tracciatoCorsiApprovati();
        QCOMPARE(tracciato.size(), 43);
        const CampoCorsoApprovato &letto = tracciato.at(campo);
        QCOMPARE(letto.colonna, colonna);
        QCOMPARE(descrizioneRegola(letto), regola);

        // The file's field order is the table's column order.
        QCOMPARE(m_colonneTabella.size(), 43);
        QCOMPARE(m_colonneTabella.at(campo), colonna);
    }

    void inserisceESovrascrive()
    {
        Banco banco;
        banco.test.writeFile(NomeFileCorsiApprovati,
                             riga(corso(500, {{12, u"CORSO NUOVO"_s}, {42, u" 2021-2027"_s}})) +
                                 riga(corso(501, {{7, u"2"_s}})));
        QVERIFY(ImportaCorsiApprovati(banco.test.context()));
        QVERIFY(banco.test.prompt.shown().isEmpty());

        const QList<QVariantList> righe = banco.righe();
        QCOMPARE(righe.size(), 3);
        // Every column of 500 takes the file's values: CodDiret, stored before, becomes Null.
        QCOMPARE(righe[0][0].toInt(), 500);
        QCOMPARE(righe[0][12].toString(), u"CORSO NUOVO"_s);
        QVERIFY(righe[0][7].isNull());
        QCOMPARE(righe[0][42].toString(), u" 2021-2027"_s);
        QCOMPARE(righe[1][0].toInt(), 501);
        QCOMPARE(righe[1][7].toInt(), 2);
        // Courses not in the file stay as they were.
        QCOMPARE(righe[2][0].toInt(), 900);
        QCOMPARE(righe[2][7].toInt(), 4);
        QCOMPARE(righe[2][12].toString(), u"ALTRO OPERATORE"_s);

        QVERIFY(!banco.esiste(NomeFileCorsiApprovati));
        QVERIFY(banco.esiste(u"CAR/CorsiApprovati.car"_s));
        QVERIFY(!QFileInfo::exists(banco.db.path() + u"_BAK"_s));
    }

    void secondaImportazioneUguale()
    {
        Banco banco;
        const QByteArray file = riga(corso(600, {{12, u"PRIMO"_s}})) + riga(corso(601));
        banco.test.writeFile(NomeFileCorsiApprovati, file);
        QVERIFY(ImportaCorsiApprovati(banco.test.context()));
        const QList<QVariantList> dopoLaPrima = banco.righe();
        banco.test.writeFile(NomeFileCorsiApprovati, file);
        QVERIFY(ImportaCorsiApprovati(banco.test.context()));
        QCOMPARE(banco.righe(), dopoLaPrima);
        QCOMPARE(banco.test.readFile(u"CAR/CorsiApprovati.car"_s), file);
    }

    void fileVuoto()
    {
        Banco banco;
        const QList<QVariantList> prima = banco.righe();
        banco.test.writeFile(NomeFileCorsiApprovati, QByteArray());
        banco.test.prompt.expect(AvvisoFileVuoto);
        banco.test.prompt.expect(Fallimento);
        banco.test.prompt.expect(Ripristino);
        QVERIFY(!ImportaCorsiApprovati(banco.test.context()));
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.righe(), prima);
        QVERIFY(banco.esiste(u"BAD/CorsiApprovati.bad"_s));
        QVERIFY(!banco.esiste(NomeFileCorsiApprovati));
    }

    void unErroreAnnullaTutto_data()
    {
        QTest::addColumn<QByteArray>("secondaRiga");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("empty field 3")
            << riga(corso(701, {{3, u""_s}})) << erroreRiga(u" 13"_s, u"Tipo non corrispondente"_s);
        QTest::newRow("byte out of range")
            << riga(corso(701, {{18, u"300"_s}})) << erroreRiga(u" 6"_s, u"Overflow"_s);
        QTest::newRow("blank line") << QByteArray("   \r\n")
                                    << erroreRiga(u" 13"_s, u"Tipo non corrispondente"_s);
    }
    void unErroreAnnullaTutto()
    {
        QFETCH(QByteArray, secondaRiga);
        QFETCH(QString, messaggio);
        Banco banco;
        const QList<QVariantList> prima = banco.righe();
        // Another installation stays connected: the rollback alone puts the table back.
        Connection altra;
        altra.open(banco.db.path(), Connection::Mode::Shared);
        const QByteArray file = riga(corso(500, {{12, u"CAMBIATO"_s}})) + secondaRiga + riga(corso(702));
        banco.test.writeFile(NomeFileCorsiApprovati, file);
        banco.test.prompt.expect(messaggio);
        banco.test.prompt.expect(Fallimento);
        banco.test.prompt.expect(Ripristino);
        QVERIFY(!ImportaCorsiApprovati(banco.test.context()));
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().first().title, ErroreCaricamento);
        QCOMPARE(banco.righe(), prima);
        QCOMPARE(banco.test.readFile(u"BAD/CorsiApprovati.bad"_s), file);
        QVERIFY(!QFileInfo::exists(banco.db.path() + u"_BAK"_s));
    }

    void oltre32767Corsi()
    {
        Banco banco;
        QByteArray file;
        for (int id = 1; id <= 32768; ++id)
            file += '#' + QByteArray::number(id) + "#,##,#A#,#12#,##,##,##,##,##,#1#\r\n";
        banco.test.writeFile(NomeFileCorsiApprovati, file);
        QVERIFY(ImportaCorsiApprovati(banco.test.context()));
        // 500 and 900 are among them.
        QCOMPARE(banco.db.count(u"CorsiApprovati"_s), 32768);
    }
};

QTEST_GUILESS_MAIN(tst_CorsiApprovati)
#include "tst_CorsiApprovati.moc"
