#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/data/DataEnvironment.h"
#include "core/text/Cp1252.h"
#include "refdata/AggiornaAnagraficheLoaders.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

using Loader = bool (*)(Context &, const QString &, const QString &, const QString &);

QString riga(const QStringList &fields)
{
    return u"#"_s + fields.join(u"#,#"_s) + u"#"_s;
}

/** A record of the given fields followed by empty ones, as many as its file's records hold. */
QString rigaDi(int campi, QStringList fields)
{
    while (fields.size() < campi)
        fields.append(QString());
    return riga(fields);
}

QByteArray file(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += Cp1252::encode(line) + "\r\n";
    return bytes;
}

const QString Nome120 = QString(60, u'N') + QString(60, u'M');

const QStringList ColonneOper{u"GrupOpe"_s,        u"Operatore"_s, u"Denominazione"_s, u"TipoOper"_s,
                              u"CodFisc"_s,        u"PIva"_s,      u"LegNome"_s,       u"LegComNasc"_s,
                              u"LegProvNasc"_s,    u"LegGGNasc"_s, u"LegMMNasc"_s,     u"LegAAAANasc"_s,
                              u"ProvCCIAA"_s,      u"CodCCIAA"_s,  u"AnnoCCIAA"_s,     u"AttEcono"_s,
                              u"Corrispondenza"_s, u"ContABI"_s};
/** Operator A-12 as the registry holds it before the update. */
const QVariantList OperA12{u"A"_s,         12,         u"VECCHIO NOME"_s, u"01"_s,      u"CFVECCHIO"_s,
                           u"PIVECCHIA"_s, u"ROSSI"_s, u"BOLOGNA"_s,      u"BO"_s,      u"01"_s,
                           u"02"_s,        u"1960"_s,  u"BO"_s,           u"1234567"_s, u"1990"_s,
                           1111,           3,          u"IT00"_s};

const QStringList ColonneCompo{u"GrupOpe"_s,       u"Operatore"_s,  u"Componente"_s,  u"TipoCompo"_s,
                               u"Denominazione"_s, u"CodComune"_s,  u"Cap"_s,         u"Indirizzo"_s,
                               u"Tel"_s,           u"Fax"_s,        u"StatoEstero"_s, u"CittaEstero"_s,
                               u"Email"_s,         u"Riferimento"_s};
/** Component A-12-1 with what the user added: e-mail and contact person. */
const QVariantList CompoA12{
    u"A"_s,          12,       1,        u"SL"_s,      u"SEDE"_s,   u"037006"_s, u"40121"_s,
    u"VIA ROMA 1"_s, u"051"_s, u"052"_s, u"FRANCIA"_s, u"PARIGI"_s, u"a@b.it"_s, u"ROSSI"_s};

const QStringList ColonneSediOcc{u"SedeOcc"_s, u"Denominazione"_s, u"Indirizzo"_s, u"CodComune"_s,
                                 u"Cap"_s,     u"Tel"_s,           u"Fax"_s,       u"TipoCompo"_s};

QString select(const QStringList &columns, const QString &table, const QString &where)
{
    return u"SELECT "_s + columns.join(u", "_s) + u" FROM "_s + table + u" WHERE "_s + where;
}

/** A program folder whose registry holds operator A-12, its component 1 and two occasional seats. */
struct Banco
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};

    Banco()
    {
        db.insert(u"CorsiOper"_s, ColonneOper, {OperA12});
        db.insert(u"CorsiCompo"_s, ColonneCompo, {CompoA12});
        db.insert(u"CorsiSediOcc"_s, ColonneSediOcc,
                  {{1001, u"AULA"_s, u"VIA A"_s, u"037006"_s, u"40100"_s, u"051111"_s, u""_s, u"XX"_s},
                   {1002, u"SALA"_s, u"VIA B"_s, u"037006"_s, u"40100"_s, QVariant(), u"052222"_s, u"UO"_s}});
        db.insert(u"CorsiSediOccUtil"_s,
                  {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"SedeOcc"_s, u"Email"_s, u"Riferimento"_s},
                  {{u"A"_s, 12, 1, 1001, u"aula@b.it"_s, u"BIANCHI"_s}});
        corsiDB().open(db.path(), Connection::Mode::Shared);
    }

    Connection &corsiDB() { return test.context().DE().CorsiDB(); }

    /**
     * Runs a loader in a transaction of its own, as the update does; `ispeziona` looks at the
     * database before the transaction ends, which is committed only when the loader succeeded.
     */
    bool esegui(Loader loader, const QString &nome, const QString &tabella,
                const std::function<void()> &ispeziona = {})
    {
        Transaction transaction(corsiDB());
        const bool esito = loader(test.context(), nome, tabella, test.path(u"AggiornaDB.LOG"_s));
        if (ispeziona)
            ispeziona();
        if (esito)
            transaction.commit();
        QTest::qVerify(!QFileInfo::exists(test.path(u"AggiornaDB.LOG"_s)), "no log",
                       "the log is not the loaders'", __FILE__, __LINE__);
        return esito;
    }

    QList<QVariantList> righe(const QStringList &columns, const QString &table, const QString &where)
    {
        return corsiDB().query(select(columns, table, where)).rows;
    }
    int conta(const QString &table) { return corsiDB().scalar(u"SELECT COUNT(*) FROM "_s + table).toInt(); }

    void attendiErrore(const QString &titolo, const QString &testo)
    {
        test.prompt.expect(testo);
        m_titolo = titolo;
    }
    void verificaBox()
    {
        QVERIFY(test.prompt.allShown());
        QCOMPARE(test.prompt.shown().size(), 1);
        QCOMPARE(test.prompt.shown().front().title, m_titolo);
        QCOMPARE(test.prompt.shown().front().icon, Prompt::Icon::Critical);
    }

private:
    QString m_titolo;
};

QString erroreTesto(int numero, const QString &frase)
{
    return AggiornamentoAnagrafiche::testoErroreAggiornamento(RoutineError(numero), frase);
}

} // namespace

class TestAggiornaAnagraficheLoaders : public QObject
{
    Q_OBJECT

private slots:
    void errorText_data()
    {
        QTest::addColumn<int>("numero");
        QTest::addColumn<QString>("testo");
        QTest::newRow("positive: two blanks") << 13 << u"Errore  13 --> Tipo non corrispondente\n\rfrase"_s;
        QTest::newRow("negative: one")
            << -2147217864
            << u"Errore -2147217864 --> "_s + RoutineError::standardDescription(-2147217864) + u"\n\rfrase"_s;
    }

    void errorText()
    {
        QFETCH(int, numero);
        QFETCH(QString, testo);
        QCOMPARE(AggiornamentoAnagrafiche::testoErroreAggiornamento(RoutineError(numero), u"frase"_s), testo);
    }

    void operatorFields_data()
    {
        QTest::addColumn<QStringList>("campi");
        QTest::addColumn<int>("operatore");
        QTest::addColumn<QVariantList>("atteso");
        QTest::addColumn<int>("operatori");

        const QVariant null;
        QTest::newRow("new, every field")
            << QStringList{u"B"_s,   u"7"_s,       u"ENTE"_s,   u"02"_s,  u"CF7"_s,
                           u"PI7"_s, u"BIANCHI"_s, u"FORLI'"_s, u"FC"_s,  u"15061975"_s,
                           u"FC"_s,  u"7654321"_s, u"2001"_s,   u"8559"_s}
            << 7 << QVariantList{u"B"_s,      7,       u"ENTE"_s, u"02"_s, u"CF7"_s,  u"PI7"_s, u"BIANCHI"_s,
                                 u"FORLI'"_s, u"FC"_s, u"15"_s,   u"06"_s, u"1975"_s, u"FC"_s,  u"7654321"_s,
                                 u"2001"_s,   8559,    null,      null}
            << 2;
        QTest::newRow("new, empty fields stored empty")
            << QStringList{u"B"_s, u"7"_s, u""_s, u""_s, u""_s, u""_s, u""_s,
                           u""_s,  u""_s,  u""_s, u""_s, u""_s, u""_s, u"8559"_s}
            << 7 << QVariantList{u"B"_s, 7,     u""_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s,
                                 u""_s,  u""_s, u""_s, u""_s, u""_s, u""_s, 8559,  null,  null}
            << 2;
        QTest::newRow("new, name of 120 cut to 100")
            << QStringList{u"B"_s, u"7"_s, Nome120, u"02"_s, u""_s, u""_s, u""_s,
                           u""_s,  u""_s,  u""_s,   u""_s,   u""_s, u""_s, u"1"_s}
            << 7 << QVariantList{u"B"_s,  7,     Nome120.left(100),
                                 u"02"_s, u""_s, u""_s,
                                 u""_s,   u""_s, u""_s,
                                 u""_s,   u""_s, u""_s,
                                 u""_s,   u""_s, u""_s,
                                 1,       null,  null}
            << 2;
        QTest::newRow("new, two leading blanks eaten by the cut")
            << QStringList{u"B"_s,  u"7"_s, u"  "_s + QString(100, u'X'),
                           u"02"_s, u""_s,  u""_s,
                           u""_s,   u""_s,  u""_s,
                           u""_s,   u""_s,  u""_s,
                           u""_s,   u"1"_s}
            << 7 << QVariantList{u"B"_s,  7,     QString(98, u'X'),
                                 u"02"_s, u""_s, u""_s,
                                 u""_s,   u""_s, u""_s,
                                 u""_s,   u""_s, u""_s,
                                 u""_s,   u""_s, u""_s,
                                 1,       null,  null}
            << 2;
        QTest::newRow("existing, empty fields 6 to 13 keep, 0 to 5 overwrite")
            << QStringList{u"A"_s, u"12"_s, u""_s, u"09"_s, u""_s, u""_s, u""_s,
                           u""_s,  u""_s,   u""_s, u""_s,   u""_s, u""_s, u"  "_s}
            << 12 << QVariantList{u"A"_s,     12,           u""_s,     u"09"_s, u""_s,   u""_s,
                                  u"ROSSI"_s, u"BOLOGNA"_s, u"BO"_s,   u"01"_s, u"02"_s, u"1960"_s,
                                  u"BO"_s,    u"1234567"_s, u"1990"_s, 1111,    3,       u"IT00"_s}
            << 1;
        QTest::newRow("existing, every field overwritten")
            << QStringList{u"A"_s,     u"12"_s, u"NUOVO"_s,    u"02"_s, u"CF2"_s,     u"PI2"_s,  u"VERDI"_s,
                           u"PARMA"_s, u"PR"_s, u"31121970"_s, u"PR"_s, u"7777777"_s, u"2005"_s, u"9999"_s}
            << 12 << QVariantList{u"A"_s,     12,           u"NUOVO"_s, u"02"_s, u"CF2"_s, u"PI2"_s,
                                  u"VERDI"_s, u"PARMA"_s,   u"PR"_s,    u"31"_s, u"12"_s,  u"1970"_s,
                                  u"PR"_s,    u"7777777"_s, u"2005"_s,  9999,    3,        u"IT00"_s}
            << 1;
        QTest::newRow("existing, short birth date: the year stays")
            << QStringList{u"A"_s, u"12"_s, u"NOME"_s, u"01"_s, u"CF"_s, u"PI"_s, u""_s,
                           u""_s,  u""_s,   u"3011"_s, u""_s,   u""_s,   u""_s,   u""_s}
            << 12 << QVariantList{u"A"_s,     12,           u"NOME"_s, u"01"_s, u"CF"_s, u"PI"_s,
                                  u"ROSSI"_s, u"BOLOGNA"_s, u"BO"_s,   u"30"_s, u"11"_s, u"1960"_s,
                                  u"BO"_s,    u"1234567"_s, u"1990"_s, 1111,    3,       u"IT00"_s}
            << 1;
        QTest::newRow("existing, number with leading zeros and group in small letters")
            << QStringList{u"a"_s, u"0012"_s, u"NOME"_s, u"01"_s, u"CF"_s, u"PI"_s, u""_s,
                           u""_s,  u""_s,     u""_s,     u""_s,   u""_s,   u""_s,   u"42"_s}
            << 12 << QVariantList{u"a"_s,     12,           u"NOME"_s, u"01"_s, u"CF"_s, u"PI"_s,
                                  u"ROSSI"_s, u"BOLOGNA"_s, u"BO"_s,   u"01"_s, u"02"_s, u"1960"_s,
                                  u"BO"_s,    u"1234567"_s, u"1990"_s, 42,      3,       u"IT00"_s}
            << 1;
    }

    void operatorFields()
    {
        QFETCH(QStringList, campi);
        QFETCH(int, operatore);
        QFETCH(QVariantList, atteso);
        QFETCH(int, operatori);
        Banco banco;
        banco.test.writeFile(u"oper.tx1"_s, file({riga(campi)}));

        QVERIFY(banco.esegui(AggCorsiOper, u"oper.tx1"_s, u"CorsiOper"_s));

        QCOMPARE(banco.righe(ColonneOper, u"CorsiOper"_s, u"Operatore = "_s + QString::number(operatore)),
                 QList<QVariantList>{atteso});
        QCOMPARE(banco.conta(u"CorsiOper"_s), operatori);
    }

    void aFileBeyondThe16BitCountLoads()
    {
        Banco banco;
        QStringList lines;
        for (int i = 1; i <= 32768; ++i)
            lines.append(riga({u"C"_s, QString::number(i), u"ENTE"_s, u"01"_s, u""_s, u""_s, u""_s, u""_s,
                               u""_s, u""_s, u""_s, u""_s, u""_s, u"1"_s}));
        banco.test.writeFile(u"oper.tx1"_s, file(lines));

        QVERIFY(banco.esegui(AggCorsiOper, u"oper.tx1"_s, u"CorsiOper"_s));

        QCOMPARE(banco.conta(u"CorsiOper"_s), 32769);
        QCOMPARE(banco.corsiDB().scalar(u"SELECT MAX(Operatore) FROM CorsiOper WHERE GrupOpe = 'C'"_s),
                 QVariant(32768));
    }

    void componentFields_data()
    {
        QTest::addColumn<QStringList>("campi");
        QTest::addColumn<QVariantList>("atteso");
        QTest::addColumn<int>("componenti");

        QTest::newRow("new, every field")
            << QStringList{u"A"_s,     u"12"_s, u"2"_s,   u"UL"_s, u"LAB"_s, u"037007"_s,   u"40122"_s,
                           u"VIA B"_s, u"8"_s,  u"053"_s, u"10"_s, u"054"_s, u"SVIZZERA"_s, u"BERNA"_s}
            << QVariantList{u"A"_s,        12,         2,          u"UL"_s,  u"LAB"_s,
                            u"037007"_s,   u"40122"_s, u"VIA B"_s, u"053"_s, u"054"_s,
                            u"SVIZZERA"_s, u"BERNA"_s, u""_s,      u""_s}
            << 2;
        QTest::newRow("new, empty fields stored empty")
            << QStringList{u"A"_s, u"12"_s, u"2"_s, u""_s, u""_s, u""_s, u""_s,
                           u""_s,  u""_s,   u""_s,  u""_s, u""_s, u""_s, u""_s}
            << QVariantList{u"A"_s, 12,    2,     u""_s, u""_s, u""_s, u""_s,
                            u""_s,  u""_s, u""_s, u""_s, u""_s, u""_s, u""_s}
            << 2;
        QTest::newRow("existing, empty fields keep postal code, telephone, fax, state and city")
            << QStringList{u"A"_s, u"12"_s, u"1"_s, u""_s,   u""_s, u""_s, u""_s,
                           u""_s,  u"8"_s,  u""_s,  u"10"_s, u""_s, u""_s, u""_s}
            << QVariantList{u"A"_s, 12,       1,        u""_s,        u""_s,       u""_s,       u"40121"_s,
                            u""_s,  u"051"_s, u"052"_s, u"FRANCIA"_s, u"PARIGI"_s, u"a@b.it"_s, u"ROSSI"_s}
            << 1;
        QTest::newRow("existing, every field but e-mail and contact person overwritten")
            << QStringList{u"A"_s,     u"12"_s, u"0001"_s, u"UL"_s, u"LAB"_s, u"037007"_s,   u"40122"_s,
                           u"VIA B"_s, u"8"_s,  u"053"_s,  u"10"_s, u"054"_s, u"SVIZZERA"_s, u"BERNA"_s}
            << QVariantList{u"A"_s,        12,         1,           u"UL"_s,   u"LAB"_s,
                            u"037007"_s,   u"40122"_s, u"VIA B"_s,  u"053"_s,  u"054"_s,
                            u"SVIZZERA"_s, u"BERNA"_s, u"a@b.it"_s, u"ROSSI"_s}
            << 1;
        QTest::newRow("new, name of 120 cut to 100")
            << QStringList{u"A"_s, u"12"_s, u"2"_s, u"UL"_s, Nome120, u""_s, u""_s,
                           u""_s,  u""_s,   u""_s,  u""_s,   u""_s,   u""_s, u""_s}
            << QVariantList{u"A"_s, 12,    2,     u"UL"_s, Nome120.left(100),
                            u""_s,  u""_s, u""_s, u""_s,   u""_s,
                            u""_s,  u""_s, u""_s, u""_s}
            << 2;
    }

    void componentFields()
    {
        QFETCH(QStringList, campi);
        QFETCH(QVariantList, atteso);
        QFETCH(int, componenti);
        Banco banco;
        banco.test.writeFile(u"compo.tx1"_s, file({riga(campi)}));

        QVERIFY(banco.esegui(AggCorsiCompo, u"compo.tx1"_s, u"CorsiCompo"_s));

        QCOMPARE(banco.righe(ColonneCompo, u"CorsiCompo"_s, u"Componente = "_s + atteso.at(2).toString()),
                 QList<QVariantList>{atteso});
        QCOMPARE(banco.conta(u"CorsiCompo"_s), componenti);
    }

    void correspondence_data()
    {
        QTest::addColumn<QVariant>("corrispondenza");
        QTest::addColumn<QString>("tipoSede");
        QTest::addColumn<int>("attesa");
        QTest::newRow("already 3: kept") << QVariant(3) << u"SL"_s << 3;
        QTest::newRow("0: the legal seat") << QVariant(0) << u"SL"_s << 5;
        QTest::newRow("Null: the legal seat") << QVariant() << u"SL"_s << 5;
        QTest::newRow("Null without a legal seat: 0") << QVariant() << u"UL"_s << 0;
    }

    void correspondence()
    {
        QFETCH(QVariant, corrispondenza);
        QFETCH(QString, tipoSede);
        QFETCH(int, attesa);
        Banco banco;
        banco.db.insert(u"CorsiOper"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Corrispondenza"_s},
                        {{u"B"_s, 7, corrispondenza}});
        banco.db.insert(u"CorsiCompo"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"TipoCompo"_s},
                        {{u"B"_s, 7, 1, u"UL"_s}, {u"B"_s, 7, 5, tipoSede}});
        banco.test.writeFile(u"oper.tx1"_s, file({rigaDi(14, {u"b"_s, u"007"_s})}));

        QVERIFY(banco.esegui(AggCorsiOperCorrisp, u"oper.tx1"_s, u"CorsiOper"_s));

        QCOMPARE(banco.corsiDB().scalar(u"SELECT Corrispondenza FROM CorsiOper WHERE Operatore = 7"_s),
                 QVariant(attesa));
        QCOMPARE(banco.corsiDB().scalar(u"SELECT Corrispondenza FROM CorsiOper WHERE Operatore = 12"_s),
                 QVariant(3));
    }

    void occasionalSeatFields_data()
    {
        QTest::addColumn<QStringList>("campi");
        QTest::addColumn<QVariantList>("atteso");
        QTest::addColumn<int>("sedi");

        QTest::newRow("new: type UO")
            << QStringList{u"1003"_s, u"PALESTRA"_s, u"VIA C"_s, u"037008"_s, u"40123"_s,
                           u"x"_s,    u"053"_s,      u"y"_s,     u"054"_s}
            << QVariantList{1003,       u"PALESTRA"_s, u"VIA C"_s, u"037008"_s,
                            u"40123"_s, u"053"_s,      u"054"_s,   u"UO"_s}
            << 3;
        QTest::newRow("new, empty fields stored empty")
            << QStringList{u"1003"_s} << QVariantList{1003, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s, u"UO"_s}
            << 3;
        QTest::newRow("existing, empty fields keep, the name is written, the type stays")
            << QStringList{u"1001"_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s}
            << QVariantList{1001, u""_s, u"VIA A"_s, u"037006"_s, u"40100"_s, u"051111"_s, u""_s, u"XX"_s}
            << 2;
        QTest::newRow("existing: a telephone stays, an empty fax is filled")
            << QStringList{u"1001"_s, u"AULA 2"_s, u"VIA D"_s, u"037009"_s, u"40124"_s,
                           u""_s,     u"059"_s,    u""_s,      u"058"_s}
            << QVariantList{1001,       u"AULA 2"_s, u"VIA D"_s, u"037009"_s,
                            u"40124"_s, u"051111"_s, u"058"_s,   u"XX"_s}
            << 2;
        QTest::newRow("existing: a Null telephone is filled, a fax stays")
            << QStringList{u"1002"_s, u"SALA"_s, u""_s, u""_s, u""_s, u""_s, u"059"_s, u""_s, u"058"_s}
            << QVariantList{1002,       u"SALA"_s, u"VIA B"_s,  u"037006"_s,
                            u"40100"_s, u"059"_s,  u"052222"_s, u"UO"_s}
            << 2;
        QTest::newRow("existing, name of 120 cut to 100")
            << QStringList{u"1002"_s, Nome120}
            << QVariantList{1002,  Nome120.left(100), u"VIA B"_s, u"037006"_s, u"40100"_s,
                            u""_s, u"052222"_s,       u"UO"_s}
            << 2;
    }

    void occasionalSeatFields()
    {
        QFETCH(QStringList, campi);
        QFETCH(QVariantList, atteso);
        QFETCH(int, sedi);
        Banco banco;
        banco.test.writeFile(u"sediocc.tx1"_s, file({rigaDi(9, campi)}));
        banco.test.writeFile(u"sediutil.tx1"_s, file({riga({u"A"_s, u"12"_s, u"1"_s, u"1001"_s})}));

        QVERIFY(banco.esegui(AggCorsiSediOcc, u"sediocc.tx1"_s, u"CorsiSediOcc"_s));

        QCOMPARE(banco.righe(ColonneSediOcc, u"CorsiSediOcc"_s, u"SedeOcc = "_s + atteso.at(0).toString()),
                 QList<QVariantList>{atteso});
        QCOMPARE(banco.conta(u"CorsiSediOcc"_s), sedi);
    }

    void seatFilesMustAgree_data()
    {
        QTest::addColumn<std::optional<QStringList>>("sedi");
        QTest::addColumn<QStringList>("uso");
        QTest::addColumn<bool>("esito");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<int>("sediCaricate");

        const QString sede = rigaDi(9, {u"1003"_s, u"PALESTRA"_s});
        const QString uso = riga({u"A"_s, u"12"_s, u"1"_s, u"1003"_s});
        const QString fine = u"\n\rImpossibile continuare l'operazione di aggiornamento."_s;
        QTest::newRow("both with lines: loaded")
            << std::optional(QStringList{sede}) << QStringList{uso} << true << QString() << 3;
        QTest::newRow("seats without use")
            << std::optional(QStringList{sede}) << QStringList{} << false
            << u"ATTENZIONE: il file con i dati di utilizzo delle sedi occasionali da parte degli operatori "
               u"è "
               u"vuoto, mentre non lo è il file con i dati anagrafici delle sedi stesse. Vi è quindi una "
               u"incongruenza nei dati."_s +
                   fine
            << 2;
        QTest::newRow("both empty: nothing to load")
            << std::optional(QStringList{}) << QStringList{} << true << QString() << 2;
        QTest::newRow("use without seats")
            << std::optional(QStringList{}) << QStringList{uso} << false
            << u"ATTENZIONE: il file con i dati anagrafici delle sedi occasionali è vuoto, mentre non lo è "
               u"quello "
               u"con i dati di utilizzo delle sedi stesse. Vi è quindi una incongruenza nei dati."_s +
                   fine
            << 2;
        QTest::newRow("no seat file: nothing to load")
            << std::optional<QStringList>() << QStringList{uso} << true << QString() << 2;
    }

    void seatFilesMustAgree()
    {
        QFETCH(std::optional<QStringList>, sedi);
        QFETCH(QStringList, uso);
        QFETCH(bool, esito);
        QFETCH(QString, messaggio);
        QFETCH(int, sediCaricate);
        Banco banco;
        if (sedi)
            banco.test.writeFile(u"sediocc.tx1"_s, file(*sedi));
        banco.test.writeFile(u"sediutil.tx1"_s, file(uso));
        if (!messaggio.isEmpty())
            banco.attendiErrore(u"Aggiornamento Base Dati"_s, messaggio);

        QCOMPARE(banco.esegui(AggCorsiSediOcc, u"sediocc.tx1"_s, u"CorsiSediOcc"_s), esito);

        if (!messaggio.isEmpty())
            banco.verificaBox();
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.conta(u"CorsiSediOcc"_s), sediCaricate);
    }

    void occasionalSeatUse_data()
    {
        QTest::addColumn<QStringList>("campi");
        QTest::addColumn<QVariantList>("atteso");
        QTest::addColumn<int>("usi");
        QTest::newRow("new: empty e-mail and contact person")
            << QStringList{u"A"_s, u"12"_s, u"1"_s, u"1002"_s}
            << QVariantList{u"A"_s, 12, 1, 1002, u""_s, u""_s} << 2;
        QTest::newRow("existing keeps its e-mail and contact person")
            << QStringList{u"A"_s, u"012"_s, u"1"_s, u"1001"_s}
            << QVariantList{u"A"_s, 12, 1, 1001, u"aula@b.it"_s, u"BIANCHI"_s} << 1;
        QTest::newRow("group in small letters kept as it is")
            << QStringList{u"b "_s, u"7"_s, u"2"_s, u"1002"_s}
            << QVariantList{u"b"_s, 7, 2, 1002, u""_s, u""_s} << 2;
    }

    void occasionalSeatUse()
    {
        QFETCH(QStringList, campi);
        QFETCH(QVariantList, atteso);
        QFETCH(int, usi);
        Banco banco;
        banco.test.writeFile(u"sediutil.tx1"_s, file({riga(campi)}));

        QVERIFY(banco.esegui(AggCorsiSediOccUtil, u"sediutil.tx1"_s, u"CorsiSediOccUtil"_s));

        QCOMPARE(
            banco.righe(
                {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"SedeOcc"_s, u"Email"_s, u"Riferimento"_s},
                u"CorsiSediOccUtil"_s,
                u"Operatore = "_s + atteso.at(1).toString() + u" AND SedeOcc = "_s + atteso.at(3).toString()),
            QList<QVariantList>{atteso});
        QCOMPARE(banco.conta(u"CorsiSediOccUtil"_s), usi);
    }

    void useFileEmptyOrMissingLoadsNothing_data()
    {
        QTest::addColumn<bool>("presente");
        QTest::newRow("empty") << true;
        QTest::newRow("missing") << false;
    }

    void useFileEmptyOrMissingLoadsNothing()
    {
        QFETCH(bool, presente);
        Banco banco;
        if (presente)
            banco.test.writeFile(u"sediutil.tx1"_s, QByteArray());

        QVERIFY(banco.esegui(AggCorsiSediOccUtil, u"sediutil.tx1"_s, u"CorsiSediOccUtil"_s));

        QCOMPARE(banco.conta(u"CorsiSediOccUtil"_s), 1);
    }

    void emptyFiles_data()
    {
        QTest::addColumn<Loader>("loader");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("messaggio");
        const QString oper =
            u"ATTENZIONE: il file Oper.TX1 contenente le anagrafiche degli Operatori da "
            u"aggiornare risulta vuoto. Impossibile continuare l'operazione di aggiornamento."_s;
        QTest::newRow("AggCorsiOper") << Loader(AggCorsiOper) << u"oper.tx1"_s << oper;
        QTest::newRow("AggCorsiCompo") << Loader(AggCorsiCompo) << u"compo.tx1"_s
                                       << u"ATTENZIONE: il file Compo.TX1 contenente le anagrafiche dei "
                                          u"Componenti da aggiornare risulta "
                                          u"vuoto. Impossibile continuare l'operazione di aggiornamento."_s;
        QTest::newRow("AggCorsiOperCorrisp") << Loader(AggCorsiOperCorrisp) << u"oper.tx1"_s << oper;
    }

    void emptyFiles()
    {
        QFETCH(Loader, loader);
        QFETCH(QString, nome);
        QFETCH(QString, messaggio);
        Banco banco;
        banco.test.writeFile(nome, QByteArray());
        banco.attendiErrore(u"Aggiornamento Base Dati"_s, messaggio);

        QVERIFY(!banco.esegui(loader, nome, nome.startsWith(u"oper") ? u"CorsiOper"_s : u"CorsiCompo"_s));

        banco.verificaBox();
    }

    void errorsShowTheLoadersBoxAndLeaveTheLineUnwritten_data()
    {
        QTest::addColumn<Loader>("loader");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("tabella");
        QTest::addColumn<QStringList>("righe");
        QTest::addColumn<QString>("titolo");
        QTest::addColumn<QString>("messaggio");

        const QString oper = u"Aggiornamento Base Dati - AggCorsiOper"_s;
        const QString fraseOper = AggiornamentoAnagrafiche::FraseOper;
        const QStringList vecchio{u"A"_s, u"12"_s, u"NUOVO"_s, u"02"_s, u"CF"_s, u"PI"_s, u""_s,
                                  u""_s,  u""_s,   u""_s,      u""_s,   u""_s,   u""_s};
        QTest::newRow("oper: new operator without activity code")
            << Loader(AggCorsiOper) << u"oper.tx1"_s << u"CorsiOper"_s
            << QStringList{rigaDi(14, {u"B"_s, u"7"_s, u"ENTE"_s})} << oper << erroreTesto(13, fraseOper);
        QTest::newRow("oper: existing operator, activity code not a number")
            << Loader(AggCorsiOper) << u"oper.tx1"_s << u"CorsiOper"_s
            << QStringList{riga(vecchio + QStringList{u"8O42"_s})} << oper << erroreTesto(13, fraseOper);
        QTest::newRow("oper: number not a number")
            << Loader(AggCorsiOper) << u"oper.tx1"_s << u"CorsiOper"_s
            << QStringList{riga({u"A"_s, u"12 OR 1=1"_s, u"X"_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s,
                                 u""_s, u""_s, u""_s, u""_s, u"1"_s})}
            << oper << erroreTesto(13, fraseOper);
        QTest::newRow("oper: number beyond the range")
            << Loader(AggCorsiOper) << u"oper.tx1"_s << u"CorsiOper"_s
            << QStringList{riga({u"A"_s, u"99999999999"_s, u"X"_s, u""_s, u""_s, u""_s, u""_s, u""_s, u""_s,
                                 u""_s, u""_s, u""_s, u""_s, u"1"_s})}
            << oper << erroreTesto(6, fraseOper);
        QTest::newRow("oper: a record with a field too few")
            << Loader(AggCorsiOper) << u"oper.tx1"_s << u"CorsiOper"_s << QStringList{riga(vecchio)} << oper
            << erroreTesto(13, fraseOper);
        QTest::newRow("oper: a control character in a field")
            << Loader(AggCorsiOper) << u"oper.tx1"_s << u"CorsiOper"_s
            << QStringList{riga(QStringList(vecchio).replaceInStrings(u"NUOVO"_s, u"NUO\u0007VO"_s) +
                                QStringList{u"8042"_s})}
            << oper << erroreTesto(13, fraseOper);
        QTest::newRow("oper: missing file") << Loader(AggCorsiOper) << u"oper.tx1"_s << u"CorsiOper"_s
                                            << QStringList() << oper << erroreTesto(53, fraseOper);
        QTest::newRow("compo: component not a number")
            << Loader(AggCorsiCompo) << u"compo.tx1"_s << u"CorsiCompo"_s
            << QStringList{rigaDi(14, {u"A"_s, u"12"_s, u"1'"_s, u"UL"_s, u"NUOVO"_s})}
            << u"Aggiornamento Base Dati - AggCorsiCompo"_s
            << erroreTesto(13, AggiornamentoAnagrafiche::FraseCompo);
        QTest::newRow("corrisp: operator missing from the registry")
            << Loader(AggCorsiOperCorrisp) << u"oper.tx1"_s << u"CorsiOper"_s
            << QStringList{rigaDi(14, {u"A"_s, u"12"_s}), rigaDi(14, {u"Z"_s, u"99"_s})}
            << u"Aggiornamento Base Dati - AggCorsiOperCorrisp"_s << erroreTesto(3021, fraseOper);
        QTest::newRow("sediocc: seat number not a number")
            << Loader(AggCorsiSediOcc) << u"sediocc.tx1"_s << u"CorsiSediOcc"_s
            << QStringList{rigaDi(9, {u"SedeOcc"_s, u"NUOVO"_s})}
            << u"Aggiornamento Base Dati - AggCorsiSediOcc"_s
            << erroreTesto(13, AggiornamentoAnagrafiche::FraseSediOcc);
        QTest::newRow("sediutil: component not a number")
            << Loader(AggCorsiSediOccUtil) << u"sediutil.tx1"_s << u"CorsiSediOccUtil"_s
            << QStringList{riga({u"A"_s, u"12"_s, u""_s, u"1001"_s})}
            << u"Aggiornamento Base Dati - AggCorsiSediOccUtil"_s
            << erroreTesto(13, AggiornamentoAnagrafiche::FraseSediOccUtil);
    }

    void errorsShowTheLoadersBoxAndLeaveTheLineUnwritten()
    {
        QFETCH(Loader, loader);
        QFETCH(QString, nome);
        QFETCH(QString, tabella);
        QFETCH(QStringList, righe);
        QFETCH(QString, titolo);
        QFETCH(QString, messaggio);
        Banco banco;
        if (!righe.isEmpty())
            banco.test.writeFile(nome, file(righe));
        const QString tutto = u"SELECT * FROM "_s + tabella + u" ORDER BY rowid"_s;
        const QList<QVariantList> prima = banco.corsiDB().query(tutto).rows;
        banco.attendiErrore(titolo, messaggio);

        if (nome == u"sediocc.tx1")
            banco.test.writeFile(u"sediutil.tx1"_s, file({riga({u"A"_s, u"12"_s, u"1"_s, u"1001"_s})}));

        // Inside the update's transaction, before its restore: the failing line wrote nothing.
        const bool esito =
            banco.esegui(loader, nome, tabella, [&] { QCOMPARE(banco.corsiDB().query(tutto).rows, prima); });

        QVERIFY(!esito);
        banco.verificaBox();
    }
};

QTEST_GUILESS_MAIN(TestAggiornaAnagraficheLoaders)
#include "tst_AggiornaAnagraficheLoaders.moc"
