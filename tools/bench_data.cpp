// Timings of the data layer on a program database: a 10,000-row table opened, filtered, sorted and
// searched, filtered by key and written row by row as the loaders do, and 50,000 rows added through
// a recordset in one transaction.
#include "core/data/Connection.h"
#include "core/data/Recordset.h"
#include "core/data/Schema.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

constexpr int Courses = 10000;

/** A database whose CorsiProp holds 10,000 courses of 100 applications, 5 seats each. */
class Fixture
{
public:
    Fixture()
    {
        m_path = m_dir.filePath(u"KX58TORVA.mdb"_s);
        createEmptyDatabase(m_path);
        m_connection.open(m_path, Connection::Mode::Shared);
        Transaction transaction(m_connection);
        for (int application = 0; application < 200; ++application) {
            m_connection.execute(u"INSERT INTO Domande (NumDoma, GrupOpe, Operatore) VALUES (?, 'A', ?)"_s,
                                 {1000 + application, application % 20});
        }
        const QStringList names = {u"Cucina"_s,
                                   u"Sala e bar"_s,
                                   u"Pasticceria"_s,
                                   u"Èlite di panetteria"_s,
                                   u"accoglienza turistica"_s,
                                   u"Informatica di base"_s,
                                   u"Saldatura"_s};
        for (int i = 0; i < Courses; ++i) {
            m_connection.execute(
                u"INSERT INTO CorsiProp (NumDoma, SedeInteressata, GrupOpe, Operatore, Corso, DenCorso,"
                u" CodAsse, NumAll, TotaleSpesa) VALUES (?, ?, 'A', ?, ?, ?, ?, ?, ?)"_s,
                {1000 + i / 100, (i / 20) % 5 + 1, (i / 100) % 20, QString::asprintf("%04d", i % 20 + 1),
                 QString(names.at(i % names.size()) + u' ' + QString::number(i)), i % 3 ? u"III"_s : u"IV"_s,
                 i % 25, 1000.0 + (i * 37) % 5000});
        }
        transaction.commit();
    }

    Connection &connection() { return m_connection; }

private:
    QTemporaryDir m_dir;
    QString m_path;
    Connection m_connection;
};

Fixture &fixture()
{
    static Fixture instance;
    return instance;
}

void openTable(benchmark::State &state)
{
    for (auto _ : state) {
        Recordset recordset(fixture().connection());
        recordset.open(u"CorsiProp"_s);
        benchmark::DoNotOptimize(recordset.recordCount());
    }
}
BENCHMARK(openTable)->Unit(benchmark::kMillisecond);

void filter(benchmark::State &state, const QString &criterion)
{
    Recordset recordset(fixture().connection());
    recordset.open(u"CorsiProp"_s);
    for (auto _ : state) {
        recordset.setFilter(criterion);
        benchmark::DoNotOptimize(recordset.recordCount());
        recordset.clearFilter();
    }
}
BENCHMARK_CAPTURE(filter, application_and_seat, u"NumDoma=1050 AND SedeInteressata=3"_s)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(filter, like_both_sides, u"DenCorso LIKE '*panetteria*'"_s)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(filter, or_and_ranges, u"(CodAsse='IV' OR NumAll > 20) AND TotaleSpesa >= 3000"_s)
    ->Unit(benchmark::kMillisecond);

void sort(benchmark::State &state, const QString &keys)
{
    Recordset recordset(fixture().connection());
    recordset.open(u"CorsiProp"_s);
    for (auto _ : state) {
        recordset.setSort(keys);
        benchmark::DoNotOptimize(recordset.recordCount());
    }
}
BENCHMARK_CAPTURE(sort, numbers_and_code, u"NumDoma DESC, SedeInteressata, Corso"_s)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(sort, names, u"DenCorso"_s)->Unit(benchmark::kMillisecond);

void findNearTheEnd(benchmark::State &state)
{
    Recordset recordset(fixture().connection());
    recordset.open(u"CorsiProp"_s);
    for (auto _ : state) {
        recordset.moveFirst();
        benchmark::DoNotOptimize(recordset.find(u"DenCorso = 'Saldatura 9995'"_s));
    }
}
BENCHMARK(findNearTheEnd)->Unit(benchmark::kMillisecond);

/** The decode-table loaders' way: one key filter per record of the file. */
void keyFilterPerRecord(benchmark::State &state)
{
    Recordset recordset(fixture().connection());
    recordset.open(u"CorsiProp"_s);
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            recordset.setFilter(u"NumDoma="_s + QString::number(1000 + i % 100) + u" AND SedeInteressata="_s +
                                QString::number(i % 5 + 1) + u" AND Corso='"_s +
                                QString::asprintf("%04d", i % 20 + 1) + u"'"_s);
            benchmark::DoNotOptimize(recordset.recordCount());
        }
    }
}
BENCHMARK(keyFilterPerRecord)->Unit(benchmark::kMillisecond);

/** The loaders' update of a table: per record a key filter, then the found row written. */
void keyFilterAndWritePerRecord(benchmark::State &state)
{
    Connection &connection = fixture().connection();
    Recordset recordset(connection);
    recordset.open(u"CorsiProp"_s);
    for (auto _ : state) {
        Transaction transaction(connection);
        for (int i = 0; i < 1000; ++i) {
            recordset.setFilter(u"NumDoma="_s + QString::number(1000 + i % 100) + u" AND SedeInteressata="_s +
                                QString::number(i % 5 + 1) + u" AND Corso='"_s +
                                QString::asprintf("%04d", i % 20 + 1) + u"'"_s);
            recordset.setValue(u"NumAll"_s, i % 25);
            recordset.update();
        }
        transaction.commit();
    }
}
BENCHMARK(keyFilterAndWritePerRecord)->Unit(benchmark::kMillisecond);

void insertFiftyThousand(benchmark::State &state)
{
    Connection &connection = fixture().connection();
    for (auto _ : state) {
        connection.execute(u"DELETE FROM CorsiProp WHERE NumDoma >= 1100"_s);
        Recordset recordset(connection);
        recordset.open(u"SELECT * FROM CorsiProp WHERE 0"_s);
        Transaction transaction(connection);
        for (int i = 0; i < 50000; ++i) {
            recordset.addNew();
            recordset.setValue(u"NumDoma"_s, 1100 + i / 500);
            recordset.setValue(u"SedeInteressata"_s, i % 5 + 1);
            recordset.setValue(u"GrupOpe"_s, u"A"_s);
            recordset.setValue(u"Operatore"_s, 7);
            recordset.setValue(u"Corso"_s, QString::asprintf("%04d", i % 500 + 1));
            recordset.setValue(u"DenCorso"_s, u"Corso d'esempio"_s);
            recordset.setValue(u"TotaleSpesa"_s, 1234.5);
            recordset.update();
        }
        transaction.commit();
    }
}
BENCHMARK(insertFiftyThousand)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
