#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/data/FilterExpression.h"
#include "core/data/Recordset.h"
#include "core/services/RoutineError.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <limits>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** One table whose columns carry the names the program's filters, sorts and finds use. */
const QString Schema =
    u"CREATE TABLE Campioni (Id INTEGER PRIMARY KEY, NumDoma INTEGER, GrupOpe TEXT COLLATE NOCASE,"
    u" Operatore INTEGER, SedeInteressata INTEGER, Corso TEXT COLLATE NOCASE, TipoCompo TEXT COLLATE NOCASE,"
    u" Denominazione TEXT COLLATE NOCASE, Prov TEXT COLLATE NOCASE, REGIONE TEXT COLLATE NOCASE,"
    u" DomandaStampata INTEGER, CicloFin TEXT COLLATE NOCASE, Componente INTEGER, SedeOcc INTEGER,"
    u" IdAttivita INTEGER, CodAsse TEXT COLLATE NOCASE, CodMisura TEXT COLLATE NOCASE, Importo REAL);"
    u"CREATE TABLE Decodifica (Codice TEXT COLLATE NOCASE, Descrizione TEXT COLLATE NOCASE);"_s;

const QStringList Columns = {
    u"Id"_s,         u"NumDoma"_s,       u"GrupOpe"_s,    u"Operatore"_s, u"SedeInteressata"_s, u"Corso"_s,
    u"TipoCompo"_s,  u"Denominazione"_s, u"Prov"_s,       u"REGIONE"_s,   u"DomandaStampata"_s, u"CicloFin"_s,
    u"Componente"_s, u"SedeOcc"_s,       u"IdAttivita"_s, u"CodAsse"_s,   u"CodMisura"_s,       u"Importo"_s};

const QVariant Null;

const QList<QVariantList> Rows = {
    {1, 7, u"A"_s, 12, 3, u"0001"_s, u"SL"_s, u"Milano"_s, u"001"_s, u"01"_s, 0, u"2"_s, 3, Null, 123, u"A"_s,
     u"1"_s, 10.5},
    {2, 7, u"A"_s, 12, 3, u"0002"_s, u"UL"_s, u"Bari"_s, u"002"_s, u"01"_s, 0, u"1"_s, 3, 1000, 124, u"A"_s,
     u"2"_s, 2.0},
    {3, 8, u"B"_s, 7, 1000, u"0001"_s, u"UO"_s, u"L'Aquila"_s, u"000"_s, u"00"_s, 1, u"2"_s, 4, 1000, Null,
     u"B"_s, u"1"_s, Null},
    {4, 7, u"A"_s, 12, 5, u"0001"_s, u"UL"_s, u""_s, u"001"_s, u"01"_s, 0, Null, 5, Null, 125, Null, Null,
     -3.0},
    {5, 9, u"a"_s, 12, 3, u"0001"_s, u"SL"_s, u"milano est"_s, u"001"_s, u"02"_s, 1, u"2"_s, 3, 1000, 126,
     u"A"_s, u"1"_s, 10.5},
    {6, 7, u"A"_s, 12, 3, u"0010"_s, u"UL"_s, u"Éboli"_s, u"003"_s, u"01"_s, 0, u"2"_s, 3, Null, 127, u"A"_s,
     u"3"_s, 100.0},
};

/** The Id of every row the recordset shows, in its order. */
QList<int> ids(Recordset &recordset)
{
    QList<int> result;
    if (recordset.recordCount() == 0)
        return result;
    recordset.moveFirst();
    while (!recordset.eof()) {
        result.append(recordset.value(u"Id"_s).toInt());
        recordset.moveNext();
    }
    return result;
}

} // namespace

class TestRecordset : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<FixtureDatabase> m_fixture;
    Connection m_connection;

private slots:
    void initTestCase()
    {
        m_fixture = std::make_unique<FixtureDatabase>(m_dir.filePath(u"KX58TORVA.mdb"_s), Schema);
        m_fixture->insert(u"Campioni"_s, Columns, Rows);
        m_connection.open(m_fixture->path(), Connection::Mode::Shared);
    }

    void filter_data()
    {
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<QList<int>>("expected");
        // The forms the program's routines write, as they write them.
        QTest::newRow("application, blanks around =") << u"NumDoma = 7"_s << QList<int>{1, 2, 4, 6};
        QTest::newRow("application") << u"NumDoma=7"_s << QList<int>{1, 2, 4, 6};
        QTest::newRow("field name in another case") << u"Numdoma=7"_s << QList<int>{1, 2, 4, 6};
        QTest::newRow("current application filter")
            << u"GrupOpe='A' AND Operatore=12 AND NumDoma=7"_s << QList<int>{1, 2, 4, 6};
        QTest::newRow("text without regard to case")
            << u"GrupOpe='a' And Operatore=12 AND TipoCompo='SL'"_s << QList<int>{1, 5};
        QTest::newRow("legal seat of the application") << u"NumDoma=7 AND TipoCompo='SL'"_s << QList<int>{1};
        QTest::newRow("province code") << u"Prov='001'"_s << QList<int>{1, 4, 5};
        QTest::newRow("occasional seat") << u"SedeOcc=1000"_s << QList<int>{2, 3, 5};
        QTest::newRow("double blanks before AND")
            << u"GrupOpe='A' AND Operatore=12  AND Componente=3  AND SedeOcc=1000"_s << QList<int>{2, 5};
        QTest::newRow("lower-case and")
            << u"GrupOpe = 'A' and Operatore = 12 and SedeOcc=1000"_s << QList<int>{2, 5};
        QTest::newRow("approved course") << u"IdAttivita=123"_s << QList<int>{1};
        QTest::newRow("yes/no as False") << u"DomandaStampata=False"_s << QList<int>{1, 2, 4, 6};
        QTest::newRow("yes/no as True") << u"DomandaStampata=True"_s << QList<int>{3, 5};
        QTest::newRow("seat with blanks") << u"SedeInteressata = 3 AND NumDoma=7"_s << QList<int>{1, 2, 6};
        QTest::newRow("number against a text column") << u"REGIONE=00 AND Prov='000'"_s << QList<int>{3};
        QTest::newRow("region") << u"REGIONE='01'"_s << QList<int>{1, 2, 4, 6};
        QTest::newRow("operator and province")
            << u"GrupOpe='A' AND Operatore=12 AND PROV = '001'"_s << QList<int>{1, 4, 5};
        QTest::newRow("course") << u"NumDoma=7 AND SedeInteressata=3 And Corso = '0002'"_s << QList<int>{2};
        QTest::newRow("course with an empty code")
            << u"NumDoma=7 AND SedeInteressata=3 AND Corso = ''"_s << QList<int>{};
        QTest::newRow("approved courses of a seat")
            << u"GrupOpe='A' AND Operatore=12 AND CicloFin='2' AND Componente=3"_s << QList<int>{1, 5, 6};
        QTest::newRow("reassignment, doubled blanks")
            << u"NumDoma=7  AND GrupOpe='A' AND Operatore=12 AND NumDoma=7  AND SedeInteressata=3  AND Corso='0001'"_s
            << QList<int>{1};
        QTest::newRow("decode key") << u"CodAsse='A' AND CodMisura='1'"_s << QList<int>{1, 5};
        QTest::newRow("apostrophe doubled") << u"Denominazione='L''Aquila'"_s << QList<int>{3};
        QTest::newRow("LIKE with *") << u"Denominazione LIKE 'MIL*'"_s << QList<int>{1, 5};
        QTest::newRow("LIKE with %") << u"Denominazione LIKE 'mil%'"_s << QList<int>{1, 5};
        QTest::newRow("LIKE on both sides") << u"Denominazione LIKE '*ar*'"_s << QList<int>{2};
        QTest::newRow("LIKE never matches an empty text")
            << u"Denominazione LIKE '*'"_s << QList<int>{1, 2, 3, 5, 6};
        QTest::newRow("accented text") << u"Denominazione='ÉBOLI'"_s << QList<int>{6};
        QTest::newRow("OR with parentheses")
            << u"(Prov='001' OR Prov='002') AND TipoCompo='UL'"_s << QList<int>{2, 4};
        QTest::newRow("OR binds looser than AND")
            << u"Prov='002' OR Prov='001' AND TipoCompo='UL'"_s << QList<int>{2, 4};
        QTest::newRow("ordering comparisons") << u"Importo >= 10.5 AND Importo < 100"_s << QList<int>{1, 5};
        QTest::newRow("not equal skips Null") << u"Importo <> 10.5"_s << QList<int>{2, 4, 6};
        QTest::newRow("negative number") << u"Importo=-3"_s << QList<int>{4};
        QTest::newRow("quoted number against a number column")
            << u"SedeInteressata='1000'"_s << QList<int>{3};
        QTest::newRow("text code compared as text") << u"Corso > '0001'"_s << QList<int>{2, 6};
        QTest::newRow("Null") << u"IdAttivita = Null"_s << QList<int>{3};
        QTest::newRow("IS NOT NULL") << u"CicloFin IS NOT NULL AND NOT TipoCompo='SL'"_s
                                     << QList<int>{2, 3, 6};
        QTest::newRow("bracketed name") << u"[GrupOpe]='B'"_s << QList<int>{3};
        QTest::newRow("leading blank") << u" Corso='0010'"_s << QList<int>{6};
        QTest::newRow("empty filter") << QString() << QList<int>{1, 2, 3, 4, 5, 6};
        QTest::newRow("a chain of a hundred thousand terms")
            << QString(u"NumDoma=8"_s + u" AND NumDoma=8"_s.repeated(100000)) << QList<int>{3};
        QTest::newRow("nested to the limit")
            << QString(QString(64, u'(') + u"NumDoma=8"_s + QString(64, u')')) << QList<int>{3};
    }

    void filter()
    {
        QFETCH(QString, criterion);
        QFETCH(QList<int>, expected);
        Recordset recordset(m_connection);
        recordset.open(u"Campioni"_s);
        recordset.setFilter(criterion);
        QCOMPARE(recordset.recordCount(), expected.size());
        QCOMPARE(ids(recordset), expected);
        QCOMPARE(recordset.filter(), criterion);
    }

    void malformedFilters_data()
    {
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<int>("number");
        QTest::newRow("missing number") << u"GrupOpe='A' AND Operatore="_s << ErrorCode::InvalidArgument;
        QTest::newRow("unclosed quote") << u"GrupOpe='A"_s << ErrorCode::InvalidArgument;
        QTest::newRow("dangling AND") << u"NumDoma=7 AND"_s << ErrorCode::InvalidArgument;
        QTest::newRow("unclosed parenthesis") << u"(NumDoma=7"_s << ErrorCode::InvalidArgument;
        QTest::newRow("apostrophe not doubled")
            << u"Denominazione='L'Aquila'"_s << ErrorCode::InvalidArgument;
        QTest::newRow("unknown field") << u"Nessuno=1"_s << ErrorCode::ItemNotFound;
        QTest::newRow("nested past the limit")
            << QString(QString(65, u'(') + u"NumDoma=8"_s + QString(65, u')')) << ErrorCode::InvalidArgument;
        QTest::newRow("thousands of parentheses") << QString(3564, u'(') << ErrorCode::InvalidArgument;
        QTest::newRow("thousands of NOT")
            << QString(u"NOT "_s.repeated(5000) + u"NumDoma=8"_s) << ErrorCode::InvalidArgument;
        QTest::newRow("number with an exponent") << u"Importo=1e+20"_s << ErrorCode::InvalidArgument;
    }

    void malformedFilters()
    {
        QFETCH(QString, criterion);
        QFETCH(int, number);
        Recordset recordset(m_connection);
        recordset.open(u"Campioni"_s);
        recordset.setFilter(u"NumDoma=8"_s);
        QCOMPARE(errorOf([&] { recordset.setFilter(criterion); }).number(), number);
        // The filter in force stays.
        QCOMPARE(recordset.filter(), u"NumDoma=8"_s);
        QCOMPARE(ids(recordset), QList<int>{3});
    }

    void filterLiteralsQuoteWhatTheyHold()
    {
        QCOMPARE(filterLiteral(u"L'Aquila"_s), u"'L''Aquila'"_s);
        QCOMPARE(filterLiteral(12), u"12"_s);
        QCOMPARE(filterLiteral(QVariant()), u"Null"_s);
        QCOMPARE(equalityFilter({{u"GrupOpe"_s, u"A"_s}, {u"Operatore"_s, 12}}),
                 u"GrupOpe='A' AND Operatore=12"_s);

        Recordset recordset(m_connection);
        recordset.open(u"Campioni"_s);
        recordset.setFilter(equalityFilter({{u"Denominazione"_s, u"L'Aquila"_s}}));
        QCOMPARE(ids(recordset), QList<int>{3});
    }

    void numberLiteralsReadBackEqual_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("literal");
        QTest::newRow("large") << QVariant(1e20) << u"100000000000000000000"_s;
        QTest::newRow("small") << QVariant(-2.5e-7) << u"-0.00000025"_s;
        QTest::newRow("shortest that reads back") << QVariant(0.1) << u"0.1"_s;
        QTest::newRow("all seventeen digits") << QVariant(0.1 + 0.2) << u"0.30000000000000004"_s;
        QTest::newRow("whole") << QVariant(1250.0) << u"1250"_s;
        QTest::newRow("largest") << QVariant(std::numeric_limits<double>::max()) << QString();
        QTest::newRow("smallest") << QVariant(std::numeric_limits<double>::denorm_min()) << QString();
        QTest::newRow("single precision") << QVariant(0.1f) << u"0.10000000149011612"_s;
        QTest::newRow("64-bit integer")
            << QVariant(std::numeric_limits<qlonglong>::min()) << u"-9223372036854775808"_s;
        QTest::newRow("integer just past 2^53") << QVariant(qlonglong(1) << 53 | 1) << u"9007199254740993"_s;
        QTest::newRow("largest 64-bit integer")
            << QVariant(std::numeric_limits<qlonglong>::max()) << u"9223372036854775807"_s;
    }

    // A literal the program writes must find the very value it was written from.
    void numberLiteralsReadBackEqual()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, literal);
        const QString written = filterLiteral(value);
        if (!literal.isEmpty())
            QCOMPARE(written, literal);
        FilterExpression expression = FilterExpression::parse(u"Importo="_s + written);
        expression.bind([](const QString &) { return 0; });
        QVERIFY(expression.matches({value}));
        if (value.typeId() == QMetaType::LongLong) {
            // Its neighbour, equal to it as a double, is another number.
            QVERIFY(!expression.matches({QVariant(value.toLongLong() ^ 1)}));
        }
        QCOMPARE(expression.equalities().size(), 1);
        QCOMPARE(expression.equalities().front().second.toDouble(), value.toDouble());
    }

    void numbersWithoutALiteralAreRefused_data()
    {
        QTest::addColumn<double>("value");
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity();
        QTest::newRow("minus infinite") << -std::numeric_limits<double>::infinity();
        QTest::newRow("undefined") << std::numeric_limits<double>::quiet_NaN();
    }

    void numbersWithoutALiteralAreRefused()
    {
        QFETCH(double, value);
        QCOMPARE(errorOf([&] { filterLiteral(value); }).number(), ErrorCode::InvalidProcedureCall);
        QCOMPARE(errorOf([&] {
                     equalityFilter({{u"Importo"_s, value}});
                 }).number(),
                 ErrorCode::InvalidProcedureCall);
    }

    void aFilterOverManyRowsFindsTheSameRowsThroughItsIndex()
    {
        Connection &connection = m_connection;
        connection.execute(u"DELETE FROM Decodifica"_s);
        {
            Transaction transaction(connection);
            for (int i = 0; i < 500; ++i)
                connection.execute(
                    u"INSERT INTO Decodifica VALUES (?, ?)"_s,
                    QVariantList{i % 3 == 0 ? QString::number(i) : QString(u"0"_s + QString::number(i)),
                                 QString(u"Voce "_s + QString::number(i))});
            transaction.commit();
        }
        Recordset recordset(connection);
        recordset.open(u"Decodifica"_s);
        for (const QString &criterion :
             {u"Codice='9'"_s, u"Codice=9"_s, u"Codice='07'"_s, u"Codice=7"_s, u"Codice='7'"_s,
              u"Descrizione='VOCE 8' AND Codice='08'"_s, u"Codice='x'"_s}) {
            recordset.setFilter(criterion);
            FilterExpression expression = FilterExpression::parse(criterion);
            expression.bind([&](const QString &name) { return recordset.fieldIndex(name); });
            int expected = 0;
            const QueryResult all = connection.query(u"SELECT Codice, Descrizione FROM Decodifica"_s);
            for (const QVariantList &row : all.rows)
                expected += expression.matches(row) ? 1 : 0;
            QVERIFY2(recordset.recordCount() == expected, qPrintable(criterion));
        }
        recordset.setFilter(u"Codice=7"_s);
        QCOMPARE(recordset.value(u"Descrizione"_s).toString(), u"Voce 7"_s);
        recordset.setValue(u"Codice"_s, u"X7"_s);
        recordset.update();
        recordset.setFilter(u"Codice='x7'"_s);
        QCOMPARE(recordset.recordCount(), 1);
        connection.execute(u"DELETE FROM Decodifica"_s);
    }

    // The loaders filter by key once per record and write in between: a row changed, added or
    // deleted must be found, or not, by the next filter exactly as the table now holds it.
    void aFilterThroughItsIndexFollowsEveryWrite()
    {
        Connection &connection = m_connection;
        connection.execute(u"DELETE FROM Decodifica"_s);
        {
            Transaction transaction(connection);
            for (int i = 0; i < 200; ++i)
                connection.execute(u"INSERT INTO Decodifica VALUES (?, ?)"_s,
                                   QVariantList{QString(u"C"_s + QString::number(i)), u"Voce"_s});
            transaction.commit();
        }
        Recordset recordset(connection);
        recordset.open(u"Decodifica"_s);
        const auto rowsFor = [&](const QString &code) {
            recordset.setFilter(u"Codice='"_s + code + u"'"_s);
            const int inTable =
                connection.scalar(u"SELECT count(*) FROM Decodifica WHERE Codice = ?"_s, {code}).toInt();
            if (recordset.recordCount() != inTable)
                return -1;
            return inTable;
        };

        QCOMPARE(rowsFor(u"C7"_s), 1);
        recordset.setValue(u"Codice"_s, u"X7"_s);
        recordset.update();
        QCOMPARE(rowsFor(u"C7"_s), 0);
        QCOMPARE(rowsFor(u"x7"_s), 1);

        recordset.addNew();
        recordset.setValue(u"Codice"_s, u"C7"_s);
        recordset.setValue(u"Descrizione"_s, u"Nuova"_s);
        recordset.update();
        QCOMPARE(rowsFor(u"C7"_s), 1);
        QCOMPARE(recordset.value(u"Descrizione"_s).toString(), u"Nuova"_s);
        recordset.setValue(u"Codice"_s, u"C8"_s);
        recordset.update();
        QCOMPARE(rowsFor(u"C8"_s), 2);

        recordset.deleteCurrent();
        QCOMPARE(rowsFor(u"C8"_s), 1);
        QCOMPARE(rowsFor(u"X7"_s), 1);
        recordset.addNew();
        recordset.setValue(u"Codice"_s, u"C9"_s);
        recordset.cancelUpdate();
        QCOMPARE(rowsFor(u"C9"_s), 1);
        connection.execute(u"DELETE FROM Decodifica"_s);
    }

    void sort_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("two keys") << u"GrupOpe, Operatore"_s << QList<int>{1, 2, 4, 5, 6, 3};
        QTest::newRow("course order") << u"NumDoma,SedeInteressata,Corso"_s << QList<int>{1, 2, 6, 4, 3, 5};
        QTest::newRow("with blanks") << u"NumDoma, SedeInteressata, Corso"_s << QList<int>{1, 2, 6, 4, 3, 5};
        QTest::newRow("descending") << u"Importo DESC, Id ASC"_s << QList<int>{6, 1, 5, 2, 4, 3};
        QTest::newRow("Null first") << u"IdAttivita"_s << QList<int>{3, 1, 2, 4, 5, 6};
        QTest::newRow("names the Italian way") << u"Denominazione"_s << QList<int>{4, 2, 6, 3, 1, 5};
        QTest::newRow("lower-case names")
            << u"GrupOpe, operatore, sedeinteressata"_s << QList<int>{1, 2, 5, 6, 4, 3};
        QTest::newRow("text code") << u"Corso DESC"_s << QList<int>{6, 2, 1, 3, 4, 5};
        QTest::newRow("none") << QString() << QList<int>{1, 2, 3, 4, 5, 6};
    }

    void sort()
    {
        QFETCH(QString, keys);
        QFETCH(QList<int>, expected);
        Recordset recordset(m_connection);
        recordset.open(u"Campioni"_s);
        recordset.setSort(keys);
        QCOMPARE(ids(recordset), expected);
    }

    void sortAndFilterTogether()
    {
        Recordset recordset(m_connection);
        recordset.setSort(u"Denominazione DESC"_s);
        recordset.setFilter(u"NumDoma=7"_s);
        recordset.open(u"Campioni"_s);
        QCOMPARE(ids(recordset), (QList<int>{1, 6, 2, 4}));
        recordset.close();
        // Filter and sort stay set on the closed recordset and hold at its next opening.
        QCOMPARE(recordset.filter(), u"NumDoma=7"_s);
        recordset.open();
        QCOMPARE(ids(recordset), (QList<int>{1, 6, 2, 4}));
        QCOMPARE(errorOf([&] { recordset.setSort(u"Nessuno"_s); }).number(), ErrorCode::ItemNotFound);
        QCOMPARE(errorOf([&] { recordset.setSort(u"Corso,"_s); }).number(), ErrorCode::InvalidArgument);
    }

    void navigation()
    {
        Recordset recordset(m_connection);
        QCOMPARE(errorOf([&] { recordset.recordCount(); }).number(), ErrorCode::ObjectClosed);
        QCOMPARE(errorOf([&] { recordset.close(); }).number(), ErrorCode::ObjectClosed);
        recordset.open(u"Campioni"_s);
        QCOMPARE(errorOf([&] { recordset.open(); }).number(), ErrorCode::ObjectOpen);
        QCOMPARE(recordset.state(), 1);
        QVERIFY(!recordset.bof());
        QCOMPARE(recordset.absolutePosition(), 1);
        recordset.moveLast();
        QCOMPARE(recordset.value(u"Id"_s).toInt(), 6);
        recordset.moveNext();
        QVERIFY(recordset.eof());
        QCOMPARE(recordset.absolutePosition(), Recordset::PositionEOF);
        QCOMPARE(errorOf([&] { recordset.value(u"Id"_s); }).number(), ErrorCode::NoCurrentRecord);
        QCOMPARE(errorOf([&] { recordset.moveNext(); }).number(), ErrorCode::NoCurrentRecord);
        recordset.move(-2);
        QCOMPARE(recordset.value(u"Id"_s).toInt(), 5);
        recordset.move(-10);
        QVERIFY(recordset.bof());
        QCOMPARE(errorOf([&] { recordset.movePrevious(); }).number(), ErrorCode::NoCurrentRecord);
        recordset.setAbsolutePosition(3);
        QCOMPARE(recordset.value(0).toInt(), 3);
        QCOMPARE(errorOf([&] { recordset.setAbsolutePosition(7); }).number(), ErrorCode::InvalidArgument);

        recordset.setFilter(u"NumDoma=99"_s);
        QVERIFY(recordset.eof() && recordset.bof());
        QCOMPARE(recordset.recordCount(), 0);
        recordset.moveFirst();
        QCOMPARE(errorOf([&] { recordset.setValue(u"Corso"_s, u"x"_s); }).number(),
                 ErrorCode::NoCurrentRecord);
        QCOMPARE(errorOf([&] { recordset.deleteCurrent(); }).number(), ErrorCode::NoCurrentRecord);
        recordset.close();
        QCOMPARE(recordset.state(), 0);
    }

    void fieldsByNameAndPosition()
    {
        Recordset recordset(m_connection);
        recordset.open(
            u"SELECT Id, Denominazione AS \"Sedi.Denominazione\", IdAttivita FROM Campioni WHERE Id = ?"_s,
            {3});
        QCOMPARE(recordset.fieldCount(), 3);
        QCOMPARE(recordset.fieldName(1), u"Sedi.Denominazione"_s);
        QCOMPARE(recordset.value(u"sedi.denominazione"_s).toString(), u"L'Aquila"_s);
        QCOMPARE(recordset.value(u"Denominazione"_s).toString(), u"L'Aquila"_s);
        QCOMPARE(recordset.value(u"Campioni.Denominazione"_s).toString(), u"L'Aquila"_s);
        QVERIFY(!recordset.value(u"IDATTIVITA"_s).isValid());
        QCOMPARE(recordset.value(0).toInt(), 3);
        QVERIFY(recordset.hasField(u"[Id]"_s));
        QVERIFY(!recordset.hasField(u"Nessuno"_s));
        QCOMPARE(errorOf([&] { recordset.value(u"Nessuno"_s); }).number(), ErrorCode::ItemNotFound);
        QCOMPARE(errorOf([&] { recordset.value(3); }).number(), ErrorCode::ItemNotFound);
    }

    void find()
    {
        Recordset recordset(m_connection);
        recordset.open(u"Campioni"_s);
        recordset.setSort(u"Denominazione"_s);
        recordset.moveFirst();
        QVERIFY(recordset.find(u"Denominazione LIKE 'MIL*'"_s));
        QCOMPARE(recordset.value(u"Id"_s).toInt(), 1);
        // The current row counts: the same search stays on the same row.
        QVERIFY(recordset.find(u"Denominazione LIKE 'MIL*'"_s));
        QCOMPARE(recordset.value(u"Id"_s).toInt(), 1);
        QVERIFY(recordset.find(u"Denominazione LIKE 'MIL*'"_s, 1));
        QCOMPARE(recordset.value(u"Id"_s).toInt(), 5);
        QVERIFY(recordset.find(u"TipoCompo='UL'"_s, 0, Recordset::Direction::Backward));
        QCOMPARE(recordset.value(u"Id"_s).toInt(), 6);
        QVERIFY(!recordset.find(u"Corso = '9999'"_s));
        QVERIFY(recordset.eof());
        QVERIFY(!recordset.find(u"Corso = '9999'"_s, 0, Recordset::Direction::Backward));
        QVERIFY(recordset.bof());

        recordset.setAbsolutePosition(2);
        const Bookmark bari = recordset.bookmark();
        recordset.moveLast();
        QVERIFY(recordset.find(u"Prov='001'"_s, 0, Recordset::Direction::Forward, bari));
        QCOMPARE(recordset.value(u"Id"_s).toInt(), 1);

        recordset.moveFirst();
        QVERIFY(recordset.find(u" Corso='0010'"_s));
        QCOMPARE(recordset.value(u"Denominazione"_s).toString(), u"Éboli"_s);
        QCOMPARE(errorOf([&] { recordset.find(u"Corso="_s); }).number(), ErrorCode::InvalidArgument);
    }

    void findInAnEmptyRecordsetEndsAtEof()
    {
        Recordset recordset(m_connection);
        recordset.open(u"Campioni"_s);
        recordset.setFilter(u"NumDoma=99"_s);
        recordset.moveFirst();
        QVERIFY(!recordset.find(u"Denominazione LIKE '*'"_s));
        QVERIFY(recordset.eof());
    }

    void bookmarksSurviveFilterSortAndRequery()
    {
        Recordset recordset(m_connection);
        recordset.open(u"Campioni"_s);
        recordset.setAbsolutePosition(3);
        const Bookmark mark = recordset.bookmark();
        QCOMPARE(recordset.value(u"Id"_s).toInt(), 3);
        recordset.setSort(u"Denominazione DESC"_s);
        recordset.setBookmark(mark);
        QCOMPARE(recordset.value(u"Id"_s).toInt(), 3);
        QVERIFY(recordset.bookmark() == mark);

        m_connection.execute(
            u"INSERT INTO Campioni (Id, NumDoma, Denominazione) VALUES (0, 8, 'Zafferana')"_s);
        recordset.requery();
        QCOMPARE(recordset.sort(), u"Denominazione DESC"_s);
        QCOMPARE(recordset.value(u"Id"_s).toInt(), 0);
        recordset.setBookmark(mark);
        QCOMPARE(recordset.value(u"Id"_s).toInt(), 3);

        recordset.setFilter(u"NumDoma=7"_s);
        QCOMPARE(errorOf([&] { recordset.setBookmark(mark); }).number(), ErrorCode::InvalidArgument);
        m_connection.execute(u"DELETE FROM Campioni WHERE Id = 0"_s);
    }

    void requeryKeepsFilterAndSortAndSeesOtherInstallations()
    {
        Recordset recordset(m_connection);
        recordset.setFilter(u"NumDoma=8"_s);
        recordset.open(u"Campioni"_s);
        QCOMPARE(ids(recordset), QList<int>{3});
        Connection other;
        other.open(m_fixture->path(), Connection::Mode::Shared);
        other.execute(u"INSERT INTO Campioni (Id, NumDoma) VALUES (20, 8)"_s);
        QCOMPARE(recordset.recordCount(), 1);
        QSignalSpy reset(&recordset, &Recordset::rowsReset);
        recordset.requery();
        QCOMPARE(reset.count(), 1);
        QCOMPARE(ids(recordset), (QList<int>{3, 20}));
        other.execute(u"DELETE FROM Campioni WHERE Id = 20"_s);
    }

    void theSnapshotOutlivesAClosedConnectionAndUsesTheNewOpening()
    {
        Connection connection;
        connection.open(m_fixture->path(), Connection::Mode::Shared);
        Recordset recordset(connection);
        recordset.open(u"Campioni"_s);
        connection.close();
        QCOMPARE(recordset.value(u"Id"_s).toInt(), 1);
        QCOMPARE(errorOf([&] { recordset.requery(); }).number(), ErrorCode::ConnectionClosed);
        QCOMPARE(errorOf([&] {
                     recordset.setValue(u"Corso"_s, u"0009"_s);
                     recordset.update();
                 }).number(),
                 ErrorCode::ConnectionClosed);
        recordset.cancelUpdate();
        connection.open(m_fixture->path(), Connection::Mode::Shared);
        recordset.requery();
        QCOMPARE(recordset.recordCount(), 6);
    }

    void aViewAndSqlTextAreSourcesToo()
    {
        m_connection.execute(
            u"CREATE TEMP VIEW Vista AS SELECT Id, Denominazione FROM Campioni WHERE NumDoma = 7"_s);
        Recordset view(m_connection);
        view.open(u"Vista"_s);
        QCOMPARE(view.recordCount(), 4);
        Recordset text(m_connection);
        text.open(u"SELECT count(*) AS NumRec FROM Campioni WHERE GrupOpe = ? AND Operatore = ?"_s,
                  {u"a"_s, 12});
        QCOMPARE(text.value(u"NumRec"_s).toInt(), 5);
        Recordset missing(m_connection);
        QCOMPARE(errorOf([&] { missing.open(u"Nessuna"_s); }).number(), ErrorCode::TableNotFound);
        QVERIFY(!missing.isOpen());
        m_connection.execute(u"DROP VIEW Vista"_s);
    }
};

QTEST_GUILESS_MAIN(TestRecordset)
#include "tst_Recordset.moc"
