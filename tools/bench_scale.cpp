// How the data layer's costs grow with a large agency's database, each figure beside the one it must
// stay close to, in one run:
//   - the start-up, from AvvioProgramma to the frame, on an empty database and on 10,000 applications
//     with 5 seats and 5 courses each;
//   - Domande opened and filtered to one application, read and closed as SalvaVarIni does, at 100 and
//     at 10,000 applications;
//   - 50,000 courses added through a recordset in one transaction, beside a bare loop of one prepared
//     INSERT through the engine's own interface on the same table.
// Each figure is the median of several runs. bench_scale [applications], 10,000 by default.
#include "FakeServices.h"
#include "TestContext.h"
#include "core/data/Connection.h"
#include "core/data/Recordset.h"
#include "core/data/Schema.h"
#include "core/startup/SequenzaAvvio.h"
#include "core/state/StartupHooks.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

constexpr int SeatsPerApplication = 5;
constexpr int CoursesPerApplication = 5;
constexpr int BulkRows = 50000;
constexpr int FirstApplication = 2021001;

/** The median of `runs` timings of `step`, in milliseconds. */
double median(int runs, const std::function<double()> &step)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(step());
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double elapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1.0e6;
}

/**
 * A program database with that many applications, each with its seats and its courses; one course in
 * five belongs to the action the start-up corrects, one in fifteen of those with too many hours.
 */
void fillDatabase(const QString &path, int applications)
{
    createEmptyDatabase(path);
    Connection connection;
    connection.open(path, Connection::Mode::Exclusive);
    Transaction transaction(connection);
    for (int a = 0; a < applications; ++a) {
        const int numDoma = FirstApplication + a;
        const int operatore = a % 3000;
        const QString name = u"Ente di formazione "_s + QString::number(operatore);
        connection.execute(
            u"INSERT INTO Domande (NumDoma, GrupOpe, Operatore, PROV, Domanda, DenominazioneOp, "
            u"DomandaStampata, DomandaTrasmessa) VALUES (?, 'A', ?, 'ZR', 1, ?, ?, 0)"_s,
            {numDoma, operatore, name, a % 4 == 0 ? 1 : 0});
        for (int s = 1; s <= SeatsPerApplication; ++s) {
            connection.execute(
                u"INSERT INTO CorsiSediInteressate (NumDoma, SedeInteressata, GrupOpe, Operatore, "
                u"TipoCompo, Denominazione) VALUES (?, ?, 'A', ?, ?, ?)"_s,
                {numDoma, s, operatore, s == 1 ? u"SL"_s : u"UL"_s,
                 QString(name + u" sede "_s + QString::number(s))});
        }
        for (int c = 1; c <= CoursesPerApplication; ++c) {
            const int course = a * CoursesPerApplication + c;
            const bool corrected = course % 5 == 0;
            const int hours = corrected && course % 15 == 0 ? 240 : 120 + course % 80;
            connection.execute(
                u"INSERT INTO CorsiProp (NumDoma, SedeInteressata, GrupOpe, Operatore, Corso, CodAsse, "
                u"CodMisura, CodAzione, DenCorso, OreSpesa, TotOreIter, TotaleSpesa) "
                u"VALUES (?, ?, 'A', ?, ?, ?, 'G', ?, ?, ?, ?, ?)"_s,
                {numDoma, c, operatore, QString::asprintf("%04d", c), corrected ? u"III"_s : u"II"_s,
                 corrected ? u"06.01"_s : u"06.02"_s, QString(u"Corso "_s + QString::number(course)), hours,
                 hours, 1000.0 + course % 5000});
        }
    }
    transaction.commit();
}

/** The start-up windows, doing nothing; the frame's showing ends the timing. */
class FinestreMute final : public StartupWindows, public ProgressoAvvio
{
public:
    explicit FinestreMute(QElapsedTimer &timer) : m_timer(timer) {}
    void mostraSplash() override {}
    void chiudiSplash() override {}
    void mostraImpostazioni() override {}
    ProgressoAvvio &avvio() override { return *this; }
    void mostraFrame() override { m_frame = elapsedMs(m_timer); }
    void distruggiAvvio() override {}
    void mostra(const QString &, const QString &) override {}
    void file(const QString &) override {}
    void tabella(const QString &) override {}
    void record(const QString &) override {}

    double frame() const { return m_frame; }

private:
    QElapsedTimer &m_timer;
    double m_frame = 0;
};

/** Milliseconds from AvvioProgramma to the frame, on a program folder whose INI names the database. */
double startUp(const QString &database, int numDoma)
{
    TestContext program;
    program.writeFile(
        u"KX58TORVA.INI"_s,
        "[Installazione]\r\nTipo=StandAlone\r\nVersione=SERVER\r\nPROVIDER=Microsoft.Jet.OLEDB.4.0\r\n"
        "\r\n[BaseDati]\r\nDatabase=" +
            database.toUtf8() + "\r\nNFileDB=KX58TORVA.mdb\r\nNumDoma=" + QByteArray::number(numDoma) +
            "\r\n\r\n[CONNESSIONE]\r\nPWD=\r\nNREG=https://regione.example.it/nreg/nuovo.php\r\n"
            "\r\n[Help]\r\nFILEHELP=KX58TORVA.htm\r\n");
    program.writeFile(u"KX58TORVA.htm"_s, "<html></html>");
    QElapsedTimer timer;
    FinestreMute windows(timer);
    timer.start();
    AvvioProgramma(program.context(), windows);
    return windows.frame();
}

/** Milliseconds to open Domande, filter it to one application, read it, clear the filter and close. */
double openAndFilter(Connection &connection, int numDoma)
{
    Recordset rsDomande(connection);
    QElapsedTimer timer;
    timer.start();
    rsDomande.open(u"Domande"_s);
    rsDomande.setFilter(u"NumDoma = "_s + QString::number(numDoma));
    if (rsDomande.eof() || rsDomande.value(u"GrupOpe"_s).toString() != u"A"_s)
        throw std::runtime_error("the application is missing");
    rsDomande.clearFilter();
    rsDomande.close();
    return elapsedMs(timer);
}

QString bulkCourse(int i)
{
    return QString::asprintf("%05d", i % 10000);
}

/** Milliseconds to add the bulk rows through a recordset on CorsiProp, in one transaction. */
double addThroughRecordset(Connection &connection)
{
    connection.execute(u"DELETE FROM CorsiProp"_s);
    QElapsedTimer timer;
    timer.start();
    Recordset rsCorsiProp(connection);
    rsCorsiProp.open(u"CorsiProp"_s);
    Transaction transaction(connection);
    for (int i = 0; i < BulkRows; ++i) {
        rsCorsiProp.addNew();
        rsCorsiProp.setValue(u"NumDoma"_s, FirstApplication + i / 10000);
        rsCorsiProp.setValue(u"SedeInteressata"_s, 1);
        rsCorsiProp.setValue(u"GrupOpe"_s, u"A"_s);
        rsCorsiProp.setValue(u"Operatore"_s, 7);
        rsCorsiProp.setValue(u"Corso"_s, bulkCourse(i));
        rsCorsiProp.setValue(u"DenCorso"_s, u"Corso d'esempio"_s);
        rsCorsiProp.setValue(u"TotaleSpesa"_s, 1234.5);
        rsCorsiProp.update();
    }
    transaction.commit();
    rsCorsiProp.close();
    return elapsedMs(timer);
}

void check(sqlite3 *db, int rc)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE)
        throw std::runtime_error(sqlite3_errmsg(db));
}

/** Milliseconds to add the same rows with one prepared INSERT, bound and stepped, in one transaction. */
double addThroughEngine(Connection &connection)
{
    connection.execute(u"DELETE FROM CorsiProp"_s);
    sqlite3 *db = connection.engineHandle();
    QElapsedTimer timer;
    timer.start();
    check(db, sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr));
    sqlite3_stmt *insert = nullptr;
    check(db,
          sqlite3_prepare_v2(db,
                             "INSERT INTO CorsiProp (NumDoma, SedeInteressata, GrupOpe, Operatore, Corso, "
                             "DenCorso, TotaleSpesa) VALUES (?, ?, ?, ?, ?, ?, ?)",
                             -1, &insert, nullptr));
    const QString group = u"A"_s;
    const QString name = u"Corso d'esempio"_s;
    for (int i = 0; i < BulkRows; ++i) {
        const QString course = bulkCourse(i);
        sqlite3_bind_int64(insert, 1, FirstApplication + i / 10000);
        sqlite3_bind_int64(insert, 2, 1);
        sqlite3_bind_text16(insert, 3, group.utf16(), int(group.size() * 2), SQLITE_TRANSIENT);
        sqlite3_bind_int64(insert, 4, 7);
        sqlite3_bind_text16(insert, 5, course.utf16(), int(course.size() * 2), SQLITE_TRANSIENT);
        sqlite3_bind_text16(insert, 6, name.utf16(), int(name.size() * 2), SQLITE_TRANSIENT);
        sqlite3_bind_double(insert, 7, 1234.5);
        check(db, sqlite3_step(insert));
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    check(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr));
    return elapsedMs(timer);
}

void report(const char *what, double figure, const char *unit = "ms")
{
    std::printf("%-62s %10.2f %s\n", what, figure, unit);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int many = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;
    QTemporaryDir dir;

    const QString empty = dir.filePath(u"vuota.mdb"_s);
    const QString small = dir.filePath(u"cento.mdb"_s);
    const QString large = dir.filePath(u"grande.mdb"_s);
    createEmptyDatabase(empty);
    fillDatabase(small, 100);
    fillDatabase(large, many);

    const double startEmpty = median(9, [&] { return startUp(empty, 0); });
    const double startLarge = median(9, [&] { return startUp(large, FirstApplication + many / 2); });

    Connection smallDb;
    smallDb.open(small, Connection::Mode::Shared);
    Connection largeDb;
    largeDb.open(large, Connection::Mode::Shared);
    const double filterSmall = median(31, [&] { return openAndFilter(smallDb, FirstApplication + 50); });
    const double filterLarge =
        median(31, [&] { return openAndFilter(largeDb, FirstApplication + many / 2); });
    largeDb.close();

    // The bulk rows go to the small database, whose applications they belong to.
    std::vector<double> recordset;
    std::vector<double> engine;
    for (int i = 0; i < 3; ++i) {
        recordset.push_back(addThroughRecordset(smallDb));
        engine.push_back(addThroughEngine(smallDb));
    }
    std::sort(recordset.begin(), recordset.end());
    std::sort(engine.begin(), engine.end());
    const double bulkRecordset = recordset[1];
    const double bulkEngine = engine[1];

    std::printf("Applications: %d, with %d seats and %d courses each\n\n", many, SeatsPerApplication,
                CoursesPerApplication);
    report("start-up to the frame, empty database", startEmpty);
    report("start-up to the frame, large database", startLarge);
    report("Domande opened and filtered to one row, 100 applications", filterSmall);
    report("Domande opened and filtered to one row, large database", filterLarge);
    report("50,000 rows added through a recordset", bulkRecordset);
    report("50,000 rows added with one prepared INSERT", bulkEngine);
    std::printf("\n");
    report("start-up, large / empty (goal: at most 1.3)", startLarge / startEmpty, "x");
    report("open and filter, large / 100 (goal: at most 2)", filterLarge / filterSmall, "x");
    report("bulk rows, recordset speed / engine speed (goal: at least 0.5)", bulkEngine / bulkRecordset, "x");
    return 0;
}
