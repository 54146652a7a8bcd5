// How long the transmission file of a large application takes to write, and how the time grows with
// the number of courses: 20 seats, courses of five yearly rows each (one record E per yearly row),
// one course in ten referring to an approved course. Each figure is the median of several runs of
// CreaFile, from the name to the checked file. bench_trasmissione [courses], 2,000 by default; the
// run also times a quarter, half and twice that many, to show the growth.
#include "BenchServices.h"
#include "core/data/Connection.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Schema.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/state/Trasmissione.h"
#include "transmission/mdCreaFileTrasm.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

constexpr int Seats = 20;
constexpr int YearlyRows = 5;
constexpr int Runs = 7;
constexpr qint32 NumDoma = 812;

/** An application of operator A-27 with its seats and `courses` courses spread over them. */
void fillDatabase(const QString &path, int courses)
{
    createEmptyDatabase(path);
    Connection db;
    db.open(path, Connection::Mode::Exclusive);
    Transaction transaction(db);
    db.execute(u"INSERT INTO Province (Prov, SigProv) VALUES ('001', 'XY')"_s);
    db.execute(u"INSERT INTO Comuni (CodComune, Denominazione, PROV, Cap, CodBacino) "
               u"VALUES ('A001', 'CITTÀ UNO', '001', '00100', 7)"_s);
    db.execute(
        u"INSERT INTO Domande (NumDoma, GrupOpe, Operatore, PROV, DenominazioneOp, TipoOper, CodFisc, "
        u"Corrispondenza, LegNome, LegGGNasc, LegMMNasc, LegAAAANasc, AttEcono) VALUES (?, 'A', 27, '001', "
        u"'ENTE DI FORMAZIONE', '01', '01234567890', 1, 'ROSSI NICOLÒ', '05', '11', '1970', 85)"_s,
        {NumDoma});
    db.execute(
        u"INSERT INTO CorsiApprovati (IdAttivita, GrupOpe, Operatore, Componente, ProgrAttivita, AnnoInizio, "
        u"ProgrAccorp, AnnGest, DenCorso) VALUES (5001, 'A', 27, 1, '12', '2019', 1, '2020', 'OPERATORE')"_s);
    for (int s = 1; s <= Seats; ++s) {
        db.execute(
            u"INSERT INTO CorsiSediInteressate (NumDoma, SedeInteressata, GrupOpe, Operatore, TipoCompo, "
            u"Denominazione, CodComune, Cap, Indirizzo, Tel, Email, Riferimento) "
            u"VALUES (?, ?, 'A', 27, ?, ?, 'A001', '00100', 'VIA ROMA, 1', '011 1', 'sede@ente.it', 'BIANCHI')"_s,
            {NumDoma, s, s == 1 ? u"SL"_s : u"UL"_s, QString(u"SEDE "_s + QString::number(s))});
    }
    for (int c = 0; c < courses; ++c) {
        const int seat = c % Seats + 1;
        const QString corso = QString::number(c / Seats + 1).rightJustified(4, u'0');
        db.execute(
            u"INSERT INTO CorsiProp (NumDoma, SedeInteressata, GrupOpe, Operatore, Corso, CicloFinanziario, "
            u"CodAsse, CodMisura, CodAzione, DenCorso, CodDest, NumAll, TotOreIter, DurataTotIter, "
            u"CorsoRifC211B, IdAttivita_CorsoRifB111, CodGruppo, CodSpesa, AllieviSpesa, OreSpesa, "
            u"ParametroSpesa, TotaleSpesa) VALUES (?, ?, 'A', 27, ?, 'FSE', 'I', 'A', '01', ?, 1, 15, 600, "
            u"2, "
            u"'RIFERIMENTO LIBERO', ?, 1, 3, 15, 600, 36.5, 1825.5)"_s,
            {NumDoma, seat, corso, QString(u"CORSO DI FORMAZIONE N. "_s + QString::number(c)),
             c % 10 == 0 ? QVariant(5001) : QVariant()});
        for (int anno = 1; anno <= YearlyRows; ++anno)
            db.execute(
                u"INSERT INTO CorsiPropSpese (NumDoma, SedeInteressata, Corso, ProgrAnno, TotaleSpesa) "
                u"VALUES (?, ?, ?, ?, 365.1)"_s,
                {NumDoma, seat, corso, anno});
    }
    transaction.commit();
}

struct Timing
{
    int courses = 0;
    double ms = 0;
    qint64 bytes = 0;
};

Timing timeFile(int courses)
{
    QTemporaryDir folder;
    const QString dbPath = folder.filePath(u"KX58TORVA.mdb"_s);
    fillDatabase(dbPath, courses);
    bench::Servizi servizi;
    Context context(folder.path(), folder.filePath(u".user/FP.ini"_s), servizi.services);
    context.DE().CorsiDB().open(dbPath, Connection::Mode::Shared);
    context.domanda().NumDomaCorrente = NumDoma;
    context.domanda().ProvCorrente = u"001"_s;
    context.trasmissione().EmailTrasm = u"mario.rossi@ente.it"_s;

    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        if (!CreaFile(context, NumDoma)) {
            std::fprintf(stderr, "the file was not written\n");
            std::exit(1);
        }
        times.push_back(double(timer.nsecsElapsed()) / 1.0e6);
    }
    std::sort(times.begin(), times.end());
    Timing timing;
    timing.courses = courses;
    timing.ms = times[times.size() / 2];
    timing.bytes = QFileInfo(folder.filePath(context.trasmissione().NomeFileTrasm)).size();
    context.DE().CorsiDB().close();
    return timing;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int courses = argc > 1 ? std::max(Seats, std::atoi(argv[1])) : 2000;
    std::printf("transmission file: %d seats, %d yearly rows per course, median of %d runs\n", Seats,
                YearlyRows, Runs);
    std::printf("%8s %9s %10s %10s %14s\n", "courses", "records", "bytes", "ms", "us per record");
    for (const int n : {courses / 4, courses / 2, courses, courses * 2}) {
        const Timing t = timeFile(n);
        const int records = 3 + Seats + n * YearlyRows + n + 1;
        std::printf("%8d %9d %10lld %10.1f %14.2f\n", t.courses, records, static_cast<long long>(t.bytes),
                    t.ms, t.ms * 1000.0 / records);
    }
    return 0;
}
