#include "FixtureDatabase.h"
#include "core/data/RecordsetColumns.h"
#include "core/data/RecordsetWriter.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Schema =
    u"CREATE TABLE Sedi (NumDoma INTEGER NOT NULL, SedeInteressata INTEGER NOT NULL,"
    u" Denominazione TEXT COLLATE NOCASE, TipoCompo TEXT COLLATE NOCASE,"
    u" PRIMARY KEY (NumDoma, SedeInteressata));"
    u"CREATE TABLE TipiSede (TipoCompo TEXT COLLATE NOCASE PRIMARY KEY, Descrizione TEXT COLLATE NOCASE);"
    u"CREATE TABLE Massimali (CodAsse TEXT COLLATE NOCASE, ParA REAL);"
    u"CREATE TABLE \"Note \"\"interne\"\"\" (Id INTEGER PRIMARY KEY, \"Testo \"\"libero\"\"\" TEXT);"
    u"CREATE VIEW QrySedi AS SELECT Sedi.NumDoma, Sedi.SedeInteressata, Sedi.Denominazione,"
    u" Sedi.Denominazione AS Insegna, TipiSede.TipoCompo AS \"TipiSede.TipoCompo\", TipiSede.Descrizione"
    u" FROM Sedi JOIN TipiSede ON TipiSede.TipoCompo = Sedi.TipoCompo;"_s;

enum class Operation
{
    Insert,
    Update,
    Delete
};

using Statements = QList<std::pair<QString, QVariantList>>;

} // namespace

Q_DECLARE_METATYPE(Operation)
Q_DECLARE_METATYPE(Statements)

class TestRecordsetWriter : public QObject
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
        m_fixture->insert(u"TipiSede"_s, {u"TipoCompo"_s, u"Descrizione"_s}, {{u"SL"_s, u"Sede legale"_s}});
        m_fixture->insert(u"Sedi"_s, {u"NumDoma"_s, u"SedeInteressata"_s, u"Denominazione"_s, u"TipoCompo"_s},
                          {{7, 1, u"Sede di Milano"_s, u"SL"_s}});
        m_fixture->insert(u"Massimali"_s, {u"CodAsse"_s, u"ParA"_s}, {{u"A"_s, 1.0}});
        m_connection.open(m_fixture->path(), Connection::Mode::Shared);
    }

    void statements_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<Recordset::UpdateCriteria>("criteria");
        QTest::addColumn<QVariantMap>("changes");
        QTest::addColumn<Statements>("expected");

        const auto key = Recordset::UpdateCriteria::Key;
        const auto changedColumns = Recordset::UpdateCriteria::ChangedColumns;
        QTest::newRow("an edit through a view updates each base table by its key")
            << u"QrySedi"_s << Operation::Update << key
            << QVariantMap{{u"Denominazione"_s, u"Milano"_s}, {u"Descrizione"_s, u"Legale"_s}}
            << Statements{{u"UPDATE \"Sedi\" SET \"Denominazione\" = ? WHERE \"NumDoma\" IS ? AND "
                           u"\"SedeInteressata\" IS ?"_s,
                           {u"Milano"_s, 7, 1}},
                          {u"UPDATE \"TipiSede\" SET \"Descrizione\" = ? WHERE \"TipoCompo\" IS ?"_s,
                           {u"Legale"_s, u"SL"_s}}};
        QTest::newRow("the changed-columns criteria also matches the values as read")
            << u"QrySedi"_s << Operation::Update << changedColumns
            << QVariantMap{{u"Denominazione"_s, u"Milano"_s}}
            << Statements{{u"UPDATE \"Sedi\" SET \"Denominazione\" = ? WHERE \"NumDoma\" IS ? AND "
                           u"\"SedeInteressata\" IS ? AND \"Denominazione\" IS ?"_s,
                           {u"Milano"_s, 7, 1, u"Sede di Milano"_s}}};
        QTest::newRow("the all-columns criteria matches every column as read")
            << u"Sedi"_s << Operation::Update << Recordset::UpdateCriteria::AllColumns
            << QVariantMap{{u"Denominazione"_s, u"Milano"_s}}
            << Statements{{u"UPDATE \"Sedi\" SET \"Denominazione\" = ? WHERE \"NumDoma\" IS ? AND "
                           u"\"SedeInteressata\" IS ? AND \"Denominazione\" IS ? AND \"TipoCompo\" IS ?"_s,
                           {u"Milano"_s, 7, 1, u"Sede di Milano"_s, u"SL"_s}}};
        QTest::newRow("two fields of one column write the later")
            << u"QrySedi"_s << Operation::Update << key
            << QVariantMap{{u"Denominazione"_s, u"Milano"_s}, {u"Insegna"_s, u"Milano centro"_s}}
            << Statements{{u"UPDATE \"Sedi\" SET \"Denominazione\" = ? WHERE \"NumDoma\" IS ? AND "
                           u"\"SedeInteressata\" IS ?"_s,
                           {u"Milano centro"_s, 7, 1}}};
        QTest::newRow("a table without key finds its row by the rowid")
            << u"Massimali"_s << Operation::Update << key << QVariantMap{{u"ParA"_s, 9.5}}
            << Statements{{u"UPDATE \"Massimali\" SET \"ParA\" = ? WHERE \"rowid\" IS ?"_s, {9.5, 1}}};
        QTest::newRow("a new row names only the columns given")
            << u"QrySedi"_s << Operation::Insert << key
            << QVariantMap{{u"NumDoma"_s, 8}, {u"SedeInteressata"_s, 2}}
            << Statements{
                   {u"INSERT INTO \"Sedi\" (\"NumDoma\", \"SedeInteressata\") VALUES (?, ?)"_s, {8, 2}}};
        QTest::newRow("names are quoted with their quotes doubled")
            << u"SELECT * FROM \"Note \"\"interne\"\"\""_s << Operation::Insert << key
            << QVariantMap{{u"Testo \"libero\""_s, u"prima"_s}}
            << Statements{{u"INSERT INTO \"Note \"\"interne\"\"\" (\"Testo \"\"libero\"\"\") VALUES (?)"_s,
                           {u"prima"_s}}};
        QTest::newRow("a row of a view is deleted from its first base table")
            << u"QrySedi"_s << Operation::Delete << key << QVariantMap()
            << Statements{
                   {u"DELETE FROM \"Sedi\" WHERE \"NumDoma\" IS ? AND \"SedeInteressata\" IS ?"_s, {7, 1}}};
        QTest::newRow("a row of a table without key is deleted by its rowid")
            << u"Massimali"_s << Operation::Delete << key << QVariantMap()
            << Statements{{u"DELETE FROM \"Massimali\" WHERE rowid IS ?"_s, {1}}};
    }

    void statements()
    {
        QFETCH(QString, source);
        QFETCH(Operation, operation);
        QFETCH(Recordset::UpdateCriteria, criteria);
        QFETCH(QVariantMap, changes);
        QFETCH(Statements, expected);

        // The columns and the first row as a recordset reads them; Massimali is the table without key,
        // read with its rowid.
        const bool sourceIsTable = !source.startsWith(u"SELECT"_s);
        const bool withRowid = source == u"Massimali"_s;
        const QueryResult read = m_connection.query(
            sourceIsTable ? u"SELECT *"_s + (withRowid ? u", rowid"_s : QString()) + u" FROM "_s + source
                          : source);
        RecordsetColumns columns;
        columns.reset(read.columns, withRowid,
                      [&](const QString &table) { return m_connection.primaryKey(table); });
        const QVariantList original = read.rows.isEmpty() ? QVariantList(columns.count()) : read.rows.first();
        RowEdit edit{operation == Operation::Insert ? QVariantList(columns.count()) : original,
                     std::vector<bool>(columns.count(), false)};
        for (auto change = changes.cbegin(); change != changes.cend(); ++change) {
            const int column = columns.resolve(change.key());
            edit.values[column] = change.value();
            edit.changed[column] = true;
        }

        const RecordsetWriter writer(columns, source, sourceIsTable);
        QList<WriteStatement> written;
        if (operation == Operation::Delete) {
            written.append(writer.deletion(original));
        } else {
            for (const QString &table : writer.changedTables(edit)) {
                written.append(operation == Operation::Insert
                                   ? writer.insertion(table, edit)
                                   : writer.updating(table, original, edit, criteria));
            }
        }
        QCOMPARE(written.size(), expected.size());
        for (qsizetype i = 0; i < written.size(); ++i) {
            QCOMPARE(written[i].sql, expected[i].first);
            QCOMPARE(written[i].values, expected[i].second);
        }
    }

    // A writer adding rows one after another keeps its statements: each row still writes its own
    // fields, whatever the row before it changed, and of two fields of one column the later one.
    void rowsAddedOneAfterAnotherWriteTheirOwnFields()
    {
        RecordsetColumns columns;
        columns.reset(m_connection.describe(u"SELECT * FROM QrySedi"_s), false,
                      [this](const QString &table) { return m_connection.primaryKey(table); });
        const RecordsetWriter writer(columns, u"QrySedi"_s, true);
        const QList<QList<std::pair<QString, QVariant>>> rows = {
            {{u"NumDoma"_s, 20}, {u"SedeInteressata"_s, 1}, {u"Denominazione"_s, u"Uno"_s}},
            {{u"NumDoma"_s, 20}, {u"SedeInteressata"_s, 2}},
            {{u"NumDoma"_s, 20},
             {u"SedeInteressata"_s, 3},
             {u"Denominazione"_s, u"Tre"_s},
             {u"Insegna"_s, u"Insegna tre"_s}},
            {{u"NumDoma"_s, 20}, {u"SedeInteressata"_s, 4}, {u"Denominazione"_s, u"Quattro"_s}},
            {{u"SedeInteressata"_s, 5}, {u"NumDoma"_s, 20}},
        };
        for (const auto &fields : rows) {
            RowEdit edit{QVariantList(columns.count()), std::vector<bool>(size_t(columns.count()), false)};
            for (const auto &[field, value] : fields) {
                edit.values[columns.resolve(field)] = value;
                edit.changed[size_t(columns.resolve(field))] = true;
            }
            writer.insert(m_connection, edit);
        }
        const QueryResult written = m_connection.query(
            u"SELECT SedeInteressata || ':' || IFNULL(Denominazione, '-') FROM Sedi WHERE NumDoma = 20 "
            u"ORDER BY SedeInteressata"_s);
        QStringList seats;
        for (const QVariantList &row : written.rows)
            seats.append(row.first().toString());
        QCOMPARE(seats, (QStringList{u"1:Uno"_s, u"2:-"_s, u"3:Insegna tre"_s, u"4:Quattro"_s, u"5:-"_s}));
        m_connection.execute(u"DELETE FROM Sedi WHERE NumDoma = 20"_s);
    }
};

QTEST_GUILESS_MAIN(TestRecordsetWriter)
#include "tst_RecordsetWriter.moc"
