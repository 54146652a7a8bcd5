// How long the export of an application's courses to the course registry takes against the fake
// registry on this machine, and how much of it the program spends waiting: wall time beside the
// process's processor time (the fake server's thread included). bench_esportazione [courses], 1,000
// by default; each figure is the median of several exports.
#include "BenchServices.h"
#include "FakeCourseRegistry.h"
#include "FakeServer.h"
#include "FakeServerServices.h"
#include "ProcessorTime.h"
#include "core/data/Connection.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Schema.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/state/Trasmissione.h"
#include "transmission/EsportazioneZeltoVordan.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

constexpr int Runs = 5;
constexpr qint32 NumDoma = 903;

/** The export's own outcome box is expected; any other box ends the benchmark. */
class SuccessOnly final : public Prompt
{
public:
    Answer ask(Icon, Buttons, const QString &title, const QString &text) override
    {
        if (text == u"Operazione eseguita correttamente.")
            return Answer::Ok;
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
        std::abort();
    }
};

struct Servizi
{
    SuccessOnly prompt;
    bench::NoExit exit;
    bench::NoDialogs dialogs;
    SystemClock clock;
    ProcessCommandLine commandLine{{}};
    SystemNetworkStatus network;
    LinuxSystemInfo systemInfo;
    Services services{prompt,  exit,  dialogs,     dialogs, dialogs, dialogs,
                      dialogs, clock, commandLine, dialogs, network, systemInfo};
};

/** Application 903 of operator A-123 with `courses` plain courses, each with its Guid. */
void fillDatabase(const QString &path, int courses)
{
    createEmptyDatabase(path);
    Connection db;
    db.open(path, Connection::Mode::Exclusive);
    Transaction transaction(db);
    db.execute(u"INSERT INTO Domande (NumDoma, GrupOpe, Operatore) VALUES (?, 'A', 123)"_s, {NumDoma});
    for (int c = 1; c <= courses; ++c)
        db.execute(
            u"INSERT INTO CorsiProp (NumDoma, SedeInteressata, GrupOpe, Operatore, Corso, Guid, "
            u"TotOreIter, CodAsse, CodMisura, CodAzione) VALUES (?, ?, 'A', 123, ?, ?, 600, 'I', 'A', "
            u"'01')"_s,
            {NumDoma, c % 20 + 1, QString::number(c).rightJustified(4, u'0'),
             QString(u"{50000000-0000-4000-8000-"_s + QString::number(c).rightJustified(12, u'0') + u'}')});
    transaction.commit();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int courses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    withoutEnvironmentProxies();
    FakeServer server;
    const std::shared_ptr<FakeCourseRegistry> registry = installCourseRegistry(server);

    QTemporaryDir folder;
    const QString dbPath = folder.filePath(u"KX58TORVA.mdb"_s);
    fillDatabase(dbPath, courses);
    Servizi servizi;
    Context context(folder.path(), folder.filePath(u".user/FP.ini"_s), servizi.services);
    context.DE().CorsiDB().open(dbPath, Connection::Mode::Shared);
    context.domanda().NumDomaCorrente = NumDoma;
    context.domanda().GrupOpeCorrente = u"A"_s;
    context.domanda().OperatoreCorrente = u"123"_s;
    context.trasmissione().ServizioVordan = server.url(QString::fromLatin1(CourseRegistryPath));

    std::vector<double> walls;
    std::vector<double> processors;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const double processorBefore = processorMs() / 1e3;
        if (InviaPercorsiVordan(context, {}, {}, {}) != 0) {
            std::fprintf(stderr, "the export failed\n");
            return 1;
        }
        processors.push_back(processorMs() / 1e3 - processorBefore);
        walls.push_back(double(timer.nsecsElapsed()) / 1.0e9);
    }
    if (registry->documents().size() != qsizetype(courses) * Runs) {
        std::fprintf(stderr, "the registry did not receive every course\n");
        return 1;
    }
    std::sort(walls.begin(), walls.end());
    std::sort(processors.begin(), processors.end());
    const double wall = walls[walls.size() / 2];
    const double processor = processors[processors.size() / 2];
    std::printf("registry export: %d courses, median of %d runs\n", courses, Runs);
    std::printf("%10s %14s %12s\n", "wall s", "processor s", "wall/proc");
    std::printf("%10.3f %14.3f %12.2f\n", wall, processor, wall / processor);
    context.DE().CorsiDB().close();
    return 0;
}
