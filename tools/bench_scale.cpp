// How the data layer's costs grow with a large agency's database, each figure beside the one it must
// stay close to, in one run:
//   - the start-up, from AvvioProgramma to the frame, and on to the application choice on screen (the
//     main window's count of the applications, then the grid of "Selezione Domanda"), on an empty
//     database and on 10,000 applications with 5 seats and 5 courses each;
//   - Domande opened and filtered to one application, read and closed as SalvaVarIni does, at 100 and
//     at 10,000 applications;
//   - what the windows do with the data, each through the data environment's recordsets and the
//     windows' own routines, at 100 and at 10,000 applications: "Selezione Domanda" (its operator list
//     and its grid), "Riepilogo dati della Domanda" (the application and its three sums), "Sez. 1 -
//     Operatore" opened (lists and card), saved (the write and the requery) and closed;
//   - the peak memory of a process running the start-up and those windows' work, at both sizes, and of
//     one holding QryDomande read whole;
//   - the operator list of the registry update on a registry of 50,000 operators, read and shown;
//   - 50,000 courses added through a recordset in one transaction, beside a bare loop of one prepared
//     INSERT through the engine's own interface on the same table, on processor time.
// Each figure is the median of several runs. bench_scale [applications], 10,000 by default;
// bench_scale --bulk measures the bulk rows alone.
#include "FakeServices.h"
#include "ProcessorTime.h"
#include "TestContext.h"
#include "applications/Operatore.h"
#include "applications/SelezioneDomanda.h"
#include "core/data/Connection.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/data/Schema.h"
#include "core/startup/SequenzaAvvio.h"
#include "core/state/CurrentApplication.h"
#include "core/state/Ricerche.h"
#include "core/state/StartupHooks.h"
#include "refdata/AggiornaAnagrafiche.h"
#include "refdata/ui/frmInstOper.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
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
constexpr int Operators = 3000;
constexpr int RegistryOperators = 50000;

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
 * five belongs to the action the start-up corrects, one in fifteen of those with too many hours. The
 * operators' registry is the region's, the same whatever the number of applications.
 */
void fillDatabase(const QString &path, int applications)
{
    createEmptyDatabase(path);
    Connection connection;
    connection.open(path, Connection::Mode::Exclusive);
    Transaction transaction(connection);
    connection.execute(u"INSERT INTO Province (Prov, SigProv, DesProv) VALUES ('ZR', 'ZR', 'ZONA ROSSA')"_s);
    for (int operatore = 0; operatore < Operators; ++operatore) {
        const QString name = u"Ente di formazione "_s + QString::number(operatore);
        connection.execute(u"INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione) VALUES ('A', ?, ?)"_s,
                           {operatore, name});
        connection.execute(
            u"INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, TipoCompo, Denominazione) "
            u"VALUES ('A', ?, 1, 'SL', ?)"_s,
            {operatore, name});
    }
    for (int a = 0; a < applications; ++a) {
        const int numDoma = FirstApplication + a;
        const int operatore = a % Operators;
        const QString name = u"Ente di formazione "_s + QString::number(operatore);
        connection.execute(
            u"INSERT INTO Domande (NumDoma, GrupOpe, Operatore, PROV, Domanda, DenominazioneOp, "
            u"DomandaStampata, DomandaTrasmessa, Corrispondenza) VALUES (?, 'A', ?, 'ZR', 1, ?, ?, 0, 1)"_s,
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

/** The operator of an application, as fillDatabase gives it. */
int operatorOf(int numDoma)
{
    return (numDoma - FirstApplication) % Operators;
}

/**
 * The main window's first activation: whether the database holds more than one application, which
 * decides whether the application choice opens; the engine counts two rows at the most.
 */
int countApplications(Context &context)
{
    Recordset &rsDomande = context.DE().rs(u"Domande"_s);
    if (rsDomande.isOpen())
        rsDomande.close();
    rsDomande.clearFilter();
    return context.DE().CorsiDB().scalar(u"SELECT COUNT(*) FROM (SELECT 1 FROM Domande LIMIT 2)"_s).toInt();
}

/**
 * "Selezione Domanda" opened on the current application's operator and province: its operator list,
 * the province's name, and its grid of QryDomande on the current application, read as the grid shows
 * it; then the choice confirmed, which closes the grid's recordset.
 */
void chooseApplication(Context &context)
{
    const CurrentApplication &domanda = context.domanda();
    const QueryResult operators = context.DE().CorsiDB().query(
        u"SELECT GrupOpe, Operatore, Denominazione FROM CorsiOper ORDER BY GrupOpe, Operatore"_s);
    if (operators.rows.isEmpty())
        throw std::runtime_error("the registry is empty");
    RecuperaDesProv(context, domanda.ProvCorrente);
    Recordset &rs = context.DE().rs(u"QryDomande"_s);
    rs.setUpdateCriteria(Recordset::UpdateCriteria::Key);
    if (!rs.isOpen())
        rs.open();
    rs.setFilter(filtroGriglia(filtroOperatore(domanda.GrupOpeCorrente, domanda.OperatoreCorrente.toInt()),
                               domanda.ProvCorrente));
    if (rs.recordCount() > 0 && !rs.find(u"NumDoma = "_s + QString::number(domanda.NumDomaCorrente)))
        rs.moveFirst();
    if (rs.eof() || rs.value(u"NumDoma"_s).toInt() != domanda.NumDomaCorrente)
        throw std::runtime_error("the application is not in the grid");
    const int columns[] = {rs.fieldIndex(u"NumDoma"_s), rs.fieldIndex(u"Domanda"_s),
                           rs.fieldIndex(u"DomandaStampata"_s), rs.fieldIndex(u"DomandaTrasmessa"_s)};
    for (int row = 0; row < rs.visibleRowCount(); ++row) {
        for (const int column : columns)
            rs.visibleValue(row, column);
    }
    rs.close();
}

/** "Riepilogo dati della Domanda" opened and left: the application's row and its three sums. */
void showSummary(Context &context)
{
    Recordset &rs = context.DE().rs(u"QryDomande"_s);
    if (rs.isOpen())
        rs.close();
    rs.open();
    rs.setFilter(u"NumDoma="_s + QString::number(context.domanda().NumDomaCorrente));
    if (rs.eof())
        throw std::runtime_error("the application is missing");
    ContaSediInteressate(context);
    ContaCorsi(context);
    CalcolaTotaleSpesa(context);
    rs.clearFilter();
    rs.close();
}

/** "Sez. 1 - Operatore" opened: its lists and the card of the current application. */
SchedaOperatore openOperatorCard(Context &context)
{
    const CurrentApplication &domanda = context.domanda();
    CaricaListe(context.DE(), domanda.GrupOpeCorrente, domanda.OperatoreCorrente);
    Recordset &rs = context.DE().rs(u"QryDomande"_s);
    if (!rs.isOpen())
        rs.open();
    rs.setFilter(u"NumDoma="_s + QString::number(domanda.NumDomaCorrente));
    rs.setUpdateCriteria(Recordset::UpdateCriteria::Key);
    if (rs.eof())
        throw std::runtime_error("the application is missing");
    return CaricaDati(rs).scheda;
}

/** The card saved with another legal representative: the write, the requery, the card read again. */
void saveOperatorCard(Context &context, SchedaOperatore card, int run)
{
    const CurrentApplication &domanda = context.domanda();
    card.LegNome = u"ROSSI MARIO "_s + QString::number(run);
    const QVariantList loaded = valoriCaricati(context.DE().rs(u"QryDomande"_s));
    const EsitoScrittura written =
        scriviOperatore(context.DE().CorsiDB(), domanda.NumDomaCorrente, domanda.GrupOpeCorrente,
                        domanda.OperatoreCorrente, card, loaded, Scrittura::SeInvariata);
    if (written.domandaCancellata)
        throw std::runtime_error("the application is missing");
    Recordset &rs = context.DE().rs(u"QryDomande"_s);
    rs.requery();
    if (CaricaDati(rs).scheda.LegNome != card.LegNome)
        throw std::runtime_error("the card was not saved");
}

/** The card closed: its recordset closed and unfiltered. */
void closeOperatorCard(Context &context)
{
    Recordset &rs = context.DE().rs(u"QryDomande"_s);
    rs.close();
    rs.clearFilter();
}

/** A program's context on the database, standing on one application as after its choice. */
class Program
{
public:
    Program(const QString &database, int numDoma)
    {
        m_test.context().DE().CorsiDB().open(database, Connection::Mode::Shared);
        CurrentApplication &domanda = m_test.context().domanda();
        domanda.NumDomaCorrente = numDoma;
        domanda.GrupOpeCorrente = u"A"_s;
        domanda.OperatoreCorrente = QString::number(operatorOf(numDoma));
        domanda.ProvCorrente = u"ZR"_s;
    }
    Context &context() { return m_test.context(); }

private:
    TestContext m_test;
};

/** Milliseconds of each window's work on the database, the median of `runs`. */
struct WindowTimes
{
    double choice = 0;
    double summary = 0;
    double cardOpened = 0;
    double cardSaved = 0;
    double cardClosed = 0;
};

WindowTimes windowTimes(const QString &database, int numDoma, int runs)
{
    Program program(database, numDoma);
    Context &context = program.context();
    const auto timed = [](const std::function<void()> &step) {
        QElapsedTimer timer;
        timer.start();
        step();
        return elapsedMs(timer);
    };
    WindowTimes times;
    times.choice = median(runs, [&] { return timed([&] { chooseApplication(context); }); });
    times.summary = median(runs, [&] { return timed([&] { showSummary(context); }); });
    std::vector<double> opened;
    std::vector<double> saved;
    std::vector<double> closed;
    for (int run = 0; run < runs; ++run) {
        SchedaOperatore card;
        opened.push_back(timed([&] { card = openOperatorCard(context); }));
        saved.push_back(timed([&] { saveOperatorCard(context, card, run); }));
        closed.push_back(timed([&] { closeOperatorCard(context); }));
    }
    for (std::vector<double> *figures : {&opened, &saved, &closed})
        std::sort(figures->begin(), figures->end());
    times.cardOpened = opened[opened.size() / 2];
    times.cardSaved = saved[saved.size() / 2];
    times.cardClosed = closed[closed.size() / 2];
    return times;
}

/** The process's peak and current memory, in MB, from /proc. */
std::pair<double, double> memoryMb()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return {0, 0};
    double peak = 0;
    double current = 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        const QList<QByteArray> parts = line.simplified().split(' ');
        if (parts.size() >= 2 && parts[0] == "VmHWM:")
            peak = parts[1].toDouble() / 1024.0;
        else if (parts.size() >= 2 && parts[0] == "VmRSS:")
            current = parts[1].toDouble() / 1024.0;
    }
    return {peak, current};
}

/** Peak memory in MB of a process of its own running `mode` on the database, as this tool does it. */
double peakOfChild(const QString &mode, const QString &database, int numDoma)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {mode, database, QString::number(numDoma)});
    if (!child.waitForFinished(600000) || child.exitCode() != 0)
        throw std::runtime_error("the measuring process failed");
    return child.readAllStandardOutput().trimmed().toDouble();
}

/** Milliseconds from AvvioProgramma to the frame, on a program folder whose INI names the database. */
double startUp(const QString &database, int numDoma, double *choice = nullptr)
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
    if (choice) {
        if (countApplications(program.context()) == 0)
            throw std::runtime_error("no application counted");
        chooseApplication(program.context());
        *choice = elapsedMs(timer);
    }
    return windows.frame();
}

/** Milliseconds to the application choice on screen, the median of `runs`. */
double startUpToChoice(const QString &database, int numDoma, int runs)
{
    return median(runs, [&] {
        double choice = 0;
        startUp(database, numDoma, &choice);
        return choice;
    });
}

/** A registry of that many operators of two groups, for the registry update's operator list. */
void fillRegistry(const QString &path, int operators)
{
    createEmptyDatabase(path);
    Connection connection;
    connection.open(path, Connection::Mode::Exclusive);
    Transaction transaction(connection);
    for (int o = 0; o < operators; ++o) {
        connection.execute(u"INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione) VALUES (?, ?, ?)"_s,
                           {o % 2 == 0 ? u"A"_s : u"B"_s, o / 2, QString(u"Ente "_s + QString::number(o))});
    }
    transaction.commit();
}

/** Milliseconds to read the registry's operator list and show it in the operator selection. */
double operatorList(const QString &database)
{
    TestContext test;
    test.context().DE().CorsiDB().open(database, Connection::Mode::Shared);
    QElapsedTimer timer;
    timer.start();
    const QStringList items = vociOperatoriAnagrafica(test.context());
    frmInstOper window(test.context());
    window.precompila(items, u"Elenco"_s);
    const double figure = elapsedMs(timer);
    if (items.size() != RegistryOperators)
        throw std::runtime_error("the list lacks operators");
    return figure;
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

/** Processor milliseconds to add the bulk rows through a recordset on CorsiProp, in one transaction. */
double addThroughRecordset(Connection &connection)
{
    connection.execute(u"DELETE FROM CorsiProp"_s);
    const double start = processorMs();
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
    return processorMs() - start;
}

void check(sqlite3 *db, int rc)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE)
        throw std::runtime_error(sqlite3_errmsg(db));
}

/** Processor milliseconds to add the same rows with one prepared INSERT, bound and stepped, in one
 * transaction. */
double addThroughEngine(Connection &connection)
{
    connection.execute(u"DELETE FROM CorsiProp"_s);
    sqlite3 *db = connection.engineHandle();
    const double start = processorMs();
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
    return processorMs() - start;
}

/** Processor milliseconds of the bulk rows through a recordset and through the engine, medians of 5 runs. */
std::pair<double, double> bulkRows(Connection &connection)
{
    std::vector<double> recordset;
    std::vector<double> engine;
    for (int i = 0; i < 5; ++i) {
        recordset.push_back(addThroughRecordset(connection));
        engine.push_back(addThroughEngine(connection));
    }
    std::sort(recordset.begin(), recordset.end());
    std::sort(engine.begin(), engine.end());
    return {recordset[recordset.size() / 2], engine[engine.size() / 2]};
}

void report(const char *what, double figure, const char *unit = "ms")
{
    std::printf("%-62s %10.2f %s\n", what, figure, unit);
}

void reportBulk(double recordset, double engine)
{
    report("50,000 rows added through a recordset (processor)", recordset);
    report("50,000 rows added with one prepared INSERT (processor)", engine);
}

constexpr const char *BulkRatio = "bulk rows, recordset speed / engine speed, processor (goal: at least 0.6)";

} // namespace

/**
 * The measuring process's own work, printing its peak memory in MB: "--windows" the start-up to the
 * application choice, then the summary and the operator card opened, saved and closed; "--whole"
 * QryDomande read whole.
 */
int measureMemory(const QString &mode, const QString &database, int numDoma)
{
    if (mode == u"--windows"_s) {
        double choice = 0;
        startUp(database, numDoma, &choice);
        Program program(database, numDoma);
        showSummary(program.context());
        const SchedaOperatore card = openOperatorCard(program.context());
        saveOperatorCard(program.context(), card, 0);
        closeOperatorCard(program.context());
    } else {
        Program program(database, numDoma);
        Recordset &rs = program.context().DE().rs(u"QryDomande"_s);
        rs.open();
        rs.moveLast();
        rs.close();
    }
    std::printf("%.1f\n", memoryMb().first);
    return 0;
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 4)
        return measureMemory(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]),
                             QString::fromLocal8Bit(argv[3]).toInt());
    QTemporaryDir dir;
    if (argc == 2 && QString::fromLocal8Bit(argv[1]) == u"--bulk"_s) {
        const QString path = dir.filePath(u"cento.mdb"_s);
        fillDatabase(path, 100);
        Connection connection;
        connection.open(path, Connection::Mode::Shared);
        const auto [recordset, engine] = bulkRows(connection);
        reportBulk(recordset, engine);
        report(BulkRatio, engine / recordset, "x");
        return 0;
    }
    const int many = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;

    const QString empty = dir.filePath(u"vuota.mdb"_s);
    const QString small = dir.filePath(u"cento.mdb"_s);
    const QString large = dir.filePath(u"grande.mdb"_s);
    const QString one = dir.filePath(u"una.mdb"_s);
    const QString registry = dir.filePath(u"anagrafe.mdb"_s);
    createEmptyDatabase(empty);
    fillDatabase(one, 1);
    fillDatabase(small, 100);
    fillDatabase(large, many);
    fillRegistry(registry, RegistryOperators);
    const int smallApplication = FirstApplication + 50;
    const int largeApplication = FirstApplication + many / 2 + 1;

    const double startEmpty = median(9, [&] { return startUp(empty, 0); });
    const double startLarge = median(9, [&] { return startUp(large, largeApplication); });
    const double choiceEmpty = startUpToChoice(one, FirstApplication, 9);
    const double choiceSmall = startUpToChoice(small, smallApplication, 9);
    const double choiceLarge = startUpToChoice(large, largeApplication, 9);
    const WindowTimes windowsSmall = windowTimes(small, smallApplication, 15);
    const WindowTimes windowsLarge = windowTimes(large, largeApplication, 15);
    const double peakSmall = peakOfChild(u"--windows"_s, small, smallApplication);
    const double peakLarge = peakOfChild(u"--windows"_s, large, largeApplication);
    const double wholeSmall = peakOfChild(u"--whole"_s, small, smallApplication);
    const double wholeLarge = peakOfChild(u"--whole"_s, large, largeApplication);
    const double list = median(3, [&] { return operatorList(registry); });

    Connection smallDb;
    smallDb.open(small, Connection::Mode::Shared);
    Connection largeDb;
    largeDb.open(large, Connection::Mode::Shared);
    const double filterSmall = median(31, [&] { return openAndFilter(smallDb, FirstApplication + 50); });
    const double filterLarge =
        median(31, [&] { return openAndFilter(largeDb, FirstApplication + many / 2); });
    largeDb.close();

    // The bulk rows go to the small database, whose applications they belong to.
    const auto [bulkRecordset, bulkEngine] = bulkRows(smallDb);

    std::printf("Applications: %d, with %d seats and %d courses each\n\n", many, SeatsPerApplication,
                CoursesPerApplication);
    report("start-up to the frame, empty database", startEmpty);
    report("start-up to the frame, large database", startLarge);
    report("start-up to the application choice, 1 application", choiceEmpty);
    report("start-up to the application choice, 100 applications", choiceSmall);
    report("start-up to the application choice, large database", choiceLarge);
    report("Domande opened and filtered to one row, 100 applications", filterSmall);
    report("Domande opened and filtered to one row, large database", filterLarge);
    const std::pair<const char *, double WindowTimes::*> windowFigures[] = {
        {"\"Selezione Domanda\" opened", &WindowTimes::choice},
        {"\"Riepilogo dati della Domanda\" opened", &WindowTimes::summary},
        {"\"Sez. 1 - Operatore\" opened", &WindowTimes::cardOpened},
        {"\"Sez. 1 - Operatore\" saved", &WindowTimes::cardSaved},
        {"\"Sez. 1 - Operatore\" closed", &WindowTimes::cardClosed},
    };
    for (const auto &[what, figure] : windowFigures) {
        report((std::string(what) + ", 100 applications").c_str(), windowsSmall.*figure);
        report((std::string(what) + ", large database").c_str(), windowsLarge.*figure);
    }
    report("peak memory to the choice and the windows, 100 applications", peakSmall, "MB");
    report("peak memory to the choice and the windows, large database", peakLarge, "MB");
    report("peak memory with QryDomande read whole, 100 applications", wholeSmall, "MB");
    report("peak memory with QryDomande read whole, large database", wholeLarge, "MB");
    report("operator list of 50,000 operators read and shown", list);
    reportBulk(bulkRecordset, bulkEngine);
    std::printf("\n");
    report("start-up, large / empty (goal: at most 1.3)", startLarge / startEmpty, "x");
    report("start-up to the choice, large / 1 application (goal: at most 1.3)", choiceLarge / choiceEmpty,
           "x");
    report("start-up to the choice, large / 100 (goal: at most 1.5)", choiceLarge / choiceSmall, "x");
    for (const auto &[what, figure] : windowFigures) {
        report((std::string(what) + ", large / 100 (goal: at most 1.5)").c_str(),
               windowsLarge.*figure / windowsSmall.*figure, "x");
    }
    report("peak memory, large / 100 (goal: at most 1.5)", peakLarge / peakSmall, "x");
    report("operator list of 50,000 operators (goal: under 1000 ms)", list, "ms");
    report("open and filter, large / 100 (goal: at most 2)", filterLarge / filterSmall, "x");
    report(BulkRatio, bulkEngine / bulkRecordset, "x");
    return 0;
}
